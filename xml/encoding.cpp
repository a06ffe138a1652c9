#include "encoding.h"

#include "xmlexception.h"

#include <QStringDecoder>
#include <array>

namespace xml {

namespace {

    // The 0x80..0x9F range of windows-1252; bytes it leaves undefined keep their C1 code point.
    constexpr std::array<char16_t, 32> kWindows1252High = {
        0x20AC,
        0x0081,
        0x201A,
        0x0192,
        0x201E,
        0x2026,
        0x2020,
        0x2021,
        0x02C6,
        0x2030,
        0x0160,
        0x2039,
        0x0152,
        0x008D,
        0x017D,
        0x008F,
        0x0090,
        0x2018,
        0x2019,
        0x201C,
        0x201D,
        0x2022,
        0x2013,
        0x2014,
        0x02DC,
        0x2122,
        0x0161,
        0x203A,
        0x0153,
        0x009D,
        0x017E,
        0x0178,
    };

    std::string lower(std::string_view text)
    {
        std::string out(text);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z')
                c = char(c - 'A' + 'a');
        return out;
    }

    // The encoding pseudo-attribute of an XML declaration, with its offset in characters from the start of the
    // declaration. Only "<?xml" and white space begin a declaration: "<?xml-stylesheet" is a processing
    // instruction. A malformed declaration gives nothing here; the parser refuses it with its position.
    struct Declared {
        std::string name;
        size_t column = 0;
    };

    Declared declaredEncoding(std::string_view text)
    {
        auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        if (text.size() < 6 || text.substr(0, 5) != "<?xml" || !space(text[5]))
            return {};
        size_t i = 5;
        while (i < text.size()) {
            while (i < text.size() && space(text[i]))
                ++i;
            const size_t nameStart = i;
            while (i < text.size() && text[i] >= 'a' && text[i] <= 'z')
                ++i;
            const std::string_view name = text.substr(nameStart, i - nameStart);
            while (i < text.size() && space(text[i]))
                ++i;
            if (name.empty() || i >= text.size() || text[i] != '=')
                return {};
            ++i;
            while (i < text.size() && space(text[i]))
                ++i;
            if (i >= text.size() || (text[i] != '"' && text[i] != '\''))
                return {};
            const size_t close = text.find(text[i], i + 1);
            if (close == std::string_view::npos)
                return {};
            if (name == "encoding")
                return { std::string(text.substr(i + 1, close - i - 1)), i + 1 };
            i = close + 1;
        }
        return {};
    }

    // The start of a UTF-16 file as 8-bit text, enough to read its declaration: other characters become '?'.
    std::string narrowed(const QByteArray& bytes, qsizetype from, bool littleEndian)
    {
        std::string out;
        for (qsizetype i = from; i + 1 < bytes.size() && out.size() < 512; i += 2) {
            const auto lo = static_cast<unsigned char>(bytes[littleEndian ? i : i + 1]);
            const auto hi = static_cast<unsigned char>(bytes[littleEndian ? i + 1 : i]);
            out += hi == 0 && lo < 0x80 ? char(lo) : '?';
        }
        return out;
    }

    [[noreturn]] void refuseEncoding(const Declared& declared, const std::string& why)
    {
        throw XmlException("line 1, column " + std::to_string(declared.column + 1) + ": " + why);
    }

    template <class Out> void appendUtf8(Out& out, char32_t cp)
    {
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }

