#include "framework/groupbox.h"
#include "framework/tabpanel.h"
#include "support/mainwindowtest.h"

#include <QTabBar>

using namespace sildra::test;

namespace {

using MainWindowLayout = MainWindowTest;

// Where a control's edges go when its container's edges move by the given amounts: a locked edge follows its own
// edge of the container, an edge whose opposite alone is locked follows that one, an axis without locks stays.
QRect Followed(const fw::RectControl& control, const QRect& before, const QRect& after)
{
    const auto shift = [](bool lockLow, bool lockHigh, int lowMove, int highMove, bool low) {
        if (low)
            return lockLow ? lowMove : lockHigh ? highMove : 0;
        return lockHigh ? highMove : lockLow ? lowMove : 0;
    };
    const QRect r = control.Rect();
    const int dl = after.left() - before.left(), dr = after.right() - before.right();
    const int dt = after.top() - before.top(), db = after.bottom() - before.bottom();
    const bool l = control.LockLeft(), t = control.LockTop(), rt = control.LockRight(), b = control.LockBottom();
    return QRect(QPoint(r.left() + shift(l, rt, dl, dr, true), r.top() + shift(t, b, dt, db, true)),
        QPoint(r.right() + shift(l, rt, dl, dr, false), r.bottom() + shift(t, b, dt, db, false)));
}

TEST_F(MainWindowLayout, EveryControlAnswersToItsNameAndShowsOnlyOnItsOwnTabAndBuildingRunsNoHandler)
{
    EXPECT_EQ(window->todoList().ListCount(), 1);
    for (fw::Listbox* list : { &window->todoList(), &window->XMLList(), &window->PatternsBox() })
        EXPECT_EQ(list->ListIndex(), -1) << list->Name().toStdString();
    EXPECT_TRUE(window->todoName().Text().isEmpty());
    EXPECT_EQ(Buttons(), "----");
    EXPECT_EQ(window->Controls().size(), 26u);
    for (int page = 1; page <= 4; ++page) {
        window->TabPanel1().SetCurrentPage(page);
        for (const fw::RectControl* control : window->Controls()) {
            EXPECT_EQ(&window->Control(control->Name()), control);
            EXPECT_EQ(control->Widget().isVisibleTo(window.get()), control->Page() == 0 || control->Page() == page)
                << control->Name().toStdString() << " on tab " << page;
        }
    }
}

TEST_F(MainWindowLayout, EveryControlFollowsItsLocksWhenTheWindowIsResized)
{
    const QRect design(QPoint(0, 0), window->DesignSize());
    for (const QSize size : { QSize(540, 447), QSize(1000, 700), QSize(702, 580) }) {
        window->SetSize(size.width(), size.height());
        const QRect now(QPoint(0, 0), window->Size());
        for (const fw::RectControl* control : window->Controls()) {
            const fw::GroupBox* box = control->Container();
            EXPECT_EQ(control->WindowRect(),
                box ? Followed(*control, box->Rect(), box->WindowRect()) : Followed(*control, design, now))
                << control->Name().toStdString() << " at " << size.width() << "x" << size.height();
        }
    }
    // The window stops at its minimum, where the Editor tab keeps its gaps.
    window->SetSize(300, 200);
    ASSERT_EQ(window->Size(), QSize(540, 447));
    // The pane sits in the group box: its widget's geometry is in the box's coordinates.
    EXPECT_EQ(window->PreviewArea().Widget().geometry(), QRect(4, 15, 273, 335));
}

TEST_F(MainWindowLayout, ClickedTabShowsItsControlsAndKeepsTheirState)
{
    QTabBar* tabs = window->TabPanel1().tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(window->TabPanel1().CurrentPage(), 3);
    EXPECT_TRUE(window->todoList().isVisible());
    EXPECT_FALSE(window->XMLList().isVisible());
    window->todoList().SetListIndex(0);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_TRUE(window->PreviewArea().Widget().isVisible());
    window->TabPanel1().SetCurrentPage(3);
    EXPECT_EQ(window->todoList().ListIndex(), 0);
    EXPECT_EQ(window->todoName().Text(), "Note");
    EXPECT_TRUE(window->deleteTodo().Enabled());
    EXPECT_THROW(window->TabPanel1().SetCurrentPage(5), fw::OutOfBoundsException);
}

TEST_F(MainWindowLayout, TabAndShiftTabWalkEachTabInItsFocusOrder)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    // Disabled controls are passed over: at first the Editor tab has neither node buttons nor anything but the path,
    // the list and the preview; the pane keeps Tab for itself, Shift+Tab leaves it.
    EXPECT_EQ(focusedControl(*window), "StatusNest");
    EXPECT_EQ(tabWalk(*window, 3), QStringList({ "XMLList", "PreviewArea", "PreviewArea" }));
    EXPECT_EQ(tabWalk(*window, 4, true), QStringList({ "XMLList", "StatusNest", "TabPanel1", "PreviewArea" }));

