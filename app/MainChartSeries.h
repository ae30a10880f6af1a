#ifndef ZENDRIK_APP_MAINCHARTSERIES_H
#define ZENDRIK_APP_MAINCHARTSERIES_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

class TChartSeries;

// The four labels that bring a pair of traces (set 1 and set 2) on top of the main chart.
enum class TopTracePair {
    Chart,  // Label1 "Chart:"
    Trace1, // Label7 "Trace1:"
    Trace2, // Label9 "Trace2:"
    Trace3, // Label10 "Trace3:"
};

// The 29 series of the main chart (Chart1), X in kHz, Y in dBuV or dB, in the order of their
// numbers: the role at index i is the series "Series<i+1>".
enum class SeriesRole : uint8_t {
    rawTrace1,
    limitLine1,
    cableCorrection,
    lisnCorrection,
    limitLine2,
    tablePreview,
    correctedTrace1,
    rawTrace2,
    correctedTrace2,
    amplifierCorrection,
    antennaFactor,
    reference1Set1,
    reference1Set2,
    marginLine1,
    marginLine2,
    masterCorrection,
    segmentMarks1,
    segmentMarks2,
    reference2Set1,
    reference2Set2,
    reference3Set1,
    reference3Set2,
    generatorAmpCorrection,
    temCellCorrection,
    smoothing1,
    compensation1,
    arithmeticResult,
    smoothing2,
    compensation2,
};
inline constexpr int kMainSeriesCount = 29;

// How a series looks when the main window starts: a line series in the chart's own colour and
// pen, unless the table says otherwise.
struct SeriesLook {
    bool Points = false;          // a point series (the segment marks), else a line series
    std::optional<int32_t> Color; // $00BBGGRR as the chart takes it; none leaves the chart's palette
    uint8_t PenWidth = 0;         // 0 keeps the series' own width
    bool Dotted = false;
    bool LineHidden = false;
    bool Stairs = false;
    bool Active = true;

private:
    // Before the words that use it: clang 14 cannot evaluate a call to a member template at
    // compile time when the template is declared after the caller.
    template <class T, class V> constexpr SeriesLook With(T SeriesLook::*field, V value) const
    {
        SeriesLook changed = *this;
        changed.*field = value;
        return changed;
    }

public:
    // The table's words for the differences.
    constexpr SeriesLook Colored(int32_t color) const { return With(&SeriesLook::Color, color); }
    constexpr SeriesLook Width(uint8_t width) const { return With(&SeriesLook::PenWidth, width); }
    constexpr SeriesLook DottedPen() const { return With(&SeriesLook::Dotted, true); }
    constexpr SeriesLook HiddenLine() const { return With(&SeriesLook::LineHidden, true); }
    constexpr SeriesLook AsStairs() const { return With(&SeriesLook::Stairs, true); }
    constexpr SeriesLook AsPoints() const { return With(&SeriesLook::Points, true); }
    constexpr SeriesLook Inactive() const { return With(&SeriesLook::Active, false); }
};
inline constexpr SeriesLook kLine{};

struct MainSeriesRow {
    SeriesRole Role;
    // The series' Name: the chart files store the series by this number.
    const char* DesignerName;
    const char* OurName;
    const char* Shows;
    // The word that names the series in the table readers' "Info: graph" line; empty for none.
    const char* GraphKey;
    // The chart draws its series in number order until a label puts a pair on top; from then on
    // this is the place in the drawing order: 1 .. 16 for the series drawn below every pair,
    // 17 .. 24 for the pairs (set 1 before set 2); 0 keeps the series' place behind them all.
    uint8_t DrawRank;
    // The label that brings the series on top together with the other set's series.
    std::optional<TopTracePair> Pair;
    SeriesLook Look;
};

