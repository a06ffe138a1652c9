// What the layer accepts it writes and reads back unchanged; an edit changes only its own lines.
#include "support/testsupport.h"
#include "xml/xmldocument.h"
#include "xml/xmlexception.h"

#include <QStringEncoder>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace {

using xml::XmlDocument;
using xml::XmlNode;

struct Flavour {
    const char* label;
    std::function<QByteArray(const QString&)> encode;
};

// The same small document in every encoding the layer reads and writes.
std::vector<Flavour> flavours()
{
    auto with = [](QStringEncoder::Encoding encoding, bool bom) {
        return [=](const QString& text) {
            QStringEncoder encoder(encoding, bom ? QStringEncoder::Flag::WriteBom : QStringEncoder::Flag::Default);
            return QByteArray(encoder.encode(text));
        };
    };
    auto declared = [](const char* name) {
        return [=](const QString& text) {
            QString declared = text;
            declared.replace(
                "<?xml version=\"1.0\"?>", QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>").arg(name));
            return declared.toLatin1(); // the documents hold ASCII only
        };
    };
    return { { "UTF-8", with(QStringEncoder::Utf8, false) }, { "UTF-8 with BOM", with(QStringEncoder::Utf8, true) },
        { "UTF-16LE", with(QStringEncoder::Utf16LE, true) }, { "UTF-16BE", with(QStringEncoder::Utf16BE, true) },
        { "ISO-8859-1", declared("ISO-8859-1") }, { "US-ASCII", declared("US-ASCII") },
        { "windows-1252", declared("windows-1252") } };
}

constexpr char16_t kDocument[]
    = u"<?xml version=\"1.0\"?>\n<r a=\"1\">\n  <e>t</e>\n  <!--c-->\n  <?p d?>\n  <![CDATA[x]]>\n</r>\n";

// Applies an edit; when the layer accepts it, the saved document must reload with what the edit set.
// A refusal must name the character or rule and leave the document as it was, and is itself a fault where the
// edit must be taken.
void expectAcceptedMeansReloads(const Flavour& flavour, const QString& what,
    const std::function<void(XmlDocument&)>& edit, const std::function<QString(const XmlDocument&)>& readBack,
    bool mustTake = false)
{
    XmlDocument doc;
    doc.LoadXml(flavour.encode(QString::fromUtf16(kDocument)));
    const QByteArray before = doc.ToBytes();
    try {
        edit(doc);
    } catch (const xml::XmlException& e) {
        EXPECT_FALSE(mustTake) << flavour.label << ": refused " << what.toStdString() << ": " << e.what();
        EXPECT_EQ(doc.ToBytes(), before) << flavour.label << ": " << what.toStdString();
        return;
    }
    XmlDocument again;
    try {
        again.LoadXml(doc.ToBytes());
    } catch (const std::exception& e) {
        ADD_FAILURE() << flavour.label << ": accepted " << what.toStdString() << " but wrote " << e.what();
        return;
    }
    EXPECT_EQ(readBack(again), readBack(doc)) << flavour.label << ": " << what.toStdString();
}

TEST(XmlPromises, EveryNameAndTextTheLayerAcceptsReloads)
{
    const QStringList names { "item", "été", "名前", "Ⰰ", "x‿", "Ϳ", "⁰x", "𐀀", "ª", "µx", "ºx", "a·b", "Ω", "€uro",
        "Ÿx", "x:y", "_1", "1x", "a b", "", "xml-a", "ä\u0300", QChar(0xFEFF) + QString("x") };
    // Every one is a text a text node takes: white space alone included, which is a value, not formatting.
    const QStringList texts { "plain", "été", "名前 ", "€", "a\rb", "a--b", "a-", " lead", "a?>b", "a]]>b", "𐀀", "  ",
        "\r", "\n x \n", " ", "\t", "\n", "\r\n", " \t\r\n " };
    auto root = [](const XmlDocument& d) { return d.DocumentElement(); };
    // The value of an element's last child; a child dropped on reload shows as another node's value.
    auto lastValue = [](const XmlNode& e) {
        return e.ChildCount() ? e.Child(e.ChildCount() - 1).Value() : QStringLiteral("(none)");
    };
    for (const Flavour& f : flavours()) {
        for (const QString& name : names) {
            expectAcceptedMeansReloads(
                f, "element " + name, [&](XmlDocument& d) { root(d).Child(0).SetName(name); },
                [&](const XmlDocument& d) { return root(d).Child(0).Name(); });
            expectAcceptedMeansReloads(
                f, "new element " + name, [&](XmlDocument& d) { root(d).AppendChild(d.CreateElement(name)); },
                [&](const XmlDocument& d) { return root(d).Child(root(d).ChildCount() - 1).Name(); });
            expectAcceptedMeansReloads(
                f, "attribute " + name, [&](XmlDocument& d) { root(d).GetAttributeNode(0).SetName(name); },
                [&](const XmlDocument& d) { return root(d).GetAttributeNode(0).Name(); });
            expectAcceptedMeansReloads(
                f, "new attribute " + name, [&](XmlDocument& d) { root(d).SetAttributeNode(d.CreateAttribute(name)); },
                [&](const XmlDocument& d) { return root(d).GetAttributeNode(root(d).AttributeCount() - 1).Name(); });
            expectAcceptedMeansReloads(
                f, "target " + name, [&](XmlDocument& d) { root(d).Child(2).SetName(name); },
                [&](const XmlDocument& d) { return root(d).Child(2).Name(); });
        }
        for (const QString& text : texts)
            for (int child : { 0, 1, 2, 3 }) {
                // The first child is an element: its text node takes the value.
                auto node
                    = [&](const XmlDocument& d) { return child ? root(d).Child(child) : root(d).Child(0).Child(0); };
                expectAcceptedMeansReloads(
                    f, "text " + text, [&](XmlDocument& d) { node(d).SetValue(text); },
                    [&](const XmlDocument& d) { return child ? node(d).Value() : lastValue(root(d).Child(0)); },
                    child == 0);
            }
        for (const QString& text : texts) {
            // A new text: the last child of an element with formatting before its end tag, also once the node
            // before it has gone, and the only child of a new element.
            expectAcceptedMeansReloads(
                f, "new text " + text, [&](XmlDocument& d) { root(d).AppendChild(d.CreateTextNode(text)); },
                [&](const XmlDocument& d) { return lastValue(root(d)); }, true);
            expectAcceptedMeansReloads(
                f, "new text after a removal " + text,
                [&](XmlDocument& d) {
                    root(d).AppendChild(d.CreateTextNode(text));
                    root(d).RemoveChild(root(d).Child(3));
                },
                [&](const XmlDocument& d) { return lastValue(root(d)); }, true);
            expectAcceptedMeansReloads(
                f, "new element's text " + text,
                [&](XmlDocument& d) {
                    XmlNode element = d.CreateElement("n");
                    element.AppendChild(d.CreateTextNode(text));
                    root(d).AppendChild(element);
                },
                [&](const XmlDocument& d) { return lastValue(root(d).Child(root(d).ChildCount() - 1)); }, true);
        }
    }
}

TEST(XmlPromises, RefusalsNameTheCharacter)
{
    XmlDocument latin1;
    latin1.LoadXml("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><!--c--></r>");
    try {
        latin1.DocumentElement().SetName("名前");
        ADD_FAILURE() << "accepted";
    } catch (const xml::XmlException& e) {
        EXPECT_NE(std::string(e.what()).find("U+540D"), std::string::npos) << e.what();
    }
    try {
        latin1.DocumentElement().Child(0).SetValue("Ω");
        ADD_FAILURE() << "accepted";
    } catch (const xml::XmlException& e) {
        EXPECT_NE(std::string(e.what()).find("U+03A9"), std::string::npos) << e.what();
    }
}

TEST(XmlPromises, AValueSetIsTheValueReadBack)
{
    for (const char* source : { "<name>\n  </name>", "<a>   </a>", "<r>\r\n  <b/>\r\n</r>\r\n" }) {
        XmlDocument doc;
        doc.LoadXml(source);
        doc.DocumentElement().AppendChild(doc.CreateTextNode("Sword"));
        XmlDocument again;
        again.LoadXml(doc.ToBytes());
        XmlNode root = again.DocumentElement();
        EXPECT_EQ(root.Child(root.ChildCount() - 1).Value(), "Sword") << doc.ToBytes().toStdString();
    }
    XmlDocument sword;
    sword.LoadXml("<r>\n  <name>\n  </name>\n</r>\n");
    XmlNode name = sword.DocumentElement().Child(0);
    name.AppendChild(sword.CreateTextNode("Sword"));
    EXPECT_EQ(sword.ToBytes(), "<r>\n  <name>Sword</name>\n</r>\n");

    // A leading U+FEFF is a character of the value like any other.
    XmlDocument bom;
    bom.LoadXml("<r a=\"\xEF\xBB\xBFv\">\xEF\xBB\xBFt</r>");
    EXPECT_EQ(bom.DocumentElement().GetAttributeNode(0).Value(), QChar(0xFEFF) + QString("v"));
    EXPECT_EQ(bom.DocumentElement().Child(0).Value(), QChar(0xFEFF) + QString("t"));
    bom.DocumentElement().GetAttributeNode(0).SetValue(bom.DocumentElement().GetAttributeNode(0).Value());
    bom.DocumentElement().Child(0).SetValue(QChar(0xFEFF) + QString("u"));
    EXPECT_EQ(bom.ToBytes(), "<r a=\"\xEF\xBB\xBFv\">\xEF\xBB\xBFu</r>");

    // White space written as references is content, not formatting: it reads back, and stays beside other text.
    XmlDocument refs;
    refs.LoadXml("<r><a>&#32;</a><b/>&#13;\n<c/>x</r>");
    EXPECT_EQ(refs.DocumentElement().Child(0).Child(0).Value(), " ");
    EXPECT_EQ(refs.DocumentElement().Child(2).Value(), "\r\n");
    refs.DocumentElement().RemoveChild(refs.DocumentElement().Child(3));
    EXPECT_EQ(refs.ToBytes(), "<r><a>&#32;</a><b/>&#13;\nx</r>");

    // Values of attributes declared as tokens have their spaces collapsed when read: only collapsed ones are taken.
    XmlDocument tokens;
    tokens.LoadXml(
        "<!DOCTYPE r [<!ATTLIST r n NMTOKENS #IMPLIED><!ATTLIST s a NMTOKEN #IMPLIED>]><r n='a b' a=' x '/>");
    const QByteArray declared = tokens.ToBytes();
    XmlNode r = tokens.DocumentElement();
    EXPECT_THROW(r.GetAttributeNode(0).SetValue(" p  q "), xml::XmlException);
    xml::XmlAttribute spaced = tokens.CreateAttribute("n");
    spaced.SetValue(" p ");
    EXPECT_THROW(r.SetAttributeNode(spaced), xml::XmlException);
    EXPECT_THROW(r.SetName("s"), xml::XmlException); // its a=' x ' would read back as "x"
    EXPECT_EQ(tokens.ToBytes(), declared);
    r.GetAttributeNode(0).SetValue("p q");
    XmlDocument reread;
    reread.LoadXml(tokens.ToBytes());
    EXPECT_EQ(reread.DocumentElement().GetAttributeNode(0).Value(), "p q");

    // A bare carriage return meeting a line feed: still two line breaks.
    XmlDocument cr;
    cr.LoadXml("<r>a\r\r<b/>\nc</r>");
    cr.DocumentElement().RemoveChild(cr.DocumentElement().Child(1));
    XmlDocument crRead;
    crRead.LoadXml(cr.ToBytes());
    EXPECT_EQ(crRead.DocumentElement().Child(0).Value(), "a\n\n\nc");

    // A lone surrogate is no character: refused wherever a value or name is given.
    const QString lone = QString("a") + QChar(0xD800);
    XmlDocument doc;
    doc.LoadXml("<r a='1'>t<!--c--></r>");
    const QByteArray before = doc.ToBytes();
    XmlNode root = doc.DocumentElement();
    EXPECT_THROW(root.Child(0).SetValue(lone), xml::XmlException);
    EXPECT_THROW(root.Child(1).SetValue(lone), xml::XmlException);
    EXPECT_THROW(root.GetAttributeNode(0).SetValue(lone), xml::XmlException);
    EXPECT_THROW(doc.CreateTextNode(lone), xml::XmlException);
    EXPECT_THROW(doc.CreateElement(lone), xml::XmlException);
    EXPECT_THROW(root.SetName(lone), xml::XmlException);
    EXPECT_EQ(doc.ToBytes(), before);
}

// Runs an edit on a document and on its CRLF form; both must give the wanted bytes.
void expectEdit(const QByteArray& source, const std::function<void(XmlDocument&)>& edit, const QByteArray& wanted)
{
    for (bool crlf : { false, true }) {
        QByteArray in = source, out = wanted;
        if (crlf) {
            in.replace("\n", "\r\n");
            out.replace("\n", "\r\n");
        }
        XmlDocument doc;
        doc.LoadXml(in);
        edit(doc);
        EXPECT_EQ(doc.ToBytes(), out) << (crlf ? "CRLF: " : "LF: ") << source.toStdString();
        XmlDocument again;
        again.LoadXml(doc.ToBytes());
    }
}

TEST(XmlPromises, AnEditChangesOnlyItsOwnLines)
{
    auto removeAt = [](std::vector<int> path) {
        return [=](XmlDocument& d) {
            XmlNode parent = d.DocumentElement();
            for (size_t i = 0; i + 1 < path.size(); ++i)
                parent = parent.Child(path[i]);
            parent.RemoveChild(parent.Child(path.back()));
        };
    };
    auto append = [](XmlDocument& d) {
        XmlNode n = d.DocumentElement().AppendChild(d.CreateElement("n"));
        n.AppendChild(d.CreateTextNode("t"));
    };
    // A node that shares its line leaves its line's other content in place.
    expectEdit("<r>\n  <a/> <!-- about a -->\n  <b/> <!-- about b -->\n</r>\n", removeAt({ 2 }),
        "<r>\n  <a/> <!-- about a -->\n  <!-- about b -->\n</r>\n");
    expectEdit("<r>\n  <p>\n    <x/></p>\n</r>\n", removeAt({ 0, 0 }), "<r>\n  <p>\n    </p>\n</r>\n");
    expectEdit("<r>\n  <a/> <b/> <c/>\n</r>\n", removeAt({ 1 }), "<r>\n  <a/> <c/>\n</r>\n");
    expectEdit("<r>\n  <a/> <b/>\n  <c/>\n</r>\n", removeAt({ 1 }), "<r>\n  <a/>\n  <c/>\n</r>\n");
    // A node alone on its line takes that line only: blank lines and the blanks of other lines stay.
    expectEdit("<r>\n  <a/>\t \n\n  <b/>\n</r>\n", removeAt({ 1 }), "<r>\n  <a/>\t \n\n</r>\n");
    expectEdit(
        "<r>\n  <a/>\n  <b>\n    <c/>\n  </b>\n\n  <d/>\n</r>\n", removeAt({ 1 }), "<r>\n  <a/>\n\n  <d/>\n</r>\n");
    expectEdit("<r><a/>\n  <b/>\n</r>\n", removeAt({ 0 }), "<r>\n  <b/>\n</r>\n");
    // Texts that a removal brings together must not form markup ("]]>" is not allowed in text).
    expectEdit("<r>]]<b/>></r>", removeAt({ 1 }), "<r>]]&gt;</r>");
    expectEdit(
        "<r><b>></b>]]</r>",
        [](XmlDocument& d) { d.DocumentElement().AppendChild(d.DocumentElement().Child(0).Child(0)); },
        "<r><b></b>]]&gt;</r>");
    // Nor may formatting join a text, which would change its value.
    expectEdit("<r>x<b/>\n  <c/></r>", removeAt({ 1 }), "<r>x<c/></r>");
    expectEdit("<r><c/>\n  <b/>y</r>", removeAt({ 1 }), "<r><c/>y</r>");
    expectEdit(
        "<r>x<b/>\r</r>", [](XmlDocument& d) { d.DocumentElement().AppendChild(d.DocumentElement().Child(1)); },
        "<r>x<b/></r>");
    // A reference that adds nothing to its text (an empty or unread entity) stays with that text.
    expectEdit(
        "<!DOCTYPE r [<!ENTITY g ''>]><r>ID&g;<b/></r>", removeAt({ 1 }), "<!DOCTYPE r [<!ENTITY g ''>]><r>ID&g;</r>");
    expectEdit(
        "<!DOCTYPE r SYSTEM 'r.dtd'><r>ID&u;<b/></r>", removeAt({ 1 }), "<!DOCTYPE r SYSTEM 'r.dtd'><r>ID&u;</r>");
    // The white space around such a reference would join the text it comes to stand beside.
    expectEdit(
        "<!DOCTYPE r SYSTEM 'r.dtd'><r>E<b/>\n\n&u;\n</r>", removeAt({ 1 }), "<!DOCTYPE r SYSTEM 'r.dtd'><r>E&u;</r>");
    expectEdit(
        "<!DOCTYPE r SYSTEM 'r.dtd'><r><x/>\n&u;\n</r>",
        [](XmlDocument& d) { d.DocumentElement().AppendChild(d.CreateTextNode("T")); },
        "<!DOCTYPE r SYSTEM 'r.dtd'><r><x/>T&u;</r>");
    // A reference to an entity declared outside the file is kept wherever the writer walks.
    expectEdit(
        "<!DOCTYPE r SYSTEM \"r.dtd\">\n<r>n&u;</r>\n",
        [](XmlDocument& d) { d.DocumentElement().RemoveChild(d.DocumentElement().AppendChild(d.CreateElement("n"))); },
        "<!DOCTYPE r SYSTEM \"r.dtd\">\n<r>n&u;</r>\n");
    expectEdit("<!DOCTYPE r SYSTEM \"r.dtd\">\n<r>n<b/>&u;</r>\n", removeAt({ 1 }),
        "<!DOCTYPE r SYSTEM \"r.dtd\">\n<r>n&u;</r>\n");
    // A new last child goes on a line of its own, after everything on the previous last child's line.
    expectEdit("<r>\n  <a/> <!-- about a -->\n</r>\n", append, "<r>\n  <a/> <!-- about a -->\n  <n>t</n>\n</r>\n");
    expectEdit("<r>\n  <a/>\t\t\n</r>\n", append, "<r>\n  <a/>\t\t\n  <n>t</n>\n</r>\n");
    expectEdit(
        "<r>\n  <p>\n  </p>\n</r>\n",
        [](XmlDocument& d) { d.DocumentElement().Child(0).AppendChild(d.CreateElement("n")); },
        "<r>\n  <p>\n    <n/>\n  </p>\n</r>\n");
}

} // namespace
