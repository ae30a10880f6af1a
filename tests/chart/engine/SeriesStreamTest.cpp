#include "AxisTestSupport.h"
#include "EngineFakes.h"

#include "chart/canvas/PlotFiltersStream.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesStream.h"

#include <gtest/gtest.h>

#include <random>

using enginetest::FakeChart;

namespace {

// A series of the orientation and columns a test needs.
class TestSeries : public TChartSeries {
public:
    explicit TestSeries(bool horizontal = false, bool thirdList = false)
    {
        if (horizontal) {
            SetHorizontal();
            XValues().SetOrder(loNone);
            YValues().SetOrder(loAscending);
        }
        if (thirdList)
            AddValueList(QStringLiteral("End"));
    }
};

struct Kind {
    bool horizontal = false, thirdList = false, ownX = false, colors = false, labels = false, positions = false;
};

QString RandomLabel(std::mt19937& rng)
{
    static const QString pieces[] = {"a", "Ω", QString::fromUtf8("дБмкВ"), QString::fromUtf8("測定"),
                                     QString::fromUtf8("\xF0\x9F\x93\xA1"), "Lim 1 "};
    QString label;
    const int n = static_cast<int>(rng() % 140);
    for (int i = 0; i < n; ++i)
        label += pieces[rng() % std::size(pieces)];
    return label;
}

void FillRandom(TestSeries& s, const Kind& k, int count, std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(-1e6, 1e6);
    double along = -50.0;
    for (int i = 0; i < count; ++i) {
        along = k.ownX ? along + 0.25 + (rng() % 1000) * 1e-3 : i;
        if (k.thirdList)
            s.ValuesList()[2]->TempValue = u(rng);
        const QString label = k.labels && rng() % 3 == 0 ? RandomLabel(rng) : QString();
        const TColor color = k.colors && rng() % 2 ? static_cast<TColor>(rng() & 0xFFFFFF) : clDefault;
        if (k.horizontal)
            s.AddPointXY(u(rng), along, label, color);
        else
            s.AddPointXY(along, u(rng), label, color);
    }
    for (int i = 0; k.positions && i < count; i += 3) {
        TSeriesMarkPosition p;
        p.ArrowFrom = {static_cast<int>(rng() % 2000) - 1000, 7};
        p.ArrowTo = {-3, static_cast<int>(rng() % 500)};
        p.ArrowFix = rng() % 2;
        p.LeftTop = {static_cast<int>(rng()), -1};
        p.Width = 40, p.Height = 12;
        if (i % 2)
            s.Marks().Positions().SetPosition(i, p);
        else
            s.Marks().Positions().Store(i, p);
    }
}

// Bytes of the UTF-8 character that starts with lead.
int Utf8Length(char lead)
{
    const auto c = static_cast<unsigned char>(lead);
    return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// Equal points; a label comes back cut to at most 255 bytes of UTF-8 at a character boundary.
// Mark positions are stored only while one of them is custom.
void ExpectSamePoints(TChartSeries& a, TChartSeries& b, bool positionsStored = true)
{
    ASSERT_EQ(a.Count(), b.Count());
    for (int l = 0; l < a.ValuesList().Count(); ++l)
        for (int i = 0; i < a.Count(); ++i)
            ASSERT_EQ(a.ValuesList()[l]->Value(i), b.ValuesList()[l]->Value(i)) << "list " << l << " point " << i;
    for (int i = 0; i < a.Count(); ++i) {
        ASSERT_EQ(a.GetPointColor(i), b.GetPointColor(i)) << i;
        const QByteArray full = a.XLabel(i).toUtf8(), read = b.XLabel(i).toUtf8();
        ASSERT_LE(read.size(), 255);
        ASSERT_TRUE(full.startsWith(read)) << i;
        if (read.size() < full.size()) {   // the next character would not have fitted
            ASSERT_GT(read.size() + Utf8Length(full[read.size()]), 255);
        }
        const TSeriesMarkPosition* p = positionsStored ? a.Marks().Positions().Position(i) : nullptr;
        const TSeriesMarkPosition* q = b.Marks().Positions().Position(i);
        ASSERT_EQ(p != nullptr, q != nullptr) << i;
        if (p) {
            EXPECT_EQ(p->Custom, q->Custom);
            EXPECT_EQ(p->Bounds(), q->Bounds());
            EXPECT_EQ(p->ArrowFrom, q->ArrowFrom);
            EXPECT_EQ(p->ArrowTo, q->ArrowTo);
            EXPECT_EQ(p->ArrowFix, q->ArrowFix);
        }
    }
}

} // namespace

TEST(SeriesData, APlainSeriesStoresOnlyItsCountAndValues)
{
    TChartSeries s;
    s.Add(1.5);
    s.Add(2.5);
    s.Add(-3);
    EXPECT_EQ(WriteSeriesData(s).toHex(), "0003000000"
                                          "000000000000f83f"
                                          "0000000000000440"
                                          "00000000000008c0");
}

TEST(SeriesData, ColoursLabelsAndXThatStartLateAreKept)
{
    TChartSeries s;
    const int n = 10010;
    for (int i = 0; i < n; ++i)
        s.AddPointXY(i == 10001 ? 10001.5 : i, i % 7);   // leaves 0, 1, 2 ... only there
    s.SetPointColor(10005, clRed);
    s.SetXLabel(150, "late");
    const QByteArray blob = WriteSeriesData(s);
    EXPECT_EQ(blob[0], 7);
    TChartSeries r;
    ReadSeriesData(r, blob);
    ExpectSamePoints(s, r);
    EXPECT_TRUE(r.PointsFromStream);
}

TEST(SeriesData, RandomSeriesComeBackEqualAndWriteTheSameBytesAgain)
{
    std::mt19937 rng(2024);
    for (int round = 0; round < 128; ++round) {
        const Kind k{(round & 1) != 0, (round & 2) != 0, (round & 4) != 0,
                     (round & 8) != 0, (round & 16) != 0, (round & 32) != 0};
        TestSeries s(k.horizontal, k.thirdList);
        FillRandom(s, k, static_cast<int>(rng() % 300), rng);
        const QByteArray blob = WriteSeriesData(s);
        TestSeries r(k.horizontal, k.thirdList);
        r.AddPointXY(5, 5, "old", clBlue);
        ReadSeriesData(r, blob);
        SCOPED_TRACE(round);
        ExpectSamePoints(s, r, (blob[0] & 8) != 0);
        EXPECT_EQ(WriteSeriesData(r), blob);
    }
}

TEST(SeriesData, DamagedBlobsLoadWholeOrAreRefusedWithoutAChange)
{
    std::mt19937 rng(7);
    const Kind all{false, true, true, true, true, true};
    TestSeries source(false, true);
    FillRandom(source, all, 12, rng);
    const QByteArray blob = WriteSeriesData(source);
    ASSERT_EQ(blob[0], 15);
    TestSeries target(false, true);
    ReadSeriesData(target, blob);

    int refused = 0, loaded = 0, changed = 0;
    const auto attempt = [&](const QByteArray& bytes) {
        const QByteArray before = WriteSeriesData(target);
        try {
            ReadSeriesData(target, bytes);
            ++loaded;
            ReadSeriesData(target, blob);
        } catch (const ChartException& e) {
            ++refused;
            changed += WriteSeriesData(target) != before || !e.Message().contains("damaged");
        }
    };
    for (int cut = 0; cut < blob.size(); ++cut)
        attempt(blob.left(cut));
    EXPECT_EQ(refused, blob.size());
    for (int i = 0; i < 10000; ++i) {
        QByteArray m = blob;
        for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0; --edits) {
            const int at = static_cast<int>(rng() % static_cast<unsigned>(m.size() + 1));
            switch (rng() % 4) {
            case 0: if (at < m.size()) m[at] = static_cast<char>(rng()); break;
            case 1: m.insert(at, static_cast<char>(rng())); break;
            case 2: m.remove(at, 1 + static_cast<int>(rng() % 8)); break;
            default: {   // another point count, often a plausible one
                const uint32_t count = rng() % 2 ? rng() % 40 : static_cast<uint32_t>(rng());
                for (int b = 0; b < 4 && b + 1 < m.size(); ++b)
                    m[b + 1] = static_cast<char>(count >> (8 * b));
            }
            }
        }
        attempt(m);
    }
    EXPECT_EQ(changed, 0);
    EXPECT_GT(loaded, 0);
    QByteArray bad = blob;
    bad[0] = 16;
    EXPECT_THROW(ReadSeriesData(target, bad), ChartException);
    EXPECT_THROW(ReadSeriesData(target, blob + '\0'), ChartException);
    EXPECT_THROW(ReadSeriesData(target, QByteArray::fromHex("00ffffffff")), ChartException);
}

