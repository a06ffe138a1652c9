#include "framework/filedialogs.h"
#include "framework/messagelog.h"
#include "framework/quitmenuitem.h"
#include "framework/standardedititem.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"
#include "shell/menubar1.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

enum class Kind { Plain, Quit, Edit };

struct Row {
    const char* name;
    const char* text;
    const char* shortcut;
    bool autoEnable;
    const char* parent;
    Kind kind;
};

// The menu items in building order; "" parent is the bar.
const Row kItems[] = {
    { "FileMenu", "&File", "", true, "", Kind::Plain },
    { "SaveOpen", "Open", "", false, "FileMenu", Kind::Plain },
    { "OpenXML", "XML", "Cmd+O", false, "SaveOpen", Kind::Plain },
    { "OpenQEV", "QEV", "Cmd+Shift+O", false, "SaveOpen", Kind::Plain },
    { "UntitledItem1", "Save", "", true, "FileMenu", Kind::Plain },
    { "SaveXML", "XML", "Cmd+S", true, "UntitledItem1", Kind::Plain },
    { "SaveQEV", "QEV", "Cmd+Shift+S", false, "UntitledItem1", Kind::Plain },
    { "UntitledSeparator", "-", "", true, "FileMenu", Kind::Plain },
    { "FileQuit", "&Quit", "Cmd+Q", true, "FileMenu", Kind::Quit },
    { "EditMenu", "&Edit", "", true, "", Kind::Plain },
    { "EditUndo", "&Undo", "Cmd+Z", true, "EditMenu", Kind::Edit },
    { "UntitledMenu1", "-", "", true, "EditMenu", Kind::Plain },
    { "EditCut", "Cu&t", "Cmd+X", true, "EditMenu", Kind::Edit },
    { "EditCopy", "&Copy", "Cmd+C", true, "EditMenu", Kind::Edit },
    { "EditPaste", "&Paste", "Cmd+V", true, "EditMenu", Kind::Edit },
    { "EditClear", "&Delete", "", true, "EditMenu", Kind::Edit },
    { "UntitledMenu0", "-", "", true, "EditMenu", Kind::Plain },
    { "EditSelectAll", "Select &All", "Cmd+A", true, "EditMenu", Kind::Edit },
    { "HelpMenu", "Help", "", true, "", Kind::Plain },
    { "CreditsMenu", "Credits", "", true, "HelpMenu", Kind::Plain },
};

// Every item below root, depth first in order, with its parent's name.
void Walk(const fw::MenuItem& root, const QString& parent,
    const std::function<void(const fw::Ref<fw::MenuItem>&, const QString&)>& visit)
{
    for (int i = 0; i < root.Count(); ++i) {
        visit(root.Item(i), parent);
        Walk(*root.Item(i), root.Item(i)->Name(), visit);
    }
}

