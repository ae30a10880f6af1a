#include "chart/engine/ChartAxis.h"

#include "app/NumberText.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

enum class Side { Bottom, Top, Left, Right };

} // namespace

static Side SideOf(bool horizontal, bool otherSide)
{
    if (horizontal)
        return otherSide ? Side::Top : Side::Bottom;
    return otherSide ? Side::Right : Side::Left;
}

int TChartAxis::PositionOffset(int percentBase) const
{
    if (positionPercent_ == 0.0)
        return 0;
    int offset = positionUnits_ == muPixels
                     ? static_cast<int>(RoundHalfEven(positionPercent_))
                     : static_cast<int>(RoundHalfEven(0.01 * positionPercent_ * percentBase));
    if (otherSide_)
        offset = -offset;
    if (horizontal_)
        offset = -offset;
    return offset;
}

int TChartAxis::TickSize() const
{
    int size = (axisPen_->Visible() ? axisPen_->Width() + 1 : 0) + (ticks_->Visible() ? tickLength_ : 0);
    if (minorTicks_->Visible())
        size = std::max(size, minorTickLength_);
    return size;
}

// Labels that run along the axis take the height of their lines, the most any label has (value
// labels have one unless spaces break them); slanted ones the extent of the turned block.
int TChartAxis::LabelsSizeValue()
{
    if (labelsSize_ != 0)
        return labelsSize_;
    TCanvas3D& canvas = chart_.Canvas();
    canvas.AssignFont(&LabelsFont());
    const bool along = horizontal_ ? (labelsAngle_ == 0 || labelsAngle_ == 180)
                                   : (labelsAngle_ == 90 || labelsAngle_ == 270);
    const bool slanted = labelsAngle_ % 90 != 0 && !isDepth_;
    int size = 0;
    if (slanted || (along && !(items_->Automatic() && CalcLabelStyle() == talValue && !labelsMultiLine_))) {
        const LabelsBlock block = MeasureLabels();
        canvas.AssignFont(&LabelsFont());
        size = slanted ? SlantedExtent(labelsAngle_, block.Width, block.Lines, canvas.FontHeight())
                       : canvas.FontHeight() * block.Lines;
    } else {
        size = along ? canvas.FontHeight() : WidestLabel();
    }
    if (labelsAlternate_)
        size *= 2;
    return size;
}

int TChartAxis::TitleSizeValue()
{
    if (titleSize_ != 0)
        return titleSize_;
    TCanvas3D& canvas = chart_.Canvas();
    canvas.AssignFont(&title_->Font());
    const int angle = title_->Angle();
    const bool along = horizontal_ ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
    if (angle % 90 != 0) {
        LabelsBlock caption;
        caption.Take(canvas, title_->Caption());
        return SlantedExtent(angle, caption.Width, caption.Lines, canvas.FontHeight());
    }
    return along ? canvas.FontHeight() : canvas.TextWidth(title_->Caption());
}

// A value label stands centred on its value along the axis, so one at an end of the range hangs
// half its size past that end. Slanted labels are not centred, and the labels of marks, texts and
// custom items are not the range's ends: they keep the room the chart gives them.
std::pair<int, int> TChartAxis::EndLabelsReach()
{
    if (isDepth_ || !Labels() || !items_->Automatic() || labelsAngle_ % 90 != 0 || CalcLabelStyle() != talValue ||
        !std::isfinite(currentRange_) || ZeroWidthRange())
        return {0, 0};
    chart_.Canvas().AssignFont(&LabelsFont());
    auto half = [this](double value) { return (LabelSizeAlong(LabelTextOfValue(value)) + 1) / 2; };
    const int atMinimum = half(currentMinimum_);
    const int atMaximum = half(currentMaximum_);
    // The minimum lies at the first pixel of a horizontal axis and at the last of a vertical one.
    const bool minimumFirst = horizontal_ != inverted_;
    return minimumFirst ? std::pair{atMinimum, atMaximum} : std::pair{atMaximum, atMinimum};
}

