// The pie series: its points and slice lists, the gathered slice, angles, drawing, marks, hit
// test, legend rows and gallery.
#include "chart/series/PieSeries.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesAxis.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"
#include "chart/engine/SeriesTexts.h"
#include "chart/series/Chart.h"
#include "chart/series/SeriesReplace.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int RoundEvenInt(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

constexpr double kPi = std::numbers::pi;

} // namespace

TPieSeries::TPieSeries()
    : exploded_([this] { Repaint(); })
    , otherSlice_(std::make_unique<TPieOtherSlice>(*this))
    , pieMarks_(std::make_unique<TPieMarks>([this] { Repaint(); }))
    , sliceHeight_([this] { Repaint(); })
{
    SetColorEachPoint(true);
    YValues().SetName(QStringLiteral("Pie"));
    Marks().SetVisible(true);
    Marks().Callout().SetLength(8);
    Gradient().SetStartColor(clWhite);
    Gradient().SetDirection(gdRadial);
}

TPieSeries::~TPieSeries() = default;

void TPieSeries::SetParentChart(ChartParent* chart)
{
    if (chart == ParentChart())
        return;
    TCircledSeries::SetParentChart(chart);
    otherSlice_->ChartChanged();
}

void TPieSeries::Assign(TChartSeries& source)
{
    // The points first: taking them clears the slice lists.
    TCircledSeries::Assign(source);
    if (auto* s = dynamic_cast<TPieSeries*>(&source)) {
        angleSize_ = s->angleSize_;
        autoMarkPosition_ = s->autoMarkPosition_;
        dark3D_ = s->dark3D_;
        darkPen_ = s->darkPen_;
        donutPercent_ = s->donutPercent_;
        exploded_.Assign(s->exploded_);
        explodeBiggest_ = s->explodeBiggest_;
        gradientBright_ = s->gradientBright_;
        multiPie_ = s->multiPie_;
        otherSlice_->Assign(*s->otherSlice_);
        pieMarks_->Assign(*s->pieMarks_);
        sliceHeight_.Assign(s->sliceHeight_);
        usePatterns_ = s->usePatterns_;
    }
}

bool TPieSeries::IsSameClass(const TChartSeries& other) const
{
    return dynamic_cast<const TPieSeries*>(&other) != nullptr && other.ClassName() == ClassName();
}

int TPieSeries::AddPie(double value, const QString& label, TColor color)
{
    return AddPointXY(Count(), value, label, color);
}

void TPieSeries::SetExplodeBiggest(int value)
{
    if (explodeBiggest_ == value)
        return;
    explodeBiggest_ = value;
    CalcExplodeBiggest();
    Repaint();
}

void TPieSeries::SetGradientBright(int value)
{
    if (gradientBright_ == value)
        return;
    gradientBright_ = value;
    if (value == 0)
        Gradient().SetStartColor(clWhite);
    Repaint();
}

// ---- points and the slice lists

void TPieSeries::Clear()
{
    TCircledSeries::Clear();
    angles_.clear();
}

void TPieSeries::ClearLists()
{
    TCircledSeries::ClearLists();
    exploded_.Clear();
    sliceHeight_.Clear();
    angles_.clear();
}

void TPieSeries::Delete(int valueIndex)
{
    TCircledSeries::Delete(valueIndex);
    exploded_.Delete(valueIndex);
    sliceHeight_.Delete(valueIndex);
    angles_.clear();
}

void TPieSeries::SwapValueIndex(int a, int b)
{
    TCircledSeries::SwapValueIndex(a, b);
    exploded_.Swap(a, b);
    sliceHeight_.Swap(a, b);
    angles_.clear();
}

// The gathered slice exists only for a drawing: it goes before the points are stored, and the
// points gathered into it get their place number back as X, so that sorting by X keeps the
// order the points were given in.
void TPieSeries::RemoveOtherSlice()
{
    for (int i = Count() - 1; i >= 0; --i)
        if (IsOtherSlice(i))
            Delete(i);
    for (int i = 0; i < Count(); ++i)
        if (IsGrouped(i))
            XValues().SetValueQuiet(i, i);
    angles_.clear();
}

