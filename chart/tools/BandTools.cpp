#include "chart/tools/BandTools.h"

#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"

#include <algorithm>
#include <cmath>

// ---- shared

std::optional<TRect> AxisBandRect(const TCustomAxisPanel& panel, const TChartAxis& axis, double from, double to)
{
    const double low = std::max(std::min(from, to), std::min(axis.CurrentMinimum(), axis.CurrentMaximum()));
    const double high = std::min(std::max(from, to), std::max(axis.CurrentMinimum(), axis.CurrentMaximum()));
    if (!(low <= high))
        return std::nullopt;
    const int a = axis.ValueToPixel(low);
    const int b = axis.ValueToPixel(high);
    const TRect& r = panel.ChartRect;
    if (axis.Horizontal())
        return TRect{std::min(a, b), r.Top, std::max(a, b), r.Bottom};
    return TRect{r.Left, std::min(a, b), r.Right, std::max(a, b)};
}

void FillBand(TCustomAxisPanel& panel, const TRect& band, const BandFill& fill, bool behind)
{
    TPlotCanvas3D& canvas = panel.Canvas();
    const TRect rect = panel.View3D() ? canvas.CalcRect3D(band, behind ? panel.Width3D : 0) : band;
    std::unique_ptr<TPlotBlend> blend;
    if (fill.Transparency > 0)
        blend = canvas.BeginBlending(rect, fill.Transparency);
    const bool framed = fill.Frame && fill.Frame->Visible();
    if (fill.Picture && fill.Picture->HasGraphic()) {
        canvas.StretchDraw(rect, fill.Picture->FilteredGraphic());
    } else if (fill.Gradient && fill.Gradient->Visible()) {
        fill.Gradient->Draw(canvas, rect, 0);
    } else if (fill.Brush && fill.Brush->Style() != bsClear) {
        canvas.AssignBrushColor(*fill.Brush, fill.Color, fill.Brush->BackColor());
        canvas.Pen().SetStyle(psClear);
        // Without a pen a rectangle leaves out its last column and row.
        canvas.Rectangle(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
    }
    if (framed) {
        canvas.AssignVisiblePen(*fill.Frame);
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
    }
    if (blend)
        canvas.EndBlending(std::move(blend));
}

// ---- colour band

TColorBandTool::TColorBandTool()
    : gradient_(std::make_unique<TPlotGradient>([this] { Repaint(); })),
      picture_(std::make_unique<TPlotPicture>([this] { Repaint(); })),
      startLinePen_(std::make_unique<TChartPen>([this] { Repaint(); })),
      endLinePen_(std::make_unique<TChartPen>([this] { Repaint(); }))
{
}

TColorBandTool::~TColorBandTool()
{
    MarkDestroying();
}

QString TColorBandTool::Description() const { return QStringLiteral("Color Band"); }

QString TColorBandTool::LongDescription() const
{
    return QStringLiteral("Displays a coloured rectangle (band) at the specified axis and position.");
}

TCustomAxisPanel* TColorBandTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

TChartAxis* TColorBandTool::ChartAxis() const { return dynamic_cast<TChartAxis*>(Axis()); }

std::optional<TRect> TColorBandTool::BandRect() const
{
    const TCustomAxisPanel* panel = Panel();
    const TChartAxis* axis = ChartAxis();
    if (!panel || !axis)
        return std::nullopt;
    return AxisBandRect(*panel, *axis, startValue_, endValue_);
}

TChartToolEvent TColorBandTool::DrawingStage() const
{
    if (drawBehindAxes_)
        return cteBeforeDrawAxes;
    return drawBehind_ ? cteBeforeDrawSeries : cteAfterDraw;
}

void TColorBandTool::ChartEvent(TChartToolEvent kind)
{
    TCustomAxisPanel* panel = Panel();
    TChartAxis* axis = ChartAxis();
    if (!panel || !axis)
        return;
    if (kind == DrawingStage()) {
        if (const auto rect = BandRect()) {
            BandFill fill;
            fill.Brush = &Brush();
            fill.Color = color_;
            fill.Gradient = gradient_.get();
            fill.Picture = picture_.get();
            fill.Transparency = transparency_;
            fill.Frame = &Pen();
            FillBand(*panel, *rect, fill, kind != cteAfterDraw);
        }
        const bool behind = kind != cteAfterDraw;
        if (resizeStart_)
            if (const auto pixel = axisline::Pixel(*axis, startValue_))
                axisline::Draw(*panel, *axis, *pixel, *startLinePen_, behind);
        if (resizeEnd_)
            if (const auto pixel = axisline::Pixel(*axis, endValue_))
                axisline::Draw(*panel, *axis, *pixel, *endLinePen_, behind);
    }
    if (kind == cteAfterDraw) {
        startDrag_.RedrawWithChart(*panel, *axis, *startLinePen_);
        endDrag_.RedrawWithChart(*panel, *axis, *endLinePen_);
    }
}

bool TColorBandTool::NearEdge(bool start, int x, int y) const
{
    const TCustomAxisPanel* panel = Panel();
    const TChartAxis* axis = ChartAxis();
    if (!panel || !axis || !(start ? resizeStart_ : resizeEnd_))
        return false;
    const auto pixel = axisline::Pixel(*axis, start ? startValue_ : endValue_);
    return pixel && axisline::Near(*panel, *axis, *pixel, x, y);
}

void TColorBandTool::ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    TChartAxis* axis = ChartAxis();
    if (!panel || !axis)
        return;
    const auto inside = [&] {
        const auto rect = BandRect();
        return rect && x >= rect->Left && x <= rect->Right && y >= rect->Top && y <= rect->Bottom;
    };
    switch (kind) {
    case cmeDown:
        if (button == mbLeft && NearEdge(true, x, y)) {
            startDrag_.Begin();
            panel->CancelMouse = true;
        } else if (button == mbLeft && NearEdge(false, x, y)) {
            endDrag_.Begin();
            panel->CancelMouse = true;
        } else if (OnClick && inside()) {
            OnClick(this, button, shift, x, y);
        }
        break;
    case cmeMove:
        if (startDrag_.Active()) {
            startValue_ = startDrag_.Move(*panel, *axis, *startLinePen_, x, y, false, false);
            panel->CancelMouse = true;
        } else if (endDrag_.Active()) {
            endValue_ = endDrag_.Move(*panel, *axis, *endLinePen_, x, y, false, false);
            panel->CancelMouse = true;
        } else if (NearEdge(true, x, y) || NearEdge(false, x, y)) {
            panel->SetChartCursor(axis->Horizontal() ? crHSplit : crVSplit);
            panel->CancelMouse = true;
        } else if (cursor_ != crDefault && inside()) {
            panel->SetChartCursor(cursor_);
            panel->CancelMouse = true;
        }
        break;
    case cmeUp:
        if (startDrag_.Active() || endDrag_.Active()) {
            (startDrag_.Active() ? startDrag_ : endDrag_).End(*panel);
            if (OnResized)
                OnResized(this);
        }
        break;
    }
}

