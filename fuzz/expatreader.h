#pragma once

#include "treedump.h"

#include <cstdint>
#include <expat.h>
#include <string>

// What plain expat makes of a document: its verdict, its tree, and whether it showed a laxity.
// The reference the differential fuzz target and the conformance test compare the layer's parser with.
struct ExpatResult {
    bool accepted = false;
    bool lax = false; // a version other than "1." and digits, or ª µ º in a name: expat accepts what XML does not
    std::string tree; // in TreeDump's form
};

class ExpatReader {
public:
    ExpatResult Read(const uint8_t* data, size_t size);

private:
    static ExpatReader& of(void* self) { return *static_cast<ExpatReader*>(self); }
    static bool isXmlVersion(const char* v);
    void name(const char* text);
    static int XMLCALL windows1252(void*, const XML_Char* name, XML_Encoding* info);

    XML_Parser m_parser = nullptr;
    ExpatResult m_result;
    TreeDump m_dump;
    std::string m_cdata;
    bool m_inCData = false;
    int m_depth = 0;
};
