// Copying one series into another, and the function that computes a series.
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/PlotFunction.h"
#include "chart/engine/SeriesMarks.h"

#include <algorithm>

void TChartSeries::SetFunction(std::unique_ptr<TPlotFunction> function)
{
    if (function_)
        function_->SetParentSeriesField(nullptr);
    function_ = std::move(function);
    if (function_)
        function_->SetParentSeriesField(this);
    PointsFromStream = false;
    CheckDataSource();
}

std::unique_ptr<TPlotFunction> TChartSeries::TakeFunction()
{
    if (function_)
        function_->SetParentSeriesField(nullptr);
    return std::move(function_);
}

// The source keeps its function: this series gets a new one of the same class, so that two
// series never share (or lose) one. Custom axes are taken only between series of one chart, as
// an axis belongs to its chart.
void TChartSeries::Assign(TChartSeries& source)
{
    if (&source == this)
        return;
    TCustomChartElement::Assign(source);
    SetShowInLegend(source.ShowInLegend());
    SetTitle(source.Title());
    SetIdentifier(source.Identifier());
    SetStyle(source.Style());

    if (source.SeriesColor() != clDefault)
        SetSeriesColor(source.SeriesColor());
    SetColorEachPoint(source.ColorEachPoint());
    colorSource_ = source.colorSource_;
    xLabelsSource_ = source.xLabelsSource_;
    cursor_ = source.cursor_;
    depth_ = source.depth_;
    zOrder_ = source.zOrder_;
    marks_->Assign(*source.marks_);
    percentFormat_ = source.percentFormat_;
    valueFormat_ = source.valueFormat_;
    if (yMandatory_ == source.yMandatory_) {
        const int lists = std::min(valuesList_.Count(), source.valuesList_.Count());
        for (int i = 0; i < lists; ++i)
            valuesList_[i]->Assign(*source.valuesList_[i]);
    }
    horizAxis_ = source.horizAxis_;
    vertAxis_ = source.vertAxis_;
    const bool sameChart = ParentChart() == source.ParentChart();
    customHorizAxis_ = sameChart ? source.customHorizAxis_ : nullptr;
    customVertAxis_ = sameChart ? source.customVertAxis_ : nullptr;
    BindAxes();
    linkFlags_ = source.linkFlags_;
    nullValue_ = source.nullValue_;
    AllowCustomXValues = source.AllowCustomXValues;
    SinglePoint = source.SinglePoint;
    NeverStorePoints = source.NeverStorePoints;
    AlwaysStorePoints = source.AlwaysStorePoints;

    if (source.function_ && !function_)
        SetFunction(source.function_->NewOfSameClass());
    PointsFromStream = source.PointsFromStream;

    if (source.dataSources_.Count() > 0 && !source.PointsFromStream) {
        // A source of the copied series that this one may not take (this series itself, or
        // one it feeds) is left out; the others are taken in their order.
        UpdateScope scope(*this);
        dataSources_.Clear();
        for (int i = 0; i < source.dataSources_.Count(); ++i) {
            ChartComponent* feed = source.dataSources_[i];
            if (AcceptsSource(feed))
                dataSources_.Add(feed);
        }
    } else {
        AssignValues(source);
    }
    Repaint();
    CheckDataSource();
}
