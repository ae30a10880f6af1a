#include "DataFilesTestSupport.h"

#include "app/Log.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/SegmentFiles.h"
#include "datafiles/TableBuffer.h"
#include "platform/inifile/IniFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SegmentFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    MessageLog messages;
    TableBuffer grid;
    DataFileContext context;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("src"));
        context.WorkingFolder = dir.path();
        context.Dialogs = &dialogs;
        context.Messages = &messages;
    }
    // The seven cells of a row of the grid.
    QStringList Row(int row) const
    {
        QStringList cells;
        for (int c = 1; c <= 7; ++c)
            cells << grid.Cell(row, c);
        return cells;
    }
};

TEST_F(SegmentFilesTest, EachColumnEndsAtItsOwnFirstMissingKey)
{
    WriteIni(dir.path(), "src/a.seg",
             {"[General]", "Name=a.seg", "[Data]", "FRQa__1=150.000", "FRQa__2=2.500.000", "FRQa__3=30.000.000",
              "FRQb__1=2.500.000", "BW____1=9000", "Sweep_1=1.000", "Att___1=auto", "PreAmp1=ON", "Detector1=POSPEAK",
              "Detector2=NEGPEAK", "Detector3=qpeak"});
    grid.SetCell(5, 7, "stale");
    LoadSegmentFileIntoEditor(grid, ".\\src\\a.seg", context);
    ASSERT_EQ(dialogs.questions, QStringList{"Load Segment File \".\\src\\a.seg\""});
    EXPECT_EQ(grid.Name(), "a.seg");
    // Columns 3 to 7 as they stand.
    const QStringList rows[] = {{"150000", "2500000", "9000", "1.000", "auto", "ON", "POS"},
                                {"2500000", "", "", "", "", "", "NEG"},
                                {"30000000", "", "", "", "", "", "qpeak"}};
    for (int r = 1; r <= 3; ++r)
        EXPECT_EQ(Row(r), rows[r - 1]) << r;
    EXPECT_TRUE(grid.Cell(5, 7).isEmpty());

    // A start of dots alone ends the column as a missing one does; a key after it refuses the file.
    WriteIni(dir.path(), "src/b.seg", {"[Data]", "FRQa__1=..", "FRQa__2=2.500.000"});
    LoadSegmentFileIntoEditor(grid, ".\\src\\b.seg", context);
    EXPECT_EQ(grid.Cell(1, 1), "150000");
    EXPECT_EQ(messages.Lines(),
              QStringList{"Error: Segment File not usable: .\\src\\b.seg (Segment File Error Seg: 1 Freqa__)"});
}

TEST_F(SegmentFilesTest, AbortOrMissingFileChangeNothing)
{
    WriteIni(dir.path(), "src/b.seg", {"[Data]", "FRQa__1=1"});
    grid.SetCell(1, 1, "keep");
    dialogs.answer = false;
    LoadSegmentFileIntoEditor(grid, "src/b.seg", context);
    EXPECT_EQ(grid.Cell(1, 1), "keep");
    dialogs.answer = true;
    LoadSegmentFileIntoEditor(grid, "src/none.seg", context);
    EXPECT_EQ(grid.Cell(1, 1), "keep");
    EXPECT_EQ(dialogs.questions.size(), 2); // the question comes first, always

    // A number no analyser can be set to refuses the file in one line, the grid as it was.
    WriteIni(dir.path(), "src/c.seg", {"[Data]", "FRQa__1=1", "Att___1=99999"});
    LoadSegmentFileIntoEditor(grid, "src/c.seg", context);
    EXPECT_EQ(grid.Cell(1, 1), "keep");
    EXPECT_EQ(messages.Lines(), QStringList{"Error: Segment File not usable: src/c.seg (Segment File Error Seg: 1 "
                                            "Att___1=99999 lies outside 0..50 dB)"});
}

TEST_F(SegmentFilesTest, WriterNormalisesPreampAndRefusesWhatTheRunRefuses)
{
    grid.SetName("plan.seg");
    const QStringList row1 = {"150.000", "30.000.000", "9000", "100", "auto", "ON", "PK"};
    const QStringList row2 = {"30000000", "1000000000", "120000", "50", "10", "on", "QPEAK"};
    for (int c = 1; c <= 7; ++c) {
        grid.SetCell(1, c, row1[c - 1]);
        grid.SetCell(2, c, row2[c - 1]);
        grid.SetCell(4, c, row2[c - 1]); // after the empty row 3
    }
    // What the run would refuse is not written: the gap, then a detector the writer empties.
    for (const char* fault : {"3 Freqa__", "1 Detector"}) {
        EXPECT_FALSE(SaveSegmentFile(grid, "src/plan.seg", context));
        EXPECT_EQ(messages.Lines().last(),
                  "Error: Segment table \"plan.seg\" not saved (Segment File Error Seg: " + QString(fault) + ")");
        for (int c = 1; c <= 7; ++c)
            grid.SetCell(4, c, QString());
    }
    EXPECT_FALSE(QFile::exists(dir.path() + "/src/plan.seg"));
    grid.SetCell(1, 7, "POS");
    ASSERT_TRUE(SaveSegmentFile(grid, "src/plan.seg", context));
    const IniFile ini(dir.path() + "/src/plan.seg");
    const QString d = "Data";
    EXPECT_EQ(ini.ReadString("General", "Name", QString()), "plan.seg");
    EXPECT_FALSE(ini.ValueExists("General", "Freq_Interplot_Mode"));
    EXPECT_EQ(ini.ReadSection(d), (QStringList{"FRQa__1", "FRQb__1", "BW____1", "Sweep_1", "Att___1", "PreAmp1",
                                               "Detector1", "FRQa__2", "FRQb__2", "BW____2", "Sweep_2", "Att___2",
                                               "PreAmp2", "Detector2"}));
    EXPECT_EQ(ini.ReadString(d, "FRQb__1", QString()), "30.000.000");
    EXPECT_EQ(ini.ReadString(d, "PreAmp1", QString()), "off");
    EXPECT_EQ(ini.ReadString(d, "PreAmp2", QString()), "on");
    EXPECT_EQ(ini.ReadString(d, "Detector1", QString()), "POS");
    EXPECT_EQ(ini.ReadString(d, "Detector2", QString()), "QPEAK");
}

TEST_F(SegmentFilesTest, LongSegmentFilesGrowTheGrid)
{
    QStringList lines = {"[Data]"};
    for (int n = 1; n <= 620; ++n)
        lines << QString("FRQa__%1=%2").arg(n).arg(n * 1000) << QString("FRQb__%1=%2").arg(n).arg(n * 1000 + 500)
              << QString("Detector%1=POSPEAK").arg(n);
    WriteIni(dir.path(), "src/long.seg", lines);
    LoadSegmentFileIntoEditor(grid, "src/long.seg", context);
    ASSERT_GT(grid.Rows(), 620);
    EXPECT_EQ(grid.Cell(620, 2), "620500");
    EXPECT_EQ(grid.Cell(620, 7), "POS");
    // More segments than a run holds are not saved.
    EXPECT_FALSE(SaveSegmentFile(grid, "src/long2.seg", context));
    EXPECT_TRUE(dialogs.errors.last().endsWith("(Segment File Error Seg: 501 more than 500 segments)"));
}

} // namespace
