#include "coverage/CoverageView.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "app/TextRoutines.h"
#include "coverage/CorrectionLookup.h"
#include "coverage/CoverageCalculators.h"
#include "coverage/CoverageTable.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/GridSeries.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectItems.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "datafiles/ValueBounds.h"
#include "instrument/AnalyserHold.h"
#include "instrument/DeviceState.h"
#include "instrument/GpsReceiver.h"
#include "instrument/ScpiCommands.h"

#include <QFile>
#include <cmath>
#include <optional>

namespace {

std::optional<double> AnySepNumber(const QString& text)
{
    double v = 0;
    if (!TryStrToFloatAnySep(text.trimmed(), v) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The grid's "Sweep [ms]" as the sweep-time setter takes it: "AUTO", or seconds for a whole
// number of milliseconds from 1 to 2 999 999; nothing for anything else.
std::optional<QString> SweepSecondsText(const QString& ms)
{
    if (ms.trimmed().compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("AUTO");
    const std::optional<int32_t> v = ParseStrictInt(ms.trimmed());
    if (!v || *v < 1 || *v > 2999999)
        return std::nullopt;
    return FormatMachine(*v / 1000.0);
}

} // namespace

void CoverageView::RecalculateDrive()
{
    fields_.Resolution = CalcDriveResolution(fields_.IntervalMs, fields_.SpeedKmh);
    fields_.Points = CalcDrivePoints(fields_.LengthKm, fields_.IntervalMs, fields_.SpeedKmh);
}

void CoverageView::InitAnalyser()
{
    // The set-up empties the level chart and the track and starts the Index again: it belongs before
    // a session, never inside one (a row's Index would repeat), nor while another holds the analyser.
    AnalyserHolder holder = HolderOf(scpi_);
    if (holder == AnalyserHolder::Nobody && (logging_ || globals_.CoverageTickBusy))
        holder = AnalyserHolder::CoverageLogging;
    if (holder != AnalyserHolder::Nobody) {
        const QString held = HeldLine(holder, QStringLiteral("\"Init SA\" not sent"));
        scpi_.Messages.Append(held);
        host_.ShowError(held);
        return;
    }
    for (TChartSeries& s : chart_.Level)
        s.Clear();
    lastRowIndex_ = -1;
    gps_.View.Track.clear();
    globals_.CoverageTickErrors = 0;
    fields_.TickErrors = QStringLiteral("0");

    ScpiPreset(scpi_);
    ScpiSetupDbm(scpi_);
    for (int x = 0; x < 3; ++x) {
        fields_.Freq[x] = grid_.Value(coveragegrid::FreqKey(x));
        fields_.Level[x].clear();
    }
    using namespace coveragegrid;
    ScpiSetSpan(scpi_, grid_.Value(kSpan));
    ScpiSetRbw(scpi_, grid_.Value(kRbw));
    ScpiSetAttenuation(scpi_, grid_.Value(kAttenuator));
    // The setter follows the main window's preamplifier choice unless that follows the segments.
    ScpiSetPreamp(scpi_, grid_.Value(kPreAmp).toUpper());
    ScpiSetupDbm(scpi_);
    ScpiSetDetector(scpi_, grid_.Value(kDetector));
    if (const std::optional<QString> sweep = SweepSecondsText(grid_.Value(kSweep)))
        ScpiSetSweepTimeText(scpi_, *sweep);
    // The R&S command carries the frequency: marker 1 goes to "Freq A[Hz]", or is not sent when
    // that row is no number. The other families' commands carry none.
    if (scpi_.Device.IsRsReceiver()) {
        if (const std::optional<double> f = MeasuredFrequency(grid_.Value(kFreqA)))
            ScpiMarkerToFreq(scpi_, FormatMachineFixed(std::nearbyint(*f), 0));
    } else {
        ScpiMarkerToFreq(scpi_, QString());
    }
    ScpiContinuousOff(scpi_);
    host_.Refresh();
}

void CoverageView::GridValueEdited(const QString& key)
{
    using namespace coveragegrid;
    if (key == kLow || key == kHigh) {
        const QString text = grid_.Value(key);
        if (text.isEmpty())
            return;
        // A whole number only: "-67.5" is no axis limit (dropping the "." made it -675); nor is a
        // level no analyser shows, which would leave no level in sight.
        const std::optional<int32_t> v = ParseStrictInt(text.trimmed());
        const bool low = key == kLow;
        if (v && plausible::kAnalyserDbm.Holds(*v) &&
            (low ? *v < chart_.LeftMaximum : *v > chart_.LeftMinimum))
            (low ? chart_.LeftMinimum : chart_.LeftMaximum) = *v;
        else
            grid_.SetValue(key, QStringLiteral("not valid"));
        return;
    }
    // A frequency no analyser tunes to is not measured, and said: "1e308" was sent as typed.
    if ((key == kFreqA || key == kFreqB || key == kFreqC) && AnySepNumber(grid_.Value(key)) &&
        !MeasuredFrequency(grid_.Value(key))) {
        Say(QStringLiteral("Warning: \"") + key + QStringLiteral("\" ") + grid_.Value(key) +
            QStringLiteral(" lies outside ") + valuebounds::AllowedText(valuebounds::kHz) +
            QStringLiteral(" and is not measured"));
        grid_.SetValue(key, kNotValid);
        return;
    }
    if (key == kCableCor || key == kAmpCor || key == kAntCor)
        LoadCorrection(key);
}

QString CoverageView::RefusedCorrection() const
{
    using namespace coveragegrid;
    const struct {
        const QString& Key;
        TableKind Kind;
        const TChartSeries& Series;
    } rows[] = {{kCableCor, TableKind::Cable, chart_.Cable},
                {kAmpCor, TableKind::Amplifier, chart_.Amplifier},
                {kAntCor, TableKind::Antenna, chart_.Antenna}};
    for (const auto& row : rows) {
        const QString name = grid_.Value(row.Key);
        if (name == kNoFile || row.Series.Count() > 0)
            continue;
        if (const QString refused = datafiles::UnusableTableFile(row.Kind, datafiles::SourcePath(name),
                                                                 tableGrid_.LevelLinear(), workingFolder_);
            !refused.isEmpty())
            return refused;
    }
    return {};
}

void CoverageView::LoadCorrection(const QString& key)
{
    using namespace coveragegrid;
    const TableKind kind = key == kCableCor ? TableKind::Cable
        : key == kAmpCor                    ? TableKind::Amplifier
                                            : TableKind::Antenna;
    TChartSeries& series = key == kCableCor ? chart_.Cable
        : key == kAmpCor                    ? chart_.Amplifier
                                            : chart_.Antenna;
    const QString path = QStringLiteral(".\\src\\") + grid_.Value(key);
    scpi_.Debug.LogMessage(QStringLiteral("file selected: ") + path);
    series.Clear();
    const DataFileContext context {workingFolder_, nullptr, &scpi_.Debug, &scpi_.Messages};
    if (LoadTableFile(kind, tableGrid_, path, QLatin1Char('n'), context))
        InterpolateGridToSeries(tableGrid_, series, clWhite, false, 0, context);
    host_.Refresh();
}

void CoverageView::ShowCorrectionData()
{
    QStringList values[3];
    for (int x = 0; x < 3; ++x) {
        const std::optional<double> f = coveragegrid::MeasuredFrequency(grid_.Value(coveragegrid::FreqKey(x)));
        const TChartSeries* series[3] = {&chart_.Cable, &chart_.Amplifier, &chart_.Antenna};
        for (int s = 0; s < 3; ++s)
            values[s] << (f ? FloatToStrF(CorrectionAtKhz(*series[s], RoundHalfEven(*f / 1000.0)),
                              FloatFormat::ffFixed, 5, 2)
                            : QStringLiteral("--"));
    }
    Memo() << QStringLiteral("A      B       C")
           << QStringLiteral("Cable ") + values[0].join(QLatin1Char(' '))
           << QStringLiteral("Amp   ") + values[1].join(QLatin1Char(' '))
           << QStringLiteral("Ant    ") + values[2].join(QLatin1Char(' '));
    host_.Refresh();
}

void CoverageView::ClearMasterLogfile()
{
    const QString path = CoverageTablePath(workingFolder_);
    if (!QFile::exists(path) || !host_.ConfirmOkCancel(QStringLiteral("Delete master log file")))
        return;
    QFile file(path);
    if (!file.remove())
        scpi_.Messages.Append(
            QStringLiteral("Error: cannot delete ") + path + QStringLiteral(": ") + file.errorString());
}
