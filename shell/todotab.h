#pragma once

class MainWindow;

namespace shell {

// The "To-do" tab: temporary notes, each a row of todoList with its title in cell 0 and its text in the hidden
// cell 1. The notes live only as long as the window.
class TodoTab {
public:
    explicit TodoTab(MainWindow& window);

    // Shows the selected note in the fields, or empties them; "Update" and "Delete" follow the selection.
    void todoList_Change();
    // Writes the fields into the selected note.
    void updateTodo_Action();
    // Removes the selected note.
    void deleteTodo_Action();
    // Appends a note made of the fields, selecting nothing.
    void addTodo_Action();

private:
    MainWindow& m_window;
};

} // namespace shell
