#include "datafiles/CheckListModel.h"

CheckListModel::CheckListModel(QObject* parent) : QAbstractListModel(parent) {}

void CheckListModel::Clear()
{
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int CheckListModel::AddRow(const QString& text, bool checked)
{
    const int row = Count();
    beginInsertRows(QModelIndex(), row, row);
    rows_.push_back(Row{text, checked});
    endInsertRows();
    return row;
}

void CheckListModel::SetChecked(int row, bool checked)
{
    Row& r = rows_.at(static_cast<size_t>(row));
    if (r.Checked == checked)
        return;
    r.Checked = checked;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

void CheckListModel::Assign(std::vector<Row> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int CheckListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= Count())
        return {};
    const Row& r = rows_[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return r.Text;
    if (role == Qt::CheckStateRole)
        return r.Checked ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() < 0 || index.row() >= Count() || role != Qt::CheckStateRole)
        return false;
    SetChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}
