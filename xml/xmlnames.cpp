#include "xmlnames.h"

namespace xml {

namespace {

    constexpr char32_t kBad = 0xFFFFFFFF;

    // Decodes one code point and advances i; malformed UTF-8 gives kBad.
    char32_t next(std::string_view s, size_t& i)
    {
        const auto b0 = static_cast<unsigned char>(s[i++]);
        if (b0 < 0x80)
            return b0;
        const int extra = (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : 0;
        if (extra == 0)
            return kBad;
        char32_t cp = b0 & (0x3F >> extra);
        for (int k = 0; k < extra; ++k) {
            if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
                return kBad;
            cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
        }
        return cp;
    }

    bool isNameStart(char32_t c)
    {
        return c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0xD6)
            || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D)
            || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F)
            || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF)
            || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
    }

    bool isNameChar(char32_t c)
    {
        return isNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7
            || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
    }

    bool isChar(char32_t c)
    {
        return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
            || (c >= 0x10000 && c <= 0x10FFFF);
    }

} // namespace

bool IsXmlName(std::string_view utf8)
{
    if (utf8.empty())
        return false;
    size_t i = 0;
    if (!isNameStart(next(utf8, i)))
        return false;
    while (i < utf8.size())
        if (!isNameChar(next(utf8, i)))
            return false;
    return true;
}

bool IsXmlText(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size();)
        if (!isChar(next(utf8, i)))
            return false;
    return true;
}

} // namespace xml
