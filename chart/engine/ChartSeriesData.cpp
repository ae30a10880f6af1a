// Adding, removing and copying points, and passing changes on to the series fed by this one.
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/PlotFunction.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>
#include <cmath>

// X decides the place (ordered add); every other column, the colour and the label follow it.
int TChartSeries::StorePoint(double x, double y, const QString& label, TColor color)
{
    const int index = xValues_->AddChartValue(x);
    yValues_->InsertChartValue(index, y);
    for (int i = 2; i < valuesList_.Count(); ++i) {
        TChartValueList* list = valuesList_[i];
        list->InsertChartValue(index, list->TempValue);
    }
    colors_.Insert(index, color);
    if (!label.isEmpty() || !labels_.IsEmpty())
        labels_.InsertLabel(index, label);
    return index;
}

int TChartSeries::AddPointXY(double x, double y, const QString& label, TColor color)
{
    xValues_->TempValue = x;
    yValues_->TempValue = y;
    if (OnBeforeAdd && !OnBeforeAdd(this))
        return -1;
    const int index = StorePoint(xValues_->TempValue, yValues_->TempValue, label, color);
    if (updateCount_ == 0)
        NotifyNewValue(index);
    return index;
}

void TChartSeries::ReservePoints(int count)
{
    for (int i = 0; i < valuesList_.Count(); ++i)
        valuesList_[i]->Reserve(count);
}

void TChartSeries::AddPointsXY(std::span<const double> xs, std::span<const double> ys, TColor color)
{
    const size_t n = std::min(xs.size(), ys.size());
    // Anything that looks at single points (a veto, further columns, labels, listeners that are
    // told of every point) takes the ordinary road.
    const bool plain = updateCount_ > 0 && !OnBeforeAdd && valuesList_.Count() == 2 && labels_.IsEmpty();
    if (!plain) {
        for (size_t i = 0; i < n; ++i)
            AddPointXY(xs[i], ys[i], QString(), color);
        return;
    }
    // Whole blocks that keep the X order go on at the end at once, their colour as one run; a
    // point that has to go between others takes the ordered add, and the blocks go on after it.
    size_t done = 0;
    while (done < n) {
        const int first = Count();
        const size_t taken = xValues_->AppendInOrder(xs.subspan(done, n - done));
        if (taken > 0) {
            yValues_->AppendAll(ys.subspan(done, taken));
            colors_.Append(first, static_cast<int>(taken), color);
            done += taken;
        }
        if (done < n) {
            const int index = xValues_->AddChartValue(xs[done]);
            yValues_->InsertChartValue(index, ys[done]);
            colors_.Insert(index, color);
            ++done;
        }
    }
}

int TChartSeries::Add(double y, const QString& label, TColor color)
{
    return AddPointXY(Count(), y, label, color);
}

int TChartSeries::AddMandatoryValue(double value, const QString& label, TColor color)
{
    if (yMandatory_)
        return AddPointXY(Count(), value, label, color);
    return AddPointXY(value, Count(), label, color);
}

int TChartSeries::AddNull(const QString& label)
{
    return AddMandatoryValue(nullValue_, label, clNone);
}

int TChartSeries::AddNullXY(double x, double y, const QString& label)
{
    return AddPointXY(x, y, label, clNone);
}

int TChartSeries::AddPointFrom(TChartSeries& source, int valueIndex, const QString& label, TColor color)
{
    double x = source.XValues().Value(valueIndex);
    double y = source.YValues().Value(valueIndex);
    if (yMandatory_ != source.yMandatory_)
        std::swap(x, y);
    for (int i = 2; i < valuesList_.Count(); ++i)
        valuesList_[i]->TempValue = i < source.valuesList_.Count() ? source.valuesList_[i]->Value(valueIndex) : 0.0;
    return StorePoint(x, y, label, color);
}

int TChartSeries::AddValue(TChartSeries& source, int valueIndex)
{
    const int index = AddPointFrom(source, valueIndex, source.XLabel(valueIndex), source.GetPointColor(valueIndex));
    if (updateCount_ == 0)
        NotifyNewValue(index);
    return index;
}

void TChartSeries::AssignValues(TChartSeries& source)
{
    if (&source == this)
        return;
    UpdateScope scope(*this);
    Clear();
    if (function_) {
        XValues().SetDateTime(source.XValues().DateTime());
        YValues().SetDateTime(source.YValues().DateTime());
        function_->AddPoints(&source);
        return;
    }
    for (int i = 0; i < source.Count(); ++i)
        AddValue(source, i);
}

