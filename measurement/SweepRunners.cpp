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
#include "measurement/ModeRunner.h"
#include "measurement/RunParameters.h"
#include "measurement/RunnerSteps.h"
#include "platform/system/EventPump.h"

#include <algorithm>

using namespace runnersteps;

namespace {

// The settle time the Siglent runners give the analyser after changing RBW and stop again, and
// the RSA's time before its completion poll; neither looks at Stop.
constexpr uint32_t kSiglentSettleMs = 2000;
constexpr uint32_t kRsaFirstWaitMs = 5000;
constexpr uint32_t kSvaExtraWaitMs = 3000;
constexpr uint32_t kSvaWorkaroundExtraWaitMs = 4000;
// The points per trace a segment's sweep time is given for.
constexpr double kSweepTimeReferencePoints = 601.0;

uint32_t Ms(int64_t ms) { return static_cast<uint32_t>(std::clamp<int64_t>(ms, 0, UINT32_MAX)); }

void BandwidthWarning(PassContext& pass, const QString& rbw)
{
    pass.Scpi.Messages.Append(QStringLiteral("Warning: Format Error Segment File by BW : ") + rbw);
}

// VBW = three times the RBW, with automatic VBW off; an RBW that is no number sends no VBW.
void TripleVbw(PassContext& pass, const SegmentRecord& s)
{
    double rbw = 0;
    if (!TryStrToFloatAnySep(s.Rbw, rbw)) {
        BandwidthWarning(pass, s.Rbw);
        return;
    }
    ScpiSetVbw(pass.Scpi, GeneralText(rbw * 3.0));
}

// The Rigol runners' VBW option: only with "VBWBox" in the settings and VBW "1:3" chosen.
void RigolVbwOption(PassContext& pass, const SegmentRecord& s)
{
    if (!pass.Scpi.Options.OptVbwBox || pass.Switches.VbwAuto)
        return;
    double rbw = 0;
    if (!TryStrToFloatAnySep(s.Rbw, rbw)) {
        BandwidthWarning(pass, s.Rbw);
        return;
    }
    ScpiSetVbwAuto(pass.Scpi, QStringLiteral("OFF"));
    ScpiSetVbw(pass.Scpi, GeneralText(rbw * 3.0));
}

// The SVA's video bandwidth after the sweep: the snapped value, none above 1 MHz.
void SnappedVbw(PassContext& pass, const SegmentRecord& s)
{
    ScpiSetVbwAuto(pass.Scpi, QStringLiteral("OFF"));
    if (const std::optional<QString> v = SnapBandwidth(s.Rbw))
        ScpiSetVbw(pass.Scpi, *v);
}

void SetSweepMode(PassContext& pass) { scpiio::Send(pass.Scpi, QStringLiteral(":SENS:SWE:MODE SWE")); }

// The segment's sweep time scaled from the reference points to the analyser's (Rigol, Siglent SVA).
double PointScaledSweepSeconds(const PassContext& pass, const SegmentRecord& s)
{
    return s.SweepMs / 1000.0 / kSweepTimeReferencePoints * pass.Scpi.Device.TracePoints;
}

class SweepRunner final : public ModeRunner {
public:
    MeasureMode Mode() const override { return MeasureMode::Sweep; }
    bool SendsNotices() const override { return true; }

    int RunSegment(PassContext& pass, int i) override
    {
        pass.LogStartLine(i, QString::fromLatin1(kWaitingForData));
        const DeviceState& d = pass.Scpi.Device;
        const SegmentRecord& s = pass.Table.Segment(i);
        switch (d.SweptRunKind()) {
        case SweptRun::RigolDsa: return RigolDsa(pass, i, s);
        case SweptRun::RigolRsa: return RigolRsa(pass, i, s);
        case SweptRun::SiglentSsa: return SiglentSsa(pass, i, s);
        case SweptRun::SiglentSva:
            return d.SvaPresetFirst ? SiglentSvaWorkaround(pass, i, s) : SiglentSva(pass, i, s);
        // Play refuses a kind without a swept run with a line (HasSweptRuns); it never gets here.
        case SweptRun::None: return 0;
        }
        return 0;
    }

private:
    static void RigolSetUp(PassContext& pass, const SegmentRecord& s)
    {
        SetStartStopRbw(pass, s);
        RigolVbwOption(pass, s);
        SetAttenuation(pass, s);
        SetPreamp(pass, s);
        SetDetector(pass, s);
        ScpiContinuousOff(pass.Scpi);
    }

