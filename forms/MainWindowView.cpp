// The view: which lines the chart shows, the level unit, the pair of traces on top, the frequency
// axis' options, "Clear chart" and "Clear all".
#include "forms/MainWindow.h"

#include "chart/series/LineSeries.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/MainChartControl.h"
#include "forms/MainChart.h"
#include "forms/TraceBar.h"
#include "forms/ViewPanel.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/PeakLists.h"

// Each view box shows or hides its series' lines (the points stay); a click on a trace label
// brings its pair of traces on top; "log" and "kHz/MHz" change the frequency axis and its labels.
void MainWindow::WireView()
{
    MainChartControl* chartControl = chartControl_.get();
    connect(viewPanel_, &ViewPanel::viewToggled, chartControl, &MainChartControl::showSeriesLines);
    connect(viewPanel_, &ViewPanel::levelUnitToggled, this, &MainWindow::ChooseLevelUnit);
    connect(traceBar_, &TraceBar::pairClicked, chartControl, &MainChartControl::putPairOnTop);
    connect(viewPanel_, &ViewPanel::logAxisToggled, chartControl, &MainChartControl::applyLogAxis);
    connect(chartControl, &MainChartControl::frequencyAxisTurnedLinear, viewPanel_,
            &ViewPanel::showLinearAxis);
    chartControl->setScaledKhz(viewPanel_->scaledKhz());
    connect(viewPanel_, &ViewPanel::scaledKhzToggled, chartControl, &MainChartControl::setScaledKhz);
    connect(viewPanel_, &ViewPanel::clearAllClicked, this, &MainWindow::ClearAll);
    connect(viewPanel_, &ViewPanel::clearChartClicked, this, &MainWindow::ClearChart);
}

// The unit boxes leave one unit chosen. Stored levels stay in dBuV: the axis labels, read-outs and
// marker labels add the unit's offset at the next repaint.
void MainWindow::ChooseLevelUnit(LevelUnit clicked, bool checked)
{
    const LevelUnit unit = UnitAfterBoxClick(LevelUnitOfOffset(state_.LevelUnitOffset), clicked, checked);
    viewPanel_->showLevelUnit(unit);
    chartControl_->showLevelAxisTitle(ApplyLevelUnit(state_, unit));
}

// "Clear all": the chart's traces, limits, corrections, references and margins (Series1 to
// Series15), the grid's limit and correction files and margins, both sets' peak lists and grids
// and both marker stores.
void MainWindow::ClearAll()
{
    traceBar_->showChartLabel(QStringLiteral("Chart:"));
    traceBar_->showTraceLabel(1, QStringLiteral("Trace:"));
    for (const QString& key : {gridkeys::kLimit1, gridkeys::kLimit2, gridkeys::kCableCor, gridkeys::kLisnCor,
                               gridkeys::kAmpCor, gridkeys::kAntCor})
        parameterModel_->SetValue(key, kNoFile);
    // The margins a run reads follow the grid, which now shows none.
    parameterModel_->SetValue(gridkeys::kMargin1, QStringLiteral("0"));
    parameterModel_->SetValue(gridkeys::kMargin2, QStringLiteral("0"));
    gridState_.MarginDb = {};
    for (int n = 1; n <= 15; ++n)
        chart().Series(n)->Clear();
    for (MeasurementSet& set : sets_)
        set.shownPeaks->Clear();
    for (MarkerStore& markers : state_.Markers)
        markers.Count = 0;
    chartControl_->repaint();
}

// "Clear chart": the raw and corrected traces of both sets and both sets' peak lists and grids;
// markers, limits and corrections stay.
void MainWindow::ClearChart()
{
    traceBar_->showChartLabel(QStringLiteral("Chart:"));
    for (const SetSeriesRoles& roles : kSetSeriesRoles) {
        chart().Series(roles.raw)->Clear();
        chart().Series(roles.corrected)->Clear();
    }
    for (MeasurementSet& set : sets_)
        set.shownPeaks->Clear();
    chartControl_->repaint();
}

// The traces of a set and everything listed from them (peaks, re-measurements, the grid the report
// prints) go together when another plan replaces the set's: a report never pairs one plan's chart
// with another's peaks. A run that holds them (paused) works on its copy of the old plan and keeps
// them.
void MainWindow::DropSetResults(MeasureSet set)
{
    if (RunActive())
        return;
    const SetSeriesRoles& roles = kSetSeriesRoles[set];
    chart().Series(roles.raw)->Clear();
    chart().Series(roles.corrected)->Clear();
    sets_[set].shownPeaks->Clear();
    chartControl_->repaint();
}
