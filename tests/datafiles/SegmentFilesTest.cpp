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
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("src")));
        context.WorkingFolder = dir.path();
        context.Dialogs = &dialogs;
        context.Messages = &messages;
    }
};

TEST_F(SegmentFilesTest, EachColumnEndsAtItsOwnFirstMissingKey)
{
    WriteIni(dir.path(), QStringLiteral("src/a.seg"),
             {QStringLiteral("[General]"), QStringLiteral("Name=a.seg"), QStringLiteral("[Data]"),
              QStringLiteral("FRQa__1=150.000"), QStringLiteral("FRQa__2=2.500.000"), QStringLiteral("FRQa__3=30.000.000"),
              QStringLiteral("FRQb__1=2.500.000"), QStringLiteral("BW____1=9000"), QStringLiteral("Sweep_1=1.000"),
              QStringLiteral("Att___1=auto"), QStringLiteral("PreAmp1=ON"), QStringLiteral("Detector1=POSPEAK"),
              QStringLiteral("Detector2=NEGPEAK"), QStringLiteral("Detector3=qpeak")});
    grid.SetCell(5, 7, QStringLiteral("stale"));
    LoadSegmentFileIntoEditor(grid, QStringLiteral(".\\src\\a.seg"), context);
    ASSERT_EQ(dialogs.questions, QStringList{QStringLiteral("Load Segment File \".\\src\\a.seg\"")});
    EXPECT_EQ(grid.Name(), QStringLiteral("a.seg"));
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("150000"));
    EXPECT_EQ(grid.Cell(2, 1), QStringLiteral("2500000"));
    EXPECT_EQ(grid.Cell(3, 1), QStringLiteral("30000000"));
    EXPECT_EQ(grid.Cell(1, 2), QStringLiteral("2500000"));
    EXPECT_TRUE(grid.Cell(2, 2).isEmpty());
    EXPECT_EQ(grid.Cell(1, 3), QStringLiteral("9000"));
    EXPECT_TRUE(grid.Cell(2, 3).isEmpty());
    EXPECT_EQ(grid.Cell(1, 4), QStringLiteral("1.000")); // columns 3 to 7 as they stand
    EXPECT_EQ(grid.Cell(1, 5), QStringLiteral("auto"));
    EXPECT_EQ(grid.Cell(1, 6), QStringLiteral("ON"));
    EXPECT_EQ(grid.Cell(1, 7), QStringLiteral("POS"));
    EXPECT_EQ(grid.Cell(2, 7), QStringLiteral("NEG"));
    EXPECT_EQ(grid.Cell(3, 7), QStringLiteral("qpeak"));
    EXPECT_TRUE(grid.Cell(5, 7).isEmpty());

    // A start of dots alone ends the column as a missing one does.
    WriteIni(dir.path(), QStringLiteral("src/b.seg"),
             {QStringLiteral("[Data]"), QStringLiteral("FRQa__1=.."), QStringLiteral("FRQa__2=2.500.000")});
    LoadSegmentFileIntoEditor(grid, QStringLiteral(".\\src\\b.seg"), context);
    EXPECT_TRUE(grid.Cell(1, 1).isEmpty() && grid.Cell(2, 1).isEmpty());
}

TEST_F(SegmentFilesTest, AbortOrMissingFileChangeNothing)
{
    WriteIni(dir.path(), QStringLiteral("src/b.seg"), {QStringLiteral("[Data]"), QStringLiteral("FRQa__1=1")});
    grid.SetCell(1, 1, QStringLiteral("keep"));
    dialogs.answer = false;
    LoadSegmentFileIntoEditor(grid, QStringLiteral("src/b.seg"), context);
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("keep"));
    dialogs.answer = true;
    LoadSegmentFileIntoEditor(grid, QStringLiteral("src/none.seg"), context);
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("keep"));
    EXPECT_EQ(dialogs.questions.size(), 2); // the question comes first, always

    // A number no analyser can be set to refuses the file in one line, the grid as it was.
    WriteIni(dir.path(), QStringLiteral("src/c.seg"), {"[Data]", "FRQa__1=1", "Att___1=99999"});
    LoadSegmentFileIntoEditor(grid, QStringLiteral("src/c.seg"), context);
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("keep"));
    EXPECT_EQ(messages.Lines(), QStringList{"Error: Segment File not usable: src/c.seg (Segment File Error Seg: 1 "
                                            "Att___1=99999 lies outside 0..50 dB)"});
}

