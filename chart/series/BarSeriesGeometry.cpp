// Where the bars of a bar series stand: the axes they use, the layout shared by the chart's
// series of the class, bar sizes and margins, positions and origins, value ranges, depth and the
// hit test.
#include "chart/series/BarSeries.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int Rnd(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

bool IsStacked(TMultiBar multi)
{
    return multi == mbStacked || multi == mbStacked100;
}

} // namespace

// ---- axes

TCustomAxisPanel* TCustomBarSeries::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

TChartAxis* TCustomBarSeries::CategoryAxis() const
{
    return dynamic_cast<TChartAxis*>(IsVertical() ? GetHorizAxis() : GetVertAxis());
}

TChartAxis* TCustomBarSeries::ValueAxis() const
{
    return dynamic_cast<TChartAxis*>(IsVertical() ? GetVertAxis() : GetHorizAxis());
}

// ---- layout

bool TCustomBarSeries::IsSameClass(const TChartSeries& other) const
{
    const auto* bar = dynamic_cast<const TCustomBarSeries*>(&other);
    return bar && bar->Active() && (IsKindOfSelf(*bar) || bar->IsKindOfSelf(*this));
}

std::vector<TCustomBarSeries*> TCustomBarSeries::SameClassSeries() const
{
    std::vector<TCustomBarSeries*> result;
    if (ChartParent* chart = ParentChart()) {
        const TChartSeriesList& list = chart->SeriesList();
        for (int i = 0; i < list.Count(); ++i)
            if (auto* bar = dynamic_cast<TCustomBarSeries*>(list[i]); bar && IsSameClass(*bar))
                result.push_back(bar);
    }
    return result;
}

int TCustomBarSeries::IndexInChart() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->SeriesList().IndexOf(this) : 0;
}

void TCustomBarSeries::RebuildLayout() const
{
    BarLayout l;
    l.BarSize = layout_.BarSize;
    ChartParent* chart = ParentChart();
    if (!chart) {
        layout_ = l;
        return;
    }
    std::vector<int> groups;
    bool reached = false;
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(list[i]);
        if (!series || !series->Active())
            continue;
        if (!IsSameClass(*series)) {
            if (series->YMandatory() && l.MaxBarPoints < series->Count())
                l.MaxBarPoints = series->Count();
            continue;
        }
        const auto* bar = static_cast<const TCustomBarSeries*>(series);
        if (bar == this)
            reached = true;
        const int n = bar->Count();
        if (l.MaxBarPoints == -1 || l.MaxBarPoints < n)
            l.MaxBarPoints = n + (sideMargins_ && n >= 1 ? 1 : 0);
        switch (multiBar_) {
        case mbNone:
        case mbSelfStack: l.BarCount = 1; break;
        case mbSide:
        case mbSideAll:
            ++l.BarCount;
            if (!reached)
                ++l.OrderPosition;
            break;
        case mbStacked:
        case mbStacked100:
            if (std::find(groups.begin(), groups.end(), bar->stackGroup_) == groups.end()) {
                groups.push_back(bar->stackGroup_);
                ++l.BarCount;
                if (!reached)
                    ++l.OrderPosition;
            }
            break;
        }
        if (!reached)
            l.PreviousCount += n;
    }
    if (IsStacked(multiBar_)) {
        const auto found = std::find(groups.begin(), groups.end(), stackGroup_);
        if (found != groups.end())
            l.OrderPosition = static_cast<int>(found - groups.begin()) + 1;
    }
    const int perPage = chart->MaxPointsPerPage();
    if (multiBar_ == mbSelfStack)
        l.MaxBarPoints = perPage > 0 ? perPage : l.BarCount;
    else if (perPage > 0)
        l.MaxBarPoints = perPage;
    layout_ = l;
}

void TCustomBarSeries::DoBeforeDrawChart()
{
    TChartSeries::DoBeforeDrawChart();
    RebuildLayout();
}

