#include "framework/editfield.h"
#include "framework/groupbox.h"
#include "framework/listbox.h"
#include "framework/pushbutton.h"
#include "framework/statictext.h"
#include "framework/tabpanel.h"
#include "framework/textview.h"
#include "framework/window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace fw;

namespace {

// A window shaped like a resizable document window: a tab panel filling it, controls locked to its edges.
class LockedWindow : public Window {
public:
    std::vector<QString> calls;

protected:
    void Layout() override
    {
        calls.push_back("Layout");
        SetSize(702, 580);
        SetMinimumSize(540, 447);
        SetMaximumSize(32000, 32000);
    }
    void CreateControls() override
    {
        calls.push_back("CreateControls");
        auto& tabs = AddControl<TabPanel>("tabs");
        tabs.SetRect(0, 0, 702, 580);
        tabs.SetLocks(true, true, true, true);
        tabs.SetCaptions({ "One", "Two" });
        auto& list = AddControl<Listbox>("list");
        Place(list, { 20, 74, 371, 486 }, true, true, true, true);
        auto& box = AddControl<GroupBox>("box");
        Place(box, { 401, 74, 281, 486 }, false, true, true, true);
        auto& pane = AddControl<EditField>("pane");
        pane.SetContainer(box);
        Place(pane, { 405, 89, 273, 468 }, true, true, true, true);
        auto& path = AddControl<EditField>("path");
        Place(path, { 169, 40, 389, 22 }, true, false, true, false);
        auto& in = AddControl<PushButton>("in");
        Place(in, { 570, 40, 50, 22 }, false, true, true, false);
        auto& edit = AddControl<PushButton>("edit");
        Place(edit, { 20, 40, 42, 22 }, true, true, false, false);
        auto& note = AddControl<StaticText>("note");
        note.SetRect(20, 40, 200, 20);
        note.SetPage(2);
    }
    void AddMenuHandlers() override { calls.push_back("AddMenuHandlers"); }
    void Event_Open() override { calls.push_back("Event_Open"); }

private:
    static void Place(RectControl& control, QRect rect, bool left, bool top, bool right, bool bottom)
    {
        control.SetRect(rect.left(), rect.top(), rect.width(), rect.height());
        control.SetLocks(left, top, right, bottom);
        control.SetPage(1);
    }
};

// A small fixed dialog: a field, an OK button that closes it, a label.
class Prompt : public Window {
public:
    bool closed = false;
    QString answer;

protected:
    void Layout() override
    {
        SetSize(284, 114);
        SetResizable(false);
        SetCloseOnlyFrame(true);
    }
    void CreateControls() override
    {
        auto& field = AddControl<EditField>("field");
        field.SetRect(20, 42, 244, 22);
        auto& ok = AddControl<PushButton>("ok");
        ok.SetRect(20, 72, 244, 22);
        ok.SetText("OK");
        connect(&ok, &PushButton::Action, this, [this] { Close(); });
    }
    void Event_Close() override
    {
        closed = true;
        answer = Control<EditField>("field").Text();
    }
};

} // namespace

TEST(Window, ConstructionRunsTheHooksInOrderOnce)
{
    auto window = Window::Create<LockedWindow>();
    EXPECT_EQ(window->calls, (std::vector<QString> { "Layout", "CreateControls", "AddMenuHandlers", "Event_Open" }));
    EXPECT_THROW(window->Construct(), RuntimeException);
    EXPECT_EQ(Window::FindOpen<LockedWindow>(), window.get());
    window->Close();
    EXPECT_EQ(Window::FindOpen<LockedWindow>(), nullptr);
}

TEST(Window, ControlsAreFoundByNameAndKind)
{
    auto window = Window::Create<LockedWindow>();
    EXPECT_EQ(window->Control<PushButton>("in").objectName(), "in");
    EXPECT_EQ(window->findChild<PushButton*>("in"), &window->Control<PushButton>("in"));
    EXPECT_EQ(window->Control("in").Name(), "in");
    EXPECT_THROW(window->Control<Listbox>("in"), NilObjectException);
    EXPECT_THROW(window->Control("missing"), NilObjectException);
    EXPECT_THROW(window->AddControl<PushButton>("in"), RuntimeException);
}

