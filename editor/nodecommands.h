#pragma once

#include <memory>

class MainWindow;
namespace fw {
class MenuItem;
}

namespace editor {

class NodeEditCommands;

// The node-command dispatcher with "Delete Node", "In" and "Out", the node list's refill and the nesting path.
class NodeCommands {
public:
    explicit NodeCommands(MainWindow& window);
    ~NodeCommands();

    // Runs the command named by the item's text (letter case ignored); reports any failure in the error box.
    bool XMLList_ContextualMenuAction(fw::MenuItem& item);

    // Fills the emptied node list from CurrentNode's children (attributes as pairs joined by ", ").
    void FillNodeRows();
    // Writes the path from the top down to CurrentNode into StatusNest.
    void NestingPath();

private:
    void DeleteNode();
    void In();
    void Out();

    MainWindow& m_window;
    std::unique_ptr<NodeEditCommands> m_edit;
};

} // namespace editor
