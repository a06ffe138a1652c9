#include "framework/listbox.h"

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/listboxmodel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

namespace fw {

namespace {

    // The one grid line style that draws.
    constexpr int kDottedGridLines = 2;

    // Clears a flag when leaving a scope, also by an exception.
    class QuietScope {
    public:
        explicit QuietScope(bool& flag)
            : m_flag(flag)
        {
            m_flag = true;
        }
        ~QuietScope() { m_flag = false; }
        QuietScope(const QuietScope&) = delete;
        QuietScope& operator=(const QuietScope&) = delete;

    private:
        bool& m_flag;
    };

} // namespace

Listbox::Listbox(QWidget* parent)
    : QTreeView(parent)
    , RectControl(static_cast<QWidget&>(*this))
    , m_model(new ListboxModel(this))
{
    setModel(m_model);
    setUniformRowHeights(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_quiet)
            Application::Guard([this] { ReportChange(); });
    });
    connect(this, &QAbstractItemView::doubleClicked, this,
        [this] { Application::Guard([this] { Q_EMIT DoubleClick(); }); });
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (m_headerPressed)
            Application::Guard([&] { m_headerPressed(column); });
    });
    connect(header(), &QHeaderView::sectionResized, this, [this] {
        if (!m_applyingWidths)
            TakeColumnWidths();
    });
}

Listbox::~Listbox() = default;

int Listbox::ColumnCount() const { return m_model->columnCount(); }

void Listbox::SetColumnCount(int columns)
{
    m_model->setColumnCount(columns);
    ApplyColumnWidths();
}

QString Listbox::Heading(int column) const { return m_model->heading(column); }

void Listbox::SetHeadings(const QStringList& headings) { m_model->setHeadings(headings); }

bool Listbox::HasHeading() const { return !header()->isHidden(); }

void Listbox::SetHasHeading(bool hasHeading) { header()->setHidden(!hasHeading); }

void Listbox::SetColumnWidths(const QString& widths)
{
    m_widthsText = widths;
    m_shares.clear();
    static const QRegularExpression share(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*%\\s*$"));
    for (const QString& part : widths.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto match = share.match(part);
        m_shares.push_back(match.hasMatch() ? match.captured(1).toDouble() / 100.0 : -1.0);
    }
    ApplyColumnWidths();
}

bool Listbox::ColumnsResizable() const { return header()->sectionResizeMode(0) == QHeaderView::Interactive; }

void Listbox::SetColumnsResizable(bool resizable)
{
    header()->setSectionResizeMode(resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void Listbox::SetGridLinesHorizontal(int style)
{
    m_gridHorizontal = style;
    viewport()->update();
}

void Listbox::SetGridLinesVertical(int style)
{
    m_gridVertical = style;
    viewport()->update();
}

int Listbox::ListCount() const { return m_model->storedRows(); }

int Listbox::ListIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Listbox::SetListIndex(int row)
{
    if (row != -1)
        CheckRow(row);
    {
        QuietScope quiet(m_quiet);
        if (row == -1) {
            selectionModel()->clear();
        } else {
            m_model->flush();
            const QModelIndex at = m_model->index(row, 0);
            selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }
    ReportChange();
}

void Listbox::AddRow(const QString& firstCell)
{
    m_model->appendRow(firstCell);
    m_lastIndex = m_model->storedRows() - 1;
}

QString Listbox::Cell(int row, int column) const
{
    CheckRow(row);
    if (column < 0)
        throw OutOfBoundsException("column " + std::to_string(column) + " out of range");
    return m_model->cell(row, column);
}

void Listbox::SetCell(int row, int column, const QString& text)
{
    CheckRow(row);
    if (column < 0)
        throw OutOfBoundsException("column " + std::to_string(column) + " out of range");
    m_model->setCell(row, column, text);
}

void Listbox::RemoveRow(int row)
{
    CheckRow(row);
    {
        QuietScope quiet(m_quiet);
        // Qt would select the next row when the current one goes; removing the selection leaves none.
        if (row == ListIndex() || row == currentIndex().row())
            selectionModel()->clear();
        m_model->deleteRow(row);
    }
    if (m_lastIndex == row)
        m_lastIndex = -1;
    else if (m_lastIndex > row)
        --m_lastIndex;
    ReportChange();
}

void Listbox::DeleteAllRows()
{
    {
        QuietScope quiet(m_quiet);
        selectionModel()->clear();
        m_model->clear();
    }
    m_lastIndex = -1;
    ReportChange();
}

void Listbox::SetConstructContextualMenuHandler(ConstructContextualMenuHandler handler)
{
    m_constructMenu = std::move(handler);
}

void Listbox::SetContextualMenuActionHandler(ContextualMenuActionHandler handler) { m_menuAction = std::move(handler); }

void Listbox::CheckRow(int row) const
{
    if (row < 0 || row >= m_model->storedRows())
        throw OutOfBoundsException("row " + std::to_string(row) + " out of range");
}

void Listbox::ReportChange()
{
    const int now = ListIndex();
    if (now == m_reportedIndex)
        return;
    m_reportedIndex = now;
    Q_EMIT Change();
}

void Listbox::mousePressEvent(QMouseEvent* event)
{
    QTreeView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && !indexAt(event->position().toPoint()).isValid()) {
        selectionModel()->clear();
    }
}

void Listbox::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint at = event->pos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        // A right click acts on the row under the pointer, so that row becomes the selection first.
        const QModelIndex row = indexAt(at);
        if (row.isValid() && row.row() != ListIndex())
            Application::Guard([&] { SetListIndex(row.row()); });
    } else if (currentIndex().isValid()) {
        at = visualRect(currentIndex()).center();
    }
    event->accept();
    if (!m_constructMenu)
        return;
    auto base = MakeRef<MenuItem>();
    bool show = false;
    Application::Guard([&] { show = m_constructMenu(*base, at.x(), at.y()); });
    if (!show || base->Count() == 0)
        return;
    QMenu menu(this);
    Ref<MenuItem> chosen;
    base->FillMenu(
        menu, [&chosen](const Ref<MenuItem>& item) { chosen = item; }, [](MenuItem&, QAction&, QMenu*) {});
    menu.exec(viewport()->mapToGlobal(at));
    if (chosen && m_menuAction)
        Application::Guard([&] { m_menuAction(*chosen); });
}

void Listbox::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    ApplyColumnWidths();
}

