#include "chart/engine/ChartSeries.h"

#include "app/NumberText.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/PlotFunction.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/SeriesAxis.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>

TChartSeries::TChartSeries()
    : marks_(std::make_unique<TSeriesMarks>(*this)), valueFormat_(PlotMessage(PlotMsg::FmtValue)), percentFormat_(PlotMessage(PlotMsg::FmtPercent))
{
    xValues_ = AddValueList(QStringLiteral("X"));
    xValues_->SetOrder(loAscending);
    yValues_ = AddValueList(QStringLiteral("Y"));
    mandatory_ = yValues_;
    notMandatory_ = xValues_;
}

// Teardown order matters: the series feeding this one and the series fed by it must forget it
// before it leaves the chart, so that no list keeps a dangling reference.
TChartSeries::~TChartSeries()
{
    MarkDestroying();
    function_.reset();
    for (int i = 0; i < dataSources_.Count(); ++i)
        DetachSource(dataSources_[i]);
    dataSources_.items_.clear();
    const std::vector<TChartSeries*> linked = std::move(linkedSeries_);
    linkedSeries_.clear();
    for (TChartSeries* series : linked)
        series->dataSources_.EraseQuiet(this);
    if (ChartParent* chart = ParentChart()) {
        chart->SeriesFreeing(*this);
        chart->RemoveSeries(*this);
        SetParentChartField(nullptr);
    }
}

TChartValueList* TChartSeries::AddValueList(const QString& name)
{
    return valuesList_.Add(std::make_unique<TChartValueList>(this, name));
}

void TChartSeries::SetHorizontal()
{
    mandatory_ = xValues_;
    notMandatory_ = yValues_;
    yMandatory_ = false;
}

TChartValueList& TChartSeries::GetYValueList(const QString& name)
{
    for (int i = 0; i < valuesList_.Count(); ++i)
        if (valuesList_[i]->Name().compare(name, Qt::CaseInsensitive) == 0)
            return *valuesList_[i];
    return *mandatory_;
}

void TChartSeries::SetParentChart(ChartParent* chart)
{
    ChartParent* old = ParentChart();
    if (old == chart)
        return;
    if (old)
        old->RemoveSeries(*this);
    SetParentChartField(chart);
    marks_->SetParentChart(chart ? chart->AxisPanel() : nullptr);
    if (chart) {
        chart->InternalAddSeries(*this);
        if (seriesColor_ == clDefault)
            SetSeriesColor(chart->GetFreeSeriesColor(true, this));
    }
    BindAxes();
}

void TChartSeries::CheckPointIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
}

void TChartSeries::SetXLabel(int index, const QString& text)
{
    CheckPointIndex(index);
    labels_.SetLabel(index, text);
    Repaint();
}

void TChartSeries::SetPointX(int index, double value)
{
    xValues_->SetValueQuiet(index, value);
    Repaint();
}

void TChartSeries::SetPointY(int index, double value)
{
    yValues_->SetValueQuiet(index, value);
    Repaint();
}

TColor TChartSeries::GetPointColor(int index) const
{
    return colors_.At(index);
}

void TChartSeries::SetPointColor(int index, TColor color)
{
    CheckPointIndex(index);
    if (colors_.Empty() && color == clDefault)
        return;
    colors_.Set(index, color);
    Repaint();
}

TColor TChartSeries::SeriesColor() const
{
    return seriesColor_ == clDefault ? defaultColor_ : seriesColor_;
}

void TChartSeries::SetSeriesColor(TColor color)
{
    if (seriesColor_ == clDefault && color == defaultColor_)
        return;
    SetAndRepaint(seriesColor_, color);
    defaultColor_ = color;
    if (ChartParent* chart = ParentChart()) {
        chart->BroadcastSeriesEvent(this, seChangeColor);
        chart->SeriesChanged(this);
    }
}

TColor TChartSeries::GetValueColor(int index) const
{
    const TColor own = GetPointColor(index);
    if (own != clDefault)
        return own;
    if (colorEachPoint_)
        return ParentChart() ? ParentChart()->GetDefaultColor(index) : LibraryPaletteColor(index);
    return SeriesColor();
}

// ---- axes and pixels ----

