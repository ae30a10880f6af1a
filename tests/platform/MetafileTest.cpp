#include "EmfReader.h"

#include "platform/gdi/MetafilePlayer.h"
#include "platform/gdi/RasterDC.h"
#include "platform/gdi/RecordingDC.h"

#include <QPaintEngine>
#include <QPainter>
#include <gtest/gtest.h>
#include <functional>
#include <tuple>
#include <vector>

namespace {

using gdi::MetaOp;

// One drawing, for a raster and a recording context alike.
void Scene(gdi::DeviceContext& dc)
{
    gdi::Brush red;
    red.color = gdi::RGB(255, 0, 0);
    dc.FillRect(gdi::Rect{0, 0, 200, 10}, red);
    gdi::Pen black;
    dc.SelectPen(black);
    gdi::Brush blue;
    blue.color = gdi::RGB(0, 0, 255);
    dc.SelectBrush(blue);
    dc.Rectangle(20, 20, 80, 60);
    gdi::Brush green;
    green.color = gdi::RGB(0, 160, 0);
    dc.SelectBrush(green);
    dc.Ellipse(100, 20, 180, 90);
    gdi::Pen wide;
    wide.style = gdi::PS_GEOMETRIC | gdi::PS_ENDCAP_FLAT;
    wide.width = 3;
    wide.color = gdi::RGB(200, 100, 0);
    dc.SelectPen(wide);
    dc.MoveToEx(10, 80);
    dc.LineTo(90, 80);
}

int Differences(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
    return n;
}

QImage Replay(const gdi::Metafile& m, int scale)
{
    QImage out(m.Width * scale, m.Height * scale, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    gdi::PlayMetafile(m, p, QRectF(0, 0, out.width(), out.height()));
    p.end();
    return out;
}

} // namespace

TEST(Metafile, RecordsCallsInOrderAndKeepsTheirState)
{
    gdi::RecordingDC dc(200, 100);
    gdi::Pen pen;
    pen.color = gdi::RGB(1, 2, 3);
    dc.SelectPen(pen);
    EXPECT_EQ(dc.SetROP2(gdi::R2_XORPEN), gdi::R2_COPYPEN);
    EXPECT_EQ(dc.SetROP2(0), 0);   // refused, and not recorded
    dc.MoveToEx(5, 6);
    dc.LineTo(50, 60);
    const gdi::Point tri[] = {{0, 0}, {10, 0}, {5, 9}};
    dc.Polygon(tri, 3);
    dc.TextOut(1, 2, QStringLiteral("ab"));
    const gdi::Metafile& m = dc.Picture();
    std::vector<MetaOp> ops;
    for (const gdi::MetaRecord& r : m.Records)
        ops.push_back(r.op);
    EXPECT_EQ(ops, (std::vector<MetaOp>{MetaOp::SelectPen, MetaOp::SetROP2, MetaOp::MoveTo, MetaOp::LineTo,
                                        MetaOp::Polygon, MetaOp::TextOut}));
    EXPECT_EQ(m.Pens.at(static_cast<size_t>(m.Records[0].index)).color, gdi::RGB(1, 2, 3));
    EXPECT_EQ(m.Records[3].a[0], 50);
    EXPECT_EQ(m.Records[3].a[1], 60);
    EXPECT_EQ(m.Records[4].points.size(), 3u);
    EXPECT_EQ(m.Records[5].text, QStringLiteral("ab"));
    EXPECT_EQ(dc.GetROP2(), gdi::R2_XORPEN);
    EXPECT_EQ(dc.GetCurrentPosition(), (gdi::Point{50, 60}));
    EXPECT_EQ(dc.GetPixel(1, 1), gdi::CLR_INVALID);
    emfread::ExpectReadsBack(m);

    const gdi::Metafile taken = dc.TakePicture();
    EXPECT_EQ(taken.Records.size(), 6u);
    EXPECT_TRUE(dc.Picture().Records.empty());
    EXPECT_EQ(dc.Picture().Width, 200);
}

TEST(Metafile, MeasuresTextLikeTheScreenAndRecordsTheCombinedClip)
{
    gdi::RecordingDC rec(300, 200);
    gdi::RasterDC ras(300, 200);
    gdi::Font font;
    font.height = -15;
    font.weight = gdi::FW_BOLD;
    for (gdi::DeviceContext* dc : {static_cast<gdi::DeviceContext*>(&rec), static_cast<gdi::DeviceContext*>(&ras)}) {
        dc->SelectFont(font);
        dc->SetTextCharacterExtra(2);
    }
    const QString text = QStringLiteral("Frequency [MHz]");
    EXPECT_EQ(rec.GetTextExtentPoint(text), ras.GetTextExtentPoint(text));
    EXPECT_EQ(rec.GetTextMetrics().ascent, ras.GetTextMetrics().ascent);
    EXPECT_GT(rec.GetTextExtentPoint(text).cx, 100);

    const gdi::Region a = gdi::CreateRectRgn(10, 10, 100, 100);
    const gdi::Region b = gdi::CreateRectRgn(50, 0, 300, 60);
    rec.ExtSelectClipRgn(&a, gdi::RGN_AND);
    rec.ExtSelectClipRgn(&b, gdi::RGN_AND);
    rec.SelectClipRgn(nullptr);
    EXPECT_EQ(rec.Picture().Count(MetaOp::SelectClip), 3);
    // The recorded clips are the combined regions.
    const gdi::MetaRecord& second = rec.Picture().Records[rec.Picture().Records.size() - 2];
    EXPECT_EQ(rec.Picture().Regions.at(static_cast<size_t>(second.index)).Box(), (gdi::Rect{50, 10, 100, 60}));
    emfread::ExpectReadsBack(rec.Picture());
}

TEST(Metafile, BlockTransfersKeepOnlyTheUsedPart)
{
    QImage big(1000, 800, QImage::Format_RGB32);
    big.fill(Qt::white);
    big.setPixel(300, 200, qRgb(10, 20, 30));
    gdi::RecordingDC dc(100, 100);
    dc.BitBlt(5, 6, 20, 10, big, 290, 195, gdi::SRCCOPY);
    const gdi::Metafile& m = dc.Picture();
    ASSERT_EQ(m.Images.size(), 1u);
    EXPECT_EQ(m.Images[0].size(), QSize(20, 10));
    EXPECT_EQ(m.Images[0].pixel(10, 5) & 0xFFFFFF, 0x0A141Eu);
    const gdi::MetaRecord& r = m.Records.back();
    EXPECT_EQ(r.op, MetaOp::StretchBlt);
    EXPECT_EQ((std::array<int32_t, 4>{r.a[0], r.a[1], r.a[2], r.a[3]}), (std::array<int32_t, 4>{5, 6, 25, 16}));
    // A source rectangle reaching past the image is cut, and the destination with it.
    dc.BitBlt(0, 0, 40, 40, big, 980, 780, gdi::SRCCOPY);
    const gdi::MetaRecord& cut = dc.Picture().Records.back();
    EXPECT_EQ(dc.Picture().Images.back().size(), QSize(20, 20));
    EXPECT_EQ((std::array<int32_t, 4>{cut.a[0], cut.a[1], cut.a[2], cut.a[3]}), (std::array<int32_t, 4>{0, 0, 20, 20}));
    emfread::ExpectReadsBack(dc.Picture());
}

TEST(Metafile, ReplayMatchesTheRasterPictureAndScales)
{
    gdi::RasterDC ras(200, 100);
    Scene(ras);
    gdi::RecordingDC rec(200, 100);
    Scene(rec);
    const QImage once = Replay(rec.Picture(), 1);
    const QImage& screen = ras.Image();
    // Outlines may fall half a pixel apart; the filled areas must be the same.
    EXPECT_LT(Differences(once, screen), 200 * 100 / 30);
    for (const QPoint p : {QPoint(50, 40), QPoint(140, 55), QPoint(100, 5), QPoint(50, 80), QPoint(195, 95)})
        EXPECT_EQ(once.pixel(p) & 0xFFFFFF, screen.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();

    const QImage twice = Replay(rec.Picture(), 2);
    for (const QPoint p : {QPoint(50, 40), QPoint(140, 55), QPoint(100, 5), QPoint(50, 80), QPoint(195, 95)})
        EXPECT_EQ(twice.pixel(p * 2) & 0xFFFFFF, screen.pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    // The one-pixel outline of the rectangle is two pixels wide at twice the size.
    EXPECT_EQ(twice.pixel(40, 80) & 0xFFFFFF, 0u);
    EXPECT_EQ(twice.pixel(41, 80) & 0xFFFFFF, 0u);
    EXPECT_EQ(twice.pixel(42, 80) & 0xFFFFFF, 0x0000FFu);
    emfread::ExpectReadsBack(rec.Picture());
}

TEST(Metafile, ReplayHonoursClipsPathsAndText)
{
    gdi::RecordingDC rec(200, 100);
    // Its box is the whole picture: the writers cut nothing from the fill, the reader clips.
    const gdi::Region clip(QRegion(0, 0, 100, 100) | QRegion(196, 0, 4, 4));
    rec.SelectClipRgn(&clip);
    gdi::Brush black;
    black.color = 0;
    rec.FillRect(gdi::Rect{0, 0, 200, 20}, black);
    rec.SelectClipRgn(nullptr);
    gdi::Font font;
    font.height = -40;
    rec.SelectFont(font);
    rec.SetBkMode(gdi::TRANSPARENT);
    rec.SetTextColor(gdi::RGB(255, 0, 0));
    rec.TextOut(10, 40, QStringLiteral("WWW"));
    // A path filled in green: a triangle in the lower right.
    gdi::Brush green;
    green.color = gdi::RGB(0, 255, 0);
    rec.SelectBrush(green);
    gdi::Pen none;
    none.style = gdi::PS_NULL;
    rec.SelectPen(none);
    rec.BeginPath();
    rec.MoveToEx(150, 99);
    rec.LineTo(199, 99);
    rec.LineTo(199, 50);
    rec.CloseFigure();
    rec.EndPath();
    rec.FillPath();
    const QImage img = Replay(rec.Picture(), 1);
    EXPECT_EQ(img.pixel(50, 10) & 0xFFFFFF, 0u);
    EXPECT_EQ(img.pixel(150, 10) & 0xFFFFFF, 0xFFFFFFu);   // outside the clip
    int red = 0;
    for (int y = 40; y < 90; ++y)
        for (int x = 10; x < 120; ++x)
            red += (img.pixel(x, y) & 0xFFFFFF) == 0xFF0000u ? 1 : 0;
    EXPECT_GT(red, 300);
    EXPECT_EQ(img.pixel(190, 95) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(img.pixel(160, 60) & 0xFFFFFF, 0xFFFFFFu);
    emfread::ExpectReadsBack(rec.Picture());
}

// The screen draws a text from the glyphs it placed when it first drew or measured it; they
// light the pixels Qt's own text drawing (which a replay uses) lights, in every kind of font.
// (Turned text is left out: a replay turns it by its own rules.)
TEST(Metafile, TextOnScreenIsTheTextAReplayDraws)
{
    const QString texts[] = {QStringLiteral("120"), QStringLiteral("dB\u00b5V  (dB\u00b5V/m, dB\u00b5A)"),
                             QStringLiteral(" Set 1 "), QStringLiteral("\u00c4\u00d6\u00dc \u20ac")};
    for (int kind = 0; kind < 5; ++kind) {
        gdi::Font font;
        font.height = kind % 2 == 0 ? -13 : 17;
        font.faceName = kind == 3 ? QStringLiteral("DejaVu Sans") : QStringLiteral("Arial");
        font.weight = kind == 1 ? gdi::FW_BOLD : gdi::FW_NORMAL;
        font.italic = kind == 2;
        font.quality = kind == 4 ? gdi::NONANTIALIASED_QUALITY : gdi::DEFAULT_QUALITY;
        gdi::RasterDC screen(240, 240);
        gdi::RecordingDC rec(240, 240);
        for (gdi::DeviceContext* dc : std::initializer_list<gdi::DeviceContext*>{&screen, &rec}) {
            dc->SelectFont(font);
            dc->SetTextCharacterExtra(kind == 3 ? 2 : 0);
            dc->SetBkMode(gdi::TRANSPARENT);
            dc->SetTextColor(gdi::RGB(200, 0, 90));
            for (int round = 0; round < 2; ++round)
                for (int i = 0; i < 4; ++i)
                    dc->TextOut(20 + 100 * round, 30 + 50 * i, texts[i]);
        }
        EXPECT_TRUE(screen.Image() == Replay(rec.Picture(), 1)) << "kind " << kind;
    }
}

// A report clips the chart to its own box: the picture's clip changes must stay inside it.
TEST(Metafile, ReplayKeepsThePaintersOwnClip)
{
    gdi::RecordingDC rec(100, 100);
    const gdi::Region left = gdi::CreateRectRgn(0, 0, 60, 100);
    gdi::Brush black;
    black.color = 0;
    rec.SelectClipRgn(&left);
    rec.FillRect(gdi::Rect{0, 0, 100, 50}, black);
    rec.SelectClipRgn(nullptr);
    rec.FillRect(gdi::Rect{0, 50, 100, 100}, black);

    QImage out(100, 100, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setClipRect(QRect(20, 0, 60, 100));   // the caller's own clip: x 20..79
    gdi::PlayMetafile(rec.Picture(), p, QRectF(0, 0, 100, 100));
    p.end();
    auto black_ = [&](int x, int y) { return (out.pixel(x, y) & 0xFFFFFF) == 0u; };
    EXPECT_FALSE(black_(10, 20));   // outside the caller's clip
    EXPECT_TRUE(black_(30, 20));
    EXPECT_FALSE(black_(70, 20));   // outside the picture's clip
    EXPECT_FALSE(black_(10, 70));   // no picture clip, still the caller's
    EXPECT_TRUE(black_(50, 70));
    EXPECT_FALSE(black_(90, 70));
}

// The recording keeps what the raster context does with reversed rectangles and clockwise arcs,
// and the replay draws them on the same side.
TEST(Metafile, ReversedRectanglesAndClockwiseArcsReplayAsOnScreen)
{
    auto scene = [](gdi::DeviceContext& dc) {
        gdi::Brush red;
        red.color = gdi::RGB(255, 0, 0);
        dc.SelectBrush(red);
        dc.PatBlt(47, 47, -6, -4, gdi::PATCOPY);   // x 42..47, y 44..47
        dc.FillRect(gdi::Rect{30, 10, 20, 5}, red);
        dc.SetArcDirection(gdi::AD_CLOCKWISE);
        dc.Pie(0, 0, 41, 41, 40, 20, 20, 0);   // three quarters, all but the upper right
    };
    gdi::RasterDC raster(50, 50);
    scene(raster);
    gdi::RecordingDC rec(50, 50);
    scene(rec);
    const QImage replay = Replay(rec.Picture(), 1);
    for (const QPoint p : {QPoint(42, 44), QPoint(47, 47), QPoint(41, 44), QPoint(42, 43), QPoint(25, 7),
                           QPoint(12, 12), QPoint(12, 28), QPoint(28, 28), QPoint(28, 12)})
        EXPECT_EQ(replay.pixel(p) & 0xFFFFFF, raster.Image().pixel(p) & 0xFFFFFF) << p.x() << "," << p.y();
    EXPECT_EQ(raster.GetPixel(28, 12), gdi::RGB(255, 255, 255));
    EXPECT_EQ(raster.GetPixel(12, 28), gdi::RGB(255, 0, 0));
}

namespace {

// A paint device whose engine only notes the point counts of the polylines it is asked to stroke.
struct PolylineCounter final : QPaintDevice, QPaintEngine {
    std::vector<int> polylines;
    PolylineCounter() : QPaintEngine(AllFeatures) {}
    QPaintEngine* paintEngine() const override { return const_cast<PolylineCounter*>(this); }
    int metric(PaintDeviceMetric m) const override
    {
        return m == PdmWidth ? 200 : m == PdmHeight ? 100 : m == PdmDepth ? 32 : m == PdmDevicePixelRatioScaled
            ? static_cast<int>(devicePixelRatioFScale()) : m == PdmDevicePixelRatio ? 1 : 96;
    }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode)
            polylines.push_back(count);
    }
    Type type() const override { return User; }
};

std::vector<int> ReplayedPolylines(const gdi::Metafile& m)
{
    PolylineCounter device;
    QPainter p(&device);
    gdi::PlayMetafile(m, p, QRectF(0, 0, 200, 100));
    p.end();
    return device.polylines;
}

} // namespace

// A trace drawn LineTo by LineTo (with the moves to where the last line ended that a series makes,
// lines of no length and its pen selected again) is replayed as polylines in pieces of 256 lines;
// another pen or a move elsewhere starts a new one. Styled pens, XOR and square ends keep one
// stroke per line.
TEST(Metafile, ReplayJoinsRunsOfLinesIntoPolylines)
{
    gdi::Pen thin, red, dotted, square;
    red.color = gdi::RGB(255, 0, 0);
    dotted.style = gdi::PS_DOT;
    square.style = gdi::PS_GEOMETRIC | gdi::PS_ENDCAP_SQUARE;
    square.width = 3;
    gdi::RecordingDC trace(200, 100);
    trace.SelectPen(thin);
    trace.MoveToEx(0, 50);
    for (int i = 1; i <= 600; ++i) {
        const gdi::Point at = trace.GetCurrentPosition();
        if (i % 3 == 0)
            trace.MoveToEx(at.x, at.y);
        if (i % 50 == 0)
            trace.SelectPen(thin);
        if (i % 7 == 0)
            trace.LineTo(at.x, at.y);   // no length
        trace.LineTo(i / 4, 50 + (i % 2) * 10);
    }
    trace.SelectPen(red);
    trace.LineTo(150, 0);
    trace.MoveToEx(10, 10);
    trace.LineTo(20, 10);
    EXPECT_EQ(ReplayedPolylines(trace.Picture()), (std::vector<int>{257, 257, 89, 2, 2}));

    for (const auto& [pen, rop, strokes] : {std::tuple{dotted, gdi::R2_COPYPEN, std::vector<int>{2, 2, 2}},
                                            std::tuple{thin, gdi::R2_XORPEN, std::vector<int>{2, 2, 2}},
                                            std::tuple{square, gdi::R2_COPYPEN, std::vector<int>{2, 2, 2}},
                                            std::tuple{thin, gdi::R2_COPYPEN, std::vector<int>{4}}}) {
        gdi::RecordingDC dc(200, 100);
        dc.SelectPen(pen);
        dc.SetROP2(rop);
        for (int i = 1; i <= 3; ++i)
            dc.LineTo(i * 10, i % 2 * 10);
        EXPECT_EQ(ReplayedPolylines(dc.Picture()), strokes) << pen.style << " " << rop;
    }
}

// Lines reduced to their columns (a run of LineTo, a round-ended polyline) replay as every point
// would, from a twentieth of the points; a dotted and an XOR line keep every point.
TEST(Metafile, LinesReducedToTheirColumnsReplayAsEveryPointWould)
{
    const gdi::Pen thin, dotted{gdi::PS_DOT, 1, 0, {}}, round{gdi::PS_GEOMETRIC, 3, 0, {}};
    std::vector<gdi::Point> zigzag;
    for (uint32_t i = 0, seed = 1; i < 30000; ++i, seed = seed * 1664525u + 1013904223u)
        zigzag.push_back(gdi::Point{static_cast<int32_t>(i / 100), static_cast<int32_t>(20 + (seed >> 8) % 160)});
    gdi::RecordingDC full(300, 200), reduced(300, 200);
    reduced.SetReduceToColumns(true);
    for (gdi::RecordingDC* dc : {&full, &reduced}) {
        for (const gdi::Point& p : zigzag)
            dc->LineTo(p.x, p.y);
        for (const auto& [pen, rop, from, count] : {std::tuple{round, gdi::R2_COPYPEN, 15000, 15000},
                                                    {dotted, gdi::R2_COPYPEN, 0, 400}, {thin, gdi::R2_XORPEN, 400, 400}}) {
            dc->SelectPen(pen);
            dc->SetROP2(rop);
            dc->Polyline(zigzag.data() + from, count);
        }
    }
    EXPECT_EQ(Differences(Replay(full.Picture(), 1), Replay(reduced.Picture(), 1)), 0);
    size_t points = 0, whole = 0;
    for (const gdi::MetaRecord& r : reduced.Picture().Records)
        whole += (points += std::max<size_t>(1, r.points.size()), r.points.size() == 400);
    EXPECT_TRUE(points < 3000 && whole == 2) << points << " " << whole;
}
