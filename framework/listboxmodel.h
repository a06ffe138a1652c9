#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QStringList>
#include <vector>

namespace fw {

// The rows of a Listbox: one compact UTF-8 block of cells per row, cells beyond the shown columns kept but never shown.
// Appended rows are announced to views in one burst, once control returns to the event loop or on flush().
class ListboxModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ListboxModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Every row, also those not yet announced to views (rowCount counts only those announced).
    int storedRows() const { return static_cast<int>(m_rows.size()); }
    void setColumnCount(int columns);
    QString heading(int column) const;
    void setHeadings(const QStringList& headings);

    void appendRow(const QString& firstCell);
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    void deleteRow(int row);
    void clear();
    // Announces the rows appended since the last announcement.
    void flush();

private:
    bool isOpen(int row) const;
    // The start of a cell, as much as a view shows of it (see kShownCharacters).
    QString shownText(int row, int column) const;
    void announceChange(int row, int column);
    // Encodes the open row into its compact block.
    void seal();

    std::vector<QByteArray> m_rows; // per row, each cell as its UTF-8 length (base-128 digits) and its bytes
    QStringList m_headings;
    int m_columns = 1;
    int m_shown = 0;
    bool m_flushQueued = false;
    std::vector<QString> m_open; // the cells of the last row while it is being written
    bool m_hasOpen = false;
};

} // namespace fw
