#include "measurement/PeakRemeasure.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "measurement/CompletionHandshake.h"
#include "measurement/CorrectionChain.h"
#include "measurement/MeasureTime.h"
#include "measurement/MeasurementState.h"
#include "measurement/PeakLists.h"
#include "measurement/RunHost.h"
#include "measurement/RunParameters.h"
#include "platform/system/EventPump.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr uint32_t kSettleMs = 1000;
constexpr uint32_t kMarkerMs = 100;
constexpr uint32_t kReceiverFirstWaitMs = 500;
// Beyond the sweep time the analyser reports, the time it needs to finish and settle.
constexpr uint32_t kAfterSweepMs = 8000;
constexpr double kLongestSweepS = 1000;
constexpr double kLongestSweepMs = 3000000;

// Grid columns of a re-measurement.
constexpr int kColDetector = 5;
constexpr int kColFreq = 6;
constexpr int kColLevel = 7;
constexpr int kColRbw = 9;
constexpr int kColSweep = 10;

// A grid value the analyser must not get: the error box, and the peak stays without a result.
bool Refused(PeakRemeasureContext& c, const QString& value, const char* error)
{
    if (!RemeasureGrid::NotValid(value))
        return false;
    c.Host.ShowErrorBox(QString::fromLatin1(error));
    return true;
}

void Append(QStringListModel& model, const QString& text)
{
    const int row = model.rowCount();
    model.insertRows(row, 1);
    model.setData(model.index(row), text);
}

QString Fixed(double value, int decimals) { return FormatMachineFixed(value, decimals); }

// The sweep time text of the grid's "Sweep [ms]" for the marker modes: "auto", seconds, or
// nothing for a value outside (0, 3,000,000] ms.
std::optional<QString> SweepSeconds(const QString& sweepMs)
{
    if (sweepMs.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("auto");
    double v = 0;
    if (!TryStrToFloatAnySep(sweepMs, v) || !(v > 0 && v <= kLongestSweepMs))
        return std::nullopt;
    return FormatMachine(v / 1000.0);
}

PeakLevelMode ModeFor(DriftHandling drift, const AnalyserKind& kind, bool* measured)
{
    *measured = true;
    if (drift == DriftHandling::Consider)
        return PeakLevelMode::MarkerPeak;
    if (kind.IsRsReceiver())
        return PeakLevelMode::ReceiverFixed;
    if (kind.PlacesMarkerAtFrequency())
        return PeakLevelMode::MarkerAtFrequency;
    *measured = false;
    return PeakLevelMode::MarkerAtFrequency;
}

} // namespace

