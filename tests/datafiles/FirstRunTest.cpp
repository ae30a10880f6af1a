#include "DataFilesTestSupport.h"

#include "app/Log.h"
#include "datafiles/FirstRun.h"
#include "datafiles/ZipExtract.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kDataDir = QStringLiteral(ZENDRIK_SOURCE_DIR "/data");
const QDateTime kNow(QDate(2026, 12, 6), QTime(10, 53, 31));

QByteArray TestZip(const char* name)
{
    return ReadFile(QStringLiteral(ZENDRIK_TEST_DATA "/datafiles/") + QLatin1String(name));
}

class FirstRunTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MessageLog log;
    RecordingDialogs dialogs;

    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const QString& rel) const { return dir.path() + QLatin1Char('/') + rel; }
};

TEST_F(FirstRunTest, EmptyFolderIsSetUpUnpackedAndTheProgramEnds)
{
    const FirstRunResult r = RunFirstStartSetup(dir.path(), log, &dialogs);
    EXPECT_TRUE(r.MustEnd);
    ASSERT_TRUE(r.Unpacked) << log.Lines().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(r.BackupFolder.isEmpty()); // no src to move aside
    for (const char* folder : {"out", "rep", "zips", "src"})
        EXPECT_TRUE(QFileInfo(Path(QLatin1String(folder))).isDir()) << folder;
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("zips/src.zip"))).size() > 0);
    EXPECT_TRUE(ReadFile(Path(QStringLiteral("rep/demo.rep"))) == ReadFile(kDataDir + QStringLiteral("/rep/demo.rep")));

    // Every shipped file arrives unchanged.
    const QStringList shipped = QDir(kDataDir + QStringLiteral("/src")).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_EQ(QDir(Path(QStringLiteral("src"))).entryList(QDir::Files, QDir::Name).join(QLatin1Char(' ')).toStdString(),
              shipped.join(QLatin1Char(' ')).toStdString());
    for (const QString& f : shipped)
        EXPECT_TRUE(ReadFile(Path(QStringLiteral("src/") + f)) == ReadFile(kDataDir + QStringLiteral("/src/") + f)) << f.toStdString();

    EXPECT_EQ(log.Lines(), QStringList{QStringLiteral("Info: Service restart required ")});
    EXPECT_EQ(dialogs.infos, (QStringList{QStringLiteral("New directory created: ./zips"),
                                          QStringLiteral("Info: Service restart required ")}));
    EXPECT_TRUE(dialogs.errors.isEmpty());

    // The second start finds "zips" and unpacks nothing.
    QFile::remove(Path(QStringLiteral("src/cispr32_b_qp.lim")));
    WriteIni(Path(QStringLiteral("src")), QStringLiteral("mine.lim"), {QStringLiteral("[General]")});
    dialogs.infos.clear();
    const FirstRunResult again = RunFirstStartSetup(dir.path(), log, &dialogs);
    EXPECT_FALSE(again.MustEnd);
    EXPECT_FALSE(again.Unpacked);
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("src/cispr32_b_qp.lim"))));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("src/mine.lim"))));
    EXPECT_TRUE(dialogs.infos.isEmpty());
    EXPECT_EQ(log.Lines().size(), 1);
}

TEST_F(FirstRunTest, ExistingSrcIsMovedToADatedBackupFirst)
{
    WriteIni(Path(QStringLiteral("src")), QStringLiteral("operator.lim"), {QStringLiteral("[General]"), QStringLiteral("Name=mine")});
    WriteIni(Path(QStringLiteral("zips")), QStringLiteral("unzip.exe"), {QStringLiteral("old")});
    QDir(Path(QStringLiteral("zips"))).removeRecursively();
    const FirstRunResult r = RunFirstStartSetup(dir.path(), log, &dialogs, EmbeddedDefaultData(), kNow);
    EXPECT_TRUE(r.MustEnd);
    EXPECT_TRUE(r.Unpacked);
    EXPECT_EQ(QFileInfo(r.BackupFolder).fileName(), QStringLiteral("src_backup_06122026_105331"));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("src_backup_06122026_105331/operator.lim"))));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("src/operator.lim"))));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("src/cispr32_b_qp.lim"))));
}

