#pragma once

#include "xml/xmlnode.h"

#include <QString>
#include <memory>

namespace fw {
class EditField;
class Listbox;
class MenuItem;
class PushButton;
}
namespace xml {
class XmlDocument;
}
namespace editor {
class NodeRows;
}

// What the document editor and its dialogs see of the main window: the document, the current node, the node list
// with its buttons, the path field, the panes and the error box. Controls are looked up by name at every call.
class EditorHost {
public:
    // The open main window, created first when none is open: the way the dialogs reach their host.
    static EditorHost& MainWindow();

    // The open document: the same object for the window's whole life, reloaded by each open action.
    std::shared_ptr<xml::XmlDocument> XMLRead;
    // The answer of the last one-line prompt; empty means cancelled.
    QString ModalResult;
    // The node whose children the node list shows; nil until a file is opened.
    xml::XmlNode CurrentNode;

    // The node of the selected row: CurrentNode's child at XMLList's ListIndex, looked up anew at each call.
    xml::XmlNode selectedNode() const;

    virtual fw::Listbox& XMLList() const = 0;
    virtual fw::EditField& StatusNest() const = 0;
    virtual fw::EditField& PreviewArea() const = 0;
    virtual fw::EditField& comparator1() const = 0;
    virtual fw::PushButton& EditButton() const = 0;
    virtual fw::PushButton& RenameButton() const = 0;
    virtual fw::PushButton& InButton() const = 0;
    virtual fw::PushButton& OutButton() const = 0;

    // The node-command dispatcher.
    virtual bool XMLList_ContextualMenuAction(fw::MenuItem& item) = 0;
    // Asks for one line of text; the answer comes back in ModalResult.
    virtual void StringInput(const QString& prompt, const QString& title, const QString& defaultAnswer) = 0;
    // The generic error box of the editor's catch-alls.
    virtual void ErrorHandler() = 0;

    // The one keeper of the rows that stand for nodes: every change of a shown node goes through it.
    virtual editor::NodeRows& nodeRows() = 0;

protected:
    EditorHost() = default;
    ~EditorHost() = default;
};
