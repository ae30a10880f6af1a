#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"
#include "chart/tools/PlotEmfOptions.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

// LibreOffice, a reader we did not write, converts the enhanced metafile of a chart to a PNG and
// to a PDF: the traces must be in their colours where the picture's frame puts them, and the
// texts, one of them outside code page 1252, must be text in the PDF.
namespace {

// A flat white chart whose walls, titles and legend draw nothing: the axes, their labels and
// titles, and the series; levels 0 to 100 over 0 to `xMax`.
class Chart : public TCustomAxisPanel {
public:
    explicit Chart(double xMax)
    {
        SetView3D(false);
        resize(640, 400);
        SetColor(clWhite);
        LeftAxis()->SetRange(0, 100);
        BottomAxis()->SetRange(0, xMax);
    }

protected:
    void CalcWallsRect() override { CalcSize3DWalls(); }
    int GetWallSize(const TChartAxis&) const override { return 0; }
    void DrawTitlesAndLegend(bool) override { }
    void DrawWalls() override { }
    bool IsFreeSeriesColor(TColor, bool, const TChartSeries*) override { return true; }
};

// A line through the points in the series' colour, two pixels wide; it notes where it drew.
class Line : public TChartSeries {
public:
    Line(Chart& chart, TColor colour)
    {
        SetSeriesColor(colour);
        chart.AddSeries(this);
    }
    void DrawValue(int valueIndex) override
    {
        TPlotCanvas3D& canvas = static_cast<TCustomAxisPanel*>(ParentChart()->AxisPanel())->Canvas();
        const QPoint p(XToPixel(valueIndex), YToPixel(valueIndex));
        if (valueIndex == FirstValueIndex) {
            canvas.Pen().SetColor(SeriesColor());
            canvas.Pen().SetWidth(2);
            canvas.MoveTo(p.x(), p.y());
            drawn.clear();
        } else {
            canvas.LineTo(p.x(), p.y());
        }
        drawn.push_back(p);
    }
    std::vector<QPoint> drawn;
};

struct Converted {
    int exitCode = -1;
    QByteArray errors;
    QString output;
};

// One conversion with a profile of its own: instances sharing one interfere.
Converted Convert(const QString& file, const QString& format, const QString& outDir, const QString& profile)
{
    QProcess p;
    p.start(QStringLiteral("soffice"),
        {QStringLiteral("-env:UserInstallation=file://") + profile, QStringLiteral("--headless"),
            QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), outDir, file});
    Converted c;
    if (!p.waitForStarted(20000) || !p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished(5000);
        return c;
    }
    c.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    c.errors = p.readAllStandardError();
    c.output = QDir(outDir).filePath(QFileInfo(file).completeBaseName() + QLatin1Char('.') + format);
    return c;
}

// Whether a pixel of the colour is within a pixel of p: the reader smooths the edges.
bool ColourNear(const QImage& image, QPoint p, QRgb wanted)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (!image.rect().contains(q))
                continue;
            const QColor c = image.pixelColor(q);
            if (std::abs(c.red() - qRed(wanted)) < 60 && std::abs(c.green() - qGreen(wanted)) < 60
                && std::abs(c.blue() - qBlue(wanted)) < 60)
                return true;
        }
    }
    return false;
}

// The chart saved as an enhanced metafile into dir and drawn by the reader as a PNG: an A4 page at
// 96 dpi with the picture in its middle, one pixel per unit, whose top left corner is `origin`.
void ReadBack(Chart& chart, const QTemporaryDir& dir, const QString& emf, QImage& page, QPoint& origin)
{
    TEMFExportFormat format;
    format.Panel = &chart;
    QString error;
    ASSERT_TRUE(format.SaveToFile(dir.filePath(emf), &error)) << error.toStdString();
    const Converted png = Convert(dir.filePath(emf), QStringLiteral("png"), dir.path(), dir.filePath("profile-png"));
    ASSERT_EQ(png.exitCode, 0) << png.errors.toStdString();
    page = QImage(png.output);
    ASSERT_FALSE(page.isNull()) << png.errors.toStdString();
    ASSERT_LT(640, page.width());
    origin = QPoint((page.width() - 640) / 2, (page.height() - 400) / 2);
}

} // namespace

