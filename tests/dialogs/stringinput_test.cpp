#include "dialogs/stringinput.h"
#include "framework/statictext.h"
#include "support/mainwindowtest.h"

using namespace sildra::test;

namespace {

using Finish = std::function<void(fw::Window&)>;

fw::EditField& Field(fw::Window& prompt) { return prompt.Control<fw::EditField>(QStringLiteral("EditField1")); }
Finish PressKey(Qt::Key key)
{
    return [key](fw::Window& prompt) { QTest::keyClick(Field(prompt).LineEdit(), key); };
}
const Finish PressOk = [](fw::Window& prompt) { Click(prompt, QStringLiteral("PushButton1")); };
const Finish CloseBox = [](fw::Window& prompt) { prompt.close(); };

class Prompt : public MainWindowTest {
protected:
    // Runs the main window's prompt, types into its field (unless typed is null) and ends it with finish.
    QString Ask(const QString& typed, const Finish& finish, const QString& defaultAnswer = QStringLiteral("old"))
    {
        window->ModalResult = QStringLiteral("stale answer");
        WhenModal([&](fw::Window& prompt) {
            if (!typed.isNull())
                Type(Field(prompt), typed);
            finish(prompt);
        });
        window->StringInput(QStringLiteral("New value:"), QStringLiteral("Change Property"), defaultAnswer);
        return window->ModalResult;
    }
};

TEST_F(Prompt, ReturnEnterTabAndOkConfirmWithTheTextUnchanged)
{
    const std::pair<const char*, Finish> ways[] = { { "Return", PressKey(Qt::Key_Return) },
        { "Enter", PressKey(Qt::Key_Enter) }, { "Tab", PressKey(Qt::Key_Tab) }, { "OK", PressOk } };
    for (const auto& [name, finish] : ways) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Ask(QStringLiteral("  new value "), finish), "  new value ");
        EXPECT_EQ(Ask(QString(), finish, QStringLiteral(" kept default ")), " kept default ");
        EXPECT_EQ(Ask(QStringLiteral("typed but not confirmed"), CloseBox), "") << "every prompt starts unconfirmed";
    }
    EXPECT_EQ(Ask(QString(), CloseBox), "");
    EXPECT_EQ(Ask(QStringLiteral(""), PressKey(Qt::Key_Return)), "");
    EXPECT_EQ(Ask(QStringLiteral("   "), PressOk), "   ");
    EXPECT_TRUE(messages.Entries().empty());
}

TEST_F(Prompt, OpensWithTheCallersTextsAndOtherKeysTypeIntoTheField)
{
    WhenModal([](fw::Window& prompt) {
        EXPECT_EQ(prompt.Title(), "t");
        EXPECT_EQ(prompt.Control<fw::StaticText>(QStringLiteral("StaticText1")).Text(), "p");
        QTest::keyClicks(Field(prompt).LineEdit(), QStringLiteral("x"));
        QTest::keyClick(Field(prompt).LineEdit(), Qt::Key_Escape);
        // Copy and other Ctrl shortcuts carry control characters (Ctrl+C the Enter key's code 3) but confirm nothing.
        for (const auto& [key, code] : { std::pair { Qt::Key_C, 3 }, { Qt::Key_M, 13 }, { Qt::Key_I, 9 } }) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier, QString(QChar(code)));
            QApplication::sendEvent(Field(prompt).LineEdit(), &press);
        }
        EXPECT_TRUE(prompt.isVisible());
        EXPECT_EQ(Field(prompt).Text(), "oldx");
        PressOk(prompt);
    });
    window->StringInput(QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("old"));
    EXPECT_EQ(window->ModalResult, "oldx");
}

TEST_F(Prompt, ShiftTabInTheFieldConfirmsLikeTabAndReturnOnAFocusedOkDoesNothing)
{
    const Finish shiftTab = [](fw::Window& prompt) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&prompt));
        EXPECT_EQ(focusedControl(prompt), "EditField1");
        QTest::keyClick(Field(prompt).LineEdit(), Qt::Key_Backtab, Qt::ShiftModifier);
    };
    EXPECT_EQ(Ask(QStringLiteral("typed"), shiftTab), "typed");
    // Outside its field the prompt gives Return no meaning: "OK" is pressed by Space or a click.
    for (const bool bySpace : { true, false }) {
        const Finish onFocusedOk = [bySpace](fw::Window& prompt) {
            QWidget& ok = prompt.Control(QStringLiteral("PushButton1")).Widget();
            ok.setFocus();
            QTest::keyClick(&ok, Qt::Key_Return);
            QTest::keyClick(&ok, Qt::Key_Enter);
            ASSERT_TRUE(prompt.isVisible());
            if (bySpace)
                QTest::keyClick(&ok, Qt::Key_Space);
            else
                PressOk(prompt);
        };
        EXPECT_EQ(Ask(QStringLiteral("typed"), onFocusedOk), "typed");
    }
}

} // namespace
