#include "shell/mainwindow.h"

#include "dialogs/stringinput.h"
#include "editor/nodecommands.h"
#include "editor/nodelist.h"
#include "editor/noderows.h"
#include "editor/qevfileactions.h"
#include "editor/unsavededits.h"
#include "editor/xmlfileactions.h"
#include "framework/editfield.h"
#include "framework/groupbox.h"
#include "framework/listbox.h"
#include "framework/messagedialog.h"
#include "framework/msgbox.h"
#include "framework/pushbutton.h"
#include "framework/quitmenuitem.h"
#include "framework/separator.h"
#include "framework/statictext.h"
#include "framework/strings.h"
#include "framework/tabpanel.h"
#include "shell/comparatortab.h"
#include "shell/menubar1.h"
#include "shell/patternfiletab.h"
#include "shell/todotab.h"
#include "xml/xmldocument.h"

#include <QColor>
#include <QStringList>

namespace {

// The two notices: red and centred in their strip (centred keeps "Unavailable..." off the window's left edge).
const QColor kNoticeRed(0xFF, 0x00, 0x00);
constexpr Qt::Alignment kNoticeAlignment = Qt::AlignCenter;

// The main window that Instance() created: held here while the framework keeps it open.
std::unique_ptr<MainWindow>& HeldInstance()
{
    static std::unique_ptr<MainWindow> held;
    return held;
}

} // namespace

MainWindow::MainWindow()
    : m_todoTab(std::make_unique<shell::TodoTab>(*this))
    , m_comparatorTab(std::make_unique<shell::ComparatorTab>(*this))
    , m_patternFileTab(std::make_unique<shell::PatternFileTab>(*this))
    , m_nodeRows(std::make_unique<editor::NodeRows>(*this))
    , m_nodeList(std::make_unique<editor::NodeList>(*this))
    , m_nodeCommands(std::make_unique<editor::NodeCommands>(*this))
    , m_xmlFileActions(std::make_unique<editor::XmlFileActions>(*this))
    , m_qevFileActions(std::make_unique<editor::QevFileActions>(*this))
{
    XMLRead = nullptr;
    ModalResult = QString();
    NestingTilMain = 0;
    CurrentNode = xml::XmlNode();
}

MainWindow::~MainWindow()
{
    XMLRead = nullptr;
    ModalResult = QString();
    CurrentNode = xml::XmlNode();
}

MainWindow& MainWindow::Instance()
{
    if (MainWindow* open = fw::Window::FindOpen<MainWindow>())
        return *open;
    HeldInstance() = fw::Window::Create<MainWindow>();
    return *HeldInstance();
}

void MainWindow::ReleaseInstance() { HeldInstance().reset(); }

// Controls.

