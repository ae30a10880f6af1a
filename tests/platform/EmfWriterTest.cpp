#include "EmfReader.h"

#include "platform/gdi/EmfWriter.h"
#include "platform/gdi/RecordingDC.h"

#include "GdiTestSupport.h"
#include "common/TestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

// Record types the tests look for.
namespace {

constexpr uint32_t kPolyline = 4;
constexpr uint32_t kPolygon = 3;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kDeleteObject = 40;
constexpr uint32_t kCreatePen = 38;
constexpr uint32_t kExtCreatePen = 95;
constexpr uint32_t kCreateFont = 82;
constexpr uint32_t kTextOut = 84;
constexpr uint32_t kPolyline16 = 87;
constexpr uint32_t kPolygon16 = 86;
constexpr uint32_t kClipRegion = 75;
constexpr uint32_t kSetArcDirection = 57;
constexpr uint32_t kEllipse = 42;

std::vector<int32_t> Advances(const emfread::Record& text)
{
    std::vector<int32_t> dx;
    for (uint32_t i = 0; i < text.U(44); ++i)
        dx.push_back(text.I(static_cast<int>(text.U(72) + 4 * i)));
    return dx;
}

} // namespace

TEST(EmfWriter, HeaderCountsAndAnObjectTableThatStaysSmall)
{
    gdi::RecordingDC dc(640, 480, true);
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
    // Only the changes of direction are written: a reader starts counter-clockwise.
    dc.SetArcDirection(gdi::AD_CLOCKWISE);
    dc.Pie(0, 0, 100, 100, 100, 50, 50, 0);
    dc.RoundRect(10, 10, 100, 60, 8, 8);
    dc.SetArcDirection(gdi::AD_COUNTERCLOCKWISE);
    dc.Arc(0, 0, 100, 100, 100, 50, 50, 0);
    dc.SetROP2(gdi::R2_XORPEN);
    dc.PatBlt(5, 5, 20, 20, gdi::PATCOPY);
    dc.SetPixel(3, 4, gdi::RGB(9, 8, 7));
    const emfread::Picture p = emfread::ExpectReadsBack(dc.Picture());
    EXPECT_EQ(p.description, QString::fromUtf16(u"Zendrik\0Chart\0\0", 15));
    // 0.01 mm at 96 per inch: 640 px are 16933 hundredths, the last one 16932.
    EXPECT_EQ(p.frame[2], 16932);
    EXPECT_EQ(p.frame[3], 12699);
    EXPECT_EQ(p.list.back().type, 14u);
    // Every object is deleted once it is replaced; at most a pen, a brush and the one replacing
    // one of them live at a time.
    EXPECT_LE(p.maxLive, 3);
    EXPECT_LE(p.handles, 4);
    EXPECT_EQ(p.Count(kDeleteObject), p.Count(kCreatePen) + p.Count(39));
    EXPECT_EQ(p.Count(43), 120);
    EXPECT_EQ(p.Count(kSetArcDirection), 2);
}

// In a frame wider than sixteen bits the records keep thirty-two where a point needs them.
TEST(EmfWriter, CoordinatesKeepTheirThirtyTwoBits)
{
    gdi::RecordingDC dc(100000, 100);
    const gdi::Point near[] = {{0, 0}, {32767, 50}, {5, 6}};
    dc.Polyline(near, 3);
    const gdi::Point far[] = {{0, 0}, {100000, 0}, {100000, 100}, {50000, 50}};
    dc.Polyline(far, 4);
    dc.Polygon(near, 3);
    dc.Polygon(far, 4);
    dc.Rectangle(70000, 5, 90000, 60);
    dc.MoveToEx(0, 0);
    dc.LineTo(50000, 50);
    std::vector<gdi::Point> trace;
    for (int i = 0; i < 70000; ++i)
        trace.push_back(gdi::Point {i % 1000, (i * 7) % 100});
    dc.Polyline(trace.data(), static_cast<int>(trace.size()));
    const emfread::Picture p = emfread::ExpectReadsBack(dc.Picture());
    // Sixteen bits only where every point fits; the long trace is three pieces that read back
    // as the one line.
    EXPECT_EQ((std::vector{p.Count(kPolyline16), p.Count(kPolyline), p.Count(kPolygon16), p.Count(kPolygon)}),
              (std::vector{4, 1, 1, 1}));
}

