#include "DataFilesTestSupport.h"

#include "app/Log.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "platform/inifile/IniFile.h"

#include <QColor>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TableFilesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    DebugLog debug;
    MessageLog messages;
    TableBuffer grid;
    DataFileContext context;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("src")));
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("t"); };
        context.WorkingFolder = dir.path();
        context.Dialogs = &dialogs;
        context.Debug = &debug;
        context.Messages = &messages;
    }

    void WriteTable(const QString& name, const QStringList& data, const QString& levelMode = QStringLiteral("lin"))
    {
        const QStringList head = {"[General]", "Name=Test table", "Freq_Interplot_Mode=log", "Level_Interplot_Mode=" + levelMode};
        WriteIni(dir.path() + QStringLiteral("/src"), name, head + QStringList{"[Data]"} + data);
    }
};

TEST_F(TableFilesTest, ReadsNameFlagsAndPointsWithDotsRemovedFromFrequencies)
{
    WriteTable("a.lim", {"Freq1=2.5", "Lev1=56,5", "Freq2=1.500", "Lev2=40", "Freq3=30.000.000", "Lev3=60"});
    grid.SetLevelLinear(false);
    ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral(".\\src\\a.lim"), QLatin1Char('n'), context));
    EXPECT_EQ(grid.Name(), QStringLiteral("Test table"));
    EXPECT_TRUE(grid.LevelLinear());
    EXPECT_FALSE(grid.FreqLinear());
    EXPECT_EQ(QStringList({grid.Cell(1, 1), grid.Cell(2, 1), grid.Cell(3, 1)}), QStringList({"25", "1500", "30000000"}));
    EXPECT_EQ(grid.Cell(1, 2), QStringLiteral("56,5")); // levels as they stand
    EXPECT_TRUE(dialogs.questions.isEmpty());
    // "zeile1 " before the name, then one line per mode text.
    ASSERT_EQ(debug.Lines().size(), 3);
    EXPECT_TRUE(debug.Lines()[1].endsWith(QStringLiteral("zeile1 log")));
    EXPECT_TRUE(debug.Lines()[2].endsWith(QStringLiteral("zeile1 lin")));
}

TEST_F(TableFilesTest, FrequencyGapEndsTheTable)
{
    WriteTable("c.lim", {"Freq1=100", "Lev1=1", "Freq3=300", "Lev3=3"});
    ASSERT_TRUE(LoadLimitFile(grid, "src/c.lim", 'n', context));
    // Freq3 is never read.
    EXPECT_EQ(QStringList({grid.Cell(1, 1), grid.Cell(2, 1), grid.Cell(3, 1)}), QStringList({"100", "", ""}));
}

// A table whose curve would not reach every row is refused in one line naming the file, the row
// and the value, with the grid as it was; Play reads the same reason again.
TEST_F(TableFilesTest, RowsThatWouldCutTheCurveShortRefuseTheTable)
{
    const struct {
        const char* file;
        QStringList rows;
        const char* fault;
    } cases[] = {
        // A frequency of dots alone is a gap too (read on past it, the next save lost what followed).
        {"e.lim", {"Freq1=.", "Lev1=1", "Freq2=200", "Lev2=2"}, "it holds no point"},
        {"n.cac", {"Freq1=1x", "Lev1=2", "Freq2=300", "Lev2="}, "row 1: the frequency 1x is no number"},
        {"b.cac", {"Freq1=100", "Lev1=1", "Freq2=200", "Lev2=2", "Freq3=300"}, "row 3: the level is empty"},
    };
    grid.SetCell(1, 1, QStringLiteral("keep"));
    QStringList expected;
    for (const auto& k : cases) {
        const QString file = QLatin1String(k.file);
        WriteTable(file, k.rows);
        const TableKind kind = file.endsWith("lim") ? TableKind::Limit : TableKind::Cable;
        EXPECT_FALSE(LoadTableFile(kind, grid, "src/" + file, QLatin1Char('n'), context)) << k.file;
        expected << "Error: " + TableKindWord(kind) + " File not usable: src/" + file + " (" + k.fault + ")";
        EXPECT_EQ(datafiles::TableFileFault(kind, "src/" + file, true, dir.path()), k.fault);
    }
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("keep"));
    EXPECT_EQ(dialogs.errors, expected);
    EXPECT_EQ(messages.Lines(), expected);
}

