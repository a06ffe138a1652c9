#pragma once

#include "framework/textbuffer.h"

#include <QAbstractScrollArea>
#include <map>
#include <memory>
#include <vector>

class QString;

namespace fw {

// Read-only pane showing a text buffer; decodes and paints only the visible lines. The text can be selected with
// the mouse (drag, shift+click) or Ctrl+A and copied with Ctrl+C.
class TextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // Shows a small text through a buffer of its own.
    void setText(const QString& text);
    // Shows a buffer from a byte on, sharing it; resets scrolling and selection.
    void setText(const TextRef& text);
    // The shown text, decoded.
    QString text() const;
    // The shown buffer and where the shown text starts in it.
    TextRef textRef() const;

    // Selects the whole text (not while disabled).
    void selectAll();
    // Puts the selected text on the clipboard; does nothing without a selection.
    void copy() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Segment;
    struct Line;
    // A segment and the viewport x where it is drawn.
    struct Placed {
        const Segment* segment;
        qreal x;
    };

    qsizetype lineCount() const;
    qsizetype lineStart(qsizetype line) const;
    qsizetype lineEnd(qsizetype line) const;
    int lineHeight() const;
    Line& line(qsizetype line) const;
    qsizetype segmentStart(const Line& line, qsizetype index) const;
    const Segment& segment(Line& line, qsizetype index) const;
    // The segments of a line that cover the view, left to right, laid out as needed.
    std::vector<Placed> place(Line& line) const;
    qsizetype byteAt(const QPoint& viewportPos) const;
    void setSelection(qsizetype anchor, qsizetype cursor);
    void updateScrollBars();
    void resetLayout();

    TextRef m_text;
    qsizetype m_firstLine = 0; // buffer line of the shown text's first line
    qsizetype m_anchor = 0; // selection [anchor, cursor] as buffer bytes, in either order
    qsizetype m_cursor = 0;
    bool m_selecting = false;
    int m_contentWidth = 0; // widest line measured or painted so far, in pixels
    qreal m_bytePixels = 1; // nominal width of a byte of a line too long to lay out whole
    mutable std::map<qsizetype, std::unique_ptr<Line>> m_lines; // laid-out lines around the visible ones
};

} // namespace fw
