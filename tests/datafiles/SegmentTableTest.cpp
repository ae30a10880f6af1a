#include "DataFilesTestSupport.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/SegmentTable.h"

#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

struct Seg {
    QString a, b, bw, sweep, att, pre, det;
};

class SegmentTableTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    DebugLog debug;
    DataFileContext context;
    SegmentTable table;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        debug.DebugMode = 1;
        debug.TimeText = [] { return "t"; };
        context.WorkingFolder = dir.path();
        context.Dialogs = &dialogs;
        context.Debug = &debug;
    }

    static QStringList Lines(const std::vector<Seg>& segs)
    {
        const std::pair<const char*, QString Seg::*> keys[] = {{"FRQa__", &Seg::a},   {"FRQb__", &Seg::b},
                                                               {"BW____", &Seg::bw},  {"Sweep_", &Seg::sweep},
                                                               {"Att___", &Seg::att}, {"PreAmp", &Seg::pre},
                                                               {"Detector", &Seg::det}};
        QStringList l = {"[Data]"};
        for (size_t i = 0; i < segs.size(); ++i)
            for (const auto& [key, field] : keys)
                if (!(segs[i].*field).isNull())
                    l << key + QString::number(i + 1) + '=' + segs[i].*field;
        return l;
    }

    static Seg Good(const QString& a, const QString& b) { return {a, b, "9000", "500", "10", "off", "POS"}; }

    // Loads the segments and returns why the file gave none (empty on success); never a box.
    QString Load(const std::vector<Seg>& segs, int32_t margin = 3000)
    {
        WriteIni(dir.path(), "src/t.seg", Lines(segs));
        const QString fault = LoadSegmentTable(table, ".\\src\\t.seg", margin, context);
        EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('|').toStdString();
        return fault;
    }
};

TEST_F(SegmentTableTest, ReadsEveryFieldAndSumsTheTime)
{
    std::vector<Seg> segs = {Good("30.000.000", "108.000.000"),
                             Seg{"108000000", "108000000", "120kHz", "500", "auto", "on", "qpeak"}};
    segs[0].det = "PosPeak";
    EXPECT_TRUE(Load(segs).isEmpty());
    ASSERT_EQ(table.Count, 2);
    using Fields = std::tuple<int64_t, int64_t, QString, int32_t, int32_t, QString, QString>;
    const auto fields = [this](int n) {
        const SegmentRecord& r = table.Segment(n);
        return Fields(r.StartHz, r.StopHz, r.Rbw, r.SweepMs, r.Attenuation, r.PreAmp, r.Detector);
    };
    EXPECT_EQ(fields(1), Fields(30000000, 108000000, "9000", 500, 10, "off", "POSPEAK"));
    // Zero width and touching are fine.
    EXPECT_EQ(fields(2), Fields(108000000, 108000000, "120kHz", 500, -1, "on", "QPEAK"));
    EXPECT_EQ(table.TotalTimeMs, 2 * (500 + 3000 + 3000));
    ASSERT_FALSE(debug.Lines().isEmpty());
    EXPECT_TRUE(debug.Lines().last().endsWith("Seg File found .\\src\\t.seg"));

    EXPECT_TRUE(Load({Good("1", "2")}, 1000).isEmpty());
    EXPECT_EQ(table.TotalTimeMs, 500 + 1000 + 3000);
}

TEST_F(SegmentTableTest, FileWithoutSegmentsSaysSoAndAMissingOneGivesCountZeroSilently)
{
    EXPECT_EQ(Load({}), "no key FRQa__1");
    EXPECT_EQ(table.Count, 0);
    table.Count = 3;
    EXPECT_EQ(LoadSegmentTable(table, "src/none.seg", 3000, context), QString());
    EXPECT_EQ(table.Count, 0);
}

TEST_F(SegmentTableTest, ValueErrorsNameTheSegmentAndTheText)
{
    Seg s = Good("150000", "30000000");
    s.sweep = "1.000";
    EXPECT_EQ(Load({s}), "Segment File Error Seg: 1 1.000");
    s.sweep = "500";
    // A number no analyser can be set to names its key, its text and the bound.
    const std::tuple<QString Seg::*, const char*, const char*> cases[] = {
        {&Seg::a, "3O.000", "3O.000"}, {&Seg::b, "4e7", "4e7"}, {&Seg::att, "ten", "ten"},
        {&Seg::pre, "ON", "ON"},       {&Seg::det, "pk", "PK"}, {&Seg::bw, "9 kHz wide", "9 kHz wide"},
        {&Seg::b, "5.000.000.000.000", "FRQb__2=5.000.000.000.000 lies outside 0..1000000000000 Hz"},
        {&Seg::bw, "0", "BW____2=0 lies outside 1..1000000 Hz"},
        {&Seg::bw, "nan", "BW____2=nan lies outside 1..1000000 Hz"},
        {&Seg::sweep, "-5", "Sweep_2=-5 lies outside 1..2999999 ms"},
        {&Seg::sweep, "2147483647", "Sweep_2=2147483647 lies outside 1..2999999 ms"},
        {&Seg::att, "99999", "Att___2=99999 lies outside 0..50 dB"}};
    for (const auto& [field, text, quoted] : cases) {
        Seg t = Good("30000000", "40000000");
        t.*field = text;
        EXPECT_EQ(Load({s, t}), QString("Segment File Error Seg: 2 ") + quoted);
    }
    EXPECT_EQ(table.Count, 0);
}

