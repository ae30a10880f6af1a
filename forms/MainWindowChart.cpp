// The chart panel: Chart1 with its series, "Undo zoom", the colours the colour window hands over,
// and the segment marks of the chosen set.
#include "forms/MainWindow.h"

#include "app/NumberText.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/CoverageFrame.h"
#include "forms/MainChart.h"
#include "forms/MainWindowPalette.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/SeriesColors.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QWidget* MainWindow::BuildChartPanel(QWidget* parent)
{
    chart_ = std::make_unique<MainChart>(parent);
    mainChart = chart_->chart;
    mainChart->setMinimumSize(400, 250);
    frequencyAxis_ = std::make_unique<ChartAxisBounds>(*mainChart->BottomAxis());
    levelAxis_ = std::make_unique<ChartAxisBounds>(*mainChart->LeftAxis());
    return mainChart;
}

void MainWindow::WireChart()
{
    connect(undoZoomButton, &QPushButton::clicked, this, &MainWindow::undoZoom);
    connect(&state_.ColorEditor, &ColorSettingsEditor::ColorsChanged, this, &MainWindow::ApplyColors);
}

// The chart's start-up state: the level axis in dBuV from the grid's range, the frequency axis
// 9 kHz .. 30 MHz (logarithmic while "log" is checked), the corrections hidden while "Cor" is
// not checked, the raw and limit traces of set 1 empty and shown.
void MainWindow::SetUpChart()
{
    chart_->rawTrace1->Clear();
    chart_->rawTrace1->SetActive(true);
    chart_->limitLine1->Clear();
    chart_->limitLine1->SetActive(true);
    mainChart->SetBackColor(state_.Colors.ChartBG);

    TChartAxis& bottom = *mainChart->BottomAxis();
    bottom.SetAutomatic(false);
    bottom.SetRange(9, 30000);
    bottom.SetLogarithmic(logAxisCheckBox->isChecked());
    bottom.SetMinorTickCount(logAxisCheckBox->isChecked() ? 8 : 0);
    TChartAxis& left = *mainChart->LeftAxis();
    left.SetAutomatic(false);
    int32_t high = 0;
    int32_t low = 0;
    if (TryStrToInt(parameterModel_->Value(gridkeys::kHigh), high) &&
        TryStrToInt(parameterModel_->Value(gridkeys::kLow), low))
        datafiles::SetAxisPair(*levelAxis_, low, high);

    const bool corrections = viewCorrectionsCheckBox->isChecked();
    for (TLineSeries* s : {chart_->cableCorrection, chart_->lisnCorrection, chart_->amplifierCorrection,
                           chart_->antennaFactor, chart_->smoothing1, chart_->compensation1, chart_->smoothing2,
                           chart_->compensation2})
        s->LinePen().SetVisible(corrections);
    chart_->arithmeticResult->SetActive(false);

    // The magnifier belongs here: a TMagnifyTool owned by this window, attached to Chart1,
    // circled, its shape at 400,50-550,200 and inactive until "Magnify" is checked. The chart
    // tools do not offer it yet.
}

// The segment marks of the chosen set are shown while "Segm." is checked, the other set's never;
// the compensation curves are drawn only as corrections, not as lines.
void MainWindow::ApplySegmentMarks()
{
    const bool set1 = set1Radio->isChecked();
    const bool segments = segmentsCheckBox->isChecked();
    chart_->segmentMarks1->SetActive(set1 && segments);
    chart_->segmentMarks2->SetActive(!set1 && segments);
    chart_->compensation1->LinePen().Hide();
    chart_->compensation2->LinePen().Hide();
}

// "Undo zoom": the fader leaves its mode, the level axis goes back to the grid's "High" and "Low"
// (each only when it is a whole number), the frequency axis to "Chart Start" .. "Chart Stop" when
// both are, and the chart undoes its own zoom. Each axis takes its two ends as one pair: set one
// after the other, a new maximum below the old minimum would be refused.
void MainWindow::undoZoom()
{
    fadeCheckBox->setChecked(false);

    int32_t high = 0;
    int32_t low = 0;
    const bool haveHigh = TryStrToInt(parameterModel_->Value(gridkeys::kHigh), high);
    const bool haveLow = TryStrToInt(parameterModel_->Value(gridkeys::kLow), low);
    if (haveHigh || haveLow)
        datafiles::SetAxisPair(*levelAxis_, haveLow ? low : levelAxis_->Minimum(),
                               haveHigh ? high : levelAxis_->Maximum());

    int32_t start = 0;
    int32_t stop = 0;
    if (TryStrToInt(parameterModel_->Value(gridkeys::kChartStart), start) &&
        TryStrToInt(parameterModel_->Value(gridkeys::kChartStop), stop))
        datafiles::SetAxisPair(*frequencyAxis_, start / 1000.0, stop / 1000.0);

    // The title names the unit the labels are shown in.
    mainChart->LeftAxis()->Title().SetCaption(LevelAxisTitleOf(LevelUnitOfOffset(state_.LevelUnitOffset)));
    mainChart->UndoZoom();
}

// The colour window changed colours (also at its creation): points already drawn take them, the
// chart's background, the grid's legend, the colour keys and the read-outs follow, and loaded
// tables use them from now on.
void MainWindow::ApplyColors(const ColorSettings& colors, ColorSlotMask changed)
{
    RecolourSeries(colors, changed, [this](const QString& name) { return chart_->SeriesNamed(name); });
    mainChart->SetBackColor(state_.Colors.ChartBG);
    coverageFrame->levelChart->SetBackColor(state_.Colors.ChartBG);
    coverageFrame->gpsChart->SetBackColor(state_.Colors.ChartBG);
    targets_.Colors = ProjectColorsOf(state_.Colors);
    ApplyGridColors(*parameterModel_, GridPaletteOf(state_.Colors));

    auto tint = [](QWidget* w, QPalette::ColorRole role, TColor color) {
        QPalette p = w->palette();
        p.setColor(role, QColorOf(color));
        w->setPalette(p);
    };
    tint(level1Readout, QPalette::Text, colors[ColorSlot::Ser7]);
    tint(level2Readout, QPalette::Text, colors[ColorSlot::Ser9]);
    tint(marker1CheckBox, QPalette::Window, colors[ColorSlot::Ser7]);
    tint(marker2CheckBox, QPalette::Window, colors[ColorSlot::Ser9]);
    marker1CheckBox->setAutoFillBackground(true);
    marker2CheckBox->setAutoFillBackground(true);
    for (QWidget* key : viewColorKeys)
        key->update();
    mainChart->Invalidate();
}

void MainWindow::ShowTablePreviewOnly(bool previewOnly)
{
    const MainChart& c = *chart_;
    const bool corrections = !previewOnly && viewCorrectionsCheckBox->isChecked();
    for (TLineSeries* s : {c.cableCorrection, c.lisnCorrection, c.amplifierCorrection, c.antennaFactor})
        s->LinePen().SetVisible(corrections);
    c.limitLine1->LinePen().SetVisible(!previewOnly);
    c.limitLine2->LinePen().SetVisible(!previewOnly);
    c.marginLine1->LinePen().SetVisible(!previewOnly && viewMargin1CheckBox->isChecked());
    c.marginLine2->LinePen().SetVisible(!previewOnly && viewMargin2CheckBox->isChecked());
    c.masterCorrection->LinePen().SetVisible(!previewOnly && viewMasterCheckBox->isChecked());
    if (previewOnly) {
        c.tablePreview->SetActive(true);
        c.tablePreview->LinePen().Show();
    }
}
