#include "instrument/protocol/LevelOffsets.h"
#include "tools/sim/SimInstrument.h"
#include "tools/sim/SimTraces.h"

#include <algorithm>
#include <cmath>

// The command table. Each row is a header pattern with a set and a query handler; rows added
// later win over earlier ones. Settings the simulator does not model are stored as texts (Text)
// so that their query gives back what was set.

namespace {

using Handler = SimInstrument::Handler;

QString Param(const SimCall& c, int i = 0)
{
    return i < c.command.params.size() ? c.command.params[i] : QString();
}

// The number of parameter 0, or an error -104 in the queue.
std::optional<double> Number(SimCall& c, int i = 0)
{
    if (i >= c.command.params.size()) {
        c.inst.PushError(-109, QStringLiteral("Missing parameter"));
        return std::nullopt;
    }
    auto v = scpi::ParseNumber(c.command.params[i]);
    if (!v)
        c.inst.PushError(-104, QStringLiteral("Data type error"));
    return v;
}

// What a numeric parameter may be, from the analyser's limits.
struct Bounds {
    double lo, hi;
};
using BoundsOf = Bounds (*)(const SimLimits&);
Bounds Frequency(const SimLimits& l) { return {0, l.maxHz}; }
Bounds FrequencyStep(const SimLimits& l) { return {1, l.maxHz}; }
Bounds Rbw(const SimLimits& l) { return {l.rbwMinHz, l.rbwMaxHz}; }
Bounds Vbw(const SimLimits& l) { return {l.vbwMinHz, l.vbwMaxHz}; }
Bounds SweepTime(const SimLimits& l) { return {l.sweepMinS, l.sweepMaxS}; }
Bounds AttenuationDb(const SimLimits& l) { return {0, l.attenuationMaxDb}; }
Bounds SourceLevel(const SimLimits& l) { return {l.sourceMinDbm, l.sourceMaxDbm}; }

bool InRange(SimCall& c, double v, Bounds b)
{
    if (v >= b.lo && v <= b.hi)
        return true;
    c.inst.PushError(-222, QStringLiteral("Data out of range"));
    return false;
}

// The number of parameter 0 within the analyser's limits; outside them nothing, with -222, so
// that the setting keeps its old value (or, for an analyser that clamps, the nearest limit).
std::optional<double> Number(SimCall& c, BoundsOf bounds)
{
    const std::optional<double> v = Number(c);
    const Bounds b = bounds(c.inst.Limits());
    if (v && !InRange(c, *v, b))
        return c.inst.ActiveFaults().clampRange && !std::isnan(*v) ? std::optional(std::clamp(*v, b.lo, b.hi))
                                                                   : std::nullopt;
    return v;
}

std::optional<bool> Bool(SimCall& c, int i = 0)
{
    auto v = scpi::ParseBool(Param(c, i));
    if (!v)
        c.inst.PushError(-224, QStringLiteral("Illegal parameter value"));
    return v;
}

void Answer(SimCall& c, const QString& text) { c.answer->append(c.inst.TextAnswer(text)); }

// A numeric setting kept in a field of SimSettings.
Handler SetNumber(double SimSettings::*field, BoundsOf bounds)
{
    return [field, bounds](SimCall& c) {
        if (auto v = Number(c, bounds))
            c.inst.State().*field = *v;
    };
}
Handler GetNumber(double SimSettings::*field)
{
    return [field](SimCall& c) { Answer(c, c.inst.NumberText(c.inst.State().*field)); };
}
Handler SetBool(bool SimSettings::*field)
{
    return [field](SimCall& c) {
        if (auto v = Bool(c))
            c.inst.State().*field = *v;
    };
}
Handler GetBool(bool SimSettings::*field)
{
    return [field](SimCall& c) { Answer(c, c.inst.State().*field ? "1" : "0"); };
}

// A setting kept as text under its pattern.
void Text(SimInstrument& inst, const QString& pattern, const QString& initial = QString())
{
    const QString key = pattern.toUpper();
    inst.DefineText(key, initial);
    inst.AddCommand(
        pattern, [key](SimCall& c) { c.inst.State().texts.insert(key, c.command.params.join(',')); },
        [key](SimCall& c) { Answer(c, c.inst.State().texts.value(key)); });
}

// Frequencies: start/stop are the truth; centre and span are derived. As on the analysers, a
// centre or span that would put an end outside the range narrows the span instead.
void SetCenterAndSpan(SimCall& c, double center, double span)
{
    const double maxHz = c.inst.Limits().maxHz;
    span = std::min({span, 2 * center, 2 * (maxHz - center)});
    c.inst.State().startHz = center - span / 2;
    c.inst.State().stopHz = center + span / 2;
}
void SetCenter(SimCall& c)
{
    if (auto v = Number(c, Frequency)) {
        const SimSettings& s = c.inst.State();
        SetCenterAndSpan(c, *v, s.stopHz - s.startHz);
    }
}
void SetSpan(SimCall& c)
{
    if (auto v = Number(c, Frequency)) {
        const SimSettings& s = c.inst.State();
        SetCenterAndSpan(c, (s.startHz + s.stopHz) / 2, *v);
    }
}

// One end of a range set: an end outside the limits is refused (-222) and nothing changes; one
// that crosses the other end takes it along, as the analysers keep start at or below stop.
Handler SetRangeEnd(double SimSettings::*end, double SimSettings::*other, bool isStart)
{
    return [end, other, isStart](SimCall& c) {
        if (auto v = Number(c, Frequency)) {
            SimSettings& s = c.inst.State();
            s.*end = *v;
            if (isStart ? s.*other < *v : s.*other > *v)
                s.*other = *v;
        }
    };
}

double MarkerLevelDbuv(SimInstrument& inst)
{
    SimSettings& s = inst.State();
    if (s.startHz == s.stopHz)
        return inst.LevelAt(s.startHz); // zero span: the level at the centre, now
    if (s.markerAtPeak)
        return s.markerPeakDbuv;
    return inst.LevelAt(s.markerHz);
}

// A marker switched on appears at the centre of the screen.
void MarkerState(SimCall& c)
{
    const std::optional<bool> on = Bool(c);
    if (!on)
        return;
    SimSettings& s = c.inst.State();
    if (*on && !s.markerOn) {
        s.markerHz = (s.startHz + s.stopHz) / 2;
        s.markerAtPeak = false;
    }
    s.markerOn = *on;
}

void PeakSearch(SimCall& c)
{
    SimSettings& s = c.inst.State();
    s.markerOn = true;
    if (s.startHz == s.stopHz) {
        s.markerHz = s.startHz;
        s.markerAtPeak = false;
        return;
    }
    const std::vector<double> t = c.inst.TraceDbuv();
    size_t best = 0;
    for (size_t i = 1; i < t.size(); ++i)
        if (t[i] > t[best])
            best = i;
    // The point's own frequency: the first at the start, the last at the stop.
    s.markerHz = std::nearbyint(s.startHz + (s.stopHz - s.startHz) * static_cast<double>(best) /
                                static_cast<double>(std::max<size_t>(t.size(), 2) - 1));
    s.markerPeakDbuv = t.empty() ? 0 : t[best];
    s.markerAtPeak = true;
}

// Marker level in the unit the family answers in: Siglent and Rigol RSA in dBm, the others in the
// unit set.
void MarkerY(SimCall& c)
{
    SimInstrument& inst = c.inst;
    double v = MarkerLevelDbuv(inst);
    inst.ReportLevels({{v}});
    const SimKind k = inst.Family().kind;
    const bool dbm = k == SimKind::SiglentSsa || k == SimKind::SiglentSva || k == SimKind::RigolRsa ||
                     inst.State().unit.compare(QStringLiteral("DBM"), Qt::CaseInsensitive) == 0;
    if (dbm)
        v -= kTextLevelDbmToDbuv;
    if (inst.ActiveFaults().nanValue)
        Answer(c, QStringLiteral("nan"));
    else if (inst.ActiveFaults().noNumber)
        Answer(c, QStringLiteral("level?"));
    else if (inst.ActiveFaults().hugeValue)
        Answer(c, QStringLiteral("1e308"));
    else
        Answer(c, inst.ExponentAnswers() ? inst.NumberText(v) : scpi::FormatFixed(v, 2));
}

void MarkerX(SimCall& c)
{
    SimInstrument& inst = c.inst;
    Answer(c, inst.ActiveFaults().nanFrequency ? QStringLiteral("nan") : inst.NumberText(inst.State().markerHz));
}

void SetDetector(SimCall& c) { c.inst.State().detector = Param(c).toUpper(); }

// The Siglent answers its detector with the long form in mixed case.
void SiglentDetectorQuery(SimCall& c)
{
    static const QList<QPair<QString, QString>> names = {{"POS", "POSitive"}, {"NEG", "NEGative"},
                                                         {"SAMP", "SAMPle"},  {"NORMAL", "NORMAL"},
                                                         {"AVER", "AVERage"}, {"QUAS", "QUASi"}};
    const QString d = c.inst.State().detector;
    for (const auto& [k, v] : names)
        if (d.startsWith(k))
            return Answer(c, v);
    Answer(c, d);
}

void HamegRbw(SimCall& c)
{
    const QString p = Param(c).toUpper();
    SimSettings& s = c.inst.State();
    if (p == "C9K")
        s.rbwHz = 9000;
    else if (p == "C120K")
        s.rbwHz = 120000;
    else if (p == "C200")
        s.rbwHz = 200;
    else if (auto v = Number(c, Rbw))
        s.rbwHz = *v;
}

void Attenuation(SimCall& c)
{
    const QString p = Param(c).toUpper();
    SimSettings& s = c.inst.State();
    if (p == "AUTO" || p == "-1") {
        s.attenuationAuto = true;
        return;
    }
    if (auto v = Number(c, AttenuationDb)) {
        s.attenuationDb = *v;
        s.attenuationAuto = false;
    }
}

void Format(SimCall& c)
{
    const QString p = Param(c).toUpper();
    c.inst.State().asciiFormat = p.startsWith(QStringLiteral("ASC"));
}

} // namespace

