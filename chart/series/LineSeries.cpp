// The line, point and area series: settings, value limits, margins, stacking and the hit test.
// Their drawing is in LineSeriesDraw.cpp.
#include "chart/series/LineSeries.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesMarks.h"

#include <algorithm>
#include <cmath>

// ---- TCustomLineSeries

TCustomLineSeries::TCustomLineSeries() = default;

void TCustomLineSeries::Assign(TChartSeries& source)
{
    if (const auto* line = dynamic_cast<const TCustomLineSeries*>(&source))
        treatNulls_ = line->treatNulls_;
    TChartSeries::Assign(source);
}

TChartAxis* TCustomLineSeries::OrderAxis() const
{
    return dynamic_cast<TChartAxis*>(YMandatory() ? GetHorizAxis() : GetVertAxis());
}

TChartAxis* TCustomLineSeries::MeasureAxis() const
{
    return dynamic_cast<TChartAxis*>(YMandatory() ? GetVertAxis() : GetHorizAxis());
}

// The measured value at the edge is interpolated linearly, or geometrically on a logarithmic
// measured axis; converted, it is where the segment meets the edge, whatever pixel far off the
// chart the point before would have (a pixel the conversion may have clamped).
TPoint TCustomLineSeries::EdgeEntry(int from, int to, bool stairs) const
{
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    TChartAxis* orderAxis = OrderAxis();
    TChartAxis* measureAxis = MeasureAxis();
    if (!panel || !orderAxis || !measureAxis)
        return TPoint{XToPixel(from), YToPixel(from)};
    const TRect& r = panel->ChartRect;
    const int edge = YMandatory() ? (orderAxis->Inverted() ? r.Right : r.Left)
                                  : (orderAxis->Inverted() ? r.Top : r.Bottom);
    auto* self = const_cast<TCustomLineSeries*>(this);
    const TChartValueList& order = self->NotMandatoryValueList();
    const TChartValueList& measured = self->MandatoryValueList();
    int pixel = 0;
    const double dx = order.Value(to) - order.Value(from);
    if (stairs || dx == 0.0) {
        pixel = YMandatory() ? YToPixel(from) : XToPixel(from);
    } else {
        const double y0 = measured.Value(from);
        const double y1 = measured.Value(to);
        const double f = (orderAxis->PixelToValue(edge) - order.Value(from)) / dx;
        double y = 0.0;
        if (measureAxis->Logarithmic())
            y = y0 > 0 && y1 > 0 ? std::exp(std::log(y0) + f * (std::log(y1) - std::log(y0))) : 0.0;
        else
            y = y0 + f * (y1 - y0);
        pixel = measureAxis->ValueToPixel(y);
    }
    return YMandatory() ? TPoint{edge, pixel} : TPoint{pixel, edge};
}

// ---- TCustomSeries construction

