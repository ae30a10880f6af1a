#include "forms/MainChartControl.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "app/NumberText.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "chart/series/LibraryTexts.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/MagnifyTool.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "forms/MainChart.h"
#include "forms/MeasurementSet.h"
#include "instrument/InstrumentState.h"
#include "mainwindow/AxisLabelRules.h"
#include "mainwindow/LevelReadout.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/MarkStamps.h"
#include "mainwindow/MarkerTab.h"
#include "mainwindow/SeriesColors.h"
#include "mainwindow/TraceOnTop.h"
#include "reports/ChartFiles.h"

#include <QApplication>
#include <QGuiApplication>

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

// Where the magnifier sits when "Magnify" switches it on: 151 x 151 pixels.
constexpr TRect kMagnifierBounds{400, 50, 550, 200};

} // namespace

MainChartControl::MainChartControl(AppContext& app, InstrumentState& instrument, MainWindowState& state,
                                   QWidget* parent)
    : app_(app), instrument_(instrument), state_(state), mainChart_(std::make_unique<MainChart>(parent))
{
    TChart& c = widget();
    c.setMinimumSize(400, 250);
    frequencyAxis_ = std::make_unique<ChartAxisBounds>(*c.BottomAxis());
    levelAxis_ = std::make_unique<ChartAxisBounds>(*c.LeftAxis());
    markStamps_ = std::make_unique<MarkStamps>();

    c.OnZoom = [this] { emit zoomed(); };
    c.OnUndoZoom = [this] { emit zoomUndone(); };
    c.OnGetAxisLabel = [this](TChartAxis* axis, TChartSeries*, int, QString& text) { AxisLabel(axis, text); };
    c.OnGetNextAxisLabel = [this](TChartAxis* axis, int index, double& value, bool& stop) {
        NextAxisLabel(axis, index, value, stop);
    };
    c.OnBeforeDrawSeries = [this] { emit aboutToDrawSeries(); };
    c.OnAfterDraw = [this] { endPaint(); };
    c.OnMouseMove = [this](TShiftState, int32_t x, int32_t) { emit mouseMoved(x); };
    c.OnMouseDown = [this](TMouseButton, TShiftState, int32_t x, int32_t) { emit mousePressed(x); };
}

MainChartControl::~MainChartControl() = default;

TChart& MainChartControl::widget()
{
    return *mainChart_->chart;
}

void MainChartControl::startUp(const ParameterGridModel& grid, bool logAxis, bool correctionsShown)
{
    TChart& c = widget();
    mainChart_->Series(SeriesRole::rawTrace1)->Clear();
    mainChart_->Series(SeriesRole::rawTrace1)->SetActive(true);
    mainChart_->Series(SeriesRole::limitLine1)->Clear();
    mainChart_->Series(SeriesRole::limitLine1)->SetActive(true);
    c.SetBackColor(state_.Colors.ChartBackground);

    TChartAxis& bottom = *c.BottomAxis();
    bottom.SetAutomatic(false);
    bottom.SetRange(9, 30000);
    bottom.SetLogarithmic(logAxis);
    bottom.SetMinorTickCount(logAxis ? 8 : 0);
    TChartAxis& left = *c.LeftAxis();
    left.SetAutomatic(false);
    int32_t high = 0;
    int32_t low = 0;
    if (TryStrToInt(grid.Value(gridkeys::kHigh), high) && TryStrToInt(grid.Value(gridkeys::kLow), low))
        datafiles::SetAxisPair(*levelAxis_, low, high);

    using enum SeriesRole;
    for (SeriesRole role : {cableCorrection, lisnCorrection, amplifierCorrection, antennaFactor, smoothing1,
                            compensation1, smoothing2, compensation2})
        mainChart_->Series(role)->LinePen().SetVisible(correctionsShown);
    mainChart_->Series(SeriesRole::arithmeticResult)->SetActive(false);

    frozenBounds_ = BoundsOf(c);
    SetUpMagnifier();
}

