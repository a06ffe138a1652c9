#include "framework/tabpanel.h"
#include "support/mainwindowtest.h"

using namespace sildra::test;

namespace {

class TodoTab : public MainWindowTest {
protected:
    void SetUp() override { window->TabPanel1().SetCurrentPage(3); }
    void Press(fw::PushButton& button) { QTest::mouseClick(&button, Qt::LeftButton); }
    fw::Listbox& Notes() { return window->todoList(); }
    QStringList Note(int row) { return { Notes().Cell(row, 0), Notes().Cell(row, 1) }; }
    // The title and text fields, and "U", "D" when "Update" and "Delete" are enabled.
    QStringList Fields()
    {
        return { window->todoName().Text(), window->editTodo().Text(),
            QString(window->updateTodo().Enabled() ? 'U' : '-') + (window->deleteTodo().Enabled() ? 'D' : '-') };
    }
};

TEST_F(TodoTab, SelectingShowsTheNoteAndAddAppendsWithoutSelecting)
{
    const QStringList initial = Note(0);
    Notes().SetListIndex(0);
    EXPECT_EQ(Fields(), initial + QStringList({ "UD" }));
    EXPECT_FALSE(initial[1].isEmpty());
    Notes().SetListIndex(-1);

    Press(window->addTodo());
    ASSERT_EQ(Notes().ListCount(), 2);
    EXPECT_EQ(Note(1), QStringList({ "", "" }));
    EXPECT_EQ(Notes().ListIndex(), -1);

    // With a note selected and its fields unchanged: a copy at the end, the original still selected.
    Notes().SetListIndex(0);
    Press(window->addTodo());
    ASSERT_EQ(Notes().ListCount(), 3);
    EXPECT_EQ(Note(2), initial);
    EXPECT_EQ(Notes().ListIndex(), 0);
    EXPECT_TRUE(window->deleteTodo().Enabled());
}

TEST_F(TodoTab, UpdateWritesTheFieldsIntoTheSelectedNoteAndDeleteRemovesIt)
{
    Notes().SetListIndex(0);
    window->todoName().SetText(QString());
    window->editTodo().SetText("changed\ntext");
    Press(window->updateTodo());
    EXPECT_EQ(Note(0), QStringList({ "", "changed\ntext" }));
    EXPECT_EQ(Notes().ListIndex(), 0);

    // The text is kept and shown again when the note is selected anew.
    Notes().SetListIndex(-1);
    Notes().SetListIndex(0);
    EXPECT_EQ(Fields(), QStringList({ "", "changed\ntext", "UD" }));

    // Deleting the only note empties the fields and disables its buttons.
    Press(window->deleteTodo());
    EXPECT_EQ(Notes().ListCount(), 0);
    EXPECT_EQ(Fields(), QStringList({ "", "", "--" }));

    window->todoName().SetText("again");
    Press(window->addTodo());
    EXPECT_EQ(Note(0), QStringList({ "again", "" }));
}

TEST_F(TodoTab, ReturnDeletesNoNoteAndTabLeavesTheNoteText)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->editTodo().Editor().setFocus();
    QTest::keyClick(&window->editTodo().Editor(), Qt::Key_Tab);
    EXPECT_TRUE(window->editTodo().Text().isEmpty());
    EXPECT_FALSE(window->editTodo().Editor().hasFocus());

    // "Delete" is drawn as the default button, yet Return in the fields or the list deletes nothing; on the focused
    // button itself Return presses it, as Space does.
    Notes().SetListIndex(0);
    for (QWidget* focus : { static_cast<QWidget*>(window->todoName().LineEdit()),
             static_cast<QWidget*>(&window->editTodo().Editor()), static_cast<QWidget*>(&window->todoList()) }) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter);
        EXPECT_EQ(Notes().ListCount(), 1) << focus->objectName().toStdString();
    }
    EXPECT_TRUE(window->deleteTodo().Default());
    Press(window->addTodo());
    Notes().SetListIndex(0);
    window->deleteTodo().setFocus();
    QTest::keyClick(&window->deleteTodo(), Qt::Key_Return);
    EXPECT_EQ(Notes().ListCount(), 1);
    // A held Return presses once: its repeats reach "Add", which takes the focus from the disabled "Delete".
    sendKeyRepeats(QApplication::focusWidget(), Qt::Key_Return, 3);
    EXPECT_EQ(Notes().ListCount(), 1);
    Notes().SetListIndex(0);
    window->deleteTodo().setFocus();
    QTest::keyClick(&window->deleteTodo(), Qt::Key_Space);
    EXPECT_EQ(Notes().ListCount(), 0);
}

TEST_F(TodoTab, ClearingTheSelectionEmptiesTheFieldsAndKeepsTheNote)
{
    const QStringList initial = Note(0);
    Notes().SetListIndex(0);
    window->todoName().SetText("typed");
    window->editTodo().SetText("typed text");
    ClickRow(Notes(), -1);
    EXPECT_EQ(Notes().ListIndex(), -1);
    EXPECT_EQ(Fields(), QStringList({ "", "", "--" }));
    EXPECT_EQ(Note(0), initial);
}

} // namespace
