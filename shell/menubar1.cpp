#include "shell/menubar1.h"

#include "framework/quitmenuitem.h"
#include "framework/standardedititem.h"

namespace {

// Sets an item's properties in the order the menus are built with: name, AutoEnable, text, shortcut.
template <class T>
fw::Ref<T> Named(
    fw::Ref<T> item, const QString& name, bool autoEnable, const QString& text, const QString& shortcut = QString())
{
    item->SetName(name);
    item->SetAutoEnable(autoEnable);
    item->SetText(text);
    if (!shortcut.isEmpty())
        item->SetKeyboardShortcut(shortcut);
    return item;
}

fw::Ref<fw::MenuItem> Plain() { return fw::MakeRef<fw::MenuItem>(); }

fw::Ref<fw::StandardEditItem> Edit(fw::EditCommand command) { return fw::MakeRef<fw::StandardEditItem>(command); }

} // namespace

fw::Ref<MenuBar1> MenuBar1::_implicitInstance;

MenuBar1::MenuBar1()
{
    Untitled0();
    Untitled1();
    Untitled2();
}

fw::Ref<MenuBar1> MenuBar1::Instance()
{
    if (_implicitInstance.IsNil())
        _implicitInstance = fw::MakeRef<MenuBar1>();
    return _implicitInstance;
}

void MenuBar1::release() { _implicitInstance = nullptr; }

void MenuBar1::Untitled0()
{
    // Each parent is looked up by name again for every append, so the tree is built only through names.
    Append(Named(Plain(), QStringLiteral("FileMenu"), true, QStringLiteral("&File")));
    Child(QStringLiteral("FileMenu"))
        ->Append(Named(Plain(), QStringLiteral("SaveOpen"), false, QStringLiteral("Open")));
    Child(QStringLiteral("FileMenu"))
        ->Child(QStringLiteral("SaveOpen"))
        ->Append(Named(Plain(), QStringLiteral("OpenXML"), false, QStringLiteral("XML"), QStringLiteral("Cmd+O")));
    Child(QStringLiteral("FileMenu"))
        ->Child(QStringLiteral("SaveOpen"))
        ->Append(
            Named(Plain(), QStringLiteral("OpenQEV"), false, QStringLiteral("QEV"), QStringLiteral("Cmd+Shift+O")));
    Child(QStringLiteral("FileMenu"))
        ->Append(Named(Plain(), QStringLiteral("UntitledItem1"), true, QStringLiteral("Save")));
    Child(QStringLiteral("FileMenu"))
        ->Child(QStringLiteral("UntitledItem1"))
        ->Append(Named(Plain(), QStringLiteral("SaveXML"), true, QStringLiteral("XML"), QStringLiteral("Cmd+S")));
    Child(QStringLiteral("FileMenu"))
        ->Child(QStringLiteral("UntitledItem1"))
        ->Append(
            Named(Plain(), QStringLiteral("SaveQEV"), false, QStringLiteral("QEV"), QStringLiteral("Cmd+Shift+S")));
    Child(QStringLiteral("FileMenu"))
        ->Append(Named(Plain(), QStringLiteral("UntitledSeparator"), true, QStringLiteral("-")));
    Child(QStringLiteral("FileMenu"))
        ->Append(Named(fw::MakeRef<fw::QuitMenuItem>(), QStringLiteral("FileQuit"), true, QStringLiteral("&Quit"),
            QStringLiteral("Cmd+Q")));
}

void MenuBar1::Untitled1()
{
    Append(Named(Plain(), QStringLiteral("EditMenu"), true, QStringLiteral("&Edit")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Edit(fw::EditCommand::Undo), QStringLiteral("EditUndo"), true, QStringLiteral("&Undo"),
            QStringLiteral("Cmd+Z")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Plain(), QStringLiteral("UntitledMenu1"), true, QStringLiteral("-")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Edit(fw::EditCommand::Cut), QStringLiteral("EditCut"), true, QStringLiteral("Cu&t"),
            QStringLiteral("Cmd+X")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Edit(fw::EditCommand::Copy), QStringLiteral("EditCopy"), true, QStringLiteral("&Copy"),
            QStringLiteral("Cmd+C")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Edit(fw::EditCommand::Paste), QStringLiteral("EditPaste"), true, QStringLiteral("&Paste"),
            QStringLiteral("Cmd+V")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Edit(fw::EditCommand::Delete), QStringLiteral("EditClear"), true, QStringLiteral("&Delete")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Plain(), QStringLiteral("UntitledMenu0"), true, QStringLiteral("-")));
    Child(QStringLiteral("EditMenu"))
        ->Append(Named(Edit(fw::EditCommand::SelectAll), QStringLiteral("EditSelectAll"), true,
            QStringLiteral("Select &All"), QStringLiteral("Cmd+A")));
}

void MenuBar1::Untitled2()
{
    Append(Named(Plain(), QStringLiteral("HelpMenu"), true, QStringLiteral("Help")));
    Child(QStringLiteral("HelpMenu"))
        ->Append(Named(Plain(), QStringLiteral("CreditsMenu"), true, QStringLiteral("Credits")));
}
