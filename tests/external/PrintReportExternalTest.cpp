// The printed report as poppler reads it: printed to a 600-dpi A4 PDF, then pdfinfo for the paper
// and page count, pdftotext for the words, pdftotext -bbox for where they stand.
#include "app/Log.h"
#include "measurement/PeakLists.h"
#include "reports/PrintReport.h"
#include "reports/ReportHeader.h"
#include "reports/ReportPrinter.h"
#include "tests/reports/ReportChart.h"

#include <QDate>
#include <QMultiMap>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Tool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted(10000) || !p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The simplified lines of `pdftotext -layout`: one line per printed row.
QStringList Lines(const QString& pdf)
{
    QStringList lines = Tool("pdftotext", {"-layout", pdf, "-"}).split('\n');
    for (QString& line : lines)
        line = line.simplified();
    lines.removeAll(QString());
    return lines;
}

// Whether `pdftotext -bbox` has the word on that page (from 1) with its top at y points.
bool WordAt(const QString& bbox, int page, const QString& word, double y)
{
    static const QRegularExpression re("<page |<word [^>]*yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
    int at = 0;
    for (auto it = re.globalMatch(bbox); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith("<page"))
            ++at;
        else if (at == page && m.captured(2) == word && std::abs(m.captured(1).toDouble() - y) <= 1.0)
            return true;
    }
    return false;
}

// The pages (from 1) on which `pdftotext -bbox` finds each word, in reading order.
QMultiMap<QString, int> WordPages(const QString& bbox)
{
    static const QRegularExpression re("<page |<word [^>]*>([^<]*)</word>");
    QMultiMap<QString, int> pages;
    int page = 0;
    for (auto it = re.globalMatch(bbox); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith("<page"))
            ++page;
        else
            pages.insert(m.captured(1), page);
    }
    return pages;
}

} // namespace

// Five or six set-1 peaks leave the bottom of page 1 to set 2's heading: it once ended page 1
// with the column names while the units and rows began page 2, and an empty set 2 put its units
// row alone on page 2.
TEST(PrintReportExternalTest, EachTableHeadingStandsOnThePageOfItsRows)
{
    QTemporaryDir dir;
    reportstest::ReportChart chart;
    ReportHeaderItems header;
    MessageLog messages;
    for (const auto& [peaks1, peaks2] : {std::pair{12, 5}, std::pair{6, 5}, std::pair{6, 0}, std::pair{5, 5}}) {
        SCOPED_TRACE(testing::Message() << peaks1 << " + " << peaks2 << " peaks");
        PeakLists set1(MeasureSet::Set1), set2(MeasureSet::Set2);
        for (int i = 0; i < peaks1; ++i)
            set1.AddPeak(150.0 + 37 * i, 50.25, 56.0);
        for (int i = 0; i < peaks2; ++i)
            set2.AddPeak(9000.0 + i, 47.5, 50.0);
        const QString file = dir.filePath(QStringLiteral("report%1-%2.pdf").arg(peaks1).arg(peaks2));
        PdfFilePrinter pdf(file);
        ASSERT_TRUE(PrintReport({&chart, &header, &set1.Grid, &set2.Grid, &messages, nullptr}, pdf));
        const QMultiMap<QString, int> pages = WordPages(Tool("pdftotext", {"-bbox", file, "-"}));
        ASSERT_EQ(pages.count("Set1"), 1);
        ASSERT_EQ(pages.count("Set2"), 1);
        // Each table's column names and units on the page of its heading, and its first peak.
        QList<int> headings = {pages.value("Set1"), pages.value("Set2")};
        std::sort(headings.begin(), headings.end());
        for (const char* word : {"No.", "[kHz]"}) {
            QList<int> found = pages.values(word);
            std::sort(found.begin(), found.end());
            EXPECT_EQ(found, headings) << word;
        }
        EXPECT_EQ(pages.value("150"), pages.value("Set1"));
        if (peaks2 > 0) {
            EXPECT_EQ(pages.value("9000"), pages.value("Set2"));
        }
    }
}

