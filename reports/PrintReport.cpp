#include "reports/PrintReport.h"

#include "app/Log.h"
#include "chart/canvas/PlotPanel.h"
#include "datafiles/DataFilePaths.h"
#include "measurement/PeakLists.h"
#include "reports/HourglassCursor.h"
#include "reports/ReportHeader.h"
#include "reports/ReportPrinter.h"
#include "reports/ReportRender.h"
#include "reports/WhiteChartScope.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <array>
#include <exception>
#include <stdexcept>

namespace {

constexpr std::array<int, ReportHeaderItems::kCount> kHeaderRowItems = {6, 7, 4, 1, 3, 2, 9, 8, 10, 5, 11};
constexpr int32_t kHeaderCaptionWidth = 150;
constexpr int32_t kHeaderTextWidth = 400;
constexpr int32_t kGridRowHeight = 24;
constexpr int32_t kPeakNumberWidth = 40;
constexpr int32_t kPeakColumnWidth = 50;
constexpr int32_t kPeakHeadingHeight = 17;

void Message(MessageLog* log, const QString& line)
{
    if (log != nullptr)
        log->Append(line);
}

void Debug(DebugLog* log, const QString& line)
{
    if (log != nullptr)
        log->LogMessage(line);
}

QString PrinterText(const QPrinter& printer)
{
    if (!printer.outputFileName().isEmpty())
        return printer.outputFileName();
    return printer.printerName().isEmpty() ? QStringLiteral("the printer") : printer.printerName();
}

// A note as lines of the report's body font no wider than width pixels, broken between words (a
// word wider than that stands alone on its line).
QStringList WrapNote(const QString& note, int32_t width, int32_t dpi)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(ReportFontPixels(kReportBodyPoints, dpi));
    const QFontMetricsF metrics(font);
    QStringList lines;
    QString line;
    for (const QString& word : note.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

// The chart as an enhanced metafile of its client area, drawn on white.
std::shared_ptr<const gdi::Metafile> ChartPicture(TCustomPlotPanel* chart)
{
    if (chart == nullptr)
        return {};
    WhiteChartScope white(*chart);
    return std::make_shared<const gdi::Metafile>(chart->CreateChartMetafile(true, chart->GetRectangle()));
}

void Print(const PrintReportSources& sources, QPrinter& printer, QPainter& painter)
{
    if (!painter.begin(&printer))
        throw std::runtime_error("printing could not be started on " + PrinterText(printer).toStdString());
    ReportLayoutInput input;
    input.Width = printer.width();
    input.Height = printer.height();
    input.Dpi = printer.logicalDpiY();
    Debug(sources.Debug, QStringLiteral("Printer.Papersize"));
    Debug(sources.Debug, QStringLiteral("width: %1height: %2").arg(input.Width).arg(input.Height));

    input.Title = ReportTitle(datafiles::DataFileDateText());
    for (const QString& note : sources.RunNotes)
        input.Notes << WrapNote(note, ReportTextWidth(input.Width), input.Dpi);
    if (sources.Header != nullptr)
        input.Header = ReportHeaderGrid(*sources.Header);
    if (sources.Peaks1 != nullptr)
        input.Peaks1 = ReportPeakGrid(*sources.Peaks1);
    if (sources.Peaks2 != nullptr)
        input.Peaks2 = ReportPeakGrid(*sources.Peaks2);
    const ReportPlan plan = LayoutReport(input);
    const std::vector<ReportPageRecording> pages = RecordReport(plan, ChartPicture(sources.Chart));

    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            throw std::runtime_error("page " + std::to_string(i + 1) + " could not be started");
        PlayReportPage(pages[i], painter);
    }
    if (!painter.end())
        throw std::runtime_error("printing could not be finished on " + PrinterText(printer).toStdString());
}

} // namespace

ReportGrid ReportHeaderGrid(const ReportHeaderItems& items)
{
    ReportGrid grid;
    grid.ColWidths = {kHeaderCaptionWidth, kHeaderTextWidth};
    grid.DefaultRowHeight = kGridRowHeight;
    for (int number : kHeaderRowItems) {
        const ReportHeaderItems::Item& item = items.At(number);
        grid.Cells.push_back({item.Caption, item.Text});
        grid.RowHeights.push_back(kGridRowHeight);
    }
    return grid;
}

ReportGrid ReportPeakGrid(const PeakGridModel& model)
{
    ReportGrid grid;
    grid.ColWidths.assign(PeakGridModel::kColumns, kPeakColumnWidth);
    grid.ColWidths[0] = kPeakNumberWidth;
    grid.DefaultRowHeight = kGridRowHeight;
    grid.HeadingRows = PeakGridModel::kHeadingRows;
    const int rows = model.RowCount();
    grid.Cells.reserve(static_cast<size_t>(rows));
    grid.RowHeights.reserve(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        QStringList cells;
        cells.reserve(PeakGridModel::kColumns);
        for (int c = 0; c < PeakGridModel::kColumns; ++c)
            cells << model.Cell(r, c);
        grid.Cells.push_back(std::move(cells));
        grid.RowHeights.push_back(r < PeakGridModel::kHeadingRows ? kPeakHeadingHeight : kGridRowHeight);
    }
    return grid;
}

bool PrintReport(const PrintReportSources& sources, ReportPrinterProvider& printers)
{
    QString error;
    try {
        QPrinter* printer = printers.ChoosePrinter();
        if (printer == nullptr)
            return false;
        HourglassCursor busy;
        QPainter painter;
        try {
            Print(sources, *printer, painter);
            return true;
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        } catch (...) {
            error = QStringLiteral("printing failed");
        }
        // The spooler must not keep a half-open document.
        printer->abort();
        if (painter.isActive())
            painter.end();
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    } catch (...) {
        error = QStringLiteral("printing failed");
    }
    Message(sources.Messages, QStringLiteral("Error: ") + error);
    return false;
}
