// The printed report: its page plan on A4, US Letter and a 96-dpi page, the recorded pages, and
// the print handler's paths (printed, cancelled, failed).
#include "reports/PrintReport.h"
#include "app/Log.h"
#include "measurement/PeakLists.h"
#include "reports/ReportHeader.h"
#include "reports/ReportPrinter.h"
#include "reports/ReportRender.h"
#include "tests/reports/ReportChart.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Peak n of a set shows as the text "n" in column 0.
ReportPlan Plan(int32_t w, int32_t h, int32_t dpi, int peaks1 = 0, int peaks2 = 0)
{
    const ReportHeaderItems header;
    PeakGridModel set1, set2;
    for (int i = 0; i < peaks1; ++i)
        set1.SetCell(i + 2, 0, QString::number(i + 1));
    for (int i = 0; i < peaks2; ++i)
        set2.SetCell(i + 2, 0, QString::number(i + 1));
    return LayoutReport(
        {w, h, dpi, ReportTitle("d"), ReportHeaderGrid(header), ReportPeakGrid(set1), ReportPeakGrid(set2)});
}

const ReportItem* Text(const ReportPagePlan& page, const QString& text)
{
    for (const ReportItem& item : page.Items)
        if (item.kind == ReportItem::Text && item.Label == text)
            return &item;
    return nullptr;
}

std::vector<gdi::Rect> Areas(const ReportPagePlan& page, ReportItem::Kind kind)
{
    std::vector<gdi::Rect> out;
    for (const ReportItem& item : page.Items)
        if (item.kind == kind)
            out.push_back(item.Area);
    return out;
}

// The top of the first box drawn after a text.
int32_t BoxAfter(const ReportPagePlan& page, const QString& text)
{
    bool seen = false;
    for (const ReportItem& item : page.Items) {
        seen = seen || (item.kind == ReportItem::Text && item.Label == text);
        if (seen && item.kind == ReportItem::Box)
            return item.Area.top;
    }
    return -1;
}

// A PDF printer whose second page cannot be started.
class NoSecondPage final : public ReportPrinterProvider {
public:
    class Printer : public QPrinter {
    public:
        bool newPage() override { return false; }
    };
    explicit NoSecondPage(const QString& file) { printer.setOutputFileName(file); }
    QPrinter* ChoosePrinter() override { return &printer; }
    Printer printer;
};

} // namespace

TEST(PrintReportTest, A4At600Dpi)
{
    const ReportPlan plan = Plan(4961, 7016, 600);
    ASSERT_EQ(plan.Pages.size(), 1u);
    EXPECT_EQ(plan.K, 8);
    const ReportPagePlan& page = plan.Pages[0];
    const ReportItem& title = page.Items[0];
    EXPECT_EQ(title.Label, "Zendrik Pre-Compliance Measurement Report     d");
    EXPECT_EQ(title.Points, 14);
    EXPECT_EQ(title.Area, (gdi::Rect {330, 400, 330, 400}));
    EXPECT_EQ(Areas(page, ReportItem::Rule), std::vector<gdi::Rect>({{330, 561, 4631, 561}}));

    // Header: 11 rows of 24 x 8 pixels, columns 150 and 400 units, texts 3k inside their cell.
    const std::vector<gdi::Rect> boxes = Areas(page, ReportItem::Box);
    ASSERT_EQ(boxes.size(), 22u + 22u + 22u);
    EXPECT_EQ(boxes[0], (gdi::Rect {330, 617, 1530, 809}));
    EXPECT_EQ(boxes[1], (gdi::Rect {1530, 617, 4730, 809}));
    EXPECT_EQ(boxes[21].bottom, 2729);
    const QStringList order = {"DUT", "Manufacturer", "EMC Standard", "Operating Voltage", "Air Humidity",
        "Temperature", "Test Site", "spare", "Operator", "Operating Condition", "Comment"};
    for (int row = 0; row < order.size(); ++row) {
        const ReportItem* caption = Text(page, order[row]);
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->Area, (gdi::Rect {354, 641 + 192 * row, 354, 641 + 192 * row})) << row;
    }
    EXPECT_EQ(Text(page, "Device under Test")->Area.left, 1554);

    EXPECT_EQ(Areas(page, ReportItem::Chart), std::vector<gdi::Rect>({{124, 2751, 4837, 4678}}));
    EXPECT_EQ(Text(page, "Peaks Set1")->Area.top, 4806);
    // Peak grids: column 0 40 units, the others 50, heading rows 17.
    EXPECT_EQ(boxes[22], (gdi::Rect {330, 4952, 650, 5088}));
    EXPECT_EQ(boxes[23], (gdi::Rect {650, 4952, 1050, 5088}));
    EXPECT_EQ(Text(page, "Peaks Set2")->Area.top, 5224 + 56);
    EXPECT_EQ(BoxAfter(page, "Peaks Set2"), 5280 + 175);
    const ReportItem& number = page.Items.back();
    EXPECT_EQ(number.Label, "Page 1");
    EXPECT_TRUE(number.Centred);
    EXPECT_EQ(number.Area, (gdi::Rect {2480, 6666, 2480, 6666}));
}

