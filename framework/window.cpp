#include "framework/window.h"

#include "framework/application.h"
#include "framework/checkbox.h"
#include "framework/editfield.h"
#include "framework/groupbox.h"
#include "framework/listbox.h"
#include "framework/pushbutton.h"
#include "framework/quitmenuitem.h"
#include "framework/rectcontrol.h"
#include "framework/separator.h"
#include "framework/statictext.h"
#include "framework/tabpanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <algorithm>
#include <climits>

namespace fw {

Window::Window()
    : m_content(new QWidget(this))
{
    resize(m_contentSize);
}

Window::~Window()
{
    // The controls go first and silently: their signals would reach handlers of a window already half destroyed.
    for (RectControl* control : m_controls)
        control->Widget().blockSignals(true);
    m_controls.clear();
    m_controlsByName.clear();
    m_tabPanel = nullptr;
    delete m_content;
}

std::vector<Window*> Window::OpenWindows()
{
    std::vector<Window*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(widget); window && window->m_open)
            windows.push_back(window);
    return windows;
}

void Window::Construct()
{
    if (m_constructed)
        throw RuntimeException("the window is constructed already");
    m_constructed = true;
    Layout();
    m_designSize = m_contentSize;
    CreateControls();
    if (!focusWidget())
        MoveFocus(true);
    AddMenuHandlers();
    m_open = true;
    Event_Open();
    if (m_bar)
        UpdateMenuItems();
}

void Window::Show()
{
    m_open = true;
    show();
    raise();
    activateWindow();
}

