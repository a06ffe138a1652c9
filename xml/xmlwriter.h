#pragma once

#include <QByteArray>

namespace xml::detail {

class Tree;

// The bytes of a tree: an unchanged tree gives back its source exactly; after
// edits only edited nodes are written anew, in the source's encoding.
QByteArray WriteXml(const Tree& tree);

} // namespace xml::detail