void Listbox::ApplyColumnWidths()
{
    const int columns = ColumnCount();
    const int total = viewport()->width();
    double given = 0.0;
    int open = 0;
    for (int column = 0; column < columns; ++column) {
        const double share = column < static_cast<int>(m_shares.size()) ? m_shares[static_cast<size_t>(column)] : -1.0;
        if (share < 0)
            ++open;
        else
            given += share;
    }
    const double rest = open > 0 ? std::max(0.0, 1.0 - given) / open : 0.0;
    m_applyingWidths = true;
    // Columns are cut at rounded running sums, so that rounding never makes them wider than the list together.
    double start = 0.0;
    for (int column = 0; column < columns; ++column) {
        double share = column < static_cast<int>(m_shares.size()) ? m_shares[static_cast<size_t>(column)] : -1.0;
        if (share < 0)
            share = rest;
        setColumnHidden(column, share <= 0.0);
        if (share > 0.0) {
            const long from = std::lround(start * total);
            start += share;
            header()->resizeSection(column, static_cast<int>(std::lround(start * total) - from));
        }
    }
    m_applyingWidths = false;
}

void Listbox::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    DrawGridLines();
}

void Listbox::DrawGridLines()
{
    const bool rows = m_gridHorizontal == kDottedGridLines;
    const bool columns = m_gridVertical == kDottedGridLines;
    if (!rows && !columns)
        return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Mid), 0, Qt::DotLine));
    const QRect area = viewport()->rect();
    if (columns) {
        // After each shown column but the last: lines between columns, down the whole list.
        int last = -1;
        for (int column = 0; column < ColumnCount(); ++column)
            if (!isColumnHidden(column))
                last = column;
        for (int column = 0; column < last; ++column)
            if (!isColumnHidden(column)) {
                const int x = header()->sectionViewportPosition(column) + header()->sectionSize(column) - 1;
                painter.drawLine(x, area.top(), x, area.bottom());
            }
    }
    if (rows) {
        // Under each row in view; only these are painted, however long the list.
        for (QModelIndex row = indexAt(QPoint(0, 0)); row.isValid(); row = indexBelow(row)) {
            const int y = visualRect(row).bottom();
            if (y > area.bottom())
                break;
            painter.drawLine(area.left(), y, area.right(), y);
        }
    }
}

void Listbox::TakeColumnWidths()
{
    // A column dragged by the user keeps its new share of the width from then on.
    const int total = viewport()->width();
    if (total <= 0)
        return;
    m_shares.resize(static_cast<size_t>(ColumnCount()));
    for (int column = 0; column < ColumnCount(); ++column)
        m_shares[static_cast<size_t>(column)]
            = isColumnHidden(column) ? 0.0 : static_cast<double>(header()->sectionSize(column)) / total;
}

} // namespace fw
