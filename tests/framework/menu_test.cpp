#include "framework/editfield.h"
#include "framework/menubar.h"
#include "framework/quitmenuitem.h"
#include "framework/standardedititem.h"
#include "framework/window.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace fw;

namespace {

// Names an item and sets its properties; returns it.
Ref<MenuItem> Item(
    Ref<MenuItem> item, const QString& name, const QString& text, const QString& shortcut = {}, bool autoEnable = true)
{
    item->SetName(name);
    item->SetAutoEnable(autoEnable);
    item->SetText(text);
    item->SetKeyboardShortcut(shortcut);
    return item;
}

Ref<MenuBar> MakeBar()
{
    auto bar = MakeRef<MenuBar>();
    auto file = Item(MakeRef<MenuItem>(), "FileMenu", "&File");
    bar->Append(file);
    file->Append(Item(MakeRef<MenuItem>(), "OpenMenu", "Open", {}, false));
    file->Child("OpenMenu")->Append(Item(MakeRef<MenuItem>(), "OpenA", "A", "Cmd+O", false));
    file->Append(Item(MakeRef<MenuItem>(), "Save", "Save", "Cmd+Shift+S"));
    file->Append(Item(MakeRef<MenuItem>(), "Sep", "-"));
    file->Append(Item(MakeRef<QuitMenuItem>(), "Quit", "&Quit", "Cmd+Q", false));
    auto edit = Item(MakeRef<MenuItem>(), "EditMenu", "&Edit");
    bar->Append(edit);
    edit->Append(Item(MakeRef<StandardEditItem>(EditCommand::SelectAll), "EditSelectAll", "Select &All", "Cmd+A"));
    edit->Append(Item(MakeRef<StandardEditItem>(EditCommand::Delete), "EditClear", "&Delete"));
    return bar;
}

class MenuWindow : public Window {
public:
    bool enableOpen = false;
    int opens = 0;
    int saves = 0;
    int passes = 0;

protected:
    void Layout() override
    {
        SetMenuBar(MakeBar());
        SetSize(300, 200);
    }
    void CreateControls() override { AddControl<EditField>("field").SetRect(10, 10, 200, 22); }
    void AddMenuHandlers() override
    {
        AddMenuHandler("OpenA", [this] {
            ++opens;
            return false;
        });
        AddMenuHandler("Save", [this] {
            ++saves;
            return true;
        });
    }
    void Event_EnableMenuItems() override
    {
        ++passes;
        if (enableOpen)
            MenuBar()->Find("OpenA")->Enable();
    }
};

QAction* ActionOf(Window& window, const QString& text)
{
    for (QAction* action : window.QtMenuBar()->findChildren<QAction*>())
        if (action->text().section(QLatin1Char('\t'), 0, 0) == text)
            return action;
    return nullptr;
}

class Menus : public testing::Test {
protected:
    void SetUp() override
    {
        m_window = Window::Create<MenuWindow>();
        m_window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    }
    std::unique_ptr<MenuWindow> m_window;
};

} // namespace

TEST(MenuItems, Tree)
{
    const auto bar = MakeBar();
    EXPECT_THROW(bar->Item(2), OutOfBoundsException);
    EXPECT_TRUE(bar->Child("OpenA").IsNil()); // Child looks at direct children only
    EXPECT_FALSE(bar->Find("Quit").As<QuitMenuItem>().IsNil());
    EXPECT_TRUE(bar->Find("Nothing").IsNil());
    EXPECT_THROW(bar->Append(nullptr), NilObjectException);
}

TEST_F(Menus, BarShowsTheItemsInOrder)
{
    QMenuBar* qtBar = m_window->QtMenuBar();
    ASSERT_EQ(qtBar->actions().size(), 2);
    EXPECT_EQ(qtBar->actions()[0]->text(), "&File");
    QMenu* file = qtBar->actions()[0]->menu();
    ASSERT_EQ(file->actions().size(), 4);
    EXPECT_EQ(file->actions()[0]->text(), "Open");
    EXPECT_NE(file->actions()[0]->menu(), nullptr);
    EXPECT_TRUE(file->actions()[2]->isSeparator());
    // Shortcuts are shown beside the caption and bound once, by the window.
    EXPECT_TRUE(file->actions()[3]->text().endsWith("\tCtrl+Q"));
    EXPECT_TRUE(ActionOf(*m_window, "Save")->text().endsWith("\tCtrl+Shift+S"));
    EXPECT_TRUE(file->actions()[3]->shortcut().isEmpty());
}

TEST_F(Menus, EnablingPassBeforeAShortcutThatActsOncePerPress)
{
    QWidget* focus = &m_window->Control<EditField>("field").Editor();
    QTest::keyClick(focus, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_window->opens, 0); // no AutoEnable, not enabled by the event: the shortcut does nothing

    m_window->enableOpen = true;
    const int passes = m_window->passes;
    QTest::keyClick(focus, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(m_window->passes, passes + 1);
    EXPECT_EQ(m_window->opens, 1);
    // A held shortcut acts once.
    sildra::test::sendKeyRepeats(focus, Qt::Key_O, 3, Qt::ControlModifier);
    EXPECT_EQ(m_window->opens, 1);
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_window->saves, 1);
}

TEST_F(Menus, EnablingPassBeforeAMenuOpens)
{
    QAction* open = ActionOf(*m_window, "Open");
    QAction* openA = ActionOf(*m_window, "A");
    QAction* quit = ActionOf(*m_window, "&Quit");
    QMenu* file = m_window->QtMenuBar()->actions()[0]->menu();

    file->popup(QPoint(0, 0));
    EXPECT_FALSE(openA->isEnabled());
    EXPECT_FALSE(open->isEnabled()); // a menu without AutoEnable and no enabled item
    EXPECT_TRUE(quit->isEnabled()); // the quit item stays enabled without AutoEnable
    file->hide();

    m_window->enableOpen = true;
    file->popup(QPoint(0, 0));
    EXPECT_TRUE(openA->isEnabled());
    EXPECT_TRUE(open->isEnabled()); // shown enabled for its enabled item
    file->hide();

    openA->trigger();
    EXPECT_EQ(m_window->opens, 1);
}

TEST_F(Menus, EditItemsActOnTheFocusedField)
{
    auto& field = m_window->Control<EditField>("field");
    field.SetText("some text");
    field.Editor().setFocus();
    ActionOf(*m_window, "Select &All")->trigger();
    EXPECT_EQ(field.LineEdit()->selectedText(), "some text");
    ActionOf(*m_window, "&Delete")->trigger();
    EXPECT_EQ(field.Text(), "");
}