    void appendUnit16(std::string& out, char16_t unit, bool littleEndian)
    {
        const char lo = char(unit & 0xFF);
        const char hi = char(unit >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    }

    int windows1252Byte(char32_t cp)
    {
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
            return int(cp);
        for (size_t k = 0; k < kWindows1252High.size(); ++k)
            if (kWindows1252High[k] == cp)
                return int(0x80 + k);
        return -1;
    }

} // namespace

SourceEncoding DetectEncoding(const QByteArray& bytes)
{
    auto at = [&](qsizetype i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100u; };
    // A byte-order mark, or "<" with a zero byte before or after it, means UTF-16; the declaration must agree.
    const bool le = at(0) == 0xFF && at(1) == 0xFE, be = at(0) == 0xFE && at(1) == 0xFF;
    if (le || be || (at(0) == 0x3C && at(1) == 0x00) || (at(0) == 0x00 && at(1) == 0x3C)) {
        const bool little = le || at(0) == 0x3C;
        const int bom = le || be ? 2 : 0;
        const Declared declared = declaredEncoding(narrowed(bytes, bom, little));
        const std::string name = lower(declared.name);
        // Without either, XML takes a file for UTF-8, which this one cannot be.
        if (!bom && name.empty())
            throw XmlException("line 1, column 1: the file looks like UTF-16 but has neither a byte-order mark nor "
                               "an encoding declaration");
        if (!name.empty() && name != "utf-16" && name != (little ? "utf-16le" : "utf-16be"))
            refuseEncoding(declared,
                "the file is UTF-16" + std::string(little ? "LE" : "BE") + " but declares the encoding "
                    + declared.name);
        return { little ? Encoding::Utf16LE : Encoding::Utf16BE, bom };
    }
    const int bom = at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF ? 3 : 0;
    const Declared declared
        = declaredEncoding(std::string_view(bytes.constData(), size_t(bytes.size())).substr(size_t(bom)));
    const std::string name = lower(declared.name);
    if (name.empty() || name == "utf-8")
        return { Encoding::Utf8, bom };
    if (bom)
        refuseEncoding(
            declared, "the file starts with a UTF-8 byte-order mark but declares the encoding " + declared.name);
    if (name == "iso-8859-1")
        return { Encoding::Latin1, 0 };
    if (name == "us-ascii")
        return { Encoding::Ascii, 0 };
    if (name == "windows-1252" || name == "cp1252")
        return { Encoding::Windows1252, 0 };
    if (name.starts_with("utf-16"))
        refuseEncoding(
            declared, "the file declares the encoding " + declared.name + " but has no UTF-16 byte-order mark");
    refuseEncoding(declared, "the encoding " + declared.name + " is not supported");
}

bool NamesEncoding(std::string_view declaredName, Encoding encoding)
{
    const std::string name = lower(declaredName);
    switch (encoding) {
    case Encoding::Utf8:
        return name == "utf-8";
    case Encoding::Utf16LE:
        return name == "utf-16" || name == "utf-16le";
    case Encoding::Utf16BE:
        return name == "utf-16" || name == "utf-16be";
    case Encoding::Latin1:
        return name == "iso-8859-1";
    case Encoding::Ascii:
        return name == "us-ascii";
    case Encoding::Windows1252:
        return name == "windows-1252" || name == "cp1252";
    }
    return false;
}

char32_t Windows1252ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

namespace {

    // Decodes into any byte string with reserve and +=: std::string for the writer, QByteArray for the panes.
    template <class Out> void decodeInto(Out& out, std::string_view bytes, Encoding encoding)
    {
        switch (encoding) {
        case Encoding::Utf8:
            out.append(bytes.data(), decltype(out.size())(bytes.size()));
            return;
        case Encoding::Ascii:
        case Encoding::Latin1:
            out.reserve(decltype(out.size())(bytes.size() + bytes.size() / 8));
            for (unsigned char b : bytes)
                appendUtf8(out, b);
            return;
        case Encoding::Windows1252:
            out.reserve(decltype(out.size())(bytes.size() + bytes.size() / 8));
            for (unsigned char b : bytes)
                appendUtf8(out, Windows1252ToUnicode(b));
            return;
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            const bool le = encoding == Encoding::Utf16LE;
            out.reserve(decltype(out.size())(bytes.size()));
            for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
                auto unit = [&](size_t k) -> char32_t {
                    const auto a = static_cast<unsigned char>(bytes[k]);
                    const auto b = static_cast<unsigned char>(bytes[k + 1]);
                    return le ? (char32_t(b) << 8 | a) : (char32_t(a) << 8 | b);
                };
                char32_t cp = unit(i);
                if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size()) {
                    const char32_t low = unit(i + 2);
                    if (low >= 0xDC00 && low < 0xE000) {
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        i += 2;
                    }
                }
                if (cp >= 0xD800 && cp < 0xE000)
                    cp = 0xFFFD;
                appendUtf8(out, cp);
            }
            return;
        }
        }
    }

} // namespace