TEST(EmfLibreOffice, ChartReadsBackWithItsLinesAndTexts)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        << "soffice is missing; scripts/setup.sh installs libreoffice-draw-nogui";
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty());
    Chart chart(1000);
    chart.LeftAxis()->Title().SetCaption(QStringLiteral("Level dB\u00b5V"));
    chart.BottomAxis()->Title().SetCaption(QStringLiteral("Impedance 50 \u03a9 at f / MHz"));
    Line limit(chart, clRed), trace(chart, clBlue);
    limit.AddPointsXY(std::vector<double> {0, 1000}, std::vector<double> {80, 80});
    std::vector<double> xs, ys;
    for (int i = 0; i <= 20; ++i) {
        xs.push_back(i * 50.0);
        ys.push_back(10 + 2.0 * i + (i % 2 ? 6 : 0));
    }
    trace.AddPointsXY(xs, ys);
    chart.RepaintNow();

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage page;
    QPoint origin;
    ASSERT_NO_FATAL_FAILURE(ReadBack(chart, dir, QStringLiteral("chart.emf"), page, origin));
    ASSERT_GE(limit.drawn.size(), 2u);
    ASSERT_EQ(trace.drawn.size(), 21u);
    const auto along = [&](const std::vector<QPoint>& pts, QRgb colour) {
        int hits = 0, probes = 0;
        for (size_t i = 0; i + 1 < pts.size(); ++i) {
            for (double t : {0.25, 0.5, 0.75}) {
                const QPoint p = pts[i] + (pts[i + 1] - pts[i]) * t;
                hits += ColourNear(page, origin + p, colour) ? 1 : 0;
                ++probes;
            }
        }
        return std::pair {hits, probes};
    };
    const auto [redHits, redProbes] = along(limit.drawn, qRgb(255, 0, 0));
    EXPECT_EQ(redHits, redProbes);
    const auto [blueHits, blueProbes] = along(trace.drawn, qRgb(0, 0, 255));
    EXPECT_GE(blueHits, blueProbes - 2) << blueHits << " of " << blueProbes;
    // Away from the lines the chart is white, and the red line is not where the blue one is.
    EXPECT_FALSE(ColourNear(
        page, origin + QPoint(limit.drawn.front().x() + 40, limit.drawn.front().y() + 30), qRgb(255, 0, 0)));
    EXPECT_FALSE(ColourNear(page, origin + trace.drawn[10], qRgb(255, 0, 0)));

    const Converted pdf = Convert(dir.filePath("chart.emf"), "pdf", dir.path(), dir.filePath("profile-pdf"));
    ASSERT_EQ(pdf.exitCode, 0) << pdf.errors.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf.output, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(words.contains(QStringLiteral("Impedance 50 \u03a9 at f / MHz"))) << words.toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("dB\u00b5V"))) << words.toStdString();
    EXPECT_TRUE(words.contains(QStringLiteral("900"))) << words.toStdString(); // an axis label
}

// Spikes to +t and -t from a left axis fixed to 0..100 end tens of millions of pixels outside the
// picture, where the reader's own arithmetic turned some of them over: each must go its own way.
TEST(EmfLibreOffice, SpikesBeyondTheAxisKeepTheirDirection)
{
    Chart chart(7);
    Line spikes(chart, clRed);
    const double heights[] = {5e6, -5e6, 2e7, -2e7, 1e12, -1e12};
    std::vector<double> xs, ys;
    for (int i = 0; i < 6; ++i)
        for (const double y : {50.0, heights[i], 50.0}) {
            xs.push_back(i + 1);
            ys.push_back(y);
        }
    spikes.AddPointsXY(xs, ys);
    chart.RepaintNow();
    QTemporaryDir dir;
    QImage page;
    QPoint origin;
    ASSERT_NO_FATAL_FAILURE(ReadBack(chart, dir, QStringLiteral("spikes.emf"), page, origin));
    ASSERT_EQ(spikes.drawn.size(), 18u);
    for (int i = 0; i < 6; ++i) {
        const QPoint base = spikes.drawn[static_cast<size_t>(3 * i)];
        const QPoint above(base.x(), (chart.ChartRect.Top + base.y()) / 2);
        const QPoint below(base.x(), (chart.ChartRect.Bottom + base.y()) / 2);
        EXPECT_EQ(ColourNear(page, origin + above, qRgb(255, 0, 0)), heights[i] > 0) << heights[i];
        EXPECT_EQ(ColourNear(page, origin + below, qRgb(255, 0, 0)), heights[i] < 0) << heights[i];
    }
}
