#include "measurement/RunnerSteps.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/SegmentTable.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/VisaSession.h"
#include "measurement/CompletionHandshake.h"
#include "measurement/MeasurementState.h"
#include "measurement/ModeRunner.h"
#include "measurement/TracePoints.h"
#include "platform/system/EventPump.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace runnersteps {

namespace {

// "1.500.000.000-2.000.000.000 Hz", as the segment file errors write frequencies.
QString HzRange(double fromHz, double toHz)
{
    return InsertThousandDots(HzText(RoundHalfEven(fromHz))) + QLatin1Char('-') +
           InsertThousandDots(HzText(RoundHalfEven(toHz))) + QStringLiteral(" Hz");
}

QString SegmentWords(const PassContext& pass, int segment)
{
    return QStringLiteral("seg ") + QString::number(segment) + QStringLiteral(" of ") +
           QString::number(pass.Table.Count);
}

// A segment's shortfall where the analyser's range ends within or before it.
constexpr const char* kBeyondRange = "beyond the analyser's range";

// A trace read that brought no points, in short as its reader's line said it (a lost link and
// Stop are said by the run).
QString TraceShortfall(TraceStatus status)
{
    switch (status) {
    case TraceStatus::WrongSize: return QStringLiteral("the trace had the wrong size");
    case TraceStatus::NotANumber: return QStringLiteral("faulty trace");
    case TraceStatus::OutOfRange: return QStringLiteral("the trace is refused");
    case TraceStatus::ReadFailed: return QStringLiteral("no scan data from the analyser");
    case TraceStatus::Complete:
    case TraceStatus::LinkLost:
    case TraceStatus::Stopped: break;
    }
    return {};
}

// Where a trace's reader lays its points, and the points kept (kHz, as the reader rounds them).
struct TraceSpan {
    int64_t LayoutStartHz;
    int64_t LayoutStopHz;
    double KeepFromKhz = -std::numeric_limits<double>::infinity();
    double KeepToKhz = std::numeric_limits<double>::infinity();
};

// What the analyser measured the segment over, asked after the sweep; nothing when it measured
// none of the plan (said in one line). A range within half a point's step of the plan is the
// plan. A receiver steps from its start by the step the runner set from the plan.
std::optional<TraceSpan> MeasuredSpan(PassContext& pass, int segment, TraceAxis axis)
{
    const SegmentRecord& s = pass.Table.Segment(segment);
    const TraceSpan planned{s.StartHz, s.StopHz};
    // After Stop the trace is thrown away; a lost link has ended the run.
    if (pass.State.StopRequested || EndIfGone(pass))
        return planned;
    const bool scan = axis == TraceAxis::ReceiverScan;
    const std::optional<double> start =
        ScpiReadFrequency(pass.Scpi, scan ? FrequencySetting::ScanStart : FrequencySetting::Start);
    const std::optional<double> stop =
        ScpiReadFrequency(pass.Scpi, scan ? FrequencySetting::ScanStop : FrequencySetting::Stop);
    if (EndIfGone(pass))
        return planned;
    const QString warning = QStringLiteral("Warning: ") + SegmentWords(pass, segment);
    if (!start || !stop) {
        pass.Scpi.Messages.Append(warning +
                                  QStringLiteral(" not drawn: the analyser reports no start and stop frequency"));
        pass.FallShort(QStringLiteral("the analyser reports no start and stop frequency"));
        return std::nullopt;
    }
    const double spanHz = static_cast<double>(s.StopHz - s.StartHz);
    const double toleranceHz = std::max(1.0, spanHz / std::max(pass.Scpi.Device.TracePoints, 1) / 2.0);
    if (std::fabs(*start - static_cast<double>(s.StartHz)) <= toleranceHz &&
        std::fabs(*stop - static_cast<double>(s.StopHz)) <= toleranceHz)
        return planned;
    const double from = std::max(*start, static_cast<double>(s.StartHz));
    const double to = std::min(*stop, static_cast<double>(s.StopHz));
    const QString swept = QStringLiteral(" the analyser swept ") + HzRange(*start, *stop) +
                          QStringLiteral(" for the planned ") +
                          HzRange(static_cast<double>(s.StartHz), static_cast<double>(s.StopHz));
    if (!(*stop > *start) || from > to) {
        pass.Scpi.Messages.Append(warning + QStringLiteral(" not measured:") + swept +
                                  QStringLiteral(", which lies beyond its range; nothing is drawn"));
        pass.FallShort(QString::fromLatin1(kBeyondRange));
        return std::nullopt;
    }
    pass.Scpi.Messages.Append(warning + QLatin1Char(':') + swept + QStringLiteral("; only ") + HzRange(from, to) +
                              QStringLiteral(" is drawn"));
    pass.FallShort(QString::fromLatin1(kBeyondRange));
    // The reader rounds each point to whole kHz: one within a kHz of the ends lies inside them.
    const int64_t layoutStart = RoundHalfEven(*start);
    return TraceSpan{layoutStart, scan ? layoutStart + (s.StopHz - s.StartHz) : RoundHalfEven(*stop),
                     from / 1000.0 - 1.0, to / 1000.0 + 1.0};
}

} // namespace

