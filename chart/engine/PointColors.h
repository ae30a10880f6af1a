#ifndef ZENDRIK_CHART_ENGINE_POINTCOLORS_H
#define ZENDRIK_CHART_ENGINE_POINTCOLORS_H

#include "chart/canvas/PlotColor.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The colours points were given, kept as runs of equal colour: a trace whose points all came
// with one colour costs one run, not four bytes a point; a point without a colour of its own
// reads clDefault. Runs cover the points from 0 up to the last one with a colour; the last run
// is never clDefault, so no colours at all means no runs.
class TPointColors {
public:
    bool Empty() const { return starts_.empty(); }
    // clDefault for a point without a colour of its own (also beyond the last run).
    TColor At(int index) const;
    // A new point at index: later points move up by one.
    void Insert(int index, TColor color);
    // count new points at the end, from index on (no point has a colour of its own there yet),
    // all in one colour: one run however many they are.
    void Append(int index, int count, TColor color);
    // The points index .. index + count - 1 go: later points move down.
    void Erase(int index, int count);
    void Set(int index, TColor color);
    void Swap(int a, int b);
    void Clear();

    // Number of runs, and run i: its first point and its colour. Run i ends where run i + 1
    // starts; the last run ends at End().
    int RunCount() const { return static_cast<int>(starts_.size()); }
    int RunStart(int i) const { return starts_[static_cast<size_t>(i)]; }
    TColor RunColor(int i) const { return colors_[static_cast<size_t>(i)]; }
    int End() const { return end_; }
    // The run holding index, -1 beyond the runs.
    int RunAt(int index) const;
    // Bytes held for the runs.
    size_t MemoryBytes() const { return starts_.capacity() * sizeof(int32_t) + colors_.capacity() * sizeof(TColor); }

private:
    void Normalize();

    std::vector<int32_t> starts_;
    std::vector<TColor> colors_;
    int end_ = 0;
};

#endif
