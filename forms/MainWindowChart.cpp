// The chart panel: Chart1 with its series, its zoom with the program's rules (and the fader's
// rectangles), the labels of both axes, "Undo zoom", the magnifier, the colours the colour window
// hands over, and the segment marks of the chosen set.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "app/NumberText.h"
#include "chart/series/Chart.h"
#include "chart/series/LibraryTexts.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/MagnifyTool.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/CoverageFrame.h"
#include "forms/MainChart.h"
#include "forms/MainWindowPalette.h"
#include "mainwindow/AxisLabelRules.h"
#include "mainwindow/FaderSmoothing.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/SeriesColors.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <exception>

namespace {

ChartBounds BoundsOf(TChart& chart)
{
    const TChartAxis& left = *chart.LeftAxis();
    const TChartAxis& bottom = *chart.BottomAxis();
    return {{left.Minimum(), left.Maximum()}, {bottom.Minimum(), bottom.Maximum()}};
}

void SetBounds(TChart& chart, const ChartBounds& b)
{
    chart.LeftAxis()->SetRange(b.Left.Minimum, b.Left.Maximum);
    chart.BottomAxis()->SetRange(b.Bottom.Minimum, b.Bottom.Maximum);
}

// No exception leaves a chart event: it becomes an "Error: " line and the axes stay as they are.
template <class F> void Guarded(MessageLog& log, F&& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        log.Append(QStringLiteral("Error: ") + QString::fromUtf8(e.what()));
    }
}

// Where the magnifier sits when "Magnify" switches it on: 151 x 151 pixels.
constexpr TRect kMagnifierBounds{400, 50, 550, 200};

} // namespace

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

    mainChart->OnZoom = [this] { ChartZoomed(); };
    mainChart->OnUndoZoom = [this] { ChartZoomUndone(); };
    mainChart->OnGetAxisLabel = [this](TChartAxis* axis, TChartSeries*, int, QString& text) { AxisLabel(axis, text); };
    mainChart->OnGetNextAxisLabel = [this](TChartAxis* axis, int index, double& value, bool& stop) {
        NextAxisLabel(axis, index, value, stop);
    };
    // Every press on the chart freezes the axes (ChartMousePressed), so that the zoom rules can put
    // back what the rectangle is not to change.

    connect(fadeCheckBox, &QCheckBox::clicked, this, [this](bool on) { ChooseFaderMode(fadeCheckBox, on); });
    connect(clearFadeCheckBox, &QCheckBox::clicked, this, [this](bool on) { ChooseFaderMode(clearFadeCheckBox, on); });
    connect(clearLastFadeButton, &QPushButton::clicked, this, &MainWindow::clearLastFade);
    connect(magnifyCheckBox, &QCheckBox::toggled, this, &MainWindow::ShowMagnifier);
}

// The chart's start-up state: the level axis in dBuV from the grid's range, the frequency axis
// 9 kHz .. 30 MHz (logarithmic while "log" is checked), the corrections hidden while "Cor" is
// not checked, the raw and limit traces of set 1 empty and shown.
void MainWindow::SetUpChart()
{
    chart_->Series(SeriesRole::rawTrace1)->Clear();
    chart_->Series(SeriesRole::rawTrace1)->SetActive(true);
    chart_->Series(SeriesRole::limitLine1)->Clear();
    chart_->Series(SeriesRole::limitLine1)->SetActive(true);
    mainChart->SetBackColor(state_.Colors.ChartBackground);

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
    using enum SeriesRole;
    for (SeriesRole role : {cableCorrection, lisnCorrection, amplifierCorrection, antennaFactor, smoothing1,
                            compensation1, smoothing2, compensation2})
        chart_->Series(role)->LinePen().SetVisible(corrections);
    chart_->Series(SeriesRole::arithmeticResult)->SetActive(false);

    frozenBounds_ = BoundsOf(*mainChart);
    SetUpMagnifier();
}

// The magnifier: owned by this window, attached to Chart1, circled, its shape at 400,50-550,200,
// inactive until "Magnify" is checked. Its name and description are the library's texts. The
// chart pans with no mouse button and not with the wheel either, so the wheel over the lens only
// changes its enlargement.
void MainWindow::SetUpMagnifier()
{
    if (!libraryTexts_) {
        libraryTexts_ = std::make_unique<TLibraryTexts>();
        StartLibraryTexts(*libraryTexts_);
    }
    magnifier_ = std::make_unique<TMagnifyTool>();
    magnifier_->SetTexts(libraryTexts_.get());
    magnifier_->SetParentChart(mainChart);
    magnifier_->SetCircled(true);
    magnifier_->SetShapeBounds(kMagnifierBounds);
    magnifier_->SetActive(false);
}