QString HzText(int64_t hz) { return QString::number(hz); }

QString GeneralText(double value)
{
    SetDecimalSeparator(QLatin1Char('.'));
    return FloatToStr(value);
}

void SetStartStopRbw(PassContext& pass, const SegmentRecord& s)
{
    ScpiSetStartFreq(pass.Scpi, HzText(s.StartHz));
    ScpiSetStopFreq(pass.Scpi, HzText(s.StopHz));
    ScpiSetRbw(pass.Scpi, s.Rbw);
}

void SetAttenuation(PassContext& pass, const SegmentRecord& s) { ScpiSetAttenuation(pass.Scpi, QString::number(s.Attenuation)); }

void SetPreamp(PassContext& pass, const SegmentRecord& s) { ScpiSetPreamp(pass.Scpi, s.PreAmp.toUpper()); }

void SetDetector(PassContext& pass, const SegmentRecord& s) { ScpiSetDetector(pass.Scpi, s.Detector); }

void DiscardAnswer(PassContext& pass)
{
    QByteArray ignored;
    VisaReadAnswer(pass.Scpi.Visa, pass.Scpi.Visa.VisaSession, visa::kAnswerBufferSize, &ignored);
}

int ReadMeasuredTrace(PassContext& pass, int segment, TraceAxis axis, TraceReader reader)
{
    const std::optional<TraceSpan> span = MeasuredSpan(pass, segment, axis);
    if (!span)
        return 0;
    if (axis == TraceAxis::Swept)
        ScpiRequestTrace(pass.Scpi);
    else
        ScpiQueryScanData(pass.Scpi);
    if (EndIfGone(pass))
        return 0;
    if (pass.State.StopRequested) {
        DiscardAnswer(pass);
        return 0;
    }
    TraceReadResult r = reader(pass.Scpi, span->LayoutStartHz, span->LayoutStopHz);
    std::erase_if(r.Points, [&span](const tracecodec::Point& p) {
        return p.x < span->KeepFromKhz || p.x > span->KeepToKhz;
    });
    if (const QString why = TraceShortfall(r.Status); !why.isEmpty())
        pass.FallShort(why);
    // A level no analyser can hold says the analyser is not measuring what it should (an overload,
    // a broken input): its reader named the level; the run ends with the analyser connected, as
    // at Stop, rather than list the segments that follow as measured.
    if (r.Status == TraceStatus::OutOfRange) {
        if (!pass.State.StopRequested)
            pass.AbortRun(QString());
        return 0;
    }
    const int added = AddTracePoints(pass.Raw, pass.RawColor, r);
    EndIfGone(pass);
    return added;
}

bool EndIfGone(PassContext& pass)
{
    const bool lost = scpiio::LinkLost(pass.Scpi);
    if (!lost && pass.Scpi.Device.DeviceConnected)
        return false;
    if (!pass.State.StopRequested)
        pass.AbortRun(lost ? QString::fromLatin1(kLinkLostLine) : QString());
    return true;
}

void WaitOrStop(PassContext& pass, uint32_t ms)
{
    EndIfGone(pass);
    WaitMsOrStop(pass.State, pass.Scpi.Pump, ms);
}

void Settle(PassContext& pass, uint32_t ms)
{
    if (!EndIfGone(pass))
        WaitMs(pass.Scpi.Pump, ms);
}

TunedPoints::TunedPoints(const SegmentRecord& s, int points)
    : toleranceHz_(std::max(1.0, static_cast<double>(s.StopHz - s.StartHz) / std::max(points, 1) / 2.0)),
      points_(points)
{
}

std::optional<double> TunedPoints::Ask(PassContext& pass, double plannedHz)
{
    const CentreCheck centre = ScpiCheckCentre(pass.Scpi, plannedHz, toleranceHz_);
    if (centre.Tuned)
        return centre.ReportedHz;
    // A read that Stop or a lost link cut short says nothing of the analyser's range.
    if (pass.State.StopRequested || scpiio::LinkLost(pass.Scpi) || !pass.Scpi.Device.DeviceConnected)
        return std::nullopt;
    if (untuned_++ == 0)
        firstHz_ = plannedHz;
    lastHz_ = plannedHz;
    return std::nullopt;
}

void TunedPoints::SayUntuned(PassContext& pass, int segment) const
{
    if (untuned_ == 0)
        return;
    pass.FallShort(QString::fromLatin1(kBeyondRange));
    pass.Scpi.Messages.Append(QStringLiteral("Warning: ") + SegmentWords(pass, segment) +
                              QStringLiteral(": the analyser did not tune to ") + QString::number(untuned_) +
                              QStringLiteral(" of the ") + QString::number(points_) +
                              QStringLiteral(" planned frequencies (") + HzRange(firstHz_, lastHz_) +
                              QStringLiteral("), beyond its range; they are not drawn"));
}

uint32_t SecondsToWaitMs(double seconds)
{
    // An hour is far beyond any sweep; a wilder answer must not become a wait of weeks.
    constexpr double kLongest = 3600.0;
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    return static_cast<uint32_t>(RoundHalfEven(std::min(seconds, kLongest) * 1000.0));
}

} // namespace runnersteps
