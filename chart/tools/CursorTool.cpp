#include "chart/tools/CursorTool.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotCursors.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"

#include <algorithm>
#include <cstdlib>

TCursorTool::TCursorTool() = default;

QString TCursorTool::Description() const { return QStringLiteral("Cursor"); }

QString TCursorTool::LongDescription() const
{
    return QStringLiteral("Displays draggable Cursor lines on top of Series.");
}

TCustomAxisPanel* TCursorTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

TChartAxis* TCursorTool::HorizontalAxis() const { return dynamic_cast<TChartAxis*>(GetHorizAxis()); }

TChartAxis* TCursorTool::VerticalAxis() const { return dynamic_cast<TChartAxis*>(GetVertAxis()); }

void TCursorTool::SetParentChart(ChartParent* chart)
{
    TPlotCustomToolSeries::SetParentChart(chart);
    Repaint();
}

void TCursorTool::SetSeries(TChartSeries* series)
{
    if (series == Series())
        return;
    TPlotCustomToolSeries::SetSeries(series);
    lastSnap_ = -1;
    ascending_.Reset();
    if (!Loading())
        ResnapAndRepaint();
}

void TCursorTool::Notification(ChartComponent* removed)
{
    if (removed == Series()) {
        lastSnap_ = -1;
        ascending_.Reset();
    }
    TPlotCustomToolSeries::Notification(removed);
}

void TCursorTool::SetStyle(TCursorToolStyle value)
{
    if (style_ == value)
        return;
    style_ = value;
    ResnapAndRepaint();
}

void TCursorTool::ResnapAndRepaint()
{
    if (snap_ && x_ != -1) {
        SnapToPoint();
        PixelsFromValues();
    }
    Repaint();
}

void TCursorTool::SetXValue(double value)
{
    if (xValue_ == value)
        return;
    xValue_ = value;
    if (x_ != -1)
        PixelsFromValues();
    Repaint();
}

void TCursorTool::SetYValue(double value)
{
    if (yValue_ == value)
        return;
    yValue_ = value;
    if (x_ != -1)
        PixelsFromValues();
    Repaint();
}

// ---- geometry

TRect TCursorTool::GetAxisRect()
{
    TRect r;
    TCustomAxisPanel* panel = Panel();
    if (fullChart_ && panel) {
        r = panel->ChartRect;
    } else if (TChartAxis* h = HorizontalAxis(); h && VerticalAxis()) {
        TChartAxis* v = VerticalAxis();
        r = TRect{h->StartPixel(), v->StartPixel(), h->EndPixel(), v->EndPixel()};
    } else if (panel) {
        r = panel->ChartRect;
    }
    if (OnGetAxisRect)
        OnGetAxisRect(this, r);
    return r;
}

int TCursorTool::SeriesDepth() const
{
    return Series() ? Series()->MiddleZ() : 0;
}

bool TCursorTool::ProjectsAtDepth() const
{
    const TCustomAxisPanel* panel = Panel();
    return useSeriesZ_ && Series() && panel && panel->View3D();
}

void TCursorTool::ValuesFromPixels(int x, int y, TCursorClicked part)
{
    TChartAxis* h = HorizontalAxis();
    TChartAxis* v = VerticalAxis();
    if (!h || !v)
        return;
    if (ProjectsAtDepth())
        Panel()->Canvas().UnprojectPoint(x, y, SeriesDepth());
    if (part != ccHorizontal)
        xValue_ = h->PixelToValue(x);
    if (part != ccVertical)
        yValue_ = v->PixelToValue(y);
}

void TCursorTool::PixelsFromValues()
{
    if (TChartAxis* h = HorizontalAxis())
        x_ = h->ValueToPixel(xValue_);
    if (TChartAxis* v = VerticalAxis())
        y_ = v->ValueToPixel(yValue_);
}

// ---- snap

