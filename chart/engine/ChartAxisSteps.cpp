#include "chart/engine/ChartAxis.h"

#include "app/NumberText.h"
#include "chart/canvas/DateTimeSteps.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kOneMicrosecond = 1.0 / 86400000000.0;
constexpr double kOneSecond = 1.0 / 86400.0;
constexpr double kMaxLinearLabels = 10000;

// The next value of the 1, 2, 5, 10 sequence strictly above step. Decades are found from the
// logarithm and then checked, so that 0.2 stored a hair below 2/10 still moves on.
double NextStep125(double step)
{
    double decade = std::pow(10.0, std::floor(std::log10(step)));
    if (!(decade > 0.0) || std::isinf(decade))
        return step * 2.0;
    while (decade > step)
        decade /= 10.0;
    for (int guard = 0; guard < 4; ++guard) {
        for (const double m : {1.0, 2.0, 5.0, 10.0}) {
            const double candidate = m * decade;
            if (candidate > step * (1.0 + 1e-12))
                return candidate;
        }
        decade *= 10.0;
    }
    return step * 2.0;
}

} // namespace

bool TChartAxis::IsAlongDirection(const TChartSeries& series) const
{
    return horizontal_ == series.YMandatory();
}

bool TChartAxis::HasFewPointSeries(int numLabels) const
{
    TChartSeriesList& list = chart_.SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(list[i]);
        if (series && series->Active() && series->AssociatedToAxis(this) && IsAlongDirection(*series) &&
            series->Count() <= numLabels)
            return true;
    }
    return false;
}

int TChartAxis::LabelSizeAlong(const QString& text)
{
    TCanvas3D& canvas = chart_.Canvas();
    const QStringList lines = text.split(QChar(13));
    const bool across = horizontal_ ? (labelsAngle_ == 90 || labelsAngle_ == 270)
                                    : (labelsAngle_ == 0 || labelsAngle_ == 180);
    if (across)
        return canvas.FontHeight() * static_cast<int>(lines.size());
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, canvas.TextWidth(line));
    return widest;
}

double TChartAxis::LabelStep()
{
    return LabelStepWith(increment_);
}

double TChartAxis::LabelStepWith(double increment)
{
    // An infinite range would halve its middle value for ever, and NaN has no step at all.
    if (!std::isfinite(currentMinimum_) || !std::isfinite(currentMaximum_) || !std::isfinite(currentRange_))
        return 0.0;
    auto measure = [this](double inc) {
        double lo = currentMinimum_;
        double hi = currentMaximum_;
        if (roundFirstLabel_ && inc != 0.0) {
            lo = std::fabs(currentMinimum_) > 9223372036854775807.0
                     ? currentMinimum_ * inc
                     : static_cast<double>(RoundHalfEven(currentMinimum_)) * inc;
            hi = std::trunc(currentMaximum_) * inc;
        }
        double middle = (hi + lo) * 0.5;
        while (middle != 0.0 && std::isfinite(middle) && middle == std::trunc(middle))
            middle *= 0.5;
        chart_.Canvas().AssignFont(&LabelsFont());
        int size = LabelSizeAlong(LabelTextOfValue(middle));
        size = std::max(size, LabelSizeAlong(LabelTextOfValue(hi)));
        size = std::max(size, LabelSizeAlong(LabelTextOfValue(lo)));
        if (inc != 0.0) {
            size = std::max(size, LabelSizeAlong(LabelTextOfValue(hi - inc)));
            size = std::max(size, LabelSizeAlong(LabelTextOfValue(lo + inc)));
        }
        return StepForLabelSizeWith(size, inc);
    };
    double step = measure(increment);
    if (!labelsAlternate_ && increment == 0.0 && step >= 2.0)
        step = measure(1.0);
    if (labelsAlternate_)
        step = logarithmic_ ? step / logarithmicBase_ : step * 0.5;
    if (FitsLinearLabels())
        step = FitStepToLabels(step);
    return step;
}

// The step above found from the widest of a few texts; the texts between may be wider, and a
// step finer than the label format shows prints the same text twice. The linear loop's labels
// are therefore laid out for real and the step moves on along its own sequence until no two
// labels overlap and no text repeats.
bool TChartAxis::FitsLinearLabels()
{
    if (!Labels() || !items_->Automatic() || isDepth_ || sizePixels_ < 1 || chart_.OnGetNextAxisLabel ||
        (logarithmic_ && increment_ == 0.0) || CalcLabelStyle() != talValue || ZeroWidthRange())
        return false;
    // Calendar steps of half a month and more are not plain multiples; they keep their own rule.
    const int stepIndex = DateStepIndex(increment_);
    return !(stepIndex >= 20 && stepIndex < DateTimeStepCount);
}

double TChartAxis::NextLabelStep(double step) const
{
    if (showsDateTime_) {
        if (step >= 365.0)
            return step * 2.0;
        if (step >= kOneSecond)
            return FindDateTimeStep(step);
        return NextStep125(step);
    }
    return logarithmic_ ? step * logarithmicBase_ : NextStep125(step);
}

