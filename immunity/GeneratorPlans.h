#ifndef ZENDRIK_IMMUNITY_GENERATORPLANS_H
#define ZENDRIK_IMMUNITY_GENERATORPLANS_H

#include "datafiles/GeneratorViewValues.h"
#include "immunity/GeneratorView.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What a generator action will do, read from the view's edits before anything is sent. Each
// reader clamps the amplitudes into the generator's range (the edit shows the clamped value in
// red) and gives nothing when a text is no integer or the set-up is not allowed; the caller then
// shows the action's error box.

struct ValueBound;

// A whole number typed in a box, held to the bound of the project key that stores the box (thousands
// dots removed when dotted): nothing for a text that is no whole number, nor for one beyond the bound,
// which *refused then names, unless it names one already ("Warning: sweep band 1 \"DwellTime[msec]\"
// 0 lies outside whole numbers 1..86400000 ms; nothing is sent").
std::optional<int64_t> ReadBounded(const GeneratorEdit& edit, bool dotted, const QString& box, const ValueBound& bound,
                                   QString* refused);

// The generator's amplitude range in dBm (DeviceState::GeneratorLevelMin/Max).
struct GeneratorLimits {
    int32_t Min = -20;
    int32_t Max = 0;
};

// The lowest frequency the tracking generator produces, and the highest sweep start.
inline constexpr int64_t kGeneratorMinHz = 9000;
inline constexpr int64_t kGeneratorMaxStartHz = 1'500'000'000;
// Below this dwell the analyser may not follow each step; the sweep warns but runs.
inline constexpr int32_t kSlowDwellMs = 1000;

struct FixedPlan {
    int64_t FrequencyHz = 0;
    int32_t Level = 0;
};
// The row of a fixed-frequency action. Every amplitude edit of the fixed rows loses its red first.
// Each plan reader names in *refused the first of its boxes that holds a number beyond its bound.
std::optional<FixedPlan> ReadFixedPlan(GeneratorViewModel& view, GeneratorAction action, const GeneratorLimits& limits,
                                       QString* refused);

struct SweepPlan {
    int64_t StartHz = 0;
    int64_t StopHz = 0;
    int64_t StepHz = 0;
    int32_t DwellMs = 0;
    int32_t Level = 0;
};
// The band of a sweep action. warning receives "Warning: dwelltime ... maybe to slow for DSA" for a
// short dwell (the sweep may still be refused afterwards).
std::optional<SweepPlan> ReadSweepPlan(GeneratorViewModel& view, GeneratorAction action, const GeneratorLimits& limits,
                                       QString* warning, QString* refused);

struct RampPlan {
    std::array<uint32_t, kRampTimes> TimesMs{}; // T0..T4, each 1 ms more than typed
    int32_t StepsUp = 0;
    int32_t StepsDown = 0;
    int64_t FrequencyHz = 0;
    int32_t Low = 0;
    int32_t High = 0;
    bool Periodic = false;
};
inline constexpr int32_t kMaxRampSteps = GeneratorViewValues::kMaxRampSteps;
std::optional<RampPlan> ReadRampPlan(GeneratorViewModel& view, const GeneratorLimits& limits, QString* refused);

// One ramp as a list of waits and levels: low, hold T0, the rising steps (each after T1 / up
// steps), hold T2, the falling steps (each after T3 / down steps), hold T4. Levels and step waits
// round halves to even. With 0 steps the level jumps to high (low) after the whole T1 (T3).
struct RampAction {
    enum Kind { Send, Wait } What;
    int64_t Value; // dBm for Send, ms for Wait
    bool operator==(const RampAction&) const = default;
};
std::vector<RampAction> RampSchedule(const RampPlan& plan);

#endif
