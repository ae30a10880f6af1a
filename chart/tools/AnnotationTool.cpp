#include "chart/tools/AnnotationTool.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

// Lines of a box text: line feeds are dropped, so CR LF and CR alone break lines alike; an empty
// text still takes one line.
QStringList BoxLines(QString text)
{
    text.remove(QChar(10));
    if (text.isEmpty())
        text = QStringLiteral(" ");
    return text.split(kChartLineSeparator);
}

// The height of each line as drawn: the font's, or an HTML line's own where its fonts, sub- or
// superscripts make it higher.
std::vector<int> LineHeights(TPlotCanvas& canvas, const QStringList& lines, bool html)
{
    const int fontHeight = canvas.FontHeight();
    std::vector<int> heights(static_cast<size_t>(lines.size()), fontHeight);
    if (html)
        for (qsizetype i = 0; i < lines.size(); ++i)
            heights[static_cast<size_t>(i)] = std::max(fontHeight, canvas.TextExtentFormat(lines[i], true).cy);
    return heights;
}

} // namespace

// ---- text shape

TTextShape::TTextShape(PlotShapeOwner* chart) : TPlotCustomShapePosition(nullptr), margins_([this] { Repaint(); })
{
    SetParentChart(chart);
}

void TTextShape::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* shape = dynamic_cast<const TTextShape*>(&source)) {
        autoSize_ = shape->autoSize_;
        clipText_ = shape->clipText_;
        cursor_ = shape->cursor_;
        margins_.Assign(shape->margins_);
        textAlignment_ = shape->textAlignment_;
        text_ = shape->text_;
    }
    TPlotCustomShapePosition::Assign(source);
}

// ---- callout

TAnnotationCallout::TAnnotationCallout(PlotShapeOwner* chart) : TCallout(nullptr, chart)
{
    Arrow().SetVisible(false);
    SetVisible(false);
}

void TAnnotationCallout::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (const auto* c = dynamic_cast<const TAnnotationCallout*>(&source); c && c != this) {
        xPosition_ = c->xPosition_;
        yPosition_ = c->yPosition_;
        zPosition_ = c->zPosition_;
    }
    TCallout::Assign(source);
}

// ---- annotation

TAnnotationTool::TAnnotationTool()
    : shape_(std::make_unique<TTextShape>()), callout_(std::make_unique<TAnnotationCallout>())
{
}

TAnnotationTool::~TAnnotationTool()
{
    MarkDestroying();
}

QString TAnnotationTool::Description() const { return QStringLiteral("Annotation"); }

QString TAnnotationTool::LongDescription() const
{
    return QStringLiteral("Displays custom text at any location inside Chart.");
}

TCustomAxisPanel* TAnnotationTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

void TAnnotationTool::SetParentChart(ChartParent* chart)
{
    TPlotCustomTool::SetParentChart(chart);
    if (Destroying())
        return;
    TCustomAxisPanel* panel = Panel();
    shape_->SetParentChart(panel);
    callout_->SetParentChart(panel);
    Repaint();
}

void TAnnotationTool::Assign(const TAnnotationTool& source)
{
    if (&source == this)
        return;
    callout_->Assign(*source.callout_);
    position_ = source.position_;
    positionUnits_ = source.positionUnits_;
    shape_->Assign(*source.shape_);
    TCustomChartElement::Assign(source);
}

void TAnnotationTool::SetPosition(TAnnotationPosition value)
{
    if (position_ == value)
        return;
    position_ = value;
    shape_->SetCustomPosition(false);
    Repaint();
}

void TAnnotationTool::SetWidth(int value)
{
    if (value == Width())
        return;
    shape_->SetAutoSize(false);
    shape_->SetWidth(value);
    Repaint();
}

void TAnnotationTool::SetHeight(int value)
{
    if (value == Height())
        return;
    shape_->SetAutoSize(false);
    shape_->SetHeight(value);
    Repaint();
}

void TAnnotationTool::SetShapeBounds(const TRect& bounds)
{
    shape_->ShapeBounds = bounds;
    if (ParentChart())
        Repaint();
    else
        shape_->Repaint();
}

void TAnnotationTool::ChartSize(int& width, int& height) const
{
    width = height = 0;
    if (const TCustomAxisPanel* panel = Panel()) {
        width = panel->ChartBounds.Width();
        height = panel->ChartBounds.Height();
        if (width <= 0 || height <= 0) {
            width = panel->width();
            height = panel->height();
        }
    }
}