fw::TabPanel& MainWindow::TabPanel1() const { return Control<fw::TabPanel>(QStringLiteral("TabPanel1")); }
fw::Listbox& MainWindow::todoList() const { return Control<fw::Listbox>(QStringLiteral("todoList")); }
fw::EditField& MainWindow::editTodo() const { return Control<fw::EditField>(QStringLiteral("editTodo")); }
fw::PushButton& MainWindow::updateTodo() const { return Control<fw::PushButton>(QStringLiteral("updateTodo")); }
fw::PushButton& MainWindow::deleteTodo() const { return Control<fw::PushButton>(QStringLiteral("deleteTodo")); }
fw::PushButton& MainWindow::addTodo() const { return Control<fw::PushButton>(QStringLiteral("addTodo")); }
fw::EditField& MainWindow::todoName() const { return Control<fw::EditField>(QStringLiteral("todoName")); }
fw::Separator& MainWindow::Separator1() const { return Control<fw::Separator>(QStringLiteral("Separator1")); }
fw::PushButton& MainWindow::compareFile() const { return Control<fw::PushButton>(QStringLiteral("compareFile")); }
fw::EditField& MainWindow::comparator1() const { return Control<fw::EditField>(QStringLiteral("comparator1")); }
fw::EditField& MainWindow::comparator2() const { return Control<fw::EditField>(QStringLiteral("comparator2")); }
fw::PushButton& MainWindow::compareButton() const { return Control<fw::PushButton>(QStringLiteral("compareButton")); }
fw::Listbox& MainWindow::XMLList() const { return Control<fw::Listbox>(QStringLiteral("XMLList")); }
fw::GroupBox& MainWindow::GroupBox1() const { return Control<fw::GroupBox>(QStringLiteral("GroupBox1")); }
fw::EditField& MainWindow::PreviewArea() const { return Control<fw::EditField>(QStringLiteral("PreviewArea")); }
fw::Listbox& MainWindow::PatternsBox() const { return Control<fw::Listbox>(QStringLiteral("PatternsBox")); }
fw::PushButton& MainWindow::PushButton1() const { return Control<fw::PushButton>(QStringLiteral("PushButton1")); }
fw::PushButton& MainWindow::SelectPattern() const { return Control<fw::PushButton>(QStringLiteral("SelectPattern")); }
fw::EditField& MainWindow::PatternEdit() const { return Control<fw::EditField>(QStringLiteral("PatternEdit")); }
fw::StaticText& MainWindow::StaticText1() const { return Control<fw::StaticText>(QStringLiteral("StaticText1")); }
fw::PushButton& MainWindow::EditButton() const { return Control<fw::PushButton>(QStringLiteral("EditButton")); }
fw::PushButton& MainWindow::InButton() const { return Control<fw::PushButton>(QStringLiteral("InButton")); }
fw::PushButton& MainWindow::OutButton() const { return Control<fw::PushButton>(QStringLiteral("OutButton")); }
fw::EditField& MainWindow::StatusNest() const { return Control<fw::EditField>(QStringLiteral("StatusNest")); }
fw::PushButton& MainWindow::RenameButton() const { return Control<fw::PushButton>(QStringLiteral("RenameButton")); }
fw::StaticText& MainWindow::StaticText2() const { return Control<fw::StaticText>(QStringLiteral("StaticText2")); }

// Handlers: each goes to the part of the program that owns it.

void MainWindow::todoList_Change() { m_todoTab->todoList_Change(); }
void MainWindow::updateTodo_Action() { m_todoTab->updateTodo_Action(); }
void MainWindow::deleteTodo_Action() { m_todoTab->deleteTodo_Action(); }
void MainWindow::addTodo_Action() { m_todoTab->addTodo_Action(); }
void MainWindow::compareFile_Action() { m_comparatorTab->compareFile_Action(); }
void MainWindow::compareButton_Action() { m_comparatorTab->compareButton_Action(); }
bool MainWindow::XMLList_HeaderPressed(int32_t column) { return m_nodeList->XMLList_HeaderPressed(column); }
bool MainWindow::XMLList_ConstructContextualMenu(fw::MenuItem& base, int32_t x, int32_t y)
{
    return m_nodeList->XMLList_ConstructContextualMenu(base, x, y);
}
bool MainWindow::XMLList_ContextualMenuAction(fw::MenuItem& item)
{
    return m_nodeCommands->XMLList_ContextualMenuAction(item);
}
void MainWindow::XMLList_Change() { m_nodeList->XMLList_Change(); }
void MainWindow::XMLList_DoubleClick() { m_nodeList->XMLList_DoubleClick(); }
void MainWindow::PatternsBox_Change() { m_patternFileTab->PatternsBox_Change(); }
void MainWindow::PushButton1_Action() { m_patternFileTab->PushButton1_Action(); }
void MainWindow::EditButton_Action() { m_nodeList->EditButton_Action(); }
void MainWindow::InButton_Action() { m_nodeList->InButton_Action(); }
void MainWindow::OutButton_Action() { m_nodeList->OutButton_Action(); }
void MainWindow::RenameButton_Action() { m_nodeList->RenameButton_Action(); }

