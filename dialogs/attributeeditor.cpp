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
    xml::XmlNode selectedNode() { return EditorHost::MainWindow().selectedNode(); }

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
    using Kind = fw::ControlRow::Kind;
    static constexpr fw::ControlRow controls[] = {
        { "Listbox1", Kind::Listbox, 20, 14, 155, 260, 0, 0, 6, true, nullptr },
        { "StaticText1", Kind::StaticText, 187, 14, 192, 20, 0, 0, 7, true, "Name:" },
        { "AttrName", Kind::EditField, 187, 39, 192, 22, 0, 0, 0, true, nullptr },
        { "StaticText2", Kind::StaticText, 187, 73, 192, 20, 0, 0, 8, true, "Value:" },
        { "AttrValue", Kind::EditField, 187, 98, 192, 22, 0, 0, 1, true, nullptr },
        { "AttrUpdate", Kind::PushButton, 187, 184, 192, 22, 0, 0, 2, false, "Update" },
        { "AttrAdd", Kind::PushButton, 187, 218, 192, 22, 0, 0, 3, true, "Add" },
        { "AttrDelete", Kind::PushButton, 187, 252, 192, 22, 0, 0, 4, false, "Delete" },
        { "PushButton1", Kind::PushButton, 20, 286, 359, 22, 0, 0, 5, true, "OK" },
    };
    for (const fw::ControlRow& row : controls)
        AddControl(row);

    auto& list = Control<fw::Listbox>(QStringLiteral("Listbox1"));
    list.SetColumnCount(2);
    list.SetHeadings({ QStringLiteral("Name"), QStringLiteral("Value") });
    list.SetHasHeading(true);
    list.SetColumnsResizable(false);
    list.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    connect(&list, &fw::Listbox::Change, this, &AttributeEditor::Listbox1_Change);
    connect(&Control<fw::PushButton>(QStringLiteral("AttrUpdate")), &fw::PushButton::Action, this,
        &AttributeEditor::AttrUpdate_Action);
    connect(&Control<fw::PushButton>(QStringLiteral("AttrAdd")), &fw::PushButton::Action, this,
        &AttributeEditor::AttrAdd_Action);
    connect(&Control<fw::PushButton>(QStringLiteral("AttrDelete")), &fw::PushButton::Action, this,
        &AttributeEditor::AttrDelete_Action);
    connect(&Control<fw::PushButton>(QStringLiteral("PushButton1")), &fw::PushButton::Action, this,
        &AttributeEditor::PushButton1_Action);
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