TEST(PrintReportTest, ShortPagesKeepTheHeaderAboveTheChartAndBreakByTheInch)
{
    // US Letter at 600 dpi: the header ends at 2693, below the page-relative chart top 2588.
    ReportPlan plan = Plan(5100, 6600, 600);
    EXPECT_EQ(Areas(plan.Pages[0], ReportItem::Box)[21].bottom, 2693);
    EXPECT_EQ(Areas(plan.Pages[0], ReportItem::Chart), std::vector<gdi::Rect>({{127, 2693, 4973, 4400}}));

    // A4 at 96 dpi (k = 1): two thirds of an inch stay free, so set 1 keeps nine peaks on its page.
    plan = Plan(794, 1123, 96, 20);
    ASSERT_EQ(plan.Pages.size(), 2u);
    EXPECT_EQ(BoxAfter(plan.Pages[0], "Peaks Set1"), 793);
    EXPECT_NE(Text(plan.Pages[0], "9"), nullptr);
    EXPECT_EQ(Text(plan.Pages[0], "10"), nullptr);
    EXPECT_NE(Text(plan.Pages[1], "10"), nullptr);
}

TEST(PrintReportTest, LongSetOneTableBreaksWithRuleAndNumber)
{
    const ReportPlan plan = Plan(4961, 7016, 600, 20, 1);
    ASSERT_EQ(plan.Pages.size(), 2u);
    // Rows 0 to 8 fit; below row 8 (y = 6568) a further row would leave less than 400 pixels.
    const ReportPagePlan& first = plan.Pages[0];
    EXPECT_NE(Text(first, "7"), nullptr);
    EXPECT_EQ(Text(first, "8"), nullptr);
    EXPECT_EQ(Areas(first, ReportItem::Rule).back(), (gdi::Rect {330, 6589, 4631, 6589}));
    EXPECT_EQ(first.Items.back().Label, "Page 1");
    EXPECT_EQ(first.Items.back().Area.top, 6610);

    const ReportPagePlan& second = plan.Pages[1];
    EXPECT_EQ(second.Items[0].kind, ReportItem::Box);
    EXPECT_EQ(second.Items[0].Area.top, 351);
    // Thirteen rows of 192 end at 2847.
    EXPECT_EQ(Text(second, "Peaks Set2")->Area.top, 2903);
    EXPECT_EQ(BoxAfter(second, "Peaks Set2"), 3078);
    EXPECT_EQ(second.Items.back().Label, "Page 2");
    EXPECT_EQ(second.Items.back().Area.top, 6666);
    EXPECT_TRUE(Areas(second, ReportItem::Rule).empty());
}

