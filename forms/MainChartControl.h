#ifndef ZENDRIK_FORMS_MAINCHARTCONTROL_H
#define ZENDRIK_FORMS_MAINCHARTCONTROL_H

#include "app/MainChartSeries.h"
#include "app/MeasureSet.h"
#include "mainwindow/ChartOverlays.h"
#include "mainwindow/ColorSettings.h"
#include "mainwindow/ZoomRules.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class AxisBounds;
class MainChart;
class MarkStamps;
class ParameterGridModel;
class QWidget;
class TChart;
class TChartAxis;
class TLibraryTexts;
class TMagnifyTool;
struct AppContext;
struct ChartFileContext;
struct InstrumentState;
struct MainWindowState;
struct MarkerBoxes;
struct MouseReadout;
struct SmoothRangeStore;

// What the main window does with its chart (Chart1): it creates the chart widget with its 29
// series and its axes and coordinates them: the magnifier, the zoom with the program's rules, the
// labels of both axes, and the marks drawn over the traces. It is no widget itself; widget() is
// the chart the window lays out. What it needs of the panels comes with each call; what happens
// on the chart goes out as signals, which the main window answers at once.
class MainChartControl : public QObject {
    Q_OBJECT
public:
    MainChartControl(AppContext& app, InstrumentState& instrument, MainWindowState& state, QWidget* parent);
    ~MainChartControl() override;

    MainChart& chart() { return *mainChart_; }
    // The chart widget, to lay out and to draw into pictures and reports.
    TChart& widget();
    AxisBounds& frequencyAxis() { return *frequencyAxis_; }
    AxisBounds& levelAxis() { return *levelAxis_; }

    // The level axis in dBuV from the grid's range, the frequency axis 9 kHz .. 30 MHz, the
    // corrections' lines as "Cor" says, the raw and limit traces of set 1 empty and shown.
    void startUp(const ParameterGridModel& grid, bool logAxis, bool correctionsShown);
    // A logarithmic frequency axis with eight minor ticks per decade, or a linear one without.
    void applyLogAxis(bool logarithmic);
    // Frequencies labelled in kHz, or with "kHz/MHz" in kHz, MHz or GHz.
    void setScaledKhz(bool scaled);
    void showSeriesLines(const std::vector<SeriesRole>& roles, bool shown);
    // The segment marks of set while shown; the other set's never.
    void showSegmentMarks(MeasureSet set, bool shown);
    void putPairOnTop(TopTracePair pair);
    void showLevelAxisTitle(const QString& title);
    void applyColors(const ColorSettings& colors, ColorSlotMask changed);
    // The chart's side of the chart files: its series and axes.
    ChartFileContext fileContext();

    // The axis bounds at the last mouse-down on the chart, which the zoom rules restore.
    const ChartBounds& frozenBounds() const { return frozenBounds_; }
    // The chart has zoomed to a rectangle: the rules decide what it shows (or smooths).
    void applyZoomRules(FaderMode fader, bool zoomY, SmoothRangeStore& ranges, const SetSmoothing& smoothing);
    // The chart has undone its zoom; a fade rectangle's undo keeps the view.
    void keepFadedView(FaderMode fader);
    // "Undo zoom": both axes from the grid, the level axis titled in the unit shown.
    void undoZoom(const ParameterGridModel& grid);
    void showMagnifier(bool on);

    // The marks of a paint: the busy cursor, the segment marks' height, each set's peak marks and
    // marker flags, the frequency axis' end labels.
    void drawOverlays(const PerSet<SetOverlay>& sets, bool showMarkerNumbers);
    void endPaint();
    // The frequency and both sets' levels at pixel column x.
    std::optional<MouseReadout> readoutAt(int x, bool debug) const;
    // A mouse-down: the axes frozen for the zoom rules, then the harmonics or a marker.
    void click(int x, MarkerBoxes& boxes);
    void showCrosshair(const QStringList& freqs, const QStringList& levels, int row);
    // The frequency axis' end labels over the chart.
    void drawBottomAxisLabels();

    void repaint();
    void repaintNow();
    void setAutoRepaint(bool on);

signals:
    void zoomed();
    void zoomUndone();
    void aboutToDrawSeries();
    void mouseMoved(int x);
    void mousePressed(int x);
    // Too short a range for two decades: the frequency axis has turned linear by itself.
    void frequencyAxisTurnedLinear();

private:
    void AxisLabel(TChartAxis* axis, QString& text) const;
    void NextAxisLabel(TChartAxis* axis, int index, double& value, bool& stop);
    void SwitchFrequencyAxisToLinear();
    void SetUpMagnifier();
    // The marks drawn outside a paint land on the chart's window surface (shown until the next
    // paint) with the chart's axes.
    OverlayPainter FrontPainter();
    void ShowFrontMarks();

    AppContext& app_;
    InstrumentState& instrument_;
    MainWindowState& state_;
    std::unique_ptr<MainChart> mainChart_;
    std::unique_ptr<AxisBounds> frequencyAxis_;
    std::unique_ptr<AxisBounds> levelAxis_;
    std::unique_ptr<TLibraryTexts> libraryTexts_;
    std::unique_ptr<TMagnifyTool> magnifier_;
    std::unique_ptr<MarkStamps> markStamps_;
    ChartBounds frozenBounds_;
    bool scaledKhz_ = true;
    bool linearSwitchQueued_ = false;
    bool paintCursorShown_ = false;
};

#endif