// The magnifier: owned by the panel, attached to Chart1, circled, its shape at 400,50-550,200,
// inactive until "Magnify" is checked. Its name and description are the library's texts. The
// chart pans with no mouse button and not with the wheel either, so the wheel over the lens only
// changes its enlargement.
void MainChartControl::SetUpMagnifier()
{
    if (!libraryTexts_) {
        libraryTexts_ = std::make_unique<TLibraryTexts>();
        StartLibraryTexts(*libraryTexts_);
    }
    magnifier_ = std::make_unique<TMagnifyTool>();
    magnifier_->SetTexts(libraryTexts_.get());
    magnifier_->SetParentChart(&widget());
    magnifier_->SetCircled(true);
    magnifier_->SetShapeBounds(kMagnifierBounds);
    magnifier_->SetActive(false);
}

// "Magnify": the lens appears at its place again (a drag may have moved it) or goes.
void MainChartControl::showMagnifier(bool on)
{
    if (!magnifier_)
        return;
    magnifier_->SetActive(on);
    if (on)
        magnifier_->SetShapeBounds(kMagnifierBounds);
}

void MainChartControl::applyLogAxis(bool logarithmic)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TChartAxis& bottom = *widget().BottomAxis();
    bottom.SetLogarithmic(logarithmic);
    bottom.SetMinorTickCount(logarithmic ? 8 : 0);
    QApplication::restoreOverrideCursor();
}

void MainChartControl::setScaledKhz(bool scaled)
{
    scaledKhz_ = scaled;
    widget().Invalidate();
}

// The peak marks of a set follow its view box too.
void MainChartControl::showSeriesLines(const std::vector<SeriesRole>& roles, bool shown)
{
    for (SeriesRole role : roles)
        mainChart_->Series(role)->LinePen().SetVisible(shown);
    widget().Invalidate();
}

// The compensation curves are drawn only as corrections, not as lines.
void MainChartControl::showSegmentMarks(MeasureSet set, bool shown)
{
    for (MeasureSet each : kMeasureSets)
        mainChart_->Series(kSetSeriesRoles[each].segmentMarks)->SetActive(each == set && shown);
    for (const SetSeriesRoles& roles : kSetSeriesRoles)
        mainChart_->Series(roles.compensation)->LinePen().Hide();
}

// Each click brings the other trace of the pair to the very top.
void MainChartControl::putPairOnTop(TopTracePair pair)
{
    PutTraceOnTop(widget().SeriesList(), pair, state_.TraceOnTopToggle);
    widget().Invalidate();
}

void MainChartControl::showLevelAxisTitle(const QString& title)
{
    widget().LeftAxis()->Title().SetCaption(title);
    widget().Invalidate();
}

// Points already drawn take the new colours, and so does the chart's background.
void MainChartControl::applyColors(const ColorSettings& colors, ColorSlotMask changed)
{
    RecolourSeries(colors, changed, mainChart_->ByRole());
    widget().SetBackColor(state_.Colors.ChartBackground);
}

ChartFileContext MainChartControl::fileContext()
{
    ChartFileContext c;
    c.Series = mainChart_->ByRole();
    c.BottomAxis = widget().BottomAxis();
    c.LeftAxis = widget().LeftAxis();
    return c;
}

// --- Zoom

