#include "chart/engine/ChartAxis.h"

#include "app/NumberText.h"
#include "chart/canvas/DateTimeSteps.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "app/DateTimeText.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/SeriesRoutines.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr uint32_t kAlignLeft = 0;
constexpr uint32_t kAlignRight = 2;
constexpr int kMaxLabels = 10000;
constexpr int kMaxMeasuredLabels = 5000;
constexpr int kMaxEventLabels = 2000;
constexpr QChar kLineSeparator(13);

std::vector<TChartSeries*> ActiveSeriesOf(TCustomAxisPanel& chart, const TChartAxis* axis)
{
    std::vector<TChartSeries*> result;
    TChartSeriesList& list = chart.SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(list[i]);
        if (series && series->Active() && (!axis || series->AssociatedToAxis(axis)))
            result.push_back(series);
    }
    return result;
}

// Detaches the chart's label handler while value labels are measured.
class DetachedLabelHandler {
public:
    explicit DetachedLabelHandler(TCustomAxisPanel& chart) : chart_(chart), saved_(std::move(chart.OnGetAxisLabel))
    {
        chart_.OnGetAxisLabel = nullptr;
    }
    ~DetachedLabelHandler() { chart_.OnGetAxisLabel = std::move(saved_); }
    DetachedLabelHandler(const DetachedLabelHandler&) = delete;
    DetachedLabelHandler& operator=(const DetachedLabelHandler&) = delete;

private:
    TCustomAxisPanel& chart_;
    TAxisGetLabelEvent saved_;
};

} // namespace

// --- Label style and texts ----------------------------------------------------------------------

TAxisLabelStyle TChartAxis::AutoLabelStyle() const
{
    const std::vector<TChartSeries*> series = ActiveSeriesOf(chart_, this);
    if (series.empty())
        return talNone;
    for (TChartSeries* s : series)
        if (IsAlongDirection(*s) && HasLabels(*s))
            return talText;
    return talValue;
}

TAxisLabelStyle TChartDepthAxis::AutoLabelStyle() const
{
    for (TChartSeries* s : ActiveSeriesOf(Chart(), nullptr))
        if (s->MinZValue() != s->MaxZValue())
            return talValue;
    return talText;
}

TAxisLabelStyle TChartAxis::CalcLabelStyle() const
{
    return labelStyle_ == talAuto ? AutoLabelStyle() : labelStyle_;
}

QString TChartAxis::FormattedValue(double value)
{
    constexpr size_t kKept = 1024;
    FormattedValues& f = formattedValues_;
    if (f.format != axisValuesFormat_ || f.decimal != DecimalSeparator() || f.thousands != ThousandSeparator() ||
        f.texts.size() >= kKept) {
        f.format = axisValuesFormat_;
        f.decimal = DecimalSeparator();
        f.thousands = ThousandSeparator();
        f.texts.clear();
    }
    const uint64_t key = std::bit_cast<uint64_t>(value);
    if (const auto hit = f.texts.find(key); hit != f.texts.end())
        return hit->second;
    return f.texts.emplace(key, FormatFloat(axisValuesFormat_, value)).first->second;
}

QString TChartAxis::LabelTextOfValue(double value)
{
    QString text;
    if (showsDateTime_) {
        const QString format = dateTimeFormat_.isEmpty() ? DateTimeDefaultFormat(currentRange_) : dateTimeFormat_;
        text = FormatDateTimeText(format, value);
    } else {
        text = FormattedValue(value);
    }
    if (chart_.OnGetAxisLabel)
        chart_.OnGetAxisLabel(this, nullptr, -1, text);
    if (labelsMultiLine_)
        text.replace(QChar(' '), kLineSeparator);
    return text;
}

namespace {

int WidestLine(TCanvas3D& canvas, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(kLineSeparator))
        widest = std::max(widest, canvas.TextWidth(line));
    return widest;
}

} // namespace