TEST(Window, EdgeLocksAtTheMinimumSize)
{
    auto window = Window::Create<LockedWindow>();
    window->Show();
    EXPECT_EQ(window->Control("list").WindowRect(), QRect(20, 74, 371, 486));

    window->SetSize(100, 100); // no smaller than the minimum
    EXPECT_EQ(window->Size(), QSize(540, 447));
    EXPECT_EQ(window->Control("tabs").WindowRect(), QRect(0, 0, 540, 447));
    EXPECT_EQ(window->Control("list").WindowRect(), QRect(20, 74, 209, 353));
    EXPECT_EQ(window->Control("box").WindowRect(), QRect(239, 74, 281, 353));
    EXPECT_EQ(window->Control("pane").WindowRect(), QRect(243, 89, 273, 335));
    EXPECT_EQ(window->Control("path").WindowRect(), QRect(169, 40, 227, 22));
    EXPECT_EQ(window->Control("in").WindowRect(), QRect(408, 40, 50, 22));
    EXPECT_EQ(window->Control("edit").WindowRect(), QRect(20, 40, 42, 22));
    // The pane sits in the group box: its widget geometry is in the box's coordinates.
    EXPECT_EQ(window->Control("pane").Widget().geometry(), QRect(4, 15, 273, 335));

    window->SetSize(702, 580);
    EXPECT_EQ(window->Control("pane").WindowRect(), QRect(405, 89, 273, 468));
}

TEST(Window, ControlsShowOnlyOnTheirTabPage)
{
    auto window = Window::Create<LockedWindow>();
    window->Show();
    auto& tabs = window->Control<TabPanel>("tabs");
    EXPECT_EQ(tabs.CurrentPage(), 1);
    EXPECT_TRUE(window->Control("list").Widget().isVisible());
    EXPECT_TRUE(window->Control("pane").Widget().isVisible());
    EXPECT_FALSE(window->Control("note").Widget().isVisible());

    QTest::mouseClick(tabs.tabBar(), Qt::LeftButton, {}, tabs.tabBar()->tabRect(1).center());
    EXPECT_EQ(tabs.CurrentPage(), 2);
    EXPECT_FALSE(window->Control("list").Widget().isVisible());
    EXPECT_FALSE(window->Control("pane").Widget().isVisible());
    EXPECT_TRUE(window->Control("note").Widget().isVisible());
    EXPECT_THROW(tabs.SetCurrentPage(3), OutOfBoundsException);
}

TEST(Window, ShowModalReturnsAfterCloseEvent)
{
    auto prompt = Window::Create<Prompt>();
    EXPECT_EQ(prompt->Size(), QSize(284, 114));
    QTimer::singleShot(0, prompt.get(), [] {
        auto* shown = dynamic_cast<Prompt*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        QTest::keyClicks(&shown->Control<EditField>("field").Editor(), "typed");
        QTest::mouseClick(&shown->Control<PushButton>("ok"), Qt::LeftButton);
    });
    prompt->ShowModal();
    EXPECT_TRUE(prompt->closed);
    EXPECT_EQ(prompt->answer, "typed");
    EXPECT_FALSE(prompt->IsOpen());
    EXPECT_FALSE(prompt->isVisible());
}

TEST(Window, ReturnPressesTheDefaultButton)
{
    auto prompt = Window::Create<Prompt>();
    prompt->Control<PushButton>("ok").SetDefault(true);
    prompt->Show();
    auto& field = prompt->Control<EditField>("field");
    QTest::keyClick(&field.Editor(), Qt::Key_Return);
    EXPECT_TRUE(prompt->closed);
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

TEST(EditField, KindsKeepTheTextAndTheViewSharesBuffers)
{
    auto prompt = Window::Create<Prompt>();
    auto& field = prompt->Control<EditField>("field");
    ASSERT_NE(field.LineEdit(), nullptr);
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
    EXPECT_EQ(field.objectName(), "field");
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

TEST(Window, FocusOrderAsGiven)
{
    class Ordered : public Window {
    protected:
        void CreateControls() override
        {
            int index = 2;
            for (const char* name : { "a", "b", "c" }) {
                auto& button = AddControl<PushButton>(name);
                button.SetRect(10, 10 + 30 * index, 80, 22);
                button.SetTabIndex(index);
                index = (index + 1) % 3;
            }
        }
    };
    auto window = Window::Create<Ordered>();
    auto* b = window->findChild<QWidget*>("b");
    auto* c = window->findChild<QWidget*>("c");
    auto* a = window->findChild<QWidget*>("a");
    EXPECT_EQ(b->nextInFocusChain(), c);
    EXPECT_EQ(c->nextInFocusChain(), a);
}