TEST(SeriesData, ReadingClearsFirstAndRefreshesOnceAtTheEnd)
{
    FakeChart chart;
    TChartSeries& s = chart.NewSeries();
    TChartSeries& fed = chart.NewSeries();
    fed.SetDataSource(&s);
    s.AddPointXY(9, 9);
    TChartSeries three;
    three.Add(1), three.Add(2), three.Add(3);
    int clears = 0, adds = 0;
    s.OnClearValues = [&](TChartSeries* series) { clears += series->Count() == 0 && adds == 0; };
    s.OnAfterAdd = [&](TChartSeries*, int) { ++adds; };
    chart.events.clear();
    ReadSeriesData(s, WriteSeriesData(three));
    EXPECT_EQ(clears, 1);
    EXPECT_EQ(adds, 0);
    int refreshes = 0;
    for (const auto& [series, kind] : chart.events)
        refreshes += series == &s && kind == seDataChanged;
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(fed.Count(), 3);
}

TEST(SeriesStreamProperties, GoThroughTheFormStreamAndResolveAfterLoading)
{
    axistest::AxisChart chart;
    TChartSeries& a = chart.NewSeries();
    a.SetName("Trace1");
    a.AddPointXY(1, 2);
    TChartSeries& b = chart.NewSeries();
    b.SetName("Trace2");
    TChartAxis& h = chart.NewCustomAxis(true);
    TChartAxis& v = chart.NewCustomAxis(false);
    TChartSeries& s = chart.NewSeries();
    s.SetIdentifier(QString::fromUtf8("Messung Ω 測定"));
    s.SetStyle(37);
    s.DataSources().Add(&a);
    s.DataSources().Add(&b);
    s.SetCustomHorizAxis(&h);
    s.SetCustomVertAxis(&v);
    s.AlwaysStorePoints = true;
    QByteArray out;
    WriteSeriesProperties(s, out);

    TChartSeries& r = chart.NewSeries();
    SeriesStreamLinks links;
    QStringList names;
    for (int pos = 0; pos < out.size();) {
        QString name;
        QVariant value;
        ASSERT_TRUE(ReadStreamProperty(out, pos, name, value));
        EXPECT_TRUE(ReadSeriesProperty(r, name, value, links));
        names << name;
    }
    EXPECT_EQ(names, (QStringList{"Identifier", "Style", "Data", "DataSources", "CustomHorizAxis", "CustomVertAxis"}));
    links.DataSources.insert(1, "Missing");
    ResolveSeriesLinks(r, links);
    EXPECT_EQ(r.Identifier(), s.Identifier());
    EXPECT_EQ(r.Style(), 37);
    ASSERT_EQ(r.DataSources().Count(), 2);
    EXPECT_EQ(r.DataSources()[1], &b);
    EXPECT_EQ(r.CustomHorizAxis(), &h);
    EXPECT_EQ(r.GetVertAxis(), &v);
    ExpectSamePoints(a, r);

    TChartSeries& q = chart.NewSeries();
    ResolveSeriesLinks(q, SeriesStreamLinks{{}, 99, chart.Axes().IndexOf(&h)});
    EXPECT_EQ(q.HorizAxis(), aBottomAxis);   // out of range
    EXPECT_EQ(q.VertAxis(), aLeftAxis);      // not a vertical axis
    EXPECT_THROW(ReadSeriesProperty(q, "Style", QString("bold"), links), ChartException);
    EXPECT_FALSE(ReadSeriesProperty(q, "Title", QString("x"), links));

    for (int cut = 0; cut < out.size(); ++cut) {   // a cut stream reads as far as it is whole
        int pos = 0, read = 0;
        QString name;
        QVariant value;
        while (ReadStreamProperty(out.left(cut), pos, name, value))
            ++read;
        EXPECT_LT(read, names.size());
    }
}

