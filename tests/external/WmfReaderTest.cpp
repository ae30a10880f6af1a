#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/series/Chart.h"
#include "chart/series/PieSeries.h"
#include "common/PictureSupport.h"
#include "common/TestSupport.h"
#include "platform/gdi/MetafilePlayer.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <tuple>
#include <gtest/gtest.h>

// Debian's wmf2svg (libwmf), a reader we did not write, must convert the metafile the chart panel
// saves, and its picture must hold the lines and texts the chart drew.
namespace {

struct Converted {
    int exitCode = -1;
    QByteArray svg;
    QByteArray errors;
};

// libwmf wants the URW Type 1 fonts; where they are not installed, the Liberation fonts stand in
// under the names it looks for (FreeType reads them whatever the file name says).
bool MakeFontDir(const QString& dir)
{
    const QString lib = QStringLiteral("/usr/share/fonts/truetype/liberation2/");
    const QString dejavu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    const struct {
        const char* urw;
        const char* liberation;
    } families[] = {{"NimbusMonoPS", "LiberationMono"}, {"NimbusSans", "LiberationSans"}, {"NimbusRoman", "LiberationSerif"}};
    bool ok = true;
    for (const auto& f : families) {
        for (const char* style : {"Regular", "Italic", "Bold", "BoldItalic"}) {
            ok = QFile::link(lib + QLatin1String(f.liberation) + QLatin1Char('-') + QLatin1String(style) + QStringLiteral(".ttf"),
                             dir + QLatin1Char('/') + QLatin1String(f.urw) + QLatin1Char('-') + QLatin1String(style) +
                                 QStringLiteral(".t1")) && ok;
        }
    }
    return QFile::link(dejavu, dir + QStringLiteral("/StandardSymbolsPS.t1")) && ok;
}

Converted ToSvg(const QString& wmf, const QString& svg, const QString& fontDir)
{
    QProcess p;
    p.start(QStringLiteral("wmf2svg"), {QStringLiteral("--wmf-fontdir=") + fontDir, QStringLiteral("-o"), svg, wmf});
    Converted c;
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000))
        return c;
    c.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    c.errors = p.readAllStandardError() + p.readAllStandardOutput();
    QFile f(svg);
    if (f.open(QIODevice::ReadOnly))
        c.svg = f.readAll();
    return c;
}

// Saves the panel as <name>.wmf in dir and gives wmf2svg's <name>.svg of it; a folder or metafile
// that cannot be made gives exit code -1 and says why.
Converted SaveAndConvert(TCustomPlotPanel& panel, const QTemporaryDir& dir, const QString& name)
{
    QString error;
    if (!dir.isValid() || !MakeFontDir(dir.path()) || !panel.SaveChartAsWmf(dir.filePath(name + ".wmf"), &error))
        return {-1, {}, "no folder, fonts or metafile: " + error.toUtf8()};
    return ToSvg(dir.filePath(name + ".wmf"), dir.filePath(name + ".svg"), dir.path());
}

// A chart stand-in: the panel's background, then two lines, a long trace and three labels.
void DrawContent(TCustomPlotPanelExtended& panel)
{
    TPlotCanvas3D& c = panel.Canvas();
    c.Pen().SetColor(clRed);
    c.Pen().SetWidth(1);
    c.MoveTo(20, 30);
    c.LineTo(300, 30);
    c.Pen().SetColor(clBlue);
    c.Pen().SetWidth(3);
    c.MoveTo(20, 200);
    c.LineTo(380, 60);
    TPointArray trace;
    for (int i = 0; i < 40000; ++i)
        trace.push_back(TPoint{20 + i % 360, 100 + (i % 7)});
    c.Pen().SetWidth(1);
    c.Polyline(trace, static_cast<int>(trace.size()) - 1);
    c.Font().SetColor(clBlack);
    c.TextOut(40, 50, QStringLiteral("Peaks Set1"));
    c.TextOut(40, 150, QStringLiteral("Level 63 dB\u00b5V"));
    c.RotateLabel(10, 220, QStringLiteral("Frequency"), 90);
}

