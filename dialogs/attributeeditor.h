#pragma once

#include "framework/window.h"

namespace dialogs {

// The attribute editor of the selected node of the main window's node list: one row per attribute (name, value);
// "Update", "Add" and "Delete" change the node at once, "OK" closes. The caller fills Listbox1 before showing it.
class AttributeEditor : public fw::Window {
    Q_OBJECT

public:
    AttributeEditor();

    void Listbox1_Change();
    void AttrUpdate_Action();
    void AttrAdd_Action();
    void AttrDelete_Action();
    void PushButton1_Action();

protected:
    void Layout() override;
    void CreateControls() override;

private:
    void _CreateControls0();
};

} // namespace dialogs
