#include "app/Log.h"
#include "app/NumberText.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "platform/system/EventPump.h"

using scpiio::Send;

namespace {

// Checks a level answer and applies the offset (dBm to dBuV where the family answers in dBm).
// An answer missing or not a number gives nothing and a warning, so that it never reads as a
// level: a timed-out read used to come back as "0", which the offset made 106.98 dBuV.
ScpiAnswer LevelFrom(ScpiContext& c, const ScpiAnswer& answer, ViStatus status, std::optional<double> offset)
{
    if (!answer) {
        if (!scpiio::QuietFailure(c, status))
            c.Messages.Append(QStringLiteral("Warning: no marker level from the analyser"));
        return std::nullopt;
    }
    const std::optional<double> v = scpiio::AnswerNumber(*answer);
    if (!v) {
        c.Messages.Append(QStringLiteral("Warning: marker level is no number: ") + answer->trimmed());
        return std::nullopt;
    }
    if (!offset)
        return answer->trimmed();
    return FloatToStr(*v + *offset);
}

constexpr double kDbmToDbuv = 106.98;

ScpiAnswer ReadLevel(ScpiContext& c, bool sweep)
{
    // The callers format and convert with "." from here on, as every level reader leaves it.
    SetDecimalSeparator(QLatin1Char('.'));
    ViStatus status = visa::VI_SUCCESS;
    const auto level = [&c, &status](std::optional<double> offset, bool keepLineEnd = false) {
        const ScpiAnswer a = scpiio::ReadReply(c, keepLineEnd, &status);
        return LevelFrom(c, a, status, offset);
    };
    switch (c.Device.DeviceFamily) {
    case dfRigol:
        Send(c, QStringLiteral(":CALC:MARK1:Y?"));
        if (c.Device.DeviceModel == 5000) {
            if (sweep)
                WaitMs(c.Pump, 100);
            return level(kDbmToDbuv, true);
        }
        return level(std::nullopt);
    case dfSiglent:
        Send(c, QStringLiteral(":CALC:MARK1:Y?"));
        return level(kDbmToDbuv);
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
    default: return std::nullopt;
    }
}

void SendFor(ScpiContext& c, const QStringList& rigol, const QStringList& siglent, const QStringList& hameg,
             const QStringList& rs)
{
    switch (c.Device.DeviceFamily) {
    case dfRigol: Send(c, rigol); break;
    case dfSiglent: Send(c, siglent); break;
    case dfHameg: Send(c, hameg); break;
    case dfRsFpc:
    case dfRsFph: Send(c, rs); break;
    default: break;
    }
}

} // namespace

void ScpiRequestTrace(ScpiContext& c)
{
    SendFor(c, {":FORM:BORD NORM", ":FORM:TRACE:DATA REAL,32", ":TRAC:DATA? TRACE1"},
            {":TRAC1:MODE VIEW", ":FORM:BORD NORM", ":TRACe:DATA? 1"}, {"TRAC:DATA:FORM BIN", ":TRAC:DATA?"},
            {":FORM:DATA REAL,32", ":TRAC:DATA? TRACE1"});
}

void ScpiQueryScanData(ScpiContext& c) { SendFor(c, {}, {}, {}, {":TRAC:DATA?"}); }

void ScpiMarkerOff(ScpiContext& c)
{
    SendFor(c, {":CALC:MARK1:STAT OFF"}, {":CALC:MARK1:STAT OFF"}, {":MARK1:STAT OFF"}, {":CALC:MARK1:AOFF"});
}

void ScpiMarkerPeak(ScpiContext& c)
{
    SendFor(c, {":CALC:MARK1:STAT ON", ":CALC:MARK1:PEAK:SEAR:MODE MAX", ":CALC:MARK1:MAX:MAX"},
            {":CALC:MARK1:TRAC 1", ":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK:PEAK:SEAR:MODE MAX",
             ":CALC:MARK1:MAX"},
            {":MARK1:STAT ON", ":MARK1:MAX:PEAK"}, {":CALC:MARK1:MAX:PEAK"});
}

void ScpiMarkerReset(ScpiContext& c)
{
    SendFor(c, {":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON", ":CALC:MARK1:X 0"},
            {":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK1:TRAC 1", ":CALC:MARK1:X 1"},
            {":MARK1:STAT ON", ":MARK1:MAX:PEAK"}, {":CALC:MARK1:X 0"});
}

void ScpiMarkerToFreq(ScpiContext& c, const QString& f)
{
    SendFor(c, {":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON"},
            {":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK1:TRAC 1"}, {":MARK1:STAT ON", ":MARK1:MAX:PEAK"},
            {":CALC:MARK1:X " + f + " Hz"});
}

ScpiAnswer ScpiReadMarkerLevelSweep(ScpiContext& c) { return ReadLevel(c, true); }

ScpiAnswer ScpiReadMarkerLevel(ScpiContext& c) { return ReadLevel(c, false); }

ScpiAnswer ScpiReadMarkerFreq(ScpiContext& c)
{
    SetDecimalSeparator(QLatin1Char('.'));
    bool keepLineEnd = false;
    switch (c.Device.DeviceFamily) {
    case dfRigol:
        Send(c, QStringLiteral(":CALC:MARK1:X?"));
        keepLineEnd = c.Device.DeviceModel == 5000;
        break;
    case dfSiglent: Send(c, {":CALC:MARK1:X:READ FREQ", ":CALC:MARK1:X?"}); break;
    case dfHameg: Send(c, QStringLiteral(":MARK1:FREQ?")); break;
    case dfRsFpc:
    case dfRsFph: Send(c, QStringLiteral(":CALC:MARK1:X?")); break;
    default: return std::nullopt;
    }
    ViStatus status = visa::VI_SUCCESS;
    const ScpiAnswer a = scpiio::ReadReply(c, keepLineEnd, &status);
    if (!a) {
        if (!scpiio::QuietFailure(c, status))
            c.Messages.Append(QStringLiteral("Warning: no marker frequency from the analyser"));
        return std::nullopt;
    }
    if (!scpiio::AnswerNumber(*a)) {
        c.Messages.Append(QStringLiteral("Warning: marker frequency is no number: ") + a->trimmed());
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
        keepLineEnd = c.Device.DeviceModel == 5000;
        break;
    case dfSiglent: Send(c, QStringLiteral(":SENS:SWE:TIME?")); break;
    case dfHameg: Send(c, QStringLiteral(":SWE:TIME?")); break;
    case dfRsFpc:
    case dfRsFph: Send(c, QStringLiteral(":SENS:SWE:TIME?")); break;
    default: return std::nullopt;
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

void ScpiSourceOff(ScpiContext& c) { SendFor(c, {":OUTP 0"}, {":OUTP 0"}, {}, {}); }

void ScpiSourceOn(ScpiContext& c, const QString& level)
{
    const QStringList on = {":SOUR:POW:LEV:IMM:AMPL " + level, ":OUTP 1"};
    SendFor(c, on, on, {}, {});
}