std::string DecodeToUtf8(std::string_view bytes, Encoding encoding)
{
    std::string out;
    decodeInto(out, bytes, encoding);
    return out;
}

Utf8Text DecodeText(const QByteArray& bytes, const SourceEncoding& source)
{
    if (source.encoding == Encoding::Utf8)
        return { bytes, source.bomSize };
    QByteArray out;
    decodeInto(
        out, std::string_view(bytes.constData(), size_t(bytes.size())).substr(size_t(source.bomSize)), source.encoding);
    return { out, 0 };
}

char32_t NextCodePoint(std::string_view s, size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) & 0x3Fu : 0u; };
    char32_t cp;
    if (b0 < 0x80) {
        cp = b0;
        i += 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = ((b0 & 0x1Fu) << 6) | cont(1);
        i += 2;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = ((b0 & 0x0Fu) << 12) | (cont(1) << 6) | cont(2);
        i += 3;
    } else {
        cp = ((b0 & 0x07u) << 18) | (cont(1) << 12) | (cont(2) << 6) | cont(3);
        i += 4;
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) { appendUtf8(out, cp); }

bool CanEncode(char32_t cp, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return true;
    case Encoding::Ascii:
        return cp < 0x80;
    case Encoding::Latin1:
        return cp < 0x100;
    case Encoding::Windows1252:
        return windows1252Byte(cp) >= 0;
    }
    return false;
}

void AppendEncoded(std::string& out, std::string_view utf8, Encoding encoding, bool allowCharRefs)
{
    if (encoding == Encoding::Utf8) {
        out.append(utf8);
        return;
    }
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextCodePoint(utf8, i);
        int byte = -1;
        switch (encoding) {
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            const bool le = encoding == Encoding::Utf16LE;
            if (cp >= 0x10000) {
                appendUnit16(out, char16_t(0xD800 + ((cp - 0x10000) >> 10)), le);
                appendUnit16(out, char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)), le);
            } else {
                appendUnit16(out, char16_t(cp), le);
            }
            continue;
        }
        case Encoding::Ascii:
            byte = cp < 0x80 ? int(cp) : -1;
            break;
        case Encoding::Latin1:
            byte = cp < 0x100 ? int(cp) : -1;
            break;
        case Encoding::Windows1252:
            byte = windows1252Byte(cp);
            break;
        case Encoding::Utf8:
            break;
        }
        if (byte >= 0) {
            out += char(byte);
        } else if (allowCharRefs) {
            out += "&#" + std::to_string(uint32_t(cp)) + ";";
        } else {
            throw XmlException("the character U+" + QString::number(uint32_t(cp), 16).toUpper().toStdString()
                + " cannot be written in " + EncodingLabel(encoding).toStdString() + " here");
        }
    }
}

void AppendAscii(std::string& out, std::string_view ascii, Encoding encoding)
{
    if (encoding != Encoding::Utf16LE && encoding != Encoding::Utf16BE) {
        out.append(ascii);
        return;
    }
    for (char c : ascii)
        appendUnit16(out, char16_t(static_cast<unsigned char>(c)), encoding == Encoding::Utf16LE);
}

QString Utf8ToQString(std::string_view utf8)
{
    if (!utf8.starts_with("\xEF\xBB\xBF"))
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(utf8.data(), qsizetype(utf8.size())));
}

QString EncodingLabel(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf16LE:
        return QStringLiteral("UTF-16LE");
    case Encoding::Utf16BE:
        return QStringLiteral("UTF-16BE");
    case Encoding::Latin1:
        return QStringLiteral("ISO-8859-1");
    case Encoding::Ascii:
        return QStringLiteral("US-ASCII");
    case Encoding::Windows1252:
        return QStringLiteral("windows-1252");
    }
    return {};
}

} // namespace xml
