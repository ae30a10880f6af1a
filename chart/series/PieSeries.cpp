// The circled series base, the slice lists and the parts of a pie series (other slice, marks).
#include "chart/series/PieSeries.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFont.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"
#include "chart/series/Chart.h"
#include "chart/series/LibraryTexts.h"
#include "platform/gdi/DeviceContext.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int RoundEvenInt(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

// ---- TSliceValueList

int TSliceValueList::Value(int index) const
{
    return index >= 0 && index < Count() ? values_[static_cast<size_t>(index)] : 0;
}

void TSliceValueList::SetValue(int index, int value)
{
    if (index < 0)
        return;
    if (index >= Count())
        values_.resize(static_cast<size_t>(index) + 1, 0);
    if (values_[static_cast<size_t>(index)] == value)
        return;
    values_[static_cast<size_t>(index)] = value;
    if (onChange_)
        onChange_();
}

void TSliceValueList::Delete(int index)
{
    if (index >= 0 && index < Count())
        values_.erase(values_.begin() + index);
}

void TSliceValueList::Swap(int a, int b)
{
    if (a < 0 || b < 0)
        return;
    const int needed = std::max(a, b) + 1;
    if (Count() < needed)
        values_.resize(static_cast<size_t>(needed), 0);
    std::swap(values_[static_cast<size_t>(a)], values_[static_cast<size_t>(b)]);
}

void TSliceValueList::Clear()
{
    values_.clear();
}

void TSliceValueList::Assign(const TSliceValueList& source)
{
    values_ = source.values_;
}

// ---- TCircledShadow

TCircledShadow::TCircledShadow(TNotifyEvent onChange) : TPlotShadow(std::move(onChange))
{
    InitDefaults(0xA0A0A0, 3);
}

// ---- TCircledSeries

TCircledSeries::TCircledSeries()
    : shadow_(std::make_unique<TCircledShadow>([this] { Repaint(); }))
    , gradient_(std::make_unique<TPlotGradient>([this] { Repaint(); }))
{
    XValues().SetName(QStringLiteral("Angle"));
    CalcVisiblePoints = false;
}

TCircledSeries::~TCircledSeries()
{
    Restore3DView();
}

TCustomAxisPanel* TCircledSeries::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

TCustomChart* TCircledSeries::Chart() const
{
    return dynamic_cast<TCustomChart*>(Panel());
}

bool TCircledSeries::IsSameClass(const TChartSeries& other) const
{
    return dynamic_cast<const TCircledSeries*>(&other) != nullptr && other.ClassName() == ClassName();
}

template <class F> void TCircledSeries::ForEachSameClass(F f)
{
    ChartParent* chart = ParentChart();
    if (!chart) {
        f(*this);
        return;
    }
    TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (auto* other = dynamic_cast<TCircledSeries*>(list[i]); other && IsSameClass(*other))
            f(*other);
}

void TCircledSeries::SetCircled(bool value)
{
    const bool loading = ParentChart() && ParentChart()->ChartLoading();
    ForEachSameClass([&](TCircledSeries& s) {
        s.circled_ = value;
        if (!loading)
            s.customXRadius_ = s.customYRadius_ = 0;
    });
    Repaint();
}

void TCircledSeries::SetCustomXRadius(int value)
{
    ForEachSameClass([&](TCircledSeries& s) { s.customXRadius_ = value; });
    Repaint();
}

void TCircledSeries::SetCustomYRadius(int value)
{
    ForEachSameClass([&](TCircledSeries& s) { s.customYRadius_ = value; });
    Repaint();
}

void TCircledSeries::SetRotationAngle(int value)
{
    const int angle = ((value % 360) + 360) % 360;
    if (angle == rotationAngle_)
        return;
    rotationAngle_ = angle;
    rotation_ = angle * std::numbers::pi / 180.0;
    Repaint();
}

void TCircledSeries::Assign(TChartSeries& source)
{
    if (auto* s = dynamic_cast<TCircledSeries*>(&source)) {
        circled_ = s->circled_;
        SetRotationAngle(s->rotationAngle_);
        customXRadius_ = s->customXRadius_;
        customYRadius_ = s->customYRadius_;
        circleBackColor_ = s->circleBackColor_;
        gradient_->Assign(*s->gradient_);
        shadow_->Assign(*s->shadow_);
    }
    TChartSeries::Assign(source);
}

// The chart's view is turned once, by the first circled series that arrives; whoever holds the
// saved view gives it back, or hands it to another circled series that stays.
void TCircledSeries::Save3DView()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || saved3D_ || ParentChart()->ChartDestroying() || panel->Canvas().GetSupportsFeature3D())
        return;
    TChartSeriesList& list = ParentChart()->SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (auto* other = dynamic_cast<TCircledSeries*>(list[i]); other && other != this && other->saved3D_)
            return;
    TView3DOptions& options = panel->View3DOptions();
    saved3D_ = std::make_unique<TView3DOptions>();
    saved3D_->Assign(options);
    options.SetOrthogonal(false);
    options.SetRotation(360);
    options.SetElevation(315);
    options.SetPerspective(0);
    options.SetTilt(0);
}

