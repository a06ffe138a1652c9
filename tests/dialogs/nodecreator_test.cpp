#include "dialogs/nodecreator.h"
#include "support/mainwindowtest.h"

using namespace sildra::test;

namespace {

fw::EditField& Field(fw::Window& creator, const char* name) { return creator.Control<fw::EditField>(name); }

// Clicks the check box where a user does: on its box, not in the empty width to the right of its caption.
void ClickNesting(fw::Window& creator)
{
    QWidget& box = creator.Control(QStringLiteral("NCNesting")).Widget();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
}

class NodeCreatorTest : public MainWindowTest {
protected:
    void SetUp() override { Open(R"(<root><item>x</item><group><a/></group>text</root>)"); }
};

TEST_F(NodeCreatorTest, CreateNodeAppendsAnElementWithATextChildUnderTheSelectedNode)
{
    ClickRow(List(), 1);
    WhenModal([](fw::Window& creator) {
        EXPECT_TRUE(qobject_cast<dialogs::NodeCreator*>(&creator));
        Type(Field(creator, "NCName"), QStringLiteral("child"));
        Type(Field(creator, "NCValue"), QStringLiteral(" v "));
        Click(creator, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Insert Child"));
    EXPECT_EQ(Bytes(), "<root><item>x</item><group><a/><child> v </child></group>text</root>");
    // The list is not refilled: the rows stay as they were.
    EXPECT_EQ(List().ListCount(), 3);
    EXPECT_EQ(List().ListIndex(), 1);
    EXPECT_TRUE(messages.Entries().empty());

    // An empty value still gives a text child.
    WhenModal([](fw::Window& creator) {
        Type(Field(creator, "NCName"), QStringLiteral("blank"));
        Click(creator, QStringLiteral("PushButton1"));
    });
    Run(QStringLiteral("Insert Child"));
    ASSERT_EQ(Selected().ChildCount(), 3);
    ASSERT_EQ(Selected().Child(2).ChildCount(), 1);
    EXPECT_EQ(Selected().Child(2).Child(0).Value(), "");
}

TEST_F(NodeCreatorTest, NestingDisablesTheValueAndGivesAnEmptyElement)
{
    ClickRow(List(), 0);
    WhenModal([](fw::Window& creator) {
        Type(Field(creator, "NCName"), QStringLiteral("nest"));
        Type(Field(creator, "NCValue"), QStringLiteral("ignored"));
        ClickNesting(creator);
        EXPECT_FALSE(Field(creator, "NCValue").Enabled());
        ClickNesting(creator);
        EXPECT_TRUE(Field(creator, "NCValue").Enabled());
        EXPECT_EQ(Field(creator, "NCValue").Text(), "ignored");
        ClickNesting(creator);
        // Return in a field presses the default button, "Create Node".
        QTest::keyClick(Field(creator, "NCName").LineEdit(), Qt::Key_Return);
    });
    Run(QStringLiteral("Insert Child"));
    EXPECT_EQ(Bytes(), "<root><item>x<nest/></item><group><a/></group>text</root>");
}

TEST_F(NodeCreatorTest, CancelAndTheCloseBoxChangeNothing)
{
    ClickRow(List(), 1);
    const QByteArray before = Bytes();
    for (const bool closeBox : { false, true }) {
        WhenModal([closeBox](fw::Window& creator) {
            EXPECT_EQ(Field(creator, "NCName").Text(), "");
            Type(Field(creator, "NCName"), QStringLiteral("never"));
            if (closeBox)
                creator.close();
            else
                Click(creator, QStringLiteral("PushButton2"));
        });
        Run(QStringLiteral("Insert Child"));
        EXPECT_EQ(Bytes(), before);
    }
}

TEST_F(NodeCreatorTest, RefusedStepsAreReportedAndTheDocumentStaysReadable)
{
    ClickRow(List(), 1);
    const QByteArray before = Bytes();
    WhenModal([this](fw::Window& creator) {
        Click(creator, QStringLiteral("PushButton1"));
        EXPECT_EQ(messages.Entries().size(), 1U);
        Type(Field(creator, "NCName"), QStringLiteral("two words"));
        Click(creator, QStringLiteral("PushButton1"));
        EXPECT_EQ(messages.Entries().size(), 2U);
        // A value XML cannot hold is refused before the element is appended.
        Type(Field(creator, "NCName"), QStringLiteral("child"));
        Field(creator, "NCValue").SetText(QStringLiteral("bell \a"));
        Click(creator, QStringLiteral("PushButton1"));
        EXPECT_EQ(messages.Entries().size(), 3U);
        Click(creator, QStringLiteral("PushButton2"));
    });
    Run(QStringLiteral("Insert Child"));
    EXPECT_EQ(Bytes(), before);

    // A text node takes no children.
    ClickRow(List(), 2);
    WhenModal([this](fw::Window& creator) {
        Type(Field(creator, "NCName"), QStringLiteral("child"));
        Click(creator, QStringLiteral("PushButton1"));
        EXPECT_EQ(messages.Entries().size(), 4U);
        creator.close();
    });
    Run(QStringLiteral("Insert Child"));
    EXPECT_EQ(Bytes(), before);
    SaveAndReopen();
    EXPECT_EQ(readFile(Path(QStringLiteral("out.xml"))), readFile(Path(QStringLiteral("in.xml"))));
    EXPECT_EQ(messages.Entries().size(), 5U); // "Success!"
}

TEST_F(NodeCreatorTest, TabFollowsTheFocusOrderAndNeitherRepeatsOfReturnNorReturnOnCancelCreateAnything)
{
    ClickRow(List(), 1);
    const QByteArray before = Bytes();
    WhenModal([](fw::Window& creator) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&creator));
        EXPECT_EQ(focusedControl(creator), "NCName");
        EXPECT_EQ(tabWalk(creator, 5), QStringList({ "NCValue", "PushButton1", "NCNesting", "PushButton2", "NCName" }));
        EXPECT_EQ(
            tabWalk(creator, 5, true), QStringList({ "PushButton2", "NCNesting", "PushButton1", "NCValue", "NCName" }));
        Type(Field(creator, "NCName"), QStringLiteral("unwanted"));
        // Return held while the dialog opened: its repeats reach the name field and press no default button.
        sendKeyRepeats(Field(creator, "NCName").LineEdit(), Qt::Key_Return, 3);
        sendKeyRepeats(Field(creator, "NCName").LineEdit(), Qt::Key_Enter, 3);
        ASSERT_TRUE(creator.isVisible());
        ASSERT_EQ(tabWalk(creator, 1, true), QStringList({ "PushButton2" }));
        QTest::keyClick(creator.focusWidget(), Qt::Key_Return);
    });
    Run(QStringLiteral("Insert Child"));
    EXPECT_EQ(Bytes(), before);
}

} // namespace
