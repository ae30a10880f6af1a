#include "chart/tools/DrawLineTool.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 == 0 ? 0.0 : std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

} // namespace

TDrawLine::TDrawLine(TDrawLineStyle style) : style_(style) {}

TDrawLineTool::~TDrawLineTool()
{
    MarkDestroying();
}

QString TDrawLineTool::Description() const { return QStringLiteral("Draw Line"); }

QString TDrawLineTool::LongDescription() const
{
    return QStringLiteral("Allows drawing custom lines by dragging the mouse.");
}

TCustomAxisPanel* TDrawLineTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

TDrawLine& TDrawLineTool::AddLine(double x0, double y0, double x1, double y1, TDrawLineStyle style)
{
    auto line = std::make_unique<TDrawLine>(style);
    line->X0 = x0;
    line->Y0 = y0;
    line->X1 = x1;
    line->Y1 = y1;
    lines_.push_back(std::move(line));
    Repaint();
    return *lines_.back();
}

void TDrawLineTool::DeleteLine(int index)
{
    if (index < 0 || index >= LineCount())
        return;
    if (selected_ == lines_[static_cast<size_t>(index)].get())
        selected_ = nullptr;
    lines_.erase(lines_.begin() + index);
    Repaint();
}

void TDrawLineTool::SetSelected(TDrawLine* line)
{
    if (selected_ == line)
        return;
    selected_ = line;
    Repaint();
}

void TDrawLineTool::PointValues(int x, int y, double& vx, double& vy) const
{
    const SeriesAxis* h = GetHorizAxis();
    const SeriesAxis* v = GetVertAxis();
    vx = h ? h->PixelToValue(x) : 0.0;
    vy = v ? v->PixelToValue(y) : 0.0;
}

void TDrawLineTool::LinePixels(const TDrawLine& line, TPoint& p0, TPoint& p1) const
{
    const SeriesAxis* h = GetHorizAxis();
    const SeriesAxis* v = GetVertAxis();
    if (!h || !v) {
        p0 = p1 = TPoint{};
        return;
    }
    p0 = TPoint{h->ValueToPixel(line.X0), v->ValueToPixel(line.Y0)};
    p1 = TPoint{h->ValueToPixel(line.X1), v->ValueToPixel(line.Y1)};
}

// A point counts when the pixel lies within ClickTolerance pixels of the figure: at tolerance 0
// only the figure's own pixels.
bool TDrawLineTool::Clicked(const TDrawLine& line, int x, int y) const
{
    TPoint p0, p1;
    LinePixels(line, p0, p1);
    const int t = clickTolerance_;
    const bool inX = x >= std::min(p0.X, p1.X) - t && x <= std::max(p0.X, p1.X) + t;
    const bool inY = y >= std::min(p0.Y, p1.Y) - t && y <= std::max(p0.Y, p1.Y) + t;
    switch (line.Style()) {
    case dlLine: return SegmentDistance(x, y, p0.X, p0.Y, p1.X, p1.Y) < t + 1;
    case dlHorizParallel: return inX && (std::abs(y - p0.Y) <= t || std::abs(y - p1.Y) <= t);
    case dlVertParallel: return inY && (std::abs(x - p0.X) <= t || std::abs(x - p1.X) <= t);
    case dlRectangle:
    case dlEllipse: return inX && inY;
    }
    return false;
}

int TDrawLineTool::HandleAt(const TDrawLine& line, int x, int y) const
{
    TPoint p0, p1;
    LinePixels(line, p0, p1);
    if (std::abs(x - p0.X) <= 3 && std::abs(y - p0.Y) <= 3)
        return 0;
    if (std::abs(x - p1.X) <= 3 && std::abs(y - p1.Y) <= 3)
        return 1;
    return -1;
}

// ---- drawing

void TDrawLineTool::DrawFigure(TDrawLine& line, const TPoint& p0, const TPoint& p1)
{
    TPlotCanvas3D& canvas = Panel()->Canvas();
    canvas.AssignVisiblePen(line.Pen());
    canvas.Brush().SetStyle(bsClear);
    switch (line.Style()) {
    case dlLine: canvas.Line(p0.X, p0.Y, p1.X, p1.Y); break;
    case dlHorizParallel:
        canvas.Line(p0.X, p0.Y, p1.X, p0.Y);
        canvas.Line(p0.X, p1.Y, p1.X, p1.Y);
        break;
    case dlVertParallel:
        canvas.Line(p0.X, p0.Y, p0.X, p1.Y);
        canvas.Line(p1.X, p0.Y, p1.X, p1.Y);
        break;
    case dlRectangle: canvas.Rectangle(p0.X, p0.Y, p1.X, p1.Y); break;
    case dlEllipse: canvas.Ellipse(p0.X, p0.Y, p1.X, p1.Y); break;
    }
}