// Menu items: looked up by name wherever they stand in the window's menu bar.

fw::Ref<fw::MenuItem> MainWindow::HelpMenu() const { return MenuBar()->Find(QStringLiteral("HelpMenu")); }
fw::Ref<fw::MenuItem> MainWindow::CreditsMenu() const { return MenuBar()->Find(QStringLiteral("CreditsMenu")); }
fw::Ref<fw::MenuItem> MainWindow::EditMenu() const { return MenuBar()->Find(QStringLiteral("EditMenu")); }
fw::Ref<fw::MenuItem> MainWindow::EditSelectAll() const { return MenuBar()->Find(QStringLiteral("EditSelectAll")); }
fw::Ref<fw::MenuItem> MainWindow::UntitledMenu0() const { return MenuBar()->Find(QStringLiteral("UntitledMenu0")); }
fw::Ref<fw::MenuItem> MainWindow::EditClear() const { return MenuBar()->Find(QStringLiteral("EditClear")); }
fw::Ref<fw::MenuItem> MainWindow::EditPaste() const { return MenuBar()->Find(QStringLiteral("EditPaste")); }
fw::Ref<fw::MenuItem> MainWindow::EditCopy() const { return MenuBar()->Find(QStringLiteral("EditCopy")); }
fw::Ref<fw::MenuItem> MainWindow::EditCut() const { return MenuBar()->Find(QStringLiteral("EditCut")); }
fw::Ref<fw::MenuItem> MainWindow::UntitledMenu1() const { return MenuBar()->Find(QStringLiteral("UntitledMenu1")); }
fw::Ref<fw::MenuItem> MainWindow::EditUndo() const { return MenuBar()->Find(QStringLiteral("EditUndo")); }
fw::Ref<fw::MenuItem> MainWindow::FileMenu() const { return MenuBar()->Find(QStringLiteral("FileMenu")); }
fw::Ref<fw::QuitMenuItem> MainWindow::FileQuit() const
{
    return MenuBar()->Find(QStringLiteral("FileQuit")).As<fw::QuitMenuItem>();
}
fw::Ref<fw::MenuItem> MainWindow::UntitledSeparator() const
{
    return MenuBar()->Find(QStringLiteral("UntitledSeparator"));
}
fw::Ref<fw::MenuItem> MainWindow::UntitledItem1() const { return MenuBar()->Find(QStringLiteral("UntitledItem1")); }
fw::Ref<fw::MenuItem> MainWindow::SaveQEV() const { return MenuBar()->Find(QStringLiteral("SaveQEV")); }
fw::Ref<fw::MenuItem> MainWindow::SaveXML() const { return MenuBar()->Find(QStringLiteral("SaveXML")); }
fw::Ref<fw::MenuItem> MainWindow::SaveOpen() const { return MenuBar()->Find(QStringLiteral("SaveOpen")); }
fw::Ref<fw::MenuItem> MainWindow::OpenQEV() const { return MenuBar()->Find(QStringLiteral("OpenQEV")); }
fw::Ref<fw::MenuItem> MainWindow::OpenXML() const { return MenuBar()->Find(QStringLiteral("OpenXML")); }

// Menu actions.

bool MainWindow::_OpenXML_Action() { return m_xmlFileActions->_OpenXML_Action(); }
bool MainWindow::_SaveXML_Action() { return m_xmlFileActions->_SaveXML_Action(); }
bool MainWindow::_OpenQEV_Action() { return m_qevFileActions->_OpenQEV_Action(); }
bool MainWindow::_SaveQEV_Action() { return m_qevFileActions->_SaveQEV_Action(); }

