// Load, unchanged save, edits, save, reload: what the layer loads it writes back byte for byte, and
// what it accepts as an edit it writes so that it reads back as the same tree.
#include "treedump.h"
#include "xml/xmldocument.h"
#include "xml/xmlexception.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>
#include <iterator>
#include <vector>

namespace {

using xml::XmlAttribute;
using xml::XmlDocument;
using xml::XmlException;
using xml::XmlNode;
using xml::XmlNodeType;

// Characters for new names: name characters of both editions, of one edition only, characters no
// single-byte encoding holds, and a few that no name may hold.
constexpr char32_t kNameChars[] = { 'a', 'Z', '_', ':', '-', '.', '0', 0xB7, 0xC9, 0xE9, 0xAA, 0x300, 0x37F, 0x203F,
    0x2070, 0x2C00, 0x540D, 0x10000, ' ', '<', '&' };

// Characters for new values: markup, white space and line ends, every range of XML's characters,
// and characters XML does not allow (a control, a lone surrogate).
constexpr char32_t kValueChars[] = { 'a', 'b', ' ', '\t', '\n', '\r', '<', '>', '&', '"', '\'', ']', '-', '?', 0x1,
    0x85, 0xE9, 0x20AC, 0x2028, 0x540D, 0xD800, 0xFEFF, 0xFFFD, 0x1F600 };

constexpr int kMaxEdits = 6;
constexpr int kMaxNodes = 4096;

// Reads edit choices from the input's own bytes, from its end on.
class EditSource {
public:
    explicit EditSource(FuzzedDataProvider& data)
        : m_data(data)
    {
    }

    int Pick(int count) { return count <= 1 ? 0 : m_data.ConsumeIntegralInRange(0, count - 1); }

    template <size_t N> QString Text(const char32_t (&chars)[N], int maxLength)
    {
        QString out;
        for (int n = Pick(maxLength + 1); n > 0; --n) {
            const char32_t c = chars[Pick(int(N))];
            if (c == 0xD800)
                out += QChar(char16_t(c));
            else
                out += QString::fromUcs4(&c, 1);
        }
        return out;
    }

    QString Name() { return Text(kNameChars, 4); }
    QString Value() { return Text(kValueChars, 6); }

private:
    FuzzedDataProvider& m_data;
};

std::vector<XmlNode> nodesOf(const XmlNode& root)
{
    std::vector<XmlNode> nodes { root };
    for (size_t i = 0; i < nodes.size() && nodes.size() < kMaxNodes; ++i)
        for (int c = 0; c < nodes[i].ChildCount(); ++c)
            nodes.push_back(nodes[i].Child(c));
    return nodes;
}

// A value given is the value read: the layer may refuse it, never change it.
void expectSame(const QString& given, const QString& read, const char* what)
{
    if (given != read)
        Fail(what, given.toStdString(), read.toStdString());
}

void edit(XmlDocument& doc, std::vector<XmlNode>& nodes, EditSource& pick)
{
    XmlNode node = nodes[size_t(pick.Pick(int(nodes.size())))];
    switch (pick.Pick(9)) {
    case 0: {
        const QString name = pick.Name();
        node.SetName(name);
        expectSame(name, node.Name(), "a node renamed reads back another name");
        break;
    }
    case 1: {
        const QString name = pick.Name(), value = pick.Value();
        XmlAttribute a = doc.CreateAttribute(name);
        a.SetValue(value);
        node.SetAttributeNode(a);
        break;
    }
    case 2:
        if (node.AttributeCount() > 0) {
            XmlAttribute a = node.GetAttributeNode(pick.Pick(node.AttributeCount()));
            const QString value = pick.Value();
            a.SetValue(value);
            expectSame(value, a.Value(), "an attribute value set reads back another value");
        }
        break;
    case 3:
        if (node.AttributeCount() > 0) {
            XmlAttribute a = node.GetAttributeNode(pick.Pick(node.AttributeCount()));
            a.SetName(pick.Name());
        }
        break;
    case 4: {
        const QString value = pick.Value();
        node.SetValue(value);
        expectSame(value, node.Value(), "a node value set reads back another value");
        break;
    }
    case 5: {
        // A new child: an element holding a text, or for an empty name, which no element takes, the text alone.
        const QString name = pick.Name();
        if (name.isEmpty()) {
            nodes.push_back(node.AppendChild(doc.CreateTextNode(pick.Value())));
            break;
        }
        XmlNode element = doc.CreateElement(name);
        element.AppendChild(doc.CreateTextNode(pick.Value()));
        nodes.push_back(node.AppendChild(element));
        break;
    }
    case 6:
        if (!node.Parent().IsNil())
            node.Parent().RemoveChild(node);
        break;
    case 7:
        if (node.AttributeCount() > 0)
            node.RemoveAttribute(node.GetAttributeNode(pick.Pick(node.AttributeCount())).Name());
        break;
    case 8:
        nodes[size_t(pick.Pick(int(nodes.size())))].AppendChild(node);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    XmlDocument doc;
    try {
        doc.LoadXml(input);
    } catch (const XmlException&) {
        return 0;
    }
    if (doc.ToBytes() != input)
        Fail("an unchanged document is not written back byte for byte");
    doc.Text(); // the panes decode every file that loads

    FuzzedDataProvider provider(data, size);
    EditSource pick(provider);
    std::vector<XmlNode> nodes = nodesOf(doc.DocumentElement());

    // A child added and removed again leaves the file as it was, though the writer now walks down to it.
    XmlNode parent = nodes[size_t(pick.Pick(int(nodes.size())))];
    try {
        parent.RemoveChild(parent.AppendChild(doc.CreateElement(QStringLiteral("n"))));
    } catch (const XmlException&) {
    }
    const QByteArray walked = doc.ToBytes();
    if (walked != input)
        Fail("adding and removing a child changes the file", input.toStdString(), walked.toStdString());

    for (int n = 1 + pick.Pick(kMaxEdits); n > 0; --n) {
        try {
            edit(doc, nodes, pick);
        } catch (const XmlException&) {
        }
    }

    QByteArray saved;
    try {
        saved = doc.ToBytes();
    } catch (const XmlException& e) {
        Fail("edits the layer accepted cannot be saved", {}, e.what());
    }
    XmlDocument reloaded;
    try {
        reloaded.LoadXml(saved);
    } catch (const XmlException& e) {
        Fail("the saved document does not load", saved.toStdString(), e.what());
    }
    // A text of white space only is a value like any other, so blank runs are compared too.
    const std::string edited = DumpTree(doc.DocumentElement(), true);
    const std::string read = DumpTree(reloaded.DocumentElement(), true);
    if (edited != read)
        Fail("the saved document reads back as another tree", edited, read);
    return 0;
}
