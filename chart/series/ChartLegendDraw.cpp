// Laying the legend out against the chart rectangle, drawing its items, and the series symbol
// drawn outside a legend.
#include "chart/series/ChartLegend.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/engine/SeriesGroup.h"
#include "chart/series/Chart.h"

#include <algorithm>
#include <cmath>

namespace {

// Between the two text columns of an item.
constexpr int kColumnGap = 4;
// Where an item's first part starts (its symbol, or its text when it has none), and the gap
// between its symbol and its text: without symbols the text keeps the symbol's place, as far
// from the frame as it ends on the right.
constexpr int kItemInset = 6;
// Between an item's text and the frame's right edge, with a symbol or without one: as far as the
// symbol stands from the left.
constexpr int kTextRightGap = 6;
// What a check box adds before the rest of an item.
constexpr int kCheckBoxSpace = 15;
constexpr int kCheckBoxSize = 13;

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

bool ListsNames(TLegendStyle style)
{
    return style == lsSeries || style == lsSeriesGroups;
}

bool RightAligned(TLegendTextStyle style, int column)
{
    if (column == 0)
        return style == ltsLeftValue || style == ltsLeftPercent || style == ltsXValue || style == ltsValue ||
               style == ltsPercent || style == ltsXAndValue || style == ltsXAndPercent;
    return style == ltsRightValue || style == ltsRightPercent || style == ltsXAndValue || style == ltsXAndPercent;
}

// The legend's pen for the symbols is the chart's only while the items are drawn.
class LegendPenScope {
public:
    LegendPenScope(TCustomAxisPanel& chart, TChartPen* pen) : chart_(chart) { chart_.LegendPen = pen; }
    ~LegendPenScope() { chart_.LegendPen = nullptr; }
    LegendPenScope(const LegendPenScope&) = delete;
    LegendPenScope& operator=(const LegendPenScope&) = delete;

private:
    TCustomAxisPanel& chart_;
};

} // namespace

// ---- texts

void TCustomChartLegend::MeasureTexts(int from, int to)
{
    TPlotCanvas3D& canvas = chart_->Canvas();
    const bool html = TextFormat() == ttfHtml;
    texts_.clear();
    textsFirst_ = from;
    layout_.ColumnWidths = {0, 0};
    layout_.TallestText = 0;
    for (int index = from; index <= to; ++index) {
        std::array<QString, 2>& texts = texts_.emplace_back();
        CalcTexts(index, texts[0], texts[1]);
        for (int c = 0; c < 2; ++c)
            if (!texts[c].isEmpty()) {
                const gdi::Size extent = canvas.TextExtentFormat(texts[c], html);
                layout_.ColumnWidths[c] = std::max(layout_.ColumnWidths[c], extent.cx);
                if (html)
                    layout_.TallestText = std::max(layout_.TallestText, extent.cy);
            }
    }
    const std::array<int, 2>& w = layout_.ColumnWidths;
    layout_.TextWidth = w[0] + (w[1] > 0 ? kColumnGap + w[1] : 0);
}

const std::array<QString, 2>& TCustomChartLegend::Texts(int index)
{
    const size_t at = static_cast<size_t>(index - textsFirst_);
    if (index < textsFirst_ || at >= texts_.size()) {
        texts_.clear();
        textsFirst_ = index;
        std::array<QString, 2>& texts = texts_.emplace_back();
        CalcTexts(index, texts[0], texts[1]);
        return texts;
    }
    return texts_[at];
}

// ---- layout

