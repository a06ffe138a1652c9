#pragma once

#include <memory>

class EditorHost;
namespace fw {
class MenuItem;
}

namespace editor {

class NodeEditCommands;

// The node-command dispatcher with "Delete Node", "In" and "Out", the node list's refill and the nesting path.
class NodeCommands {
public:
    explicit NodeCommands(EditorHost& host);
    ~NodeCommands();

    // Runs the command named by the item's text (letter case ignored); reports any failure in the error box.
    bool XMLList_ContextualMenuAction(fw::MenuItem& item);

    // Empties the node list and fills it from CurrentNode's children (attributes as pairs joined by ", ").
    void FillNodeRows();
    // Writes the path from the top down to CurrentNode into StatusNest.
    void NestingPath();

private:
    void DeleteNode();
    void In();
    void Out();

    EditorHost& m_host;
    std::unique_ptr<NodeEditCommands> m_edit;
};

} // namespace editor