void TPieSeries::DoBeforeDrawChart()
{
    TCircledSeries::DoBeforeDrawChart();
    std::unique_ptr<TSeriesMarkPosition> kept;
    for (int i = 0; i < Count(); ++i)
        if (IsOtherSlice(i))
            if (TSeriesMarkPosition* p = Marks().Positions().Position(i); p && p->Custom)
                kept = std::make_unique<TSeriesMarkPosition>(*p);
    const bool repaint = ParentChart() && ParentChart()->AxisPanel() && ParentChart()->AxisPanel()->RepaintOnChange();
    TCustomAxisPanel* panel = ParentChart() ? ParentChart()->AxisPanel() : nullptr;
    if (panel)
        panel->SetRepaintOnChange(false);
    RemoveOtherSlice();
    if (XValues().Order() != loNone)
        XValues().Sort();
    for (int i = 0; i < Count(); ++i)
        XValues().SetValueQuiet(i, i);
    const double total = YValues().TotalABS();
    if (otherSlice_->Style() != poNone && total > 0) {
        double sum = 0.0;
        bool any = false;
        for (int i = 0; i < Count(); ++i) {
            const double a = std::abs(YValues().Value(i));
            const double measure = otherSlice_->Style() == poBelowValue ? a : a * 100.0 / total;
            if (measure < otherSlice_->Value()) {
                XValues().SetValueQuiet(i, kGroupedX);
                sum += a;
                any = true;
            }
        }
        if (any) {
            const int index = AddPointXY(kOtherSliceX, sum, otherSlice_->ShownText(), otherSlice_->Color());
            YValues().ReduceTotalABS(sum);
            if (kept && index >= 0)
                Marks().Positions().SetPosition(index, *kept);
        }
    }
    angles_.clear();
    if (panel)
        panel->SetRepaintOnChange(repaint);
}

// ---- angles

void TPieSeries::CalcFirstLastVisibleIndex()
{
    if (otherSlice_->Style() != poNone) {
        FirstValueIndex = Count() > 0 ? 0 : -1;
        LastValueIndex = Count() - 1;
        return;
    }
    TCircledSeries::CalcFirstLastVisibleIndex();
}

void TPieSeries::CalcAngles()
{
    const int n = Count();
    angles_.assign(static_cast<size_t>(n), TPieAngle{});
    if (n == 0)
        return;
    int first = FirstValueIndex, last = std::min(LastValueIndex, n - 1);
    const bool range = first >= 0 && last >= first;
    if (!range)
        first = 0, last = n - 1;
    const double size = angleSize_ * kPi / 180.0;
    double total = 0.0;
    if (otherSlice_->Style() == poNone && range) {
        for (int i = first; i <= last; ++i)
            if (!IsMissingPoint(i))
                total += std::abs(YValues().Value(i));
    } else {
        // The gathered points count once, through the gathered slice.
        for (int i = 0; i < n; ++i)
            if (!HasNoSlice(i))
                total += std::abs(YValues().Value(i));
    }
    const double factor = total != 0.0 ? size / total : 0.0;
    double running = 0.0;
    double previous = 0.0;
    for (int i = first; i <= last; ++i) {
        TPieAngle& a = angles_[static_cast<size_t>(i)];
        a.Start = previous;
        if (total != 0.0) {
            if (!HasNoSlice(i))
                running += std::abs(YValues().Value(i));
            a.End = running == total ? size : running * factor;
            a.End = std::min(a.End, a.Start + size);
        } else {
            a.End = size;
        }
        a.Middle = (a.Start + a.End) * 0.5;
        previous = a.End;
    }
}

const TPieAngle& TPieSeries::Angle(int valueIndex)
{
    static const TPieAngle none;
    if (angles_.size() != static_cast<size_t>(Count()))
        CalcAngles();
    return valueIndex >= 0 && valueIndex < Count() ? angles_[static_cast<size_t>(valueIndex)] : none;
}