void RegisterCommonCommands(SimInstrument& inst)
{
    inst.AddCommand("*IDN", {}, [](SimCall& c) { Answer(c, c.inst.Family().idn); });
    inst.AddCommand("*OPT", {}, [](SimCall& c) { Answer(c, c.inst.Family().options); });
    inst.AddCommand("*RST", [](SimCall& c) { c.inst.Reset(); }, {});
    inst.AddCommand("*CLS", [](SimCall& c) { c.inst.Clear(); }, {});
    inst.AddCommand("*OPC", [](SimCall& c) { c.inst.ArmOpc(); },
                    [](SimCall& c) {
                        *c.waitUntilMs = std::max(*c.waitUntilMs, c.inst.SweepEndMs());
                        Answer(c, "1");
                    });
    inst.AddCommand("*WAI",
                    [](SimCall& c) {
                        *c.waitUntilMs = std::max(*c.waitUntilMs, c.inst.SweepEndMs());
                        c.inst.HoldUntil(c.inst.SweepEndMs());
                    },
                    {});
    inst.AddCommand("*ESR", {}, [](SimCall& c) { Answer(c, QString::number(c.inst.ReadEsr())); });
    inst.AddCommand("*ESE", [](SimCall& c) { if (auto v = Number(c)) c.inst.Ese() = static_cast<int>(*v) & 0xFF; },
                    [](SimCall& c) { Answer(c, QString::number(c.inst.Ese())); });
    inst.AddCommand("*SRE", [](SimCall& c) { if (auto v = Number(c)) c.inst.Sre() = static_cast<int>(*v) & 0xFF; },
                    [](SimCall& c) { Answer(c, QString::number(c.inst.Sre())); });
    inst.AddCommand("*STB", {}, [](SimCall& c) { Answer(c, QString::number(c.inst.Stb())); });
    inst.AddCommand("*TST", {}, [](SimCall& c) { Answer(c, "0"); });
    inst.AddCommand("SYSTem:ERRor[:NEXT]", {}, [](SimCall& c) { Answer(c, c.inst.PopError()); });
    inst.AddCommand("SYSTem:PRESet", [](SimCall& c) { c.inst.Reset(); }, {});
    Text(inst, "SYSTem:PRESet:TYPE", "FACT");
    inst.AddCommand("SYSTem:OPTions", {}, [](SimCall& c) { Answer(c, c.inst.Family().options); });
    inst.AddCommand("SYSTem:CONFigure:SYSTem", {}, [](SimCall& c) { Answer(c, c.inst.Family().options); });
    inst.AddCommand("SYSTem:CONFigure:MESSage", {}, [](SimCall& c) { Answer(c, "No message|\n"); });
}

