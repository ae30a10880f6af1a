// CSV export of the main chart's curves.
#include "chart/engine/ChartSeries.h"
#include "common/TestSupport.h"
#include "reports/CsvExport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CsvFixture : ::testing::Test {
    TChartSeries corrected1, corrected2, raw1, master;
    MainChartSeries series;
    CsvTicks ticks{};

    void SetUp() override
    {
        series[SeriesRole::correctedTrace1] = &corrected1;
        series[SeriesRole::correctedTrace2] = &corrected2;
        series[SeriesRole::rawTrace1] = &raw1;
        series[SeriesRole::masterCorrection] = &master;
        corrected1.AddPointXY(150, 45.2);
        corrected1.AddPointXY(30000.5, -3.125);
        corrected2.AddPointXY(9, 1e-3);
    }
};

} // namespace

TEST_F(CsvFixture, DefaultsAndShorterCurves)
{
    ticks[0] = ticks[1] = true;   // "Data Seg 1", "Data Seg 2"
    EXPECT_EQ(CsvText(series, ticks, {}),
              "\"Seg1_Freq[Hz]\";\"Level[dBuV]\";\"Seg2_Freq[Hz]\";\"Level[dBuV]\"\r\n"
              "\"150000\";\"45,20\";\"9000\";\"0,00\"\r\n"
              "\"30000500\";\"-3,12\";\"\";\"\"\r\n");
    // Ticked but empty, and the debug-only master curve, which has its header pair.
    ticks = {};
    ticks[2] = ticks[10] = true;
    master.AddPointXY(0.004, 1.005);
    EXPECT_EQ(CsvText(series, ticks, {'|', "", '.'}),
              "Raw1_Freq[Hz]|Level[dBuV]|Master_Freq[Hz]|Level[dB]\r\n||4|1.00\r\n");
}

TEST_F(CsvFixture, NothingTickedGivesTwoEmptyLines)
{
    EXPECT_EQ(CsvText(series, ticks, {}), "\r\n\r\n");
}

TEST_F(CsvFixture, FieldsStaySeparable)
{
    ticks[0] = true;
    // Without an enclosure a comma separator and a comma decimal mark would run together.
    EXPECT_EQ(CsvText(series, ticks, {',', "", ','}),
              "Seg1_Freq[Hz],Level[dBuV]\r\n150000,\"45,20\"\r\n30000500,\"-3,12\"\r\n");
    EXPECT_EQ(CsvText(series, ticks, {' ', "", '.'}),
              "Seg1_Freq[Hz] Level[dBuV]\r\n150000 45.20\r\n30000500 -3.12\r\n");
}

TEST_F(CsvFixture, WritesAndKeepsTheOldFileOnFailure)
{
    QTemporaryDir dir;
    ticks[1] = true;
    ASSERT_TRUE(WriteCsvFile(dir.filePath("a.csv"), series, ticks, {}));
    EXPECT_EQ(testsupport::ReadAll(dir.filePath("a.csv")), "\"Seg2_Freq[Hz]\";\"Level[dBuV]\"\r\n\"9000\";\"0,00\"\r\n");
    QString error;
    EXPECT_FALSE(WriteCsvFile(dir.filePath("none/a.csv"), series, ticks, {}, &error));
    EXPECT_FALSE(error.isEmpty());
}