// Readers do their own arithmetic on the coordinates, and some draw a line tens of millions of
// units long mirrored: geometry is cut to the frame plus the pen width, as in the plain metafile.
TEST(EmfWriter, GeometryIsCutToTheFramePlusThePenWidth)
{
    const emfread::Picture p = emfread::Read(gdi::EncodeEmf(gditest::FarGeometry()));
    ASSERT_TRUE(p.error.isEmpty()) << p.error.toStdString();
    EXPECT_EQ(p.Count(kEllipse), 0); // wholly outside
    for (const QString& call : p.calls) {
        const QStringList words = call.section(" | ", 0, 0).split(QRegularExpression("[ ,:]"), Qt::SkipEmptyParts);
        std::vector<int> at;
        for (const QString& w : words.mid(words[0].startsWith("Poly") ? 2 : 1))
            at.push_back(w.toInt());
        if (words[0] == "PatBlt")
            at = {at[0], at[1], at[0] + at[2], at[1] + at[3]};
        else if (!QStringList {"MoveTo", "LineTo", "Rectangle", "Polyline", "Polygon"}.contains(words[0]))
            continue;
        for (int v : at)
            EXPECT_TRUE(v >= -3 && v <= 103) << call.toStdString();
    }
    // The spike to the coordinate limit keeps its way: up out of the frame, and back down.
    EXPECT_EQ(p.calls.filter(QRegularExpression("^LineTo 60 -3 ")).size(), 1);
    EXPECT_EQ(p.calls.filter(QRegularExpression("^LineTo 62 103 ")).size(), 1);
}

TEST(EmfWriter, PensAndBrushesTheOldFormatCouldNotHold)
{
    gdi::RecordingDC dc(300, 200);
    gdi::Pen wide;
    wide.style = gdi::PS_DASH | gdi::PS_ENDCAP_FLAT | gdi::PS_JOIN_BEVEL;
    wide.width = 4;
    wide.color = gdi::RGB(200, 10, 20);
    dc.SelectPen(wide);
    dc.MoveToEx(10, 10);
    dc.LineTo(200, 10);
    gdi::Pen user;
    user.style = gdi::PS_USERSTYLE;
    user.userStyle = {6, 2, 1, 2};
    dc.SelectPen(user);
    dc.LineTo(200, 100);
    gdi::Pen dotted;
    dotted.style = gdi::PS_DOT;
    dc.SelectPen(dotted);
    dc.LineTo(10, 100);

    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(qRgb(0, 200, 0));
    pattern.setPixel(3, 5, qRgb(10, 20, 30));
    gdi::Brush patterned;
    patterned.style = gdi::BS_PATTERN;
    patterned.pattern = pattern;
    dc.SelectBrush(patterned);
    dc.Ellipse(20, 20, 120, 90);
    QImage mono(8, 8, QImage::Format_Mono);
    mono.fill(0);
    mono.setPixel(1, 1, 1);
    gdi::Brush monoBrush;
    monoBrush.style = gdi::BS_PATTERN;
    monoBrush.pattern = mono;
    dc.SelectBrush(monoBrush);
    dc.SetTextColor(gdi::RGB(255, 0, 0));
    dc.Rectangle(130, 20, 200, 90);
    dc.SetTextColor(gdi::RGB(0, 0, 255)); // the same brush paints in the new colour
    dc.Rectangle(130, 100, 200, 190);
    gdi::Brush hatched;
    hatched.style = gdi::BS_HATCHED;
    hatched.hatch = gdi::HS_DIAGCROSS;
    hatched.color = gdi::RGB(1, 2, 3);
    dc.SelectBrush(hatched);
    dc.Chord(0, 0, 100, 100, 100, 50, 50, 0);
    const emfread::Picture p = emfread::ExpectReadsBack(dc.Picture());

    std::vector<const emfread::Record*> extended;
    for (const emfread::Record& r : p.list)
        if (r.type == kExtCreatePen)
            extended.push_back(&r);
    ASSERT_EQ(extended.size(), 2u);
    EXPECT_EQ(
        extended[0]->U(28), gdi::PS_GEOMETRIC | gdi::PS_DASH | gdi::PS_ENDCAP_FLAT | gdi::PS_JOIN_BEVEL);
    EXPECT_EQ(extended[0]->U(32), 4u);
    EXPECT_EQ(extended[1]->U(28), gdi::PS_USERSTYLE);
    EXPECT_EQ(extended[1]->U(48), 4u);
    // The one-pixel dotted pen and the default pen are plain pens.
    EXPECT_EQ(p.Count(kCreatePen), 1);
    EXPECT_EQ(p.Count(94), 3); // the colour pattern and the monochrome one in two colour pairs
}

