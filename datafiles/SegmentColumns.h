#ifndef ZENDRIK_DATAFILES_SEGMENTCOLUMNS_H
#define ZENDRIK_DATAFILES_SEGMENTCOLUMNS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The columns of a segment table, as the table editor's grid shows them from column 1 to the
// right, as a segment file keeps them ("FRQa__1", "FRQb__1", ... for segment 1) and as the run
// reads them into its segments: the editor's reader and writer and the run's reader all follow
// kSegmentColumns.
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

class QString;
struct SegmentRecord;

// How the run reads a column's text into a segment: false for a text it cannot measure with. It
// may first put the text into the form it checks (a detector upper-cased); a refusal names the
// text in that form. It has no default, so a row of kSegmentColumns without the run's reader does
// not compile (comparing a function's address in a constant expression is not portable).
class SegmentTake {
public:
    using Function = bool (*)(QString& text, SegmentRecord& segment);
    constexpr SegmentTake(Function take) : take_(take) {}
    bool operator()(QString& text, SegmentRecord& segment) const { return take_(text, segment); }

private:
    Function take_;
};

// The run's readers of the columns below (SegmentTable.cpp).
namespace segmentrun {
bool TakeStart(QString& text, SegmentRecord& segment);     // Hz, thousands dots removed
bool TakeStop(QString& text, SegmentRecord& segment);      // Hz, thousands dots removed
bool TakeRbw(QString& text, SegmentRecord& segment);       // as it stands
bool TakeSweep(QString& text, SegmentRecord& segment);     // ms, no dots
bool TakeAtt(QString& text, SegmentRecord& segment);       // dB, or "auto" in any case
bool TakePreAmp(QString& text, SegmentRecord& segment);    // exactly "on" or "off"
bool TakeDetector(QString& text, SegmentRecord& segment);  // upper-cased, a name the run knows
} // namespace segmentrun

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
    // The run's reader of the column, and the word its error ends in when the file holds fewer or
    // more of its keys than start frequencies ("Segment File Error Seg: 3 BW____"); the first
    // column counts the segments and has none.
    SegmentTake Take;
    const char* CountWord;
};

namespace segmentpicks {
inline constexpr const char* kAtt[] = {"auto", "0",  "5",  "10", "15", "20",
                                       "25",   "30", "35", "40", "45", "50"};
inline constexpr const char* kPreAmp[] = {"on", "off"};
inline constexpr const char* kDetector[] = {"NEG", "NORM", "POS", "RMS", "SAMP", "VAV", "QPEAK"};
} // namespace segmentpicks

// clang-format off
inline constexpr std::array<SegmentColumnInfo, kSegmentColumnCount> kSegmentColumns = {{
    {SegmentColumn::Start,    "FRQa__",   "Start[Hz]", 80, SegmentCellForm::Frequency, nullptr, {}, true,
     segmentrun::TakeStart, nullptr},
    {SegmentColumn::Stop,     "FRQb__",   "Stop[Hz]",  80, SegmentCellForm::Frequency, nullptr, {}, true,
     segmentrun::TakeStop, " Freqb__"},
    {SegmentColumn::Rbw,      "BW____",   "RBW[Hz]",   80, SegmentCellForm::Text,      nullptr, {}, true,
     segmentrun::TakeRbw, " BW____"},
    {SegmentColumn::Sweep,    "Sweep_",   "Sweep[ms]", 64, SegmentCellForm::Text,      nullptr, {}, true,
     segmentrun::TakeSweep, " Sweep_"},
    {SegmentColumn::Att,      "Att___",   "Att[dB]",   64, SegmentCellForm::Text,      "ComboBox3",
     segmentpicks::kAtt, true, segmentrun::TakeAtt, " Att____"},
    {SegmentColumn::PreAmp,   "PreAmp",   "PreAmp",    45, SegmentCellForm::OnOff,     "ComboBox2",
     segmentpicks::kPreAmp, false, segmentrun::TakePreAmp, " PreAmp__"},
    {SegmentColumn::Detector, "Detector", "Detector",  84, SegmentCellForm::Detector,  "ComboBox1",
     segmentpicks::kDetector, false, segmentrun::TakeDetector, " Detector"},
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

// The first column counts the segments; every other one says its count error in its own word.
constexpr bool EverySegmentColumnHasItsCountWord()
{
    for (size_t i = 0; i < kSegmentColumns.size(); ++i)
        if ((i > 0) != (kSegmentColumns[i].CountWord != nullptr))
            return false;
    return true;
}
static_assert(EverySegmentColumnHasItsCountWord(), "a segment column needs its count word");

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