TEST_F(FirstRunTest, FailedBackupRenameNeverUnpacksOverTheOperatorsSrc)
{
    // A backup of the same second already exists (two first runs within one second).
    QDir().mkpath(Path(QStringLiteral("src_backup_06122026_105331")));
    WriteIni(Path(QStringLiteral("src")), QStringLiteral("cispr32_b_qp.lim"), {QStringLiteral("[General]"), QStringLiteral("Name=edited")});
    const QByteArray before = ReadFile(Path(QStringLiteral("src/cispr32_b_qp.lim")));
    const FirstRunResult r = RunFirstStartSetup(dir.path(), log, &dialogs, EmbeddedDefaultData(), kNow);
    EXPECT_FALSE(r.MustEnd);
    EXPECT_FALSE(r.Unpacked);
    EXPECT_EQ(ReadFile(Path(QStringLiteral("src/cispr32_b_qp.lim"))), before);
    EXPECT_EQ(QDir(Path(QStringLiteral("src"))).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("zips")))); // the next start tries again
    ASSERT_EQ(dialogs.errors.size(), 1);
    ASSERT_FALSE(log.Lines().isEmpty());
    EXPECT_TRUE(log.Lines().last().startsWith(QStringLiteral("Error: ")));

    // Once the clash is gone the next start unpacks.
    QDir(Path(QStringLiteral("src_backup_06122026_105331"))).removeRecursively();
    EXPECT_TRUE(RunFirstStartSetup(dir.path(), log, &dialogs, EmbeddedDefaultData(), kNow).Unpacked);
}

TEST_F(FirstRunTest, UnsafeArchivesAreRefusedWithoutWritingAnything)
{
    for (const char* name : {"unsafe_dotdot.zip", "unsafe_absolute.zip"}) {
        QTemporaryDir work;
        ASSERT_TRUE(work.isValid());
        MessageLog l;
        RecordingDialogs d;
        DefaultDataSources sources{TestZip(name), QByteArray("[Data]\r\n")};
        ASSERT_FALSE(sources.Archive.isEmpty()) << name;
        const FirstRunResult r = RunFirstStartSetup(work.path(), l, &d, sources, kNow);
        EXPECT_TRUE(r.MustEnd) << name; // the restart message follows all the same
        EXPECT_FALSE(r.Unpacked) << name;
        EXPECT_EQ(d.errors, QStringList{QStringLiteral("ERROR in UNZIP")}) << name;
        EXPECT_TRUE(QDir(work.path() + QStringLiteral("/src")).isEmpty()) << name;
        EXPECT_FALSE(QFile::exists(work.path() + QStringLiteral("/escaped.lim")));
        EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/zendrik_absolute_entry.lim")));
        ASSERT_GE(l.Lines().size(), 2) << name;
        EXPECT_TRUE(l.Lines()[0].startsWith(QStringLiteral("Error: unzip: entry refused"))) << name;
        EXPECT_EQ(l.Lines().last(), QStringLiteral("Info: Service restart required "));
    }
}

TEST_F(FirstRunTest, BrokenArchiveReportsUnzipError)
{
    DefaultDataSources sources{QByteArray("PK\x03\x04 this is not a zip archive"), QByteArray()};
    const FirstRunResult r = RunFirstStartSetup(dir.path(), log, &dialogs, sources, kNow);
    EXPECT_TRUE(r.MustEnd);
    EXPECT_FALSE(r.Unpacked);
    EXPECT_EQ(dialogs.errors, QStringList{QStringLiteral("ERROR in UNZIP")});
}