bool MainWindow::_CreditsMenu_Action()
{
    fw::MessageDialog dialog;
    dialog.SetMessage(QStringLiteral("Credits:"));
    dialog.SetExplanation(QStringList { QStringLiteral("Dovan Malvent - design and programming"),
        QStringLiteral("Rhea Kostadin - research on the QEV format"),
        QStringLiteral("Tomas Ebright - the QevSplit converter"),
        QStringLiteral("Ines Varga - testing and bug reports"), QStringLiteral("Milo Aransen - the pattern file idea"),
        QStringLiteral("The community - feedback and suggestions") }
                              .join(fw::EndOfLine()));
    dialog.SetIcon(0);
    dialog.ShowModal();
    return false;
}

void MainWindow::StringInput(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    const std::unique_ptr<dialogs::StringInput> dialog = fw::Window::Create<dialogs::StringInput>();
    dialog->Control<fw::StaticText>(QStringLiteral("StaticText1")).SetText(prompt);
    dialog->SetTitle(title);
    dialog->Control<fw::EditField>(QStringLiteral("EditField1")).SetText(defaultAnswer);
    dialog->ShowModal();
}

void MainWindow::ErrorHandler()
{
    fw::MsgBox(QStringLiteral("An error occurred, please try again later or send me a PM at "
                              "\"sildra.author@example.org\"."),
        16, QStringLiteral("Error"));
}

// Window hooks.

void MainWindow::Layout()
{
    SetMenuBar(MenuBar1::Instance());
    SetTitle(QStringLiteral("Sildra 1.0 - Dovan Malvent"));
    SetSize(702, 580);
    SetMinimumSize(540, 447);
    SetMaximumSize(32000, 32000);
    SetResizable(true);
    Show();
}

void MainWindow::CreateControls() { _CreateControls0(); }

void MainWindow::AddMenuHandlers()
{
    AddMenuHandler(QStringLiteral("OpenXML"), [this] { return _OpenXML_Action(); });
    AddMenuHandler(QStringLiteral("SaveXML"), [this] { return _SaveXML_Action(); });
    AddMenuHandler(QStringLiteral("CreditsMenu"), [this] { return _CreditsMenu_Action(); });
    AddMenuHandler(QStringLiteral("OpenQEV"), [this] { return _OpenQEV_Action(); });
    AddMenuHandler(QStringLiteral("SaveQEV"), [this] { return _SaveQEV_Action(); });
}

void MainWindow::Event_Open() { XMLRead = std::make_shared<xml::XmlDocument>(); }

bool MainWindow::Event_CancelClose(bool) { return !editor::MayDiscardEdits(*XMLRead); }

void MainWindow::Event_EnableMenuItems()
{
    OpenXML()->Enable();
    SaveXML()->Enable();
    OpenQEV()->Enable();
    SaveQEV()->Enable();
    CreditsMenu()->Enable();
}

