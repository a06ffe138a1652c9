#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace fw {

class GroupBox;
class Window;

// What every control of a window has: a name, a design rectangle in the window's content coordinates at its
// design size, four edge locks, a tab page and an optional group box around it.
// A locked edge keeps its distance from the same edge of the container (the group box, or else the window);
// locked on both edges of an axis the control stretches, on neither it keeps its place.
class RectControl {
public:
    RectControl(const RectControl&) = delete;
    RectControl& operator=(const RectControl&) = delete;
    virtual ~RectControl() = default;

    // The Qt widget that is this control.
    QWidget& Widget() const { return m_widget; }
    QString Name() const;

    bool Enabled() const;
    void SetEnabled(bool enabled);

    // Design place, in the window's content coordinates at the window's design size.
    void SetRect(int left, int top, int width, int height);
    QRect Rect() const { return m_rect; }
    // Place now, in the window's content coordinates.
    QRect WindowRect() const { return m_windowRect; }

    void SetLocks(bool left, bool top, bool right, bool bottom);
    bool LockLeft() const { return m_lockLeft; }
    bool LockTop() const { return m_lockTop; }
    bool LockRight() const { return m_lockRight; }
    bool LockBottom() const { return m_lockBottom; }

    // Page of the window's tab panel (from 1) on which the control shows; 0 shows it on every page.
    void SetPage(int page);
    int Page() const { return m_page; }

    // Puts the control inside a group box of the same window; its rectangle stays in window coordinates.
    void SetContainer(GroupBox& box);
    GroupBox* Container() const { return m_container; }

    // Position in the keyboard focus order; controls without one follow in creation order.
    void SetTabIndex(int index) { m_tabIndex = index; }
    int TabIndex() const { return m_tabIndex; }

protected:
    explicit RectControl(QWidget& widget)
        : m_widget(widget)
    {
    }
    // The widget that takes the keyboard focus for this control.
    virtual QWidget& FocusWidget() const { return m_widget; }

private:
    friend class Window;
    void Arrange();

    QWidget& m_widget;
    Window* m_window = nullptr;
    GroupBox* m_container = nullptr;
    QRect m_rect;
    QRect m_windowRect;
    bool m_lockLeft = false;
    bool m_lockTop = false;
    bool m_lockRight = false;
    bool m_lockBottom = false;
    int m_page = 0;
    int m_tabIndex = -1;
};

} // namespace fw
