#ifndef ZENDRIK_CHART_SERIES_LINESERIES_H
#define ZENDRIK_CHART_SERIES_LINESERIES_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesPointer.h"
#include "chart/series/FastTrace.h"

#include <functional>
#include <memory>
#include <vector>

class TCustomAxisPanel;
class TChartAxis;
class TPlotCanvas3D;

enum TTreatNullsStyle : uint8_t { tnDontPaint, tnSkip, tnIgnore };
enum TCustomSeriesStack : uint8_t { cssNone, cssOverlap, cssStack, cssStack100 };
enum TMultiArea { maNone, maStacked, maStacked100 };

// A series drawn with a line pen, and how it treats null points.
class TCustomLineSeries : public TChartSeries {
public:
    TCustomLineSeries();

    QString ClassName() const override { return QStringLiteral("TCustomLineSeries"); }
    void Assign(TChartSeries& source) override;

    TChartPen& LinePen() { return Pen(); }
    void SetLinePen(const TChartPen& value) { SetPen(value); }
    TTreatNullsStyle TreatNulls() const { return treatNulls_; }
    void SetTreatNulls(TTreatNullsStyle value) { SetAndRepaint(treatNulls_, value); }

protected:
    // The axis of the order values (X of a normal series) and of the measured ones.
    TChartAxis* OrderAxis() const;
    TChartAxis* MeasureAxis() const;
    // Where the line from point `from`, before the chart, to point `to` comes in: on the chart
    // rectangle's edge at the height it has there (the height of `from` for stairs).
    TPoint EdgeEntry(int from, int to, bool stairs) const;

private:
    TTreatNullsStyle treatNulls_ = tnDontPaint;
};

// The drawing engine of the series that join consecutive points: lines and stairs, point symbols
// after their segments, filled areas down to an origin, stacking, 3D ribbons, shadows, outlines
// and the hit test along the segments.
//
// Long traces: where the pixels come out the same, a run of points is drawn as one polyline
// reduced to the first, lowest, highest and last point of each pixel column (FastTrace.h).
class TCustomSeries : public TCustomLineSeries {
public:
    TCustomSeries();
    ~TCustomSeries() override;

    QString ClassName() const override { return QStringLiteral("TCustomSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TCustomSeriesEditor"); }
    void Assign(TChartSeries& source) override;
    void SetParentChart(ChartParent* chart) override;

