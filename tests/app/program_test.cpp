#include "app/app.h"
#include "app/mainfiletypes.h"
#include "app/program.h"
#include "shell/mainwindow.h"
#include "shell/menubar1.h"
#include "xml/xmldocument.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Presses Ctrl+Q in the open main window once the event loop runs; pressed tells that it did.
void QuitSoon(bool& pressed)
{
    QTimer::singleShot(0, qApp, [&pressed] {
        MainWindow* window = fw::Window::FindOpen<MainWindow>();
        ASSERT_NE(window, nullptr);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        pressed = true;
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    });
}

TEST(Program, StartupMakesOneMainWindowAndThePatternFileType)
{
    ASSERT_EQ(Program::_Startup(), 0);
    ASSERT_EQ(fw::Window::OpenWindows().size(), 1u);
    MainWindow* window = fw::Window::FindOpen<MainWindow>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    ASSERT_NE(window->XMLRead, nullptr);
    EXPECT_TRUE(window->XMLRead->DocumentElement().IsNil());
    EXPECT_TRUE(window->CurrentNode.IsNil());
    for (int call = 0; call < 2; ++call)
        EXPECT_EQ(&MainWindow::Instance(), window);
    EXPECT_EQ(fw::Window::OpenWindows().size(), 1u);
    EXPECT_FALSE(MainFileTypes::pQEVFiletypePattern.IsNil());

    // Once the open window is closed, the accessor makes a new one with no document.
    window->XMLRead->LoadXml("<a/>");
    window->Close();
    MainWindow& second = MainWindow::Instance();
    EXPECT_TRUE(second.IsOpen());
    EXPECT_TRUE(second.XMLRead->DocumentElement().IsNil());

    const fw::Ref<MenuBar1> bar = MenuBar1::Instance();
    Program::releaseModuleObjects();
    EXPECT_TRUE(fw::Window::OpenWindows().empty());
    EXPECT_EQ(fw::Window::FindOpen<MainWindow>(), nullptr);
    EXPECT_TRUE(MainFileTypes::pQEVFiletypePattern.IsNil());
    EXPECT_FALSE(MenuBar1::Instance() == bar);
}

TEST(Program, QuitEndsTheEventLoopWithStatusZero)
{
    bool pressed = false;
    QuitSoon(pressed);
    EXPECT_EQ(Program::_Main(App::Instance()), 0);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(fw::Window::OpenWindows().size(), 1u);
    Program::releaseModuleObjects();
}

} // namespace
