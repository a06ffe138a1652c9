#include "framework/standardedititem.h"

#include "framework/textview.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace fw {

void StandardEditItem::Perform()
{
    QWidget* focus = QApplication::focusWidget();
    // A read-only field lets the user select and copy its text, never change it; Qt's own commands do not check.
    const bool changes = m_command != EditCommand::Copy && m_command != EditCommand::SelectAll;
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        if (changes && line->isReadOnly())
            return;
        switch (m_command) {
        case EditCommand::Undo:
            line->undo();
            break;
        case EditCommand::Cut:
            line->cut();
            break;
        case EditCommand::Copy:
            line->copy();
            break;
        case EditCommand::Paste:
            line->paste();
            break;
        case EditCommand::Delete:
            if (line->hasSelectedText())
                line->del();
            break;
        case EditCommand::SelectAll:
            line->selectAll();
            break;
        }
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        if (changes && plain->isReadOnly())
            return;
        switch (m_command) {
        case EditCommand::Undo:
            plain->undo();
            break;
        case EditCommand::Cut:
            plain->cut();
            break;
        case EditCommand::Copy:
            plain->copy();
            break;
        case EditCommand::Paste:
            plain->paste();
            break;
        case EditCommand::Delete:
            plain->textCursor().removeSelectedText();
            break;
        case EditCommand::SelectAll:
            plain->selectAll();
            break;
        }
    } else if (auto* view = qobject_cast<TextView*>(focus)) {
        if (m_command == EditCommand::Copy)
            view->copy();
        else if (m_command == EditCommand::SelectAll)
            view->selectAll();
    }
}

} // namespace fw
