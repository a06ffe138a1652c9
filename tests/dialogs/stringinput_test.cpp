#include "dialogs/modaldriver.h"
#include "dialogs/stringinput.h"
#include "framework/pushbutton.h"
#include "framework/statictext.h"

using namespace sildra::test;

namespace {

using Finish = std::function<void(fw::Window&)>;

Finish PressKey(Qt::Key key)
{
    return [key](fw::Window& prompt) {
        QTest::keyClick(prompt.Control<fw::EditField>(QStringLiteral("EditField1")).LineEdit(), key);
    };
}

const Finish PressOk = [](fw::Window& prompt) { Click(prompt, QStringLiteral("PushButton1")); };
const Finish CloseBox = [](fw::Window& prompt) { prompt.close(); };

class Prompt : public EditorFixture {
protected:
    // Runs the main window's prompt, types into its field (unless typed is null) and ends it with finish.
    QString Ask(const QString& typed, const Finish& finish, const QString& defaultAnswer = QStringLiteral("old"))
    {
        Window().ModalResult = QStringLiteral("stale answer");
        WhenModal([&](fw::Window& prompt) {
            if (!typed.isNull())
                Type(prompt.Control<fw::EditField>(QStringLiteral("EditField1")), typed);
            finish(prompt);
        });
        Window().StringInput(QStringLiteral("New value:"), QStringLiteral("Change Property"), defaultAnswer);
        return Window().ModalResult;
    }
};

} // namespace

TEST_F(Prompt, OpensWithTheCallersTextsOverAFixedDesign)
{
    WhenModal([](fw::Window& prompt) {
        EXPECT_TRUE(qobject_cast<dialogs::StringInput*>(&prompt));
        EXPECT_EQ(prompt.Title(), "Change Property");
        EXPECT_EQ(prompt.Control<fw::StaticText>(QStringLiteral("StaticText1")).Text(), "New value:");
        EXPECT_EQ(prompt.Control<fw::EditField>(QStringLiteral("EditField1")).Text(), "  a  b ");
        const auto& ok = prompt.Control<fw::PushButton>(QStringLiteral("PushButton1"));
        EXPECT_EQ(ok.Text(), "OK");
        EXPECT_FALSE(ok.Default());
        EXPECT_EQ(prompt.Size(), QSize(284, 114));
        EXPECT_FALSE(prompt.Resizable());
        EXPECT_EQ(prompt.Control(QStringLiteral("EditField1")).Rect(), QRect(20, 42, 244, 22));
        EXPECT_EQ(ok.Rect(), QRect(20, 72, 244, 22));
        prompt.close();
    });
    Window().StringInput(QStringLiteral("New value:"), QStringLiteral("Change Property"), QStringLiteral("  a  b "));
}

TEST_F(Prompt, ReturnEnterTabAndOkConfirmWithTheTextUnchanged)
{
    const std::vector<std::pair<const char*, Finish>> ways = {
        { "Return", PressKey(Qt::Key_Return) },
        { "Enter", PressKey(Qt::Key_Enter) },
        { "Tab", PressKey(Qt::Key_Tab) },
        { "OK", PressOk },
    };
    for (const auto& [name, finish] : ways) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Ask(QStringLiteral("  new value "), finish), "  new value ");
        EXPECT_EQ(Ask(QString(), finish, QStringLiteral(" kept default ")), " kept default ");
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Prompt, CloseBoxOrAnEmptyFieldAnswerEmpty)
{
    EXPECT_EQ(Ask(QStringLiteral("typed but not confirmed"), CloseBox), "");
    EXPECT_EQ(Ask(QString(), CloseBox), "");
    EXPECT_EQ(Ask(QStringLiteral(""), PressKey(Qt::Key_Return)), "");
    EXPECT_EQ(Ask(QStringLiteral("   "), PressOk), "   ");
}

TEST_F(Prompt, EveryPromptStartsUnconfirmed)
{
    EXPECT_EQ(Ask(QStringLiteral("first"), PressKey(Qt::Key_Tab)), "first");
    EXPECT_EQ(Ask(QStringLiteral("second"), CloseBox), "");
}

TEST_F(Prompt, OtherKeysTypeIntoTheField)
{
    WhenModal([](fw::Window& prompt) {
        auto& field = prompt.Control<fw::EditField>(QStringLiteral("EditField1"));
        QTest::keyClicks(field.LineEdit(), QStringLiteral("x"));
        QTest::keyClick(field.LineEdit(), Qt::Key_Escape);
        EXPECT_TRUE(prompt.isVisible());
        EXPECT_EQ(field.Text(), "oldx");
        PressOk(prompt);
    });
    Window().StringInput(QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("old"));
    EXPECT_EQ(Window().ModalResult, "oldx");
}