QString TChartAxis::LabelFontKey()
{
    TCanvas3D& canvas = chart_.Canvas();
    canvas.AssignFont(&LabelsFont());
    const TFont& font = canvas.Font();
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(reinterpret_cast<quintptr>(&canvas))
        .arg(font.Name())
        .arg(font.Height())
        .arg(font.Style())
        .arg(canvas.FontZoom)
        .arg(LabelsFont().InterCharSize());
}

void TChartAxis::LabelsBlock::Take(TCanvas3D& canvas, const QString& text)
{
    Width = std::max(Width, WidestLine(canvas, text));
    Lines = std::max(Lines, static_cast<int>(text.count(kLineSeparator)) + 1);
}

TChartAxis::LabelsBlock TChartAxis::MeasureValueLabels()
{
    TCanvas3D& canvas = chart_.Canvas();
    canvas.AssignFont(&LabelsFont());
    const double step = LabelStep();
    const QString fontKey = LabelFontKey();
    WidestCache& c = widestCache_;
    if (c.valid && c.generation == generation_ && c.minimum == currentMinimum_ && c.maximum == currentMaximum_ &&
        c.step == step && c.size == sizePixels_ && c.fontKey == fontKey && c.decimal == DecimalSeparator() &&
        c.thousands == ThousandSeparator() && c.dateTime == showsDateTime_)
        return c.block;

    LabelsBlock block;
    {
        DetachedLabelHandler detached(chart_);
        double lo = currentMinimum_;
        double hi = currentMaximum_;
        if (ZeroWidthRange()) {
            block.Take(canvas, LabelTextOfValue(lo + currentRange_ * 0.5));
        } else if (logarithmic_ && increment_ == 0.0 && !chart_.OnGetNextAxisLabel) {
            // The powers the loop labels, not steps of the range: 1e16 may print wider than 1e20.
            // The series' margins may still widen the range by a label at either end.
            const std::vector<double> values = LogarithmicLabelValues(LogarithmicLoopStart());
            canvas.AssignFont(&LabelsFont());
            for (const double value : values)
                block.Take(canvas, LabelTextOfValue(value));
            // Each from the step next to it: a step taken among the smallest doubles is no round one.
            const size_t n = values.size();
            const double below = n >= 2 ? values[0] * (values[0] / values[1]) : 0.0;
            const double above = n >= 2 ? values[n - 1] * (values[n - 1] / values[n - 2]) : 0.0;
            for (const double value : {below, above})
                if (value > 0 && std::isfinite(value))
                    block.Take(canvas, LabelTextOfValue(value));
        } else if (step == 0.0 || !std::isfinite(step)) {
            block.Take(canvas, LabelTextOfValue(lo));
            block.Take(canvas, LabelTextOfValue(hi));
        } else {
            if (roundFirstLabel_ || (showsDateTime_ && exactDateTime_)) {
                lo = std::trunc(lo / step) * step;
                hi = std::trunc(hi / step) * step;
            }
            double v = hi;
            for (int n = 0; v >= lo && n < kMaxMeasuredLabels; ++n) {
                block.Take(canvas, LabelTextOfValue(v));
                v -= step;
            }
        }
    }
    block.Width += canvas.TextWidth(QStringLiteral(" "));
    c = WidestCache{true,          generation_, currentMinimum_, currentMaximum_, step, sizePixels_, fontKey,
                    DecimalSeparator(), ThousandSeparator(), showsDateTime_, block};
    return block;
}

int TChartAxis::WidestLabel()
{
    return MeasureLabels().Width;
}

