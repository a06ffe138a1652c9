#pragma once

#include <string_view>

namespace xml {

// True when the UTF-8 text is an XML name (start and name characters of XML 1.0, fifth edition).
bool IsXmlName(std::string_view utf8);

// True when every character of the UTF-8 text may stand in an XML document.
bool IsXmlText(std::string_view utf8);

} // namespace xml
