// The view panel: which traces are shown and their colour keys, the level unit, the axis options,
// the "trace on top" labels, the clear buttons, "Undo zoom" and the level read-outs.
#include "forms/MainWindow.h"

#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/EventHook.h"
#include "forms/MainChart.h"
#include "forms/MainWindowPalette.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/TraceOnTop.h"
#include "measurement/PeakLists.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The colour key beside a view box: a 13-pixel square in the colour of the series the box shows.
class ViewColorKey final : public QWidget {
public:
    ViewColorKey(std::function<TColor()> color, QWidget* parent) : QWidget(parent), color_(std::move(color))
    {
        setFixedSize(15, 15);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(QRect(1, 1, 13, 13), QColorOf(color_()));
    }

private:
    std::function<TColor()> color_;
};

QCheckBox* Box(QWidget* parent, const char* name, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

QLabel* Label(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* Readout(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setFixedWidth(132);
    return edit;
}

} // namespace

QWidget* MainWindow::BuildViewPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    viewGroup = new QGroupBox(QStringLiteral("View (on/off)"), panel);
    viewGroup->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(viewGroup);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(0);
    grid->setHorizontalSpacing(2);
    viewSet1CheckBox = Box(viewGroup, "CheckBox4", QStringLiteral("Set1"), true);
    viewSet2CheckBox = Box(viewGroup, "CheckBox5", QStringLiteral("Set2"), true);
    viewRaw1CheckBox = Box(viewGroup, "CheckBox6", QStringLiteral("Raw1"), true);
    viewRaw2CheckBox = Box(viewGroup, "CheckBox7", QStringLiteral("Raw2"), true);
    viewTrace1Set1CheckBox = Box(viewGroup, "CheckBox9", QStringLiteral("T1S1"), true);
    viewTrace1Set2CheckBox = Box(viewGroup, "CheckBox10", QStringLiteral("T1S2"), true);
    viewTrace2Set1CheckBox = Box(viewGroup, "CheckBox25", QStringLiteral("T2S1"), true);
    viewTrace2Set2CheckBox = Box(viewGroup, "CheckBox26", QStringLiteral("T2S2"), true);
    viewTrace3Set1CheckBox = Box(viewGroup, "CheckBox27", QStringLiteral("T3S1"), true);
    viewTrace3Set2CheckBox = Box(viewGroup, "CheckBox28", QStringLiteral("T3S2"), true);
    viewMargin1CheckBox = Box(viewGroup, "CheckBox13", QStringLiteral("Marg1"), true);
    viewMargin2CheckBox = Box(viewGroup, "CheckBox14", QStringLiteral("Marg2"), true);
    viewCorrectionsCheckBox = Box(viewGroup, "CheckBox8", QStringLiteral("Cor"), false);
    viewMasterCheckBox = Box(viewGroup, "CheckBox16", QStringLiteral("Master"), false);
    // Each box with the colour-table entry of the series it shows: corrected 1 and 2, raw 1 and
    // 2; traces 1 and 2 of both sets; trace 3 of both sets, the margin lines in their limits'
    // colours. The corrections have many colours, so their key is red.
    using enum TraceColor;
    struct Entry {
        QCheckBox* box;
        std::optional<TraceColor> color; // none: red
    };
    const std::array<std::vector<Entry>, 3> columns = {{
        {{viewSet1CheckBox, correctedTrace1}, {viewSet2CheckBox, correctedTrace2}, {viewRaw1CheckBox, rawTrace1},
         {viewRaw2CheckBox, rawTrace2}},
        {{viewTrace1Set1CheckBox, reference1Set1}, {viewTrace1Set2CheckBox, reference1Set2},
         {viewTrace2Set1CheckBox, reference2Set1}, {viewTrace2Set2CheckBox, reference2Set2}},
        {{viewTrace3Set1CheckBox, reference3Set1}, {viewTrace3Set2CheckBox, reference3Set2},
         {viewMargin1CheckBox, limitLine1}, {viewMargin2CheckBox, limitLine2}, {viewCorrectionsCheckBox, {}}},
    }};
    for (size_t c = 0; c < columns.size(); ++c) {
        for (size_t r = 0; r < columns[c].size(); ++r) {
            const std::optional<TraceColor> entry = columns[c][r].color;
            auto* key = new ViewColorKey([this, entry] { return entry ? state_.Colors[*entry] : clRed; }, viewGroup);
            viewColorKeys << key;
            grid->addWidget(key, static_cast<int>(r), static_cast<int>(c) * 2);
            grid->addWidget(columns[c][r].box, static_cast<int>(r), static_cast<int>(c) * 2 + 1);
        }
    }
    grid->addWidget(viewMasterCheckBox, 4, 1);
    row->addWidget(viewGroup);

    auto* options = new QVBoxLayout;
    options->setSpacing(0);
    dbuvCheckBox = Box(panel, "CheckBox29", QStringLiteral("dBuV"), true);
    dbpwCheckBox = Box(panel, "CheckBox30", QStringLiteral("dBpW"), false);
    dbmCheckBox = Box(panel, "CheckBox31", QStringLiteral("dBm"), false);
    logAxisCheckBox = Box(panel, "CheckBox2", QStringLiteral("log"), kLogAxisAtStartUp);
    khzMhzCheckBox = Box(panel, "CheckBox11", QStringLiteral("kHz/MHz"), true);
    zoomYAxisCheckBox = Box(panel, "CheckBox12", QStringLiteral("Zoom Y Axis"), false);
    for (QCheckBox* box : {dbuvCheckBox, dbpwCheckBox, dbmCheckBox, logAxisCheckBox, khzMhzCheckBox, zoomYAxisCheckBox})
        options->addWidget(box);
    options->addStretch();
    row->addLayout(options);

    auto* buttons = new QVBoxLayout;
    undoZoomButton = new QPushButton(QStringLiteral("Undo zoom"), panel);
    undoZoomButton->setObjectName(QStringLiteral("Button3"));
    clearChartButton = new QPushButton(QStringLiteral("Clear chart"), panel);
    clearChartButton->setObjectName(QStringLiteral("Button12"));
    clearAllButton = new QPushButton(QStringLiteral("Clear all"), panel);
    clearAllButton->setObjectName(QStringLiteral("Button4"));
    buttons->addWidget(undoZoomButton);
    buttons->addWidget(clearChartButton);
    buttons->addWidget(clearAllButton);
    buttons->addStretch();
    row->addLayout(buttons);
    return panel;
}

