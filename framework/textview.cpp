#include "framework/textview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <cmath>

namespace fw {

namespace {

    // A line is decoded and laid out up to this many bytes: a 100 MB one-line file must not stall the view, and
    // nobody scrolls thousands of characters to the right to read.
    constexpr qsizetype kMaxLineBytes = 10000;
    constexpr int kMargin = 4;
    constexpr int kTabStopSpaces = 4;
    // Wide enough for kMaxLineBytes of any glyph, small enough for the layout engine's fixed-point widths.
    constexpr qreal kLayoutWidth = 1e6;

} // namespace

// One visible line, decoded and laid out.
struct TextView::Line {
    QTextLayout layout;
    std::vector<qsizetype> offsets; // for each UTF-16 unit, its byte from `start`; then the laid-out length
    qsizetype start = 0; // buffer byte where the line starts
    qsizetype shownEnd = 0; // buffer byte past the laid-out part
    qsizetype end = 0; // buffer byte where the line's text ends
    qreal width = 0;

    // The UTF-16 position of a byte of the line.
    int column(qsizetype byte) const
    {
        return int(std::lower_bound(offsets.begin(), offsets.end(), byte - start) - offsets.begin());
    }
};

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setText(TextRef {});
}

TextView::~TextView() = default;

void TextView::setText(const QString& text) { setText(TextRef { MakeTextBuffer(text.toUtf8()), 0 }); }

void TextView::setText(const TextRef& text)
{
    m_text = text;
    if (!m_text.buffer)
        m_text.buffer = MakeTextBuffer({});
    m_text.fromByte = std::clamp<qsizetype>(m_text.fromByte, 0, m_text.buffer->size());
    m_firstLine = m_text.buffer->lineAt(m_text.fromByte);
    m_anchor = m_cursor = m_text.fromByte;
    m_selecting = false;
    resetLayout();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

QString TextView::text() const { return m_text.buffer->decode(m_text.fromByte, m_text.buffer->size()); }

TextRef TextView::textRef() const { return m_text; }

void TextView::selectAll()
{
    if (isEnabled())
        setSelection(m_text.fromByte, m_text.buffer->size());
}

void TextView::copy() const
{
    const qsizetype from = std::min(m_anchor, m_cursor);
    const qsizetype to = std::max(m_anchor, m_cursor);
    if (from < to)
        QGuiApplication::clipboard()->setText(m_text.buffer->decode(from, to));
}

void TextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const int height = lineHeight();
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype last = std::min(lineCount(), first + viewport()->height() / height + 2);
    // Keep only the lines still in view, so scrolling by a line lays out one line.
    m_lines.erase(m_lines.begin(), m_lines.lower_bound(first));
    m_lines.erase(m_lines.lower_bound(last), m_lines.end());

    const QPalette& colors = palette();
    const qsizetype selectionFrom = std::min(m_anchor, m_cursor);
    const qsizetype selectionTo = std::max(m_anchor, m_cursor);
    const bool selection = isEnabled() && selectionFrom < selectionTo;
    const qreal x = kMargin - horizontalScrollBar()->value();
    qreal widest = m_contentWidth;
    painter.setPen(colors.color(QPalette::Text));
    for (qsizetype i = first; i < last; ++i) {
        const int y = int(i - first) * height;
        if (y + height <= event->rect().top() || y > event->rect().bottom())
            continue;
        const Line& shown = line(i);
        QList<QTextLayout::FormatRange> ranges;
        if (selection && selectionFrom <= shown.shownEnd && selectionTo > shown.start) {
            const int from = shown.column(std::max(selectionFrom, shown.start));
            const int to = shown.column(std::min(selectionTo, shown.shownEnd));
            if (from < to) {
                QTextLayout::FormatRange range;
                range.start = from;
                range.length = to - from;
                range.format.setBackground(colors.brush(QPalette::Highlight));
                range.format.setForeground(colors.brush(QPalette::HighlightedText));
                ranges.append(range);
            }
            // A selected line end shows as a selected space after the text, as in editors.
            if (shown.shownEnd == shown.end && selectionFrom <= shown.end && selectionTo > shown.end) {
                const qreal space = fontMetrics().horizontalAdvance(QLatin1Char(' '));
                painter.fillRect(QRectF(x + shown.width, y, space, height), colors.brush(QPalette::Highlight));
            }
        }
        shown.layout.draw(&painter, QPointF(x, y), ranges);
        widest = std::max(widest, shown.width);
    }
    // Widen the horizontal range to lines wider than estimated, once painting is over.
    if (widest > m_contentWidth) {
        m_contentWidth = int(std::ceil(widest));
        QMetaObject::invokeMethod(
            this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
    }
}

void TextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TextView::scrollContentsBy(int, int) { viewport()->update(); }

void TextView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Left:
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Home:
        if (control)
            vertical->triggerAction(QAbstractSlider::SliderToMinimum);
        horizontal->triggerAction(QAbstractSlider::SliderToMinimum);
        break;
    case Qt::Key_End:
        if (control)
            vertical->triggerAction(QAbstractSlider::SliderToMaximum);
        else
            horizontal->triggerAction(QAbstractSlider::SliderToMaximum);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const qsizetype byte = byteAt(event->position().toPoint());
    setSelection(event->modifiers() & Qt::ShiftModifier ? m_anchor : byte, byte);
    m_selecting = true;
}

void TextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_selecting || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    // Dragging past an edge scrolls that way, a step per move, so a selection can reach lines out of view.
    if (pos.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (pos.y() >= viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    if (pos.x() < 0)
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (pos.x() >= viewport()->width())
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    setSelection(m_anchor, byteAt(pos));
}

void TextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_selecting = false;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void TextView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        resetLayout();
    } else if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_anchor = m_cursor;
        m_selecting = false;
        viewport()->update();
    }
}

qsizetype TextView::lineCount() const { return m_text.buffer->lineCount() - m_firstLine; }

qsizetype TextView::lineStart(qsizetype line) const
{
    return line == 0 ? m_text.fromByte : m_text.buffer->lineStart(m_firstLine + line);
}

qsizetype TextView::lineEnd(qsizetype line) const
{
    // The text may start inside a "\r\n"; its first line is then empty.
    return std::max(lineStart(line), m_text.buffer->lineEnd(m_firstLine + line));
}

int TextView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

const TextView::Line& TextView::line(qsizetype index) const
{
    std::unique_ptr<Line>& slot = m_lines[index];
    if (slot)
        return *slot;
    slot = std::make_unique<Line>();
    Line& line = *slot;
    line.start = lineStart(index);
    line.end = lineEnd(index);
    line.shownEnd = line.end;
    if (line.end - line.start > kMaxLineBytes) {
        // Cut before a character, not inside one: back over at most three continuation bytes.
        const QByteArray& bytes = m_text.buffer->bytes();
        line.shownEnd = line.start + kMaxLineBytes;
        for (int i = 0; i < 3 && (uchar(bytes[line.shownEnd]) & 0xC0) == 0x80; ++i)
            --line.shownEnd;
    }
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * kTabStopSpaces);
    line.layout.setText(m_text.buffer->decode(line.start, line.shownEnd, &line.offsets));
    line.layout.setFont(font());
    line.layout.setTextOption(option);
    line.layout.setCacheEnabled(true);
    line.layout.beginLayout();
    QTextLine laidOut = line.layout.createLine();
    if (laidOut.isValid()) {
        laidOut.setLineWidth(kLayoutWidth);
        laidOut.setPosition(QPointF(0, 0));
    }
    line.layout.endLayout();
    if (laidOut.isValid())
        line.width = laidOut.naturalTextWidth();
    return line;
}

qsizetype TextView::byteAt(const QPoint& pos) const
{
    const int height = lineHeight();
    const int row = pos.y() < 0 ? -1 : pos.y() / height;
    const qsizetype index = verticalScrollBar()->value() + row;
    if (index < 0)
        return m_text.fromByte;
    if (index >= lineCount())
        return m_text.buffer->size();
    const Line& hit = line(index);
    if (hit.layout.lineCount() == 0)
        return hit.start;
    const int column = hit.layout.lineAt(0).xToCursor(pos.x() - kMargin + horizontalScrollBar()->value());
    return hit.start + hit.offsets[size_t(std::clamp<int>(column, 0, int(hit.offsets.size()) - 1))];
}

void TextView::setSelection(qsizetype anchor, qsizetype cursor)
{
    if (!isEnabled())
        return;
    m_anchor = anchor;
    m_cursor = cursor;
    viewport()->update();
}

void TextView::updateScrollBars()
{
    const int visible = std::max(1, viewport()->height() / lineHeight());
    const qsizetype lastTop = std::max<qsizetype>(0, lineCount() - visible);
    verticalScrollBar()->setRange(0, int(std::min<qsizetype>(lastTop, INT_MAX)));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, m_contentWidth + 2 * kMargin - viewport()->width()));
    horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
    horizontalScrollBar()->setSingleStep(std::max(1, 2 * fontMetrics().averageCharWidth()));
}

void TextView::resetLayout()
{
    m_lines.clear();
    // Estimate the widest line from the longest one in bytes; painting widens the range where this falls short.
    const qsizetype longest = std::min(m_text.buffer->longestLine(), kMaxLineBytes);
    m_contentWidth = int(longest) * std::max(1, fontMetrics().averageCharWidth());
    updateScrollBars();
    viewport()->update();
}

} // namespace fw
