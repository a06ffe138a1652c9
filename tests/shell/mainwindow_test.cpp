#include "framework/groupbox.h"
#include "framework/statictext.h"
#include "framework/tabpanel.h"
#include "support/mainwindowtest.h"

#include <QLabel>
#include <QTabBar>

using namespace sildra::test;

namespace {

struct Design {
    const char* name;
    int page;
    QRect rect;
    bool enabled;
    const char* text; // a button's or label's caption
};

// The 26 controls in creation order with their tab page, design place, enabled state and caption.
const Design kControls[] = {
    { "TabPanel1", 0, { 0, 0, 702, 580 }, true, "" },
    { "todoList", 3, { 20, 40, 129, 520 }, true, "" },
    { "editTodo", 3, { 161, 74, 521, 384 }, true, "" },
    { "updateTodo", 3, { 161, 470, 521, 22 }, false, "Update" },
    { "deleteTodo", 3, { 161, 538, 521, 22 }, false, "Delete" },
    { "addTodo", 3, { 161, 504, 521, 22 }, true, "Add" },
    { "todoName", 3, { 161, 40, 521, 22 }, true, "" },
    { "Separator1", 2, { 232, 40, 10, 427 }, false, "" },
    { "compareFile", 2, { 20, 479, 435, 22 }, false, "Select File" },
    { "comparator1", 2, { 20, 40, 200, 427 }, false, "" },
    { "comparator2", 2, { 255, 40, 200, 427 }, false, "" },
    { "compareButton", 2, { 20, 513, 435, 22 }, false, "Compare" },
    { "XMLList", 1, { 20, 74, 371, 486 }, true, "" },
    { "GroupBox1", 1, { 401, 74, 281, 486 }, true, "" },
    { "PreviewArea", 1, { 405, 89, 273, 468 }, true, "" },
    { "PatternsBox", 4, { 20, 40, 473, 486 }, false, "" },
    { "PushButton1", 4, { 505, 40, 177, 60 }, false, "The QEV Pattern File Quick Help" },
    { "SelectPattern", 4, { 505, 112, 177, 60 }, false, "Apply Selected Pattern" },
    { "PatternEdit", 4, { 505, 184, 177, 376 }, false, "" },
    { "StaticText1", 4, { 0, 427, 540, 20 }, true, "Unavailable..." },
    { "EditButton", 1, { 20, 40, 42, 22 }, false, "Edit" },
    { "InButton", 1, { 570, 40, 50, 22 }, false, "In" },
    { "OutButton", 1, { 632, 40, 50, 22 }, false, "Out" },
    { "StatusNest", 1, { 169, 40, 389, 22 }, true, "" },
    { "RenameButton", 1, { 74, 40, 83, 22 }, false, "Rename" },
    { "StaticText2", 2, { 20, 547, 597, 20 }, true, "This one is being worked on. Should be ready VERY soon." },
};

QString Caption(const QWidget& widget)
{
    if (auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    return {};
}

using MainWindowLayout = MainWindowTest;

TEST_F(MainWindowLayout, ControlsStandOnTheirPagesAtDesignPlaces)
{
    EXPECT_EQ(window->Title(), "Sildra 1.0 - Dovan Malvent");
    EXPECT_EQ(window->Size(), QSize(702, 580));
    EXPECT_EQ(window->MaximumSize(), QSize(32000, 32000));
    EXPECT_TRUE(window->Resizable());

    ASSERT_EQ(window->Controls().size(), std::size(kControls));
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const Design& design = kControls[i];
        SCOPED_TRACE(design.name);
        const fw::RectControl* control = window->Controls()[i];
        EXPECT_EQ(control->Widget().objectName(), design.name);
        EXPECT_EQ(control->Page(), design.page);
        EXPECT_EQ(control->WindowRect(), design.rect);
        EXPECT_EQ(control->Enabled(), design.enabled);
        EXPECT_EQ(Caption(control->Widget()), design.text);
        // The Editor tab is selected: only its controls (and the panel) show.
        EXPECT_EQ(control->Widget().isVisibleTo(window.get()), design.page <= 1);
        // The only default button is "Delete".
        auto* button = qobject_cast<const QPushButton*>(&control->Widget());
        EXPECT_EQ(button && button->isDefault(), control->Name() == "deleteTodo");
    }
    EXPECT_EQ(window->TabPanel1().Captions(), QStringList({ "Editor", "Comparator", "To-do", "Pattern File" }));
    EXPECT_EQ(window->PreviewArea().Container(), &window->GroupBox1());
    EXPECT_EQ(window->GroupBox1().Caption(), "Preview");
    EXPECT_EQ(window->StaticText1().TextColor(), QColor(0xFF, 0, 0));
    EXPECT_EQ(window->StaticText2().TextColor(), QColor(0xFF, 0, 0));

    // Field kinds: single-line read-only path, read-only panes, an editable note text.
    EXPECT_FALSE(window->StatusNest().Multiline());
    EXPECT_TRUE(window->StatusNest().ReadOnly());
    for (fw::EditField* pane :
        { &window->PreviewArea(), &window->comparator1(), &window->comparator2(), &window->PatternEdit() })
        EXPECT_TRUE(pane->Multiline() && pane->ReadOnly()) << pane->Name().toStdString();
    EXPECT_TRUE(window->PreviewArea().AcceptTabs());
    EXPECT_TRUE(window->editTodo().Multiline() && !window->editTodo().ReadOnly() && !window->editTodo().AcceptTabs());
    EXPECT_FALSE(window->todoName().Multiline() || window->todoName().ReadOnly());

    // Lists: headings and column widths.
    const fw::Listbox& xmlList = window->XMLList();
    EXPECT_EQ(xmlList.ColumnCount(), 3);
    EXPECT_EQ(QStringList({ xmlList.Heading(0), xmlList.Heading(1), xmlList.Heading(2) }),
        QStringList({ "Name", "Value", "Attributes" }));
    EXPECT_EQ(xmlList.ColumnWidths(), "30%, 40%, 30%");
    EXPECT_TRUE(xmlList.ColumnsResizable());
    const fw::Listbox& patterns = window->PatternsBox();
    EXPECT_EQ(patterns.ColumnCount(), 3);
    EXPECT_EQ(QStringList({ patterns.Heading(0), patterns.Heading(1) }), QStringList({ "Name", "Path" }));
    EXPECT_EQ(patterns.ColumnWidths(), "30%, 70%, 0%");
    EXPECT_FALSE(patterns.ColumnsResizable());
    EXPECT_FALSE(window->todoList().HasHeading());

    // Building ran no handler: nothing is selected or filled in.
    EXPECT_EQ(window->todoList().ListCount(), 1);
    for (fw::Listbox* list : { &window->todoList(), &window->XMLList(), &window->PatternsBox() })
        EXPECT_EQ(list->ListIndex(), -1) << list->Name().toStdString();
    EXPECT_EQ(window->XMLList().ListCount() + window->PatternsBox().ListCount(), 0);
    for (fw::EditField* field :
        { &window->todoName(), &window->editTodo(), &window->StatusNest(), &window->PreviewArea() })
        EXPECT_TRUE(field->Text().isEmpty()) << field->Name().toStdString();
}

TEST_F(MainWindowLayout, EditorTabFollowsTheMinimumSize)
{
    window->SetSize(300, 200);
    ASSERT_EQ(window->Size(), QSize(540, 447));
    const std::pair<fw::RectControl*, QRect> expected[] = {
        { &window->XMLList(), { 20, 74, 209, 353 } }, { &window->GroupBox1(), { 239, 74, 281, 353 } },
        { &window->PreviewArea(), { 243, 89, 273, 335 } }, { &window->StatusNest(), { 169, 40, 227, 22 } },
        { &window->InButton(), { 408, 40, 50, 22 } }, { &window->OutButton(), { 470, 40, 50, 22 } },
        { &window->EditButton(), { 20, 40, 42, 22 } }, { &window->RenameButton(), { 74, 40, 83, 22 } },
        { &window->StaticText1(), { 0, 427, 540, 20 } }, // unlocked: keeps its place
    };
    for (const auto& [control, rect] : expected)
        EXPECT_EQ(control->WindowRect(), rect) << control->Name().toStdString();
    // The pane sits in the group box: its widget's geometry is in the box's coordinates.
    EXPECT_EQ(window->PreviewArea().Widget().geometry(), QRect(4, 15, 273, 335));

    window->SetSize(702, 580);
    EXPECT_EQ(window->PreviewArea().WindowRect(), QRect(405, 89, 273, 468));
}

TEST_F(MainWindowLayout, ClickedTabShowsItsControlsAndKeepsTheirState)
{
    QTabBar* tabs = window->TabPanel1().tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(window->TabPanel1().CurrentPage(), 3);
    EXPECT_TRUE(window->todoList().isVisible());
    EXPECT_FALSE(window->XMLList().isVisible());
    EXPECT_FALSE(window->PreviewArea().Widget().isVisible());
    window->todoList().SetListIndex(0);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_TRUE(window->PreviewArea().Widget().isVisible());
    window->TabPanel1().SetCurrentPage(3);
    EXPECT_EQ(window->todoList().ListIndex(), 0);
    EXPECT_EQ(window->todoName().Text(), "Note");
    EXPECT_TRUE(window->deleteTodo().Enabled());
    EXPECT_THROW(window->TabPanel1().SetCurrentPage(5), fw::OutOfBoundsException);
}

TEST_F(MainWindowLayout, ErrorBoxAsksToTryAgainOrWrite)
{
    window->ErrorHandler();
    ASSERT_EQ(messages.Entries().size(), 1u);
    const auto& entry = messages.Entries()[0];
    EXPECT_EQ(entry.kind, fw::MessageLog::Kind::MsgBox);
    EXPECT_EQ(
        entry.text, "An error occurred, please try again later or send me a PM at \"sildra.author@example.org\".");
    EXPECT_EQ(entry.icon, 16);
    EXPECT_EQ(entry.title, "Error");
}

TEST_F(MainWindowLayout, ExceptionEscapingAHandlerIsReportedAndTheWindowGoesOn)
{
    // "Update" without a selected note reaches no row: the exception leaves the handler.
    window->updateTodo().SetEnabled(true);
    QTest::mouseClick(&window->updateTodo(), Qt::LeftButton);
    ASSERT_EQ(messages.Entries().size(), 1u);
    EXPECT_EQ(messages.Entries()[0].icon, 16);
    EXPECT_TRUE(messages.Entries()[0].text.contains("OutOfBoundsException"));

    QTest::mouseClick(&window->addTodo(), Qt::LeftButton);
    EXPECT_EQ(window->todoList().ListCount(), 2);
    EXPECT_EQ(messages.Entries().size(), 1u);
}

} // namespace