    // --- Settings
    TChartBrush& AreaChartBrush() { return *areaBrush_; }
    TBrushStyle AreaBrush() const { return areaBrush_->Style(); }
    void SetAreaBrush(TBrushStyle value) { areaBrush_->SetStyle(value); }
    TColor AreaColor() const { return areaColor_; }
    void SetAreaColor(TColor value) { SetAndRepaint(areaColor_, value); }
    TChartPen& AreaLinesPen() { return *areaLinesPen_; }
    bool ClickableLine() const { return clickableLine_; }
    void SetClickableLine(bool value) { clickableLine_ = value; }
    bool ColorEachLine() const { return colorEachLine_; }
    void SetColorEachLine(bool value) { SetAndRepaint(colorEachLine_, value); }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool value) { SetAndRepaint(dark3D_, value); }
    bool DrawArea() const { return drawArea_; }
    void SetDrawArea(bool value) { SetAndRepaint(drawArea_, value); }
    bool DrawLine() const { return drawLine_; }
    void SetDrawLine(bool value) { SetAndRepaint(drawLine_, value); }
    bool InvertedStairs() const { return invertedStairs_; }
    void SetInvertedStairs(bool value) { SetAndRepaint(invertedStairs_, value); }
    int LineHeight() const { return lineHeight_; }
    void SetLineHeight(int value) { SetAndRepaint(lineHeight_, value); }
    TChartHiddenPen& OutLine() { return *outLine_; }
    TSeriesPointer& Pointer() { return *pointer_; }
    const TSeriesPointer& Pointer() const { return *pointer_; }
    TPlotShadow& Shadow() { return *shadow_; }
    TCustomSeriesStack Stacked() const { return stacked_; }
    // Every series of the chart of this series' class (or an ancestor of it) stacks alike.
    void SetStacked(TCustomSeriesStack value);
    bool Stairs() const { return stairs_; }
    void SetStairs(bool value) { SetAndRepaint(stairs_, value); }
    virtual int Transparency() const { return transparency_; }
    virtual void SetTransparency(int value);
    TPlotGradient& Gradient() { return *gradient_; }

    // Events.
    std::function<void(TCustomSeries*, int, int, int)> OnClickPointer;   // index, x, y
    std::function<TSeriesPointerStyle(TCustomSeries*, int)> OnGetPointerStyle;

    // --- Pixels, limits, margins
    int XToPixel(int valueIndex) const override;
    int YToPixel(int valueIndex) const override;
    double GetMaxX() override;
    double GetMaxY() override;
    double GetMinX() override;
    double GetMinY() override;
    void CalcHorizMargins(int& left, int& right) const override;
    void CalcVerticalMargins(int& top, int& bottom) const override;
    void CalcZOrder() override;
    // The callout length plus distance of the marks.
    int MarkCalloutSpace() const;
    // The callout space and the largest mark box: the room a mark takes beyond its point.
    int MarkRoom() const;
    // Largest (or smallest) measured value over the points that are not null (all points with
    // tnIgnore); 0 when there is none.
    double MandatoryMinMax(bool isMax);
    double StackedRange(bool isMax);

    // --- Stacking
    virtual bool IsSameStack(const TCustomSeries& other) const;
    // Sum of the measured values at valueIndex of the series of this stack before this one (all
    // of them with all), taking only values of this point's sign.
    double PointOrigin(int valueIndex, bool all) const;
    int CalcStackedPos(int valueIndex, double value) const;
    virtual int GetOriginPos(int valueIndex) const;

    // --- Drawing
    void CalcFirstLastVisibleIndex() override;
    void DrawAllValues() override;
    void DrawValue(int valueIndex) override;
    virtual void DrawPointer(int x, int y, TColor color, int valueIndex);
    TSeriesPointerStyle GetPointerStyle(int valueIndex);
    void DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position) override;
    void DrawLegendShape(int valueIndex, const TRect& rect) override;
    // Selects the line pen in a colour (and in 3D the line brush).
    void PrepareLinePen(TPlotCanvas3D& canvas, TColor color);
    void PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle) override;
    TColor AreaColorFor(TColor color) const;

    // The drawing of long traces by pixel columns. On by default; off, every segment is drawn on
    // its own (the picture is the same).
    bool FastDrawing = true;
    // What the column drawing keeps between drawings.
    const TraceDrawCache& DrawCache() const { return drawCache_; }
    // How the last drawing went through the points between the first and the last shown.
    enum class RunDrawing { PointByPoint, Segments, Columns };
    RunDrawing LastRunDrawing() const { return lastRunDrawing_; }

    // --- Hit test
    int Clicked(int x, int y) const override;
    bool ClickedPointer(int valueIndex, int pointX, int pointY, int x, int y) const;
    bool HasClickEvents() const override;

protected:
    // The series' own class, to tell which series stack and take a common Stacked value.
    virtual bool IsKindOfSelf(const TCustomSeries& other) const;
    // Whether a mark point's callout lifts it (a horizontal series places its marks sideways).
    virtual void PlaceMark(int valueIndex, TSeriesMarkPosition& position);
    bool UseYOriginValue = false;
    double YOriginValue = 0.0;

private:
    struct DrawState;
    TCustomAxisPanel* Panel() const;
    TPlotCanvas3D* Canvas() const;
    int FirstDisplayedIndex() const;
    int LastDisplayedIndex() const;
    void DrawSegment(bool withSymbols);
    void DrawLine2D();
    void DrawRibbon3D(TPlotCanvas3D& canvas);
    void DrawAreaSegment(TPlotCanvas3D& canvas);
    void DrawLineHeight(TPlotCanvas3D& canvas);
    void EnterFromOffScreen(int index, bool reversed);
    void RunBaseLoop();
    RunDrawing RunDrawingFor();
    void DrawRuns(bool byColumns);
    void DrawReducedRun(int from, int to, TColor color, bool keep);
    void DrawSegmentsRun(int from, int to, TColor color);

    std::unique_ptr<TChartBrush> areaBrush_;
    TColor areaColor_ = clDefault;
    std::unique_ptr<TChartPen> areaLinesPen_;
    bool clickableLine_ = true;
    bool colorEachLine_ = true;
    bool dark3D_ = true;
    bool drawArea_ = false;
    bool drawLine_ = false;
    bool invertedStairs_ = false;
    int lineHeight_ = 0;
    std::unique_ptr<TChartHiddenPen> outLine_;
    std::unique_ptr<TSeriesPointer> pointer_;
    std::unique_ptr<TPlotShadow> shadow_;
    TCustomSeriesStack stacked_ = cssNone;
    bool stairs_ = false;
    int transparency_ = 0;
    std::unique_ptr<TPlotGradient> gradient_;

    // Drawing state between two DrawValue calls.
    int oldX_ = 0;
    int oldY_ = 0;
    TColor oldColor_ = clNone;
    int originPos_ = 0;
    int oldOriginPos_ = 0;
    double dark3DRatio_ = 1.0;
    // The point being drawn.
    int x_ = 0;
    int y_ = 0;
    TColor color_ = clNone;
    int valueIndex_ = 0;
    int previousIndex_ = -1;
    bool isLast_ = false;
    // The point being drawn, and the one before it, is no number: no line or symbol at it.
    bool missing_ = false;
    bool oldMissing_ = false;
    // The colour the line pen was last selected in during this drawing (clNone: not selected).
    TColor preparedLineColor_ = clNone;
    DrawState* drawState_ = nullptr;
    RunDrawing lastRunDrawing_ = RunDrawing::PointByPoint;
    TraceDrawCache drawCache_;
};