TEST_F(TableFilesTest, ModeTextsInOtherCaseLeaveTheFlagsAsTheyWere)
{
    WriteTable(QStringLiteral("e.lim"), {QStringLiteral("Freq1=100"), QStringLiteral("Lev1=1")}, QStringLiteral("LIN"));
    grid.SetLevelLinear(false);
    ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral("src/e.lim"), QLatin1Char('n'), context));
    EXPECT_FALSE(grid.LevelLinear());
    grid.SetLevelLinear(true);
    ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral("src/e.lim"), QLatin1Char('n'), context));
    EXPECT_TRUE(grid.LevelLinear());
    WriteTable(QStringLiteral("f.lim"), {QStringLiteral("Freq1=100"), QStringLiteral("Lev1=1")}, QStringLiteral("log"));
    ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral("src/f.lim"), QLatin1Char('n'), context));
    EXPECT_FALSE(grid.LevelLinear());
}

TEST_F(TableFilesTest, QuestionWordsAbortAndMissingFiles)
{
    WriteTable(QStringLiteral("g.amp"), {QStringLiteral("Freq1=100"), QStringLiteral("Lev1=20")});
    grid.SetCell(1, 1, QStringLiteral("keep"));
    dialogs.answer = false;
    EXPECT_FALSE(LoadAmplifierFile(grid, QStringLiteral(".\\src\\g.amp"), QLatin1Char('y'), context));
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("keep"));
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(dialogs.questions[0], QStringLiteral("Load Amplifier File \".\\src\\g.amp\""));

    const struct {
        bool (*reader)(TableBuffer&, const QString&, QChar, const DataFileContext&);
        const char* word;
    } kinds[] = {{LoadLimitFile, "Limit"},   {LoadCableFile, "Cable"},     {LoadLisnFile, "LISN"},
                 {LoadAmplifierFile, "Amplifier"}, {LoadAntennaFile, "Antenna"}, {LoadTcFile, "TC"}};
    for (const auto& k : kinds) {
        dialogs.questions.clear();
        EXPECT_FALSE(k.reader(grid, QStringLiteral("x"), QLatin1Char('y'), context));
        ASSERT_EQ(dialogs.questions.size(), 1);
        EXPECT_EQ(dialogs.questions[0], QStringLiteral("Load %1 File \"x\"").arg(QLatin1String(k.word)));
    }

    dialogs.answer = true;
    EXPECT_FALSE(LoadTcFile(grid, QStringLiteral("src/missing.tc"), QLatin1Char('y'), context));
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("keep"));
    EXPECT_TRUE(LoadAmplifierFile(grid, QStringLiteral("src/g.amp"), QLatin1Char('y'), context));
    EXPECT_EQ(grid.Cell(1, 2), QStringLiteral("20"));
}

TEST_F(TableFilesTest, NamesDifferingInCaseAreFoundAndEscapingPathsRefused)
{
    WriteTable(QStringLiteral("Mixed.LIM"), {QStringLiteral("Freq1=100"), QStringLiteral("Lev1=7")});
    EXPECT_TRUE(LoadLimitFile(grid, QStringLiteral(".\\SRC\\mixed.lim"), QLatin1Char('n'), context));
    EXPECT_EQ(grid.Cell(1, 2), QStringLiteral("7"));
    EXPECT_TRUE(datafiles::ResolveDataPath(dir.path(), QStringLiteral("src\\..\\..\\etc\\passwd")).isEmpty());
    EXPECT_TRUE(datafiles::ResolveDataPath(dir.path(), QStringLiteral("/etc/passwd")).isEmpty());
    EXPECT_TRUE(datafiles::ResolveDataPath(dir.path(), QStringLiteral("C:\\x.lim")).isEmpty());
}

TEST_F(TableFilesTest, TablesLongerThanTheGridGrowIt)
{
    QStringList data;
    for (int n = 1; n <= 1234; ++n)
        data << QStringLiteral("Freq%1=%2").arg(n).arg(n * 1000) << QStringLiteral("Lev%1=%2").arg(n).arg(n % 50);
    WriteTable(QStringLiteral("long.lim"), data);
    ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral("src/long.lim"), QLatin1Char('n'), context));
    ASSERT_GT(grid.Rows(), 1234);
    EXPECT_EQ(grid.Cell(1234, 1), QStringLiteral("1234000"));
    EXPECT_EQ(grid.Cell(1234, 2), QStringLiteral("34"));
    ASSERT_TRUE(SaveLimitFile(grid, QStringLiteral("src/long2.lim"), context));
    const IniFile saved(dir.path() + QStringLiteral("/src/long2.lim"));
    EXPECT_EQ(saved.ReadString(QStringLiteral("Data"), QStringLiteral("Freq1234"), QString()), QStringLiteral("1234000"));
    EXPECT_FALSE(saved.ValueExists(QStringLiteral("Data"), QStringLiteral("Freq1235")));
}