void TCircledSeries::Restore3DView()
{
    if (!saved3D_)
        return;
    std::unique_ptr<TView3DOptions> saved = std::move(saved3D_);
    TCustomAxisPanel* panel = Panel();
    if (!panel || ParentChart()->ChartDestroying())
        return;
    TChartSeriesList& list = ParentChart()->SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (auto* other = dynamic_cast<TCircledSeries*>(list[i]); other && other != this && other->Active()) {
            other->saved3D_ = std::move(saved);
            return;
        }
    panel->View3DOptions().Assign(*saved);
}

void TCircledSeries::SetParentChart(ChartParent* chart)
{
    if (chart == ParentChart())
        return;
    Restore3DView();
    TChartSeries::SetParentChart(chart);
    if (chart && Active())
        Save3DView();
}

void TCircledSeries::SetActive(bool value)
{
    const bool was = Active();
    TChartSeries::SetActive(value);
    if (was == Active())
        return;
    if (Active())
        Save3DView();
    else
        Restore3DView();
}

void TCircledSeries::SetCircleRect(const TRect& rect)
{
    circleRect_ = rect;
    AdjustCircleRect();
}

void TCircledSeries::AdjustCircleRect()
{
    TRect& r = circleRect_;
    if ((r.Right - r.Left) % 2 != 0)
        --r.Right;
    if ((r.Bottom - r.Top) % 2 != 0)
        --r.Bottom;
    if (r.Right - r.Left < 4)
        r.Right = r.Left + 4;
    if (r.Bottom - r.Top < 4)
        r.Bottom = r.Top + 4;
    circleWidth_ = r.Right - r.Left;
    circleHeight_ = r.Bottom - r.Top;
    circleXCenter_ = (r.Left + r.Right) / 2;
    circleYCenter_ = (r.Top + r.Bottom) / 2;
}

void TCircledSeries::CalcRadius()
{
    if (customXRadius_ != 0) {
        xRadius_ = customXRadius_;
        circleWidth_ = 2 * customXRadius_;
    } else {
        xRadius_ = circleWidth_ / 2;
    }
    if (customYRadius_ != 0) {
        yRadius_ = customYRadius_;
        circleHeight_ = 2 * customYRadius_;
    } else {
        yRadius_ = circleHeight_ / 2;
    }
    circleRect_ = TRect{circleXCenter_ - xRadius_, circleYCenter_ - yRadius_, circleXCenter_ + xRadius_,
                        circleYCenter_ + yRadius_};
}

double TCircledSeries::DevicePixelAspect(TCanvas3D& canvas)
{
    gdi::DeviceContext* dc = canvas.GetHandle();
    const QImage* image = dc ? dc->SourceImage() : nullptr;
    if (!image || image->width() <= 0 || image->height() <= 0)
        return 1.0;
    // Physical size = pixels / dots per metre; the aspect of the pixels is the ratio of the two
    // densities. A device that reports no physical size counts as square pixels.
    const double across = image->dotsPerMeterX();
    const double down = image->dotsPerMeterY();
    if (across <= 0 || down <= 0)
        return 1.0;
    return across / down;
}

void TCircledSeries::ApplyCircled()
{
    TCustomAxisPanel* panel = Panel();
    const double r = panel ? DevicePixelAspect(panel->Canvas()) : 1.0;
    const int xr = circleWidth_ / 2;
    const int yr = circleHeight_ / 2;
    TRect& rect = circleRect_;
    if (xr > RoundEvenInt(yr * r)) {
        const int d = xr - RoundEvenInt(yr * r);
        rect.Left += d;
        rect.Right -= d;
    } else {
        const int d = yr - RoundEvenInt(xr / r);
        rect.Top += d;
        rect.Bottom -= d;
    }
    AdjustCircleRect();
}

void TCircledSeries::ShrinkForMarks()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    TSeriesMarks& marks = Marks();
    TPlotCanvas3D& canvas = panel->Canvas();
    int d = marks.Callout().Length();
    if (marks.Pen().Visible())
        d += 2 * marks.Pen().Width();
    canvas.AssignFont(&marks.Font());
    const int h = canvas.FontHeight() + d;
    const int w = canvas.TextWidth(QStringLiteral("W")) + MaxMarkWidth() + d;
    circleRect_.Left += w;
    circleRect_.Right -= w;
    circleRect_.Top += h;
    circleRect_.Bottom -= h;
    AdjustCircleRect();
}

void TCircledSeries::ShrinkCircle(int dx, int dy)
{
    circleRect_.Left += dx;
    circleRect_.Right -= dx;
    circleRect_.Top += dy;
    circleRect_.Bottom -= dy;
    AdjustCircleRect();
    CalcRadius();
}

