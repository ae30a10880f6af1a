#include "app/CaughtErrors.h"
#include "app/Log.h"
#include "app/LoggerServices.h"
#include "app/NumberText.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class FakeServices : public LoggerServices {
public:
    std::vector<SeriesPoint> s1, s3, s6, s7;
    std::vector<double> labels;
    std::vector<SeriesPoint> SeriesPoints(int n) const override
    {
        switch (n) {
        case 1: return s1;
        case 3: return s3;
        case 6: return s6;
        case 7: return s7;
        default: return {};
        }
    }
    std::vector<double> BottomAxisLabelValues() const override { return labels; }
};

void ConfigureLog(DebugLog& log, uint8_t mode)
{
    log.DebugMode = mode;
    log.TimeText = [] { return QStringLiteral("14:03:07"); };
}

} // namespace

TEST(DebugLog, OnlyDebugModeWritesAndLinesCarryTheTime)
{
    DebugLog log;
    log.TimeText = [] { return QStringLiteral("14:03:07"); };
    log.LogMessage(QStringLiteral("off"));
    EXPECT_TRUE(log.Lines().isEmpty());
    log.DebugMode = true;
    log.LogMessage(QStringLiteral("VI Write :INIT:IMM"));
    ASSERT_EQ(log.Lines().size(), 1);
    EXPECT_EQ(log.Lines().first(), QStringLiteral("14:03:07: VI Write :INIT:IMM"));
    log.ClearLog();
    EXPECT_TRUE(log.Lines().isEmpty());
}

TEST(DebugLog, SeriesDumpsFollowTheButtonFormats)
{
    SetDecimalSeparator(QLatin1Char('.'));
    FakeServices services;
    DebugLog off;
    ConfigureLog(off, 0);
    services.s1 = {{150, 40.5}};
    DumpSeries1(off, services);
    EXPECT_TRUE(off.Lines().isEmpty());

    DebugLog empty;
    ConfigureLog(empty, 1);
    FakeServices none;
    DumpSeries1(empty, none);
    EXPECT_EQ(empty.Lines(), QStringList{QStringLiteral("14:03:07: -->s1 : ")});

    DebugLog log;
    ConfigureLog(log, 1);
    services.s1 = {{150, 40.5}, {154, -3.25}};
    DumpSeries1(log, services);
    EXPECT_EQ(log.Lines(), (QStringList{QStringLiteral("14:03:07: -->s1 : "), QStringLiteral("14:03:07: -->s1 : 0 150/40.5"),
                                        QStringLiteral("14:03:07: -->s1 : 1 154/-3.25")}));

    DebugLog x;
    ConfigureLog(x, 1);
    services.s7 = {{1, 2}};
    services.s3 = {};
    services.s6 = {{5, 6}};
    DumpSeriesX(x, services);
    EXPECT_EQ(x.Lines(), (QStringList{QStringLiteral("14:03:07: -->s7"), QStringLiteral("14:03:07: -->s7 : 0 1/2"),
                                      QStringLiteral("14:03:07: -->s3"), QStringLiteral("14:03:07: -->s6"),
                                      QStringLiteral("14:03:07: -->s6 : 0 5/6")}));
}

TEST(DebugLog, LabelDumpUsesTheProcessDecimalMark)
{
    FakeServices services;
    services.labels = {150, 1500.5};
    DebugLog log;
    ConfigureLog(log, 1);
    {
        ScopedDecimalSeparator comma(QLatin1Char(','));
        DumpBottomAxisLabels(log, services);
    }
    EXPECT_EQ(log.Lines(), (QStringList{QStringLiteral("14:03:07: rd items-------------"),
                                        QStringLiteral("14:03:07: item 0:150"), QStringLiteral("14:03:07: item 1:1500,5")}));
}

TEST(MessageLog, AppendsInOrderAndSignals)
{
    MessageLog log;
    QStringList seen;
    QObject::connect(&log, &MessageLog::LineAppended, [&](const QString& l) { seen << l; });
    log.Append(QStringLiteral("Info: a"));
    log.Append(QStringLiteral("Error: b"));
    EXPECT_EQ(log.Lines(), seen);
    EXPECT_EQ(seen.size(), 2);
    log.Clear();
    EXPECT_TRUE(log.Lines().isEmpty());
}

// A command that throws leaves the operator one error line; one that runs through leaves none.
TEST(RunLoggingErrors, AnExceptionBecomesTheCommandsErrorLine)
{
    MessageLog log;
    int runs = 0;
    RunLoggingErrors(log, [&] {
        ++runs;
        throw std::runtime_error("disk full");
    });
    RunLoggingErrors(log, [&] { ++runs; });
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(log.Lines(), QStringList{QStringLiteral("Error: disk full")});
}
