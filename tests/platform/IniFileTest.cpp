#include "platform/inifile/IniFile.h"
#include "platform/inifile/ProfileNumbers.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    // Writes raw bytes and opens them as an INI file.
    QString Put(const QString& name, const QByteArray& bytes)
    {
        const QString path = PathOf(name);
        EXPECT_TRUE(testsupport::WriteAll(path, bytes));
        return path;
    }

    QTemporaryDir dir_;
};

TEST_F(IniFileTest, SectionsAndKeysIgnoreCaseAndFirstMatchWins)
{
    const QString path = Put("a.ini",
                             "[SetUp]\r\nFreq=100\r\nfreq=200\r\n[setup]\r\nFreq=300\r\nOther=7\r\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.Loaded());
    EXPECT_EQ(ini.ReadString("SETUP", "FREQ", "x"), "100");
    EXPECT_EQ(ini.ReadString("setup", "freq", "x"), "100");
    // The second [setup] section is shadowed by the first one, so its keys are not seen.
    EXPECT_EQ(ini.ReadString("SetUp", "Other", "none"), "none");
    EXPECT_TRUE(ini.SectionExists("SETUP"));
    EXPECT_FALSE(ini.SectionExists("SetUp2"));
    EXPECT_EQ(ini.ReadSections(), QStringList({"SetUp"}));
    EXPECT_EQ(ini.ReadSection("setup"), QStringList({"Freq"}));

    // A write changes the first match and leaves the shadowed keys alone.
    ini.WriteString("SETUP", "FREQ", "150");
    EXPECT_EQ(ini.ReadString("SetUp", "Freq", "x"), "150");
    EXPECT_EQ(ini.Serialize(),
              QByteArray("[SetUp]\r\nFreq=150\r\nfreq=200\r\n[setup]\r\nFreq=300\r\nOther=7\r\n"));

    // Keys asked for in file order, the way the table readers ask, with a repeat where the order
    // leads next: the first match still wins.
    IniFile ordered(Put("b.ini", "[D]\r\nF1=1\r\nL1=2\r\nf1=3\r\nL2=4\r\n"));
    QStringList read;
    for (const char* key : {"F1", "L1", "F1", "L2", "F1"})
        read << ordered.ReadString("D", key, "?");
    EXPECT_EQ(read, QStringList({"1", "2", "1", "4", "1"}));
}

TEST_F(IniFileTest, ValueIsTextAfterFirstEqualsTrimmed)
{
    const QString path = Put("b.ini",
                             "[Data]\n  Formula = a=b+c  \nNote=x;y ; z\nEmpty=\n  Spaced Key  =  v 1 \n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Data", "Formula", ""), "a=b+c");
    // ";" inside a value is no comment for the profile reader.
    EXPECT_EQ(ini.ReadString("Data", "Note", ""), "x;y ; z");
    EXPECT_EQ(ini.ReadString("Data", "Empty", "def"), "");
    EXPECT_TRUE(ini.ValueExists("Data", "empty"));
    EXPECT_EQ(ini.ReadString("Data", "spaced key", ""), "v 1");
    EXPECT_EQ(ini.ReadSectionValues("Data"),
              QStringList({"Formula=a=b+c", "Note=x;y ; z", "Empty=", "Spaced Key=v 1"}));
}

TEST_F(IniFileTest, QuotedValuesLoseOnePairOfMatchingQuotes)
{
    const QString path = Put("q.ini",
                             "[Q]\r\nD=\"two words\"\r\nS='single'\r\nMixed=\"abc'\r\n"
                             "Inner=a \"b\" c\r\nOne=\"\r\nN=\"42\"\r\nNested=\"'x'\"\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Q", "D", ""), "two words");
    EXPECT_EQ(ini.ReadString("Q", "S", ""), "single");
    EXPECT_EQ(ini.ReadString("Q", "Mixed", ""), "\"abc'");
    EXPECT_EQ(ini.ReadString("Q", "Inner", ""), "a \"b\" c");
    EXPECT_EQ(ini.ReadString("Q", "One", ""), "\"");
    EXPECT_EQ(ini.ReadString("Q", "Nested", ""), "'x'");
    EXPECT_EQ(ini.ReadInteger("Q", "N", -1), 42);
    // The quotes stay in the file when another key is written.
    ini.WriteString("Q", "New", "1");
    EXPECT_TRUE(ini.Serialize().contains("D=\"two words\"\r\n"));
}