// One column of rows from TopPos down the chart's side; only the rows that fit are measured.
void TCustomChartLegend::LayoutVertical(TRect& box, int titleHeight, int titleWidth)
{
    TLegendLayout& l = layout_;
    TCustomChart& chart = *chart_;
    const int fw = l.FrameWidth;
    if (!CustomPosition()) {
        TPlotShadow& shadow = chart.Shadow();
        const int extra = shadow.Visible() && shadow.VertSize() < 0 ? -2 * shadow.VertSize() : 0;
        box.Top = chart.ChartBounds.Top + extra + RoundEven(topPos_ * (chart.ChartBounds.Height() - extra) * 0.01);
    }
    const int itemsTop = box.Top + (l.TitleShown ? titleHeight + 2 + title_->FrameWidth() : 0);
    const TRect& r = chart.ChartRect;
    auto fit = [&] {
        l.Rows = r.Bottom <= itemsTop ? 0
                                      : std::clamp((r.Top + chart.ChartHeight - 2 * fw - itemsTop) / l.ItemHeight, 0,
                                                   l.TotalItems);
        l.LastValue = l.FirstValue + std::min(l.TotalItems, l.Rows) - 1;
        MeasureTexts(l.FirstValue, l.LastValue);
    };
    fit();
    // Taller rows for HTML text may leave room for fewer of them: those are measured again.
    if (GrowRowsForText())
        fit();
    l.SymbolWidth = symbol_->CalcWidth(l.TextWidth + 12);
    int width = l.TextWidth + kTextRightGap;
    if (symbol_->Visible())
        width += 2 * kItemInset + l.SymbolWidth + (symbol_->Shadow().Visible() ? symbol_->Shadow().HorizSize() : 0);
    else
        width += kItemInset;
    if (l.CheckBoxes)
        width += kCheckBoxSpace;
    if (RectHook) {
        TRect wider{0, 0, width, 0};
        RectHook(lruVerticalWidth, wider);
        width = std::max(width, wider.Right - wider.Left);
    }
    width = std::max(width, titleWidth);
    if (!CustomPosition()) {
        if (alignment_ == laLeft) {
            box.Left = r.Left + fw + 1;
        } else {
            const int shadow = HasShadow() && Shadow().Visible() ? Shadow().HorizSize() : 0;
            box.Left = r.Right - shadow - (fw + 1) - width;
        }
    }
    box.Right = box.Left + width;
    box.Bottom = box.Top + BoxHeight(titleHeight);
}

// Rows of as many columns as fit across the chart. The widest text sets the column width, so
// every item that could be listed is measured: no more than one-pixel columns across the chart
// in MaxNumRows rows (not every point of a long trace).
void TCustomChartLegend::LayoutHorizontal(TRect& box, int titleHeight, int titleWidth)
{
    TLegendLayout& l = layout_;
    TCustomChart& chart = *chart_;
    const int fw = l.FrameWidth;
    const int mostColumns = std::max(0, chart.ChartWidth - 2 * fw - 8);
    const qint64 listable = std::min<qint64>(l.TotalItems, qint64{mostColumns} * std::max(0, maxNumRows_));
    MeasureTexts(l.FirstValue, l.FirstValue + static_cast<int>(listable) - 1);
    GrowRowsForText();
    l.SymbolWidth = symbol_->CalcWidth(l.TextWidth);
    const int itemWidth = l.SymbolWidth + l.TextWidth + 8 + (l.CheckBoxes ? 27 : 0);
    l.Columns = chart.ChartRect.Right <= 8 || itemWidth <= 0
                    ? 0
                    : std::clamp((chart.ChartWidth - 2 * fw - 8) / itemWidth, 0, l.TotalItems);
    l.Rows = 0;
    if (l.Columns > 0)
        l.Rows = std::clamp(l.TotalItems / l.Columns + (l.TotalItems % l.Columns != 0 ? 1 : 0), 0, maxNumRows_);
    l.LastValue = l.FirstValue + std::min(l.TotalItems, l.Columns * l.Rows) - 1;
    int width = (l.Columns - 1) * 6 + 4 + itemWidth * l.Columns + 8 + 2 * l.Columns;
    if (l.CheckBoxes)
        width += kCheckBoxSpace * l.Columns + 4;
    width = std::min(std::max(width, titleWidth), chart.ChartWidth);
    const int height = BoxHeight(titleHeight);
    if (!CustomPosition()) {
        box.Left = chart.ChartXCenter - width / 2 + RoundEven(topPos_ * (chart.ChartBounds.Width() - width) * 0.01);
        if (alignment_ == laTop) {
            box.Top = chart.ChartRect.Top + fw + 1;
        } else {
            const int shadow = HasShadow() && Shadow().Visible() ? Shadow().VertSize() : 0;
            const int bottom = chart.ChartRect.Bottom - (fw + 1 + shadow);
            TRect moved{box.Left, bottom - height, box.Left + width, bottom};
            if (RectHook)
                RectHook(lruBottomLegend, moved);
            box.Top = std::clamp(moved.Bottom, bottom, std::max(bottom, chart.ChartRect.Bottom)) - height;
        }
    }
    box.Right = box.Left + width;
    box.Bottom = box.Top + height;
}

