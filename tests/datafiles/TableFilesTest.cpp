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
        ASSERT_TRUE(QDir(dir.path()).mkpath("src"));
        debug.DebugMode = 1;
        debug.TimeText = [] { return "t"; };
        context.WorkingFolder = dir.path();
        context.Dialogs = &dialogs;
        context.Debug = &debug;
        context.Messages = &messages;
    }

    void WriteTable(const QString& name, const QStringList& data, const QString& levelMode = "lin")
    {
        const QStringList head = {"[General]", "Name=Test table", "Freq_Interplot_Mode=log", "Level_Interplot_Mode=" + levelMode};
        WriteIni(dir.path() + "/src", name, head + QStringList{"[Data]"} + data);
    }
};

TEST_F(TableFilesTest, ReadsNameFlagsAndPointsWithDotsRemovedFromFrequencies)
{
    WriteTable("a.lim", {"Freq1=2.5", "Lev1=56,5", "Freq2=1.500", "Lev2=40", "Freq3=30.000.000", "Lev3=60"});
    grid.SetLevelLinear(false);
    ASSERT_TRUE(LoadLimitFile(grid, ".\\src\\a.lim", 'n', context));
    EXPECT_EQ(grid.Name(), "Test table");
    EXPECT_TRUE(grid.LevelLinear());
    EXPECT_FALSE(grid.FreqLinear());
    EXPECT_EQ(QStringList({grid.Cell(1, 1), grid.Cell(2, 1), grid.Cell(3, 1)}), QStringList({"25", "1500", "30000000"}));
    EXPECT_EQ(grid.Cell(1, 2), "56,5"); // levels as they stand
    EXPECT_TRUE(dialogs.questions.isEmpty());
    // "zeile1 " before the name, then one line per mode text.
    ASSERT_EQ(debug.Lines().size(), 3);
    EXPECT_TRUE(debug.Lines()[1].endsWith("zeile1 log"));
    EXPECT_TRUE(debug.Lines()[2].endsWith("zeile1 lin"));
}

// A frequency empty or missing (alone or with its row) before a later row refuses the table of every
// kind in one line naming the row; a table whose numbered keys simply end loads as before.
TEST_F(TableFilesTest, AGapInTheRowsRefusesTheTableAndAnEndDoesNot)
{
    const QStringList head = {"Freq1=9000", "Lev1=2", "Freq2=10.000.000", "Lev2=2"};
    for (const TableKind kind : {TableKind::Limit, TableKind::Cable, TableKind::Lisn, TableKind::Amplifier,
                                 TableKind::Antenna, TableKind::Tc}) {
        const QString file = "src/g." + TableKindExtension(kind);
        for (const QStringList& gap : {QStringList{"Freq3=", "Lev3=2"}, QStringList{"Lev3=2"}, QStringList{}}) {
            WriteTable(file.mid(4), head + gap + QStringList{"Freq4=30000000", "Lev4=2"});
            messages.Clear();
            EXPECT_FALSE(LoadTableFile(kind, grid, file, 'n', context));
            const QString fault = datafiles::TableFileFault(kind, file, true, dir.path());
            const QString line = "Error: " + TableKindWord(kind) + " File not usable: " + file + " (" + fault + ")";
            EXPECT_EQ(messages.Lines(), QStringList{line});
            EXPECT_EQ(fault, "row 3: the frequency is empty");
        }
        WriteTable(file.mid(4), head + QStringList{"Freq3=", "Lev3="});
        ASSERT_TRUE(LoadTableFile(kind, grid, file, 'n', context));
        EXPECT_EQ(QStringList({grid.Cell(2, 1), grid.Cell(3, 1), grid.Cell(3, 2)}), QStringList({"10000000", "", ""}));
    }
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
        {"e.lim", {"Freq1=.", "Lev1=1", "Freq2=200", "Lev2=2"}, "row 1: the frequency is empty"},
        {"n.cac", {"Freq1=1x", "Lev1=2", "Freq2=300", "Lev2="}, "row 1: the frequency 1x is no number"},
        {"b.cac", {"Freq1=100", "Lev1=1", "Freq2=200", "Lev2=2", "Freq3=300"}, "row 3: the level is empty"},
    };
    grid.SetCell(1, 1, "keep");
    QStringList expected;
    for (const auto& k : cases) {
        const QString file = QLatin1String(k.file);
        WriteTable(file, k.rows);
        const TableKind kind = file.endsWith("lim") ? TableKind::Limit : TableKind::Cable;
        EXPECT_FALSE(LoadTableFile(kind, grid, "src/" + file, 'n', context)) << k.file;
        expected << "Error: " + TableKindWord(kind) + " File not usable: src/" + file + " (" + k.fault + ")";
        EXPECT_EQ(datafiles::TableFileFault(kind, "src/" + file, true, dir.path()), k.fault);
    }
    EXPECT_EQ(grid.Cell(1, 1), "keep");
    EXPECT_EQ(dialogs.errors, expected);
    EXPECT_EQ(messages.Lines(), expected);
}