// The chart has set both axes to the rectangle: the fader's rectangle smooths or clears instead
// of zooming; the level axis stays unless "Zoom Y Axis"; the frequency axis takes whole kHz and
// at least 100 kHz. Each axis takes its two ends in one step.
void MainChartControl::applyZoomRules(FaderMode fader, bool zoomY, SmoothRangeStore& ranges,
                                      const SetSmoothing& smoothing)
{
    // A rule that fails leaves an error line and the axes as the chart set them.
    RunLoggingErrors(app_.Messages, [&] {
        TChart& c = widget();
        TChartAxis& bottom = *c.BottomAxis();
        ZoomRequest request;
        request.Zoomed = BoundsOf(c);
        request.Frozen = frozenBounds_;
        request.Fader = fader;
        request.ZoomY = zoomY;
        request.BottomLogarithmic = bottom.Logarithmic();
        const ZoomOutcome out = ApplyZoomRules(request, ranges, smoothing, app_.Debug, app_.Messages);
        SetBounds(c, out.Bounds);
        if (out.FixLabelSpacing) {
            bottom.SetLabelsSeparation(100);
            bottom.SetIncrement(50);
        }
    });
}

// The frequency labels are spaced automatically again.
void MainChartControl::keepFadedView(FaderMode fader)
{
    RunLoggingErrors(app_.Messages, [&] {
        TChart& c = widget();
        const ChartBounds restored = BoundsOf(c);
        const ChartBounds shown = UndoZoomBounds(fader, restored, frozenBounds_);
        if (shown != restored)
            SetBounds(c, shown);
        c.BottomAxis()->SetIncrement(0);
    });
}

// The level axis goes back to the grid's "High" and "Low" (each only when it is a whole number),
// the frequency axis to "Chart Start" .. "Chart Stop" when both are, and the chart undoes its own
// zoom. Each axis takes its two ends as one pair: set one after the other, a new maximum below the
// old minimum would be refused.
void MainChartControl::undoZoom(const ParameterGridModel& grid)
{
    int32_t high = 0;
    int32_t low = 0;
    const bool haveHigh = TryStrToInt(grid.Value(gridkeys::kHigh), high);
    const bool haveLow = TryStrToInt(grid.Value(gridkeys::kLow), low);
    if (haveHigh || haveLow)
        datafiles::SetAxisPair(*levelAxis_, haveLow ? low : levelAxis_->Minimum(),
                               haveHigh ? high : levelAxis_->Maximum());

    int32_t start = 0;
    int32_t stop = 0;
    if (TryStrToInt(grid.Value(gridkeys::kChartStart), start) && TryStrToInt(grid.Value(gridkeys::kChartStop), stop))
        datafiles::SetAxisPair(*frequencyAxis_, start / 1000.0, stop / 1000.0);

    // The title names the unit the labels are shown in.
    widget().LeftAxis()->Title().SetCaption(LevelAxisTitleOf(LevelUnitOfOffset(state_.LevelUnitOffset)));
    widget().UndoZoom();
}

// --- Axis labels

// Levels in the chosen unit, frequencies in kHz or with "kHz/MHz" in kHz, MHz or GHz.
void MainChartControl::AxisLabel(TChartAxis* axis, QString& text) const
{
    const TChart& c = *mainChart_->chart;
    if (axis == c.LeftAxis())
        text = LevelAxisLabel(text, state_.LevelUnitOffset);
    else if (axis == c.BottomAxis())
        text = FrequencyAxisLabel(text, scaledKhz_);
}

// A logarithmic frequency axis is labelled at its decades. When not even two decades fit, the
// axis becomes linear: not now, while it draws, but right after the current paint, which then
// draws again; the two lines are written once for the switch.
void MainChartControl::NextAxisLabel(TChartAxis* axis, int index, double& value, bool& stop)
{
    if (axis != widget().BottomAxis() || !axis->Logarithmic())
        return;
    const LogLabelStep step = NextLogAxisLabel(axis->CurrentMinimum(), axis->CurrentMaximum(), index, value);
    stop = step.Stop;
    if (step.SwitchToLinear && !linearSwitchQueued_) {
        linearSwitchQueued_ = true;
        QMetaObject::invokeMethod(this, &MainChartControl::SwitchFrequencyAxisToLinear, Qt::QueuedConnection);
    }
}

