// The CSV export dialog, headless: its option groups and what "Save" writes.
#include "app/AppContext.h"
#include "chart/engine/ChartSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/CsvExportWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::Control;

TEST(CsvExportWindowTest, GroupsFromTheTablesAndSave)
{
    QTemporaryDir dir;
    AppContext app;
    CsvExportWindow window(app);
    EXPECT_EQ(window.windowTitle(), "Save as CSV File");
    const auto captions = [&window](const char* name) {
        QStringList c;
        for (QRadioButton* b : window.findChild<QGroupBox*>(name)->findChildren<QRadioButton*>())
            c << b->text() + (b->isChecked() ? "*" : "");
        return c;
    };
    EXPECT_EQ(window.findChild<QGroupBox*>("RadioGroup2")->title(), "Seperator");
    EXPECT_EQ(captions("RadioGroup2"), QStringList({"n;n*", "n,n", "n n", "n/n", "n|n"}));
    EXPECT_EQ(captions("RadioGroup1"), QStringList({"\"n\"*", "none"}));
    EXPECT_EQ(captions("RadioGroup3"), QStringList({"m,n*", "m.n"}));
    EXPECT_EQ(window.findChild<QCheckBox*>("CheckBox3")->text(), "Data Seg 1");
    EXPECT_FALSE(window.findChild<QCheckBox*>("CheckBox1")->isHidden());
    EXPECT_TRUE(window.findChild<QCheckBox*>("CheckBox11")->isHidden());

    TChartSeries raw2;
    raw2.AddPointXY(150, 45.2);
    MainChartSeries series;
    series[SeriesRole::rawTrace2] = &raw2;
    window.setChartSeries(series);
    window.findChild<QCheckBox*>("CheckBox2")->setChecked(true);
    const auto choose = [&window](const char* group, int choice) {
        Control<QGroupBox>(window, group).findChildren<QRadioButton*>().at(choice)->click();
    };
    choose("RadioGroup2", 4);
    choose("RadioGroup1", 1);
    choose("RadioGroup3", 1);
    QStringList asked;
    window.askSaveFile = [&](const SaveDialogSettings& s) {
        asked << s.Title;
        return dir.filePath("out.csv");
    };
    window.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(asked, QStringList{"Save CSV File"});
    EXPECT_EQ(testsupport::ReadAll(dir.filePath("out.csv")), "Raw2_Freq[Hz]|Level[dBuV]\r\n150000|45.20\r\n");

    window.askSaveFile = [&](const SaveDialogSettings&) { return dir.filePath("no/out.csv"); };
    Control<QPushButton>(window, "Button1").click();
    ASSERT_EQ(app.Messages.Lines().size(), 1);
    EXPECT_TRUE(app.Messages.Lines()[0].startsWith("Error: "));

    window.askSaveFile = [&](const SaveDialogSettings&) { return dir.filePath("out.csv"); };
    const testsupport::DiskFull full; // the old file stays, and the line gives the system's reason
    Control<QPushButton>(window, "Button1").click();
    EXPECT_EQ(app.Messages.Lines().last(), "Error: " + dir.filePath("out.csv") + ": " + testsupport::DiskFull::Reason());
    EXPECT_EQ(testsupport::ReadAll(dir.filePath("out.csv")), "Raw2_Freq[Hz]|Level[dBuV]\r\n150000|45.20\r\n");
}
