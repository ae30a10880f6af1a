#include "app/Log.h"
#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "app/TextRoutines.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "instrument/protocol/LevelOffsets.h"
#include "platform/system/EventPump.h"

#include <cmath>

using scpiio::kNothing;
using scpiio::Send;
using scpiio::SendFor;

namespace {

// A number as the analyser sent it, NaN and the infinities included: those are values no analyser
// measures, refused by the bounds below like 1e308, not text that merely fails to be a number.
std::optional<double> AnsweredValue(const QString& answer)
{
    const QString t = answer.trimmed();
    return t.isEmpty() ? std::nullopt : ParseMachine(t);
}

// A level no analyser reports (1e308, -3.4e38, NaN: a broken input stage or a damaged answer) is
// no measurement; the line names it in dBm, as the trace readers do.
bool PossibleDbm(ScpiContext& c, double dbm, const QString& what)
{
    if (plausible::kAnalyserDbm.Holds(dbm))
        return true;
    c.Messages.Append(QStringLiteral("Error: the analyser sent a level of ") + QString::number(dbm, 'g', 6) +
                      QStringLiteral(" dBm; the ") + what + QStringLiteral(" is refused"));
    return false;
}

// A level answered in the unit set, in dBm.
double AnsweredDbm(const ScpiContext& c, double v)
{
    return c.Device.Echo.LevelsInDbm ? v : v - plausible::kBoundDbmToDbuv;
}

// Checks a level answer and applies the offset (dBm to dBuV where the family answers in dBm).
// An answer missing or not a number gives nothing and a warning, so that it never reads as a
// level: a timed-out read is no "0", which the offset would make 106.98 dBuV. A level no analyser
// reports gives nothing, its error line and *impossible.
ScpiAnswer LevelFrom(ScpiContext& c, const ScpiAnswer& answer, ViStatus status, std::optional<double> offset,
                     bool* impossible)
{
    if (!answer) {
        if (!scpiio::QuietFailure(c, status))
            c.Messages.Append(QStringLiteral("Warning: no marker level from the analyser"));
        return std::nullopt;
    }
    const std::optional<double> v = AnsweredValue(*answer);
    if (!v) {
        c.Messages.Append(QStringLiteral("Warning: marker level is no number: ") + answer->trimmed());
        return std::nullopt;
    }
    const double dbm = offset == kTextLevelDbmToDbuv ? *v : AnsweredDbm(c, *v);
    if (!PossibleDbm(c, dbm, QStringLiteral("marker level"))) {
        if (impossible != nullptr)
            *impossible = true;
        return std::nullopt;
    }
    if (!offset)
        return answer->trimmed();
    return FloatToStr(*v + *offset);
}

// What the Hameg gets for every placement of marker 1 (peak, reset, a frequency): a peak search.
const QStringList kHamegMarkerPeak = {":MARK1:STAT ON", ":MARK1:MAX:PEAK"};

ScpiAnswer ReadLevel(ScpiContext& c, bool sweep, bool* impossible)
{
    if (impossible != nullptr)
        *impossible = false;
    // The callers format and convert with "." from here on, as every level reader leaves it.
    SetDecimalSeparator(QLatin1Char('.'));
    ViStatus status = visa::VI_SUCCESS;
    const auto level = [&c, &status, impossible](std::optional<double> offset, bool keepLineEnd = false) {
        const ScpiAnswer a = scpiio::ReadReply(c, keepLineEnd, &status);
        return LevelFrom(c, a, status, offset, impossible);
    };
    switch (c.Device.DeviceFamily) {
    case dfRigol:
        Send(c, QStringLiteral(":CALC:MARK1:Y?"));
        if (c.Device.IsRigolRsa()) {
            if (sweep)
                WaitMs(c.Pump, 100);
            return level(kTextLevelDbmToDbuv, true);
        }
        return level(std::nullopt);
    case dfSiglent:
        Send(c, QStringLiteral(":CALC:MARK1:Y?"));
        return level(kTextLevelDbmToDbuv);
    case dfHameg:
        Send(c, QStringLiteral(":MARK1:LEV?"));
        return level(0.0);
    case dfRsFpc:
        if (sweep)
            Send(c, QStringLiteral(":INIT;*WAI"));
        Send(c, QStringLiteral(":CALC:MARK1:Y?"));
        return level(std::nullopt);
    case dfRsFph:
        if (sweep)
            Send(c, {":INIT;*WAI", ":TRACE:DATA?"});
        else
            Send(c, QStringLiteral(":CALC:MARK1:Y?"));
        return level(std::nullopt);
    case dfNone: return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

void ScpiRequestTrace(ScpiContext& c)
{
    const QStringList rs = {":FORM:DATA REAL,32", ":TRAC:DATA? TRACE1"};
    SendFor(c, {.rigol = {":FORM:BORD NORM", ":FORM:TRACE:DATA REAL,32", ":TRAC:DATA? TRACE1"},
                .siglent = {":TRAC1:MODE VIEW", ":FORM:BORD NORM", ":TRACe:DATA? 1"},
                .hameg = {"TRAC:DATA:FORM BIN", ":TRAC:DATA?"},
                .fpc = rs,
                .fph = rs});
}

void ScpiQueryScanData(ScpiContext& c)
{
    const QStringList rs = {":TRAC:DATA?"};
    SendFor(c, {.rigol = kNothing, .siglent = kNothing, .hameg = kNothing, .fpc = rs, .fph = rs});
}

void ScpiMarkerOff(ScpiContext& c)
{
    const QStringList off = {":CALC:MARK1:STAT OFF"};
    const QStringList rs = {":CALC:MARK1:AOFF"};
    SendFor(c, {.rigol = off, .siglent = off, .hameg = {":MARK1:STAT OFF"}, .fpc = rs, .fph = rs});
}

void ScpiMarkerPeak(ScpiContext& c)
{
    const QStringList rs = {":CALC:MARK1:MAX:PEAK"};
    SendFor(c, {.rigol = {":CALC:MARK1:STAT ON", ":CALC:MARK1:PEAK:SEAR:MODE MAX", ":CALC:MARK1:MAX:MAX"},
                .siglent = {":CALC:MARK1:TRAC 1", ":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS",
                            ":CALC:MARK:PEAK:SEAR:MODE MAX", ":CALC:MARK1:MAX"},
                .hameg = kHamegMarkerPeak,
                .fpc = rs,
                .fph = rs});
}

void ScpiMarkerReset(ScpiContext& c)
{
    const QStringList rs = {":CALC:MARK1:X 0"};
    SendFor(c, {.rigol = {":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON", ":CALC:MARK1:X 0"},
                .siglent = {":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK1:TRAC 1",
                            ":CALC:MARK1:X 1"},
                .hameg = kHamegMarkerPeak,
                .fpc = rs,
                .fph = rs});
}

void ScpiMarkerToFreq(ScpiContext& c, const QString& f)
{
    const QStringList rs = {":CALC:MARK1:X " + f + " Hz"};
    SendFor(c, {.rigol = {":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON"},
                .siglent = {":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK1:TRAC 1"},
                .hameg = kHamegMarkerPeak,
                .fpc = rs,
                .fph = rs});
}

ScpiAnswer ScpiReadMarkerLevelSweep(ScpiContext& c, bool* impossible)
{
    return ReadLevel(c, true, impossible);
}

ScpiAnswer ScpiReadMarkerLevel(ScpiContext& c, bool* impossible) { return ReadLevel(c, false, impossible); }

bool ScpiLevelPossible(ScpiContext& c, const QString& answer, const QString& what)
{
    const std::optional<double> v = AnsweredValue(answer);
    return !v || PossibleDbm(c, AnsweredDbm(c, *v), what);
}

ScpiAnswer ScpiReadMarkerFreq(ScpiContext& c, bool* impossible)
{
    if (impossible != nullptr)
        *impossible = false;
    SetDecimalSeparator(QLatin1Char('.'));
    bool keepLineEnd = false;
    switch (c.Device.DeviceFamily) {
    case dfRigol:
        Send(c, QStringLiteral(":CALC:MARK1:X?"));
        keepLineEnd = c.Device.IsRigolRsa();
        break;
    case dfSiglent: Send(c, {":CALC:MARK1:X:READ FREQ", ":CALC:MARK1:X?"}); break;
    case dfHameg: Send(c, QStringLiteral(":MARK1:FREQ?")); break;
    case dfRsFpc:
    case dfRsFph: Send(c, QStringLiteral(":CALC:MARK1:X?")); break;
    case dfNone: return std::nullopt;
    }
    ViStatus status = visa::VI_SUCCESS;
    const ScpiAnswer a = scpiio::ReadReply(c, keepLineEnd, &status);
    if (!a) {
        if (!scpiio::QuietFailure(c, status))
            c.Messages.Append(QStringLiteral("Warning: no marker frequency from the analyser"));
        return std::nullopt;
    }
    const std::optional<double> hz = AnsweredValue(*a);
    if (!hz) {
        c.Messages.Append(QStringLiteral("Warning: marker frequency is no number: ") + a->trimmed());
        return std::nullopt;
    }
    if (!plausible::kFrequencyHz.Holds(*hz)) {
        c.Messages.Append(QStringLiteral("Error: the analyser sent a frequency of ") +
                          QString::number(*hz, 'g', 6) + QStringLiteral(" Hz; the marker frequency is refused"));
        if (impossible != nullptr)
            *impossible = true;
        return std::nullopt;
    }
    return a;
}

ScpiAnswer ScpiReadSweepTime(ScpiContext& c)
{
    bool keepLineEnd = false;
    switch (c.Device.DeviceFamily) {
    case dfRigol:
        Send(c, QStringLiteral(":SENS:SWE:TIME?"));
        keepLineEnd = c.Device.IsRigolRsa();
        break;
    case dfSiglent: Send(c, QStringLiteral(":SENS:SWE:TIME?")); break;
    case dfHameg: Send(c, QStringLiteral(":SWE:TIME?")); break;
    case dfRsFpc:
    case dfRsFph: Send(c, QStringLiteral(":SENS:SWE:TIME?")); break;
    case dfNone: return std::nullopt;
    }
    ViStatus status = visa::VI_SUCCESS;
    const ScpiAnswer a = scpiio::ReadReply(c, keepLineEnd, &status);
    if (!a) {
        if (!scpiio::QuietFailure(c, status))
            c.Messages.Append(QStringLiteral("Warning: no sweep time from the analyser"));
        return std::nullopt;
    }
    if (!scpiio::AnswerNumber(*a)) {
        c.Messages.Append(QStringLiteral("Warning: sweep time is no number: ") + a->trimmed());
        return std::nullopt;
    }
    return a;
}

std::optional<double> ScpiReadFrequency(ScpiContext& c, FrequencySetting which)
{
    const bool scan = which == FrequencySetting::ScanStart || which == FrequencySetting::ScanStop;
    static constexpr const char* kHeaders[] = {"STAR?", "STOP?", "CENT?", "STAR?", "STOP?"};
    const QLatin1String header(kHeaders[static_cast<int>(which)]);
    bool keepLineEnd = false;
    switch (c.Device.DeviceFamily) {
    case dfRigol:
    case dfSiglent:
        if (scan)
            return std::nullopt;
        Send(c, QStringLiteral(":SENS:FREQ:") + header);
        keepLineEnd = c.Device.IsRigolRsa();
        break;
    case dfHameg:
        if (scan)
            return std::nullopt;
        Send(c, QStringLiteral(":FREQ:") + header);
        break;
    case dfRsFpc:
    case dfRsFph: Send(c, (scan ? QStringLiteral(":SENS:SCAN:") : QStringLiteral(":SENS:FREQ:")) + header); break;
    case dfNone: return std::nullopt;
    }
    const ScpiAnswer a = scpiio::ReadReply(c, keepLineEnd);
    const std::optional<double> hz = a ? scpiio::AnswerNumber(*a) : std::nullopt;
    if (!hz || !plausible::kFrequencyHz.Holds(*hz))
        return std::nullopt;
    return hz;
}

CentreCheck ScpiCheckCentre(ScpiContext& c, double plannedHz, double toleranceHz)
{
    CentreCheck check;
    check.ReportedHz = ScpiReadFrequency(c, FrequencySetting::Center);
    check.Tuned = check.ReportedHz && std::fabs(*check.ReportedHz - plannedHz) <= toleranceHz;
    return check;
}

QString CentreCheck::Untuned(double plannedHz) const
{
    const auto dotted = [](double hz) { return InsertThousandDots(QString::number(RoundHalfEven(hz))); };
    return dotted(plannedHz) + QStringLiteral(" Hz lies beyond the analyser's range (") +
           (ReportedHz ? QStringLiteral("it tuned to ") + dotted(*ReportedHz) + QStringLiteral(" Hz)")
                       : QStringLiteral("it reports no centre frequency)"));
}

void ScpiSourceOff(ScpiContext& c)
{
    const QStringList off = {":OUTP 0"};
    SendFor(c, {.rigol = off, .siglent = off, .hameg = kNothing, .fpc = kNothing, .fph = kNothing});
}

void ScpiSourceOn(ScpiContext& c, const QString& level)
{
    const QStringList on = {":SOUR:POW:LEV:IMM:AMPL " + level, ":OUTP 1"};
    SendFor(c, {.rigol = on, .siglent = on, .hameg = kNothing, .fpc = kNothing, .fph = kNothing});
}
