#include "chart/canvas/DateTimeSteps.h"

#include <QDate>
#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>

namespace {

QStringList ReferenceLines(const QString& prefix)
{
    QFile f(QStringLiteral(ZENDRIK_TEST_DATA "/canvas/datesteps.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList out;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(prefix))
            out << line;
    }
    return out;
}

double Days(int y, int m, int d) { return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d))); }

} // namespace

TEST(DateStep, TableMatchesTheReference)
{
    const QStringList lines = ReferenceLines(QStringLiteral("steps "));
    ASSERT_EQ(lines.size(), 1);
    const QStringList values = lines[0].split(' ', Qt::SkipEmptyParts).mid(1);
    ASSERT_EQ(values.size(), DateTimeStepCount);
    for (int i = 0; i < DateTimeStepCount; ++i)
        EXPECT_NEAR(DateTimeSteps()[static_cast<size_t>(i)], values[i].toDouble(), 1e-15) << i;
}

TEST(DateStep, FindStepTakesTheEntryAfterTheFirstNotAbove)
{
    const auto& t = DateTimeSteps();
    EXPECT_DOUBLE_EQ(FindDateTimeStep(1.0), t[17]);           // 1 day -> 2 days
    EXPECT_DOUBLE_EQ(FindDateTimeStep(1.5), t[17]);
    EXPECT_DOUBLE_EQ(FindDateTimeStep(t[2] * 3), t[3]);       // 3 s -> 5 s
    EXPECT_DOUBLE_EQ(FindDateTimeStep(t[3]), t[4]);           // 5 s -> 10 s
    EXPECT_DOUBLE_EQ(FindDateTimeStep(200), t[26]);           // 182 days -> 365 days
    EXPECT_DOUBLE_EQ(FindDateTimeStep(1000), t[26]);          // beyond: the entry after 182 days
    EXPECT_DOUBLE_EQ(FindDateTimeStep(t[0] / 2), t[26]);      // below everything: the last entry
}

TEST(DateStep, FindStepIndexMatchesWithinOneMicrosecond)
{
    const auto& t = DateTimeSteps();
    for (int i = 0; i < DateTimeStepCount; ++i)
        EXPECT_EQ(FindDateTimeStepIndex(t[static_cast<size_t>(i)]), i);
    EXPECT_EQ(FindDateTimeStepIndex(1.0 + 0.5 / 86400e6), 16);
    EXPECT_EQ(FindDateTimeStepIndex(1.0 + 2.0 / 86400e6), 27);
    EXPECT_EQ(FindDateTimeStepIndex(4.0), 27);
}

TEST(DateStep, TruncationMatchesTheReference)
{
    const QStringList lines = ReferenceLines(QStringLiteral("trunc "));
    ASSERT_GT(lines.size(), 20);
    for (const QString& line : lines) {
        const QStringList f = line.split(' ', Qt::SkipEmptyParts);
        const int index = f[1].toInt();
        const double value = f[2].toDouble();
        EXPECT_DOUBLE_EQ(TruncDateTimeToStep(index, value), f[3].toDouble()) << line.toStdString();
    }
    EXPECT_EQ(TruncDateTimeToStep(16, -3.25), -3.25);   // negative values stay
    EXPECT_EQ(TruncDateTimeToStep(5, 123.75), 123.75);  // other indices too
}

TEST(DateStep, IncrementsByDaysMonthsAndYears)
{
    EXPECT_DOUBLE_EQ(IncDateTimeStep(16, 100.25, 1, true), 101.25);
    EXPECT_DOUBLE_EQ(IncDateTimeStep(3, 100.25, 5.0 / 86400, false), 100.25 - 5.0 / 86400);
    EXPECT_DOUBLE_EQ(IncDateTimeStep(21, Days(2021, 11, 5), 30, true), Days(2021, 12, 5));
    EXPECT_DOUBLE_EQ(IncDateTimeStep(21, Days(2021, 12, 5), 30, true), Days(2022, 1, 5));   // wraps the year
    EXPECT_DOUBLE_EQ(IncDateTimeStep(23, Days(2021, 2, 5), 90, false), Days(2020, 11, 5));
    EXPECT_DOUBLE_EQ(IncDateTimeStep(25, Days(2021, 9, 1), 182, true), Days(2022, 3, 1));
    EXPECT_DOUBLE_EQ(IncDateTimeStep(26, Days(2020, 2, 29), 365, true), Days(2021, 2, 28));
    // A day the target month lacks becomes its last day.
    EXPECT_DOUBLE_EQ(IncDateTimeStep(21, Days(2021, 1, 31), 30, true), Days(2021, 2, 28));
    EXPECT_DOUBLE_EQ(IncDateTimeStep(21, Days(2024, 3, 31), 30, false), Days(2024, 2, 29));
    // The time of day stays.
    EXPECT_DOUBLE_EQ(IncDateTimeStep(22, Days(2021, 5, 10) + 0.75, 60, true), Days(2021, 7, 10) + 0.75);
}

TEST(DateStep, HalfMonthsMoveMonotonically)
{
    // Back: 20th -> 15th -> 1st -> 15th of the month before.
    EXPECT_DOUBLE_EQ(IncDateTimeStep(20, Days(2021, 3, 20), 15, false), Days(2021, 3, 15));
    EXPECT_DOUBLE_EQ(IncDateTimeStep(20, Days(2021, 3, 15), 15, false), Days(2021, 3, 1));
    EXPECT_DOUBLE_EQ(IncDateTimeStep(20, Days(2021, 3, 1), 15, false), Days(2021, 2, 15));
    EXPECT_DOUBLE_EQ(IncDateTimeStep(20, Days(2021, 1, 1), 15, false), Days(2020, 12, 15));
    // Forward never goes back in time.
    double v = Days(2021, 11, 1);
    const double expected[] = {Days(2021, 11, 15), Days(2021, 12, 1), Days(2021, 12, 15), Days(2022, 1, 1)};
    for (double e : expected) {
        const double next = IncDateTimeStep(20, v, 15, true);
        EXPECT_DOUBLE_EQ(next, e);
        EXPECT_GT(next, v);
        v = next;
    }
}
