#include "editor/nodelist.h"

#include "shell/mainwindow.h"

namespace editor {

NodeList::NodeList(MainWindow& window)
    : m_window(window)
{
}

bool NodeList::XMLList_HeaderPressed(int32_t)
{
    return true;
}

bool NodeList::XMLList_ConstructContextualMenu(fw::MenuItem&, int32_t, int32_t)
{
    return false;
}

void NodeList::XMLList_Change() { }
void NodeList::XMLList_DoubleClick() { }
void NodeList::EditButton_Action() { }
void NodeList::RenameButton_Action() { }
void NodeList::InButton_Action() { }
void NodeList::OutButton_Action() { }

bool NodeList::CanEditNode(const xml::XmlNode&)
{
    return false;
}

bool NodeList::CanEnterNode(const xml::XmlNode&)
{
    return false;
}

} // namespace editor