TChartAxis::LabelsBlock TChartAxis::MeasureLabels()
{
    TCanvas3D& canvas = chart_.Canvas();
    LabelsBlock block;
    if (!items_->Automatic()) {
        for (int i = 0; i < items_->Count(); ++i) {
            TAxisItem* item = items_->Items(i);
            canvas.AssignFont(&item->Font());
            block.Take(canvas, item->Text());
        }
        return block;
    }
    switch (CalcLabelStyle()) {
    case talValue:
        return MeasureValueLabels();
    case talMark:
    case talText: {
        const bool marks = CalcLabelStyle() == talMark;
        canvas.AssignFont(&LabelsFont());
        for (TChartSeries* series : ActiveSeriesOf(chart_, nullptr)) {
            for (int i = 0; i < series->Count(); ++i) {
                QString text = marks ? series->GetMarkText(i) : series->XLabel(i);
                if (!marks && chart_.OnGetAxisLabel)
                    chart_.OnGetAxisLabel(this, nullptr, -1, text);
                block.Take(canvas, text);
            }
        }
        return block;
    }
    default:
        return block;
    }
}

// --- Label pass ---------------------------------------------------------------------------------

void TChartAxis::AddTick(int pixel, double value)
{
    tickPositions_.push_back(pixel);
    tickValues_.push_back(value);
}

int TChartAxis::DateStepIndex(double step) const
{
    if (!(showsDateTime_ && exactDateTime_ && increment_ != 0.0))
        return DateTimeStepCount;
    int index = FindDateTimeStepIndex(increment_);
    // An increment that is no entry of the table has no index; only real entries are stepped.
    if (index < 0 || index >= DateTimeStepCount)
        return DateTimeStepCount;
    const auto& steps = DateTimeSteps();
    while (index < DateTimeStepCount - 1 && steps[static_cast<size_t>(index)] < step)
        ++index;
    return index;
}

void TChartAxis::DrawAxisLabels()
{
    tickPositions_.clear();
    tickValues_.clear();
    alternateOuter_ = !horizontal_;
    labelDrawn_ = false;
    if (!items_->Automatic()) {
        ItemLabels();
        return;
    }
    items_->ClearAutomatic();
    const TAxisLabelStyle style = CalcLabelStyle();
    if (style == talNone)
        return;
    chart_.Canvas().AssignFont(&LabelsFont());
    const double step = LabelStep();
    const int stepIndex = DateStepIndex(step);
    const bool monthly = stepIndex >= 20 && stepIndex < DateTimeStepCount;
    if (!((step > 0 || monthly) && currentMinimum_ <= currentMaximum_))
        return;
    switch (style) {
    case talValue:
        if (chart_.OnGetNextAxisLabel && EventLabels())
            break;
        // A range no label tells apart (a zoom onto one point) gets one label, not a row of
        // identical ones.
        if (!isDepth_ && ZeroWidthRange()) {
            DrawValueLabelAt(centerPixel_, currentMinimum_ + currentRange_ * 0.5);
            break;
        }
        if (logarithmic_ && increment_ == 0.0)
            LogarithmicLabels();
        else
            LinearLabels(step, stepIndex);
        break;
    case talMark:
        SeriesLabels(true);
        break;
    case talText:
        if (isDepth_)
            DepthLabels();
        else
            SeriesLabels(false);
        break;
    default:
        break;
    }
}

double TChartAxis::StepBack(double value, double step, int stepIndex) const
{
    if (showsDateTime_ && exactDateTime_ && stepIndex >= 20 && stepIndex < DateTimeStepCount)
        return IncDateTimeStep(stepIndex, value, step, false);
    return value - step;
}

void TChartAxis::DrawValueLabel(double value)
{
    DrawValueLabelAt(ValueToPixel(value), value);
}

void TChartAxis::DrawValueLabelAt(int pixel, double value)
{
    if (labelsOnAxis_ || (pixel > startPixel_ && pixel < endPixel_)) {
        if (!tickOnLabelsOnly_)
            AddTick(pixel, value);
        if (Labels())
            PlaceLabel(pixel, value, LabelTextOfValue(value), nullptr);
    }
}

bool TChartAxis::ZeroWidthRange()
{
    if (rangeIsZero_)
        return true;
    if (!std::isfinite(currentRange_))
        return false;
    return LabelTextOfValue(currentMinimum_) == LabelTextOfValue(currentMaximum_);
}