TCustomSeries::TCustomSeries()
{
    auto repaint = [this] { Repaint(); };
    areaBrush_ = std::make_unique<TChartBrush>(repaint);
    areaLinesPen_ = std::make_unique<TChartPen>(repaint);
    outLine_ = std::make_unique<TChartHiddenPen>(repaint);
    pointer_ = std::make_unique<TSeriesPointer>(this, nullptr);
    shadow_ = std::make_unique<TPlotShadow>(repaint);
    gradient_ = std::make_unique<TPlotGradient>(repaint);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::SetParentChart(ChartParent* chart)
{
    TCustomLineSeries::SetParentChart(chart);
    pointer_->SetParentChart(chart ? chart->AxisPanel() : nullptr);
    drawCache_.Clear();
}

void TCustomSeries::Assign(TChartSeries& source)
{
    if (&source == this)
        return;
    if (const auto* s = dynamic_cast<const TCustomSeries*>(&source)) {
        clickableLine_ = s->clickableLine_;
        areaBrush_->Assign(*s->areaBrush_);
        areaColor_ = s->areaColor_;
        areaLinesPen_->Assign(*s->areaLinesPen_);
        colorEachLine_ = s->colorEachLine_;
        dark3D_ = s->dark3D_;
        drawArea_ = s->drawArea_;
        drawLine_ = s->drawLine_;
        invertedStairs_ = s->invertedStairs_;
        lineHeight_ = s->lineHeight_;
        pointer_->Assign(*s->pointer_);
        stacked_ = s->stacked_;
        stairs_ = s->stairs_;
        outLine_->Assign(*s->outLine_);
        shadow_->Assign(*s->shadow_);
        transparency_ = s->transparency_;
        gradient_->Assign(*s->gradient_);
    }
    TCustomLineSeries::Assign(source);
}

void TCustomSeries::SetTransparency(int value)
{
    SetAndRepaint(transparency_, std::clamp(value, 0, 100));
}

void TCustomSeries::SetStacked(TCustomSeriesStack value)
{
    if (stacked_ == value)
        return;
    stacked_ = value;
    if (ChartParent* chart = ParentChart()) {
        const TChartSeriesList& list = chart->SeriesList();
        for (int i = 0; i < list.Count(); ++i)
            if (auto* other = dynamic_cast<TCustomSeries*>(list[i]); other && other != this && other->IsKindOfSelf(*this))
                other->stacked_ = value;
    }
    Repaint();
}

bool TCustomSeries::IsKindOfSelf(const TCustomSeries& other) const
{
    (void)other;
    return true;
}

TColor TCustomSeries::AreaColorFor(TColor color) const
{
    return !ColorEachPoint() && areaColor_ != clDefault ? areaColor_ : color;
}

bool TCustomSeries::HasClickEvents() const
{
    return TCustomLineSeries::HasClickEvents() || (pointer_->Visible() && OnClickPointer);
}

// ---- axes

TCustomAxisPanel* TCustomSeries::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

TPlotCanvas3D* TCustomSeries::Canvas() const
{
    TCustomAxisPanel* panel = Panel();
    return panel ? &panel->Canvas() : nullptr;
}


// ---- stacking

bool TCustomSeries::IsSameStack(const TCustomSeries& other) const
{
    return IsKindOfSelf(other) || other.IsKindOfSelf(*this);
}

double TCustomSeries::PointOrigin(int valueIndex, bool all) const
{
    const ChartParent* chart = ParentChart();
    if (!chart)
        return 0.0;
    const double own = const_cast<TCustomSeries*>(this)->MandatoryValueList().Value(valueIndex);
    double sum = 0.0;
    const TChartSeriesList& list = const_cast<ChartParent*>(chart)->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* other = dynamic_cast<TCustomSeries*>(list[i]);
        if (!other)
            continue;
        if (other == this && !all)
            break;
        if (!other->Active() || !IsSameStack(*other) || other->Count() <= valueIndex)
            continue;
        // A value that is no number adds nothing to the stack under the others.
        const double v = other->MandatoryValueList().Value(valueIndex);
        if ((own >= 0 ? v > 0 : v < 0) && std::isfinite(v))
            sum += v;
    }
    return sum;
}

int TCustomSeries::CalcStackedPos(int valueIndex, double value) const
{
    TChartAxis* axis = MeasureAxis();
    if (!axis)
        return 0;
    const double v = PointOrigin(valueIndex, false) + value;
    if (stacked_ == cssStack100) {
        const double total = PointOrigin(valueIndex, true);
        return total == 0.0 ? axis->EndPixel() : axis->ValueToPixel(v * 100.0 / total);
    }
    return std::min(axis->EndPixel(), axis->ValueToPixel(v));
}

int TCustomSeries::XToPixel(int valueIndex) const
{
    if (!YMandatory() && (stacked_ == cssStack || stacked_ == cssStack100))
        return CalcStackedPos(valueIndex, GetPointX(valueIndex));
    return TCustomLineSeries::XToPixel(valueIndex);
}

int TCustomSeries::YToPixel(int valueIndex) const
{
    if (YMandatory() && (stacked_ == cssStack || stacked_ == cssStack100))
        return CalcStackedPos(valueIndex, GetPointY(valueIndex));
    return TCustomLineSeries::YToPixel(valueIndex);
}

int TCustomSeries::GetOriginPos(int valueIndex) const
{
    if (stacked_ == cssStack || stacked_ == cssStack100)
        return CalcStackedPos(valueIndex, 0.0);
    TChartAxis* axis = MeasureAxis();
    if (!axis)
        return 0;
    if (UseYOriginValue)
        return axis->ValueToPixel(YOriginValue);
    if (YMandatory())
        return axis->Inverted() ? axis->StartPixel() : axis->EndPixel();
    return axis->Inverted() ? axis->EndPixel() : axis->StartPixel();
}

