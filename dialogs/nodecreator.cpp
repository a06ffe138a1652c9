#include "dialogs/nodecreator.h"

#include "framework/checkbox.h"
#include "framework/editfield.h"
#include "framework/listbox.h"
#include "framework/pushbutton.h"
#include "framework/statictext.h"
#include "shell/editorhost.h"
#include "xml/xmldocument.h"

namespace dialogs {

NodeCreator::NodeCreator() = default;

void NodeCreator::Layout()
{
    SetTitle(QStringLiteral("Node Malvent"));
    SetSize(371, 230);
    SetResizable(false);
    SetCloseOnlyFrame(true);
}

void NodeCreator::CreateControls() { _CreateControls0(); }

void NodeCreator::_CreateControls0()
{
    using Kind = fw::ControlRow::Kind;
    static constexpr fw::ControlRow controls[] = {
        { "NCName", Kind::EditField, 20, 38, 331, 22, 0, 0, 0, true, nullptr },
        { "StaticText1", Kind::StaticText, 20, 14, 331, 20, 0, 0, 3, true, "Name:" },
        { "StaticText2", Kind::StaticText, 20, 72, 331, 20, 0, 0, 4, true, "Value:" },
        { "NCValue", Kind::EditField, 20, 96, 331, 22, 0, 0, 1, true, nullptr },
        { "NCNesting", Kind::CheckBox, 20, 122, 331, 20, 0, 0, 5, true, "Nesting" },
        { "PushButton1", Kind::PushButton, 20, 154, 331, 22, 0, 0, 2, true, "Create Node" },
        { "PushButton2", Kind::PushButton, 20, 188, 331, 22, 0, 0, 6, true, "Cancel" },
    };
    for (const fw::ControlRow& row : controls)
        AddControl(row);
    Control<fw::PushButton>(QStringLiteral("PushButton1")).SetDefault(true);

    connect(&Control<fw::CheckBox>(QStringLiteral("NCNesting")), &fw::CheckBox::Action, this,
        &NodeCreator::NCNesting_Action);
    connect(&Control<fw::PushButton>(QStringLiteral("PushButton1")), &fw::PushButton::Action, this,
        &NodeCreator::PushButton1_Action);
    connect(&Control<fw::PushButton>(QStringLiteral("PushButton2")), &fw::PushButton::Action, this,
        &NodeCreator::PushButton2_Action);
}

void NodeCreator::NCNesting_Action()
{
    const bool checked = Control<fw::CheckBox>(QStringLiteral("NCNesting")).State() == 1;
    Control(QStringLiteral("NCValue")).SetEnabled(!checked);
}

void NodeCreator::PushButton1_Action()
{
    const bool nesting = Control<fw::CheckBox>(QStringLiteral("NCNesting")).State() == 1;
    EditorHost& main = EditorHost::MainWindow();
    xml::XmlNode target = main.selectedNode();
    // The new element is made whole before it joins the document, so a refused name, value or target leaves the
    // document as it was.
    xml::XmlNode element = main.XMLRead->CreateElement(Control<fw::EditField>(QStringLiteral("NCName")).Text());
    if (!nesting)
        element.AppendChild(main.XMLRead->CreateTextNode(Control<fw::EditField>(QStringLiteral("NCValue")).Text()));
    target.AppendChild(element);
    Close();
}

void NodeCreator::PushButton2_Action() { Close(); }

} // namespace dialogs
