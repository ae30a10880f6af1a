// The reference-level spin button against the analyser simulator: the commands it receives, the
// level it is left at and the option that remembers it; and the log window's mode buttons.
#include "app/NumberText.h"
#include "instrument/PanelCommands.h"
#include "instrument/ReferenceLevel.h"
#include "instrument/SimScpiFixture.h"

namespace {

struct SimAnalyser : ::testing::Test {
    SimScpi s{QStringLiteral("rsa5065")};

    SimAnalyser()
    {
        EXPECT_TRUE(s.Connect().Identified);
        s.debug.DebugMode = 1;
    }
};

} // namespace

TEST_F(SimAnalyser, ArrowsStepTheLevelByTenWithAPointWhateverTheProcessMark)
{
    ScpiWrite(s.visa, s.debug, "DISP:WIND:TRAC:Y:RLEV -22.5");
    s.Logged();
    // The main chart's repaint leaves "," as the process mark.
    ScopedDecimalSeparator comma(QLatin1Char(','));
    int32_t option = s.options.OptRsaRefLevelDbm;

    EXPECT_EQ(StepReferenceLevel(s.c, option, RefLevelArrow::Down), -12.5);
    EXPECT_EQ(s.Logged(), (QStringList{":UNIT:POW DBM", "DISP:WIND:TRAC:Y:RLEV?", "DISP:WIND:TRAC:Y:RLEV -12.5",
                                       ":UNIT:POW DBUV"}));
    EXPECT_EQ(option, -12);
    EXPECT_TRUE(s.debug.Lines().contains("T: @UPDOWNCLICKRLEVEL -22.5"));

    EXPECT_EQ(StepReferenceLevel(s.c, option, RefLevelArrow::Up), -22.5);
    EXPECT_EQ(StepReferenceLevel(s.c, option, RefLevelArrow::Up), -32.5);
    EXPECT_EQ(s.Logged().at(6), "DISP:WIND:TRAC:Y:RLEV -32.5");
    EXPECT_EQ(option, -32);
    EXPECT_EQ(s.sim->Instrument().Settings().unit, "DBUV");
    EXPECT_EQ(ReferenceLevelCommand(-20.3 + 10), "DISP:WIND:TRAC:Y:RLEV -10.3");
}

TEST_F(SimAnalyser, AnAnswerThatIsNoNumberSendsOnlyTheUnits)
{
    ScpiWrite(s.visa, s.debug, "DISP:WIND:TRAC:Y:RLEV OFF");
    s.Logged();
    int32_t option = 7;
    EXPECT_FALSE(StepReferenceLevel(s.c, option, RefLevelArrow::Down));
    EXPECT_EQ(s.Logged(), (QStringList{":UNIT:POW DBM", "DISP:WIND:TRAC:Y:RLEV?", ":UNIT:POW DBUV"}));
    EXPECT_EQ(option, 7);
    ScpiWrite(s.visa, s.debug, "DISP:WIND:TRAC:Y:RLEV 1e308"); // nor does a level no analyser shows
    EXPECT_FALSE(StepReferenceLevel(s.c, option, RefLevelArrow::Down) || option != 7);
    EXPECT_EQ(s.messages.Lines(), QStringList{"Error: the analyser sent a reference level of 1e308 dBm; "
                                              "the reference level is refused"});
}

TEST_F(SimAnalyser, TheModeButtonsReachOnlyAConnectedInstrument)
{
    s.Logged();
    SelectInstrumentMode(s.visa, s.debug, s.device, InstrumentMode::Spectrum);
    SelectInstrumentMode(s.visa, s.debug, s.device, InstrumentMode::Receiver);
    EXPECT_EQ(s.Logged(), (QStringList{":INST:SEL SAN", ":INST:SEL REC"}));
    // The session is still open; only the device's state says it is no longer connected.
    s.device.DeviceConnected = 0;
    SelectInstrumentMode(s.visa, s.debug, s.device, InstrumentMode::Spectrum);
    EXPECT_EQ(s.Logged(), QStringList());
}
