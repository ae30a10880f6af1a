#include "measurement/RunnerSteps.h"

#include "app/NumberText.h"
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

#include <cmath>

namespace runnersteps {

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

int ReadRequestedTrace(PassContext& pass, const SegmentRecord& s, TraceReader reader)
{
    if (EndIfGone(pass))
        return 0;
    if (pass.State.StopRequested) {
        DiscardAnswer(pass);
        return 0;
    }
    const TraceReadResult r = reader(pass.Scpi, s.StartHz, s.StopHz);
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

uint32_t SecondsToWaitMs(double seconds)
{
    // An hour is far beyond any sweep; a wilder answer must not become a wait of weeks.
    constexpr double kLongest = 3600.0;
    if (!std::isfinite(seconds) || seconds <= 0)
        return 0;
    return static_cast<uint32_t>(RoundHalfEven(std::min(seconds, kLongest) * 1000.0));
}

} // namespace runnersteps