bool TChartAxis::LabelsFitAtStep(double step)
{
    const std::vector<double> values = LinearLabelValues(step, DateStepIndex(step));
    struct Placed {
        int pixel;
        int extent;
    };
    std::vector<Placed> placed;
    std::vector<QString> texts;
    placed.reserve(values.size());
    texts.reserve(values.size());
    TCanvas3D& canvas = chart_.Canvas();
    for (const double value : values) {
        const int pixel = ValueToPixel(value);
        if (!(labelsOnAxis_ || (pixel > startPixel_ && pixel < endPixel_)))
            continue;
        QString text = LabelTextOfValue(value);
        if (text.isEmpty())
            continue;
        if (std::find(texts.begin(), texts.end(), text) != texts.end())
            return false;
        canvas.AssignFont(&LabelsFont());
        placed.push_back({pixel, LabelSizeAlong(text)});
        texts.push_back(std::move(text));
    }
    // Alternate rows put every second label one row further out: neighbours in a row are two
    // apart.
    const size_t stride = labelsAlternate_ ? 2 : 1;
    for (size_t i = stride; i < placed.size(); ++i) {
        const Placed& a = placed[i - stride];
        const Placed& b = placed[i];
        const int64_t room = 2 * static_cast<int64_t>(std::abs(a.pixel - b.pixel)) * 100;
        const int64_t need = static_cast<int64_t>(a.extent + b.extent) * (100 + std::max(0, labelsSeparation_));
        if (room < need)
            return false;
    }
    return true;
}

double TChartAxis::FitStepToLabels(double step)
{
    if (!(step > 0.0) || !std::isfinite(step))
        return step;
    const bool keep = !chart_.OnGetAxisLabel;
    const QString fontKey = keep ? LabelFontKey() : QString();
    if (keep)
        for (const FitCache& c : fitCache_)
            if (c.valid && c.generation == generation_ && c.minimum == currentMinimum_ &&
                c.maximum == currentMaximum_ && c.step == step && c.start == startPixel_ && c.size == sizePixels_ &&
                c.fontKey == fontKey && c.decimal == DecimalSeparator() && c.thousands == ThousandSeparator() &&
                c.dateTime == showsDateTime_)
                return c.fitted;
    const double fitted = SearchFittingStep(step);
    if (keep) {
        fitCache_[1] = std::move(fitCache_[0]);
        fitCache_[0] = FitCache{true,     generation_, currentMinimum_,    currentMaximum_,    step,          fitted,
                                startPixel_, sizePixels_, fontKey, DecimalSeparator(), ThousandSeparator(), showsDateTime_};
    }
    return fitted;
}

double TChartAxis::SearchFittingStep(double step)
{
    for (int guard = 0; guard < 200; ++guard) {
        // Labels closer than a pixel always overlap; skip them without measuring.
        if (std::fabs(step * pixelsPerUnit_) >= 1.0 || logarithmic_) {
            if (std::fabs(currentRange_ / step) < kMaxLinearLabels && LabelsFitAtStep(step))
                return step;
        }
        const double next = NextLabelStep(step);
        if (!(next > step) || !std::isfinite(next))
            return step;
        step = next;
        // A step beyond the range leaves at most one label, which always fits.
        if (step > std::fabs(currentRange_) * 2)
            return step;
    }
    return step;
}

double TChartAxis::StepForLabelSize(int maxLabelSize)
{
    return StepForLabelSizeWith(maxLabelSize, increment_);
}

double TChartAxis::StepForLabelSizeWith(int maxLabelSize, double increment)
{
    if (maxLabelSize >= 1 && sizePixels_ >= 1) {
        int size = maxLabelSize;
        if (labelsSeparation_ > 0)
            size += static_cast<int>(RoundHalfEven(labelsSeparation_ * 0.01 * maxLabelSize));
        return StepForLabelCountWith(static_cast<int>(RoundHalfEven(static_cast<double>(sizePixels_) / size)),
                                     increment);
    }
    return StepForLabelCountWith(1, increment);
}

double TChartAxis::StepForLabelCount(int numLabels)
{
    return StepForLabelCountWith(numLabels, increment_);
}

double TChartAxis::DateTimeStepForLabelCount(int numLabels, double increment) const
{
    double step = std::max(kOneMicrosecond, increment);
    if (step > 0 && numLabels >= 1) {
        if (currentRange_ / step > 1000000.0)
            step = currentRange_ / 1000000.0;
        for (int guard = 0; guard < 10000 && RoundHalfEven(currentRange_ / step) > numLabels; ++guard) {
            double next;
            if (step >= 365.0)
                next = step * 2.0;
            else if (step >= kOneSecond)
                next = FindDateTimeStep(step);
            else
                next = NextStep125(step);
            if (!(next > step))
                break;
            step = next;
        }
    }
    return std::max(kOneMicrosecond, step);
}

double TChartAxis::StepForLabelCountWith(int numLabels, double increment)
{
    if (!std::isfinite(currentRange_))
        return 0.0;
    if (numLabels <= 0)
        return showsDateTime_ ? kOneMicrosecond : 1e-12;
    if (showsDateTime_)
        return DateTimeStepForLabelCount(numLabels, increment);
    double step;
    if (increment > 0) {
        step = increment;
    } else if (currentRange_ == 0.0) {
        step = 1.0;
    } else {
        step = std::fabs(currentRange_) / (numLabels + 1);
        if (logarithmic_)
            step = std::pow(logarithmicBase_,
                            static_cast<double>(RoundHalfEven(std::log(step) / std::log(logarithmicBase_))));
        if (currentRange_ >= 1.1 && HasFewPointSeries(numLabels))
            step = std::max(step, 1.0);
    }
    if (labelsSeparation_ > 0) {
        for (int guard = 0; guard < 100000; ++guard) {
            const double q = currentRange_ / step;
            if (!(std::fabs(q) >= 2147483647.0 || RoundHalfEven(q) > numLabels))
                break;
            const double next = logarithmic_ ? step * logarithmicBase_ : NextStep125(step);
            // A base below 1, or a step that no longer grows, would loop for ever.
            if (!(next > step))
                break;
            step = next;
            if (step > currentRange_ || std::isinf(step))
                break;
        }
    }
    if (std::isinf(step))
        return currentRange_;
    return std::max(1e-12, step);
}
