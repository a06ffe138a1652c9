#include "dialogs/stringinput.h"

#include "framework/editfield.h"
#include "framework/pushbutton.h"
#include "framework/statictext.h"
#include "framework/strings.h"
#include "shell/editorhost.h"

namespace dialogs {

StringInput::StringInput() = default;

void StringInput::Layout()
{
    SetTitle(QStringLiteral("Message Box"));
    SetMinimumSize(64, 64);
    SetMaximumSize(32000, 32000);
    SetSize(284, 114);
    SetResizable(false);
    SetCloseOnlyFrame(true);
}

void StringInput::CreateControls() { _CreateControls0(); }

void StringInput::_CreateControls0()
{
    using Kind = fw::ControlRow::Kind;
    static constexpr fw::ControlRow controls[] = {
        { "StaticText1", Kind::StaticText, 20, 14, 244, 20, 0, 0, 0, true, "Message:" },
        { "EditField1", Kind::EditField, 20, 42, 244, 22, 0, 0, 1, true, nullptr },
        { "PushButton1", Kind::PushButton, 20, 72, 244, 22, 0, 0, 2, true, "OK" },
    };
    for (const fw::ControlRow& row : controls)
        AddControl(row);
    Control<fw::StaticText>(QStringLiteral("StaticText1")).SetAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Return confirms from the field only; outside it the prompt gives Return no meaning.
    Control<fw::PushButton>(QStringLiteral("PushButton1")).SetPressedByReturn(false);

    Control<fw::EditField>(QStringLiteral("EditField1")).SetKeyDownHandler([this](const QString& key) {
        return EditField1_KeyDown(key);
    });
    connect(&Control<fw::PushButton>(QStringLiteral("PushButton1")), &fw::PushButton::Action, this,
        &StringInput::PushButton1_Action);
}

bool StringInput::EditField1_KeyDown(const QString& key)
{
    const int code = fw::Asc(key);
    if (code == 3 || code == 13 || code == 9)
        PushButton1_Action();
    return false;
}

void StringInput::PushButton1_Action()
{
    OK = true;
    Close();
}

void StringInput::Event_Close()
{
    EditorHost& main = EditorHost::MainWindow();
    if (OK)
        main.ModalResult = Control<fw::EditField>(QStringLiteral("EditField1")).Text();
    else
        main.ModalResult = QString();
}

} // namespace dialogs
