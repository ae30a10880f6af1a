// Making, naming, replacing and re-classing series at run time.
#include "chart/series/SeriesReplace.h"

#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartTools.h"
#include "chart/engine/PlotFunction.h"
#include "chart/engine/SeriesFunctions.h"

#include <algorithm>

namespace {

bool SameName(const ChartComponent& part, const QString& name)
{
    return part.Name().compare(name, Qt::CaseInsensitive) == 0;
}

// The part's own name, or that of the function of a series.
bool PartUsesName(const ChartComponent& part, const QString& name)
{
    if (SameName(part, name))
        return true;
    const auto* series = dynamic_cast<const TChartSeries*>(&part);
    return series && series->Function() && SameName(*series->Function(), name);
}

QString NewName(const ChartPartOwner* owner, const QString& prefix)
{
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n);
        if (!owner || !owner->UsesName(name))
            return name;
    }
}

std::unique_ptr<TChartSeries> AsSeries(std::unique_ptr<ChartComponent> part)
{
    if (auto* series = dynamic_cast<TChartSeries*>(part.get())) {
        part.release();
        return std::unique_ptr<TChartSeries>(series);
    }
    return nullptr;
}

// Frees the series through whoever owns it; false when neither owns it.
bool FreeSeries(const TChartSeries* series, ChartPartOwner* owner, TCustomAxisPanel* chart)
{
    if (owner && owner->OwnsSeries(series)) {
        owner->ReleaseSeries(series).reset();
        return true;
    }
    if (chart && chart->OwnsSeries(series)) {
        chart->ReleaseSeries(series).reset();
        return true;
    }
    return false;
}

} // namespace

// ---- owners

bool ChartAsOwner::UsesName(const QString& name) const
{
    for (int i = 0; i < chart_.SeriesCount(); ++i)
        if (PartUsesName(*chart_.Series(i), name))
            return true;
    TChartTools& tools = chart_.Tools();
    for (int i = 0; i < tools.Count(); ++i)
        if (SameName(*tools[i], name))
            return true;
    return false;
}

bool ChartAsOwner::OwnsSeries(const TChartSeries* series) const
{
    return chart_.OwnsSeries(series);
}

TChartSeries* ChartAsOwner::AdoptSeries(std::unique_ptr<TChartSeries> series)
{
    return chart_.AddSeries(std::move(series));
}

std::unique_ptr<TChartSeries> ChartAsOwner::ReleaseSeries(const TChartSeries* series)
{
    std::unique_ptr<TCustomChartSeries> released = chart_.ReleaseSeries(series);
    return AsSeries(std::move(released));
}

ChartComponent* ChartPartList::Add(std::unique_ptr<ChartComponent> part)
{
    if (!part)
        return nullptr;
    parts_.push_back(std::move(part));
    return parts_.back().get();
}

bool ChartPartList::UsesName(const QString& name) const
{
    return std::any_of(
        parts_.begin(), parts_.end(), [&name](const auto& part) { return PartUsesName(*part, name); });
}

bool ChartPartList::OwnsSeries(const TChartSeries* series) const
{
    return series && std::any_of(parts_.begin(), parts_.end(), [series](const auto& part) {
        return part.get() == series;
    });
}

TChartSeries* ChartPartList::AdoptSeries(std::unique_ptr<TChartSeries> series)
{
    return static_cast<TChartSeries*>(Add(std::move(series)));
}

std::unique_ptr<TChartSeries> ChartPartList::ReleaseSeries(const TChartSeries* series)
{
    const auto it = std::find_if(
        parts_.begin(), parts_.end(), [series](const auto& part) { return part.get() == series; });
    if (!series || it == parts_.end())
        return nullptr;
    std::unique_ptr<ChartComponent> part = std::move(*it);
    parts_.erase(it);
    return AsSeries(std::move(part));
}

// ---- making series

QString GetNewSeriesName(const ChartPartOwner* owner)
{
    return NewName(owner, QStringLiteral("Series"));
}

TPlotFunction* CreateSeriesFunction(
    TChartSeries& series, const TPlotFunctionClass& functionClass, const ChartPartOwner* owner)
{
    std::unique_ptr<TPlotFunction> function = functionClass.Create();
    TPlotFunction* raw = function.get();
    raw->SetName(NewName(owner, QStringLiteral("PlotFunction")));
    series.SetFunction(std::move(function));
    return raw;
}

TChartSeries* NewSeriesOfClass(ChartPartOwner* owner, TCustomAxisPanel& chart,
    const TChartSeriesClass& seriesClass, const TPlotFunctionClass* functionClass)
{
    ChartAsOwner chartOwner(chart);
    bool chartOwnsOne = false;
    for (int i = 0; i < chart.SeriesCount() && !chartOwnsOne; ++i)
        chartOwnsOne = chart.OwnsSeries(chart.Series(i));
    ChartPartOwner* target = !owner || chartOwnsOne ? &chartOwner : owner;

    std::unique_ptr<TChartSeries> series = seriesClass.Create();
    series->SetName(GetNewSeriesName(target));
    TChartSeries* raw = target->AdoptSeries(std::move(series));
    chart.AddSeries(raw);
    if (functionClass)
        CreateSeriesFunction(*raw, *functionClass, target);
    return raw;
}