void TPieSeries::CalcExplodeBiggest()
{
    if (explodeBiggest_ <= 0 || Count() == 0)
        return;   // without points there is no biggest slice to explode
    int first = 0, last = Count() - 1;
    if (ParentChart() && ParentChart()->MaxPointsPerPage() > 0 && FirstValueIndex >= 0)
        first = FirstValueIndex, last = std::min(LastValueIndex, Count() - 1);
    int biggest = -1;
    for (int i = first; i <= last; ++i)
        if (!HasNoSlice(i) && (biggest < 0 || YValues().Value(i) > YValues().Value(biggest)))
            biggest = i;
    if (biggest >= 0)
        exploded_.SetValue(biggest, explodeBiggest_);
}

void TPieSeries::CalcExplodedOffset(int valueIndex, int& dx, int& dy)
{
    dx = dy = 0;
    const int e = exploded_.Value(valueIndex);
    if (!drawEdges_ || e <= 0)
        return;
    double m = Angle(valueIndex).Middle + Rotation();
    TCustomAxisPanel* panel = Panel();
    if (panel && panel->Canvas().GetSupportsFeature3D())
        m += kPi;
    dx = RoundEvenInt(XRadius() * 0.01 * e * std::cos(m));
    dy = RoundEvenInt(YRadius() * 0.01 * e * std::sin(m));
}

// ---- drawing

void TPieSeries::DoBeforeDrawValues()
{
    angles_.clear();
    TCustomAxisPanel* panel = Panel();
    if (panel) {
        savedChartRect_ = panel->ChartRect;
        chartRectSaved_ = true;
        OwnCell = false;
        if (multiPie_ == mpAutomatic) {
            std::vector<TPieSeries*> pies;
            TChartSeriesList& list = ParentChart()->SeriesList();
            for (int i = 0; i < list.Count(); ++i)
                if (auto* s = dynamic_cast<TPieSeries*>(list[i]); s && s->Active() && IsSameClass(*s))
                    pies.push_back(s);
            const int n = static_cast<int>(pies.size());
            if (n > 1) {
                const int index = static_cast<int>(std::find(pies.begin(), pies.end(), this) - pies.begin());
                const int columns = std::max(1, RoundEvenInt(std::sqrt(double(n))));
                const int rows = std::max(1, RoundEvenInt(std::sqrt(double(n)) + 0.5));
                const TRect r = panel->ChartRect;
                const int w = (r.Right - r.Left) / columns;
                const int h = (r.Bottom - r.Top) / rows;
                const int left = r.Left + (index % columns) * w;
                const int top = r.Top + (index / columns) * h;
                TRect cell{left, top, left + w, top + h};
                if (panel->View3D())
                    cell = panel->Canvas().CalcRect3D(cell, 0);
                panel->ChartRect = cell;
                OwnCell = true;
            }
        }
    }
    TCircledSeries::DoBeforeDrawValues();
}

void TPieSeries::DoAfterDrawValues()
{
    if (TCustomAxisPanel* panel = Panel(); panel && chartRectSaved_)
        panel->ChartRect = savedChartRect_;
    chartRectSaved_ = false;
    TCircledSeries::DoAfterDrawValues();
}

std::vector<int> TPieSeries::DrawingOrder()
{
    std::vector<int> order;
    const int first = FirstValueIndex, last = std::min(LastValueIndex, Count() - 1);
    if (first < 0 || last < first)
        return order;
    for (int i = first; i <= last; ++i)
        order.push_back(i);
    TCustomAxisPanel* panel = Panel();
    const bool is3D = panel && panel->View3D();
    const bool fullRotation = panel && panel->Canvas().GetSupportsFeature3D();
    if (!is3D || fullRotation || (!drawEdges_ && donutPercent_ == 0 && angleSize_ == 360))
        return order;
    // Back to front: by the distance of the middle angle from a quarter of the pie's sweep.
    const double s = angleSize_ * kPi / 180.0;
    const double q = s / 4.0;
    std::vector<double> distance(static_cast<size_t>(Count()), 0.0);
    for (int i : order) {
        double m = Angle(i).Middle + Rotation();
        if (m >= s)
            m -= s;
        double d = m <= q ? q - m : m - q;
        if (m - q > kPi)
            d = s - (m - q);
        distance[static_cast<size_t>(i)] = d;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return distance[static_cast<size_t>(a)] < distance[static_cast<size_t>(b)];
    });
    return order;
}

