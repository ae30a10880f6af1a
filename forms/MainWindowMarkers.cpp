// The markers panel: the page control with the "Marker" page (markers of both sets, harmonics,
// magnifier), the "Fader" page (smoothing by rectangle) and the "Math" page (trace arithmetic);
// and what the main chart draws over its traces, the read-out under the mouse, the markers and
// harmonics of a click, "Select 6 maxpeaks" and the peak lists' crosshair.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "instrument/InstrumentState.h"
#include "mainwindow/ChartOverlays.h"
#include "mainwindow/FaderSmoothing.h"
#include "mainwindow/LevelReadout.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/MarkStamps.h"
#include "mainwindow/MarkerTab.h"
#include "measurement/PeakLists.h"
#include "measurement/TraceArithmetic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

QCheckBox* Box(QWidget* parent, const char* name, const QString& caption, bool checked = false)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    return c;
}

} // namespace

QWidget* MainWindow::BuildMarkersPanel(QWidget* parent)
{
    pageControl = new QTabWidget(parent);
    pageControl->setObjectName(QStringLiteral("PageControl1"));

    auto* marker = new QWidget(pageControl);
    auto* m = new QGridLayout(marker);
    m->setContentsMargins(4, 2, 4, 2);
    m->setVerticalSpacing(2);
    marker1CheckBox = Box(marker, "CheckBox32", QStringLiteral("M1"));
    showMarkers1CheckBox = Box(marker, "CheckBox34", QStringLiteral("show"), true);
    clearLastMarker1Button = Button(marker, "Button5", QStringLiteral("Clear Last"));
    clearAllMarkers1Button = Button(marker, "Button2", QStringLiteral("Clear All"));
    marker2CheckBox = Box(marker, "CheckBox33", QStringLiteral("M2"));
    showMarkers2CheckBox = Box(marker, "CheckBox35", QStringLiteral("show"), true);
    clearLastMarker2Button = Button(marker, "Button7", QStringLiteral("Clear Last"));
    clearAllMarkers2Button = Button(marker, "Button9", QStringLiteral("Clear All"));
    copyMarkersButton = Button(marker, "Button10", QStringLiteral("Copy Markers"));
    showMarkerNumbersCheckBox = Box(marker, "CheckBox15", QStringLiteral("Show Markers"));
    harmonicsCheckBox = Box(marker, "CheckBox20", QStringLiteral("Harmonics"));
    magnifyCheckBox = Box(marker, "CheckBox23", QStringLiteral("Magnify"));
    m->addWidget(new QLabel(QStringLiteral("Set1"), marker), 0, 0);
    m->addWidget(marker1CheckBox, 0, 1);
    m->addWidget(showMarkers1CheckBox, 0, 2);
    m->addWidget(clearLastMarker1Button, 0, 3);
    m->addWidget(clearAllMarkers1Button, 0, 4);
    m->addWidget(new QLabel(QStringLiteral("Set2"), marker), 1, 0);
    m->addWidget(marker2CheckBox, 1, 1);
    m->addWidget(showMarkers2CheckBox, 1, 2);
    m->addWidget(clearLastMarker2Button, 1, 3);
    m->addWidget(clearAllMarkers2Button, 1, 4);
    m->addWidget(showMarkerNumbersCheckBox, 2, 0, 1, 3);
    m->addWidget(copyMarkersButton, 2, 3, 1, 2);
    m->addWidget(harmonicsCheckBox, 3, 0, 1, 3);
    m->addWidget(magnifyCheckBox, 3, 3, 1, 2);
    m->setColumnStretch(5, 1);
    pageControl->addTab(marker, QStringLiteral("Marker"));

    auto* fader = new QWidget(pageControl);
    auto* f = new QHBoxLayout(fader);
    fadeCheckBox = Box(fader, "CheckBox36", QStringLiteral("fade"));
    clearFadeCheckBox = Box(fader, "CheckBox38", QStringLiteral("clr"));
    clearLastFadeButton = Button(fader, "Button14", QStringLiteral("clear last"));
    f->addWidget(fadeCheckBox);
    f->addWidget(clearFadeCheckBox);
    f->addWidget(clearLastFadeButton);
    f->addStretch();
    pageControl->addTab(fader, QStringLiteral("Fader"));

    auto* math = new QWidget(pageControl);
    auto* a = new QHBoxLayout(math);
    const QStringList operands = {QStringLiteral("T1S1"), QStringLiteral("T1S2"), QStringLiteral("T2S1"),
                                  QStringLiteral("T2S2"), QStringLiteral("T3S1"), QStringLiteral("T3S2"),
                                  QStringLiteral("S1"),   QStringLiteral("S2")};
    mathOperand1Combo = Combo(math, "ComboBox2", operands);
    mathOperatorCombo = Combo(math, "ComboBox1",
                              {QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("*"), QStringLiteral("/")});
    mathOperand2Combo = Combo(math, "ComboBox3", operands);
    calcButton = Button(math, "Button11", QStringLiteral("Calc"));
    mathCheckBox = Box(math, "CheckBox40", QStringLiteral("Math"));
    for (QWidget* w : {static_cast<QWidget*>(mathOperand1Combo), static_cast<QWidget*>(mathOperatorCombo),
                       static_cast<QWidget*>(mathOperand2Combo), static_cast<QWidget*>(calcButton),
                       static_cast<QWidget*>(mathCheckBox)})
        a->addWidget(w);
    a->addStretch();
    pageControl->addTab(math, QStringLiteral("Math"));
    return pageControl;
}

