#include "chart/engine/ChartElement.h"

#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/SeriesTexts.h"

TCustomChartElement::TCustomChartElement()
    : brush_(std::make_unique<TChartBrush>([this] { Repaint(); }))
{
}

TCustomChartElement::~TCustomChartElement() = default;

std::unique_ptr<TChartPen> TCustomChartElement::CreateChartPen()
{
    return std::make_unique<TChartPen>([this] { Repaint(); });
}

TChartPen& TCustomChartElement::Pen()
{
    if (!pen_)
        pen_ = CreateChartPen();
    return *pen_;
}

void TCustomChartElement::SetPen(const TChartPen& value)
{
    Pen().Assign(value);
}

void TCustomChartElement::SetActive(bool value)
{
    SetAndRepaint(active_, value);
}

void TCustomChartElement::SetParentChart(ChartParent* chart)
{
    parentChart_ = chart;
}

void TCustomChartElement::Repaint() const
{
    if (parentChart_ && !Destroying())
        parentChart_->Repaint();
}

void TCustomChartElement::Assign(const TCustomChartElement& source)
{
    active_ = source.active_;
    brush_->Assign(*source.brush_);
    if (source.pen_)
        Pen().Assign(*source.pen_);
    tag_ = source.tag_;
}

void TCustomChartSeries::SetTitle(const QString& value)
{
    if (title_ == value)
        return;
    title_ = value;
    Repaint();
    if (ChartParent* chart = ParentChart()) {
        chart->BroadcastSeriesEvent(this, seChangeTitle);
        chart->SeriesChanged(this);
    }
}

void TCustomChartSeries::SetActive(bool value)
{
    if (Active() == value)
        return;
    TCustomChartElement::SetActive(value);
    if (ChartParent* chart = ParentChart()) {
        chart->BroadcastSeriesEvent(this, seChangeActive);
        chart->SeriesChanged(this);
    }
}

QString TCustomChartSeries::SeriesName() const
{
    if (!Name().isEmpty())
        return Name();
    const int place = ParentChart() ? ParentChart()->SeriesList().IndexOf(this) : -1;
    return seriestexts::DefaultSeriesName() + QString::number(place + 1);
}

void TCustomChartSeries::SetChartView3D(bool value)
{
    if (ChartParent* chart = ParentChart())
        chart->SetView3D(value);
}