void TPieSeries::DrawAllValues()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    CalcExplodeBiggest();
    const int first = FirstValueIndex, last = std::min(LastValueIndex, Count() - 1);
    int widest = -1;
    for (int i = std::max(0, first); i <= last; ++i)
        if (!HasNoSlice(i) && exploded_.Value(i) > 0
            && (widest < 0 || exploded_.Value(i) > exploded_.Value(widest)))
            widest = i;
    drawEdges_ = widest >= 0 || !sliceHeight_.Empty();
    if (widest >= 0) {
        int dx = 0, dy = 0;
        CalcExplodedOffset(widest, dx, dy);
        ShrinkCircle(std::abs(dx) / 2, std::abs(dy) / 2);
    }
    TPlotCanvas3D& canvas = panel->Canvas();
    // The slices take the gradient over with their own colours; the circle's background and the
    // next drawing get the colours it was given.
    const TColor gradientStart = Gradient().StartColor();
    const TColor gradientEnd = Gradient().EndColor();
    // The circle background brings its own shadow; an elevated 3D view has no background.
    if (!panel->View3D() || panel->View3DOptions().Orthogonal())
        DrawCircleBack();
    else if (Shadow().Visible() && Shadow().GetSize() != 0)
        Shadow().DrawEllipse(canvas, CircleRect(), EndZ() - 10);
    const std::vector<int> order = DrawingOrder();
    const bool edges = drawEdges_;
    // A partial pie or a ring in 3D shows the cut faces of its two outer slices.
    const bool openEnds = panel->View3D() && !canvas.GetSupportsFeature3D() && (donutPercent_ != 0 || angleSize_ != 360);
    for (int i : order) {
        drawEdges_ = edges || (openEnds && (i == first || i == last));
        DrawValue(i);
    }
    drawEdges_ = edges;
    Gradient().SetStartColor(gradientStart);
    Gradient().SetEndColor(gradientEnd);
    DrawOtherSliceLegend();
}

int TPieSeries::SliceEndZ(int valueIndex) const
{
    if (valueIndex < sliceHeight_.Count())
        return StartZ() + RoundEvenInt(sliceHeight_.Value(valueIndex) * (EndZ() - StartZ()) * 0.01);
    return EndZ();
}

void TPieSeries::SliceColors(int valueIndex, TColor& color, TBrushStyle& style)
{
    TCustomAxisPanel* panel = Panel();
    const bool mono = panel && panel->Canvas().GetMonochrome();
    style = usePatterns_ || mono ? GetDefaultPattern(valueIndex) : bsSolid;
    color = mono ? clBlack : GetValueColor(valueIndex);
}

void TPieSeries::PrepareSlicePen(TColor color)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    if (darkPen_ >= 1 && color != clNone)
        canvas.AssignVisiblePenColor(Pen(), ColorDarker(color, 255 - darkPen_));
    else
        canvas.AssignVisiblePen(Pen());
}

void TPieSeries::DrawValue(int valueIndex)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || CircleWidth() < 5 || CircleHeight() < 5 || HasNoSlice(valueIndex))
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    TColor color;
    TBrushStyle style;
    SliceColors(valueIndex, color, style);
    if (color == clNone) {
        canvas.Brush().SetStyle(bsClear);
    } else {
        TChartBrush brush;
        brush.SetStyle(style);
        panel->SetBrushCanvas(color, brush, ResolvedBackColor());
        if (Gradient().Visible()) {
            Gradient().SetEndColor(color);
            if (gradientBright_ > 0)
                Gradient().SetStartColor(ColorBrighter(color, gradientBright_));
            else if (gradientBright_ < 0)
                Gradient().SetStartColor(ColorDarker(color, -gradientBright_));
        }
    }
    PrepareSlicePen(color);
    DrawSlice(valueIndex);
}

