#include "chart/engine/ChartPage.h"

#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/PlotMessages.h"

#include <algorithm>

void TChartPage::Assign(const TChartPage& source)
{
    autoScale_ = source.autoScale_;
    current_ = source.current_;
    maxPointsPerPage_ = source.maxPointsPerPage_;
    scaleLastPage_ = source.scaleLastPage_;
}

void TChartPage::Changed()
{
    if (chart_)
        chart_->Repaint();
}

void TChartPage::SetAutoScale(bool value)
{
    if (autoScale_ == value)
        return;
    autoScale_ = value;
    Changed();
}

void TChartPage::SetScaleLastPage(bool value)
{
    if (scaleLastPage_ == value)
        return;
    scaleLastPage_ = value;
    Changed();
}

void TChartPage::SetCurrent(int value)
{
    value = std::max(1, std::min(value, NumPages()));
    if (value == current_)
        return;
    current_ = value;
    Changed();
    if (chart_)
        chart_->NotifyPageChange();
}

void TChartPage::SetMaxPointsPerPage(int value)
{
    if (value < 0) {
        InitChartMessages();
        throw ChartException(PlotMessage(PlotMsg::ErrMaxPointsPerPage));
    }
    if (value != maxPointsPerPage_) {
        maxPointsPerPage_ = value;
        Changed();
    }
    if (NumPages() < current_)
        SetCurrent(NumPages());
    if (chart_) {
        TChartChangePage event;
        chart_->BroadcastPlotEvent(event);
    }
}

int TChartPage::AxisPageCount(const TChartAxis* axis) const
{
    int most = 0;
    const TChartSeriesList& list = chart_->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        const auto* series = dynamic_cast<const TChartSeries*>(list[i]);
        if (series && series->Active() && series->AssociatedToAxis(axis))
            most = std::max(most, series->Count());
    }
    if (most < 1)
        return 1;
    return most / maxPointsPerPage_ + (most % maxPointsPerPage_ != 0 ? 1 : 0);
}

int TChartPage::NumPages() const
{
    if (maxPointsPerPage_ < 1 || !chart_ || chart_->SeriesCount() == 0)
        return 1;
    const auto* first = dynamic_cast<const TChartSeries*>(chart_->Series(0));
    if (!first || first->YMandatory())
        return std::max(AxisPageCount(chart_->BottomAxis()), AxisPageCount(chart_->TopAxis()));
    return std::max(AxisPageCount(chart_->RightAxis()), AxisPageCount(chart_->LeftAxis()));
}
