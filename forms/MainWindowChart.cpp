// The chart and its zoom: the zoom rules with the fader's rectangles, "Undo zoom", the magnifier,
// the colours the colour window hands over, the lines the view boxes and the table editor show,
// and the segment marks of the chosen set.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "chart/series/LineSeries.h"
#include "forms/MainChartControl.h"
#include "forms/CoverageFrame.h"
#include "forms/MainChart.h"
#include "forms/MainWindowPalette.h"
#include "forms/MarkerPages.h"
#include "forms/SegmentsPanel.h"
#include "forms/SweepPanel.h"
#include "forms/TraceBar.h"
#include "forms/ViewPanel.h"
#include "mainwindow/FaderSmoothing.h"
#include "mainwindow/MainWindowState.h"

void MainWindow::WireChart()
{
    connect(&state_.ColorEditor, &ColorSettingsEditor::ColorsChanged, this, &MainWindow::ApplyColors);
    // Every press on the chart freezes the axes (ChartMousePressed), so that the zoom rules can
    // put back what the rectangle is not to change.
    connect(chartControl_.get(), &MainChartControl::zoomed, this, &MainWindow::ChartZoomed);
    connect(chartControl_.get(), &MainChartControl::zoomUndone, this, &MainWindow::ChartZoomUndone);
    connect(viewPanel_, &ViewPanel::undoZoomClicked, this, &MainWindow::UndoZoom);
    connect(markerPages_, &MarkerPages::clearLastFadeClicked, this, &MainWindow::ClearLastFade);
    connect(markerPages_, &MarkerPages::magnifierToggled, chartControl_.get(), &MainChartControl::showMagnifier);
}

const ChartBounds& MainWindow::frozenBounds() const
{
    return chartControl_->frozenBounds();
}

FaderMode MainWindow::faderMode() const
{
    return markerPages_->faderMode();
}

SmoothRangeStore& MainWindow::selectedSmoothRanges()
{
    return state_.SmoothRanges[sweepPanel_->selectedSet()];
}

SetSmoothing MainWindow::SelectedSetSmoothing()
{
    const MainChart& c = chart();
    const SetSeriesRoles& roles = kSetSeriesRoles[sweepPanel_->selectedSet()];
    return FaderSmoothing(*c.Series(roles.corrected), *c.Series(roles.smoothing), *c.Series(roles.compensation),
                          app_.Debug);
}

void MainWindow::ChartZoomed()
{
    chartControl_->applyZoomRules(markerPages_->faderMode(), viewPanel_->zoomY(), selectedSmoothRanges(),
                                SelectedSetSmoothing());
}

void MainWindow::ChartZoomUndone()
{
    chartControl_->keepFadedView(markerPages_->faderMode());
}

// "clear last": the chosen set's last smoothed range is undone and forgotten.
void MainWindow::ClearLastFade()
{
    if (ClearLastSmoothRange(selectedSmoothRanges(), SelectedSetSmoothing(), app_.Debug))
        chartControl_->repaint();
}

// "Undo zoom": the fader leaves its mode, and the axes go back to the grid's ranges.
void MainWindow::UndoZoom()
{
    markerPages_->stopFading();
    chartControl_->undoZoom(*parameterModel_);
}

// The colour window changed colours (also at its creation): points already drawn take them, the
// chart's background, the grid's legend, the colour keys and the read-outs follow, and loaded
// tables use them from now on.
void MainWindow::ApplyColors(const ColorSettings& colors, ColorSlotMask changed)
{
    chartControl_->applyColors(colors, changed);
    coverageFrame_->setChartBackColor(state_.Colors.ChartBackground);
    targets_.Colors = ProjectColorsOf(state_.Colors);
    ApplyGridColors(*parameterModel_, GridPaletteOf(state_.Colors));
    traceBar_->tintLevelReadouts(state_.Colors);
    markerPages_->tintMarkerBoxes(state_.Colors);
    viewPanel_->refreshColorKeys();
    chartControl_->repaint();
}

void MainWindow::ShowTablePreviewOnly(bool previewOnly)
{
    using enum SeriesRole;
    const MainChart& c = chart();
    for (SeriesRole role : {cableCorrection, lisnCorrection, amplifierCorrection, antennaFactor})
        c.Series(role)->LinePen().SetVisible(!previewOnly && viewPanel_->shows(role));
    for (SeriesRole role : {limitLine1, limitLine2, marginLine1, marginLine2, masterCorrection})
        c.Series(role)->LinePen().SetVisible(!previewOnly && viewPanel_->shows(role));
    if (previewOnly) {
        c.Series(tablePreview)->SetActive(true);
        c.Series(tablePreview)->LinePen().Show();
    }
}

// The table editor closed: every line the launcher hid follows its view box again, the limits
// are always drawn and the preview is hidden (the editor has emptied it).
void MainWindow::RestoreMainSeriesVisibility()
{
    using enum SeriesRole;
    for (SeriesRole role : {rawTrace1, correctedTrace1, rawTrace2, correctedTrace2, limitLine1, limitLine2,
                            cableCorrection, lisnCorrection, amplifierCorrection, antennaFactor, reference1Set1,
                            reference1Set2, marginLine1, marginLine2, masterCorrection})
        chart().Series(role)->LinePen().SetVisible(viewPanel_->shows(role));
    chart().Series(tablePreview)->LinePen().SetVisible(false);
}

// The segment marks of the chosen set are shown while "Segm." is checked, the other set's never.
void MainWindow::ApplySegmentMarks()
{
    chartControl_->showSegmentMarks(sweepPanel_->selectedSet(), segmentsPanel_->segmentMarksShown());
}
