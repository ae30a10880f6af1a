// Chart, compensation and reference-trace files against a chart with the main chart's series.
#include "app/Log.h"
#include "common/TestSupport.h"
#include "reports/ChartFileCommands.h"
#include "reports/ChartRecord.h"
#include "tests/reports/ReportChart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <tuple>

using chartfile::Record;
using reportstest::ReportChart;

namespace {

QByteArray Encode(const std::vector<Record>& records)
{
    QByteArray bytes(static_cast<qsizetype>(records.size()) * chartfile::kRecordSize, '\0');
    for (size_t i = 0; i < records.size(); ++i)
        chartfile::EncodeRecord(records[i], reinterpret_cast<unsigned char*>(bytes.data()) + i * chartfile::kRecordSize);
    return bytes;
}

struct ChartFileFixture : ::testing::Test {
    QTemporaryDir dir;
    ReportChart chart;
    MessageLog messages;
    DebugLog debug;
    ChartFileView view;
    int peaksCleared = 0;
    ChartFileHooks hooks{[this] { ++peaksCleared; }, {}, {}};

    void SetUp() override
    {
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("t"); };
        chart.Context.Messages = &messages;
        chart.Context.Debug = &debug;
        chart.BottomAxis()->SetRange(0, 100);
        chart.LeftAxis()->SetRange(0, 100);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        EXPECT_TRUE(testsupport::WriteAll(Path(name), bytes));
        return Path(name);
    }
    bool DebugHas(const QString& text) const { return debug.Lines().contains(QStringLiteral("t: ") + text); }
    // Every X and Y of a series, for bit-exact comparison.
    static std::vector<double> Values(const TChartSeries& s)
    {
        std::vector<double> v;
        for (int i = 0; i < s.Count(); ++i)
            v.insert(v.end(), {s.XValues().Value(i), s.YValues().Value(i)});
        return v;
    }
    static std::pair<double, double> Range(const TChartAxis& axis) { return {axis.Minimum(), axis.Maximum()}; }
    static bool BitEqual(const std::vector<double>& a, const std::vector<double>& b)
    {
        return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
    }
};

} // namespace

TEST(ChartRecordTest, LittleEndianWithoutPadding)
{
    unsigned char bytes[chartfile::kRecordSize];
    chartfile::EncodeRecord({-3, 0x01020304, 1.0, -2.0}, bytes);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(bytes), 24).toHex(),
              "fdffffff04030201000000000000f03f00000000000000c0");
    const Record r = chartfile::DecodeRecord(bytes);
    EXPECT_EQ(std::tuple(r.Tag, r.Index, r.X, r.Y), std::tuple(-3, 0x01020304, 1.0, -2.0));
}