void TCustomSeries::CalcZOrder()
{
    ChartParent* chart = ParentChart();
    if (stacked_ != cssNone && chart && chart->View3D() && ZOrder() == -1 && chart->MaxZOrder() >= 0) {
        SetCalculatedZOrder(chart->MaxZOrder());
        return;
    }
    TCustomLineSeries::CalcZOrder();
}

// ---- value limits

double TCustomSeries::MandatoryMinMax(bool isMax)
{
    TChartValueList& values = MandatoryValueList();
    if (Count() == 0)
        return 0.0;
    // Without nulls the list's own cached figures answer.
    const TPointColors& colors = PointColors();
    bool anyNull = false;
    for (int r = 0; r < colors.RunCount() && !anyNull; ++r)
        anyNull = colors.RunColor(r) == clNone;
    if (!anyNull || TreatNulls() == tnIgnore)
        return isMax ? values.MaxValue() : values.MinValue();
    const std::span<const double> v = values.Values();
    bool found = false;
    double result = 0.0;
    for (int i = 0; i < Count(); ++i) {
        if (GetPointColor(i) == clNone || !std::isfinite(v[static_cast<size_t>(i)]))
            continue;
        const double x = v[static_cast<size_t>(i)];
        if (!found || (isMax ? x > result : x < result))
            result = x;
        found = true;
    }
    return result;
}

// The range along the values (Y, or X for a horizontal series): 0..100 when stacked to 100 %,
// otherwise the values' own, widened to the stacked sums when stacked.
double TCustomSeries::StackedRange(bool isMax)
{
    if (stacked_ == cssStack100)
        return isMax ? 100.0 : 0.0;
    double result = MandatoryMinMax(isMax);
    if (stacked_ == cssStack) {
        const TChartValueList& values = MandatoryValueList();
        for (int i = 0; i < Count(); ++i) {
            const double sum = PointOrigin(i, false) + values.Value(i);
            result = isMax ? std::max(result, sum) : std::min(result, sum);
        }
    }
    return result;
}

double TCustomSeries::GetMaxY()
{
    return YMandatory() ? StackedRange(true) : TCustomLineSeries::GetMaxY();
}

double TCustomSeries::GetMinY()
{
    return YMandatory() ? StackedRange(false) : TCustomLineSeries::GetMinY();
}

double TCustomSeries::GetMaxX()
{
    return YMandatory() ? TCustomLineSeries::GetMaxX() : StackedRange(true);
}

double TCustomSeries::GetMinX()
{
    return YMandatory() ? TCustomLineSeries::GetMinX() : StackedRange(false);
}

// ---- margins

int TCustomSeries::MarkCalloutSpace() const
{
    auto& marks = const_cast<TCustomSeries*>(this)->Marks();
    return marks.Callout().Length() + marks.Callout().Distance();
}

// The room beyond the highest point (the rightmost, horizontal) for its mark: the callout and the
// largest mark box, so that the mark stands inside the plot, as a bar's does.
int TCustomSeries::MarkRoom() const
{
    auto* self = const_cast<TCustomSeries*>(this);
    const gdi::Size size = self->MaxMarkSize();
    TSeriesMarks& marks = self->Marks();
    const int frame = marks.Pen().Visible() ? 2 * marks.Pen().Width() : 0;
    return MarkCalloutSpace() + (YMandatory() ? size.cy : size.cx) + frame + 1;
}