    for (const char* button : { "EditButton", "RenameButton", "InButton", "OutButton" })
        window->Control(button).SetEnabled(true);
    window->EditButton().setFocus();
    EXPECT_EQ(tabWalk(*window, 6),
        QStringList({ "RenameButton", "StatusNest", "InButton", "OutButton", "XMLList", "PreviewArea" }));
    EXPECT_EQ(tabWalk(*window, 9, true),
        QStringList({ "XMLList", "OutButton", "InButton", "StatusNest", "RenameButton", "EditButton", "TabPanel1",
            "PreviewArea", "XMLList" }));
    window->TabPanel1().setFocus();
    EXPECT_EQ(tabWalk(*window, 1), QStringList({ "EditButton" }));

    window->TabPanel1().SetCurrentPage(3);
    window->todoList().SetListIndex(0);
    window->todoList().setFocus();
    const QStringList todo { "editTodo", "updateTodo", "deleteTodo", "addTodo", "todoName", "TabPanel1", "todoList" };
    EXPECT_EQ(tabWalk(*window, 7), todo);
    QStringList back(todo.rbegin() + 1, todo.rend());
    back << "todoList";
    EXPECT_EQ(tabWalk(*window, 7, true), back);

    // Every control of the other two tabs but their notices is disabled: only the tabs themselves take the focus.
    for (const int page : { 2, 4 }) {
        window->TabPanel1().SetCurrentPage(page);
        window->TabPanel1().setFocus();
        EXPECT_EQ(tabWalk(*window, 1) + tabWalk(*window, 1, true), QStringList({ "TabPanel1", "TabPanel1" }));
    }
}

TEST_F(MainWindowLayout, EachListDrawsItsOwnGridLines)
{
    Open("<root><a x=\"1\">v</a><b/></root>");
    window->PatternsBox().AddRow(QStringLiteral("pattern"));
    struct Expected {
        fw::Listbox& list;
        int page;
        bool betweenRows, betweenColumns;
    };
    for (const Expected& expected : { Expected { window->XMLList(), 1, false, true },
             Expected { window->todoList(), 3, true, false }, Expected { window->PatternsBox(), 4, true, true } }) {
        window->TabPanel1().SetCurrentPage(expected.page);
        EXPECT_EQ(gridLinePixels(expected.list, Qt::Horizontal) > 0, expected.betweenRows) << expected.page;
        EXPECT_EQ(gridLinePixels(expected.list, Qt::Vertical) > 0, expected.betweenColumns) << expected.page;
    }
    window->TabPanel1().SetCurrentPage(1);
    ClickRow(List(), 0);
    WhenModal([](fw::Window& editor) {
        auto& list = editor.Control<fw::Listbox>(QStringLiteral("Listbox1"));
        EXPECT_EQ(gridLinePixels(list, Qt::Horizontal) + gridLinePixels(list, Qt::Vertical), 0);
        editor.close();
    });
    Run(QStringLiteral("Attributes"));
}

} // namespace
