#include "framework/editfield.h"
#include "framework/groupbox.h"
#include "framework/listbox.h"
#include "framework/messagelog.h"
#include "framework/pushbutton.h"
#include "framework/rectcontrol.h"
#include "framework/statictext.h"
#include "framework/tabpanel.h"
#include "shell/mainwindow.h"
#include "xml/xmldocument.h"

#include <QRect>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Design {
    const char* name;
    int page;
    QRect rect;
    bool enabled;
};

// The 26 controls in creation order with their tab page, design place and enabled state.
const Design kControls[] = {
    { "TabPanel1", 0, { 0, 0, 702, 580 }, true },
    { "todoList", 3, { 20, 40, 129, 520 }, true },
    { "editTodo", 3, { 161, 74, 521, 384 }, true },
    { "updateTodo", 3, { 161, 470, 521, 22 }, false },
    { "deleteTodo", 3, { 161, 538, 521, 22 }, false },
    { "addTodo", 3, { 161, 504, 521, 22 }, true },
    { "todoName", 3, { 161, 40, 521, 22 }, true },
    { "Separator1", 2, { 232, 40, 10, 427 }, false },
    { "compareFile", 2, { 20, 479, 435, 22 }, false },
    { "comparator1", 2, { 20, 40, 200, 427 }, false },
    { "comparator2", 2, { 255, 40, 200, 427 }, false },
    { "compareButton", 2, { 20, 513, 435, 22 }, false },
    { "XMLList", 1, { 20, 74, 371, 486 }, true },
    { "GroupBox1", 1, { 401, 74, 281, 486 }, true },
    { "PreviewArea", 1, { 405, 89, 273, 468 }, true },
    { "PatternsBox", 4, { 20, 40, 473, 486 }, false },
    { "PushButton1", 4, { 505, 40, 177, 60 }, false },
    { "SelectPattern", 4, { 505, 112, 177, 60 }, false },
    { "PatternEdit", 4, { 505, 184, 177, 376 }, false },
    { "StaticText1", 4, { 0, 427, 540, 20 }, true },
    { "EditButton", 1, { 20, 40, 42, 22 }, false },
    { "InButton", 1, { 570, 40, 50, 22 }, false },
    { "OutButton", 1, { 632, 40, 50, 22 }, false },
    { "StatusNest", 1, { 169, 40, 389, 22 }, true },
    { "RenameButton", 1, { 74, 40, 83, 22 }, false },
    { "StaticText2", 2, { 20, 547, 597, 20 }, true },
};

TEST(MainWindow, StartsWithEmptyDocumentAndIsTheOneInstance)
{
    auto window = fw::Window::Create<MainWindow>();
    ASSERT_NE(window->XMLRead, nullptr);
    EXPECT_TRUE(window->XMLRead->DocumentElement().IsNil());
    EXPECT_TRUE(window->CurrentNode.IsNil());
    EXPECT_TRUE(window->ModalResult.isEmpty());
    EXPECT_EQ(window->NestingTilMain, 0);
    EXPECT_EQ(window->Title(), "Sildra 1.0 - Dovan Malvent");
    EXPECT_EQ(window->Size(), QSize(702, 580));
    EXPECT_EQ(window->MinimumSize(), QSize(540, 447));
    EXPECT_EQ(window->MaximumSize(), QSize(32000, 32000));
    EXPECT_TRUE(window->Resizable());
    EXPECT_TRUE(window->isVisible());

    const std::shared_ptr<xml::XmlDocument> document = window->XMLRead;
    EXPECT_EQ(&MainWindow::Instance(), window.get());
    EXPECT_EQ(&MainWindow::Instance(), window.get());
    EXPECT_EQ(window->XMLRead, document);
    EXPECT_EQ(fw::Window::OpenWindows().size(), 1u);
}