void TPieSeries::DrawSlice(int valueIndex)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    const TPieAngle& a = Angle(valueIndex);
    int dx = 0, dy = 0;
    CalcExplodedOffset(valueIndex, dx, dy);
    if (panel->View3D()) {
        canvas.Pie3D(CircleXCenter() + dx, CircleYCenter() - dy, XRadius(), YRadius(), StartZ(), SliceEndZ(valueIndex),
                     a.Start + Rotation(), a.End + Rotation(), dark3D_, drawEdges_, donutPercent_,
                     Gradient().Visible() ? &Gradient() : nullptr);
        return;
    }
    if (donutPercent_ == 0) {
        const TPoint p0 = AngleToPos(a.Start, XRadius(), YRadius());
        const TPoint p1 = AngleToPos(a.End, XRadius(), YRadius());
        // Coinciding ends draw the whole ellipse: right for a full slice, wrong for a sliver.
        if (p0.X == p1.X && p0.Y == p1.Y && Count() > 1 && a.End - a.Start < 1.0)
            return;
        const TRect& r = CircleRect();
        canvas.Pie(r.Left + dx, r.Top - dy, r.Right + dx, r.Bottom - dy, p0.X + dx, p0.Y - dy, p1.X + dx, p1.Y - dy);
    } else if (YValues().Value(valueIndex) != 0.0) {
        canvas.Donut(CircleXCenter() + dx, CircleYCenter() - dy, XRadius(), YRadius(), a.Start + Rotation(),
                     a.End + Rotation(), donutPercent_ * 0.01);
    }
}

void TPieSeries::DrawOtherSliceLegend()
{
    if (!otherSlice_->HasLegend() || !otherSlice_->Legend().Visible())
        return;
    TChartLegend& legend = otherSlice_->Legend();
    legend.SetSeries(this);
    legend.SetLegendStyle(lsValues);
    listingOther_ = true;
    legend.Draw();
    listingOther_ = false;
}

// ---- marks

void TPieSeries::DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position)
{
    if (IsGrouped(valueIndex))
        return;
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    const double grow = 1.0 + 0.01 * exploded_.Value(valueIndex);
    const double rx = XRadius() * grow, ry = YRadius() * grow;
    double angle = Angle(valueIndex).Middle;
    int z = SliceEndZ(valueIndex);
    if (panel->Canvas().GetSupportsFeature3D()) {
        angle = kPi + angle + kPi / 2;
        z = StartZ();
    }
    const int length = Marks().Callout().Length();
    const int distance = Marks().Callout().Distance();
    const TPoint from = AngleToPos(angle, rx + distance, ry + distance);
    TPoint to = AngleToPos(angle, rx + length + distance, ry + length + distance);
    const int w = position.Width, h = position.Height;
    const bool left = to.X <= CircleXCenter();
    const bool above = to.Y <= CircleYCenter();
    position.LeftTop = TPoint{left ? to.X - w : to.X, above ? to.Y - h : to.Y};
    if (pieMarks_->VertCenter())
        to.Y += above ? -(h / 2) : h / 2;
    position.HasMidPoint = false;
    if (const int leg = pieMarks_->LegSize(); leg > 0) {
        int legEnd;
        if (left) {
            legEnd = to.X + leg;
            if (legEnd > from.X) {
                legEnd = from.X;
                const int moved = from.X - leg;
                position.LeftTop.X += moved - to.X;
                to.X = moved;
            }
        } else {
            legEnd = to.X - leg;
            if (legEnd < from.X) {
                legEnd = from.X;
                const int moved = from.X + leg;
                position.LeftTop.X += moved - to.X;
                to.X = moved;
            }
        }
        position.MidPoint = TPoint{legEnd, to.Y};
        position.HasMidPoint = true;
    }
    position.ArrowFrom = from;
    position.ArrowTo = to;
    Marks().ZPosition = z;
    if (autoMarkPosition_)
        Marks().AntiOverlap(std::max(0, FirstValueIndex), valueIndex, position);
    TCircledSeries::DrawMark(valueIndex, text, position);
}

