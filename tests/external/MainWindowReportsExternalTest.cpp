// The main window's own chart through its "Utilities" commands, read by programs we did not
// write: libwmf's wmf2svg and ImageMagick read the WMF export, poppler reads the report printed
// to a 600-dpi PDF.
#include "app/AppContext.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/MainWindowPalette.h"
#include "forms/Program.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/PeakLists.h"
#include "reports/ReportHeader.h"
#include "reports/ReportPrinter.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

using testsupport::Control;

namespace {

QString Output(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0)
        return QStringLiteral("failed: ") + program + QLatin1Char(' ') + QString::fromUtf8(p.readAll());
    return QString::fromUtf8(p.readAll());
}

// The real main window with a measurement on Chart1: both corrected traces, a limit line and
// the frequency axis as the program starts it (logarithmic, 9 kHz .. 30 MHz).
struct MainWindowExports : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    QString oldCurrent = QDir::currentPath();
    std::unique_ptr<Program> program;
    MainWindow* w = nullptr;
    TChart* chart1 = nullptr;
    QString chosen;
    QSet<QString> labels; // what the axes drew

    MainWindowExports()
    {
        for (const char* sub : {"zips", "src", "rep", "out"})
            QDir(folder.path()).mkpath(sub);
        program = std::make_unique<Program>(app, QStringList{}, folder.path());
        program->Services().showMessage = [](const QString&) {};
        program->Services().versionIndex = [] { return 9; };
        program->CreateForms();
        w = program->Windows().mainWindow;
        w->chooseReportFile = [this](const SaveDialogSettings&, bool) { return chosen; };
        chart1 = &Control<TChart>(*w, "Chart1");
        chart1->resize(1000, 500);
        MainChart& c = w->chart();
        for (int i = 0; i <= 300; ++i) {
            const double f = 150 + i * 99.5;
            c.Series(SeriesRole::correctedTrace1)->AddPointXY(f, 35 + (i % 13));
            c.Series(SeriesRole::correctedTrace2)->AddPointXY(f, 30 + (i % 7));
            c.Series(SeriesRole::limitLine1)->AddPointXY(f, 56);
        }
        for (TChartAxis* axis : {chart1->BottomAxis(), chart1->LeftAxis()})
            axis->OnDrawLabel = [this](TChartAxis*, int&, int&, int&, QString& text, bool&) { labels.insert(text); };
    }
    ~MainWindowExports() override { QDir::setCurrent(oldCurrent); }
};

TEST_F(MainWindowExports, Wmf2svgFindsTheAxisLabelsOfChart1)
{
    chosen = folder.filePath("out/chart.wmf");
    const TColor colour = chart1->Color();
    Control<QAction>(*w, "Preview1").trigger();
    ASSERT_TRUE(QFileInfo::exists(chosen)) << app.Messages.Lines().join('\n').toStdString();
    EXPECT_EQ(chart1->Color(), colour);
    EXPECT_EQ(chart1->BevelOuter(), bvRaised);

    const QString svgFile = folder.filePath("out/chart.svg");
    const QString out = Output("wmf2svg", {"-o", svgFile, chosen});
    ASSERT_FALSE(out.startsWith("failed")) << out.toStdString();
    // wmf2svg copies the metafile's ANSI text bytes as they are: the level title's "µ" is 0xB5.
    const QString svg = QString::fromLatin1(testsupport::ReadAll(svgFile));
    ASSERT_GE(labels.size(), 6);
    for (const QString& label : labels)
        EXPECT_TRUE(svg.contains(">" + label + "<")) << label.toStdString();
}

// ImageMagick once refused the peak circles ("non-conforming drawing primitive definition
// `ellipse'") and drew the grid alone.
TEST_F(MainWindowExports, ImageMagickDrawsTheWmfWithItsPeakCircles)
{
    PeakLists& set1 = w->peakLists(MeasureSet::Set1);
    const std::vector<std::pair<double, double>> peaks = {{200, 70}, {3000, 90}, {20000, 20}};
    for (const auto& [f, level] : peaks)
        set1.AddPeak(f, level, 100);
    chosen = folder.filePath("out/chart.wmf");
    Control<QAction>(*w, "Preview1").trigger();
    ASSERT_TRUE(QFileInfo::exists(chosen)) << app.Messages.Lines().join('\n').toStdString();

    const QString png = folder.filePath("out/chart.png");
    const QString out = Output("convert", {"-density", "96", chosen, png});
    ASSERT_FALSE(out.startsWith("failed")) << out.toStdString();
    EXPECT_FALSE(out.contains("non-conforming")) << out.toStdString();
    const QImage image(png);
    ASSERT_EQ(image.size(), chart1->size());
    const QColor circle = QColorOf(program->MainState().Colors.PeakCircles[MeasureSet::Set1]);
    for (const auto& [f, level] : peaks) {
        const int x = chart1->BottomAxis()->ValueToPixel(f);
        const int y = chart1->LeftAxis()->ValueToPixel(level);
        int ring = 0;
        for (int j = y - 5; j <= y + 5; ++j)
            for (int i = x - 5; i <= x + 5; ++i) {
                const QColor c = image.pixelColor(i, j);
                ring += std::abs(c.red() - circle.red()) + std::abs(c.green() - circle.green()) +
                            std::abs(c.blue() - circle.blue()) < 100;
            }
        EXPECT_GE(ring, 12) << f << " kHz";
    }
}

