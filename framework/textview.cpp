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

    // Lines up to this many bytes are laid out whole, in exact pixels. A longer one (a game file written on one
    // line) is laid out in segments of kSegmentBytes, only those in view: a 100 MB line costs what a short one does.
    constexpr qsizetype kWholeLineBytes = 10000;
    constexpr qsizetype kSegmentBytes = 4096;
    // Segments laid out each way from the one under the anchor, at most, so that text of no width cannot make one
    // paint lay out a whole line.
    constexpr int kMaxSegmentsEachWay = 8;
    // The horizontal range in pixels stays well inside an int.
    constexpr qreal kMaxRange = 1e9;
    constexpr int kMargin = 4;
    constexpr int kTabStopSpaces = 4;
    // Wide enough for a whole line or a segment of any glyphs, small enough for the layout engine's fixed-point widths.
    constexpr qreal kLayoutWidth = 1e6;

} // namespace

// A segment of a line, decoded and laid out on its own; a line of up to kWholeLineBytes is one segment.
struct TextView::Segment {
    QTextLayout layout;
    std::vector<qsizetype> offsets; // for each UTF-16 unit, its byte from `start`; then the segment's length
    qsizetype start = 0; // buffer byte where the segment starts
    qsizetype end = 0; // buffer byte past its end
    qreal width = 0;

    // The UTF-16 position of a byte of the segment.
    int column(qsizetype byte) const
    {
        return int(std::lower_bound(offsets.begin(), offsets.end(), byte - start) - offsets.begin());
    }
};

// A line in view and the segments of it laid out for the last paint.
struct TextView::Line {
    qsizetype start = 0; // buffer byte where the line starts
    qsizetype end = 0; // buffer byte where the line's text ends
    std::map<qsizetype, std::unique_ptr<Segment>> segments; // by index in the line

    bool whole() const { return end - start <= kWholeLineBytes; }
    qsizetype segmentCount() const { return whole() ? 1 : (end - start + kSegmentBytes - 1) / kSegmentBytes; }
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
    qreal widest = m_contentWidth;
    painter.setPen(colors.color(QPalette::Text));
    for (qsizetype i = first; i < last; ++i) {
        const int y = int(i - first) * height;
        if (y + height <= event->rect().top() || y > event->rect().bottom())
            continue;
        Line& shown = line(i);
        for (const auto& [segment, x] : place(shown)) {
            QList<QTextLayout::FormatRange> ranges;
            if (selection && selectionFrom <= segment->end && selectionTo > segment->start) {
                const int from = segment->column(std::max(selectionFrom, segment->start));
                const int to = segment->column(std::min(selectionTo, segment->end));
                if (from < to) {
                    QTextLayout::FormatRange range;
                    range.start = from;
                    range.length = to - from;
                    range.format.setBackground(colors.brush(QPalette::Highlight));
                    range.format.setForeground(colors.brush(QPalette::HighlightedText));
                    ranges.append(range);
                }
                // A selected line end shows as a selected space after the text, as in editors.
                if (segment->end == shown.end && selectionFrom <= shown.end && selectionTo > shown.end) {
                    const qreal space = fontMetrics().horizontalAdvance(QLatin1Char(' '));
                    painter.fillRect(QRectF(x + segment->width, y, space, height), colors.brush(QPalette::Highlight));
                }
            }
            segment->layout.draw(&painter, QPointF(x, y), ranges);
            if (shown.whole())
                widest = std::max(widest, segment->width);
        }
    }
    // Widen the horizontal range to lines wider than measured, once painting is over.
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

TextView::Line& TextView::line(qsizetype index) const
{
    std::unique_ptr<Line>& slot = m_lines[index];
    if (!slot) {
        slot = std::make_unique<Line>();
        slot->start = lineStart(index);
        slot->end = lineEnd(index);
    }
    return *slot;
}

qsizetype TextView::segmentStart(const Line& line, qsizetype index) const
{
    if (index <= 0)
        return line.start;
    if (index >= line.segmentCount())
        return line.end;
    // Cut before a character, not inside one: back over at most three continuation bytes.
    const QByteArray& bytes = m_text.buffer->bytes();
    qsizetype start = line.start + index * kSegmentBytes;
    for (int i = 0; i < 3 && (uchar(bytes[start]) & 0xC0) == 0x80; ++i)
        --start;
    return start;
}

const TextView::Segment& TextView::segment(Line& line, qsizetype index) const
{
    std::unique_ptr<Segment>& slot = line.segments[index];
    if (slot)
        return *slot;
    slot = std::make_unique<Segment>();
    Segment& segment = *slot;
    segment.start = segmentStart(line, index);
    segment.end = segmentStart(line, index + 1);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * kTabStopSpaces);
    segment.layout.setText(m_text.buffer->decode(segment.start, segment.end, &segment.offsets));
    segment.layout.setFont(font());
    segment.layout.setTextOption(option);
    segment.layout.setCacheEnabled(true);
    segment.layout.beginLayout();
    QTextLine laidOut = segment.layout.createLine();
    if (laidOut.isValid()) {
        laidOut.setLineWidth(kLayoutWidth);
        laidOut.setPosition(QPointF(0, 0));
    }
    segment.layout.endLayout();
    if (laidOut.isValid())
        segment.width = laidOut.naturalTextWidth();
    return segment;
}