void TChartAxis::LayoutAxis(TRect& rect, bool inflate)
{
    RefreshShowsDateTime();
    wallSize_ = chart_.GetWallSize(*this);
    const Side side = SideOf(horizontal_, otherSide_);
    const int percentBase = horizontal_ ? chart_.ChartRect.Height() : chart_.ChartRect.Width();
    const bool hasTitle = title_->Visible() && !title_->Caption().isEmpty();
    if (isDepth_) {
        if (hasTitle)
            titlePixel_ = otherSide_ ? rect.Right : rect.Left;
        labelsPixel_ = axisPixel_ = otherSide_ ? rect.Right : rect.Left;
        return;
    }
    if (inflate) {
        auto take = [&](int amount) {
            switch (side) {
            case Side::Bottom: rect.Bottom -= amount; return rect.Bottom;
            case Side::Top: rect.Top += amount; return rect.Top;
            case Side::Right: rect.Right -= amount; return rect.Right;
            case Side::Left: break;
            }
            rect.Left += amount;
            return rect.Left;
        };
        if (hasTitle)
            titlePixel_ = take(TitleSizeValue());
        if (Labels()) {
            int size = LabelsSizeValue();
            if (chart_.Axes().OnAxisLabelsSize)
                chart_.Axes().OnAxisLabelsSize(*this, size);
            labelsPixel_ = take(size);
        }
        const int ticks = wallSize_ + TickSize();
        if (ticks > 0)
            take(ticks);
        const int offset = PositionOffset(percentBase);
        titlePixel_ += offset;
        labelsPixel_ += offset;
        return;
    }
    const bool outwardsPositive = side == Side::Bottom || side == Side::Right;
    const int out = outwardsPositive ? 1 : -1;
    int edge = 0;
    switch (side) {
    case Side::Bottom: edge = rect.Bottom; break;
    case Side::Top: edge = rect.Top; break;
    case Side::Left: edge = rect.Left; break;
    case Side::Right: edge = rect.Right; break;
    }
    axisPixel_ = edge + PositionOffset(percentBase);
    labelsPixel_ = axisPixel_ + out * TickSize();
    titlePixel_ = labelsPixel_ + out * (Labels() ? LabelsSizeValue() : 0);
}

void TChartAxis::Draw(bool calcPosAxis)
{
    RefreshShowsDateTime();
    if (calcPosAxis && !isDepth_) {
        const TRect r = chart_.ChartRect;
        const Side side = SideOf(horizontal_, otherSide_);
        const int edge = side == Side::Bottom ? r.Bottom : side == Side::Top ? r.Top : side == Side::Left ? r.Left : r.Right;
        axisPixel_ = edge + PositionOffset(horizontal_ ? r.Height() : r.Width());
    }
    DrawTitle();
    DrawAxisLabels();
    DrawAxisLineTicksAndGrid();
}

void TChartAxis::DrawTitle()
{
    if (!title_->Visible() || title_->Caption().isEmpty())
        return;
    TCanvas3D& canvas = chart_.Canvas();
    canvas.AssignFont(&title_->Font());
    canvas.SetBackMode(cbmTransparent);
    if (isDepth_) {
        canvas.SetTextAlign(otherSide_ ? 0 : 2);
        const TRect r = chart_.ChartRect;
        canvas.RotateLabelAtDepth(titlePixel_, r.Bottom, chart_.Width3D / 2, title_->Caption(), title_->Angle());
        canvas.SetTextAlign(0);
        return;
    }
    const bool exponent = labelsExponent_;
    labelsExponent_ = false;
    if (horizontal_)
        DrawLabelText(centerPixel_, titlePixel_, title_->Angle(), title_->Caption(), title_.get());
    else
        DrawLabelText(titlePixel_, centerPixel_, title_->Angle(), title_->Caption(), title_.get());
    labelsExponent_ = exponent;
}

void TChartAxis::DrawTicks(const std::vector<int>& positions, int offset, int length)
{
    TCanvas3D& canvas = chart_.Canvas();
    // In 3D the ticks go through the projection the axis line takes, so that they meet it.
    const bool flat = !chart_.View3D();
    auto vertical = [&](int x, int y0, int y1) {
        if (flat)
            canvas.VertLine(x, y0, y1);
        else
            canvas.VertLineAtDepth(x, y0, y1, depthOffset_);
    };
    auto horizontal = [&](int x0, int x1, int y) {
        if (flat)
            canvas.HorizLine(x0, x1, y);
        else
            canvas.HorizLineAtDepth(x0, x1, y, depthOffset_);
    };
    const Side side = SideOf(horizontal_, otherSide_);
    for (const int p : positions) {
        switch (side) {
        case Side::Bottom: {
            const int y = axisPixel_ + wallSize_ + offset;
            vertical(p, y, y + length);
            break;
        }
        case Side::Left: {
            const int x = axisPixel_ - wallSize_ - offset;
            horizontal(x, x - length, p);
            break;
        }
        case Side::Top: {
            const int y = axisPixel_ - offset;
            vertical(p, y, y - length);
            break;
        }
        case Side::Right: {
            const int x = axisPixel_ + wallSize_ + offset;
            horizontal(x, x + length, p);
            break;
        }
        }
    }
}