// HTML text with a subscript, a larger font or a line break is taller than the font: the rows
// are spaced by the tallest measured text, as the title's box is.
bool TCustomChartLegend::GrowRowsForText()
{
    TLegendLayout& l = layout_;
    const int extra = l.TallestText - l.TextHeight;
    if (extra <= 0)
        return false;
    l.ItemHeight += extra;
    l.TextHeight += extra;
    return true;
}

int TCustomChartLegend::BoxHeight(int titleHeight) const
{
    const TLegendLayout& l = layout_;
    int height = l.ItemHeight * l.Rows + 2 + 2 * RoundEven(l.ItemHeight * 0.1);
    if (l.TitleShown)
        height += titleHeight + 4 + title_->FrameWidth();
    if (symbol_->Shadow().Visible())
        height += std::max(0, symbol_->Shadow().VertSize() - l.ItemHeight / 6);
    return height;
}

// ---- drawing

void TCustomChartLegend::Draw()
{
    if (!chart_)
        return;
    TCustomChart& chart = *chart_;
    TPlotCanvas3D& canvas = chart.Canvas();
    TLegendLayout& l = layout_;
    l = TLegendLayout{};
    l.Style = CalcLegendStyle();
    l.CheckBoxes = checkBoxes_ && l.Style != lsValues;
    l.FrameWidth = Pen().Visible() ? Pen().Width() : 0;
    if (Bevel() != bvNone)
        l.FrameWidth = BevelWidth();

    const bool custom = CustomPosition();
    TRect box = ShapeBounds;
    const bool percent = custom && positionUnits_ == muPercent;
    if (percent) {
        const int width = box.Right - box.Left;
        const int height = box.Bottom - box.Top;
        box.Left = RoundEven(leftPercent_ * chart.width() * 0.01);
        box.Top = RoundEven(topPercent_ * chart.height() * 0.01);
        box.Right = box.Left + width;
        box.Bottom = box.Top + height;
    }
    // A place in percent is relative to the chart panel, which need not start at the canvas'
    // origin (a chart printed into a part of a page).
    const TPoint origin = percent ? TPoint{chart.ChartBounds.Left, chart.ChartBounds.Top} : TPoint{0, 0};
    box = TRect{box.Left + origin.X, box.Top + origin.Y, box.Right + origin.X, box.Bottom + origin.Y};

    l.TotalItems = CountItems(l.Style, l.FirstValue);
    l.LastValue = l.FirstValue - 1;
    l.ItemHeight = ItemHeight();
    canvas.AssignFont(&Font());
    l.TextHeight = l.CheckBoxes ? std::max(canvas.FontHeight(), 17) : canvas.FontHeight();
    l.TitleShown = title_->Shown();
    const int titleHeight = l.TitleShown ? title_->TitleHeight(canvas) : 0;
    const int titleWidth = l.TitleShown ? title_->TitleWidth(canvas) : 0;
    canvas.AssignFont(&Font());
    if (IsVertical())
        LayoutVertical(box, titleHeight, titleWidth);
    else
        LayoutHorizontal(box, titleHeight, titleWidth);
    if (chart.OnGetLegendRect)
        chart.OnGetLegendRect(&chart, box);
    ShapeBounds = box;
    l.ItemsTop = box.Top + (l.TitleShown ? titleHeight + 2 + title_->FrameWidth() : 0);

    DrawOnCanvas(canvas, box, 0, 0.0);
    if (l.TitleShown)
        title_->DrawTitle(canvas, TRect{box.Left + 2, box.Top + 2, box.Right - 2, box.Top + 2 + titleHeight});
    {
        chart.LegendBackColor = Color();
        LegendPenScope pen(chart, symbol_->DefaultPen() ? nullptr : &symbol_->Pen());
        const int shown = l.LastValue - l.FirstValue + 1;
        for (int position = 0; position < shown; ++position)
            DrawItem(position, inverted_ ? l.LastValue - position : l.FirstValue + position);
    }
    texts_.clear();

    ShapeBounds = TRect{box.Left - origin.X, box.Top - origin.Y, box.Right - origin.X, box.Bottom - origin.Y};
    if (!chart.CustomChartRect && resizeChart_ && !custom)
        ResizeChartRect();
}

