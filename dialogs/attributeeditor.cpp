#include "dialogs/attributeeditor.h"

#include "editor/noderows.h"
#include "framework/editfield.h"
#include "framework/listbox.h"
#include "framework/pushbutton.h"
#include "framework/statictext.h"
#include "shell/editorhost.h"
#include "xml/xmlattribute.h"

namespace dialogs {

namespace {

    // The node of the main window's selected row, looked up anew at every use: the dialog keeps no node.
    xml::XmlNode selectedNode() { return EditorHost::MainWindow().SelectedNode(); }

} // namespace

AttributeEditor::AttributeEditor() = default;

void AttributeEditor::Layout()
{
    SetTitle(QStringLiteral("Attribute Editor"));
    SetMinimumSize(64, 64);
    SetMaximumSize(32000, 32000);
    SetSize(399, 328);
    SetResizable(false);
    SetCloseOnlyFrame(true);
}

void AttributeEditor::CreateControls() { _CreateControls0(); }

void AttributeEditor::_CreateControls0()
{
    auto& list = AddControl<fw::Listbox>(QStringLiteral("Listbox1"));
    list.SetRect(20, 14, 155, 260);
    list.SetTabIndex(6);
    list.SetColumnCount(2);
    list.SetHeadings({ QStringLiteral("Name"), QStringLiteral("Value") });
    list.SetHasHeading(true);
    list.SetColumnsResizable(false);
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(&list, &fw::Listbox::Change, this, &AttributeEditor::Listbox1_Change);

    auto& nameLabel = AddControl<fw::StaticText>(QStringLiteral("StaticText1"));
    nameLabel.SetRect(187, 14, 192, 20);
    nameLabel.SetTabIndex(7);
    nameLabel.SetText(QStringLiteral("Name:"));

    auto& name = AddControl<fw::EditField>(QStringLiteral("AttrName"));
    name.SetRect(187, 39, 192, 22);
    name.SetTabIndex(0);

    auto& valueLabel = AddControl<fw::StaticText>(QStringLiteral("StaticText2"));
    valueLabel.SetRect(187, 73, 192, 20);
    valueLabel.SetTabIndex(8);
    valueLabel.SetText(QStringLiteral("Value:"));

    auto& value = AddControl<fw::EditField>(QStringLiteral("AttrValue"));
    value.SetRect(187, 98, 192, 22);
    value.SetTabIndex(1);

    auto& update = AddControl<fw::PushButton>(QStringLiteral("AttrUpdate"));
    update.SetRect(187, 184, 192, 22);
    update.SetTabIndex(2);
    update.SetText(QStringLiteral("Update"));
    update.SetEnabled(false);
    connect(&update, &fw::PushButton::Action, this, &AttributeEditor::AttrUpdate_Action);

    auto& add = AddControl<fw::PushButton>(QStringLiteral("AttrAdd"));
    add.SetRect(187, 218, 192, 22);
    add.SetTabIndex(3);
    add.SetText(QStringLiteral("Add"));
    connect(&add, &fw::PushButton::Action, this, &AttributeEditor::AttrAdd_Action);

    auto& remove = AddControl<fw::PushButton>(QStringLiteral("AttrDelete"));
    remove.SetRect(187, 252, 192, 22);
    remove.SetTabIndex(4);
    remove.SetText(QStringLiteral("Delete"));
    remove.SetEnabled(false);
    connect(&remove, &fw::PushButton::Action, this, &AttributeEditor::AttrDelete_Action);

    auto& ok = AddControl<fw::PushButton>(QStringLiteral("PushButton1"));
    ok.SetRect(20, 286, 359, 22);
    ok.SetTabIndex(5);
    ok.SetText(QStringLiteral("OK"));
    connect(&ok, &fw::PushButton::Action, this, &AttributeEditor::PushButton1_Action);
}

void AttributeEditor::Listbox1_Change()
{
    const int r = Control<fw::Listbox>(QStringLiteral("Listbox1")).ListIndex();
    if (r == -1) {
        Control<fw::EditField>(QStringLiteral("AttrName")).SetText(QString());
        Control<fw::EditField>(QStringLiteral("AttrValue")).SetText(QString());
        Control(QStringLiteral("AttrUpdate")).SetEnabled(false);
        Control(QStringLiteral("AttrDelete")).SetEnabled(false);
        return;
    }
    Control<fw::EditField>(QStringLiteral("AttrName")).SetText(selectedNode().GetAttributeNode(r).Name());
    Control<fw::EditField>(QStringLiteral("AttrValue")).SetText(selectedNode().GetAttributeNode(r).Value());
    Control(QStringLiteral("AttrUpdate")).SetEnabled(true);
    Control(QStringLiteral("AttrDelete")).SetEnabled(true);
}

void AttributeEditor::AttrUpdate_Action()
{
    EditorHost::MainWindow().nodeRows().setAttribute(Control<fw::Listbox>(QStringLiteral("Listbox1")),
        Control<fw::EditField>(QStringLiteral("AttrName")).Text(),
        Control<fw::EditField>(QStringLiteral("AttrValue")).Text());
}

void AttributeEditor::AttrAdd_Action()
{
    EditorHost::MainWindow().nodeRows().addAttribute(Control<fw::Listbox>(QStringLiteral("Listbox1")),
        Control<fw::EditField>(QStringLiteral("AttrName")).Text(),
        Control<fw::EditField>(QStringLiteral("AttrValue")).Text());
}

void AttributeEditor::AttrDelete_Action()
{
    EditorHost::MainWindow().nodeRows().removeAttribute(Control<fw::Listbox>(QStringLiteral("Listbox1")));
}

void AttributeEditor::PushButton1_Action() { Close(); }

} // namespace dialogs
