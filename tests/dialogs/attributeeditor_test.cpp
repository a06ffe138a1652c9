#include "dialogs/attributeeditor.h"
#include "dialogs/modaldriver.h"
#include "framework/pushbutton.h"
#include "xml/xmlattribute.h"

using namespace sildra::test;

namespace {

const QByteArray Fixture = R"(<root><item a="1" b=" two ">x</item><bare/></root>)";

fw::Listbox& Rows(fw::Window& editor) { return editor.Control<fw::Listbox>(QStringLiteral("Listbox1")); }

fw::EditField& Field(fw::Window& editor, const char* name)
{
    return editor.Control<fw::EditField>(QString::fromLatin1(name));
}

bool IsEnabled(fw::Window& editor, const char* name) { return editor.Control(QString::fromLatin1(name)).Enabled(); }

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

using AttributeEditorTest = EditorFixture;

} // namespace

TEST_F(AttributeEditorTest, SelectionFillsTheFieldsFromTheDocumentAndUpdateChangesRowAndAttribute)
{
    Open(Fixture);
    ClickRow(List(), 0);
    WhenModal([this](fw::Window& editor) {
        EXPECT_TRUE(qobject_cast<dialogs::AttributeEditor*>(&editor));
        EXPECT_EQ(editor.Title(), "Attribute Editor");
        EXPECT_EQ(editor.Size(), QSize(399, 328));
        EXPECT_EQ(Rows(editor).Heading(0), "Name");
        EXPECT_EQ(Rows(editor).Heading(1), "Value");
        EXPECT_EQ(Cells(Rows(editor)), QStringList({ "a=1", "b= two " }));
        EXPECT_EQ(Rows(editor).ListIndex(), -1);
        EXPECT_FALSE(IsEnabled(editor, "AttrUpdate"));
        EXPECT_FALSE(IsEnabled(editor, "AttrDelete"));
        EXPECT_TRUE(IsEnabled(editor, "AttrAdd"));

        // The fields come from the document, not from the row's cells.
        Rows(editor).SetCell(1, 1, QStringLiteral("not in the document"));
        ClickRow(Rows(editor), 1);
        EXPECT_EQ(Field(editor, "AttrName").Text(), "b");
        EXPECT_EQ(Field(editor, "AttrValue").Text(), " two ");
        EXPECT_TRUE(IsEnabled(editor, "AttrUpdate"));
        EXPECT_TRUE(IsEnabled(editor, "AttrDelete"));

        ClickRow(Rows(editor), -1);
        EXPECT_EQ(Field(editor, "AttrName").Text(), "");
        EXPECT_EQ(Field(editor, "AttrValue").Text(), "");
        EXPECT_FALSE(IsEnabled(editor, "AttrUpdate"));
        EXPECT_FALSE(IsEnabled(editor, "AttrDelete"));

        ClickRow(Rows(editor), 1);
        Type(Field(editor, "AttrName"), QStringLiteral("c"));
        Type(Field(editor, "AttrValue"), QStringLiteral(" 3 "));
        Click(editor, QStringLiteral("AttrUpdate"));
        EXPECT_EQ(Cells(Rows(editor)), QStringList({ "a=1", "c= 3 " }));
        EXPECT_EQ(Attributes(Selected()), QStringList({ "a=1", "c= 3 " }));
        EXPECT_EQ(Rows(editor).ListIndex(), 1);
        Click(editor, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(List().Cell(0, 2), "a = 1, c =  3 ");
    EXPECT_EQ(List().ListIndex(), -1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AttributeEditorTest, AddAppendsAnExistingNameReplacesItsValueAndDeleteEndsWithNoSelection)
{
    Open(Fixture);
    ClickRow(List(), 0);
    WhenModal([this](fw::Window& editor) {
        Type(Field(editor, "AttrName"), QStringLiteral("d"));
        Type(Field(editor, "AttrValue"), QString());
        Click(editor, QStringLiteral("AttrAdd"));
        EXPECT_EQ(Cells(Rows(editor)), QStringList({ "a=1", "b= two ", "d=" }));
        EXPECT_EQ(Attributes(Selected()), QStringList({ "a=1", "b= two ", "d=" }));
        EXPECT_EQ(Field(editor, "AttrName").Text(), "d");
        EXPECT_EQ(Rows(editor).ListIndex(), -1);

        // The node keeps one "d" and so does the list: each row still stands for the attribute of its index.
        Type(Field(editor, "AttrValue"), QStringLiteral("9"));
        Click(editor, QStringLiteral("AttrAdd"));
        EXPECT_EQ(Cells(Rows(editor)), QStringList({ "a=1", "b= two ", "d=9" }));
        EXPECT_EQ(Attributes(Selected()), QStringList({ "a=1", "b= two ", "d=9" }));

        ClickRow(Rows(editor), 0);
        Click(editor, QStringLiteral("AttrDelete"));
        EXPECT_EQ(Cells(Rows(editor)), QStringList({ "b= two ", "d=9" }));
        EXPECT_EQ(Attributes(Selected()), QStringList({ "b= two ", "d=9" }));
        EXPECT_EQ(Rows(editor).ListIndex(), -1);
        EXPECT_EQ(Field(editor, "AttrName").Text(), "");
        EXPECT_EQ(Field(editor, "AttrValue").Text(), "");
        EXPECT_FALSE(IsEnabled(editor, "AttrUpdate"));
        EXPECT_FALSE(IsEnabled(editor, "AttrDelete"));
        editor.close();
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(List().Cell(0, 2), "b =  two , d = 9");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AttributeEditorTest, NodeWithoutAttributesStillRebuildsTheListInTheCommandsForm)
{
    Open(Fixture);
    EXPECT_EQ(List().Cell(0, 2), "a = 1, b =  two , ");
    ClickRow(List(), 1);
    WhenModal([](fw::Window& editor) {
        EXPECT_EQ(Rows(editor).ListCount(), 0);
        EXPECT_FALSE(IsEnabled(editor, "AttrUpdate"));
        EXPECT_FALSE(IsEnabled(editor, "AttrDelete"));
        Click(editor, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(List().ListCount(), 2);
    EXPECT_EQ(List().Cell(0, 2), "a = 1, b =  two ");
    EXPECT_EQ(List().Cell(1, 2), "");
}

TEST_F(AttributeEditorTest, RefusedNamesAreReportedAndTheDialogStaysUsable)
{
    Open(Fixture);
    ClickRow(List(), 0);
    const QByteArray before = Bytes();
    WhenModal([this](fw::Window& editor) {
        Type(Field(editor, "AttrName"), QStringLiteral("1 bad"));
        Click(editor, QStringLiteral("AttrAdd"));
        ASSERT_EQ(Messages().size(), 1U);
        EXPECT_EQ(Rows(editor).ListCount(), 2);

        ClickRow(Rows(editor), 0);
        Type(Field(editor, "AttrName"), QStringLiteral("b"));
        Click(editor, QStringLiteral("AttrUpdate"));
        EXPECT_EQ(Messages().size(), 2U);
        EXPECT_EQ(Attributes(Selected()), QStringList({ "a=1", "b= two " }));
        EXPECT_EQ(Rows(editor).Cell(0, 0), "a"); // the row keeps what the document kept

        Type(Field(editor, "AttrName"), QString());
        Click(editor, QStringLiteral("AttrUpdate"));
        EXPECT_EQ(Messages().size(), 3U);
        Click(editor, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Attributes"));
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(List().Cell(0, 2), "a = 1, b =  two ");
    Save();
    OpenFile(QStringLiteral("out.xml"));
    EXPECT_EQ(List().Cell(0, 2), "a = 1, b =  two , ");
}