// Lines between the points, no symbols: the series of every trace of the program.
class TLineSeries : public TCustomSeries {
public:
    TLineSeries();
    QString ClassName() const override { return QStringLiteral("TLineSeries"); }
    void Assign(TChartSeries& source) override;
    void PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle) override;
    // "Normal", "Colors", "Marks", "Points", "Dotted", "Stairs".
    void CreateSubGallery(const std::function<void(const QString&)>& add) const override;
    void SetSubGallery(int index) override;

protected:
    bool IsKindOfSelf(const TCustomSeries& other) const override;
};

// A line series whose X values are measured against ordered Y values.
class THorizLineSeries : public TLineSeries {
public:
    THorizLineSeries();
    QString ClassName() const override { return QStringLiteral("THorizLineSeries"); }

protected:
    bool IsKindOfSelf(const TCustomSeries& other) const override;
    void PlaceMark(int valueIndex, TSeriesMarkPosition& position) override;
};

// A symbol at every point and no line.
class TPointSeries : public TCustomSeries {
public:
    TPointSeries();
    QString ClassName() const override { return QStringLiteral("TPointSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TSeriesPointerEditor"); }
    void Assign(TChartSeries& source) override;
    void SetColorEachPoint(bool value) override;
    int Transparency() const override { return Pointer().Transparency(); }
    void SetTransparency(int value) override { Pointer().SetTransparency(value); }
    virtual bool HasStyleSubGallery() const { return true; }

    // --- Gallery
    // The captions of the gallery's variants, "Normal" first; with HasStyleSubGallery the symbol
    // styles follow.
    void CreateSubGallery(const std::function<void(const QString&)>& add) const override;
    void SetSubGallery(int index) override;
    // The series as a preview in the gallery: symbols of half size 4 on a chart narrower than
    // 50 pixels, else 6; the second series of the chart shows triangles.
    void PrepareForGallery(bool enabled) override;

protected:
    bool IsKindOfSelf(const TCustomSeries& other) const override;
};

// The area between the line and an origin (the bottom of the measured axis, YOrigin, or the
// series stacked below), filled.
class TAreaSeries : public TCustomSeries {
public:
    TAreaSeries();
    QString ClassName() const override { return QStringLiteral("TAreaSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TAreaSeriesEditor"); }
    void Assign(TChartSeries& source) override;

    double YOrigin() const { return YOriginValue; }
    void SetYOrigin(double value);
    bool UseYOrigin() const { return UseYOriginValue; }
    void SetUseYOrigin(bool value);
    int StackGroup() const { return stackGroup_; }
    void SetStackGroup(int value) { SetAndRepaint(stackGroup_, value); }
    TMultiArea MultiArea() const;
    void SetMultiArea(TMultiArea value);

    bool IsSameStack(const TCustomSeries& other) const override;
    void CalcZOrder() override;
    bool IsNormalSideView() const override;
    double GetMaxY() override;
    double GetMinY() override;
    double GetMaxX() override;
    double GetMinX() override;
    void PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle) override;
    void DrawLegendShape(int valueIndex, const TRect& rect) override;

protected:
    bool IsKindOfSelf(const TCustomSeries& other) const override;

private:
    int stackGroup_ = 0;
};

class THorizAreaSeries : public TAreaSeries {
public:
    THorizAreaSeries();
    QString ClassName() const override { return QStringLiteral("THorizAreaSeries"); }
    int NumSampleValues() const override { return 10; }

protected:
    bool IsKindOfSelf(const TCustomSeries& other) const override;
    void PlaceMark(int valueIndex, TSeriesMarkPosition& position) override;
};

#endif
