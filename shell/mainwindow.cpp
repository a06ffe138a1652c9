#include "shell/mainwindow.h"

#include "dialogs/stringinput.h"
#include "editor/nodecommands.h"
#include "editor/nodelist.h"
#include "editor/noderows.h"
#include "editor/qevfileactions.h"
#include "editor/unsavededits.h"
#include "editor/xmlfileactions.h"
#include "framework/controlrow.h"
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
#include <QHash>
#include <QStringList>
#include <functional>

namespace {

using Kind = fw::ControlRow::Kind;
using Locks = fw::ControlRow::Locks;
constexpr int kLeftTop = Locks::Left | Locks::Top;
constexpr int kTopRight = Locks::Top | Locks::Right;

// The window's 26 controls in creation order: name, kind, place, locks, tab page, focus order, enabled, text.
constexpr fw::ControlRow kControls[] = {
    { "TabPanel1", Kind::TabPanel, 0, 0, 702, 580, Locks::AllEdges, 0, -1, true, nullptr },
    { "todoList", Kind::Listbox, 20, 40, 129, 520, kLeftTop | Locks::Bottom, 3, 0, true, nullptr },
    { "editTodo", Kind::EditField, 161, 74, 521, 384, Locks::AllEdges, 3, 1, true, nullptr },
    { "updateTodo", Kind::PushButton, 161, 470, 521, 22, Locks::Left | Locks::Right | Locks::Bottom, 3, 2, false,
        "Update" },
    { "deleteTodo", Kind::PushButton, 161, 538, 521, 22, Locks::Left | Locks::Right | Locks::Bottom, 3, 3, false,
        "Delete" },
    { "addTodo", Kind::PushButton, 161, 504, 521, 22, Locks::Left | Locks::Right | Locks::Bottom, 3, 4, true, "Add" },
    { "todoName", Kind::EditField, 161, 40, 521, 22, kLeftTop | Locks::Right, 3, 5, true, nullptr },
    { "Separator1", Kind::Separator, 232, 40, 10, 427, kLeftTop | Locks::Bottom, 2, 0, false, nullptr },
    { "compareFile", Kind::PushButton, 20, 479, 435, 22, Locks::Bottom, 2, 1, false, "Select File" },
    { "comparator1", Kind::EditField, 20, 40, 200, 427, Locks::Top | Locks::Bottom, 2, 2, false, nullptr },
    { "comparator2", Kind::EditField, 255, 40, 200, 427, Locks::Top | Locks::Bottom, 2, 3, false, nullptr },
    { "compareButton", Kind::PushButton, 20, 513, 435, 22, Locks::Bottom, 2, 4, false, "Compare" },
    { "XMLList", Kind::Listbox, 20, 74, 371, 486, Locks::AllEdges, 1, 5, true, nullptr },
    { "GroupBox1", Kind::GroupBox, 401, 74, 281, 486, kTopRight | Locks::Bottom, 1, 6, true, "Preview" },
    { "PreviewArea", Kind::EditField, 405, 89, 273, 468, Locks::AllEdges, 1, 7, true, nullptr },
    { "PatternsBox", Kind::Listbox, 20, 40, 473, 486, Locks::AllEdges, 4, 0, false, nullptr },
    { "PushButton1", Kind::PushButton, 505, 40, 177, 60, kTopRight, 4, 1, false, "The QEV Pattern File Quick Help" },
    { "SelectPattern", Kind::PushButton, 505, 112, 177, 60, kTopRight, 4, 2, false, "Apply Selected Pattern" },
    { "PatternEdit", Kind::EditField, 505, 184, 177, 376, kTopRight | Locks::Bottom, 4, 3, false, nullptr },
    { "StaticText1", Kind::StaticText, 0, 427, 540, 20, 0, 4, 4, true, "Unavailable..." },
    { "EditButton", Kind::PushButton, 20, 40, 42, 22, kLeftTop, 1, 0, false, "Edit" },
    { "InButton", Kind::PushButton, 570, 40, 50, 22, kTopRight, 1, 3, false, "In" },
    { "OutButton", Kind::PushButton, 632, 40, 50, 22, kTopRight, 1, 4, false, "Out" },
    { "StatusNest", Kind::EditField, 169, 40, 389, 22, Locks::Left | Locks::Right, 1, 2, true, nullptr },
    { "RenameButton", Kind::PushButton, 74, 40, 83, 22, kLeftTop, 1, 1, false, "Rename" },
    { "StaticText2", Kind::StaticText, 20, 547, 597, 20, Locks::Left | Locks::Right | Locks::Bottom, 2, 5, true,
        "This one is being worked on. Should be ready VERY soon." },
};

void setReadOnlyPane(fw::EditField& pane)
{
    pane.SetMultiline(true);
    pane.SetReadOnly(true);
}

// The two notices: red and centred in their strip (centred keeps "Unavailable..." off the window's left edge).
void setNotice(fw::StaticText& notice)
{
    notice.SetAlignment(Qt::AlignCenter);
    notice.SetTextColor(QColor(0xFF, 0x00, 0x00));
}

// The main window that Instance() created: held here while the framework keeps it open.
std::unique_ptr<MainWindow>& heldInstance()
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
    heldInstance() = fw::Window::Create<MainWindow>();
    return *heldInstance();
}

