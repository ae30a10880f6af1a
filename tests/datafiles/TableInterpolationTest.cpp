#include "datafiles/TableBuffer.h"
#include "datafiles/TableInterpolation.h"

#include <QFile>
#include <QTextStream>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

void Fill(TableBuffer& grid, const std::vector<std::pair<QString, QString>>& rows)
{
    grid.ClearData();
    for (size_t i = 0; i < rows.size(); ++i) {
        grid.SetCell(static_cast<int>(i) + 1, 1, rows[i].first);
        grid.SetCell(static_cast<int>(i) + 1, 2, rows[i].second);
    }
}

GridTrace Interp(const TableBuffer& grid, bool linear, bool flat = false)
{
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

TEST(TableInterpolationTest, LinearPairCoversTheGridUpToButNotIncludingTheEnd)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("150000"), QStringLiteral("66")}, {QStringLiteral("500000"), QStringLiteral("56")}});
    const GridTrace t = Interp(grid, true);
    ASSERT_FALSE(t.DataError);
    ASSERT_EQ(t.X.size(), 88u);
    EXPECT_EQ(t.X.front(), 150.0);
    EXPECT_EQ(t.X.back(), 498.0);
    EXPECT_DOUBLE_EQ(t.Y[0], 66.0);
    EXPECT_NEAR(t.Y[1], 66.0 - 4.0 * 10.0 / 350.0, 1e-12);
    EXPECT_EQ(t.LowestFreq, 10000.0); // starts at 10000 Hz and no corner is lower
    EXPECT_EQ(t.HighestFreq, 500000.0);
    EXPECT_EQ(t.LowestLevel, 0.0);
    EXPECT_EQ(t.HighestLevel, 66.0);
}

TEST(TableInterpolationTest, LogarithmicModeFollowsTheLineInLogF)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("150.000"), QStringLiteral("66")}, {QStringLiteral("500.000"), QStringLiteral("56")}});
    const GridTrace t = Interp(grid, false);
    ASSERT_EQ(t.X.size(), 88u);
    for (size_t i = 0; i < t.X.size(); ++i)
        EXPECT_NEAR(t.Y[i], 66.0 - 10.0 * std::log10(t.X[i] / 150.0) / std::log10(500.0 / 150.0), 1e-9);
}

TEST(TableInterpolationTest, EveryPointMatchesIndependentReference)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("9.000"), QStringLiteral("40")},
                {QStringLiteral("150.000"), QStringLiteral("20")},
                {QStringLiteral("150.010"), QStringLiteral("30")},
                {QStringLiteral("1.000.000"), QStringLiteral("30,5")},
                {QStringLiteral("1.000.400"), QStringLiteral("12")},
                {QStringLiteral("2.345.678"), QStringLiteral("17.25")}});
    for (const auto& [file, linear] : {std::pair{"small_table_lin.txt", true}, std::pair{"small_table_log.txt", false}}) {
        const auto ref = Reference(file);
        ASSERT_EQ(ref.size(), 586u) << file;
        const GridTrace t = Interp(grid, linear);
        ASSERT_EQ(t.X.size(), ref.size()) << file;
        for (size_t i = 0; i < ref.size(); ++i) {
            ASSERT_EQ(t.X[i], ref[i].first) << file << " point " << i;
            ASSERT_NEAR(t.Y[i], ref[i].second, 1e-9) << file << " point " << i;
        }
    }
}

TEST(TableInterpolationTest, StepsAndNarrowPairsAddNoPoints)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("100.000"), QStringLiteral("50")},
                {QStringLiteral("130.000"), QStringLiteral("50")},
                {QStringLiteral("130.010"), QStringLiteral("40")},
                {QStringLiteral("138.000"), QStringLiteral("40")}});
    const GridTrace t = Interp(grid, true);
    ASSERT_EQ(t.X.size(), 8u + 2u);
    EXPECT_EQ(t.X[7], 128.0);
    EXPECT_EQ(t.Y[7], 50.0);
    EXPECT_EQ(t.X[8], 130.0); // the next pair starts at 130 kHz with its own level
    EXPECT_EQ(t.Y[8], 40.0);

    Fill(grid, {{QStringLiteral("150010"), QStringLiteral("1")}, {QStringLiteral("150014"), QStringLiteral("2")}});
    EXPECT_TRUE(Interp(grid, true).X.empty());
    EXPECT_FALSE(Interp(grid, true).DataError);

    // Halves round to even: 2.5 kHz -> 2, 10.5 kHz -> 10.
    Fill(grid, {{QStringLiteral("2500"), QStringLiteral("0")}, {QStringLiteral("10500"), QStringLiteral("8")}});
    const GridTrace h = Interp(grid, true);
    ASSERT_EQ(h.X.size(), 2u);
    EXPECT_EQ(h.X[0], 2.0);
    EXPECT_EQ(h.X[1], 6.0);
}

