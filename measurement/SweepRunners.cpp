#include "measurement/SweepRunners.h"

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/SegmentTable.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "measurement/CompletionHandshake.h"
#include "measurement/MeasureTime.h"
#include "measurement/MeasurementState.h"
#include "measurement/RunParameters.h"
#include "measurement/SegmentSteps.h"
#include "measurement/SegmentWork.h"
#include "platform/system/EventPump.h"

#include <algorithm>

using namespace segmentsteps;

namespace {

// The settle time the Siglent runners give the analyser after changing RBW and stop again, and
// the RSA's time before its completion poll; neither looks at Stop.
constexpr uint32_t kSiglentSettleMs = 2000;
constexpr uint32_t kRsaFirstWaitMs = 5000;
constexpr uint32_t kSvaExtraWaitMs = 3000;
constexpr uint32_t kSvaWorkaroundExtraWaitMs = 4000;
constexpr double kRigolReferencePoints = 601.0;

uint32_t Ms(int64_t ms) { return static_cast<uint32_t>(std::clamp<int64_t>(ms, 0, UINT32_MAX)); }

void BandwidthWarning(SegmentJob& job, const QString& rbw)
{
    job.Scpi.Messages.Append(QStringLiteral("Warning: Format Error Segment File by BW : ") + rbw);
}

// VBW = three times the RBW, with automatic VBW off; an RBW that is no number sends no VBW.
void TripleVbw(SegmentJob& job, const SegmentRecord& s)
{
    double rbw = 0;
    if (!TryStrToFloatAnySep(s.Rbw, rbw)) {
        BandwidthWarning(job, s.Rbw);
        return;
    }
    ScpiSetVbw(job.Scpi, GeneralText(rbw * 3.0));
}

// The Rigol runners' VBW option: only with "VBWBox" in the settings and VBW "1:3" chosen.
void RigolVbwOption(SegmentJob& job, const SegmentRecord& s)
{
    if (!job.Scpi.Options.OptVbwBox || job.Switches.VbwAuto)
        return;
    double rbw = 0;
    if (!TryStrToFloatAnySep(s.Rbw, rbw)) {
        BandwidthWarning(job, s.Rbw);
        return;
    }
    ScpiSetVbwAuto(job.Scpi, QStringLiteral("OFF"));
    ScpiSetVbw(job.Scpi, GeneralText(rbw * 3.0));
}

// The SVA's video bandwidth after the sweep: the snapped value, none above 1 MHz.
void SnappedVbw(SegmentJob& job, const SegmentRecord& s)
{
    ScpiSetVbwAuto(job.Scpi, QStringLiteral("OFF"));
    if (const std::optional<QString> v = SnapBandwidth(s.Rbw))
        ScpiSetVbw(job.Scpi, *v);
}

void SetSweepMode(SegmentJob& job) { scpiio::Send(job.Scpi, QStringLiteral(":SENS:SWE:MODE SWE")); }

double RigolSweepSeconds(const SegmentJob& job, const SegmentRecord& s)
{
    return s.SweepMs / 1000.0 / kRigolReferencePoints * job.Scpi.Device.TracePoints;
}

class SweepWork final : public SegmentWork {
public:
    MeasureMode Mode() const override { return MeasureMode::Sweep; }
    bool SendsNotices() const override { return true; }

    int RunSegment(SegmentJob& job, int i) override
    {
        job.LogStartLine(i, QString::fromLatin1(kWaitingForData));
        const DeviceState& d = job.Scpi.Device;
        const SegmentRecord& s = job.Table.Segment(i);
        switch (d.DeviceFamily) {
        case dfRigol: return d.IsRigolRsa() ? RigolRsa(job, s) : RigolDsa(job, s);
        case dfSiglent:
            if (d.IsSiglentSsa())
                return SiglentSsa(job, s);
            if (d.IsSiglentSva())
                return d.SvaPresetFirst ? SiglentSvaWorkaround(job, s) : SiglentSva(job, s);
            return 0;
        // Families without swept runs never get here (HasSweptRuns).
        case dfNone:
        case dfHameg:
        case dfRsFpc:
        case dfRsFph: return 0;
        }
        return 0;
    }

private:
    static void RigolSetUp(SegmentJob& job, const SegmentRecord& s)
    {
        SetFrequencies(job, s);
        RigolVbwOption(job, s);
        SetAttenuation(job, s);
        SetPreamp(job, s);
        SetDetector(job, s);
        ScpiContinuousOff(job.Scpi);
    }