void TChartSeries::ClearLists()
{
    for (int i = 0; i < valuesList_.Count(); ++i)
        valuesList_[i]->ClearValues();
    colors_.Clear();
    labels_.Clear();
    marks_->Clear();
}

void TChartSeries::Clear()
{
    FirstValueIndex = LastValueIndex = -1;
    ClearLists();
    if (OnClearValues)
        OnClearValues(this);
    NotifyValue(veClear, 0);
    if (function_)
        function_->Clear();
    ChartParent* chart = ParentChart();
    if (Active() && chart && !chart->ChartDestroying())
        Repaint();
}

// Every index is checked, negative ones too: an index outside the points would otherwise move
// memory of all columns.
void TChartSeries::Delete(int valueIndex)
{
    CheckPointIndex(valueIndex);
    for (int i = 0; i < valuesList_.Count(); ++i)
        valuesList_[i]->Delete(valueIndex);
    colors_.Erase(valueIndex, 1);
    labels_.DeleteLabel(valueIndex);
    marks_->Positions().Delete(valueIndex);
    marks_->Items().Delete(valueIndex);
    NotifyValue(veDelete, valueIndex);
    if (Active())
        Repaint();
}

// A negative start is ignored and the quantity cut to the points that exist.
void TChartSeries::DeleteRange(int start, int quantity, bool removeGap)
{
    if (start < 0 || start >= Count())
        return;
    quantity = std::clamp(quantity, 0, Count() - start);
    for (int i = 0; i < valuesList_.Count(); ++i)
        valuesList_[i]->DeleteRange(start, quantity);
    if (quantity >= 1) {
        colors_.Erase(start, quantity);
        labels_.DeleteRange(start, quantity);
        marks_->Positions().DeleteRange(start, quantity);
        marks_->Items().DeleteRange(start, quantity);
    }
    NotifyValue(veDelete, -1);
    if (Active())
        Repaint();
    if (removeGap)
        notMandatory_->FillSequence();
}

void TChartSeries::SwapValueIndex(int a, int b)
{
    for (int i = 0; i < valuesList_.Count(); ++i)
        valuesList_[i]->ExchangeQuiet(a, b);
    colors_.Swap(a, b);
    labels_.Exchange(a, b);
}

void TChartSeries::CheckOrder()
{
    if (mandatory_->Order() != loNone) {
        mandatory_->Sort();
        if (notMandatory_->ValueSource().isEmpty())
            notMandatory_->FillSequence();
    }
    Repaint();
}

// A series filled point by point (as an instrument delivers) gives back what its lists grew
// beyond the points when its update ends.
void TChartSeries::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) {
        for (int i = 0; i < valuesList_.Count(); ++i)
            valuesList_[i]->ReleaseGrowthSlack();
        RefreshSeries();
    }
}

void TChartSeries::RefreshSeries()
{
    NotifyValue(veRefresh, 0);
    if (ChartParent* chart = ParentChart()) {
        chart->BroadcastSeriesEvent(this, seDataChanged);
        if (Active())
            Repaint();
    }
}

void TChartSeries::NotifyNewValue(int valueIndex)
{
    if (OnAfterAdd)
        OnAfterAdd(this, valueIndex);
    NotifyValue(veAdd, valueIndex);
    if (Active())
        Repaint();
}

// A range delete reports index -1; the fed series then copies the whole source again instead of
// deleting a point that does not exist.
void TChartSeries::NotifyValue(TValueEvent event, int valueIndex)
{
    if (updateCount_ > 0 || linkedSeries_.empty())
        return;
    const std::vector<TChartSeries*> linked = linkedSeries_;
    for (TChartSeries* series : linked) {
        const int flags = series->linkFlags_;
        switch (event) {
        case veClear:
            if (flags & kLinkClear)
                series->Clear();
            break;
        case veAdd:
            if ((flags & kLinkAdd) && !series->HasFunction())
                series->AddValue(*this, valueIndex);
            break;
        case veDelete:
            if ((flags & kLinkDelete) && !series->HasFunction()) {
                if (valueIndex < 0)
                    series->AssignValues(*this);
                else if (valueIndex < series->Count())
                    series->Delete(valueIndex);
            }
            break;
        case veRefresh:
            series->AssignValues(*this);
            break;
        case veModify:
            if (flags & kLinkModify)
                series->AssignValues(*this);
            break;
        }
    }
}

