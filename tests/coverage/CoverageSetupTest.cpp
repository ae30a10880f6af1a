// The view's controls apart from logging: the level axis rows of the grid, the correction tables
// and what "Get Cor Data" reads from them, the master log's deletion, and the calculators.
#include "CoverageRig.h"

#include "chart/canvas/PlotColor.h"
#include "coverage/CoverageCalculators.h"

using namespace coveragegrid;

// Frequency rows too: one no analyser tunes to is "not valid" with one line, never sent as typed.
TEST(CoverageSetup, AxisRowsTakeWholeNumbersOnTheRightSideOfTheOtherLimit)
{
    CoverageRig r("dsa815");
    CoverageView& v = *r.view;
    const struct {
        const QString& key;
        const char* text;
        const char* cell;
        double min, max;
    } edits[] = {
        {kLow, "-120", "-120", -120, -10},
        {kLow, "0", "not valid", -120, -10},
        {kLow, "-67.5", "not valid", -120, -10},
        {kLow, "", "", -120, -10},
        {kHigh, "-130", "not valid", -120, -10},
        {kHigh, "5", "5", -120, 5},
        {kHigh, "1.000", "not valid", -120, 5},
        {kHigh, "2000000000", "not valid", -120, 5},
        {kFreqA, "1e308", "not valid", -120, 5},
        {kFreqB, "-5", "not valid", -120, 5},
        {kFreqC, "145,5e6", "145,5e6", -120, 5},
    };
    for (const auto& e : edits) {
        v.Grid().SetValue(e.key, e.text);
        v.GridValueEdited(e.key);
        EXPECT_EQ(v.Grid().Value(e.key), e.cell) << e.text;
        EXPECT_EQ(v.Chart().LeftMinimum, e.min) << e.text;
        EXPECT_EQ(v.Chart().LeftMaximum, e.max) << e.text;
    }
    EXPECT_EQ(r.messages.Lines(), QStringList({"Warning: \"Freq A[Hz]\" 1e308 lies outside 0..1e+12 Hz and is not measured",
                                               "Warning: \"Freq B[Hz]\" -5 lies outside 0..1e+12 Hz and is not measured"}));
}

TEST(CoverageSetup, ShippedCorrectionsLoadAndGetCorDataReadsThem)
{
    CoverageRig r("dsa815");
    r.CopyShippedTables();
    CoverageView& v = *r.view;
    v.Grid().SetValue(kFreqB, "146,0e6");
    v.ShowCorrectionData();
    EXPECT_EQ(r.gps.View.Memo,
        QStringList(
            {"A      B       C", "Cable 0.00 0.00 0.00", "Amp   0.00 0.00 0.00", "Ant    0.00 0.00 0.00"}));

    const struct {
        const QString& key;
        const char* file;
        TChartSeries& series;
    } tables[] = {{kCableCor, "cable_rg58_5m.cac", v.Chart().Cable},
        {kAmpCor, "preamp_20db.amp", v.Chart().Amplifier},
        {kAntCor, "antenna_biconilog.ant", v.Chart().Antenna}};
    for (const auto& t : tables) {
        v.Grid().SetValue(t.key, t.file);
        v.GridValueEdited(t.key);
        ASSERT_GT(t.series.Count(), 1000) << t.file;
        EXPECT_EQ(t.series.GetValueColor(0), clWhite);
        EXPECT_TRUE(r.debug.Lines().contains(QStringLiteral("T: file selected: .\\src\\") + t.file));
    }
    v.Grid().SetValue(kFreqC, "none");
    r.gps.View.Memo.clear();
    v.ShowCorrectionData();
    // The corners around 140 to 148 MHz, on straight lines: cable 100 MHz -0.8 dB to 200 MHz
    // -1.16 dB, antenna 9.21 to 12.23 dB/m, amplifier 20 dB flat.
    EXPECT_EQ(r.gps.View.Memo,
        QStringList(
            {"A      B       C", "Cable -0.94 -0.97 --", "Amp   20.00 20.00 --", "Ant    10.42 10.60 --"}));

    // "none" empties the series again: nothing is corrected for it.
    v.Grid().SetValue(kAntCor, "none");
    v.GridValueEdited(kAntCor);
    EXPECT_EQ(v.Chart().Antenna.Count(), 0);
}

TEST(CoverageSetup, MasterLogfileIsDeletedOnlyOnOk)
{
    CoverageRig r("dsa815");
    CoverageView& v = *r.view;
    v.ClearMasterLogfile();
    EXPECT_TRUE(r.host.questions.isEmpty()); // no file, no question
    r.gps.View.Display.Speed = "5";
    v.Tick();
    r.host.answer = false;
    v.ClearMasterLogfile();
    EXPECT_EQ(r.host.questions, QStringList({"Delete master log file"}));
    EXPECT_EQ(r.Table().count("\r\n"), 2);
    r.host.answer = true;
    v.ClearMasterLogfile();
    EXPECT_FALSE(QFile::exists(r.dir.filePath("out/coverage.txt")));
    v.Tick();
    EXPECT_TRUE(r.Table().startsWith("Index;Fix;"));
    EXPECT_EQ(r.Table().count("\r\n"), 2);
}

TEST(CoverageCalculators, ResolutionAndPoints)
{
    EXPECT_EQ(CalcDriveResolution("2000", "30"), "16.67");
    EXPECT_EQ(CalcDrivePoints("40", "2000", "30"), "2400");
    EXPECT_EQ(CalcDriveResolution("1500", "36,5"), "15.21");
    EXPECT_EQ(CalcDrivePoints("10.5", "1000", "36"), "1050");
    EXPECT_EQ(CalcDriveResolution("2000", "0"), "0.00");
    EXPECT_EQ(CalcDrivePoints("40", "2000", "0"), "");
    EXPECT_EQ(CalcDrivePoints("40", "0", "30"), "");
    for (const char* bad : {"", "x", "30 km"}) {
        EXPECT_EQ(CalcDriveResolution("2000", bad), "") << bad;
        EXPECT_EQ(CalcDrivePoints(bad, "2000", "30"), "") << bad;
    }
}
