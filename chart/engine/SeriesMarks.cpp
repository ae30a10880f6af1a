#include "chart/engine/SeriesMarks.h"

#include "app/NumberText.h"
#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas.h"
#include "chart/canvas/PlotHtml.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesMarksSymbol.h"
#include "chart/engine/SeriesPointer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr QChar kLineSeparator(13);
constexpr uint32_t kAlignLeft = 0;
constexpr uint32_t kAlignRight = 2;
constexpr uint32_t kAlignCenter = 6;

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

bool Intersects(const TRect& a, const TRect& b)
{
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Where a mark stands on the screen. In 3D the box keeps the size its text was measured for and
// moves with its projected centre: a box projected corner by corner shrinks in an elevated view
// while its text does not, and the text would hang out of it.
TRect ScreenRect(TCanvas3D& canvas, const TRect& bounds, int z)
{
    const int cx = (bounds.Left + bounds.Right) / 2;
    const int cy = (bounds.Top + bounds.Bottom) / 2;
    const TPoint c = canvas.ProjectToScreen(cx, cy, z);
    const int dx = c.X - cx;
    const int dy = c.Y - cy;
    return TRect{bounds.Left + dx, bounds.Top + dy, bounds.Right + dx, bounds.Bottom + dy};
}

} // namespace

TextAnchor AnchorBetween(TAlignment alignment, int left, int right)
{
    switch (alignment) {
    case taLeftJustify: return {left, kAlignLeft};
    case taRightJustify: return {right, kAlignRight};
    case taCenter: break;
    }
    return {(left + right) / 2, kAlignCenter};
}

// ---- margins

TMargins::TMargins(TNotifyEvent onChange, int leftRight, int topBottom)
    : OnChange(std::move(onChange)), left_(leftRight), top_(topBottom), right_(leftRight), bottom_(topBottom),
      defaultLeftRight_(leftRight)
{
}

void TMargins::Assign(const TMargins& source)
{
    left_ = source.left_;
    top_ = source.top_;
    right_ = source.right_;
    bottom_ = source.bottom_;
    units_ = source.units_;
    if (OnChange)
        OnChange();
}

void TMargins::Calculate(int width, int height, int fontSize)
{
    switch (units_) {
    case maPercentFont:
        SizeLeft = RoundEven(left_ * 0.02 * fontSize);
        SizeTop = RoundEven(top_ * 0.02 * fontSize);
        SizeRight = RoundEven(right_ * 0.02 * fontSize);
        SizeBottom = RoundEven(bottom_ * 0.02 * fontSize);
        break;
    case maPercentSize:
        SizeLeft = RoundEven(left_ * 0.01 * width);
        SizeTop = RoundEven(top_ * 0.01 * height);
        SizeRight = RoundEven(right_ * 0.01 * width);
        SizeBottom = RoundEven(bottom_ * 0.01 * height);
        break;
    case maPixels:
        SizeLeft = left_;
        SizeTop = top_;
        SizeRight = right_;
        SizeBottom = bottom_;
        break;
    }
}

// ---- positions