TEST_F(MainWindowExports, PopplerReadsTheReportPrintedFromTheMainWindow)
{
    ReportHeaderItems& header = program->ReportHeader();
    header.SetText(6, "Power supply 24V");
    header.SetText(11, "wiring check");
    PeakLists& set1 = w->peakLists(MeasureSet::Set1);
    PeakLists& set2 = w->peakLists(MeasureSet::Set2);
    for (int i = 0; i < 12; ++i)
        set1.AddPeak(150.0 + 37 * i, 50.25 + i, 56.0);
    set2.AddPeak(9000, 47.5, 50.0);

    const QString pdfFile = folder.filePath("out/report.pdf");
    PdfFilePrinter pdf(pdfFile);
    w->reportPrinter = &pdf;
    labels.clear();
    Control<QAction>(*w, "Chart2").trigger();
    ASSERT_TRUE(QFileInfo::exists(pdfFile)) << app.Messages.Lines().join('\n').toStdString();
    EXPECT_TRUE(Output("pdfinfo", {pdfFile}).contains("(A4)"));

    QStringList lines = Output("pdftotext", {"-layout", pdfFile, "-"}).split('\n');
    for (QString& line : lines)
        line = line.simplified();
    lines.removeAll(QString());
    ASSERT_FALSE(lines.isEmpty());
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).simplified();
    EXPECT_TRUE(lines[0].startsWith("Zendrik Pre-Compliance Measurement Report " + date)) << lines[0].toStdString();
    const QStringList rows = {"DUT Power supply 24V", "Manufacturer my Company", "EMC Standard CISPRxx",
        "Operating Voltage 12V", "Air Humidity 78%", "Temperature 25C", "Test Site", "spare spare",
        "Operator your name", "Operating Condition Phase or Neutral", "Comment wiring check"};
    EXPECT_EQ(lines.mid(1, rows.size()), rows);
    EXPECT_EQ(lines.count("Peaks Set1"), 1);
    EXPECT_EQ(lines.count("Peaks Set2"), 1);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(lines.count(QStringLiteral("%1 %2 %3.25 56.00 %4")
                                  .arg(i + 1)
                                  .arg(150 + 37 * i)
                                  .arg(50 + i)
                                  .arg(QString::number(5.75 - i, 'f', 2))),
                  1)
            << i;
    EXPECT_EQ(lines.count("1 9000 47.50 50.00 2.50"), 1);
    // Twelve peak rows break to a second page.
    EXPECT_EQ(lines.filter("Page ").size(), 2);
    EXPECT_EQ(lines.count("Page 1"), 1);
    EXPECT_EQ(lines.last(), "Page 2");
    // The chart's axis labels as the print drew them.
    const QString text = lines.join(' ');
    ASSERT_GE(labels.size(), 6);
    for (const QString& label : labels)
        EXPECT_TRUE(text.contains(label.simplified())) << label.toStdString();

    // The last frequency label ends inside the chart's picture (which spans the page's width less
    // a fortieth at each side).
    const QString bbox = Output("pdftotext", {"-bbox", pdfFile, "-"});
    static const QRegularExpression unit("<word [^>]*xMax=\"([0-9.]+)\"[^>]*>MHz</word>");
    double lastEnd = 0;
    for (auto it = unit.globalMatch(bbox); it.hasNext();)
        lastEnd = std::max(lastEnd, it.next().captured(1).toDouble());
    ASSERT_GT(lastEnd, 0) << bbox.left(2000).toStdString();
    const int width = pdf.Printer().width();
    EXPECT_LE(lastEnd, (width - width / 40) * 72.0 / pdf.Printer().resolution());
}

} // namespace
