#include "framework/listboxmodel.h"

namespace fw {

ListboxModel::ListboxModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int ListboxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shown;
}

int ListboxModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant ListboxModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_shown)
        return {};
    return Cell(index.row(), index.column());
}

QVariant ListboxModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return Heading(section);
}

void ListboxModel::SetColumnCount(int columns)
{
    columns = std::max(columns, 1);
    if (columns > m_columns) {
        beginInsertColumns({}, m_columns, columns - 1);
        m_columns = columns;
        endInsertColumns();
    } else if (columns < m_columns) {
        beginRemoveColumns({}, columns, m_columns - 1);
        m_columns = columns;
        endRemoveColumns();
    }
}

QString ListboxModel::Heading(int column) const
{
    return m_headings.value(column);
}

void ListboxModel::SetHeadings(const QStringList& headings)
{
    m_headings = headings;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

void ListboxModel::AppendRow(const QString& firstCell)
{
    auto& cells = m_rows.emplace_back();
    cells.reserve(static_cast<size_t>(m_columns));
    cells.push_back(firstCell);
    if (!m_flushQueued) {
        // One announcement per burst of rows: a view takes each announcement in time linear in its rows.
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, &ListboxModel::Flush, Qt::QueuedConnection);
    }
}

QString ListboxModel::Cell(int row, int column) const
{
    const auto& cells = m_rows[static_cast<size_t>(row)];
    return column < static_cast<int>(cells.size()) ? cells[static_cast<size_t>(column)] : QString();
}

void ListboxModel::SetCell(int row, int column, const QString& text)
{
    auto& cells = m_rows[static_cast<size_t>(row)];
    if (column >= static_cast<int>(cells.size()))
        cells.resize(static_cast<size_t>(column) + 1);
    cells[static_cast<size_t>(column)] = text;
    if (row < m_shown && column < m_columns) {
        const QModelIndex at = index(row, column);
        Q_EMIT dataChanged(at, at, { Qt::DisplayRole });
    }
}

void ListboxModel::RemoveRow(int row)
{
    Flush();
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    --m_shown;
    endRemoveRows();
}

void ListboxModel::Clear()
{
    beginResetModel();
    m_rows.clear();
    m_shown = 0;
    endResetModel();
}

void ListboxModel::Flush()
{
    m_flushQueued = false;
    const int count = RowCount();
    if (count <= m_shown)
        return;
    beginInsertRows({}, m_shown, count - 1);
    m_shown = count;
    endInsertRows();
}

} // namespace fw
