#include "editor/nodelist.h"

#include "framework/listbox.h"
#include "framework/menuitem.h"
#include "framework/pushbutton.h"
#include "framework/strings.h"
#include "shell/editorhost.h"

namespace editor {

namespace {

    bool isText(const xml::XmlNode& node) { return fw::Equals(node.Name(), QStringLiteral("#text")); }

} // namespace

NodeList::NodeList(EditorHost& host)
    : m_host(host)
{
}

bool NodeList::XMLList_HeaderPressed(int32_t) { return true; }

bool NodeList::XMLList_ConstructContextualMenu(fw::MenuItem& base, int32_t, int32_t)
{
    try {
        if (m_host.XMLList().ListIndex() == -1)
            return false;
        const auto append
            = [&base](const char* caption) { base.Append(fw::MakeRef<fw::MenuItem>(QString::fromLatin1(caption))); };
        if (CanEditNode(m_host.selectedNode()))
            append("Edit");
        append("Rename");
        append("Attributes");
        append("-");
        append("Insert Child");
        append("Delete Node");
        append("-");
        if (CanEnterNode(m_host.selectedNode()))
            append("In");
        if (!m_host.CurrentNode.Parent().IsNil())
            append("Out");
        return true;
    } catch (...) {
        m_host.ErrorHandler();
        return false;
    }
}

void NodeList::XMLList_Change()
{
    try {
        if (m_host.XMLList().ListIndex() != -1) {
            m_host.EditButton().SetEnabled(CanEditNode(m_host.selectedNode()));
            m_host.RenameButton().SetEnabled(true);
            m_host.InButton().SetEnabled(CanEnterNode(m_host.selectedNode()));
            m_host.OutButton().SetEnabled(!m_host.CurrentNode.Parent().IsNil());
        } else {
            m_host.EditButton().SetEnabled(false);
            m_host.RenameButton().SetEnabled(false);
            m_host.InButton().SetEnabled(false);
            m_host.OutButton().SetEnabled(false);
        }
    } catch (...) {
        m_host.ErrorHandler();
    }
}

void NodeList::XMLList_DoubleClick()
{
    try {
        if (m_host.XMLList().ListIndex() == -1)
            return;
        if (CanEditNode(m_host.selectedNode()))
            hand(QStringLiteral("Edit"));
        else if (CanEnterNode(m_host.selectedNode()))
            hand(QStringLiteral("In"));
    } catch (...) {
        m_host.ErrorHandler();
    }
}

void NodeList::EditButton_Action() { hand(QStringLiteral("Edit")); }

void NodeList::RenameButton_Action() { hand(QStringLiteral("Rename")); }

void NodeList::InButton_Action() { hand(QStringLiteral("In")); }

void NodeList::OutButton_Action() { hand(QStringLiteral("Out")); }

bool NodeList::CanEditNode(const xml::XmlNode& node)
{
    return (node.ChildCount() == 1 && isText(node.Child(0))) || node.ChildCount() == 0;
}

bool NodeList::CanEnterNode(const xml::XmlNode& node)
{
    return node.ChildCount() > 1 || (node.ChildCount() == 1 && !isText(node.Child(0)));
}

void NodeList::hand(const QString& caption)
{
    fw::MenuItem item(caption);
    m_host.XMLList_ContextualMenuAction(item);
}

} // namespace editor