TEST_F(TableFilesTest, ModeTextsInOtherCaseLeaveTheFlagsAsTheyWere)
{
    WriteTable("e.lim", {"Freq1=100", "Lev1=1"}, "LIN");
    grid.SetLevelLinear(false);
    ASSERT_TRUE(LoadLimitFile(grid, "src/e.lim", 'n', context));
    EXPECT_FALSE(grid.LevelLinear());
    grid.SetLevelLinear(true);
    ASSERT_TRUE(LoadLimitFile(grid, "src/e.lim", 'n', context));
    EXPECT_TRUE(grid.LevelLinear());
    WriteTable("f.lim", {"Freq1=100", "Lev1=1"}, "log");
    ASSERT_TRUE(LoadLimitFile(grid, "src/f.lim", 'n', context));
    EXPECT_FALSE(grid.LevelLinear());
}

TEST_F(TableFilesTest, QuestionWordsAbortAndMissingFiles)
{
    WriteTable("g.amp", {"Freq1=100", "Lev1=20"});
    grid.SetCell(1, 1, "keep");
    dialogs.answer = false;
    EXPECT_FALSE(LoadAmplifierFile(grid, ".\\src\\g.amp", 'y', context));
    EXPECT_EQ(grid.Cell(1, 1), "keep");
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(dialogs.questions[0], "Load Amplifier File \".\\src\\g.amp\"");

    const struct {
        bool (*reader)(TableBuffer&, const QString&, QChar, const DataFileContext&);
        const char* word;
    } kinds[] = {{LoadLimitFile, "Limit"},   {LoadCableFile, "Cable"},     {LoadLisnFile, "LISN"},
                 {LoadAmplifierFile, "Amplifier"}, {LoadAntennaFile, "Antenna"}, {LoadTcFile, "TC"}};
    for (const auto& k : kinds) {
        dialogs.questions.clear();
        EXPECT_FALSE(k.reader(grid, "x", 'y', context));
        ASSERT_EQ(dialogs.questions.size(), 1);
        EXPECT_EQ(dialogs.questions[0], QString("Load %1 File \"x\"").arg(QLatin1String(k.word)));
    }

    dialogs.answer = true;
    EXPECT_FALSE(LoadTcFile(grid, "src/missing.tc", 'y', context));
    EXPECT_EQ(grid.Cell(1, 1), "keep");
    EXPECT_TRUE(LoadAmplifierFile(grid, "src/g.amp", 'y', context));
    EXPECT_EQ(grid.Cell(1, 2), "20");
}