void TCustomBarSeries::CalcBarSize() const
{
    RebuildLayout();
    if (customBarSize_ != 0) {
        layout_.BarSize = customBarSize_;
        return;
    }
    layout_.BarSize = 0;
    const TChartAxis* axis = CategoryAxis();
    if (layout_.MaxBarPoints < 1 || !axis)
        return;
    int slot;
    if (autoBarSize_) {
        slot = Rnd(axis->SizePixels() / (2.0 + axis->Maximum() - axis->Minimum()));
    } else if (axis->Automatic()) {
        slot = axis->SizePixels() / layout_.MaxBarPoints;
    } else {
        auto& categories = const_cast<TCustomBarSeries*>(this)->NotMandatoryValueList();
        const double low = Count() > 0 ? categories.MinValue() : 0.0;
        const double high = Count() > 0 ? categories.MaxValue() : 0.0;
        const double d = Count() > 0 ? (high - low) / Count() : 0.0;
        slot = std::abs(axis->ValueToPixel(high + d) - axis->ValueToPixel(low)) / layout_.MaxBarPoints;
    }
    int size = Rnd(barWidthPercent_ * 0.01 * slot) / layout_.Divisor();
    if (size % 2 != 0)
        ++size;
    layout_.BarSize = size;
}

void TCustomBarSeries::CategoryMargins(int& first, int& second) const
{
    CalcBarSize();
    int w = multiBar_ == mbSideAll ? layout_.BarSize : layout_.BarSize * layout_.BarCount;
    if (!sideMargins_)
        w /= 2;
    first += w;
    second += w;
}

int TCustomBarSeries::MarkLength() const
{
    auto* self = const_cast<TCustomBarSeries*>(this);
    TSeriesMarks& marks = self->Marks();
    if (Count() == 0 || !marks.Visible())
        return 0;
    // The marks' text as tall or as wide as it is drawn: a mark of several lines takes them all.
    const gdi::Size text = self->MaxMarkSize();
    int size = IsVertical() ? text.cy : text.cx;
    size += marks.Callout().Length();
    if (marks.Pen().Visible())
        size += 2 * marks.Pen().Width();
    return size;
}

void TCustomBarSeries::CalcHorizMargins(int& left, int& right) const
{
    TChartSeries::CalcHorizMargins(left, right);
    if (IsVertical()) {
        CategoryMargins(left, right);
        return;
    }
    int m = MarkLength();
    if (m >= 1)
        ++m;
    auto& values = const_cast<TCustomBarSeries*>(this)->MandatoryValueList();
    if (useYOrigin_ && values.MinValue() < yOrigin_)
        left += m;
    if (!(useYOrigin_ && values.MaxValue() <= yOrigin_)) {
        const TChartAxis* axis = ValueAxis();
        (axis && axis->Inverted() ? left : right) += m;
    }
}

void TCustomBarSeries::CalcVerticalMargins(int& top, int& bottom) const
{
    TChartSeries::CalcVerticalMargins(top, bottom);
    if (!IsVertical()) {
        CategoryMargins(top, bottom);
        return;
    }
    const int m = MarkLength();
    if (m <= 0)
        return;
    const TChartAxis* axis = ValueAxis();
    const bool inverted = axis && axis->Inverted();
    auto& values = const_cast<TCustomBarSeries*>(this)->MandatoryValueList();
    if (useYOrigin_ && values.MinValue() < yOrigin_)
        (inverted ? top : bottom) += m + 1;
    if (!(useYOrigin_ && values.MaxValue() <= yOrigin_))
        (inverted ? bottom : top) += m + 1;
}

// ---- positions

double TCustomBarSeries::PointOrigin(int valueIndex, bool sumAll) const
{
    auto& own = const_cast<TCustomBarSeries*>(this)->MandatoryValueList();
    if (multiBar_ == mbSelfStack) {
        double sum = 0.0;
        for (int i = 0; i < valueIndex && i < Count(); ++i)
            if (std::isfinite(own.Value(i)))
                sum += own.Value(i);
        return sum;
    }
    if (!IsStacked(multiBar_))
        return yOrigin_;
    ChartParent* chart = ParentChart();
    if (!chart)
        return 0.0;
    const bool negative = own.Value(valueIndex) < 0;
    double sum = 0.0;
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* bar = dynamic_cast<TCustomBarSeries*>(list[i]);
        if (bar == this && !sumAll)
            break;
        if (!bar || !IsSameClass(*bar) || bar->Count() <= valueIndex || bar->stackGroup_ != stackGroup_)
            continue;
        // A value that is no number is no bar, and raises none above it.
        const double v = bar->MandatoryValueList().Value(valueIndex);
        if ((negative ? v < 0 : v >= 0) && std::isfinite(v))
            sum += v;
    }
    return sum;
}

