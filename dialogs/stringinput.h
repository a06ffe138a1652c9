#pragma once

#include "framework/window.h"

namespace dialogs {

// The one-line prompt: a label, a field and "OK". Closing it writes the answer into the main window's
// ModalResult: the field's text when confirmed, otherwise the empty string.
class StringInput : public fw::Window {
    Q_OBJECT

public:
    StringInput();

    bool OK = false;

    bool EditField1_KeyDown(const QString& key);
    void PushButton1_Action();

protected:
    void Layout() override;
    void CreateControls() override;
    void Event_Close() override;

private:
    void _CreateControls0();
};

} // namespace dialogs
