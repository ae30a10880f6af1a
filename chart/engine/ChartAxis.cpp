#include "chart/engine/ChartAxis.h"

#include "app/NumberText.h"
#include "chart/canvas/PlotCanvas.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/PlotMessages.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

// Some library code run while the GUI starts leaves the upper halves of the AVX registers in use.
// From then on every call from ordinary SSE code into the vector maths library (log, exp) pays a
// state switch both ways, which made the logarithmic conversion thirty times slower. Clearing the
// state once per layout and once per batch keeps the conversions at their real cost.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void ZeroUpperVectorHalves()
{
    _mm256_zeroupper();
}

void ClearUpperVectorState()
{
    static const bool hasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
    if (hasAvx)
        ZeroUpperVectorHalves();
}
#else
void ClearUpperVectorState() {}
#endif

[[noreturn]] void RaiseAxis(PlotMsg id)
{
    throw AxisException(PlotMessage(id));
}

// An infinite limit, or limits too far apart for their difference to be a number, leave the
// scale without pixels per unit: the plot would stay blank and unlabelled.
constexpr char kRangeNotFinite[] = "Axis Minimum and Maximum must be finite numbers with a finite difference";

// Ceil and Floor of the range rounding give 32-bit integers; beyond that range they saturate
// instead of wrapping.
double Int32Bounded(double value)
{
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, static_cast<double>(std::numeric_limits<int32_t>::min()),
                      static_cast<double>(std::numeric_limits<int32_t>::max()));
}

// Rounds to the nearest integer, halves to even, for |value| < 2^51: adding 1.5 x 2^52 leaves
// no fraction bits, so the addition itself rounds as the floating-point unit does (to even);
// subtracting it again is exact. This keeps the per-point conversions free of library calls.
inline double RoundEven(double value)
{
    constexpr double kShift = 6755399441055744.0;
    return (value + kShift) - kShift;
}

// Rounds a conversion result that may leave the 32-bit range: saturates at the coordinate
// limit of the canvas and maps NaN to 0, as the canvas helper does.
inline int32_t RoundPixel(double value)
{
    constexpr double kLimit = PixelCoordinateLimit;
    if (value >= kLimit)
        return PixelCoordinateLimit;
    if (value <= -kLimit)
        return -PixelCoordinateLimit;
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(RoundEven(value));
}

} // namespace

// Limits further apart than the largest double (values of both signs near it) have no
// difference, and so no pixels per unit: the range keeps its middle and narrows to the widest
// finite span, which shows what lies nearest that middle instead of nothing.
bool NarrowToFiniteSpan(double& low, double& high)
{
    constexpr double kLargest = std::numeric_limits<double>::max();
    if (!std::isfinite(low) || !std::isfinite(high) || std::isfinite(high - low))
        return false;
    const double middle = low / 2 + high / 2;
    const double half = kLargest / 2;
    const bool rising = high > low;
    low = rising ? middle - half : middle + half;
    high = rising ? middle + half : middle - half;
    return true;
}

// Scrolling towards the largest double stops at it instead of leaving the numbers: an infinite
// limit would empty the chart, and every later step from it gives no number at all. Moved whole
// or in part, a span of the largest double may round a hair beyond it: it narrows again.
void MoveRangeWithinDoubles(double& minimum, double& maximum, double offset)
{
    constexpr double kLargest = std::numeric_limits<double>::max();
    if (std::isnan(offset) || !std::isfinite(minimum) || !std::isfinite(maximum))
        return;
    NarrowToFiniteSpan(minimum, maximum);
    const double high = std::max(minimum, maximum);
    const double low = std::min(minimum, maximum);
    offset = offset > 0 ? std::min(offset, kLargest - high) : std::max(offset, -kLargest - low);
    minimum += offset;
    maximum += offset;
    NarrowToFiniteSpan(minimum, maximum);
}