TEST_F(SegmentFilesTest, WriterNormalisesPreampAndDetectorAndStopsAtFirstEmptyStart)
{
    grid.SetName(QStringLiteral("plan.seg"));
    const QStringList row1 = {QStringLiteral("150.000"), QStringLiteral("30.000.000"), QStringLiteral("9000"),
                              QStringLiteral("100"),     QStringLiteral("auto"),       QStringLiteral("ON"),
                              QStringLiteral("PK")};
    const QStringList row2 = {QStringLiteral("30000000"), QStringLiteral("1000000000"), QStringLiteral("120000"),
                              QStringLiteral("50"),       QStringLiteral("10"),         QStringLiteral("on"),
                              QStringLiteral("QPEAK")};
    for (int c = 1; c <= 7; ++c) {
        grid.SetCell(1, c, row1[c - 1]);
        grid.SetCell(2, c, row2[c - 1]);
        grid.SetCell(4, c, row2[c - 1]); // after the empty row 3: not saved
    }
    ASSERT_TRUE(SaveSegmentFile(grid, QStringLiteral("src/plan.seg"), context));
    const IniFile ini(dir.path() + QStringLiteral("/src/plan.seg"));
    const QString d = QStringLiteral("Data");
    EXPECT_EQ(ini.ReadString(QStringLiteral("General"), QStringLiteral("Name"), QString()), QStringLiteral("plan.seg"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("General"), QStringLiteral("Freq_Interplot_Mode")));
    EXPECT_EQ(ini.ReadSection(d),
              (QStringList{QStringLiteral("FRQa__1"), QStringLiteral("FRQb__1"), QStringLiteral("BW____1"),
                           QStringLiteral("Sweep_1"), QStringLiteral("Att___1"), QStringLiteral("PreAmp1"),
                           QStringLiteral("Detector1"), QStringLiteral("FRQa__2"), QStringLiteral("FRQb__2"),
                           QStringLiteral("BW____2"), QStringLiteral("Sweep_2"), QStringLiteral("Att___2"),
                           QStringLiteral("PreAmp2"), QStringLiteral("Detector2")}));
    EXPECT_EQ(ini.ReadString(d, QStringLiteral("FRQb__1"), QString()), QStringLiteral("30.000.000"));
    EXPECT_EQ(ini.ReadString(d, QStringLiteral("PreAmp1"), QString()), QStringLiteral("off"));
    EXPECT_EQ(ini.ReadString(d, QStringLiteral("PreAmp2"), QString()), QStringLiteral("on"));
    EXPECT_TRUE(ini.ValueExists(d, QStringLiteral("Detector1")));
    EXPECT_TRUE(ini.ReadString(d, QStringLiteral("Detector1"), QStringLiteral("x")).isEmpty());
    EXPECT_EQ(ini.ReadString(d, QStringLiteral("Detector2"), QString()), QStringLiteral("QPEAK"));
}

TEST_F(SegmentFilesTest, LongSegmentFilesGrowTheGridAndRoundTrip)
{
    QStringList lines = {QStringLiteral("[Data]")};
    for (int n = 1; n <= 620; ++n)
        lines << QStringLiteral("FRQa__%1=%2").arg(n).arg(n * 1000) << QStringLiteral("FRQb__%1=%2").arg(n).arg(n * 1000 + 500)
              << QStringLiteral("Detector%1=POSPEAK").arg(n);
    WriteIni(dir.path(), QStringLiteral("src/long.seg"), lines);
    LoadSegmentFileIntoEditor(grid, QStringLiteral("src/long.seg"), context);
    ASSERT_GT(grid.Rows(), 620);
    EXPECT_EQ(grid.Cell(620, 2), QStringLiteral("620500"));
    EXPECT_EQ(grid.Cell(620, 7), QStringLiteral("POS"));
    ASSERT_TRUE(SaveSegmentFile(grid, QStringLiteral("src/long2.seg"), context));
    const IniFile ini(dir.path() + QStringLiteral("/src/long2.seg"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Data"), QStringLiteral("FRQa__620"), QString()), QStringLiteral("620000"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Data"), QStringLiteral("Detector620"), QString()), QStringLiteral("POS"));
}

} // namespace