TSeriesMarkPosition* TSeriesMarksPositions::Position(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

void TSeriesMarksPositions::SetPosition(int index, const TSeriesMarkPosition& position)
{
    if (index < 0)
        return;
    if (index >= Count())
        items_.resize(static_cast<size_t>(index) + 1);
    auto& entry = items_[static_cast<size_t>(index)];
    if (!entry)
        entry = std::make_unique<TSeriesMarkPosition>();
    *entry = position;
    entry->Custom = true;
}

void TSeriesMarksPositions::Store(int index, const TSeriesMarkPosition& position)
{
    if (index < 0)
        return;
    if (index >= Count())
        items_.resize(static_cast<size_t>(index) + 1);
    auto& entry = items_[static_cast<size_t>(index)];
    if (entry && entry->Custom) {
        entry->ArrowFrom = position.ArrowFrom;
        return;
    }
    if (!entry)
        entry = std::make_unique<TSeriesMarkPosition>();
    *entry = position;
    entry->Custom = false;
}

void TSeriesMarksPositions::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TSeriesMarksPositions::DeleteRange(int start, int quantity)
{
    if (start < 0 || start >= Count() || quantity < 1)
        return;
    const int end = std::min(Count(), start + quantity);
    items_.erase(items_.begin() + start, items_.begin() + end);
}

// ---- items

TMarksItem::TMarksItem(PlotShapeOwner* chart) : TPlotCustomShape(chart)
{
    SetColor(clInfoBk);
}

QStringList& TMarksItem::Text()
{
    if (!text_)
        text_ = std::make_unique<QStringList>();
    return *text_;
}

TMarksItem& TMarksItems::Items(int index)
{
    if (index >= Count())
        items_.resize(static_cast<size_t>(index) + 1);
    auto& entry = items_[static_cast<size_t>(index)];
    if (!entry)
        entry = std::make_unique<TMarksItem>(Chart);
    return *entry;
}

TMarksItem* TMarksItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

void TMarksItems::Delete(int index)
{
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void TMarksItems::DeleteRange(int start, int quantity)
{
    if (start < 0 || start >= Count() || quantity < 1)
        return;
    const int end = std::min(Count(), start + quantity);
    items_.erase(items_.begin() + start, items_.begin() + end);
}

// ---- marks

TSeriesMarks::TSeriesMarks(TChartSeries& series)
    : TPlotCustomShape(nullptr), series_(series), margins_([this] { Changed(); }, 20, 5)
{
    SetColor(clInfoBk);
    SetVisible(false);
    Shadow().InitDefaults(clGray, 3);
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::Changed()
{
    series_.Repaint();
}

void TSeriesMarks::SetParentChart(PlotShapeOwner* value)
{
    TPlotCustomShape::SetParentChart(value);
    items_.Chart = value;
    if (callout_)
        callout_->SetParentChart(value);
    if (symbol_)
        symbol_->SetParentChart(value);
}

TMarksCallout& TSeriesMarks::Callout()
{
    if (!callout_)
        callout_ = std::make_unique<TMarksCallout>(&series_, ParentChart());
    return *callout_;
}

TSeriesMarksSymbol& TSeriesMarks::Symbol()
{
    if (!symbol_)
        symbol_ = std::make_unique<TSeriesMarksSymbol>(ParentChart());
    return *symbol_;
}

void TSeriesMarks::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (const auto* m = dynamic_cast<const TSeriesMarks*>(&source); m && m != this) {
        angle_ = m->angle_;
        if (m->callout_)
            Callout().Assign(*m->callout_);
        clip_ = m->clip_;
        drawEvery_ = m->drawEvery_;
        style_ = m->style_;
        margins_.Assign(m->margins_);
        multiLine_ = m->multiLine_;
        if (m->symbol_)
            Symbol().Assign(*m->symbol_);
        textAlign_ = m->textAlign_;
        items_.Clear();
        for (int i = 0; i < m->items_.Count(); ++i) {
            if (TMarksItem* item = m->items_.Item(i)) {
                TMarksItem& mine = items_.Items(i);
                mine.Assign(*item);
                if (item->HasText())
                    mine.Text() = item->TextLines();
            }
        }
    }
    TPlotCustomShape::Assign(source);
}

TPlotCustomShape& TSeriesMarks::ItemOf(int index)
{
    if (TMarksItem* item = items_.Item(index))
        return *item;
    return *this;
}

void TSeriesMarks::Clear()
{
    positions_.Clear();
    if (!items_.Loaded)
        items_.Clear();
}

void TSeriesMarks::SelectFont(TPlotCustomShape& shape, TCanvas3D& canvas)
{
    canvas.AssignFont(&shape.Font());
    const ChartParent* chart = series_.ParentChart();
    const TView3DOptions* options = canvas.View3DOptions;
    if (chart && chart->View3D() && !canvas.GetSupportsFeature() && options && options->ZoomText() &&
        options->Zoom() != 100)
        canvas.Font().SetSize(std::max(1, RoundEven(canvas.Font().Size() * options->Zoom() * 0.01)));
}

gdi::Size TSeriesMarks::TextBlock(TPlotCustomShape& shape, TCanvas3D& canvas, const QString& text)
{
    if (shape.TextFormat() == ttfHtml)
        return canvas.TextExtentFormat(HtmlLineBreaks(text), true);
    const QStringList lines = text.split(kLineSeparator);
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, canvas.TextWidth(line));
    return gdi::Size{widest, canvas.FontHeight() * static_cast<int>(lines.size())};
}

gdi::Size TSeriesMarks::TextSize(int valueIndex)
{
    PlotShapeOwner* owner = ParentChart();
    if (!owner)
        return {};
    TCanvas3D& canvas = owner->ShapeCanvas();
    TPlotCustomShape& shape = ItemOf(valueIndex);
    SelectFont(shape, canvas);
    return TextBlock(shape, canvas, series_.GetMarkText(valueIndex));
}

TSeriesMarkPosition TSeriesMarks::MarkPosition(TPlotCustomShape& shape, const QString& text, int x, int y)
{
    TSeriesMarkPosition position;
    position.ArrowFrom = position.ArrowTo = TPoint{x, y};
    PlotShapeOwner* owner = ParentChart();
    if (!owner)
        return position;
    TCanvas3D& canvas = owner->ShapeCanvas();
    SelectFont(shape, canvas);
    const gdi::Size block = TextBlock(shape, canvas, text);
    const int textWidth = block.cx;
    const int fontHeight = canvas.FontHeight();
    const int textHeight = block.cy;
    margins_.Calculate(textWidth, textHeight, fontHeight);
    int width = textWidth + margins_.HorizSize();
    int height = textHeight + margins_.VertSize();
    if (symbol_ && symbol_->Visible())
        width += fontHeight - 4;
    const int frame = Pen().Visible() ? Pen().Width() - 1 : 1;
    width += frame;
    height += frame;
    position.Width = width;
    position.Height = height;
    position.LeftTop = TPoint{x - width / 2, y - height + 1};
    return position;
}

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition& position)
{
    Callout().ApplyArrowLength(position);
}