PeakLevelTexts MeasurePeakLevel(PeakRemeasureContext& c, const RemeasureGrid& grid, int64_t frequencyHz,
                                PeakLevelMode mode)
{
    ScpiContext& s = c.Scpi;
    if (!s.Device.DeviceConnected) {
        c.Host.ShowErrorBox(QStringLiteral("No Device selected"));
        return {};
    }
    // An analyser that is gone gets no more waits: what would still be sent is not sent.
    const auto settle = [&s](uint32_t ms) {
        if (!scpiio::LinkLost(s))
            WaitMs(s.Pump, ms);
    };
    ScpiContinuousOff(s);
    ScpiMarkerOff(s);
    ScpiSetupDbuv(s);
    if (mode == PeakLevelMode::ReceiverFixed) {
        ScpiReceiverFixMode(s);
        ScpiSetAsciiFormat(s);
        ScpiContinuousOff(s);
    }
    settle(kSettleMs);
    const QString frequencyText = QString::number(frequencyHz);
    ScpiSetCenterFreq(s, frequencyText);
    settle(kSettleMs);
    // A peak beyond the analyser's range (on a chart another analyser measured): it keeps its last
    // centre, and a level read there would be listed as the peak's.
    if (const CentreCheck centre = ScpiCheckCentre(s, static_cast<double>(frequencyHz), 1.0);
        centre.ReportedHz && !centre.Tuned) {
        s.Messages.Append(QStringLiteral("Warning: ") + centre.Untuned(static_cast<double>(frequencyHz)) +
                          QStringLiteral("; the peak is not measured"));
        return {};
    }

    if (Refused(c, grid.SpanHz, "Error: Span not set"))
        return {};
    ScpiSetSpan(s, grid.SpanHz);
    settle(kSettleMs);
    if (Refused(c, grid.RbwHz, "Error: BW not set"))
        return {};
    ScpiSetRbw(s, grid.RbwHz);
    if (Refused(c, grid.Detector, "Error: DET not set"))
        return {};
    ScpiSetDetector(s, grid.Detector);
    if (Refused(c, grid.AttenuatorDb, "Error: ATT not set"))
        return {};
    ScpiSetAttenuation(s, grid.AttenuatorDb);
    if (Refused(c, grid.PreAmp, "Error: PREAMP not set"))
        return {};
    ScpiSetPreamp(s, grid.PreAmp.toUpper());
    if (mode == PeakLevelMode::MarkerPeak || mode == PeakLevelMode::MarkerAtFrequency) {
        if (Refused(c, grid.SweepMs, "Error: SWP not set"))
            return {};
        if (const std::optional<QString> t = SweepSeconds(grid.SweepMs))
            ScpiSetSweepTimeText(s, *t);
    } else if (mode == PeakLevelMode::MarkerZeroSweep) {
        ScpiSetSweepTimeText(s, QStringLiteral("0"));
    }
    if (Refused(c, grid.RbwHz, "Error: BW not set"))
        return {};
    ScpiSetRbw(s, grid.RbwHz);

    ScpiSingleSweep(s);
    const ScpiAnswer sweep = ScpiReadSweepTime(s);
    s.Debug.LogMessage(QStringLiteral("Sweep Time ") + sweep.value_or(QString()));
    const std::optional<double> seconds = sweep ? scpiio::AnswerNumber(*sweep) : std::nullopt;
    if (seconds && *seconds > 0 && *seconds <= kLongestSweepS) {
        const int64_t t = RoundHalfEven(*seconds);
        s.Messages.Append(QStringLiteral("Info: data estimated at: ") + DateTimeText(c.Now().addSecs(t)));
        WaitMsOrStop(c.State, s.Pump, static_cast<uint32_t>(t) * 1000 + kAfterSweepMs);
    }
    if (c.Switches.Beep)
        c.Host.Beep(2000, 300);

    // A sweep cut short by Stop measured less than the dwell asked for: no result.
    PeakLevelTexts result;
    bool stopped = c.State.StopRequested;
    // A level or frequency no analyser reports (its reader named it): no result, and the command
    // ends as at Stop, as a run does on such a level.
    bool impossible = false;
    if (mode == PeakLevelMode::MarkerPeak) {
        ScpiMarkerPeak(s);
        settle(kMarkerMs);
        result.Level = ScpiReadMarkerLevel(s, &impossible).value_or(QString());
        if (!impossible) {
            settle(kMarkerMs);
            result.Frequency = ScpiReadMarkerFreq(s, &impossible).value_or(QString()).trimmed();
        }
    } else if (mode == PeakLevelMode::ReceiverFixed) {
        // The receiver is busy for the sweep time it reported (waited for above) or for what a
        // fixed-frequency point counts in the estimate, whichever is longer.
        const double sweptMs = seconds && *seconds > 0 && *seconds <= kLongestSweepS ? *seconds * 1000.0 : 0.0;
        const bool quasiPeak = grid.Detector == QLatin1String("QPEAK");
        const double pointMs = ReceiverPointSeconds(MeasureMode::EmiFix, quasiPeak) * 1000.0;
        const HandshakeLink link{s, c.State,
                                 [&c](const QString& line) {
                                     c.Scpi.Messages.Append(line);
                                     c.State.StopRequested = true;
                                 },
                                 SweepEndBoundMs(s.Device, std::max(sweptMs, pointMs))};
        if (ReceiverCompletionHandshake(link, kReceiverFirstWaitMs) == HandshakeEnd::Complete && !stopped) {
            scpiio::Send(s, QStringLiteral(":TRACE:DATA?"));
            result.Level = scpiio::ReadReply(s).value_or(QString()).trimmed();
            result.Frequency = frequencyText;
            impossible = !ScpiLevelPossible(s, result.Level, QStringLiteral("marker level"));
            // Said as the marker readers of the other families say it: the peak gets no result.
            if (!impossible && !scpiio::AnswerNumber(result.Level) && !scpiio::LinkLost(s))
                s.Messages.Append(result.Level.isEmpty() ? QStringLiteral("Warning: no marker level from the analyser")
                                                         : QStringLiteral("Warning: marker level is no number: ") +
                                                               result.Level);
        } else {
            stopped = true;
        }
    } else {
        ScpiMarkerToFreq(s, QString());
        settle(kMarkerMs);
        result.Level = ScpiReadMarkerLevelSweep(s, &impossible).value_or(QString());
        settle(kMarkerMs);
        result.Frequency = frequencyText;
    }
    ScpiContinuousOn(s);
    if (impossible)
        c.State.StopRequested = true;
    if (stopped || impossible || scpiio::LinkLost(s))
        return {};
    return result;
}

bool RemeasureAllowed(PeakRemeasureContext& c, DriftHandling drift)
{
    const DeviceState& d = c.Scpi.Device;
    // Without a device nothing could be measured; the lists of the last re-measurement stay.
    if (!d.DeviceConnected) {
        c.Host.ShowErrorBox(QStringLiteral("No Device selected"));
        return false;
    }
    if (drift == DriftHandling::Consider && d.IsRsReceiver()) {
        c.Host.ShowMessageBox(QStringLiteral("Sorry, not possible because of R&S receiver mode "));
        return false;
    }
    return true;
}