std::vector<TextView::Placed> TextView::place(Line& line) const
{
    const qreal scrolled = horizontalScrollBar()->value();
    if (line.whole())
        return { { &segment(line, 0), kMargin - scrolled } };

    // A long line has a nominal width of m_bytePixels a byte, which the horizontal range follows. Its segments are
    // laid out only around an anchor that moves with the scroll bar from the view's left edge to its right one;
    // the segment under the anchor is placed so that the anchor falls as far into its real width as into its
    // nominal one. Scrolling then moves the text evenly, and the scroll bar's ends show the line's ends.
    const int range = horizontalScrollBar()->maximum();
    const qreal anchor = range > 0 ? viewport()->width() * scrolled / range : 0;
    const qreal nominal = scrolled + anchor - kMargin; // nominal position under the anchor
    const qreal nominalEnd = qreal(line.end - line.start) * m_bytePixels;
    const qsizetype count = line.segmentCount();
    qsizetype index = 0;
    qreal x = anchor - nominal;
    if (nominal >= nominalEnd) {
        index = count - 1;
        x = anchor - (nominal - nominalEnd) - segment(line, index).width;
    } else if (nominal > 0) {
        const auto nominalStart = [&](qsizetype i) { return qreal(segmentStart(line, i) - line.start) * m_bytePixels; };
        // Segments start up to three bytes early, before a character: the guess by the segment length may be one off.
        index = std::min(count - 1, qsizetype(nominal / m_bytePixels) / kSegmentBytes);
        if (index + 1 < count && nominal >= nominalStart(index + 1))
            ++index;
        else if (index > 0 && nominal < nominalStart(index))
            --index;
        const qreal from = nominalStart(index);
        x = anchor - (nominal - from) / (nominalStart(index + 1) - from) * segment(line, index).width;
    }

    const Segment& anchored = segment(line, index);
    std::vector<Placed> placed { { &anchored, x } };
    qreal left = x;
    for (qsizetype i = index - 1; i >= 0 && left > 0 && index - i <= kMaxSegmentsEachWay; --i) {
        const Segment& before = segment(line, i);
        left -= before.width;
        placed.insert(placed.begin(), { &before, left });
    }
    qreal right = x + anchored.width;
    for (qsizetype i = index + 1; i < count && right < viewport()->width() && i - index <= kMaxSegmentsEachWay; ++i) {
        const Segment& after = segment(line, i);
        placed.push_back({ &after, right });
        right += after.width;
    }
    // Segments out of view go, so that a long line keeps only a few laid out.
    for (auto it = line.segments.begin(); it != line.segments.end();) {
        const bool shown
            = std::any_of(placed.begin(), placed.end(), [&](const Placed& p) { return p.segment == it->second.get(); });
        it = shown ? std::next(it) : line.segments.erase(it);
    }
    return placed;
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
    const std::vector<Placed> placed = place(line(index));
    for (size_t i = 0; i < placed.size(); ++i) {
        const auto& [segment, x] = placed[i];
        if (pos.x() >= x + segment->width && i + 1 < placed.size())
            continue;
        if (segment->layout.lineCount() == 0)
            return segment->start;
        const int column = segment->layout.lineAt(0).xToCursor(pos.x() - x);
        return segment->start + segment->offsets[size_t(std::clamp<int>(column, 0, int(segment->offsets.size()) - 1))];
    }
    return m_text.buffer->size();
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
    // A view scrolled to the end of its lines stays there, so that it shows the end of a line that widened the range.
    QScrollBar* horizontal = horizontalScrollBar();
    const bool atEnd = horizontal->value() > 0 && horizontal->value() == horizontal->maximum();
    horizontal->setRange(0, std::max(0, m_contentWidth + 2 * kMargin - viewport()->width()));
    if (atEnd)
        horizontal->setValue(horizontal->maximum());
    horizontal->setPageStep(std::max(1, viewport()->width()));
    horizontal->setSingleStep(std::max(1, 2 * fontMetrics().averageCharWidth()));
}

void TextView::resetLayout()
{
    m_lines.clear();
    // The horizontal range ends where the longest line does, measured now, so that the scroll bar's end shows the end
    // of that line from the first drag on. A line too long to lay out whole has the nominal width its segments are
    // placed by. Painting widens the range for a line of fewer bytes that shows wider.
    Line& longest = line(m_text.buffer->longestLineFrom(m_text.fromByte) - m_firstLine);
    const qsizetype bytes = longest.end - longest.start;
    const int average = std::max(1, fontMetrics().averageCharWidth());
    m_bytePixels = std::min<qreal>(average, kMaxRange / qreal(std::max<qsizetype>(1, bytes)));
    const qreal width = longest.whole() ? segment(longest, 0).width : qreal(bytes) * m_bytePixels;
    m_contentWidth = int(std::ceil(width));
    updateScrollBars();
    viewport()->update();
}

} // namespace fw
