#include "instrument/ScpiCommands.h"

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "app/NumberText.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <algorithm>
#include <cmath>

using scpiio::kNothing;
using scpiio::Send;
using scpiio::SendFor;

namespace {

// The sweep time as a number for the dwell rule; a text that is no number counts as 1 s.
double SweepSeconds(const QString& t)
{
    const std::optional<double> v = ParseMachine(t.trimmed());
    return v && std::isfinite(*v) ? *v : 1.0;
}

// The Siglent detector as the analyser reports it, with its debug lines.
QString SiglentDetectorAnswer(ScpiContext& c, const QString& t)
{
    c.Debug.LogMessage(QStringLiteral("Sweep Time: ") + t + QStringLiteral(" sec"));
    Send(c, QStringLiteral(":SENSe:DETector:TRACe1:FUNCtion?"));
    const QString d = VisaReadReply(c.Visa, QString());
    c.Debug.LogMessage(QStringLiteral("rd det =") + d);
    return d;
}

} // namespace

bool scpi::IsCisprBandwidth(const QString& r)
{
    return r == QLatin1String("200") || r == QLatin1String("9000") || r == QLatin1String("9kHz") ||
           r == QLatin1String("120000") || r == QLatin1String("120kHz");
}

int64_t scpi::QuasiPeakDwellMs(const QString& t, int32_t points)
{
    return RoundHalfEven(SweepSeconds(t) * 1000.0 / std::max(points, 1));
}

void ScpiPreset(ScpiContext& c)
{
    QStringList rigol = {":SYST:PRES:TYPE FACT", ":SYST:PRES"};
    if (c.Device.IsRigolRsa())
        rigol << ":INST:SEL SA" << ":CONF:SAN" << ":SENS:SWE:POIN " + QString::number(c.Options.OptRsaSamples);
    const QStringList others = {":SYST:PRES"};
    SendFor(c, {.rigol = rigol, .siglent = {":SYST:PRESet"}, .hameg = others, .fpc = others, .fph = others});
}

