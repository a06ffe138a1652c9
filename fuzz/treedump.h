#pragma once

#include <string>
#include <string_view>

namespace xml {
class XmlNode;
}

// One line of a tree dump, so that two trees compare as text and a mismatch prints readably.
class TreeDump {
public:
    // With trimText, white space at either end of a run of text is left out.
    explicit TreeDump(bool trimText = false)
        : m_trimText(trimText)
    {
    }

    void StartElement(std::string_view name);
    void Attribute(std::string_view name, std::string_view value);
    void EndElement();
    // Character data is gathered into runs: adjacent pieces join, and a run of white space only
    // between markup is formatting, not content.
    void Text(std::string_view text);
    void Leaf(char kind, std::string_view name, std::string_view value); // 'C'omment, 'D' CDATA, 'P'I

    const std::string& Result();

private:
    void flushText();
    void line(char kind, std::string_view name, std::string_view value);

    std::string m_out;
    std::string m_text;
    bool m_trimText;
};

// The dump of an element and everything under it, walked without recursion.
std::string DumpTree(const xml::XmlNode& root, bool trimText = false);

// Prints what went wrong, with the two sides when given, and aborts so the fuzzer keeps the input.
[[noreturn]] void Fail(const char* what, std::string_view expected = {}, std::string_view actual = {});