void TCircledSeries::CalcCircleRect()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel) {
        CalcRadius();
        return;
    }
    layingOut_ = true;
    circleRect_ = panel->ChartRect;
    AdjustCircleRect();
    if (Marks().Visible() && AdjustForMarks) {
        ShrinkForMarks();
    } else if (!OwnCell) {
        // Without room for marks of its own the series shares the circle of the first active one
        // of its class that shows marks, letting it lay out first when it comes later.
        TChartSeriesList& list = ParentChart()->SeriesList();
        for (int i = 0; i < list.Count(); ++i) {
            auto* other = dynamic_cast<TCircledSeries*>(list[i]);
            if (!other || other == this || !other->Active() || !IsSameClass(*other) || !other->Marks().Visible())
                continue;
            if (i > list.IndexOf(this) && !other->layingOut_)
                other->CalcCircleRect();
            circleRect_ = other->circleRect_;
            AdjustCircleRect();
            break;
        }
    }
    if (circled_)
        ApplyCircled();
    CalcRadius();
    layingOut_ = false;
}

void TCircledSeries::DoBeforeDrawValues()
{
    CalcCircleRect();
    TChartSeries::DoBeforeDrawValues();
}

TPoint TCircledSeries::AngleToPos(double angle, double xRadius, double yRadius) const
{
    const double a = angle + rotation_;
    return TPoint{circleXCenter_ + RoundEvenInt(xRadius * std::cos(a)),
                  circleYCenter_ - RoundEvenInt(yRadius * std::sin(a))};
}

TColor TCircledSeries::ResolvedBackColor() const
{
    if (circleBackColor_ != clDefault)
        return circleBackColor_;
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return clWhite;
    if (panel->Printing || panel->Canvas().Metafiling)
        return clWhite;
    if (TCustomChart* chart = Chart()) {
        TChartBackWall& wall = chart->BackWall();
        if (!wall.Transparent())
            return wall.Color();
    }
    return panel->Color();
}

void TCircledSeries::DrawCircleBack()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    const bool is3D = panel->View3D();
    if (is3D && !panel->View3DOptions().Orthogonal())
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    if (shadow_->Visible() && shadow_->GetSize() != 0)
        shadow_->DrawEllipse(canvas, circleRect_, EndZ());
    // A hidden gradient paints nothing, here as everywhere.
    if (!gradient_->Visible())
        return;
    TRect r = is3D ? canvas.CalcRect3D(circleRect_, EndZ()) : circleRect_;
    // Flat, the background stays inside the slices' rim, one pixel in from the circle: a wider
    // clip left a ring of the gradient's end colour around the rim.
    const TRect clip = is3D ? TRect{r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2}
                            : TRect{r.Left + 1, r.Top + 1, r.Right, r.Bottom};
    canvas.ClipEllipse(clip, false);
    gradient_->Draw(canvas, r, 0);
    canvas.UnClipRectangle();
}

// ---- TPieOtherSlice

TPieOtherSlice::TPieOtherSlice(TPieSeries& series) : series_(series) {}

TPieOtherSlice::~TPieOtherSlice() = default;

void TPieOtherSlice::Assign(const TPieOtherSlice& source)
{
    color_ = source.color_;
    style_ = source.style_;
    text_ = source.text_;
    value_ = source.value_;
    if (source.legend_)
        Legend().Assign(*source.legend_);
}

void TPieOtherSlice::SetColor(TColor value)
{
    if (color_ != value) {
        color_ = value;
        series_.Repaint();
    }
}

void TPieOtherSlice::SetStyle(TPieOtherStyle value)
{
    if (style_ != value) {
        style_ = value;
        series_.Repaint();
    }
}

void TPieOtherSlice::SetText(const QString& value)
{
    if (text_ != value) {
        text_ = value;
        series_.Repaint();
    }
}

void TPieOtherSlice::SetValue(double value)
{
    if (value_ != value) {
        value_ = value;
        series_.Repaint();
    }
}

QString TPieOtherSlice::ShownText() const
{
    if (!text_.isEmpty())
        return text_;
    if (texts_ && !(*texts_)[LibText::OtherItems].isEmpty())
        return (*texts_)[LibText::OtherItems];
    return QStringLiteral("Other");
}

TChartLegend& TPieOtherSlice::Legend()
{
    if (!legend_) {
        auto* chart = dynamic_cast<TCustomChart*>(series_.ParentChart() ? series_.ParentChart()->AxisPanel() : nullptr);
        legend_ = std::make_unique<TChartLegend>(chart);
        legend_->SetVisible(false);
        legend_->SetResizeChart(false);
    }
    return *legend_;
}

void TPieOtherSlice::ChartChanged()
{
    if (!legend_)
        return;
    auto* chart = dynamic_cast<TCustomChart*>(series_.ParentChart() ? series_.ParentChart()->AxisPanel() : nullptr);
    auto moved = std::make_unique<TChartLegend>(chart);
    moved->Assign(*legend_);
    legend_ = std::move(moved);
}

// ---- TPieMarks

void TPieMarks::Assign(const TPieMarks& source)
{
    legSize_ = source.legSize_;
    vertCenter_ = source.vertCenter_;
}

void TPieMarks::SetLegSize(int value)
{
    if (legSize_ != value) {
        legSize_ = value;
        if (onChange_)
            onChange_();
    }
}

void TPieMarks::SetVertCenter(bool value)
{
    if (vertCenter_ != value) {
        vertCenter_ = value;
        if (onChange_)
            onChange_();
    }
}