// clang-format off
inline constexpr std::array<MainSeriesRow, kMainSeriesCount> kMainChartSeries = {{
    {SeriesRole::rawTrace1, "Series1", "rawTrace1", "raw trace, set 1", "raw1", 2, {},
     kLine.Colored(0x00FFFF /* yellow */).Width(1)},
    {SeriesRole::limitLine1, "Series2", "limitLine1", "limit line, set 1", "lim1", 3, {},
     kLine.Colored(0x8000FF /* rose */).Width(2)},
    {SeriesRole::cableCorrection, "Series3", "cableCorrection", "cable correction", "cac", 4, {},
     kLine.Width(1)},
    {SeriesRole::lisnCorrection, "Series4", "lisnCorrection", "LISN or attenuator correction", "lisn", 5, {},
     kLine.Width(1)},
    {SeriesRole::limitLine2, "Series5", "limitLine2", "limit line, set 2", "lim2", 6, {},
     kLine.Width(2)},
    {SeriesRole::tablePreview, "Series6", "tablePreview", "the table editor's preview", "edit", 7, {},
     kLine.Colored(0x4080FF /* orange */).Width(1)},
    {SeriesRole::correctedTrace1, "Series7", "correctedTrace1", "corrected trace, set 1", "7", 17,
     TopTracePair::Chart, kLine.Colored(0x808000 /* teal */).Width(1)},
    {SeriesRole::rawTrace2, "Series8", "rawTrace2", "raw trace, set 2", "raw2", 8, {},
     kLine.Colored(0xFFFFFF /* white */)},
    {SeriesRole::correctedTrace2, "Series9", "correctedTrace2", "corrected trace, set 2", "cor2", 18,
     TopTracePair::Chart, kLine.Colored(0x808080 /* grey */)},
    {SeriesRole::amplifierCorrection, "Series10", "amplifierCorrection", "amplifier correction", "amp", 9, {},
     kLine.Colored(0xFF00FF /* fuchsia */).Width(1)},
    {SeriesRole::antennaFactor, "Series11", "antennaFactor", "antenna factor", "ant", 10, {},
     kLine.Colored(0x800000 /* navy */).Width(1)},
    {SeriesRole::reference1Set1, "Series12", "reference1Set1", "reference trace 1, set 1", "trace1", 19,
     TopTracePair::Trace1, kLine.Colored(0x000080 /* maroon */)},
    {SeriesRole::reference1Set2, "Series13", "reference1Set2", "reference trace 1, set 2", "trace2", 20,
     TopTracePair::Trace1, kLine.Colored(0x00FF00 /* lime */)},
    {SeriesRole::marginLine1, "Series14", "marginLine1", "margin line, set 1", "gap1", 11, {},
     kLine.Colored(0x008080 /* olive */).Width(1).DottedPen()},
    {SeriesRole::marginLine2, "Series15", "marginLine2", "margin line, set 2", "gap2", 12, {},
     kLine.Colored(0x800080 /* purple */).Width(1).DottedPen().AsStairs()},
    {SeriesRole::masterCorrection, "Series16", "masterCorrection", "combined correction (master) curve", "", 13, {},
     kLine.Width(2).HiddenLine()},
    {SeriesRole::segmentMarks1, "Series17", "segmentMarks1", "segment marks, set 1", "", 14, {},
     kLine.AsPoints()},
    {SeriesRole::segmentMarks2, "Series18", "segmentMarks2", "segment marks, set 2", "", 15, {},
     kLine.AsPoints()},
    {SeriesRole::reference2Set1, "Series19", "reference2Set1", "reference trace 2, set 1", "", 21,
     TopTracePair::Trace2, kLine.Colored(0x00FF00 /* lime */)},
    {SeriesRole::reference2Set2, "Series20", "reference2Set2", "reference trace 2, set 2", "", 22,
     TopTracePair::Trace2, kLine.Colored(0x000080 /* maroon */)},
    {SeriesRole::reference3Set1, "Series21", "reference3Set1", "reference trace 3, set 1", "", 23,
     TopTracePair::Trace3, kLine},
    {SeriesRole::reference3Set2, "Series22", "reference3Set2", "reference trace 3, set 2", "", 24,
     TopTracePair::Trace3, kLine.Colored(0x000080 /* maroon */)},
    {SeriesRole::generatorAmpCorrection, "Series23", "generatorAmpCorrection",
     "the generator's amplifier correction (debug only)", "amptrck", 16, {}, kLine},
    {SeriesRole::temCellCorrection, "Series24", "temCellCorrection", "the generator's TEM-cell correction (debug only)",
     "", 1, {}, kLine},
    {SeriesRole::smoothing1, "Series25", "smoothing1", "smoothing overlay, set 1 (debug only)", "", 0, {}, kLine},
    {SeriesRole::compensation1, "Series26", "compensation1", "zero compensation, set 1", "", 0, {},
     kLine.HiddenLine()},
    {SeriesRole::arithmeticResult, "Series27", "arithmeticResult", "trace arithmetic result (\"Math\")", "", 0, {},
     kLine.Inactive()},
    {SeriesRole::smoothing2, "Series28", "smoothing2", "smoothing overlay, set 2 (debug only)", "", 0, {}, kLine},
    {SeriesRole::compensation2, "Series29", "compensation2", "zero compensation, set 2", "", 0, {},
     kLine.HiddenLine()},
}};
// clang-format on

constexpr size_t IndexOf(SeriesRole role) { return static_cast<size_t>(role); }
constexpr const MainSeriesRow& RowOf(SeriesRole role) { return kMainChartSeries[IndexOf(role)]; }
// The n of "Series<n>", which is also the series' tag in the chart files.
constexpr int NumberOf(SeriesRole role) { return static_cast<int>(role) + 1; }
// The role of "Series<n>"; none outside 1 .. 29.
constexpr std::optional<SeriesRole> RoleOfNumber(int n)
{
    if (n < 1 || n > kMainSeriesCount)
        return std::nullopt;
    return static_cast<SeriesRole>(n - 1);
}

// The main chart's series by role, for the logic that reads and fills them. The main window
// points every role at its series; tests point only the ones they use, and a null pointer stands
// for a series the chart does not hold.
class MainChartSeries {
public:
    TChartSeries* operator[](SeriesRole role) const { return series_[IndexOf(role)]; }
    TChartSeries*& operator[](SeriesRole role) { return series_[IndexOf(role)]; }
    // "Series<n>", null outside 1 .. 29.
    TChartSeries* Number(int n) const
    {
        const std::optional<SeriesRole> role = RoleOfNumber(n);
        return role ? (*this)[*role] : nullptr;
    }

private:
    std::array<TChartSeries*, kMainSeriesCount> series_{};
};

#endif