void TCustomSeries::CalcHorizMargins(int& left, int& right) const
{
    TCustomLineSeries::CalcHorizMargins(left, right);
    pointer_->CalcHorizMargins(left, right);
    auto* self = const_cast<TCustomSeries*>(this);
    if (drawLine_) {
        if (stairs_) {
            left = std::max(left, self->LinePen().Width());
            right = std::max(right, self->LinePen().Width());
        }
        if (outLine_->Visible()) {
            left = std::max(left, outLine_->Width());
            right = std::max(right, outLine_->Width());
        }
    }
    if (!YMandatory() && self->Marks().Visible())
        right = std::max(right, MarkRoom());
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) const
{
    TCustomLineSeries::CalcVerticalMargins(top, bottom);
    pointer_->CalcVerticalMargins(top, bottom);
    auto* self = const_cast<TCustomSeries*>(this);
    if (drawLine_) {
        if (stairs_) {
            top = std::max(top, self->LinePen().Width());
            bottom = std::max(bottom, self->LinePen().Width());
        }
        if (outLine_->Visible()) {
            top = std::max(top, outLine_->Width());
            bottom = std::max(bottom, outLine_->Width());
        }
    }
    if (YMandatory() && self->Marks().Visible())
        top = std::max(top, MarkRoom());
    const ChartParent* chart = ParentChart();
    if (lineHeight_ >= 1 && chart && chart->View3D() && !drawArea_)
        bottom = std::max(bottom, lineHeight_);
}

// ---- hit test

bool TCustomSeries::ClickedPointer(int valueIndex, int pointX, int pointY, int x, int y) const
{
    if (const_cast<TCustomSeries*>(this)->GetPointerStyle(valueIndex) == psNothing)
        return false;
    return std::abs(x - pointX) < pointer_->HorizSize() && std::abs(y - pointY) < pointer_->VertSize();
}

int TCustomSeries::Clicked(int x, int y) const
{
    auto* self = const_cast<TCustomSeries*>(this);
    TCustomAxisPanel* panel = Panel();
    if (panel && panel->View3D()) {
        int32_t px = x, py = y;
        panel->Canvas().UnprojectPoint(px, py, StartZ());
        x = px;
        y = py;
    }
    int result = self->Marks().Clicked(x, y);
    if (result != -1 || FirstValueIndex < 0 || LastValueIndex < 0)
        return result;
    const TPoint mouse{x, y};
    int oldX = 0, oldY = 0;
    const int start = clickableLine_ ? std::max(0, FirstValueIndex - 1) : FirstValueIndex;
    const int last = std::min(LastValueIndex, Count() - 1);
    for (int t = start; t <= last; ++t) {
        const int px = XToPixel(t);
        const int py = YToPixel(t);
        if (pointer_->Visible() && ClickedPointer(t, px, py, x, y)) {
            if (OnClickPointer)
                OnClickPointer(self, t, x, y);
            return t;
        }
        if (px == x && py == y)
            return t;
        if (t > start && clickableLine_) {
            bool onLine;
            if (panel && panel->View3D()) {
                const int dx = panel->SeriesWidth3D, dy = panel->SeriesHeight3D;
                const TPoint quad[4] = {{px, py}, {px + dx, py - dy}, {oldX + dx, oldY - dy}, {oldX, oldY}};
                onLine = PointInPolygon(mouse, quad, 3);
            } else if (stairs_) {
                onLine = invertedStairs_
                             ? PointInLine(mouse, oldX, oldY, oldX, py) || PointInLine(mouse, oldX, py, px, py)
                             : PointInLine(mouse, oldX, oldY, px, oldY) || PointInLine(mouse, px, oldY, px, py);
            } else {
                onLine = PointInLine(mouse, oldX, oldY, px, py);
            }
            if (onLine)
                return t - 1;
            if (drawArea_) {
                const int origin = GetOriginPos(t);
                const int oldOrigin = GetOriginPos(t - 1);
                const int top = stairs_ ? (invertedStairs_ ? py : oldY) : py;
                const int oldTop = stairs_ ? (invertedStairs_ ? py : oldY) : oldY;
                TPoint area[4];
                if (YMandatory())
                    area[0] = {px, origin}, area[1] = {px, top}, area[2] = {oldX, oldTop}, area[3] = {oldX, oldOrigin};
                else
                    area[0] = {origin, py}, area[1] = {px, py}, area[2] = {oldX, oldY}, area[3] = {oldOrigin, oldY};
                if (PointInPolygon(mouse, area, 3))
                    return t - 1;
            }
        }
        oldX = px;
        oldY = py;
    }
    return -1;
}

// ---- line series

TLineSeries::TLineSeries()
{
    SetDrawLine(true);
    Pointer().Hide();
    DrawBetweenPoints = true;
}

void TLineSeries::Assign(TChartSeries& source)
{
    TCustomSeries::Assign(source);
    if (!dynamic_cast<const TLineSeries*>(&source))
        Pointer().Hide();
    SetDrawArea(false);
    SetDrawLine(true);
}