// ---- grid band

TGridBandBrush::TGridBandBrush(TNotifyEvent onChange)
    : TChartBrush(std::move(onChange)), gradient_(std::make_unique<TPlotGradient>([this] {
          if (OnChange)
              OnChange();
      }))
{
}

TGridBandBrush::~TGridBandBrush() = default;

void TGridBandBrush::SetTransparency(int value)
{
    if (transparency_ == value)
        return;
    transparency_ = value;
    if (OnChange)
        OnChange();
}

// Band1 lets the chart show through, Band2 is white: every other space between grid lines is
// lightened.
TGridBandTool::TGridBandTool() : band1_([this] { Repaint(); }), band2_([this] { Repaint(); })
{
    band1_.SetStyle(bsClear);
    band2_.SetColor(clWhite);
}

QString TGridBandTool::Description() const { return QStringLiteral("Grid Band"); }

QString TGridBandTool::LongDescription() const
{
    return QStringLiteral(
        "Grid Band tool, use it to display a coloured rectangles (bands) at the grid lines of the specified axis and "
        "position.");
}

// The bands go under the grid lines when the axes are drawn behind the series (before the axes,
// the first of the two stages) and under the series when the axes are drawn over them.
void TGridBandTool::ChartEvent(TChartToolEvent kind)
{
    if (kind == cteBeforeDraw) {
        drawn_ = false;
        return;
    }
    if (drawn_ || (kind != cteBeforeDrawAxes && kind != cteBeforeDrawSeries))
        return;
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    auto* axis = dynamic_cast<TChartAxis*>(Axis());
    if (!panel || !axis)
        return;
    drawn_ = true;
    DrawBands(*panel, *axis);
}

void TGridBandTool::DrawBands(TCustomAxisPanel& panel, TChartAxis& axis)
{
    const std::vector<int> grid = AxisGridPositions(panel, axis);
    const TRect& r = panel.ChartRect;
    for (size_t i = 0; i + 1 < grid.size(); ++i) {
        TGridBandBrush& brush = i % 2 == 0 ? band1_ : band2_;
        BandFill fill;
        fill.Brush = &brush;
        fill.Color = brush.Color();
        fill.Gradient = &brush.Gradient();
        fill.Transparency = brush.Transparency();
        const TRect band = axis.Horizontal() ? TRect{grid[i], r.Top, grid[i + 1], r.Bottom}
                                             : TRect{r.Left, grid[i], r.Right, grid[i + 1]};
        FillBand(panel, band, fill, true);
    }
}

std::vector<int> AxisGridPositions(TCustomAxisPanel& panel, TChartAxis& axis)
{
    TPlotCanvas3D& canvas = panel.Canvas();
    TCanvas* drawing = canvas.ReferenceCanvas();
    TBitmap scratch(1, 1);
    canvas.SetCanvas(&scratch.Canvas());
    try {
        axis.DrawAxisLabels();
    } catch (...) {
        canvas.SetCanvas(drawing);
        throw;
    }
    canvas.SetCanvas(drawing);

    const std::vector<int>& ticks = axis.TickPositions();
    std::vector<int> grid;
    const size_t every = static_cast<size_t>(std::max(1, axis.Grid().EffectiveDrawEvery()));
    if (axis.Grid().Centered()) {
        for (size_t i = 1; i < ticks.size(); i += every)
            grid.push_back(static_cast<int>(std::nearbyint((ticks[i] + ticks[i - 1]) * 0.5)));
    } else {
        for (size_t i = 0; i < ticks.size(); i += every)
            grid.push_back(ticks[i]);
    }
    const int low = std::min(axis.StartPixel(), axis.EndPixel());
    const int high = std::max(axis.StartPixel(), axis.EndPixel());
    grid.erase(std::remove_if(grid.begin(), grid.end(), [&](int p) { return p < low || p > high; }), grid.end());
    std::sort(grid.begin(), grid.end());
    grid.erase(std::unique(grid.begin(), grid.end()), grid.end());
    return grid;
}
