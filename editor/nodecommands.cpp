#include "editor/nodecommands.h"

#include "editor/nodeeditcommands.h"
#include "shell/mainwindow.h"

namespace editor {

NodeCommands::NodeCommands(MainWindow& window)
    : m_window(window)
    , m_edit(std::make_unique<NodeEditCommands>(window, *this))
{
}

NodeCommands::~NodeCommands() = default;

bool NodeCommands::XMLList_ContextualMenuAction(fw::MenuItem&)
{
    return false;
}

void NodeCommands::FillNodeRows() { }
void NodeCommands::NestingPath() { }
void NodeCommands::DeleteNode() { }
void NodeCommands::In() { }
void NodeCommands::Out() { }

} // namespace editor
