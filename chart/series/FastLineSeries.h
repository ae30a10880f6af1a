#ifndef ZENDRIK_CHART_SERIES_FASTLINESERIES_H
#define ZENDRIK_CHART_SERIES_FASTLINESERIES_H

#include "chart/series/LineSeries.h"

#include <vector>

// A line for many points: one polyline of moves and lines only, no symbols, no areas, no colour
// per segment; a point on the pixel of the one before is not drawn again. With AutoRepaint off a
// point added at run time is drawn at once instead of repainting the chart.
class TFastLineSeries : public TCustomLineSeries {
public:
    TFastLineSeries();

    QString ClassName() const override { return QStringLiteral("TFastLineSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TFastLineSeriesEditor"); }
    void Assign(TChartSeries& source) override;
    // "Normal", "Marks", "Dotted" (small-dots line), "Stairs".
    void CreateSubGallery(const std::function<void(const QString&)>& add) const override;
    void SetSubGallery(int index) override;

    bool AutoRepaint() const { return autoRepaint_; }
    void SetAutoRepaint(bool value) { autoRepaint_ = value; }
    bool DrawAllPoints() const { return drawAllPoints_; }
    void SetDrawAllPoints(bool value) { SetAndRepaint(drawAllPoints_, value); }
    bool IgnoreNulls() const { return ignoreNulls_; }
    void SetIgnoreNulls(bool value) { SetAndRepaint(ignoreNulls_, value); }
    bool InvertedStairs() const { return invertedStairs_; }
    void SetInvertedStairs(bool value) { SetAndRepaint(invertedStairs_, value); }
    bool Stairs() const { return stairs_; }
    void SetStairs(bool value) { SetAndRepaint(stairs_, value); }
    // The line is drawn in the series colour: the two follow each other.
    void SetSeriesColor(TColor color) override;
    void SetPen(const TChartPen& value) override;

    void DrawAllValues() override;
    void DrawValue(int valueIndex) override;
    void NotifyNewValue(int valueIndex) override;
    int Clicked(int x, int y) const override;
    void CalcHorizMargins(int& left, int& right) const override;
    void CalcVerticalMargins(int& top, int& bottom) const override;
    void DrawLegendShape(int valueIndex, const TRect& rect) override;
    // Whole-trace drawing by pixel columns where it gives the same picture; on by default.
    bool FastDrawing = true;
    const TraceDrawCache& DrawCache() const { return drawCache_; }

private:
    TPlotCanvas3D* Canvas() const;
    void SelectPen(TPlotCanvas3D& canvas);
    void LineTo(TPlotCanvas3D& canvas, int x, int y);
    bool ReduceColumns(TPlotCanvas3D& canvas);
    TPoint EntryPoint(int first) const;

    bool autoRepaint_ = true;
    bool drawAllPoints_ = true;
    bool ignoreNulls_ = true;
    bool invertedStairs_ = false;
    bool stairs_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    bool afterNull_ = false;
    // The point drawn last was no number: the line starts afresh at the next one.
    bool afterMissing_ = false;
    TraceDrawCache drawCache_;
};

#endif
