#include "editor/nodecommands.h"

#include "editor/nodeeditcommands.h"
#include "editor/noderows.h"
#include "framework/editfield.h"
#include "framework/menuitem.h"
#include "framework/strings.h"
#include "shell/editorhost.h"

namespace editor {

NodeCommands::NodeCommands(EditorHost& host)
    : m_host(host)
    , m_edit(std::make_unique<NodeEditCommands>(host, *this))
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
        m_host.ErrorHandler();
    }
    return false;
}

void NodeCommands::FillNodeRows()
{
    m_host.nodeRows().showChildren(m_host.CurrentNode, AttributeColumn::PairsJoinedBySeparator);
}

void NodeCommands::NestingPath()
{
    xml::XmlNode node = m_host.CurrentNode;
    m_host.StatusNest().SetText(QString());
    while (!node.Parent().IsNil()) {
        m_host.StatusNest().SetText(node.Name() + QStringLiteral(" > ") + m_host.StatusNest().Text());
        node = node.Parent();
    }
}

void NodeCommands::DeleteNode()
{
    // The child leaves the document first, then its row.
    m_host.nodeRows().removeSelected();
}

void NodeCommands::In()
{
    m_host.CurrentNode = m_host.selectedNode();
    FillNodeRows();
    NestingPath();
}

void NodeCommands::Out()
{
    m_host.CurrentNode = m_host.CurrentNode.Parent();
    FillNodeRows();
    NestingPath();
}

} // namespace editor
