#include "platform/codepage/Windows1252.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/gdi/WmfWriter.h"

#include "GdiTestSupport.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <set>

// The metafile is read back here by a small reader written from the published record layout: it
// checks the placeable header and its checksum, the metafile header's counts against the records,
// and replays the object table (lowest free slot on creation) to see that every selection names a
// live object.
namespace {

struct WmfRecord {
    uint32_t words = 0;
    uint16_t function = 0;
    QByteArray params;
    int16_t Word(int i) const { return qFromLittleEndian<int16_t>(params.constData() + 2 * i); }
    uint32_t DWord(int i) const { return qFromLittleEndian<uint32_t>(params.constData() + 2 * i); }
};

struct ParsedWmf {
    QString error;
    int16_t box[4] = {};
    uint16_t inch = 0;
    uint16_t objects = 0;
    uint32_t maxRecord = 0;
    std::vector<WmfRecord> records;
    int maxTable = 0;
    int Count(uint16_t f) const
    {
        int n = 0;
        for (const WmfRecord& r : records)
            n += r.function == f ? 1 : 0;
        return n;
    }
};

uint16_t U16(const QByteArray& b, int at) { return qFromLittleEndian<uint16_t>(b.constData() + at); }
uint32_t U32(const QByteArray& b, int at) { return qFromLittleEndian<uint32_t>(b.constData() + at); }

ParsedWmf Parse(const QByteArray& b)
{
    ParsedWmf w;
    if (b.size() < 22 + 18) {
        w.error = "too short";
        return w;
    }
    if (U32(b, 0) != 0x9AC6CDD7u)
        w.error = "placeable key";
    uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= U16(b, i);
    if (sum != U16(b, 20))
        w.error = "placeable checksum";
    for (int i = 0; i < 4; ++i)
        w.box[i] = static_cast<int16_t>(U16(b, 6 + 2 * i));
    w.inch = U16(b, 14);
    const int h = 22;
    if (U16(b, h) != 1 || U16(b, h + 2) != 9 || U16(b, h + 4) != 0x0300)
        w.error = "header fields";
    if (U32(b, h + 6) * 2 != static_cast<uint32_t>(b.size() - 22))
        w.error = "header size";
    w.objects = U16(b, h + 10);
    w.maxRecord = U32(b, h + 12);
    int at = h + 18;
    uint32_t biggest = 0;
    std::vector<bool> table;
    while (at < b.size()) {
        WmfRecord r;
        r.words = U32(b, at);
        r.function = U16(b, at + 4);
        if (r.words < 3 || at + static_cast<qsizetype>(r.words) * 2 > b.size()) {
            w.error = "record size";
            return w;
        }
        r.params = b.mid(at + 6, r.words * 2 - 6);
        biggest = std::max(biggest, r.words);
        at += r.words * 2;
        switch (r.function) {
        case 0x02FA: case 0x02FB: case 0x02FC: case 0x0142: {
            size_t slot = 0;
            while (slot < table.size() && table[slot])
                ++slot;
            if (slot == table.size())
                table.push_back(true);
            table[slot] = true;
            w.maxTable = std::max(w.maxTable, static_cast<int>(table.size()));
            break;
        }
        case 0x01F0: {
            const size_t slot = static_cast<size_t>(r.Word(0));
            if (slot >= table.size() || !table[slot])
                w.error = "delete of a free slot";
            else
                table[slot] = false;
            break;
        }
        case 0x012D: {
            const size_t slot = static_cast<size_t>(r.Word(0));
            if (slot >= table.size() || !table[slot])
                w.error = "selection of a free slot";
            break;
        }
        default: break;
        }
        w.records.push_back(r);
    }
    if (w.records.empty() || w.records.back().function != 0 || w.records.back().words != 3)
        w.error = "no end record";
    if (biggest != w.maxRecord)
        w.error = "largest record";
    if (w.maxTable != w.objects)
        w.error = "object count";
    return w;
}

std::vector<gdi::Point> PolyPoints(const WmfRecord& r)
{
    std::vector<gdi::Point> pts;
    const int n = r.Word(0);
    for (int i = 0; i < n; ++i)
        pts.push_back(gdi::Point{r.Word(1 + 2 * i), r.Word(2 + 2 * i)});
    return pts;
}

} // namespace