    int RigolDsa(SegmentJob& job, const SegmentRecord& s)
    {
        RigolSetUp(job, s);
        ScpiSetSegmentSweepTime(job.Scpi, GeneralText(RigolSweepSeconds(job, s)));
        ScpiSingleSweep(job.Scpi);
        WaitOrStop(job, Ms(int64_t{s.SweepMs} + job.Scpi.Device.SweepWaitMarginMs));
        if (EndIfGone(job))
            return 0;
        ScpiPauseSweep(job.Scpi);
        ScpiRequestTrace(job.Scpi);
        return ReadRequestedTrace(job, s, &ReadTraceVisaBinary);
    }

    int RigolRsa(SegmentJob& job, const SegmentRecord& s)
    {
        RigolSetUp(job, s);
        const double seconds = RigolSweepSeconds(job, s) * job.Scpi.Options.OptRsaSweepMultiply;
        ScpiSetSegmentSweepTime(job.Scpi, GeneralText(seconds));
        ScpiSingleSweep(job.Scpi);
        Settle(job, kRsaFirstWaitMs);
        const HandshakeEnd end = RsaCompletionHandshake(job, SweepEndBoundMs(job.Scpi.Device, seconds * 1000.0));
        // A poll that ended the run with its line: nothing more goes to the analyser for it.
        if (EndedTheRun(end) || EndIfGone(job))
            return 0;
        ScpiPauseSweep(job.Scpi);
        ScpiRequestTrace(job.Scpi);
        const int added = ReadRequestedTrace(job, s, &ReadTraceVisaBinary);
        ScpiContinuousOn(job.Scpi);
        return added;
    }

    // ":SENS:SWE:TIME?": the analyser's own sweep time. An answer that is no number leaves the
    // last one that was. One longer than the sweep time the program set plus the margin waited
    // after it is not believed (an answer of 3599 or 1e308 would hold every segment for an hour):
    // the set time stands in for it, and the log says so.
    double QuerySweepSeconds(SegmentJob& job, double setSeconds, uint32_t marginMs)
    {
        const ScpiAnswer a = ScpiReadSweepTime(job.Scpi);
        job.Scpi.Debug.LogMessage(QStringLiteral("rd sweep =") + a.value_or(QStringLiteral("0")) + QStringLiteral("sec"));
        if (a)
            if (const std::optional<double> t = scpiio::AnswerNumber(*a))
                siglentSweepSeconds_ = *t;
        if (siglentSweepSeconds_ * 1000.0 <= setSeconds * 1000.0 + marginMs)
            return siglentSweepSeconds_;
        job.Scpi.Messages.Append(QStringLiteral("Warning: the analyser's sweep time of ") +
                                 GeneralText(siglentSweepSeconds_) + QStringLiteral(" s is not believed, the set ") +
                                 GeneralText(setSeconds) + QStringLiteral(" s is used"));
        return setSeconds;
    }

    int SiglentSsa(SegmentJob& job, const SegmentRecord& s)
    {
        SetFrequencies(job, s);
        SetAttenuation(job, s);
        SetPreamp(job, s);
        SetDetector(job, s);
        ScpiContinuousOff(job.Scpi);
        const double seconds = s.SweepMs / 1000.0 * job.Scpi.Options.OptSsaSweepMultiply;
        ScpiSetSegmentSweepTime(job.Scpi, GeneralText(seconds));
        ScpiSingleSweep(job.Scpi);
        ScpiSetRbw(job.Scpi, s.Rbw);
        ScpiSetStopFreq(job.Scpi, HzText(s.StopHz));
        Settle(job, kSiglentSettleMs);
        ScpiSingleSweep(job.Scpi);
        const uint32_t margin = Ms(job.Scpi.Options.OptSsaMeasureDelay);
        const double t = QuerySweepSeconds(job, seconds, margin);
        WaitOrStop(job, Ms(int64_t{SecondsToWaitMs(t)} + margin));
        if (EndIfGone(job))
            return 0;
        ScpiPauseSweep(job.Scpi);
        ScpiRequestTrace(job.Scpi);
        return ReadRequestedTrace(job, s, &ReadTraceVisaAscii);
    }