// "Magnify": the lens appears at its place again (a drag may have moved it) or goes.
void MainWindow::ShowMagnifier(bool on)
{
    // A click under the magnifier is no frequency pick: no harmonic lines while it is shown.
    harmonicsCheckBox->setEnabled(!on);
    if (!magnifier_)
        return;
    magnifier_->SetActive(on);
    if (on)
        magnifier_->SetShapeBounds(kMagnifierBounds);
}

// --- Zoom and fader

FaderMode MainWindow::faderMode() const
{
    if (fadeCheckBox->isChecked())
        return FaderMode::Fade;
    if (clearFadeCheckBox->isChecked())
        return FaderMode::Clear;
    return FaderMode::Zoom;
}

SmoothRangeStore& MainWindow::selectedSmoothRanges()
{
    return state_.SmoothRanges[set2Radio->isChecked() ? 1 : 0];
}

SetSmoothing MainWindow::selectedSetSmoothing()
{
    const MainChart& c = *chart_;
    if (set2Radio->isChecked())
        return FaderSmoothing(*c.Series(SeriesRole::correctedTrace2), *c.Series(SeriesRole::smoothing2),
                              *c.Series(SeriesRole::compensation2), app_.Debug);
    return FaderSmoothing(*c.Series(SeriesRole::correctedTrace1), *c.Series(SeriesRole::smoothing1),
                          *c.Series(SeriesRole::compensation1), app_.Debug);
}

// "fade" and "clr" exclude each other.
void MainWindow::ChooseFaderMode(QCheckBox* clicked, bool checked)
{
    const FaderMode mode = FaderModeAfterClick(faderMode(), clicked == fadeCheckBox ? FaderMode::Fade : FaderMode::Clear,
                                               checked);
    fadeCheckBox->setChecked(mode == FaderMode::Fade);
    clearFadeCheckBox->setChecked(mode == FaderMode::Clear);
}

// The chart has set both axes to the rectangle: the fader's rectangle smooths or clears instead
// of zooming; the level axis stays unless "Zoom Y Axis"; the frequency axis takes whole kHz and
// at least 100 kHz. Each axis takes its two ends in one step.
void MainWindow::ChartZoomed()
{
    Guarded(app_.Messages, [this] {
        TChartAxis& bottom = *mainChart->BottomAxis();
        ZoomRequest request;
        request.Zoomed = BoundsOf(*mainChart);
        request.Frozen = frozenBounds_;
        request.Fader = faderMode();
        request.ZoomY = zoomYAxisCheckBox->isChecked();
        request.BottomLogarithmic = bottom.Logarithmic();
        const ZoomOutcome out =
            ApplyZoomRules(request, selectedSmoothRanges(), selectedSetSmoothing(), app_.Debug, app_.Messages);
        SetBounds(*mainChart, out.Bounds);
        if (out.FixLabelSpacing) {
            bottom.SetLabelsSeparation(100);
            bottom.SetIncrement(50);
        }
    });
}

// The chart has put back its own range; a fade rectangle's undo keeps the view instead. The
// frequency labels are spaced automatically again.
void MainWindow::ChartZoomUndone()
{
    Guarded(app_.Messages, [this] {
        const ChartBounds restored = BoundsOf(*mainChart);
        const ChartBounds shown = UndoZoomBounds(faderMode(), restored, frozenBounds_);
        if (shown != restored)
            SetBounds(*mainChart, shown);
        mainChart->BottomAxis()->SetIncrement(0);
    });
}

// "clear last": the chosen set's last smoothed range is undone and forgotten.
void MainWindow::clearLastFade()
{
    if (ClearLastSmoothRange(selectedSmoothRanges(), selectedSetSmoothing(), app_.Debug))
        mainChart->Invalidate();
}

// --- Axis labels

// Levels in the chosen unit, frequencies in kHz or with "kHz/MHz" in kHz, MHz or GHz.
void MainWindow::AxisLabel(TChartAxis* axis, QString& text)
{
    if (axis == mainChart->LeftAxis())
        text = LevelAxisLabel(text, state_.LevelUnitOffset);
    else if (axis == mainChart->BottomAxis())
        text = FrequencyAxisLabel(text, khzMhzCheckBox->isChecked());
}

