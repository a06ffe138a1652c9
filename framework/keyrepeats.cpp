#include "framework/keyrepeats.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace fw {

namespace {

    // Where Return types a line break instead of confirming or pressing.
    bool typesLineBreaks(const QWidget& widget)
    {
        if (const auto* plain = qobject_cast<const QPlainTextEdit*>(&widget))
            return !plain->isReadOnly();
        if (const auto* rich = qobject_cast<const QTextEdit*>(&widget))
            return !rich->isReadOnly();
        return false;
    }

} // namespace

bool KeyRepeats::blocks(QObject* receiver, const QEvent& event)
{
    // A press reaches the focused widget as a shortcut override first, and as a key press unless a shortcut took it.
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::ShortcutOverride)
        return false;
    // A window of the platform hands its key events on to its focused widget, where they are judged.
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    if (!key.isAutoRepeat()) {
        m_window = widget->window();
        m_key = key.key();
        return false;
    }
    if (event.type() != QEvent::KeyPress)
        return false;
    // The press opened this window (a prompt, a dialog, a message box) or went to one since closed.
    if (widget->window() != m_window || key.key() != m_key)
        return true;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        return !typesLineBreaks(*widget);
    return false;
}

} // namespace fw
