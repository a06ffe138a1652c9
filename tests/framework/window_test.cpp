#include "framework/editfield.h"
#include "framework/pushbutton.h"
#include "framework/statictext.h"
#include "framework/textview.h"
#include "framework/window.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fw;

namespace {

// A small fixed dialog: a field, an OK button that closes it; it records its hooks and its Close event.
class Prompt : public Window {
public:
    std::vector<QString> calls;
    QString answer;

protected:
    void Layout() override
    {
        calls.push_back("Layout");
        SetSize(284, 114);
        SetResizable(false);
        SetCloseOnlyFrame(true);
    }
    void CreateControls() override
    {
        calls.push_back("CreateControls");
        AddControl<EditField>("field").SetRect(20, 42, 244, 22);
        auto& ok = AddControl<PushButton>("ok");
        ok.SetRect(20, 72, 244, 22);
        connect(&ok, &PushButton::Action, this, [this] { Close(); });
    }
    void AddMenuHandlers() override { calls.push_back("AddMenuHandlers"); }
    void Event_Open() override { calls.push_back("Event_Open"); }
    void Event_Close() override
    {
        calls.push_back("Event_Close");
        answer = Control<EditField>("field").Text();
    }
};

} // namespace

TEST(Window, ConstructionRunsTheHooksInOrderOnceAndFindsControlsByName)
{
    auto window = Window::Create<Prompt>();
    EXPECT_EQ(window->calls, (std::vector<QString> { "Layout", "CreateControls", "AddMenuHandlers", "Event_Open" }));
    EXPECT_THROW(window->Construct(), RuntimeException);
    EXPECT_EQ(window->findChild<PushButton*>("ok"), &window->Control<PushButton>("ok"));
    EXPECT_THROW(window->Control<EditField>("ok"), NilObjectException);
    EXPECT_THROW(window->Control("missing"), NilObjectException);
    EXPECT_THROW(window->AddControl<PushButton>("ok"), RuntimeException);
    EXPECT_EQ(Window::FindOpen<Prompt>(), window.get());
    window->Close();
    EXPECT_EQ(Window::FindOpen<Prompt>(), nullptr);
}

TEST(Window, ShowModalReturnsAfterCloseEvent)
{
    auto prompt = Window::Create<Prompt>();
    QTimer::singleShot(0, prompt.get(), [] {
        auto* shown = dynamic_cast<Prompt*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        QTest::keyClicks(&shown->Control<EditField>("field").Editor(), "typed");
        QTest::mouseClick(&shown->Control<PushButton>("ok"), Qt::LeftButton);
    });
    prompt->ShowModal();
    EXPECT_EQ(prompt->calls.back(), "Event_Close");
    EXPECT_EQ(prompt->answer, "typed");
    EXPECT_FALSE(prompt->IsOpen());
    EXPECT_FALSE(prompt->isVisible());
}

TEST(EditField, KeyDownSeesKeysAndMayConsumeThem)
{
    auto prompt = Window::Create<Prompt>();
    prompt->Show();
    auto& field = prompt->Control<EditField>("field");
    field.Editor().setFocus();
    QStringList keys;
    field.SetKeyDownHandler([&](const QString& key) {
        keys << key;
        return key == "x";
    });
    QTest::keyClicks(&field.Editor(), "axb");
    QTest::keyClick(&field.Editor(), Qt::Key_Return);
    QTest::keyClick(&field.Editor(), Qt::Key_Enter);
    QTest::keyClick(&field.Editor(), Qt::Key_Tab);
    EXPECT_EQ(keys, (QStringList { "a", "x", "b", "\r", QString(QChar(3)), "\t" }));
    EXPECT_EQ(field.Text(), "ab");
}

TEST(KeyRepeats, HeldKeysTypeWhereTheyWerePressedAndReturnOnlyInAMultiLineText)
{
    auto prompt = Window::Create<Prompt>();
    prompt->Show();
    QWidget& field = prompt->Control<EditField>("field").Editor();
    field.setFocus();
    QTest::keyPress(&field, Qt::Key_A);
    sildra::test::sendKeyRepeats(&field, Qt::Key_A, 3);
    QTest::keyPress(&field, Qt::Key_Backspace);
    sildra::test::sendKeyRepeats(&field, Qt::Key_Backspace, 2);
    EXPECT_EQ(prompt->Control<EditField>("field").Text(), "a");

    auto& notes = prompt->AddControl<EditField>("notes");
    notes.SetMultiline(true);
    notes.Editor().setFocus();
    QTest::keyPress(&notes.Editor(), Qt::Key_Return);
    sildra::test::sendKeyRepeats(&notes.Editor(), Qt::Key_Return, 2);
    EXPECT_EQ(notes.Text(), "\n\n\n");

    // Repeats of a key pressed in another window type nothing here.
    auto other = Window::Create<Prompt>();
    QTest::keyPress(&other->Control<EditField>("field").Editor(), Qt::Key_B);
    sildra::test::sendKeyRepeats(&field, Qt::Key_B, 2);
    EXPECT_EQ(prompt->Control<EditField>("field").Text(), "a");

    // The system may deliver a repeat as a release and a press of one time stamp, unmarked; only a later press acts.
    auto& ok = prompt->Control<PushButton>("ok");
    ok.setFocus();
    const auto sendAt = [&ok](QEvent::Type type, quint64 time) {
        QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        key.setTimestamp(time);
        QApplication::sendEvent(&ok, &key);
    };
    sendAt(QEvent::KeyRelease, 100);
    sendAt(QEvent::KeyPress, 100);
    EXPECT_TRUE(prompt->isVisible());
    sendAt(QEvent::KeyPress, 180);
    EXPECT_FALSE(prompt->isVisible());
}