TEST(WmfWriter, HeadersAndCountsMatchTheRecords)
{
    gdi::RecordingDC dc(640, 480);
    // More distinct pens than the writer keeps alive, so objects are deleted and slots reused.
    for (int i = 0; i < 120; ++i) {
        gdi::Pen pen;
        pen.color = gdi::RGB(i, 255 - i, i * 2);
        pen.width = 1 + i % 3;
        dc.SelectPen(pen);
        gdi::Brush brush;
        brush.style = i % 2 ? gdi::BS_HATCHED : gdi::BS_SOLID;
        brush.hatch = i % 6;
        brush.color = gdi::RGB(0, i, 0);
        dc.SelectBrush(brush);
        dc.Rectangle(i, i, i + 50, i + 40);
    }
    dc.Ellipse(10, 10, 100, 60);
    dc.RoundRect(10, 10, 100, 60, 8, 8);
    dc.Arc(0, 0, 100, 100, 100, 50, 50, 0);
    dc.Pie(0, 0, 100, 100, 100, 50, 50, 0);
    dc.Chord(0, 0, 100, 100, 100, 50, 50, 0);
    dc.PatBlt(5, 5, 20, 20, gdi::PATCOPY);
    const ParsedWmf w = Parse(gdi::EncodeWmf(dc.Picture()));
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    EXPECT_EQ(w.box[0], 0);
    EXPECT_EQ(w.box[1], 0);
    EXPECT_EQ(w.box[2], 640);
    EXPECT_EQ(w.box[3], 480);
    EXPECT_EQ(w.inch, 96);
    EXPECT_EQ(w.Count(0x041B), 120);                     // rectangles
    EXPECT_LE(w.objects, 40);                            // deleted objects made room
    EXPECT_GT(w.Count(0x01F0), 120);                     // deletions during and at the end
    EXPECT_EQ(w.Count(0x0418) + w.Count(0x061C) + w.Count(0x0817) + w.Count(0x081A) + w.Count(0x0830), 5);
    // Window extent is the frame: height first, then width.
    const auto ext = std::find_if(w.records.begin(), w.records.end(), [](const WmfRecord& r) { return r.function == 0x020C; });
    ASSERT_NE(ext, w.records.end());
    EXPECT_EQ(ext->Word(0), 480);
    EXPECT_EQ(ext->Word(1), 640);
}

TEST(WmfWriter, LongPolylinesAreSplitIntoJoinedPieces)
{
    std::vector<gdi::Point> trace;
    for (int i = 0; i < 70000; ++i)
        trace.push_back(gdi::Point{i % 1000, (i * 7) % 500});
    gdi::RecordingDC dc(1000, 500);
    dc.Polyline(trace.data(), static_cast<int>(trace.size()));
    const ParsedWmf w = Parse(gdi::EncodeWmf(dc.Picture()));
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    std::vector<std::vector<gdi::Point>> pieces;
    for (const WmfRecord& r : w.records)
        if (r.function == 0x0325)
            pieces.push_back(PolyPoints(r));
    ASSERT_EQ(pieces.size(), 3u);
    size_t total = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        EXPECT_LE(pieces[k].size(), 32767u);
        total += pieces[k].size();
        if (k > 0) {
            EXPECT_EQ(pieces[k].front(), pieces[k - 1].back());
        }
    }
    EXPECT_EQ(total, trace.size() + pieces.size() - 1);
    // Every point of the trace comes out in order.
    std::vector<gdi::Point> joined = pieces[0];
    for (size_t k = 1; k < pieces.size(); ++k)
        joined.insert(joined.end(), pieces[k].begin() + 1, pieces[k].end());
    EXPECT_EQ(joined, trace);
}

TEST(WmfWriter, GeometryIsClippedToSixteenBits)
{
    const gdi::Point far[] = {{0, 0}, {100000, 0}, {100000, 100}, {0, 100}, {-50000, -50000}};
    const auto pieces = gdi::SplitPolylineForWmf(far, 5);
    // (0,0)-(100000,0) keeps (0,0)-(32767,0); the segment at x = 100000 vanishes; the way back
    // enters at (32767,100); the last segment leaves through the corner region.
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (std::vector<gdi::Point>{{0, 0}, {32767, 0}}));
    ASSERT_EQ(pieces[1].size(), 3u);
    EXPECT_EQ(pieces[1][0], (gdi::Point{32767, 100}));
    EXPECT_EQ(pieces[1][1], (gdi::Point{0, 100}));
    // The line towards (-50000,-50000) from (0,100) leaves through x = -32767, where
    // y = 100 - 50100 * 32767 / 50000 = -32732.5...
    EXPECT_EQ(pieces[1][2], (gdi::Point{-32767, -32733}));

    const gdi::Point square[] = {{-40000, -40000}, {40000, -40000}, {40000, 40000}, {-40000, 40000}};
    const auto clipped = gdi::ClipPolygonForWmf(square, 4);
    ASSERT_EQ(clipped.size(), 4u);
    for (const gdi::Point& p : clipped) {
        EXPECT_EQ(std::abs(p.x), 32767);
        EXPECT_EQ(std::abs(p.y), 32767);
    }

}