void TChartSeries::AddLinkedSeries(TChartSeries* series)
{
    if (series && std::find(linkedSeries_.begin(), linkedSeries_.end(), series) == linkedSeries_.end())
        linkedSeries_.push_back(series);
}

void TChartSeries::RemoveLinkedSeries(TChartSeries* series)
{
    linkedSeries_.erase(std::remove(linkedSeries_.begin(), linkedSeries_.end(), series), linkedSeries_.end());
}

// ---- data sources ----

ChartComponent* TChartSeries::DataSource() const
{
    return dataSources_.Count() > 0 ? dataSources_[0] : nullptr;
}

bool TChartSeries::IsMissingPoint(int index) const
{
    return !std::isfinite(GetPointX(index)) || !std::isfinite(GetPointY(index));
}

bool TChartSeries::IsValidSourceOf(const ChartComponent* source) const
{
    return source != this && dynamic_cast<const TChartSeries*>(source) != nullptr;
}

bool TChartSeries::FeedsSeries(const TChartSeries* other) const
{
    for (const TChartSeries* series : linkedSeries_)
        if (series == other || series->FeedsSeries(other))
            return true;
    return false;
}

QString TChartSeries::SourceRefusal(ChartComponent& source)
{
    if (ChartParent* chart = ParentChart()) {
        if (!chart->IsValidDataSource(*this, &source))
            return seriestexts::FormatText(seriestexts::NoValidDataSource(), {source.NameOrClassName()});
    } else if (!IsValidSourceOf(&source)) {
        return seriestexts::NoParentChart();
    }
    if (auto* series = dynamic_cast<TChartSeries*>(&source); series && FeedsSeries(series))
        return seriestexts::CircularSeries();
    return {};
}

bool TChartSeries::AcceptsSource(ChartComponent* source)
{
    return source && SourceRefusal(*source).isEmpty();
}

void TChartSeries::ValidateSource(ChartComponent* source)
{
    if (const QString refusal = SourceRefusal(*source); !refusal.isEmpty())
        throw ChartException(refusal);
}

void TChartSeries::AttachSource(ChartComponent* source)
{
    dataSources_.Append(source);
    if (auto* series = dynamic_cast<TChartSeries*>(source)) {
        series->AddLinkedSeries(this);
    } else if (auto* component = dynamic_cast<TPlotSeriesSource*>(source)) {
        FreeNotification(component);
        component->SetSeries(this);
        if (component->Active())
            component->Refresh();
    }
}

void TChartSeries::DetachSource(ChartComponent* source)
{
    if (auto* series = dynamic_cast<TChartSeries*>(source))
        series->RemoveLinkedSeries(this);
    else if (auto* component = dynamic_cast<TPlotSeriesSource*>(source); component && component->Series() == this)
        component->ForgetSeries();
}

void TChartSeries::SetDataSource(ChartComponent* source)
{
    if (!source) {
        if (ChartComponent* first = DataSource()) {
            DetachSource(first);
            dataSources_.EraseQuiet(first);
        }
        CheckDataSource();
        return;
    }
    ValidateSource(source);
    if (dataSources_.Contains(source))
        return;
    if (!Loading()) {
        for (int i = 0; i < dataSources_.Count(); ++i)
            DetachSource(dataSources_[i]);
        dataSources_.items_.clear();
    }
    AttachSource(source);
    PointsFromStream = false;
    CheckDataSource();
}

void TChartSeries::ReplaceDataSource(ChartComponent* source, ChartComponent* replacement)
{
    const int index = dataSources_.IndexOf(source);
    if (index < 0 || source == replacement)
        return;
    DetachSource(source);
    dataSources_.items_.erase(dataSources_.items_.begin() + index);
    if (replacement && !dataSources_.Contains(replacement) && AcceptsSource(replacement)) {
        AttachSource(replacement);
        std::rotate(dataSources_.items_.begin() + index, dataSources_.items_.end() - 1, dataSources_.items_.end());
    }
    CheckDataSource();
}

void TChartSeries::CheckDataSource()
{
    if (!Updating() && ParentChart())
        ParentChart()->CheckDatasource(*this);
}

void TChartSeries::Notification(ChartComponent* removed)
{
    dataSources_.EraseQuiet(removed);
}