void MainChartControl::SwitchFrequencyAxisToLinear()
{
    linearSwitchQueued_ = false;
    if (!widget().BottomAxis()->Logarithmic())
        return;
    for (const QString& line : LogAxisSwitchLines())
        app_.Messages.Append(line);
    emit frequencyAxisTurnedLinear();
    applyLogAxis(false);
    widget().Invalidate();
}

// --- Marks over the traces

// Before the chart's series are drawn: the busy cursor for the paint (taken back after it).
void MainChartControl::drawOverlays(const PerSet<SetOverlay>& sets, bool showMarkerNumbers)
{
    TChart& c = widget();
    if (!paintCursorShown_ && BusyCursorDuringPaint(instrument_.Device.DeviceFamily)) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        paintCursorShown_ = true;
    }
    OverlayScene scene{state_.Colors, c.GetBackColor()};
    scene.Sets = sets;
    for (MeasureSet set : kMeasureSets)
        scene.Sets[set].SegmentMarks = mainChart_->Series(kSetSeriesRoles[set].segmentMarks);
    scene.ShowMarkerNumbers = showMarkerNumbers;
    scene.ScaledKhz = scaledKhz_;
    scene.Unit = LevelUnitOfOffset(state_.LevelUnitOffset);
    const TRect& bounds = c.ChartBounds;
    scene.FlagsAtLevels = bounds.Width() != c.width() || bounds.Height() != c.height();
    DrawMainChartOverlays({c.Canvas(), *c.BottomAxis(), *c.LeftAxis(), markStamps_.get()}, scene);
}

void MainChartControl::endPaint()
{
    if (!paintCursorShown_)
        return;
    paintCursorShown_ = false;
    QGuiApplication::restoreOverrideCursor();
}

std::optional<MouseReadout> MainChartControl::readoutAt(int x, bool debug) const
{
    return ChartMouseReadout(x, *mainChart_->chart->BottomAxis(), mainChart_->Series(SeriesRole::correctedTrace1),
                             mainChart_->Series(SeriesRole::correctedTrace2), state_.LevelUnitOffset,
                             state_.LevelUnitName, debug);
}

// Every click keeps the axis bounds for the zoom rules; then the harmonics of the clicked
// frequency, or one marker on the armed set.
void MainChartControl::click(int x, MarkerBoxes& boxes)
{
    const OverlayPainter front = FrontPainter();
    ChartClick click{front,
                     [this] { widget().RepaintNow(); },
                     boxes,
                     {&state_.Markers[MeasureSet::Set1], &state_.Markers[MeasureSet::Set2]},
                     {mainChart_->Series(SeriesRole::correctedTrace1), mainChart_->Series(SeriesRole::correctedTrace2)},
                     state_.Colors,
                     app_.Settings.OptHarmonicsOrder,
                     state_.LevelUnitOffset,
                     state_.LevelUnitName,
                     app_.Messages,
                     app_.Debug};
    frozenBounds_ = ::ChartMouseDown(click, x);
    ShowFrontMarks();
}

void MainChartControl::showCrosshair(const QStringList& freqs, const QStringList& levels, int row)
{
    if (::ShowPeakCrosshair(FrontPainter(), [this] { widget().RepaintNow(); }, state_.Colors.Crosshair, freqs,
                            levels, row))
        ShowFrontMarks();
}

void MainChartControl::drawBottomAxisLabels()
{
    DrawBottomAxisLabels(FrontPainter(), scaledKhz_);
    ShowFrontMarks();
}

OverlayPainter MainChartControl::FrontPainter()
{
    TChart& c = widget();
    return {c.Canvas(), *c.BottomAxis(), *c.LeftAxis(), nullptr};
}

void MainChartControl::ShowFrontMarks()
{
    widget().update();
}

void MainChartControl::repaint()
{
    widget().Invalidate();
}

void MainChartControl::repaintNow()
{
    widget().RepaintNow();
    widget().update();
}

void MainChartControl::setAutoRepaint(bool on)
{
    widget().SetRepaintOnChange(on);
}