void TChartSeries::BindAxes()
{
    ChartParent* chart = ParentChart();
    if (!chart) {
        horizAxisRef_ = vertAxisRef_ = nullptr;
        return;
    }
    if (horizAxis_ == aTopAxis)
        horizAxisRef_ = chart->TopAxis();
    else if (horizAxis_ == aCustomHorizAxis && customHorizAxis_)
        horizAxisRef_ = customHorizAxis_;
    else
        horizAxisRef_ = chart->BottomAxis();
    if (vertAxis_ == aRightAxis)
        vertAxisRef_ = chart->RightAxis();
    else if (vertAxis_ == aCustomVertAxis && customVertAxis_)
        vertAxisRef_ = customVertAxis_;
    else
        vertAxisRef_ = chart->LeftAxis();
}

void TChartSeries::SetHorizAxis(THorizAxis value)
{
    if (horizAxis_ == value)
        return;
    horizAxis_ = value;
    if (value != aCustomHorizAxis && !Loading())
        customHorizAxis_ = nullptr;
    BindAxes();
    Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis value)
{
    if (vertAxis_ == value)
        return;
    vertAxis_ = value;
    if (value != aCustomVertAxis && !Loading())
        customVertAxis_ = nullptr;
    BindAxes();
    Repaint();
}

void TChartSeries::SetCustomHorizAxis(SeriesAxis* axis)
{
    customHorizAxis_ = axis;
    horizAxis_ = axis ? aCustomHorizAxis : aBottomAxis;
    BindAxes();
    Repaint();
}

void TChartSeries::SetCustomVertAxis(SeriesAxis* axis)
{
    customVertAxis_ = axis;
    vertAxis_ = axis ? aCustomVertAxis : aLeftAxis;
    BindAxes();
    Repaint();
}

void TChartSeries::ForgetAxis(const SeriesAxis* axis)
{
    if (axis && customHorizAxis_ == axis)
        SetCustomHorizAxis(nullptr);
    if (axis && customVertAxis_ == axis)
        SetCustomVertAxis(nullptr);
}

bool TChartSeries::AssociatedToAxis(const SeriesAxis* axis) const
{
    return Active() && BoundToAxis(axis);
}

bool TChartSeries::BoundToAxis(const SeriesAxis* axis) const
{
    if (!axis)
        return false;
    if (horizAxisRef_ == axis || vertAxisRef_ == axis)
        return true;
    const ChartParent* chart = ParentChart();
    if (horizAxis_ == aBothHorizAxis && chart && (axis == chart->TopAxis() || axis == chart->BottomAxis()))
        return true;
    if (vertAxis_ == aBothVertAxis && chart && (axis == chart->LeftAxis() || axis == chart->RightAxis()))
        return true;
    return (horizAxis_ == aCustomHorizAxis && customHorizAxis_ == axis)
        || (vertAxis_ == aCustomVertAxis && customVertAxis_ == axis);
}

int TChartSeries::CalcXPosValue(double value) const
{
    return horizAxisRef_ ? horizAxisRef_->ValueToPixel(value) : 0;
}

int TChartSeries::CalcYPosValue(double value) const
{
    return vertAxisRef_ ? vertAxisRef_->ValueToPixel(value) : 0;
}

double TChartSeries::PixelToX(int pixel) const
{
    return horizAxisRef_ ? horizAxisRef_->PixelToValue(pixel) : 0.0;
}

double TChartSeries::PixelToY(int pixel) const
{
    return vertAxisRef_ ? vertAxisRef_->PixelToValue(pixel) : 0.0;
}

// ---- Z order and pages ----

void TChartSeries::CalcZOrder()
{
    ChartParent* chart = ParentChart();
    if (zOrder_ != -1) {
        calcZOrder_ = zOrder_;
        if (chart && chart->MaxZOrder() < zOrder_)
            chart->SetMaxZOrder(zOrder_);
    } else if (chart && chart->View3D()) {
        chart->SetMaxZOrder(chart->MaxZOrder() + 1);
        calcZOrder_ = chart->MaxZOrder();
    } else {
        calcZOrder_ = 0;
    }
}

