// The W3C XML conformance suite (fetched by `make test`): XML 1.0 fifth edition, no namespaces,
// no external entities. Not-well-formed files must be refused; every other file must load and
// be written back unchanged.
#include "expatreader.h"
#include "treedump.h"
#include "xml/xmldocument.h"
#include "xml/xmlexception.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

ExpatResult expatRead(const QByteArray& bytes)
{
    return ExpatReader().Read(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

struct Case {
    QString id;
    QString type;
    QString path;
};

std::vector<Case> selectCases(const QString& root)
{
    QFile index(root + "/cleaned/xmlconf-flattened.xml");
    if (!index.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader reader(&index);
    std::vector<QString> bases { root + "/xmlconf/" };
    std::vector<Case> cases;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == u"TESTCASES")
            bases.pop_back();
        if (!reader.isStartElement())
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == u"TESTCASES") {
            const QString base = a.value("xml:base").toString();
            bases.push_back(base.isEmpty() ? bases.back() : bases.back() + base);
            continue;
        }
        if (reader.name() != u"TEST")
            continue;
        const QString type = a.value("TYPE").toString();
        const QString entities = a.value("ENTITIES").toString();
        const QString recommendation = a.value("RECOMMENDATION").toString();
        const QString edition = a.value("EDITION").toString();
        const QString version = a.value("VERSION").toString();
        if (type == "error" || (!entities.isEmpty() && entities != "none"))
            continue;
        if (!recommendation.isEmpty() && recommendation != "XML1.0" && recommendation != "XML1.0-errata2e"
            && recommendation != "XML1.0-errata3e" && recommendation != "XML1.0-errata4e")
            continue;
        if ((!edition.isEmpty() && !edition.split(' ').contains("5")) || (!version.isEmpty() && version != "1.0"))
            continue;
        cases.push_back({ a.value("ID").toString(), type, bases.back() + a.value("URI").toString() });
    }
    return cases;
}

TEST(ConformanceSuite, RefusesEveryNotWellFormedFileAndRoundTripsTheRest)
{
    const QString root = qEnvironmentVariable("SILDRA_XMLCONF_DIR");
    const std::vector<Case> cases = selectCases(root);
    ASSERT_GT(cases.size(), 1000u) << "conformance suite not found under \"" << root.toStdString() << "\"";

    int refused = 0, loaded = 0, identical = 0, notWf = 0, expatLoaded = 0, sameTree = 0;
    QStringList failures;
    for (const Case& c : cases) {
        QFile file(c.path);
        if (!file.open(QIODevice::ReadOnly)) {
            failures << c.id + " (missing file)";
            continue;
        }
        const QByteArray bytes = file.readAll();
        xml::XmlDocument document;
        bool ok = true;
        try {
            document.LoadXml(bytes);
        } catch (const xml::XmlException&) {
            ok = false;
        }
        if (c.type == "not-wf") {
            ++notWf;
            ok ? failures << c.id + " (not-wf accepted)" : (++refused, failures);
            continue;
        }
        if (!ok) {
            failures << c.id + " (" + c.type + " refused)";
            continue;
        }
        ++loaded;
        // Where expat reads the file too, the trees must agree.
        if (const ExpatResult expat = expatRead(bytes); expat.accepted) {
            ++expatLoaded;
            expat.tree == DumpTree(document.DocumentElement()) ? (++sameTree, failures)
                                                               : failures << c.id + " (another tree than expat's)";
        }
        if (document.ToBytes() == bytes)
            ++identical;
        else
            failures << c.id + " (not written back unchanged)";

        // An edit rewrites the root's tags and places a new child; the result must still parse to the same tree.
        xml::XmlNode root = document.DocumentElement();
        const int children = root.ChildCount();
        root.SetName(root.Name());
        root.AppendChild(document.CreateElement("added"));
        xml::XmlDocument reread;
        try {
            reread.LoadXml(document.ToBytes());
            if (reread.DocumentElement().ChildCount() != children + 1)
                failures << c.id + " (edited copy has another shape)";
        } catch (const xml::XmlException& e) {
            failures << c.id + " (edited copy refused: " + e.what() + ")";
        }
    }
    const int wellFormed = int(cases.size()) - notWf;
    std::printf("conformance: %d cases; not-wf refused %d of %d; valid/invalid loaded %d of %d, "
                "written back unchanged %d; the same tree as expat's for %d of the %d expat reads\n",
        int(cases.size()), refused, notWf, loaded, wellFormed, identical, sameTree, expatLoaded);
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
}

} // namespace

