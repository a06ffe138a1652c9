// Loaded documents are written back byte for byte, in every encoding, and decode to the right text.
#include "support/testsupport.h"
#include "xml/xmldocument.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

using xml::XmlDocument;
using xml::XmlNode;

QByteArray utf16le(const QString& text)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

// Loads the bytes and checks they come back unchanged, also when the writer has to walk the
// document element (renamed to its own name, a child added and removed again).
void expectRoundTrip(XmlDocument& doc, const QByteArray& bytes)
{
    doc.LoadXml(bytes);
    EXPECT_EQ(doc.ToBytes(), bytes);
    XmlNode root = doc.DocumentElement();
    root.SetName(root.Name());
    root.RemoveChild(root.AppendChild(doc.CreateElement("added")));
    EXPECT_EQ(doc.ToBytes(), bytes);
}

constexpr char kRich[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<!DOCTYPE data [\n"
                         "  <!ENTITY game \"Sildra\">\n"
                         "  <!ENTITY row \"<cell>in</cell>\">\n"
                         "  <!ATTLIST item kind CDATA \"misc\">\n"
                         "]>\n"
                         "<!-- header -->\n"
                         "<data  version = '2' >\n"
                         "\t<item id='1' name=\"a &amp; b\" note=\"&#x41;&game;\">&game; &lt;x&gt; &#233;</item>\n"
                         "  \t<empty></empty>\n"
                         "\n"
                         "  <empty/><empty />\n"
                         "  <raw><![CDATA[<not markup> & ]]></raw>\n"
                         "  <table>&row;&row;</table>\n"
                         "  <?pi some data?>\n"
                         "</data>\n"
                         "<!-- footer -->\n";

TEST(XmlRoundTrip, Utf8WithEverythingAndCrLf)
{
    XmlDocument doc;
    expectRoundTrip(doc, kRich);
    XmlNode item = doc.DocumentElement().Child(0);
    ASSERT_EQ(item.AttributeCount(), 3);
    EXPECT_EQ(item.GetAttributeNode(1).Value(), "a & b");
    EXPECT_EQ(item.GetAttributeNode(2).Value(), "ASildra");
    QString text;
    for (int i = 0; i < item.ChildCount(); ++i)
        text += item.Child(i).Value();
    EXPECT_EQ(text, "Sildra <x> é");
    EXPECT_EQ(doc.DocumentElement().Child(4).Child(0).Value(), "<not markup> & ");
    EXPECT_EQ(doc.DocumentElement().Child(5).ChildCount(), 2);
    EXPECT_EQ(doc.DocumentElement().Child(6).Name(), "pi");

    XmlDocument crlf;
    expectRoundTrip(crlf, QByteArray(kRich).replace("\n", "\r\n"));
    EXPECT_EQ(crlf.DocumentElement().ChildCount(), doc.DocumentElement().ChildCount());
}

TEST(XmlRoundTrip, Utf8WithByteOrderMark)
{
    XmlDocument doc;
    expectRoundTrip(doc, "\xEF\xBB\xBF<?xml version='1.0'?>\n<r a='\xC3\xA9'>\xC3\xBC</r>\n");
    EXPECT_EQ(doc.DocumentElement().GetAttributeNode(0).Value(), "é");
    EXPECT_EQ(doc.DocumentElement().Child(0).Value(), "ü");
    EXPECT_EQ(doc.Text().from, 3);
    EXPECT_EQ(doc.EncodingName(), "UTF-8");
}

TEST(XmlRoundTrip, Utf16LittleEndianWithByteOrderMark)
{
    const QString text
        = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<r a='ä'>\n  <b>日本 𝄞</b>\n  <!-- ü -->\n</r>\n";
    XmlDocument doc;
    expectRoundTrip(doc, utf16le(text));
    EXPECT_EQ(doc.DocumentElement().GetAttributeNode(0).Value(), "ä");
    EXPECT_EQ(doc.DocumentElement().Child(0).Child(0).Value(), "日本 𝄞");
    EXPECT_EQ(doc.DocumentElement().Child(1).Value(), " ü ");
    const xml::Utf8Text decoded = doc.Text();
    EXPECT_EQ(decoded.bytes.mid(decoded.from), text.toUtf8());
    EXPECT_EQ(doc.EncodingName(), "UTF-16LE");
}

TEST(XmlRoundTrip, DeclaredSingleByteEncodings)
{
    XmlDocument latin1;
    expectRoundTrip(
        latin1, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r \xE9t\xE9=\"\xE0\">caf\xE9 &#8364;</r>\n");
    EXPECT_EQ(latin1.DocumentElement().GetAttributeNode(0).Name(), "été");
    EXPECT_EQ(latin1.DocumentElement().GetAttributeNode(0).Value(), "à");
    EXPECT_EQ(latin1.DocumentElement().Child(0).Value(), "café €");
    EXPECT_EQ(latin1.Text().bytes.mid(latin1.Text().from),
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r été=\"à\">café &#8364;</r>\n");
    EXPECT_EQ(latin1.EncodingName(), "ISO-8859-1");

    XmlDocument cp1252;
    expectRoundTrip(cp1252, "<?xml version='1.0' encoding='windows-1252'?><r a='\x80'>\x93quoted\x94 \xE9</r>");
    EXPECT_EQ(cp1252.DocumentElement().GetAttributeNode(0).Value(), "€");
    EXPECT_EQ(cp1252.DocumentElement().Child(0).Value(), "“quoted” é");
    EXPECT_EQ(cp1252.EncodingName(), "windows-1252");
}

// Names of the fifth edition that an edit accepts are read back, in every Unicode encoding.
} // namespace