int TCursorTool::SnapToPoint()
{
    TChartSeries* series = Series();
    if (!series || series->Count() == 0)
        return -1;
    const int count = series->Count();
    const int first = std::max(series->FirstValueIndex, 0);
    const int last = (series->LastValueIndex < 0 || series->LastValueIndex >= count) ? count - 1
                                                                                      : series->LastValueIndex;
    SnapMeasure measure = SnapMeasure::XAndY;
    if (snapStyle_ == ssHorizontal || (snapStyle_ == ssDefault && style_ == cssHorizontal))
        measure = SnapMeasure::YOnly;
    else if (snapStyle_ == ssVertical || (snapStyle_ == ssDefault && style_ == cssVertical))
        measure = SnapMeasure::XOnly;
    const TChartValueList& xs = series->XValues();
    const bool ascending = measure != SnapMeasure::YOnly && ascending_.IsAscending(xs);
    const int index = SnapPointIndex(xs.Values(), series->YValues().Values(), first, last, xValue_, yValue_,
                                     measure, ascending);
    if (index < 0)
        return -1;
    // Dragging one line moves that line alone, wherever the point lies.
    if (style_ != cssVertical && dragging_ != ccVertical)
        yValue_ = series->YValues().Value(index);
    if (style_ != cssHorizontal && dragging_ != ccHorizontal)
        xValue_ = series->XValues().Value(index);
    return index;
}

// ---- drawing

void TCursorTool::PlaceFirstTime()
{
    TChartAxis* h = HorizontalAxis();
    TChartAxis* v = VerticalAxis();
    if (!h || !v)
        return;
    const int x = (h->StartPixel() + h->EndPixel()) / 2;
    const int y = (v->StartPixel() + v->EndPixel()) / 2;
    ValuesFromPixels(x, y, ccNone);
    const int index = snap_ ? SnapToPoint() : -1;
    PixelsFromValues();
    lastSnap_ = index;
    if (OnChange)
        OnChange(this, x_, y_, xValue_, yValue_, Series(), index);
}

void TCursorTool::ChartEvent(TChartToolEvent kind)
{
    if (kind != cteAfterDraw || !Panel())
        return;
    if (x_ == -1 && y_ == -1)
        PlaceFirstTime();
    else
        PixelsFromValues();
    DrawCursor(InvertingPen::ChartCanvas);
}

// The scope figure is centred on the cursor with half-size ScopeSize; with a scope the lines stop
// at the figure. The camera figure is four corner brackets half the scope size long.
void TCursorTool::DrawCursor(InvertingPen::Surface surface)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || x_ == -1)
        return;
    const TRect r = GetAxisRect();
    InvertingPen pen(*panel, Pen(), surface);
    const bool depth = ProjectsAtDepth();
    const int z = SeriesDepth();
    auto at = [&](int x, int y) { return depth ? panel->Canvas().ProjectToScreen(x, y, z) : TPoint{x, y}; };
    auto line = [&](int x0, int y0, int x1, int y1) {
        const TPoint a = at(x0, y0);
        const TPoint b = at(x1, y1);
        pen.Line(a.X, a.Y, b.X, b.Y);
    };
    const bool scope = style_ == cssScope || style_ == cssScopeOnly;
    const int s = scopeSize_;
    const int hx0 = horizSize_ != 0 ? x_ - horizSize_ : r.Left;
    const int hx1 = horizSize_ != 0 ? x_ + horizSize_ : r.Right;
    const int vy0 = vertSize_ != 0 ? y_ - vertSize_ : r.Top;
    const int vy1 = vertSize_ != 0 ? y_ + vertSize_ : r.Bottom;
    const bool horizontal = style_ == cssHorizontal || style_ == cssBoth || style_ == cssScope;
    const bool vertical = style_ == cssVertical || style_ == cssBoth || style_ == cssScope;
    if (horizontal) {
        if (scope && scopeStyle_ != scsEmpty) {
            line(hx0, y_, x_ - s, y_);
            line(x_ + s, y_, hx1, y_);
        } else {
            line(hx0, y_, hx1, y_);
        }
    }
    if (vertical) {
        if (scope && scopeStyle_ != scsEmpty) {
            line(x_, vy0, x_, y_ - s);
            line(x_, y_ + s, x_, vy1);
        } else {
            line(x_, vy0, x_, vy1);
        }
    }
    if (!scope)
        return;
    const TPoint c = at(x_, y_);
    const TRect box{c.X - s, c.Y - s, c.X + s, c.Y + s};
    switch (scopeStyle_) {
    case scsRectangle: pen.Rectangle(box); break;
    case scsCircle: pen.Ellipse(box); break;
    case scsDiamond: {
        const TPoint diamond[4] = {{c.X, c.Y - s}, {c.X + s, c.Y}, {c.X, c.Y + s}, {c.X - s, c.Y}};
        pen.Outline(diamond, 4);
        break;
    }
    case scsCamera: {
        const int b = s / 2;
        pen.Line(box.Left, box.Top + b, box.Left, box.Top);
        pen.Line(box.Left, box.Top, box.Left + b, box.Top);
        pen.Line(box.Right - b, box.Top, box.Right, box.Top);
        pen.Line(box.Right, box.Top, box.Right, box.Top + b);
        pen.Line(box.Right, box.Bottom - b, box.Right, box.Bottom);
        pen.Line(box.Right, box.Bottom, box.Right - b, box.Bottom);
        pen.Line(box.Left + b, box.Bottom, box.Left, box.Bottom);
        pen.Line(box.Left, box.Bottom, box.Left, box.Bottom - b);
        break;
    }
    case scsEmpty: break;
    }
}

