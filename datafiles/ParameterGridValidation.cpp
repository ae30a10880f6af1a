#include "datafiles/ParameterGridValidation.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/GridInstrument.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectItems.h"
#include "datafiles/ProjectTargets.h"

#include <QObject>

#include <exception>
#include <optional>

namespace {

using namespace gridkeys;

const QString kAuto = QStringLiteral("auto");

// A whole number within [low, high] after the grid's reading: dots removed and, for the frequency
// rows, 12k / 3M / 1G turned into Hz. The normal text goes back into the cell.
struct Reading {
    QString Text;
    std::optional<int64_t> Value;
};

Reading ReadInteger(const QString& value, bool frequency, const plausible::Range& bound)
{
    const auto low = static_cast<int64_t>(bound.Low);
    const auto high = static_cast<int64_t>(bound.High);
    Reading r;
    r.Text = RemoveDots(value);
    if (frequency)
        r.Text = FreqTextToHzText(r.Text);
    int64_t v = 0;
    if (TryStrToInt64(r.Text, v) && v >= low && v <= high) {
        r.Text = QString::number(v);
        r.Value = v;
    }
    return r;
}

class Validator {
public:
    Validator(ProjectTargets& t, const QString& key, const QString& value) : t_(t), key_(key), value_(value) {}

    void Run()
    {
        t_.Files.LogDebug(QStringLiteral("Property: ") + key_ + QStringLiteral("-->") + value_);
        if (key_ == kDetector)
            Detector();
        else if (key_ == kSweep)
            Sweep();
        else if (key_ == kRbw)
            Instrument(gridbounds::kRbwHz, QStringLiteral("9000"), &GridInstrument::SetRbw);
        else if (key_ == kSpan)
            Instrument(gridbounds::kSpanHz, QStringLiteral("20000"), &GridInstrument::SetSpan);
        else if (key_ == kAttenuator)
            Attenuator();
        else if (key_ == kPreAmp)
            PreAmp();
        else if (key_ == kChartStart || key_ == kChartStop)
            FrequencyRange(key_ == kChartStart);
        else if (key_ == kLow || key_ == kHigh)
            LevelRange(key_ == kLow);
        else if (key_ == kLimit1 || key_ == kLimit2)
            datafiles::LoadLimitLine(t_, key_ == kLimit1 ? MeasureSet::Set1 : MeasureSet::Set2,
                                     FileSelected(datafiles::SourcePath(value_)));
        else if (key_ == kCableCor)
            Correction(datafiles::CorrectionKind::Cable);
        else if (key_ == kLisnCor)
            Correction(datafiles::CorrectionKind::Lisn);
        else if (key_ == kAmpCor)
            Correction(datafiles::CorrectionKind::Amplifier);
        else if (key_ == kAntCor)
            Correction(datafiles::CorrectionKind::Antenna);
        else if (key_ == kReport)
            Report();
        else if (key_ == kSegSet1 || key_ == kSegSet2)
            datafiles::LoadSegments(t_, key_ == kSegSet1 ? MeasureSet::Set1 : MeasureSet::Set2,
                                    FileSelected(datafiles::SourcePath(value_)));
        else if (key_ == kMargin1 || key_ == kMargin2)
            Margin(key_ == kMargin1 ? MeasureSet::Set1 : MeasureSet::Set2);
        else if (key_ == kMaxHold && t_.State != nullptr)
            OnOff(t_.State->MaxHold);
        else if (key_ == kMarker && t_.State != nullptr)
            OnOff(t_.State->ShowMarkerNumbers);
    }

private:
    bool Connected() const { return t_.Instrument != nullptr && t_.Instrument->Connected(); }
    void Write(const QString& text) { t_.MainGrid->SetValue(key_, text); }
    void Send(void (GridInstrument::*setter)(const QString&), const QString& text)
    {
        if (Connected())
            (t_.Instrument->*setter)(text);
    }

    QString FileSelected(const QString& path)
    {
        t_.Files.LogDebug(QStringLiteral("file selected: ") + path);
        return path;
    }

    void Detector()
    {
        static const QStringList names = {QStringLiteral("NEG"), QStringLiteral("NORM"), QStringLiteral("POS"),
                                          QStringLiteral("RMS"), QStringLiteral("SAMP"), QStringLiteral("VAV"),
                                          QStringLiteral("QPEAK")};
        if (names.contains(value_))
            Send(&GridInstrument::SetDetector, value_);
    }

    void Sweep()
    {
        if (value_.isEmpty())
            return;
        // "AUTO" typed in capitals means the same as the list's "auto".
        if (value_.compare(kAuto, Qt::CaseInsensitive) == 0) {
            Write(kAuto);
            Send(&GridInstrument::SetSweepTime, QStringLiteral("AUTO"));
            return;
        }
        const Reading r = ReadInteger(value_, false, gridbounds::kSweepMs);
        if (!r.Value) {
            Write(kAuto);
            return;
        }
        Write(r.Text);
        Send(&GridInstrument::SetSweepTime, FormatMachine(static_cast<double>(*r.Value) / 1000.0));
    }

