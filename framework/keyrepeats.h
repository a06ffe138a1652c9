#pragma once

#include <QPointer>

class QEvent;
class QKeyEvent;
class QObject;
class QWidget;

namespace fw {

// Decides which repeats of a held key reach the program, so that a held key acts once: its repeats still type
// (letters, Backspace, the arrows, Return in a multi-line text) in the window that took its fresh press, but never
// reach another window, and a repeated Return or Enter never presses a button or confirms a field.
class KeyRepeats {
public:
    // Notes where each fresh key press goes; true for a repeated press that must not be delivered to receiver.
    bool blocks(QObject* receiver, const QEvent& event);

private:
    bool isRepeat(const QKeyEvent& key) const;
    bool isHeldKey(const QKeyEvent& key) const;

    QPointer<QWidget> m_window; // the window that took the last fresh press
    int m_key = 0;
    quint32 m_scanCode = 0;
    int m_releasedKey = 0;
    quint64 m_releaseTime = 0;
};

} // namespace fw
