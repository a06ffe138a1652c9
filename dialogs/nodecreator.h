#pragma once

#include "framework/window.h"

namespace dialogs {

// The node-creation dialog: appends an element named by NCName under the selected node of the main window's node
// list, with a text child holding NCValue unless "Nesting" is checked.
class NodeCreator : public fw::Window {
    Q_OBJECT

public:
    NodeCreator();

    void NCNesting_Action();
    void PushButton1_Action();
    void PushButton2_Action();

protected:
    void Layout() override;
    void CreateControls() override;

private:
    void _CreateControls0();
};

} // namespace dialogs