TChartAxis::TChartAxis(TCustomAxisPanel& chart, bool horizontal, bool otherSide, bool isDepth)
    : chart_(chart), horizontal_(horizontal), otherSide_(otherSide), isDepth_(isDepth)
{
    InitChartMessages();
    axisValuesFormat_ = PlotMessage(PlotMsg::FmtValue);
    auto changed = [this] { Changed(); };
    axisPen_ = std::make_unique<TChartAxisPen>(changed);
    grid_ = std::make_unique<TAxisGridPen>(changed, otherSide ? 100.0 : 0.0);
    minorGrid_ = std::make_unique<TChartHiddenPen>(changed);
    minorTicks_ = std::make_unique<TDarkGrayPen>(changed);
    ticks_ = std::make_unique<TDarkGrayPen>(changed);
    ticksInner_ = std::make_unique<TDarkGrayPen>(changed);
    const int titleAngle = (!horizontal && !isDepth) ? (otherSide ? 270 : 90) : 0;
    title_ = std::make_unique<TChartAxisTitle>(&chart, titleAngle);
    items_ = std::make_unique<TAxisItems>(this, &chart);
    zPosition_ = otherSide ? 100.0 : 0.0;
    pixelLimit_ = chart.PixelLimit;
    SelectPositionRoutines();
    chart.Axes().Add(this);
}

TChartAxis::~TChartAxis()
{
    if (chart_.ChartDestroying())
        return;
    TChartSeriesList& list = chart_.SeriesList();
    for (int i = 0; i < list.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(list[i]))
            series->ForgetAxis(this);
    TChartAxes& axes = chart_.Axes();
    for (int i = 0; i < axes.Count(); ++i)
        if (auto* other = dynamic_cast<TChartAxis*>(axes[i]); other && other->masterAxis_ == this)
            other->masterAxis_ = nullptr;
    axes.Remove(this);
    TChartTools& tools = chart_.Tools();
    for (int i = 0; i < tools.Count(); ++i)
        if (auto* tool = dynamic_cast<TPlotCustomToolAxis*>(tools[i]))
            tool->ForgetAxis(this);
}

ChartParent* TChartAxis::ParentChart() const
{
    return &chart_;
}

bool TChartAxis::Reading() const
{
    return chart_.ChartLoading();
}

void TChartAxis::Changed()
{
    ++generation_;
    chart_.Repaint();
}

void TChartAxis::Assign(const TChartAxis& s)
{
    if (&s == this)
        return;
    automatic_ = s.automatic_;
    automaticMaximum_ = s.automaticMaximum_;
    automaticMinimum_ = s.automaticMinimum_;
    axisPen_->Assign(*s.axisPen_);
    axisValuesFormat_ = s.axisValuesFormat_;
    dateTimeFormat_ = s.dateTimeFormat_;
    exactDateTime_ = s.exactDateTime_;
    grid_->Assign(*s.grid_);
    increment_ = s.increment_;
    inverted_ = s.inverted_;
    horizontal_ = s.horizontal_;
    otherSide_ = s.otherSide_;
    labelsAlign_ = s.labelsAlign_;
    labelsAlternate_ = s.labelsAlternate_;
    labelsAngle_ = s.labelsAngle_;
    labelsExponent_ = s.labelsExponent_;
    items_->Format().Assign(s.items_->Format());
    labelsMultiLine_ = s.labelsMultiLine_;
    labelsOnAxis_ = s.labelsOnAxis_;
    labelsSeparation_ = s.labelsSeparation_;
    labelsSize_ = s.labelsSize_;
    labelStyle_ = s.labelStyle_;
    logarithmic_ = s.logarithmic_;
    logarithmicBase_ = s.logarithmicBase_;
    maximum_ = s.maximum_;
    maximumOffset_ = s.maximumOffset_;
    maximumRound_ = s.maximumRound_;
    minimum_ = s.minimum_;
    minimumOffset_ = s.minimumOffset_;
    minimumRound_ = s.minimumRound_;
    minorGrid_->Assign(*s.minorGrid_);
    minorTickCount_ = s.minorTickCount_;
    minorTickLength_ = s.minorTickLength_;
    minorTicks_->Assign(*s.minorTicks_);
    startPosition_ = s.startPosition_;
    endPosition_ = s.endPosition_;
    positionPercent_ = s.positionPercent_;
    positionUnits_ = s.positionUnits_;
    roundFirstLabel_ = s.roundFirstLabel_;
    tickInnerLength_ = s.tickInnerLength_;
    tickLength_ = s.tickLength_;
    ticks_->Assign(*s.ticks_);
    ticksInner_->Assign(*s.ticksInner_);
    tickOnLabelsOnly_ = s.tickOnLabelsOnly_;
    title_->Assign(*s.title_);
    titleSize_ = s.titleSize_;
    visible_ = s.visible_;
    zPosition_ = s.zPosition_;
    isDepth_ = s.isDepth_;
    SelectPositionRoutines();
    Changed();
}

