#include "measurement/ReceiverRunners.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/SegmentTable.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "instrument/TraceTransfer.h"
#include "measurement/CompletionHandshake.h"
#include "measurement/MeasureTime.h"
#include "measurement/MeasurementState.h"
#include "measurement/ModeRunner.h"
#include "measurement/RunHost.h"
#include "measurement/RunParameters.h"
#include "measurement/RunnerSteps.h"
#include "measurement/TracePoints.h"
#include "platform/system/EventPump.h"

#include <cmath>

using namespace runnersteps;

namespace {

// The receivers' sweep time per segment is the segment's time spread over 600 points.
constexpr double kReceiverPoints = 600.0;
constexpr uint32_t kScanFirstWaitMs = 1000;
constexpr uint32_t kFixFirstWaitMs = 500;
constexpr uint32_t kFixSettleMs = 500;
constexpr uint32_t kZeroSpanWaitMs = 100;
constexpr uint32_t kZeroSpanQuasiPeakWaitMs = 5000;
// A point loop whose analyser gives no level this many times in a row ends its segment instead
// of asking (and waiting for a time-out) at every remaining point.
constexpr int kFailedPointsEndSegment = 10;

bool QuasiPeak(const SegmentRecord& s) { return s.Detector == QLatin1String("QPEAK"); }

QString ReceiverSweepTime(const SegmentRecord& s) { return GeneralText(s.SweepMs / 1000.0 / kReceiverPoints); }

// How long one point of a receiver loop takes: the measurement time set for it, or what the
// run-time estimate counts per point when that is longer (a receiver spends more on a step than
// its measurement time).
double ReceiverPointMs(MeasureMode mode, const SegmentRecord& s)
{
    return std::max(s.SweepMs / kReceiverPoints, ReceiverPointSeconds(mode, QuasiPeak(s)) * 1000.0);
}

// f(k) of a segment: TracePoints points from the start, the last one step below the stop.
double PointHz(const SegmentRecord& s, int k, int points)
{
    return static_cast<double>(
        RoundHalfEven(static_cast<double>(s.StartHz) + static_cast<double>(s.StopHz - s.StartHz) * k / points));
}

// The levels of a point loop: an answer that is no number keeps the previous level for the point;
// too many of them in a row end the segment.
class PointLevels {
public:
    // The level for this point, or nothing when the segment must end.
    std::optional<double> Take(PassContext& pass, int segment, const std::optional<QString>& answer)
    {
        double v = 0;
        if (answer && TryStrToFloatAnySep(answer->trimmed(), v) && std::isfinite(v)) {
            failures_ = 0;
            last_ = v;
            return v;
        }
        if (++failures_ >= kFailedPointsEndSegment) {
            const QString why = QStringLiteral("no level from the analyser for ") +
                                QString::number(kFailedPointsEndSegment) + QStringLiteral(" points in a row");
            pass.Scpi.Messages.Append(QStringLiteral("Error: ") + why + QStringLiteral(", segment ") +
                                      QString::number(segment) + QStringLiteral(" ended"));
            pass.FallShort(why);
            failures_ = 0;
            return std::nullopt;
        }
        return last_;
    }

private:
    double last_ = 0;
    int failures_ = 0;
};

// Logs a point's answer, adds its level to the segment's points and shows them; false when the
// segment ends here (the analyser is gone, or gave no level too often).
bool AddPointLevel(PassContext& pass, PointLevels& levels, int segment, double hz, const ScpiAnswer& answer)
{
    pass.Scpi.Debug.LogMessage(QStringLiteral("emi read ") + answer.value_or(QString()));
    if (EndIfGone(pass))
        return false;
    const std::optional<double> level = levels.Take(pass, segment, answer);
    if (!level)
        return false;
    AddTracePoint(pass.Scpi, pass.Raw, pass.RawColor, hz, *level);
    pass.PointAdded();
    return true;
}

// A level no analyser reports (its reader named it) ends the run as Stop does, with the analyser
// connected, as a trace with such a level does. The points measured before it stay the segment's:
// the loop frame keeps them and says where the segment was cut.
void EndOnImpossibleLevel(PassContext& pass, const QString& what)
{
    pass.FallShort(what + QStringLiteral(" is refused"));
    if (!pass.State.StopRequested)
        pass.AbortRun(QString());
}

class EmiScanRunner final : public ModeRunner {
public:
    MeasureMode Mode() const override { return MeasureMode::EmiScan; }
    bool SendsNotices() const override { return true; }