TEST_F(TableFilesTest, NamesDifferingInCaseAreFoundAndEscapingPathsRefused)
{
    WriteTable("Mixed.LIM", {"Freq1=100", "Lev1=7"});
    EXPECT_TRUE(LoadLimitFile(grid, ".\\SRC\\mixed.lim", 'n', context));
    EXPECT_EQ(grid.Cell(1, 2), "7");
    EXPECT_TRUE(datafiles::ResolveDataPath(dir.path(), "src\\..\\..\\etc\\passwd").isEmpty());
    EXPECT_TRUE(datafiles::ResolveDataPath(dir.path(), "/etc/passwd").isEmpty());
    EXPECT_TRUE(datafiles::ResolveDataPath(dir.path(), "C:\\x.lim").isEmpty());
}

TEST_F(TableFilesTest, TablesLongerThanTheGridGrowIt)
{
    QStringList data;
    for (int n = 1; n <= 1234; ++n)
        data << QString("Freq%1=%2").arg(n).arg(n * 1000) << QString("Lev%1=%2").arg(n).arg(n % 50);
    WriteTable("long.lim", data);
    ASSERT_TRUE(LoadLimitFile(grid, "src/long.lim", 'n', context));
    ASSERT_GT(grid.Rows(), 1234);
    EXPECT_EQ(grid.Cell(1234, 1), "1234000");
    EXPECT_EQ(grid.Cell(1234, 2), "34");
    ASSERT_TRUE(SaveLimitFile(grid, "src/long2.lim", context));
    const IniFile saved(dir.path() + "/src/long2.lim");
    EXPECT_EQ(saved.ReadString("Data", "Freq1234", QString()), "1234000");
    EXPECT_FALSE(saved.ValueExists("Data", "Freq1235"));
}

TEST_F(TableFilesTest, LevelKeysWithoutAFrequencyNeverSizeTheGrid)
{
    // Before, "Lev50000000" grew the grid to fifty million rows and "Lev2147483647" never ended.
    WriteTable("huge.lim",
               {"Freq1=150000", "Lev1=66", "Freq2=500000", "Lev2=56", "Lev50000000=1", "Lev2147483647=1", "Lev3=7"});
    EXPECT_FALSE(LoadLimitFile(grid, "src/huge.lim", 'n', context)); // a level without its frequency
    EXPECT_EQ(grid.Rows(), TableBuffer::kInitialRows);
    EXPECT_EQ(messages.Lines(), QStringList{"Error: Limit File not usable: src/huge.lim (row 3: the frequency is empty)"});

    // The grid itself refuses a row it cannot hold instead of trying.
    EXPECT_THROW(grid.EnsureRow(2147483647), std::out_of_range);
    EXPECT_THROW(grid.EnsureRow(TableBuffer::kMaxRows), std::out_of_range);
    EXPECT_EQ(grid.Rows(), TableBuffer::kInitialRows);
    grid.EnsureRow(1000);
    EXPECT_EQ(grid.Rows(), 1500);
}

TEST_F(TableFilesTest, SavingWritesHeaderGeneralAndRowsAndRefusesAGap)
{
    grid.SetName("My limit");
    grid.SetFreqLinear(true);
    grid.SetLevelLinear(false);
    ASSERT_TRUE(SaveLimitFile(grid, "src/empty.lim", context));
    IniFile empty(dir.path() + "/src/empty.lim");
    const auto read = [&empty](const char* section, const char* key) { return empty.ReadString(section, key, QString()); };
    EXPECT_EQ(QStringList({read("Application", "Software"), read("Application", "Version"), read("General", "Name"),
                           read("General", "Freq_Interplot_Mode"), read("General", "Level_Interplot_Mode")}),
              QStringList({"Morvak QZ-W32-D7", "Release", "My limit", "lin", "log"}));
    EXPECT_FALSE(read("Application", "Date").isEmpty());
    EXPECT_TRUE(empty.ReadSection("Data").isEmpty());

    // A longer table first, then a shorter one over it: no stale keys survive.
    for (int n = 1; n <= 5; ++n) {
        grid.SetCell(n, 1, QString("%1.000").arg(n));
        grid.SetCell(n, 2, QString::number(n));
    }
    ASSERT_TRUE(SaveLimitFile(grid, "src/t.lim", context));
    grid.ClearData();
    grid.SetCell(1, 1, "1.000");
    grid.SetCell(1, 2, "9");
    grid.SetCell(3, 1, "3000"); // after an empty row: refused, the file as it was
    EXPECT_FALSE(SaveLimitFile(grid, "src/t.lim", context));
    EXPECT_EQ(dialogs.errors, QStringList{"Error: Limit table \"My limit\" not saved (row 2: the frequency is empty)"});
    EXPECT_EQ(IniFile(dir.path() + "/src/t.lim").ReadString("Data", "Freq5", QString()), "5.000");
    grid.SetCell(3, 1, "");
    ASSERT_TRUE(SaveLimitFile(grid, "src/t.lim", context));
    const IniFile t(dir.path() + "/src/t.lim");
    EXPECT_EQ(t.ReadSection("Data"), (QStringList{"Freq1", "Lev1"}));
    EXPECT_EQ(t.ReadString("Data", "Freq1", QString()), "1.000"); // dots kept
}