// Label k is computed from the first label and k steps, never by repeated subtraction, which
// drifts: 1 - 10 x 0.2 done step by step misses -1. A quotient a hair below a whole number (0.009
// / 0.001) counts as that number, and a label that misses an end by rounding alone is that end.
std::vector<double> TChartAxis::LinearLabelValues(double step, int stepIndex)
{
    std::vector<double> values;
    if (step > 0 && std::fabs(currentRange_ / step) >= kMaxLabels)
        return values;
    const bool calendar = stepIndex >= 20 && stepIndex < DateTimeStepCount;
    if (!(step > 0) && !calendar)
        return values;
    const double tolerance = 1e-14 * std::max(std::fabs(currentMinimum_), std::fabs(currentMaximum_));
    double first;
    double whole = 0.0;     // first = whole x step when the first label is rounded to the step
    bool multiples = false;
    if (showsDateTime_ && exactDateTime_ && stepIndex >= 16 && stepIndex < DateTimeStepCount) {
        first = TruncDateTimeToStep(stepIndex, currentMaximum_);
    } else if (roundFirstLabel_ && FloatToStr(currentMinimum_) != FloatToStr(currentMaximum_) && step > 0) {
        whole = std::floor(currentMaximum_ / step + 1e-9);
        first = whole * step;
        multiples = std::fabs(whole) < 4503599627370496.0;
    } else {
        first = currentMaximum_;
    }
    for (int n = 0; first > currentMaximum_ + tolerance && n < kMaxLabels; ++n) {
        first = StepBack(first, step, stepIndex);
        whole -= 1.0;
    }
    if (first > currentMaximum_)
        first = currentMaximum_;
    if (rangeIsZero_) {
        values.push_back(first);
        return values;
    }
    if (OnNextLabelHook) {
        double h1 = first;
        bool stop = false;
        OnNextLabelHook(this, -1, h1, stop);
        double h2 = first + h1;
        OnNextLabelHook(this, -1, h2, stop);
        first += h2;
        multiples = false;
    }
    if (std::fabs(currentMaximum_ - currentMinimum_) < 1e-10 || FloatToStr(first) == FloatToStr(first - step)) {
        values.push_back(first);
        return values;
    }
    const double bound = std::min(currentMinimum_ - tolerance,
                                  currentMinimum_ < 0 ? currentMinimum_ : (currentMinimum_ - 1e-12) / (1 + 1e-12));
    double value = first;
    for (int k = 0; value >= bound && k < kMaxLabels;) {
        values.push_back(value < currentMinimum_ ? currentMinimum_ : value);
        ++k;
        if (calendar)
            value = StepBack(value, step, stepIndex);
        else if (multiples)
            value = (whole - k) * step;
        else
            value = first - k * step;
    }
    return values;
}

void TChartAxis::LinearLabels(double step, int stepIndex)
{
    for (const double value : LinearLabelValues(step, stepIndex))
        DrawValueLabel(value);
}

namespace {

// With every k-th power labelled, the exponents that are multiples of k keep their labels from
// one range to the next (1, 1e10, 1e20); a range that holds no such multiple labels its first.
int LabelPhase(int first, int last, int every)
{
    const int multiple = first + (((-first) % every) + every) % every;
    return multiple <= last ? multiple : first;
}

// 1, 2, 5, 10, 20, 50, ...
int NextEvery(int every)
{
    int decade = 1;
    while (decade * 10 <= every)
        decade *= 10;
    const int leading = every / decade;
    return (leading < 2 ? 2 : leading < 5 ? 5 : 10) * decade;
}

} // namespace

