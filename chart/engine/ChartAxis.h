#ifndef ZENDRIK_CHART_ENGINE_CHARTAXIS_H
#define ZENDRIK_CHART_ENGINE_CHARTAXIS_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotPanel.h"
#include "chart/engine/AxisGridPen.h"
#include "chart/engine/AxisItems.h"
#include "chart/engine/AxisTitle.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/SeriesAxis.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

class TCanvas3D;
class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;
class TPlotCustomShape;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };
enum TAxisLabelAlign { alDefault, alOpposite };

// The chart's label events: rewrite a label text, and supply the label values one by one.
using TAxisGetLabelEvent = std::function<void(TChartAxis* sender, TChartSeries* series, int valueIndex, QString& text)>;
using TAxisGetNextLabelEvent =
    std::function<void(TChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;

// Invalid axis settings; the text is the message table's, the old value stays.
class AxisException : public ChartException {
public:
    using ChartException::ChartException;
};

using TAxisDrawLabelEvent =
    std::function<void(TChartAxis* sender, int& x, int& y, int& z, QString& text, bool& drawLabel)>;
using TAxisHook = std::function<void(TChartAxis& axis)>;

// Limits further apart than the largest double narrowed about their middle to the widest finite
// span; true when they were.
bool NarrowToFiniteSpan(double& low, double& high);
// Both limits moved by offset as far as they go: the move stops where one of them would pass the
// largest double, and their difference stays a number.
void MoveRangeWithinDoubles(double& minimum, double& maximum, double offset);
// A share of the span between two limits, finite also where their difference is not.
inline double ShareOfRange(double minimum, double maximum, double share)
{
    const double span = maximum - minimum;
    return std::isfinite(span) ? span * share : maximum * share - minimum * share;
}

// The conversion routine in force, chosen once per change of scale, orientation or layout.
enum class AxisConversion : uint8_t { Center, LinearClamped, LinearFast, Logarithmic, Depth };

// One axis of a chart: its range, scale, place in pixels and the conversion of values to pixels
// and back; its labels (AxisLabels.cpp), layout and drawing (AxisLayout.cpp).
class TChartAxis : public SeriesAxis {
public:
    TChartAxis(TCustomAxisPanel& chart, bool horizontal, bool otherSide = false, bool isDepth = false);
    ~TChartAxis() override;
    TChartAxis(const TChartAxis&) = delete;
    TChartAxis& operator=(const TChartAxis&) = delete;

    virtual void Assign(const TChartAxis& source);

    // --- SeriesAxis
    int ValueToPixel(double value) const override { return (this->*calcPos_)(value); }
    double PixelToValue(int pixel) const override;
    double CurrentMinimum() const override { return currentMinimum_; }
    double CurrentMaximum() const override { return currentMaximum_; }
    bool Horizontal() const override { return horizontal_; }
    ChartParent* ParentChart() const override;
    SeriesAxis* MasterAxis() const override { return masterAxis_; }
    void SetRange(double minimum, double maximum) override;

    TCustomAxisPanel& Chart() const { return chart_; }
    void SetMasterAxis(SeriesAxis* axis) { masterAxis_ = axis; }

    // Whole traces at once: the routine is chosen once for all of them.
    void ValuesToPixels(std::span<const double> values, std::span<int32_t> pixels) const;
    AxisConversion Conversion() const { return conversion_; }
    // The value between pixel column `pixel` and the next one along growing values: the
    // conversion's rounding boundary mapped back. NaN where there is none (a constant, clamped,
    // unclamped or depth conversion). Values within a hair of it convert either way.
    double ColumnEnd(int pixel) const;
    // The same for every column of the axis, from pixel `first` on. Kept until the conversion
    // changes: every trace on the axis asks for the same ones.
    std::span<const double> ColumnEnds(int& first) const;
    // +1 or -1: the way the pixels go as the values grow.
    int ColumnStep() const;
    // Where the clamped linear conversion stops: the canvas' coordinate limit, or the axis' ends
    // while its range is narrowed from data beyond the largest double.
    int32_t ClampLow() const { return clampLow_; }
    int32_t ClampHigh() const { return clampHigh_; }

    // --- Range and scale
    bool Automatic() const { return automatic_; }
    void SetAutomatic(bool value);
    bool AutomaticMaximum() const { return automaticMaximum_; }
    void SetAutomaticMaximum(bool value);
    bool AutomaticMinimum() const { return automaticMinimum_; }
    void SetAutomaticMinimum(bool value);
    double Minimum() const { return minimum_; }
    void SetMinimum(double value);
    double Maximum() const { return maximum_; }
    void SetMaximum(double value);
    void InternalSetMinimum(double value);
    void InternalSetMaximum(double value);
    double Increment() const { return increment_; }
    void SetIncrement(double value);
    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool value);
    double LogarithmicBase() const { return logarithmicBase_; }
    void SetLogarithmicBase(double value);
    bool Inverted() const { return inverted_; }
    virtual void SetInverted(bool value);
    void SetHorizontal(bool value);
    bool OtherSide() const { return otherSide_; }
    void SetOtherSide(bool value) { Store(otherSide_, value); }
    bool MaximumRound() const { return maximumRound_; }
    void SetMaximumRound(bool value) { Store(maximumRound_, value); }
    bool MinimumRound() const { return minimumRound_; }
    void SetMinimumRound(bool value) { Store(minimumRound_, value); }
    int MaximumOffset() const { return maximumOffset_; }
    void SetMaximumOffset(int value) { Store(maximumOffset_, value); }
    int MinimumOffset() const { return minimumOffset_; }
    void SetMinimumOffset(int value) { Store(minimumOffset_, value); }
    double StartPosition() const { return startPosition_; }
    void SetStartPosition(double value) { Store(startPosition_, value); }
    double EndPosition() const { return endPosition_; }
    void SetEndPosition(double value) { Store(endPosition_, value); }
    double PositionPercent() const { return positionPercent_; }
    void SetPositionPercent(double value) { Store(positionPercent_, value); }
    TPlotUnits PositionUnits() const { return positionUnits_; }
    void SetPositionUnits(TPlotUnits value) { Store(positionUnits_, value); }
    double ZPosition() const { return zPosition_; }
    // An exact 0 is stored as 0.01.
    void SetZPosition(double value) { Store(zPosition_, value == 0.0 ? 0.01 : value); }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { Store(visible_, value); }
    // The visibility the chart's last layout computed (series on it, master switch, 3D).
    bool ComputedVisible() const { return computedVisible_; }
    void SetComputedVisible(bool value) { computedVisible_ = value; }

    // --- Labels (texts and formats)
    const QString& AxisValuesFormat() const { return axisValuesFormat_; }
    void SetAxisValuesFormat(const QString& value) { Store(axisValuesFormat_, value); }
    bool IsAxisValuesFormatStored() const;
    const QString& DateTimeFormat() const { return dateTimeFormat_; }
    void SetDateTimeFormat(const QString& value) { Store(dateTimeFormat_, value); }
    bool ExactDateTime() const { return exactDateTime_; }
    void SetExactDateTime(bool value) { Store(exactDateTime_, value); }
    bool Labels() const { return items_->Format().Visible(); }
    void SetLabels(bool value);
    TAxisLabelAlign LabelsAlign() const { return labelsAlign_; }
    void SetLabelsAlign(TAxisLabelAlign value) { Store(labelsAlign_, value); }
    bool LabelsAlternate() const { return labelsAlternate_; }
    void SetLabelsAlternate(bool value) { Store(labelsAlternate_, value); }
    int LabelsAngle() const { return labelsAngle_; }
    void SetLabelsAngle(int value);
    bool LabelsExponent() const { return labelsExponent_; }
    void SetLabelsExponent(bool value) { Store(labelsExponent_, value); }
    TPlotFont& LabelsFont() { return items_->Format().Font(); }
    bool LabelsMultiLine() const { return labelsMultiLine_; }
    void SetLabelsMultiLine(bool value) { Store(labelsMultiLine_, value); }
    bool LabelsOnAxis() const { return labelsOnAxis_; }
    void SetLabelsOnAxis(bool value) { Store(labelsOnAxis_, value); }
    int LabelsSeparation() const { return labelsSeparation_; }
    void SetLabelsSeparation(int value);
    int LabelsSize() const { return labelsSize_; }
    void SetLabelsSize(int value) { Store(labelsSize_, value); }
    TAxisLabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TAxisLabelStyle value) { Store(labelStyle_, value); }
    bool RoundFirstLabel() const { return roundFirstLabel_; }
    void SetRoundFirstLabel(bool value) { Store(roundFirstLabel_, value); }
    TAxisItems& Items() { return *items_; }

    // --- Pens, ticks and title
    TChartAxisPen& Axis() { return *axisPen_; }
    TAxisGridPen& Grid() { return *grid_; }
    bool GridCentered() const { return grid_->Centered(); }
    void SetGridCentered(bool value) { grid_->SetCentered(value); }
    TChartHiddenPen& MinorGrid() { return *minorGrid_; }
    TDarkGrayPen& MinorTicks() { return *minorTicks_; }
    TDarkGrayPen& Ticks() { return *ticks_; }
    TDarkGrayPen& TicksInner() { return *ticksInner_; }
    int MinorTickCount() const { return minorTickCount_; }
    void SetMinorTickCount(int value) { Store(minorTickCount_, value); }
    int MinorTickLength() const { return minorTickLength_; }
    void SetMinorTickLength(int value) { Store(minorTickLength_, value); }
    int TickInnerLength() const { return tickInnerLength_; }
    void SetTickInnerLength(int value) { Store(tickInnerLength_, value); }
    int TickLength() const { return tickLength_; }
    void SetTickLength(int value) { Store(tickLength_, value); }
    bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
    void SetTickOnLabelsOnly(bool value) { Store(tickOnLabelsOnly_, value); }
    TChartAxisTitle& Title() { return *title_; }
    int TitleSize() const { return titleSize_; }
    void SetTitleSize(int value) { Store(titleSize_, value); }

    // --- Working state
    double CurrentRange() const { return currentRange_; }
    bool RangeIsZero() const { return rangeIsZero_; }
    double LogOfMinimum() const { return logOfMinimum_; }
    double LogOfMaximum() const { return logOfMaximum_; }
    double LogRange() const { return logRange_; }
    int StartPixel() const { return startPixel_; }
    int EndPixel() const { return endPixel_; }
    int SizePixels() const { return sizePixels_; }
    int CenterPixel() const { return centerPixel_; }
    double PixelsPerUnit() const { return pixelsPerUnit_; }
    double PixelsPerLogUnit() const { return pixelsPerLogUnit_; }
    int DepthOffset() const { return depthOffset_; }
    bool ShowsDateTime() const { return showsDateTime_; }
    bool IsDepth() const { return isDepth_; }
    int AxisPixel() const { return axisPixel_; }
    int LabelsPixel() const { return labelsPixel_; }
    int TitlePixel() const { return titlePixel_; }
    int WallSize() const { return wallSize_; }
    const std::vector<int>& TickPositions() const { return tickPositions_; }
    const std::vector<double>& TickValues() const { return tickValues_; }

    // --- Range, pixels and steps
    void RecalcRange();
    void RecalcPixels();
    void ShrinkRangeToRect(const TRect& rect);
    // MinimumRound and MaximumRound applied to the range in force.
    void RoundRange() { RoundRangeToStep(); }
    void RefreshShowsDateTime();
    double LabelStep();
    double StepForLabelSize(int maxLabelSize);
    double StepForLabelCount(int numLabels);

    // --- Labels (AxisLabels.cpp)
    virtual TAxisLabelStyle AutoLabelStyle() const;
    TAxisLabelStyle CalcLabelStyle() const;
    virtual QString LabelTextOfValue(double value);
    int WidestLabel();
    void DrawLabelText(int x, int y, int angle, const QString& text, TPlotCustomShape* format = nullptr,
                       int z = 0);
    void DrawAxisLabels();
    // The size a label takes along the axis (text width, or height x lines across it).
    int LabelSizeAlong(const QString& text);
    // No label format tells the ends apart (or the range is 0): one label at the centre.
    bool ZeroWidthRange();
    // How far value labels standing on the two ends of the range reach past the axis' first and
    // last pixels: {towards smaller pixels, towards larger pixels}; 0 where no such label stands.
    std::pair<int, int> EndLabelsReach();

    // --- Layout and drawing (AxisLayout.cpp)
    void LayoutAxis(TRect& rect, bool inflate);
    void Draw(bool calcPosAxis);
    void Scroll(double offset, bool checkLimits);
    bool Clicked(int x, int y);
    int TickSize() const;
    int LabelsSizeValue();
    int TitleSizeValue();

    // Events and hooks.
    TAxisDrawLabelEvent OnDrawLabel;
    // The axis' own next-label hook (no part of the program assigns it).
    TAxisGetNextLabelEvent OnNextLabelHook;
    TAxisHook OnDrawAxisLine;
    TAxisHook OnBeforeDrawGrid;

