#pragma once

class MainWindow;

namespace editor {

class NodeCommands;

// "Edit", "Rename", "Attributes" and "Insert Child": the commands that change the selected row's node.
class NodeEditCommands {
public:
    NodeEditCommands(MainWindow& window, NodeCommands& commands);

    void Edit();
    void Rename();
    void Attributes();
    void InsertChild();

private:
    MainWindow& m_window;
    NodeCommands& m_commands;
};

} // namespace editor
