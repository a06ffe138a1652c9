#pragma once

class MainWindow;

namespace editor {

// How an open action writes the attribute column.
enum class AttributeColumn {
    PairsEachFollowedBySeparator,  // File > Open > XML: name " = " value ", " for every attribute
    Empty,                         // File > Open > QEV
};

// Empties the node list and fills it with the children of XMLRead's document element.
void FillTopLevelRows(MainWindow& window, AttributeColumn form);

} // namespace editor