void TCustomChartLegend::DrawItem(int position, int index)
{
    const TLegendLayout& l = layout_;
    TCustomChart& chart = *chart_;
    TPlotCanvas3D& canvas = chart.Canvas();
    const bool vertical = IsVertical();
    const int row = vertical ? position : position / l.Columns;
    const int column = vertical ? 0 : position % l.Columns;
    const int lastRow = vertical ? l.LastValue - l.FirstValue : (l.LastValue - l.FirstValue) / l.Columns;

    int x = ShapeBounds.Left + column * (l.TextWidth + l.SymbolWidth + (l.CheckBoxes ? 23 : 8));
    int y = l.ItemsTop + 1 + row * l.ItemHeight + vertSpacing_ / 2;
    const int inner = (l.CheckBoxes ? kCheckBoxSpace : 0);
    const bool symbolFirst = symbol_->Position() == spLeft && symbol_->Visible();
    int symbolX = symbolFirst ? x + inner + kItemInset : x + inner + kItemInset + l.TextWidth + kItemInset;
    if (chart.OnGetLegendPos)
        chart.OnGetLegendPos(&chart, index, x, y, symbolX);
    int textX = x + inner + kItemInset;
    if (symbolFirst) {
        const int shadow = symbol_->Shadow().Visible() ? std::max(0, symbol_->Shadow().HorizSize()) : 0;
        textX = symbolX + l.SymbolWidth + kItemInset + shadow;
    }

    TLegendItem& item = items_->Item(index - l.FirstValue);
    const std::array<QString, 2> texts = Texts(index);
    canvas.AssignFont(&Font());
    if (fontSeriesColor_) {
        if (l.Style == lsValues) {
            if (TChartSeries* series = LegendSeries())
                canvas.Font().SetColor(series->LegendItemColor(series->LegendToValueIndex(index)));
        } else if (auto* series = dynamic_cast<TChartSeries*>(ItemSeries(index))) {
            canvas.Font().SetColor(series->SeriesColor());
        }
    }
    DrawItemTexts(texts, textX, y, item);

    if (l.CheckBoxes) {
        bool active = false;
        if (l.Style == lsSeriesGroups) {
            TSeriesGroups& groups = chart.SeriesGroups();
            active = index < groups.Count() && groups[index]->Active() == gaYes;
        } else if (TCustomChartSeries* series = ItemSeries(index)) {
            active = series->Active();
        }
        DrawCheckBox(x + 4, y + (l.TextHeight - kCheckBoxSize) / 2, *canvas.ReferenceCanvas(),
                     checkBoxesStyle_ == cbsCheck, active);
    }

    const bool continuous = symbol_->Continuous();
    const int top = continuous && row > 0 ? y : y + 2;
    const int bottom = continuous && row < lastRow ? y + l.ItemHeight + 1 : y + l.ItemHeight + 1 - (vertSpacing_ + 3);
    item.SymbolRect = TRect{symbolX, top, symbolX + l.SymbolWidth, bottom};
    DrawSymbol(index, item.SymbolRect);

    if (position > 0 && dividingLines_->Visible() && (vertical || row == 0)) {
        const int half = l.FrameWidth / 2;
        canvas.AssignVisiblePen(*dividingLines_);
        if (vertical) {
            const int lineY = y - vertSpacing_ / 2;
            canvas.MoveTo(ShapeBounds.Left + half, lineY);
            canvas.LineTo(ShapeBounds.Right - half, lineY);
        } else {
            // The widest text of the column before ends 4 pixels into this column: the line goes
            // just past it, or onto its last pixel when this column's check box follows at once.
            const int lineX = x + (l.CheckBoxes ? 3 : 4);
            canvas.MoveTo(lineX, ShapeBounds.Top + half);
            canvas.LineTo(lineX, ShapeBounds.Bottom - half);
        }
    }
}