    int RigolDsa(PassContext& pass, int i, const SegmentRecord& s)
    {
        RigolSetUp(pass, s);
        ScpiSetSegmentSweepTime(pass.Scpi, GeneralText(PointScaledSweepSeconds(pass, s)));
        ScpiSingleSweep(pass.Scpi);
        WaitOrStop(pass, Ms(int64_t{s.SweepMs} + pass.Scpi.Device.SweepWaitMarginMs));
        if (EndIfGone(pass))
            return 0;
        ScpiPauseSweep(pass.Scpi);
        return ReadMeasuredTrace(pass, i, TraceAxis::Swept, &ReadTraceVisaBinary);
    }

    int RigolRsa(PassContext& pass, int i, const SegmentRecord& s)
    {
        RigolSetUp(pass, s);
        const double seconds = PointScaledSweepSeconds(pass, s) * pass.Scpi.Options.OptRsaSweepMultiply;
        ScpiSetSegmentSweepTime(pass.Scpi, GeneralText(seconds));
        ScpiSingleSweep(pass.Scpi);
        Settle(pass, kRsaFirstWaitMs);
        const HandshakeEnd end = RsaCompletionHandshake(pass, SweepEndBoundMs(pass.Scpi.Device, seconds * 1000.0));
        // A poll that ended the run with its line: nothing more goes to the analyser for it.
        if (EndedTheRun(end) || EndIfGone(pass))
            return 0;
        ScpiPauseSweep(pass.Scpi);
        const int added = ReadMeasuredTrace(pass, i, TraceAxis::Swept, &ReadTraceVisaBinary);
        ScpiContinuousOn(pass.Scpi);
        return added;
    }

    // ":SENS:SWE:TIME?": the analyser's own sweep time. An answer that is no number leaves the
    // last one that was. One longer than the sweep time the program set plus the margin waited
    // after it is not believed (an answer of 3599 or 1e308 would hold every segment for an hour),
    // nor one of 0 s or less (the trace would be read after the margin alone, before the sweep
    // ends): the set time stands in for it, and the log says so.
    double QuerySweepSeconds(PassContext& pass, double setSeconds, uint32_t marginMs)
    {
        const ScpiAnswer a = ScpiReadSweepTime(pass.Scpi);
        pass.Scpi.Debug.LogMessage(QStringLiteral("rd sweep =") + a.value_or(QStringLiteral("0")) + QStringLiteral("sec"));
        const std::optional<double> answered = a ? scpiio::AnswerNumber(*a) : std::nullopt;
        if (answered)
            siglentSweepSeconds_ = *answered;
        if (siglentSweepSeconds_ > 0 && siglentSweepSeconds_ * 1000.0 <= setSeconds * 1000.0 + marginMs)
            return siglentSweepSeconds_;
        // Without an answer the reader has said why (or the link is gone).
        if (answered)
            pass.Scpi.Messages.Append(QStringLiteral("Warning: the analyser's sweep time of ") +
                                      GeneralText(siglentSweepSeconds_) +
                                      QStringLiteral(" s is not believed, the set ") + GeneralText(setSeconds) +
                                      QStringLiteral(" s is used"));
        return setSeconds;
    }

    // Both Siglent series sweep in this order (the set time, a first single sweep, RBW and stop
    // again, then the single sweep whose trace is read); one copy keeps them from drifting apart.
    static void SiglentSweep(PassContext& pass, const SegmentRecord& s, double seconds)
    {
        ScpiSetSegmentSweepTime(pass.Scpi, GeneralText(seconds));
        ScpiSingleSweep(pass.Scpi);
        ScpiSetRbw(pass.Scpi, s.Rbw);
        ScpiSetStopFreq(pass.Scpi, HzText(s.StopHz));
        Settle(pass, kSiglentSettleMs);
        ScpiSingleSweep(pass.Scpi);
    }

