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

#include <algorithm>
#include <map>
#include <optional>

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

// The level of a trace at whole kHz x, as the correction chain reads a limit: linear between the
// first point at or above x and the point before it.
std::optional<double> LevelAt(const GridTrace& t, double x)
{
    if (t.X.empty() || x < t.X.front() || x > t.X.back())
        return std::nullopt;
    const size_t hi = static_cast<size_t>(std::lower_bound(t.X.begin(), t.X.end(), x) - t.X.begin());
    if (hi == 0)
        return t.Y.front();
    const size_t lo = hi - 1;
    return (t.Y[hi] - t.Y[lo]) / (t.X[hi] - t.X[lo]) * (x - t.X[lo]) + t.Y[lo];
}

// The standards apply the lower limit at a transition frequency. Every step of every shipped limit
// line, with the levels on both sides as the standards give them; a new ".lim" needs its row here.
TEST(DefaultDataTest, EveryStepReadsTheLowerLimitAtItsTransitionFrequency)
{
    struct Step {
        double khz, below, above;
    };
    const std::vector<Step> cispr32b = {{5000, 56, 60}}, cispr32bAv = {{5000, 46, 50}};
    const std::vector<Step> classAQp = {{500, 79, 73}}, classAAv = {{500, 66, 60}};
    const std::map<QString, std::vector<Step>> steps = {
        {"cispr32_b_qp.lim", cispr32b}, {"cispr11_g1_b_qp.lim", cispr32b}, {"cispr14_qp.lim", cispr32b},
        {"cispr32_b_av.lim", cispr32bAv}, {"cispr11_g1_b_av.lim", cispr32bAv}, {"cispr14_av.lim", cispr32bAv},
        {"cispr32_a_qp.lim", classAQp}, {"cispr11_g1_a_qp.lim", classAQp},
        {"cispr32_a_av.lim", classAAv}, {"cispr11_g1_a_av.lim", classAAv},
        {"cispr15_qp.lim", {{50, 110, 90}, {150, 80, 66}, {2510, 56, 73}, {3000, 73, 56}, {5000, 56, 60}}},
        {"cispr15_av.lim", {{2510, 46, 63}, {3000, 63, 46}, {5000, 46, 50}}},
        {"cispr32_b_10m_qp.lim", {{230000, 30, 37}}}, {"cispr32_a_10m_qp.lim", {{230000, 40, 47}}},
        {"cispr32_b_3m_qp.lim", {{230000, 40, 47}}}, {"cispr32_a_3m_qp.lim", {{230000, 50, 57}}},
        {"cispr32_b_3m_av_1g-6g.lim", {{3000000, 50, 54}}}, {"cispr32_b_3m_pk_1g-6g.lim", {{3000000, 70, 74}}},
        {"cispr32_a_3m_av_1g-6g.lim", {{3000000, 56, 60}}}, {"cispr32_a_3m_pk_1g-6g.lim", {{3000000, 76, 80}}},
        {"fcc15_b_3m_qp.lim", {{88000, 40.0, 43.5}, {216000, 43.5, 46.0}, {960000, 46.0, 54.0}}},
        {"fcc15_a_10m_qp.lim", {{88000, 39.1, 43.5}, {216000, 43.5, 46.4}, {960000, 46.4, 49.5}}},
        {"fcc15_b_3m_av_1g-6g.lim", {}}, {"fcc15_b_3m_pk_1g-6g.lim", {}},
    };
    const QStringList lims = Files(QStringLiteral("*.lim"));
    EXPECT_EQ(static_cast<size_t>(lims.size()), steps.size());
    for (const QString& name : lims) {
        const auto it = steps.find(name);
        ASSERT_NE(it, steps.end()) << name.toStdString() << " has no row";
        TableBuffer grid;
        ASSERT_TRUE(LoadLimitFile(grid, QStringLiteral("src/") + name, QLatin1Char('n'), Context()));
        // Both the limit series (corners only on flat parts) and the plain 4 kHz grid.
        for (bool flat : {true, false}) {
            GridTrace t;
            InterpolateGrid(grid, GridInterpolationOptions{grid.LevelLinear(), flat}, t);
            for (const Step& s : it->second) {
                const std::string where = name.toStdString() + " at " + std::to_string(s.khz) + " kHz" + (flat ? " flat" : " grid");
                const auto at = LevelAt(t, s.khz), before = LevelAt(t, s.khz - 1), after = LevelAt(t, s.khz + 1);
                ASSERT_TRUE(at && before && after) << where;
                EXPECT_NEAR(*at, std::min(s.below, s.above), 1e-6) << where;
                EXPECT_NEAR(*before, s.below, 0.5) << where;   // 1 kHz along a sloped part moves a little
                EXPECT_NEAR(*after, s.above, 0.5) << where;
            }
        }
    }
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
