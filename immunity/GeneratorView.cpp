#include "immunity/GeneratorView.h"

#include "immunity/FieldStrength.h"

namespace {

GeneratorEdit Edit(const char* text)
{
    GeneratorEdit e;
    e.Text = QString::fromLatin1(text);
    return e;
}

} // namespace

GeneratorViewModel DefaultGeneratorView()
{
    GeneratorViewModel v;
    static constexpr const char* kFixedHz[kFixedRows] = {
        "100.000",    "300.000",     "600.000",     "900.000",     "1.000.000",   "5.000.000",
        "10.000.000", "50.000.000",  "70.000.000",  "100.000.000", "500.000.000", "900.000.000"};
    for (int i = 0; i < kFixedRows; ++i) {
        v.Fixed[static_cast<size_t>(i)].Frequency = Edit(kFixedHz[i]);
        v.Fixed[static_cast<size_t>(i)].Amplitude = Edit("-20");
    }
    struct BandDefaults {
        const char* start;
        const char* stop;
        const char* step;
    };
    static constexpr BandDefaults kBands[kSweepBands] = {
        {"100.000", "100.000.000", "10.000"},
        {"100.000.000", "500.000.000", "10.000.000"},
        {"500.000.000", "1.000.000.000", "10.000.000"},
        {"1.000.000.000", "1.200.000.000", "10.000.000"},
        {"1.200.000.000", "1.300.000.000", "10.000.000"},
        {"1.300.000.000", "1.500.000.000", "10.000.000"},
    };
    for (int b = 0; b < kSweepBands; ++b) {
        SweepBand& band = v.Bands[static_cast<size_t>(b)];
        band.Start = Edit(kBands[b].start);
        band.Stop = Edit(kBands[b].stop);
        band.Step = Edit(kBands[b].step);
        band.Dwell = Edit("1000");
        band.Amplitude = Edit("-20");
    }
    static constexpr const char* kTimes[kRampTimes] = {"0", "1000", "1000", "1000", "1000"};
    for (int t = 0; t < kRampTimes; ++t)
        v.Ramp.Times[static_cast<size_t>(t)] = Edit(kTimes[t]);
    v.Ramp.StepsUp = Edit("3");
    v.Ramp.StepsDown = Edit("3");
    v.Ramp.Frequency = Edit("150.000");
    v.Ramp.Low = Edit("-15");
    v.Ramp.High = Edit("-3");
    v.Manual.Frequency = Edit("150.000");
    v.Manual.Amplitude = Edit("-15");
    v.Manual.FrequencyIncrement = Edit("100.000");
    v.Manual.AmplitudeIncrement = Edit("1");
    v.ButtonEnabled.fill(true);
    return v;
}

bool RefreshFieldStrengths(GeneratorViewModel& view, const TChartSeries& amplifierCorrection, double septumCm,
                           const QString& refusedCorrection)
{
    const FieldCalculatorTexts box = CalculateFieldBox(view.Calculator.Input);
    if (!box.Refreshed)
        return false;
    view.Calculator.Input = box.Input;
    view.Calculator.Power = box.Power;
    view.Calculator.Fields = box.Fields;
    if (!box.Warning.isEmpty())
        view.Messages.append(box.Warning);
    // Without its amplifier table a row's power and field strength would be plainly wrong.
    if (!refusedCorrection.isEmpty() && refusedCorrection != view.RefusedCorrection)
        view.Messages.append(QStringLiteral("Warning: no field strength is shown: ") + refusedCorrection);
    view.RefusedCorrection = refusedCorrection;
    const auto text = [&](const GeneratorEdit& frequency, const GeneratorEdit& amplitude) {
        return refusedCorrection.isEmpty()
                   ? FormatRowPowerAndField(frequency.Text, amplitude.Text, amplifierCorrection, septumCm)
                   : QStringLiteral("--");
    };
    for (FixedFrequencyRow& row : view.Fixed)
        row.PowerAndField = text(row.Frequency, row.Amplitude);
    for (SweepBand& band : view.Bands)
        band.PowerAndField = text(band.Start, band.Amplitude);
    view.Ramp.HighPowerAndField = text(view.Ramp.Frequency, view.Ramp.High);
    view.Ramp.LowPowerAndField = text(view.Ramp.Frequency, view.Ramp.Low);
    return true;
}
