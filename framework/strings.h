#pragma once

#include <QString>

namespace fw {

// The text without white space at either end.
QString Trim(const QString& text);

// The text from its start-th character on, counting from 1; empty when start is beyond the end.
QString Mid(const QString& text, qsizetype start);

// At most length characters from the start-th on, counting from 1; empty when out of range.
QString Mid(const QString& text, qsizetype start, qsizetype length);

// The n-th field of the text cut at each separator, counting from 1; empty beyond the last field.
// With an empty separator the whole text is field 1.
QString NthField(const QString& text, const QString& separator, qsizetype n);

// The code of the first character (a whole code point), 0 for the empty text.
int Asc(const QString& text);

// The line ending of this platform.
QString EndOfLine();

// Whether two texts are equal, ignoring letter case.
bool Equals(const QString& a, const QString& b);

} // namespace fw