// Everything else the panel and the chart put into a metafile: gradient bands, a rounded frame, a
// tiled back image, hatched, patterned and solid shapes, arcs, a clip and a wide styled pen.
void DrawShapes(TCustomPlotPanelExtended& panel)
{
    TPlotCanvas3D& c = panel.Canvas();
    c.Brush().SetStyle(bsDiagCross);
    c.Brush().SetColor(clGreen);
    c.Pen().SetColor(clNavy);
    c.Rectangle(20, 20, 120, 80);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clYellow);
    c.Ellipse(140, 20, 220, 80);
    c.Pie(240, 20, 320, 100, 320, 60, 280, 20);
    c.Arc(20, 120, 120, 200, 120, 160, 70, 120);
    c.RoundRect(140, 120, 220, 200, 12, 12);
    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(Qt::green);
    pattern.setPixel(3, 3, qRgb(0, 0, 0));
    c.Brush().SetBitmap(pattern);
    c.Rectangle(330, 120, 390, 180);
    c.Brush().SetBitmap(QImage());
    c.ClipRectangle(TRect{240, 120, 300, 180});
    c.Pen().SetWidth(4);
    c.Pen().SetStyle(psDash);
    c.MoveTo(230, 110);
    c.LineTo(390, 240);
    c.UnClipRectangle();
}

// A zoomed chart: the trace runs far beyond the plot area and only the clip region keeps it in,
// as it does on screen. A red frame marks the plot area.
void DrawZoomed(TCustomPlotPanelExtended& panel)
{
    TPlotCanvas3D& c = panel.Canvas();
    c.Brush().SetStyle(bsClear);
    c.Pen().SetColor(clRed);
    c.Pen().SetWidth(1);
    c.Rectangle(40, 20, 380, 230);
    c.ClipRectangle(TRect{41, 21, 379, 229});
    c.Pen().SetColor(clBlue);
    c.Pen().SetWidth(2);
    TPointArray trace{{-20000, 200}, {60, 180}, {100000, -100000}, {200, 120}, {300, 150}, {90000, 90000}};
    c.Polyline(trace, static_cast<int>(trace.size()) - 1);
    c.MoveTo(-50000, 100);
    c.LineTo(50000, 110);
    c.UnClipRectangle();
}

// Runs a program and gives its exit code (-1 when it did not run or end), with its output.
int RunProgram(const QString& program, const QStringList& args, QByteArray* output = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000))
        return -1;
    if (output)
        *output = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

// Vertices far outside the frame once made libwmf shrink the picture to a sliver and ImageMagick
// write a blank image: both must show the frame at its size.
TEST(WmfReaderTest, ZoomedChartKeepsItsFrameInWmf2svgAndImageMagick)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty());
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        << "ImageMagick is missing; scripts/setup.sh installs imagemagick";
    TCustomPlotPanelExtended panel;
    panel.resize(400, 250);
    panel.SetColor(clWhite);
    panel.OnAfterDraw = [&panel] { DrawZoomed(panel); };
    QTemporaryDir dir;
    const QString wmf = dir.filePath(QStringLiteral("zoomed.wmf"));

    // wmf2svg: the picture keeps the frame's size.
    const Converted out = SaveAndConvert(panel, dir, QStringLiteral("zoomed"));
    ASSERT_EQ(out.exitCode, 0) << out.errors.toStdString();
    const QString svg = QString::fromUtf8(out.svg);
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("<svg[^>]*width=\"([0-9.]+)\"[^>]*height=\"([0-9.]+)\"")).match(svg);
    ASSERT_TRUE(size.hasMatch()) << svg.left(600).toStdString();
    EXPECT_EQ(size.captured(1).toDouble(), 400.0);
    EXPECT_EQ(size.captured(2).toDouble(), 250.0);

    // ImageMagick renders the metafile itself (at the metafile's 96 dots per inch) and wmf2svg's
    // picture: each must be the frame's size with the red plot frame where the chart drew it.
    for (const QString& source : {wmf, dir.filePath(QStringLiteral("zoomed.svg"))}) {
        const QString png = source + QStringLiteral(".png");
        QByteArray log;
        ASSERT_EQ(RunProgram(QStringLiteral("convert"), {QStringLiteral("-density"), QStringLiteral("96"), source, png}, &log), 0)
            << log.toStdString();
        const QImage image(png);
        ASSERT_FALSE(image.isNull()) << source.toStdString();
        EXPECT_EQ(image.size(), QSize(400, 250)) << source.toStdString();
        if (image.size() != QSize(400, 250))
            continue;
        auto red = [&](int x, int y) {
            const QRgb c = image.pixel(x, y);
            return qRed(c) - qGreen(c) > 80 && qRed(c) - qBlue(c) > 80;   // anti-aliased lines are pale
        };
        // Most of each side of the frame is red near its place. Readers scale the extent of all
        // strokes, pen widths included, into the frame, so it may lie a pixel or two inwards.
        auto redAlong = [&](bool vertical, int at, int from, int to) {
            int n = 0;
            for (int i = from; i < to; ++i) {
                bool found = false;
                for (int d = -3; d <= 3 && !found; ++d)
                    found = vertical ? red(at + d, i) : red(i, at + d);
                n += found ? 1 : 0;
            }
            return n * 10 >= (to - from) * 8;
        };
        for (const auto& [vertical, at, from, to] : {std::tuple{true, 40, 25, 225}, {true, 380, 25, 225},
                                                     {false, 20, 45, 375}, {false, 230, 45, 375}})
            EXPECT_TRUE(redAlong(vertical, at, from, to)) << source.toStdString() << " side at " << at;
        int blue = 0;
        for (int y = 21; y < 229; ++y)
            for (int x = 41; x < 379; ++x)
                blue += qBlue(image.pixel(x, y)) - qRed(image.pixel(x, y)) > 80 ? 1 : 0;
        EXPECT_GT(blue, 300) << source.toStdString();
    }
}

