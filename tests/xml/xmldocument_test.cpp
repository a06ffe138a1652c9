// Refusals, counted references, failed loads and saves of the XML document.
#include "support/testsupport.h"
#include "xml/xmldocument.h"
#include "xml/xmlexception.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <regex>
#include <sys/resource.h>

namespace {

using xml::XmlAttribute;
using xml::XmlDocument;
using xml::XmlNode;

// Runs an operation that must be refused with E, naming `mentions`, and leave the document unchanged.
template <class E, class F> void expectRefused(const XmlDocument& doc, const std::string& mentions, F&& operation)
{
    const QByteArray before = doc.ToBytes();
    try {
        operation();
        ADD_FAILURE() << "not refused: " << mentions;
    } catch (const E& e) {
        EXPECT_NE(std::string(e.what()).find(mentions), std::string::npos) << e.what();
    }
    EXPECT_EQ(doc.ToBytes(), before) << "after refusing " << mentions;
}

constexpr char kFixture[] = "<r a=\"1\" b='2'>\n  <c>text</c>\n  <!--note-->\n  <![CDATA[raw]]>\n  <?pi data?>\n</r>\n";

TEST(XmlRefusals, BadNamesForNewNodesAndRenames)
{
    XmlDocument doc;
    doc.LoadXml(kFixture);
    XmlNode root = doc.DocumentElement();
    XmlAttribute a = root.GetAttributeNode(0);
    for (const char* bad : { "", "1x", "a b", "a<", "-a", "x=" }) {
        const std::string quoted = std::string("\"") + bad + "\"";
        expectRefused<xml::XmlException>(doc, quoted, [&] { doc.CreateElement(bad); });
        expectRefused<xml::XmlException>(doc, quoted, [&] { doc.CreateAttribute(bad); });
        expectRefused<xml::XmlException>(doc, quoted, [&] { root.SetName(bad); });
        expectRefused<xml::XmlException>(doc, quoted, [&] { a.SetName(bad); });
    }
    expectRefused<xml::XmlException>(doc, "\"b\"", [&] { a.SetName("b"); });
    expectRefused<xml::XmlException>(doc, "text node", [&] { root.Child(0).Child(0).SetName("t"); });
    // A processing instruction named "xml" would no longer parse.
    expectRefused<xml::XmlException>(doc, "xml", [&] { root.Child(3).SetName("xml"); });
    expectRefused<xml::XmlException>(doc, "XmL", [&] { root.Child(3).SetName("XmL"); });
    EXPECT_EQ(root.Name(), "r");
    EXPECT_EQ(a.Name(), "a");
}

TEST(XmlRefusals, ChildrenValuesAndIndexes)
{
    XmlDocument doc;
    doc.LoadXml(kFixture);
    XmlNode root = doc.DocumentElement();
    const XmlNode text = root.Child(0).Child(0), comment = root.Child(1), cdata = root.Child(2);
    ASSERT_EQ(comment.Type(), xml::XmlNodeType::Comment);
    ASSERT_EQ(cdata.Type(), xml::XmlNodeType::CData);
    expectRefused<xml::XmlException>(doc, "text node", [&] { XmlNode(text).AppendChild(doc.CreateElement("x")); });
    expectRefused<xml::XmlException>(doc, "comment", [&] { XmlNode(comment).AppendChild(doc.CreateElement("x")); });
    expectRefused<xml::XmlException>(doc, "CDATA", [&] { XmlNode(cdata).AppendChild(doc.CreateElement("x")); });
    expectRefused<xml::XmlException>(doc, "element", [&] { root.SetValue("v"); });
    expectRefused<xml::XmlException>(doc, "--", [&] { XmlNode(comment).SetValue("a--b"); });
    expectRefused<xml::XmlException>(doc, "-", [&] { XmlNode(comment).SetValue("a-"); });
    expectRefused<xml::XmlException>(doc, "document element", [&] { root.Child(0).AppendChild(root); });
    XmlNode outer = root.AppendChild(doc.CreateElement("outer"));
    XmlNode inner = outer.AppendChild(doc.CreateElement("inner"));
    expectRefused<xml::XmlException>(doc, "descendant", [&] { inner.AppendChild(outer); });
    for (int bad : { -1, root.ChildCount() })
        expectRefused<fw::OutOfBoundsException>(doc, std::to_string(bad), [&] { root.Child(bad); });
    for (int bad : { -1, root.AttributeCount() })
        expectRefused<fw::OutOfBoundsException>(doc, std::to_string(bad), [&] { root.GetAttributeNode(bad); });
    expectRefused<fw::OutOfBoundsException>(doc, "0", [&] { text.Child(0); });
}

TEST(XmlRefusals, SetAttributeNodeWithAnExistingNameReplacesTheValueInPlace)
{
    XmlDocument doc;
    doc.LoadXml("<r a=\"1\" b='2' c=\"3\"/>");
    XmlNode root = doc.DocumentElement();
    XmlAttribute b = doc.CreateAttribute("b");
    b.SetValue("new");
    root.SetAttributeNode(b);
    EXPECT_EQ(root.AttributeCount(), 3);
    EXPECT_EQ(root.GetAttributeNode(1).Value(), "new");
    EXPECT_EQ(doc.ToBytes(), "<r a=\"1\" b='new' c=\"3\"/>");
}

TEST(XmlHandles, RemovedNodeStaysUsableAndDetached)
{
    XmlDocument doc;
    doc.LoadXml("<r>\n  <a k=\"v\">one<b/></a>\n  <c/>\n</r>");
    XmlNode root = doc.DocumentElement();
    XmlNode a = root.Child(0);
    root.RemoveChild(a);
    EXPECT_TRUE(a.Parent().IsNil());
    EXPECT_EQ(a.Name(), "a");
    ASSERT_EQ(a.ChildCount(), 2);
    EXPECT_EQ(a.Child(0).Value(), "one");
    EXPECT_EQ(a.Child(1).Parent(), a);
    EXPECT_EQ(a.GetAttributeNode(0).Value(), "v");
    a.Child(0).SetValue("two");
    a.AppendChild(doc.CreateElement("d"));
    EXPECT_EQ(doc.ToBytes(), "<r>\n  <c/>\n</r>");
    expectRefused<xml::XmlException>(doc, "not a child", [&] { root.RemoveChild(a); });
}

TEST(XmlHandles, AttributeHandleFollowsItsAttributeThroughEditsOfItsElement)
{
    XmlDocument doc;
    doc.LoadXml("<r a=\"1\" b=\"2\" c=\"3\"/>");
    XmlNode root = doc.DocumentElement();
    XmlAttribute b = root.GetAttributeNode(1);
    root.SetAttributeNode(doc.CreateAttribute("d"));
    root.RemoveAttribute("a");
    b.SetValue("two");
    EXPECT_EQ(root.GetAttributeNode(0).Value(), "two");
    EXPECT_EQ(doc.ToBytes(), "<r b=\"two\" c=\"3\" d=\"\"/>");
    root.RemoveAttribute("b");
    b.SetName("e");
    EXPECT_EQ(b.Name(), "e");
    EXPECT_EQ(doc.ToBytes(), "<r c=\"3\" d=\"\"/>");
}

// Attributes are kept three ways (read again from the tag, decoded rows, objects); each must read as the handles do.
TEST(XmlHandles, AttributeTextsReadWithoutHandlesAgreeWithTheHandles)
{
    XmlDocument doc;
    doc.LoadXml("<!DOCTYPE r [<!ENTITY e 'ent'>]>\n<r>\n  <a x = \"1\"\ty='two &amp; &e;'\n z=\"a\nb\"/>\n  <b p='q'/>"
                "\n  <c/>\n</r>");
    const auto texts = [](const XmlNode& n) {
        QStringList seen;
        n.ForEachAttributeText([&](std::string_view name, std::string_view value) {
            seen << QString::fromUtf8(QByteArrayView(name)) + "=" + QString::fromUtf8(QByteArrayView(value));
        });
        return seen;
    };
    const auto handles = [](const XmlNode& n) {
        QStringList seen;
        for (int i = 0; i < n.AttributeCount(); ++i)
            seen << n.GetAttributeNode(i).Name() + "=" + n.GetAttributeNode(i).Value();
        return seen;
    };
    const XmlNode root = doc.DocumentElement();
    EXPECT_EQ(texts(root.Child(0)), QStringList({ "x=1", "y=two & ent", "z=a b" }));
    EXPECT_EQ(texts(root.Child(1)), QStringList({ "p=q" }));
    root.Child(1).GetAttributeNode(0).SetValue("r");
    root.Child(1).SetAttributeNode(doc.CreateAttribute("s"));
    for (int i = 0; i < root.ChildCount(); ++i)
        EXPECT_EQ(texts(root.Child(i)), handles(root.Child(i))) << i;
    EXPECT_EQ(texts(root.Child(1)), QStringList({ "p=r", "s=" }));
}

TEST(XmlHandles, HandlesOutliveAReloadAndNilHandlesRaise)
{
    XmlDocument doc;
    doc.LoadXml("<r><a k=\"v\">one</a></r>");
    XmlNode a = doc.DocumentElement().Child(0);
    XmlAttribute k = a.GetAttributeNode(0);
    doc.LoadXml("<other/>");
    EXPECT_EQ(a.Name(), "a");
    EXPECT_EQ(a.Child(0).Value(), "one");
    EXPECT_EQ(a.Parent().Name(), "r");
    a.Child(0).SetValue("changed");
    k.SetValue("w");
    EXPECT_EQ(k.Value(), "w");
    expectRefused<xml::XmlException>(doc, "another document", [&] { doc.DocumentElement().AppendChild(a); });
    EXPECT_EQ(doc.ToBytes(), "<other/>");
    EXPECT_TRUE(doc.DocumentElement().Parent().IsNil());

    XmlNode nil;
    EXPECT_THROW(nil.Name(), fw::NilObjectException);
    EXPECT_THROW(nil.ChildCount(), fw::NilObjectException);
    EXPECT_THROW(nil.Parent(), fw::NilObjectException);
    EXPECT_THROW(doc.DocumentElement().AppendChild(nil), fw::NilObjectException);
    XmlAttribute nilAttribute;
    EXPECT_THROW(nilAttribute.Name(), fw::NilObjectException);
    EXPECT_THROW(nilAttribute.Value(), fw::NilObjectException);
    EXPECT_THROW(doc.DocumentElement().SetAttributeNode(nilAttribute), fw::NilObjectException);
    EXPECT_TRUE(XmlDocument().DocumentElement().IsNil());
}

TEST(XmlLoad, FailedLoadLeavesTheDocumentAsItWas)
{
    XmlDocument doc;
    doc.LoadXml("<r>\n  <a/>\n</r>");
    doc.DocumentElement().Child(0).SetName("edited");
    const QByteArray before = doc.ToBytes();
    for (const char* bad :
        { "<r>\n  <a>\n</r>", "", "<r></r><s/>", "\xEF\xBB\xBF<?xml version='1.0' encoding='ISO-8859-1'?><r/>",
            "<?xml version='1.0' encoding='KOI8-R'?><r/>", "<r>\xC3</r>" }) {
        try {
            doc.LoadXml(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const xml::XmlException& e) {
            EXPECT_TRUE(std::regex_match(e.what(), std::regex("line [0-9]+, column [0-9]+: .+"))) << e.what();
        }
        EXPECT_EQ(doc.DocumentElement().Name(), "r");
        EXPECT_EQ(doc.ToBytes(), before);
    }
    try {
        doc.LoadXml("<r>\n  <a>\n</r>");
    } catch (const xml::XmlException& e) {
        EXPECT_NE(std::string(e.what()).find("line 3, column 3"), std::string::npos) << e.what();
    }
}

// Refuses with line and column, naming what is wrong.
void expectLoadRefused(const QByteArray& bytes, const std::string& where, const std::string& what)
{
    try {
        XmlDocument().LoadXml(bytes);
        ADD_FAILURE() << "accepted: " << bytes.toStdString();
    } catch (const xml::XmlException& e) {
        EXPECT_EQ(std::string(e.what()).find(where), 0u) << e.what();
        EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
    }
}

QByteArray utf16(const QString& text, QStringEncoder::Encoding encoding)
{
    return QStringEncoder(encoding, QStringEncoder::Flag::WriteBom).encode(text);
}

TEST(XmlLoad, RefusesWhatNoEditionAllows)
{
    for (const char* version : { "2.0", "1", "", "1.", "1.0a" })
        expectLoadRefused("<?xml version=\"" + QByteArray(version) + "\"?><r/>", "line 1, column 16", "version");

    // Feminine and masculine ordinals and micro are letters to Unicode, but not name characters of XML.
    for (const char* utf8 : { "\u00AA", "a\u00B5", "\u00BA" }) {
        const QString name = QString::fromUtf8(utf8);
        const QString element = "<" + name + "/>", attribute = "<r " + name + "='1'/>";
        for (const QString& text : { element, attribute }) {
            const std::string shown = text.toStdString();
            EXPECT_ANY_THROW(XmlDocument().LoadXml(text.toUtf8())) << shown;
            EXPECT_ANY_THROW(XmlDocument().LoadXml(utf16(text, QStringEncoder::Utf16LE))) << shown;
            EXPECT_ANY_THROW(XmlDocument().LoadXml(utf16(text, QStringEncoder::Utf16BE))) << shown;
            for (const char* encoding : { "ISO-8859-1", "windows-1252" })
                EXPECT_ANY_THROW(XmlDocument().LoadXml(
                    "<?xml version='1.0' encoding='" + QByteArray(encoding) + "'?>" + text.toLatin1()))
                    << shown << " in " << encoding;
        }
    }

    // UTF-16 surrogates come in pairs, high then low.
    const QByteArray pair = utf16(QString::fromUtf16(u"<r>\n<a b=\"\U00010041\"/></r>"), QStringEncoder::Utf16LE);
    EXPECT_NO_THROW(XmlDocument().LoadXml(pair));
    QByteArray highAlone = pair, lowAlone = pair;
    highAlone.replace(QByteArray("\x41\xDC", 2), QByteArray("A\x00", 2)); // U+D800 then "A"
    lowAlone.replace(QByteArray("\x00\xD8", 2), QByteArray("A\x00", 2)); // "A" then U+DC41
    expectLoadRefused(highAlone, "line 2, column 7", "high surrogate");
    expectLoadRefused(lowAlone, "line 2, column 8", "low surrogate");

    // Only a mark or a declaration makes a file UTF-16, and the declaration must name the encoding the file is in,
    // however far into its first line it stands.
    expectLoadRefused(QStringEncoder(QStringEncoder::Utf16BE).encode(u"<r/>"), "line 1, column 1", "neither");
    expectLoadRefused(
        utf16("<?xml version='1.0'" + QString(600, ' ') + "encoding='ISO-8859-1'?><r/>", QStringEncoder::Utf16LE),
        "line 1, column 630", "ISO-8859-1");

    // Entities that expand to a billion characters are refused early.
    QByteArray laughs = "<!DOCTYPE r [<!ENTITY l0 'ha'>";
    for (int i = 1; i <= 9; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " '" + ("&l" + QByteArray::number(i - 1) + ";").repeated(10)
            + "'>";
    laughs += "]>";
    QElapsedTimer timer;
    timer.start();
    expectLoadRefused(laughs + "<r>&l9;</r>", "line 1, column", "limit");
    expectLoadRefused(laughs + "<r a='&l9;'/>", "line 1, column", "limit");
    EXPECT_LT(timer.elapsed(), 20000); // the whole expansion would take hours and gigabytes, even in a fast build
}

// Bytes that are not the program's own copy (fuzzers, mapped files) end where they end: nothing is read after them.
TEST(XmlLoad, ReadsNothingBeyondRawBytes)
{
    for (const char* text : { "<r>t</r>", "<r a='1'", "<r", "<r>&amp", "<r/>  " }) {
        const std::string bytes(text);
        const std::unique_ptr<char[]> exact(new char[bytes.size()]);
        std::memcpy(exact.get(), bytes.data(), bytes.size());
        XmlDocument doc;
        try {
            doc.LoadXml(QByteArray::fromRawData(exact.get(), qsizetype(bytes.size())));
            EXPECT_EQ(doc.ToBytes(), QByteArray::fromStdString(bytes));
        } catch (const xml::XmlException&) {
            EXPECT_TRUE(bytes.find('/') == std::string::npos) << text;
        }
    }
}

// Only "<?xml" and white space begin a declaration: "<?xml-stylesheet" names no encoding.
TEST(XmlLoad, ProcessingInstructionLikeADeclarationNamesNoEncoding)
{
    XmlDocument doc;
    doc.LoadXml("<?xml-stylesheet href=\"a.css\" encoding=\"ISO-8859-1\"?>\n<r>\xC3\xA9</r>");
    EXPECT_EQ(doc.EncodingName(), "UTF-8");
    EXPECT_EQ(doc.DocumentElement().Child(0).Value(), "é");
    doc.DocumentElement().Child(0).SetValue("ü");
    XmlDocument reread;
    reread.LoadXml(doc.ToBytes());
    EXPECT_EQ(reread.DocumentElement().Child(0).Value(), "ü");
}

TEST(XmlSave, WritesTheBytesAndFailsWithoutTouchingFiles)
{
    QTemporaryDir dir;
    XmlDocument doc;
    doc.LoadXml("<r>\n  <a/>\n</r>\n");
    const QString target = dir.filePath("out.xml");
    doc.SaveXml(target);
    EXPECT_EQ(sildra::test::readFile(target), "<r>\n  <a/>\n</r>\n");
    doc.DocumentElement().Child(0).SetName("b");
    doc.SaveXml(target);
    EXPECT_EQ(sildra::test::readFile(target), "<r>\n  <b/>\n</r>\n");

    // A document with no element is not XML: nothing is written.
    EXPECT_THROW(XmlDocument().SaveXml(dir.filePath("none.xml")), xml::XmlException);
    EXPECT_THROW(doc.SaveXml(dir.filePath("missing/out.xml")), fw::IOException);
    QDir(dir.path()).mkdir("folder");
    EXPECT_THROW(doc.SaveXml(dir.filePath("folder")), fw::IOException);
    EXPECT_TRUE(QFileInfo(dir.filePath("folder")).isDir());

    // A write that fails (the file size limit stands for a full disk) must raise and leave the old file whole,
    // also when the whole document fits in the write buffer and only its last flush fails.
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    for (const auto& [size, limit] :
        { std::pair { 100, 10 }, { 10'000, 4096 }, { 16'000, 16'000 - 1 }, { 70'000, 65'536 } }) {
        XmlDocument big;
        big.LoadXml("<r>" + QByteArray(size - 7, 'x') + "</r>");
        rlimit small = saved;
        small.rlim_cur = rlim_t(limit);
        setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_THROW(big.SaveXml(target), fw::IOException) << size << " bytes";
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_TRUE(sildra::test::readFile(target) == "<r>\n  <b/>\n</r>\n") << size << " bytes";
    }
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList({ "folder", "out.xml" }));
    EXPECT_TRUE(QDir(dir.filePath("folder")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

} // namespace
