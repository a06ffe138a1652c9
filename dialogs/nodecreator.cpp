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
    auto& name = AddControl<fw::EditField>(QStringLiteral("NCName"));
    name.SetRect(20, 38, 331, 22);
    name.SetTabIndex(0);

    auto& nameLabel = AddControl<fw::StaticText>(QStringLiteral("StaticText1"));
    nameLabel.SetRect(20, 14, 331, 20);
    nameLabel.SetTabIndex(3);
    nameLabel.SetText(QStringLiteral("Name:"));

    auto& valueLabel = AddControl<fw::StaticText>(QStringLiteral("StaticText2"));
    valueLabel.SetRect(20, 72, 331, 20);
    valueLabel.SetTabIndex(4);
    valueLabel.SetText(QStringLiteral("Value:"));

    auto& value = AddControl<fw::EditField>(QStringLiteral("NCValue"));
    value.SetRect(20, 96, 331, 22);
    value.SetTabIndex(1);

    auto& nesting = AddControl<fw::CheckBox>(QStringLiteral("NCNesting"));
    nesting.SetRect(20, 122, 331, 20);
    nesting.SetTabIndex(5);
    nesting.SetText(QStringLiteral("Nesting"));
    connect(&nesting, &fw::CheckBox::Action, this, &NodeCreator::NCNesting_Action);

    auto& create = AddControl<fw::PushButton>(QStringLiteral("PushButton1"));
    create.SetRect(20, 154, 331, 22);
    create.SetTabIndex(2);
    create.SetText(QStringLiteral("Create Node"));
    create.SetDefault(true);
    connect(&create, &fw::PushButton::Action, this, &NodeCreator::PushButton1_Action);

    auto& cancel = AddControl<fw::PushButton>(QStringLiteral("PushButton2"));
    cancel.SetRect(20, 188, 331, 22);
    cancel.SetTabIndex(6);
    cancel.SetText(QStringLiteral("Cancel"));
    connect(&cancel, &fw::PushButton::Action, this, &NodeCreator::PushButton2_Action);
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
    xml::XmlNode target = main.SelectedNode();
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