// Readers take the picture's extent from the coordinates in its records: a zoomed trace with a
// vertex far outside the frame must not reach the file.
TEST(WmfWriter, GeometryIsCutToTheFramePlusThePenWidth)
{
    const ParsedWmf w = Parse(gdi::EncodeWmf(gditest::FarGeometry()));
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    std::vector<gdi::Point> seen;
    std::vector<std::vector<gdi::Point>> polylines;
    for (const WmfRecord& r : w.records) {
        switch (r.function) {
        case 0x0213: case 0x0214: seen.push_back({r.Word(1), r.Word(0)}); break;   // LineTo, MoveTo: y, x
        case 0x041B: case 0x0418: case 0x061D:   // Rectangle, Ellipse: b, r, t, l; PatBlt: h, w, y, x
            if (r.function == 0x061D) {
                seen.push_back({r.Word(5), r.Word(4)});
                seen.push_back({r.Word(5) + r.Word(3), r.Word(4) + r.Word(2)});
            } else {
                seen.push_back({r.Word(3), r.Word(2)});
                seen.push_back({r.Word(1), r.Word(0)});
            }
            break;
        case 0x0325:
            polylines.push_back(PolyPoints(r));
            seen.insert(seen.end(), polylines.back().begin(), polylines.back().end());
            break;
        default: break;
        }
    }
    EXPECT_EQ(w.Count(0x0418), 0);   // the ellipse lies wholly outside
    for (const gdi::Point& p : seen) {
        EXPECT_TRUE(p.x >= -3 && p.x <= 103 && p.y >= -3 && p.y <= 103) << p.x << "," << p.y;
    }
    // The rectangle (pen 1) and the first line are cut at the frame plus one pixel.
    const auto rect = std::find_if(w.records.begin(), w.records.end(), [](const WmfRecord& r) { return r.function == 0x041B; });
    ASSERT_NE(rect, w.records.end());
    EXPECT_EQ((std::array<int, 4>{rect->Word(3), rect->Word(2), rect->Word(1), rect->Word(0)}), (std::array<int, 4>{-1, 5, 101, 101}));
    const auto line = std::find_if(w.records.begin(), w.records.end(), [](const WmfRecord& r) { return r.function == 0x0213; });
    ASSERT_NE(line, w.records.end());
    EXPECT_EQ((gdi::Point{line->Word(1), line->Word(0)}), (gdi::Point{101, 101}));
    // The trace leaves and comes back: two pieces that keep their inside vertices, cut on the
    // frame plus the pen's width.
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_EQ(polylines[0].front(), (gdi::Point{10, 50}));
    EXPECT_EQ(polylines[0][1], (gdi::Point{40, 60}));
    EXPECT_EQ(polylines[0].back().y, -3);
    EXPECT_EQ(polylines[1].front().y, -3);
    EXPECT_EQ(polylines[1].back(), (gdi::Point{90, 30}));
}

TEST(WmfWriter, TextIsCodePage1252AgainstPythonsCodec)
{
    const QList<QByteArray> lines = testsupport::ReadAll(testsupport::DataPath(QStringLiteral("panel/cp1252.txt"))).split('\n');
    int checked = 0;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> cols = line.split('\t');
        if (cols.size() != 2)
            continue;
        const QString text = QString::fromUtf8(QByteArray::fromHex(cols[0]));
        EXPECT_EQ(codepage::ToWindows1252Shown(text).toHex(), cols[1]) << text.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 8);

    gdi::RecordingDC dc(200, 100);
    gdi::Font font;
    font.height = -13;
    font.escapement = 900;
    font.faceName = QStringLiteral("Arial");
    dc.SelectFont(font);
    dc.SetTextColor(gdi::RGB(1, 2, 3));
    dc.TextOut(12, 34, QStringLiteral("5 \u20ac"));
    const ParsedWmf w = Parse(gdi::EncodeWmf(dc.Picture()));
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    const auto text = std::find_if(w.records.begin(), w.records.end(), [](const WmfRecord& r) { return r.function == 0x0521; });
    ASSERT_NE(text, w.records.end());
    ASSERT_EQ(text->Word(0), 3);
    EXPECT_EQ(text->params.mid(2, 3), QByteArray("5 \x80"));
    EXPECT_EQ(text->Word(3), 34);   // after the string padded to even length: y, then x
    EXPECT_EQ(text->Word(4), 12);
    const auto f = std::find_if(w.records.begin(), w.records.end(), [](const WmfRecord& r) { return r.function == 0x02FB; });
    ASSERT_NE(f, w.records.end());
    EXPECT_EQ(f->Word(0), -13);
    EXPECT_EQ(f->Word(2), 900);
    EXPECT_EQ(f->params.mid(18, 6), QByteArray("Arial\0", 6));
    const auto colour = std::find_if(w.records.begin(), w.records.end(), [](const WmfRecord& r) { return r.function == 0x0209; });
    ASSERT_NE(colour, w.records.end());
    EXPECT_EQ(colour->DWord(0), gdi::RGB(1, 2, 3));
}

