#include "editor/nodeeditcommands.h"

#include "dialogs/attributeeditor.h"
#include "dialogs/nodecreator.h"
#include "editor/nodecommands.h"
#include "editor/noderows.h"
#include "framework/listbox.h"
#include "framework/strings.h"
#include "shell/editorhost.h"

namespace editor {

NodeEditCommands::NodeEditCommands(EditorHost& host, NodeCommands& commands)
    : m_host(host)
    , m_commands(commands)
{
}

void NodeEditCommands::Edit()
{
    const QString current = fw::Trim(m_host.XMLList().Cell(m_host.XMLList().ListIndex(), 1));
    m_host.StringInput(QStringLiteral("New value:"), QStringLiteral("Change Property"), current);
    if (m_host.ModalResult.isEmpty())
        return;
    // The node's text, then the Value cell: a value the document refuses never shows in the list.
    m_host.nodeRows().setSelectedValue(m_host.ModalResult);
}

void NodeEditCommands::Rename()
{
    const QString current = m_host.XMLList().Cell(m_host.XMLList().ListIndex(), 0);
    m_host.StringInput(
        QStringLiteral("New name (not including attributes):"), QStringLiteral("Rename Property"), current);
    if (m_host.ModalResult.isEmpty())
        return;
    // The node's name, then the Name cell: a name the document refuses never shows in the list.
    m_host.nodeRows().renameSelected(m_host.ModalResult);
}

void NodeEditCommands::Attributes()
{
    const auto editor = fw::Window::Create<dialogs::AttributeEditor>();
    m_host.nodeRows().showAttributes(editor->Control<fw::Listbox>(QStringLiteral("Listbox1")));
    editor->ShowModal();
    m_commands.FillNodeRows();
}

void NodeEditCommands::InsertChild()
{
    const auto creator = fw::Window::Create<dialogs::NodeCreator>();
    creator->ShowModal();
}

} // namespace editor
