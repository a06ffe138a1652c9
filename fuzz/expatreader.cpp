#include "expatreader.h"

#include <iconv.h>
#include <strings.h>

ExpatResult ExpatReader::Read(const uint8_t* data, size_t size)
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
    XML_SetAttlistDeclHandler(
        p, [](void* self, const XML_Char* element, const XML_Char* attribute, const XML_Char*, const XML_Char*, int) {
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

bool ExpatReader::isXmlVersion(const char* v)
{
    if (v[0] != '1' || v[1] != '.' || !v[2])
        return false;
    for (const char* c = v + 2; *c; ++c)
        if (*c < '0' || *c > '9')
            return false;
    return true;
}

// Notes a name holding ª, µ or º (UTF-8 C2 AA, C2 B5, C2 BA).
void ExpatReader::name(const char* text)
{
    if (!text)
        return;
    for (const char* c = text; *c; ++c)
        if (c[0] == '\xC2' && (c[1] == '\xAA' || c[1] == '\xB5' || c[1] == '\xBA'))
            m_result.lax = true;
}

// windows-1252 through the C library's converter, so that the oracle does not share the layer's
// table; the five bytes the code page leaves undefined keep their C1 code point, as in the layer.
int XMLCALL ExpatReader::windows1252(void*, const XML_Char* name, XML_Encoding* info)
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
