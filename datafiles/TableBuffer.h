#ifndef ZENDRIK_DATAFILES_TABLEBUFFER_H
#define ZENDRIK_DATAFILES_TABLEBUFFER_H

#include "datafiles/SegmentColumns.h"

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <vector>

// The table editor's grid without the widget: the one buffer every table read goes through. The
// readers fill it, the writers save it, the interpolation turns it into a trace, and the editor
// window shows it (it is a Qt table model). Row 0 and column 0 hold headings; tables use columns
// 1 (frequency) and 2 (level), segment tables one column per SegmentColumn, from row 1
// downwards. The buffer starts with 500 rows and grows when a file is longer.
//
// Beside the cells it keeps the editor's name field (Edit3), the two interpolation check boxes
// (CheckBox3 "Freq  lin/log", CheckBox2 "Level lin/log": checked = linear) and the texts of the
// plot-range fields (Edit1, Edit2, Edit4, Edit5), which the interpolation may set.
class TableBuffer : public QAbstractTableModel {
    Q_OBJECT
public:
    // The headings' column and the widest table's, a segment table's.
    static constexpr int kColumns = 1 + kSegmentColumnCount;
    static constexpr int kInitialRows = 500;
    // The most rows the grid grows to: a million points is far beyond any table or segment file,
    // and a row number read from a file must not decide how much memory is taken.
    static constexpr int kMaxRows = 1'000'000;
    // The name field's text before any table was read.
    static inline const QString kInitialName = QStringLiteral("Cisperxxx");

    // The font colour of a data cell: black, red for a text that is not a number, green for a
    // checked row.
    enum class CellMark : uint8_t { Black, Red, Green };

    // Plot-range field texts (Hz for the frequencies, dBuV for the levels).
    struct PlotRange {
        QString StartHz; // Edit1
        QString StopHz;  // Edit2
        QString LevelMin; // Edit4
        QString LevelMax; // Edit5
    };

    // Groups many cell changes into one model reset (the readers use it), so a view is not told
    // about every single cell of a long table.
    class BulkChange {
    public:
        explicit BulkChange(TableBuffer& buffer);
        ~BulkChange();
        BulkChange(const BulkChange&) = delete;
        BulkChange& operator=(const BulkChange&) = delete;

    private:
        TableBuffer& buffer_;
    };

    explicit TableBuffer(QObject* parent = nullptr);

    // Queries.
    int Rows() const { return rows_; }
    const QString& Cell(int row, int column) const;
    CellMark Mark(int row, int column) const;
    const QString& Name() const { return name_; }
    bool FreqLinear() const { return freqLinear_; }
    bool LevelLinear() const { return levelLinear_; }
    const PlotRange& Range() const { return range_; }
    // The kind of file the cells came from, as its bare extension ("lim", "cac", ..., "seg");
    // empty until a reader or the editor sets it. The buffer passes every table of a project, so
    // the editor clears what another kind left in it.
    const QString& Holds() const { return holds_; }

    // Changes.
    void SetCell(int row, int column, const QString& text);
    void SetMark(int row, int column, CellMark mark);
    // Makes sure row exists (grows the buffer when needed); std::out_of_range for a row below 0
    // or at kMaxRows or above.
    void EnsureRow(int row);
    // Empties the columns first..last of every row from row 1 to the last.
    void ClearColumns(int first, int last);
    // "Clear": every cell of rows 1 up and columns 1 up is emptied and turns black.
    void ClearData();
    void SetName(const QString& name);
    void SetFreqLinear(bool linear);
    void SetLevelLinear(bool linear);
    void SetRange(const PlotRange& range);
    void SetHolds(const QString& extension) { holds_ = extension; }

    // QAbstractTableModel.
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void NameChanged(const QString& name);
    void FlagsChanged();
    void RangeChanged();

private:
    bool InRange(int row, int column) const;

    int rows_ = kInitialRows;
    int bulkDepth_ = 0;
    std::vector<QString> cells_; // row-major, rows_ * kColumns
    std::vector<CellMark> marks_; // same layout
    QString name_ = kInitialName;
    bool freqLinear_ = false;
    bool levelLinear_ = false;
    PlotRange range_;
    QString holds_;
};

#endif
