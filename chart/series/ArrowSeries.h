#ifndef ZENDRIK_CHART_SERIES_ARROWSERIES_H
#define ZENDRIK_CHART_SERIES_ARROWSERIES_H

#include "chart/series/LineSeries.h"

struct ChartUnitState;

// One arrow per point, from the start (X, Y) to the end (EndX, EndY), all in axis values. The
// pointer gives the head's size and the pen; filled arrows in 3D. Every point is drawn whatever
// the axis range, and the range the series asks of the axes covers the ends too.
class TArrowSeries : public TPointSeries {
public:
    TArrowSeries();

    QString ClassName() const override { return QStringLiteral("TArrowSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TArrowSeriesEditor"); }

    TChartValueList& StartXValues() { return XValues(); }
    TChartValueList& StartYValues() { return YValues(); }
    TChartValueList& EndXValues() { return *endX_; }
    TChartValueList& EndYValues() { return *endY_; }
    const TChartValueList& EndXValues() const { return *endX_; }
    const TChartValueList& EndYValues() const { return *endY_; }
    // Head size in percent of the head width that the filled shaft takes.
    int ArrowPercent() const { return arrowPercent_; }
    void SetArrowPercent(int value) { SetAndRepaint(arrowPercent_, value); }
    // The head's width and length: the pointer's horizontal and vertical size.
    int ArrowWidth() const { return Pointer().HorizSize(); }
    void SetArrowWidth(int value) { Pointer().SetHorizSize(value); }
    int ArrowHeight() const { return Pointer().VertSize(); }
    void SetArrowHeight(int value) { Pointer().SetVertSize(value); }

    // An arrow from (x0, y0) to (x1, y1); the ends go with the start to the index it takes.
    // Answers that index, -1 when the add is refused.
    int AddArrow(
        double x0, double y0, double x1, double y1, const QString& label = {}, TColor color = clDefault);

    // The ends of an arrow in pixels.
    TPoint StartPoint(int valueIndex) const { return {XToPixel(valueIndex), YToPixel(valueIndex)}; }
    TPoint EndPoint(int valueIndex) const;

    void DrawAllValues() override;
    void DrawValue(int valueIndex) override;
    // The first arrow of the current page whose line passes within the series' pen width.
    int Clicked(int x, int y) const override;
    double GetMaxX() override;
    double GetMinX() override;
    double GetMaxY() override;
    double GetMinY() override;
    // Only another arrow series feeds an arrow series.
    bool IsValidSourceOf(const ChartComponent* source) const override;

    bool HasStyleSubGallery() const override { return false; }
    void PrepareForGallery(bool enabled) override;
    // Arrows scattered over the axes' ranges, each ending near its start.
    void AddSampleValues(int numValues) override;

private:
    TChartValueList* endX_ = nullptr;
    TChartValueList* endY_ = nullptr;
    int arrowPercent_ = 50;
};

// The arrow unit's start-up: enters the arrow series in the gallery ("Arrow" on the page
// "Extended", two preview series) once however many users start it.
struct ArrowUnitState {
    int StartCount = 0;
};
void StartArrowUnit(ArrowUnitState& state, ChartUnitState& unit);
void StopArrowUnit(ArrowUnitState& state);

#endif
