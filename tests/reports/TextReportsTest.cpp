// Peaks and messages reports, the WMF export's chart state, and reloading the project files.
#include "app/Log.h"
#include "common/TestSupport.h"
#include "datafiles/DataFilePaths.h"
#include "tests/reports/ReportChart.h"
#include "reports/TextReports.h"

#include <QDir>
#include <QStringListModel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TextReportsTest, PeaksAndMessagesReports)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("peaks.txt");
    ASSERT_TRUE(SavePeaksReport(file, {}, {}, nullptr));
    const QString date = datafiles::DataFileDateText().left(8);   // no seconds: they may tick over
    QByteArray text = testsupport::ReadAll(file);
    EXPECT_TRUE(text.startsWith("Zendrik Pre-Compliance Peaks Report " + date.toUtf8())) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\r\n\r\npeaks set1:\r\nno peaks found\r\npeaks set2:\r\nno peaks found\r\n"));
    EXPECT_EQ(text.count("\r\n"), 6);
    QStringListModel set2(QStringList{"1  150.00kHz 48.10dBuV", "2  µ"});
    EXPECT_EQ(PeaksReportLines({"a"}, ModelLines(set2), "d"),
              QStringList({"Zendrik Pre-Compliance Peaks Report d", "", "peaks set1:", "a", "peaks set2:",
                           "1  150.00kHz 48.10dBuV", "2  µ"}));

    MessageLog empty;
    ASSERT_TRUE(SaveMessagesReport(file, empty, "V1 (build 2)", nullptr));
    text = testsupport::ReadAll(file);
    EXPECT_TRUE(text.startsWith("Zendrik Messages " + date.toUtf8()));
    EXPECT_TRUE(text.endsWith("\r\nV1 (build 2)\r\n\r\n"));
    EXPECT_EQ(text.count("\r\n"), 3);
    EXPECT_EQ(MessagesReportLines({"Info: a"}, "v", "d"), QStringList({"Zendrik Messages d", "v", "", "Info: a"}));
    ASSERT_TRUE(WriteTextReport(file, {"Info: µ"}, nullptr));
    EXPECT_EQ(testsupport::ReadAll(file), "Info: \xc2\xb5\r\n");   // UTF-8

    MessageLog log;
    EXPECT_FALSE(WriteTextReport(dir.filePath("no/x.txt"), {"x"}, &log));
    ASSERT_EQ(log.Lines().size(), 1);
    EXPECT_TRUE(log.Lines()[0].startsWith("Error: " + dir.filePath("no/x.txt") + ": "));
    EXPECT_EQ(testsupport::ReadAll(file), "Info: \xc2\xb5\r\n");
}

TEST(TextReportsTest, WmfExportRestoresTheChartOnEveryPath)
{
    reportstest::ReportChart chart;
    chart.SetColor(clSkyBlue);
    chart.SetBevelOuter(bvLowered);
    QTemporaryDir dir;
    MessageLog log;
    TColor drawnIn = clNone;
    chart.OnAfterDraw = [&] { drawnIn = chart.Color(); };
    ASSERT_TRUE(SaveChartWmf(chart, dir.filePath("c.wmf"), &log));
    EXPECT_EQ(drawnIn, clSkyBlue);   // drawn again after the export
    EXPECT_GT(testsupport::ReadAll(dir.filePath("c.wmf")).size(), 22);
    EXPECT_EQ(chart.Color(), clSkyBlue);
    EXPECT_EQ(chart.BevelOuter(), bvLowered);

    // The metafile itself was drawn on white.
    TColor inMetafile = clNone;
    chart.OnAfterDraw = [&] {
        if (chart.Canvas().Metafiling)
            inMetafile = chart.Color();
    };
    ASSERT_TRUE(SaveChartWmf(chart, dir.filePath("c.wmf"), &log));
    EXPECT_EQ(inMetafile, clWhite);

    chart.OnAfterDraw = [] { throw std::runtime_error("drawing failed"); };
    EXPECT_FALSE(SaveChartWmf(chart, dir.filePath("d.wmf"), &log));
    chart.OnAfterDraw = {};
    EXPECT_FALSE(SaveChartWmf(chart, dir.filePath("no/e.wmf"), &log));
    ASSERT_EQ(log.Lines().size(), 2);
    EXPECT_TRUE(log.Lines()[0].endsWith(": drawing failed")) << log.Lines()[0].toStdString();
    EXPECT_TRUE(log.Lines()[1].startsWith("Error: "));
    EXPECT_EQ(chart.Color(), clSkyBlue);
    EXPECT_EQ(chart.BevelOuter(), bvLowered);
}

TEST(TextReportsTest, ReloadFollowsTheGridLock)
{
    TChartSeries master;
    master.AddPointXY(1, 1);
    QStringList calls;
    ProjectReloadHooks hooks{[&calls](const QString& kind) { calls << kind; }, [&calls] { calls << "estimate"; }};
    MessageLog log;
    EXPECT_FALSE(ReloadProjectFiles(true, &master, hooks, &log));
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_EQ(master.Count(), 1);
    EXPECT_EQ(log.Lines().size(), 1);
    ASSERT_TRUE(ReloadProjectFiles(false, &master, hooks, &log));
    EXPECT_EQ(master.Count(), 0);
    EXPECT_EQ(calls, QStringList({"CABLE", "AMPL", "ANT", "LISN", "SEG1", "SEG2", "LIM1", "LIM2", "estimate"}));
}