void TCustomChartLegend::DrawItemTexts(const std::array<QString, 2>& texts, int textX, int y, TLegendItem& item)
{
    TPlotCanvas3D& canvas = chart_->Canvas();
    const bool html = TextFormat() == ttfHtml;
    canvas.SetBackMode(cbmTransparent);
    canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    int columnX = textX;
    for (int c = 0; c < 2; ++c) {
        const int width = texts[c].isEmpty() ? 0 : canvas.TextExtentFormat(texts[c], html).cx;
        const bool right = !ListsNames(layout_.Style) && RightAligned(textStyle_, c);
        const int left = right ? columnX + layout_.ColumnWidths[c] - width : columnX;
        if (!texts[c].isEmpty())
            canvas.TextOutFormat(left, y, texts[c], html);
        if (c == 0) {
            item.TextLeft = left;
            item.TextTop = y;
            item.TextWidth = width;
        }
        columnX += layout_.ColumnWidths[c] + kColumnGap;
    }
}

void TCustomChartLegend::DrawSymbol(int index, const TRect& rect)
{
    TPlotCanvas3D& canvas = chart_->Canvas();
    TCustomChartSeries* series = ItemSeries(index);
    auto* chartSeries = dynamic_cast<TChartSeries*>(series);
    const int valueIndex = layout_.Style == lsValues && chartSeries ? chartSeries->LegendToValueIndex(index) : -1;
    if (symbol_->Visible() && symbol_->Shadow().Visible() && layout_.SymbolWidth > 0)
        symbol_->Shadow().DrawRect(canvas, rect);
    if (symbol_->OnDraw) {
        symbol_->OnDraw(symbol_.get(), chartSeries, valueIndex, rect);
        return;
    }
    if (layout_.SymbolWidth <= 0)
        return;
    if (chartSeries) {
        chartSeries->DrawLegend(valueIndex, rect);
        return;
    }
    canvas.AssignVisiblePen(symbol_->Pen());
    symbol_->Paint(canvas, rect, clWhite);
}

// The chart rectangle's side towards the legend goes to the legend's edge and a gap further.
void TCustomChartLegend::ResizeChartRect()
{
    TCustomChart& chart = *chart_;
    TRect& r = chart.ChartRect;
    const TRect& box = ShapeBounds;
    const int sideGap = horizMargin_ != 0 ? horizMargin_ : chart.ChartWidth * 3 / 100;
    const int topGap = vertMargin_ != 0 ? vertMargin_ : chart.ChartHeight * 4 / 100;
    switch (alignment_) {
    case laLeft: r.Left = box.Right + sideGap; break;
    case laRight: r.Right = box.Left - sideGap; break;
    case laTop: {
        TPlotShadow& shadow = chart.Shadow();
        r.Top = box.Bottom + (shadow.Visible() ? shadow.VertSize() : 0) + topGap;
        break;
    }
    case laBottom: r.Bottom = box.Top - topGap; break;
    }
    chart.RecalcChartBounds();
}

// ---- outside a legend

void DrawSeriesLegendSymbol(TChartSeries& series, TCanvas& canvas, const TRect& rect, TCustomChart* chart)
{
    ChartParent* parent = series.ParentChart();
    TCustomAxisPanel* panel = parent ? parent->AxisPanel() : nullptr;
    if (parent && !panel)
        return;
    std::unique_ptr<TChart> temporary;
    if (!panel) {
        if (!chart) {
            temporary = std::make_unique<TChart>();
            temporary->SetView3D(false);
            chart = temporary.get();
        }
        panel = chart;
    }
    auto* legendChart = dynamic_cast<TCustomChart*>(panel);
    const TColor back = legendChart ? legendChart->Legend().Color() : clWhite;

    // Everything the drawing borrows goes back however it ends.
    struct Borrowed {
        TChartSeries& series;
        TCustomAxisPanel& panel;
        bool attached;
        TCanvas* canvas;
        TColor backColor;
        ~Borrowed()
        {
            panel.Canvas().SetCanvas(canvas);
            panel.LegendBackColor = backColor;
            if (attached)
                series.SetParentChart(nullptr);
        }
    } borrowed{series, *panel, !parent, panel->Canvas().ReferenceCanvas(), panel->LegendBackColor};
    if (!parent)
        series.SetParentChart(panel);
    panel->Canvas().SetCanvas(&canvas);
    panel->LegendBackColor = back;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(back);
    series.DrawLegend(-1, rect);
}