TChartAxis::LogarithmicStart TChartAxis::LogarithmicLoopStart() const
{
    const double base = logarithmicBase_;
    const double logBase = std::log(base);
    // The range itself stays as the scale has it; only the loop starts from a usable minimum.
    LogarithmicStart s{currentMinimum_, currentMinimum_, 0, false};
    if (s.minimum > 0) {
        // The power at or below the minimum, so that 35..90 still starts from 10.
        double exponent = static_cast<double>(RoundHalfEven(std::log(s.minimum) / logBase));
        for (int guard = 0; guard < 4 && std::pow(base, exponent) > s.minimum * (1 + 1e-12); ++guard)
            exponent += base > 1 ? -1 : 1;
        // Below the smallest double that power is 0, from which no label would rise: the first
        // power above it is the bottom decade.
        for (int guard = 0; guard < 4 && !(std::pow(base, exponent) > 0); ++guard)
            exponent += base > 1 ? 1 : -1;
        s.start = std::pow(base, exponent);
        s.exponent = static_cast<int>(exponent);
        s.power = s.start > 0;
        if (!s.power)
            s.start = s.minimum;
    } else {
        s.minimum = s.minimum == 0 ? 0.1
                                   : std::pow(base, static_cast<double>(RoundHalfEven(std::log(1e-10) / logBase)));
        s.start = s.minimum;
    }
    return s;
}

// Powers closer than their labels are thinned as the linear labels are: every k-th power is
// labelled, k the first of 1, 2, 5, 10, 20, ... for which no two neighbouring labels overlap with
// LabelsSeparation between them. So are the ticks and grid lines that stand at the labels.
std::vector<double> TChartAxis::LogarithmicLabelValues(const LogarithmicStart& s)
{
    std::vector<double> values;
    const double base = logarithmicBase_;
    if (base > 1) {
        // The powers inside the range; an exact power is computed on its own, repeated products
        // drift off the round values.
        std::vector<double> powers;
        int first = 0;
        for (int n = 0; n < kMaxLabels; ++n) {
            const double value = s.power ? std::pow(base, static_cast<double>(s.exponent + n))
                                         : s.start * std::pow(base, static_cast<double>(n));
            if (!(value <= currentMaximum_))
                break;
            if (value >= s.minimum) {
                if (powers.empty())
                    first = n + (s.power ? s.exponent : 0);
                powers.push_back(value);
            }
        }
        const int last = first + static_cast<int>(powers.size()) - 1;
        const int every = LogarithmicLabelsEvery(powers, first);
        for (int e = LabelPhase(first, last, every); !powers.empty() && e <= last; e += every)
            values.push_back(powers[static_cast<size_t>(e - first)]);
    }
    if (values.empty()) {
        // The range lies inside one power: labels at whole parts of it.
        const double delta = s.start / base;
        for (int k = 0; k < kMaxLabels; ++k) {
            const double value = s.start + k * delta;
            if (!(value <= currentMaximum_))
                break;
            if (value >= s.minimum)
                values.push_back(value);
        }
    }
    return values;
}

int TChartAxis::LogarithmicLabelsEvery(const std::vector<double>& powers, int firstExponent)
{
    const int n = static_cast<int>(powers.size());
    if (n < 2 || labelsSeparation_ <= 0 || !Labels())
        return 1;
    TCanvas3D& canvas = chart_.Canvas();
    canvas.AssignFont(&LabelsFont());
    std::vector<int> pixels(powers.size());
    std::vector<int> extents(powers.size());
    for (size_t i = 0; i < powers.size(); ++i) {
        pixels[i] = ValueToPixel(powers[i]);
        extents[i] = LabelSizeAlong(LabelTextOfValue(powers[i]));
    }
    const int lastExponent = firstExponent + n - 1;
    // Alternate rows put every second label one row further out: neighbours in a row are two apart.
    const int stride = labelsAlternate_ ? 2 : 1;
    int every = 1;
    for (; every < n; every = NextEvery(every)) {
        const int step = every * stride;
        bool fits = true;
        const int phase = LabelPhase(firstExponent, lastExponent, every) - firstExponent;
        for (int i = phase; i + step < n && fits; i += every) {
            const size_t a = static_cast<size_t>(i);
            const size_t b = static_cast<size_t>(i + step);
            const int64_t room = 2 * static_cast<int64_t>(std::abs(pixels[a] - pixels[b])) * 100;
            const int64_t need = static_cast<int64_t>(extents[a] + extents[b]) * (100 + labelsSeparation_);
            fits = room >= need;
        }
        if (fits)
            break;
    }
    return every;
}

