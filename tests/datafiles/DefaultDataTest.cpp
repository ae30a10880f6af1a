#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "datafiles/TableInterpolation.h"
#include "platform/inifile/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

// The default data under data/: every file must be usable as shipped.
namespace {

const QString kDataDir = QStringLiteral(ZENDRIK_SOURCE_DIR "/data");

QStringList Files(const QString& pattern)
{
    return QDir(kDataDir + QStringLiteral("/src")).entryList({pattern}, QDir::Files, QDir::Name);
}

DataFileContext Context()
{
    DataFileContext c;
    c.WorkingFolder = kDataDir;
    return c;
}

TEST(DefaultDataTest, EveryLimitLineInterpolatesInItsOwnMode)
{
    const QStringList lims = Files(QStringLiteral("*.lim"));
    ASSERT_GE(lims.size(), 20);
    for (const QString& name : lims) {
        TableBuffer grid;
        ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral(".\\src\\") + name, QLatin1Char('n'), Context())) << name.toStdString();
        for (bool flat : {false, true}) {
            GridTrace t;
            InterpolateGrid(grid, GridInterpolationOptions{grid.LevelLinear(), flat}, t);
            EXPECT_FALSE(t.DataError) << name.toStdString();
            EXPECT_GE(t.X.size(), 2u) << name.toStdString();
            for (size_t i = 1; i < t.X.size(); ++i)
                ASSERT_GE(t.X[i], t.X[i - 1]) << name.toStdString();
            for (double y : t.Y)
                ASSERT_TRUE(y > 0.0 && y < 130.0) << name.toStdString();
        }
    }
}

TEST(DefaultDataTest, Cispr32ClassBQuasiPeakFallsWithLogF)
{
    TableBuffer grid;
    ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral(".\\src\\cispr32_b_qp.lim"), QLatin1Char('n'), Context()));
    GridTrace t;
    InterpolateGrid(grid, GridInterpolationOptions{grid.LevelLinear(), true}, t);
    ASSERT_FALSE(t.DataError);

    QFile f(QStringLiteral(ZENDRIK_TEST_DATA "/datafiles/cispr32_b_qp_log.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QTextStream in(&f);
    int checked = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1Char('#')) || line.isEmpty())
            continue;
        const QStringList p = line.split(QLatin1Char(' '));
        const double khz = p[0].toDouble();
        const double want = p[1].toDouble();
        const auto it = std::find(t.X.begin(), t.X.end(), khz);
        ASSERT_NE(it, t.X.end()) << khz;
        EXPECT_NEAR(t.Y[static_cast<size_t>(it - t.X.begin())], want, 0.01) << khz;
        ++checked;
    }
    EXPECT_EQ(checked, 6);
    // 56 dBuV from 0.5 to 5 MHz, 60 from 5 to 30 MHz (corners only on flat parts).
    const auto at = [&](double khz) {
        auto it = std::find(t.X.begin(), t.X.end(), khz);
        return it == t.X.end() ? -1.0 : t.Y[static_cast<size_t>(it - t.X.begin())];
    };
    EXPECT_EQ(at(500.0), 56.0);
    EXPECT_EQ(at(30000.0), 60.0);
}

TEST(DefaultDataTest, EverySegmentFileLoads)
{
    const QStringList segs = Files(QStringLiteral("*.seg"));
    ASSERT_GE(segs.size(), 6);
    for (const QString& name : segs) {
        const SegmentParseResult r = ParseSegmentFile(kDataDir + QStringLiteral("/src/") + name, 3000);
        EXPECT_TRUE(r.FileFound) << name.toStdString();
        EXPECT_TRUE(r.Error.isEmpty()) << name.toStdString() << ": " << r.Error.toStdString();
        EXPECT_GT(r.Table.Count, 0) << name.toStdString();
        for (int n = 1; n <= r.Table.Count; ++n) {
            const SegmentRecord& s = r.Table.Segment(n);
            // CISPR 16-1-1 bandwidths per band.
            const QString want = s.StopHz <= 150000       ? QStringLiteral("200")
                                 : s.StopHz <= 30000000   ? QStringLiteral("9000")
                                 : s.StopHz <= 1000000000 ? QStringLiteral("120000")
                                                          : QStringLiteral("1000000");
            EXPECT_EQ(s.Rbw, want) << name.toStdString() << " segment " << n;
        }
    }
}