    void SvaSetUp(SegmentJob& job, const SegmentRecord& s)
    {
        SetFrequencies(job, s);
        SetSweepMode(job);
        ScpiSetVbwAuto(job.Scpi, QStringLiteral("OFF"));
        TripleVbw(job, s);
        SetAttenuation(job, s);
        SetPreamp(job, s);
        SetDetector(job, s);
    }

    int SvaReadTrace(SegmentJob& job, const SegmentRecord& s)
    {
        if (job.State.StopRequested || EndIfGone(job))
            return 0;
        ScpiRequestTrace(job.Scpi);
        return ReadRequestedTrace(job, s, &ReadTraceVisaAscii);
    }

    int SiglentSva(SegmentJob& job, const SegmentRecord& s)
    {
        SvaSetUp(job, s);
        ScpiContinuousOff(job.Scpi);
        const double seconds = RigolSweepSeconds(job, s);
        ScpiSetSegmentSweepTime(job.Scpi, GeneralText(seconds));
        ScpiSingleSweep(job.Scpi);
        ScpiSetRbw(job.Scpi, s.Rbw);
        ScpiSetStopFreq(job.Scpi, HzText(s.StopHz));
        Settle(job, kSiglentSettleMs);
        ScpiSingleSweep(job.Scpi);
        SnappedVbw(job, s);
        const uint32_t margin = Ms(int64_t{job.Scpi.Device.SweepWaitMarginMs} + kSvaExtraWaitMs);
        const double t = QuerySweepSeconds(job, seconds, margin);
        WaitOrStop(job, Ms(int64_t{SecondsToWaitMs(t)} + margin));
        return SvaReadTrace(job, s);
    }

    // For the SVA firmware that loses its set-up between segments: preset first, and sweep
    // continuously while the trace settles.
    int SiglentSvaWorkaround(SegmentJob& job, const SegmentRecord& s)
    {
        ScpiPreset(job.Scpi);
        ScpiSetupDbuv(job.Scpi);
        SvaSetUp(job, s);
        const double seconds = RigolSweepSeconds(job, s);
        ScpiSetSegmentSweepTime(job.Scpi, GeneralText(seconds));
        ScpiSetRbw(job.Scpi, s.Rbw);
        ScpiSetStopFreq(job.Scpi, HzText(s.StopHz));
        Settle(job, kSiglentSettleMs);
        SnappedVbw(job, s);
        ScpiContinuousOn(job.Scpi);
        const uint32_t margin = Ms(int64_t{job.Scpi.Device.SweepWaitMarginMs} + kSvaWorkaroundExtraWaitMs);
        const double t = QuerySweepSeconds(job, seconds, margin);
        WaitOrStop(job, Ms(int64_t{SecondsToWaitMs(t)} + margin));
        ScpiContinuousOff(job.Scpi);
        return SvaReadTrace(job, s);
    }

    double siglentSweepSeconds_ = 0;
};

} // namespace

std::unique_ptr<SegmentWork> MakeSweepWork() { return std::make_unique<SweepWork>(); }

std::optional<QString> SnapBandwidth(const QString& rbw)
{
    const std::optional<double> v = ParseStrictFloat(rbw);
    if (!v)
        return QStringLiteral("100000");
    static const struct {
        double upTo;
        const char* text;
    } kSteps[] = {{1, "3"},         {3, "10"},          {10, "30"},         {30, "100"},
                  {100, "300"},     {300, "1000"},      {1000, "3000"},     {3000, "10000"},
                  {10000, "30000"}, {30000, "100000"},  {100000, "300000"}, {1000000, "1000000"}};
    for (const auto& step : kSteps)
        if (*v <= step.upTo)
            return QString::fromLatin1(step.text);
    return std::nullopt;
}