// The chart's rectangle C runs from 0,0 to W-1,H-1; drawing adds the origin of the drawing's
// bounds (a chart drawn into part of a page).
TRect TAnnotationTool::GetShapeBounds()
{
    TTextShape& shape = *shape_;
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return shape.ShapeBounds;
    TPlotCanvas3D& canvas = panel->Canvas();
    canvas.AssignFont(&shape.Font());
    const int fontHeight = canvas.FontHeight();
    const QStringList lines = BoxLines(shape.Text());

    int textWidth = 0;
    int textHeight = 0;
    if (!(shape.CustomPosition() && !shape.AutoSize())) {
        // Measured as drawn: an HTML line without its tags.
        const bool html = shape.TextFormat() == ttfHtml;
        for (const QString& line : lines)
            textWidth = std::max(textWidth, canvas.TextExtentFormat(line, html).cx);
        for (const int lineHeight : LineHeights(canvas, lines, html))
            textHeight += lineHeight;
        if (shape.Pen().Visible()) {
            const int frame = (shape.Pen().Width() + 1) / 2;
            textWidth += frame;
            textHeight += frame;
        }
    }
    int width = textWidth;
    int height = textHeight;
    if (!shape.AutoSize()) {
        width = shape.GetWidth();
        height = shape.GetHeight();
    }
    TMargins& margins = shape.Margins();
    margins.Calculate(width, height, fontHeight);

    int w = 0, h = 0;
    ChartSize(w, h);
    const TRect c{0, 0, w - 1, h - 1};
    int x = 0, y = 0;
    if (!shape.CustomPosition()) {
        switch (position_) {
        case ppLeftTop:
            x = c.Left + 10;
            y = c.Top + 10;
            break;
        case ppLeftBottom:
            x = c.Left + 10;
            y = c.Top + h - height - margins.VertSize();
            break;
        case ppRightTop:
            x = c.Left + w - width - margins.HorizSize();
            y = c.Top + 10;
            break;
        case ppRightBottom:
            x = c.Left + w - width - margins.HorizSize();
            y = c.Top + h - height - margins.VertSize();
            break;
        case ppCenter:
            x = (c.Left + c.Right - textWidth) / 2;
            y = (c.Top + c.Bottom - textHeight) / 2;
            break;
        }
    } else if (positionUnits_ == muPixels) {
        x = shape.Left();
        y = shape.Top();
    } else {
        x = RoundEven(shape.Left() * w * 0.01);
        y = RoundEven(shape.Top() * h * 0.01);
    }
    int boxWidth = shape.GetWidth();
    int boxHeight = shape.GetHeight();
    if (shape.AutoSize()) {
        boxWidth = margins.HorizSize() + width;
        boxHeight = margins.VertSize() + height;
        shape.SetWidth(boxWidth);
        shape.SetHeight(boxHeight);
    }
    return TRect{x, y, x + boxWidth - 1, y + boxHeight - 1};
}

void TAnnotationTool::ChartEvent(TChartToolEvent kind)
{
    if (kind == cteAfterDraw)
        DrawTool();
}

void TAnnotationTool::DrawTool()
{
    if (!Panel())
        return;
    if (OnBeforeDraw)
        OnBeforeDraw();
    TCustomAxisPanel& panel = *Panel();
    TRect box = GetShapeBounds();
    box.Left += panel.ChartBounds.Left;
    box.Right += panel.ChartBounds.Left;
    box.Top += panel.ChartBounds.Top;
    box.Bottom += panel.ChartBounds.Top;
    DrawText(box);
    if (callout_->Visible() || callout_->Arrow().Visible())
        DrawCallout(box);
    if (OnAfterDraw)
        OnAfterDraw();
}

