#include "editor/noderows.h"

#include "framework/listbox.h"
#include "framework/strings.h"
#include "shell/editorhost.h"
#include "xml/encoding.h"
#include "xml/xmlattribute.h"
#include "xml/xmldocument.h"
#include "xml/xmlnode.h"

#include <string>

namespace editor {

namespace {

    // The attribute column in either pairs form, built as UTF-8 and converted once: the list shows every child's.
    QString attributePairs(const xml::XmlNode& node, AttributeColumn form)
    {
        constexpr std::string_view equals(" = ");
        constexpr std::string_view separator(", ");
        thread_local std::string text;
        text.clear();
        node.ForEachAttributeText([&](std::string_view name, std::string_view value) {
            if (form != AttributeColumn::PairsEachFollowedBySeparator && !text.empty())
                text.append(separator);
            text.append(name).append(equals).append(value);
            if (form == AttributeColumn::PairsEachFollowedBySeparator)
                text.append(separator);
        });
        return xml::Utf8ToQString(text);
    }

    void addNodeRow(fw::Listbox& list, const xml::XmlNode& child, AttributeColumn form)
    {
        list.AddRow(child.Name());
        if (child.ChildCount() == 1 && fw::Equals(child.Child(0).Name(), QStringLiteral("#text")))
            list.SetCell(list.LastIndex(), 1, fw::Trim(child.Child(0).Value()));
        if (form == AttributeColumn::Empty)
            return;
        // The cell is written once, from the text that writing it pair by pair would leave, built in linear time.
        // A node without attributes gets no cell; with any, the text is never empty.
        const QString pairs = attributePairs(child, form);
        if (!pairs.isEmpty())
            list.SetCell(list.LastIndex(), 2, pairs);
    }

    // Index of the node's attribute of that name, -1 when it has none.
    int attributeIndex(const xml::XmlNode& node, const QString& name)
    {
        for (int i = 0; i < node.AttributeCount(); ++i)
            if (node.GetAttributeNode(i).Name() == name)
                return i;
        return -1;
    }

} // namespace

NodeRows::NodeRows(EditorHost& host)
    : m_host(host)
{
}

void NodeRows::showChildren(const xml::XmlNode& parent, AttributeColumn form)
{
    fw::Listbox& list = m_host.XMLList();
    list.DeleteAllRows();
    // The count is read again before every pass, as the children are fetched anew.
    for (int i = 0; i <= parent.ChildCount() - 1; ++i)
        addNodeRow(list, parent.Child(i), form);
}

void NodeRows::setSelectedValue(const QString& value)
{
    if (m_host.selectedNode().ChildCount() == 1)
        m_host.selectedNode().Child(0).SetValue(value);
    else
        m_host.selectedNode().AppendChild(m_host.XMLRead->CreateTextNode(value));
    m_host.XMLList().SetCell(m_host.XMLList().ListIndex(), 1, value);
}

void NodeRows::renameSelected(const QString& name)
{
    m_host.selectedNode().SetName(name);
    m_host.XMLList().SetCell(m_host.XMLList().ListIndex(), 0, name);
}

void NodeRows::removeSelected()
{
    m_host.CurrentNode.RemoveChild(m_host.selectedNode());
    m_host.XMLList().RemoveRow(m_host.XMLList().ListIndex());
}

void NodeRows::showAttributes(fw::Listbox& list)
{
    list.DeleteAllRows();
    for (int i = 0; i <= m_host.selectedNode().AttributeCount() - 1; ++i) {
        list.AddRow(m_host.selectedNode().GetAttributeNode(i).Name());
        list.SetCell(list.LastIndex(), 1, m_host.selectedNode().GetAttributeNode(i).Value());
    }
}

void NodeRows::setAttribute(fw::Listbox& list, const QString& name, const QString& value)
{
    m_host.selectedNode().GetAttributeNode(list.ListIndex()).SetName(name);
    list.SetCell(list.ListIndex(), 0, name);
    m_host.selectedNode().GetAttributeNode(list.ListIndex()).SetValue(value);
    list.SetCell(list.ListIndex(), 1, value);
}

void NodeRows::addAttribute(fw::Listbox& list, const QString& name, const QString& value)
{
    xml::XmlAttribute attribute = m_host.XMLRead->CreateAttribute(name);
    attribute.SetValue(value);
    const int before = m_host.selectedNode().AttributeCount();
    m_host.selectedNode().SetAttributeNode(attribute);
    // A second row for a name the node had already would no longer stand for the attribute of its index.
    if (m_host.selectedNode().AttributeCount() == before) {
        const int existing = attributeIndex(m_host.selectedNode(), attribute.Name());
        if (existing >= 0 && existing < list.ListCount()) {
            list.SetCell(existing, 1, attribute.Value());
            return;
        }
    }
    list.AddRow(attribute.Name());
    list.SetCell(list.LastIndex(), 1, attribute.Value());
}

void NodeRows::removeAttribute(fw::Listbox& list)
{
    m_host.selectedNode().RemoveAttribute(list.Cell(list.ListIndex(), 0));
    list.RemoveRow(list.ListIndex());
}

} // namespace editor
