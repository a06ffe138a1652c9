#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <Qt>
#include <ostream>

class QWidget;

namespace fw {
class Listbox;
class Window;
}

namespace sildra::test {

// Writes bytes to a file, creating folders as needed; fails the test on error.
void writeFile(const QString& path, const QByteArray& bytes);

// Reads a whole file; fails the test on error.
QByteArray readFile(const QString& path);

// Writes an executable file; returns its path.
QString writeExecutable(const QString& path, const QByteArray& bytes);

// The name of the control that holds the keyboard focus in window (the nearest one around the focused widget), or
// "" when none does.
QString focusedControl(const fw::Window& window);

// Presses Tab, or Shift+Tab when backwards, presses times on whatever holds the focus in window; names the control
// focused after each press.
QStringList tabWalk(const fw::Window& window, int presses, bool backwards = false);

// Pixels of the list's grid-line colour as drawn on the boundary after its first column, below the rows (vertical),
// or under its first row (horizontal).
int gridLinePixels(fw::Listbox& list, Qt::Orientation orientation);

// Sends count repeats of a held key (auto-repeated presses, no fresh one) to receiver, as the system does while the
// key stays down; modifiers as given.
void sendKeyRepeats(QWidget* receiver, Qt::Key key, int count, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Clicks "Stop" in the next running program's progress box as soon as it shows; records its label in label.
void stopProgramWhenShown(QString* label = nullptr);

} // namespace sildra::test

// GoogleTest shows QByteArray values as quoted text (escaped) instead of a list of bytes.
void PrintTo(const QByteArray& bytes, std::ostream* os);
// And QString values as UTF-8 text.
void PrintTo(const QString& text, std::ostream* os);
