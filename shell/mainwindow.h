#pragma once

#include "framework/ref.h"
#include "framework/window.h"
#include "shell/editorhost.h"

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
class NodeRows;
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
class MainWindow : public fw::Window, public EditorHost {
    Q_OBJECT

public:
    MainWindow();
    ~MainWindow() override;

    // The open main window, created first when none is open (the dialogs reach the window only through it).
    static MainWindow& Instance();
    // Destroys the window Instance() created, if any (shutdown).
    static void releaseInstance();

    // Kept for the window's whole life; nothing reads or changes it.
    int32_t NestingTilMain = 0;

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
    fw::EditField& comparator1() const override;
    fw::EditField& comparator2() const;
    fw::PushButton& compareButton() const;
    fw::Listbox& XMLList() const override;
    fw::GroupBox& GroupBox1() const;
    fw::EditField& PreviewArea() const override;
    fw::Listbox& PatternsBox() const;
    fw::PushButton& PushButton1() const;
    fw::PushButton& SelectPattern() const;
    fw::EditField& PatternEdit() const;
    fw::StaticText& StaticText1() const;
    fw::PushButton& EditButton() const override;
    fw::PushButton& InButton() const override;
    fw::PushButton& OutButton() const override;
    fw::EditField& StatusNest() const override;
    fw::PushButton& RenameButton() const override;
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
    bool XMLList_ContextualMenuAction(fw::MenuItem& item) override;
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

    void StringInput(const QString& prompt, const QString& title, const QString& defaultAnswer) override;
    void ErrorHandler() override;
    editor::NodeRows& nodeRows() override { return *m_nodeRows; }

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
    std::unique_ptr<editor::NodeRows> m_nodeRows;
    std::unique_ptr<editor::NodeList> m_nodeList;
    std::unique_ptr<editor::NodeCommands> m_nodeCommands;
    std::unique_ptr<editor::XmlFileActions> m_xmlFileActions;
    std::unique_ptr<editor::QevFileActions> m_qevFileActions;
};