    void PassSetup(PassContext& pass) override
    {
        ScpiReceiverScanMode(pass.Scpi);
        ScpiSetAsciiFormat(pass.Scpi);
    }

    int RunSegment(PassContext& pass, int i) override
    {
        pass.LogStartLine(i, QString::fromLatin1(kWaitingForData));
        ScpiContext& c = pass.Scpi;
        const SegmentRecord& s = pass.Table.Segment(i);
        SetDecimalSeparator(QLatin1Char('.'));
        ScpiContinuousOff(c);
        ScpiSetSegmentSweepTime(c, ReceiverSweepTime(s));
        SetAttenuation(pass, s);
        SetPreamp(pass, s);
        SetDetector(pass, s);
        ScpiSetRbw(c, s.Rbw);
        ScpiSetScanStart(c, HzText(s.StartHz));
        ScpiSetScanStop(c, HzText(s.StopHz));
        const int points = std::max(c.Device.TracePoints, 1);
        ScpiSetScanStep(c, HzText(static_cast<int64_t>(std::trunc(static_cast<double>(s.StopHz - s.StartHz) / points + 1.0))));
        if (c.Device.IsRsFph())
            SetDetector(pass, s);
        const double scanMs = points * ReceiverPointMs(Mode(), s);
        if (EndedTheRun(ReceiverCompletionHandshake(pass, kScanFirstWaitMs, SweepEndBoundMs(c.Device, scanMs))))
            return 0;
        return ReadMeasuredTrace(pass, i, TraceAxis::ReceiverScan, &ReadReceiverScan);
    }
};

class EmiFixRunner final : public ModeRunner {
public:
    MeasureMode Mode() const override { return MeasureMode::EmiFix; }

    void PassSetup(PassContext& pass) override
    {
        ScpiReceiverFixMode(pass.Scpi);
        ScpiSetAsciiFormat(pass.Scpi);
        ScpiContinuousOff(pass.Scpi);
    }

    int RunSegment(PassContext& pass, int i) override
    {
        ScpiContext& c = pass.Scpi;
        const SegmentRecord& s = pass.Table.Segment(i);
        ScpiSetRbw(c, s.Rbw);
        SetDecimalSeparator(QLatin1Char('.'));
        SetAttenuation(pass, s);
        SetPreamp(pass, s);
        SetDetector(pass, s);
        ScpiSetSegmentSweepTime(c, ReceiverSweepTime(s));
        pass.LogStartLine(i, QString::fromLatin1(kMeasuring));
        Settle(pass, kFixSettleMs);
        const int points = c.Device.TracePoints;
        const uint32_t boundMs = SweepEndBoundMs(c.Device, ReceiverPointMs(Mode(), s));
        PointLevels levels;
        TunedPoints tuned(s, points);
        int added = 0;
        for (int k = 0; k < points; ++k) {
            c.Pump.ProcessEvents();
            const double f = PointHz(s, k, points);
            ScpiSetCenterFreq(c, HzText(static_cast<int64_t>(f)));
            const std::optional<double> at = tuned.Ask(pass, f);
            if (!at && (pass.State.StopRequested || EndIfGone(pass)))
                break;
            if (!at)
                continue;
            if (EndedTheRun(ReceiverCompletionHandshake(pass, kFixFirstWaitMs, boundMs)))
                break;
            scpiio::Send(c, QStringLiteral(":TRACE:DATA?"));
            const ScpiAnswer a = scpiio::ReadReply(c);
            if (a && !ScpiLevelPossible(c, *a, QStringLiteral("level"))) {
                EndOnImpossibleLevel(pass, QStringLiteral("the level"));
                break;
            }
            if (!AddPointLevel(pass, levels, i, *at, a))
                break;
            ++added;
            if (pass.State.StopRequested)
                break;
        }
        tuned.SayUntuned(pass, i);
        c.Messages.Append(QStringLiteral("Info: ") + DateTimeText(pass.Now()));
        return added;
    }
};

class EmiRunner final : public ModeRunner {
public:
    MeasureMode Mode() const override { return MeasureMode::Emi; }