void MainWindow::releaseInstance() { heldInstance().reset(); }

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

bool MainWindow::Event_CancelClose(bool) { return !editor::mayDiscardEdits(*XMLRead); }

void MainWindow::Event_EnableMenuItems()
{
    OpenXML()->Enable();
    SaveXML()->Enable();
    OpenQEV()->Enable();
    SaveQEV()->Enable();
    CreditsMenu()->Enable();
}

namespace {

enum class Event { Action, Change, DoubleClick };

// A control's event and the handler it runs; the list's menu events, which return a result, are set with its other
// particular settings.
struct EventWiring {
    const char* control;
    Event event;
    void (MainWindow::*handler)();
};

constexpr EventWiring kEventWiring[] = {
    { "todoList", Event::Change, &MainWindow::todoList_Change },
    { "updateTodo", Event::Action, &MainWindow::updateTodo_Action },
    { "deleteTodo", Event::Action, &MainWindow::deleteTodo_Action },
    { "addTodo", Event::Action, &MainWindow::addTodo_Action },
    { "compareFile", Event::Action, &MainWindow::compareFile_Action },
    { "compareButton", Event::Action, &MainWindow::compareButton_Action },
    { "XMLList", Event::Change, &MainWindow::XMLList_Change },
    { "XMLList", Event::DoubleClick, &MainWindow::XMLList_DoubleClick },
    { "PatternsBox", Event::Change, &MainWindow::PatternsBox_Change },
    { "PushButton1", Event::Action, &MainWindow::PushButton1_Action },
    { "EditButton", Event::Action, &MainWindow::EditButton_Action },
    { "InButton", Event::Action, &MainWindow::InButton_Action },
    { "OutButton", Event::Action, &MainWindow::OutButton_Action },
    { "RenameButton", Event::Action, &MainWindow::RenameButton_Action },
};

// Connects one event of a control of window to its handler.
void wire(MainWindow& window, const EventWiring& wiring)
{
    const QString name = QString::fromLatin1(wiring.control);
    switch (wiring.event) {
    case Event::Action:
        QObject::connect(&window.Control<fw::PushButton>(name), &fw::PushButton::Action, &window, wiring.handler);
        break;
    case Event::Change:
        QObject::connect(&window.Control<fw::Listbox>(name), &fw::Listbox::Change, &window, wiring.handler);
        break;
    case Event::DoubleClick:
        QObject::connect(&window.Control<fw::Listbox>(name), &fw::Listbox::DoubleClick, &window, wiring.handler);
        break;
    }
}

} // namespace

