// The layer's parser against a plain expat parse: the same verdict on every document both should
// judge alike, and the same tree (names, attributes, text, comments, PIs, CDATA) when both accept.
//
// Deliberate differences, skipped or allowed:
// - A UTF-8 byte-order mark followed by a declaration of another encoding: the layer refuses it,
//   expat lets the mark win. Such inputs are skipped.
// - Versions other than "1." and digits (version="2.0", "1", ""): expat accepts them, XML does not.
//   Documents expat accepts with such a version are not compared.
// - ª, µ and º as name characters: expat takes them for letters, XML does not. Documents expat accepts
//   with one of them in a name are not compared.
// - Names: expat follows the fourth edition's name characters, the layer the fifth's, which hold every
//   name the fourth allows. The two tables agree up to U+00FF, so a document holding a character above
//   it (also one written as a character reference) may be accepted by the layer and refused by expat; the other
//   way round is still a finding.
// - UTF-16 without a byte-order mark and without a declaration: expat reads it, XML makes it a fatal error (such a
//   file must be UTF-8). Such inputs are skipped.
// - UTF-16 with a surrogate that is not one half of a pair: expat reads it as a character, XML does not.
//   Such inputs are skipped.
// - Attributes expat adds from the internal subset's defaults are not part of the layer's tree (they
//   are not in the file): only specified attributes are compared.
// - Comments and PIs outside the document element and inside the DOCTYPE are not in the layer's tree.
// - White space only between markup is formatting in the layer's tree: in both dumps such runs are
//   dropped, and adjacent runs of text are joined (an entity reference may split one).
#include "expatreader.h"
#include "treedump.h"
#include "utf16check.h"
#include "xml/xmldocument.h"
#include "xml/xmlexception.h"

#include <QRegularExpression>
#include <cctype>
#include <cstring>
#include <string>

namespace {

bool startsWith(const uint8_t* data, size_t size, std::string_view prefix)
{
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

// A UTF-8 mark followed by a declaration that names an encoding other than UTF-8.
// UTF-16 without a byte-order mark: a zero byte among the first two, and no declaration at the start.
bool unmarkedUtf16WithoutDeclaration(const uint8_t* data, size_t size)
{
    if (size < 2 || (data[0] != 0 && data[1] != 0))
        return false;
    return !startsWith(data, size, std::string_view("<\0?\0", 4))
        && !startsWith(data, size, std::string_view("\0<\0?", 4));
}

bool markDisagreesWithDeclaration(const uint8_t* data, size_t size)
{
    if (!startsWith(data, size, "\xEF\xBB\xBF<?xml"))
        return false;
    const std::string_view text(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::string_view decl = text.substr(0, text.find("?>"));
    size_t at = decl.find("encoding");
    if (at == std::string_view::npos)
        return false;
    at = decl.find_first_of("\"'", at);
    if (at == std::string_view::npos)
        return false;
    const size_t close = decl.find(decl[at], at + 1);
    std::string name(decl.substr(at + 1, close == std::string_view::npos ? 0 : close - at - 1));
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name != "utf-8" && name != "utf8";
}

// True when the text, read as the layer reads it, holds a character above U+00FF.
bool beyondLatin1(const QByteArray& bytes)
{
    try {
        const xml::Utf8Text text = xml::DecodeText(bytes, xml::DetectEncoding(bytes));
        for (qsizetype i = text.from; i < text.bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(text.bytes[i]);
            if (b >= 0xC4) // the lead byte of U+0100 and above
                return true;
        }
        // A character reference in an entity's text can put such a character into a name, too.
        const QRegularExpression reference(QStringLiteral("&#(x[0-9a-fA-F]+|[0-9]+);"));
        for (const auto& match : reference.globalMatch(QString::fromUtf8(text.bytes.mid(text.from)))) {
            const QString digits = match.captured(1);
            bool ok = false;
            const uint value = digits.startsWith('x') ? digits.mid(1).toUInt(&ok, 16) : digits.toUInt(&ok, 10);
            if (!ok || value > 0xFF)
                return true;
        }
    } catch (const xml::XmlException&) {
        return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > size_t(INT32_MAX) || markDisagreesWithDeclaration(data, size) || HasBrokenSurrogate(data, size)
        || unmarkedUtf16WithoutDeclaration(data, size))
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const ExpatResult expat = ExpatReader().Read(data, size);
    if (expat.accepted && expat.lax)
        return 0;

    xml::XmlDocument doc;
    std::string refusal;
    try {
        doc.LoadXml(input);
    } catch (const xml::XmlException& e) {
        refusal = e.what();
    }
    const bool accepted = refusal.empty();
    if (accepted && !expat.accepted) {
        if (beyondLatin1(input))
            return 0;
        Fail("the layer accepts a document expat refuses");
    }
    if (!accepted && expat.accepted)
        Fail("the layer refuses a document expat accepts", {}, refusal);
    if (accepted) {
        const std::string tree = DumpTree(doc.DocumentElement());
        if (tree != expat.tree)
            Fail("the layer reads another tree than expat", expat.tree, tree);
    }
    return 0;
}