// --- Range setters ------------------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool value)
{
    bool changed = automatic_ != value;
    automatic_ = value;
    if (!Reading()) {
        changed = changed || automaticMinimum_ != value || automaticMaximum_ != value;
        automaticMinimum_ = automaticMaximum_ = value;
    }
    if (changed)
        Changed();
}

void TChartAxis::SetAutomaticMaximum(bool value)
{
    if (automaticMaximum_ == value)
        return;
    automaticMaximum_ = value;
    if (!value)
        automatic_ = false;
    else if (automaticMinimum_)
        automatic_ = true;
    Changed();
}

void TChartAxis::SetAutomaticMinimum(bool value)
{
    if (automaticMinimum_ == value)
        return;
    automaticMinimum_ = value;
    if (!value)
        automatic_ = false;
    else if (automaticMaximum_)
        automatic_ = true;
    Changed();
}

// NaN compares false with everything, so it would pass the cross-checks and poison the scale.
void TChartAxis::SetMinimum(double value)
{
    if (std::isnan(value) || (!Reading() && value > maximum_))
        RaiseAxis(PlotMsg::ErrAxisMinimum);
    if (!std::isfinite(value) || (!Reading() && !std::isfinite(maximum_ - value)))
        throw AxisException(QString::fromLatin1(kRangeNotFinite));
    if (!Reading() && logarithmic_ && value < 0)
        RaiseAxis(PlotMsg::ErrAxisLogarithmicNegative);
    InternalSetMinimum(value);
}

void TChartAxis::SetMaximum(double value)
{
    if (std::isnan(value) || (!Reading() && value < minimum_))
        RaiseAxis(PlotMsg::ErrAxisMaximum);
    if (!std::isfinite(value) || (!Reading() && !std::isfinite(value - minimum_)))
        throw AxisException(QString::fromLatin1(kRangeNotFinite));
    InternalSetMaximum(value);
}

void TChartAxis::InternalSetMinimum(double value) { Store(minimum_, value); }
void TChartAxis::InternalSetMaximum(double value) { Store(maximum_, value); }

void TChartAxis::SetRange(double minimum, double maximum)
{
    // Linked axes pass the range on; a cycle of links would come back here.
    if (settingRange_)
        return;
    settingRange_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{settingRange_};

    if (std::isnan(minimum))
        RaiseAxis(PlotMsg::ErrAxisMinimum);
    if (std::isnan(maximum))
        RaiseAxis(PlotMsg::ErrAxisMaximum);
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (!std::isfinite(maximum - minimum))
        throw AxisException(QString::fromLatin1(kRangeNotFinite));
    // One rule, and one text, for a logarithmic axis' limits however they are set: none below 0
    // (a zoom dragged past the axis start). A minimum of 0 has its labels start at 0.1.
    if (logarithmic_ && minimum < 0)
        RaiseAxis(PlotMsg::ErrAxisLogarithmicNegative);
    automatic_ = automaticMinimum_ = automaticMaximum_ = false;
    InternalSetMinimum(minimum);
    InternalSetMaximum(maximum);
    if (maximum_ - minimum_ < 1e-10)
        InternalSetMaximum(minimum_ + 1e-10);
    NotifyLinkedAxes(minimum, maximum);
}