TEST_F(IniFileTest, CommentLinesAreNoKeysAndSurviveRewrite)
{
    const QString path = Put("c.ini",
                             "; file comment\r\n[General]\r\n; Name=hidden\r\nName=Limit A\r\n"
                             "\r\n  ;indented comment\r\n[Data]\r\nFreq1=150\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("General", "Name", ""), "Limit A");
    EXPECT_EQ(ini.ReadString("General", "; Name", "none"), "none");
    EXPECT_EQ(ini.ReadSection("General"), QStringList({"Name"}));

    ini.WriteString("General", "Level_Interplot_Mode", "lin");
    ini.WriteString("Data", "Lev1", "40");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(testsupport::ReadAll(path),
              QByteArray("; file comment\r\n[General]\r\n; Name=hidden\r\nName=Limit A\r\n"
                         "Level_Interplot_Mode=lin\r\n\r\n  ;indented comment\r\n[Data]\r\n"
                         "Freq1=150\r\nLev1=40\r\n"));
}

TEST_F(IniFileTest, KeysKeepTheirOrderAndNewSectionsGoLast)
{
    const QString path = Put("o.ini", "[B]\nz=1\na=2\nm=3\n[A]\nk=v\n");
    IniFile ini(path);
    ini.WriteString("b", "A", "20");  // existing key keeps its place and spelling
    ini.WriteInteger("B", "new", -5); // new key goes after the last key
    ini.WriteBool("C", "On", true);   // new section goes last
    ini.WriteFloat("C", "F", 1.8);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(testsupport::ReadAll(path),
              QByteArray("[B]\r\nz=1\r\na=20\r\nm=3\r\nnew=-5\r\n[A]\r\nk=v\r\n\r\n[C]\r\nOn=1\r\n"
                         "F=1.8\r\n"));
    IniFile again(path);
    EXPECT_EQ(again.ReadSection("B"), QStringList({"z", "a", "m", "new"}));
    EXPECT_EQ(again.ReadSections(), QStringList({"B", "A", "C"}));
}

TEST_F(IniFileTest, LookupsStayRightWhileKeysAreAddedAndRemoved)
{
    // A trailing blank line and comment make new keys go in the middle of the section.
    const QString path = Put("idx.ini", "[Data]\nFreq1=150\nLev1=40\n\n; next\n[Other]\nx=1\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Data", "lev1", ""), "40"); // index built here
    const int n = 3000;
    for (int i = 2; i <= n; ++i) {
        ini.WriteString("Data", QStringLiteral("Freq%1").arg(i), QStringLiteral("%1").arg(i * 10));
        ini.WriteString("Data", QStringLiteral("Lev%1").arg(i), QStringLiteral("%1").arg(-i));
    }
    ini.WriteString("DATA", "FREQ7", "seven"); // an existing key found through the index
    ini.DeleteKey("Data", "Lev5");
    for (int i = 2; i <= n; ++i) {
        const QString f = ini.ReadString("Data", QStringLiteral("freq%1").arg(i), "?");
        ASSERT_EQ(f, i == 7 ? QStringLiteral("seven") : QStringLiteral("%1").arg(i * 10)) << i;
        ASSERT_EQ(ini.ReadInteger("Data", QStringLiteral("LEV%1").arg(i), 1), i == 5 ? 1 : -i) << i;
    }
    const QStringList keys = ini.ReadSection("Data");
    ASSERT_EQ(keys.size(), 2 * n - 1);
    EXPECT_EQ(keys[0], "Freq1");
    EXPECT_EQ(keys.last(), QStringLiteral("Lev%1").arg(n));
    const QByteArray text = ini.Serialize();
    EXPECT_TRUE(text.endsWith(QStringLiteral("Lev%1=-%1\r\n\r\n; next\r\n[Other]\r\nx=1\r\n")
                                  .arg(n)
                                  .toLatin1()));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey)
{
    const QString path = Put("e.ini", "[A]\nx=1\ny=2\nX=3\n[B]\nq=1\n[b]\nr=2\n");
    IniFile ini(path);
    ini.DeleteKey("a", "X");
    // Both spellings are gone, so the older repeat does not come back.
    EXPECT_FALSE(ini.ValueExists("A", "x"));
    EXPECT_EQ(ini.ReadString("A", "y", ""), "2");
    ini.EraseSection("B");
    EXPECT_FALSE(ini.SectionExists("b"));
    EXPECT_EQ(ini.Serialize(), QByteArray("[A]\r\ny=2\r\n"));
    ini.Clear();
    ini.WriteString("N", "k", "v");
    EXPECT_EQ(ini.Serialize(), QByteArray("[N]\r\nk=v\r\n"));
}