// A logarithmic frequency axis is labelled at its decades. When not even two decades fit, the
// axis becomes linear: not now, while it draws, but right after the current paint, which then
// draws again; the two lines are written once for the switch.
void MainWindow::NextAxisLabel(TChartAxis* axis, int index, double& value, bool& stop)
{
    if (axis != mainChart->BottomAxis() || !axis->Logarithmic())
        return;
    const LogLabelStep step = NextLogAxisLabel(axis->CurrentMinimum(), axis->CurrentMaximum(), index, value);
    stop = step.Stop;
    if (step.SwitchToLinear && !linearSwitchQueued_) {
        linearSwitchQueued_ = true;
        QMetaObject::invokeMethod(this, &MainWindow::SwitchFrequencyAxisToLinear, Qt::QueuedConnection);
    }
}

void MainWindow::SwitchFrequencyAxisToLinear()
{
    linearSwitchQueued_ = false;
    if (!mainChart->BottomAxis()->Logarithmic())
        return;
    for (const QString& line : LogAxisSwitchLines())
        app_.Messages.Append(line);
    {
        const QSignalBlocker quiet(logAxisCheckBox);
        logAxisCheckBox->setChecked(false);
    }
    ApplyLogAxis();
    mainChart->Invalidate();
}

// The segment marks of the chosen set are shown while "Segm." is checked, the other set's never;
// the compensation curves are drawn only as corrections, not as lines.
void MainWindow::ApplySegmentMarks()
{
    const bool set1 = set1Radio->isChecked();
    const bool segments = segmentsCheckBox->isChecked();
    chart_->Series(SeriesRole::segmentMarks1)->SetActive(set1 && segments);
    chart_->Series(SeriesRole::segmentMarks2)->SetActive(!set1 && segments);
    chart_->Series(SeriesRole::compensation1)->LinePen().Hide();
    chart_->Series(SeriesRole::compensation2)->LinePen().Hide();
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
    RecolourSeries(colors, changed, chart_->ByRole());
    mainChart->SetBackColor(state_.Colors.ChartBackground);
    coverageFrame->setChartBackColor(state_.Colors.ChartBackground);
    targets_.Colors = ProjectColorsOf(state_.Colors);
    ApplyGridColors(*parameterModel_, GridPaletteOf(state_.Colors));

    auto tint = [](QWidget* w, QPalette::ColorRole role, TColor color) {
        QPalette p = w->palette();
        p.setColor(role, QColorOf(color));
        w->setPalette(p);
    };
    tint(level1Readout, QPalette::Text, colors[ColorSlot::correctedTrace1]);
    tint(level2Readout, QPalette::Text, colors[ColorSlot::correctedTrace2]);
    tint(marker1CheckBox, QPalette::Window, colors[ColorSlot::correctedTrace1]);
    tint(marker2CheckBox, QPalette::Window, colors[ColorSlot::correctedTrace2]);
    marker1CheckBox->setAutoFillBackground(true);
    marker2CheckBox->setAutoFillBackground(true);
    for (QWidget* key : viewColorKeys)
        key->update();
    mainChart->Invalidate();
}

void MainWindow::ShowTablePreviewOnly(bool previewOnly)
{
    using enum SeriesRole;
    const MainChart& c = *chart_;
    const bool corrections = !previewOnly && viewCorrectionsCheckBox->isChecked();
    for (SeriesRole role : {cableCorrection, lisnCorrection, amplifierCorrection, antennaFactor})
        c.Series(role)->LinePen().SetVisible(corrections);
    c.Series(limitLine1)->LinePen().SetVisible(!previewOnly);
    c.Series(limitLine2)->LinePen().SetVisible(!previewOnly);
    c.Series(marginLine1)->LinePen().SetVisible(!previewOnly && viewMargin1CheckBox->isChecked());
    c.Series(marginLine2)->LinePen().SetVisible(!previewOnly && viewMargin2CheckBox->isChecked());
    c.Series(masterCorrection)->LinePen().SetVisible(!previewOnly && viewMasterCheckBox->isChecked());
    if (previewOnly) {
        c.Series(tablePreview)->SetActive(true);
        c.Series(tablePreview)->LinePen().Show();
    }
}