TEST(MenuBar1, BuildsTheItemsInOrder)
{
    const fw::Ref<MenuBar1> bar = MenuBar1::Instance();
    EXPECT_EQ(MenuBar1::Instance(), bar);
    std::vector<std::pair<fw::Ref<fw::MenuItem>, QString>> items;
    Walk(*bar, QString(),
        [&](const fw::Ref<fw::MenuItem>& item, const QString& parent) { items.emplace_back(item, parent); });
    // Depth-first order equals building order, since each menu is appended before its items.
    ASSERT_EQ(items.size(), std::size(kItems));
    for (size_t i = 0; i < items.size(); ++i) {
        const Row& row = kItems[i];
        const auto& [item, parent] = items[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(item->Name(), row.name);
        EXPECT_EQ(item->Text(), row.text);
        EXPECT_EQ(item->KeyboardShortcut(), row.shortcut);
        EXPECT_EQ(item->AutoEnable(), row.autoEnable);
        EXPECT_EQ(parent, row.parent);
        EXPECT_EQ(item.As<fw::QuitMenuItem>().IsNil(), row.kind != Kind::Quit);
        EXPECT_EQ(item.As<fw::StandardEditItem>().IsNil(), row.kind != Kind::Edit);
    }
}

TEST(MainWindowMenus, AccessorsFindTheItemsOfTheWindowsBar)
{
    auto window = fw::Window::Create<MainWindow>();
    EXPECT_EQ(window->MenuBar().Shared(), MenuBar1::Instance().Shared());
    const std::pair<fw::Ref<fw::MenuItem>, const char*> accessors[] = { { window->HelpMenu(), "HelpMenu" },
        { window->CreditsMenu(), "CreditsMenu" }, { window->EditMenu(), "EditMenu" },
        { window->EditSelectAll(), "EditSelectAll" }, { window->UntitledMenu0(), "UntitledMenu0" },
        { window->EditClear(), "EditClear" }, { window->EditPaste(), "EditPaste" }, { window->EditCopy(), "EditCopy" },
        { window->EditCut(), "EditCut" }, { window->UntitledMenu1(), "UntitledMenu1" },
        { window->EditUndo(), "EditUndo" }, { window->FileMenu(), "FileMenu" }, { window->FileQuit(), "FileQuit" },
        { window->UntitledSeparator(), "UntitledSeparator" }, { window->UntitledItem1(), "UntitledItem1" },
        { window->SaveQEV(), "SaveQEV" }, { window->SaveXML(), "SaveXML" }, { window->SaveOpen(), "SaveOpen" },
        { window->OpenQEV(), "OpenQEV" }, { window->OpenXML(), "OpenXML" } };
    for (const auto& [item, name] : accessors) {
        ASSERT_FALSE(item.IsNil()) << name;
        EXPECT_EQ(item->Name(), name);
    }
}

TEST(MainWindowMenus, FiveActionsEnabledAtEveryEnablingPass)
{
    auto window = fw::Window::Create<MainWindow>();
    const auto five = [&] {
        return std::vector<fw::Ref<fw::MenuItem>> { window->OpenXML(), window->SaveXML(), window->OpenQEV(),
            window->SaveQEV(), window->CreditsMenu() };
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (const auto& item : five())
            item->SetEnabled(false);
        window->UpdateMenuItems();
        for (const auto& item : five())
            EXPECT_TRUE(item->Enabled()) << item->Name().toStdString() << " pass " << pass;
    }
    // "Open" itself is not enabled, but shows enabled through its two enabled commands, so the mouse reaches them.
    EXPECT_FALSE(window->SaveOpen()->Enabled());
    EXPECT_TRUE(window->SaveOpen()->ShownEnabled());
}

TEST(MainWindowMenus, FileActionsRunOncePerChoice)
{
    auto window = fw::Window::Create<MainWindow>();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    fw::FileDialogs dialogs; // every dialog is cancelled: each action asks once and ends
    fw::MessageLog log;
    const QList<QAction*> file = window->QtMenuBar()->actions()[0]->menu()->actions();
    const QList<QAction*> open = file[0]->menu()->actions();
    const QList<QAction*> save = file[1]->menu()->actions();
    struct Choice {
        const char* what;
        QAction* action;
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        bool saves; // the first dialog's kind
        const char* firstDialog; // its filter
    };
    const Choice choices[] = {
        { "Open > XML", open[0], Qt::ControlModifier, Qt::Key_O, false, "XML Files" },
        // The QEV actions first ask where the converter is.
        { "Open > QEV", open[1], Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O, false, "QevSplit" },
        { "Save > XML", save[0], Qt::ControlModifier, Qt::Key_S, true, "XML Files" },
        { "Save > QEV", save[1], Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S, false, "QevSplit" },
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.what);
        const size_t before = dialogs.Requests().size();
        choice.action->trigger();
        QTest::keyClick(window.get(), choice.key, choice.modifiers);
        ASSERT_EQ(dialogs.Requests().size(), before + 2);
        EXPECT_EQ(dialogs.Requests()[before].save, choice.saves);
        EXPECT_TRUE(dialogs.Requests()[before].filter.startsWith(choice.firstDialog));
        EXPECT_EQ(dialogs.Requests()[before].filter, dialogs.Requests()[before + 1].filter);
    }
    EXPECT_TRUE(log.Entries().empty());
}

TEST(MainWindowMenus, CreditsShowsItsBoxOncePerChoice)
{
    auto window = fw::Window::Create<MainWindow>();
    fw::MessageLog log;
    QAction* credits = window->QtMenuBar()->actions()[2]->menu()->actions()[0];
    ASSERT_EQ(credits->text(), "Credits");
    credits->trigger();
    credits->trigger();
    ASSERT_EQ(log.Entries().size(), 2u);
    const auto& entry = log.Entries()[0];
    EXPECT_EQ(entry.kind, fw::MessageLog::Kind::MessageDialog);
    EXPECT_EQ(entry.text, "Credits:");
    EXPECT_EQ(entry.icon, 0);
    EXPECT_TRUE(entry.title.isEmpty());
    const QStringList lines = entry.explanation.split(fw::EndOfLine());
    EXPECT_EQ(lines.size(), 6);
    for (const QString& line : lines)
        EXPECT_TRUE(line.contains(" - ")) << line.toStdString();
    EXPECT_EQ(log.Entries()[1].explanation, entry.explanation);
    EXPECT_FALSE(window->_CreditsMenu_Action());
}

} // namespace
