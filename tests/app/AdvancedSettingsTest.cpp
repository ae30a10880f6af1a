#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "app/NumberText.h"
#include "common/TestSupport.h"
#include "platform/inifile/IniFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

namespace {

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    QString file() const { return dir.filePath(QStringLiteral("emc_set.ini")); }
    MessageLog log;
};

} // namespace

TEST_F(SettingsFixture, MissingFileKeepsDefaults)
{
    AdvancedSettings s;
    ReadAdvancedSettings(file(), s, log);
    EXPECT_EQ(s.OptHarmonicsOrder, 7);
    EXPECT_EQ(s.OptFpcSamples, 600);
    EXPECT_EQ(s.OptFphSamples, 700);
    EXPECT_EQ(s.OptRsaSamples, 601);
    EXPECT_DOUBLE_EQ(s.OptRsaSweepMultiply, 1.8);
    EXPECT_EQ(s.OptRsaRefLevelDbm, -20);
    EXPECT_EQ(s.OptInvertIeee, -1);
    EXPECT_EQ(s.OptSsaMeasureDelay, 8000);
    EXPECT_DOUBLE_EQ(s.OptSsaSweepMultiply, 1.25);
    EXPECT_TRUE(log.Lines().isEmpty());
}

TEST_F(SettingsFixture, FileTooLargeKeepsDefaultsAndSaysSo)
{
    ASSERT_TRUE(testsupport::WriteAll(file(), "[Option]\r\nHarmonics_Order=3\r\nK=" +
                                                  QByteArray(IniFile::kMaxLineChars, 'v') + "\r\n"));
    AdvancedSettings s;
    ReadAdvancedSettings(file(), s, log);
    EXPECT_EQ(s.OptHarmonicsOrder, 7);
    EXPECT_EQ(log.Lines(), QStringList("Error: Cannot read \"" + file() +
                                       "\": line 3 holds more than the 65536 characters a line may hold"));
}

TEST_F(SettingsFixture, LowerCaseSectionAndBadValues)
{
    ASSERT_TRUE(testsupport::WriteAll(file(), "[rigol]\r\nInvert_IEEE=0\r\n[Option]\r\nHarmonics_Order=abc\r\n"
                                              "PreAmpBox=1\r\n[RSA5000]\r\nSweepMulitply=x1\r\n"));
    AdvancedSettings s;
    ReadAdvancedSettings(file(), s, log);
    EXPECT_EQ(s.OptInvertIeee, 0);
    EXPECT_EQ(s.OptHarmonicsOrder, 7);
    EXPECT_TRUE(s.OptPreAmpBox);
    EXPECT_DOUBLE_EQ(s.OptRsaSweepMultiply, 1.8);
    EXPECT_EQ(log.Lines().filter(QRegularExpression("(=abc|=x1) is no (whole )?number within .*; (7|1.8) is kept")).size(), 2);
    log.Clear();

    // Numbers out of all proportion take the nearest end of their range, each said in one line.
    ASSERT_TRUE(testsupport::WriteAll(file(), "[FPH]\r\nSamples=0\r\n[RSA5000]\r\nSweepMulitply=1e300\r\n"
                                              "RefLeveldBm=-9999\r\n[SSA]\r\nMeasure_Delay=2147483647\r\n"));
    ReadAdvancedSettings(file(), s, log);
    EXPECT_TRUE(s.OptFphSamples == 1 && s.OptRsaSweepMultiply == 100 && s.OptRsaRefLevelDbm == -200 &&
                s.OptSsaMeasureDelay == 600000);
    EXPECT_EQ(log.Lines().filter(" is used instead").size(), 4);
    EXPECT_EQ(log.Lines().value(0), "Warning: emc_set.ini [FPH] Samples=0 is outside 1 .. 1000000; 1 is used instead");

    // No number of the kind (beyond the integer range, nan, inf): the value stays, one line each;
    // Invert_IEEE takes the end of its range, which is also what is written back.
    for (const QByteArray harmonics : {"99999999999999", "1e308", "nan"}) {
        log.Clear();
        ASSERT_TRUE(testsupport::WriteAll(file(), "[Option]\nHarmonics_Order=" + harmonics + "\n[RSA5000]\nSamples=99999999999"
                                                  "\nSweepMulitply=nan\n[FPH]\nSamples=1e6\n[SSA]\nSweepMultiply=inf\n"
                                                  "[RIGOL]\nInvert_IEEE=12345\n"));
        ReadAdvancedSettings(file(), s, log);
        EXPECT_TRUE(s.OptHarmonicsOrder == 7 && s.OptRsaSamples == 601 && s.OptSsaSweepMultiply == 1.25 && s.OptInvertIeee == 1);
        EXPECT_EQ(log.Lines().value(0), "Warning: emc_set.ini [Option] Harmonics_Order=" + harmonics +
                                            " is no whole number within 1 .. 1000; 7 is kept");
        EXPECT_EQ(log.Lines().filter(" is kept").size(), 5);
    }
}

