#pragma once

#include "framework/menuitem.h"
#include "framework/rectcontrol.h"

#include <QTreeView>
#include <functional>
#include <vector>

namespace fw {

class ListboxModel;

// A list of rows of text cells over a model, single selection that may be empty; rows are never reordered.
// Change is raised on every change of ListIndex, also when the selected row is removed or all rows deleted.
// A click below the rows clears the selection; a right click on a row selects it before the contextual menu is
// built, below the rows it keeps the selection.
class Listbox : public QTreeView, public RectControl {
    Q_OBJECT

public:
    // Heading click on column; true vetoes sorting (the list never sorts anyway).
    using HeaderPressedHandler = std::function<bool(int column)>;
    // Fills base with the items of the contextual menu; true shows them. x, y: pointer in the list's viewport.
    using ConstructContextualMenuHandler = std::function<bool(MenuItem& base, int x, int y)>;
    // Receives the item chosen from the contextual menu.
    using ContextualMenuActionHandler = std::function<bool(MenuItem& chosen)>;

    explicit Listbox(QWidget* parent = nullptr);
    ~Listbox() override;

    int ColumnCount() const;
    void SetColumnCount(int columns);
    QString Heading(int column) const;
    void SetHeadings(const QStringList& headings);
    bool HasHeading() const;
    void SetHasHeading(bool hasHeading);
    // Shares of the list's width, e.g. "30%, 40%, 30%"; columns left out share the rest; 0% hides a column.
    QString ColumnWidths() const { return m_widthsText; }
    void SetColumnWidths(const QString& widths);
    bool ColumnsResizable() const;
    void SetColumnsResizable(bool resizable);
    // Grid line styles, between the rows (horizontal) and between the columns (vertical): 0, the default, and 1 draw
    // no line; 2 draws a thin dotted line in the palette's mid colour.
    void SetGridLinesHorizontal(int style);
    void SetGridLinesVertical(int style);

    int ListCount() const;
    // Selected row, -1 for none; SetListIndex raises OutOfBoundsException outside -1 .. ListCount() - 1.
    int ListIndex() const;
    void SetListIndex(int row);
    // The row added last, -1 when there is none.
    int LastIndex() const { return m_lastIndex; }

    // Appends a row holding firstCell; selects nothing.
    void AddRow(const QString& firstCell);
    // Cells also beyond the shown columns; a bad row raises OutOfBoundsException, a cell never written reads "".
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);
    void RemoveRow(int row);
    void DeleteAllRows();

    void SetHeaderPressedHandler(HeaderPressedHandler handler) { m_headerPressed = std::move(handler); }
    void SetConstructContextualMenuHandler(ConstructContextualMenuHandler handler);
    void SetContextualMenuActionHandler(ContextualMenuActionHandler handler);

    ListboxModel& Model() const { return *m_model; }

Q_SIGNALS:
    void Change();
    void DoubleClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CheckRow(int row) const;
    void ReportChange();
    void ApplyColumnWidths();
    void TakeColumnWidths();
    void DrawGridLines();

    ListboxModel* m_model;
    int m_lastIndex = -1;
    int m_reportedIndex = -1;
    bool m_quiet = false;
    bool m_applyingWidths = false;
    int m_gridHorizontal = 0;
    int m_gridVertical = 0;
    QString m_widthsText;
    std::vector<double> m_shares; // per column, negative when not given
    HeaderPressedHandler m_headerPressed;
    ConstructContextualMenuHandler m_constructMenu;
    ContextualMenuActionHandler m_menuAction;
};

} // namespace fw