TEST_F(ChartFileFixture, RoundTripIsBitExact)
{
    std::mt19937_64 random(35);
    std::uniform_real_distribution<double> level(0.0, 200.0);
    const std::vector<double> odd = {-0.0, 0.0, std::numeric_limits<double>::denorm_min(), 1000, 999.9999999999999, 5e-324 * 3};
    size_t points = 0;
    for (int n : chartfile::kChartFileSeries) {
        TChartSeries& s = chart.Series(n);
        const int count = n == 15 ? 0 : 20 + n;   // an empty series writes nothing
        for (int i = 0; i < count; ++i)
            s.AddPointXY(i < 6 ? odd[static_cast<size_t>(i)] : level(random), i < 6 ? odd[5 - i] : level(random));
        points += static_cast<size_t>(count);
    }
    chart.Series(6).AddPointXY(1, 1);  // not a chart-file series
    chart.BottomAxis()->SetRange(150.0, 30000.0);
    chart.LeftAxis()->SetRange(-50.25, -10.5);
    std::vector<std::vector<double>> before;
    for (int n : chartfile::kChartFileSeries)
        before.push_back(Values(chart.Series(n)));

    const QString file = Path("chart.drw");
    ASSERT_TRUE(SaveChartCommand(file, chart.Context));
    const QByteArray bytes = testsupport::ReadAll(file);
    ASSERT_EQ(bytes.size(), static_cast<qsizetype>(24 * (15 + points)));
    for (int i = 0; i < 15; ++i) {
        const Record r = chartfile::DecodeRecord(reinterpret_cast<const unsigned char*>(bytes.data()) + 24 * i);
        EXPECT_EQ(r.Tag, i == 0 ? -1 : i == 1 ? -2 : -3);
        EXPECT_EQ(r.Index, i < 2 ? 0 : i - 1);
    }

    // Another state: a zoom into a positive range that the old per-end setters could not leave
    // for the stored negative one.
    for (int n = 1; n <= 29; ++n)
        chart.Series(n).Clear();
    chart.BottomAxis()->SetRange(1, 2);
    chart.LeftAxis()->SetRange(200, 300);
    ASSERT_TRUE(LoadChartCommand(file, false, chart.Context, view, hooks));
    for (size_t k = 0; k < chartfile::kChartFileSeries.size(); ++k)
        EXPECT_TRUE(BitEqual(Values(chart.Series(chartfile::kChartFileSeries[k])), before[k])) << k;
    EXPECT_EQ(chart.Series(6).Count(), 0);
    EXPECT_EQ(Range(*chart.BottomAxis()), std::pair(150.0, 30000.0));
    EXPECT_EQ(Range(*chart.LeftAxis()), std::pair(-50.25, -10.5));
    EXPECT_TRUE(DebugHas("Chart was generated with:  V 0 4 . 1 2  BN=1 2 6 0 0 "));
    EXPECT_TRUE(DebugHas("Cart Left Min :-50.25"));
    EXPECT_TRUE(messages.Lines().isEmpty()) << messages.Lines().join('\n').toStdString();

    // The handler's part: both sets' peaks go, the caption loses its file part, compensation is off.
    EXPECT_EQ(peaksCleared, 1);
    EXPECT_EQ(view.ChartLabel, "Chart: chart.drw");
    EXPECT_EQ(view.Caption(), "Zendrik  ");
    EXPECT_FALSE(view.UseCompensation);
}

TEST_F(ChartFileFixture, PointsFollowTheSeriesOrderNotTheFile)
{
    // Descending X with repeated values, in file order; Index is never looked at.
    std::vector<Record> records{{-3, 1, 'V', ' '}};
    TChartSeries expected;
    for (int i = 0; i < 300; ++i) {
        const double x = 1000 - (i / 3), y = i;
        records.push_back({1, 7, x, y});
        expected.AddPointXY(x, y);
    }
    records.push_back({8, 0, 5, 5});
    records.push_back({6, 0, 5, 5});   // not in a chart file: skipped
    records.push_back({99, 0, 5, 5});
    chart.Series(6).AddPointXY(1, 1);
    ASSERT_TRUE(LoadChartFile(Write("desc.drw", Encode(records)), chart.Context));
    EXPECT_TRUE(BitEqual(Values(chart.Series(1)), Values(expected)));
    EXPECT_EQ(chart.Series(8).Count(), 1);
    EXPECT_EQ(chart.Series(6).Count(), 1);
    EXPECT_TRUE(DebugHas("Chart was generated with:  V "));
}

TEST_F(ChartFileFixture, AxisRecordsThatCannotApply)
{
    chart.BottomAxis()->SetLogarithmic(true);
    chart.BottomAxis()->SetRange(10, 1000);
    for (const auto& [bottom, left] : std::vector<std::pair<Record, Record>>{
             {{-1, 0, 100, 50}, {-2, 0, 100, 50}},
             {{-1, 0, 0, 50}, {-2, 0, 1e12, -1e12}},   // zero has no place on a logarithmic axis
         }) {
        debug.ClearLog();
        ASSERT_TRUE(LoadChartFile(Write("axes.drw", Encode({bottom, left, {1, 0, 3, 4}})), chart.Context));
        EXPECT_TRUE(DebugHas("Bottom Axis Min Max ERR")) << debug.Lines().join('\n').toStdString();
        EXPECT_TRUE(DebugHas("Left Axis Min Max ERR"));
        EXPECT_EQ(Range(*chart.BottomAxis()), std::pair(10.0, 1000.0));
        EXPECT_EQ(Range(*chart.LeftAxis()), std::pair(0.0, 100.0));
        EXPECT_EQ(chart.Series(1).Count(), 1);   // the rest of the file loads
    }
    // Equal ends are a valid range.
    ASSERT_TRUE(LoadChartFile(Write("axes.drw", Encode({{-2, 0, 7, 7}})), chart.Context));
    EXPECT_EQ(chart.LeftAxis()->Minimum(), 7);
}

