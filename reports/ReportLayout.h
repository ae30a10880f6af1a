#ifndef ZENDRIK_REPORTS_REPORTLAYOUT_H
#define ZENDRIK_REPORTS_REPORTLAYOUT_H

#include "platform/gdi/GdiTypes.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Where everything of the printed measurement report goes, worked out from the page alone: a pure
// function of the page size, the resolution and the grids, so that any paper and printer give the
// same proportions and tests can check positions without printing.

// A grid as the report prints it, every row and column as it stands. Widths and heights are in
// grid units; the report multiplies them by the pixels per point of its table font.
struct ReportGrid {
    std::vector<int32_t> ColWidths;
    std::vector<int32_t> RowHeights; // one per row of Cells
    int32_t DefaultRowHeight = 24; // of a row the grid would add next
    int32_t HeadingRows = 0; // rows that name the columns; they go to a page with the first row below
    std::vector<QStringList> Cells; // [row][column]; missing cells print nothing
};

// One drawing step of a page, in the order the page is drawn. Texts are placed by the top of
// their line; a rule runs from (Area.left, Area.top) to (Area.right, Area.top); a box is a framed
// rectangle, right and bottom exclusive; the chart is stretched into its area.
struct ReportItem {
    enum Kind : uint8_t { Text, Rule, Box, Chart };
    Kind kind = Text;
    gdi::Rect Area;
    QString Label; // Text only
    int32_t Points = 10; // Text only: font size
    bool Centred = false; // Text only: Area.left is the centre of the line
};

struct ReportPagePlan {
    std::vector<ReportItem> Items;
};

struct ReportLayoutInput {
    int32_t Width = 0; // page width in device pixels
    int32_t Height = 0; // page height in device pixels
    int32_t Dpi = 0; // device pixels per inch
    QString Title; // the title line with its date
    ReportGrid Header; // the eleven caption/text rows
    ReportGrid Peaks1; // StringGrid1
    ReportGrid Peaks2; // StringGrid2
    // Lines under the title's rule, before anything that reads as a result: what of its plan the
    // run behind the chart did not measure. None leaves the page as it is without them.
    QStringList Notes = {};
};

struct ReportPlan {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Dpi = 0;
    int32_t K = 0; // device pixels per grid unit
    std::vector<ReportPagePlan> Pages;
};

inline constexpr int32_t kReportTitlePoints = 14;
inline constexpr int32_t kReportBodyPoints = 10;
inline constexpr int32_t kReportPenWidth = 4;

// The character height in device pixels of an "Arial" font of that size: round(points x dpi / 72).
int32_t ReportFontPixels(int32_t points, int32_t dpi);

// The width of the text column of a page: the page less its left and right margins.
int32_t ReportTextWidth(int32_t pageWidth);

// "Zendrik Pre-Compliance Measurement Report     " followed by the date and time.
QString ReportTitle(const QString& dateTime);

// The page plan. The page must be at least one pixel each way and the resolution positive.
ReportPlan LayoutReport(const ReportLayoutInput& input);

#endif