void TChartAxis::NotifyLinkedAxes(double minimum, double maximum)
{
    TChartAxes& axes = chart_.Axes();
    for (int i = TChartAxes::kStandardAxisCount; i < axes.Count(); ++i) {
        SeriesAxis* other = axes[i];
        if (other != this && other->MasterAxis() == this)
            other->SetRange(minimum, maximum);
    }
}

void TChartAxis::SetIncrement(double value)
{
    if (!(value >= 0.0))
        RaiseAxis(PlotMsg::ErrAxisIncrement);
    Store(increment_, value);
}

void TChartAxis::SetLabelsSeparation(int value)
{
    if (value < 0)
        RaiseAxis(PlotMsg::ErrAxisLabelsSeparation);
    Store(labelsSeparation_, value);
}

// A base at or below 1 would make the powers fall instead of rise: refused, with the rule itself
// as the message (0.5 is neither 1 nor below 0).
void TChartAxis::SetLogarithmicBase(double value)
{
    if (!(value > 1.0))
        RaiseAxis(PlotMsg::ErrAxisLogarithmicBase);
    Store(logarithmicBase_, value);
}

void TChartAxis::SetLogarithmic(bool value)
{
    if (value == logarithmic_)
        return;
    if (value) {
        RefreshShowsDateTime();
        if (showsDateTime_)
            RaiseAxis(PlotMsg::ErrAxisDateTimeLogarithmic);
        RecalcRange();
        if (currentMinimum_ < 0 || currentMaximum_ < 0)
            RaiseAxis(PlotMsg::ErrAxisLogarithmicNegative);
    }
    logarithmic_ = value;
    SelectPositionRoutines();
    ComputeScales();
    Changed();
}

void TChartAxis::SetInverted(bool value)
{
    if (inverted_ == value)
        return;
    inverted_ = value;
    BindConversion();
    Changed();
}

void TChartAxis::SetHorizontal(bool value)
{
    if (horizontal_ == value)
        return;
    horizontal_ = value;
    SelectPositionRoutines();
    Changed();
}

void TChartAxis::SetLabels(bool value)
{
    if (items_->Format().Visible() != value) {
        items_->Format().SetVisible(value);
        Changed();
    }
}

void TChartAxis::SetLabelsAngle(int value)
{
    Store(labelsAngle_, NormalizeAxisAngle(value));
}

bool TChartAxis::IsAxisValuesFormatStored() const
{
    return axisValuesFormat_ != PlotMessage(PlotMsg::FmtValue);
}

// --- Range and scales ---------------------------------------------------------------------------

void TChartAxis::RefreshShowsDateTime()
{
    showsDateTime_ = false;
    if (isDepth_)
        return;
    TChartSeriesList& list = chart_.SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(list[i]);
        if (series && series->Active() && series->AssociatedToAxis(this)) {
            showsDateTime_ = horizontal_ ? series->XValues().DateTime() : series->YValues().DateTime();
            return;
        }
    }
}

void TChartAxis::RecalcRange()
{
    if (automatic_ || automaticMaximum_)
        maximum_ = chart_.AxisDataMinMax(*this, horizontal_, true);
    if (automatic_ || automaticMinimum_)
        minimum_ = chart_.AxisDataMinMax(*this, horizontal_, false);
    // Narrowed where scrolling and zooming start from, too. The data that asked for more than the
    // narrowed range is still shown, at the axis' ends; limits that were set are only narrowed.
    const bool fromData = automatic_ || automaticMinimum_ || automaticMaximum_;
    pinnedToEnds_ = NarrowToFiniteSpan(minimum_, maximum_) && fromData;
    currentMaximum_ = maximum_;
    currentMinimum_ = minimum_;
    if (OnNextLabelHook) {
        double value = currentMaximum_;
        bool stop = false;
        OnNextLabelHook(this, -1, value, stop);
        currentMaximum_ -= value;
    }
    ComputeScales();
    RoundRangeToStep();
}