TEST_F(FirstRunTest, ZipsPresentAndSrcMissingCreatesAnEmptySrc)
{
    QDir().mkpath(Path(QStringLiteral("zips")));
    WriteIni(Path(QStringLiteral("zips")), QStringLiteral("unzip.exe"), {QStringLiteral("left over")});
    const FirstRunResult r = RunFirstStartSetup(dir.path(), log, &dialogs);
    EXPECT_FALSE(r.MustEnd);
    EXPECT_FALSE(r.Unpacked);
    EXPECT_TRUE(QDir(Path(QStringLiteral("src"))).isEmpty());
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("zips/unzip.exe"))));
    EXPECT_EQ(dialogs.infos, QStringList{QStringLiteral("New directory created: .\\src\\")});
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("out"))).isDir());
    EXPECT_TRUE(QFileInfo(Path(QStringLiteral("rep"))).isDir());
    EXPECT_TRUE(log.Lines().isEmpty());
}

TEST(ZipExtractTest, NestedFoldersAndOverwrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WriteIni(dir.path(), QStringLiteral("a.lim"), {QStringLiteral("old")});
    const datafiles::ZipExtractResult r = datafiles::ExtractZip(TestZip("nested_ok.zip"), dir.path());
    EXPECT_TRUE(r.Ok) << r.Errors.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(r.FilesWritten, 2);
    EXPECT_EQ(ReadFile(dir.path() + QStringLiteral("/a.lim")), QByteArray("[General]\r\nName=a\r\n"));
    EXPECT_EQ(ReadFile(dir.path() + QStringLiteral("/sub/b.seg")), QByteArray("[General]\r\nName=b\r\n"));
}

TEST(ZipExtractTest, ANameStartingWithAColonStaysInTheFolder)
{
    // Qt reads ":x.lim" as a resource path; joined by QDir it landed in the current folder.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid() && QDir(dir.path()).mkdir(QStringLiteral("target")));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const datafiles::ZipExtractResult r = datafiles::ExtractZip(TestZip("colon_entry.zip"), dir.filePath("target"));
    QDir::setCurrent(previous);
    EXPECT_TRUE(r.Ok);
    EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("target/:x.lim"))), QByteArray("[General]\r\nName=x\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("target")});
}

TEST(ZipExtractTest, EntryNameRules)
{
    using datafiles::IsSafeEntryName;
    EXPECT_TRUE(IsSafeEntryName(QStringLiteral("a.lim")));
    EXPECT_TRUE(IsSafeEntryName(QStringLiteral("sub/a..b.lim")));
    EXPECT_FALSE(IsSafeEntryName(QStringLiteral("../a.lim")));
    EXPECT_FALSE(IsSafeEntryName(QStringLiteral("sub/../../a.lim")));
    EXPECT_FALSE(IsSafeEntryName(QStringLiteral("sub\\..\\..\\a.lim")));
    EXPECT_FALSE(IsSafeEntryName(QStringLiteral("/etc/a.lim")));
    EXPECT_FALSE(IsSafeEntryName(QStringLiteral("C:\\a.lim")));
    EXPECT_FALSE(IsSafeEntryName(QString()));
}

} // namespace

namespace {

TEST(ZipExtractTest, EntriesDeclaringHugeSizesAreRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const datafiles::ZipExtractResult r = datafiles::ExtractZip(TestZip("oversized_entry.zip"), dir.path());
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.FilesWritten, 0);
    ASSERT_EQ(r.Errors.size(), 1);
    EXPECT_TRUE(r.Errors[0].startsWith(QStringLiteral("entry too large")));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // Two entries for one file (here "sub/b.lim" and "sub/./b.lim"): which one wins is not ours to guess.
    const datafiles::ZipExtractResult twice = datafiles::ExtractZip(TestZip("duplicate_entry.zip"), dir.path());
    EXPECT_EQ(twice.Errors, QStringList{QStringLiteral("entry appears twice: sub/./b.lim")});
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

} // namespace
