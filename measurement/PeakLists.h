#ifndef ZENDRIK_MEASUREMENT_PEAKLISTS_H
#define ZENDRIK_MEASUREMENT_PEAKLISTS_H

#include "app/MeasureSet.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringListModel>
#include <array>
#include <utility>
#include <vector>

// The hidden peak grid of a set, which the report prints: rows 0 and 1 hold the column names and
// units, peak n sits in row n + 1. Columns 0-4 are the peak (number, kHz, level, limit, margin),
// 5-10 its re-measurement. A cleared grid has two rows.
class PeakGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 11;
    static constexpr int kHeadingRows = 2;

    explicit PeakGridModel(QObject* parent = nullptr);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Cuts or extends to count rows (at least the two heading rows stay).
    void SetRowCount(int count);
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<std::array<QString, kColumns>> rows_;
};

// The peak lists of one measurement set as models that the main window's list boxes show, with
// the designer name of the list box as each model's objectName.
class PeakLists {
public:
    // The set picks the designer names.
    explicit PeakLists(MeasureSet set);
    PeakLists(const PeakLists&) = delete;
    PeakLists& operator=(const PeakLists&) = delete;

    QStringListModel Lines;         // "Peaks": "n  f.ffkHz l.llDBuV" (ListBox1 / ListBox7)
    QStringListModel Freqs;         // peak frequencies, kHz with two decimals (ListBox3 / ListBox9)
    QStringListModel Levels;        // peak levels, dBuV with two decimals (ListBox4 / ListBox10)
    QStringListModel MeasureLines;  // "Peak Measurements" (ListBox2 / ListBox8)
    QStringListModel MeasureFreqs;  // re-measured frequencies (ListBox5 / ListBox11)
    QStringListModel MeasureLevels; // re-measured corrected levels (ListBox6 / ListBox12)
    PeakGridModel Grid;             // StringGrid1 / StringGrid2
    // What of its plan the run behind the set's traces did not measure, the line it ended with;
    // the printed report carries it. Empty for a whole plan, and when no run's results are shown.
    QString RunNote;

    int Count() const { return Lines.rowCount(); }
    // The six lists emptied and the grid back to its two heading rows; the traces stay, and so
    // does the run's note on them.
    void ClearLists();
    // The lists and the run's note go, as when the traces they were listed from go.
    void Clear();
    // Lists a peak at f kHz with level and the limit there; it gets the next number. A frequency
    // is listed once: where two segments both end on it, the list keeps the higher level under
    // the number it first got.
    void AddPeak(double freqKhz, double level, double limit);

private:
    // The row of each listed frequency (as its two-decimal text) and the level listed there.
    QHash<QString, std::pair<int, double>> listed_;
};

#endif
