#include "measurement/SegmentSteps.h"

#include "app/NumberText.h"
#include "datafiles/SegmentTable.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/VisaSession.h"
#include "measurement/CompletionHandshake.h"
#include "measurement/MeasurementState.h"
#include "measurement/SegmentWork.h"
#include "measurement/TracePoints.h"
#include "platform/system/EventPump.h"

#include <cmath>

namespace segmentsteps {

QString HzText(int64_t hz) { return QString::number(hz); }

QString GeneralText(double value)
{
    SetDecimalSeparator(QLatin1Char('.'));
    return FloatToStr(value);
}

void SetFrequencies(SegmentJob& job, const SegmentRecord& s)
{
    ScpiSetStartFreq(job.Scpi, HzText(s.StartHz));
    ScpiSetStopFreq(job.Scpi, HzText(s.StopHz));
    ScpiSetRbw(job.Scpi, s.Rbw);
}

void SetAttenuation(SegmentJob& job, const SegmentRecord& s) { ScpiSetAttenuation(job.Scpi, QString::number(s.Attenuation)); }

void SetPreamp(SegmentJob& job, const SegmentRecord& s) { ScpiSetPreamp(job.Scpi, s.PreAmp.toUpper()); }

void SetDetector(SegmentJob& job, const SegmentRecord& s) { ScpiSetDetector(job.Scpi, s.Detector); }

void DiscardAnswer(SegmentJob& job)
{
    QByteArray ignored;
    VisaReadAnswer(job.Scpi.Visa, job.Scpi.Visa.VisaSession, visa::kAnswerBufferSize, &ignored);
}

int ReadRequestedTrace(SegmentJob& job, const SegmentRecord& s, TraceReader reader)
{
    if (EndIfGone(job))
        return 0;
    if (job.State.StopRequested) {
        DiscardAnswer(job);
        return 0;
    }
    const TraceReadResult r = reader(job.Scpi, s.StartHz, s.StopHz);
    if (!r.Points.empty())
        job.PointsArrive();
    const int added = AddTracePoints(job.Raw, job.RawColor, r);
    EndIfGone(job);
    return added;
}

bool EndIfGone(SegmentJob& job)
{
    const bool lost = scpiio::LinkLost(job.Scpi);
    if (!lost && job.Scpi.Device.DeviceConnected)
        return false;
    if (!job.State.StopRequested)
        job.AbortRun(lost ? QString::fromLatin1(kLinkLostLine) : QString());
    return true;
}

void WaitOrStop(SegmentJob& job, uint32_t ms)
{
    EndIfGone(job);
    WaitMsOrStop(job.State, job.Scpi.Pump, ms);
}

void Settle(SegmentJob& job, uint32_t ms)
{
    if (!EndIfGone(job))
        WaitMs(job.Scpi.Pump, ms);
}

uint32_t SecondsToWaitMs(double seconds)
{
    // An hour is far beyond any sweep; a wilder answer must not become a wait of weeks.
    constexpr double kLongest = 3600.0;
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    return static_cast<uint32_t>(RoundHalfEven(std::min(seconds, kLongest) * 1000.0));
}

} // namespace segmentsteps