TEST_F(TableFilesTest, LevelKeysWithoutAFrequencyNeverSizeTheGrid)
{
    // Before, "Lev50000000" grew the grid to fifty million rows and "Lev2147483647" never ended.
    WriteTable(QStringLiteral("huge.lim"), {QStringLiteral("Freq1=150000"), QStringLiteral("Lev1=66"), QStringLiteral("Freq2=500000"),
                                            QStringLiteral("Lev2=56"), QStringLiteral("Lev50000000=1"), QStringLiteral("Lev2147483647=1"),
                                            QStringLiteral("Lev3=7")});
    ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral("src/huge.lim"), QLatin1Char('n'), context));
    EXPECT_EQ(grid.Rows(), TableBuffer::kInitialRows);
    EXPECT_EQ(grid.Cell(2, 2), QStringLiteral("56"));
    EXPECT_TRUE(grid.Cell(3, 2).isEmpty());   // no frequency, no point
    ASSERT_TRUE(SaveLimitFile(grid, QStringLiteral("src/huge2.lim"), context));
    const IniFile saved(dir.path() + QStringLiteral("/src/huge2.lim"));
    EXPECT_EQ(saved.ReadSection(QStringLiteral("Data")), QStringList({"Freq1", "Lev1", "Freq2", "Lev2"}));

    // The grid itself refuses a row it cannot hold instead of trying.
    EXPECT_THROW(grid.EnsureRow(2147483647), std::out_of_range);
    EXPECT_THROW(grid.EnsureRow(TableBuffer::kMaxRows), std::out_of_range);
    EXPECT_EQ(grid.Rows(), TableBuffer::kInitialRows);
    grid.EnsureRow(1000);
    EXPECT_EQ(grid.Rows(), 1500);
}

TEST_F(TableFilesTest, SavingWritesHeaderGeneralAndRowsUpToTheFirstEmptyFrequency)
{
    grid.SetName(QStringLiteral("My limit"));
    grid.SetFreqLinear(true);
    grid.SetLevelLinear(false);
    ASSERT_TRUE(SaveLimitFile(grid, QStringLiteral("src/empty.lim"), context));
    IniFile empty(dir.path() + QStringLiteral("/src/empty.lim"));
    EXPECT_EQ(empty.ReadString(QStringLiteral("Application"), QStringLiteral("Software"), QString()),
              QStringLiteral("Morvak QZ-W32-D7"));
    EXPECT_EQ(empty.ReadString(QStringLiteral("Application"), QStringLiteral("Version"), QString()), QStringLiteral("Release"));
    EXPECT_FALSE(empty.ReadString(QStringLiteral("Application"), QStringLiteral("Date"), QString()).isEmpty());
    EXPECT_EQ(empty.ReadString(QStringLiteral("General"), QStringLiteral("Name"), QString()), QStringLiteral("My limit"));
    EXPECT_EQ(empty.ReadString(QStringLiteral("General"), QStringLiteral("Freq_Interplot_Mode"), QString()), QStringLiteral("lin"));
    EXPECT_EQ(empty.ReadString(QStringLiteral("General"), QStringLiteral("Level_Interplot_Mode"), QString()), QStringLiteral("log"));
    EXPECT_TRUE(empty.ReadSection(QStringLiteral("Data")).isEmpty());

    // A longer table first, then a shorter one over it: no stale keys survive.
    for (int n = 1; n <= 5; ++n) {
        grid.SetCell(n, 1, QStringLiteral("%1.000").arg(n));
        grid.SetCell(n, 2, QString::number(n));
    }
    ASSERT_TRUE(SaveLimitFile(grid, QStringLiteral("src/t.lim"), context));
    grid.ClearData();
    grid.SetCell(1, 1, QStringLiteral("1.000"));
    grid.SetCell(1, 2, QStringLiteral("9"));
    grid.SetCell(3, 1, QStringLiteral("3000")); // after an empty frequency: not saved
    ASSERT_TRUE(SaveLimitFile(grid, QStringLiteral("src/t.lim"), context));
    const IniFile t(dir.path() + QStringLiteral("/src/t.lim"));
    EXPECT_EQ(t.ReadSection(QStringLiteral("Data")), (QStringList{QStringLiteral("Freq1"), QStringLiteral("Lev1")}));
    EXPECT_EQ(t.ReadString(QStringLiteral("Data"), QStringLiteral("Freq1"), QString()), QStringLiteral("1.000")); // dots kept
}

