// The marks over the traces and what the Marker, Fader and Math pages do with the chart: the
// peak marks and marker flags of each paint, the read-out under the mouse, the markers and
// harmonics of a click, the peak lists' crosshair, "Copy Markers" and "Calc".
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "chart/series/LineSeries.h"
#include "forms/MainChartControl.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MarkerPages.h"
#include "forms/MessagesPanel.h"
#include "forms/PeaksPanel.h"
#include "forms/TraceBar.h"
#include "forms/ViewPanel.h"
#include "mainwindow/LevelReadout.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/MarkerTab.h"
#include "measurement/PeakLists.h"
#include "measurement/TraceArithmetic.h"

// The chart's paint, mouse move and mouse-down; the Marker and Math pages; the double-clicks of
// the peak lists.
void MainWindow::WireMarkers()
{
    MainChartControl* chartControl = chartControl_.get();
    connect(chartControl, &MainChartControl::aboutToDrawSeries, this, &MainWindow::DrawChartOverlays);
    connect(chartControl, &MainChartControl::mouseMoved, this, &MainWindow::ChartMouseMoved);
    connect(chartControl, &MainChartControl::mousePressed, this, &MainWindow::ChartMousePressed);

    connect(markerPages_, &MarkerPages::repaintRequested, chartControl, &MainChartControl::repaint);
    connect(markerPages_, &MarkerPages::clearMarkersClicked, this, &MainWindow::ClearMarkers);
    connect(markerPages_, &MarkerPages::copyMarkersClicked, this, &MainWindow::CopyMarkers);
    connect(peaksPanel_, &PeaksPanel::crosshairRequested, chartControl, &MainChartControl::showCrosshair);

    // The Math page: the result shows while "Math" is ticked, also when "Calc" ticks it.
    connect(markerPages_, &MarkerPages::calcClicked, this, &MainWindow::CalcMath);
    connect(markerPages_, &MarkerPages::mathToggled, this, [this](bool on) {
        chart().Series(SeriesRole::arithmeticResult)->SetActive(on);
        chartControl_->repaint();
    });
}

// The debug window's "New Labels" draws the frequency axis' end labels over the chart.
void MainWindow::WireLaterMarkers()
{
    if (LoggerWindow* logger = forms_.loggerWindow)
        connect(logger, &LoggerWindow::bottomAxisLabelsRequested, chartControl_.get(),
                &MainChartControl::drawBottomAxisLabels);
}

// The peak marks of the sets their view boxes show, and the stored marker flags of the sets whose
// "show" is ticked.
void MainWindow::DrawChartOverlays()
{
    const MarkerBoxes boxes = markerPages_->markerBoxes();
    PerSet<SetOverlay> overlays{};
    for (MeasureSet set : kMeasureSets) {
        overlays[set].Peaks = sets_[set].shownPeaks;
        overlays[set].View = viewPanel_->shows(kSetSeriesRoles[set].corrected);
        overlays[set].Markers = &state_.Markers[set];
        overlays[set].ShowMarkers = boxes.Sets[set].Show;
    }
    chartControl_->drawOverlays(overlays, markerPages_->showMarkerNumbers());
}

void MainWindow::ChartMouseMoved(int x)
{
    const bool debug = app_.Debug.DebugMode;
    const std::optional<MouseReadout> readout = chartControl_->readoutAt(x, debug);
    if (!readout)
        return;
    traceBar_->showReadout(*readout);
    if (debug)
        messagesPanel_->showDebugText(readout->Debug);
}

void MainWindow::ChartMousePressed(int x)
{
    MarkerBoxes boxes = markerPages_->markerBoxes();
    chartControl_->click(x, boxes);
    markerPages_->showArmed(boxes);
}

void MainWindow::ClearMarkers(MeasureSet set, bool all)
{
    if (all)
        ClearAllMarkers(state_.Markers[set]);
    else
        ClearLastMarker(state_.Markers[set]);
    chartControl_->repaint();
}

void MainWindow::CopyMarkers()
{
    PerSet<const MarkerStore*> markers;
    PerSet<PeakLists*> peaks;
    for (MeasureSet set : kMeasureSets) {
        markers[set] = &state_.Markers[set];
        peaks[set] = sets_[set].shownPeaks;
    }
    ::CopyMarkers(markers, peaks);
    chartControl_->repaint();
}

void MainWindow::CalcMath()
{
    using enum SeriesRole;
    const MainChart& c = chart();
    const MathSeries series{{c.Series(reference1Set1), c.Series(reference1Set2), c.Series(reference2Set1),
                             c.Series(reference2Set2), c.Series(reference3Set1), c.Series(reference3Set2),
                             c.Series(correctedTrace1), c.Series(correctedTrace2)},
                            c.Series(arithmeticResult)};
    const MarkerPages::MathChoice choice = markerPages_->mathChoice();
    if (!::CalcMath(series, choice.first, choice.operation, choice.second))
        return;
    markerPages_->showMathResult();
    chartControl_->repaint();
}