// The chart's paint, mouse move and mouse-down; the Marker, Fader and Math pages; "Select 6
// maxpeaks" and the double-clicks of the peak lists.
void MainWindow::WireMarkers()
{
    markStamps_ = std::make_unique<MarkStamps>();
    mainChart->OnBeforeDrawSeries = [this] { DrawChartOverlays(); };
    mainChart->OnAfterDraw = [this] { EndChartPaint(); };
    mainChart->OnMouseMove = [this](TShiftState, int32_t x, int32_t) { ChartMouseMoved(x); };
    mainChart->OnMouseDown = [this](TMouseButton, TShiftState, int32_t x, int32_t) { ChartMousePressed(x); };

    // The Marker page.
    connect(marker1CheckBox, &QCheckBox::clicked, this, [this](bool on) { MarkerArmed(1, on); });
    connect(marker2CheckBox, &QCheckBox::clicked, this, [this](bool on) { MarkerArmed(2, on); });
    for (QCheckBox* box : {showMarkers1CheckBox, showMarkers2CheckBox, showMarkerNumbersCheckBox})
        connect(box, &QCheckBox::clicked, this, &MainWindow::RepaintChart);
    connect(harmonicsCheckBox, &QCheckBox::clicked, this, [this](bool on) {
        if (!on)
            RepaintChart();
    });
    const std::pair<QPushButton*, std::function<void(MarkerStore&)>> clears[] = {
        {clearAllMarkers1Button, ClearAllMarkers}, {clearLastMarker1Button, ClearLastMarker},
        {clearAllMarkers2Button, ClearAllMarkers}, {clearLastMarker2Button, ClearLastMarker}};
    for (size_t i = 0; i < std::size(clears); ++i) {
        MarkerStore& store = state_.Markers[i / 2];
        connect(clears[i].first, &QPushButton::clicked, this, [this, &store, clear = clears[i].second] {
            clear(store);
            RepaintChart();
        });
    }
    connect(copyMarkersButton, &QPushButton::clicked, this, &MainWindow::copyMarkers);

    // "Select 6 maxpeaks"; the operator's own click in a peak list unticks its box and keeps
    // what the operator selected.
    connect(selectMaxPeaks1CheckBox, &QCheckBox::clicked, this, [this] { SelectMaxPeaksClicked(1); });
    connect(selectMaxPeaks2CheckBox, &QCheckBox::clicked, this, [this] { SelectMaxPeaksClicked(2); });
    connect(peakList1, &QListView::clicked, selectMaxPeaks1CheckBox, [this] { selectMaxPeaks1CheckBox->setChecked(false); });
    connect(peakList2, &QListView::clicked, selectMaxPeaks2CheckBox, [this] { selectMaxPeaks2CheckBox->setChecked(false); });

    // The crosshair on a double-clicked peak: the peak lists of both sets and the
    // re-measurement list of set 1.
    connect(peakList1, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        PeakListDoubleClicked(peakLists(1).Freqs, peakLists(1).Levels, index.row());
    });
    connect(measureList1, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        PeakListDoubleClicked(peakLists(1).MeasureFreqs, peakLists(1).MeasureLevels, index.row());
    });
    connect(peakList2, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        PeakListDoubleClicked(peakLists(2).Freqs, peakLists(2).Levels, index.row());
    });

    // The Math page: the result shows while "Math" is ticked, also when "Calc" ticks it.
    connect(calcButton, &QPushButton::clicked, this, &MainWindow::calcMath);
    connect(mathCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        chart_->Series(SeriesRole::arithmeticResult)->SetActive(on);
        RepaintChart();
    });
}

