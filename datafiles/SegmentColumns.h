#ifndef ZENDRIK_DATAFILES_SEGMENTCOLUMNS_H
#define ZENDRIK_DATAFILES_SEGMENTCOLUMNS_H

#include "app/PlausibleRanges.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
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
bool TakeRbw(QString& text, SegmentRecord& segment);       // a number of Hz, "9kHz" and the like
bool TakeSweep(QString& text, SegmentRecord& segment);     // ms, no dots
bool TakeAtt(QString& text, SegmentRecord& segment);       // dB, or "auto" in any case (or -1)
bool TakePreAmp(QString& text, SegmentRecord& segment);    // exactly "on" or "off"
bool TakeDetector(QString& text, SegmentRecord& segment);  // upper-cased, a name the run knows

// The numbers of a segment that the bounds below read.
std::optional<double> StartOf(const SegmentRecord& segment);
std::optional<double> StopOf(const SegmentRecord& segment);
std::optional<double> RbwOf(const SegmentRecord& segment); // NaN for a text that is no bandwidth
std::optional<double> SweepOf(const SegmentRecord& segment);
std::optional<double> AttOf(const SegmentRecord& segment); // nothing for "auto"
} // namespace segmentrun

// What a column may give a segment: a number within a range (in a unit, which the line that
// refuses it names), read from the segment by a function; a segment that holds no number there
// ("auto" attenuation) gets nothing from it. A column of words (preamplifier, detector) has no
// number to bound: its reader takes only the words it knows. No default, so that a row of
// kSegmentColumns without its bound does not compile.
class SegmentBound {
public:
    using Value = std::optional<double> (*)(const SegmentRecord& segment);
    constexpr SegmentBound(plausible::Range range, const char* unit, Value value)
        : range_(range), unit_(unit), value_(value)
    {
    }
    static constexpr SegmentBound Words() { return SegmentBound({0, 0}, "", nullptr); }

    // " lies outside 1..1000000 Hz" when the segment's number lies outside (NaN included); empty
    // when it lies inside or the column has none.
    QString Refusal(const SegmentRecord& segment) const;

private:
    plausible::Range range_;
    const char* unit_;
    Value value_;
};

// The bounds: any frequency an analyser or table may have, and the RBW, sweep time and
// attenuation the parameter grid's rows take (what the editor's pick list offers, in dB).
namespace segmentbounds {
inline constexpr SegmentBound kStart{plausible::kFrequencyHz, " Hz", segmentrun::StartOf};
inline constexpr SegmentBound kStop{plausible::kFrequencyHz, " Hz", segmentrun::StopOf};
inline constexpr SegmentBound kRbw{{1, 1'000'000}, " Hz", segmentrun::RbwOf};
inline constexpr SegmentBound kSweep{{1, 2'999'999}, " ms", segmentrun::SweepOf};
inline constexpr SegmentBound kAtt{{0, 50}, " dB", segmentrun::AttOf};
} // namespace segmentbounds

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
    // What the column's value may be once taken; a value beyond it refuses the file at load (with
    // " lies outside ..." after the key and its text) and the set at Play.
    SegmentBound Bound;
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
     segmentrun::TakeStart, segmentbounds::kStart, nullptr},
    {SegmentColumn::Stop,     "FRQb__",   "Stop[Hz]",  80, SegmentCellForm::Frequency, nullptr, {}, true,
     segmentrun::TakeStop, segmentbounds::kStop, " Freqb__"},
    {SegmentColumn::Rbw,      "BW____",   "RBW[Hz]",   80, SegmentCellForm::Text,      nullptr, {}, true,
     segmentrun::TakeRbw, segmentbounds::kRbw, " BW____"},
    {SegmentColumn::Sweep,    "Sweep_",   "Sweep[ms]", 64, SegmentCellForm::Text,      nullptr, {}, true,
     segmentrun::TakeSweep, segmentbounds::kSweep, " Sweep_"},
    {SegmentColumn::Att,      "Att___",   "Att[dB]",   64, SegmentCellForm::Text,      "ComboBox3",
     segmentpicks::kAtt, true, segmentrun::TakeAtt, segmentbounds::kAtt, " Att____"},
    {SegmentColumn::PreAmp,   "PreAmp",   "PreAmp",    45, SegmentCellForm::OnOff,     "ComboBox2",
     segmentpicks::kPreAmp, false, segmentrun::TakePreAmp, SegmentBound::Words(), " PreAmp__"},
    {SegmentColumn::Detector, "Detector", "Detector",  84, SegmentCellForm::Detector,  "ComboBox1",
     segmentpicks::kDetector, false, segmentrun::TakeDetector, SegmentBound::Words(), " Detector"},
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
