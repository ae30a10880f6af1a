#include "chart/engine/ChartException.h"
#include "chart/engine/ChartValueList.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

double ParseRef(const QString& text)
{
    if (text == "nan")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == "inf")
        return std::numeric_limits<double>::infinity();
    if (text == "-inf")
        return -std::numeric_limits<double>::infinity();
    bool ok = false;
    const double v = text.toDouble(&ok);
    EXPECT_TRUE(ok) << text.toStdString();
    return v;
}

QStringList ReadLines(const QString& name)
{
    QFile file(testsupport::DataPath("engine/" + name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << name.toStdString();
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.isEmpty() && !line.startsWith('#'))
            lines << line;
    }
    return lines;
}

std::vector<double> Contents(const TChartValueList& list)
{
    const auto v = list.Values();
    return {v.begin(), v.end()};
}

} // namespace

TEST(ChartValueList, OrderedAddFollowsTheRules)
{
    TChartValueList asc(nullptr, "X");
    asc.SetOrder(loAscending);
    EXPECT_EQ(asc.AddChartValue(5), 0);
    EXPECT_EQ(asc.AddChartValue(3), 0);
    EXPECT_EQ(asc.AddChartValue(4), 1);
    EXPECT_EQ(Contents(asc), (std::vector<double>{3, 4, 5}));

    // New equal values land after the existing ones.
    TChartValueList eq(nullptr, "X");
    eq.SetOrder(loAscending);
    for (double v : {1.0, 2.0, 3.0})
        eq.AddChartValue(v);
    EXPECT_EQ(eq.AddChartValue(2), 2);
    EXPECT_EQ(eq.AddChartValue(2), 3);
    EXPECT_EQ(Contents(eq), (std::vector<double>{1, 2, 2, 2, 3}));

    TChartValueList desc(nullptr, "X");
    desc.SetOrder(loDescending);
    for (double v : {9.0, 5.0})
        desc.AddChartValue(v);
    EXPECT_EQ(desc.AddChartValue(5), 2);    // equal to the last: appended
    EXPECT_EQ(desc.AddChartValue(7), 1);
    EXPECT_EQ(Contents(desc), (std::vector<double>{9, 7, 5, 5}));

    TChartValueList none(nullptr, "Y");
    for (double v : {3.0, 1.0, 2.0, 1.0}) {
        const int before = none.Count();
        EXPECT_EQ(none.AddChartValue(v), before);
    }
    EXPECT_EQ(Contents(none), (std::vector<double>{3, 1, 2, 1}));
    EXPECT_EQ(none.TempValue, 1.0);
}

// Long random sequences with many equal values against the reference computed in python,
// once on a list known to be sorted and once after its order was broken (the backward scan).
TEST(ChartValueList, OrderedAddMatchesReference)
{
    const QStringList lines = ReadLines("ordered_ascending.txt");
    ASSERT_GT(lines.size(), 100);
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    std::vector<double> finals;
    for (const QString& line : lines) {
        const QStringList f = line.split(' ');
        if (f[0] == "add")
            ASSERT_EQ(list.AddChartValue(ParseRef(f[1])), f[2].toInt()) << line.toStdString();
        else
            finals.push_back(ParseRef(f[1]));
    }
    EXPECT_EQ(Contents(list), finals);

    const QStringList desc = ReadLines("ordered_descending.txt");
    TChartValueList d(nullptr, "X");
    d.SetOrder(loDescending);
    std::vector<double> dfinal;
    for (const QString& line : desc) {
        const QStringList f = line.split(' ');
        if (f[0] == "add")
            ASSERT_EQ(d.AddChartValue(ParseRef(f[1])), f[2].toInt()) << line.toStdString();
        else
            dfinal.push_back(ParseRef(f[1]));
    }
    EXPECT_EQ(Contents(d), dfinal);
}

