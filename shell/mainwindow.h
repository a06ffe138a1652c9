#pragma once

#include "framework/ref.h"
#include "framework/window.h"
#include "xml/xmlnode.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace fw {
class CheckBox;
class EditField;
class GroupBox;
class Listbox;
class MenuItem;
class PushButton;
class QuitMenuItem;
class Separator;
class StaticText;
class TabPanel;
}
namespace xml {
class XmlDocument;
}
namespace editor {
class NodeList;
class NodeCommands;
class XmlFileActions;
class QevFileActions;
}
namespace shell {
class TodoTab;
class ComparatorTab;
class PatternFileTab;
}

// The program's one document window. It holds the editor's state and receives every control event, menu action
// and window event; each handler hands its work to the part of the program it belongs to.
class MainWindow : public fw::Window {
    Q_OBJECT

public:
    MainWindow();
    ~MainWindow() override;

    // The open main window, created first when none is open (the dialogs reach the window only through it).
    static MainWindow& Instance();
    // Destroys the window Instance() created, if any (shutdown).
    static void ReleaseInstance();

    // The open document: the same object for the window's whole life, reloaded by each open action.
    std::shared_ptr<xml::XmlDocument> XMLRead;
    // The answer of the last one-line prompt; empty means cancelled.
    QString ModalResult;
    int32_t NestingTilMain = 0;
    // The node whose children the node list shows; nil until a file is opened.
    xml::XmlNode CurrentNode;

    // The node of the selected row: CurrentNode's child at XMLList's ListIndex, looked up anew at each call.
    xml::XmlNode SelectedNode() const;

    // Controls, found by name at each use.
    fw::TabPanel& TabPanel1() const;
    fw::Listbox& todoList() const;
    fw::EditField& editTodo() const;
    fw::PushButton& updateTodo() const;
    fw::PushButton& deleteTodo() const;
    fw::PushButton& addTodo() const;
    fw::EditField& todoName() const;
    fw::Separator& Separator1() const;
    fw::PushButton& compareFile() const;
    fw::EditField& comparator1() const;
    fw::EditField& comparator2() const;
    fw::PushButton& compareButton() const;
    fw::Listbox& XMLList() const;
    fw::GroupBox& GroupBox1() const;
    fw::EditField& PreviewArea() const;
    fw::Listbox& PatternsBox() const;
    fw::PushButton& PushButton1() const;
    fw::PushButton& SelectPattern() const;
    fw::EditField& PatternEdit() const;
    fw::StaticText& StaticText1() const;
    fw::PushButton& EditButton() const;
    fw::PushButton& InButton() const;
    fw::PushButton& OutButton() const;
    fw::EditField& StatusNest() const;
    fw::PushButton& RenameButton() const;
    fw::StaticText& StaticText2() const;

    // "To-do" tab.
    void todoList_Change();
    void updateTodo_Action();
    void deleteTodo_Action();
    void addTodo_Action();
    // "Comparator" tab.
    void compareFile_Action();
    void compareButton_Action();
    // Node list and node commands.
    bool XMLList_HeaderPressed(int32_t column);
    bool XMLList_ConstructContextualMenu(fw::MenuItem& base, int32_t x, int32_t y);
    bool XMLList_ContextualMenuAction(fw::MenuItem& item);
    void XMLList_Change();
    void XMLList_DoubleClick();
    // "Pattern File" tab.
    void PatternsBox_Change();
    void PushButton1_Action();
    // Node buttons.
    void EditButton_Action();
    void InButton_Action();
    void OutButton_Action();
    void RenameButton_Action();

    // Menu items, found by name in the window's menu bar.
    fw::Ref<fw::MenuItem> HelpMenu() const;
    fw::Ref<fw::MenuItem> CreditsMenu() const;
    fw::Ref<fw::MenuItem> EditMenu() const;
    fw::Ref<fw::MenuItem> EditSelectAll() const;
    fw::Ref<fw::MenuItem> UntitledMenu0() const;
    fw::Ref<fw::MenuItem> EditClear() const;
    fw::Ref<fw::MenuItem> EditPaste() const;
    fw::Ref<fw::MenuItem> EditCopy() const;
    fw::Ref<fw::MenuItem> EditCut() const;
    fw::Ref<fw::MenuItem> UntitledMenu1() const;
    fw::Ref<fw::MenuItem> EditUndo() const;
    fw::Ref<fw::MenuItem> FileMenu() const;
    fw::Ref<fw::QuitMenuItem> FileQuit() const;
    fw::Ref<fw::MenuItem> UntitledSeparator() const;
    fw::Ref<fw::MenuItem> UntitledItem1() const;
    fw::Ref<fw::MenuItem> SaveQEV() const;
    fw::Ref<fw::MenuItem> SaveXML() const;
    fw::Ref<fw::MenuItem> SaveOpen() const;
    fw::Ref<fw::MenuItem> OpenQEV() const;
    fw::Ref<fw::MenuItem> OpenXML() const;

    // Menu actions; each returns false.
    bool _OpenXML_Action();
    bool _SaveXML_Action();
    bool _CreditsMenu_Action();
    bool _OpenQEV_Action();
    bool _SaveQEV_Action();

    // Asks for one line of text; the answer comes back in ModalResult.
    void StringInput(const QString& prompt, const QString& title, const QString& defaultAnswer);
    // The generic error box of the editor's catch-alls.
    void ErrorHandler();

protected:
    void Layout() override;
    void CreateControls() override;
    void AddMenuHandlers() override;
    void Event_Open() override;
    // Unsaved edits are not lost to the close box or to quitting without a question.
    bool Event_CancelClose(bool appQuitting) override;
    void Event_EnableMenuItems() override;

private:
    void _CreateControls0();

    std::unique_ptr<shell::TodoTab> m_todoTab;
    std::unique_ptr<shell::ComparatorTab> m_comparatorTab;
    std::unique_ptr<shell::PatternFileTab> m_patternFileTab;
    std::unique_ptr<editor::NodeList> m_nodeList;
    std::unique_ptr<editor::NodeCommands> m_nodeCommands;
    std::unique_ptr<editor::XmlFileActions> m_xmlFileActions;
    std::unique_ptr<editor::QevFileActions> m_qevFileActions;
};
