#include "editor/nodelist.h"

#include "framework/listbox.h"
#include "framework/menuitem.h"
#include "framework/pushbutton.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"

namespace editor {

namespace {

    bool IsText(const xml::XmlNode& node) { return fw::Equals(node.Name(), QStringLiteral("#text")); }

} // namespace

NodeList::NodeList(MainWindow& window)
    : m_window(window)
{
}

bool NodeList::XMLList_HeaderPressed(int32_t) { return true; }

bool NodeList::XMLList_ConstructContextualMenu(fw::MenuItem& base, int32_t, int32_t)
{
    try {
        if (m_window.XMLList().ListIndex() == -1)
            return false;
        const auto append
            = [&base](const char* caption) { base.Append(fw::MakeRef<fw::MenuItem>(QString::fromLatin1(caption))); };
        if (CanEditNode(m_window.SelectedNode()))
            append("Edit");
        append("Rename");
        append("Attributes");
        append("-");
        append("Insert Child");
        append("Delete Node");
        append("-");
        if (CanEnterNode(m_window.SelectedNode()))
            append("In");
        if (!m_window.CurrentNode.Parent().IsNil())
            append("Out");
        return true;
    } catch (...) {
        m_window.ErrorHandler();
        return false;
    }
}

void NodeList::XMLList_Change()
{
    try {
        if (m_window.XMLList().ListIndex() != -1) {
            m_window.EditButton().SetEnabled(CanEditNode(m_window.SelectedNode()));
            m_window.RenameButton().SetEnabled(true);
            m_window.InButton().SetEnabled(CanEnterNode(m_window.SelectedNode()));
            m_window.OutButton().SetEnabled(!m_window.CurrentNode.Parent().IsNil());
        } else {
            m_window.EditButton().SetEnabled(false);
            m_window.RenameButton().SetEnabled(false);
            m_window.InButton().SetEnabled(false);
            m_window.OutButton().SetEnabled(false);
        }
    } catch (...) {
        m_window.ErrorHandler();
    }
}

void NodeList::XMLList_DoubleClick()
{
    try {
        if (m_window.XMLList().ListIndex() == -1)
            return;
        if (CanEditNode(m_window.SelectedNode()))
            Hand(QStringLiteral("Edit"));
        else if (CanEnterNode(m_window.SelectedNode()))
            Hand(QStringLiteral("In"));
    } catch (...) {
        m_window.ErrorHandler();
    }
}

void NodeList::EditButton_Action() { Hand(QStringLiteral("Edit")); }

void NodeList::RenameButton_Action() { Hand(QStringLiteral("Rename")); }

void NodeList::InButton_Action() { Hand(QStringLiteral("In")); }

void NodeList::OutButton_Action() { Hand(QStringLiteral("Out")); }

bool NodeList::CanEditNode(const xml::XmlNode& node)
{
    return (node.ChildCount() == 1 && IsText(node.Child(0))) || node.ChildCount() == 0;
}

bool NodeList::CanEnterNode(const xml::XmlNode& node)
{
    return node.ChildCount() > 1 || (node.ChildCount() == 1 && !IsText(node.Child(0)));
}

void NodeList::Hand(const QString& caption)
{
    fw::MenuItem item(caption);
    m_window.XMLList_ContextualMenuAction(item);
}

} // namespace editor
