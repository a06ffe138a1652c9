#include "framework/keyrepeats.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace fw {

namespace {

    bool isModifier(int key)
    {
        return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Meta || key == Qt::Key_Alt
            || key == Qt::Key_AltGr;
    }

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
    const QEvent::Type type = event.type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::KeyRelease)
        return false;
    // A window of the platform hands its key events on to its focused widget, where they are judged.
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget)
        return false;
    // A completion list takes the keys of its field while it shows; they are the field's.
    if (widget->window()->windowType() == Qt::Popup && widget->focusProxy())
        widget = widget->focusProxy();
    const auto& key = static_cast<const QKeyEvent&>(event);
    if (type == QEvent::KeyRelease) {
        m_releasedKey = key.key();
        m_releaseTime = key.timestamp();
        return false;
    }
    if (!isRepeat(key)) {
        // Pressing a modifier while a key is held leaves that key repeating.
        if (!isModifier(key.key())) {
            m_window = widget->window();
            m_key = key.key();
            m_scanCode = key.nativeScanCode();
        }
        return false;
    }
    // The press opened this window (a prompt, a dialog, a message box) or went to one since closed.
    if (widget->window() != m_window || !isHeldKey(key))
        return true;
    if (type == QEvent::KeyPress && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter))
        return !typesLineBreaks(*widget);
    return false;
}

bool KeyRepeats::isRepeat(const QKeyEvent& key) const
{
    // The system marks a repeat, or sends it as a release and a press of one time stamp that it may fail to mark.
    return key.isAutoRepeat()
        || (key.timestamp() != 0 && key.timestamp() == m_releaseTime && key.key() == m_releasedKey);
}

bool KeyRepeats::isHeldKey(const QKeyEvent& key) const
{
    // A modifier pressed while the key is held may change its key code (Shift+1 is !), not the key itself.
    if (m_scanCode != 0 && key.nativeScanCode() != 0)
        return key.nativeScanCode() == m_scanCode;
    return key.key() == m_key;
}

} // namespace fw