void Window::ShowModal()
{
    QPointer<Window> self(this);
    QEventLoop loop;
    connect(this, &Window::Closed, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    Show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (self)
        setWindowModality(Qt::NonModal);
}

void Window::Close() { close(); }

bool Window::MayClose(bool appQuitting)
{
    bool cancel = true;
    Application::Guard([&] { cancel = Event_CancelClose(appQuitting); });
    return !cancel;
}

void Window::closeEvent(QCloseEvent* event)
{
    if (!MayClose(false)) {
        event->ignore();
        return;
    }
    Application::Guard([this] { Event_Close(); });
    event->accept();
    m_open = false;
    Q_EMIT Closed();
}

void Window::keyPressEvent(QKeyEvent* event)
{
    // Return that no control took (a focused button presses itself) presses the default button of a dialog only; a
    // document window's default button is drawn as such and pressed by a click or from the keyboard while focused.
    const bool dialog = windowType() == Qt::Dialog;
    if (dialog && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        for (RectControl* control : m_controls) {
            auto* button = dynamic_cast<PushButton*>(control);
            if (button && button->isDefault() && button->isEnabled() && button->isVisible()) {
                button->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

void Window::SetMenuBar(const Ref<fw::MenuBar>& bar)
{
    delete m_qtMenuBar;
    m_qtMenuBar = nullptr;
    qDeleteAll(m_shortcuts);
    m_shortcuts.clear();
    m_menuActions.clear();
    m_bar = bar;
    if (bar) {
        m_qtMenuBar = new QMenuBar(this);
        const auto chosen = [this](const Ref<MenuItem>& item) { Application::Guard([&] { Choose(*item); }); };
        const auto made = [this](MenuItem& item, QAction& action, QMenu* submenu) {
            m_menuActions.emplace_back(&item, &action);
            if (submenu)
                connect(
                    submenu, &QMenu::aboutToShow, this, [this] { Application::Guard([this] { UpdateMenuItems(); }); });
            if (item.KeySequence().isEmpty())
                return;
            // Own shortcuts, always live, so that the enabling pass runs before deciding whether the item may run.
            auto* shortcut = new QShortcut(item.KeySequence(), this);
            shortcut->setContext(Qt::WindowShortcut);
            // A held shortcut acts once.
            shortcut->setAutoRepeat(false);
            m_shortcuts.push_back(shortcut);
            connect(shortcut, &QShortcut::activated, this, [this, &item] {
                Application::Guard([&] {
                    UpdateMenuItems();
                    if (item.Enabled())
                        Choose(item);
                });
            });
        };
        for (int i = 0; i < bar->Count(); ++i) {
            const Ref<MenuItem> top = bar->Item(i);
            QMenu* menu = m_qtMenuBar->addMenu(top->Text());
            top->FillMenu(*menu, chosen, made);
            made(*top, *menu->menuAction(), menu);
        }
        m_qtMenuBar->show();
    }
    ApplySizeLimits();
    SetSize(Width(), Height());
}

void Window::AddMenuHandler(const QString& name, MenuHandler handler)
{
    m_menuHandlers.insert(name, std::move(handler));
}

void Window::UpdateMenuItems()
{
    if (!m_bar)
        return;
    const std::function<void(MenuItem&)> reset = [&reset](MenuItem& item) {
        for (int i = 0; i < item.Count(); ++i) {
            MenuItem& child = *item.Item(i);
            child.SetEnabled(child.AutoEnable() || dynamic_cast<QuitMenuItem*>(&child));
            reset(child);
        }
    };
    reset(*m_bar);
    Event_EnableMenuItems();
    for (const auto& [item, action] : m_menuActions)
        action->setEnabled(item->ShownEnabled());
}

void Window::Choose(MenuItem& item)
{
    const MenuHandler handler = item.Name().isEmpty() ? MenuHandler() : m_menuHandlers.value(item.Name());
    if (handler && handler())
        return;
    item.Perform();
}

void Window::SetSize(int width, int height)
{
    const QSize wanted = QSize(width, height).expandedTo(m_minimum).boundedTo(m_maximum);
    m_contentSize = wanted;
    if (!m_resizable)
        ApplySizeLimits();
    resize(wanted.width(), wanted.height() + MenuBarHeight());
    ArrangeContent();
}

void Window::SetMinimumSize(int width, int height)
{
    m_minimum = QSize(width, height);
    ApplySizeLimits();
}

void Window::SetMaximumSize(int width, int height)
{
    m_maximum = QSize(std::min(width, QWIDGETSIZE_MAX), std::min(height, QWIDGETSIZE_MAX));
    ApplySizeLimits();
}

void Window::SetResizable(bool resizable)
{
    m_resizable = resizable;
    ApplySizeLimits();
}

void Window::SetCloseOnlyFrame(bool closeOnly)
{
    const bool visible = isVisible();
    if (closeOnly)
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    else
        setWindowFlags(Qt::Window);
    if (visible)
        show();
}

void Window::ApplySizeLimits()
{
    const int bar = MenuBarHeight();
    if (m_resizable) {
        setMinimumSize(m_minimum.width(), std::min(m_minimum.height() + bar, QWIDGETSIZE_MAX));
        setMaximumSize(m_maximum.width(), std::min(m_maximum.height() + bar, QWIDGETSIZE_MAX));
    } else {
        setFixedSize(m_contentSize.width(), m_contentSize.height() + bar);
    }
}

int Window::MenuBarHeight() const
{
    if (!m_qtMenuBar)
        return 0;
    m_qtMenuBar->ensurePolished();
    return m_qtMenuBar->sizeHint().height();
}

void Window::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_contentSize = QSize(width(), std::max(0, height() - MenuBarHeight()));
    ArrangeContent();
}

void Window::ArrangeContent()
{
    const int bar = MenuBarHeight();
    if (m_qtMenuBar)
        m_qtMenuBar->setGeometry(0, 0, m_contentSize.width(), bar);
    m_content->setGeometry(0, bar, m_contentSize.width(), m_contentSize.height());
    ArrangeControls();
}

void Window::ArrangeControls()
{
    for (RectControl* control : m_controls)
        control->Arrange();
}

void Window::ShowPages()
{
    const int page = m_tabPanel ? m_tabPanel->CurrentPage() : 0;
    for (RectControl* control : m_controls)
        if (m_tabPanel && control->Page() > 0)
            control->Widget().setVisible(control->Page() == page);
}

RectControl& Window::AddControl(const ControlRow& row)
{
    RectControl& control = newControl(row.kind, QString::fromLatin1(row.name));
    if (row.caption) {
        const QString caption = QString::fromUtf8(row.caption);
        if (auto* button = qobject_cast<QAbstractButton*>(&control.Widget()))
            button->setText(caption);
        else if (auto* label = qobject_cast<QLabel*>(&control.Widget()))
            label->setText(caption);
        else if (auto* box = qobject_cast<QGroupBox*>(&control.Widget()))
            box->setTitle(caption);
    }
    control.SetRect(row.left, row.top, row.width, row.height);
    control.SetLocks(row.locks & ControlRow::Left, row.locks & ControlRow::Top, row.locks & ControlRow::Right,
        row.locks & ControlRow::Bottom);
    control.SetPage(row.page);
    control.SetTabIndex(row.tabIndex);
    control.SetEnabled(row.enabled);
    return control;
}

RectControl& Window::newControl(ControlRow::Kind kind, const QString& name)
{
    using Kind = ControlRow::Kind;
    switch (kind) {
    case Kind::TabPanel:
        return AddControl<TabPanel>(name);
    case Kind::Listbox:
        return AddControl<Listbox>(name);
    case Kind::EditField:
        return AddControl<EditField>(name);
    case Kind::PushButton:
        return AddControl<PushButton>(name);
    case Kind::CheckBox:
        return AddControl<CheckBox>(name);
    case Kind::GroupBox:
        return AddControl<GroupBox>(name);
    case Kind::Separator:
        return AddControl<Separator>(name);
    case Kind::StaticText:
        return AddControl<StaticText>(name);
    }
    throw RuntimeException("no such kind of control");
}

void Window::Register(const QString& name, RectControl& control)
{
    control.Widget().setObjectName(name);
    control.m_window = this;
    m_controls.push_back(&control);
    m_controlsByName.insert(name, &control);
    if (auto* panel = dynamic_cast<TabPanel*>(&control); panel && !m_tabPanel) {
        m_tabPanel = panel;
        connect(panel, &QTabWidget::currentChanged, this, [this] { ShowPages(); });
    }
    control.Widget().show();
    ArrangeControls();
}

std::vector<RectControl*> Window::FocusOrder() const
{
    std::vector<RectControl*> order = m_controls;
    std::stable_sort(order.begin(), order.end(), [](const RectControl* a, const RectControl* b) {
        const int left = a->TabIndex() < 0 ? INT_MAX : a->TabIndex();
        const int right = b->TabIndex() < 0 ? INT_MAX : b->TabIndex();
        return left < right;
    });
    return order;
}

bool Window::focusNextPrevChild(bool next) { return MoveFocus(next); }

bool Window::MoveFocus(bool next)
{
    // Qt's own focus chain would also stop at the inner parts of compound controls; the order is ours alone.
    const std::vector<RectControl*> order = FocusOrder();
    const auto count = std::ptrdiff_t(order.size());
    // Where the focus stands: at the control nearest around the focused widget; with none, before the first.
    std::ptrdiff_t at = next ? -1 : count;
    for (QWidget* widget = focusWidget(); widget && widget != this; widget = widget->parentWidget()) {
        const auto found = std::find_if(
            order.begin(), order.end(), [widget](RectControl* control) { return &control->FocusWidget() == widget; });
        if (found != order.end()) {
            at = found - order.begin();
            break;
        }
    }
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t i = ((next ? at + step : at - step) % count + count) % count;
        QWidget& widget = order[size_t(i)]->FocusWidget();
        if (widget.isVisibleTo(this) && widget.isEnabled() && (widget.focusPolicy() & Qt::TabFocus)) {
            widget.setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace fw
