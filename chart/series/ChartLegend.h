#ifndef ZENDRIK_CHART_SERIES_CHARTLEGEND_H
#define ZENDRIK_CHART_SERIES_CHARTLEGEND_H

#include "chart/engine/ChartSeries.h"
#include "chart/series/ShapePosition.h"

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };

// The chart's legend as far as the chart itself needs it: its placement settings, the text
// style of its rows and its hit test. It lists no rows and draws nothing yet.
class TChartLegend : public TPlotCustomShapePosition {
public:
    explicit TChartLegend(PlotShapeOwner* chart = nullptr);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    TLegendAlignment Alignment() const { return alignment_; }
    void SetAlignment(TLegendAlignment value) { SetAndRepaint(alignment_, value); }
    bool CheckBoxes() const { return checkBoxes_; }
    void SetCheckBoxes(bool value) { SetAndRepaint(checkBoxes_, value); }
    bool ResizeChart() const { return resizeChart_; }
    void SetResizeChart(bool value) { SetAndRepaint(resizeChart_, value); }
    TLegendTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TLegendTextStyle value) { SetAndRepaint(textStyle_, value); }
    bool IsVertical() const { return alignment_ == laLeft || alignment_ == laRight; }
    // The series whose points a value legend lists; none: the chart chooses. Not owned: the
    // chart clears it when the series is freed.
    TChartSeries* Series() const { return series_; }
    void SetSeries(TChartSeries* value) { SetAndRepaint(series_, value); }

    // Whether a drawing would show anything: never, while the legend has no rows.
    bool ShouldDraw() const { return false; }
    void Draw() {}
    // The row under (x, y), -1 for none.
    int Clicked(int x, int y) const
    {
        (void)x, (void)y;
        return -1;
    }
    // A click on a row's check box; true when it switched something.
    bool DoCheckBox(int item)
    {
        (void)item;
        return false;
    }

private:
    TLegendAlignment alignment_ = laRight;
    bool checkBoxes_ = false;
    bool resizeChart_ = true;
    TLegendTextStyle textStyle_ = ltsLeftValue;
    TChartSeries* series_ = nullptr;
};

#endif