    int SiglentSsa(PassContext& pass, int i, const SegmentRecord& s)
    {
        SetStartStopRbw(pass, s);
        SetAttenuation(pass, s);
        SetPreamp(pass, s);
        SetDetector(pass, s);
        ScpiContinuousOff(pass.Scpi);
        const double seconds = s.SweepMs / 1000.0 * pass.Scpi.Options.OptSsaSweepMultiply;
        SiglentSweep(pass, s, seconds);
        const uint32_t margin = Ms(pass.Scpi.Options.OptSsaMeasureDelay);
        const double t = QuerySweepSeconds(pass, seconds, margin);
        WaitOrStop(pass, Ms(int64_t{SecondsToWaitMs(t)} + margin));
        if (EndIfGone(pass))
            return 0;
        ScpiPauseSweep(pass.Scpi);
        return ReadMeasuredTrace(pass, i, TraceAxis::Swept, &ReadTraceVisaAscii);
    }

    void SvaSetUp(PassContext& pass, const SegmentRecord& s)
    {
        SetStartStopRbw(pass, s);
        SetSweepMode(pass);
        ScpiSetVbwAuto(pass.Scpi, QStringLiteral("OFF"));
        TripleVbw(pass, s);
        SetAttenuation(pass, s);
        SetPreamp(pass, s);
        SetDetector(pass, s);
    }

    static int SvaReadTrace(PassContext& pass, int i)
    {
        if (pass.State.StopRequested || EndIfGone(pass))
            return 0;
        return ReadMeasuredTrace(pass, i, TraceAxis::Swept, &ReadTraceVisaAscii);
    }

    int SiglentSva(PassContext& pass, int i, const SegmentRecord& s)
    {
        SvaSetUp(pass, s);
        ScpiContinuousOff(pass.Scpi);
        const double seconds = PointScaledSweepSeconds(pass, s);
        SiglentSweep(pass, s, seconds);
        SnappedVbw(pass, s);
        const uint32_t margin = Ms(int64_t{pass.Scpi.Device.SweepWaitMarginMs} + kSvaExtraWaitMs);
        const double t = QuerySweepSeconds(pass, seconds, margin);
        WaitOrStop(pass, Ms(int64_t{SecondsToWaitMs(t)} + margin));
        return SvaReadTrace(pass, i);
    }

    // For the SVA firmware that loses its set-up between segments: preset first, and sweep
    // continuously while the trace settles.
    int SiglentSvaWorkaround(PassContext& pass, int i, const SegmentRecord& s)
    {
        ScpiPreset(pass.Scpi);
        ScpiSetupDbuv(pass.Scpi);
        SvaSetUp(pass, s);
        const double seconds = PointScaledSweepSeconds(pass, s);
        ScpiSetSegmentSweepTime(pass.Scpi, GeneralText(seconds));
        ScpiSetRbw(pass.Scpi, s.Rbw);
        ScpiSetStopFreq(pass.Scpi, HzText(s.StopHz));
        Settle(pass, kSiglentSettleMs);
        SnappedVbw(pass, s);
        ScpiContinuousOn(pass.Scpi);
        const uint32_t margin = Ms(int64_t{pass.Scpi.Device.SweepWaitMarginMs} + kSvaWorkaroundExtraWaitMs);
        const double t = QuerySweepSeconds(pass, seconds, margin);
        WaitOrStop(pass, Ms(int64_t{SecondsToWaitMs(t)} + margin));
        ScpiContinuousOff(pass.Scpi);
        return SvaReadTrace(pass, i);
    }

    double siglentSweepSeconds_ = 0;
};

} // namespace

std::unique_ptr<ModeRunner> MakeSweepRunner() { return std::make_unique<SweepRunner>(); }

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