TEST(ChartValueList, OrderedAddOnUnsortedListScansBackwards)
{
    // The list was overwritten out of order: the backward scan stops at the first value not
    // greater than the new one, as the rule says, even where a sorted search would differ.
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    for (double v : {1.0, 2.0, 3.0, 4.0})
        list.AddChartValue(v);
    list.SetValueQuiet(0, 10.0);       // 10 2 3 4
    EXPECT_EQ(list.AddChartValue(2.5), 2);
    EXPECT_EQ(Contents(list), (std::vector<double>{10, 2, 2.5, 3, 4}));
    EXPECT_EQ(list.AddChartValue(0.5), 0);
    // Once the order is restored the sorted search takes over, with the same answers.
    list.SetValueQuiet(1, -1.0);        // 0.5 -1 ... still unsorted
    list.Delete(1);                     // 0.5 2 2.5 3 4
    EXPECT_EQ(list.AddChartValue(2.5), 3);
    EXPECT_EQ(Contents(list), (std::vector<double>{0.5, 2, 2.5, 2.5, 3, 4}));
}

TEST(ChartValueList, CapacityGrowsInSteps)
{
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    EXPECT_EQ(list.Capacity(), 0);
    list.AddChartValue(1);
    EXPECT_EQ(list.Capacity(), 1000);
    for (int i = 1; i < 1000; ++i)
        list.AddChartValue(i);
    EXPECT_EQ(list.Count(), 1000);
    EXPECT_EQ(list.Capacity(), 1000);
    list.AddChartValue(5000);
    EXPECT_EQ(list.Capacity(), 2000);
    list.InsertChartValue(0, -1);
    EXPECT_EQ(list.Capacity(), 2000);
    list.Delete(0);
    EXPECT_EQ(list.Capacity(), 2000);     // never shrinks but by clearing
    list.ClearValues();
    EXPECT_EQ(list.Capacity(), 0);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ChartValueList, StatisticsMatchReferenceAndSkipNonFinite)
{
    const QStringList lines = ReadLines("statistics.txt");
    ASSERT_EQ(lines.size() % 2, 0);
    for (int i = 0; i < lines.size(); i += 2) {
        QStringList values = lines[i].split(' ', Qt::SkipEmptyParts);
        const QStringList expect = lines[i + 1].split(' ', Qt::SkipEmptyParts);
        ASSERT_EQ(values.takeFirst(), "case");
        const int n = values.takeFirst().toInt();
        ASSERT_EQ(values.size(), n);
        // Filled through appends (cache extended in place) and through inserts (recomputed).
        TChartValueList appended(nullptr, "Y");
        TChartValueList inserted(nullptr, "Y");
        appended.MaxValue();
        for (const QString& v : values) {
            appended.AddChartValue(ParseRef(v));
            inserted.InsertChartValue(0, ParseRef(v));
        }
        for (TChartValueList* list : {&appended, &inserted}) {
            EXPECT_DOUBLE_EQ(list->MinValue(), ParseRef(expect[1])) << "case " << i / 2;
            EXPECT_DOUBLE_EQ(list->MaxValue(), ParseRef(expect[2])) << "case " << i / 2;
            EXPECT_NEAR(list->Total(), ParseRef(expect[3]), 1e-9) << "case " << i / 2;
            EXPECT_NEAR(list->TotalABS(), ParseRef(expect[4]), 1e-9) << "case " << i / 2;
            EXPECT_TRUE(std::isfinite(list->Range()));
        }
        // Appends in order sum in the same order as the reference: the figures are exact.
        EXPECT_EQ(appended.Total(), ParseRef(expect[3]));
        EXPECT_EQ(appended.TotalABS(), ParseRef(expect[4]));
    }
}