void TSeriesMarks::DrawItem(int index, TColor color, const QString& text, TSeriesMarkPosition& position)
{
    PlotShapeOwner* owner = ParentChart();
    if (!owner)
        return;
    KeepInsidePanel(position);
    positions_.Store(index, position);
    const TSeriesMarkPosition& p = *positions_.Position(index);
    TCanvas3D& canvas = owner->ShapeCanvas();
    const ChartParent* chart = series_.ParentChart();
    const bool is3D = chart && chart->View3D();
    // The arrow line has its own pen: a hidden callout only leaves out the symbol at the point.
    if (callout_ && (callout_->Visible() || callout_->Arrow().Visible()))
        callout_->Draw(color, p.ArrowFrom, p.HasMidPoint ? p.MidPoint : p.ArrowTo, p.ArrowTo, ZPosition, p.HasMidPoint);

    TPlotCustomShape& shape = ItemOf(index);
    const int angle = ((angle_ % 360) + 360) % 360;
    const TRect rect = is3D ? ScreenRect(canvas, p.Bounds(), ZPosition) : p.Bounds();
    shape.DrawOnCanvas(canvas, rect, is3D ? ZPosition : 0, angle);
    if (symbol_ && symbol_->ShouldDraw()) {
        SelectFont(shape, canvas);
        const int size = std::max(1, canvas.FontHeight() - 4);
        const int top = rect.Top + (rect.Height() - size) / 2;
        symbol_->SetColor(color);
        symbol_->ShapeBounds = TRect{rect.Left + 2, top, rect.Left + 2 + size, top + size};
        symbol_->DrawOnCanvas(canvas, symbol_->ShapeBounds, is3D ? ZPosition : 0, 0);
    }
    // The text goes flat into the box on the screen, where the box was drawn.
    DrawText(canvas, shape, rect, text, color, angle);
}

void TSeriesMarks::DrawText(TCanvas3D& canvas, TPlotCustomShape& shape, const TRect& rect, const QString& text,
                            TColor color, int angle)
{
    SelectFont(shape, canvas);
    if (FontSeriesColor)
        canvas.Font().SetColor(color);
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(cbmTransparent);
    const QStringList lines = text.split(kLineSeparator);
    const int fontHeight = canvas.FontHeight();
    const gdi::Size block = TextBlock(shape, canvas, text);
    margins_.Calculate(block.cx, block.cy, fontHeight);
    int innerLeft = rect.Left + 2 + margins_.SizeLeft;
    if (symbol_ && symbol_->ShouldDraw())
        innerLeft += std::max(1, fontHeight - 4) + 4;
    const int innerRight = rect.Right - margins_.SizeRight;
    const int framed = shape.Pen().Visible() ? (shape.Pen().Width() - 1) / 2 : 0;
    const TextAnchor anchor = AnchorBetween(textAlign_, innerLeft, innerRight);
    const int x = anchor.X;
    canvas.SetTextAlign(anchor.Align);
    const int top = rect.Top + margins_.SizeTop + framed;
    if (shape.TextFormat() == ttfHtml) {
        canvas.TextOutFormat(x, top, HtmlLineBreaks(text), true);
    } else if (angle == 0) {
        for (int k = 0; k < static_cast<int>(lines.size()); ++k)
            canvas.TextOut(x, top + k * fontHeight, lines[k]);
    } else {
        // Each line stands on a line through the centre, across the text direction.
        canvas.SetTextAlign(kAlignCenter);
        const double radians = angle * 3.14159265358979323846 / 180.0;
        const int cx = (innerLeft + innerRight) / 2;
        const int cy = (rect.Top + rect.Bottom) / 2;
        const double n = static_cast<double>(lines.size());
        for (int k = 0; k < static_cast<int>(lines.size()); ++k) {
            const double d = (k - n / 2.0) * fontHeight;
            const int lx = cx + RoundEven(d * std::sin(radians)) + (angle == 90 ? 1 : 0);
            const int ly = cy + RoundEven(d * std::cos(radians));
            canvas.RotateLabel(lx, ly, lines[k], angle);
        }
    }
    canvas.SetTextAlign(kAlignLeft);
}