TEST(MainWindow, ControlsStandOnTheirPagesAtDesignPlaces)
{
    auto window = fw::Window::Create<MainWindow>();
    ASSERT_EQ(window->Controls().size(), std::size(kControls));
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const Design& design = kControls[i];
        SCOPED_TRACE(design.name);
        const fw::RectControl* control = window->Controls()[i];
        EXPECT_EQ(control->Name(), design.name);
        EXPECT_EQ(&window->Control(design.name), control);
        EXPECT_EQ(control->Widget().objectName(), design.name);
        EXPECT_EQ(control->Page(), design.page);
        EXPECT_EQ(control->Rect(), design.rect);
        EXPECT_EQ(control->WindowRect(), design.rect);
        EXPECT_EQ(control->Enabled(), design.enabled);
        // The Editor tab is selected: only its controls (and the panel) show.
        EXPECT_EQ(control->Widget().isVisibleTo(window.get()), design.page <= 1);
    }
    EXPECT_EQ(window->TabPanel1().Captions(), QStringList({ "Editor", "Comparator", "To-do", "Pattern File" }));
    EXPECT_EQ(window->TabPanel1().CurrentPage(), 1);
    EXPECT_EQ(window->PreviewArea().Container(), &window->GroupBox1());
    EXPECT_EQ(window->GroupBox1().Caption(), "Preview");

    EXPECT_EQ(window->EditButton().Text(), "Edit");
    EXPECT_EQ(window->RenameButton().Text(), "Rename");
    EXPECT_EQ(window->InButton().Text(), "In");
    EXPECT_EQ(window->OutButton().Text(), "Out");
    EXPECT_EQ(window->updateTodo().Text(), "Update");
    EXPECT_EQ(window->addTodo().Text(), "Add");
    EXPECT_EQ(window->deleteTodo().Text(), "Delete");
    EXPECT_EQ(window->compareFile().Text(), "Select File");
    EXPECT_EQ(window->compareButton().Text(), "Compare");
    EXPECT_EQ(window->PushButton1().Text(), "The QEV Pattern File Quick Help");
    EXPECT_EQ(window->SelectPattern().Text(), "Apply Selected Pattern");
    EXPECT_EQ(window->StaticText1().Text(), "Unavailable...");
    EXPECT_EQ(window->StaticText2().Text(), "This one is being worked on. Should be ready VERY soon.");
    EXPECT_EQ(window->StaticText1().TextColor(), QColor(0xFF, 0, 0));
    EXPECT_EQ(window->StaticText2().TextColor(), QColor(0xFF, 0, 0));

    // The only default button is "Delete".
    for (const fw::RectControl* control : window->Controls()) {
        if (auto* button = dynamic_cast<const fw::PushButton*>(control)) {
            EXPECT_EQ(button->Default(), button->Name() == "deleteTodo") << button->Name().toStdString();
        }
    }

    // Field kinds: single-line read-only path, read-only panes, an editable note text.
    EXPECT_FALSE(window->StatusNest().Multiline());
    EXPECT_TRUE(window->StatusNest().ReadOnly());
    for (fw::EditField* pane :
        { &window->PreviewArea(), &window->comparator1(), &window->comparator2(), &window->PatternEdit() }) {
        EXPECT_TRUE(pane->Multiline()) << pane->Name().toStdString();
        EXPECT_TRUE(pane->ReadOnly()) << pane->Name().toStdString();
    }
    EXPECT_TRUE(window->PreviewArea().AcceptTabs());
    EXPECT_TRUE(window->editTodo().Multiline());
    EXPECT_FALSE(window->editTodo().ReadOnly());
    EXPECT_FALSE(window->editTodo().AcceptTabs());
    EXPECT_FALSE(window->todoName().Multiline());
    EXPECT_FALSE(window->todoName().ReadOnly());

    // Lists: columns, headings, widths.
    EXPECT_EQ(window->XMLList().ColumnCount(), 3);
    EXPECT_EQ(window->XMLList().Heading(0), "Name");
    EXPECT_EQ(window->XMLList().Heading(1), "Value");
    EXPECT_EQ(window->XMLList().Heading(2), "Attributes");
    EXPECT_EQ(window->XMLList().ColumnWidths(), "30%, 40%, 30%");
    EXPECT_TRUE(window->XMLList().ColumnsResizable());
    EXPECT_EQ(window->PatternsBox().ColumnCount(), 3);
    EXPECT_EQ(window->PatternsBox().Heading(0), "Name");
    EXPECT_EQ(window->PatternsBox().Heading(1), "Path");
    EXPECT_EQ(window->PatternsBox().ColumnWidths(), "30%, 70%, 0%");
    EXPECT_FALSE(window->PatternsBox().ColumnsResizable());
    EXPECT_FALSE(window->todoList().HasHeading());
    EXPECT_EQ(window->XMLList().ListCount(), 0);
    EXPECT_EQ(window->PatternsBox().ListCount(), 0);
}