void TChartSeries::CalcZPositions()
{
    const int seriesDepth = ParentChart() ? ParentChart()->SeriesDepth3D() : 0;
    startZ_ = seriesDepth * calcZOrder_;
    endZ_ = startZ_ + (depth_ == -1 ? seriesDepth : depth_);
    middleZ_ = (startZ_ + endZ_) / 2;
    marks_->ZPosition = middleZ_;
}

bool TChartSeries::MoreSameZOrder() const
{
    ChartParent* chart = ParentChart();
    if (!chart || !chart->ZOrderCheck())
        return false;
    const TChartSeriesList& list = chart->SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        const auto* other = dynamic_cast<const TChartSeries*>(list[i]);
        if (other && other != this && other->Active() && !other->SkipZOrderCheck
            && other->calcZOrder_ == calcZOrder_)
            return true;
    }
    return false;
}

void TChartSeries::CalcFirstLastPage(int& first, int& last) const
{
    const int count = Count();
    if (count == 0) {
        first = last = -1;
        return;
    }
    const ChartParent* chart = ParentChart();
    const int perPage = chart ? chart->MaxPointsPerPage() : 0;
    if (perPage < 1) {
        first = 0;
        last = count - 1;
        return;
    }
    const int current = std::max(1, chart->CurrentPage());
    first = perPage * (current - 1);
    if (first >= count)
        first = perPage * std::max(0, count / perPage - 1);
    last = first + perPage - 1;
    if (last >= count)
        last = first + count % perPage - 1;
}

// ---- sample values ----

void TChartSeries::AddSampleValues(int numValues)
{
    if (numValues <= 0)
        throw ChartException(seriestexts::SampleValuesCount());
    double minX = 0.0, maxX = 1000.0, minY = 0.0, maxY = 1000.0;
    bool found = false;
    if (ChartParent* chart = ParentChart()) {
        const TChartSeriesList& list = chart->SeriesList();
        for (int i = 0; i < list.Count(); ++i) {
            auto* series = dynamic_cast<TChartSeries*>(list[i]);
            if (!series || series->Count() == 0)
                continue;
            const double sx0 = series->GetMinX(), sx1 = series->GetMaxX();
            const double sy0 = series->GetMinY(), sy1 = series->GetMaxY();
            if (!found) {
                minX = sx0, maxX = sx1, minY = sy0, maxY = sy1;
                found = true;
            } else {
                minX = std::min(minX, sx0), maxX = std::max(maxX, sx1);
                minY = std::min(minY, sy0), maxY = std::max(maxY, sy1);
            }
        }
    }
    UpdateScope scope(*this);
    const double stepX = numValues > 1 ? (maxX - minX) / (numValues - 1) : 0.0;
    for (int i = 0; i < numValues; ++i) {
        const double fraction = static_cast<double>(random_()) / 4294967296.0;
        const double y = minY + (maxY - minY) * fraction;
        if (yMandatory_)
            AddPointXY(minX + stepX * i, y);
        else
            AddPointXY(y, minX + stepX * i);
    }
}

void TChartSeries::FillSampleValues(int numValues)
{
    if (numValues == 0)
        numValues = NumSampleValues();
    if (numValues <= 0)
        throw ChartException(seriestexts::SampleValuesCount());
    UpdateScope scope(*this);
    Clear();
    AddSampleValues(numValues);
}

// ---- mouse ----

bool TChartSeries::CheckMouse(int x, int y)
{
    if (cursor_ == crDefault && !OnMouseEnter && !OnMouseLeave)
        return false;
    const bool hit = Clicked(x, y) != -1;
    if (hit) {
        if (cursor_ != crDefault && ParentChart())
            ParentChart()->SetChartCursor(cursor_);
        if (!mouseOver_) {
            mouseOver_ = true;
            if (OnMouseEnter)
                OnMouseEnter(this);
        }
    } else if (mouseOver_) {
        mouseOver_ = false;
        if (OnMouseLeave)
            OnMouseLeave(this);
    }
    return hit;
}

// ---- column sources ----

void TChartSeries::SetColorSource(const QString& value)
{
    if (colorSource_ == value)
        return;
    colorSource_ = value;
    CheckDataSource();
}

void TChartSeries::SetXLabelsSource(const QString& value)
{
    if (xLabelsSource_ == value)
        return;
    xLabelsSource_ = value;
    CheckDataSource();
}