    int RunSegment(PassContext& pass, int i) override
    {
        ScpiContext& c = pass.Scpi;
        const SegmentRecord& s = pass.Table.Segment(i);
        const int points = c.Device.TracePoints;
        const bool qp = QuasiPeak(s);
        SetAttenuation(pass, s);
        SetPreamp(pass, s);
        ScpiSetRbw(c, s.Rbw);
        SetDetector(pass, s);
        ScpiSetCenterFreq(c, HzText(static_cast<int64_t>(PointHz(s, 0, std::max(points, 1)))));
        ScpiContinuousOff(c);
        pass.LogStartLine(i, QString::fromLatin1(kWaitingForData));
        const uint32_t estimate = CalcMeasureTime(pass.Table, Mode(), c.Device, c.Debug).value_or(0);
        const int n = std::max(pass.Table.Count, 1);
        c.Messages.Append(QStringLiteral("Info: data estimated at: ") +
                          DateTimeText(pass.Now().addSecs(RoundHalfEven(static_cast<double>(estimate) / n))));
        ScpiSetSpan(c, QStringLiteral("0"));
        if (qp)
            ScpiSetSweepTime(c, QStringLiteral("1.1"));
        else
            ScpiSetSegmentSweepTime(c, QStringLiteral("0.030"));
        const bool maxPeak = pass.Switches.MaxPeakZeroSpan;
        if (maxPeak)
            ScpiMarkerPeak(c);
        else
            ScpiMarkerReset(c);

        PointLevels levels;
        TunedPoints tuned(s, points);
        int added = 0;
        for (int k = 0; k < points; ++k) {
            const double f = PointHz(s, k, points);
            ScpiSetCenterFreq(c, HzText(static_cast<int64_t>(f)));
            const std::optional<double> at = tuned.Ask(pass, f);
            if (!at && (pass.State.StopRequested || EndIfGone(pass)))
                break;
            if (!at)
                continue;
            ScpiSingleSweep(c);
            WaitOrStop(pass, qp ? kZeroSpanQuasiPeakWaitMs : kZeroSpanWaitMs);
            ScpiAnswer a;
            bool impossible = false;
            if (maxPeak) {
                ScpiMarkerPeak(c);
                a = ScpiReadMarkerLevel(c, &impossible);
            } else {
                a = ScpiReadMarkerLevelSweep(c, &impossible);
            }
            if (impossible) {
                EndOnImpossibleLevel(pass, QStringLiteral("the marker level"));
                break;
            }
            if (!AddPointLevel(pass, levels, i, *at, a))
                break;
            ++added;
            if (pass.State.StopRequested)
                break;
        }
        tuned.SayUntuned(pass, i);
        if (c.Debug.DebugMode)
            c.Messages.Append(QStringLiteral("Info: ") + DateTimeText(pass.Now()));
        return added;
    }
};

} // namespace

std::unique_ptr<ModeRunner> MakeEmiScanRunner() { return std::make_unique<EmiScanRunner>(); }
std::unique_ptr<ModeRunner> MakeEmiFixRunner() { return std::make_unique<EmiFixRunner>(); }
std::unique_ptr<ModeRunner> MakeEmiRunner() { return std::make_unique<EmiRunner>(); }