void TDrawLineTool::ChartEvent(TChartToolEvent kind)
{
    TCustomAxisPanel* panel = Panel();
    if (kind != cteAfterDraw || !panel || !GetHorizAxis() || !GetVertAxis())
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    const bool clip = panel->CanClip();
    if (clip)
        canvas.ClipRectangle(panel->ChartRect);
    TPoint p0, p1;
    for (const auto& line : lines_) {
        LinePixels(*line, p0, p1);
        DrawFigure(*line, p0, p1);
    }
    if (drawing_) {
        LinePixels(*drawing_, p0, p1);
        DrawFigure(*drawing_, p0, p1);
    }
    if (clip)
        canvas.UnClipRectangle();
    if (selected_) {
        LinePixels(*selected_, p0, p1);
        canvas.Pen().SetStyle(psClear);
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(ColorToRGB(panel->GetBackColor()) == 0 ? clSilver : clBlack);
        for (const TPoint& p : {p0, p1})
            canvas.Rectangle(p.X - 3, p.Y - 3, p.X + 4, p.Y + 4);
    }
}

// ---- mouse

void TDrawLineTool::ChartMouseEvent(TChartMouseEvent kind, int button, int, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || !GetHorizAxis() || !GetVertAxis())
        return;
    switch (kind) {
    case cmeDown: {
        if (button != button_)
            break;
        pressAt_ = TPoint{x, y};
        moved_ = false;
        if (enableSelect_) {
            if (selected_) {
                const int handle = HandleAt(*selected_, x, y);
                if (handle >= 0) {
                    drag_ = handle == 0 ? Drag::FirstEnd : Drag::SecondEnd;
                    LinePixels(*selected_, pressP0_, pressP1_);
                    panel->CancelMouse = true;
                    break;
                }
            }
            for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) {
                TDrawLine* line = it->get();
                if (!Clicked(*line, x, y))
                    continue;
                if (line != selected_) {
                    bool allow = true;
                    if (OnSelecting)
                        OnSelecting(this, line, allow);
                    if (allow) {
                        SetSelected(line);
                        if (OnSelect)
                            OnSelect(this);
                    }
                }
                if (line == selected_) {
                    drag_ = Drag::Whole;
                    LinePixels(*line, pressP0_, pressP1_);
                }
                panel->CancelMouse = true;
                return;
            }
        }
        if (enableDraw_) {
            drawing_ = std::make_unique<TDrawLine>(style_);
            PointValues(x, y, drawing_->X0, drawing_->Y0);
            drawing_->X1 = drawing_->X0;
            drawing_->Y1 = drawing_->Y0;
            drag_ = Drag::NewLine;
            SetSelected(nullptr);
            panel->CancelMouse = true;
        }
        break;
    }
    case cmeMove: {
        if (drag_ == Drag::None)
            break;
        const int dx = x - pressAt_.X, dy = y - pressAt_.Y;
        moved_ = true;
        if (drag_ == Drag::NewLine) {
            PointValues(x, y, drawing_->X1, drawing_->Y1);
        } else if (selected_) {
            if (drag_ != Drag::SecondEnd)
                PointValues(pressP0_.X + dx, pressP0_.Y + dy, selected_->X0, selected_->Y0);
            if (drag_ != Drag::FirstEnd)
                PointValues(pressP1_.X + dx, pressP1_.Y + dy, selected_->X1, selected_->Y1);
            if (OnDragLine)
                OnDragLine(this);
        }
        Repaint();
        panel->CancelMouse = true;
        break;
    }
    case cmeUp: {
        const Drag drag = drag_;
        drag_ = Drag::None;
        if (drag == Drag::NewLine) {
            std::unique_ptr<TDrawLine> line = std::move(drawing_);
            PointValues(x, y, line->X1, line->Y1);
            if (line->X0 != line->X1 || line->Y0 != line->Y1) {
                lines_.push_back(std::move(line));
                if (selectNewLines_)
                    selected_ = lines_.back().get();
                if (OnNewLine)
                    OnNewLine(this);
            }
            Repaint();
        } else if (drag != Drag::None && moved_ && OnDraggedLine) {
            OnDraggedLine(this);
        }
        break;
    }
    }
}
