#include "framework/editfield.h"
#include "framework/groupbox.h"
#include "framework/listbox.h"
#include "framework/pushbutton.h"
#include "framework/rectcontrol.h"
#include "framework/statictext.h"
#include "framework/tabpanel.h"
#include "shell/mainwindow.h"
#include "xml/xmldocument.h"

#include <gtest/gtest.h>

namespace {

TEST(MainWindow, BuildsWithEmptyDocument)
{
    auto window = fw::Window::Create<MainWindow>();
    ASSERT_NE(window->XMLRead, nullptr);
    EXPECT_TRUE(window->XMLRead->DocumentElement().IsNil());
    EXPECT_TRUE(window->CurrentNode.IsNil());
    EXPECT_EQ(window->Controls().size(), 26u);
}

} // namespace