// Whatever the page and however many peaks come before, a table's heading, its column names, its
// units and its first peak stand on one page, and the rows of the page above the reserve.
TEST(PrintReportTest, HeadingsStayWithTheirFirstRow)
{
    struct Page {
        int32_t w, h, dpi;
    };
    for (const Page page : {Page{4961, 7016, 600}, Page{5100, 6600, 600}, Page{794, 1123, 96}}) {
        for (int peaks1 = 0; peaks1 <= 30; ++peaks1) {
            for (const int peaks2 : {0, 5}) {
                SCOPED_TRACE(testing::Message() << page.h << " px, " << peaks1 << " + " << peaks2 << " peaks");
                const ReportPlan plan = Plan(page.w, page.h, page.dpi, peaks1, peaks2);
                // The texts in drawing order with their page.
                std::vector<std::pair<QString, size_t>> texts;
                for (size_t p = 0; p < plan.Pages.size(); ++p) {
                    for (const ReportItem& item : plan.Pages[p].Items) {
                        if (item.kind == ReportItem::Text) {
                            texts.emplace_back(item.Label, p);
                        } else if (item.kind == ReportItem::Box) {
                            EXPECT_LE(item.Area.bottom, page.h - page.dpi * 2 / 3);
                        }
                    }
                }
                auto pageOf = [&texts](size_t from, const QString& label) {
                    for (size_t i = from; i < texts.size(); ++i)
                        if (texts[i].first == label)
                            return std::pair{i, texts[i].second};
                    return std::pair{texts.size(), size_t{99}};
                };
                size_t at = 0;
                for (int set = 1; set <= 2; ++set) {
                    const auto [heading, headingPage] = pageOf(at, QStringLiteral("Peaks Set%1").arg(set));
                    ASSERT_LT(heading, texts.size()) << set;
                    const auto [names, namesPage] = pageOf(heading, "No.");
                    const auto [units, unitsPage] = pageOf(names, "[kHz]");
                    EXPECT_EQ(namesPage, headingPage) << set;
                    EXPECT_EQ(unitsPage, headingPage) << set;
                    if ((set == 1 ? peaks1 : peaks2) > 0) {
                        EXPECT_EQ(pageOf(units, "1").second, headingPage) << set;
                    }
                    at = units;
                }
            }
        }
    }
}

TEST(PrintReportTest, NotesStandUnderTheTitleAndPushTheHeaderAndChartDown)
{
    const PeakGridModel none;
    const ReportPagePlan page = LayoutReport({4961, 7016, 600, "d", ReportHeaderGrid({}), ReportPeakGrid(none),
                                              ReportPeakGrid(none), {"one", "two"}}).Pages[0];
    EXPECT_EQ(Text(page, "two")->Area, (gdi::Rect {330, 617 + 104, 330, 617 + 104}));
    EXPECT_EQ(Areas(page, ReportItem::Box)[0].top, 617 + 2 * 104 + 56);
    EXPECT_EQ(Areas(page, ReportItem::Chart), std::vector<gdi::Rect>({{124, 881 + 2112, 4837, 4678}}));
}

TEST(PrintReportTest, RecordedPagesHoldTheGdiCalls)
{
    auto chart = std::make_shared<const gdi::Metafile>();
    const std::vector<ReportPageRecording> pages = RecordReport(Plan(4961, 7016, 600), chart);
    ASSERT_EQ(pages.size(), 1u);
    // The drawing before the chart at 1:1, the chart in its area, the drawing after it.
    ASSERT_EQ(pages[0].Layers.size(), 3u);
    EXPECT_EQ(pages[0].Layers[0].Target, QRect(0, 0, 4961, 7016));
    EXPECT_EQ(pages[0].Layers[1].Picture, chart);
    EXPECT_EQ(pages[0].Layers[1].Target, QRect(124, 2751, 4713, 1927));

    // Each text with the font height and alignment in force when it was written.
    std::vector<std::tuple<QString, int32_t, int32_t, int32_t, uint32_t>> texts;
    for (const ReportLayer& layer : {pages[0].Layers[0], pages[0].Layers[2]}) {
        const gdi::Metafile& m = *layer.Picture;
        EXPECT_EQ(m.Pens.front().width, 4);
        int32_t height = 0;
        uint32_t align = 0;
        for (const gdi::MetaRecord& r : m.Records) {
            if (r.op == gdi::MetaOp::SelectFont)
                height = m.Fonts[static_cast<size_t>(r.index)].height;
            else if (r.op == gdi::MetaOp::SetTextAlign)
                align = static_cast<uint32_t>(r.a[0]);
            else if (r.op == gdi::MetaOp::TextOut)
                texts.emplace_back(r.text, r.a[0], r.a[1], height, align);
        }
    }
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), std::make_tuple(ReportTitle("d"), 330, 400, -117, gdi::TA_LEFT | gdi::TA_TOP));
    EXPECT_EQ(texts[1], std::make_tuple(QString("DUT"), 354, 641, -83, gdi::TA_LEFT | gdi::TA_TOP));
    EXPECT_EQ(
        texts.back(), std::make_tuple(QString("Page 1"), 2480, 6666, -83, gdi::TA_CENTER | gdi::TA_TOP));
}

