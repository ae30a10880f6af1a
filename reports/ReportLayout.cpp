#include "reports/ReportLayout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// round() of the layout: halves to even.
int32_t Round(double value)
{
    return static_cast<int32_t>(std::nearbyint(value));
}

// A note's line advances by its character height and a quarter.
constexpr double kNoteLineSpacing = 1.25;

class Layout {
public:
    explicit Layout(const ReportLayoutInput& in)
        : in_(in)
        , w_(in.Width)
        , h_(in.Height)
        , m_((in.Width - ReportTextWidth(in.Width)) / 2)
        ,
        // Pixels per point of the 10-point table font: its character height over its size.
        k_(ReportFontPixels(kReportBodyPoints, in.Dpi) / kReportBodyPoints)
        ,
        // Two thirds of an inch stay free below a table row before the page is full. A fixed
        // 400 pixels did that only at 600 dpi and left room for a single row at 96 dpi.
        reserve_(Round(in.Dpi * 2.0 / 3.0))
    {
        plan_.Width = w_;
        plan_.Height = h_;
        plan_.Dpi = in.Dpi;
        plan_.K = k_;
        plan_.Pages.emplace_back();
    }

    ReportPlan Run()
    {
        AddText(m_, Round(h_ * 0.057), in_.Title, kReportTitlePoints);
        AddRule(Round(h_ * 0.08));

        int32_t y = Round(h_ * 0.088);
        // The header and the chart move down by the notes' lines; the chart gives up that room.
        for (const QString& note : in_.Notes) {
            AddText(m_, y, note, kReportBodyPoints);
            y += Round(ReportFontPixels(kReportBodyPoints, in_.Dpi) * kNoteLineSpacing);
        }
        if (!in_.Notes.isEmpty())
            y += Round(h_ * 0.008);
        Grid(in_.Header, y, false);

        // The header grid's height follows the font, the chart's top the page: on a short page the
        // grid reaches below that top, and the chart's white background would cover its last rows.
        const int32_t chartTop = std::max(Round(h_ / 2.55), y);
        const gdi::Rect chart {w_ / 40, chartTop, w_ - w_ / 40, h_ - h_ / 3};
        if (chart.right > chart.left && chart.bottom > chart.top)
            Add({ReportItem::Chart, chart, {}, 0, false});

        AddText(m_, Round(h_ * 0.685), QStringLiteral("Peaks Set1"), kReportBodyPoints);
        y = h_ - Round(h_ / 3.4);
        Grid(in_.Peaks1, y, true);

        y += Round(h_ * 0.008);
        // The rows after set 1 may leave room for one more row only: the heading, the column
        // names and the first peak of set 2 go to the next page together rather than apart.
        const int32_t captionGap = Round(h_ * 0.025);
        if (y + captionGap + LeadHeight(in_.Peaks2) > h_ - reserve_)
            BreakPage(y);
        AddText(m_, y, QStringLiteral("Peaks Set2"), kReportBodyPoints);
        y += captionGap;
        Grid(in_.Peaks2, y, true);

        ++pageNumber_;
        AddPageNumber(h_ - h_ / 20);
        return std::move(plan_);
    }

private:
    void Add(ReportItem item) { plan_.Pages.back().Items.push_back(std::move(item)); }
    void AddText(int32_t x, int32_t y, const QString& text, int32_t points)
    {
        if (!text.isEmpty())
            Add({ReportItem::Text, gdi::Rect {x, y, x, y}, text, points, false});
    }
    void AddRule(int32_t y) { Add({ReportItem::Rule, gdi::Rect {m_, y, w_ - m_, y}, {}, 0, false}); }
    void AddPageNumber(int32_t y)
    {
        const int32_t x = w_ / 2;
        Add({ReportItem::Text, gdi::Rect {x, y, x, y}, QStringLiteral("Page %1").arg(pageNumber_),
            kReportBodyPoints, true});
    }

    // Each row's cells as framed boxes with their texts; with breaks, a row that would come too
    // close to the bottom goes to a new page.
    void Grid(const ReportGrid& grid, int32_t& y, bool breaks)
    {
        const size_t rows = grid.Cells.size();
        for (size_t r = 0; r < rows; ++r) {
            const int32_t height = RowHeight(grid, r) * k_;
            int32_t x = m_;
            for (size_t c = 0; c < grid.ColWidths.size(); ++c) {
                const int32_t width = grid.ColWidths[c] * k_;
                Add({ReportItem::Box, gdi::Rect {x, y, x + width, y + height}, {}, 0, false});
                const QStringList& cells = grid.Cells[r];
                if (c < static_cast<size_t>(cells.size()))
                    AddText(x + 3 * k_, y + 3 * k_, cells[static_cast<qsizetype>(c)], kReportBodyPoints);
                x += width;
            }
            y += height;
            if (breaks && r + 1 >= LeadRows(grid) && h_ - y - RowHeight(grid, r + 1) * k_ < reserve_)
                BreakPage(y);
        }
    }

    // The column names and the first row below them never part: no break among them.
    static size_t LeadRows(const ReportGrid& grid)
    {
        return std::min(grid.Cells.size(), static_cast<size_t>(std::max(grid.HeadingRows, 0)) + 1);
    }

    int32_t LeadHeight(const ReportGrid& grid) const
    {
        int32_t height = 0;
        for (size_t r = 0; r < LeadRows(grid); ++r)
            height += RowHeight(grid, r) * k_;
        return height;
    }

    static int32_t RowHeight(const ReportGrid& grid, size_t row)
    {
        return row < grid.RowHeights.size() ? grid.RowHeights[row] : grid.DefaultRowHeight;
    }

    void BreakPage(int32_t& y)
    {
        y += Round(h_ * 0.003);
        AddRule(y);
        y += Round(h_ * 0.003);
        ++pageNumber_;
        AddPageNumber(y);
        y = Round(h_ / 20.0);
        plan_.Pages.emplace_back();
    }

    const ReportLayoutInput& in_;
    const int32_t w_;
    const int32_t h_;
    const int32_t m_;
    const int32_t k_;
    const int32_t reserve_;
    int pageNumber_ = 0;
    ReportPlan plan_;
};

} // namespace

int32_t ReportFontPixels(int32_t points, int32_t dpi)
{
    return Round(points * static_cast<double>(dpi) / 72.0);
}

int32_t ReportTextWidth(int32_t pageWidth) { return pageWidth - 2 * (pageWidth / 15); }

QString ReportTitle(const QString& dateTime)
{
    return QStringLiteral("Zendrik Pre-Compliance Measurement Report     ") + dateTime;
}

ReportPlan LayoutReport(const ReportLayoutInput& input)
{
    if (input.Width < 1 || input.Height < 1 || input.Dpi < 1)
        throw std::invalid_argument("the printer reports no usable page size or resolution");
    return Layout(input).Run();
}