// The debug window's "New Labels" draws the frequency axis' end labels over the chart.
void MainWindow::WireLaterMarkers()
{
    if (LoggerWindow* logger = forms_.loggerWindow) {
        connect(logger, &LoggerWindow::bottomAxisLabelsRequested, this, [this] {
            DrawBottomAxisLabels(FrontPainter(), khzMhzCheckBox->isChecked());
            ShowFrontMarks();
        });
    }
}

// Before the chart's series are drawn: the busy cursor for the paint (taken back after it), the
// segment marks' height, the peak marks of the shown sets, the frequency axis' end labels and
// the stored marker flags.
void MainWindow::DrawChartOverlays()
{
    if (!paintCursorShown_ && BusyCursorDuringPaint(instrument_.Device.DeviceFamily)) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        paintCursorShown_ = true;
    }
    OverlayScene scene{state_.Colors, mainChart->GetBackColor()};
    scene.Sets[0].Peaks = &peakLists(1);
    scene.Sets[1].Peaks = &peakLists(2);
    scene.Sets[0].View = viewSet1CheckBox->isChecked();
    scene.Sets[1].View = viewSet2CheckBox->isChecked();
    scene.ShowMarkerNumbers = showMarkerNumbersCheckBox->isChecked();
    scene.ScaledKhz = khzMhzCheckBox->isChecked();
    scene.Sets[0].Markers = &state_.Markers[0];
    scene.Sets[1].Markers = &state_.Markers[1];
    scene.Sets[0].ShowMarkers = showMarkers1CheckBox->isChecked();
    scene.Sets[1].ShowMarkers = showMarkers2CheckBox->isChecked();
    scene.Unit = LevelUnitOfOffset(state_.LevelUnitOffset);
    const TRect& bounds = mainChart->ChartBounds;
    scene.FlagsAtLevels = bounds.Width() != mainChart->width() || bounds.Height() != mainChart->height();
    scene.Sets[0].SegmentMarks = chart_->Series(SeriesRole::segmentMarks1);
    scene.Sets[1].SegmentMarks = chart_->Series(SeriesRole::segmentMarks2);
    DrawMainChartOverlays({mainChart->Canvas(), *mainChart->BottomAxis(), *mainChart->LeftAxis(), markStamps_.get()},
                          scene);
}

void MainWindow::EndChartPaint()
{
    if (!paintCursorShown_)
        return;
    paintCursorShown_ = false;
    QGuiApplication::restoreOverrideCursor();
}

void MainWindow::ChartMouseMoved(int x)
{
    const bool debug = app_.Debug.DebugMode == 1;
    const std::optional<MouseReadout> readout =
        ChartMouseReadout(x, *mainChart->BottomAxis(), chart_->Series(SeriesRole::correctedTrace1),
                          chart_->Series(SeriesRole::correctedTrace2), state_.LevelUnitOffset, state_.LevelUnitName,
                          debug);
    if (!readout)
        return;
    frequencyReadout->setText(readout->Frequency);
    level1Readout->setText(readout->Set1);
    level2Readout->setText(readout->Set2);
    if (debug)
        debugLabel->setText(readout->Debug);
}

