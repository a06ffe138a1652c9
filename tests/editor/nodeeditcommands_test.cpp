#include "support/mainwindowtest.h"

#include <QStringEncoder>

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

using NodeEditCommandsTest = MainWindowTest;

TEST_F(NodeEditCommandsTest, EditOffersTheTrimmedValueAndReplacesOneTextChildOnlyWhenConfirmed)
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
    EXPECT_TRUE(messages.Entries().empty());

    // An empty element gets one text child; a second edit replaces it.
    ClickRow(List(), 0);
    AnswerPrompt(QStringLiteral("Change Property"), QString(), QStringLiteral("hello"));
    Click(*window, QStringLiteral("EditButton"));
    EXPECT_EQ(List().Cell(0, 1), "hello");
    EXPECT_EQ(Bytes(), "<root><empty>hello</empty><n>  42 </n></root>");

    AnswerPrompt(QStringLiteral("Change Property"), QStringLiteral("hello"), QStringLiteral(" bye "));
    Click(*window, QStringLiteral("EditButton"));
    EXPECT_EQ(List().Cell(0, 1), " bye ");
    EXPECT_EQ(Bytes(), "<root><empty> bye </empty><n>  42 </n></root>");

    SaveAndReopen();
    EXPECT_EQ(List().Cell(0, 1), "bye");
    EXPECT_EQ(List().Cell(1, 1), "42");
    EXPECT_EQ(Texts(), QStringList({ "Success!" }));
}

TEST_F(NodeEditCommandsTest, AHeldReturnOnAFocusedEditOpensThePromptAndConfirmsNothing)
{
    Open(R"(<root><n>  v  </n></root>)");
    const QByteArray before = Bytes();
    ClickRow(List(), 0);
    window->EditButton().setFocus();
    // The press opens the prompt; the key's repeats then reach its field.
    WhenModal([](fw::Window& prompt) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&prompt));
        ASSERT_EQ(focusedControl(prompt), "EditField1");
        sendKeyRepeats(QApplication::focusWidget(), Qt::Key_Return, 5);
        EXPECT_TRUE(prompt.isVisible());
        prompt.close();
    });
    QTest::keyPress(&window->EditButton(), Qt::Key_Return);
    QTest::keyRelease(&window->EditButton(), Qt::Key_Return);
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(List().Cell(0, 1), "v");
}

TEST_F(NodeEditCommandsTest, EditKeepsAValueOfAnyLengthWhole)
{
    const QString value(100000, QLatin1Char('v'));
    Open("<root><n>" + value.toUtf8() + "</n></root>");
    ClickRow(List(), 0);
    WhenModal([&](fw::Window& prompt) {
        QLineEdit* field = prompt.Control<fw::EditField>(QStringLiteral("EditField1")).LineEdit();
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, QStringLiteral("w"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    Run(QStringLiteral("Edit"));
    SaveAndReopen();
    EXPECT_TRUE(List().Cell(0, 1) == value + QLatin1Char('w'));
}

TEST_F(NodeEditCommandsTest, RenameChangesOnlyTheNameAndRefusalsEndInTheErrorBoxWithTheDocumentUnchanged)
{
    Open(R"(<root><item a="1">x</item>text</root>)");
    const QByteArray before = Bytes();
    ClickRow(List(), 0);
    AnswerPrompt(QStringLiteral("Rename Property"), QStringLiteral("item"), QStringLiteral("bad name"));
    Run(QStringLiteral("Rename"));
    EXPECT_EQ(ErrorBoxes(), 1);
    // The list never shows a name the document refused.
    EXPECT_EQ(List().Cell(0, 0), "item");
    EXPECT_EQ(Selected().Name(), "item");

    // A text node takes no text child.
    ClickRow(List(), 1);
    AnswerPrompt(QStringLiteral("Change Property"), QString(), QStringLiteral("more"));
    Run(QStringLiteral("Edit"));
    EXPECT_EQ(ErrorBoxes(), 2);
    EXPECT_EQ(Bytes(), before);

    ClickRow(List(), 0);
    AnswerPrompt(QStringLiteral("Rename Property"), QStringLiteral("item"), QStringLiteral("renamed"));
    Click(*window, QStringLiteral("RenameButton"));
    EXPECT_EQ(List().Cell(0, 0), "renamed");
    EXPECT_EQ(Selected().Name(), "renamed");
    SaveAndReopen();
    EXPECT_EQ(messages.Entries().size(), 3U); // "Success!", and no error from reopening
    EXPECT_EQ(Rows(), QList<QStringList>({ { "renamed", "x", "a = 1, " }, { "#text", "", "" } }));
}

// An answer made only of blanks is not empty: "Edit" stores it, on a text and on a childless element, and so does
// the node creator; each reloads as set, whatever the file's encoding.
TEST_F(NodeEditCommandsTest, BlankAnswersAreStoredAndReloadAsSet)
{
    const QString xml = "<?xml version=\"1.0\" encoding=\"%1\"?>\n<r>\n  <n>v</n>\n  <e/>\n</r>\n";
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    const QByteArray files[]
        = { xml.arg("UTF-8").toUtf8(), utf16.encode(xml.arg("UTF-16")), xml.arg("ISO-8859-1").toLatin1() };
    // Tab confirms the prompt, and a line feed cannot be typed into one line: those two are set, then confirmed.
    auto enter = [](fw::EditField& field, const QString& answer) {
        if (answer.contains('\t') || answer.contains('\n'))
            field.SetText(answer);
        else
            Type(field, answer);
    };
    for (const QByteArray& file : files)
        for (const QString& answer : { QString("   "), QString(" "), QString("\t"), QString("\n") }) {
            Open(file);
            const std::string label = window->XMLRead->EncodingName().toStdString() + " [" + answer.toStdString() + "]";
            for (const int row : { 0, 1 }) {
                WhenModal([&](fw::Window& prompt) {
                    enter(prompt.Control<fw::EditField>(QStringLiteral("EditField1")), answer);
                    Click(prompt, QStringLiteral("PushButton1"));
                });
                RunOn(row, QStringLiteral("Edit"));
                EXPECT_EQ(List().Cell(row, 1), answer) << label;
            }
            WhenModal([&](fw::Window& creator) {
                Type(creator.Control<fw::EditField>(QStringLiteral("NCName")), QStringLiteral("c"));
                enter(creator.Control<fw::EditField>(QStringLiteral("NCValue")), answer);
                Click(creator, QStringLiteral("PushButton1"));
            });
            RunOn(1, QStringLiteral("Insert Child"));
            SaveAndReopen();
            const xml::XmlNode n = window->CurrentNode.Child(0), e = window->CurrentNode.Child(1);
            ASSERT_EQ(n.ChildCount(), 1) << label;
            ASSERT_EQ(e.ChildCount(), 2) << label;
            EXPECT_EQ(QStringList({ n.Child(0).Value(), e.Child(0).Value(), e.Child(1).Child(0).Value() }),
                QStringList({ answer, answer, answer }))
                << label;
            EXPECT_EQ(ErrorBoxes(), 0) << label;
        }
}

} // namespace
