#include "datafiles/FirstRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Debian's unzip, a program we did not write, must accept the default-data archive embedded in
// the program, and must find in it exactly the files under data/src.
namespace {

struct UnzipRun {
    int exitCode = -1;
    QByteArray out;
};

UnzipRun Unzip(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), args);
    UnzipRun r;
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    return r;
}

TEST(DataArchiveTest, UnzipAcceptsTheEmbeddedArchive)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty())
        << "unzip is missing; scripts/setup.sh installs it";
    const DefaultDataSources data = EmbeddedDefaultData();
    ASSERT_GT(data.Archive.size(), 1000);
    ASSERT_FALSE(data.Report.isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString zip = dir.filePath(QStringLiteral("src.zip"));
    {
        QFile f(zip);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(data.Archive), data.Archive.size());
    }

    const UnzipRun test = Unzip({QStringLiteral("-t"), zip});
    EXPECT_EQ(test.exitCode, 0) << test.out.toStdString();
    EXPECT_TRUE(test.out.contains("No errors detected")) << test.out.toStdString();

    const UnzipRun list = Unzip({QStringLiteral("-Z1"), zip});
    ASSERT_EQ(list.exitCode, 0);
    QStringList names = QString::fromUtf8(list.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    names.sort();
    const QString src = QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src");
    EXPECT_EQ(names, QDir(src).entryList(QDir::Files, QDir::Name));

    // unzip's own extraction gives back the files byte for byte.
    const QString out = dir.filePath(QStringLiteral("x"));
    ASSERT_EQ(Unzip({QStringLiteral("-q"), zip, QStringLiteral("-d"), out}).exitCode, 0);
    for (const QString& name : names) {
        QFile a(out + QLatin1Char('/') + name);
        QFile b(src + QLatin1Char('/') + name);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_TRUE(a.readAll() == b.readAll()) << name.toStdString();
    }
}

} // namespace