// Every click keeps the axis bounds for the zoom rules; then the harmonics of the clicked
// frequency, or one marker on the armed set.
void MainWindow::ChartMousePressed(int x)
{
    MarkerBoxes boxes;
    boxes.Sets[0] = {marker1CheckBox->isChecked(), showMarkers1CheckBox->isChecked()};
    boxes.Sets[1] = {marker2CheckBox->isChecked(), showMarkers2CheckBox->isChecked()};
    boxes.Harmonics = harmonicsCheckBox->isChecked();
    boxes.Magnify = magnifyCheckBox->isChecked();
    const OverlayPainter front = FrontPainter();
    ChartClick click{front,
                     [this] { mainChart->RepaintNow(); },
                     boxes,
                     {&state_.Markers[0], &state_.Markers[1]},
                     {chart_->Series(SeriesRole::correctedTrace1), chart_->Series(SeriesRole::correctedTrace2)},
                     state_.Colors,
                     app_.Settings.OptHarmonicsOrder,
                     state_.LevelUnitOffset,
                     state_.LevelUnitName,
                     app_.Messages,
                     app_.Debug};
    frozenBounds_ = ::ChartMouseDown(click, x);
    marker1CheckBox->setChecked(boxes.Sets[0].Armed);
    marker2CheckBox->setChecked(boxes.Sets[1].Armed);
    ShowFrontMarks();
}

void MainWindow::MarkerArmed(int set, bool checked)
{
    MarkerBoxes boxes;
    boxes.Sets[0] = {marker1CheckBox->isChecked(), showMarkers1CheckBox->isChecked()};
    boxes.Sets[1] = {marker2CheckBox->isChecked(), showMarkers2CheckBox->isChecked()};
    boxes.Harmonics = harmonicsCheckBox->isChecked();
    ::ArmMarker(boxes, static_cast<size_t>(set - 1), checked);
    marker1CheckBox->setChecked(boxes.Sets[0].Armed);
    marker2CheckBox->setChecked(boxes.Sets[1].Armed);
    showMarkers1CheckBox->setChecked(boxes.Sets[0].Show);
    showMarkers2CheckBox->setChecked(boxes.Sets[1].Show);
    harmonicsCheckBox->setChecked(boxes.Harmonics);
}

void MainWindow::copyMarkers()
{
    CopyMarkers({&state_.Markers[0], &state_.Markers[1]}, {&peakLists(1), &peakLists(2)});
    RepaintChart();
}

// Ticked: the six highest peaks of the set are selected in its list (an empty list unticks the
// box); unticked: none is.
void MainWindow::SelectMaxPeaksClicked(int set)
{
    QCheckBox* box = set == 2 ? selectMaxPeaks2CheckBox : selectMaxPeaks1CheckBox;
    QListView* list = set == 2 ? peakList2 : peakList1;
    PeakLists& peaks = peakLists(set);
    if (peaks.Count() == 0)
        box->setChecked(false);
    QItemSelectionModel* selection = list->selectionModel();
    if (!selection)
        return;
    if (!box->isChecked()) {
        selection->clearSelection();
        return;
    }
    for (int row : SelectMaxPeaks(peaks.Levels.stringList()))
        selection->select(peaks.Lines.index(row), QItemSelectionModel::Select);
}

void MainWindow::PeakListDoubleClicked(const QStringListModel& freqs, const QStringListModel& levels, int row)
{
    if (::ShowPeakCrosshair(FrontPainter(), [this] { mainChart->RepaintNow(); }, state_.Colors.Crosshair,
                            freqs.stringList(), levels.stringList(), row))
        ShowFrontMarks();
}

OverlayPainter MainWindow::FrontPainter()
{
    return {mainChart->Canvas(), *mainChart->BottomAxis(), *mainChart->LeftAxis(), nullptr};
}

void MainWindow::ShowFrontMarks()
{
    mainChart->update();
}

void MainWindow::RepaintChart()
{
    mainChart->Invalidate();
}

void MainWindow::calcMath()
{
    using enum SeriesRole;
    const MainChart& c = *chart_;
    const MathSeries series{{c.Series(reference1Set1), c.Series(reference1Set2), c.Series(reference2Set1),
                             c.Series(reference2Set2), c.Series(reference3Set1), c.Series(reference3Set2),
                             c.Series(correctedTrace1), c.Series(correctedTrace2)},
                            c.Series(arithmeticResult)};
    if (!CalcMath(series, mathOperand1Combo->currentIndex(), mathOperatorCombo->currentIndex(),
                  mathOperand2Combo->currentIndex()))
        return;
    mathCheckBox->setChecked(true);
    RepaintChart();
}
