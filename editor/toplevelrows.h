#pragma once

class MainWindow;
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

// Empties the node list and fills it with the children of XMLRead's document element.
void FillTopLevelRows(MainWindow& window, AttributeColumn form);

// Appends the row of one node: its name, the trimmed value of a sole "#text" child, its attributes in the form given.
void AddNodeRow(fw::Listbox& list, const xml::XmlNode& child, AttributeColumn form);

} // namespace editor