TEST(KeyRepeats, HeldKeysGoOnThroughAModifierAndACompletionListButFireNoOtherWindowsShortcut)
{
    // Keys enter at the platform window, as the system's do.
    const auto press
        = [](Window& window, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text, bool repeat) {
              QTest::simulateEvent(window.windowHandle(), true, key, modifiers, text, repeat);
          };
    auto prompt = Window::Create<Prompt>();
    prompt->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(prompt.get()));
    QLineEdit& line = *prompt->Control<EditField>("field").LineEdit();
    line.setFocus();
    press(*prompt, Qt::Key_A, {}, "a", false);
    press(*prompt, Qt::Key_A, {}, "a", true);
    press(*prompt, Qt::Key_Shift, Qt::ShiftModifier, {}, false);
    press(*prompt, Qt::Key_A, Qt::ShiftModifier, "A", true);
    EXPECT_EQ(line.text(), "aaA");

    line.setCompleter(new QCompleter(QStringList { "abc", "abcd" }, &line));
    line.setText("abcdef");
    press(*prompt, Qt::Key_Backspace, {}, {}, false);
    for (int i = 0; i < 4; ++i)
        press(*prompt, Qt::Key_Backspace, {}, {}, true);
    EXPECT_EQ(line.text(), "a");

    press(*prompt, Qt::Key_F5, {}, {}, false);
    auto other = Window::Create<Prompt>();
    int fired = 0;
    QObject::connect(new QShortcut(Qt::Key_F5, other.get()), &QShortcut::activated, other.get(), [&] { ++fired; });
    other->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(other.get()));
    press(*other, Qt::Key_F5, {}, {}, true);
    EXPECT_EQ(fired, 0);
}

TEST(EditField, KindsKeepTheTextAndTheViewSharesBuffers)
{
    auto prompt = Window::Create<Prompt>();
    auto& field = prompt->Control<EditField>("field");
    field.SetText("line");
    field.SetMultiline(true);
    ASSERT_NE(field.PlainTextEdit(), nullptr);
    EXPECT_EQ(field.Text(), "line");
    field.SetReadOnly(true);
    ASSERT_NE(field.View(), nullptr);
    EXPECT_EQ(field.Text(), "line");

    const TextRef text { MakeTextBuffer("<root>\n</root>"), 1 };
    field.SetText(text);
    EXPECT_EQ(field.View()->textRef().buffer, text.buffer);
    EXPECT_EQ(field.Text(), "root>\n</root>");
    field.SetMultiline(false); // a single line decodes the shown text
    EXPECT_EQ(field.Text(), "root>\n</root>");
}

TEST(EditField, ReadOnlyPaneAcceptingTabsKeepsTheFocus)
{
    auto prompt = Window::Create<Prompt>();
    auto& field = prompt->Control<EditField>("field");
    field.SetMultiline(true);
    field.SetReadOnly(true);
    field.SetAcceptTabs(true);
    prompt->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(prompt.get()));
    field.Editor().setFocus();
    QTest::keyClick(&field.Editor(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &field.Editor());
    field.SetAcceptTabs(false);
    QTest::keyClick(&field.Editor(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &prompt->Control<PushButton>("ok"));
}

TEST(Window, TabWalksTheFocusOrderPassingOverWhatTakesNoFocus)
{
    class Ordered : public Window {
    protected:
        void CreateControls() override
        {
            // "f" has no place in the order and follows the others; "d" is disabled, "e" a label.
            const std::pair<const char*, int> buttons[]
                = { { "a", 2 }, { "f", -1 }, { "b", 0 }, { "c", 1 }, { "d", 3 } };
            for (const auto& [name, index] : buttons)
                AddControl<PushButton>(name).SetTabIndex(index);
            Control("d").SetEnabled(false);
            AddControl<StaticText>("e").SetTabIndex(4);
        }
    };
    auto window = Window::Create<Ordered>();
    window->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(sildra::test::focusedControl(*window), "b");
    EXPECT_EQ(sildra::test::tabWalk(*window, 4), QStringList({ "c", "a", "f", "b" }));
    EXPECT_EQ(sildra::test::tabWalk(*window, 4, true), QStringList({ "f", "a", "c", "b" }));
}