TEST_F(IniFileTest, Utf8WithBomReadsAndKeepsBom)
{
    const QString path = Put("bom.ini", QByteArray("\xEF\xBB\xBF[Unit]\r\nName=dB\xC2\xB5V\r\n"));
    IniFile ini(path);
    EXPECT_EQ(ini.SectionExists("Unit"), true);
    EXPECT_EQ(ini.ReadString("unit", "name", ""), QString::fromUtf8("dB\xC2\xB5V"));
    ini.WriteString("Unit", "Sign", QString::fromUtf8("\xE2\x82\xAC"));
    EXPECT_EQ(ini.WriteEncoding(), IniFile::TextEncoding::Utf8);
    EXPECT_EQ(ini.Serialize(),
              QByteArray("\xEF\xBB\xBF[Unit]\r\nName=dB\xC2\xB5V\r\nSign=\xE2\x82\xAC\r\n"));
}

TEST_F(IniFileTest, Cp1252TextReadsAndIsWrittenBackAsCp1252)
{
    // 0xB5 is the micro sign, 0x80 the euro sign, 0x81 undefined in the code page.
    const QByteArray bytes("[Level]\r\nUnit=dB\xB5V\r\nCost=5\x80\r\nOdd=\x81\r\n");
    const QString path = Put("cp.ini", bytes);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Level", "Unit", ""), QString::fromUtf8("dB\xC2\xB5V"));
    EXPECT_EQ(ini.ReadString("Level", "Cost", ""), QString::fromUtf8("5\xE2\x82\xAC"));
    EXPECT_EQ(ini.ReadString("Level", "Odd", "").size(), 1);
    EXPECT_EQ(ini.WriteEncoding(), IniFile::TextEncoding::Cp1252);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(testsupport::ReadAll(path), bytes);

    // A character outside the code page makes the file UTF-8 rather than losing it.
    ini.WriteString("Level", "Omega", QString::fromUtf8("\xCE\xA9"));
    EXPECT_EQ(ini.WriteEncoding(), IniFile::TextEncoding::Utf8);
    ASSERT_TRUE(ini.UpdateFile());
    IniFile again(path);
    EXPECT_EQ(again.ReadString("Level", "Unit", ""), QString::fromUtf8("dB\xC2\xB5V"));
    EXPECT_EQ(again.ReadString("Level", "Omega", ""), QString::fromUtf8("\xCE\xA9"));
}

TEST_F(IniFileTest, Cp1252TextWhoseBytesWouldReadAsUtf8IsWrittenAsUtf8)
{
    // The stray 0xFF after the section name made the file Windows-1252; without it the bytes of
    // "\u00C3\u00A9" (C3 A9) are valid UTF-8 and would read back as one other character.
    const QString path = Put("mixed.ini", "[S]\xFF\r\nk=\xC3\xA9\r\n");
    IniFile ini(path);
    ASSERT_EQ(ini.ReadString("S", "k", ""), QString::fromUtf8("\xC3\x83\xC2\xA9"));
    EXPECT_EQ(ini.WriteEncoding(), IniFile::TextEncoding::Utf8);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(IniFile(path).ReadString("S", "k", ""), QString::fromUtf8("\xC3\x83\xC2\xA9"));

    IniFile fresh(PathOf("fresh.ini"));
    fresh.WriteString("S", "k", QString::fromUtf8("\xC3\x83\xC2\xA9"));
    ASSERT_TRUE(fresh.UpdateFile());
    EXPECT_EQ(IniFile(PathOf("fresh.ini")).ReadString("S", "k", ""), QString::fromUtf8("\xC3\x83\xC2\xA9"));
}