// ---- positions and hit test

QPoint TPieSeries::CalcPointPos(int valueIndex) const
{
    auto* self = const_cast<TPieSeries*>(this);
    if (valueIndex < 0 || valueIndex >= Count() || IsGrouped(valueIndex) || FirstValueIndex < 0)
        return TCircledSeries::CalcPointPos(valueIndex);
    const double grow = 1.0 + 0.01 * exploded_.Value(valueIndex);
    const TPoint p = AngleToPos(self->Angle(valueIndex).Middle, XRadius() * grow, YRadius() * grow);
    return {p.X, p.Y};
}

int TPieSeries::XToPixel(int valueIndex) const
{
    return IsOtherSlice(valueIndex) ? 0 : TCircledSeries::XToPixel(valueIndex);
}

int TPieSeries::Clicked(int x, int y) const
{
    const int base = TCircledSeries::Clicked(x, y);
    if (base >= 0 || !ParentChart())
        return base;
    auto* self = const_cast<TPieSeries*>(this);
    const int first = FirstValueIndex, last = std::min(LastValueIndex, Count() - 1);
    if (first < 0)
        return -1;
    const TPoint click{x, y};
    TPoint polygon[32];
    for (int i = first; i <= last; ++i) {
        if (HasNoSlice(i))
            continue;
        const TPieAngle& a = self->Angle(i);
        int dx = 0, dy = 0;
        self->CalcExplodedOffset(i, dx, dy);
        polygon[0] = TPoint{CircleXCenter() + dx, CircleYCenter() - dy};
        const double step = (a.End - a.Start) / 30.0;
        for (int k = 0; k <= 30; ++k) {
            const TPoint p = AngleToPos(a.End - k * step, XRadius(), YRadius());
            polygon[k + 1] = TPoint{p.X + dx, p.Y - dy};
        }
        if (PointInPolygon(click, polygon, 31))
            return i;
    }
    return -1;
}

double TPieSeries::GetMaxX()
{
    const SeriesAxis* axis = GetHorizAxis();
    return axis ? axis->CurrentMaximum() : 0.0;
}

double TPieSeries::GetMinX()
{
    const SeriesAxis* axis = GetHorizAxis();
    return axis ? axis->CurrentMinimum() : 0.0;
}

double TPieSeries::GetMaxY()
{
    const SeriesAxis* axis = GetVertAxis();
    return axis ? axis->CurrentMaximum() : 0.0;
}

double TPieSeries::GetMinY()
{
    const SeriesAxis* axis = GetVertAxis();
    return axis ? axis->CurrentMinimum() : 0.0;
}

void TPieSeries::CalcZOrder()
{
    SetCalculatedZOrder(-1);
}

// ---- legend

int TPieSeries::CountLegendItems() const
{
    int listed = 0;
    for (int i = 0; i < Count(); ++i)
        if (IsGrouped(i) == listingOther_ && !IsMissingPoint(i))
            ++listed;
    return listed;
}

// A slice that is no number is not listed, as it is not drawn.
int TPieSeries::LegendToValueIndex(int legendIndex) const
{
    int seen = 0;
    for (int i = 0; i < Count(); ++i)
        if (IsGrouped(i) == listingOther_ && !IsMissingPoint(i) && seen++ == legendIndex)
            return i;
    return legendIndex;
}

void TPieSeries::PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    const bool mono = panel->Canvas().GetMonochrome();
    if (usePatterns_ || mono)
        brushStyle = GetDefaultPattern(std::max(0, valueIndex));
    if (mono)
        color = clBlack;
    PrepareSlicePen(color);
}