void TChartAxis::DrawGridLine(int position)
{
    if (!(position > startPixel_ && position < endPixel_))
        return;
    TCanvas3D& canvas = chart_.Canvas();
    const TRect r = chart_.ChartRect;
    if (isDepth_) {
        // Depth grid lines run across the floor and up the left wall at their depth.
        canvas.HorizLineAtDepth(r.Left, r.Right, r.Bottom, position);
        canvas.VertLineAtDepth(r.Left, r.Top, r.Bottom, position);
        return;
    }
    if (!chart_.View3D()) {
        if (horizontal_)
            canvas.VertLine(position, r.Top + 1, r.Bottom);
        else
            canvas.HorizLine(r.Left + 1, r.Right, position);
        return;
    }
    const int z = static_cast<int>(RoundHalfEven(chart_.Width3D * grid_->ZPosition() * 0.01));
    if (horizontal_)
        canvas.VertLineAtDepth(position, r.Top + 1, r.Bottom, z);
    else
        canvas.HorizLineAtDepth(r.Left + 1, r.Right, position, z);
}

std::vector<int> TChartAxis::MinorPositions()
{
    std::vector<int> result;
    const int count = minorTickCount_;
    if (count < 1 || tickPositions_.empty())
        return result;
    if (!logarithmic_) {
        // One tick gives no spacing to extrapolate from.
        if (tickPositions_.size() < 2)
            return result;
        const std::vector<int>& t = tickPositions_;
        const double parts = count + 1.0;
        const double d = (t[1] - t[0]) / parts;
        for (int j = 1; j <= count; ++j) {
            const int step = static_cast<int>(RoundHalfEven(j * d));
            result.push_back(t.front() - step);
            result.push_back(t.back() + step);
        }
        for (size_t i = 1; i < t.size(); ++i)
            for (int j = 1; j <= count; ++j)
                result.push_back(t[i - 1] + static_cast<int>(RoundHalfEven(j * (t[i] - t[i - 1]) / parts)));
        return result;
    }
    const double base = logarithmicBase_;
    std::vector<double> values;
    values.push_back(tickValues_.back() / base);
    for (const double v : tickValues_)
        if (std::find(values.begin(), values.end(), v) == values.end())
            values.push_back(v);
    for (const double v : values)
        for (int k = 1; k <= count; ++k) {
            const double m = v + k * (v * base - v) / (count + 1);
            if (m >= currentMinimum_ && m <= currentMaximum_)
                result.push_back(ValueToPixel(m));
        }
    return result;
}

void TChartAxis::DrawMinorElements(TChartPen& pen, bool grid)
{
    std::vector<int> positions = MinorPositions();
    positions.erase(std::remove_if(positions.begin(), positions.end(),
                                   [this](int p) { return !(p > startPixel_ && p < endPixel_); }),
                    positions.end());
    TCanvas3D& canvas = chart_.Canvas();
    canvas.AssignVisiblePen(pen);
    if (grid) {
        for (const int p : positions)
            DrawGridLine(p);
    } else {
        DrawTicks(positions, 1, minorTickLength_);
    }
}