TEST(EmfWriter, TextIsUtf16PlacedByTheRecordedAdvances)
{
    gdi::RecordingDC dc(400, 200);
    gdi::Font font;
    font.height = -15;
    font.escapement = 900;
    font.orientation = 900;
    font.faceName = QStringLiteral("Liberation Sans");
    dc.SelectFont(font);
    dc.SetTextCharacterExtra(3);
    dc.SetTextAlign(gdi::TA_CENTER | gdi::TA_BASELINE);
    const QString text = QStringLiteral("50 \u03a9 \u20ac \U0001D11E!");
    dc.TextOut(100, 150, text);
    dc.SetTextCharacterExtra(0);
    dc.SelectFont(gdi::Font {});
    dc.SetBkMode(gdi::TRANSPARENT);
    dc.SetTextColor(gdi::RGB(0, 0, 160));
    dc.TextOut(5, 6, QStringLiteral("iiWW"));
    dc.TextOut(5, 6, QString());
    const emfread::Picture p = emfread::ExpectReadsBack(dc.Picture());
    std::vector<const emfread::Record*> texts;
    for (const emfread::Record& r : p.list)
        if (r.type == kTextOut)
            texts.push_back(&r);
    ASSERT_EQ(texts.size(), 2u); // the empty text draws nothing
    EXPECT_EQ(texts[0]->U(44), static_cast<uint32_t>(text.size()));
    const std::vector<int32_t> dx = Advances(*texts[0]);
    // The musical symbol is two UTF-16 units: all its advance is on the first.
    const qsizetype high = text.indexOf(QChar(0xD834));
    ASSERT_GT(high, 0);
    EXPECT_GT(dx[static_cast<size_t>(high)], 3);
    EXPECT_EQ(dx[static_cast<size_t>(high + 1)], 0);
    // Each advance holds the character extra: a character is as wide as the recorder measures it.
    EXPECT_EQ(dx[0], emfread::RecordedWidth(font, 3, QStringLiteral("5")));
    EXPECT_EQ(p.First(kCreateFont)->I(20), 900);
    // The narrow and the wide letters differ, so the advances are not an average.
    const std::vector<int32_t> plain = Advances(*texts[1]);
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_LT(plain[0], plain[3]);
}

