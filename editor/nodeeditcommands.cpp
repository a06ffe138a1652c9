#include "editor/nodeeditcommands.h"

#include "dialogs/attributeeditor.h"
#include "dialogs/nodecreator.h"
#include "editor/nodecommands.h"
#include "framework/listbox.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"
#include "xml/xmlattribute.h"
#include "xml/xmldocument.h"

namespace editor {

NodeEditCommands::NodeEditCommands(MainWindow& window, NodeCommands& commands)
    : m_window(window)
    , m_commands(commands)
{
}

void NodeEditCommands::Edit()
{
    const QString current = fw::Trim(m_window.XMLList().Cell(m_window.XMLList().ListIndex(), 1));
    m_window.StringInput(QStringLiteral("New value:"), QStringLiteral("Change Property"), current);
    if (m_window.ModalResult.isEmpty())
        return;
    // The node changes before its cell, so a value the document refuses never shows in the list.
    if (m_window.SelectedNode().ChildCount() == 1)
        m_window.SelectedNode().Child(0).SetValue(m_window.ModalResult);
    else
        m_window.SelectedNode().AppendChild(m_window.XMLRead->CreateTextNode(m_window.ModalResult));
    m_window.XMLList().SetCell(m_window.XMLList().ListIndex(), 1, m_window.ModalResult);
}

void NodeEditCommands::Rename()
{
    const QString current = m_window.XMLList().Cell(m_window.XMLList().ListIndex(), 0);
    m_window.StringInput(
        QStringLiteral("New name (not including attributes):"), QStringLiteral("Rename Property"), current);
    if (m_window.ModalResult.isEmpty())
        return;
    // The node changes before its cell, so a name the document refuses never shows in the list.
    m_window.SelectedNode().SetName(m_window.ModalResult);
    m_window.XMLList().SetCell(m_window.XMLList().ListIndex(), 0, m_window.ModalResult);
}

void NodeEditCommands::Attributes()
{
    const auto editor = fw::Window::Create<dialogs::AttributeEditor>();
    auto& rows = editor->Control<fw::Listbox>(QStringLiteral("Listbox1"));
    for (int i = 0; i <= m_window.SelectedNode().AttributeCount() - 1; ++i) {
        rows.AddRow(m_window.SelectedNode().GetAttributeNode(i).Name());
        rows.SetCell(rows.LastIndex(), 1, m_window.SelectedNode().GetAttributeNode(i).Value());
    }
    editor->ShowModal();
    m_window.XMLList().DeleteAllRows();
    m_commands.FillNodeRows();
}

void NodeEditCommands::InsertChild()
{
    const auto creator = fw::Window::Create<dialogs::NodeCreator>();
    creator->ShowModal();
}

} // namespace editor
