#include "chart/tools/AxisTools.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotCursors.h"
#include "chart/series/Chart.h"

#include <algorithm>

namespace {

TCustomChart* ChartOf(const TPlotCustomTool& tool)
{
    ChartParent* parent = tool.ParentChart();
    return parent ? dynamic_cast<TCustomChart*>(parent->AxisPanel()) : nullptr;
}

} // namespace

// ---- arrows

TAxisArrowTool::TAxisArrowTool() = default;

QString TAxisArrowTool::Description() const { return QStringLiteral("Axis Arrows"); }

QString TAxisArrowTool::LongDescription() const
{
    return QStringLiteral("Displays clickable arrows at axis start and ending points, to scroll axis.");
}

TChartAxis* TAxisArrowTool::ChartAxis() const { return dynamic_cast<TChartAxis*>(Axis()); }

bool TAxisArrowTool::Shows(bool atStart) const
{
    return position_ == aaBoth || position_ == (atStart ? aaStart : aaEnd);
}

TRect TAxisArrowTool::ArrowRect(bool atStart) const
{
    const TChartAxis* axis = ChartAxis();
    if (!axis)
        return {};
    const int tip = atStart ? axis->StartPixel() : axis->EndPixel();
    const int tail = atStart ? tip + length_ : tip - length_;
    const int half = headWidth_ / 2;
    const int line = axis->AxisPixel();
    if (axis->Horizontal())
        return TRect{std::min(tip, tail), line - half, std::max(tip, tail), line + half};
    return TRect{line - half, std::min(tip, tail), line + half, std::max(tip, tail)};
}

int TAxisArrowTool::ArrowAt(int x, int y) const
{
    TCustomChart* chart = ChartOf(*this);
    const TChartAxis* axis = ChartAxis();
    if (!chart || !axis || !chart->IsAxisVisible(*axis))
        return 0;
    for (const bool atStart : {true, false}) {
        const TRect r = ArrowRect(atStart);
        if (Shows(atStart) && x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom)
            return atStart ? 1 : 2;
    }
    return 0;
}

void TAxisArrowTool::ChartEvent(TChartToolEvent kind)
{
    TCustomChart* chart = ChartOf(*this);
    const TChartAxis* axis = ChartAxis();
    if (kind != cteAfterDraw || !chart || !axis || !chart->IsAxisVisible(*axis))
        return;
    TPlotCanvas3D& canvas = chart->Canvas();
    canvas.AssignVisiblePen(Pen());
    canvas.AssignChartBrush(Brush());
    const int line = axis->AxisPixel();
    const int head = length_ * sizePercent_ / 100;
    for (const bool atStart : {true, false}) {
        if (!Shows(atStart))
            continue;
        const int tip = atStart ? axis->StartPixel() : axis->EndPixel();
        const int tail = atStart ? tip + length_ : tip - length_;
        const TPoint from = axis->Horizontal() ? TPoint{tail, line} : TPoint{line, tail};
        const TPoint to = axis->Horizontal() ? TPoint{tip, line} : TPoint{line, tip};
        canvas.Arrow(true, from, to, 0, head, headWidth_, 50);
    }
}

// The start arrow moves the range up by the step, the end arrow down; ScrollInverted swaps them.
void TAxisArrowTool::ScrollAxis(bool atStart)
{
    TCustomChart* chart = ChartOf(*this);
    TChartAxis* axis = ChartAxis();
    if (!chart || !axis || scrollPercent_ == 0)
        return;
    // Taken of each limit: limits near the largest double of both signs have no difference.
    double delta = ShareOfRange(axis->Minimum(), axis->Maximum(), scrollPercent_ / 100.0);
    if (scrollInverted_)
        delta = -delta;
    if (!atStart)
        delta = -delta;
    double minimum = axis->Minimum();
    double maximum = axis->Maximum();
    MoveRangeWithinDoubles(minimum, maximum, delta);
    bool allow = true;
    if (chart->OnAllowScroll)
        chart->OnAllowScroll(axis, minimum, maximum, allow);
    if (!allow)
        return;
    axis->Scroll(delta, false);
    if (chart->OnScroll)
        chart->OnScroll();
}

void TAxisArrowTool::ChartMouseEvent(TChartMouseEvent kind, int, int, int x, int y)
{
    TCustomChart* chart = ChartOf(*this);
    if (!chart || kind == cmeUp)
        return;
    const int arrow = ArrowAt(x, y);
    if (arrow == 0)
        return;
    chart->CancelMouse = true;
    if (kind == cmeMove) {
        chart->SetChartCursor(crHandPoint);
        return;
    }
    ScrollAxis(arrow == 1);
    if (OnClick)
        OnClick(this, arrow == 1);
}

// ---- scroll by dragging

QString TAxisScrollTool::Description() const { return QStringLiteral("Axis Scroll"); }

QString TAxisScrollTool::LongDescription() const
{
    return QStringLiteral("Allows the scrolling of Axes by mouse dragging");
}

TChartAxis* TAxisScrollTool::AxisAt(int x, int y) const
{
    TCustomChart* chart = ChartOf(*this);
    if (!chart)
        return nullptr;
    if (auto* own = dynamic_cast<TChartAxis*>(Axis()))
        return own->Clicked(x, y) ? own : nullptr;
    for (int i = 0; i < chart->Axes().Count(); ++i)
        if (auto* axis = dynamic_cast<TChartAxis*>(chart->Axes()[i]); axis && axis->Clicked(x, y))
            return axis;
    return nullptr;
}

bool TAxisScrollTool::StillOnChart(const TChartAxis* axis) const
{
    const TCustomChart* chart = ChartOf(*this);
    return chart && chart->Axes().IndexOf(axis) >= 0;
}

void TAxisScrollTool::ChartMouseEvent(TChartMouseEvent kind, int, int, int x, int y)
{
    TCustomChart* chart = ChartOf(*this);
    if (!chart)
        return;
    switch (kind) {
    case cmeDown:
        dragged_ = AxisAt(x, y);
        if (dragged_) {
            lastX_ = x;
            lastY_ = y;
            chart->CancelMouse = true;
        }
        break;
    case cmeMove:
        if (dragged_ && StillOnChart(dragged_)) {
            const bool horizontal = dragged_->Horizontal();
            double delta = dragged_->PixelToValue(horizontal ? lastX_ : lastY_) -
                           dragged_->PixelToValue(horizontal ? x : y);
            if (scrollInverted_)
                delta = -delta;
            lastX_ = x;
            lastY_ = y;
            if (delta != 0) {
                dragged_->Scroll(delta, false);
                if (chart->OnScroll)
                    chart->OnScroll();
            }
            chart->CancelMouse = true;
        } else if (AxisAt(x, y)) {
            chart->SetChartCursor(crHandPoint);
            chart->CancelMouse = true;
        }
        break;
    case cmeUp: dragged_ = nullptr; break;
    }
}