// A point that is no number or infinite, in a series the command takes or not, or a file cut
// short changes nothing, whichever command reads it: one line says why.
TEST_F(ChartFileFixture, DamagedFilesChangeNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QByteArray whole = Encode({{-3, 1, 300, -1}, {-3, 2, nan, 65}, {7, 0, 2, 2}, {29, 0, 2, 2}});
    chart.Series(7).AddPointXY(5, 5);
    for (const Record& damage : {Record{1, 1, nan, 2}, {26, 2, 3, HUGE_VAL}, {9, 0, 3, -HUGE_VAL}, {7, 1, 9, 9}}) {
        const QString file = Write("damaged.drw", whole + Encode({damage}).left(damage.Tag == 7 ? 5 : 24));
        for (int kind = 0; kind < 3; ++kind) {
            messages.Clear();
            EXPECT_FALSE(kind == 0   ? LoadChartFile(file, chart.Context)
                         : kind == 1 ? LoadZeroCompensation(file, chart.Context)
                                     : LoadReferenceTrace(file, &chart.Series(12), &chart.Series(13), 1, 2, chart.Context));
            EXPECT_EQ(messages.Lines().size(), 1) << damage.Tag << kind;
        }
    }
    EXPECT_TRUE(messages.Lines()[0].endsWith(": the last 5 bytes are no whole record: the file is cut short; nothing was loaded"));
    EXPECT_TRUE(chart.Series(7).Count() == 1 && chart.Series(12).Count() + chart.Series(29).Count() == 0);

    // Header codes out of range give "?", and the text stops at 256 characters.
    std::vector<Record> header(200, Record{-3, 0, 65.4, 256});
    ASSERT_TRUE(LoadChartFile(Write("long.drw", Encode(header)), chart.Context));
    const QString text = debug.Lines().last().mid(QStringLiteral("t: Chart was generated with:  ").size());
    EXPECT_EQ(text.size(), 256);
    EXPECT_TRUE(text.startsWith("A?A?"));
}

TEST_F(ChartFileFixture, RefusedFilesLeaveTheChartAlone)
{
    chart.Series(1).AddPointXY(1, 2);
    chart.LeftAxis()->SetRange(-5, 5);
    // A sparse file one record over the limit, a folder, files of no chart record, and one gone.
    const QString big = Path("big.drw");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize((chartfile::kMaxRecords + 1) * chartfile::kRecordSize));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.drw"));
    // So do axis ends that are not numbers or far beyond any range (1e308 left no trace in sight).
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const QString& file : {big, Path("folder.drw"), Write("none.drw", {}), Write("p.drw", Encode({{1, 0, 7, 7}})),
             Write("nan.drw", Encode({{-3, 1, 86, 32}, {-1, 0, 0, nan}, {1, 0, 9, 9}})),
             Write("huge.drw", Encode({{-3, 1, 86, 32}, {-2, 0, -1, 1e308}, {1, 0, 9, 9}})),
             Write("points.drw", Encode({{-3, 1, 86, 32}, {-2, 0, -1, 1}, {7, 0, 150, 20}, {7, 1, 200, 1e308}})),
             Write("khz.drw", Encode({{-3, 1, 86, 32}, {1, 0, -9, 9}}))}) {
        messages.Clear();
        EXPECT_FALSE(LoadChartCommand(file, false, chart.Context, view, hooks));
        ASSERT_EQ(messages.Lines().size(), 1);
        EXPECT_TRUE(messages.Lines()[0].startsWith("Error: " + file + ": ")) << messages.Lines()[0].toStdString();
    }
    EXPECT_FALSE(LoadChartCommand(Path("missing.drw"), false, chart.Context, view, hooks));
    // A running measurement fills the traces a load would replace.
    const QString good = Write("good.drw", Encode({{-2, 0, 0, 1}, {1, 0, 7, 7}}));
    EXPECT_FALSE(LoadChartCommand(good, true, chart.Context, view, hooks));
    EXPECT_EQ(Values(chart.Series(1)), (std::vector<double>{1, 2}));
    EXPECT_EQ(chart.LeftAxis()->Minimum(), -5);
    EXPECT_EQ(peaksCleared, 0);
    EXPECT_TRUE(view.ChartLabel.isEmpty());

    // A write that cannot be done says why; on a full disk the old file stays.
    EXPECT_FALSE(SaveChartFile(Path("no/such/folder/x.drw"), chart.Context));
    EXPECT_TRUE(messages.Lines().last().startsWith("Error: "));
    const testsupport::DiskFull full;
    EXPECT_FALSE(SaveChartFile(good, chart.Context));
    EXPECT_EQ(messages.Lines().last(), "Error: " + good + ": " + testsupport::DiskFull::Reason());
}

