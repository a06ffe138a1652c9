#pragma once

namespace fw {

// One control of a window's design, as a row of the window's table of controls.
struct ControlRow {
    enum class Kind { TabPanel, Listbox, EditField, PushButton, CheckBox, GroupBox, Separator, StaticText };
    // Edges locked to the container's same edge, or-ed together.
    enum Locks { Left = 1, Top = 2, Right = 4, Bottom = 8, AllEdges = 15 };

    const char* name;
    Kind kind;
    int left, top, width, height;
    int locks;
    // Tab page from 1, 0 for every page.
    int page;
    // Position in the keyboard focus order.
    int tabIndex;
    bool enabled;
    // A button's or label's text, a group box's caption; nullptr for none.
    const char* caption;
};

} // namespace fw