TEST(EmfWriter, ClipRegionsPathsAndBlockTransfers)
{
    gdi::RecordingDC dc(300, 200);
    const gdi::Region ellipse = gdi::CreateEllipticRgn(50, 60, 90, 100);
    dc.SelectClipRgn(&ellipse);
    gdi::Brush blue;
    blue.color = gdi::RGB(0, 0, 255);
    dc.SelectBrush(blue);
    gdi::Brush red;
    red.color = gdi::RGB(255, 0, 0);
    dc.FillRect(gdi::Rect {50, 60, 90, 70}, red);
    dc.Rectangle(55, 65, 85, 95); // paints in blue again
    dc.SelectClipRgn(nullptr);
    const gdi::Region nothing;
    dc.SelectClipRgn(&nothing);
    dc.SelectClipRgn(nullptr);

    gdi::Pen outline;
    outline.color = gdi::RGB(0, 128, 0);
    dc.SelectPen(outline);
    dc.BeginPath();
    dc.TextOut(10, 10, QStringLiteral("Outline"));
    dc.MoveToEx(100, 100);
    dc.LineTo(150, 150);
    dc.CloseFigure();
    dc.EndPath();
    dc.StrokeAndFillPath();
    dc.BeginPath();
    dc.TextOut(10, 50, QStringLiteral("Gradient"));
    dc.EndPath();
    ASSERT_TRUE(dc.SelectClipPath(gdi::RGN_AND));
    dc.PatBlt(0, 40, 300, 30, gdi::PATCOPY);
    dc.SelectClipRgn(nullptr);
    dc.BeginPath();
    dc.TextOut(10, 90, QStringLiteral("Dropped"));
    dc.AbortPath();

    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(qRgb(200, 100, 50));
    image.setPixel(29, 0, qRgb(1, 2, 3));
    dc.StretchBlt(gdi::Rect {100, 120, 160, 160}, image, gdi::Rect {0, 0, 30, 20}, gdi::SRCCOPY);
    const emfread::Picture p = emfread::ExpectReadsBack(dc.Picture());
    // The ellipse keeps its rectangles rather than its bounding box.
    const auto clip = std::find_if(p.list.begin(), p.list.end(),
        [](const emfread::Record& r) { return r.type == kClipRegion && r.U(8) > 0; });
    ASSERT_NE(clip, p.list.end());
    EXPECT_EQ(clip->U(24), static_cast<uint32_t>(ellipse.Pixels().rectCount()));
    EXPECT_GT(clip->U(24), 4u);
    ASSERT_EQ(p.images.size(), 1u);
    EXPECT_EQ(p.images[0], image);
    // The brush of FillRect is selected for it and given up afterwards.
    int selections = 0;
    for (const emfread::Record& r : p.list)
        selections += r.type == kSelectObject ? 1 : 0;
    EXPECT_GE(selections, 4);
}

TEST(EmfWriter, TheReaderFindsBrokenFiles)
{
    gdi::RecordingDC dc(50, 50);
    dc.Rectangle(1, 1, 20, 20);
    const QByteArray good = gdi::EncodeEmf(dc.Picture());
    ASSERT_TRUE(emfread::Read(good).error.isEmpty());
    QByteArray counts = good;
    qToLittleEndian<uint32_t>(qFromLittleEndian<uint32_t>(counts.constData() + 52) + 1, counts.data() + 52);
    EXPECT_FALSE(emfread::Read(counts).error.isEmpty());
    EXPECT_FALSE(emfread::Read(good.left(good.size() - 20)).error.isEmpty());
    QByteArray handles = good;
    qToLittleEndian<uint16_t>(1, handles.data() + 56); // no room for the pen and the brush
    EXPECT_FALSE(emfread::Read(handles).error.isEmpty());
}

TEST(EmfWriter, SavingReplacesTheFileOrReportsWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    gdi::RecordingDC dc(10, 10);
    dc.Rectangle(1, 1, 5, 5);
    const QString name = dir.filePath(QStringLiteral("a.emf"));
    ASSERT_TRUE(testsupport::WriteAll(name, QByteArray("old content")));
    QString error;
    ASSERT_TRUE(gdi::SaveEmf(dc.Picture(), name, &error)) << error.toStdString();
    EXPECT_EQ(testsupport::ReadAll(name), gdi::EncodeEmf(dc.Picture()));
    EXPECT_FALSE(gdi::SaveEmf(dc.Picture(), dir.filePath(QStringLiteral("missing/b.emf")), &error));
    EXPECT_FALSE(error.isEmpty());
}
