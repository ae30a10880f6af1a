#ifndef ZENDRIK_CHART_SERIES_BARSERIES_H
#define ZENDRIK_CHART_SERIES_BARSERIES_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/engine/ChartSeries.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

class TChartAxis;
class TCustomAxisPanel;
class TPlotCanvas3D;

// Stored by their order: keep it.
enum TBarStyle : uint8_t {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCilinder,
    bsEllipse,
    bsArrow,
    bsRectGradient,
    bsCone,
    bsBevel,
    bsSlantCube,
    bsDiamond,
    bsInvArrow,
    bsInvCone
};
enum TMultiBar : uint8_t { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };

// The gradient of bsRectGradient bars; its end colour is the point's colour, or with Relative a
// mix from the start colour toward it by the bar's share of the largest value.
class TBarSeriesGradient : public TPlotGradient {
public:
    explicit TBarSeriesGradient(TNotifyEvent onChange = {});
    void Assign(const TCustomPlotGradient& source) override;
    bool Relative() const { return relative_; }
    void SetRelative(bool value);

private:
    bool relative_ = false;
};

// How the bar series of one class share the category axis for one drawing: rebuilt before the
// chart draws and again in the margin pass, never kept beyond that.
struct BarLayout {
    int BarCount = 0;        // bar slots side by side
    int OrderPosition = 1;   // 1-based slot of this series
    int PreviousCount = 0;   // points of the same-class series before this one
    int MaxBarPoints = -1;   // largest point count laid out (-1: none yet)
    int BarSize = 0;         // width of one bar in pixels
    // A margin pass of an inactive series has no slot of its own: it divides as one.
    int Divisor() const { return BarCount < 1 ? 1 : BarCount; }
};

// One bar per point from an origin to the value, in thirteen shapes; bar series of the same class
// in a chart stand side by side or stacked. The vertical and horizontal kinds differ only in
// which axis carries the categories (IsVertical).
class TCustomBarSeries : public TChartSeries {
public:
    TCustomBarSeries();
    ~TCustomBarSeries() override;

    QString ClassName() const override { return QStringLiteral("TCustomBarSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TBarSeriesEditor"); }
    void Assign(TChartSeries& source) override;
    void SetParentChart(ChartParent* chart) override;

