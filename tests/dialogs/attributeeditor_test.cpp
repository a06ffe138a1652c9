#include "dialogs/attributeeditor.h"
#include "support/mainwindowtest.h"
#include "xml/xmlattribute.h"

using namespace sildra::test;

namespace {

fw::Listbox& AttrList(fw::Window& editor) { return editor.Control<fw::Listbox>(QStringLiteral("Listbox1")); }
fw::EditField& Field(fw::Window& editor, const char* name) { return editor.Control<fw::EditField>(name); }

// "N=V" for each row of the editor's list, or each attribute of the node.
QStringList Cells(fw::Listbox& list)
{
    QStringList cells;
    for (int row = 0; row < list.ListCount(); ++row)
        cells << list.Cell(row, 0) + QLatin1Char('=') + list.Cell(row, 1);
    return cells;
}
QStringList Attributes(const xml::XmlNode& node)
{
    QStringList attributes;
    for (int i = 0; i < node.AttributeCount(); ++i)
        attributes << node.GetAttributeNode(i).Name() + QLatin1Char('=') + node.GetAttributeNode(i).Value();
    return attributes;
}

// "U" and "D" when "Update" and "Delete" are enabled, "-" when not.
QString EditorButtons(fw::Window& editor)
{
    return QString(editor.Control(QStringLiteral("AttrUpdate")).Enabled() ? 'U' : '-')
        + (editor.Control(QStringLiteral("AttrDelete")).Enabled() ? 'D' : '-');
}

class AttributeEditorTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Open(R"(<root><item a="1" b=" two ">x</item><bare/></root>)");
        ClickRow(List(), 0);
    }
};