TEST(ChartValueList, StatisticsCacheFollowsEveryChange)
{
    TChartValueList list(nullptr, "Y");
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 0);
    EXPECT_EQ(list.Total(), 0);
    EXPECT_EQ(list.TotalABS(), 0);
    list.AddChartValue(-2);
    list.AddChartValue(3);
    EXPECT_EQ(list.MinValue(), -2);
    EXPECT_EQ(list.MaxValue(), 3);
    EXPECT_EQ(list.Total(), 1);
    EXPECT_EQ(list.TotalABS(), 5);
    EXPECT_FALSE(list.Modified());

    list.SetValue(0, 7);                       // 7 3
    EXPECT_EQ(list.MaxValue(), 7);
    EXPECT_EQ(list.MinValue(), 3);
    list.InsertChartValue(1, -10);             // 7 -10 3
    EXPECT_EQ(list.MinValue(), -10);
    EXPECT_EQ(list.Total(), 0);
    list.Delete(1);                            // 7 3
    EXPECT_EQ(list.MinValue(), 3);
    list.Exchange(0, 1);                       // 3 7
    EXPECT_EQ(list.First(), 3);
    EXPECT_EQ(list.Last(), 7);
    list.FillSequence();                       // 0 1
    EXPECT_EQ(list.MaxValue(), 1);
    EXPECT_EQ(list.TotalABS(), 1);
    list.SetValueQuiet(1, -4);                 // 0 -4
    EXPECT_EQ(list.MinValue(), -4);
    list.AddChartValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(list.MinValue(), -4);
    EXPECT_EQ(list.MaxValue(), 0);
    list.DeleteRange(0, 2);                    // NaN only
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 0);
    list.ClearValues();
    EXPECT_EQ(list.TotalABS(), 0);

    // A NaN appended after the figures were read leaves them untouched.
    list.AddChartValue(5);
    EXPECT_EQ(list.MaxValue(), 5);
    list.AddChartValue(std::numeric_limits<double>::quiet_NaN());
    list.AddChartValue(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(list.MaxValue(), 5);
    EXPECT_EQ(list.MinValue(), 5);
    EXPECT_EQ(list.Total(), 5);
}

