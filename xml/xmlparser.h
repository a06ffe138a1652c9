#pragma once

#include <QByteArray>
#include <memory>

namespace xml::detail {

class Tree;

// Parses a whole file into a new tree. Throws XmlException, naming the parser's
// message, line and column, for bytes that are not well-formed XML.
std::shared_ptr<Tree> ParseXml(const QByteArray& bytes);

} // namespace xml::detail