int TSeriesMarks::Clicked(int x, int y)
{
    const int every = std::max(1, drawEvery_);
    const int angle = ((angle_ % 360) + 360) % 360;
    PlotShapeOwner* owner = ParentChart();
    const ChartParent* chart = series_.ParentChart();
    const bool is3D = owner && chart && chart->View3D();
    const TPoint point{x, y};
    for (int i = positions_.Count() - 1; i >= 0; --i) {
        const TSeriesMarkPosition* p = positions_.Position(i);
        if (!p || i % every != 0)
            continue;
        const TRect rect = is3D ? ScreenRect(owner->ShapeCanvas(), p->Bounds(), ZPosition) : p->Bounds();
        if (angle != 0) {
            const TFourPoints corners = RectRotatedPoints(rect, angle);
            if (PointInPolygon(point, corners.data(), 3))
                return i;
        } else if (PointInRect(rect, x, y)) {
            return i;
        }
    }
    return -1;
}

TRect TSeriesMarks::DrawnRect(const TSeriesMarkPosition& position)
{
    TRect rect = position.Bounds();
    const int frame = Pen().Visible() ? Pen().Width() : 0;
    rect.Right += frame;
    rect.Bottom += frame;
    if (HasShadow() && Shadow().Visible()) {
        rect.Right += std::max(0, Shadow().HorizSize());
        rect.Bottom += std::max(0, Shadow().VertSize());
    }
    PlotShapeOwner* owner = ParentChart();
    const ChartParent* chart = series_.ParentChart();
    if (owner && chart && chart->View3D())
        rect = ScreenRect(owner->ShapeCanvas(), rect, ZPosition);
    return rect;
}

// A mark at a point near the chart's edge would run out of the panel and lose its frame there:
// the box moves inwards, and its arrow, still starting at the point, goes to where it stands.
void TSeriesMarks::KeepInsidePanel(TSeriesMarkPosition& position)
{
    ChartParent* chart = series_.ParentChart();
    const TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    if (!panel || panel->ChartBounds.Width() <= 0 || panel->ChartBounds.Height() <= 0)
        return;
    const TRect rect = DrawnRect(position);
    const TRect& bounds = panel->ChartBounds;
    auto shift = [](int low, int high, int lowest, int highest) {
        const int move = high > highest ? highest - high : 0;
        return low + move < lowest ? lowest - low : move;
    };
    const int dx = shift(rect.Left, rect.Right, bounds.Left, bounds.Right);
    const int dy = shift(rect.Top, rect.Bottom, bounds.Top, bounds.Bottom);
    if (dx == 0 && dy == 0)
        return;
    for (TPoint* p : {&position.LeftTop, &position.ArrowTo, &position.MidPoint})
        if (p != &position.MidPoint || position.HasMidPoint) {
            p->X += dx;
            p->Y += dy;
        }
}

void TSeriesMarks::AntiOverlap(int first, int valueIndex, TSeriesMarkPosition& position)
{
    TRect rect = DrawnRect(position);
    PlotShapeOwner* owner = ParentChart();
    const ChartParent* chart = series_.ParentChart();
    const bool is3D = owner && chart && chart->View3D();
    for (int j = std::max(0, first); j < valueIndex; ++j) {
        const TSeriesMarkPosition* other = positions_.Position(j);
        if (!other)
            continue;
        // Both boxes as they stand on the screen.
        const TRect r = is3D ? ScreenRect(owner->ShapeCanvas(), other->Bounds(), ZPosition) : other->Bounds();
        if (!Intersects(rect, r))
            continue;
        const int move = r.Top > rect.Top ? -(rect.Bottom - r.Top) : r.Bottom - rect.Top;
        position.LeftTop.Y += move;
        position.ArrowTo.Y += move;
        if (position.HasMidPoint)
            position.MidPoint.Y += move;
        rect.Top += move;
        rect.Bottom += move;
    }
}
