#pragma once

#include <QString>

namespace fw {

// Shows a modal message box with an OK button; returns 1 (OK).
int MsgBox(const QString& text);

// As above with an icon from code (16 stop, 32 question, 48 caution, 64 note; the button part must be 0, OK)
// and a title.
int MsgBox(const QString& text, int code, const QString& title);

} // namespace fw
