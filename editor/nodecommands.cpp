#include "editor/nodecommands.h"

#include "editor/nodeeditcommands.h"
#include "editor/toplevelrows.h"
#include "framework/editfield.h"
#include "framework/listbox.h"
#include "framework/menuitem.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"

namespace editor {

NodeCommands::NodeCommands(MainWindow& window)
    : m_window(window)
    , m_edit(std::make_unique<NodeEditCommands>(window, *this))
{
}

NodeCommands::~NodeCommands() = default;

bool NodeCommands::XMLList_ContextualMenuAction(fw::MenuItem& item)
{
    try {
        const QString text = item.Text();
        if (fw::Equals(text, QStringLiteral("Edit")))
            m_edit->Edit();
        else if (fw::Equals(text, QStringLiteral("Rename")))
            m_edit->Rename();
        else if (fw::Equals(text, QStringLiteral("Attributes")))
            m_edit->Attributes();
        else if (fw::Equals(text, QStringLiteral("Insert Child")))
            m_edit->InsertChild();
        else if (fw::Equals(text, QStringLiteral("Delete Node")))
            DeleteNode();
        else if (fw::Equals(text, QStringLiteral("In")))
            In();
        else if (fw::Equals(text, QStringLiteral("Out")))
            Out();
    } catch (...) {
        m_window.ErrorHandler();
    }
    return false;
}

void NodeCommands::FillNodeRows()
{
    fw::Listbox& list = m_window.XMLList();
    for (int i = 0; i <= m_window.CurrentNode.ChildCount() - 1; ++i)
        AddNodeRow(list, m_window.CurrentNode.Child(i), AttributeColumn::PairsJoinedBySeparator);
}

void NodeCommands::NestingPath()
{
    xml::XmlNode node = m_window.CurrentNode;
    m_window.StatusNest().SetText(QString());
    while (!node.Parent().IsNil()) {
        m_window.StatusNest().SetText(node.Name() + QStringLiteral(" > ") + m_window.StatusNest().Text());
        node = node.Parent();
    }
}

void NodeCommands::DeleteNode()
{
    const xml::XmlNode child = m_window.SelectedNode();
    m_window.CurrentNode.RemoveChild(child);
    m_window.XMLList().RemoveRow(m_window.XMLList().ListIndex());
}

void NodeCommands::In()
{
    m_window.CurrentNode = m_window.SelectedNode();
    m_window.XMLList().DeleteAllRows();
    FillNodeRows();
    NestingPath();
}

void NodeCommands::Out()
{
    m_window.CurrentNode = m_window.CurrentNode.Parent();
    m_window.XMLList().DeleteAllRows();
    FillNodeRows();
    NestingPath();
}

} // namespace editor
