#ifndef ZENDRIK_DATAFILES_SEGMENTCOLUMNS_H
#define ZENDRIK_DATAFILES_SEGMENTCOLUMNS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The columns of a segment table, as the table editor's grid shows them from column 1 to the
// right and as a segment file keeps them ("FRQa__1", "FRQb__1", ... for segment 1).
enum class SegmentColumn : uint8_t { Start = 1, Stop, Rbw, Sweep, Att, PreAmp, Detector };
inline constexpr int kSegmentColumnCount = 7;

constexpr int GridColumn(SegmentColumn column)
{
    return static_cast<int>(column);
}

// How a column's text passes between file and grid.
enum class SegmentCellForm : uint8_t {
    Frequency, // every "." deleted on reading (a thousands dot); written as it stands
    Text,      // as it stands both ways
    OnOff,     // read as it stands; written "on" for exactly "on", else "off"
    Detector,  // "POSPEAK" and "NEGPEAK" read as "POS" and "NEG"; a name the writer does not
               // know is written as an empty value
};

struct SegmentColumnInfo {
    SegmentColumn Column;
    const char* Key;     // the file key before the segment number
    const char* Heading; // the editor's column heading
    int Width;           // the editor's column width in pixels
    SegmentCellForm Form;
    // The editor's pick list that opens over a cell of the column (its designer name), with its
    // entries; none for a column that is only typed.
    const char* PickListName;
    std::span<const char* const> Picks;
    // Whether the cell also takes typed text beside its pick list.
    bool Typed;
};

namespace segmentpicks {
inline constexpr const char* kAtt[] = {"auto", "0",  "5",  "10", "15", "20",
                                       "25",   "30", "35", "40", "45", "50"};
inline constexpr const char* kPreAmp[] = {"on", "off"};
inline constexpr const char* kDetector[] = {"NEG", "NORM", "POS", "RMS", "SAMP", "VAV", "QPEAK"};
} // namespace segmentpicks

// clang-format off
inline constexpr std::array<SegmentColumnInfo, kSegmentColumnCount> kSegmentColumns = {{
    {SegmentColumn::Start,    "FRQa__",   "Start[Hz]", 80, SegmentCellForm::Frequency, nullptr, {}, true},
    {SegmentColumn::Stop,     "FRQb__",   "Stop[Hz]",  80, SegmentCellForm::Frequency, nullptr, {}, true},
    {SegmentColumn::Rbw,      "BW____",   "RBW[Hz]",   80, SegmentCellForm::Text,      nullptr, {}, true},
    {SegmentColumn::Sweep,    "Sweep_",   "Sweep[ms]", 64, SegmentCellForm::Text,      nullptr, {}, true},
    {SegmentColumn::Att,      "Att___",   "Att[dB]",   64, SegmentCellForm::Text,      "ComboBox3",
     segmentpicks::kAtt, true},
    {SegmentColumn::PreAmp,   "PreAmp",   "PreAmp",    45, SegmentCellForm::OnOff,     "ComboBox2",
     segmentpicks::kPreAmp, false},
    {SegmentColumn::Detector, "Detector", "Detector",  84, SegmentCellForm::Detector,  "ComboBox1",
     segmentpicks::kDetector, false},
}};
// clang-format on

constexpr bool SegmentColumnsInGridOrder()
{
    for (size_t i = 0; i < kSegmentColumns.size(); ++i)
        if (GridColumn(kSegmentColumns[i].Column) != static_cast<int>(i) + 1)
            return false;
    return true;
}
static_assert(SegmentColumnsInGridOrder(), "one row per segment column, in the grid's order");

constexpr const SegmentColumnInfo& InfoOf(SegmentColumn column)
{
    return kSegmentColumns[static_cast<size_t>(GridColumn(column) - 1)];
}

// The segment column shown in a grid column; none for the headings' column or one beyond.
constexpr const SegmentColumnInfo* SegmentColumnAt(int gridColumn)
{
    for (const SegmentColumnInfo& info : kSegmentColumns)
        if (GridColumn(info.Column) == gridColumn)
            return &info;
    return nullptr;
}

#endif