void ScpiSetupDbuv(ScpiContext& c)
{
    c.Device.Echo.LevelsInDbm = false;
    switch (c.Device.DeviceFamily) {
    case dfRigol:
        Send(c, QStringLiteral("*CLS"));
        if (c.Device.IsRigolRsa())
            Send(c, "DISP:WIND:TRAC:Y:RLEV " + QString::number(c.Options.OptRsaRefLevelDbm));
        Send(c, {":UNIT:POW DBUV", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF", ":SENS:SWE:TIME:AUTO OFF"});
        break;
    case dfSiglent:
        Send(c, QStringLiteral("*CLS"));
        if (c.Device.IsSiglentSva())
            Send(c, QStringLiteral(":INST:SEL SA"));
        Send(c, {":UNIT:POW DBUV", ":DISP:WIND:TRAC:X:SPAC LIN", ":SENS:CAL:STAT OFF", ":SENS:SWE:MODE SWE"});
        break;
    case dfHameg: Send(c, {"*CLS", ":AMPL:UNIT dBuV", ":SWE:TIME:AUTO OFF", ":INST:SEL REC"}); break;
    case dfRsFpc:
    case dfRsFph:
        // The receivers need time to switch their application; these waits keep the window
        // working but do not look at Stop.
        Send(c, QStringLiteral("*CLS"));
        WaitMs(c.Pump, 1000);
        Send(c, QStringLiteral(":INST:SEL REC"));
        WaitMs(c.Pump, c.Device.IsRsFpc() ? 1000 : 3000);
        Send(c, QStringLiteral(":UNIT:POW DBUV"));
        break;
    case dfNone: break;
    }
}

void ScpiSetupDbm(ScpiContext& c)
{
    c.Device.Echo.LevelsInDbm = true;
    SendFor(c, {.rigol = {"*CLS", ":UNIT:POW DBM", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF",
                          ":SENS:SWE:TIME:AUTO OFF"},
                .siglent = {"*CLS", ":UNIT:POW DBM", ":SENS:CAL:STAT OFF", ":SENSe:MODE SWEep"},
                .hameg = {"*CLS", ":AMPL:UNIT dBm", ":SWE:TIME:AUTO OFF"},
                .fpc = {"*CLS", ":UNIT:POW DBM", ":SWE:TIME:AUTO OFF", ":INST:SEL SAN", ":INST:SEL SPEC"},
                .fph = {"*CLS", ":UNIT:POW DBM", ":SWE:TIME:AUTO OFF", ":INST:SEL SPECTRUM"}});
}

void ScpiAutoCalOn(ScpiContext& c)
{
    SendFor(c, {.rigol = {":CAL:AUTO ON"}, .siglent = {":SENS:CAL:STAT ON"}, .hameg = kNothing, .fpc = kNothing,
                .fph = kNothing});
}

void ScpiReceiverScanMode(ScpiContext& c)
{
    const QStringList rs = {":SENS:FREQ:MODE SCAN", ":DISP:TRAC:STYL POLY"};
    SendFor(c, {.rigol = kNothing, .siglent = kNothing, .hameg = kNothing, .fpc = rs, .fph = rs});
}

void ScpiReceiverFixMode(ScpiContext& c)
{
    const QStringList rs = {":SENS:FREQ:MODE FIX"};
    SendFor(c, {.rigol = kNothing, .siglent = kNothing, .hameg = kNothing, .fpc = rs, .fph = rs});
}

void ScpiSetAsciiFormat(ScpiContext& c)
{
    const QStringList rs = {":FORM:DATA ASC"};
    SendFor(c, {.rigol = kNothing, .siglent = kNothing, .hameg = kNothing, .fpc = rs, .fph = rs});
}

void ScpiContinuousOff(ScpiContext& c)
{
    const QStringList off = {":INIT:CONT 0"};
    SendFor(c, {.rigol = off, .siglent = off, .hameg = kNothing, .fpc = off, .fph = off});
}

void ScpiContinuousOn(ScpiContext& c)
{
    const QStringList on = {":INIT:CONT 1"};
    SendFor(c, {.rigol = on, .siglent = on, .hameg = kNothing, .fpc = on, .fph = on});
}

void ScpiSingleSweep(ScpiContext& c)
{
    const QStringList immediate = {":INIT:IMM"};
    SendFor(c, {.rigol = immediate,
                .siglent = {":TRAC1:MODE WRIT", ":INIT:IMM"},
                .hameg = {":SWE:MODE SING"},
                .fpc = immediate,
                .fph = immediate});
}

void ScpiPauseSweep(ScpiContext& c)
{
    SendFor(c, {.rigol = {":INIT:PAU"}, .siglent = kNothing, .hameg = kNothing, .fpc = kNothing, .fph = kNothing});
}

void ScpiSetStartFreq(ScpiContext& c, const QString& f)
{
    c.Device.Echo.StartText = f;
    const QStringList rs = {":SENS:FREQ:STAR " + f + "Hz"};
    SendFor(c, {.rigol = {":SENS:FREQ:STAR " + f},
                .siglent = {":SENS:FREQ:STAR " + f + " Hz"},
                .hameg = {":FREQ:STAR " + f},
                .fpc = rs,
                .fph = rs});
}

void ScpiSetStopFreq(ScpiContext& c, const QString& f)
{
    c.Device.Echo.StopText = f;
    const QStringList withUnit = {":SENS:FREQ:STOP " + f + " Hz"};
    SendFor(c, {.rigol = {":SENS:FREQ:STOP " + f},
                .siglent = withUnit,
                .hameg = {":FREQ:STOP " + f},
                .fpc = withUnit,
                .fph = withUnit});
}

void ScpiSetCenterFreq(ScpiContext& c, const QString& f)
{
    c.Device.Echo.CenterText = f;
    const QStringList withUnit = {":SENS:FREQ:CENT " + f + " Hz"};
    SendFor(c, {.rigol = {":SENS:FREQ:CENT " + f},
                .siglent = withUnit,
                .hameg = {":FREQ:CENT " + f},
                .fpc = withUnit,
                .fph = withUnit});
}

void ScpiSetSpan(ScpiContext& c, const QString& f)
{
    c.Device.Echo.SpanText = f;
    const QStringList bare = {":SENS:FREQ:SPAN " + f};
    SendFor(c, {.rigol = bare,
                .siglent = {":SENS:FREQ:SPAN " + f + " Hz"},
                .hameg = {":FREQ:SPAN " + f},
                .fpc = bare,
                .fph = bare});
}

void ScpiSetScanStart(ScpiContext& c, const QString& f)
{
    c.Device.Echo.StartText = f;
    const QStringList rs = {":SENS:SCAN:STAR " + f + "Hz"};
    SendFor(c, {.rigol = kNothing, .siglent = kNothing, .hameg = kNothing, .fpc = rs, .fph = rs});
}

void ScpiSetScanStop(ScpiContext& c, const QString& f)
{
    c.Device.Echo.StopText = f;
    const QStringList rs = {":SENS:SCAN:STOP " + f + "Hz"};
    SendFor(c, {.rigol = kNothing, .siglent = kNothing, .hameg = kNothing, .fpc = rs, .fph = rs});
}

void ScpiSetScanStep(ScpiContext& c, const QString& f)
{
    const QStringList rs = {":SENS:SCAN:STEP " + f + "Hz"};
    SendFor(c, {.rigol = kNothing, .siglent = kNothing, .hameg = kNothing, .fpc = rs, .fph = rs});
}

bool ScpiSetRbw(ScpiContext& c, const QString& r)
{
    c.Device.Echo.RbwText = r;
    const bool cispr = scpi::IsCisprBandwidth(r);
    switch (c.Device.DeviceFamily) {
    case dfRigol:
        if (c.Device.IsRigolDsa()) {
            Send(c, QStringLiteral(":SENS:BAND:EMIF:STAT?"));
            // A failed read is no answer: its "0" would have switched the filter on and sent
            // the bandwidth to an analyser that is not listening.
            const ScpiAnswer answer = scpiio::ReadReply(c);
            if (!answer || answer->isEmpty())
                return false;
            const QString& state = *answer;
            if (cispr && state.startsWith(QLatin1Char('0')))
                Send(c, QStringLiteral(":SENS:BAND:EMIF:STAT ON"));
            else if (!cispr && state.startsWith(QLatin1Char('1')))
                Send(c, QStringLiteral(":SENS:BAND:EMIF:STAT OFF"));
        } else {
            Send(c, cispr ? QStringLiteral(":SENS:BAND:EMIF:STAT ON") : QStringLiteral(":SENS:BAND:EMIF:STAT OFF"));
        }
        Send(c, ":SENS:BAND:RES " + r);
        return true;
    case dfSiglent:
        Send(c, cispr ? QStringLiteral(":SENSe:FILTer:TYPE EMI") : QStringLiteral(":SENSe:FILTer:TYPE GAUSS"));
        Send(c, ":SENS:BWID:RES " + r);
        return true;
    case dfHameg:
        if (r == QLatin1String("9000") || r == QLatin1String("9kHz"))
            Send(c, QStringLiteral(":BAND:RBW C9k"));
        else if (r == QLatin1String("120000") || r == QLatin1String("120kHz"))
            Send(c, QStringLiteral(":BAND:RBW C120k"));
        else if (r == QLatin1String("200"))
            Send(c, QStringLiteral(":BAND:RBW C200"));
        else
            Send(c, ":BAND:RBW " + r);
        return false;
    case dfRsFpc:
    case dfRsFph:
        if (cispr)
            Send(c, {":SENS:BAND:CISP:AUTO OFF", ":SENS:BAND:RES:CISP " + r});
        else
            Send(c, {":SENS:BAND:RES:AUTO OFF", ":SENS:BAND:RES " + r});
        return false;
    case dfNone: return false;
    }
    return false;
}

void ScpiSetAttenuation(ScpiContext& c, const QString& a)
{
    const QString upper = a.toUpper();
    const bool automatic = upper == QLatin1String("-1") || upper == QLatin1String("AUTO");
    const QStringList rigol = {automatic ? QStringLiteral(":SENS:POW:RF:ATT:AUTO ON") : ":SENS:POW:RF:ATT " + a};
    const QStringList rs = {automatic ? QStringLiteral(":INP:ATT:AUTO ON") : ":INP:ATT " + a};
    SendFor(c, {.rigol = rigol, .siglent = rigol, .hameg = kNothing, .fpc = rs, .fph = rs});
}

void ScpiSetPreampState(ScpiContext& c, const QString& p)
{
    c.Device.Echo.PreAmpText = p.left(3);
    const QStringList gain = {":SENS:POW:GAIN " + p};
    const QStringList rs = {":INP:GAIN:STAT " + p};
    SendFor(c, {.rigol = gain, .siglent = gain, .hameg = {":MEAS:PAMP " + p}, .fpc = rs, .fph = rs});
}

void ScpiSetPreamp(ScpiContext& c, const QString& p)
{
    if (!c.Device.PreAmpPerSegment)
        ScpiSetPreampState(c, c.Device.PreAmpOn ? QStringLiteral("ON") : QStringLiteral("OFF"));
    else
        ScpiSetPreampState(c, p);
}

void ScpiSetVbwAuto(ScpiContext& c, const QString& v)
{
    const QStringList rs = {":BAND:VID:AUTO " + v};
    SendFor(c, {.rigol = {":SENS:BAND:VID:AUTO " + v},
                .siglent = {":SENS:BWID:VID:AUTO " + v},
                .hameg = {":BAND:VBW:AUTO " + v},
                .fpc = rs,
                .fph = rs});
}

void ScpiSetVbw(ScpiContext& c, const QString& v)
{
    SendFor(c, {.rigol = {":SENS:BAND:VID " + v},
                .siglent = {":SENS:BWID:VID " + v},
                .hameg = {":BAND:VBW " + v},
                .fpc = {":SENS:BWID:VID " + v},
                .fph = {":SENS:BAND:VID " + v}});
}

void ScpiSetSegmentSweepTime(ScpiContext& c, const QString& t)
{
    c.Device.Echo.SweepText = t.left(6);
    switch (c.Device.DeviceFamily) {
    case dfRigol: Send(c, ":SENS:SWE:TIME " + t); break;
    case dfSiglent:
        if (SiglentDetectorAnswer(c, t).contains(QLatin1String("QUAS"))) {
            Send(c, QStringLiteral(":SENS:SWE:TIME:AUTO ON"));
            const int64_t dwell = scpi::QuasiPeakDwellMs(t, c.Device.TracePoints);
            Send(c, ":QPD:DWEL:TIME " + QString::number(dwell) + " ms");
            c.Device.Echo.SweepText = (QLatin1Char('~') + c.Device.Echo.SweepText).left(6);
        } else {
            Send(c, {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME " + t + "s"});
        }
        break;
    case dfHameg: Send(c, {":SWE:TIME:AUTO OFF", ":SWE:TIME " + t}); break;
    case dfRsFpc:
    case dfRsFph: Send(c, ":SENS:SWE:TIME " + t); break;
    case dfNone: break;
    }
}

void ScpiSetSweepTime(ScpiContext& c, const QString& t)
{
    c.Device.Echo.SweepText = t.left(6);
    const QStringList bare = {":SENS:SWE:TIME " + t};
    SendFor(c, {.rigol = bare,
                .siglent = {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME " + t + " s"},
                .hameg = {":SWE:TIME:AUTO OFF", ":SWE:TIME " + t},
                .fpc = bare,
                .fph = bare});
}

void ScpiSetSweepTimeText(ScpiContext& c, const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    if (!c.Device.IsKnown())
        return;
    if (t.toUpper() == QLatin1String("AUTO")) {
        Send(c, QStringLiteral(":SENS:SWE:TIME:AUTO ON"));
        return;
    }
    switch (c.Device.DeviceFamily) {
    case dfRigol: Send(c, {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME " + t}); break;
    case dfSiglent:
        if (SiglentDetectorAnswer(c, t) == QLatin1String("QUASi")) {
            const int64_t dwell = scpi::QuasiPeakDwellMs(t, c.Device.TracePoints);
            Send(c, {":SENS:SWE:TIME:AUTO ON", ":QPD:DWEL:TIME " + QString::number(dwell) + "ms"});
        } else {
            Send(c, {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME " + t + " s"});
        }
        break;
    case dfHameg: Send(c, {":SWE:TIME:AUTO OFF", ":SWE:TIME " + t}); break;
    case dfRsFpc:
    case dfRsFph: Send(c, {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME " + t}); break;
    case dfNone: break;
    }
}

void ScpiSetDetector(ScpiContext& c, const QString& d)
{
    c.Device.Echo.DetectorText = d;
    struct Row {
        const char* names[2];
        const char* rigol;
        const char* siglent;
        const char* hameg;
        const char* rs;
    };
    static const Row rows[] = {
        {{"NEG", "NEGPEAK"}, ":SENS:DET:FUNC NEG", ":SENS:DET:TRAC1 NEG", ":RMOD:DET PEAK", ":SENS:DET:FUNC NEG"},
        {{"NORM", "NORMAL"}, ":SENS:DET:FUNC NORM", ":SENS:DET:TRAC1 NORMAL", ":RMOD:DET PEAK", ":SENS:DET:FUNC POS"},
        {{"POS", "POSPEAK"}, ":SENS:DET:FUNC POS", ":SENS:DET:TRAC1 POS", ":RMOD:DET PEAK", ":SENS:DET:FUNC POS"},
        {{"RMS", "RMS"}, ":SENS:DET:FUNC RMS", ":SENS:DET:TRAC1 AVER", ":RMOD:DET RMS", ":SENS:DET:FUNC RMS"},
        {{"SAMP", "SAMP"}, ":SENS:DET:FUNC SAMP", ":SENS:DET:TRAC1 SAMP", ":RMOD:DET PEAK", ":SENS:DET:FUNC SAMP"},
        {{"VAV", "VAV"}, ":SENS:DET:FUNC VAV", ":SENS:DET:TRAC1 AVER", ":RMOD:DET AVG", ":SENS:DET:FUNC AVER"},
        {{"QPEAK", "QPEAK"}, ":SENS:DET:FUNC QPE", ":SENS:DET:TRAC1 QUAS", ":RMOD:DET QPE", ":SENS:DET:FUNC QPE"},
    };
    const QString upper = d.toUpper();
    for (const Row& row : rows) {
        if (upper != QLatin1String(row.names[0]) && upper != QLatin1String(row.names[1]))
            continue;
        const QStringList rs = {row.rs};
        SendFor(c,
                {.rigol = {row.rigol}, .siglent = {row.siglent}, .hameg = {row.hameg}, .fpc = rs, .fph = rs});
        return;
    }
}
