#include "framework/rectcontrol.h"

#include "framework/groupbox.h"
#include "framework/window.h"

namespace fw {

namespace {

    // One axis of a lock: where the control starts and how long it is, given the container before and now.
    std::pair<int, int> Follow(int start, int length, int parentStart, int parentLength, int nowStart, int nowLength,
        bool lockLow, bool lockHigh)
    {
        const int low = start - parentStart;
        const int high = parentStart + parentLength - (start + length);
        if (lockLow && lockHigh)
            return { nowStart + low, std::max(0, nowLength - low - high) };
        if (lockHigh)
            return { nowStart + nowLength - high - length, length };
        return { nowStart + low, length };
    }

} // namespace

QString RectControl::Name() const { return m_widget.objectName(); }

bool RectControl::Enabled() const { return !m_widget.testAttribute(Qt::WA_ForceDisabled); }

void RectControl::SetEnabled(bool enabled) { m_widget.setEnabled(enabled); }

void RectControl::SetRect(int left, int top, int width, int height)
{
    m_rect = QRect(left, top, width, height);
    if (m_window)
        m_window->ArrangeControls();
}

void RectControl::SetLocks(bool left, bool top, bool right, bool bottom)
{
    m_lockLeft = left;
    m_lockTop = top;
    m_lockRight = right;
    m_lockBottom = bottom;
    if (m_window)
        m_window->ArrangeControls();
}

void RectControl::SetPage(int page)
{
    m_page = page;
    if (m_window)
        m_window->ShowPages();
}

void RectControl::SetContainer(GroupBox& box)
{
    if (&box == this || box.m_window != m_window)
        throw RuntimeException("a control's container must be another control of its window");
    const bool hidden = m_widget.isHidden();
    m_widget.setParent(&box);
    m_widget.setHidden(hidden);
    m_container = &box;
    m_window->ArrangeControls();
}

void RectControl::Arrange()
{
    if (!m_window)
        return;
    QRect before(QPoint(0, 0), m_window->DesignSize());
    QRect now(QPoint(0, 0), m_window->Size());
    if (m_container) {
        before = m_container->m_rect;
        now = m_container->m_windowRect;
    }
    const auto [left, width] = Follow(
        m_rect.left(), m_rect.width(), before.left(), before.width(), now.left(), now.width(), m_lockLeft, m_lockRight);
    const auto [top, height] = Follow(
        m_rect.top(), m_rect.height(), before.top(), before.height(), now.top(), now.height(), m_lockTop, m_lockBottom);
    m_windowRect = QRect(left, top, width, height);
    m_widget.setGeometry(m_windowRect.translated(-now.topLeft()));
}

} // namespace fw