TEST_F(SettingsFixture, SsaChangesAreAnnouncedOnlyWhenTheyDiffer)
{
    ASSERT_TRUE(testsupport::WriteAll(file(), "[SSA]\r\nSweepMultiply=1.25\r\nMeasure_Delay=8000\r\n"));
    AdvancedSettings same;
    ReadAdvancedSettings(file(), same, log);
    EXPECT_TRUE(log.Lines().isEmpty());

    ASSERT_TRUE(testsupport::WriteAll(file(), "[SSA]\r\nSweepMultiply=2\r\nMeasure_Delay=9000\r\n"));
    AdvancedSettings changed;
    ReadAdvancedSettings(file(), changed, log);
    EXPECT_DOUBLE_EQ(changed.OptSsaSweepMultiply, 2.0);
    EXPECT_EQ(changed.OptSsaMeasureDelay, 9000);
    EXPECT_EQ(log.Lines(), (QStringList{QStringLiteral("Info: changing default value SSA sweep multiply"),
                                        QStringLiteral("Info: changing default value SSA measure delay")}));
}

TEST_F(SettingsFixture, WriteStoresCurrentValuesAndReadsBackUnderCommaLocale)
{
    AdvancedSettings s;
    s.OptRsaRefLevelDbm = -35; // changed at run time by the spin button
    s.OptRsaSweepMultiply = 1.8;
    s.OptVbwBox = true;
    ASSERT_TRUE(WriteAdvancedSettings(file(), s, log));
    EXPECT_EQ(DecimalSeparator(), QLatin1Char('.'));
    const QByteArray text = testsupport::ReadAll(file());
    EXPECT_TRUE(text.contains("[Rigol]\r\n"));
    EXPECT_TRUE(text.contains("SweepMulitply=1.8\r\n"));
    EXPECT_TRUE(text.contains("RefLeveldBm=-35\r\n"));
    EXPECT_TRUE(text.contains("VBWBox=1\r\n"));

    // A system whose own decimal mark is "," still reads 1.8.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    SetDecimalSeparator(QLatin1Char(','));
    AdvancedSettings back;
    ReadAdvancedSettings(file(), back, log);
    SetDecimalSeparator(QLatin1Char('.'));
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_DOUBLE_EQ(back.OptRsaSweepMultiply, 1.8);
    EXPECT_EQ(back.OptRsaRefLevelDbm, -35);
    EXPECT_TRUE(back.OptVbwBox);
}

TEST_F(SettingsFixture, RewriteDropsOldKeysAndFailedWriteKeepsOldFile)
{
    ASSERT_TRUE(testsupport::WriteAll(file(), "[Old]\r\nStale=1\r\n"));
    AdvancedSettings s;
    ASSERT_TRUE(WriteAdvancedSettings(file(), s, log));
    EXPECT_FALSE(testsupport::ReadAll(file()).contains("Stale"));

    // A folder where the file should be: the write fails, nothing is lost, and the log says so.
    const QString blocked = dir.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QDir().mkpath(blocked + QStringLiteral("/x")));
    EXPECT_FALSE(WriteAdvancedSettings(blocked, s, log));
    EXPECT_TRUE(QDir(blocked + QStringLiteral("/x")).exists());
    ASSERT_FALSE(log.Lines().isEmpty());
    EXPECT_TRUE(log.Lines().last().startsWith(QStringLiteral("Error: ")));
}