TEST(TableInterpolationTest, DescendingPairsEmptyRowsAndBadTextsAreSkipped)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("200000"), QStringLiteral("1")},
                {QStringLiteral("100000"), QStringLiteral("2")}, // descending: nothing
                {QString(), QString()},                           // empty row splits the curve
                {QStringLiteral("300000"), QStringLiteral("x")},
                {QStringLiteral("400000"), QStringLiteral("5")},
                {QStringLiteral("420000"), QStringLiteral("7")}});
    const GridTrace t = Interp(grid, true);
    EXPECT_FALSE(t.DataError);
    ASSERT_EQ(t.X.size(), 5u);
    EXPECT_EQ(t.X.front(), 400.0);
    EXPECT_EQ(t.X.back(), 416.0);
    // The extremes see every pair with four texts, but not the text that does not convert.
    EXPECT_EQ(t.HighestFreq, 420000.0);
    EXPECT_EQ(t.HighestLevel, 7.0);
}

TEST(TableInterpolationTest, FaultsStopWithDataErrorKeepingEarlierPoints)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("100000"), QStringLiteral("1")},
                {QStringLiteral("120000"), QStringLiteral("1")},
                {QStringLiteral("120000"), QStringLiteral("2")}, // equal frequencies
                {QStringLiteral("200000"), QStringLiteral("3")}});
    GridTrace t = Interp(grid, true);
    EXPECT_TRUE(t.DataError);
    EXPECT_EQ(t.X.size(), 5u);
    EXPECT_EQ(t.X.back(), 116.0);

    Fill(grid, {{QStringLiteral("0"), QStringLiteral("1")}, {QStringLiteral("100000"), QStringLiteral("2")}});
    t = Interp(grid, true); // both slopes are always computed
    EXPECT_TRUE(t.DataError);
    EXPECT_TRUE(t.X.empty());

    Fill(grid, {{QStringLiteral("-5000"), QStringLiteral("1")}, {QStringLiteral("100000"), QStringLiteral("2")}});
    EXPECT_TRUE(Interp(grid, true).DataError);

    // Below 500 Hz the first grid point is 0 kHz, whose logarithm does not exist.
    Fill(grid, {{QStringLiteral("100"), QStringLiteral("1")}, {QStringLiteral("100000"), QStringLiteral("2")}});
    EXPECT_TRUE(Interp(grid, false).DataError);
    EXPECT_FALSE(Interp(grid, true).DataError);
}

TEST(TableInterpolationTest, TypingSlipAskingForBillionsOfPointsIsRefused)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("9.000"), QStringLiteral("60")}, {QStringLiteral("3.000.000.000.000"), QStringLiteral("40")}});
    GridTrace t = Interp(grid, true);
    EXPECT_TRUE(t.DataError);
    EXPECT_TRUE(t.X.empty());
    EXPECT_LT(t.X.capacity(), 1'000'000u);

    // Many moderate pairs that together exceed the cap are refused at the pair that crosses it.
    Fill(grid, {{QStringLiteral("1000"), QStringLiteral("1")},
                {QStringLiteral("24.000.000.000"), QStringLiteral("1")},
                {QStringLiteral("48.000.000.000"), QStringLiteral("1")}});
    t = Interp(grid, true);
    EXPECT_TRUE(t.DataError);
    EXPECT_EQ(t.X.size(), 6'000'000u);
}

TEST(TableInterpolationTest, FlatSegmentRuleForLimitLines)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("150.000"), QStringLiteral("60")}, {QStringLiteral("30.000.000"), QStringLiteral("60")}});
    for (bool linear : {true, false}) {
        const GridTrace t = Interp(grid, linear, true);
        ASSERT_EQ(t.X.size(), 2u);
        EXPECT_EQ(t.X[0], 150.0);
        EXPECT_EQ(t.X[1], 30000.0);
        EXPECT_EQ(t.Y[0], 60.0);
        EXPECT_EQ(t.Y[1], 60.0);
    }
    // Without the rule a flat pair is sampled like any other.
    EXPECT_EQ(Interp(grid, true, false).X.size(), static_cast<size_t>((30000 - 150 + 3) / 4));
}

TEST(TableInterpolationTest, NineKilohertzToThreeGigahertz)
{
    TableBuffer grid;
    Fill(grid, {{QStringLiteral("9000"), QStringLiteral("80")}, {QStringLiteral("3000000000"), QStringLiteral("40")}});
    GridTrace t;
    InterpolateGrid(grid, GridInterpolationOptions{false, false}, t);
    ASSERT_EQ(t.X.size(), 749'998u);
    EXPECT_EQ(t.X.front(), 9.0);
    EXPECT_EQ(t.X.back(), 2'999'997.0);
    // A second run into the same trace reuses its storage.
    const double* data = t.X.data();
    InterpolateGrid(grid, GridInterpolationOptions{true, false}, t);
    EXPECT_EQ(t.X.data(), data);
    EXPECT_EQ(t.X.size(), 749'998u);
}

} // namespace