TEST(PrintReportTest, PrintsCancelsAndFails)
{
    QTemporaryDir dir;
    reportstest::ReportChart chart;
    chart.SetColor(clSkyBlue);
    chart.SetBevelOuter(bvLowered);
    chart.Series(7).AddPointXY(150, 30);
    chart.Series(7).AddPointXY(3000, 40);
    TColor drawnIn = clNone;
    chart.OnAfterDraw = [&] {
        if (chart.Canvas().Metafiling)
            drawnIn = chart.Color();
    };
    ReportHeaderItems header;
    PeakLists set1(MeasureSet::Set1), set2(MeasureSet::Set2);
    for (int i = 0; i < 20; ++i)
        set1.AddPeak(150 + i, 40, 50);
    MessageLog messages;
    DebugLog debug;
    debug.DebugMode = 1;
    debug.TimeText = [] { return QStringLiteral("t"); };
    const PrintReportSources sources {&chart, &header, &set1.Grid, &set2.Grid, &messages, &debug};
    auto restored = [&] {
        EXPECT_EQ(chart.Color(), clSkyBlue);
        EXPECT_EQ(chart.BevelOuter(), bvLowered);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    };

    PdfFilePrinter pdf(dir.filePath("report.pdf"));
    ASSERT_TRUE(PrintReport(sources, pdf));
    EXPECT_TRUE(messages.Lines().isEmpty()) << messages.Lines().join('\n').toStdString();
    EXPECT_NEAR(pdf.Printer().height(), 7017, 1);
    EXPECT_EQ(debug.Lines(),
        QStringList({"t: Printer.Papersize",
            QStringLiteral("t: width: %1height: %2")
                .arg(pdf.Printer().width())
                .arg(pdf.Printer().height())}));
    EXPECT_EQ(drawnIn, clWhite);
    restored();

    // The real dialog, cancelled as soon as it is up: nothing drawn, printed or logged.
    drawnIn = clNone;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            QMetaObject::invokeMethod(dialog, "reject");
    });
    cancel.start(20);
    PrintDialogPrinter dialog;
    EXPECT_FALSE(PrintReport(sources, dialog));
    cancel.stop();
    EXPECT_EQ(drawnIn, clNone);
    EXPECT_TRUE(messages.Lines().isEmpty());
    EXPECT_EQ(debug.Lines().size(), 2);

    PdfFilePrinter unwritable(dir.filePath("no/folder/report.pdf"));
    EXPECT_FALSE(PrintReport(sources, unwritable));
    NoSecondPage stuck(dir.filePath("stuck.pdf"));
    EXPECT_FALSE(PrintReport(sources, stuck));
    chart.OnAfterDraw = [&] {
        if (chart.Canvas().Metafiling)
            throw std::runtime_error("drawing failed");
    };
    EXPECT_FALSE(PrintReport(sources, pdf));
    EXPECT_EQ(messages.Lines(),
        QStringList({"Error: printing could not be started on " + dir.filePath("no/folder/report.pdf"),
            "Error: page 2 could not be started", "Error: drawing failed"}));
    restored();
}
