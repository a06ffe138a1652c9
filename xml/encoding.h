#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace xml {

// The character encodings a document can be read in and written back in.
enum class Encoding { Utf8, Utf16LE, Utf16BE, Latin1, Ascii, Windows1252 };

struct SourceEncoding {
    Encoding encoding = Encoding::Utf8;
    int bomSize = 0; // bytes of byte-order mark at the start of the file
};

// Finds the encoding of a file from its byte-order mark or its XML declaration.
// Throws XmlException for a declared encoding that cannot be read.
SourceEncoding DetectEncoding(const QByteArray& bytes);

// True when an encoding declaration's name stands for the encoding (letter case aside).
bool NamesEncoding(std::string_view declaredName, Encoding encoding);

// Decodes bytes in the given encoding to UTF-8.
std::string DecodeToUtf8(std::string_view bytes, Encoding encoding);

// A file's text as UTF-8; it starts at byte `from`, after any byte-order mark.
struct Utf8Text {
    QByteArray bytes;
    qsizetype from = 0;
};

// Decodes a whole file read in the given encoding; UTF-8 bytes are shared, not copied.
Utf8Text DecodeText(const QByteArray& bytes, const SourceEncoding& source);

// Encodes UTF-8 text. Characters the encoding cannot hold become character
// references when allowCharRefs is set; otherwise XmlException is raised.
void AppendEncoded(std::string& out, std::string_view utf8, Encoding encoding, bool allowCharRefs);

// The bytes of an ASCII-only text in the encoding (for markup such as "<", "</", "=").
void AppendAscii(std::string& out, std::string_view ascii, Encoding encoding);

// True when the encoding can write the code point as it stands, without a character reference.
bool CanEncode(char32_t cp, Encoding encoding);

// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t cp);

// Reads the code point at i of valid UTF-8 text and moves i past it.
char32_t NextCodePoint(std::string_view utf8, size_t& i);

// UTF-8 text as a QString, a leading U+FEFF kept as the character it is (QString::fromUtf8 drops it).
QString Utf8ToQString(std::string_view utf8);

// Code points 0x80..0xFF of windows-1252.
char32_t Windows1252ToUnicode(unsigned char byte);

QString EncodingLabel(Encoding encoding);

} // namespace xml
