#include "dialogs/stringinput.h"

namespace dialogs {

StringInput::StringInput() = default;

bool StringInput::EditField1_KeyDown(const QString&)
{
    return false;
}
void StringInput::PushButton1_Action() { }
void StringInput::Layout() { }
void StringInput::CreateControls() { }
void StringInput::Event_Close() { }
void StringInput::_CreateControls0() { }

} // namespace dialogs