TEST_F(AttributeEditorTest, SelectionFillsTheFieldsFromTheDocumentAndUpdateChangesRowAndAttribute)
{
    WhenModal([this](fw::Window& editor) {
        EXPECT_TRUE(qobject_cast<dialogs::AttributeEditor*>(&editor));
        EXPECT_EQ(Cells(AttrList(editor)), QStringList({ "a=1", "b= two " }));
        EXPECT_EQ(AttrList(editor).ListIndex(), -1);
        EXPECT_EQ(EditorButtons(editor), "--");
        EXPECT_TRUE(editor.Control(QStringLiteral("AttrAdd")).Enabled());

        // The fields come from the document, not from the row's cells.
        AttrList(editor).SetCell(1, 1, QStringLiteral("not in the document"));
        ClickRow(AttrList(editor), 1);
        EXPECT_EQ(Field(editor, "AttrName").Text(), "b");
        EXPECT_EQ(Field(editor, "AttrValue").Text(), " two ");
        EXPECT_EQ(EditorButtons(editor), "UD");

        ClickRow(AttrList(editor), -1);
        EXPECT_EQ(Field(editor, "AttrName").Text() + Field(editor, "AttrValue").Text(), "");
        EXPECT_EQ(EditorButtons(editor), "--");

        ClickRow(AttrList(editor), 1);
        Type(Field(editor, "AttrName"), QStringLiteral("c"));
        Type(Field(editor, "AttrValue"), QStringLiteral(" 3 "));
        Click(editor, QStringLiteral("AttrUpdate"));
        EXPECT_EQ(Cells(AttrList(editor)), QStringList({ "a=1", "c= 3 " }));
        EXPECT_EQ(Attributes(Selected()), QStringList({ "a=1", "c= 3 " }));
        EXPECT_EQ(AttrList(editor).ListIndex(), 1);
        Click(editor, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(List().Cell(0, 2), "a = 1, c =  3 ");
    EXPECT_EQ(List().ListIndex(), -1);
    EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(AttributeEditorTest, AddAppendsAnExistingNameReplacesItsValueAndDeleteEndsWithNoSelection)
{
    WhenModal([this](fw::Window& editor) {
        Type(Field(editor, "AttrName"), QStringLiteral("d"));
        Type(Field(editor, "AttrValue"), QString());
        Click(editor, QStringLiteral("AttrAdd"));
        EXPECT_EQ(Cells(AttrList(editor)), QStringList({ "a=1", "b= two ", "d=" }));
        EXPECT_EQ(Attributes(Selected()), Cells(AttrList(editor)));
        EXPECT_EQ(Field(editor, "AttrName").Text(), "d");
        EXPECT_EQ(AttrList(editor).ListIndex(), -1);

        // The node keeps one "d" and so does the list: each row still stands for the attribute of its index.
        Type(Field(editor, "AttrValue"), QStringLiteral("9"));
        Click(editor, QStringLiteral("AttrAdd"));
        EXPECT_EQ(Cells(AttrList(editor)), QStringList({ "a=1", "b= two ", "d=9" }));
        EXPECT_EQ(Attributes(Selected()), Cells(AttrList(editor)));

        ClickRow(AttrList(editor), 0);
        Click(editor, QStringLiteral("AttrDelete"));
        EXPECT_EQ(Cells(AttrList(editor)), QStringList({ "b= two ", "d=9" }));
        EXPECT_EQ(Attributes(Selected()), Cells(AttrList(editor)));
        EXPECT_EQ(AttrList(editor).ListIndex(), -1);
        EXPECT_EQ(Field(editor, "AttrName").Text() + Field(editor, "AttrValue").Text(), "");
        EXPECT_EQ(EditorButtons(editor), "--");
        editor.close();
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(List().Cell(0, 2), "b =  two , d = 9");
    EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(AttributeEditorTest, UpdateKeepsAValueOfAnyLengthWhole)
{
    const QString value(100000, QLatin1Char('v'));
    Open("<root><item a=\"" + value.toUtf8() + "\"/></root>");
    ClickRow(List(), 0);
    WhenModal([](fw::Window& editor) {
        ClickRow(AttrList(editor), 0);
        QTest::keyClick(Field(editor, "AttrValue").LineEdit(), Qt::Key_End);
        QTest::keyClicks(Field(editor, "AttrValue").LineEdit(), QStringLiteral("w"));
        Click(editor, QStringLiteral("AttrUpdate"));
        Click(editor, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Attributes"));
    SaveAndReopen();
    EXPECT_TRUE(List().Cell(0, 2) == "a = " + value + "w, ");
}

TEST_F(AttributeEditorTest, RefusedNamesAreReportedAndClosingRebuildsEveryRow)
{
    // A node without attributes lists none; closing still rebuilds every row in the commands' form.
    ClickRow(List(), 1);
    WhenModal([](fw::Window& editor) {
        EXPECT_EQ(AttrList(editor).ListCount(), 0);
        EXPECT_EQ(EditorButtons(editor), "--");
        Click(editor, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(Rows(), QList<QStringList>({ { "item", "x", "a = 1, b =  two " }, { "bare", "", "" } }));

    ClickRow(List(), 0);
    const QByteArray before = Bytes();
    WhenModal([this](fw::Window& editor) {
        Type(Field(editor, "AttrName"), QStringLiteral("1 bad"));
        Click(editor, QStringLiteral("AttrAdd"));
        ASSERT_EQ(messages.Entries().size(), 1U);
        EXPECT_EQ(AttrList(editor).ListCount(), 2);

        ClickRow(AttrList(editor), 0);
        Type(Field(editor, "AttrName"), QStringLiteral("b"));
        Click(editor, QStringLiteral("AttrUpdate"));
        EXPECT_EQ(messages.Entries().size(), 2U);
        EXPECT_EQ(Attributes(Selected()), QStringList({ "a=1", "b= two " }));
        EXPECT_EQ(AttrList(editor).Cell(0, 0), "a"); // the row keeps what the document kept

        Type(Field(editor, "AttrName"), QString());
        Click(editor, QStringLiteral("AttrUpdate"));
        EXPECT_EQ(messages.Entries().size(), 3U);
        Click(editor, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(List().Cell(0, 2), "a = 1, b =  two ");
    SaveAndReopen();
    EXPECT_EQ(List().Cell(0, 2), "a = 1, b =  two , ");
}

TEST_F(AttributeEditorTest, TabFollowsTheFocusOrderAndReturnPressesTheFocusedButton)
{
    WhenModal([this](fw::Window& editor) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        EXPECT_EQ(focusedControl(editor), "AttrName");
        // "Update" and "Delete" are disabled until a row is selected.
        EXPECT_EQ(tabWalk(editor, 5), QStringList({ "AttrValue", "AttrAdd", "PushButton1", "Listbox1", "AttrName" }));
        AttrList(editor).SetListIndex(0);
        const QStringList order { "AttrValue", "AttrUpdate", "AttrAdd", "AttrDelete", "PushButton1", "Listbox1",
            "AttrName" };
        EXPECT_EQ(tabWalk(editor, 7), order);
        EXPECT_EQ(tabWalk(editor, 7, true), QStringList(order.rbegin() + 1, order.rend()) << "AttrName");

        Type(Field(editor, "AttrName"), QStringLiteral("c"));
        ASSERT_EQ(tabWalk(editor, 3).last(), "AttrAdd");
        QTest::keyClick(editor.focusWidget(), Qt::Key_Return);
        EXPECT_EQ(Attributes(Selected()), QStringList({ "a=1", "b= two ", "c=1" }));
        ASSERT_EQ(tabWalk(editor, 2).last(), "PushButton1");
        QTest::keyClick(editor.focusWidget(), Qt::Key_Return);
    });
    Run(QStringLiteral("Attributes"));
}

} // namespace
