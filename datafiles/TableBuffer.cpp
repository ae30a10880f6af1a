#include "datafiles/TableBuffer.h"

#include <QColor>

#include <algorithm>
#include <stdexcept>

namespace {
const QString kEmpty;
}

TableBuffer::BulkChange::BulkChange(TableBuffer& buffer) : buffer_(buffer)
{
    if (buffer_.bulkDepth_++ == 0)
        buffer_.beginResetModel();
}

TableBuffer::BulkChange::~BulkChange()
{
    if (--buffer_.bulkDepth_ == 0)
        buffer_.endResetModel();
}

TableBuffer::TableBuffer(QObject* parent)
    : QAbstractTableModel(parent),
      cells_(static_cast<size_t>(kInitialRows) * kColumns),
      marks_(static_cast<size_t>(kInitialRows) * kColumns, CellMark::Black)
{
}

bool TableBuffer::InRange(int row, int column) const
{
    return row >= 0 && row < rows_ && column >= 0 && column < kColumns;
}

const QString& TableBuffer::Cell(int row, int column) const
{
    // Reading past the last row gives an empty text: the interpolation treats the row after the
    // last as empty.
    if (!InRange(row, column))
        return kEmpty;
    return cells_[static_cast<size_t>(row) * kColumns + column];
}

void TableBuffer::EnsureRow(int row)
{
    if (row < rows_)
        return;
    if (row < 0 || row >= kMaxRows)
        throw std::out_of_range("TableBuffer row");
    // Grow in steps so that a long file read row by row does not grow once per row.
    const int newRows = std::min(kMaxRows, (row / kInitialRows + 1) * kInitialRows);
    if (bulkDepth_ == 0)
        beginInsertRows(QModelIndex(), rows_, newRows - 1);
    cells_.resize(static_cast<size_t>(newRows) * kColumns);
    marks_.resize(static_cast<size_t>(newRows) * kColumns, CellMark::Black);
    rows_ = newRows;
    if (bulkDepth_ == 0)
        endInsertRows();
}

void TableBuffer::SetCell(int row, int column, const QString& text)
{
    if (column < 0 || column >= kColumns || row < 0)
        throw std::out_of_range("TableBuffer cell");
    EnsureRow(row);
    QString& cell = cells_[static_cast<size_t>(row) * kColumns + column];
    if (cell == text)
        return;
    cell = text;
    if (bulkDepth_ == 0) {
        const QModelIndex i = index(row, column);
        emit dataChanged(i, i);
    }
}

void TableBuffer::ClearColumns(int first, int last)
{
    BulkChange bulk(*this);
    for (int r = 1; r < rows_; ++r) {
        for (int c = std::max(first, 0); c <= last && c < kColumns; ++c)
            cells_[static_cast<size_t>(r) * kColumns + c].clear();
    }
}

TableBuffer::CellMark TableBuffer::Mark(int row, int column) const
{
    if (!InRange(row, column))
        return CellMark::Black;
    return marks_[static_cast<size_t>(row) * kColumns + column];
}

void TableBuffer::SetMark(int row, int column, CellMark mark)
{
    if (!InRange(row, column))
        return;
    CellMark& m = marks_[static_cast<size_t>(row) * kColumns + column];
    if (m == mark)
        return;
    m = mark;
    if (bulkDepth_ == 0) {
        const QModelIndex i = index(row, column);
        emit dataChanged(i, i, {Qt::ForegroundRole});
    }
}

void TableBuffer::ClearData()
{
    BulkChange bulk(*this);
    ClearColumns(1, kColumns - 1);
    for (int r = 1; r < rows_; ++r) {
        for (int c = 1; c < kColumns; ++c)
            marks_[static_cast<size_t>(r) * kColumns + c] = CellMark::Black;
    }
}

void TableBuffer::SetName(const QString& name)
{
    if (name_ == name)
        return;
    name_ = name;
    emit NameChanged(name_);
}

void TableBuffer::SetFreqLinear(bool linear)
{
    if (freqLinear_ == linear)
        return;
    freqLinear_ = linear;
    emit FlagsChanged();
}

void TableBuffer::SetLevelLinear(bool linear)
{
    if (levelLinear_ == linear)
        return;
    levelLinear_ = linear;
    emit FlagsChanged();
}

void TableBuffer::SetRange(const PlotRange& range)
{
    range_ = range;
    emit RangeChanged();
}

int TableBuffer::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int TableBuffer::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant TableBuffer::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !InRange(index.row(), index.column()))
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return Cell(index.row(), index.column());
    if (role == Qt::ForegroundRole) {
        switch (Mark(index.row(), index.column())) {
        case CellMark::Red: return QColor(Qt::red);
        case CellMark::Green: return QColor(Qt::green);
        case CellMark::Black: return QColor(Qt::black);
        }
    }
    return {};
}

bool TableBuffer::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !InRange(index.row(), index.column()))
        return false;
    SetCell(index.row(), index.column(), value.toString());
    return true;
}

Qt::ItemFlags TableBuffer::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
