#include "datafiles/TableBuffer.h"
#include "datafiles/TableInterpolation.h"

#include <QFile>
#include <QTextStream>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

void Fill(TableBuffer& grid, const Rows& rows)
{
    grid.ClearData();
    for (size_t i = 0; i < rows.size(); ++i) {
        grid.SetCell(static_cast<int>(i) + 1, 1, rows[i].first);
        grid.SetCell(static_cast<int>(i) + 1, 2, rows[i].second);
    }
}

// The curve of a grid holding `rows`.
GridTrace Interp(const Rows& rows, bool linear, bool flat = false)
{
    TableBuffer grid;
    Fill(grid, rows);
    GridTrace t;
    InterpolateGrid(grid, GridInterpolationOptions{linear, flat}, t);
    return t;
}

// "kHz level" lines written by tests/data/datafiles/make_reference.py.
std::vector<std::pair<double, double>> Reference(const char* name)
{
    std::vector<std::pair<double, double>> out;
    QFile f(QStringLiteral(ZENDRIK_TEST_DATA "/datafiles/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1Char('#')) || line.trimmed().isEmpty())
            continue;
        const QStringList p = line.split(QLatin1Char(' '));
        out.emplace_back(p[0].toDouble(), p[1].toDouble());
    }
    return out;
}

// The last corner is a point of the curve: a trace point on a plan's stop is corrected and
// compared like its neighbours.
TEST(TableInterpolationTest, LinearPairCoversTheGridAndItsLastCorner)
{
    const GridTrace t = Interp({{"150000", "66"}, {"500000", "56"}}, true);
    ASSERT_FALSE(t.DataError);
    ASSERT_EQ(t.X.size(), 89u);
    EXPECT_EQ(t.X.front(), 150.0);
    EXPECT_EQ(t.X[87], 498.0);
    EXPECT_EQ(t.X.back(), 500.0);
    EXPECT_EQ(t.Y.back(), 56.0);
    EXPECT_DOUBLE_EQ(t.Y[0], 66.0);
    EXPECT_NEAR(t.Y[1], 66.0 - 4.0 * 10.0 / 350.0, 1e-12);
    // The extremes: from 10000 Hz, as no corner is lower, and from 0 dB.
    EXPECT_EQ(std::tuple(t.LowestFreq, t.HighestFreq, t.LowestLevel, t.HighestLevel), std::tuple(1e4, 5e5, 0.0, 66.0));
}

TEST(TableInterpolationTest, LogarithmicModeFollowsTheLineInLogF)
{
    const GridTrace t = Interp({{"150.000", "66"}, {"500.000", "56"}}, false);
    ASSERT_EQ(t.X.size(), 89u);
    for (size_t i = 0; i < t.X.size(); ++i)
        EXPECT_NEAR(t.Y[i], 66.0 - 10.0 * std::log10(t.X[i] / 150.0) / std::log10(500.0 / 150.0), 1e-9);
}

TEST(TableInterpolationTest, EveryPointMatchesIndependentReference)
{
    const Rows rows = {{"9.000", "40"},      {"150.000", "20"},   {"150.010", "30"},
                       {"1.000.000", "30,5"}, {"1.000.400", "12"}, {"2.345.678", "17.25"}};
    for (const auto& [file, linear] : {std::pair{"small_table_lin.txt", true}, std::pair{"small_table_log.txt", false}}) {
        const auto ref = Reference(file);
        ASSERT_EQ(ref.size(), 589u) << file;
        const GridTrace t = Interp(rows, linear);
        ASSERT_EQ(t.X.size(), ref.size()) << file;
        for (size_t i = 0; i < ref.size(); ++i) {
            ASSERT_EQ(t.X[i], ref[i].first) << file << " point " << i;
            ASSERT_NEAR(t.Y[i], ref[i].second, 1e-9) << file << " point " << i;
        }
    }
}

// Two rows on one grid point are a step: both levels stay, the earlier first; the same level
// twice is one corner, so a repeated row changes nothing.
TEST(TableInterpolationTest, StepsKeepBothLevelsAndRepeatedRowsChangeNothing)
{
    EXPECT_EQ(Interp({{"150010", "1"}, {"150014", "2"}}, true).X, std::vector<double>({150, 150}));
    // Halves round to even: 2.5 kHz -> 2, 10.5 kHz -> 10.
    EXPECT_EQ(Interp({{"2500", "0"}, {"10500", "8"}}, true).X, std::vector<double>({2, 6, 10}));

    const Rows clean = {{"1000000", "-1"}, {"8000000", "-2.5"}, {"30000000", "-4"}};
    for (bool linear : {true, false}) {
        const GridTrace before = Interp(clean, linear);
        const GridTrace twice = Interp({clean[0], clean[0], clean[1], clean[2], clean[2]}, linear);
        EXPECT_EQ(twice.X, before.X);
        EXPECT_EQ(twice.Y, before.Y);
    }
}

// A row that would cut the curve short refuses the whole table, naming the row and the value.
TEST(TableInterpolationTest, RowsThatWouldCutTheCurveShortRefuseIt)
{
    const std::pair<QString, QString> a{"100000", "1"}, b{"200000", "2"}, c{"300000", "3"};
    const struct {
        Rows rows;
        bool linear;
        const char* fault;
    } cases[] = {
        {{a, b, {"150000", "2"}, c}, true, "row 3: the frequency 150000 Hz lies below the 200000 Hz of row 2"},
        {{a, {"", ""}, c}, true, "row 2: the frequency is empty"},
        {{a, {"200000", ""}, c}, true, "row 2: the level is empty"},
        {{a, {"200000", "1,5,0"}, c}, true, "row 2: the level 1,5,0 is no number"},
        {{a, {"2x0000", "1"}, c}, true, "row 2: the frequency 2x0000 is no number"},
        {{a, {"0", "5"}, c}, true, "row 2: the frequency 0 Hz is not above 0 Hz"},
        {{a, {"200000", "inf"}}, true, "row 2: the level inf is no number"},
        // Below 500 Hz the first grid point is 0 kHz, whose logarithm does not exist.
        {{{"100", "1"}, a}, false, "row 1: the frequency 100 Hz rounds to 0 kHz, which has no logarithm"},
    };
    for (const auto& k : cases) {
        const GridTrace t = Interp(k.rows, k.linear);
        EXPECT_EQ(t.Fault, QLatin1String(k.fault));
        EXPECT_TRUE(t.DataError && t.X.empty() && t.Y.empty()) << k.fault;
    }
    EXPECT_FALSE(Interp({{"100", "1"}, a}, true).DataError);
}

TEST(TableInterpolationTest, TypingSlipAskingForBillionsOfPointsIsRefused)
{
    GridTrace t = Interp({{"9.000", "60"}, {"3.000.000.000.000", "40"}}, true);
    EXPECT_EQ(t.Fault, "row 2: the frequency 3000000000000 Hz lies outside 0..1e+12 Hz");
    EXPECT_TRUE(t.X.empty());
    EXPECT_LT(t.X.capacity(), 1'000'000u);

    // Many moderate pairs that together exceed the cap are refused at the pair that crosses it.
    t = Interp({{"1000", "1"}, {"24.000.000.000", "1"}, {"48.000.000.000", "1"}}, true);
    EXPECT_EQ(t.Fault, "row 3: the curve would have more than 11000000 points");
    EXPECT_TRUE(t.X.empty());
}

TEST(TableInterpolationTest, FlatSegmentRuleForLimitLines)
{
    const Rows flat = {{"150.000", "60"}, {"30.000.000", "60"}};
    for (bool linear : {true, false}) {
        const GridTrace t = Interp(flat, linear, true);
        EXPECT_EQ(t.X, std::vector<double>({150, 30000}));
        EXPECT_EQ(t.Y, std::vector<double>({60, 60}));
    }
    // Without the rule a flat pair is sampled like any other.
    EXPECT_EQ(Interp(flat, true, false).X.size(), static_cast<size_t>((30000 - 150 + 3) / 4 + 1));
}

TEST(TableInterpolationTest, NineKilohertzToThreeGigahertz)
{
    TableBuffer grid;
    Fill(grid, {{"9000", "80"}, {"3000000000", "40"}});
    GridTrace t;
    InterpolateGrid(grid, GridInterpolationOptions{false, false}, t);
    ASSERT_EQ(t.X.size(), 749'999u);
    EXPECT_EQ(t.X.front(), 9.0);
    EXPECT_EQ(t.X[749'997], 2'999'997.0);
    EXPECT_EQ(t.X.back(), 3'000'000.0);
    // A second run into the same trace reuses its storage.
    const double* data = t.X.data();
    InterpolateGrid(grid, GridInterpolationOptions{true, false}, t);
    EXPECT_EQ(t.X.data(), data);
    EXPECT_EQ(t.X.size(), 749'999u);
}

} // namespace