TEST(WmfReaderTest, Wmf2svgReadsTheSavedChart)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty())
        << "wmf2svg is missing; scripts/setup.sh installs libwmf-bin";
    TCustomPlotPanelExtended panel;
    panel.resize(400, 250);
    panel.SetColor(clWhite);
    panel.OnAfterDraw = [&panel] { DrawContent(panel); };
    QTemporaryDir dir;
    const Converted out = SaveAndConvert(panel, dir, QStringLiteral("chart"));
    ASSERT_EQ(out.exitCode, 0) << out.errors.toStdString();
    EXPECT_FALSE(out.errors.contains("ERROR")) << out.errors.toStdString();
    const QString svg = QString::fromUtf8(out.svg);
    ASSERT_TRUE(svg.contains(QLatin1String("<svg"))) << svg.left(400).toStdString();

    // The texts.
    EXPECT_TRUE(svg.contains(QLatin1String("Peaks Set1")));
    EXPECT_TRUE(svg.contains(QLatin1String("Frequency")));
    // libwmf passes the text's bytes through: the micro sign must be the one byte of code page 1252.
    EXPECT_TRUE(out.svg.contains("Level 63 dB\xb5V")) << out.svg.mid(out.svg.indexOf("Level 63"), 20).toHex(' ').toStdString();

    // The lines: a path or line element with the red and the blue stroke, and the trace.
    const auto strokes = [&](const QString& colour) {
        return svg.count(QRegularExpression(QStringLiteral("<(line|polyline|path)[^>]*stroke\\s*:\\s*%1\\b").arg(colour)));
    };
    EXPECT_GE(strokes(QStringLiteral("red")), 1) << svg.left(3000).toStdString();
    EXPECT_GE(strokes(QStringLiteral("blue")), 1);
}

TEST(WmfReaderTest, Wmf2svgReadsEveryKindOfRecord)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty());
    TCustomPlotPanelExtended panel;
    panel.resize(400, 250);
    panel.SetBorderRound(8);
    panel.Gradient().SetStartColor(clWhite);
    panel.Gradient().SetEndColor(clSkyBlue);
    panel.Gradient().SetVisible(true);
    QImage tile(16, 16, QImage::Format_RGB32);
    tile.fill(Qt::red);
    panel.BackImage().SetGraphic(tile);
    panel.BackImage().SetMode(pbmTile);
    panel.OnAfterDraw = [&panel] { DrawShapes(panel); };
    QTemporaryDir dir;
    const Converted out = SaveAndConvert(panel, dir, QStringLiteral("shapes"));
    ASSERT_EQ(out.exitCode, 0) << out.errors.toStdString();
    EXPECT_FALSE(out.errors.contains("ERROR")) << out.errors.toStdString();
    const QString svg = QString::fromUtf8(out.svg);
    EXPECT_TRUE(svg.contains(QLatin1String("<ellipse")) || svg.contains(QLatin1String("<path")));
    EXPECT_TRUE(svg.contains(QLatin1String("<image"))) << svg.left(2000).toStdString();   // the tiles
    EXPECT_TRUE(svg.contains(QLatin1String("stroke:navy")));
}