TEST_F(TableFilesTest, FailedSaveKeepsWhatWasThereAndSaysSo)
{
    // The chosen name is a folder with a file in it: the rename cannot replace it.
    QDir(dir.path()).mkpath(QStringLiteral("src/busy.lim"));
    WriteIni(dir.path() + QStringLiteral("/src/busy.lim"), QStringLiteral("inside.txt"), {QStringLiteral("x")});
    grid.SetCell(1, 1, QStringLiteral("100"));
    grid.SetCell(1, 2, QStringLiteral("1"));
    EXPECT_FALSE(SaveLimitFile(grid, QStringLiteral("src/busy.lim"), context));
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains(QStringLiteral("busy.lim")));
    EXPECT_TRUE(QFile::exists(dir.path() + QStringLiteral("/src/busy.lim/inside.txt")));
    ASSERT_FALSE(messages.Lines().isEmpty());
    EXPECT_TRUE(messages.Lines().last().startsWith(QStringLiteral("Error: ")));

    EXPECT_FALSE(SaveCableFile(grid, QStringLiteral("no/such/folder/x.cac"), context));
    EXPECT_EQ(dialogs.errors.size(), 2);
}

TEST(TableSaveDialogTest, FilterAndNameFollowTheKind)
{
    const SaveDialogSettings dialog = TableSaveDialog(TableKindExtension(TableKind::Lisn), QStringLiteral("Lisn A"));
    EXPECT_EQ(dialog.Title, QStringLiteral("Save file"));
    EXPECT_EQ(dialog.Folder, QStringLiteral(".\\src"));
    EXPECT_EQ(dialog.Filter, QStringLiteral("lsc|*.lsc"));
    EXPECT_EQ(dialog.DefaultExt, QStringLiteral("lsc"));
    EXPECT_EQ(dialog.FileName, QStringLiteral("Lisn A"));
    EXPECT_EQ(TableKindExtension(TableKind::Tc), QStringLiteral("tc"));
}

} // namespace

namespace {

TEST(TableBufferTest, GrowsKeepsHeadingsAndClearResetsTextsAndColours)
{
    TableBuffer grid;
    grid.SetCell(0, 1, QStringLiteral("Freq [Hz]"));
    grid.SetCell(3, 0, QStringLiteral("3"));
    grid.SetCell(2, 2, QStringLiteral("56"));
    grid.SetMark(2, 2, TableBuffer::CellMark::Red);
    EXPECT_EQ(grid.data(grid.index(2, 2), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    grid.SetCell(777, 7, QStringLiteral("QPEAK"));
    EXPECT_GE(grid.rowCount(), 778);
    EXPECT_EQ(grid.Cell(777, 7), QStringLiteral("QPEAK"));
    EXPECT_EQ(grid.Cell(2, 2), QStringLiteral("56"));
    EXPECT_EQ(grid.Mark(2, 2), TableBuffer::CellMark::Red);
    EXPECT_TRUE(grid.Cell(100000, 1).isEmpty()); // past the last row reads empty

    grid.ClearData();
    EXPECT_TRUE(grid.Cell(2, 2).isEmpty());
    EXPECT_TRUE(grid.Cell(777, 7).isEmpty());
    EXPECT_EQ(grid.Mark(2, 2), TableBuffer::CellMark::Black);
    EXPECT_EQ(grid.Cell(0, 1), QStringLiteral("Freq [Hz]"));
    EXPECT_EQ(grid.Cell(3, 0), QStringLiteral("3"));

    EXPECT_TRUE(grid.setData(grid.index(1, 1), QStringLiteral("150000")));
    EXPECT_EQ(grid.Cell(1, 1), QStringLiteral("150000"));
}

} // namespace