    // --- Settings
    bool AutoBarSize() const { return autoBarSize_; }
    void SetAutoBarSize(bool value) { SetAndRepaint(autoBarSize_, value); }
    bool AutoMarkPosition() const { return autoMarkPosition_; }
    void SetAutoMarkPosition(bool value) { SetAndRepaint(autoMarkPosition_, value); }
    TBarStyle BarStyle() const { return barStyle_; }
    void SetBarStyle(TBarStyle value) { SetAndRepaint(barStyle_, value); }
    int BarWidthPercent() const { return barWidthPercent_; }
    void SetBarWidthPercent(int value) { SetAndRepaint(barWidthPercent_, value); }
    int BevelSize() const { return bevelSize_; }
    void SetBevelSize(int value) { SetAndRepaint(bevelSize_, value); }
    int ConePercent() const { return conePercent_; }
    void SetConePercent(int value) { SetAndRepaint(conePercent_, value); }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool value) { SetAndRepaint(dark3D_, value); }
    int DarkPen() const { return darkPen_; }
    void SetDarkPen(int value) { SetAndRepaint(darkPen_, value); }
    int DepthPercent() const { return depthPercent_; }
    void SetDepthPercent(int value) { SetAndRepaint(depthPercent_, value); }
    TBarSeriesGradient& Gradient() { return *gradient_; }
    TMultiBar MultiBar() const { return multiBar_; }
    // Every same-class series of the chart takes the layout (and the side margins) too.
    void SetMultiBar(TMultiBar value);
    int OffsetPercent() const { return offsetPercent_; }
    void SetOffsetPercent(int value) { SetAndRepaint(offsetPercent_, value); }
    TPlotShadow& Shadow() { return *shadow_; }
    bool SideMargins() const { return sideMargins_; }
    void SetSideMargins(bool value);
    int StackGroup() const { return stackGroup_; }
    void SetStackGroup(int value) { SetAndRepaint(stackGroup_, value); }
    TChartHiddenPen& TickLines() { return *tickLines_; }
    int Transparency() const { return transparency_; }
    void SetTransparency(int value) { SetAndRepaint(transparency_, std::clamp(value, 0, 100)); }
    bool UseYOrigin() const { return useYOrigin_; }
    void SetUseYOrigin(bool value) { SetAndRepaint(useYOrigin_, value); }
    double YOrigin() const { return yOrigin_; }
    void SetYOrigin(double value) { SetAndRepaint(yOrigin_, value); }
    // The fixed bar width (vertical bars) or height (horizontal bars); 0: from the axis.
    int CustomBarSize() const { return customBarSize_; }
    void SetCustomBarSize(int value) { SetAndRepaint(customBarSize_, value); }
    TChartBrush& BarBrush() { return Brush(); }
    TChartPen& BarPen() { return Pen(); }

    std::function<void(TCustomBarSeries*, int, TBarStyle&)> OnGetBarStyle;

    // --- Layout
    virtual bool IsVertical() const = 0;
    // Both active and of one class, or one inheriting from the other.
    bool IsSameClass(const TChartSeries& other) const;
    const BarLayout& Layout() const { return layout_; }
    int BarSize() const { return layout_.BarSize; }
    void DoBeforeDrawChart() override;
    void CalcHorizMargins(int& left, int& right) const override;
    void CalcVerticalMargins(int& top, int& bottom) const override;
    // Room for the marks along the value axis: text size, callout length and frame.
    int MarkLength() const;
    // Stacking base of a point: the same-sign values of the stack before this series (all of
    // them with sumAll), the series' own earlier values when self-stacked, else YOrigin.
    virtual double PointOrigin(int valueIndex, bool sumAll) const;
    // The pixel a bar starts at along the value axis; fallback when no origin applies.
    int BarOriginPos(int valueIndex, int fallback) const;
    int CategoryPos(int valueIndex) const;
    int ValuePos(int valueIndex) const;
    int XToPixel(int valueIndex) const override;
    int YToPixel(int valueIndex) const override;
    QPoint CalcPointPos(int valueIndex) const override;
    virtual TRect CalcBarBounds(int valueIndex) const;
    double GetMaxX() override;
    double GetMaxY() override;
    double GetMinX() override;
    double GetMinY() override;

    // --- Depth
    void CalcZOrder() override;
    void CalcZPositions() override;
    // The bar's own depth span, DepthPercent of the series depth around its middle.
    int BarStartZ() const { return barStartZ_; }
    int BarEndZ() const { return barEndZ_; }
    bool IsNormalSideView() const override;

    // --- Drawing (BarSeriesDraw.cpp)
    void CalcFirstLastVisibleIndex() override;
    void DrawValue(int valueIndex) override;
    virtual void DrawBar(int valueIndex, int startPos, int endPos);
    virtual void DrawTickLine(int pos, TBarStyle style);
    void DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position) override;
    void PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle) override;
    // The style of one point: BarStyle or what OnGetBarStyle makes of it.
    TBarStyle GetBarStyle(int valueIndex);
    // The end colour of bsRectGradient for a point.
    TColor GradientEndColor(int valueIndex, TColor color);
    // Room of one mark across the bar; -1 asks for the widest.
    virtual int BarMarkSize(int valueIndex) const;

    // --- Hit test
    virtual bool BarHitTest(int valueIndex, TPoint point) const;
    int Clicked(int x, int y) const override;

    // --- Gallery
    virtual bool SubGalleryStack() const { return true; }
    void CreateSubGallery(const std::function<void(const QString&)>& add) const override;
    void SetSubGallery(int index) override;
    void PrepareForGallery(bool enabled) override;
    int NumSampleValues() const override;
    void AddSampleValues(int numValues) override;