TEST_F(ChartFileFixture, RandomBytesNeverHurt)
{
    std::mt19937 random(36);
    for (int round = 0; round < 10000; ++round) {
        QByteArray bytes(static_cast<qsizetype>(random() % 200), '\0');
        for (char& c : bytes)
            c = static_cast<char>(random() % 8 == 0 ? 0 : random());
        // Plausible tags now and then, so that points get through.
        for (qsizetype at = 0; at + 4 <= bytes.size(); at += 24)
            if (random() % 2)
                bytes[at] = static_cast<char>(std::array<int, 6>{1, 7, 14, 0xFF, 0xFE, 0xFD}[random() % 6]),
                bytes[at + 1] = bytes[at + 2] = bytes[at + 3] = static_cast<char>(bytes[at] < 0 ? 0xFF : 0);
        // A new name each round: rewriting one file makes the file system flush it every time.
        const QString file = Write(QStringLiteral("fuzz%1.drw").arg(round), Encode({{-3, 1, 65, 65}}) + bytes);
        const int before = chart.Series(1).Count();
        LoadChartFile(file, chart.Context);
        QFile::remove(file);
        // Counted apart from the reader: host order is little-endian here. A wild axis refuses all.
        int expected1 = 0;
        bool axisFault = false;
        for (qsizetype at = 0; at + 24 <= bytes.size(); at += 24) {
            int32_t tag;
            double x, y;
            std::memcpy(&tag, bytes.data() + at, 4);
            std::memcpy(&x, bytes.data() + at + 8, 8);
            std::memcpy(&y, bytes.data() + at + 16, 8);
            expected1 += tag == 1;
            axisFault |= (tag == -1 || tag == -2) && !(std::fabs(x) <= 1e12 && std::fabs(y) <= 1e12);
            axisFault |= (tag == 1 || tag == 7 || tag == 14) && !(x >= 0 && x <= 1e9 && std::fabs(y) <= 1000);
        }
        axisFault |= bytes.size() % 24 != 0; // a point no chart holds, or a record cut short, refuses all
        ASSERT_EQ(chart.Series(1).Count(), axisFault ? before : expected1) << round;
        if (chart.Series(1).Count() > 0) {
            ASSERT_LE(chart.Series(1).XValues().First(), chart.Series(1).XValues().Last()) << round;
        }
    }
}

