// Report header files: the store the editor and the printed report share, and ".rep" files.
#include "app/Log.h"
#include "common/TestSupport.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFileDialogs.h"
#include "reports/ReportHeader.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AnsweringDialogs : public DataFileDialogs {
public:
    bool load = true;
    QStringList questions;
    bool ConfirmLoad(const QString& question) override
    {
        questions << question;
        return load;
    }
    void ShowError(const QString& text) override { questions << text; }
    void ShowInfo(const QString& text) override { questions << text; }
};

struct ReportHeaderFixture : ::testing::Test {
    QTemporaryDir dir;
    AnsweringDialogs dialogs;
    DebugLog debug;
    MessageLog messages;
    DataFileContext context;
    ReportHeaderItems items;

    void SetUp() override
    {
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("t"); };
        context = {dir.path(), &dialogs, &debug, &messages};
        QDir(dir.path()).mkdir("rep");
    }
    void WriteRep(const QString& name, const QByteArray& data)
    {
        ASSERT_TRUE(testsupport::WriteAll(dir.filePath("rep/" + name), "[Data]\r\n" + data));
    }
    static std::array<ReportHeaderItems::Item, 11> Defaults()
    {
        auto d = ReportHeaderItems::StartupItems();
        for (auto& item : d)
            item.Text.clear();
        return d;
    }
};

} // namespace

TEST_F(ReportHeaderFixture, SavedTextsReadBackExactly)
{
    EXPECT_EQ(items.At(6).Caption, "DUT");
    EXPECT_EQ(items.At(6).Text, "Device under Test");
    EXPECT_TRUE(items.At(11).Text.isEmpty());
    const QStringList texts = {" leading", "trailing ", "\"quoted\"", "'single'", "a=b; c",
                               "Prüfling µV ≤ 3 dB", "\"", "", ";starts like a comment", "\tx\t", "'"};
    for (int i = 1; i <= 11; ++i)
        items.SetItem(i, i == 3 ? QStringLiteral(" Cap \"3\" ") : QStringLiteral("Cap%1").arg(i), texts[i - 1]);
    const auto saved = items.Items();
    ASSERT_TRUE(SaveReportFile(items, ".\\rep\\all.rep", context));
    const QString file = QString::fromUtf8(testsupport::ReadAll(dir.filePath("rep/all.rep")));
    EXPECT_TRUE(file.startsWith("[Application]\r\nSoftware=Morvak QZ-W32-D7\r\nVersion=Release\r\nDate="));
    EXPECT_TRUE(file.contains("Cap1=Cap1\r\nText1=\" leading\"\r\nCap2=Cap2\r\n"));

    items.SetDefaultReportItems();
    EXPECT_EQ(items.Items(), Defaults());
    ASSERT_TRUE(LoadReportFile(items, ".\\rep\\all.rep", 'n', context));
    EXPECT_EQ(items.Items(), saved);
    EXPECT_EQ(debug.Lines().last(), "t: report items caption found 12");
    EXPECT_TRUE(dialogs.questions.isEmpty());
}

TEST_F(ReportHeaderFixture, ReadingEndsWhereTheKeysEndAndAGapIsRefused)
{
    WriteRep("three.rep", "Cap1=A\r\nText1=a\r\nCap2=B\r\nCap3=C\r\nText3=c\r\nCap4=\r\n");
    items.SetText(9, "unsaved");
    ASSERT_TRUE(LoadReportFile(items, ".\\rep\\three.rep", 'y', context));
    EXPECT_EQ(dialogs.questions, QStringList{"Load Report File \".\\rep\\three.rep\""});
    auto expected = Defaults();
    expected[0] = {"A", "a"};
    expected[1] = {"B", ""};
    expected[2] = {"C", "c"};
    EXPECT_EQ(items.Items(), expected);
    EXPECT_EQ(debug.Lines().last(), "t: report items caption found 4");

    // Without a first caption there is nothing to read, and a caption missing before a later text
    // would lose that item: refused, the typed texts stay.
    WriteRep("nocap1.rep", "Cap2=B\r\nText2=b\r\n");
    WriteRep("gap.rep", "Cap1=A\r\nCap2=B\r\nText4=d\r\n");
    items.SetText(1, "x");
    EXPECT_FALSE(LoadReportFile(items, ".\\rep\\NOCAP1.REP", 'n', context));   // any case
    EXPECT_FALSE(LoadReportFile(items, ".\\rep\\gap.rep", 'n', context));
    EXPECT_EQ(items.At(1).Text, "x");
    EXPECT_EQ(messages.Lines(), QStringList({"Error: Report File not usable: .\\rep\\NOCAP1.REP (it holds no report "
                                             "caption \"Cap1\"); the report texts stay",
                                             "Error: Report File not usable: .\\rep\\gap.rep (item 3: the caption is "
                                             "empty); the report texts stay"}));
}

TEST_F(ReportHeaderFixture, AbortKeepsTheTextsAndAMissingFileResetsThem)
{
    WriteRep("a.rep", "Cap1=A\r\n");
    items.SetText(1, "operator's text");
    int changes = 0;
    QObject::connect(&items, &ReportHeaderItems::Changed, [&changes] { ++changes; });
    dialogs.load = false;
    EXPECT_FALSE(LoadReportFile(items, ".\\rep\\a.rep", 'y', context));
    EXPECT_EQ(items.At(1).Text, "operator's text");
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(LoadReportFile(items, ".\\rep\\gone.rep", 'n', context));
    EXPECT_EQ(items.Items(), Defaults());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(LoadReportFile(items, "/etc/passwd", 'n', context));   // names from files stay below the folder
}

TEST_F(ReportHeaderFixture, ShippedDemoLoads)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/rep/demo.rep"), dir.filePath("rep/demo.rep")));
    ASSERT_TRUE(LoadReportFile(items, ".\\rep\\demo.rep", 'n', context));
    EXPECT_EQ(items.At(6).Caption, "DUT");
    EXPECT_EQ(items.At(4).Text, "CISPR 32 class B");
    EXPECT_EQ(debug.Lines().last(), "t: report items caption found 12");
}

TEST_F(ReportHeaderFixture, FailedSaveSaysWhy)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("rep/taken.rep"));
    EXPECT_FALSE(SaveReportFile(items, ".\\rep\\taken.rep", context));
    ASSERT_EQ(messages.Lines().size(), 1);
    EXPECT_TRUE(messages.Lines()[0].startsWith("Error: file not saved: "));
}