void TAnnotationTool::DrawText(const TRect& box)
{
    TCustomAxisPanel& panel = *Panel();
    TPlotCanvas3D& canvas = panel.Canvas();
    TTextShape& shape = *shape_;
    if (shape.Visible())
        shape.DrawOnCanvas(canvas, box, 0, 0.0);
    const bool clip = shape.ClipText() && panel.CanClip();
    if (clip)
        canvas.ClipRectangle(TRect{box.Left, box.Top, box.Right + 1, box.Bottom + 1});
    canvas.SetBackMode(cbmTransparent);
    const TMargins& margins = shape.Margins();
    int x = 0;
    switch (shape.TextAlignment()) {
    case taLeftJustify:
        x = box.Left + margins.SizeLeft + (shape.Pen().Visible() ? shape.Pen().Width() : 0);
        canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
        break;
    case taCenter:
        x = (margins.SizeLeft + box.Left + box.Right - margins.SizeRight) / 2 + 1;
        canvas.SetTextAlign(gdi::TA_CENTER | gdi::TA_TOP);
        break;
    case taRightJustify:
        x = box.Right - margins.SizeRight;
        canvas.SetTextAlign(gdi::TA_RIGHT | gdi::TA_TOP);
        break;
    }
    canvas.AssignFont(&shape.Font());
    const QStringList lines = BoxLines(shape.Text());
    const bool html = shape.TextFormat() == ttfHtml;
    const std::vector<int> heights = LineHeights(canvas, lines, html);
    int y = box.Top + margins.SizeTop;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        canvas.TextOutFormat(x, y, lines[i], html);
        y += heights[static_cast<size_t>(i)];
    }
    canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
    if (clip)
        canvas.UnClipRectangle();
}

// The callout leaves the box on the side that faces its target (or from the middle of an edge
// the target lies across from) and stops Distance pixels short of the target.
void TAnnotationTool::DrawCallout(const TRect& box)
{
    TAnnotationCallout& callout = *callout_;
    TPoint to{callout.XPosition(), callout.YPosition()};
    TPoint from;
    from.X = to.X > box.Right ? box.Right : to.X < box.Left ? box.Left : (box.Left + box.Right) / 2;
    from.Y = to.Y > box.Bottom ? box.Bottom : to.Y < box.Top ? box.Top : (box.Top + box.Bottom) / 2;
    if (callout.Distance() != 0) {
        const double dx = to.X - from.X;
        const double dy = to.Y - from.Y;
        const double length = std::hypot(dx, dy);
        if (length > 0) {
            to.X -= RoundEven(dx * callout.Distance() / length);
            to.Y -= RoundEven(dy * callout.Distance() / length);
        }
    }
    callout.Draw(callout.Brush().Color(), from, to, to, callout.ZPosition(), false);
}

void TAnnotationTool::ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    if (kind == cmeDown) {
        if (OnClick && Clicked(x, y))
            OnClick(this, button, shift, x, y);
        if ((shift & ssDouble) != 0 && OnDblClick && Clicked(x, y))
            OnDblClick(this, button, shift, x, y);
    } else if (kind == cmeMove) {
        if (shape_->Cursor() != crDefault && Clicked(x, y)) {
            panel->SetChartCursor(shape_->Cursor());
            panel->CancelMouse = true;
        }
    }
}

// ---- rectangle

TRectangleTool::TRectangleTool()
{
    TTextShape& shape = Shape();
    shape.SetAutoSize(false);
    shape.SetCustomPosition(true);
    shape.Shadow().SetSize(0);
    shape.SetTransparency(75);
    shape.ShapeBounds = TRect{10, 10, 59, 59};
    SetPositionUnits(muPixels);
    SetCursor(crHandPoint);
}

QString TRectangleTool::Description() const { return QStringLiteral("Rectangle"); }

QString TRectangleTool::LongDescription() const
{
    return QStringLiteral("Displays custom text at any location inside Chart within a resizable box.");
}

void TRectangleTool::Assign(const TRectangleTool& source)
{
    if (&source == this)
        return;
    allowDrag_ = source.allowDrag_;
    allowResize_ = source.allowResize_;
    TAnnotationTool::Assign(source);
}

int TRectangleTool::EdgeAt(int x, int y)
{
    const TRect r = GetShapeBounds();
    if (!PointInBox(r, x, y))
        return -1;
    auto near = [](int a, int b) { return std::abs(a - b) < 4; };
    if (near(x, r.Left))
        return near(y, r.Top) ? 4 : near(y, r.Bottom) ? 5 : 0;
    if (near(y, r.Top))
        return near(x, r.Right) ? 6 : 1;
    if (near(x, r.Right))
        return near(y, r.Bottom) ? 7 : 2;
    if (near(y, r.Bottom))
        return 3;
    return -1;
}

