#ifndef ZENDRIK_APP_MEASURESET_H
#define ZENDRIK_APP_MEASURESET_H

#include <array>
#include <cstddef>
#include <cstdint>

// The two measurement sets, chosen by "Set1" and "Set2" of "MeasureSet": each has its own segment
// table, traces, limit and margin lines, peak lists and markers.
enum class MeasureSet : uint8_t { Set1, Set2 };
inline constexpr std::array<MeasureSet, 2> kMeasureSets{MeasureSet::Set1, MeasureSet::Set2};

// The set's number as its texts show it ("Peaks Set2", "SEG2 File ").
constexpr int SetNumber(MeasureSet set)
{
    return static_cast<int>(set) + 1;
}

constexpr MeasureSet OtherSet(MeasureSet set)
{
    return set == MeasureSet::Set1 ? MeasureSet::Set2 : MeasureSet::Set1;
}

// One T per set, reached by the set's name, set 1 first; for (MeasureSet s : kMeasureSets)
// visits the sets in the same order.
template <class T> struct PerSet {
    std::array<T, 2> Items{};

    constexpr T& operator[](MeasureSet set) { return Items[static_cast<size_t>(set)]; }
    constexpr const T& operator[](MeasureSet set) const { return Items[static_cast<size_t>(set)]; }
    constexpr auto begin() { return Items.begin(); }
    constexpr auto end() { return Items.end(); }
    constexpr auto begin() const { return Items.begin(); }
    constexpr auto end() const { return Items.end(); }
};

#endif