double TCustomBarSeries::StackedValue(int valueIndex) const
{
    return PointOrigin(valueIndex, false) + const_cast<TCustomBarSeries*>(this)->MandatoryValueList().Value(valueIndex);
}

// With a stacked-100 total of 0 there is no share to show: both ends go to the axis' 0 %, a
// bar of no length inside the chart.
int TCustomBarSeries::ValuePos(int valueIndex) const
{
    const double value = const_cast<TCustomBarSeries*>(this)->MandatoryValueList().Value(valueIndex);
    switch (multiBar_) {
    case mbStacked:
    case mbSelfStack: return CalcPosValue(StackedValue(valueIndex));
    case mbStacked100: {
        const double total = PointOrigin(valueIndex, true);
        return CalcPosValue(total == 0.0 ? 0.0 : StackedValue(valueIndex) * 100.0 / total);
    }
    default: return CalcPosValue(value);
    }
}

int TCustomBarSeries::BarOriginPos(int valueIndex, int fallback) const
{
    switch (multiBar_) {
    case mbStacked:
    case mbSelfStack: return CalcPosValue(PointOrigin(valueIndex, false));
    case mbStacked100: {
        const double total = PointOrigin(valueIndex, true);
        return CalcPosValue(total == 0.0 ? 0.0 : PointOrigin(valueIndex, false) * 100.0 / total);
    }
    default: return useYOrigin_ ? CalcPosValue(yOrigin_) : fallback;
    }
}

int TCustomBarSeries::CategoryPos(int valueIndex) const
{
    auto pixel = [this](double value) { return IsVertical() ? CalcXPosValue(value) : CalcYPosValue(value); };
    const int size = layout_.BarSize;
    int p;
    switch (multiBar_) {
    case mbSideAll: p = pixel(layout_.PreviousCount + valueIndex) - size / 2; break;
    case mbSelfStack: p = pixel(IndexInChart()) - size / 2; break;
    case mbNone:
        p = pixel(const_cast<TCustomBarSeries*>(this)->NotMandatoryValueList().Value(valueIndex)) - size / 2;
        break;
    default:
        p = pixel(const_cast<TCustomBarSeries*>(this)->NotMandatoryValueList().Value(valueIndex))
            + Rnd(size * (layout_.OrderPosition - layout_.BarCount * 0.5 - 1));
        break;
    }
    if (offsetPercent_ != 0)
        p += Rnd(offsetPercent_ * size * 0.01);
    return p;
}

int TCustomBarSeries::XToPixel(int valueIndex) const
{
    return IsVertical() ? CategoryPos(valueIndex) : ValuePos(valueIndex);
}

int TCustomBarSeries::YToPixel(int valueIndex) const
{
    return IsVertical() ? ValuePos(valueIndex) : CategoryPos(valueIndex);
}

QPoint TCustomBarSeries::CalcPointPos(int valueIndex) const
{
    QPoint p = TChartSeries::CalcPointPos(valueIndex);
    if (IsVertical())
        p.rx() += layout_.BarSize / 2;
    else
        p.ry() += layout_.BarSize / 2;
    return p;
}