TEST(ChartValueList, LocateFindsFirstExactlyEqualValue)
{
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    EXPECT_EQ(list.Locate(1), -1);
    for (double v : {1.0, 2.0, 2.0, 2.0, 3.0, 0.1 + 0.2})
        list.AddChartValue(v);
    // 1 2 2 2 0.30000000000000004 3 -> sorted: 0.30000000000000004 1 2 2 2 3
    EXPECT_EQ(list.Locate(2), 2);
    EXPECT_EQ(list.Locate(0.3), -1);
    EXPECT_EQ(list.Locate(0.1 + 0.2), 0);
    EXPECT_EQ(list.Locate(3), 5);
    EXPECT_EQ(list.Locate(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(list.LocateRange(2, 3, 5), 3);
    EXPECT_EQ(list.LocateRange(2, 5, 3), -1);
    EXPECT_EQ(list.LocateRange(1, -7, 100), 1);

    // Unsorted lists are searched linearly; results agree with a plain scan on random data.
    std::mt19937 rng(7);
    TChartValueList y(nullptr, "Y");
    for (int i = 0; i < 500; ++i)
        y.AddChartValue(static_cast<double>(rng() % 50));
    for (int probe = -2; probe < 52; ++probe) {
        const auto v = y.Values();
        const auto it = std::find(v.begin(), v.end(), static_cast<double>(probe));
        const int expected = it == v.end() ? -1 : static_cast<int>(it - v.begin());
        EXPECT_EQ(y.Locate(probe), expected);
    }
    // ...and a list sorted by FillSequence then broken by SetValue is not binary-searched.
    TChartValueList z(nullptr, "Z");
    for (int i = 0; i < 10; ++i)
        z.AddChartValue(0);
    z.FillSequence();
    z.SetValue(8, 1);              // 0 1 2 3 4 5 6 7 1 9
    EXPECT_EQ(z.Locate(1), 1);
    EXPECT_EQ(z.Locate(9), 9);
    EXPECT_EQ(z.Locate(8), -1);
    // ...nor one whose appended block went back.
    TChartValueList w(nullptr, "W");
    w.AppendAll(std::vector<double>{1, 2, 3, 4});
    w.AppendAll(std::vector<double>{5, 0.5, 6});
    EXPECT_EQ(w.Locate(0.5), 5);
    EXPECT_EQ(w.Locate(6), 6);
}

TEST(ChartValueList, IndexAccessAndRangesAreChecked)
{
    TChartValueList list(nullptr, "X");
    for (int i = 0; i < 5; ++i)
        list.AddChartValue(i);
    try {
        list.Value(5);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Series Delete: ValueIndex 5 out of bounds (0 to 4).");
    }
    EXPECT_THROW(list.Value(-1), ChartException);
    EXPECT_THROW(list.SetValue(5, 1), ChartException);
    EXPECT_THROW(list.Delete(5), ChartException);
    EXPECT_THROW(list.Exchange(0, 9), ChartException);
    EXPECT_THROW(list.InsertChartValue(6, 1), ChartException);
    list.InsertChartValue(5, 5);       // inserting at Count appends
    EXPECT_EQ(list.Count(), 6);
    EXPECT_EQ(Contents(list), (std::vector<double>{0, 1, 2, 3, 4, 5}));

    list.DeleteRange(-1, 3);           // negative start: ignored
    EXPECT_EQ(list.Count(), 6);
    list.DeleteRange(4, 100);          // quantity cut to what exists
    EXPECT_EQ(Contents(list), (std::vector<double>{0, 1, 2, 3}));
    list.DeleteRange(1, -5);
    list.DeleteRange(9, 1);
    EXPECT_EQ(list.Count(), 4);
    list.DeleteRange(1, 2);
    EXPECT_EQ(Contents(list), (std::vector<double>{0, 3}));
}

TEST(ChartValueList, SortScrollAssignAndMultiplier)
{
    std::mt19937 rng(11);
    TChartValueList list(nullptr, "X");
    std::vector<double> expected;
    for (int i = 0; i < 2000; ++i) {
        const double v = static_cast<double>(rng() % 300) - 150.0;
        list.InsertChartValue(0, v);
        expected.push_back(v);
    }
    list.Sort();                       // loNone: unchanged
    EXPECT_EQ(Contents(list).front(), expected.back());
    list.SetOrder(loAscending);
    list.Sort();
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Contents(list), expected);
    list.SetOrder(loDescending);
    list.Sort();
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Contents(list), expected);
    EXPECT_EQ(list.CompareValueIndex(0, 1999), -1);     // descending reverses the sign
    EXPECT_EQ(list.CompareValueIndex(1999, 0), 1);

    TChartValueList s(nullptr, "Y");
    s.Scroll();
    for (double v : {1.0, 2.0, 3.0})
        s.AddChartValue(v);
    s.Scroll();
    EXPECT_EQ(Contents(s), (std::vector<double>{2, 3, 1}));

    TChartValueList a(nullptr, "A");
    a.SetOrder(loDescending);
    a.InitDateTime(true);
    a.SetValueSource("Field1");
    a.AddChartValue(42);
    TChartValueList b(nullptr, "B");
    b.Assign(a);
    EXPECT_EQ(b.Count(), 0);
    EXPECT_EQ(b.Order(), loDescending);
    EXPECT_TRUE(b.DateTime());
    EXPECT_FALSE(b.DefaultDateTime());
    EXPECT_EQ(b.ValueSource(), "Field1");
    EXPECT_EQ(b.Name(), "B");

    EXPECT_FALSE(TChartValueList::ReadMultiplier(1.0).has_value());
    EXPECT_TRUE(TChartValueList::ReadMultiplier(2.5).has_value());
}

TEST(ChartValueLists, KeepCreationOrder)
{
    TChartValueLists lists;
    TChartValueList* x = lists.Add(std::make_unique<TChartValueList>(nullptr, "X"));
    TChartValueList* y = lists.Add(std::make_unique<TChartValueList>(nullptr, "Y"));
    EXPECT_EQ(lists.Count(), 2);
    EXPECT_EQ(lists[0], x);
    EXPECT_EQ(lists[1], y);
    EXPECT_THROW(lists[2], ChartException);
}