void TChartAxis::RoundRangeToStep()
{
    if (sizePixels_ == 0 || rangeIsZero_)
        return;
    bool applied = false;
    bool haveStep = false;
    double step = 0.0;
    if (maximumRound_ && (automatic_ || automaticMaximum_)) {
        step = LabelStep();
        haveStep = true;
        if (step != 0.0) {
            currentMaximum_ = Int32Bounded(std::ceil(currentMaximum_ / step)) * step;
            applied = true;
        }
    }
    if (minimumRound_ && (automatic_ || automaticMinimum_)) {
        if (!haveStep)
            step = LabelStep();
        if (step != 0.0) {
            currentMinimum_ = Int32Bounded(std::floor(currentMinimum_ / step)) * step;
            applied = true;
        }
    }
    if (applied)
        ComputeScales();
}

void TChartAxis::ComputeScales()
{
    NarrowToFiniteSpan(currentMinimum_, currentMaximum_);
    currentRange_ = currentMaximum_ - currentMinimum_;
    rangeIsZero_ = currentRange_ == 0.0;
    pixelsPerUnit_ = rangeIsZero_ ? 0.0 : sizePixels_ / currentRange_;
    logOfMinimum_ = currentMinimum_ > 0 ? std::log(currentMinimum_) : 0.0;
    logOfMaximum_ = currentMaximum_ > 0 ? std::log(currentMaximum_) : 0.0;
    logRange_ = logOfMaximum_ - logOfMinimum_;
    pixelsPerLogUnit_ = logRange_ == 0.0 ? 0.0 : sizePixels_ / logRange_;
    const int depth = isDepth_ ? chart_.ChartRect.Height() : chart_.Width3D;
    depthOffset_ = static_cast<int>(RoundHalfEven(depth * zPosition_ * 0.01));
    BindConversion();
}

int TChartAxis::CalcPixelsLength(int& origin) const
{
    const TRect r = chart_.ChartRect;
    if (isDepth_) {
        origin = 0;
        return chart_.Width3D;
    }
    if (horizontal_) {
        origin = r.Left;
        return r.Width();
    }
    origin = r.Top;
    return r.Height();
}

void TChartAxis::RecalcPixels()
{
    int origin = 0;
    const int length = CalcPixelsLength(origin);
    startPixel_ = origin + static_cast<int>(RoundHalfEven(length * 0.01 * startPosition_));
    endPixel_ = origin + static_cast<int>(RoundHalfEven(length * 0.01 * endPosition_));
    sizePixels_ = endPixel_ - startPixel_;
    centerPixel_ = (startPixel_ + endPixel_) / 2;
    pixelLimit_ = chart_.PixelLimit;
    SelectPositionRoutines();
    ComputeScales();
}

void TChartAxis::ShrinkRangeToRect(const TRect& rect)
{
    const int first = horizontal_ ? rect.Left : rect.Top;
    const int second = horizontal_ ? rect.Right : rect.Bottom;
    const int oldStart = startPixel_;
    const int oldEnd = endPixel_;
    startPixel_ += first;
    endPixel_ -= second;
    sizePixels_ = endPixel_ - startPixel_;
    centerPixel_ = (startPixel_ + endPixel_) / 2;
    ComputeScales();
    double a = PixelToValue(oldStart);
    double b = PixelToValue(oldEnd);
    const double minimum = currentMinimum_;
    const double maximum = currentMaximum_;
    RecalcPixels();
    if (a > b)
        std::swap(a, b);
    // Room that takes the span past the largest double, or a logarithmic axis' start below the
    // smallest double (5e-324 on an axis up to 1e10 would start at 0), cannot be had: the range
    // stays as it was, its end points on the chart's edges.
    const bool kept = std::isfinite(b - a) && (!logarithmic_ || a > 0);
    currentMinimum_ = kept ? a : minimum;
    currentMaximum_ = kept ? b : maximum;
    ComputeScales();
}

// --- Conversions --------------------------------------------------------------------------------