TEST_F(TableFilesTest, FailedSaveKeepsWhatWasThereAndSaysSo)
{
    // The chosen name is a folder with a file in it: the rename cannot replace it.
    QDir(dir.path()).mkpath("src/busy.lim");
    WriteIni(dir.path() + "/src/busy.lim", "inside.txt", {"x"});
    grid.SetCell(1, 1, "100");
    grid.SetCell(1, 2, "1");
    EXPECT_FALSE(SaveLimitFile(grid, "src/busy.lim", context));
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains("busy.lim"));
    EXPECT_TRUE(QFile::exists(dir.path() + "/src/busy.lim/inside.txt"));
    ASSERT_FALSE(messages.Lines().isEmpty());
    EXPECT_TRUE(messages.Lines().last().startsWith("Error: "));

    EXPECT_FALSE(SaveCableFile(grid, "no/such/folder/x.cac", context));
    EXPECT_EQ(dialogs.errors.size(), 2);
}

TEST(TableSaveDialogTest, FilterAndNameFollowTheKind)
{
    const SaveDialogSettings d = TableSaveDialog(TableKindExtension(TableKind::Lisn), "Lisn A");
    EXPECT_EQ(QStringList({d.Title, d.Folder, d.Filter, d.DefaultExt, d.FileName}),
              QStringList({"Save file", ".\\src", "lsc|*.lsc", "lsc", "Lisn A"}));
    EXPECT_EQ(TableKindExtension(TableKind::Tc), "tc");
}

} // namespace

namespace {

TEST(TableBufferTest, GrowsKeepsHeadingsAndClearResetsTextsAndColours)
{
    TableBuffer grid;
    grid.SetCell(0, 1, "Freq [Hz]");
    grid.SetCell(3, 0, "3");
    grid.SetCell(2, 2, "56");
    grid.SetMark(2, 2, TableBuffer::CellMark::Red);
    EXPECT_EQ(grid.data(grid.index(2, 2), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    grid.SetCell(777, 7, "QPEAK");
    EXPECT_GE(grid.rowCount(), 778);
    EXPECT_EQ(grid.Cell(777, 7), "QPEAK");
    EXPECT_EQ(grid.Cell(2, 2), "56");
    EXPECT_EQ(grid.Mark(2, 2), TableBuffer::CellMark::Red);
    EXPECT_TRUE(grid.Cell(100000, 1).isEmpty()); // past the last row reads empty

    grid.ClearData();
    EXPECT_TRUE(grid.Cell(2, 2).isEmpty());
    EXPECT_TRUE(grid.Cell(777, 7).isEmpty());
    EXPECT_EQ(grid.Mark(2, 2), TableBuffer::CellMark::Black);
    EXPECT_EQ(grid.Cell(0, 1), "Freq [Hz]");
    EXPECT_EQ(grid.Cell(3, 0), "3");

    EXPECT_TRUE(grid.setData(grid.index(1, 1), "150000"));
    EXPECT_EQ(grid.Cell(1, 1), "150000");
}

} // namespace
