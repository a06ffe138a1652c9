#pragma once

class EditorHost;
class QString;
namespace fw {
class Listbox;
}
namespace xml {
class XmlNode;
}

namespace editor {

// How a row-filling action writes the attribute column.
enum class AttributeColumn {
    PairsEachFollowedBySeparator, // File > Open > XML: name " = " value ", " for every attribute
    PairsJoinedBySeparator, // the node commands' refill: name " = " value pairs joined by ", "
    Empty, // File > Open > QEV
};

// Keeps the lists that show nodes in step with the document: in the node list row r shows CurrentNode's child r, in
// the attribute editor's list row r shows the selected node's attribute r. Every change of a shown node goes through
// here, the node first and its cell after, so a change the document refuses never shows in a list.
class NodeRows {
public:
    explicit NodeRows(EditorHost& host);

    // Empties the node list and adds one row per child of parent, in document order: the name, the trimmed value of
    // a sole "#text" child, the attributes in the form given.
    void showChildren(const xml::XmlNode& parent, AttributeColumn form);
    // Sets the selected row's node's text (its only child's value, or a new text child), then the Value cell.
    void setSelectedValue(const QString& value);
    // Renames the selected row's node, then its Name cell.
    void renameSelected(const QString& name);
    // Removes the selected row's node from CurrentNode, then the row.
    void removeSelected();

    // Empties list and adds one row per attribute of the selected node: its name, its value.
    void showAttributes(fw::Listbox& list);
    // Gives the attribute of list's selected row a new name and value, each followed by its cell.
    void setAttribute(fw::Listbox& list, const QString& name, const QString& value);
    // Adds the attribute to the selected node; a name it has already only changes that attribute's value and row.
    void addAttribute(fw::Listbox& list, const QString& name, const QString& value);
    // Removes the attribute of list's selected row, then the row.
    void removeAttribute(fw::Listbox& list);

private:
    EditorHost& m_host;
};

} // namespace editor