TEST(SeriesAssign, CopiesSettingsAndEitherThePointsOrTheSourcesThatFeedThem)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    a.AddPointXY(1, 10, "one");
    a.AddPointXY(2, 20, "", clRed);
    a.SetTitle("Lim 1");
    a.SetSeriesColor(clGreen);
    a.SetValueFormat("0.0");
    a.SetHorizAxis(aTopAxis);
    a.XValues().SetDateTime(true);

    TChartSeries& copy = chart.NewSeries();
    copy.Assign(a);
    EXPECT_EQ(copy.Title(), "Lim 1");
    EXPECT_EQ(copy.SeriesColor(), clGreen);
    EXPECT_EQ(copy.ValueFormat(), "0.0");
    EXPECT_EQ(copy.GetHorizAxis(), chart.TopAxis());
    EXPECT_TRUE(copy.XValues().DateTime());
    ExpectSamePoints(a, copy);

    TChartSeries& fed = chart.NewSeries();
    fed.SetDataSource(&a);
    fed.AddPointXY(99, 99);   // not a's: the copy reloads from the source instead
    TChartSeries& fedCopy = chart.NewSeries();
    fedCopy.Assign(fed);
    EXPECT_EQ(fedCopy.DataSource(), &a);
    ExpectSamePoints(a, fedCopy);

    fed.PointsFromStream = true;   // points of the stream are copied, not the sources
    TChartSeries& streamCopy = chart.NewSeries();
    streamCopy.Assign(fed);
    EXPECT_EQ(streamCopy.DataSource(), nullptr);
    EXPECT_EQ(streamCopy.Count(), 3);
}