TEST(WmfWriter, ClipRegionsBecomeSavedLevels)
{
    gdi::RecordingDC dc(300, 200);
    const gdi::Region r = gdi::CreateRectRgn(10, 20, 110, 120);
    dc.ExtSelectClipRgn(&r, gdi::RGN_AND);
    dc.Rectangle(0, 0, 300, 200);
    const gdi::Region e = gdi::CreateEllipticRgn(50, 60, 90, 100);
    dc.ExtSelectClipRgn(&e, gdi::RGN_AND);
    dc.SelectClipRgn(nullptr);
    dc.Rectangle(0, 0, 10, 10);
    const ParsedWmf w = Parse(gdi::EncodeWmf(dc.Picture()));
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    EXPECT_EQ(w.Count(0x001E), 2);   // save
    EXPECT_EQ(w.Count(0x0127), 2);   // restore
    std::vector<std::array<int, 4>> boxes;
    for (const WmfRecord& rec : w.records)
        if (rec.function == 0x0416)
            boxes.push_back({rec.Word(3), rec.Word(2), rec.Word(1), rec.Word(0)});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], (std::array<int, 4>{10, 20, 110, 120}));
    EXPECT_EQ(boxes[1], (std::array<int, 4>{50, 60, 89, 99}));   // an elliptic region ends a pixel short
    // Leaving a level gives the player back the objects of before it (none here), so the pen and
    // brush that were selected inside are selected again for the last rectangle.
    int selectsAfterLastRestore = 0;
    bool after = false;
    int restores = 0;
    for (const WmfRecord& rec : w.records) {
        if (rec.function == 0x0127 && ++restores == 2)
            after = true;
        else if (after && rec.function == 0x012D)
            ++selectsAfterLastRestore;
    }
    EXPECT_EQ(selectsAfterLastRestore, 2);
}

TEST(WmfWriter, PathsAreDrawnAsPlainFigures)
{
    gdi::RecordingDC dc(300, 200);
    dc.BeginPath();
    dc.TextOut(10, 10, QStringLiteral("Outline"));
    dc.EndPath();
    dc.StrokeAndFillPath();
    dc.BeginPath();
    dc.TextOut(10, 50, QStringLiteral("Gradient"));
    dc.EndPath();
    ASSERT_TRUE(dc.SelectClipPath(gdi::RGN_AND));
    dc.PatBlt(0, 40, 300, 30, gdi::PATCOPY);   // what would fill the letters
    dc.SelectClipRgn(nullptr);
    dc.BeginPath();
    dc.TextOut(10, 90, QStringLiteral("Dropped"));
    dc.AbortPath();
    const ParsedWmf w = Parse(gdi::EncodeWmf(dc.Picture()));
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    QStringList texts;
    for (const WmfRecord& r : w.records)
        if (r.function == 0x0521)
            texts << QString::fromLatin1(r.params.mid(2, r.Word(0)));
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Outline"), QStringLiteral("Gradient")}));
    // The fill meant for the letters is drawn inside an empty clip.
    int level = 0;
    for (const WmfRecord& r : w.records) {
        if (r.function == 0x0416)
            level = r.Word(0) == 0 && r.Word(1) == 0 && r.Word(2) == 0 && r.Word(3) == 0 ? 2 : 1;
        if (r.function == 0x0127)
            level = 0;
        if (r.function == 0x061D) {
            EXPECT_EQ(level, 2);
        }
    }
}

TEST(WmfWriter, SavingReplacesTheFileOrReportsWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    gdi::RecordingDC dc(10, 10);
    dc.Rectangle(1, 1, 5, 5);
    const QString name = dir.filePath(QStringLiteral("a.wmf"));
    ASSERT_TRUE(testsupport::WriteAll(name, QByteArray("old content")));
    QString error;
    ASSERT_TRUE(gdi::SaveWmf(dc.Picture(), name, &error)) << error.toStdString();
    EXPECT_EQ(testsupport::ReadAll(name), gdi::EncodeWmf(dc.Picture()));
    EXPECT_FALSE(gdi::SaveWmf(dc.Picture(), dir.filePath(QStringLiteral("missing/b.wmf")), &error));
    EXPECT_FALSE(error.isEmpty());
}