TEST_F(SegmentTableTest, KeyCountErrorsNameTheFirstMissingNumber)
{
    const std::vector<Seg> segs = {Good("1", "2"), Good("2", "3"), Good("3", "4")};
    auto with = [&](QString Seg::*field, const char* word) {
        std::vector<Seg> v = segs;
        v[2].*field = QString();
        return std::make_pair(Load(v), "Segment File Error Seg: 3" + QLatin1String(word));
    };
    for (const auto& [got, want] : {with(&Seg::b, " Freqb__"), with(&Seg::bw, " BW____"), with(&Seg::sweep, " Sweep_"),
                                    with(&Seg::att, " Att____"), with(&Seg::pre, " PreAmp__"), with(&Seg::det, " Detector")})
        EXPECT_EQ(got, want);

    // More stop keys than start keys.
    std::vector<Seg> v = segs;
    v[2].a = QString();
    v[1].a = QString();
    v[1].bw = v[1].sweep = v[1].att = v[1].pre = v[1].det = QString();
    v[2].bw = v[2].sweep = v[2].att = v[2].pre = v[2].det = QString();
    EXPECT_EQ(Load(v), "Segment File Error Seg: 4 Freqb__");

    // A gap: a segment missing whole or its start alone before a later one, a key after the last.
    v = {Good("1", "2"), Seg{}, Good("3", "4")};
    EXPECT_EQ(Load(v), "Segment File Error Seg: 2 Freqa__");
    v[1] = Good(QString(), "3");
    EXPECT_EQ(Load(v), "Segment File Error Seg: 2 Freqa__");
    WriteIni(dir.path(), "src/t.seg", Lines(segs) << "BW____5=9000");
    EXPECT_EQ(LoadSegmentTable(table, "src/t.seg", 0, context), "Segment File Error Seg: 4 BW____");
}

TEST_F(SegmentTableTest, OrderErrorsCarryThousandDots)
{
    EXPECT_EQ(Load({Good("150.000", "30.000.000"), Good("29.999.999", "40.000.000")}),
              "Segment File Error Seg: 2: 29.999.999Hz < 30.000.000Hz");
    EXPECT_EQ(Load({Good("5000", "4000")}), "Segment File Error Seg: 1: 5.000Hz > 4.000Hz");
}

TEST_F(SegmentTableTest, FailedLoadLeavesNoHalfTableBehind)
{
    ASSERT_TRUE(Load({Good("1000", "2000")}).isEmpty());
    ASSERT_EQ(table.Count, 1);
    Seg bad = Good("2000", "3000");
    bad.det = "XX";
    EXPECT_FALSE(Load({Good("1000", "2000"), bad}).isEmpty());
    EXPECT_EQ(table.Count, 0);
    EXPECT_EQ(table.TotalTimeMs, 0);
}

TEST_F(SegmentTableTest, FiveHundredSegmentsFitAndMoreAreRefused)
{
    std::vector<Seg> segs;
    for (int n = 0; n < 500; ++n)
        segs.push_back(Good(QString::number(n * 10), QString::number(n * 10 + 10)));
    EXPECT_TRUE(Load(segs).isEmpty());
    EXPECT_EQ(table.Count, 500);
    EXPECT_EQ(table.Segment(500).StopHz, 5000);
    segs.push_back(Good("5000", "5010"));
    EXPECT_EQ(Load(segs), "Segment File Error Seg: 501 more than 500 segments");
    EXPECT_EQ(table.Count, 0);
}

// A column added to the table ("Dwell_", kept where the sweep time is) is read by the run as the
// shipped ones are; a file short of its keys, holding a value it refuses or one beyond its bound is
// refused with its word.
TEST_F(SegmentTableTest, AColumnAddedToTheTableIsReadByTheRun)
{
    std::vector<SegmentColumnInfo> columns(kSegmentColumns.begin(), kSegmentColumns.end());
    columns.push_back({SegmentColumn(kSegmentColumnCount + 1), "Dwell_", "Dwell[ms]", 64, SegmentCellForm::Text, nullptr,
                       {}, true, +[](QString& text, SegmentRecord& s) { return TryStrToInt(text, s.SweepMs); },
                       SegmentBound({0, 1000}, " ms", segmentrun::SweepOf), " Dwell_"});
    const auto parse = [&](const QStringList& dwell, std::span<const SegmentColumnInfo> with) {
        WriteIni(dir.path(), "src/t.seg", Lines({Good("1000", "2000"), Good("2000", "3000")}) + dwell);
        return ParseSegmentFile(dir.filePath("src/t.seg"), 3000, with);
    };
    const SegmentParseResult r = parse({"Dwell_1=700", "Dwell_2=800"}, columns);
    EXPECT_TRUE(r.Error.isEmpty() && r.Table.Count == 2 && r.Table.Segment(2).SweepMs == 800 &&
                r.Table.TotalTimeMs == 700 + 800 + 2 * (3000 + 3000));
    EXPECT_EQ(parse({"Dwell_1=700", "Dwell_2=800"}, kSegmentColumns).Table.Segment(2).SweepMs, 500);
    EXPECT_EQ(parse({"Dwell_1=700"}, columns).Error, "Segment File Error Seg: 2 Dwell_");
    EXPECT_EQ(parse({"Dwell_1=7s", "Dwell_2=800"}, columns).Error, "Segment File Error Seg: 1 7s");
    EXPECT_EQ(parse({"Dwell_1=7000", "Dwell_2=800"}, columns).Error,
              "Segment File Error Seg: 1 Dwell_1=7000 lies outside 0..1000 ms");
}

} // namespace
