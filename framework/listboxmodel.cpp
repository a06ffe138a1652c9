#include "framework/listboxmodel.h"

#include <algorithm>

namespace fw {

namespace {

    // A view lays out and measures the whole text of a cell each time it draws it, and a value may be megabytes long;
    // a cell shows its first characters only, more than the widest column holds. The cell keeps its whole text.
    constexpr qsizetype kShownCharacters = 1000;

    // Writes a length as base-128 digits, low first, the high bit marking that more follow; returns the end.
    char* writeLength(char* out, qsizetype length)
    {
        do {
            const auto digit = char(length & 0x7F);
            length >>= 7;
            *out++ = length ? char(digit | 0x80) : digit;
        } while (length);
        return out;
    }

    qsizetype readLength(const QByteArray& row, qsizetype& at)
    {
        qsizetype length = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = static_cast<unsigned char>(row[at++]);
            length |= qsizetype(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                return length;
        }
    }

    // UTF-16 to UTF-8 into a buffer of at least 3 bytes per unit; a lone surrogate becomes U+FFFD.
    char* encodeUtf8(char* out, QStringView text)
    {
        const char16_t* p = text.utf16();
        const char16_t* const end = p + text.size();
        while (p < end) {
            char32_t c = *p++;
            if (c < 0x80) {
                *out++ = char(c);
                continue;
            }
            if (c >= 0xD800 && c < 0xDC00 && p < end && *p >= 0xDC00 && *p < 0xE000)
                c = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
            else if (c >= 0xD800 && c < 0xE000)
                c = 0xFFFD;
            if (c < 0x800) {
                *out++ = char(0xC0 | (c >> 6));
            } else {
                if (c < 0x10000) {
                    *out++ = char(0xE0 | (c >> 12));
                } else {
                    *out++ = char(0xF0 | (c >> 18));
                    *out++ = char(0x80 | ((c >> 12) & 0x3F));
                }
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
            }
            *out++ = char(0x80 | (c & 0x3F));
        }
        return out;
    }

    // A row of exactly the size it needs: the bytes before, `missing` empty cells, the text as a cell, the bytes after.
    // The text is encoded into a reused buffer first, so that the row is the only allocation.
    QByteArray buildRow(QByteArrayView before, qsizetype missing, QStringView text, QByteArrayView after)
    {
        // Grown only, never shrunk: resizing down and up again would clear the bytes each time.
        thread_local std::vector<char> scratch;
        if (scratch.size() < size_t(text.size()) * 3 + 10)
            scratch.resize(size_t(text.size()) * 3 + 10);
        char* const textStart = scratch.data() + 10;
        const qsizetype textSize = encodeUtf8(textStart, text) - textStart;
        char* const lengthEnd = writeLength(scratch.data(), textSize);
        const qsizetype lengthSize = lengthEnd - scratch.data();

        QByteArray row(before.size() + missing + lengthSize + textSize + after.size(), Qt::Uninitialized);
        char* out = row.data();
        out = std::copy(before.begin(), before.end(), out);
        out = std::fill_n(out, missing, '\0');
        out = std::copy(scratch.data(), lengthEnd, out);
        out = std::copy(textStart, textStart + textSize, out);
        std::copy(after.begin(), after.end(), out);
        return row;
    }

    // A row of several cells, each its length then its UTF-8 bytes.
    QByteArray buildCells(const std::vector<QString>& cells)
    {
        thread_local std::vector<char> text;
        thread_local std::vector<char> row;
        size_t need = 0;
        for (const QString& cell : cells)
            need += size_t(cell.size()) * 3 + 10;
        if (row.size() < need)
            row.resize(need);
        char* out = row.data();
        for (const QString& cell : cells) {
            if (text.size() < size_t(cell.size()) * 3 + 1)
                text.resize(size_t(cell.size()) * 3 + 1);
            char* const end = encodeUtf8(text.data(), cell);
            out = writeLength(out, end - text.data());
            out = std::copy(text.data(), end, out);
        }
        return QByteArray(row.data(), out - row.data());
    }

    // Where a cell's bytes lie in its row: start and length; the end of the row with length -1 when absent.
    std::pair<qsizetype, qsizetype> findCell(const QByteArray& row, int column)
    {
        qsizetype at = 0;
        for (int cell = 0; at < row.size(); ++cell) {
            const qsizetype length = readLength(row, at);
            if (cell == column)
                return { at, length };
            at += length;
        }
        return { row.size(), -1 };
    }

} // namespace

ListboxModel::ListboxModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int ListboxModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_shown; }

int ListboxModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant ListboxModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_shown)
        return {};
    // Rows are one line high: a cell's line breaks are shown as blanks, or one multi-line cell would make every
    // row as tall as its text.
    QString text = shownText(index.row(), index.column());
    for (QChar& c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

QVariant ListboxModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return heading(section);
}

void ListboxModel::setColumnCount(int columns)
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

QString ListboxModel::heading(int column) const { return m_headings.value(column); }

void ListboxModel::setHeadings(const QStringList& headings)
{
    m_headings = headings;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

void ListboxModel::appendRow(const QString& firstCell)
{
    // The new row stays open while its cells are written, and is encoded once, when the next row comes.
    seal();
    m_rows.emplace_back();
    m_open.assign(1, firstCell);
    m_hasOpen = true;
    if (!m_flushQueued) {
        // One announcement per burst of rows: a view takes each announcement in time linear in its rows.
        m_flushQueued = true;
        QMetaObject::invokeMethod(this, &ListboxModel::flush, Qt::QueuedConnection);
    }
}

QString ListboxModel::cell(int row, int column) const
{
    if (isOpen(row))
        return size_t(column) < m_open.size() ? m_open[size_t(column)] : QString();
    const QByteArray& cells = m_rows[static_cast<size_t>(row)];
    const auto [at, length] = findCell(cells, column);
    return length > 0 ? QString::fromUtf8(cells.constData() + at, length) : QString();
}

QString ListboxModel::shownText(int row, int column) const
{
    // Rows are sealed before views are told of them. Only the bytes that can make up the shown characters are
    // decoded, cut where a character starts.
    const QByteArray& cells = m_rows[static_cast<size_t>(row)];
    const auto [at, length] = findCell(cells, column);
    if (length <= 0)
        return {};
    qsizetype bytes = std::min(length, kShownCharacters * 3 + 3);
    while (bytes < length && (static_cast<unsigned char>(cells[at + bytes]) & 0xC0) == 0x80)
        --bytes;
    const QString text = QString::fromUtf8(cells.constData() + at, bytes);
    if (bytes == length && text.size() <= kShownCharacters)
        return text;
    // Cut before a character, never inside a surrogate pair, and shown as cut.
    qsizetype end = std::min(text.size(), kShownCharacters);
    if (end < text.size() && text[end].isLowSurrogate())
        --end;
    return text.first(end) + QChar(0x2026);
}

void ListboxModel::setCell(int row, int column, const QString& text)
{
    if (isOpen(row)) {
        if (m_open.size() <= size_t(column))
            m_open.resize(size_t(column) + 1);
        m_open[size_t(column)] = text;
        announceChange(row, column);
        return;
    }
    QByteArray& cells = m_rows[static_cast<size_t>(row)];
    // Where the cell's length digits start and where its bytes end; the row's end when the cell is absent.
    qsizetype headerStart = cells.size();
    qsizetype oldEnd = cells.size();
    int cell = 0;
    for (qsizetype at = 0; at < cells.size(); ++cell) {
        const qsizetype header = at;
        const qsizetype length = readLength(cells, at);
        at += length;
        if (cell == column) {
            headerStart = header;
            oldEnd = at;
            break;
        }
    }
    const qsizetype missing = cell < column ? column - cell : 0;
    // The row is rebuilt at its exact size: rows are written once or twice and then kept, many of them.
    cells = buildRow(QByteArrayView(cells).first(headerStart), missing, text, QByteArrayView(cells).sliced(oldEnd));
    announceChange(row, column);
}

void ListboxModel::announceChange(int row, int column)
{
    if (row < m_shown && column < m_columns) {
        const QModelIndex at = index(row, column);
        Q_EMIT dataChanged(at, at, { Qt::DisplayRole });
    }
}

bool ListboxModel::isOpen(int row) const { return m_hasOpen && size_t(row) + 1 == m_rows.size(); }

void ListboxModel::seal()
{
    if (!m_hasOpen)
        return;
    m_rows.back() = buildCells(m_open);
    m_open.clear();
    m_hasOpen = false;
}

void ListboxModel::deleteRow(int row)
{
    seal();
    flush();
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    --m_shown;
    endRemoveRows();
}

void ListboxModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_open.clear();
    m_hasOpen = false;
    m_shown = 0;
    endResetModel();
}

void ListboxModel::flush()
{
    seal();
    m_flushQueued = false;
    const int count = storedRows();
    if (count <= m_shown)
        return;
    beginInsertRows({}, m_shown, count - 1);
    m_shown = count;
    endInsertRows();
}

} // namespace fw