void TChartAxis::LogarithmicLabels()
{
    if (currentMinimum_ == currentMaximum_)
        return;
    const LogarithmicStart s = LogarithmicLoopStart();
    const double base = logarithmicBase_;
    if (minorGrid_->Visible() && s.start >= s.minimum) {
        const double below = std::pow(base, std::log(s.minimum) / std::log(base) - 1);
        if (below < s.minimum)
            AddTick(ValueToPixel(below), below);
    }
    for (const double value : LogarithmicLabelValues(s))
        DrawValueLabel(value);
    if (minorGrid_->Visible() && s.start > currentMaximum_)
        AddTick(ValueToPixel(s.start), s.start);
}

// A handler that counts from a round start (the decade below a logarithmic axis' minimum) hands
// out values below the range first: those are passed over until the first value inside it. A
// value outside the range after that ends the labels.
bool TChartAxis::EventLabels()
{
    double value = currentMinimum_;
    bool stop = true;
    bool inside = false;
    for (int index = 0;; ++index) {
        chart_.OnGetNextAxisLabel(this, index, value, stop);
        if (stop)
            return index != 0;
        if (index > kMaxEventLabels)
            return true;
        if (!inside && value < currentMinimum_ - 1e-7)
            continue;
        if (!(value >= currentMinimum_ - 1e-7 && value <= currentMaximum_ + 1e-7))
            return true;
        inside = true;
        DrawValueLabel(value);
    }
}

void TChartAxis::SeriesLabels(bool marks)
{
    const std::vector<TChartSeries*> series = ActiveSeriesOf(chart_, this);
    if (series.empty())
        return;
    int first = -1, last = -1;
    std::vector<std::pair<int, int>> ranges;
    for (TChartSeries* s : series) {
        int f = s->FirstValueIndex, l = s->LastValueIndex;
        if (f < 0 || l < 0 || !s->CalcVisiblePoints) {
            f = 0;
            l = s->Count() - 1;
        }
        ranges.emplace_back(f, l);
        if (l < f)
            continue;
        first = first < 0 ? f : std::min(first, f);
        last = std::max(last, l);
    }
    TCanvas3D& canvas = chart_.Canvas();
    for (int index = first; index >= 0 && index <= last; ++index) {
        QString text;
        double value = 0.0;
        bool found = false;
        for (size_t k = 0; k < series.size() && !found; ++k) {
            TChartSeries* s = series[k];
            if (index < ranges[k].first || index > ranges[k].second || index >= s->Count())
                continue;
            text = marks ? s->GetMarkText(index) : s->XLabel(index);
            if (chart_.OnGetAxisLabel)
                chart_.OnGetAxisLabel(this, s, index, text);
            if (text.isEmpty())
                continue;
            value = horizontal_ ? s->GetPointX(index) : s->GetPointY(index);
            found = true;
        }
        if (!found || !(value >= currentMinimum_ && value <= currentMaximum_))
            continue;
        const int pixel = ValueToPixel(value);
        if (!tickOnLabelsOnly_)
            AddTick(pixel, value);
        if (!Labels())
            continue;
        canvas.AssignFont(&LabelsFont());
        const int lines = static_cast<int>(text.count(kLineSeparator)) + 1;
        const bool across = horizontal_ ? (labelsAngle_ == 90 || labelsAngle_ == 270)
                                        : (labelsAngle_ == 0 || labelsAngle_ == 180);
        const int extent = across ? canvas.FontHeight() * lines : WidestLine(canvas, text);
        if (labelsSeparation_ != 0 && labelDrawn_) {
            const int half = (extent + static_cast<int>(std::trunc(extent * 0.02 * labelsSeparation_))) / 2;
            const bool before = pixel < previousLabelPixel_;
            const bool clear = before ? pixel + half <= previousLabelPixel_ - previousLabelHalf_
                                      : pixel - half >= previousLabelPixel_ + previousLabelHalf_;
            if (!clear)
                continue;
            previousLabelHalf_ = half;
        } else {
            previousLabelHalf_ = (extent + static_cast<int>(std::trunc(extent * 0.02 * labelsSeparation_))) / 2;
        }
        previousLabelPixel_ = pixel;
        labelDrawn_ = true;
        PlaceLabel(pixel, value, text, nullptr);
    }
}