// The row under the chart: the labels that bring a pair of traces on top, and the frequency and
// the two levels under the mouse.
QWidget* MainWindow::BuildTraceBar(QWidget* parent)
{
    auto* bar = new QWidget(parent);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 0, 2, 0);
    chartTraceLabel = Label(bar, "Label1", QStringLiteral("Chart:"));
    trace1Label = Label(bar, "Label7", QStringLiteral("Trace1:"));
    trace2Label = Label(bar, "Label9", QStringLiteral("Trace2:"));
    trace3Label = Label(bar, "Label10", QStringLiteral("Trace3:"));
    for (QLabel* label : {chartTraceLabel, trace1Label, trace2Label, trace3Label}) {
        label->setCursor(Qt::PointingHandCursor);
        row->addWidget(label, 1);
    }
    frequencyReadout = Readout(bar, "Edit1");
    level1Readout = Readout(bar, "Edit2");
    level2Readout = Readout(bar, "Edit3");
    row->addWidget(frequencyReadout);
    row->addWidget(level1Readout);
    row->addWidget(level2Readout);
    return bar;
}

// Each view box shows or hides its series' lines (the points stay); the unit boxes are one radio
// group; a click on a trace label brings its pair of traces on top; "log" and "kHz/MHz" change
// the frequency axis and its labels.
void MainWindow::WireView()
{
    using enum SeriesRole;
    const std::pair<QCheckBox*, std::vector<SeriesRole>> views[] = {
        {viewSet1CheckBox, {correctedTrace1}},
        {viewSet2CheckBox, {correctedTrace2}},
        {viewRaw1CheckBox, {rawTrace1}},
        {viewRaw2CheckBox, {rawTrace2}},
        {viewCorrectionsCheckBox,
         {cableCorrection, lisnCorrection, amplifierCorrection, antennaFactor, smoothing1, compensation1, smoothing2,
          compensation2}},
        {viewTrace1Set1CheckBox, {reference1Set1}},
        {viewTrace1Set2CheckBox, {reference1Set2}},
        {viewTrace2Set1CheckBox, {reference2Set1}},
        {viewTrace2Set2CheckBox, {reference2Set2}},
        {viewTrace3Set1CheckBox, {reference3Set1}},
        {viewTrace3Set2CheckBox, {reference3Set2}},
        {viewMargin1CheckBox, {marginLine1}},
        {viewMargin2CheckBox, {marginLine2}},
        {viewMasterCheckBox, {masterCorrection}},
    };
    for (const auto& [box, roles] : views) {
        connect(box, &QCheckBox::toggled, this, [this, list = roles](bool shown) {
            for (SeriesRole role : list)
                chart_->Series(role)->LinePen().SetVisible(shown);
            // The peak marks of a set follow its view box too.
            mainChart->Invalidate();
        });
    }

    connect(dbuvCheckBox, &QCheckBox::toggled, this, [this](bool on) { ChooseLevelUnit(LevelUnit::dBuV, on); });
    connect(dbpwCheckBox, &QCheckBox::toggled, this, [this](bool on) { ChooseLevelUnit(LevelUnit::dBpW, on); });
    connect(dbmCheckBox, &QCheckBox::toggled, this, [this](bool on) { ChooseLevelUnit(LevelUnit::dBm, on); });

    const std::pair<QLabel*, TopTracePair> labels[] = {{chartTraceLabel, TopTracePair::Chart},
                                                      {trace1Label, TopTracePair::Trace1},
                                                      {trace2Label, TopTracePair::Trace2},
                                                      {trace3Label, TopTracePair::Trace3}};
    for (const auto& [label, pair] : labels) {
        label->installEventFilter(new EventHook(
            [this, label = label, pair = pair](QObject*, QEvent* event) {
                if (event->type() != QEvent::MouseButtonRelease ||
                    static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
                    return false;
                PutPairOnTop(pair, label);
                return true;
            },
            label));
    }

    connect(logAxisCheckBox, &QCheckBox::toggled, this, &MainWindow::ApplyLogAxis);
    connect(khzMhzCheckBox, &QCheckBox::toggled, mainChart, [this] { mainChart->Invalidate(); });
    connect(clearAllButton, &QPushButton::clicked, this, &MainWindow::clearAll);
    connect(clearChartButton, &QPushButton::clicked, this, &MainWindow::clearChart);
}

// Ticking a unit box chooses its unit and unticks the other two; unticking the chosen one ticks
// it again: one unit is always chosen. The boxes are set with their signals blocked, so that only
// the operator's click runs this. Stored levels stay in dBuV: the axis labels, read-outs and
// marker labels add the unit's offset at the next repaint.
void MainWindow::ChooseLevelUnit(LevelUnit clicked, bool checked)
{
    const LevelUnit current = LevelUnitOfOffset(state_.LevelUnitOffset);
    const LevelUnit unit = UnitAfterBoxClick(current, clicked, checked);
    const std::pair<QCheckBox*, LevelUnit> boxes[] = {
        {dbuvCheckBox, LevelUnit::dBuV}, {dbpwCheckBox, LevelUnit::dBpW}, {dbmCheckBox, LevelUnit::dBm}};
    for (const auto& [box, boxUnit] : boxes) {
        const QSignalBlocker quiet(box);
        box->setChecked(boxUnit == unit);
    }
    mainChart->LeftAxis()->Title().SetCaption(ApplyLevelUnit(state_, unit));
    mainChart->Invalidate();
}

// The clicked label turns bold, the other three normal, and its pair of traces is drawn last:
// each click brings the other trace of the pair to the very top.
void MainWindow::PutPairOnTop(TopTracePair pair, QLabel* label)
{
    for (QLabel* l : {chartTraceLabel, trace1Label, trace2Label, trace3Label}) {
        QFont font = l->font();
        font.setBold(l == label);
        l->setFont(font);
    }
    PutTraceOnTop(mainChart->SeriesList(), pair, state_.TraceOnTopToggle);
    mainChart->Invalidate();
}

// "log": a logarithmic frequency axis with eight minor ticks per decade, or a linear one without.
void MainWindow::ApplyLogAxis()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TChartAxis& bottom = *mainChart->BottomAxis();
    const bool logarithmic = logAxisCheckBox->isChecked();
    bottom.SetLogarithmic(logarithmic);
    bottom.SetMinorTickCount(logarithmic ? 8 : 0);
    QApplication::restoreOverrideCursor();
}

