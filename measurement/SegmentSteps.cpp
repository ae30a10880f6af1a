#include "measurement/SegmentSteps.h"

#include "app/NumberText.h"
#include "datafiles/SegmentTable.h"
#include "instrument/ScpiCommands.h"
#include "instrument/visa/VisaSession.h"
#include "measurement/MeasurementState.h"
#include "measurement/SegmentWork.h"

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
    if (job.State.StopRequested == 1) {
        DiscardAnswer(job);
        return 0;
    }
    return reader(job.Scpi, job.Raw, clDefault, s.StartHz, s.StopHz).Added;
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
