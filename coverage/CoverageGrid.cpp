#include "coverage/CoverageGrid.h"

#include "app/TextRoutines.h"
#include "datafiles/ValueBounds.h"

namespace coveragegrid {
std::optional<double> MeasuredFrequency(const QString& text)
{
    double v = 0;
    if (!TryStrToFloatAnySep(text.trimmed(), v) || !valuebounds::kHz.Range->Holds(v))
        return std::nullopt;
    return v;
}

const QString& FreqKey(int x)
{
    switch (x) {
    case 1:
        return kFreqB;
    case 2:
        return kFreqC;
    default:
        return kFreqA;
    }
}
} // namespace coveragegrid

CoverageGrid::CoverageGrid(QObject* parent)
    : QAbstractTableModel(parent)
{
    using namespace coveragegrid;
    const QStringList none {QStringLiteral("none")};
    const QStringList onOff {QStringLiteral("on"), QStringLiteral("off")};
    rows_ = {
        {kFreqA, QStringLiteral("140000000"), {}, false},
        {kFreqB, QStringLiteral("146000000"), {}, false},
        {kFreqC, QStringLiteral("148000000"), {}, false},
        {kHigh, QStringLiteral("-10"), {}, false},
        {kLow, QStringLiteral("-110"), {}, false},
        {kCableCor, QStringLiteral("none"), none, true},
        {kAmpCor, QStringLiteral("none"), none, true},
        {kAntCor, QStringLiteral("none"), none, true},
        {kDetector, QStringLiteral("POS"), {"NEG", "NORM", "POS", "RMS", "SAMP", "VAV", "QPEAK"}, true},
        {kSweep, QStringLiteral("auto"), {"auto", "10000", "25000"}, false},
        {kRbw, QStringLiteral("9000"), {"120000", "9000", "300", "200", "100", "30", "10"}, false},
        {kSpan, QStringLiteral("20000"), {"10000", "20000", "30000", "50000", "100000", "300000", "1000000"},
            false},
        {kPreAmp, QStringLiteral("off"), onOff, true},
        {kAttenuator, QStringLiteral("10"), {"0", "10", "20", "auto"}, false},
    };
}

int CoverageGrid::RowOf(const QString& key) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].Key == key)
            return static_cast<int>(i);
    return -1;
}

QString CoverageGrid::Value(const QString& key) const
{
    const int row = RowOf(key);
    return row < 0 ? QString() : rows_[static_cast<size_t>(row)].Value;
}

void CoverageGrid::SetValue(const QString& key, const QString& value)
{
    const int row = RowOf(key);
    if (row < 0 || rows_[static_cast<size_t>(row)].Value == value)
        return;
    rows_[static_cast<size_t>(row)].Value = value;
    emit dataChanged(index(row, 1), index(row, 1));
}

void CoverageGrid::SetPickList(const QString& key, const QStringList& list)
{
    const int row = RowOf(key);
    if (row >= 0)
        rows_[static_cast<size_t>(row)].PickList = list;
}

int CoverageGrid::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CoverageGrid::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant CoverageGrid::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
        return {};
    const Row& r = rows_[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == 0 ? r.Key : r.Value;
    case PickListRole:
        return r.PickList;
    case PickOnlyRole:
        return r.PickOnly;
    default:
        return {};
    }
}

QVariant CoverageGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Parameter") : QStringLiteral("Value");
}

bool CoverageGrid::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.column() != 1 || role != Qt::EditRole
        || index.row() >= static_cast<int>(rows_.size()))
        return false;
    Row& r = rows_[static_cast<size_t>(index.row())];
    const QString text = value.toString();
    // A pick-only row takes nothing but a value of its list.
    if (r.PickOnly && !r.PickList.contains(text))
        return false;
    r.Value = text;
    emit dataChanged(index, index);
    emit ValueEdited(r.Key);
    return true;
}

Qt::ItemFlags CoverageGrid::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 1)
        f |= Qt::ItemIsEditable;
    return f;
}