void TLineSeries::CreateSubGallery(const std::function<void(const QString&)>& add) const
{
    for (const PlotMsg caption : {PlotMsg::GalleryNormal, PlotMsg::GalleryColors, PlotMsg::GalleryMarks,
             PlotMsg::GalleryPoints, PlotMsg::GalleryDotted, PlotMsg::GalleryStairs})
        add(PlotMessage(caption));
}

void TLineSeries::SetSubGallery(int index)
{
    switch (index) {
    case 1:
        SetColorEachPoint(true);
        break;
    case 2:
        Marks().SetVisible(true);
        break;
    case 3:
        Pointer().SetVisible(true);
        break;
    case 4:
        LinePen().SetSmallDots(true);
        break;
    case 5:
        SetStairs(true);
        break;
    default:
        break;
    }
}

bool TLineSeries::IsKindOfSelf(const TCustomSeries& other) const
{
    return dynamic_cast<const TLineSeries*>(&other) != nullptr;
}

THorizLineSeries::THorizLineSeries()
{
    SetHorizontal();
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
}

bool THorizLineSeries::IsKindOfSelf(const TCustomSeries& other) const
{
    return dynamic_cast<const THorizLineSeries*>(&other) != nullptr;
}

// ---- point series

TPointSeries::TPointSeries()
{
    Pointer().SetVisible(true);
    SetDrawArea(false);
    SetDrawLine(false);
    SetClickableLine(false);
    Marks().Callout().SetLength(0);
    Marks().Callout().SetDefaultLength(0);
}

void TPointSeries::Assign(TChartSeries& source)
{
    TCustomSeries::Assign(source);
    Pointer().SetVisible(true);
    SetDrawLine(false);
    SetDrawArea(false);
    SetClickableLine(false);
}

void TPointSeries::SetColorEachPoint(bool value)
{
    TCustomSeries::SetColorEachPoint(value);
    if (value)
        Pointer().SetColor(clDefault);
}

bool TPointSeries::IsKindOfSelf(const TCustomSeries& other) const
{
    return dynamic_cast<const TPointSeries*>(&other) != nullptr;
}

void TPointSeries::CreateSubGallery(const std::function<void(const QString&)>& add) const
{
    for (const PlotMsg caption : {PlotMsg::GalleryNormal, PlotMsg::GalleryColors, PlotMsg::GalleryMarks,
             PlotMsg::GalleryHollow, PlotMsg::GalleryNoBorder, PlotMsg::EditorGradient})
        add(PlotMessage(caption));
    if (!HasStyleSubGallery())
        return;
    for (const PlotMsg caption : {PlotMsg::GalleryPoint2D, PlotMsg::GalleryTriangle, PlotMsg::GalleryStar,
             PlotMsg::GalleryCircle, PlotMsg::GalleryDownTriangle, PlotMsg::GalleryCross,
             PlotMsg::GalleryDiamond, PlotMsg::GalleryHexagon})
        add(PlotMessage(caption));
}

void TPointSeries::SetSubGallery(int index)
{
    TSeriesPointer& pointer = Pointer();
    switch (index) {
    case 1:
        SetColorEachPoint(true);
        break;
    case 2:
        Marks().SetVisible(true);
        break;
    case 3:
        pointer.Brush().SetStyle(bsClear);
        break;
    case 4:
        pointer.Pen().Hide();
        break;
    case 5:
        pointer.Gradient().SetVisible(true);
        break;
    default:
        break;
    }
    if (index < 6 || !HasStyleSubGallery())
        return;
    switch (index) {
    case 6:
        pointer.SetDraw3D(false);
        break;
    case 7:
        pointer.SetStyle(psTriangle);
        break;
    case 8:
        pointer.SetStyle(psStar);
        break;
    case 9:
        pointer.SetStyle(psCircle);
        pointer.SetHorizSize(8);
        pointer.SetVertSize(8);
        break;
    case 10:
        pointer.SetStyle(psDownTriangle);
        break;
    case 11:
        pointer.SetStyle(psCross);
        break;
    case 12:
        pointer.SetStyle(psDiamond);
        break;
    case 13:
        pointer.SetStyle(psHexagon);
        break;
    default:
        break;
    }
}

