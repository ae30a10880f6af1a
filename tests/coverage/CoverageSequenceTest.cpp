// "Init SA" and one logging tick against the simulated analyser of every family: the commands
// the simulator logged, in order, the virtual time the tick waited, and the levels it filed,
// which must be what the analyser's marker answered at each frequency.
#include "CoverageRig.h"

#include <QRegularExpression>
#include <functional>

namespace {

using L = QStringList;

struct FamilyCase {
    const char* sim;
    L init; // after preset and the first dBm set-up
    std::function<L(const QString& f)> tick; // per frequency
    uint32_t tickMs; // virtual time of a tick at 1.4 s sweeps
};

L Concat(std::initializer_list<L> parts)
{
    L out;
    for (const L& p : parts)
        out += p;
    return out;
}

const L kRigolDbm = {
    "*CLS", ":UNIT:POW DBM", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF", ":SENS:SWE:TIME:AUTO OFF"};
const L kRigolTail = {":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF"};
const L kRigolEnd = {":SENS:DET:FUNC POS", ":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 1.4",
    ":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON", ":INIT:CONT 0"};
const L kSiglentDbm = {"*CLS", ":UNIT:POW DBM", ":SENS:CAL:STAT OFF", ":SENSe:MODE SWEep"};
const L kHamegDbm = {"*CLS", ":AMPL:UNIT dBm", ":SWE:TIME:AUTO OFF"};
const L kFpcDbm = {"*CLS", ":UNIT:POW DBM", ":SWE:TIME:AUTO OFF", ":INST:SEL SAN", ":INST:SEL SPEC"};
const L kFphDbm = {"*CLS", ":UNIT:POW DBM", ":SWE:TIME:AUTO OFF", ":INST:SEL SPECTRUM"};

L RsInit(const L& dbm)
{
    return Concat({{":SYST:PRES"}, dbm,
        {":SENS:FREQ:SPAN 20000", ":SENS:BAND:CISP:AUTO OFF", ":SENS:BAND:RES:CISP 9000", ":INP:ATT 10",
            ":INP:GAIN:STAT OFF"},
        dbm,
        {":SENS:DET:FUNC POS", ":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 1.4", ":CALC:MARK1:X 140000000 Hz",
            ":INIT:CONT 0"}});
}

L RsTick(const QString& f)
{
    return {":SENS:FREQ:CENT " + f + " Hz", ":SENS:FREQ:CENT?", ":CALC:MARK1:X " + f + " Hz", ":INIT:IMM", ":SENS:SWE:TIME?",
        ":CALC:MARK1:Y?"};
}

const FamilyCase kFamilies[] = {
    {"dsa815",
        Concat({{":SYST:PRES:TYPE FACT", ":SYST:PRES"}, kRigolDbm,
            {":SENS:FREQ:SPAN 20000", ":SENS:BAND:EMIF:STAT?", ":SENS:BAND:EMIF:STAT ON",
                ":SENS:BAND:RES 9000"},
            kRigolTail, kRigolDbm, kRigolEnd}),
        [](const QString& f) {
            return L {":SENS:FREQ:CENT " + f, ":SENS:FREQ:CENT?", ":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON", ":INIT:IMM",
                ":SENS:SWE:TIME?", ":CALC:MARK1:Y?"};
        },
        3 * (1400 + 50)},
    {"rsa5065",
        Concat({{":SYST:PRES:TYPE FACT", ":SYST:PRES", ":INST:SEL SA", ":CONF:SAN", ":SENS:SWE:POIN 601"},
            kRigolDbm, {":SENS:FREQ:SPAN 20000", ":SENS:BAND:EMIF:STAT ON", ":SENS:BAND:RES 9000"},
            kRigolTail, kRigolDbm, kRigolEnd}),
        [](const QString& f) {
            return L {":SENS:FREQ:CENT " + f, ":SENS:FREQ:CENT?", ":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON", ":INIT:CONT 1",
                ":INIT:IMM", ":SENS:SWE:TIME?", ":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON",
                ":CALC:MARK1:Y?"};
        },
        3 * (1000 + 1400 + 50 + 2000)},
    {"ssa3032x",
        Concat({{":SYST:PRESet"}, kSiglentDbm,
            {":SENS:FREQ:SPAN 20000 Hz", ":SENSe:FILTer:TYPE EMI", ":SENS:BWID:RES 9000",
                ":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF"},
            kSiglentDbm,
            {":SENS:DET:TRAC1 POS", ":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO OFF",
                ":SENS:SWE:TIME 1.4 s", ":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS", ":CALC:MARK1:TRAC 1",
                ":INIT:CONT 0"}}),
        [](const QString& f) {
            return L {":SENS:FREQ:CENT " + f + " Hz", ":SENS:FREQ:CENT?", ":CALC:MARK1:STAT ON", ":CALC:MARK1:MODE POS",
                ":CALC:MARK1:TRAC 1", ":TRAC1:MODE WRIT", ":INIT:IMM", ":SENS:SWE:TIME?", ":CALC:MARK1:Y?"};
        },
        3 * (1400 + 50 + 500)},
    {"hms3010",
        Concat({{":SYST:PRES"}, kHamegDbm, {":FREQ:SPAN 20000", ":BAND:RBW C9k", ":MEAS:PAMP OFF"}, kHamegDbm,
            {":RMOD:DET PEAK", ":SWE:TIME:AUTO OFF", ":SWE:TIME 1.4", ":MARK1:STAT ON", ":MARK1:MAX:PEAK"}}),
        [](const QString& f) {
            return L {":FREQ:CENT " + f, ":FREQ:CENT?", ":SWE:MODE SING", ":SWE:TIME?", ":MARK1:LEV?"};
        },
        3 * (1400 + 50)},
    {"fpc1000", RsInit(kFpcDbm), RsTick, 3 * (1400 + 50)},
    {"fph", RsInit(kFphDbm), RsTick, 3 * (1400 + 50)},
};

} // namespace

TEST(CoverageSequence, InitAndTickPerFamily)
{
    const QString freqs[3] = {"140000000", "146000000", "148000000"};
    for (const FamilyCase& fc : kFamilies) {
        SCOPED_TRACE(fc.sim);
        CoverageRig r(fc.sim);
        CoverageView& v = *r.view;
        v.Grid().SetValue(coveragegrid::kSweep, "1400");
        v.InitAnalyser();
        EXPECT_EQ(r.Logged(), fc.init);
        EXPECT_EQ(v.Fields().Freq[1], freqs[1]);
        EXPECT_EQ(v.Fields().TickErrors, "0");

        r.Probe();
        const uint32_t before = r.pump.TickCount();
        v.Tick();
        EXPECT_EQ(r.pump.TickCount() - before, fc.tickMs);
        L expected;
        for (const QString& f : freqs)
            expected += fc.tick(f);
        EXPECT_EQ(r.Logged(), expected);
        // The line quotes the analyser's answer as it came (Rigol and Siglent answer "1.400000e+00").
        const QStringList waits = r.debug.Lines().filter(QRegularExpression("^T: FREQ C: waiting: .* sec$"));
        ASSERT_EQ(waits.size(), 1);
        EXPECT_DOUBLE_EQ(waits[0].section(' ', 4, 4).toDouble(), 1.4);
        for (int x = 0; x < 3; ++x) {
            ASSERT_TRUE(r.probed.contains(freqs[x].toDouble()));
            const double marker = r.probed[freqs[x].toDouble()];
            // Fixed with 2 decimals of the value rounded to 4 significant digits.
            EXPECT_EQ(
                v.Fields().Level[x], QString::number(QString::number(marker, 'g', 4).toDouble(), 'f', 2))
                << x;
            EXPECT_NEAR(v.Chart().Level[x].GetPointY(0), marker, 1e-9) << x;
        }
        EXPECT_EQ(v.Globals().CoverageTickBusy, 0);
        EXPECT_TRUE(r.dialogs.isEmpty()) << r.dialogs.join("|").toStdString();
    }
}