// The tree as the program sees it: kinds, names, values and attributes in document order.
// The suite's UTF-8 files again, in UTF-16: the same verdict, the same tree, written back unchanged.
TEST(ConformanceSuite, Utf16FormsGetTheSameVerdictAndTree)
{
    const std::vector<Case> cases = selectCases(qEnvironmentVariable("SILDRA_XMLCONF_DIR"));
    ASSERT_GT(cases.size(), 1000u);
    int notWf = 0, refused = 0, wellFormed = 0, same = 0;
    QStringList failures;
    for (size_t k = 0; k < cases.size(); ++k) {
        const Case& c = cases[k];
        QFile file(c.path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        // Only files in UTF-8 whose declaration, if any, says so: others have no UTF-16 form of the same meaning.
        const QRegularExpression declared("^<\\?xml[^>]*encoding=");
        const QRegularExpression utf8("^(<\\?xml[^>]*encoding=[\"'])(UTF|utf)-8[\"']");
        if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith(QByteArray("<\0", 2))
            || bytes.startsWith(QByteArray("\0<", 2))
            || (QString::fromLatin1(bytes).contains(declared) && !QString::fromLatin1(bytes).contains(utf8)))
            continue;
        QStringDecoder decoder(QStringDecoder::Utf8);
        QString text = decoder.decode(bytes);
        if (decoder.hasError())
            continue;
        text.replace(QRegularExpression("^(<\\?xml[^>]*encoding=[\"'])(UTF|utf)-8"), "\\1UTF-16");
        const auto encoding = k % 2 ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE;
        const QByteArray wide = QStringEncoder(encoding, QStringEncoder::Flag::WriteBom).encode(text);
        xml::XmlDocument narrowDocument, wideDocument;
        bool narrowLoads = true, wideLoads = true;
        try {
            narrowDocument.LoadXml(bytes);
        } catch (const xml::XmlException&) {
            narrowLoads = false;
        }
        try {
            wideDocument.LoadXml(wide);
        } catch (const xml::XmlException&) {
            wideLoads = false;
        }
        if (c.type == "not-wf") {
            ++notWf;
            wideLoads ? failures << c.id + " (not-wf accepted in UTF-16)" : (++refused, failures);
        } else if (!wideLoads || !narrowLoads) {
            failures << c.id + " (refused in UTF-16)";
        } else {
            ++wellFormed;
            if (wideDocument.ToBytes() == wide
                && DumpTree(wideDocument.DocumentElement()) == DumpTree(narrowDocument.DocumentElement()))
                ++same;
            else
                failures << c.id + " (another tree or other bytes in UTF-16)";
        }
    }
    std::printf("conformance in UTF-16: not-wf refused %d of %d; others loaded with the same tree and written back "
                "unchanged %d of %d\n",
        refused, notWf, same, wellFormed);
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
}

// Beyond the suite: what real files hold and where the tree's spans are easy to get wrong.
TEST(ConformanceSuite, TreesAgreeWithExpatOnEntitiesAndLineEnds)
{
    const char* documents[] = {
        "<r>\r\n  <a x='1&#9;2' y=\"a\r\nb\">t\r\nu</a>\r\n  <![CDATA[c\r\nd]]><!--c\r\n--><?p d\r\n?>\r\n</r>\r\n",
        "<!DOCTYPE r [<!ENTITY e 'x<b>y&f;</b>z'><!ENTITY f '&#60;![CDATA[q]]>'><!ENTITY g ''>]>"
        "<r> &e;&e; t&g;u &e;<c/>&f;</r>",
        "<!DOCTYPE r [<!ENTITY s '  '><!ENTITY t 'text'>]><r>a&s;b&t;&t;<x/>&t; &s;</r>",
        "<!DOCTYPE r [<!ENTITY e '<a/><!--c--><?p q?>'>]><r>\n  &e;\n  <b/>&e;</r>",
        "<!DOCTYPE r [<!ATTLIST r id ID #IMPLIED n NMTOKENS 'a' c CDATA #IMPLIED>]><r id='  x ' n=' a  b ' c=' c '/>",
        "<!DOCTYPE r [<!ENTITY e 'v&#32;w'><!ENTITY % p '<!ENTITY in \"I\">'>%p;<!ENTITY late 'L'>]><r "
        "a='&e;&undeclared;'>&late;&in;</r>",
        "<!DOCTYPE r SYSTEM 'r.dtd'><r>&outside;<a/></r>",
        "\xEF\xBB\xBF<r>\xC3\xA9<a b='\xE2\x82\xAC'/></r>",
    };
    for (const char* text : documents) {
        const QByteArray bytes(text);
        xml::XmlDocument document;
        document.LoadXml(bytes);
        const ExpatResult expat = expatRead(bytes);
        EXPECT_TRUE(expat.accepted) << text;
        EXPECT_EQ(DumpTree(document.DocumentElement()), expat.tree) << text;
    }
}