void TChartAxis::DrawAxisLineTicksAndGrid()
{
    TCanvas3D& canvas = chart_.Canvas();
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(cbmTransparent);
    wallSize_ = chart_.GetWallSize(*this);
    const Side side = SideOf(horizontal_, otherSide_);

    if (axisPen_->Visible()) {
        canvas.AssignVisiblePen(*axisPen_);
        const bool flat = !chart_.View3D();
        if (OnDrawAxisLine) {
            OnDrawAxisLine(*this);
        } else if (isDepth_) {
            const TRect r = chart_.ChartRect;
            canvas.DepthLine(axisPixel_, otherSide_ ? r.Top : r.Bottom, startPixel_, endPixel_);
        } else if (axisPen_->LineMode() == lmLine) {
            if (horizontal_ && flat)
                canvas.HorizLine(startPixel_, endPixel_, axisPixel_);
            else if (horizontal_)
                canvas.HorizLineAtDepth(startPixel_, endPixel_, axisPixel_, depthOffset_);
            else if (flat)
                canvas.VertLine(axisPixel_, startPixel_, endPixel_);
            else
                canvas.VertLineAtDepth(axisPixel_, startPixel_, endPixel_, depthOffset_);
        } else {
            // Cylinder and box lines are drawn as a filled band as thick as the pen.
            const int thickness = axisPen_->Width();
            canvas.Pen().SetStyle(psClear);
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(axisPen_->Color());
            const int outward = (side == Side::Bottom || side == Side::Right) ? thickness : -thickness;
            if (horizontal_)
                canvas.Rectangle(startPixel_, std::min(axisPixel_, axisPixel_ + outward), endPixel_,
                                 std::max(axisPixel_, axisPixel_ + outward));
            else
                canvas.Rectangle(std::min(axisPixel_, axisPixel_ + outward), startPixel_,
                                 std::max(axisPixel_, axisPixel_ + outward), endPixel_);
            canvas.Brush().SetStyle(bsClear);
        }
    }
    if (ticks_->Visible() && tickLength_ != 0 && !isDepth_) {
        canvas.AssignVisiblePen(*ticks_);
        DrawTicks(tickPositions_, 1, tickLength_);
    }
    if (OnBeforeDrawGrid)
        OnBeforeDrawGrid(*this);
    if (grid_->Visible()) {
        canvas.AssignVisiblePenColor(*grid_, grid_->Color() == clDefault ? clGray : grid_->Color());
        canvas.SetBackMode(cbmTransparent);
        canvas.Brush().SetStyle(bsClear);
        const size_t every = static_cast<size_t>(grid_->EffectiveDrawEvery());
        const std::vector<int>& t = tickPositions_;
        if (grid_->Centered()) {
            for (size_t i = 1; i < t.size(); i += every)
                DrawGridLine(static_cast<int>(RoundHalfEven((t[i] + t[i - 1]) * 0.5)));
        } else {
            for (size_t i = 0; i < t.size(); i += every)
                DrawGridLine(t[i]);
        }
    }
    if (ticksInner_->Visible() && tickInnerLength_ != 0 && !isDepth_) {
        canvas.AssignVisiblePen(*ticksInner_);
        DrawTicks(tickPositions_, -1, -tickInnerLength_);
    }
    if (!tickPositions_.empty()) {
        if (minorTicks_->Visible() && !isDepth_)
            DrawMinorElements(*minorTicks_, false);
        if (minorGrid_->Visible())
            DrawMinorElements(*minorGrid_, true);
    }
    canvas.SetBackMode(cbmOpaque);
}

void TChartAxis::Scroll(double offset, bool checkLimits)
{
    bool apply = true;
    if (checkLimits) {
        if (offset > 0)
            apply = chart_.AxisDataMinMax(*this, horizontal_, true) > maximum_;
        else if (offset < 0)
            apply = chart_.AxisDataMinMax(*this, horizontal_, false) < minimum_;
        else
            apply = false;
    }
    if (!apply)
        return;
    automatic_ = automaticMinimum_ = automaticMaximum_ = false;
    MoveRangeWithinDoubles(minimum_, maximum_, offset);
    Changed();
}

bool TChartAxis::Clicked(int x, int y)
{
    if (!chart_.IsAxisVisible(*this))
        return false;
    const Side side = SideOf(horizontal_, otherSide_);
    int lo = axisPixel_;
    int hi = axisPixel_;
    if (Labels()) {
        if (side == Side::Bottom || side == Side::Right) {
            lo = axisPixel_ - 3;
            hi = labelsPixel_;
        } else {
            lo = labelsPixel_;
            hi = axisPixel_ + 3;
        }
        if (lo > hi)
            std::swap(lo, hi);
    }
    const int along = horizontal_ ? x : y;
    const int across = horizontal_ ? y : x;
    return along >= startPixel_ && along <= endPixel_ && across >= lo && across <= hi;
}