TEST(MainWindow, BuildingRunsNoHandler)
{
    auto window = fw::Window::Create<MainWindow>();
    ASSERT_EQ(window->todoList().ListCount(), 1);
    EXPECT_EQ(window->todoList().Cell(0, 0), "Note");
    EXPECT_EQ(window->todoList().Cell(0, 1),
        "These notes are temporary and will not be saved. They should be used when working with large files, and "
        "you don't want to forget anything.");
    for (fw::Listbox* list : { &window->todoList(), &window->XMLList(), &window->PatternsBox() })
        EXPECT_EQ(list->ListIndex(), -1) << list->Name().toStdString();
    EXPECT_TRUE(window->todoName().Text().isEmpty());
    EXPECT_TRUE(window->editTodo().Text().isEmpty());
    EXPECT_TRUE(window->StatusNest().Text().isEmpty());
    EXPECT_TRUE(window->PreviewArea().Text().isEmpty());
}

TEST(MainWindow, EditorTabFollowsTheMinimumSize)
{
    auto window = fw::Window::Create<MainWindow>();
    window->SetSize(300, 200);
    ASSERT_EQ(window->Size(), QSize(540, 447));
    EXPECT_EQ(window->XMLList().WindowRect(), QRect(20, 74, 209, 353));
    EXPECT_EQ(window->GroupBox1().WindowRect(), QRect(239, 74, 281, 353));
    EXPECT_EQ(window->PreviewArea().WindowRect(), QRect(243, 89, 273, 335));
    EXPECT_EQ(window->StatusNest().WindowRect(), QRect(169, 40, 227, 22));
    EXPECT_EQ(window->InButton().WindowRect(), QRect(408, 40, 50, 22));
    EXPECT_EQ(window->OutButton().WindowRect(), QRect(470, 40, 50, 22));
    EXPECT_EQ(window->EditButton().WindowRect(), QRect(20, 40, 42, 22));
    EXPECT_EQ(window->RenameButton().WindowRect(), QRect(74, 40, 83, 22));
    // The unlocked notice keeps its place.
    EXPECT_EQ(window->StaticText1().WindowRect(), QRect(0, 427, 540, 20));
}

TEST(MainWindow, SwitchingTabsKeepsControlState)
{
    auto window = fw::Window::Create<MainWindow>();
    window->TabPanel1().SetCurrentPage(3);
    EXPECT_TRUE(window->todoList().isVisibleTo(window.get()));
    EXPECT_FALSE(window->XMLList().isVisibleTo(window.get()));
    window->todoList().SetListIndex(0);
    window->TabPanel1().SetCurrentPage(1);
    window->TabPanel1().SetCurrentPage(3);
    EXPECT_EQ(window->todoList().ListIndex(), 0);
    EXPECT_EQ(window->todoName().Text(), "Note");
    EXPECT_TRUE(window->deleteTodo().Enabled());
}

TEST(MainWindow, ErrorBoxAsksToTryAgainOrWrite)
{
    auto window = fw::Window::Create<MainWindow>();
    fw::MessageLog log;
    window->ErrorHandler();
    window->ErrorHandler();
    ASSERT_EQ(log.Entries().size(), 2u);
    for (const auto& entry : log.Entries()) {
        EXPECT_EQ(entry.kind, fw::MessageLog::Kind::MsgBox);
        EXPECT_EQ(
            entry.text, "An error occurred, please try again later or send me a PM at \"sildra.author@example.org\".");
        EXPECT_EQ(entry.icon, 16);
        EXPECT_EQ(entry.title, "Error");
    }
}

TEST(MainWindow, ExceptionEscapingAHandlerIsReportedAndTheWindowGoesOn)
{
    auto window = fw::Window::Create<MainWindow>();
    fw::MessageLog log;
    // "Update" without a selected note reaches no row: the exception leaves the handler.
    window->updateTodo().SetEnabled(true);
    QTest::mouseClick(&window->updateTodo(), Qt::LeftButton);
    ASSERT_EQ(log.Entries().size(), 1u);
    EXPECT_EQ(log.Entries()[0].icon, 16);
    EXPECT_TRUE(log.Entries()[0].text.contains("OutOfBoundsException"));

    QTest::mouseClick(&window->addTodo(), Qt::LeftButton);
    EXPECT_EQ(window->todoList().ListCount(), 2);
    EXPECT_EQ(log.Entries().size(), 1u);
}

} // namespace
