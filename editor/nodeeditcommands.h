#pragma once

class EditorHost;

namespace editor {

class NodeCommands;

// "Edit", "Rename", "Attributes" and "Insert Child": the commands that change the selected row's node.
class NodeEditCommands {
public:
    NodeEditCommands(EditorHost& host, NodeCommands& commands);

    void Edit();
    void Rename();
    void Attributes();
    void InsertChild();

private:
    EditorHost& m_host;
    NodeCommands& m_commands;
};

} // namespace editor
