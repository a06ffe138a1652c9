#include "dialogs/modaldriver.h"
#include "framework/pushbutton.h"
#include "framework/statictext.h"

using namespace sildra::test;

namespace {

// Answers the next prompt: checks its texts, types the answer and confirms with Return (a null answer: close box).
void AnswerPrompt(const QString& title, const QString& expectedDefault, const QString& answer)
{
    WhenModal([=](fw::Window& prompt) {
        EXPECT_EQ(prompt.Title(), title);
        auto& field = prompt.Control<fw::EditField>(QStringLiteral("EditField1"));
        EXPECT_EQ(field.Text(), expectedDefault);
        if (answer.isNull()) {
            prompt.close();
            return;
        }
        Type(field, answer);
        QTest::keyClick(field.LineEdit(), Qt::Key_Return);
    });
}

using NodeEditCommandsTest = EditorFixture;

} // namespace

TEST_F(NodeEditCommandsTest, EditOnAnEmptyElementAppendsOneTextChildAndASecondEditReplacesIt)
{
    Open(R"(<root><empty/><n>  42 </n></root>)");
    ClickRow(List(), 0);
    AnswerPrompt(QStringLiteral("Change Property"), QString(), QStringLiteral("hello"));
    Click(Window(), QStringLiteral("EditButton"));
    EXPECT_EQ(List().Cell(0, 1), "hello");
    ASSERT_EQ(Selected().ChildCount(), 1);
    EXPECT_EQ(Selected().Child(0).Name(), "#text");

    AnswerPrompt(QStringLiteral("Change Property"), QStringLiteral("hello"), QStringLiteral(" bye "));
    Click(Window(), QStringLiteral("EditButton"));
    EXPECT_EQ(List().Cell(0, 1), " bye ");
    ASSERT_EQ(Selected().ChildCount(), 1);
    EXPECT_EQ(Selected().Child(0).Value(), " bye ");

    Save();
    OpenFile(QStringLiteral("out.xml"));
    EXPECT_EQ(List().Cell(0, 1), "bye");
    EXPECT_EQ(List().Cell(1, 1), "42");
    EXPECT_EQ(Messages().size(), 1U); // "Success!"
}

TEST_F(NodeEditCommandsTest, EditOffersTheTrimmedValueAndACancelledPromptChangesNothing)
{
    Open(R"(<root><empty/><n>  42 </n></root>)");
    const QByteArray before = Bytes();
    ClickRow(List(), 1);
    AnswerPrompt(QStringLiteral("Change Property"), QStringLiteral("42"), QString());
    Run(QStringLiteral("Edit"));
    AnswerPrompt(QStringLiteral("Change Property"), QStringLiteral("42"), QString(""));
    Run(QStringLiteral("Edit"));
    EXPECT_EQ(List().Cell(1, 1), "42");
    EXPECT_EQ(Bytes(), before);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(NodeEditCommandsTest, RenameChangesOnlyTheNameAndSurvivesSaveAndReopen)
{
    Open(R"(<root><item a="1">x</item><other/></root>)");
    ClickRow(List(), 0);
    AnswerPrompt(QStringLiteral("Rename Property"), QStringLiteral("item"), QStringLiteral("renamed"));
    Click(Window(), QStringLiteral("RenameButton"));
    EXPECT_EQ(List().Cell(0, 0), "renamed");
    EXPECT_EQ(Selected().Name(), "renamed");

    Save();
    OpenFile(QStringLiteral("out.xml"));
    ASSERT_EQ(List().ListCount(), 2);
    EXPECT_EQ(List().Cell(0, 0), "renamed");
    EXPECT_EQ(List().Cell(0, 1), "x");
    EXPECT_EQ(List().Cell(0, 2), "a = 1, ");
    EXPECT_EQ(List().Cell(1, 0), "other");
}

TEST_F(NodeEditCommandsTest, RefusalsEndInTheErrorBoxWithTheDocumentUnchanged)
{
    Open(R"(<root><item a="1">x</item>text</root>)");
    const QByteArray before = Bytes();
    ClickRow(List(), 0);
    AnswerPrompt(QStringLiteral("Rename Property"), QStringLiteral("item"), QStringLiteral("bad name"));
    Run(QStringLiteral("Rename"));
    ASSERT_EQ(Messages().size(), 1U);
    EXPECT_EQ(Messages()[0].title, "Error");
    EXPECT_EQ(Messages()[0].icon, 16);
    // The list never shows a name the document refused.
    EXPECT_EQ(List().Cell(0, 0), "item");
    EXPECT_EQ(Selected().Name(), "item");

    // A text node takes no text child.
    ClickRow(List(), 1);
    AnswerPrompt(QStringLiteral("Change Property"), QString(), QStringLiteral("more"));
    Run(QStringLiteral("Edit"));
    ASSERT_EQ(Messages().size(), 2U);
    EXPECT_EQ(Messages()[1].title, "Error");
    EXPECT_EQ(Bytes(), before);

    Save();
    OpenFile(QStringLiteral("out.xml"));
    EXPECT_EQ(Messages().size(), 3U); // "Success!", and no error from reopening
    EXPECT_EQ(List().Cell(0, 0), "item");
}
