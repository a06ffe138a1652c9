#include "framework/editfield.h"
#include "framework/listbox.h"
#include "framework/pushbutton.h"
#include "framework/tabpanel.h"
#include "shell/mainwindow.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const char* const kInitialText = "These notes are temporary and will not be saved. They should be used when working "
                                 "with large files, and you don't want to forget anything.";

class TodoTab : public testing::Test {
protected:
    void SetUp() override
    {
        window = fw::Window::Create<MainWindow>();
        window->TabPanel1().SetCurrentPage(3);
    }
    void Press(fw::PushButton& button) { QTest::mouseClick(&button, Qt::LeftButton); }
    fw::Listbox& list() { return window->todoList(); }

    std::unique_ptr<MainWindow> window;
};

TEST_F(TodoTab, SelectingTheInitialNoteShowsIt)
{
    list().SetListIndex(0);
    EXPECT_EQ(window->todoName().Text(), "Note");
    EXPECT_EQ(window->editTodo().Text(), kInitialText);
    EXPECT_TRUE(window->updateTodo().Enabled());
    EXPECT_TRUE(window->deleteTodo().Enabled());
    EXPECT_TRUE(window->addTodo().Enabled());
}

TEST_F(TodoTab, AddAppendsWithoutSelecting)
{
    Press(window->addTodo());
    ASSERT_EQ(list().ListCount(), 2);
    EXPECT_EQ(list().Cell(1, 0), "");
    EXPECT_EQ(list().Cell(1, 1), "");
    EXPECT_EQ(list().ListIndex(), -1);

    // With a note selected and its fields unchanged: a copy at the end, the original still selected.
    list().SetListIndex(0);
    Press(window->addTodo());
    ASSERT_EQ(list().ListCount(), 3);
    EXPECT_EQ(list().Cell(2, 0), "Note");
    EXPECT_EQ(list().Cell(2, 1), kInitialText);
    EXPECT_EQ(list().ListIndex(), 0);
    EXPECT_TRUE(window->deleteTodo().Enabled());

    // Ten more, all with the same title.
    window->todoName().SetText("Same");
    window->editTodo().SetText("text");
    for (int i = 0; i < 10; ++i)
        Press(window->addTodo());
    ASSERT_EQ(list().ListCount(), 13);
    for (int row = 3; row < 13; ++row) {
        EXPECT_EQ(list().Cell(row, 0), "Same");
        EXPECT_EQ(list().Cell(row, 1), "text");
    }
    EXPECT_EQ(list().ListIndex(), 0);
}

TEST_F(TodoTab, UpdateWritesTheFieldsIntoTheSelectedNote)
{
    list().SetListIndex(0);
    window->todoName().SetText(QString());
    window->editTodo().SetText("changed\ntext");
    Press(window->updateTodo());
    EXPECT_EQ(list().Cell(0, 0), "");
    EXPECT_EQ(list().Cell(0, 1), "changed\ntext");
    EXPECT_EQ(list().ListIndex(), 0);
    EXPECT_EQ(window->editTodo().Text(), "changed\ntext");

    // The text is kept and shown again when the note is selected anew.
    list().SetListIndex(-1);
    list().SetListIndex(0);
    EXPECT_EQ(window->todoName().Text(), "");
    EXPECT_EQ(window->editTodo().Text(), "changed\ntext");
}

TEST_F(TodoTab, DeletingTheOnlyNoteEmptiesAndDisables)
{
    list().SetListIndex(0);
    Press(window->deleteTodo());
    EXPECT_EQ(list().ListCount(), 0);
    EXPECT_TRUE(window->todoName().Text().isEmpty());
    EXPECT_TRUE(window->editTodo().Text().isEmpty());
    EXPECT_FALSE(window->updateTodo().Enabled());
    EXPECT_FALSE(window->deleteTodo().Enabled());

    window->todoName().SetText("again");
    Press(window->addTodo());
    ASSERT_EQ(list().ListCount(), 1);
    EXPECT_EQ(list().Cell(0, 0), "again");
}

TEST_F(TodoTab, ReturnInTheTitlePressesDelete)
{
    window->activateWindow();
    list().SetListIndex(0);
    window->todoName().LineEdit()->setFocus();
    QTest::keyClick(window->todoName().LineEdit(), Qt::Key_Return);
    EXPECT_EQ(list().ListCount(), 0);
}

TEST_F(TodoTab, TabLeavesTheNoteText)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->editTodo().Editor().setFocus();
    QTest::keyClick(&window->editTodo().Editor(), Qt::Key_Tab);
    EXPECT_TRUE(window->editTodo().Text().isEmpty());
    EXPECT_FALSE(window->editTodo().Editor().hasFocus());
}

TEST_F(TodoTab, ClearingTheSelectionEmptiesTheFieldsAndKeepsTheNote)
{
    list().SetListIndex(0);
    window->todoName().SetText("typed");
    window->editTodo().SetText("typed text");
    // A click below the rows clears the selection.
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, QPoint(10, list().viewport()->height() - 5));
    EXPECT_EQ(list().ListIndex(), -1);
    EXPECT_TRUE(window->todoName().Text().isEmpty());
    EXPECT_TRUE(window->editTodo().Text().isEmpty());
    EXPECT_FALSE(window->updateTodo().Enabled());
    EXPECT_FALSE(window->deleteTodo().Enabled());
    EXPECT_EQ(list().Cell(0, 0), "Note");
    EXPECT_EQ(list().Cell(0, 1), kInitialText);
}

} // namespace