void MainWindow::_CreateControls0()
{
    // What is particular to a control, applied right after its row; its events are connected last, so that applying
    // the design values runs no handler.
    const QHash<QString, std::function<void()>> particular {
        { QStringLiteral("TabPanel1"),
            [this] {
                TabPanel1().SetCaptions(
                    QStringLiteral("Editor\rComparator\rTo-do\rPattern File").split(QLatin1Char('\r')));
                TabPanel1().SetCurrentPage(1);
            } },
        { QStringLiteral("todoList"),
            [this] {
                todoList().SetColumnCount(1);
                todoList().SetHasHeading(false);
                todoList().SetColumnsResizable(false);
                todoList().SetGridLinesHorizontal(2);
                todoList().SetGridLinesVertical(1);
                // The design gives the initial note as one row text: the title, a tab, the note's text.
                const QString initialRow = QStringLiteral(
                    "Note\tThese notes are temporary and will not be saved. They should be used when working with "
                    "large files, and you don't want to forget anything.");
                todoList().AddRow(fw::NthField(initialRow, QStringLiteral("\t"), 1));
                todoList().SetCell(todoList().LastIndex(), 1, fw::NthField(initialRow, QStringLiteral("\t"), 2));
            } },
        { QStringLiteral("editTodo"), [this] { editTodo().SetMultiline(true); } },
        { QStringLiteral("deleteTodo"), [this] { deleteTodo().SetDefault(true); } },
        { QStringLiteral("comparator1"), [this] { setReadOnlyPane(comparator1()); } },
        { QStringLiteral("comparator2"), [this] { setReadOnlyPane(comparator2()); } },
        { QStringLiteral("XMLList"),
            [this] {
                XMLList().SetColumnCount(3);
                XMLList().SetHeadings(
                    { QStringLiteral("Name"), QStringLiteral("Value"), QStringLiteral("Attributes") });
                XMLList().SetHasHeading(true);
                XMLList().SetColumnWidths(QStringLiteral("30%, 40%, 30%"));
                XMLList().SetColumnsResizable(true);
                XMLList().SetGridLinesHorizontal(0);
                XMLList().SetGridLinesVertical(2);
                XMLList().SetHeaderPressedHandler([this](int column) { return XMLList_HeaderPressed(column); });
                XMLList().SetConstructContextualMenuHandler(
                    [this](fw::MenuItem& base, int x, int y) { return XMLList_ConstructContextualMenu(base, x, y); });
                XMLList().SetContextualMenuActionHandler(
                    [this](fw::MenuItem& item) { return XMLList_ContextualMenuAction(item); });
            } },
        { QStringLiteral("PreviewArea"),
            [this] {
                PreviewArea().SetContainer(GroupBox1());
                setReadOnlyPane(PreviewArea());
                PreviewArea().SetAcceptTabs(true);
            } },
        { QStringLiteral("PatternsBox"),
            [this] {
                PatternsBox().SetColumnCount(3);
                PatternsBox().SetHeadings({ QStringLiteral("Name"), QStringLiteral("Path") });
                PatternsBox().SetHasHeading(true);
                PatternsBox().SetColumnWidths(QStringLiteral("30%, 70%, 0%"));
                PatternsBox().SetColumnsResizable(false);
                PatternsBox().SetGridLinesHorizontal(2);
                PatternsBox().SetGridLinesVertical(2);
            } },
        { QStringLiteral("PatternEdit"), [this] { setReadOnlyPane(PatternEdit()); } },
        { QStringLiteral("StaticText1"), [this] { setNotice(StaticText1()); } },
        { QStringLiteral("StatusNest"), [this] { StatusNest().SetReadOnly(true); } },
        { QStringLiteral("StaticText2"), [this] { setNotice(StaticText2()); } },
    };
    for (const fw::ControlRow& row : kControls) {
        AddControl(row);
        if (const auto found = particular.find(QString::fromLatin1(row.name)); found != particular.end())
            found.value()();
        for (const EventWiring& wiring : kEventWiring)
            if (qstrcmp(wiring.control, row.name) == 0)
                wire(*this, wiring);
    }
}