void TChartAxis::SelectPositionRoutines()
{
    if (isDepth_)
        kind_ = AxisConversion::Depth;
    else if (logarithmic_)
        kind_ = AxisConversion::Logarithmic;
    else if (chart_.Axes().FastCalc)
        kind_ = AxisConversion::LinearFast;
    else
        kind_ = AxisConversion::LinearClamped;
    BindConversion();
}

// Everything a conversion needs that does not depend on the value is settled here, so that the
// per-point routines hold no test of the scale, the orientation or the inversion.
void TChartAxis::BindConversion()
{
    // Horizontal axes grow from StartPixel, vertical ones from EndPixel; inversion swaps ends.
    const bool forward = horizontal_ != inverted_;
    linearOrigin_ = forward ? startPixel_ : endPixel_;
    linearDirection_ = forward ? 1.0 : -1.0;
    fastOrigin_ = forward ? startPixel_ : endPixel_;
    fastDirection_ = forward ? 1 : -1;
    logReference_ = inverted_ ? logOfMaximum_ : logOfMinimum_;
    logSign_ = inverted_ ? -1.0 : 1.0;
    logOrigin_ = horizontal_ ? startPixel_ : endPixel_;
    logDirection_ = horizontal_ ? 1 : -1;
    logNonPositivePixel_ = horizontal_ ? (inverted_ ? endPixel_ : startPixel_) : (inverted_ ? startPixel_ : endPixel_);
    depthReference_ = inverted_ ? currentMaximum_ : currentMinimum_;
    depthSign_ = inverted_ ? -1.0 : 1.0;
    clampLow_ = pinnedToEnds_ ? std::min(startPixel_, endPixel_) : -pixelLimit_;
    clampHigh_ = pinnedToEnds_ ? std::max(startPixel_, endPixel_) : pixelLimit_;

    ClearUpperVectorState();
    AxisConversion bound = kind_;
    if (kind_ == AxisConversion::Logarithmic ? logRange_ == 0.0 : rangeIsZero_)
        bound = AxisConversion::Center;
    else if (kind_ == AxisConversion::LinearFast && pinnedToEnds_)
        bound = AxisConversion::LinearClamped;
    conversion_ = bound;
    switch (bound) {
    case AxisConversion::Center: calcPos_ = &TChartAxis::CalcCenter; break;
    case AxisConversion::LinearClamped: calcPos_ = &TChartAxis::CalcLinearClamped; break;
    case AxisConversion::LinearFast: calcPos_ = &TChartAxis::CalcLinearFast; break;
    case AxisConversion::Logarithmic: calcPos_ = &TChartAxis::CalcLogarithmic; break;
    case AxisConversion::Depth: calcPos_ = &TChartAxis::CalcDepth; break;
    }
}

int TChartAxis::CalcCenter(double) const
{
    return centerPixel_;
}

// The limit applies to the unrounded coordinate; rounding goes to the even neighbour on ties.
int TChartAxis::CalcLinearClamped(double value) const
{
    double p = linearOrigin_ + linearDirection_ * ((value - currentMinimum_) * pixelsPerUnit_);
    const double high = clampHigh_, low = clampLow_;
    if (p > high || p < low) {
        // A value and a minimum of opposite signs near the largest double have no finite
        // difference; scaled each on its own they have.
        if (std::isinf(p) && std::isfinite(value))
            p = linearOrigin_ + linearDirection_ * (value * pixelsPerUnit_ - currentMinimum_ * pixelsPerUnit_);
        if (p > high)
            return clampHigh_;
        if (p < low)
            return clampLow_;
    }
    if (std::isnan(p))
        return 0;
    return static_cast<int>(RoundEven(p));
}

