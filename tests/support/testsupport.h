#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

namespace sildra::test {

// Writes bytes to a file, creating folders as needed; fails the test on error.
void writeFile(const QString& path, const QByteArray& bytes);

// Reads a whole file; fails the test on error.
QByteArray readFile(const QString& path);

// Writes an executable file; returns its path.
QString writeExecutable(const QString& path, const QByteArray& bytes);

// Clicks "Stop" in the next running program's progress box as soon as it shows; records its label in label.
void stopProgramWhenShown(QString* label = nullptr);

} // namespace sildra::test

// GoogleTest shows QByteArray values as quoted text (escaped) instead of a list of bytes.
void PrintTo(const QByteArray& bytes, std::ostream* os);
// And QString values as UTF-8 text.
void PrintTo(const QString& text, std::ostream* os);