protected:
    // Exact-type kinship for the same-class test: true when other is of this class or below.
    virtual bool IsKindOfSelf(const TChartSeries& other) const = 0;
    virtual std::unique_ptr<TCustomBarSeries> NewOfSameClass() const = 0;
    TCustomAxisPanel* Panel() const;
    TChartAxis* CategoryAxis() const;
    TChartAxis* ValueAxis() const;
    // The bar size as the margin pass computes it (layout rebuilt first).
    void CalcBarSize() const;
    void CategoryMargins(int& first, int& second) const;
    TColor NormalBarColor() const { return normalBarColor_; }

private:
    void RebuildLayout() const;
    void CopyLayoutToSameClass();
    std::vector<TCustomBarSeries*> SameClassSeries() const;
    int IndexInChart() const;
    double StackedValue(int valueIndex) const;
    double ValueRangeMax(double plainMax, double total);
    double ValueRangeMin(double plainMin);
    double CategoryRangeMax(double plainMax);
    double CategoryRangeMin(double plainMin);
    void SetBarPen(TPlotCanvas3D& canvas, TColor color);
    void DrawShadow(TPlotCanvas3D& canvas, const TRect& bounds, TBarStyle style);
    void DrawShape(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos);
    void DrawShape2D(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos);
    void DrawShape3D(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos);
    void DrawGradient(TPlotCanvas3D& canvas, int valueIndex);
    void DrawBevel(TPlotCanvas3D& canvas);
    void DrawTickLines(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos);

    bool autoBarSize_ = false;
    bool autoMarkPosition_ = true;
    TBarStyle barStyle_ = bsRectangle;
    int barWidthPercent_ = 70;
    int bevelSize_ = 1;
    int conePercent_ = 0;
    bool dark3D_ = true;
    int darkPen_ = 0;
    int depthPercent_ = 100;
    std::unique_ptr<TBarSeriesGradient> gradient_;
    TMultiBar multiBar_ = mbSide;
    int offsetPercent_ = 0;
    std::unique_ptr<TPlotShadow> shadow_;
    bool sideMargins_ = true;
    int stackGroup_ = 0;
    std::unique_ptr<TChartHiddenPen> tickLines_;
    int transparency_ = 0;
    bool useYOrigin_ = true;
    double yOrigin_ = 0.0;
    int customBarSize_ = 0;

    mutable BarLayout layout_;
    TRect bounds_{};   // the bar being drawn
    TColor normalBarColor_ = clNone;
    bool drawingShadow_ = false;
    int barStartZ_ = 0;
    int barEndZ_ = 0;
    std::mt19937 samples_{5489u};
};

// Vertical bars: categories along the horizontal axis, values up the vertical one.
class TBarSeries : public TCustomBarSeries {
public:
    TBarSeries();
    QString ClassName() const override { return QStringLiteral("TBarSeries"); }
    bool IsVertical() const override { return true; }
    int CustomBarWidth() const { return CustomBarSize(); }
    void SetCustomBarWidth(int value) { SetCustomBarSize(value); }
    bool MoreSameZOrder() const override;

protected:
    bool IsKindOfSelf(const TChartSeries& other) const override;
    std::unique_ptr<TCustomBarSeries> NewOfSameClass() const override;
};

// Horizontal bars: categories down the vertical axis, values along the horizontal one.
class THorizBarSeries : public TCustomBarSeries {
public:
    THorizBarSeries();
    QString ClassName() const override { return QStringLiteral("THorizBarSeries"); }
    bool IsVertical() const override { return false; }
    int CustomBarHeight() const { return CustomBarSize(); }
    void SetCustomBarHeight(int value) { SetCustomBarSize(value); }

protected:
    bool IsKindOfSelf(const TChartSeries& other) const override;
    std::unique_ptr<TCustomBarSeries> NewOfSameClass() const override;
};

#endif
