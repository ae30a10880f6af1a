#ifndef ZENDRIK_REPORTS_PRINTREPORT_H
#define ZENDRIK_REPORTS_PRINTREPORT_H

#include "reports/ReportLayout.h"

class DebugLog;
class MessageLog;
class PeakGridModel;
class ReportHeaderItems;
class ReportPrinterProvider;
class TCustomPlotPanel;

// What the printed measurement report is made of.
struct PrintReportSources {
    TCustomPlotPanel* Chart = nullptr; // the main chart (Chart1); none prints no chart
    const ReportHeaderItems* Header = nullptr; // the eleven caption/text pairs
    const PeakGridModel* Peaks1 = nullptr; // StringGrid1
    const PeakGridModel* Peaks2 = nullptr; // StringGrid2
    MessageLog* Messages = nullptr;
    DebugLog* Debug = nullptr;
    // The lines of the runs behind the chart that measured less than their plan (empty: none).
    QStringList RunNotes = {};
};

// The header grid: one row per report item in the order 6, 7, 4, 1, 3, 2, 9, 8, 10, 5, 11, the
// caption in a column 150 units wide and the text in one of 400, every row 24 high.
ReportGrid ReportHeaderGrid(const ReportHeaderItems& items);

// A peak grid as the main window sets the hidden grids up: column 0 40 units wide, the others 50,
// the two heading rows 17 high and every peak row 24.
ReportGrid ReportPeakGrid(const PeakGridModel& grid);

// "Print Report": the operator chooses the printer; then the title with the date, the run notes
// under it (broken between words to the text's width), the header grid, the chart (drawn on
// white without its outer bevel, its own look back afterwards) and the two peak tables are
// printed, broken over as many pages as they need, each page numbered. True when the report was
// printed; false when the choice was cancelled (nothing printed) or the print failed: the job is
// then aborted and the message log gets "Error: " and the reason. The busy cursor shows while
// printing and is taken back on every path.
bool PrintReport(const PrintReportSources& sources, ReportPrinterProvider& printers);

#endif
