#include "xmlnames.h"

namespace xml {

namespace {

    constexpr char32_t kBad = 0xFFFFFFFF;

    struct Range {
        char32_t first;
        char32_t last;
    };

    // Name start characters above ASCII; ª µ º and the other Latin-1 letters outside these ranges are not names.
    constexpr Range kNameStart[] = { { 0xC0, 0xD6 }, { 0xD8, 0xF6 }, { 0xF8, 0x2FF }, { 0x370, 0x37D },
        { 0x37F, 0x1FFF }, { 0x200C, 0x200D }, { 0x2070, 0x218F }, { 0x2C00, 0x2FEF }, { 0x3001, 0xD7FF },
        { 0xF900, 0xFDCF }, { 0xFDF0, 0xFFFD }, { 0x10000, 0xEFFFF } };

    // Characters that may follow the first one of a name, beyond the start characters.
    constexpr Range kNameOnly[] = { { 0xB7, 0xB7 }, { 0x300, 0x36F }, { 0x203F, 0x2040 } };

    template <size_t N> bool inRanges(const Range (&ranges)[N], char32_t c)
    {
        for (const Range& r : ranges)
            if (c <= r.last)
                return c >= r.first;
        return false;
    }

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

} // namespace

namespace names {

    bool IsNameStart(char32_t c) { return c < 0x80 ? kAscii[c] & NameStart : inRanges(kNameStart, c); }

    bool IsNameChar(char32_t c)
    {
        return c < 0x80 ? kAscii[c] & NameChar : inRanges(kNameStart, c) || inRanges(kNameOnly, c);
    }

    bool IsChar(char32_t c)
    {
        return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
            || (c >= 0x10000 && c <= 0x10FFFF);
    }

} // namespace names

bool IsXmlName(std::string_view utf8)
{
    if (utf8.empty())
        return false;
    size_t i = 0;
    if (!names::IsNameStart(next(utf8, i)))
        return false;
    while (i < utf8.size())
        if (!names::IsNameChar(next(utf8, i)))
            return false;
    return true;
}

bool IsXmlText(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size();)
        if (!names::IsChar(next(utf8, i)))
            return false;
    return true;
}

} // namespace xml
