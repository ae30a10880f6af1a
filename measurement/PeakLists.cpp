#include "measurement/PeakLists.h"

#include "app/NumberText.h"

namespace {

void ClearList(QStringListModel& model)
{
    if (model.rowCount() > 0)
        model.setStringList({});
}

// Peak texts use "." whatever the process-wide mark is.
QString Fixed(double value, int decimals) { return FormatMachineFixed(value, decimals); }

} // namespace

PeakGridModel::PeakGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    rows_.resize(kHeadingRows);
    rows_[0] = {"No.", "Freq", "Peak", "Lim", "Margin", "*DET", "*Freq", "*Peak", "*Lim", "*RBW", "*SWT"};
    rows_[1] = {"", "[kHz]", "[dbuV]", "[dBuV]", "[dB]", "", "[kHZ]", "[dBuV]", "[dBuV]", "[Hz]", "[msec]"};
}

void PeakGridModel::SetRowCount(int count)
{
    count = std::max(count, kHeadingRows);
    const int old = RowCount();
    if (count < old) {
        beginRemoveRows(QModelIndex(), count, old - 1);
        rows_.resize(static_cast<size_t>(count));
        endRemoveRows();
    } else if (count > old) {
        beginInsertRows(QModelIndex(), old, count - 1);
        rows_.resize(static_cast<size_t>(count));
        endInsertRows();
    }
}

QString PeakGridModel::Cell(int row, int column) const
{
    if (row < 0 || row >= RowCount() || column < 0 || column >= kColumns)
        return {};
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

void PeakGridModel::SetCell(int row, int column, const QString& text)
{
    if (row < 0 || column < 0 || column >= kColumns)
        return;
    if (row >= RowCount())
        SetRowCount(row + 1);
    rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

int PeakGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : RowCount(); }

int PeakGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant PeakGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Cell(index.row(), index.column());
}

PeakLists::PeakLists(MeasureSet set)
{
    const bool one = set == MeasureSet::Set1;
    Lines.setObjectName(one ? "ListBox1" : "ListBox7");
    Freqs.setObjectName(one ? "ListBox3" : "ListBox9");
    Levels.setObjectName(one ? "ListBox4" : "ListBox10");
    MeasureLines.setObjectName(one ? "ListBox2" : "ListBox8");
    MeasureFreqs.setObjectName(one ? "ListBox5" : "ListBox11");
    MeasureLevels.setObjectName(one ? "ListBox6" : "ListBox12");
    Grid.setObjectName(one ? "StringGrid1" : "StringGrid2");
}

void PeakLists::ClearLists()
{
    for (QStringListModel* m : {&Lines, &Freqs, &Levels, &MeasureLines, &MeasureFreqs, &MeasureLevels})
        ClearList(*m);
    Grid.SetRowCount(PeakGridModel::kHeadingRows);
    listed_.clear();
}

void PeakLists::Clear()
{
    ClearLists();
    RunNote.clear();
}

void PeakLists::AddPeak(double freqKhz, double level, double limit)
{
    const QString f = Fixed(freqKhz, 2);
    int index = Count();
    const auto listed = listed_.find(f);
    if (listed != listed_.end() && Freqs.index(listed->first).data().toString() == f) {
        // The last point of one segment and the first of the next: one emission, one row, which
        // shows the higher level.
        auto& [row, shownLevel] = *listed;
        if (level <= shownLevel)
            return;
        index = row;
        shownLevel = level;
    } else {
        listed_.insert(f, {index, level});
        for (QStringListModel* m : {&Lines, &Freqs, &Levels})
            m->insertRows(index, 1);
        Freqs.setData(Freqs.index(index), f);
        Grid.SetRowCount(std::max(Grid.RowCount() + 1, index + 3));
        Grid.SetCell(index + 2, 0, QString::number(index + 1));
        Grid.SetCell(index + 2, 1, Fixed(freqKhz, 0));
    }
    const QString l = Fixed(level, 2);
    Lines.setData(Lines.index(index),
                  QString::number(index + 1) + QStringLiteral("  ") + f + QStringLiteral("kHz ") + l + QStringLiteral("dBuV"));
    Levels.setData(Levels.index(index), l);
    Grid.SetCell(index + 2, 2, l);
    Grid.SetCell(index + 2, 3, Fixed(limit, 2));
    Grid.SetCell(index + 2, 4, Fixed(limit - level, 2));
}
