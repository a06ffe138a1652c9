#pragma once

#include <QByteArray>
#include <memory>
#include <string>
#include <string_view>

namespace xml::detail {

class Tree;

// Parses a whole file into a new tree. Throws XmlException, naming the parser's
// message, line and column, for bytes that are not well-formed XML.
std::shared_ptr<Tree> ParseXml(const QByteArray& bytes);

// Decodes UTF-8 text as written in content that holds no references but predefined and character ones, as the
// parser decodes it.
void DecodeReferences(std::string_view raw, std::string& out);

} // namespace xml::detail