// ---- replacing series

void ReplaceSeries(TChartSeries*& old, TChartSeries& replacement, ChartPartOwner* owner)
{
    TChartSeries* previous = old;
    if (!previous || previous == &replacement)
        return;
    ChartParent* chart = previous->ParentChart();
    // On the same chart first, so that the copy keeps the custom axes.
    if (chart && replacement.ParentChart() != chart)
        replacement.SetParentChart(chart);

    replacement.Assign(*previous);
    replacement.AfterDrawValues = previous->AfterDrawValues;
    replacement.BeforeDrawValues = previous->BeforeDrawValues;
    replacement.OnAfterAdd = previous->OnAfterAdd;
    replacement.OnBeforeAdd = previous->OnBeforeAdd;
    replacement.OnClearValues = previous->OnClearValues;
    replacement.OnClick = previous->OnClick;
    replacement.OnDblClick = previous->OnDblClick;
    replacement.OnGetMarkText = previous->OnGetMarkText;

    // The series fed by the old one are fed by the new one, each source keeping its place.
    const std::vector<TChartSeries*> fed = previous->LinkedSeries();
    for (TChartSeries* series : fed)
        if (series != &replacement)
            series->ReplaceDataSource(previous, &replacement);

    if (chart) {
        TChartTools& tools = chart->Tools();
        for (int i = 0; i < tools.Count(); ++i)
            if (auto* tool = dynamic_cast<TPlotCustomToolSeries*>(tools[i]);
                tool && tool->Series() == previous)
                tool->SetSeries(&replacement);

        TChartSeriesList& list = chart->SeriesList();
        if (const int from = list.IndexOf(&replacement); from >= 0)
            list.Delete(from);
        if (const int place = list.IndexOf(previous); place >= 0)
            list.Put(place, &replacement);
        else
            list.Add(&replacement);
        // Every holder forgets the old series while it is still whole; off the chart, its
        // destruction tells nobody again.
        chart->SeriesFreeing(*previous);
        previous->SetParentChart(nullptr);
    }

    const QString name = previous->Name();
    FreeSeries(previous, owner, chart ? chart->AxisPanel() : nullptr);
    replacement.SetName(name);
    old = &replacement;

    if (chart) {
        chart->BroadcastSeriesEvent(&replacement, seDataChanged);
        chart->SeriesChanged(&replacement);
        chart->Repaint();
    }
    replacement.CheckDataSource();
}

void ReplaceSeriesClass(TChartSeries*& series, const TChartSeriesClass& newClass, ChartPartOwner* owner)
{
    if (!series || series->ClassName() == newClass.Name)
        return;
    ChartPartOwner* seriesOwner = owner && owner->OwnsSeries(series) ? owner : nullptr;
    TCustomAxisPanel* chart = series->ParentChart() ? series->ParentChart()->AxisPanel() : nullptr;
    TChartSeries* created = nullptr;
    if (chart) {
        created = NewSeriesOfClass(seriesOwner, *chart, newClass);
    } else if (seriesOwner) {
        std::unique_ptr<TChartSeries> fresh = newClass.Create();
        fresh->SetName(GetNewSeriesName(seriesOwner));
        created = seriesOwner->AdoptSeries(std::move(fresh));
    } else {
        return;
    }
    ReplaceSeries(series, *created, seriesOwner);
}

TBrushStyle GetDefaultPattern(int index)
{
    static constexpr TBrushStyle kPatterns[]
        = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
    return kPatterns[((index % 6) + 6) % 6];
}

ChartComponent* CreateChartPart(const TChartClassFactory& classes, TCustomAxisPanel& chart,
    const QString& className, const QString& name, TChartSeries* parentSeries)
{
    std::unique_ptr<ChartComponent> part = classes.Create(className);
    if (!part)
        return nullptr;
    part->SetName(name);
    ChartComponent* raw = part.get();
    if (auto* series = dynamic_cast<TChartSeries*>(raw)) {
        part.release();
        return chart.AddSeries(std::unique_ptr<TChartSeries>(series));
    }
    if (auto* tool = dynamic_cast<TPlotCustomTool*>(raw)) {
        part.release();
        return chart.AddTool(std::unique_ptr<TPlotCustomTool>(tool));
    }
    if (auto* function = dynamic_cast<TPlotFunction*>(raw); function && parentSeries) {
        part.release();
        parentSeries->SetFunction(std::unique_ptr<TPlotFunction>(function));
        return function;
    }
    return nullptr;
}