namespace {

// The pixel offset of the unclamped routine: rounded as a 64-bit integer and cut to 32 bits, as
// the fast path did; out-of-range doubles saturate first (converting them would be undefined).
inline uint32_t FastOffset(double x)
{
    if (std::fabs(x) < 2251799813685248.0)
        return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(RoundEven(x))));
    const double r = std::nearbyint(x);
    int64_t d = 0;
    if (r >= 9.2233720368547758e18)
        d = std::numeric_limits<int64_t>::max();
    else if (r <= -9.2233720368547758e18)
        d = std::numeric_limits<int64_t>::min();
    else if (!std::isnan(r))
        d = static_cast<int64_t>(r);
    return static_cast<uint32_t>(static_cast<uint64_t>(d));
}

} // namespace

int TChartAxis::CalcLinearFast(double value) const
{
    const uint32_t d = FastOffset((value - currentMinimum_) * pixelsPerUnit_);
    const uint32_t origin = static_cast<uint32_t>(fastOrigin_);
    return static_cast<int32_t>(fastDirection_ > 0 ? origin + d : origin - d);
}

int TChartAxis::CalcLogarithmic(double value) const
{
    if (!(value > 0.0))
        return logNonPositivePixel_;
    const double t = logSign_ * (std::log(value) - logReference_) * pixelsPerLogUnit_;
    return logOrigin_ + logDirection_ * RoundPixel(t);
}

int TChartAxis::CalcDepth(double value) const
{
    return RoundPixel(depthSign_ * (value - depthReference_) * pixelsPerUnit_);
}

int TChartAxis::ColumnStep() const
{
    if (conversion_ == AxisConversion::Logarithmic)
        return logDirection_ * static_cast<int>(logSign_);
    return linearDirection_ > 0 ? 1 : -1;
}

