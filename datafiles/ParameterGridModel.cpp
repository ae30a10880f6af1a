#include "datafiles/ParameterGridModel.h"

#include <QColor>
#include <QSize>

namespace {

const QString kSeparatorText = QStringLiteral(" ");

QColor ToQColor(TColor color)
{
    const uint32_t bgr = ColorToRGB(color);
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace

ParameterGridModel::ParameterGridModel(std::vector<ParameterRow> rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)), state_(rows_.size())
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        ParameterRow& def = rows_[i];
        if (def.Separator) {
            def.Key = kSeparatorText;
            def.Default = kSeparatorText;
        } else {
            index_.insert(def.Key, static_cast<int>(i));
        }
        state_[i].Value = def.Default;
        state_[i].Picks = def.Picks;
    }
}

int ParameterGridModel::RowOf(const QString& key) const
{
    return index_.value(key, -1);
}

QString ParameterGridModel::Value(const QString& key) const
{
    const int row = RowOf(key);
    return row < 0 ? QString() : state_[static_cast<size_t>(row)].Value;
}

QStringList ParameterGridModel::PickList(const QString& key) const
{
    const int row = RowOf(key);
    return row < 0 ? QStringList() : state_[static_cast<size_t>(row)].Picks;
}

bool ParameterGridModel::SetValue(const QString& key, const QString& value)
{
    const int row = RowOf(key);
    if (row < 0)
        return false;
    QString& cell = state_[static_cast<size_t>(row)].Value;
    if (cell != value) {
        cell = value;
        const QModelIndex i = index(row, 1);
        emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
    }
    return true;
}

void ParameterGridModel::SetPickList(const QString& key, const QStringList& picks)
{
    const int row = RowOf(key);
    if (row < 0)
        return;
    state_[static_cast<size_t>(row)].Picks = picks;
    const QModelIndex i = index(row, 1);
    emit dataChanged(i, i, {PickListRole});
}

void ParameterGridModel::SetLocked(bool locked)
{
    if (locked_ == locked)
        return;
    locked_ = locked;
    if (!rows_.empty())
        emit dataChanged(index(0, 0), index(RowCount() - 1, 1));
}

void ParameterGridModel::SetRowColors(const QString& key, CellColors keyCell, CellColors valueCell)
{
    const int row = RowOf(key);
    if (row < 0)
        return;
    state_[static_cast<size_t>(row)].KeyColors = keyCell;
    state_[static_cast<size_t>(row)].ValueColors = valueCell;
    emit dataChanged(index(row, 0), index(row, 1), {Qt::BackgroundRole, Qt::ForegroundRole});
}

int ParameterGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int ParameterGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ParameterGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= RowCount() || index.column() > 1)
        return {};
    const auto row = static_cast<size_t>(index.row());
    const ParameterRow& def = rows_[row];
    const RowState& st = state_[row];
    const CellColors& colors = index.column() == 0 ? st.KeyColors : st.ValueColors;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == 0 ? def.Key : st.Value;
    case Qt::BackgroundRole:
        return colors.Background == clNone ? QVariant() : QVariant(ToQColor(colors.Background));
    case Qt::ForegroundRole:
        return colors.Text == clNone ? QVariant() : QVariant(ToQColor(colors.Text));
    case Qt::SizeHintRole:
        return def.Separator ? QVariant(QSize(-1, 1)) : QVariant();
    case PickListRole:
        return def.PickList ? QVariant(st.Picks) : QVariant();
    case ReadOnlyRole:
        return def.ReadOnly;
    case SeparatorRole:
        return def.Separator;
    case KeyRole:
        return def.Key;
    default:
        return {};
    }
}

QVariant ParameterGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return QStringLiteral("Parameter");
    if (section == 1)
        return QStringLiteral("Value");
    return {};
}

bool ParameterGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const auto row = static_cast<size_t>(index.row());
    const ParameterRow& def = rows_[row];
    const QString text = value.toString();
    // A read-only list row takes nothing but one of its entries, whatever the editor offered.
    if (def.PickList && def.ReadOnly && !state_[row].Picks.contains(text))
        return false;
    state_[row].Value = text;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit ValueEdited(def.Key, text);
    return true;
}

Qt::ItemFlags ParameterGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= RowCount() || index.column() > 1)
        return Qt::NoItemFlags;
    const ParameterRow& def = rows_[static_cast<size_t>(index.row())];
    if (def.Separator)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 1 && !locked_)
        f |= Qt::ItemIsEditable;
    return f;
}