    void Instrument(const plausible::Range& bound, const QString& fallback,
                    void (GridInstrument::*setter)(const QString&))
    {
        const Reading r = ReadInteger(value_, true, bound);
        if (!r.Value) {
            Write(fallback);
            return;
        }
        Write(r.Text);
        Send(setter, r.Text);
    }

    void Attenuator()
    {
        if (value_.compare(kAuto, Qt::CaseInsensitive) == 0) {
            Write(kAuto);
            Send(&GridInstrument::SetAttenuation, QStringLiteral("AUTO"));
            return;
        }
        Instrument(gridbounds::kAttenuationDb, QStringLiteral("0"), &GridInstrument::SetAttenuation);
    }

    void PreAmp()
    {
        if (value_ == QLatin1String("on"))
            Send(&GridInstrument::SetPreamp, QStringLiteral("ON"));
        else if (value_ == QLatin1String("off"))
            Send(&GridInstrument::SetPreamp, QStringLiteral("OFF"));
    }

    void FrequencyRange(bool start)
    {
        AxisBounds* axis = t_.FrequencyAxis;
        const QString text = FreqTextToHzText(RemoveDots(value_));
        const auto hz = ParseStrictFloat(text);
        const double khz = hz ? *hz / 1000.0 : 0.0;
        if (axis == nullptr || !hz || (start ? !(khz < axis->Maximum()) : !(khz > axis->Minimum()))) {
            Write(kNotValid);
            return;
        }
        Write(text);
        if (start)
            axis->SetMinimum(khz);
        else
            axis->SetMaximum(khz);
    }

    void LevelRange(bool low)
    {
        AxisBounds* axis = t_.LevelAxis;
        // The bound of a project's levels: an axis end of 2e9 dBuV leaves no trace in sight.
        const Reading r = ReadInteger(value_, false, plausible::kLimitDbuv);
        const double v = r.Value ? static_cast<double>(*r.Value) : 0.0;
        if (axis == nullptr || !r.Value || (low ? !(v < axis->Maximum()) : !(v > axis->Minimum()))) {
            Write(kNotValid);
            return;
        }
        Write(r.Text);
        if (low)
            axis->SetMinimum(v);
        else
            axis->SetMaximum(v);
    }

    void Correction(datafiles::CorrectionKind kind)
    {
        const QString path = FileSelected(datafiles::SourcePath(value_));
        // The combined curve was built from the old table; it is built again at the next run.
        if (t_.Series[SeriesRole::masterCorrection] != nullptr)
            t_.Series[SeriesRole::masterCorrection]->Clear();
        datafiles::LoadCorrection(t_, kind, path);
    }

    void Report()
    {
        const QString path = FileSelected(datafiles::ReportPath(value_));
        if (t_.LoadReportHeader && datafiles::DataFileExists(t_, path))
            t_.LoadReportHeader(path);
    }

    void Margin(MeasureSet set)
    {
        const Reading r = ReadInteger(value_, false, gridbounds::kMarginDb);
        const int32_t margin = r.Value ? static_cast<int32_t>(*r.Value) : 0;
        Write(r.Value ? r.Text : QStringLiteral("0"));
        if (t_.State != nullptr)
            t_.State->MarginDb[set] = margin;
        const QString limit = t_.MainGrid->Value(kLimits[set]);
        datafiles::LoadLimitLine(t_, set, datafiles::SourcePath(limit));
    }

    void OnOff(bool& flag)
    {
        if (value_ == QLatin1String("on"))
            flag = true;
        else if (value_ == QLatin1String("off"))
            flag = false;
    }

    ProjectTargets& t_;
    const QString key_;
    const QString value_;
};

} // namespace

void ValidateParameter(ProjectTargets& targets, const QString& key, const QString& value)
{
    if (targets.MainGrid == nullptr)
        return;
    try {
        // The cell holds what is validated, also when the call does not come from an edit.
        targets.MainGrid->SetValue(key, value);
        Validator(targets, key, value).Run();
    } catch (const std::exception& e) {
        if (targets.Files.Messages != nullptr)
            targets.Files.Messages->Append(QStringLiteral("Error: ") + key + QStringLiteral(": ") +
                                           QString::fromUtf8(e.what()));
    }
}

void AttachGridValidation(ProjectTargets& targets)
{
    if (targets.MainGrid == nullptr)
        return;
    QObject::connect(targets.MainGrid, &ParameterGridModel::ValueEdited, targets.MainGrid,
                     [&targets](const QString& key, const QString& value) { ValidateParameter(targets, key, value); });
}