void RegisterAnalyserCommands(SimInstrument& inst)
{
    // Frequency axis (Hameg without the SENSe root, which is optional everywhere).
    inst.AddCommand("[SENSe]:FREQuency:STARt", SetRangeEnd(&SimSettings::startHz, &SimSettings::stopHz, true),
                    GetNumber(&SimSettings::startHz));
    inst.AddCommand("[SENSe]:FREQuency:STOP", SetRangeEnd(&SimSettings::stopHz, &SimSettings::startHz, false),
                    GetNumber(&SimSettings::stopHz));
    inst.AddCommand("[SENSe]:FREQuency:CENTer", SetCenter, [](SimCall& c) {
        Answer(c, c.inst.NumberText((c.inst.State().startHz + c.inst.State().stopHz) / 2));
    });
    inst.AddCommand("[SENSe]:FREQuency:SPAN", SetSpan,
                    [](SimCall& c) { Answer(c, c.inst.NumberText(c.inst.State().stopHz - c.inst.State().startHz)); });
    inst.AddCommand("[SENSe]:FREQuency:MODE", [](SimCall& c) { c.inst.State().receiverMode = Param(c).toUpper(); },
                    [](SimCall& c) { Answer(c, c.inst.State().receiverMode); });
    inst.AddCommand("[SENSe]:SCAN:STARt", SetRangeEnd(&SimSettings::scanStartHz, &SimSettings::scanStopHz, true),
                    GetNumber(&SimSettings::scanStartHz));
    inst.AddCommand("[SENSe]:SCAN:STOP", SetRangeEnd(&SimSettings::scanStopHz, &SimSettings::scanStartHz, false),
                    GetNumber(&SimSettings::scanStopHz));
    inst.AddCommand("[SENSe]:SCAN:STEP", SetNumber(&SimSettings::scanStepHz, FrequencyStep),
                    GetNumber(&SimSettings::scanStepHz));

    // Bandwidths.
    inst.AddCommand("[SENSe]:BANDwidth|BWIDth[:RESolution]", SetNumber(&SimSettings::rbwHz, Rbw),
                    GetNumber(&SimSettings::rbwHz));
    inst.AddCommand("[SENSe]:BANDwidth|BWIDth:RESolution:CISPr", SetNumber(&SimSettings::rbwHz, Rbw),
                    GetNumber(&SimSettings::rbwHz));
    inst.AddCommand("BANDwidth:RBW", HamegRbw, GetNumber(&SimSettings::rbwHz));
    inst.AddCommand("[SENSe]:BANDwidth|BWIDth:VIDeo", SetNumber(&SimSettings::vbwHz, Vbw), GetNumber(&SimSettings::vbwHz));
    inst.AddCommand("BANDwidth:VBW", SetNumber(&SimSettings::vbwHz, Vbw), GetNumber(&SimSettings::vbwHz));
    Text(inst, "[SENSe]:BANDwidth|BWIDth:EMIFilter:STATe", "0");
    Text(inst, "[SENSe]:BANDwidth|BWIDth:VIDeo:AUTO", "1");
    Text(inst, "BANDwidth:VBW:AUTO", "1");
    Text(inst, "[SENSe]:BANDwidth|BWIDth:RESolution:AUTO", "1");
    Text(inst, "[SENSe]:BANDwidth|BWIDth:CISPr:AUTO", "1");
    Text(inst, "[SENSe]:FILTer:TYPE", "GAUSS");
    // The Rigol answers its EMI filter state as 0 or 1 whatever spelling was sent.
    inst.AddCommand("[SENSe]:BANDwidth|BWIDth:EMIFilter:STATe",
                    [](SimCall& c) {
                        if (auto v = Bool(c))
                            c.inst.State().texts.insert("EMIF", *v ? "1" : "0");
                    },
                    [](SimCall& c) { Answer(c, c.inst.State().texts.value("EMIF", "0")); });

    // Sweep.
    // The query tells the time in use, automatic or set, with the quasi-peak dwell.
    inst.AddCommand("[SENSe]:SWEep:TIME",
                    [](SimCall& c) {
                        if (auto v = Number(c, SweepTime)) {
                            c.inst.State().sweepTimeS = *v;
                            c.inst.State().sweepAuto = false;
                        }
                    },
                    [](SimCall& c) {
                        const double lie = c.inst.ActiveFaults().sweepTimeAnswerS;
                        Answer(c, c.inst.NumberText(lie >= 0 ? lie : c.inst.SweepTimeInUseS()));
                    });
    inst.AddCommand("[SENSe]:SWEep:TIME:AUTO", SetBool(&SimSettings::sweepAuto), GetBool(&SimSettings::sweepAuto));
    inst.AddCommand("[SENSe]:SWEep:POINts",
                    [](SimCall& c) {
                        const SimLimits& l = c.inst.Limits();
                        if (auto v = Number(c); v && InRange(c, *v, {double(l.pointsMin), double(l.pointsMax)}))
                            c.inst.State().points = static_cast<int>(*v);
                    },
                    [](SimCall& c) { Answer(c, QString::number(c.inst.State().points)); });
    inst.AddCommand("[SENSe]:SWEep:MODE",
                    [](SimCall& c) {
                        // The Hameg starts one sweep with "SING"; the Siglent's "SWE" only names the mode.
                        c.inst.State().texts.insert("SWEMODE", Param(c).toUpper());
                        if (Param(c).toUpper().startsWith(QStringLiteral("SING")))
                            c.inst.StartSweep();
                    },
                    [](SimCall& c) { Answer(c, c.inst.State().texts.value("SWEMODE", "SWE")); });
    Text(inst, "QPD:DWELl:TIME", "1 ms");
    inst.AddCommand("INITiate[:IMMediate]", [](SimCall& c) { c.inst.StartSweep(); }, {});
    inst.AddCommand("INITiate:CONTinuous",
                    [](SimCall& c) {
                        if (auto v = Bool(c)) {
                            c.inst.State().continuous = *v;
                            if (*v)
                                c.inst.StartSweep();
                        }
                    },
                    GetBool(&SimSettings::continuous));
    // The Rigol writes its pause command with the short form PAU.
    Text(inst, "INITiate:PAUse");

    // Input.
    inst.AddCommand("[SENSe]:POWer[:RF]:ATTenuation", Attenuation, GetNumber(&SimSettings::attenuationDb));
    inst.AddCommand("[SENSe]:POWer[:RF]:ATTenuation:AUTO", SetBool(&SimSettings::attenuationAuto),
                    GetBool(&SimSettings::attenuationAuto));
    inst.AddCommand("INPut:ATTenuation", Attenuation, GetNumber(&SimSettings::attenuationDb));
    inst.AddCommand("INPut:ATTenuation:AUTO", SetBool(&SimSettings::attenuationAuto), GetBool(&SimSettings::attenuationAuto));
    inst.AddCommand("[SENSe]:POWer[:RF]:GAIN[:STATe]", SetBool(&SimSettings::preamp), GetBool(&SimSettings::preamp));
    inst.AddCommand("INPut:GAIN:STATe", SetBool(&SimSettings::preamp), GetBool(&SimSettings::preamp));
    inst.AddCommand("MEASure:PAMP", SetBool(&SimSettings::preamp), GetBool(&SimSettings::preamp));

    // Detector and unit.
    inst.AddCommand("[SENSe]:DETector[:FUNCtion]", SetDetector, [](SimCall& c) { Answer(c, c.inst.State().detector); });
    inst.AddCommand("[SENSe]:DETector:TRACe#", SetDetector, SiglentDetectorQuery);
    inst.AddCommand("[SENSe]:DETector:TRACe#:FUNCtion", SetDetector, SiglentDetectorQuery);
    inst.AddCommand("RMODe:DETector", SetDetector, [](SimCall& c) { Answer(c, c.inst.State().detector); });
    inst.AddCommand("UNIT:POWer", [](SimCall& c) { c.inst.State().unit = Param(c).toUpper(); },
                    [](SimCall& c) { Answer(c, c.inst.State().unit); });
    inst.AddCommand("AMPLitude:UNIT", [](SimCall& c) { c.inst.State().unit = Param(c).toUpper(); },
                    [](SimCall& c) { Answer(c, c.inst.State().unit); });

    // Modes, display and calibration: kept as texts.
    inst.AddCommand("INSTrument[:SELect]", [](SimCall& c) { c.inst.State().instrument = Param(c).toUpper(); },
                    [](SimCall& c) { Answer(c, c.inst.State().instrument); });
    Text(inst, "CONFigure:SANalyzer");
    Text(inst, "[SENSe]:MODE", "SWE");
    // The Rigol's window node has the short form WIN, the Siglent's WIND.
    Text(inst, "DISPlay:WINdow|WINDow:TRACe:X[:SCALe]:SPACing", "LIN");
    Text(inst, "DISPlay:WINdow|WINDow:TRACe:Y[:SCALe]:RLEVel", "0");
    Text(inst, "DISPlay:TRACe:STYLe", "POLY");
    Text(inst, "CALibration:AUTO", "ON");
    Text(inst, "[SENSe]:CALibration:STATe", "ON");

    // Traces.
    inst.AddCommand("FORMat[:TRACe][:DATA]", Format,
                    [](SimCall& c) { Answer(c, c.inst.State().asciiFormat ? "ASC" : "REAL,32"); });
    Text(inst, "FORMat:BORDer", "NORM");
    inst.AddCommand("TRACe#:DATA:FORMat",
                    [](SimCall& c) { c.inst.State().asciiFormat = !Param(c).toUpper().startsWith(QStringLiteral("BIN")); },
                    [](SimCall& c) { Answer(c, c.inst.State().asciiFormat ? "ASC" : "BIN"); });
    inst.AddCommand("TRACe#[:DATA]", {}, [](SimCall& c) { c.answer->append(simtrace::TraceAnswer(c.inst)); });
    Text(inst, "TRACe#:MODE", "WRIT");

    // Marker 1 (the program uses no other).
    inst.AddCommand("CALCulate#:MARKer#[:STATe]", MarkerState, GetBool(&SimSettings::markerOn));
    inst.AddCommand("MARKer#[:STATe]", MarkerState, GetBool(&SimSettings::markerOn));
    inst.AddCommand("CALCulate#:MARKer#:MAXimum", PeakSearch, {});
    inst.AddCommand("CALCulate#:MARKer#:MAXimum:MAXimum", PeakSearch, {});
    inst.AddCommand("CALCulate#:MARKer#:MAXimum:PEAK", PeakSearch, {});
    inst.AddCommand("MARKer#:MAXimum:PEAK", PeakSearch, {});
    inst.AddCommand("CALCulate#:MARKer#:AOFF", [](SimCall& c) { c.inst.State().markerOn = false; }, {});
    Text(inst, "CALCulate#:MARKer#:PEAK:SEARch:MODE", "MAX");
    Text(inst, "CALCulate#:MARKer#:MODE", "POS");
    Text(inst, "CALCulate#:MARKer#:TRACe", "1");
    Text(inst, "CALCulate#:MARKer#:X:READout", "FREQ");
    inst.AddCommand("CALCulate#:MARKer#:X",
                    [](SimCall& c) {
                        if (auto v = Number(c, Frequency)) {
                            SimSettings& s = c.inst.State();
                            // Rigol and Siglent take small numbers as a point index.
                            s.markerHz = *v < s.points && s.stopHz > s.startHz
                                             ? s.startHz + (s.stopHz - s.startHz) * *v / s.points
                                             : *v;
                            s.markerAtPeak = false;
                        }
                    },
                    MarkerX);
    inst.AddCommand("CALCulate#:MARKer#:Y", {}, MarkerY);
    inst.AddCommand("MARKer#:LEVel", {}, MarkerY);
    inst.AddCommand("MARKer#:FREQuency", {}, MarkerX);

    // Tracking generator.
    inst.AddCommand("SOURce:POWer[:LEVel][:IMMediate][:AMPLitude]", SetNumber(&SimSettings::sourceLevelDbm, SourceLevel),
                    GetNumber(&SimSettings::sourceLevelDbm));
    inst.AddCommand("OUTPut[:STATe]", SetBool(&SimSettings::sourceOn), GetBool(&SimSettings::sourceOn));
}
