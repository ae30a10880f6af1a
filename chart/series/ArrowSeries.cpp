#include "chart/series/ArrowSeries.h"

#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesTexts.h"
#include "chart/series/ChartUnit.h"

#include <algorithm>
#include <cmath>

TArrowSeries::TArrowSeries()
{
    CalcVisiblePoints = false;
    XValues().InitDateTime(true);
    endX_ = AddValueList(QStringLiteral("EndX"));
    endX_->InitDateTime(true);
    endY_ = AddValueList(QStringLiteral("EndY"));
    Pointer().SetInflateMargins(false);
    Marks().Pen().Hide();
    Marks().SetTransparent(true);
}

int TArrowSeries::AddArrow(double x0, double y0, double x1, double y1, const QString& label, TColor color)
{
    endX_->TempValue = x1;
    endY_->TempValue = y1;
    return AddPointXY(x0, y0, label, color);
}

TPoint TArrowSeries::EndPoint(int valueIndex) const
{
    return {CalcXPosValue(endX_->Value(valueIndex)), CalcYPosValue(endY_->Value(valueIndex))};
}

// Each point is one arrow of its own: none of the line series' passes (runs, shadows, outlines)
// applies.
void TArrowSeries::DrawAllValues()
{
    TChartSeries::DrawAllValues();
}

void TArrowSeries::DrawValue(int valueIndex)
{
    TCustomAxisPanel* panel = ParentChart() ? ParentChart()->AxisPanel() : nullptr;
    const TColor color = GetValueColor(valueIndex);
    // An end that is no number has no place: the arrow would run to the chart's edge.
    const bool missing = IsMissingPoint(valueIndex) || !std::isfinite(endX_->Value(valueIndex)) ||
                         !std::isfinite(endY_->Value(valueIndex));
    if (!panel || color == clNone || missing)
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    const bool is3D = panel->View3D();
    if (is3D)
        Pointer().PrepareCanvas(canvas, color);
    else
        canvas.AssignVisiblePenColor(Pointer().Pen(), color);
    canvas.Arrow(is3D, StartPoint(valueIndex), EndPoint(valueIndex), MiddleZ(), ArrowHeight(), ArrowWidth(),
        arrowPercent_);
}

int TArrowSeries::Clicked(int x, int y) const
{
    if (!ParentChart())
        return -1;
    int first = 0, last = -1;
    CalcFirstLastPage(first, last);
    const TPoint click {x, y};
    const int tolerance = const_cast<TArrowSeries*>(this)->Pen().Width();
    for (int i = std::max(0, first); i <= last; ++i)
        if (PointInLinePts(click, StartPoint(i), EndPoint(i), tolerance))
            return i;
    return -1;
}

double TArrowSeries::GetMaxX()
{
    return std::max(TPointSeries::GetMaxX(), endX_->MaxValue());
}

double TArrowSeries::GetMinX()
{
    return std::min(TPointSeries::GetMinX(), endX_->MinValue());
}

double TArrowSeries::GetMaxY()
{
    return std::max(TPointSeries::GetMaxY(), endY_->MaxValue());
}

double TArrowSeries::GetMinY()
{
    return std::min(TPointSeries::GetMinY(), endY_->MinValue());
}

bool TArrowSeries::IsValidSourceOf(const ChartComponent* source) const
{
    return source != this && dynamic_cast<const TArrowSeries*>(source) != nullptr;
}

void TArrowSeries::PrepareForGallery(bool enabled)
{
    TPointSeries::PrepareForGallery(enabled);
    FillSampleValues(3);
    SetArrowWidth(12);
    SetArrowHeight(12);
    if (!enabled)
        SetSeriesColor(0xC0C0C0);
}

void TArrowSeries::AddSampleValues(int numValues)
{
    if (numValues <= 0)
        throw ChartException(seriestexts::SampleValuesCount());
    // The range the axis was given or last computed; 0..1000 without one.
    auto range = [](const SeriesAxis* axis, double& low, double& high) {
        low = 0.0, high = 1000.0;
        if (const auto* chartAxis = dynamic_cast<const TChartAxis*>(axis);
            chartAxis && chartAxis->Maximum() > chartAxis->Minimum())
            low = chartAxis->Minimum(), high = chartAxis->Maximum();
    };
    double minX, maxX, minY, maxY;
    range(GetHorizAxis(), minX, maxX);
    range(GetVertAxis(), minY, maxY);
    const double dx = maxX - minX;
    const double dy = maxY - minY;
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::mt19937& random = SampleRandom();
    UpdateScope scope(*this);
    for (int i = 0; i < numValues; ++i) {
        // Starts in the middle half of the ranges, ends within a quarter of them from the start.
        const double x0 = minX + dx * (0.25 + 0.5 * unit(random));
        const double y0 = minY + dy * (0.25 + 0.5 * unit(random));
        const double x1 = x0 + dx * 0.25 * (unit(random) - 0.5);
        const double y1 = y0 + dy * 0.25 * (unit(random) - 0.5);
        AddArrow(x0, y0, x1, y1, {}, clDefault);
    }
}

void StartArrowUnit(ArrowUnitState& state, ChartUnitState& unit)
{
    if (state.StartCount++ > 0)
        return;
    RegisterPlotSeries(unit, SeriesClassOf<TArrowSeries>(), PlotMsg::SeriesArrow, PlotMsg::PageExtended, 2);
}

void StopArrowUnit(ArrowUnitState& state)
{
    if (state.StartCount > 0)
        --state.StartCount;
}
