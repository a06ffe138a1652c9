#include "xmlcheck.h"

#include "xmlexception.h"
#include "xmlnames.h"

namespace xml::detail {

namespace {

    std::string describe(char32_t cp)
    {
        std::string utf8;
        if (cp >= 0x20 && cp != 0x7F && !(cp >= 0xD800 && cp < 0xE000)) {
            const char32_t one[] = { cp, 0 };
            utf8 = "\"" + QString::fromUcs4(one).toStdString() + "\" ";
        }
        return utf8 + "(U+" + QString::number(uint32_t(cp), 16).toUpper().rightJustified(4, '0').toStdString() + ")";
    }

    [[noreturn]] void refuse(const std::string& what) { throw XmlException(what); }

    void requireEncodable(std::string_view utf8, Encoding encoding, const char* what)
    {
        for (size_t i = 0; i < utf8.size();) {
            const char32_t cp = NextCodePoint(utf8, i);
            if (!CanEncode(cp, encoding))
                refuse(std::string(what) + " holds the character " + describe(cp) + ", which the document's encoding "
                    + EncodingLabel(encoding).toStdString() + " cannot write here");
        }
    }

} // namespace

std::string ToUtf8(const QString& text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(cp)) {
            refuse("the text holds a lone surrogate " + describe(cp) + ", which is no character");
        }
        AppendUtf8(out, cp);
    }
    return out;
}

void RequireName(std::string_view utf8, Encoding encoding)
{
    const std::string quoted = "\"" + std::string(utf8) + "\"";
    if (utf8.empty())
        refuse(quoted + " is not a valid XML name: a name cannot be empty");
    if (!IsXmlName(utf8)) {
        // The first character that makes the name invalid, so the user knows what to change.
        for (size_t i = 0; i < utf8.size();) {
            const size_t at = i;
            const char32_t cp = NextCodePoint(utf8, i);
            if (!IsXmlName(utf8.substr(0, i)))
                refuse(quoted + " is not a valid XML name: " + describe(cp)
                    + (at == 0 ? " cannot begin a name" : " cannot stand in a name"));
        }
        refuse(quoted + " is not a valid XML name");
    }
    requireEncodable(utf8, encoding, ("the name " + quoted).c_str());
}

void RequireChars(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size();) {
        const size_t at = i;
        const char32_t cp = NextCodePoint(utf8, i);
        if (!IsXmlText(utf8.substr(at, i - at)))
            refuse("the value holds the character " + describe(cp) + ", which XML does not allow");
    }
}

void RequireCollapsedSpaces(std::string_view utf8)
{
    if (utf8.starts_with(' ') || utf8.ends_with(' ') || utf8.find("  ") != std::string_view::npos)
        refuse("the attribute is declared as tokens, whose spaces are collapsed when read: its value cannot begin or "
               "end with a space or hold two in a row");
}

void RequireVerbatim(std::string_view utf8, Encoding encoding)
{
    RequireChars(utf8);
    if (utf8.find('\r') != std::string_view::npos)
        refuse("a comment, processing instruction or CDATA section cannot hold a carriage return (U+000D)");
    requireEncodable(utf8, encoding, "the text");
}

} // namespace xml::detail