TEST(ChartValueList, SortWithGapsEndsAndKeepsEveryValue)
{
    std::mt19937 rng(3);
    TChartValueList list(nullptr, "X");
    std::vector<double> finite;
    int gaps = 0;
    for (int i = 0; i < 3000; ++i) {
        if (rng() % 10 == 0) {
            list.InsertChartValue(0, std::numeric_limits<double>::quiet_NaN());
            ++gaps;
        } else {
            const double v = static_cast<double>(rng() % 100);
            list.InsertChartValue(0, v);
            finite.push_back(v);
        }
    }
    list.SetOrder(loAscending);
    list.Sort();
    std::vector<double> after;
    int gapsAfter = 0;
    for (double v : list.Values()) {
        if (std::isnan(v))
            ++gapsAfter;
        else
            after.push_back(v);
    }
    std::sort(finite.begin(), finite.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(gapsAfter, gaps);
    EXPECT_EQ(after, finite);
    EXPECT_EQ(list.MaxValue(), finite.back());
}

// Random edits in any mix, blocks appended at once among them, with the figures read at random
// moments: they always equal a plain pass over the values as they are (minimum and maximum of the
// finite values, sums in index order, whether any is not), and a lookup finds the first equal value.
TEST(ChartValueList, CachedFiguresEqualAFreshPassAfterAnyEdits)
{
    std::mt19937 rng(99);
    auto randomValue = [&]() {
        const unsigned r = rng() % 100;
        if (r == 0)
            return std::numeric_limits<double>::quiet_NaN();
        if (r == 1)
            return std::numeric_limits<double>::infinity();
        return static_cast<double>(static_cast<int>(rng() % 2001) - 1000) / 8.0;
    };
    TChartValueList list(nullptr, "Y");
    list.SetOrder(loAscending);
    // A block that mostly ascends from about the last value, now and then stepping back.
    auto block = [&]() {
        std::vector<double> values(rng() % 40);
        double v = list.Count() > 0 && std::isfinite(list.Last()) ? list.Last() : 0.0;
        for (double& x : values) {
            v += rng() % 8 == 0 ? -3.0 : static_cast<double>(rng() % 3) / 4.0;
            x = rng() % 60 == 0 ? randomValue() : v;
        }
        return values;
    };
    for (int step = 0; step < 20000; ++step) {
        const int n = list.Count();
        switch (rng() % 14) {
        case 12: {
            const std::vector<double> values = block();
            const size_t taken = list.AppendInOrder(values);
            ASSERT_EQ(list.Count(), n + static_cast<int>(taken));
            ASSERT_TRUE(taken == values.size() || !(values[taken] >= (taken > 0 ? values[taken - 1] : list.Last())))
                << "step " << step;
            break;
        }
        case 13: list.AppendAll(block()); break;
        case 0: case 1: case 2: list.AddChartValue(randomValue()); break;
        case 3: list.InsertChartValue(static_cast<int>(rng() % (n + 1)), randomValue()); break;
        case 4: if (n) list.Delete(static_cast<int>(rng() % n)); break;
        case 5: if (n) list.DeleteRange(static_cast<int>(rng() % n), static_cast<int>(rng() % 4)); break;
        case 6: case 7: if (n) list.SetValueQuiet(static_cast<int>(rng() % n), randomValue()); break;
        case 8: if (n) list.Exchange(static_cast<int>(rng() % n), static_cast<int>(rng() % n)); break;
        case 9: if (rng() % 20 == 0) list.Sort(); else list.Scroll(); break;
        case 10: if (rng() % 50 == 0) list.FillSequence(); break;
        case 11: if (rng() % 200 == 0) list.ClearValues(); break;
        }
        if (rng() % 3 != 0)
            continue;
        double mn = 0, mx = 0, total = 0, totalAbs = 0;
        bool any = false, nonFinite = false;
        for (double v : list.Values()) {
            nonFinite = nonFinite || !std::isfinite(v);
            if (!std::isfinite(v))
                continue;
            mn = any ? std::min(mn, v) : v;
            mx = any ? std::max(mx, v) : v;
            total += v;
            totalAbs += std::fabs(v);
            any = true;
        }
        if (list.Count() > 0) {
            const double wanted = list.Value(static_cast<int>(rng() % list.Count()));
            const auto values = list.Values();
            const auto at = std::find(values.begin(), values.end(), wanted);
            ASSERT_EQ(list.Locate(wanted), at == values.end() ? -1 : static_cast<int>(at - values.begin()))
                << "step " << step;
        }
        ASSERT_EQ(list.HasNonFinite(), nonFinite) << "step " << step;
        ASSERT_EQ(list.MinValue(), mn) << "step " << step;
        ASSERT_EQ(list.MaxValue(), mx) << "step " << step;
        if (rng() % 2) {
            ASSERT_EQ(list.Total(), total) << "step " << step;
            ASSERT_EQ(list.TotalABS(), totalAbs) << "step " << step;
        }
    }
}