// Corrections enter the sum cable + LISN - antenna + amplifier, which is subtracted from the raw
// level: losses must be negative, gains and antenna factors positive.
TEST(DefaultDataTest, CorrectionSignsMakeTheCorrectedLevelRight)
{
    struct Expect {
        const char* pattern;
        int sign; // -1 all <= 0 (some < 0), +1 all > 0
    };
    for (const Expect& e : {Expect{"*.cac", -1}, Expect{"*.lsc", -1}, Expect{"*.amp", +1}, Expect{"*.ant", +1}}) {
        const QStringList names = Files(QLatin1String(e.pattern));
        ASSERT_FALSE(names.isEmpty()) << e.pattern;
        for (const QString& name : names) {
            TableBuffer grid;
            ASSERT_TRUE(LoadTableFile(TableKind::Cable, grid, QStringLiteral("src/") + name, QLatin1Char('n'), Context()));
            bool anyNonZero = false;
            for (int r = 1; !grid.Cell(r, 1).isEmpty(); ++r) {
                const auto v = ParseMachine(grid.Cell(r, 2));
                ASSERT_TRUE(v.has_value()) << name.toStdString() << " row " << r;
                if (e.sign < 0)
                    EXPECT_LE(*v, 0.0) << name.toStdString() << " row " << r;
                else
                    EXPECT_GT(*v, 0.0) << name.toStdString() << " row " << r;
                anyNonZero = anyNonZero || *v != 0.0;
            }
            EXPECT_TRUE(anyNonZero) << name.toStdString();
        }
    }
}

TEST(DefaultDataTest, ProjectsNameOnlyShippedFiles)
{
    const QStringList prjs = Files(QStringLiteral("*.prj"));
    ASSERT_GE(prjs.size(), 5);
    const QStringList srcKeys = {QStringLiteral("LIM1"), QStringLiteral("LIM2"), QStringLiteral("CABLE"), QStringLiteral("AMP"),
                                 QStringLiteral("ANT"),  QStringLiteral("LISN"), QStringLiteral("SEG1"),  QStringLiteral("SEG2")};
    for (const QString& name : prjs) {
        const IniFile ini(kDataDir + QStringLiteral("/src/") + name);
        ASSERT_TRUE(ini.Loaded());
        int named = 0;
        for (const QString& key : srcKeys) {
            const QString v = ini.ReadString(QStringLiteral("SetUp"), key, QString());
            ASSERT_FALSE(v.isEmpty()) << name.toStdString() << " " << key.toStdString();
            if (v == QLatin1String("none"))
                continue;
            EXPECT_TRUE(QFile::exists(kDataDir + QStringLiteral("/src/") + v)) << name.toStdString() << ": " << v.toStdString();
            ++named;
        }
        EXPECT_GE(named, 4) << name.toStdString();
        const QString rep = ini.ReadString(QStringLiteral("SetUp"), QStringLiteral("REP"), QString());
        EXPECT_TRUE(QFile::exists(kDataDir + QStringLiteral("/rep/") + rep)) << name.toStdString();
        for (const QString& key : {QStringLiteral("CABLE"), QStringLiteral("AMP"), QStringLiteral("ANT")}) {
            const QString v = ini.ReadString(QStringLiteral("SetUp2"), key, QString());
            EXPECT_TRUE(v == QLatin1String("none") || QFile::exists(kDataDir + QStringLiteral("/src/") + v));
        }
        EXPECT_GT(RemoveDots(ini.ReadString(QStringLiteral("SetUp"), QStringLiteral("Stop_Hz"), QString())).toLongLong(),
                  RemoveDots(ini.ReadString(QStringLiteral("SetUp"), QStringLiteral("Start_Hz"), QString())).toLongLong());
    }
}

TEST(DefaultDataTest, DemoReportHasElevenPairs)
{
    const IniFile ini(kDataDir + QStringLiteral("/rep/demo.rep"));
    ASSERT_TRUE(ini.Loaded());
    for (int i = 1; i <= 11; ++i)
        EXPECT_FALSE(ini.ReadString(QStringLiteral("Data"), QStringLiteral("Cap%1").arg(i), QString()).isEmpty()) << i;
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Data"), QStringLiteral("Cap12")));
}

} // namespace
