#ifndef ZENDRIK_MEASUREMENT_SMOOTHRANGESTORE_H
#define ZENDRIK_MEASUREMENT_SMOOTHRANGESTORE_H

#include <array>
#include <cstdint>

// One frequency range of a set's corrected trace that the fader smoothed.
struct SmoothRange {
    int32_t State = 0; // 1 smoothed, -1 undone
    double FromX = 0;  // kHz
    double ToX = 0;    // kHz
};

// The smoothed ranges of one set, in the order they were made. Undone ranges keep their place;
// only "clear last" shortens the store.
struct SmoothRangeStore {
    static constexpr int32_t kCapacity = 100;
    int32_t Count = 0;
    std::array<SmoothRange, kCapacity> Ranges{};

    bool Full() const { return Count >= kCapacity; }
    // Ranges are numbered from 1, as the debug lines count them.
    SmoothRange& Range(int32_t n) { return Ranges[static_cast<size_t>(n - 1)]; }
    const SmoothRange& Range(int32_t n) const { return Ranges[static_cast<size_t>(n - 1)]; }
};

#endif