void TChartAxis::ItemLabels()
{
    for (int i = 0; i < items_->Count(); ++i) {
        TAxisItem* item = items_->Items(i);
        const double value = item->Value();
        if (value < minimum_ || value > maximum_)
            continue;
        const int pixel = ValueToPixel(value);
        if (!tickOnLabelsOnly_)
            AddTick(pixel, value);
        if (item->Visible())
            PlaceLabel(pixel, value, item->Text().isEmpty() ? LabelTextOfValue(value) : item->Text(), item);
    }
}

void TChartAxis::DepthLabels()
{
    const std::vector<TChartSeries*> series = ActiveSeriesOf(chart_, nullptr);
    if (series.empty())
        return;
    const int first = static_cast<int>(std::trunc(currentMinimum_));
    const int last = static_cast<int>(std::trunc(currentMaximum_));
    for (int i = first; i <= last && i - first < kMaxLabels; ++i) {
        const double value = (currentMaximum_ - i) - 0.5;
        const int pixel = ValueToPixel(value);
        if (!tickOnLabelsOnly_)
            AddTick(pixel, value);
        if (!Labels() || i < 0 || i >= static_cast<int>(series.size()))
            continue;
        QString text = SeriesTitleOrName(*series[static_cast<size_t>(i)]);
        if (chart_.OnGetAxisLabel)
            chart_.OnGetAxisLabel(this, series[static_cast<size_t>(i)], i, text);
        PlaceLabel(pixel, value, text, nullptr);
    }
}

void TChartAxis::PlaceLabel(int pixel, double value, const QString& text, TPlotCustomShape* shape)
{
    if (tickOnLabelsOnly_)
        AddTick(pixel, value);
    if (text.isEmpty())
        return;
    TCanvas3D& canvas = chart_.Canvas();
    if (items_->Automatic() && !shape)
        items_->AddAutomatic(value, text);
    canvas.AssignFont(shape ? &shape->Font() : &LabelsFont());
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(cbmTransparent);

    int row = labelsPixel_;
    if (labelsAlternate_) {
        if (alternateOuter_) {
            if (horizontal_)
                row += otherSide_ ? -canvas.FontHeight() : canvas.FontHeight();
            else
                row += otherSide_ ? WidestLabel() : -WidestLabel();
            canvas.AssignFont(shape ? &shape->Font() : &LabelsFont());
        }
        alternateOuter_ = !alternateOuter_;
    }
    if (isDepth_) {
        canvas.SetTextAlign(otherSide_ ? kAlignLeft : kAlignRight);
        const int x = otherSide_ ? labelsPixel_ : labelsPixel_ - 2 - canvas.TextWidth(QStringLiteral("W")) / 2;
        const TRect r = chart_.ChartRect;
        const int y = otherSide_ ? r.Bottom - depthOffset_ : r.Top + depthOffset_;
        int z = pixel;
        if (chart_.View3DOptions().Orthogonal() || chart_.View3DOptions().Rotation() == 360)
            z += canvas.FontHeight() / 2;
        DrawLabelText(x, y, labelsAngle_, text, shape, z);
        return;
    }
    if (horizontal_)
        DrawLabelText(pixel, row, labelsAngle_, text, shape);
    else
        DrawLabelText(row, pixel, labelsAngle_, text, shape);
}