void MainWindow::_CreateControls0()
{
    // Each control is created and registered, then looked up by name for its design values; its events are
    // connected last, so that applying the design values runs no handler.
    AddControl<fw::TabPanel>(QStringLiteral("TabPanel1"));
    TabPanel1().SetRect(0, 0, 702, 580);
    TabPanel1().SetLocks(true, true, true, true);
    TabPanel1().SetCaptions(QStringLiteral("Editor\rComparator\rTo-do\rPattern File").split(QLatin1Char('\r')));
    TabPanel1().SetCurrentPage(1);

    AddControl<fw::Listbox>(QStringLiteral("todoList"));
    todoList().SetRect(20, 40, 129, 520);
    todoList().SetLocks(true, true, false, true);
    todoList().SetPage(3);
    todoList().SetTabIndex(0);
    todoList().SetColumnCount(1);
    todoList().SetHasHeading(false);
    todoList().SetColumnsResizable(false);
    {
        // The design gives the initial note as one row text: the title, a tab, the note's text.
        const QString initialRow = QStringLiteral(
            "Note\tThese notes are temporary and will not be saved. They should be used when working with large "
            "files, and you don't want to forget anything.");
        todoList().AddRow(fw::NthField(initialRow, QStringLiteral("\t"), 1));
        todoList().SetCell(todoList().LastIndex(), 1, fw::NthField(initialRow, QStringLiteral("\t"), 2));
    }
    connect(&todoList(), &fw::Listbox::Change, this, &MainWindow::todoList_Change);

    AddControl<fw::EditField>(QStringLiteral("editTodo"));
    editTodo().SetRect(161, 74, 521, 384);
    editTodo().SetLocks(true, true, true, true);
    editTodo().SetPage(3);
    editTodo().SetTabIndex(1);
    editTodo().SetMultiline(true);
    editTodo().SetAcceptTabs(false);

    AddControl<fw::PushButton>(QStringLiteral("updateTodo"));
    updateTodo().SetRect(161, 470, 521, 22);
    updateTodo().SetLocks(true, false, true, true);
    updateTodo().SetPage(3);
    updateTodo().SetTabIndex(2);
    updateTodo().SetText(QStringLiteral("Update"));
    updateTodo().SetEnabled(false);
    connect(&updateTodo(), &fw::PushButton::Action, this, &MainWindow::updateTodo_Action);

    AddControl<fw::PushButton>(QStringLiteral("deleteTodo"));
    deleteTodo().SetRect(161, 538, 521, 22);
    deleteTodo().SetLocks(true, false, true, true);
    deleteTodo().SetPage(3);
    deleteTodo().SetTabIndex(3);
    deleteTodo().SetText(QStringLiteral("Delete"));
    deleteTodo().SetEnabled(false);
    deleteTodo().SetDefault(true);
    connect(&deleteTodo(), &fw::PushButton::Action, this, &MainWindow::deleteTodo_Action);

    AddControl<fw::PushButton>(QStringLiteral("addTodo"));
    addTodo().SetRect(161, 504, 521, 22);
    addTodo().SetLocks(true, false, true, true);
    addTodo().SetPage(3);
    addTodo().SetTabIndex(4);
    addTodo().SetText(QStringLiteral("Add"));
    connect(&addTodo(), &fw::PushButton::Action, this, &MainWindow::addTodo_Action);

    AddControl<fw::EditField>(QStringLiteral("todoName"));
    todoName().SetRect(161, 40, 521, 22);
    todoName().SetLocks(true, true, true, false);
    todoName().SetPage(3);
    todoName().SetTabIndex(5);

    AddControl<fw::Separator>(QStringLiteral("Separator1"));
    Separator1().SetRect(232, 40, 10, 427);
    Separator1().SetLocks(true, true, false, true);
    Separator1().SetPage(2);
    Separator1().SetTabIndex(0);
    Separator1().SetEnabled(false);

    AddControl<fw::PushButton>(QStringLiteral("compareFile"));
    compareFile().SetRect(20, 479, 435, 22);
    compareFile().SetLocks(false, false, false, true);
    compareFile().SetPage(2);
    compareFile().SetTabIndex(1);
    compareFile().SetText(QStringLiteral("Select File"));
    compareFile().SetEnabled(false);
    connect(&compareFile(), &fw::PushButton::Action, this, &MainWindow::compareFile_Action);

    AddControl<fw::EditField>(QStringLiteral("comparator1"));
    comparator1().SetRect(20, 40, 200, 427);
    comparator1().SetLocks(false, true, false, true);
    comparator1().SetPage(2);
    comparator1().SetTabIndex(2);
    comparator1().SetMultiline(true);
    comparator1().SetReadOnly(true);
    comparator1().SetEnabled(false);

    AddControl<fw::EditField>(QStringLiteral("comparator2"));
    comparator2().SetRect(255, 40, 200, 427);
    comparator2().SetLocks(false, true, false, true);
    comparator2().SetPage(2);
    comparator2().SetTabIndex(3);
    comparator2().SetMultiline(true);
    comparator2().SetReadOnly(true);
    comparator2().SetEnabled(false);

    AddControl<fw::PushButton>(QStringLiteral("compareButton"));
    compareButton().SetRect(20, 513, 435, 22);
    compareButton().SetLocks(false, false, false, true);
    compareButton().SetPage(2);
    compareButton().SetTabIndex(4);
    compareButton().SetText(QStringLiteral("Compare"));
    compareButton().SetEnabled(false);
    connect(&compareButton(), &fw::PushButton::Action, this, &MainWindow::compareButton_Action);

    AddControl<fw::Listbox>(QStringLiteral("XMLList"));
    XMLList().SetRect(20, 74, 371, 486);
    XMLList().SetLocks(true, true, true, true);
    XMLList().SetPage(1);
    XMLList().SetTabIndex(5);
    XMLList().SetColumnCount(3);
    XMLList().SetHeadings({ QStringLiteral("Name"), QStringLiteral("Value"), QStringLiteral("Attributes") });
    XMLList().SetHasHeading(true);
    XMLList().SetColumnWidths(QStringLiteral("30%, 40%, 30%"));
    XMLList().SetColumnsResizable(true);
    XMLList().SetHeaderPressedHandler([this](int column) { return XMLList_HeaderPressed(column); });
    XMLList().SetConstructContextualMenuHandler(
        [this](fw::MenuItem& base, int x, int y) { return XMLList_ConstructContextualMenu(base, x, y); });
    XMLList().SetContextualMenuActionHandler([this](fw::MenuItem& item) { return XMLList_ContextualMenuAction(item); });
    connect(&XMLList(), &fw::Listbox::Change, this, &MainWindow::XMLList_Change);
    connect(&XMLList(), &fw::Listbox::DoubleClick, this, &MainWindow::XMLList_DoubleClick);

    AddControl<fw::GroupBox>(QStringLiteral("GroupBox1"));
    GroupBox1().SetRect(401, 74, 281, 486);
    GroupBox1().SetLocks(false, true, true, true);
    GroupBox1().SetPage(1);
    GroupBox1().SetTabIndex(6);
    GroupBox1().SetCaption(QStringLiteral("Preview"));

    AddControl<fw::EditField>(QStringLiteral("PreviewArea"));
    PreviewArea().SetRect(405, 89, 273, 468);
    PreviewArea().SetLocks(true, true, true, true);
    PreviewArea().SetPage(1);
    PreviewArea().SetContainer(GroupBox1());
    PreviewArea().SetTabIndex(7);
    PreviewArea().SetMultiline(true);
    PreviewArea().SetReadOnly(true);
    PreviewArea().SetAcceptTabs(true);

    AddControl<fw::Listbox>(QStringLiteral("PatternsBox"));
    PatternsBox().SetRect(20, 40, 473, 486);
    PatternsBox().SetLocks(true, true, true, true);
    PatternsBox().SetPage(4);
    PatternsBox().SetTabIndex(0);
    PatternsBox().SetColumnCount(3);
    PatternsBox().SetHeadings({ QStringLiteral("Name"), QStringLiteral("Path") });
    PatternsBox().SetHasHeading(true);
    PatternsBox().SetColumnWidths(QStringLiteral("30%, 70%, 0%"));
    PatternsBox().SetColumnsResizable(false);
    PatternsBox().SetEnabled(false);
    connect(&PatternsBox(), &fw::Listbox::Change, this, &MainWindow::PatternsBox_Change);

    AddControl<fw::PushButton>(QStringLiteral("PushButton1"));
    PushButton1().SetRect(505, 40, 177, 60);
    PushButton1().SetLocks(false, true, true, false);
    PushButton1().SetPage(4);
    PushButton1().SetTabIndex(1);
    PushButton1().SetText(QStringLiteral("The QEV Pattern File Quick Help"));
    PushButton1().SetEnabled(false);
    connect(&PushButton1(), &fw::PushButton::Action, this, &MainWindow::PushButton1_Action);

    AddControl<fw::PushButton>(QStringLiteral("SelectPattern"));
    SelectPattern().SetRect(505, 112, 177, 60);
    SelectPattern().SetLocks(false, true, true, false);
    SelectPattern().SetPage(4);
    SelectPattern().SetTabIndex(2);
    SelectPattern().SetText(QStringLiteral("Apply Selected Pattern"));
    SelectPattern().SetEnabled(false);

    AddControl<fw::EditField>(QStringLiteral("PatternEdit"));
    PatternEdit().SetRect(505, 184, 177, 376);
    PatternEdit().SetLocks(false, true, true, true);
    PatternEdit().SetPage(4);
    PatternEdit().SetTabIndex(3);
    PatternEdit().SetMultiline(true);
    PatternEdit().SetReadOnly(true);
    PatternEdit().SetEnabled(false);

    AddControl<fw::StaticText>(QStringLiteral("StaticText1"));
    StaticText1().SetRect(0, 427, 540, 20);
    StaticText1().SetLocks(false, false, false, false);
    StaticText1().SetPage(4);
    StaticText1().SetTabIndex(4);
    StaticText1().SetText(QStringLiteral("Unavailable..."));
    StaticText1().SetAlignment(kNoticeAlignment);
    StaticText1().SetTextColor(kNoticeRed);

    AddControl<fw::PushButton>(QStringLiteral("EditButton"));
    EditButton().SetRect(20, 40, 42, 22);
    EditButton().SetLocks(true, true, false, false);
    EditButton().SetPage(1);
    EditButton().SetTabIndex(0);
    EditButton().SetText(QStringLiteral("Edit"));
    EditButton().SetEnabled(false);
    connect(&EditButton(), &fw::PushButton::Action, this, &MainWindow::EditButton_Action);

    AddControl<fw::PushButton>(QStringLiteral("InButton"));
    InButton().SetRect(570, 40, 50, 22);
    InButton().SetLocks(false, true, true, false);
    InButton().SetPage(1);
    InButton().SetTabIndex(3);
    InButton().SetText(QStringLiteral("In"));
    InButton().SetEnabled(false);
    connect(&InButton(), &fw::PushButton::Action, this, &MainWindow::InButton_Action);

    AddControl<fw::PushButton>(QStringLiteral("OutButton"));
    OutButton().SetRect(632, 40, 50, 22);
    OutButton().SetLocks(false, true, true, false);
    OutButton().SetPage(1);
    OutButton().SetTabIndex(4);
    OutButton().SetText(QStringLiteral("Out"));
    OutButton().SetEnabled(false);
    connect(&OutButton(), &fw::PushButton::Action, this, &MainWindow::OutButton_Action);

    AddControl<fw::EditField>(QStringLiteral("StatusNest"));
    StatusNest().SetRect(169, 40, 389, 22);
    StatusNest().SetLocks(true, false, true, false);
    StatusNest().SetPage(1);
    StatusNest().SetTabIndex(2);
    StatusNest().SetReadOnly(true);

    AddControl<fw::PushButton>(QStringLiteral("RenameButton"));
    RenameButton().SetRect(74, 40, 83, 22);
    RenameButton().SetLocks(true, true, false, false);
    RenameButton().SetPage(1);
    RenameButton().SetTabIndex(1);
    RenameButton().SetText(QStringLiteral("Rename"));
    RenameButton().SetEnabled(false);
    connect(&RenameButton(), &fw::PushButton::Action, this, &MainWindow::RenameButton_Action);

    AddControl<fw::StaticText>(QStringLiteral("StaticText2"));
    StaticText2().SetRect(20, 547, 597, 20);
    StaticText2().SetLocks(true, false, true, true);
    StaticText2().SetPage(2);
    StaticText2().SetTabIndex(5);
    StaticText2().SetText(QStringLiteral("This one is being worked on. Should be ready VERY soon."));
    StaticText2().SetAlignment(kNoticeAlignment);
    StaticText2().SetTextColor(kNoticeRed);
}
