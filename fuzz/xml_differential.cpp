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
//   it may be accepted by the layer and refused by expat; the other way round is still a finding.
// - UTF-16 without a byte-order mark and without a declaration: expat reads it, XML makes it a fatal error (such a
//   file must be UTF-8). Such inputs are skipped.
// - UTF-16 with a surrogate that is not one half of a pair: expat reads it as a character, XML does not.
//   Such inputs are skipped.
// - Attributes expat adds from the internal subset's defaults are not part of the layer's tree (they
//   are not in the file): only specified attributes are compared.
// - Comments and PIs outside the document element and inside the DOCTYPE are not in the layer's tree.
// - White space only between markup is formatting in the layer's tree: in both dumps such runs are
//   dropped, and adjacent runs of text are joined (an entity reference may split one).
#include "treedump.h"
#include "utf16check.h"
#include "xml/xmldocument.h"
#include "xml/xmlexception.h"

#include <cctype>
#include <cstring>
#include <expat.h>
#include <iconv.h>
#include <string>
#include <strings.h>

namespace {

// What plain expat makes of a document: its verdict, its tree, and whether it showed a laxity.
struct ExpatResult {
    bool accepted = false;
    bool lax = false;
    std::string tree;
};

class ExpatReader {
public:
    ExpatResult Read(const uint8_t* data, size_t size)
    {
        XML_Parser p = XML_ParserCreate(nullptr);
        XML_SetUserData(p, this);
        XML_SetUnknownEncodingHandler(p, windows1252, nullptr);
        XML_SetXmlDeclHandler(p, [](void* self, const XML_Char* version, const XML_Char*, int) {
            if (version && !isXmlVersion(version))
                static_cast<ExpatReader*>(self)->m_result.lax = true;
        });
        XML_SetDoctypeDeclHandler(
            p, [](void* self, const XML_Char* name, const XML_Char*, const XML_Char*, int) { of(self).name(name); },
            nullptr);
        XML_SetEntityDeclHandler(p,
            [](void* self, const XML_Char* name, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
                const XML_Char*, const XML_Char*) { of(self).name(name); });
        XML_SetAttlistDeclHandler(p,
            [](void* self, const XML_Char* element, const XML_Char* attribute, const XML_Char*, const XML_Char*, int) {
                of(self).name(element);
                of(self).name(attribute);
            });
        XML_SetElementDeclHandler(p, [](void* self, const XML_Char* name, XML_Content* model) {
            of(self).name(name);
            XML_FreeContentModel(of(self).m_parser, model);
        });
        XML_SetElementHandler(
            p,
            [](void* self, const XML_Char* name, const XML_Char** atts) {
                ExpatReader& r = of(self);
                r.name(name);
                ++r.m_depth;
                r.m_dump.StartElement(name);
                const int specified = XML_GetSpecifiedAttributeCount(r.m_parser);
                for (int i = 0; i < specified; i += 2) {
                    r.name(atts[i]);
                    r.m_dump.Attribute(atts[i], atts[i + 1]);
                }
            },
            [](void* self, const XML_Char*) {
                --of(self).m_depth;
                of(self).m_dump.EndElement();
            });
        XML_SetCharacterDataHandler(p, [](void* self, const XML_Char* s, int len) {
            ExpatReader& r = of(self);
            if (r.m_inCData)
                r.m_cdata.append(s, size_t(len));
            else if (r.m_depth > 0)
                r.m_dump.Text({ s, size_t(len) });
        });
        XML_SetCdataSectionHandler(
            p,
            [](void* self) {
                of(self).m_inCData = true;
                of(self).m_cdata.clear();
            },
            [](void* self) {
                ExpatReader& r = of(self);
                r.m_inCData = false;
                r.m_dump.Leaf('D', {}, r.m_cdata);
            });
        XML_SetCommentHandler(p, [](void* self, const XML_Char* text) {
            if (of(self).m_depth > 0)
                of(self).m_dump.Leaf('C', {}, text);
        });
        XML_SetProcessingInstructionHandler(p, [](void* self, const XML_Char* target, const XML_Char* text) {
            of(self).name(target);
            if (of(self).m_depth > 0)
                of(self).m_dump.Leaf('P', target, text);
        });
        m_parser = p;
        m_result.accepted = XML_Parse(p, reinterpret_cast<const char*>(data), int(size), XML_TRUE) == XML_STATUS_OK;
        XML_ParserFree(p);
        m_result.tree = m_dump.Result();
        return m_result;
    }

private:
    static ExpatReader& of(void* self) { return *static_cast<ExpatReader*>(self); }

    static bool isXmlVersion(const char* v)
    {
        if (v[0] != '1' || v[1] != '.' || !v[2])
            return false;
        for (const char* c = v + 2; *c; ++c)
            if (*c < '0' || *c > '9')
                return false;
        return true;
    }

    // Notes a name holding ª, µ or º (UTF-8 C2 AA, C2 B5, C2 BA).
    void name(const char* text)
    {
        if (!text)
            return;
        for (const char* c = text; *c; ++c)
            if (c[0] == '\xC2' && (c[1] == '\xAA' || c[1] == '\xB5' || c[1] == '\xBA'))
                m_result.lax = true;
    }

    // windows-1252 through the C library's converter, so that the oracle does not share the layer's
    // table; the five bytes the code page leaves undefined keep their C1 code point, as in the layer.
    static int XMLCALL windows1252(void*, const XML_Char* name, XML_Encoding* info)
    {
        if (strcasecmp(name, "windows-1252") != 0 && strcasecmp(name, "cp1252") != 0)
            return XML_STATUS_ERROR;
        iconv_t cd = iconv_open("UTF-32LE", "WINDOWS-1252");
        if (cd == iconv_t(-1))
            return XML_STATUS_ERROR;
        for (int b = 0; b < 256; ++b) {
            char in = char(b);
            unsigned char out[4] = {};
            char* inp = &in;
            char* outp = reinterpret_cast<char*>(out);
            size_t inLeft = 1, outLeft = 4;
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1))
                info->map[b] = b;
            else
                info->map[b] = int(out[0] | out[1] << 8 | out[2] << 16 | unsigned(out[3]) << 24);
        }
        iconv_close(cd);
        info->data = nullptr;
        info->convert = nullptr;
        info->release = nullptr;
        return XML_STATUS_OK;
    }

    XML_Parser m_parser = nullptr;
    ExpatResult m_result;
    TreeDump m_dump;
    std::string m_cdata;
    bool m_inCData = false;
    int m_depth = 0;
};

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