void TPointSeries::PrepareForGallery(bool enabled)
{
    (void)enabled;
    TCustomAxisPanel* panel = ParentChart() ? ParentChart()->AxisPanel() : nullptr;
    const int half = panel && panel->width() < 50 ? 4 : 6;
    Pointer().SetHorizSize(half);
    Pointer().SetVertSize(half);
    if (panel && panel->SeriesCount() > 1 && panel->Series(1) == this)
        Pointer().SetStyle(psTriangle);
}

// ---- area series

TAreaSeries::TAreaSeries()
{
    SetDrawArea(true);
    SetDrawLine(true);
    Pointer().Hide();
    DrawBetweenPoints = true;
}

void TAreaSeries::Assign(TChartSeries& source)
{
    TCustomSeries::Assign(source);
    SetDrawArea(true);
    SetDrawLine(true);
    if (const auto* area = dynamic_cast<const TAreaSeries*>(&source)) {
        YOriginValue = area->YOriginValue;
        UseYOriginValue = area->UseYOriginValue;
        stackGroup_ = area->stackGroup_;
    } else {
        Pointer().Hide();
    }
}

bool TAreaSeries::IsKindOfSelf(const TCustomSeries& other) const
{
    return dynamic_cast<const TAreaSeries*>(&other) != nullptr;
}

void TAreaSeries::SetYOrigin(double value)
{
    SetAndRepaint(YOriginValue, value);
}

void TAreaSeries::SetUseYOrigin(bool value)
{
    SetAndRepaint(UseYOriginValue, value);
}

TMultiArea TAreaSeries::MultiArea() const
{
    switch (Stacked()) {
    case cssStack: return maStacked;
    case cssStack100: return maStacked100;
    default: return maNone;
    }
}

void TAreaSeries::SetMultiArea(TMultiArea value)
{
    SetStacked(value == maStacked ? cssStack : value == maStacked100 ? cssStack100 : cssNone);
}

bool TAreaSeries::IsSameStack(const TCustomSeries& other) const
{
    const auto* area = dynamic_cast<const TAreaSeries*>(&other);
    return TCustomSeries::IsSameStack(other) && area && area->stackGroup_ == stackGroup_;
}

// A stacked area shares the depth of the first earlier active series of its stack.
void TAreaSeries::CalcZOrder()
{
    ChartParent* chart = ParentChart();
    if (MultiArea() != maNone && chart) {
        const TChartSeriesList& list = chart->SeriesList();
        for (int i = 0; i < list.Count() && list[i] != this; ++i)
            if (auto* other = dynamic_cast<TAreaSeries*>(list[i]); other && other->Active() && IsSameStack(*other)) {
                SetCalculatedZOrder(other->CalculatedZOrder());
                return;
            }
    }
    TCustomSeries::CalcZOrder();
}

bool TAreaSeries::IsNormalSideView() const
{
    const TChartAxis* axis = dynamic_cast<const TChartAxis*>(YMandatory() ? GetVertAxis() : GetHorizAxis());
    return !axis || !axis->Inverted();
}

double TAreaSeries::GetMaxY()
{
    const double result = TCustomSeries::GetMaxY();
    return UseYOriginValue && YMandatory() ? std::max(result, YOriginValue) : result;
}

double TAreaSeries::GetMinY()
{
    const double result = TCustomSeries::GetMinY();
    return UseYOriginValue && YMandatory() ? std::min(result, YOriginValue) : result;
}

double TAreaSeries::GetMaxX()
{
    const double result = TCustomSeries::GetMaxX();
    return UseYOriginValue && !YMandatory() ? std::max(result, YOriginValue) : result;
}

double TAreaSeries::GetMinX()
{
    const double result = TCustomSeries::GetMinX();
    return UseYOriginValue && !YMandatory() ? std::min(result, YOriginValue) : result;
}

THorizAreaSeries::THorizAreaSeries()
{
    SetHorizontal();
    XValues().SetOrder(loNone);
    YValues().SetOrder(loAscending);
    Gradient().SetDirection(gdRightLeft);
}

bool THorizAreaSeries::IsKindOfSelf(const TCustomSeries& other) const
{
    return dynamic_cast<const THorizAreaSeries*>(&other) != nullptr;
}