// The printed report replays the chart's metafile onto the printer; a PDF page stands in for it.
// Debian's pdftotext must find the chart's texts on the page.
TEST(WmfReaderTest, ReplayOntoAPdfPageKeepsTheTexts)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        << "pdftotext is missing; scripts/setup.sh installs poppler-utils";
    TCustomPlotPanelExtended panel;
    panel.resize(400, 250);
    panel.SetColor(clWhite);
    panel.OnAfterDraw = [&panel] { DrawContent(panel); };
    const gdi::Metafile picture = panel.CreateChartMetafile(true, TRect{0, 0, 400, 250});

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        QPainter painter(&writer);
        const QRect page = painter.viewport();
        gdi::PlayMetafile(picture, painter, QRectF(page.width() / 40, page.height() / 2.55,
                                                   page.width() - 2 * (page.width() / 40), page.height() / 4));
    }
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QLatin1String("Peaks Set1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Level 63 dB\u00b5V"))) << text.toStdString();
}

// A pie's soft shadow is an ellipse in every reader: in wmf2svg's picture and ImageMagick's own
// rendering of the file, the corner of the shadow's box beyond the ellipse stays blank.
TEST(WmfReaderTest, PieShadowStaysAnEllipseInEveryReader)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("wmf2svg")).isEmpty());
    for (const bool view3D : {false, true}) {
        TChart chart;
        chart.resize(400, 300);
        chart.SetColor(clWhite);
        chart.Legend().Hide();
        chart.SetView3D(view3D);
        TPieSeries pie;
        chart.AddSeries(&pie);
        for (double v : {20.0, 30.0, 50.0})
            pie.AddPie(v, QString(), clYellow);
        pie.Marks().SetVisible(false);
        pie.Shadow().SetSize(12);
        pie.Shadow().SetSmooth(true);
        QTemporaryDir dir;
        const QString wmf = dir.filePath(QStringLiteral("pie.wmf")), svg = dir.filePath(QStringLiteral("pie.svg"));
        Converted out = SaveAndConvert(chart, dir, QStringLiteral("pie"));
        // wmf2svg leaves a polyline's fill unsaid, which SVG reads as black; a metafile never fills one.
        ASSERT_TRUE(out.exitCode == 0
                    && testsupport::WriteAll(svg, out.svg.replace("<polyline ", "<polyline fill=\"none\" ")));
        const TRect c = pie.CircleRect();
        const QRectF shadow(c.Left + 12, c.Top + 12, c.Right - c.Left, c.Bottom - c.Top);
        for (const QString& source : {wmf, svg}) {
            ASSERT_EQ(RunProgram(QStringLiteral("convert"), {"-density", "96", source, "-background", "white", "-flatten", source + ".png"}), 0);
            const QImage image = QImage(source + ".png").scaled(400, 300);
            picture::Save(image, QStringLiteral("wmf_pie_shadow_%1_%2").arg(view3D).arg(source == svg ? "svg" : "wmf"));
            int outside = 0, inside = 0;
            for (int y = int(shadow.center().y()); y < int(shadow.bottom()); ++y)
                for (int x = int(shadow.center().x()); x < int(shadow.right()); ++x) {
                    const double dx = (x + 0.5 - shadow.center().x()) / (shadow.width() / 2 + 3);
                    const double dy = (y + 0.5 - shadow.center().y()) / (shadow.height() / 2 + 3);
                    (dx * dx + dy * dy > 1 ? outside : inside) += qGray(image.pixel(x, y)) < 200;
                }
            EXPECT_TRUE(outside == 0 && inside > 100) << source.toStdString() << " " << outside << " " << inside;
        }
        chart.RemoveSeries(pie);
    }
}
