#include "framework/filedialogs.h"
#include "framework/messagelog.h"
#include "framework/quitmenuitem.h"
#include "framework/standardedititem.h"
#include "shell/mainwindow.h"
#include "shell/menubar1.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Every item below root, depth first in order.
void Walk(const fw::MenuItem& root, const std::function<void(const fw::Ref<fw::MenuItem>&)>& visit)
{
    for (int i = 0; i < root.Count(); ++i) {
        visit(root.Item(i));
        Walk(*root.Item(i), visit);
    }
}

TEST(MenuBar1, OneSharedBarWhoseItemsHaveNamesOfTheirOwn)
{
    const fw::Ref<MenuBar1> bar = MenuBar1::Instance();
    EXPECT_EQ(MenuBar1::Instance(), bar);
    QStringList names;
    Walk(*bar, [&](const fw::Ref<fw::MenuItem>& item) {
        EXPECT_FALSE(names.contains(item->Name())) << item->Name().toStdString();
        names << item->Name();
        EXPECT_EQ(bar->Find(item->Name()), item);
    });
    EXPECT_EQ(names.size(), 20);
    // The Edit menu's commands act on the focused field; the separators between them do nothing.
    Walk(*bar->Find(QStringLiteral("EditMenu")), [](const fw::Ref<fw::MenuItem>& item) {
        EXPECT_EQ(item.As<fw::StandardEditItem>().IsNil(), item->Text() == "-") << item->Name().toStdString();
    });
    EXPECT_FALSE(bar->Find(QStringLiteral("FileQuit")).As<fw::QuitMenuItem>().IsNil());
}

// Each accessor paired with its own name, so that the name cannot differ from the accessor's.
#define ACCESSOR(name)                                                                                                 \
    {                                                                                                                  \
        &MainWindow::name, #name                                                                                       \
    }

TEST(MainWindowMenus, EveryAccessorFindsTheItemOfItsOwnName)
{
    auto window = fw::Window::Create<MainWindow>();
    EXPECT_EQ(window->MenuBar().Shared(), MenuBar1::Instance().Shared());
    const std::pair<fw::Ref<fw::MenuItem> (MainWindow::*)() const, const char*> accessors[] = { ACCESSOR(HelpMenu),
        ACCESSOR(CreditsMenu), ACCESSOR(EditMenu), ACCESSOR(EditSelectAll), ACCESSOR(UntitledMenu0),
        ACCESSOR(EditClear), ACCESSOR(EditPaste), ACCESSOR(EditCopy), ACCESSOR(EditCut), ACCESSOR(UntitledMenu1),
        ACCESSOR(EditUndo), ACCESSOR(FileMenu), ACCESSOR(UntitledSeparator), ACCESSOR(UntitledItem1), ACCESSOR(SaveQEV),
        ACCESSOR(SaveXML), ACCESSOR(SaveOpen), ACCESSOR(OpenQEV), ACCESSOR(OpenXML) };
    for (const auto& [accessor, name] : accessors) {
        const fw::Ref<fw::MenuItem> item = (window.get()->*accessor)();
        ASSERT_FALSE(item.IsNil()) << name;
        EXPECT_EQ(item->Name(), name);
    }
    EXPECT_EQ(window->FileQuit()->Name(), "FileQuit");
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
        { "Open > XML", open[0], Qt::ControlModifier, Qt::Key_O, false, "XML Files (*.xml" },
        // The QEV actions first ask where the converter is.
        { "Open > QEV", open[1], Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_O, false, "QevSplit" },
        { "Save > XML", save[0], Qt::ControlModifier, Qt::Key_S, true, "XML Files (*.xml" },
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
    EXPECT_FALSE(entry.explanation.isEmpty());
    EXPECT_EQ(log.Entries()[1].explanation, entry.explanation);
    EXPECT_FALSE(window->_CreditsMenu_Action());
}

} // namespace