TEST(PrintReportExternalTest, PopplerReadsTheReport)
{
    QTemporaryDir dir;
    reportstest::ReportChart chart;
    for (int i = 0; i < 60; ++i)
        chart.Series(1).AddPointXY(150 + i * 500, 35 + (i % 11));
    chart.BottomAxis()->SetRange(0, 30000);
    chart.LeftAxis()->SetRange(0, 100);
    chart.LeftAxis()->Title().SetCaption("Level dBuV");
    ReportHeaderItems header;
    header.SetText(11, "second sweep");
    PeakLists set1(MeasureSet::Set1), set2(MeasureSet::Set2);
    MessageLog messages;
    const PrintReportSources sources {&chart, &header, &set1.Grid, &set2.Grid, &messages, nullptr};

    // No peaks: one page that ends in its number.
    PdfFilePrinter empty(dir.filePath("empty.pdf"));
    ASSERT_TRUE(PrintReport(sources, empty));
    EXPECT_TRUE(Tool("pdfinfo", {dir.filePath("empty.pdf")}).contains(QRegularExpression("Pages:\\s+1\\n")));
    QStringList lines = Lines(dir.filePath("empty.pdf"));
    EXPECT_EQ(lines.count("No. Freq Peak Lim Margin *DET *Freq *Peak *Lim *RBW *SWT"), 2);
    EXPECT_EQ(lines.filter("Page ").size(), 1);
    EXPECT_EQ(lines.last(), "Page 1");

    for (int i = 0; i < 20; ++i)
        set1.AddPeak(150.0 + 37 * i, 50.25 + i, 56.0);
    for (int i = 0; i < 3; ++i)
        set2.AddPeak(9000.0 + i, 47.5, 50.0);
    const QStringList measured = {"QPEAK", "9001", "44.20", "50.00", "9000", "20"};
    for (int c = 0; c < measured.size(); ++c)
        set2.Grid.SetCell(3, 5 + c, measured[c]);
    PdfFilePrinter pdf(dir.filePath("long.pdf"));
    ASSERT_TRUE(PrintReport(sources, pdf)) << messages.Lines().join('\n').toStdString();
    const QString info = Tool("pdfinfo", {dir.filePath("long.pdf")});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts \\(A4\\)")))
        << info.toStdString();

    lines = Lines(dir.filePath("long.pdf"));
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    EXPECT_TRUE(lines[0].startsWith("Zendrik Pre-Compliance Measurement Report " + date.simplified()))
        << lines[0].toStdString();
    // The header rows in their fixed order, each caption beside its text.
    const QStringList rows = {"DUT Device under Test", "Manufacturer my Company", "EMC Standard CISPRxx",
        "Operating Voltage 12V", "Air Humidity 78%", "Temperature 25C", "Test Site", "spare spare",
        "Operator your name", "Operating Condition Phase or Neutral", "Comment second sweep"};
    EXPECT_EQ(lines.mid(1, rows.size()), rows);
    EXPECT_EQ(lines.count("Peaks Set1"), 1);
    EXPECT_EQ(lines.count("Peaks Set2"), 1);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(lines.count(QStringLiteral("%1 %2 %3.25 56.00 %4")
                                  .arg(i + 1)
                                  .arg(150 + 37 * i)
                                  .arg(50 + i)
                                  .arg(QString::number(5.75 - i, 'f', 2))),
            1)
            << i;
    EXPECT_EQ(lines.count("2 9001 47.50 50.00 2.50 QPEAK 9001 44.20 50.00 9000 20"), 1);
    EXPECT_EQ(lines.filter(QRegularExpression("^(1|3) 900[02] 47.50 50.00 2.50$")).size(), 2);
    EXPECT_TRUE(lines.contains("Level dBuV"));
    EXPECT_EQ(lines.filter(QRegularExpression("^0 2[,.]?000 4[,.]?000 .* 30[,.]?000$")).size(), 1);
    EXPECT_EQ(lines.filter("Page ").size(), 2);
    EXPECT_EQ(lines.count("Page 1"), 1);
    EXPECT_EQ(lines.last(), "Page 2");

    // Positions against the plan for this printer's own page, in points of 1/72 inch.
    const ReportPlan plan = LayoutReport({pdf.Printer().width(), pdf.Printer().height(), 600, "", {},
        ReportPeakGrid(set1.Grid), ReportPeakGrid(set2.Grid)});
    ASSERT_EQ(plan.Pages.size(), 2u);
    auto points = [&plan](size_t page, const QString& label) {
        for (const ReportItem& item : plan.Pages[page].Items)
            if (item.kind == ReportItem::Text && item.Label == label)
                return item.Area.top * 72.0 / 600;
        return -100.0;
    };
    const QString bbox = Tool("pdftotext", {"-bbox", dir.filePath("long.pdf"), "-"});
    EXPECT_TRUE(WordAt(bbox, 1, "Zendrik", 400 * 72.0 / 600));
    EXPECT_TRUE(WordAt(bbox, 1, "Set1", points(0, "Peaks Set1")));
    EXPECT_TRUE(WordAt(bbox, 2, "Set2", points(1, "Peaks Set2")));
    EXPECT_TRUE(WordAt(bbox, 1, "1", points(0, "Page 1")));
    EXPECT_TRUE(WordAt(bbox, 2, "2", points(1, "Page 2")));
}
