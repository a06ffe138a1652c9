#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace xml {

// True when the UTF-8 text is an XML name (start and name characters of XML 1.0, fifth edition).
bool IsXmlName(std::string_view utf8);

// True when every character of the UTF-8 text may stand in an XML document.
bool IsXmlText(std::string_view utf8);

namespace names {

    // Classes of the ASCII characters, as bits: the parser looks these up for every byte of a name.
    enum AsciiClass : uint8_t { NameStart = 1, NameChar = 2, Space = 4 };

    inline constexpr std::array<uint8_t, 128> kAscii = [] {
        std::array<uint8_t, 128> table {};
        for (int c = 0; c < 128; ++c) {
            const bool start = c == ':' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            const bool name = start || c == '-' || c == '.' || (c >= '0' && c <= '9');
            table[size_t(c)] = uint8_t((start ? NameStart : 0) | (name ? NameChar : 0)
                | (c == ' ' || c == '\t' || c == '\n' || c == '\r' ? Space : 0));
        }
        return table;
    }();

    // Character classes of the fifth edition for any code point.
    bool IsNameStart(char32_t c);
    bool IsNameChar(char32_t c);
    bool IsChar(char32_t c);

} // namespace names

// True when the text holds only XML white space (space, tab, line feed, carriage return); the empty text too.
inline bool IsXmlWhiteSpace(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 128 && (names::kAscii[b] & names::Space);
    });
}

} // namespace xml