// The format knows only counter-clockwise arcs: a clockwise one is written from its end point to
// its start point, which covers the same part of the ellipse.
TEST(WmfWriter, ClockwiseArcsAreWrittenFromTheirEnd)
{
    gdi::RecordingDC dc(50, 50);
    dc.SetArcDirection(gdi::AD_CLOCKWISE);
    dc.Arc(0, 0, 41, 41, 40, 20, 20, 0);
    dc.SetArcDirection(gdi::AD_COUNTERCLOCKWISE);
    dc.Arc(0, 0, 41, 41, 40, 20, 20, 0);
    const ParsedWmf w = Parse(gdi::EncodeWmf(dc.Picture()));
    ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
    std::vector<std::array<int, 4>> rays;   // xs, ys, xe, ye (written last to first)
    for (const WmfRecord& r : w.records)
        if (r.function == 0x0817)
            rays.push_back({r.Word(3), r.Word(2), r.Word(1), r.Word(0)});
    ASSERT_EQ(rays.size(), 2u);
    EXPECT_EQ(rays[0], (std::array<int, 4>{20, 0, 40, 20}));
    EXPECT_EQ(rays[1], (std::array<int, 4>{40, 20, 20, 0}));
}

// Every shape drawn once with its corners in order and once with them swapped (the peak circles
// come bottom up): both give the same record, corners in order, rays and direction unchanged.
TEST(WmfWriter, ShapesGivenBackwardsAreWrittenWithOrderedCorners)
{
    using Draw = std::function<void(gdi::RecordingDC&, int32_t, int32_t, int32_t, int32_t)>;
    const std::vector<std::pair<uint16_t, Draw>> shapes = {
        {0x0418, [](gdi::RecordingDC& dc, int32_t l, int32_t t, int32_t r, int32_t b) { dc.Ellipse(l, t, r, b); }},
        {0x041B, [](gdi::RecordingDC& dc, int32_t l, int32_t t, int32_t r, int32_t b) { dc.Rectangle(l, t, r, b); }},
        {0x061C, [](gdi::RecordingDC& dc, int32_t l, int32_t t, int32_t r, int32_t b) { dc.RoundRect(l, t, r, b, 6, 4); }},
        {0x0817, [](gdi::RecordingDC& dc, int32_t l, int32_t t, int32_t r, int32_t b) { dc.Arc(l, t, r, b, 40, 20, 20, 0); }},
        {0x081A, [](gdi::RecordingDC& dc, int32_t l, int32_t t, int32_t r, int32_t b) { dc.Pie(l, t, r, b, 40, 20, 20, 0); }},
        {0x0830, [](gdi::RecordingDC& dc, int32_t l, int32_t t, int32_t r, int32_t b) { dc.Chord(l, t, r, b, 40, 20, 20, 0); }},
    };
    for (const auto& [function, draw] : shapes) {
        for (const int direction : {gdi::AD_COUNTERCLOCKWISE, gdi::AD_CLOCKWISE}) {
            std::vector<QByteArray> written;
            for (const std::array<int32_t, 4> corners : {std::array{4, 3, 41, 33}, std::array{41, 33, 4, 3},
                                                           std::array{4, 33, 41, 3}, std::array{41, 3, 4, 33}}) {
                gdi::RecordingDC dc(50, 50);
                dc.SetArcDirection(direction);
                draw(dc, corners[0], corners[1], corners[2], corners[3]);
                const ParsedWmf w = Parse(gdi::EncodeWmf(dc.Picture()));
                ASSERT_TRUE(w.error.isEmpty()) << w.error.toStdString();
                const auto shape = std::find_if(
                    w.records.begin(), w.records.end(), [&](const WmfRecord& r) { return r.function == function; });
                ASSERT_NE(shape, w.records.end()) << std::hex << function;
                written.push_back(shape->params);
            }
            // The box is the last four words: bottom, right, top, left.
            const WmfRecord first{0, function, written[0]};
            const int n = static_cast<int>(written[0].size() / 2);
            EXPECT_EQ((std::array<int, 4>{first.Word(n - 1), first.Word(n - 2), first.Word(n - 3), first.Word(n - 4)}),
                (std::array<int, 4>{4, 3, 41, 33}))
                << std::hex << function;
            for (size_t i = 1; i < written.size(); ++i)
                EXPECT_EQ(written[i], written[0]) << std::hex << function << " corners " << i;
        }
    }
}
