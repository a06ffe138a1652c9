#pragma once

#include <string>
#include <string_view>

namespace xml {
class XmlNode;
}

// One line of a tree dump, so that two trees compare as text and a mismatch prints readably.
class TreeDump {
public:
    // Keeping blank runs suits a tree of the layer's own, where formatting is no node: a text of white space only
    // there is content.
    explicit TreeDump(bool keepBlankRuns = false)
        : m_keepBlankRuns(keepBlankRuns)
    {
    }

    void StartElement(std::string_view name);
    void Attribute(std::string_view name, std::string_view value);
    void EndElement();
    // Character data is gathered into runs: adjacent pieces join, and unless kept, a run of white space only
    // between markup is formatting, not content.
    void Text(std::string_view text);
    void Leaf(char kind, std::string_view name, std::string_view value); // 'C'omment, 'D' CDATA, 'P'I

    const std::string& Result();

private:
    void flushText();
    void line(char kind, std::string_view name, std::string_view value);

    bool m_keepBlankRuns;
    std::string m_out;
    std::string m_text;
};

// The dump of an element and everything under it, walked without recursion.
std::string DumpTree(const xml::XmlNode& root, bool keepBlankRuns = false);

// Prints what went wrong, with the two sides when given, and aborts so the fuzzer keeps the input.
[[noreturn]] void Fail(const char* what, std::string_view expected = {}, std::string_view actual = {});
