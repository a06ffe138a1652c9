#include "editor/nodeeditcommands.h"

#include "editor/nodecommands.h"
#include "shell/mainwindow.h"

namespace editor {

NodeEditCommands::NodeEditCommands(MainWindow& window, NodeCommands& commands)
    : m_window(window)
    , m_commands(commands)
{
}

void NodeEditCommands::Edit() { }
void NodeEditCommands::Rename() { }
void NodeEditCommands::Attributes() { }
void NodeEditCommands::InsertChild() { }

} // namespace editor
