#include "shell/todotab.h"

#include "framework/editfield.h"
#include "framework/listbox.h"
#include "framework/pushbutton.h"
#include "shell/mainwindow.h"

namespace shell {

TodoTab::TodoTab(MainWindow& window)
    : m_window(window)
{
}

void TodoTab::todoList_Change()
{
    if (m_window.todoList().ListIndex() > -1) {
        m_window.editTodo().SetText(m_window.todoList().Cell(m_window.todoList().ListIndex(), 1));
        m_window.todoName().SetText(m_window.todoList().Cell(m_window.todoList().ListIndex(), 0));
        m_window.updateTodo().SetEnabled(true);
        m_window.deleteTodo().SetEnabled(true);
    } else {
        m_window.editTodo().SetText(QString());
        m_window.todoName().SetText(QString());
        m_window.updateTodo().SetEnabled(false);
        m_window.deleteTodo().SetEnabled(false);
    }
}

void TodoTab::updateTodo_Action()
{
    m_window.todoList().SetCell(m_window.todoList().ListIndex(), 1, m_window.editTodo().Text());
    m_window.todoList().SetCell(m_window.todoList().ListIndex(), 0, m_window.todoName().Text());
}

void TodoTab::deleteTodo_Action()
{
    // The list reports the lost selection through Change, which empties the fields and disables the buttons.
    m_window.todoList().RemoveRow(m_window.todoList().ListIndex());
}

void TodoTab::addTodo_Action()
{
    m_window.todoList().AddRow(m_window.todoName().Text());
    m_window.todoList().SetCell(m_window.todoList().ListCount() - 1, 1, m_window.editTodo().Text());
}

} // namespace shell
