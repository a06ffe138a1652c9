#pragma once

#include "xml/xmlnode.h"

#include <cstdint>

class EditorHost;
class QString;
namespace fw {
class MenuItem;
}

namespace editor {

// The node list's events and the four node buttons: they decide which node commands the user can reach and
// hand each chosen command to the dispatcher.
class NodeList {
public:
    explicit NodeList(EditorHost& host);

    bool XMLList_HeaderPressed(int32_t column);
    bool XMLList_ConstructContextualMenu(fw::MenuItem& base, int32_t x, int32_t y);
    void XMLList_Change();
    void XMLList_DoubleClick();
    void EditButton_Action();
    void RenameButton_Action();
    void InButton_Action();
    void OutButton_Action();

    // A value node: no children, or one "#text" child.
    static bool CanEditNode(const xml::XmlNode& node);
    // A structured node: several children, or one that is not "#text".
    static bool CanEnterNode(const xml::XmlNode& node);

private:
    // Hands the node command named caption to the dispatcher.
    void hand(const QString& caption);

    EditorHost& m_host;
};

} // namespace editor