void TRectangleTool::ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y)
{
    TAnnotationTool::ChartMouseEvent(kind, button, shift, x, y);
    TCustomAxisPanel* panel = Panel();
    if (!Active() || !panel)
        return;
    switch (kind) {
    case cmeDown: {
        if (button != mbLeft)
            break;
        activeEdge_ = allowResize_ ? EdgeAt(x, y) : -1;
        const TRect r = GetShapeBounds();
        if (activeEdge_ != -1) {
            const int e = activeEdge_;
            grabX_ = x - ((e == 2 || e == 6 || e == 7) ? r.Right : r.Left);
            grabY_ = y - ((e == 3 || e == 5 || e == 7) ? r.Bottom : r.Top);
            panel->CancelMouse = true;
        } else if (allowDrag_ && PointInBox(r, x, y)) {
            grabX_ = x - r.Left;
            grabY_ = y - r.Top;
            dragging_ = true;
            panel->CancelMouse = true;
        }
        break;
    }
    case cmeMove:
        if (dragging_) {
            MoveBox(x - grabX_, y - grabY_);
            panel->CancelMouse = true;
        } else if (activeEdge_ != -1) {
            ResizeBox(x, y);
            panel->CancelMouse = true;
        } else {
            panel->CancelMouse = ShowCursor(x, y) || panel->CancelMouse;
        }
        break;
    case cmeUp:
        if (dragging_) {
            dragging_ = false;
            if (OnDragged)
                OnDragged();
        } else if (activeEdge_ != -1) {
            activeEdge_ = -1;
            if (OnResized)
                OnResized();
        }
        break;
    }
}

// A move that leaves the box where it is changes nothing and tells nobody.
void TRectangleTool::MoveBox(int left, int top)
{
    const TRect r = GetShapeBounds();
    if (left == r.Left && top == r.Top)
        return;
    TTextShape& shape = Shape();
    shape.SetCustomPosition(true);
    if (PositionUnits() == muPercent) {
        int w = 0, h = 0;
        ChartSize(w, h);
        if (w > 0 && h > 0) {
            left = RoundEven(left * 100.0 / w);
            top = RoundEven(top * 100.0 / h);
        }
    }
    shape.SetLeft(left);
    shape.SetTop(top);
    Repaint();
    if (OnDragging)
        OnDragging();
}

void TRectangleTool::ResizeBox(int x, int y)
{
    TTextShape& shape = Shape();
    TRect r = GetShapeBounds();
    shape.SetAutoSize(false);
    const int e = activeEdge_;
    if (e == 0 || e == 4 || e == 5)
        r.Left = std::min(r.Right - 3, x - grabX_);
    if (e == 1 || e == 4 || e == 6)
        r.Top = std::min(r.Bottom - 3, y - grabY_);
    if (e == 2 || e == 6 || e == 7)
        r.Right = std::max(r.Left + 3, x - grabX_);
    if (e == 3 || e == 5 || e == 7)
        r.Bottom = std::max(r.Top + 3, y - grabY_);
    if (PositionUnits() == muPixels) {
        shape.ShapeBounds = r;
    } else {
        int w = 0, h = 0;
        ChartSize(w, h);
        if (w > 0 && h > 0) {
            shape.SetLeft(RoundEven(r.Left * 100.0 / w));
            shape.SetTop(RoundEven(r.Top * 100.0 / h));
        }
    }
    Repaint();
    if (OnResizing)
        OnResizing();
}

// Answers whether a cursor was set: only then does the tool keep the mouse from the chart.
bool TRectangleTool::ShowCursor(int x, int y)
{
    TCustomAxisPanel& panel = *Panel();
    if (allowResize_) {
        switch (EdgeAt(x, y)) {
        case 0:
        case 2: panel.SetChartCursor(crSizeWE); return true;
        case 1:
        case 3: panel.SetChartCursor(crSizeNS); return true;
        case 4:
        case 7: panel.SetChartCursor(crSizeNWSE); return true;
        case 5:
        case 6: panel.SetChartCursor(crSizeNESW); return true;
        default: break;
        }
    }
    if (Cursor() != crDefault && Clicked(x, y)) {
        panel.SetChartCursor(Cursor());
        return true;
    }
    return false;
}
