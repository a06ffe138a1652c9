#include "treedump.h"

#include "xml/xmlattribute.h"
#include "xml/xmlnode.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool isBlank(std::string_view text)
{
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            return false;
    return true;
}

// Control characters are shown escaped, so that a dump stays one line per node.
void appendEscaped(std::string& out, std::string_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == '\\' || b == 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += c;
        }
    }
}

std::string utf8(const QString& text) { return text.toStdString(); }

} // namespace

void TreeDump::StartElement(std::string_view name)
{
    flushText();
    line('<', name, {});
}

void TreeDump::Attribute(std::string_view name, std::string_view value) { line('@', name, value); }

void TreeDump::EndElement()
{
    flushText();
    m_out += ">\n";
}

void TreeDump::Text(std::string_view text) { m_text += text; }

void TreeDump::Leaf(char kind, std::string_view name, std::string_view value)
{
    flushText();
    line(kind, name, value);
}

const std::string& TreeDump::Result()
{
    flushText();
    return m_out;
}

void TreeDump::flushText()
{
    if (!m_text.empty() && (m_keepBlankRuns || !isBlank(m_text))) {
        line('T', {}, m_text);
    }
    m_text.clear();
}

void TreeDump::line(char kind, std::string_view name, std::string_view value)
{
    m_out += kind;
    m_out += ' ';
    appendEscaped(m_out, name);
    m_out += " = ";
    appendEscaped(m_out, value);
    m_out += '\n';
}

std::string DumpTree(const xml::XmlNode& root, bool keepBlankRuns)
{
    using xml::XmlNodeType;
    TreeDump dump(keepBlankRuns);
    struct Frame {
        xml::XmlNode element;
        int next;
    };
    std::vector<Frame> stack;
    auto open = [&](const xml::XmlNode& element) {
        dump.StartElement(utf8(element.Name()));
        for (int i = 0; i < element.AttributeCount(); ++i) {
            const xml::XmlAttribute a = element.GetAttributeNode(i);
            dump.Attribute(utf8(a.Name()), utf8(a.Value()));
        }
        stack.push_back({ element, 0 });
    };
    open(root);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.element.ChildCount()) {
            dump.EndElement();
            stack.pop_back();
            continue;
        }
        const xml::XmlNode child = top.element.Child(top.next++);
        switch (child.Type()) {
        case XmlNodeType::Element:
            open(child);
            break;
        case XmlNodeType::Text:
            dump.Text(utf8(child.Value()));
            break;
        case XmlNodeType::CData:
            dump.Leaf('D', {}, utf8(child.Value()));
            break;
        case XmlNodeType::Comment:
            dump.Leaf('C', {}, utf8(child.Value()));
            break;
        case XmlNodeType::ProcessingInstruction:
            dump.Leaf('P', utf8(child.Name()), utf8(child.Value()));
            break;
        }
    }
    return dump.Result();
}

void Fail(const char* what, std::string_view expected, std::string_view actual)
{
    std::fprintf(stderr, "\n*** %s\n", what);
    if (!expected.empty() || !actual.empty())
        std::fprintf(stderr, "--- expected\n%.*s\n--- actual\n%.*s\n", int(expected.size()), expected.data(),
            int(actual.size()), actual.data());
    std::abort();
}