TEST_F(IniFileTest, NewFileIsCp1252WhenEverythingFits)
{
    const QString path = PathOf("new.ini");
    IniFile ini(path);
    EXPECT_FALSE(ini.Loaded());
    ini.WriteString("S", "Unit", QString::fromUtf8("dB\xC2\xB5V"));
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(testsupport::ReadAll(path), QByteArray("[S]\r\nUnit=dB\xB5V\r\n"));

    IniFile wide(PathOf("wide.ini"));
    wide.WriteString("S", "Name", QString::fromUtf8("\xE6\xB8\xAC"));
    ASSERT_TRUE(wide.UpdateFile());
    EXPECT_EQ(testsupport::ReadAll(PathOf("wide.ini")), QByteArray("[S]\r\nName=\xE6\xB8\xAC\r\n"));
}

TEST_F(IniFileTest, MissingFileGivesDefaults)
{
    IniFile ini(PathOf("nothing/here.ini"));
    EXPECT_FALSE(ini.Loaded());
    EXPECT_EQ(ini.ReadString("A", "b", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("A", "b", 17), 17);
    EXPECT_EQ(ini.ReadBool("A", "b", true), true);
    EXPECT_EQ(ini.ReadFloat("A", "b", 2.5), 2.5);
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    EXPECT_TRUE(ini.ReadSection("A").isEmpty());
}

TEST_F(IniFileTest, WritesUseCrLfEvenWhenTheFileHadLf)
{
    const QString path = Put("lf.ini", "[A]\nk=1\n");
    IniFile ini(path);
    ini.WriteString("A", "j", "2");
    ASSERT_TRUE(ini.UpdateFile());
    const QByteArray written = testsupport::ReadAll(path);
    EXPECT_EQ(written, QByteArray("[A]\r\nk=1\r\nj=2\r\n"));
    EXPECT_EQ(written.count('\n'), written.count("\r\n"));
}

TEST_F(IniFileTest, LineBreaksInValuesCannotInjectKeys)
{
    IniFile ini(PathOf("inj.ini"));
    ini.WriteString("A", "k", "x\r\n[B]\nevil=1");
    ASSERT_TRUE(ini.UpdateFile());
    IniFile again(PathOf("inj.ini"));
    EXPECT_FALSE(again.SectionExists("B"));
    EXPECT_EQ(again.ReadString("A", "k", ""), "x  [B] evil=1");
}

TEST_F(IniFileTest, ValuesWithEdgeBlanksOrEnclosingQuotesReadBackAsWritten)
{
    const QStringList values = {" lead", "trail ", "  ", "'quoted'", "\"twice\"", "\"'both'\"", "a\"b", "\"open"};
    IniFile ini(PathOf("q.ini"));
    for (qsizetype i = 0; i < values.size(); ++i)
        ini.WriteString("A", QString::number(i), values[i]);
    ASSERT_TRUE(ini.UpdateFile());
    IniFile again(PathOf("q.ini"));
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.ReadString("A", QString::number(i), "?"), values[i]);
    // Values the readers keep as they are are stored as they are.
    EXPECT_TRUE(ini.Serialize().contains("6=a\"b\r\n7=\"open\r\n"));
}