void TPieSeries::DrawLegendShape(int valueIndex, const TRect& rect)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || valueIndex < 0) {
        TCircledSeries::DrawLegendShape(valueIndex, rect);
        return;
    }
    TPlotCanvas3D& canvas = panel->Canvas();
    TColor color;
    TBrushStyle style;
    SliceColors(valueIndex, color, style);
    if (!Gradient().Visible()) {
        // Hatched symbols show the circle's back colour between their lines, as the slices do.
        if (color != clNone && style != bsSolid) {
            TChartBrush brush;
            brush.SetStyle(style);
            panel->SetBrushCanvas(color, brush, ResolvedBackColor());
        }
        TCircledSeries::DrawLegendShape(valueIndex, rect);
        return;
    }
    TPlotGradient gradient;
    gradient.Assign(Gradient());
    gradient.SetEndColor(color);
    if (gradientBright_ > 0)
        gradient.SetStartColor(ColorBrighter(color, gradientBright_));
    else if (gradientBright_ < 0)
        gradient.SetStartColor(ColorDarker(color, -gradientBright_));
    gradient.Draw(canvas, rect, 0);
    canvas.Brush().SetStyle(bsClear);
    PrepareSlicePen(color);
    canvas.RectangleRect(rect);
}

// ---- gallery

void TPieSeries::CreateSubGallery(const std::function<void(const QString&)>& add) const
{
    for (PlotMsg id : {PlotMsg::GalleryNormal, PlotMsg::GalleryPatterns, PlotMsg::GalleryExploded,
                       PlotMsg::GalleryShadow, PlotMsg::GalleryMarks, PlotMsg::GallerySemiPie,
                       PlotMsg::GalleryNoBorder, PlotMsg::GalleryDarkBorder})
        add(PlotMessage(id));
}

void TPieSeries::SetSubGallery(int index)
{
    switch (index) {
    case 1:
        SetUsePatterns(true);
        Gradient().SetVisible(false);
        break;
    case 2: SetExplodeBiggest(30); break;
    case 3:
        Shadow().SetHorizSize(10);
        Shadow().SetVertSize(10);
        break;
    case 4: {
        Marks().SetVisible(true);
        Clear();
        AddPie(30, QStringLiteral("A"));
        AddPie(70, QStringLiteral("B"));
        break;
    }
    case 5: SetAngleSize(180); break;
    case 6: Pen().Hide(); break;
    case 7: SetDarkPen(32); break;
    default: break;
    }
}

void TPieSeries::GalleryChanged3D(bool is3D)
{
    if (TCustomAxisPanel* panel = Panel()) {
        TView3DOptions& options = panel->View3DOptions();
        options.SetOrthogonal(false);
        options.SetRotation(0);
        options.SetElevation(305);
    }
    SetCircled(!is3D);
}

void TPieSeries::PrepareForGallery(bool enabled)
{
    FillSampleValues(8);
    if (TCustomAxisPanel* panel = Panel()) {
        panel->SetChart3DPercent(75);
        TView3DOptions& options = panel->View3DOptions();
        options.SetOrthogonal(false);
        options.SetRotation(0);
        options.SetElevation(305);
    }
    Marks().Callout().SetLength(0);
    Marks().SetDrawEvery(1);
    Gradient().SetVisible(true);
    SetColorEachPoint(enabled);
}

void TPieSeries::AddSampleValues(int numValues)
{
    if (numValues <= 0)
        throw ChartException(seriestexts::SampleValuesCount());
    static const PlotMsg kNames[] = {PlotMsg::SampleCars,  PlotMsg::SamplePhones,    PlotMsg::SampleTables,
                                     PlotMsg::SampleMonitors, PlotMsg::SampleLamps, PlotMsg::SampleKeyboards,
                                     PlotMsg::SampleBikes, PlotMsg::SampleChairs};
    std::uniform_int_distribution<int> value(1, 1000);
    UpdateScope scope(*this);
    for (int i = 0; i < numValues; ++i)
        AddPie(value(samples_), PlotMessage(kNames[i % 8]));
}
