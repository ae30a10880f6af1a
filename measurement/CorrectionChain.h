#ifndef ZENDRIK_MEASUREMENT_CORRECTIONCHAIN_H
#define ZENDRIK_MEASUREMENT_CORRECTIONCHAIN_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class MainChartSeries;
class TChartSeries;
struct RunSwitches;

// The level of a series at a whole-kHz frequency x by linear interpolation between the two
// points around it. Status 1 when the series covers x (smallest X <= x <= largest X), else -1
// with level 0. A bracketing pair with equal X (a one-point series, or two points at the same
// X) gives the left point's level.
struct SeriesLevel {
    double Level = 0.0;
    int Status = -1;
};
SeriesLevel InterpolateSeries(TChartSeries& series, int64_t x);

// The same lookup for many frequencies that mostly ascend, as a trace walk asks them: the search
// starts where the last one ended, so a walk over a trace costs about one step per point instead
// of a binary search. It finds the same bracketing pair as InterpolateSeries. The lookup reads
// the series' storage: Bind it again after anything may have changed the series.
class SeriesLookup {
public:
    SeriesLookup() = default;
    explicit SeriesLookup(TChartSeries* series) { Bind(series); }
    void Bind(TChartSeries* series);
    SeriesLevel Level(int64_t x);
    // Just above x: where the series steps at x (two points or more there) the last one's level,
    // which every lookup above x follows; elsewhere Level(x).
    SeriesLevel LevelAbove(int64_t x);
    // The first X in (from, to] at which the series steps.
    std::optional<int64_t> StepIn(int64_t from, int64_t to) const;
    bool Empty() const { return xs_.empty(); }

private:
    TChartSeries* series_ = nullptr;
    std::span<const double> xs_;
    std::span<const double> ys_;
    double minX_ = 0;
    double maxX_ = 0;
    size_t hint_ = 0;
};

// The correction sum at f kHz: cable + LISN/attenuator - antenna factor + amplifier gain -
// compensation of the selected set (while "use compensation" is checked), each read at f rounded
// to whole kHz; a series that does not reach f counts 0. The corrected level is raw - sum.
class CorrectionChain {
public:
    CorrectionChain(const MainChartSeries& series, const RunSwitches& switches);
    double Sum(double freqKhz);
    // The sum just above a whole kHz: the later level of every table that steps there.
    double SumAbove(int64_t khz);
    // The first whole kHz in (from, to] at which a term steps.
    std::optional<int64_t> StepIn(int64_t from, int64_t to) const;
    // Binds the lookups again (after window events may have changed a correction series).
    void Rebind();

private:
    double Total(int64_t x, bool above);
    TChartSeries* cable_;
    TChartSeries* lisn_;
    TChartSeries* antenna_;
    TChartSeries* amplifier_;
    TChartSeries* compensation_;
    SeriesLookup cableLookup_, lisnLookup_, antennaLookup_, amplifierLookup_, compensationLookup_;
};

#endif
