#include "chart/series/ChartLegend.h"

TChartLegend::TChartLegend(PlotShapeOwner* chart) : TPlotCustomShapePosition(chart) {}

void TChartLegend::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* legend = dynamic_cast<const TChartLegend*>(&source)) {
        alignment_ = legend->alignment_;
        checkBoxes_ = legend->checkBoxes_;
        resizeChart_ = legend->resizeChart_;
        textStyle_ = legend->textStyle_;
    }
    TPlotCustomShapePosition::Assign(source);
}