// "Clear all": the chart's traces, limits, corrections, references and margins (Series1 to
// Series15), the grid's limit and correction files and margins, both sets' peak lists and grids
// and both marker stores.
void MainWindow::clearAll()
{
    chartTraceLabel->setText(QStringLiteral("Chart:"));
    trace1Label->setText(QStringLiteral("Trace:"));
    for (const QString& key : {gridkeys::kLimit1, gridkeys::kLimit2, gridkeys::kCableCor, gridkeys::kLisnCor,
                               gridkeys::kAmpCor, gridkeys::kAntCor})
        parameterModel_->SetValue(key, kNoFile);
    // The margins a run reads follow the grid, which now shows none.
    parameterModel_->SetValue(gridkeys::kMargin1, QStringLiteral("0"));
    parameterModel_->SetValue(gridkeys::kMargin2, QStringLiteral("0"));
    gridState_.Margin1Db = 0;
    gridState_.Margin2Db = 0;
    for (int n = 1; n <= 15; ++n)
        chart_->Series(n)->Clear();
    peakLists(1).Clear();
    peakLists(2).Clear();
    state_.Markers[0].Count = 0;
    state_.Markers[1].Count = 0;
    mainChart->Invalidate();
}

// "Clear chart": the raw and corrected traces of both sets and both sets' peak lists and grids;
// markers, limits and corrections stay.
void MainWindow::clearChart()
{
    chartTraceLabel->setText(QStringLiteral("Chart:"));
    for (SeriesRole role : {SeriesRole::rawTrace1, SeriesRole::correctedTrace1, SeriesRole::rawTrace2,
                            SeriesRole::correctedTrace2})
        chart_->Series(role)->Clear();
    peakLists(1).Clear();
    peakLists(2).Clear();
    mainChart->Invalidate();
}

// The view state the start-up sets: the "Marker" page in front, every view box checked but "Cor",
// the level unit dBuV, the labels of the traces.
void MainWindow::SetUpViewBoxes()
{
    pageControl->setCurrentIndex(0);
    viewCorrectionsCheckBox->setChecked(false);
    dbuvCheckBox->setChecked(true);
    dbpwCheckBox->setChecked(false);
    dbmCheckBox->setChecked(false);
    chartTraceLabel->setText(QStringLiteral("Chart:"));
    trace1Label->setText(QStringLiteral("Trace1:"));
    trace2Label->setText(QStringLiteral("Trace2:"));
    trace3Label->setText(QStringLiteral("Trace3:"));
}