void RemeasurePeaks(PeakRemeasureContext& c, const RemeasureGrid& grid, DriftHandling drift, MeasureSet set,
                    PeakLists& peaks, std::vector<int> selectedRows)
{
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    ClearStopRequest(c.State);
    // The last results stay until this command has one of its own: an analyser that is gone, or a
    // Stop before the first result, must not leave the lists and the report's grid empty.
    bool cleared = false;
    const auto clearResults = [&] {
        if (std::exchange(cleared, true))
            return;
        for (QStringListModel* m : {&peaks.MeasureLines, &peaks.MeasureFreqs, &peaks.MeasureLevels})
            m->setStringList({});
        for (int row = PeakGridModel::kHeadingRows; row < peaks.Grid.RowCount(); ++row)
            for (int column : {kColDetector, kColFreq, kColLevel, kColRbw, kColSweep})
                peaks.Grid.SetCell(row, column, QString());
    };

    ScpiContext& s = c.Scpi;
    const QString setName = set == MeasureSet::Set2 ? QStringLiteral("set2") : QStringLiteral("set1");
    const QStringList freqs = peaks.Freqs.stringList();
    const QStringList levels = peaks.Levels.stringList();
    CorrectionChain chain(c.Series, c.Switches);
    bool lost = false;
    // The first selected row the command did not measure once it ended early (Stop, a lost link,
    // a refused answer, a sweep that never ended): it and the rows after it are named.
    size_t next = 0;
    for (; next < selectedRows.size(); ++next) {
        const int i = selectedRows[next];
        if (c.State.StopRequested)
            break;
        if (i < 0 || i >= freqs.size())
            continue;
        s.Messages.Append(QStringLiteral("Info: ") + setName + QStringLiteral(" measure peak ") + QString::number(i + 1));
        s.Debug.LogMessage(QStringLiteral("sel item ") + QString::number(i));
        s.Debug.LogMessage(QStringLiteral("x: ") + freqs[i]);
        s.Debug.LogMessage(QStringLiteral("y: ") + levels.value(i));
        double x = 0;
        if (!TryStrToFloatAnySep(freqs[i], x)) {
            s.Messages.Append(QStringLiteral("Warning: peak ") + QString::number(i + 1) +
                              QStringLiteral(" has no frequency: ") + freqs[i]);
            continue;
        }
        bool measured = false;
        const PeakLevelMode mode = ModeFor(drift, s.Device, &measured);
        const PeakLevelTexts texts =
            measured ? MeasurePeakLevel(c, grid, RoundHalfEven(x * 1000.0), mode) : PeakLevelTexts{};
        // A link that closed or went silent ends the command at once, with one line; the peaks
        // after it would each only meet the refusal of a device that is gone.
        if (scpiio::LinkLost(s)) {
            lost = true;
            if (!c.State.StopRequested) {
                s.Messages.Append(QString::fromLatin1(kLinkLostLine));
                c.State.StopRequested = true;
            }
            break;
        }
        const std::optional<double> y = scpiio::AnswerNumber(texts.Level);
        const std::optional<double> f = scpiio::AnswerNumber(texts.Frequency);
        if (y && f) {
            const double fk = *f / 1000.0;
            // The waits let the window work: a correction may have been loaded meanwhile.
            chain.Rebind();
            const double corrected = *y - chain.Sum(fk);
            clearResults();
            Append(peaks.MeasureLines, QString::number(i + 1) + QStringLiteral("  [") + grid.Detector +
                                           QStringLiteral("] ") + Fixed(x, 2) + QStringLiteral("kHz --> ") +
                                           Fixed(fk, 2) + QStringLiteral("kHz ") + Fixed(corrected, 2) +
                                           QStringLiteral("dBuV"));
            const int row = i + PeakGridModel::kHeadingRows;
            peaks.Grid.SetCell(row, kColDetector, grid.Detector);
            peaks.Grid.SetCell(row, kColFreq, Fixed(fk, 0));
            peaks.Grid.SetCell(row, kColLevel, Fixed(corrected, 2));
            peaks.Grid.SetCell(row, kColRbw, grid.RbwHz);
            peaks.Grid.SetCell(row, kColSweep, grid.SweepMs);
            Append(peaks.MeasureFreqs, Fixed(fk, 2));
            Append(peaks.MeasureLevels, Fixed(corrected, 2));
        } else if (c.State.StopRequested) {
            break; // this peak's measurement was cut short
        }
        c.Host.RepaintChart();
    }
    // "done" only where a peak got a result: after a loss, a sweep never ended, answers that are no
    // level or a Stop before the first result, the command's last line is what went wrong.
    if (cleared && !lost)
        s.Messages.Append(QStringLiteral("Info: peaks seg ") + QString::number(SetNumber(set)) +
                          QStringLiteral(" done"));
    QStringList unmeasured;
    for (; next < selectedRows.size(); ++next)
        if (selectedRows[next] >= 0 && selectedRows[next] < freqs.size())
            unmeasured << QString::number(selectedRows[next] + 1);
    if (!unmeasured.isEmpty())
        s.Messages.Append(QStringLiteral("Warning: ") + setName + QStringLiteral(" peaks not measured: ") +
                          unmeasured.join(QStringLiteral(", ")));
    if (c.Switches.Beep) {
        c.Host.Beep(1000, 300);
        c.Host.Beep(2000, 300);
    }
}
