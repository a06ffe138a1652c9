// Edits rewrite only what they touch; the rest of the file keeps its bytes.
#include "support/testsupport.h"
#include "xml/xmldocument.h"

#include <QByteArrayList>
#include <QStringEncoder>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

using xml::XmlDocument;
using xml::XmlNode;
using xml::XmlNodeType;

constexpr char kItems[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<!-- items -->\n"
                          "<items>\n"
                          "    <item id=\"1\"  name='Sword' note=\"a &amp; b\">\n"
                          "        <desc>Sharp</desc>\n"
                          "    </item>\n"
                          "    <item id=\"2\" name='Shield'/>\n"
                          "    <item id=\"3\"></item>\n"
                          "</items>\n";

// kItems with one line replaced by `lines` (which may span several lines, or be empty to drop it).
QByteArray itemsWith(int line, const QByteArray& lines)
{
    QList<QByteArray> all = QByteArray(kItems).split('\n');
    if (lines.isEmpty())
        all.removeAt(line);
    else
        all[line] = lines;
    return all.join('\n');
}

// The edited document must read back as the same tree.
void expectReloads(const XmlDocument& doc)
{
    XmlDocument again;
    again.LoadXml(doc.ToBytes());
    EXPECT_EQ(again.ToBytes(), doc.ToBytes());
    EXPECT_EQ(again.DocumentElement().ChildCount(), doc.DocumentElement().ChildCount());
}

// The character data under a node, each element in brackets and other nodes as "|". Two texts side by side read
// back as one, so they are compared joined.
QString textsOf(const XmlNode& node)
{
    QString out;
    for (int i = 0; i < node.ChildCount(); ++i) {
        const XmlNode child = node.Child(i);
        if (child.Type() == XmlNodeType::Text)
            out += child.Value();
        else if (child.Type() == XmlNodeType::Element)
            out += "<" + textsOf(child) + ">";
        else
            out += "|";
    }
    return out;
}

XmlNode appendItem(XmlDocument& doc, XmlNode parent, const QString& name, const QString& text)
{
    XmlNode child = parent.AppendChild(doc.CreateElement(name));
    child.AppendChild(doc.CreateTextNode(text));
    return child;
}

TEST(XmlEdit, TextValueChangesOnlyItsLine)
{
    XmlDocument doc;
    doc.LoadXml(kItems);
    doc.DocumentElement().Child(0).Child(0).Child(0).SetValue("Blunt & <heavy>");
    EXPECT_EQ(doc.ToBytes(), itemsWith(4, "        <desc>Blunt &amp; &lt;heavy&gt;</desc>"));
    expectReloads(doc);
}

TEST(XmlEdit, RenameKeepsAttributesAsWritten)
{
    XmlDocument doc;
    doc.LoadXml(kItems);
    doc.DocumentElement().Child(0).SetName("weapon");
    doc.DocumentElement().Child(1).SetName("armour");
    QByteArray expected(kItems);
    expected.replace("<item id=\"1\"", "<weapon id=\"1\"").replace("    </item>", "    </weapon>");
    expected.replace("<item id=\"2\"", "<armour id=\"2\"");
    EXPECT_EQ(doc.ToBytes(), expected);
    expectReloads(doc);
}

TEST(XmlEdit, AttributeChangesKeepTheOthersAsWritten)
{
    XmlDocument doc;
    doc.LoadXml(kItems);
    XmlNode sword = doc.DocumentElement().Child(0);
    sword.GetAttributeNode(1).SetValue("It's <new> & \"sharp\"\t");
    XmlNode shield = doc.DocumentElement().Child(1);
    auto weight = doc.CreateAttribute("weight");
    weight.SetValue("5");
    shield.SetAttributeNode(weight);
    shield.RemoveAttribute("id");
    shield.RemoveAttribute("missing");
    doc.DocumentElement().Child(2).GetAttributeNode(0).SetName("key");
    QByteArray expected
        = itemsWith(3, "    <item id=\"1\"  name='It&apos;s &lt;new> &amp; \"sharp\"&#9;' note=\"a &amp; b\">");
    expected.replace("<item id=\"2\" name='Shield'/>", "<item name='Shield' weight=\"5\"/>");
    expected.replace("<item id=\"3\">", "<item key=\"3\">");
    EXPECT_EQ(doc.ToBytes(), expected);
    EXPECT_EQ(sword.GetAttributeNode(1).Value(), "It's <new> & \"sharp\"\t");
    expectReloads(doc);
}

TEST(XmlEdit, AppendedChildrenAreIndentedLikeTheirSiblings)
{
    XmlDocument doc;
    doc.LoadXml(kItems);
    XmlNode root = doc.DocumentElement();
    appendItem(doc, root, "item", "Bow").SetAttributeNode(doc.CreateAttribute("id"));
    appendItem(doc, root.Child(1), "desc", "Round");
    appendItem(doc, root.Child(2), "desc", "Empty");
    XmlNode deep = root.Child(0).Child(0);
    deep.AppendChild(doc.CreateElement("mixed"));
    QByteArray expected
        = itemsWith(7, "    <item id=\"3\">\n        <desc>Empty</desc>\n    </item>\n    <item id=\"\">Bow</item>");
    expected.replace(
        "<item id=\"2\" name='Shield'/>", "<item id=\"2\" name='Shield'>\n        <desc>Round</desc>\n    </item>");
    expected.replace("<desc>Sharp</desc>", "<desc>Sharp<mixed/></desc>");
    EXPECT_EQ(doc.ToBytes(), expected);
    expectReloads(doc);

    XmlDocument flat;
    flat.LoadXml("<r><a/><c x='1' /></r>");
    appendItem(flat, flat.DocumentElement(), "b", "x");
    flat.DocumentElement().Child(1).AppendChild(flat.CreateElement("d"));
    EXPECT_EQ(flat.ToBytes(), "<r><a/><c x='1'><d/></c><b>x</b></r>");
}

TEST(XmlEdit, RemovedChildTakesItsLine)
{
    XmlDocument doc;
    doc.LoadXml(kItems);
    XmlNode root = doc.DocumentElement();
    root.RemoveChild(root.Child(1));
    EXPECT_EQ(doc.ToBytes(), itemsWith(6, {}));
    root.RemoveChild(root.Child(0));
    root.RemoveChild(root.Child(0));
    EXPECT_EQ(doc.ToBytes(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- items -->\n<items>\n</items>\n");
    expectReloads(doc);
}

TEST(XmlEdit, NewLinesTakeTheDocumentsLineBreak)
{
    XmlDocument doc;
    doc.LoadXml("<r>\r\n  <a/>\r\n</r>\r\n");
    doc.DocumentElement().Child(0).AppendChild(doc.CreateElement("b"));
    doc.DocumentElement().AppendChild(doc.CreateElement("c"));
    EXPECT_EQ(doc.ToBytes(), "<r>\r\n  <a>\r\n    <b/>\r\n  </a>\r\n  <c/>\r\n</r>\r\n");
}

TEST(XmlEdit, EditsStayInTheDocumentsEncoding)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    XmlDocument utf16;
    utf16.LoadXml(encoder.encode(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<r a='ä'>\n  <b>x</b>\n</r>\n"));
    utf16.DocumentElement().Child(0).Child(0).SetValue("日本");
    utf16.DocumentElement().GetAttributeNode(0).SetValue("ö");
    appendItem(utf16, utf16.DocumentElement(), "c", "ß");
    QStringEncoder again(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    EXPECT_EQ(utf16.ToBytes(),
        QByteArray(again.encode(
            u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<r a='ö'>\n  <b>日本</b>\n  <c>ß</c>\n</r>\n")));
    expectReloads(utf16);

    // Without a byte-order mark, a declaration of UTF-16 and a first byte pair holding a zero make a file UTF-16.
    QStringEncoder bigEndian(QStringEncoder::Utf16BE);
    XmlDocument unmarked;
    unmarked.LoadXml(bigEndian.encode(u"<?xml version='1.0' encoding='UTF-16'?><r>\n  <a/>\n</r>"));
    unmarked.DocumentElement().Child(0).AppendChild(unmarked.CreateElement("ä"));
    EXPECT_EQ(unmarked.ToBytes(),
        QByteArray(bigEndian.encode(u"<?xml version='1.0' encoding='UTF-16'?><r>\n  <a>\n    <ä/>\n  </a>\n</r>")));
    EXPECT_EQ(unmarked.EncodingName(), "UTF-16BE");

    XmlDocument latin1;
    latin1.LoadXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r a=\"\xE9\">\n  <b>x</b>\n</r>\n");
    latin1.DocumentElement().Child(0).Child(0).SetValue("naïve Ω");
    latin1.DocumentElement().GetAttributeNode(0).SetValue("€é");
    appendItem(latin1, latin1.DocumentElement(), "ü", "ü");
    EXPECT_EQ(latin1.ToBytes(),
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r a=\"&#8364;\xE9\">\n  <b>na\xEFve &#937;</b>\n"
        "  <\xFC>\xFC</\xFC>\n</r>\n");
    XmlDocument reread;
    reread.LoadXml(latin1.ToBytes());
    EXPECT_EQ(reread.DocumentElement().Child(0).Child(0).Value(), "naïve Ω");
    EXPECT_EQ(reread.DocumentElement().GetAttributeNode(0).Value(), "€é");
}

// A text of white space only is written as character references, so that it reads back as that text and not as
// formatting; beside it, as beside any text, no formatting is written. The same in a CRLF file and in UTF-16.
TEST(XmlEdit, BlankTextIsWrittenAsReferences)
{
    auto append = [](const QString& text) {
        return [=](XmlDocument& d) { d.DocumentElement().AppendChild(d.CreateTextNode(text)); };
    };
    auto remove = [](int index) {
        return [=](XmlDocument& d) { d.DocumentElement().RemoveChild(d.DocumentElement().Child(index)); };
    };
    const struct {
        const char* source;
        std::vector<std::function<void(XmlDocument&)>> edits;
        const char* wanted;
    } cases[] = {
        { "<r>\n  <e>t</e>\n</r>\n",
            { [](XmlDocument& d) { d.DocumentElement().Child(0).Child(0).SetValue(" \t\r\n"); } },
            "<r>\n  <e>&#32;&#9;&#13;&#10;</e>\n</r>\n" },
        // Childless elements, as "Edit" and the node creator fill them.
        { "<r>\n  <e/>\n  <f>\n  </f>\n</r>\n", { [](XmlDocument& d) {
             d.DocumentElement().Child(0).AppendChild(d.CreateTextNode("  "));
             d.DocumentElement().Child(1).AppendChild(d.CreateTextNode("\n"));
         } },
            "<r>\n  <e>&#32;&#32;</e>\n  <f>&#10;</f>\n</r>\n" },
        // A new last child beside an element, also once a removal brings it to the formatting before that element.
        { "<r>\n  <a/>\n  <b/>\n</r>\n", { append(" ") }, "<r>\n  <a/>\n  <b/>&#32;</r>\n" },
        { "<r>\n  <a/>\n  <b/>\n</r>\n", { append("\t"), remove(1) }, "<r>\n  <a/>&#9;</r>\n" },
        // A text set blank in place, whose neighbours then go with their lines.
        { "<r>\n  <a/>t<b/>\n</r>\n",
            { [](XmlDocument& d) { d.DocumentElement().Child(1).SetValue(" "); }, remove(2), remove(0) },
            "<r>&#32;</r>\n" },
        // A blank text that read back as text only beside an entity's text is written anew where it is moved.
        { "<!DOCTYPE r [<!ENTITY e 'x'>]>\n<r>&e; <b/></r>\n",
            { [](XmlDocument& d) { d.DocumentElement().Child(2).AppendChild(d.DocumentElement().Child(1)); } },
            "<!DOCTYPE r [<!ENTITY e 'x'>]>\n<r>&e;<b>&#32;</b></r>\n" },
        // Beside another text it joins that text, as any two texts brought together do.
        { "<r>a</r>", { append(" ") }, "<r>a&#32;</r>" },
    };
    for (const auto& c : cases)
        for (const bool crlf : { false, true })
            for (const bool utf16 : { false, true }) {
                auto form = [&](QByteArray bytes) {
                    if (crlf)
                        bytes.replace("\n", "\r\n");
                    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
                    return utf16 ? QByteArray(encoder.encode(QString::fromUtf8(bytes))) : bytes;
                };
                const std::string label
                    = std::string(crlf ? "CRLF " : "LF ") + (utf16 ? "UTF-16: " : "UTF-8: ") + c.source;
                XmlDocument doc;
                doc.LoadXml(form(c.source));
                for (const auto& edit : c.edits)
                    edit(doc);
                EXPECT_EQ(doc.ToBytes(), form(c.wanted)) << label;
                XmlDocument again;
                again.LoadXml(doc.ToBytes());
                EXPECT_EQ(textsOf(again.DocumentElement()), textsOf(doc.DocumentElement())) << label;
            }
}

} // namespace