TEST_F(IniFileTest, FailedWriteLeavesOldFileAndSaysWhy)
{
    // A folder in place of the file: the rename cannot replace it, even for root.
    const QString folderTarget = PathOf("target.ini");
    ASSERT_TRUE(QDir().mkpath(folderTarget));
    IniFile onFolder(folderTarget);
    onFolder.WriteString("A", "k", "v");
    QString error;
    EXPECT_FALSE(onFolder.UpdateFile(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(folderTarget).isDir());

    // A file whose folder has gone: nothing is written and the reason names the file.
    const QString path = Put("sub/old.ini", "[A]\r\nk=old\r\n");
    IniFile ini(path);
    ini.WriteString("A", "k", "new");
    ASSERT_TRUE(QDir(PathOf("sub")).removeRecursively());
    error.clear();
    EXPECT_FALSE(ini.UpdateFile(&error));
    EXPECT_TRUE(error.contains("old.ini"));
    EXPECT_FALSE(QFile::exists(path));

    // A read-only folder keeps the old file; running as root can still write, so that case
    // only checks the old content whenever the write was refused.
    const QString roPath = Put("ro/keep.ini", "[A]\r\nk=old\r\n");
    QFile::setPermissions(PathOf("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    IniFile ro(roPath);
    ro.WriteString("A", "k", "new");
    const bool written = ro.UpdateFile(&error);
    QFile::setPermissions(PathOf("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
    EXPECT_EQ(testsupport::ReadAll(roPath),
              written ? QByteArray("[A]\r\nk=new\r\n") : QByteArray("[A]\r\nk=old\r\n"));
    EXPECT_EQ(QDir(PathOf("ro")).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.ini"}));
}

TEST_F(IniFileTest, IntegersAcceptDecimalAndHexOnly)
{
    const QString path = Put("i.ini",
                             "[N]\nd=123\nneg=-45\nplus=+7\ndollar=$1F\nhex=0x10\nHEX=0XfF\n"
                             "wrap=$FFFFFFFF\nbig=2147483648\nmin=-2147483648\ntrail=12abc\n"
                             "float=1.5\nempty=\nsp=  9  \nbadhex=$G1\nsign2=--3\nhexbig=$100000000\n"
                             "zero=0\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("N", "d", 0), 123);
    EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -45);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 7);
    EXPECT_EQ(ini.ReadInteger("N", "dollar", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 16);
    EXPECT_EQ(ini.ReadInteger("N", "Hex", 0), 16); // first match of "hex"
    EXPECT_EQ(ini.ReadInteger("N", "wrap", 0), -1);
    EXPECT_EQ(ini.ReadInteger("N", "big", -9), -9);
    EXPECT_EQ(ini.ReadInteger("N", "min", 0), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "trail", -9), -9);
    EXPECT_EQ(ini.ReadInteger("N", "float", -9), -9);
    EXPECT_EQ(ini.ReadInteger("N", "empty", -9), -9);
    EXPECT_EQ(ini.ReadInteger("N", "sp", -9), 9);
    EXPECT_EQ(ini.ReadInteger("N", "badhex", -9), -9);
    EXPECT_EQ(ini.ReadInteger("N", "sign2", -9), -9);
    EXPECT_EQ(ini.ReadInteger("N", "hexbig", -9), -9);
    EXPECT_EQ(ini.ReadBool("N", "zero", true), false);
    EXPECT_EQ(ini.ReadBool("N", "d", false), true);
    EXPECT_EQ(ini.ReadBool("N", "trail", true), true);
    EXPECT_EQ(ini.ReadBool("N", "trail", false), false);
}

TEST_F(IniFileTest, FloatsUseDotWhateverTheLocale)
{
    const QString path = Put("f.ini",
                             "[F]\na=1.25\nb=-3e-7\nc=1,5\nd=abc\ne=.5\nf=1e999\ng=INF\nh=+2.\n"
                             "i=0x10\nj=1.5.2\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadFloat("F", "a", 0), 1.25);
    EXPECT_EQ(ini.ReadFloat("F", "b", 0), -3e-7);
    EXPECT_EQ(ini.ReadFloat("F", "c", -1), -1);
    EXPECT_EQ(ini.ReadFloat("F", "d", -1), -1);
    EXPECT_EQ(ini.ReadFloat("F", "e", -1), 0.5);
    EXPECT_EQ(ini.ReadFloat("F", "f", -1), -1);
    EXPECT_EQ(ini.ReadFloat("F", "g", 7), 7);   // no finite number: the default stays
    EXPECT_EQ(ini.ReadFloat("F", "h", -1), 2.0);
    EXPECT_EQ(ini.ReadFloat("F", "i", -1), -1);
    EXPECT_EQ(ini.ReadFloat("F", "j", -1), -1);
}

TEST_F(IniFileTest, HostileFilesReadRightAndLoseNothingOnTheNextWrite)
{
    // Lines ended by a lone CR (old Mac editors): every key is read, and a write keeps them all.
    const QString cr = Put("cr.ini", "[RSA5000]\rSamples=601\rSweepMulitply=NaN\r[SSA]\rMeasure_Delay=9000\r"
                                      "SweepMultiply=-INF\r\r[Option]\rHarmonics_Order=9");
    IniFile ini(cr);
    EXPECT_EQ(ini.ReadInteger("RSA5000", "Samples", 0), 601);
    EXPECT_EQ(ini.ReadInteger("ssa", "Measure_Delay", 0), 9000);
    EXPECT_EQ(ini.ReadInteger("Option", "Harmonics_Order", 0), 9);
    // NaN and infinities are no settings: the defaults stay.
    EXPECT_EQ(ini.ReadFloat("RSA5000", "SweepMulitply", 1.8), 1.8);
    EXPECT_EQ(ini.ReadFloat("SSA", "SweepMultiply", 1.25), 1.25);
    ini.WriteInteger("Option", "Harmonics_Order", 5);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(testsupport::ReadAll(cr), QByteArray("[RSA5000]\r\nSamples=601\r\nSweepMulitply=NaN\r\n[SSA]\r\n"
                                                   "Measure_Delay=9000\r\nSweepMultiply=-INF\r\n\r\n[Option]\r\n"
                                                   "Harmonics_Order=5\r\n"));

    // A line as long as a line may be: read whole.
    const QString longValue(IniFile::kMaxLineChars - 2, QLatin1Char('v'));
    IniFile longest(Put("longest.ini", "[A]\r\nK=" + longValue.toLatin1() + "\r\nx=1\r\n"));
    EXPECT_EQ(longest.ReadString("A", "K", ""), longValue);
    EXPECT_EQ(longest.ReadInteger("A", "x", 0), 1);
    EXPECT_TRUE(longest.LoadError().isEmpty());
}

// A file over the size limit, one with a line over the line limit and a device without end are
// refused unread: they read as empty, the reason names the file, and a write leaves them alone
// unless the caller cleared the copy to replace them.
TEST_F(IniFileTest, OversizedFilesAndLinesAreRefusedAndLeftAlone)
{
    const QString longLine = Put("longline.ini", "[A]\r\nx=1\r\nK=" +
                                                     QByteArray(IniFile::kMaxLineChars - 1, 'v') + "\r\n");
    const QString big = PathOf("big.ini");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write("[A]\r\nx=1\r\n"), 10);
        ASSERT_TRUE(f.resize(IniFile::kMaxFileBytes + 1)); // sparse: nothing is written
    }
    const struct {
        QString path;
        QString why;
    } cases[] = {
        {longLine, "line 3 holds more than the 65536 characters"},
        {big, "it holds 67108865 bytes, more than the 67108864"},
        {"/dev/zero", "bytes, more than the 67108864"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        IniFile ini(c.path);
        EXPECT_FALSE(ini.Loaded());
        EXPECT_TRUE(ini.LoadError().startsWith("Cannot read \"" + c.path + "\": ")) << ini.LoadError().toStdString();
        EXPECT_TRUE(ini.LoadError().contains(c.why)) << ini.LoadError().toStdString();
        EXPECT_EQ(ini.ReadInteger("A", "x", 7), 7);
        EXPECT_TRUE(ini.ReadSections().isEmpty());
    }

    const QByteArray before = testsupport::ReadAll(longLine);
    IniFile refused(longLine);
    refused.WriteString("A", "y", "2");
    QString error;
    EXPECT_FALSE(refused.UpdateFile(&error));
    EXPECT_TRUE(error.contains("line 3") && error.contains("left as it is")) << error.toStdString();
    EXPECT_EQ(testsupport::ReadAll(longLine), before);
    refused.Clear();
    refused.WriteString("A", "y", "2");
    ASSERT_TRUE(refused.UpdateFile());
    EXPECT_EQ(testsupport::ReadAll(longLine), QByteArray("[A]\r\ny=2\r\n"));
}

TEST_F(IniFileTest, Utf16FilesReadAndAreWrittenBackInTheirOwnByteOrder)
{
    // "Unicode" as Windows editors save it: UTF-16 little-endian after the mark FF FE.
    auto utf16 = [](const QString& text, bool little) {
        QByteArray out = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        for (QChar c : text) {
            const char lo = static_cast<char>(c.unicode() & 0xFF), hi = static_cast<char>(c.unicode() >> 8);
            out.append(little ? lo : hi);
            out.append(little ? hi : lo);
        }
        return out;
    };
    for (bool little : {true, false}) {
        const QString text = QString::fromUtf8("[Unit]\r\nName=dB\xC2\xB5V\r\nSign=\xE2\x82\xAC\r\n");
        const QString path = Put(little ? "le.ini" : "be.ini", utf16(text, little));
        IniFile ini(path);
        EXPECT_EQ(ini.ReadString("unit", "name", ""), QString::fromUtf8("dB\xC2\xB5V")) << little;
        EXPECT_EQ(ini.ReadString("Unit", "Sign", ""), QString::fromUtf8("\xE2\x82\xAC")) << little;
        ini.WriteString("Unit", "Omega", QString::fromUtf8("\xCE\xA9"));
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_EQ(testsupport::ReadAll(path), utf16(text + QString::fromUtf8("Omega=\xCE\xA9\r\n"), little)) << little;
    }
}

TEST_F(IniFileTest, QueriedNamesAreTrimmedOnEveryPath)
{
    const QString path = Put("t.ini", "[S]\r\nk=old\r\nj=2\r\n[T]\r\nx=1\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString(" S ", " k ", ""), "old");
    EXPECT_TRUE(ini.SectionExists("\tS "));
    ini.WriteString(" S ", " k ", "new");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "new");
    EXPECT_EQ(ini.ReadSections(), QStringList({"S", "T"}));
    ini.DeleteKey(" s", "j ");
    EXPECT_FALSE(ini.ValueExists("S", "j"));
    ini.EraseSection(" T ");
    EXPECT_EQ(ini.Serialize(), QByteArray("[S]\r\nk=new\r\n"));
}

TEST_F(IniFileTest, FortyThousandSectionsReadAndRewriteWhole)
{
    QByteArray text;
    const int n = 40000;
    for (int i = 0; i < n; ++i)
        text += "[Segment" + QByteArray::number(i) + "]\r\nStart=" + QByteArray::number(i * 10) + "\r\n";
    // A repeated name is shadowed by its first copy.
    text += "[SEGMENT7]\r\nStart=shadowed\r\n";
    const QString path = Put("many.ini", text);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadSections().size(), n);
    for (int i = 0; i < n; i += 997)
        ASSERT_EQ(ini.ReadInteger(QStringLiteral("segment%1").arg(i), "start", -1), i * 10) << i;
    EXPECT_EQ(ini.ReadString("Segment7", "Start", ""), "70");
    ini.WriteString("Segment39999", "Stop", "1");
    ini.WriteString("New", "k", "v");
    EXPECT_EQ(ini.ReadString("new", "K", ""), "v");
    ini.EraseSection("Segment0");
    EXPECT_EQ(ini.ReadInteger("Segment1", "Start", -1), 10);
    ASSERT_TRUE(ini.UpdateFile());
    IniFile again(path);
    EXPECT_EQ(again.ReadSections().size(), n);
    EXPECT_EQ(again.ReadInteger("Segment39999", "Stop", 0), 1);
    EXPECT_EQ(again.ReadString("Segment7", "Start", ""), "70");
}

TEST_F(IniFileTest, WriteFloatGivesShortestGeneralForm)
{
    IniFile ini(PathOf("wf.ini"));
    struct Case {
        double value;
        const char* text;
    };
    // 15 significant digits; exponent form once the integer part needs more than 15 digits or
    // the value is below 0.0001.
    const Case cases[] = {
        {1.8, "1.8"},
        {1.25, "1.25"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {-2.5, "-2.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {100.0, "100"},
        {1e20, "1E20"},
        {1.5e-7, "1.5E-7"},
        {-1.5e-7, "-1.5E-7"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {0.00001, "1E-5"},
        {30000000.0, "30000000"},
        {999999999999999.9, "1E15"},
    };
    for (const Case& c : cases) {
        ini.WriteFloat("F", "v", c.value);
        EXPECT_EQ(ini.ReadString("F", "v", ""), QString::fromLatin1(c.text)) << c.text;
        // What is written reads back within the 15 digits it keeps.
        const double back = ini.ReadFloat("F", "v", -12345);
        EXPECT_NEAR(back, c.value, std::fabs(c.value) * 1e-14) << c.text;
    }
}

TEST(ProfileNumbers, DecimalDigitsRoundToSignificantDigits)
{
    const auto d = profilenumbers::ToDecimalDigits(-0.0012345678, 4);
    EXPECT_TRUE(d.negative);
    EXPECT_EQ(d.digits, "1235");
    EXPECT_EQ(d.exponent, -2);
    const auto up = profilenumbers::ToDecimalDigits(9.9996, 4);
    EXPECT_EQ(up.digits, "1");
    EXPECT_EQ(up.exponent, 2);
    const auto zero = profilenumbers::ToDecimalDigits(0.0, 15);
    EXPECT_TRUE(zero.digits.empty());
}

} // namespace