// The routines above round origin + step * scale(v) (step +1 or -1, scale the distance from the
// reference in pixels); the value at which that is half a pixel past a column is one end of it.
double TChartAxis::ColumnEnd(int pixel) const
{
    double reference = 0, perPixel = 0;
    int32_t origin = 0, low = 0, high = 0;
    if (conversion_ == AxisConversion::Logarithmic && pixelsPerLogUnit_ > 0) {
        reference = logReference_;
        perPixel = ColumnStep() / pixelsPerLogUnit_;
        origin = logOrigin_;
        low = -PixelCoordinateLimit;
        high = PixelCoordinateLimit;
    } else if (conversion_ == AxisConversion::LinearClamped && pixelsPerUnit_ > 0) {
        reference = currentMinimum_;
        perPixel = ColumnStep() / pixelsPerUnit_;
        origin = static_cast<int32_t>(linearOrigin_);
        low = clampLow_;
        high = clampHigh_;
    } else {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (pixel >= high || pixel <= low)
        return std::numeric_limits<double>::quiet_NaN();
    const double units = reference + (pixel + 0.5 * ColumnStep() - origin) * perPixel;
    return conversion_ == AxisConversion::Logarithmic ? std::exp(units) : units;
}

std::span<const double> TChartAxis::ColumnEnds(int& first) const
{
    ColumnEndsCache& c = columnEnds_;
    const bool logarithmic = conversion_ == AxisConversion::Logarithmic;
    const double reference = logarithmic ? logReference_ : currentMinimum_;
    const double perPixel = logarithmic ? pixelsPerLogUnit_ : pixelsPerUnit_;
    const int32_t origin = logarithmic ? logOrigin_ : static_cast<int32_t>(linearOrigin_);
    const int32_t start = std::min(startPixel_, endPixel_) - 1, end = std::max(startPixel_, endPixel_) + 1;
    const ColumnEndsCache::Key key{conversion_, reference, perPixel, origin, ColumnStep(), start, end, clampLow_, clampHigh_};
    if (c.ends.empty() || c.key != key) {
        c.key = key;
        c.ends.resize(static_cast<size_t>(end - start + 1));
        for (int32_t p = start; p <= end; ++p)
            c.ends[static_cast<size_t>(p - start)] = ColumnEnd(p);
    }
    first = start;
    return c.ends;
}

void TChartAxis::ValuesToPixels(std::span<const double> values, std::span<int32_t> pixels) const
{
    ClearUpperVectorState();
    const size_t n = std::min(values.size(), pixels.size());
    const double* v = values.data();
    int32_t* out = pixels.data();
    switch (conversion_) {
    case AxisConversion::Center:
        std::fill(out, out + n, centerPixel_);
        break;
    case AxisConversion::LinearClamped: {
        const double minimum = currentMinimum_, ppu = pixelsPerUnit_, origin = linearOrigin_,
                     direction = linearDirection_, high = clampHigh_, low = clampLow_;
        for (size_t i = 0; i < n; ++i) {
            const double p = origin + direction * ((v[i] - minimum) * ppu);
            out[i] = p > high ? (std::isinf(p) ? CalcLinearClamped(v[i]) : clampHigh_)
                   : p < low ? (std::isinf(p) ? CalcLinearClamped(v[i]) : clampLow_)
                   : std::isnan(p) ? 0
                                   : static_cast<int32_t>(RoundEven(p));
        }
        break;
    }
    case AxisConversion::LinearFast: {
        const double minimum = currentMinimum_, ppu = pixelsPerUnit_;
        const uint32_t origin = static_cast<uint32_t>(fastOrigin_);
        if (fastDirection_ > 0)
            for (size_t i = 0; i < n; ++i)
                out[i] = static_cast<int32_t>(origin + FastOffset((v[i] - minimum) * ppu));
        else
            for (size_t i = 0; i < n; ++i)
                out[i] = static_cast<int32_t>(origin - FastOffset((v[i] - minimum) * ppu));
        break;
    }
    case AxisConversion::Logarithmic: {
        const double reference = logReference_, sign = logSign_, ppl = pixelsPerLogUnit_;
        for (size_t i = 0; i < n; ++i)
            out[i] = v[i] > 0.0 ? logOrigin_ + logDirection_ * RoundPixel(sign * (std::log(v[i]) - reference) * ppl)
                                : logNonPositivePixel_;
        break;
    }
    case AxisConversion::Depth:
        for (size_t i = 0; i < n; ++i)
            out[i] = CalcDepth(v[i]);
        break;
    }
}

double TChartAxis::PixelToValue(int pixel) const
{
    if (!logarithmic_ || isDepth_) {
        if (sizePixels_ < 1)
            return 0.0;
        // A range near the largest double times the pixels overflows: then divided first. A
        // pixel beyond the axis end may still lie beyond the largest double, and stops there.
        double t = inverted_ ? endPixel_ - pixel : pixel - startPixel_;
        t = std::isfinite(t * currentRange_) ? t * currentRange_ / sizePixels_ : t / sizePixels_ * currentRange_;
        constexpr double kLargest = std::numeric_limits<double>::max();
        return std::clamp((horizontal_ || isDepth_) ? currentMinimum_ + t : currentMaximum_ - t, -kLargest, kLargest);
    }
    const bool maxAtStart = horizontal_ == inverted_;
    if (pixel == startPixel_)
        return maxAtStart ? currentMaximum_ : currentMinimum_;
    if (pixel == endPixel_)
        return maxAtStart ? currentMinimum_ : currentMaximum_;
    if (logRange_ != 0.0 && sizePixels_ != 0) {
        double t = inverted_ ? endPixel_ - pixel : pixel - startPixel_;
        t = t * logRange_ / sizePixels_;
        return horizontal_ ? std::exp(logOfMinimum_ + t) : std::exp(logOfMaximum_ - t);
    }
    return currentMinimum_;
}

// --- Depth axis ---------------------------------------------------------------------------------

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel& chart, bool otherSide) : TChartAxis(chart, false, otherSide, true)
{
    SetVisible(false);
}

void TChartDepthAxis::SetInverted(bool value)
{
    TChartAxis::SetInverted(value);
    for (SeriesAxis* candidate : {Chart().DepthAxis(), Chart().DepthTopAxis()}) {
        auto* other = dynamic_cast<TChartAxis*>(candidate);
        if (other && other != this && other->Inverted() != value)
            other->TChartAxis::SetInverted(value);
    }
}