TRect TCustomBarSeries::CalcBarBounds(int valueIndex) const
{
    auto* self = const_cast<TCustomBarSeries*>(this);
    const bool penVisible = self->Pen().Visible();
    const int penWidth = self->Pen().Width();
    const int size = layout_.BarSize;
    const bool touching = barWidthPercent_ == 100 && customBarSize_ == 0 && multiBar_ != mbSelfStack;
    const bool last = valueIndex >= Count() - 1;
    const TChartAxis* category = CategoryAxis();
    const bool categoryInverted = category && category->Inverted();
    TRect r{};
    if (IsVertical()) {
        const TChartAxis* values = ValueAxis();
        r.Left = CategoryPos(valueIndex);
        r.Top = ValuePos(valueIndex);
        r.Bottom = BarOriginPos(valueIndex, values ? values->EndPixel() : 0);
        r.Right = r.Left + size + 1;
        if (touching) {
            const int p = penVisible ? std::max(1, penWidth) : 0;
            if (categoryInverted)
                r.Right = valueIndex > 0 ? CategoryPos(valueIndex - 1) : r.Left + size + p;
            else
                r.Right = !last ? CategoryPos(valueIndex + 1) + 1 - p / 2 : r.Left + size + 1 - p / 2;
        }
        if (!penVisible) {
            ++(r.Top > r.Bottom ? r.Top : r.Bottom);
            ++r.Right;
        }
        return r;
    }
    const TChartAxis* values = ValueAxis();
    r.Top = CategoryPos(valueIndex);
    r.Bottom = r.Top + size - 1;
    if (touching) {
        const int p = penVisible ? penWidth : 0;
        if (!categoryInverted)
            r.Bottom = valueIndex > 0 ? CategoryPos(valueIndex - 1) : r.Top + size - p;
        else
            r.Bottom = !last ? CategoryPos(valueIndex + 1) : r.Top + size - p;
    }
    r.Right = ValuePos(valueIndex);
    r.Left = BarOriginPos(valueIndex, values ? values->StartPixel() : 0);
    if (!penVisible) {
        if (r.Left >= r.Right) {
            ++r.Left;
            --r.Right;
        } else {
            ++r.Right;
        }
        ++r.Bottom;
    }
    return r;
}

// ---- value ranges

// The value axis' range: stacked layouts reach the stacked sums, 100 % layouts 0..100, a
// self-stacked series its total; the origin is included when bars start there.
double TCustomBarSeries::ValueRangeMax(double plainMax, double total)
{
    double result = plainMax;
    if (multiBar_ == mbStacked100)
        result = 100.0;
    else if (multiBar_ == mbSelfStack)
        result = total;
    else if (multiBar_ == mbStacked)
        for (int i = 0; i < Count(); ++i)
            result = std::max(result, StackedValue(i));
    return useYOrigin_ ? std::max(result, yOrigin_) : result;
}

double TCustomBarSeries::ValueRangeMin(double plainMin)
{
    double result = plainMin;
    if (multiBar_ == mbStacked100)
        result = 0.0;
    else if (multiBar_ == mbStacked || multiBar_ == mbSelfStack)
        for (int i = 0; i < Count(); ++i)
            result = std::min(result, StackedValue(i));
    // A logarithmic value axis has no place for an origin at or below zero: the bars stand on
    // the axis' start, which the smallest value sets, as it does for a line.
    const TChartAxis* axis = ValueAxis();
    const bool originShown = !(axis && axis->Logarithmic() && yOrigin_ <= 0 && result > 0);
    return useYOrigin_ && originShown ? std::min(result, yOrigin_) : result;
}

// The category axis' range: side-by-side over all series spans the earlier series' points, a
// self-stacked series stands at its own place.
double TCustomBarSeries::CategoryRangeMax(double plainMax)
{
    if (multiBar_ == mbSideAll)
        return Count() + layout_.PreviousCount - 1;
    if (multiBar_ == mbSelfStack)
        return IndexInChart();
    return plainMax;
}

double TCustomBarSeries::CategoryRangeMin(double plainMin)
{
    return multiBar_ == mbSelfStack ? IndexInChart() : plainMin;
}

double TCustomBarSeries::GetMaxX()
{
    return IsVertical() ? CategoryRangeMax(TChartSeries::GetMaxX())
                        : ValueRangeMax(TChartSeries::GetMaxX(), XValues().Total());
}

double TCustomBarSeries::GetMinX()
{
    return IsVertical() ? CategoryRangeMin(TChartSeries::GetMinX()) : ValueRangeMin(TChartSeries::GetMinX());
}

double TCustomBarSeries::GetMaxY()
{
    return IsVertical() ? ValueRangeMax(TChartSeries::GetMaxY(), YValues().Total())
                        : CategoryRangeMax(TChartSeries::GetMaxY());
}