// ---- mouse

TCursorClicked TCursorTool::Clicked(int x, int y)
{
    const TRect r = GetAxisRect();
    if (x < r.Left || x > r.Right || y < r.Top || y > r.Bottom)
        return ccNone;
    const int t = clickTolerance_;
    const bool nearY = std::abs(y - y_) <= t;
    const bool nearX = std::abs(x - x_) <= t;
    if ((style_ == cssBoth || style_ == cssScope || style_ == cssScopeOnly) && nearX && nearY)
        return ccBoth;
    if (style_ != cssVertical && nearY)
        return ccHorizontal;
    if (style_ == cssHorizontal)
        return ccNone;
    return nearX ? ccVertical : ccNone;
}

void TCursorTool::FollowTo(int x, int y)
{
    DrawCursor(InvertingPen::WindowSurface);
    ValuesFromPixels(x, y, dragging_);
    const int index = snap_ ? SnapToPoint() : -1;
    PixelsFromValues();
    DrawCursor(InvertingPen::WindowSurface);
    if (OnChange)
        OnChange(this, x_, y_, xValue_, yValue_, Series(), index);
    if (OnSnapChange && index != lastSnap_)
        OnSnapChange(this, x_, y_, xValue_, yValue_, Series(), index);
    lastSnap_ = index;
}

void TCursorTool::ChartMouseEvent(TChartMouseEvent kind, int, int, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    switch (kind) {
    case cmeDown:
        if (!followMouse_) {
            dragging_ = Clicked(x, y);
            if (dragging_ != ccNone)
                panel->CancelMouse = true;
        }
        break;
    case cmeMove: {
        const TRect r = GetAxisRect();
        const bool inside = x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
        if ((dragging_ != ccNone || followMouse_) && inside && x_ != -1) {
            FollowTo(x, y);
            if (dragging_ != ccNone)
                panel->CancelMouse = true;
            break;
        }
        switch (Clicked(x, y)) {
        case ccHorizontal: panel->SetChartCursor(crVSplit); break;
        case ccVertical: panel->SetChartCursor(crHSplit); break;
        case ccBoth: panel->SetChartCursor(crSizeAll); break;
        case ccNone: return;
        }
        panel->CancelMouse = true;
        break;
    }
    case cmeUp: dragging_ = ccNone; break;
    }
}
