#pragma once

#include "encoding.h"

#include <QString>
#include <string>
#include <string_view>

// What an edit may put into a document: only what the document, saved, reads back unchanged.
// Each check raises XmlException naming the offending character.
namespace xml::detail {

// The UTF-8 form of text given by the user; a lone surrogate, which is no character, is refused.
std::string ToUtf8(const QString& text);

// A name the parser reads back and the encoding can write (names cannot be written as references).
void RequireName(std::string_view utf8, Encoding encoding);

// Text whose every character XML allows (it is written with references where needed), such as the text of a text
// node, white space alone included.
void RequireChars(std::string_view utf8);

// The value of an attribute declared with a type other than CDATA: reading collapses its spaces, so a value
// with spaces at either end or two in a row is refused.
void RequireCollapsedSpaces(std::string_view utf8);

// Text written as it stands, without references (comments, processing instructions, CDATA): also no
// carriage return, which reading turns into a line feed, and every character writable in the encoding.
void RequireVerbatim(std::string_view utf8, Encoding encoding);

} // namespace xml::detail
