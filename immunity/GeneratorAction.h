#ifndef ZENDRIK_IMMUNITY_GENERATORACTION_H
#define ZENDRIK_IMMUNITY_GENERATORACTION_H

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int kFixedRows = 12;
inline constexpr int kSweepBands = 6;

// What each speed button of the generator view does: radiate at one fixed-frequency row, sweep
// one band, run the power ramp, or switch manual stepping on and off. The view maps its buttons
// to these once; the controller never sees a button.
enum class GeneratorAction : uint8_t {
    FixedFrequency1,
    FixedFrequency2,
    FixedFrequency3,
    FixedFrequency4,
    FixedFrequency5,
    FixedFrequency6,
    FixedFrequency7,
    FixedFrequency8,
    FixedFrequency9,
    FixedFrequency10,
    FixedFrequency11,
    FixedFrequency12,
    SweepBand1,
    SweepBand2,
    SweepBand3,
    SweepBand4,
    SweepBand5,
    SweepBand6,
    PowerRamp,
    ManualStepping,
};
inline constexpr size_t kGeneratorActions = static_cast<size_t>(GeneratorAction::ManualStepping) + 1;

enum class GeneratorActionKind : uint8_t { FixedFrequency, FrequencySweep, PowerRamp, ManualStepping };

constexpr GeneratorActionKind KindOf(GeneratorAction a)
{
    if (a < GeneratorAction::SweepBand1)
        return GeneratorActionKind::FixedFrequency;
    if (a < GeneratorAction::PowerRamp)
        return GeneratorActionKind::FrequencySweep;
    return a == GeneratorAction::PowerRamp ? GeneratorActionKind::PowerRamp : GeneratorActionKind::ManualStepping;
}

// The fixed row (0..11) of a fixed-frequency action, the band (0..5) of a sweep.
constexpr size_t FixedRowOf(GeneratorAction a)
{
    return static_cast<size_t>(a) - static_cast<size_t>(GeneratorAction::FixedFrequency1);
}
constexpr size_t SweepBandOf(GeneratorAction a)
{
    return static_cast<size_t>(a) - static_cast<size_t>(GeneratorAction::SweepBand1);
}
constexpr GeneratorAction FixedFrequencyAction(size_t row)
{
    return static_cast<GeneratorAction>(static_cast<size_t>(GeneratorAction::FixedFrequency1) + row);
}
constexpr GeneratorAction SweepBandAction(size_t band)
{
    return static_cast<GeneratorAction>(static_cast<size_t>(GeneratorAction::SweepBand1) + band);
}

// One value per action, indexed by the action.
template <class T> struct PerGeneratorAction {
    std::array<T, kGeneratorActions> Values{};

    T& operator[](GeneratorAction a) { return Values[static_cast<size_t>(a)]; }
    const T& operator[](GeneratorAction a) const { return Values[static_cast<size_t>(a)]; }
    void fill(const T& v) { Values.fill(v); }
    auto begin() { return Values.begin(); }
    auto end() { return Values.end(); }
    auto begin() const { return Values.begin(); }
    auto end() const { return Values.end(); }
};

#endif
