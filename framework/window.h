#pragma once

#include "framework/controlrow.h"
#include "framework/exceptions.h"
#include "framework/menubar.h"
#include "framework/ref.h"

#include <QHash>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QMenuBar;
class QShortcut;

namespace fw {

class RectControl;
class TabPanel;

// A top-level window built in two phases: Create<T>() constructs the object, then runs the hooks Layout,
// CreateControls and AddMenuHandlers, in this order, and raises the Open event. Sizes are those of the content
// area (below the menu bar). Controls are created with AddControl and found by name with Control<T>.
class Window : public QWidget {
    Q_OBJECT

public:
    using MenuHandler = std::function<bool()>;

    // Makes and constructs a window of class T; the caller owns it.
    template <class T, class... Args> static std::unique_ptr<T> Create(Args&&... args)
    {
        auto window = std::make_unique<T>(std::forward<Args>(args)...);
        window->Construct();
        return window;
    }
    // The first open window of class T, or nullptr.
    template <class T> static T* FindOpen()
    {
        for (Window* window : OpenWindows())
            if (auto* found = dynamic_cast<T*>(window))
                return found;
        return nullptr;
    }
    // Windows constructed and not closed, oldest first.
    static std::vector<Window*> OpenWindows();

    ~Window() override;

    // Runs the construction hooks and the Open event; raises RuntimeException when run twice.
    void Construct();
    // Open: constructed and not closed since.
    bool IsOpen() const { return m_open; }

    void Show();
    // Shows the window application-modal; returns after it has closed and its Close event ran.
    void ShowModal();
    // Closes the window unless its CancelClose event keeps it open.
    void Close();
    // Asks the CancelClose event whether the window may go, for its close box or, appQuitting, for the application's
    // quit; an exception leaving the event is reported and keeps the window.
    bool MayClose(bool appQuitting);

    QString Title() const { return windowTitle(); }
    void SetTitle(const QString& title) { setWindowTitle(title); }

    // Installs a menu bar: builds its menus, actions and shortcuts.
    void SetMenuBar(const Ref<fw::MenuBar>& bar);
    Ref<fw::MenuBar> MenuBar() const { return m_bar; }
    QMenuBar* QtMenuBar() const { return m_qtMenuBar; }
    // Registers the handler run when the item of that name is chosen (one per name).
    void AddMenuHandler(const QString& name, MenuHandler handler);
    // The enabling pass: every item from its AutoEnable flag, the quit item enabled, then Event_EnableMenuItems.
    void UpdateMenuItems();

    QSize Size() const { return m_contentSize; }
    int Width() const { return m_contentSize.width(); }
    int Height() const { return m_contentSize.height(); }
    void SetSize(int width, int height);
    QSize MinimumSize() const { return m_minimum; }
    void SetMinimumSize(int width, int height);
    QSize MaximumSize() const { return m_maximum; }
    void SetMaximumSize(int width, int height);
    // A fixed window keeps its size.
    bool Resizable() const { return m_resizable; }
    void SetResizable(bool resizable);
    // A dialog's frame: title and close button only.
    void SetCloseOnlyFrame(bool closeOnly);
    // The content size the control rectangles are given for: the size set by Layout.
    QSize DesignSize() const { return m_designSize; }

    // Creates a control of class T registered under name (also its objectName); raises RuntimeException when the
    // name is taken.
    template <class T> T& AddControl(const QString& name)
    {
        if (m_controlsByName.contains(name))
            throw RuntimeException("a control named " + name.toStdString() + " exists already");
        auto* control = new T(m_content);
        Register(name, *control);
        return *control;
    }
    // Creates the control of one row of a design table and gives it the row's values.
    RectControl& AddControl(const ControlRow& row);
    // The control of that name as a T; raises NilObjectException when there is none of that kind.
    template <class T = RectControl> T& Control(const QString& name) const
    {
        auto* control = dynamic_cast<T*>(m_controlsByName.value(name));
        if (!control)
            throw NilObjectException("no control named " + name.toStdString() + " of that kind");
        return *control;
    }
    bool HasControl(const QString& name) const { return m_controlsByName.contains(name); }
    // Controls in creation order.
    const std::vector<RectControl*>& Controls() const { return m_controls; }

Q_SIGNALS:
    void Closed();

protected:
    Window();

    virtual void Layout() { }
    virtual void CreateControls() { }
    virtual void AddMenuHandlers() { }
    virtual void Event_Open() { }
    // True keeps the window open (and the application running when it is quitting).
    virtual bool Event_CancelClose(bool /*appQuitting*/) { return false; }
    virtual void Event_Close() { }
    virtual void Event_EnableMenuItems() { }

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab follow the controls' focus order (see MoveFocus).
    bool focusNextPrevChild(bool next) override;

private:
    friend class RectControl;

    RectControl& newControl(ControlRow::Kind kind, const QString& name);
    void Register(const QString& name, RectControl& control);
    void ArrangeContent();
    void ArrangeControls();
    void ShowPages();
    void ApplySizeLimits();
    // Controls by their place in the focus order; those without one follow, in creation order.
    std::vector<RectControl*> FocusOrder() const;
    // Focuses the next (or previous) control after the one holding the focus that is shown, enabled and takes the
    // focus by Tab, wrapping round; from nothing, the first (or last). False when no control takes the focus.
    bool MoveFocus(bool next);
    int MenuBarHeight() const;
    void Choose(MenuItem& item);

    QWidget* m_content;
    QMenuBar* m_qtMenuBar = nullptr;
    Ref<fw::MenuBar> m_bar;
    std::vector<std::pair<MenuItem*, QAction*>> m_menuActions;
    std::vector<QShortcut*> m_shortcuts;
    QHash<QString, MenuHandler> m_menuHandlers;
    std::vector<RectControl*> m_controls;
    QHash<QString, RectControl*> m_controlsByName;
    TabPanel* m_tabPanel = nullptr;
    QSize m_contentSize { 400, 300 };
    QSize m_designSize { 400, 300 };
    QSize m_minimum { 0, 0 };
    QSize m_maximum { QWIDGETSIZE_MAX, QWIDGETSIZE_MAX };
    bool m_resizable = true;
    bool m_constructed = false;
    bool m_open = false;
};

} // namespace fw
