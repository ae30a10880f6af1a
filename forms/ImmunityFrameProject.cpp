// What a project stores of the generator view, read from and written to its boxes and grid.
#include "forms/ImmunityFrame.h"

#include <QComboBox>
#include <QTableWidget>

namespace {

// Every box a project stores, paired with its place in the view model; f gets (box, model).
template <class Values, class View, class F> void VisitBoxes(Values& v, View& m, F&& f)
{
    const decltype(&v.T0) times[kRampTimes] = {&v.T0, &v.T1, &v.T2, &v.T3, &v.T4};
    for (size_t i = 0; i < kRampTimes; ++i)
        f(*times[i], m.Ramp.Times[i]);
    f(v.StepUp, m.Ramp.StepsUp);
    f(v.StepDown, m.Ramp.StepsDown);
    f(v.RampFreq, m.Ramp.Frequency);
    f(v.LowPower, m.Ramp.Low);
    f(v.HighPower, m.Ramp.High);
    for (size_t i = 0; i < kFixedRows; ++i) {
        f(v.FixedHz[i], m.Fixed[i].Frequency);
        f(v.FixedDbm[i], m.Fixed[i].Amplitude);
    }
    for (size_t i = 0; i < kSweepBands; ++i) {
        f(v.Bands[i].StartHz, m.Bands[i].Start);
        f(v.Bands[i].StopHz, m.Bands[i].Stop);
        f(v.Bands[i].StepHz, m.Bands[i].Step);
        f(v.Bands[i].DwellMs, m.Bands[i].Dwell);
        f(v.Bands[i].Dbm, m.Bands[i].Amplitude);
    }
    f(v.ManualFreq, m.Manual.Frequency);
    f(v.ManualAmp, m.Manual.Amplitude);
    f(v.ManualFreqInc, m.Manual.FrequencyIncrement);
    f(v.ManualAmpInc, m.Manual.AmplitudeIncrement);
}

} // namespace

GeneratorViewValues ImmunityFrame::projectValues() const
{
    GeneratorViewValues values;
    VisitBoxes(values, view_, [](QString& box, const GeneratorEdit& edit) { box = edit.Text; });
    return values;
}

void ImmunityFrame::setProjectValues(const GeneratorViewValues& values)
{
    VisitBoxes(values, view_, [](const QString& box, GeneratorEdit& edit) {
        edit.Text = box;
        edit.Red = false;
    });
    ShowView();
}

QString ImmunityFrame::settingValue(const QString& row) const
{
    for (int r = 0; r < settingsGrid->rowCount(); ++r)
        if (settingsGrid->item(r, 0)->text() == row)
            return static_cast<QComboBox*>(settingsGrid->cellWidget(r, 1))->currentText();
    return {};
}

void ImmunityFrame::setSettingValue(const QString& row, const QString& value)
{
    for (int r = 0; r < settingsGrid->rowCount(); ++r) {
        if (settingsGrid->item(r, 0)->text() != row)
            continue;
        auto* combo = static_cast<QComboBox*>(settingsGrid->cellWidget(r, 1));
        syncing_ = true;
        if (combo->findText(value) < 0)
            combo->addItem(value);
        combo->setCurrentText(value);
        syncing_ = false;
        ValidateSetting(r);
        return;
    }
}