TEST_F(ChartFileFixture, CompensationFiles)
{
    chart.Series(26).AddPointXY(150, -1.5);
    chart.Series(26).AddPointXY(200, -2.5);
    const QString file = Path("comp.cmp");
    ASSERT_TRUE(SaveCompensationCommand(file, chart.Context));
    EXPECT_EQ(messages.Lines(), QStringList{"Info: no compensation found for set2"});
    const QByteArray bytes = testsupport::ReadAll(file);
    ASSERT_EQ(bytes.size(), 48);
    EXPECT_EQ(chartfile::DecodeRecord(reinterpret_cast<const unsigned char*>(bytes.data()) + 24).Tag, 26);

    chart.Series(26).Clear();
    chart.Series(29).AddPointXY(1, 1);
    messages.Clear();
    view.CaptionProjectText = "p";
    EXPECT_FALSE(LoadCompensationCommand(file, true, chart.Context, view));   // grid locked: a run measures
    EXPECT_EQ(chart.Series(29).Count(), 1);
    messages.Clear();
    ASSERT_TRUE(LoadCompensationCommand(file, false, chart.Context, view));
    EXPECT_EQ(Values(chart.Series(26)), (std::vector<double>{150, -1.5, 200, -2.5}));
    EXPECT_EQ(chart.Series(26).GetPointColor(0), clBlack);
    EXPECT_EQ(chart.Series(29).Count(), 0);
    EXPECT_TRUE(view.UseCompensation);
    EXPECT_EQ(view.CompensationLoaded, 1);
    EXPECT_EQ(view.Caption(), "Zendrik p [comp.cmp]");
    EXPECT_EQ(messages.Lines(), QStringList{"Info: Set2 no compensation data available"});

    // Either kind read as the other, nothing, or no numbers: refused, the compensation stays.
    const QString drw = Path("c.drw");
    chart.Series(7).AddPointXY(1, 1);
    ASSERT_TRUE(SaveChartFile(drw, chart.Context));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Levels no compensation can have (1e308 a flipped exponent bit, 1e6) refuse the whole file.
    const QString huge = Write("huge.cmp", Encode({{29, 0, 150, 20}, {29, 1, 200, 1e308}}));
    for (const QString& bad : {drw, Write("empty.cmp", {}), Write("nan.cmp", Encode({{26, 0, nan, 1}})), huge,
                               Write("million.cmp", Encode({{26, 0, 150, 1e6}}))})
        EXPECT_FALSE(LoadCompensationCommand(bad, false, chart.Context, view));
    EXPECT_EQ(messages.Lines().filter("; nothing was loaded").size(), 5);
    EXPECT_TRUE(messages.Lines().contains("Error: " + huge + ": point 1 of series 29 is at 200 kHz, 1E308: beyond "
                                          "0..1e+09 kHz and -1000..1000 dB; nothing was loaded"));
    EXPECT_EQ(Values(chart.Series(26)), (std::vector<double>{150, -1.5, 200, -2.5}));
    EXPECT_FALSE(LoadChartFile(file, chart.Context));   // nor clears anything
    EXPECT_EQ(chart.Series(7).Count(), 1);
}

TEST_F(ChartFileFixture, ReferenceTraces)
{
    chart.Context.TraceColors = {11, 12, 21, 22, 31, 32};
    chart.Series(7).AddPointXY(150, 40);
    chart.Series(7).AddPointXY(160, 41);
    chart.LeftAxis()->SetRange(-30, 90);
    const QString set1Only = Path("set1.drw");
    ASSERT_TRUE(SaveChartFile(set1Only, chart.Context));
    chart.Series(9).AddPointXY(500, 50);
    const QString both = Path("both.drw");
    ASSERT_TRUE(SaveChartFile(both, chart.Context));
    chart.LeftAxis()->SetRange(0, 10);

    ASSERT_TRUE(LoadReferenceCommand(2, set1Only, chart.Context, view));
    EXPECT_EQ(chart.Series(19).Count(), 2);
    EXPECT_EQ(chart.Series(19).GetPointColor(1), 21);
    EXPECT_EQ(chart.Series(20).Count(), 0);
    EXPECT_EQ(chart.LeftAxis()->Minimum(), -30);   // the file's ranges apply
    EXPECT_EQ(view.TraceLabels[1], "Trace2: set1.drw");
    ASSERT_TRUE(LoadReferenceCommand(1, both, chart.Context, view));
    ASSERT_TRUE(LoadReferenceCommand(1, set1Only, chart.Context, view));   // replaces the slot
    EXPECT_EQ(chart.Series(12).Count(), 2);
    EXPECT_EQ(chart.Series(13).Count(), 0);
    EXPECT_EQ(chart.Series(19).Count(), 2);
    // The live traces and their peaks stay.
    EXPECT_EQ(chart.Series(7).Count(), 2);
    EXPECT_EQ(peaksCleared, 0);

    ASSERT_TRUE(SaveZeroCompensation(Path("z.cmp"), chart.Context));
    EXPECT_FALSE(LoadReferenceCommand(3, Path("z.cmp"), chart.Context, view));
    EXPECT_EQ(chart.Series(21).Count() + chart.Series(22).Count(), 0);

    int repaints = 0;
    hooks.RepaintChart = [&repaints] { ++repaints; };
    ClearReferenceTraces(chart.Context, view, hooks);
    for (int n : {12, 13, 19, 20, 21, 22})
        EXPECT_EQ(chart.Series(n).Count(), 0);
    EXPECT_EQ(view.TraceLabels, (std::array<QString, 3>{"Trace1:", "Trace2:", "Trace3:"}));
    EXPECT_EQ(repaints, 1);
}