protected:
    template <typename T>
    void Store(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed();
    bool Reading() const;
    virtual void InvertedChanged() {}

private:
    void SelectPositionRoutines();
    void BindConversion();
    void ComputeScales();
    void RoundRangeToStep();
    void NotifyLinkedAxes(double minimum, double maximum);
    int CalcPixelsLength(int& origin) const;
    int PositionOffset(int percentBase) const;
    bool UsesDateSteps() const;
    double LabelStepWith(double increment);
    bool FitsLinearLabels();
    double NextLabelStep(double step) const;
    bool LabelsFitAtStep(double step);
    double FitStepToLabels(double step);
    double SearchFittingStep(double step);
    double StepForLabelCountWith(int numLabels, double increment);
    double StepForLabelSizeWith(int maxLabelSize, double increment);
    double DateTimeStepForLabelCount(int numLabels, double increment) const;
    bool HasFewPointSeries(int numLabels) const;
    bool IsAlongDirection(const TChartSeries& series) const;

    // Label loops.
    int DateStepIndex(double step) const;
    void LinearLabels(double step, int stepIndex);
    // The values of the linear loop at a step, in drawing order (from the top value down).
    std::vector<double> LinearLabelValues(double step, int stepIndex);
    void LogarithmicLabels();
    // Where the logarithmic loop starts: the minimum it uses, and the power of the base at or
    // below it (or that minimum itself when it is no power).
    struct LogarithmicStart {
        double minimum, start;
        int exponent;
        bool power;
    };
    LogarithmicStart LogarithmicLoopStart() const;
    // The values the logarithmic loop labels, from the start up.
    std::vector<double> LogarithmicLabelValues(const LogarithmicStart& start);
    // Every how many powers a label stands (1: each); the powers inside the range, the first
    // one's exponent.
    int LogarithmicLabelsEvery(const std::vector<double>& powers, int firstExponent);
    bool EventLabels();
    void SeriesLabels(bool marks);
    void ItemLabels();
    void DepthLabels();
    double StepBack(double value, double step, int stepIndex) const;
    void DrawValueLabel(double value);
    void DrawValueLabelAt(int pixel, double value);
    void PlaceLabel(int pixel, double value, const QString& text, TPlotCustomShape* shape);
    void AddTick(int pixel, double value);
    void WriteLabelLine(int x, int y, int z, int angle, const QString& line, uint32_t align);
    // A label slanted by an angle that is no multiple of 90 (AxisLabelText.cpp): the first
    // line's reference point and alignment, the step to the next line and the far end of a line.
    struct SlantedBlock {
        double X = 0, Y = 0, LineX = 0, LineY = 0, TextX = 0, TextY = 0;
        uint32_t Align = 0;
    };
    SlantedBlock PlaceSlanted(int x, int y, int angle, int width, int lines, int lineHeight) const;
    // How far such a block reaches across the axis.
    int SlantedExtent(int angle, int width, int lines, int lineHeight) const;
    void DrawSlantedLabel(int x, int y, int z, int angle, const QString& text, TPlotCustomShape* shape);
    // The widest label and the most lines a label has, in the labels' fonts.
    struct LabelsBlock {
        int Width = 0;
        int Lines = 1;
        void Take(TCanvas3D& canvas, const QString& text);
    };
    LabelsBlock MeasureLabels();
    LabelsBlock MeasureValueLabels();
    QString LabelFontKey();

    // Drawing helpers.
    void DrawTitle();
    void DrawAxisLineTicksAndGrid();
    void DrawTicks(const std::vector<int>& positions, int offset, int length);
    void DrawGridLine(int position);
    void DrawMinorElements(TChartPen& pen, bool grid);
    std::vector<int> MinorPositions();

    // Conversion routines; one is bound to calcPos_.
    int CalcCenter(double value) const;
    int CalcLinearClamped(double value) const;
    int CalcLinearFast(double value) const;
    int CalcLogarithmic(double value) const;
    int CalcDepth(double value) const;

    TCustomAxisPanel& chart_;
    int (TChartAxis::*calcPos_)(double) const = &TChartAxis::CalcCenter;
    AxisConversion conversion_ = AxisConversion::Center;
    AxisConversion kind_ = AxisConversion::LinearClamped;
    // Precomputed for the conversions: origin and direction (+1 or -1) of the coordinate.
    double linearOrigin_ = 0.0;
    double linearDirection_ = 1.0;
    int32_t fastOrigin_ = 0;
    int32_t fastDirection_ = 1;
    double logReference_ = 0.0;
    double logSign_ = 1.0;
    int32_t logOrigin_ = 0;
    int32_t logDirection_ = 1;
    int32_t logNonPositivePixel_ = 0;
    double depthReference_ = 0.0;
    double depthSign_ = 1.0;
    int32_t pixelLimit_ = 67108863;
    int32_t clampLow_ = -67108863;
    int32_t clampHigh_ = 67108863;
    // The automatic range was narrowed: points beyond it stand at the axis' ends.
    bool pinnedToEnds_ = false;

    // Published state.
    bool automatic_ = true;
    bool automaticMaximum_ = true;
    bool automaticMinimum_ = true;
    std::unique_ptr<TChartAxisPen> axisPen_;
    QString axisValuesFormat_;
    QString dateTimeFormat_;
    bool exactDateTime_ = true;
    std::unique_ptr<TAxisGridPen> grid_;
    double increment_ = 0.0;
    bool inverted_ = false;
    bool horizontal_ = false;
    bool otherSide_ = false;
    TAxisLabelAlign labelsAlign_ = alDefault;
    bool labelsAlternate_ = false;
    int labelsAngle_ = 0;
    bool labelsExponent_ = false;
    bool labelsMultiLine_ = false;
    bool labelsOnAxis_ = true;
    int labelsSeparation_ = 10;
    int labelsSize_ = 0;
    TAxisLabelStyle labelStyle_ = talAuto;
    bool logarithmic_ = false;
    double logarithmicBase_ = 10.0;
    double maximum_ = 0.0;
    int maximumOffset_ = 0;
    bool maximumRound_ = false;
    double minimum_ = 0.0;
    int minimumOffset_ = 0;
    bool minimumRound_ = false;
    std::unique_ptr<TChartHiddenPen> minorGrid_;
    int minorTickCount_ = 3;
    int minorTickLength_ = 2;
    std::unique_ptr<TDarkGrayPen> minorTicks_;
    double startPosition_ = 0.0;
    double endPosition_ = 100.0;
    double positionPercent_ = 0.0;
    TPlotUnits positionUnits_ = muPercent;
    bool roundFirstLabel_ = true;
    int tickInnerLength_ = 0;
    int tickLength_ = 4;
    std::unique_ptr<TDarkGrayPen> ticks_;
    std::unique_ptr<TDarkGrayPen> ticksInner_;
    bool tickOnLabelsOnly_ = true;
    std::unique_ptr<TChartAxisTitle> title_;
    int titleSize_ = 0;
    bool visible_ = true;
    bool computedVisible_ = true;
    double zPosition_ = 0.0;
    std::unique_ptr<TAxisItems> items_;
    SeriesAxis* masterAxis_ = nullptr;

    // Working state.
    double currentMinimum_ = 0.0;
    double currentMaximum_ = 0.0;
    double currentRange_ = 0.0;
    bool rangeIsZero_ = true;
    double logOfMinimum_ = 0.0;
    double logOfMaximum_ = 0.0;
    double logRange_ = 0.0;
    int startPixel_ = 0;
    int endPixel_ = 0;
    int sizePixels_ = 0;
    int centerPixel_ = 0;
    double pixelsPerUnit_ = 0.0;
    double pixelsPerLogUnit_ = 0.0;
    int depthOffset_ = 0;
    bool showsDateTime_ = false;
    bool isDepth_ = false;
    int axisPixel_ = 0;
    int labelsPixel_ = 0;
    int titlePixel_ = 0;
    int wallSize_ = 0;
    std::vector<int> tickPositions_;
    std::vector<double> tickValues_;
    bool settingRange_ = false;
    bool alternateOuter_ = false;
    bool labelDrawn_ = false;
    int previousLabelPixel_ = 0;
    int previousLabelHalf_ = 0;

    // The widest value label is measured over up to 5000 texts; it is kept until anything it
    // depends on changes.
    struct WidestCache {
        bool valid = false;
        uint64_t generation = 0;
        double minimum = 0, maximum = 0, step = 0;
        int size = 0;
        QString fontKey;
        QChar decimal, thousands;
        bool dateTime = false;
        LabelsBlock block;
    } widestCache_;
    // The fitted label step, kept like the widest label; never kept while the chart rewrites
    // label texts, whose handler may answer differently next time. Two are kept: a drawing lays
    // the axes out on the first and then on the shrunk chart rectangle.
    struct FitCache {
        bool valid = false;
        uint64_t generation = 0;
        double minimum = 0, maximum = 0, step = 0, fitted = 0;
        int start = 0, size = 0;
        QString fontKey;
        QChar decimal, thousands;
        bool dateTime = false;
    };
    FitCache fitCache_[2];
    // The column ends, for the conversion they were computed for.
    struct ColumnEndsCache {
        struct Key {
            AxisConversion conversion = AxisConversion::Center;
            double reference = 0, perPixel = 0;
            int32_t origin = 0, step = 0, start = 0, end = 0, low = 0, high = 0;
            bool operator==(const Key&) const = default;
        } key;
        std::vector<double> ends;
    };
    mutable ColumnEndsCache columnEnds_;
    // Texts of values in the values format: a drawing formats the same few values many times to
    // measure, fit and draw its labels. Kept for one format and one pair of decimal and
    // thousands marks, the only things besides the value the text depends on.
    struct FormattedValues {
        QString format;
        QChar decimal, thousands;
        std::unordered_map<uint64_t, QString> texts;
    } formattedValues_;
    QString FormattedValue(double value);
    uint64_t generation_ = 0;
};

// The depth axis: hidden by default; inverting it inverts the chart's other depth axis too.
class TChartDepthAxis : public TChartAxis {
public:
    TChartDepthAxis(TCustomAxisPanel& chart, bool otherSide = false);
    TAxisLabelStyle AutoLabelStyle() const override;
    void SetInverted(bool value) override;
};

#endif
