// The command layer against a scripted peer: the texts each operation sends to each family, the
// settings echo, the operations that ask the analyser something, and level reads that fail.
#include "app/NumberText.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "ScpiFixture.h"
#include "common/TestSupport.h"

#include <algorithm>
#include <optional>
#include <functional>
#include <tuple>

namespace {

using L = QStringList;

// What an operation sends, per family, in the order of the codes. A family left out gets nothing;
// the Rigol RSA, the Siglent SVA and the R&S FPH get what the DSA, the SSA and the FPC get unless
// they are named.
struct Texts {
    L rigol = {};
    std::optional<L> rsa = {};
    L siglent = {};
    std::optional<L> sva = {};
    L hameg = {}, fpc = {};
    std::optional<L> fph = {};
};

// The analysers of the tables and what each of them expects of a row.
struct Analyser {
    const char* name;
    DeviceFamilyCode family;
    int32_t model;
    SiglentSeriesCode series;
    L (*expected)(const Texts&);
};
constexpr Analyser kAnalysers[] = {
    {"DSA", dfRigol, 815, ssNone, [](const Texts& t) { return t.rigol; }},
    {"RSA", dfRigol, AnalyserKind::kRigolRsaModel, ssNone, [](const Texts& t) { return t.rsa.value_or(t.rigol); }},
    {"SSA", dfSiglent, 0, ssSsa, [](const Texts& t) { return t.siglent; }},
    {"SVA", dfSiglent, 0, ssSva, [](const Texts& t) { return t.sva.value_or(t.siglent); }},
    {"Hameg", dfHameg, 0, ssNone, [](const Texts& t) { return t.hameg; }},
    {"FPC", dfRsFpc, 0, ssNone, [](const Texts& t) { return t.fpc; }},
    {"FPH", dfRsFph, 0, ssNone, [](const Texts& t) { return t.fph.value_or(t.fpc); }}};

struct Row {
    const char* operation;
    std::function<void(ScpiContext&)> call;
    Texts expected;
};

// An operation called with one argument.
std::function<void(ScpiContext&)> With(auto op, auto argument)
{
    return [=](ScpiContext& c) { op(c, argument); };
}

std::vector<Row> Rows()
{
    return {
        {"ScpiPreset", ScpiPreset,
         {.rigol = {":SYST:PRES:TYPE FACT", ":SYST:PRES"},
          .rsa = L{":SYST:PRES:TYPE FACT", ":SYST:PRES", ":INST:SEL SA", ":CONF:SAN", ":SENS:SWE:POIN 801"},
          .siglent = {":SYST:PRESet"}, .hameg = {":SYST:PRES"}, .fpc = {":SYST:PRES"}}},
        {"ScpiSetupDbuv", ScpiSetupDbuv,
         {.rigol = {"*CLS", ":UNIT:POW DBUV", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF",
            ":SENS:SWE:TIME:AUTO OFF"},
          .rsa = L{"*CLS", "DISP:WIND:TRAC:Y:RLEV -25", ":UNIT:POW DBUV", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;",
            ":CAL:AUTO OFF", ":SENS:SWE:TIME:AUTO OFF"},
          .siglent = {"*CLS", ":UNIT:POW DBUV", ":DISP:WIND:TRAC:X:SPAC LIN", ":SENS:CAL:STAT OFF",
            ":SENS:SWE:MODE SWE"},
          .sva = L{"*CLS", ":INST:SEL SA", ":UNIT:POW DBUV", ":DISP:WIND:TRAC:X:SPAC LIN", ":SENS:CAL:STAT OFF",
            ":SENS:SWE:MODE SWE"}, .hameg = {"*CLS", ":AMPL:UNIT dBuV", ":SWE:TIME:AUTO OFF", ":INST:SEL REC"},
          .fpc = {"*CLS", ":INST:SEL REC", ":UNIT:POW DBUV"}}},
        {"ScpiSetupDbm", ScpiSetupDbm,
         {.rigol = {"*CLS", ":UNIT:POW DBM", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF",
            ":SENS:SWE:TIME:AUTO OFF"}, .siglent = {"*CLS", ":UNIT:POW DBM", ":SENS:CAL:STAT OFF", ":SENSe:MODE SWEep"},
          .hameg = {"*CLS", ":AMPL:UNIT dBm", ":SWE:TIME:AUTO OFF"},
          .fpc = {"*CLS", ":UNIT:POW DBM", ":SWE:TIME:AUTO OFF", ":INST:SEL SAN", ":INST:SEL SPEC"},
          .fph = L{"*CLS", ":UNIT:POW DBM", ":SWE:TIME:AUTO OFF", ":INST:SEL SPECTRUM"}}},
        {"ScpiAutoCalOn", ScpiAutoCalOn, {.rigol = {":CAL:AUTO ON"}, .siglent = {":SENS:CAL:STAT ON"}}},
        {"ScpiReceiverScanMode", ScpiReceiverScanMode, {.fpc = {":SENS:FREQ:MODE SCAN", ":DISP:TRAC:STYL POLY"}}},
        {"ScpiReceiverFixMode", ScpiReceiverFixMode, {.fpc = {":SENS:FREQ:MODE FIX"}}},
        {"ScpiSetAsciiFormat", ScpiSetAsciiFormat, {.fpc = {":FORM:DATA ASC"}}},
        {"ScpiContinuousOff", ScpiContinuousOff,
         {.rigol = {":INIT:CONT 0"}, .siglent = {":INIT:CONT 0"}, .fpc = {":INIT:CONT 0"}}},
        {"ScpiContinuousOn", ScpiContinuousOn,
         {.rigol = {":INIT:CONT 1"}, .siglent = {":INIT:CONT 1"}, .fpc = {":INIT:CONT 1"}}},
        {"ScpiSingleSweep", ScpiSingleSweep,
         {.rigol = {":INIT:IMM"}, .siglent = {":TRAC1:MODE WRIT", ":INIT:IMM"}, .hameg = {":SWE:MODE SING"},
          .fpc = {":INIT:IMM"}}},
        {"ScpiPauseSweep", ScpiPauseSweep, {.rigol = {":INIT:PAU"}}},
        {"ScpiSetStartFreq", With(ScpiSetStartFreq, "150000"),
         {.rigol = {":SENS:FREQ:STAR 150000"}, .siglent = {":SENS:FREQ:STAR 150000 Hz"}, .hameg = {":FREQ:STAR 150000"},
          .fpc = {":SENS:FREQ:STAR 150000Hz"}}},
        {"ScpiSetStopFreq", With(ScpiSetStopFreq, "30000000"),
         {.rigol = {":SENS:FREQ:STOP 30000000"}, .siglent = {":SENS:FREQ:STOP 30000000 Hz"},
          .hameg = {":FREQ:STOP 30000000"}, .fpc = {":SENS:FREQ:STOP 30000000 Hz"}}},
        {"ScpiSetCenterFreq", With(ScpiSetCenterFreq, "1000000"),
         {.rigol = {":SENS:FREQ:CENT 1000000"}, .siglent = {":SENS:FREQ:CENT 1000000 Hz"},
          .hameg = {":FREQ:CENT 1000000"}, .fpc = {":SENS:FREQ:CENT 1000000 Hz"}}},
        {"ScpiSetSpan", With(ScpiSetSpan, "0"),
         {.rigol = {":SENS:FREQ:SPAN 0"}, .siglent = {":SENS:FREQ:SPAN 0 Hz"}, .hameg = {":FREQ:SPAN 0"},
          .fpc = {":SENS:FREQ:SPAN 0"}}},
        {"ScpiSetScanStart", With(ScpiSetScanStart, "150000"), {.fpc = {":SENS:SCAN:STAR 150000Hz"}}},
        {"ScpiSetScanStop", With(ScpiSetScanStop, "30000000"), {.fpc = {":SENS:SCAN:STOP 30000000Hz"}}},
        {"ScpiSetScanStep", With(ScpiSetScanStep, "49751"), {.fpc = {":SENS:SCAN:STEP 49751Hz"}}},
        {"ScpiSetAttenuation 10", With(ScpiSetAttenuation, "10"),
         {.rigol = {":SENS:POW:RF:ATT 10"}, .siglent = {":SENS:POW:RF:ATT 10"}, .fpc = {":INP:ATT 10"}}},
        {"ScpiSetAttenuation auto", With(ScpiSetAttenuation, "auto"),
         {.rigol = {":SENS:POW:RF:ATT:AUTO ON"}, .siglent = {":SENS:POW:RF:ATT:AUTO ON"}, .fpc = {":INP:ATT:AUTO ON"}}},
        {"ScpiSetAttenuation -1", With(ScpiSetAttenuation, "-1"),
         {.rigol = {":SENS:POW:RF:ATT:AUTO ON"}, .siglent = {":SENS:POW:RF:ATT:AUTO ON"}, .fpc = {":INP:ATT:AUTO ON"}}},
        {"ScpiSetPreampState", With(ScpiSetPreampState, "ON"),
         {.rigol = {":SENS:POW:GAIN ON"}, .siglent = {":SENS:POW:GAIN ON"}, .hameg = {":MEAS:PAMP ON"},
          .fpc = {":INP:GAIN:STAT ON"}}},
        {"ScpiSetVbwAuto", With(ScpiSetVbwAuto, "OFF"),
         {.rigol = {":SENS:BAND:VID:AUTO OFF"}, .siglent = {":SENS:BWID:VID:AUTO OFF"}, .hameg = {":BAND:VBW:AUTO OFF"},
          .fpc = {":BAND:VID:AUTO OFF"}}},
        {"ScpiSetVbw", With(ScpiSetVbw, "30000"),
         {.rigol = {":SENS:BAND:VID 30000"}, .siglent = {":SENS:BWID:VID 30000"}, .hameg = {":BAND:VBW 30000"},
          .fpc = {":SENS:BWID:VID 30000"}, .fph = L{":SENS:BAND:VID 30000"}}},
        {"ScpiSetSweepTime", With(ScpiSetSweepTime, "0.5"),
         {.rigol = {":SENS:SWE:TIME 0.5"}, .siglent = {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 0.5 s"},
          .hameg = {":SWE:TIME:AUTO OFF", ":SWE:TIME 0.5"}, .fpc = {":SENS:SWE:TIME 0.5"}}},
        {"ScpiSetSweepTimeText auto", With(ScpiSetSweepTimeText, "Auto"),
         {.rigol = {":SENS:SWE:TIME:AUTO ON"}, .siglent = {":SENS:SWE:TIME:AUTO ON"},
          .hameg = {":SENS:SWE:TIME:AUTO ON"}, .fpc = {":SENS:SWE:TIME:AUTO ON"}}},
        {"ScpiSetDetector NEGPEAK", With(ScpiSetDetector, "negpeak"),
         {.rigol = {":SENS:DET:FUNC NEG"}, .siglent = {":SENS:DET:TRAC1 NEG"}, .hameg = {":RMOD:DET PEAK"},
          .fpc = {":SENS:DET:FUNC NEG"}}},
        {"ScpiSetDetector NormaL", With(ScpiSetDetector, "NormaL"),
         {.rigol = {":SENS:DET:FUNC NORM"}, .siglent = {":SENS:DET:TRAC1 NORMAL"}, .hameg = {":RMOD:DET PEAK"},
          .fpc = {":SENS:DET:FUNC POS"}}},
        {"ScpiSetDetector POSPEAK", With(ScpiSetDetector, "POSPEAK"),
         {.rigol = {":SENS:DET:FUNC POS"}, .siglent = {":SENS:DET:TRAC1 POS"}, .hameg = {":RMOD:DET PEAK"},
          .fpc = {":SENS:DET:FUNC POS"}}},
        {"ScpiSetDetector RMS", With(ScpiSetDetector, "RMS"),
         {.rigol = {":SENS:DET:FUNC RMS"}, .siglent = {":SENS:DET:TRAC1 AVER"}, .hameg = {":RMOD:DET RMS"},
          .fpc = {":SENS:DET:FUNC RMS"}}},
        {"ScpiSetDetector SAMP", With(ScpiSetDetector, "SAMP"),
         {.rigol = {":SENS:DET:FUNC SAMP"}, .siglent = {":SENS:DET:TRAC1 SAMP"}, .hameg = {":RMOD:DET PEAK"},
          .fpc = {":SENS:DET:FUNC SAMP"}}},
        {"ScpiSetDetector VAV", With(ScpiSetDetector, "VAV"),
         {.rigol = {":SENS:DET:FUNC VAV"}, .siglent = {":SENS:DET:TRAC1 AVER"}, .hameg = {":RMOD:DET AVG"},
          .fpc = {":SENS:DET:FUNC AVER"}}},
        {"ScpiSetDetector QPEAK", With(ScpiSetDetector, "QPEAK"),
         {.rigol = {":SENS:DET:FUNC QPE"}, .siglent = {":SENS:DET:TRAC1 QUAS"}, .hameg = {":RMOD:DET QPE"},
          .fpc = {":SENS:DET:FUNC QPE"}}},
        {"ScpiSetDetector unknown", With(ScpiSetDetector, "PEAK"), {}},
        {"ScpiRequestTrace", ScpiRequestTrace,
         {.rigol = {":FORM:BORD NORM", ":FORM:TRACE:DATA REAL,32", ":TRAC:DATA? TRACE1"},
          .siglent = {":TRAC1:MODE VIEW", ":FORM:BORD NORM", ":TRACe:DATA? 1"},
          .hameg = {"TRAC:DATA:FORM BIN", ":TRAC:DATA?"}, .fpc = {":FORM:DATA REAL,32", ":TRAC:DATA? TRACE1"}}},
        {"ScpiQueryScanData", ScpiQueryScanData, {.fpc = {":TRAC:DATA?"}}},
        {"ScpiMarkerOff", ScpiMarkerOff,
         {.rigol = {":CALC:MARK1:STAT OFF"}, .siglent = {":CALC:MARK1:STAT OFF"}, .hameg = {":MARK1:STAT OFF"},
          .fpc = {":CALC:MARK1:AOFF"}}},
        {"ScpiMarkerPeak", ScpiMarkerPeak,
         {.rigol = {":CALC:MARK1:STAT ON", ":CALC:MARK1:PEAK:SEAR:MODE MAX", ":CALC:MARK1:MAX:MAX"},
          .siglent = {":CALC:MARK1:TRAC 1", ":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS",
            ":CALC:MARK:PEAK:SEAR:MODE MAX", ":CALC:MARK1:MAX"}, .hameg = {":MARK1:STAT ON", ":MARK1:MAX:PEAK"},
          .fpc = {":CALC:MARK1:MAX:PEAK"}}},
        {"ScpiMarkerReset", ScpiMarkerReset,
         {.rigol = {":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON", ":CALC:MARK1:X 0"},
          .siglent = {":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK1:TRAC 1", ":CALC:MARK1:X 1"},
          .hameg = {":MARK1:STAT ON", ":MARK1:MAX:PEAK"}, .fpc = {":CALC:MARK1:X 0"}}},
        {"ScpiMarkerToFreq", With(ScpiMarkerToFreq, "150000"),
         {.rigol = {":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON"},
          .siglent = {":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK1:TRAC 1"},
          .hameg = {":MARK1:STAT ON", ":MARK1:MAX:PEAK"}, .fpc = {":CALC:MARK1:X 150000 Hz"}}},
        {"ScpiReadFrequency Stop", With(ScpiReadFrequency, FrequencySetting::Stop),
         {.rigol = {":SENS:FREQ:STOP?"}, .siglent = {":SENS:FREQ:STOP?"}, .hameg = {":FREQ:STOP?"},
          .fpc = {":SENS:FREQ:STOP?"}}},
        {"ScpiReadFrequency ScanStart", With(ScpiReadFrequency, FrequencySetting::ScanStart),
         {.fpc = {":SENS:SCAN:STAR?"}}},
        {"ScpiSourceOff", ScpiSourceOff, {.rigol = {":OUTP 0"}, .siglent = {":OUTP 0"}}},
        {"ScpiSourceOn", With(ScpiSourceOn, "-10"),
         {.rigol = {":SOUR:POW:LEV:IMM:AMPL -10", ":OUTP 1"}, .siglent = {":SOUR:POW:LEV:IMM:AMPL -10", ":OUTP 1"}}},
    };
}

} // namespace

TEST(ScpiCommands, EveryOperationSendsTheTextsOfEachFamily)
{
    for (const Row& row : Rows()) {
        for (const Analyser& a : kAnalysers) {
            ScriptedScpi s(a.family, a.model, a.series);
            s.options.OptRsaSamples = 801;
            s.options.OptRsaRefLevelDbm = -25;
            row.call(s.c);
            EXPECT_EQ(s.Sent(), a.expected(row.expected)) << row.operation << " on " << a.name << " of " << a.family;
        }
    }
    // A family without a column would be checked by no row.
    for (const DeviceFamilyCode family : kDeviceFamilies)
        EXPECT_TRUE(std::ranges::any_of(kAnalysers, [&](const Analyser& a) { return a.family == family; }))
            << "no column for family " << family;
}

TEST(ScpiCommands, AFamilyGivenAnothersTextsSendsThem)
{
    using scpiio::SameAs;
    const scpiio::PerFamily texts{.rigol = {"R"}, .siglent = SameAs{dfRigol}, .hameg = SameAs{dfSiglent},
                                  .fpc = SameAs{dfRsFph}, .fph = SameAs{dfRsFpc}};
    ScriptedScpi hameg(dfHameg), ring(dfRsFpc);
    scpiio::SendFor(hameg.c, texts);
    scpiio::SendFor(ring.c, texts);
    EXPECT_EQ(hameg.Sent(), L{"R"});
    EXPECT_TRUE(ring.Sent().isEmpty() && ring.messages.Lines().size() == 1);
}

TEST(ScpiCommands, NothingGoesToAnUnidentifiedDeviceButTheEchoIsKept)
{
    ScriptedScpi s(dfNone);
    for (const Row& row : Rows())
        row.call(s.c);
    EXPECT_FALSE(ScpiSetRbw(s.c, "9000"));
    ScpiSetPreamp(s.c, "ON");
    ScpiSetSegmentSweepTime(s.c, "12.34567");
    EXPECT_FALSE(ScpiReadMarkerLevel(s.c).has_value());
    EXPECT_TRUE(s.Sent().isEmpty());
    const InstrumentSettingsEcho& e = s.device.Echo;
    EXPECT_EQ(e.StartText, "150000"); // the scan start came last and wrote the same field
    EXPECT_EQ(e.StopText, "30000000");
    EXPECT_EQ(e.CenterText, "1000000");
    EXPECT_EQ(e.SpanText, "0");
    EXPECT_EQ(e.RbwText, "9000");
    EXPECT_EQ(e.DetectorText, "PEAK");
    EXPECT_EQ(e.SweepText, "12.345");
    EXPECT_EQ(e.PreAmpText, "OFF"); // follows the main window while the segments do not carry it
}

TEST(ScpiCommands, EchoFieldsAreCutAndKeepTheTextAsGiven)
{
    ScriptedScpi s(dfRsFph);
    ScpiSetDetector(s.c, "NormaL");
    ScpiSetPreampState(s.c, "ONWARD");
    ScpiSetSweepTime(s.c, "0.12345678");
    EXPECT_EQ(s.device.Echo.DetectorText, "NormaL");
    EXPECT_EQ(s.device.Echo.PreAmpText, "ONW");
    EXPECT_EQ(s.device.Echo.SweepText, "0.1234");
    EXPECT_EQ(s.Sent(), (L{":SENS:DET:FUNC POS", ":INP:GAIN:STAT ONWARD", ":SENS:SWE:TIME 0.12345678"}));
}

TEST(ScpiCommands, PreampFollowsTheMainWindowUnlessTheSegmentCarriesIt)
{
    ScriptedScpi s(dfRigol, 815);
    s.device.PreAmpOn = 1;
    ScpiSetPreamp(s.c, "OFF");
    s.device.PreAmpOn = 0;
    ScpiSetPreamp(s.c, "ON");
    s.device.PreAmpPerSegment = 1;
    ScpiSetPreamp(s.c, "ON");
    EXPECT_EQ(s.Sent(), (L{":SENS:POW:GAIN ON", ":SENS:POW:GAIN OFF", ":SENS:POW:GAIN ON"}));
}

TEST(ScpiCommands, RigolDsaBandwidthFollowsTheEmiFilterAnswer)
{
    ScriptedScpi s(dfRigol, 815);
    s.AnswerQueries({"0\n", "1\n", "1\n", "0\n"});
    EXPECT_TRUE(ScpiSetRbw(s.c, "120000"));
    EXPECT_EQ(s.Sent(), (L{":SENS:BAND:EMIF:STAT?", ":SENS:BAND:EMIF:STAT ON", ":SENS:BAND:RES 120000"}));
    EXPECT_TRUE(ScpiSetRbw(s.c, "120000"));
    EXPECT_EQ(s.Sent(), (L{":SENS:BAND:EMIF:STAT?", ":SENS:BAND:RES 120000"}));
    EXPECT_TRUE(ScpiSetRbw(s.c, "10000"));
    EXPECT_EQ(s.Sent(), (L{":SENS:BAND:EMIF:STAT?", ":SENS:BAND:EMIF:STAT OFF", ":SENS:BAND:RES 10000"}));
    EXPECT_TRUE(ScpiSetRbw(s.c, "10000"));
    EXPECT_EQ(s.Sent(), (L{":SENS:BAND:EMIF:STAT?", ":SENS:BAND:RES 10000"}));
    // An answer of nothing but the line end is empty: no bandwidth goes out.
    s.AnswerQueries({"\n"});
    EXPECT_FALSE(ScpiSetRbw(s.c, "9kHz"));
    EXPECT_EQ(s.Sent(), (L{":SENS:BAND:EMIF:STAT?"}));
    EXPECT_EQ(s.device.Echo.RbwText, "9kHz");
}

TEST(ScpiCommands, BandwidthOfTheOtherFamiliesAndTheCisprSet)
{
    struct Case {
        DeviceFamilyCode family;
        int32_t model;
        const char* r;
        bool result;
        L sent;
    };
    const Case cases[] = {
        {dfRigol, 5000, "9kHz", true, {":SENS:BAND:EMIF:STAT ON", ":SENS:BAND:RES 9kHz"}},
        {dfRigol, 5000, "9KHZ", true, {":SENS:BAND:EMIF:STAT OFF", ":SENS:BAND:RES 9KHZ"}},
        {dfSiglent, 0, "200", true, {":SENSe:FILTer:TYPE EMI", ":SENS:BWID:RES 200"}},
        {dfSiglent, 0, "1000", true, {":SENSe:FILTer:TYPE GAUSS", ":SENS:BWID:RES 1000"}},
        {dfHameg, 0, "9kHz", false, {":BAND:RBW C9k"}},
        {dfHameg, 0, "9000", false, {":BAND:RBW C9k"}},
        {dfHameg, 0, "9khz", false, {":BAND:RBW 9khz"}},
        {dfHameg, 0, "120kHz", false, {":BAND:RBW C120k"}},
        {dfHameg, 0, "200", false, {":BAND:RBW C200"}},
        {dfRsFpc, 0, "120000", false, {":SENS:BAND:CISP:AUTO OFF", ":SENS:BAND:RES:CISP 120000"}},
        {dfRsFph, 0, "3000", false, {":SENS:BAND:RES:AUTO OFF", ":SENS:BAND:RES 3000"}},
    };
    for (const Case& k : cases) {
        ScriptedScpi s(k.family, k.model);
        EXPECT_EQ(ScpiSetRbw(s.c, k.r), k.result) << k.r;
        EXPECT_EQ(s.Sent(), k.sent) << k.family << " " << k.r;
    }
}

TEST(ScpiCommands, SiglentQuasiPeakTakesADwellTimePerPoint)
{
    ScriptedScpi s(dfSiglent, 0, 1);
    s.device.TracePoints = 751;
    s.debug.DebugMode = 1;
    s.AnswerQueries({"QUASi\n"});
    ScpiSetSegmentSweepTime(s.c, "0.5");
    EXPECT_EQ(s.Sent(), (L{":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO ON", ":QPD:DWEL:TIME 1 ms"}));
    EXPECT_EQ(s.device.Echo.SweepText, "~0.5");
    EXPECT_TRUE(s.debug.Lines().contains("T: Sweep Time: 0.5 sec"));
    EXPECT_TRUE(s.debug.Lines().contains("T: rd det =QUASi"));

    // 3.0 s over 751 points is 3.9947 ms: 4. A text that is no number counts as 1 s: 1.33 ms.
    s.AnswerQueries({"QUASi\n", "POSitive\n", "QUASi\n"});
    ScpiSetSegmentSweepTime(s.c, "3.0");
    ScpiSetSegmentSweepTime(s.c, "0.25");
    ScpiSetSegmentSweepTime(s.c, "abc");
    EXPECT_EQ(s.Sent(), (L{":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO ON", ":QPD:DWEL:TIME 4 ms",
                           ":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 0.25s",
                           ":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO ON", ":QPD:DWEL:TIME 1 ms"}));
    // "~" and a long time: the echo stays at 6 characters.
    EXPECT_EQ(s.device.Echo.SweepText, "~abc");
    s.AnswerQueries({"QUASi\n"});
    ScpiSetSegmentSweepTime(s.c, "1.23456");
    EXPECT_EQ(s.device.Echo.SweepText, "~1.234");
}

TEST(ScpiCommands, DwellRoundsHalvesToEvenOverTheModelsPoints)
{
    // 751 * 2.5 ms = 1.8775 s gives exactly 2.5 ms, 751 * 3.5 ms = 2.6285 s 3.5 ms; 10.01 s is 10 ms a
    // point over 1001 points, 13 over 751.
    const std::tuple<const char*, int, int> cases[] = {{"1.8775", 751, 2}, {"2.6285", 751, 4}, {"0.5", 751, 1},
                                                       {"nan", 751, 1},    {"10.01", 1001, 10}, {"10.01", 751, 13}};
    for (const auto& [time, points, ms] : cases)
        EXPECT_EQ(scpi::QuasiPeakDwellMs(time, points), ms) << time << " over " << points;
}

TEST(ScpiCommands, SweepTimeTextTakesCommasAndTheExactQuasiPeakAnswer)
{
    ScriptedScpi fpc(dfRsFpc);
    ScpiSetSweepTimeText(fpc.c, "1,5");
    EXPECT_EQ(fpc.Sent(), (L{":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 1.5"}));
    EXPECT_EQ(fpc.device.Echo.SweepText, "");

    ScriptedScpi sva(dfSiglent, 0, 2);
    // Only the exact answer "QUASi" counts here; "QUASI" does not.
    sva.AnswerQueries({"QUASi\n", "QUASI\n"});
    ScpiSetSweepTimeText(sva.c, "0,5");
    ScpiSetSweepTimeText(sva.c, "0,5");
    EXPECT_EQ(sva.Sent(), (L{":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO ON", ":QPD:DWEL:TIME 1ms",
                             ":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 0.5 s"}));
}

TEST(ScpiCommands, SegmentSweepTimeOfTheOtherFamilies)
{
    const std::pair<DeviceFamilyCode, L> cases[] = {{dfRigol, {":SENS:SWE:TIME 0.1"}},
                                           {dfHameg, {":SWE:TIME:AUTO OFF", ":SWE:TIME 0.1"}},
                                           {dfRsFpc, {":SENS:SWE:TIME 0.1"}},
                                           {dfRsFph, {":SENS:SWE:TIME 0.1"}}};
    for (const auto& [family, sent] : cases) {
        ScriptedScpi s(family);
        ScpiSetSegmentSweepTime(s.c, "0.1");
        EXPECT_EQ(s.Sent(), sent) << family;
    }
}

TEST(ScpiCommands, ReceiverWaitsInTheDbuvSetUp)
{
    ScriptedScpi fpc(dfRsFpc);
    const uint32_t t0 = fpc.pump.TickCount();
    ScpiSetupDbuv(fpc.c);
    EXPECT_EQ(fpc.pump.TickCount() - t0, 2000u);
    ScriptedScpi fph(dfRsFph);
    ScpiSetupDbuv(fph.c);
    EXPECT_EQ(fph.pump.TickCount(), 4000u);
}

TEST(ScpiCommands, MarkerLevelsPerFamily)
{
    ScriptedScpi sig(dfSiglent, 0, 1);
    sig.AnswerQueries({"-40.5\n"});
    EXPECT_EQ(ScpiReadMarkerLevel(sig.c), QString("66.48"));
    EXPECT_EQ(sig.Sent(), (L{":CALC:MARK1:Y?"}));

    ScriptedScpi rsa(dfRigol, 5000);
    rsa.AnswerQueries({"-6.98\n", "-16.98\n"});
    EXPECT_EQ(ScpiReadMarkerLevelSweep(rsa.c), QString("100"));
    EXPECT_EQ(rsa.pump.TickCount(), 100u);
    EXPECT_EQ(ScpiReadMarkerLevel(rsa.c), QString("90"));
    EXPECT_EQ(rsa.pump.TickCount(), 100u);

    ScriptedScpi hameg(dfHameg);
    hameg.AnswerQueries({"4.50E+01\n"});
    EXPECT_EQ(ScpiReadMarkerLevel(hameg.c), QString("45"));
    EXPECT_EQ(hameg.Sent(), (L{":MARK1:LEV?"}));

    ScriptedScpi dsa(dfRigol, 815);
    dsa.AnswerQueries({"5.123400e+01\n"});
    EXPECT_EQ(ScpiReadMarkerLevelSweep(dsa.c), QString("5.123400e+01"));

    ScriptedScpi fpc(dfRsFpc);
    fpc.AnswerQueries({"33.5\n", "34.5\n"});
    EXPECT_EQ(ScpiReadMarkerLevelSweep(fpc.c), QString("33.5"));
    EXPECT_EQ(fpc.Sent(), (L{":INIT;*WAI", ":CALC:MARK1:Y?"}));
    EXPECT_EQ(ScpiReadMarkerLevel(fpc.c), QString("34.5"));
    EXPECT_EQ(fpc.Sent(), (L{":CALC:MARK1:Y?"}));

    ScriptedScpi fph(dfRsFph);
    fph.AnswerQueries({"12.25\n"});
    EXPECT_EQ(ScpiReadMarkerLevelSweep(fph.c), QString("12.25"));
    EXPECT_EQ(fph.Sent(), (L{":INIT;*WAI", ":TRACE:DATA?"}));
}

TEST(ScpiCommands, AFailedOrNonNumericLevelReadIsNoValue)
{
    // A timed-out read used to come back as "0" and, with the dBm offset, as 106.98 dBuV.
    for (const DeviceFamilyCode family : kDeviceFamilies) {
        ScriptedScpi s(family, 0, 1);
        EXPECT_FALSE(ScpiReadMarkerLevel(s.c).has_value()) << family;
        EXPECT_FALSE(ScpiReadMarkerLevelSweep(s.c).has_value()) << family;
        ASSERT_EQ(s.messages.Lines().size(), 2) << family;
        EXPECT_EQ(s.messages.Lines()[0], "Warning: no marker level from the analyser");
    }
    ScriptedScpi rsa(dfRigol, 5000);
    rsa.AnswerQueries({"nan\n", "\n", "-1.5dBm\n", "0\n"});
    EXPECT_FALSE(ScpiReadMarkerLevel(rsa.c).has_value());
    EXPECT_FALSE(ScpiReadMarkerLevel(rsa.c).has_value());
    EXPECT_FALSE(ScpiReadMarkerLevel(rsa.c).has_value());
    // A real answer "0" (dBm) is a level.
    EXPECT_EQ(ScpiReadMarkerLevel(rsa.c), QString("106.98"));
    EXPECT_EQ(rsa.messages.Lines().value(0), "Error: the analyser sent a level of nan dBm; the marker level is refused");
    EXPECT_EQ(rsa.messages.Lines().size(), 3);

    // A level or frequency no analyser reports is refused with a line naming it, in the unit answered.
    ScriptedScpi sig(dfSiglent, 0, 1);
    sig.AnswerQueries({"1e308\n", "199.5\n", "2e12\n", "-150\n", "-150\n"});
    bool impossible = false;
    EXPECT_TRUE(!ScpiReadMarkerLevelSweep(sig.c, &impossible) && impossible);
    EXPECT_TRUE(ScpiReadMarkerLevel(sig.c, &impossible) == QString("306.48") && !impossible);
    EXPECT_TRUE(!ScpiReadMarkerFreq(sig.c, &impossible) && impossible);
    sig.device.DeviceFamily = dfRsFpc;
    ScpiSetupDbm(sig.c);
    EXPECT_EQ(ScpiReadMarkerLevel(sig.c), QString("-150"));
    ScpiSetupDbuv(sig.c);
    EXPECT_TRUE(!ScpiReadMarkerLevel(sig.c) && ScpiLevelPossible(sig.c, "no", "level") &&
                !ScpiLevelPossible(sig.c, "-1e308", "level"));
    EXPECT_EQ(sig.messages.Lines(), L({"Error: the analyser sent a level of 1e+308 dBm; the marker level is refused",
                                       "Error: the analyser sent a frequency of 2e+12 Hz; the marker frequency is refused",
                                       "Error: the analyser sent a level of -257 dBm; the marker level is refused",
                                       "Error: the analyser sent a level of -1e+308 dBm; the level is refused"}));
}

TEST(ScpiCommands, LevelTextsUseThePointWhateverTheMark)
{
    SetDecimalSeparator(QLatin1Char(','));
    ScriptedScpi sig(dfSiglent, 0, 2);
    sig.AnswerQueries({"-40.25\n"});
    EXPECT_EQ(ScpiReadMarkerLevel(sig.c), QString("66.73"));
    EXPECT_EQ(DecimalSeparator(), QLatin1Char('.'));
}

TEST(ScpiCommands, MarkerFrequencyAndSweepTime)
{
    ScriptedScpi sig(dfSiglent, 0, 1);
    sig.AnswerQueries({"1.5e+06\n", "0.25\n"});
    EXPECT_EQ(ScpiReadMarkerFreq(sig.c), QString("1.5e+06"));
    EXPECT_EQ(ScpiReadSweepTime(sig.c), QString("0.25"));
    EXPECT_EQ(sig.Sent(), (L{":CALC:MARK1:X:READ FREQ", ":CALC:MARK1:X?", ":SENS:SWE:TIME?"}));

    ScriptedScpi rsa(dfRigol, 5000);
    rsa.AnswerQueries({"150000\n", "0.1\n"});
    // The RSA reads keep the line end.
    EXPECT_EQ(ScpiReadMarkerFreq(rsa.c), QString("150000\n"));
    EXPECT_EQ(ScpiReadSweepTime(rsa.c), QString("0.1\n"));

    ScriptedScpi hameg(dfHameg);
    hameg.AnswerQueries({"2000\n", "0.2\n"});
    EXPECT_EQ(ScpiReadMarkerFreq(hameg.c), QString("2000"));
    EXPECT_EQ(ScpiReadSweepTime(hameg.c), QString("0.2"));
    EXPECT_EQ(hameg.Sent(), (L{":MARK1:FREQ?", ":SWE:TIME?"}));

    // A frequency setting read back: what no analyser tunes to is none.
    ScriptedScpi dsa(dfRigol, 815);
    dsa.AnswerQueries({"1.5e+09\n", "5e12\n", "nan\n", "1.5GHz\n"});
    EXPECT_EQ(ScpiReadFrequency(dsa.c, FrequencySetting::Center), 1.5e9);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(ScpiReadFrequency(dsa.c, FrequencySetting::Start).has_value()) << i;

    ScriptedScpi fph(dfRsFph);
    EXPECT_FALSE(ScpiReadMarkerFreq(fph.c).has_value());
    EXPECT_FALSE(ScpiReadSweepTime(fph.c).has_value());
    EXPECT_EQ(fph.Sent(), (L{":CALC:MARK1:X?", ":SENS:SWE:TIME?"}));
}