double TCustomBarSeries::GetMinY()
{
    return IsVertical() ? ValueRangeMin(TChartSeries::GetMinY()) : CategoryRangeMin(TChartSeries::GetMinY());
}

// ---- depth

void TCustomBarSeries::CalcZOrder()
{
    if (multiBar_ != mbNone) {
        const std::vector<TCustomBarSeries*> same = SameClassSeries();
        if (!same.empty() && same.front() != this) {
            SetCalculatedZOrder(same.front()->CalculatedZOrder());
            return;
        }
    }
    TChartSeries::CalcZOrder();
}

void TCustomBarSeries::CalcZPositions()
{
    TChartSeries::CalcZPositions();
    barStartZ_ = StartZ();
    barEndZ_ = EndZ();
    if (depthPercent_ != 0) {
        const int t = Rnd((barEndZ_ - barStartZ_) * (100 - depthPercent_) * 0.005);
        barStartZ_ += t;
        barEndZ_ -= t;
    }
}

bool TCustomBarSeries::IsNormalSideView() const
{
    const TChartAxis* values = ValueAxis();
    const bool notInverted = !values || !values->Inverted();
    if (IsVertical()) {
        if (multiBar_ == mbNone || multiBar_ == mbSide || multiBar_ == mbSideAll)
            return TChartSeries::IsNormalSideView();
        return notInverted;
    }
    if (multiBar_ == mbNone)
        return TChartSeries::IsNormalSideView();
    if (multiBar_ == mbSide || multiBar_ == mbSideAll)
        return false;
    return notInverted;
}

// ---- hit test

bool TCustomBarSeries::BarHitTest(int valueIndex, TPoint point) const
{
    auto* self = const_cast<TCustomBarSeries*>(this);
    const TRect b = CalcBarBounds(valueIndex);
    // The pixels the rectangle covers: without a pen it stops one short of right and bottom.
    const int shrink = self->Pen().Visible() ? 1 : 2;
    const TRect r = OrientRect(b);
    const TRect filled{r.Left, r.Top, r.Right - shrink, r.Bottom - shrink};
    const bool vertical = IsVertical();
    if (vertical ? (point.X < filled.Left || point.X > filled.Right)
                 : (point.Y < filled.Top || point.Y > filled.Bottom))
        return false;
    const int startPos = vertical ? r.Top : r.Left;
    const int endPos = vertical ? r.Bottom : r.Right;
    switch (self->GetBarStyle(valueIndex)) {
    case bsPyramid:
    case bsCone:
    case bsInvPyramid:
    case bsInvCone: {
        const bool apexAtStart = (self->GetBarStyle(valueIndex) == bsPyramid || self->GetBarStyle(valueIndex) == bsCone)
                                 == vertical;
        const int apex = apexAtStart ? startPos : endPos;
        const int base = apexAtStart ? endPos : startPos;
        TPoint triangle[3];
        if (vertical)
            triangle[0] = {b.Left, base}, triangle[1] = {(b.Left + b.Right) / 2, apex}, triangle[2] = {b.Right, base};
        else
            triangle[0] = {base, b.Top}, triangle[1] = {apex, (b.Top + b.Bottom) / 2}, triangle[2] = {base, b.Bottom};
        return PointInPolygon(point, triangle, 2);
    }
    case bsEllipse: return PointInEllipse(point, b.Left, b.Top, b.Right, b.Bottom);
    default: return PointInRect(filled, point.X, point.Y);
    }
}

int TCustomBarSeries::Clicked(int x, int y) const
{
    if (FirstValueIndex < 0 || LastValueIndex < FirstValueIndex)
        return -1;
    if (TCustomAxisPanel* panel = Panel(); panel && panel->View3D()) {
        int32_t px = x, py = y;
        panel->Canvas().UnprojectPoint(px, py, barStartZ_);
        x = px;
        y = py;
    }
    const int last = std::min(LastValueIndex, Count() - 1);
    for (int i = FirstValueIndex; i <= last; ++i)
        if (!IsMissingPoint(i) && BarHitTest(i, TPoint{x, y}))
            return i;
    return -1;
}
