#include "forms/CoverageFrame.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "coverage/CoverageCalculators.h"
#include "chart/series/Chart.h"
#include "coverage/CoverageView.h"
#include "forms/FormServices.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/InstrumentState.h"
#include "instrument/ScpiContext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Pick-list rows of the settings grid are edited with a combo box: a fixed choice for the
// read-only rows, a choice or typed text for the others.
class PickListDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QStringList list = index.data(CoverageGrid::PickListRole).toStringList();
        if (list.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* combo = new QComboBox(parent);
        combo->addItems(list);
        combo->setEditable(!index.data(CoverageGrid::PickOnlyRole).toBool());
        return combo;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            combo->setCurrentText(index.data(Qt::EditRole).toString());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            model->setData(index, combo->currentText(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

QLineEdit* DisplayEdit(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items, const char* current)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->addItems(items);
    c->setCurrentText(QString::fromLatin1(current));
    return c;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

void SetColors(QLineEdit* edit, const QColor& base, const QColor& text)
{
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::Text, text);
    edit->setPalette(p);
}

void SetText(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

// A read-only field as wide as the longest value it shows, so that even the small screen shows
// the value whole rather than its last characters. A line edit's size hint is 17 "x" wide plus
// its frame and margins.
void FitWidth(QLineEdit* edit, const QString& longest)
{
    const QFontMetrics metrics = edit->fontMetrics();
    edit->setMinimumWidth(edit->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'))
        + metrics.horizontalAdvance(longest));
}

} // namespace

CoverageFrame::CoverageFrame(AppContext& app, InstrumentState& instrument, TableBuffer& tableGrid,
    FormServices& services, QWidget* parent)
    : QWidget(parent)
    , app_(app)
    , instrument_(instrument)
    , services_(services)
    , context_(app, instrument)
{
    setObjectName(QStringLiteral("Frame141"));
    CoverageHost& host = *this;
    view_ = std::make_unique<CoverageView>(*context_, instrument.Gps, tableGrid, host, app.WorkingFolder);
    if (!instrument.Gps.Beep) {
        ownsReceiverBeep_ = true;
        instrument.Gps.Beep = [](int, int) { QApplication::beep(); };
    }
    coverageTimer = new QTimer(this);
    coverageTimer->setObjectName(QStringLiteral("Timer3"));
    connect(coverageTimer, &QTimer::timeout, this, &CoverageFrame::coverageTick);
    BuildControls();
    FillCorrectionPickLists();
    Refresh();
}

CoverageFrame::~CoverageFrame()
{
    coverageTimer->stop();
    // The grid's model goes with the view's logic, before the widgets.
    settingsGrid->setModel(nullptr);
    // The instrument state outlives the frame: it must not call back into it.
    if (ownsReceiverBeep_)
        instrument_.Gps.Beep = nullptr;
    // The charts show series the view and the frame own: they go first.
    delete levelChart;
    delete gpsChart;
}

QWidget* CoverageFrame::BuildCharts()
{
    auto* right = new QWidget(this);
    auto* box = new QVBoxLayout(right);
    box->setContentsMargins(0, 0, 0, 0);
    auto chart = [right](const char* name, const QString& title) {
        auto* c = new TChart(right);
        c->setObjectName(QString::fromLatin1(name));
        c->SetView3D(false);
        // The view's charts keep their whole width for the traces.
        c->Legend().SetVisible(false);
        c->BackWall().SetTransparent(false);
        c->Title().SetCaption(title);
        c->setMinimumSize(320, 200);
        return c;
    };
    levelChart = chart("Chart3", QStringLiteral("Level"));
    levelChart->LeftAxis()->Title().SetCaption(QStringLiteral("dBm"));
    CoverageChart& plot = view_->Chart();
    const TColor levelColors[3] = {clLime, clBlue, clYellow};
    for (int x = 0; x < 3; ++x) {
        plot.Level[x].SetSeriesColor(levelColors[x]);
        levelChart->AddSeries(&plot.Level[x]);
    }
    for (TLineSeries* correction : {&plot.Cable, &plot.Amplifier, &plot.Antenna}) {
        correction->SetSeriesColor(clWhite);
        correction->SetHorizAxis(aTopAxis);
        correction->SetVertAxis(aRightAxis);
        levelChart->AddSeries(correction);
    }
    corDataButton = Button(right, "Button2", QStringLiteral("Get Cor Data"));
    gpsChart = chart("Chart1", QStringLiteral("GPS Data"));
    ownTrack_ = std::make_unique<TPointSeries>();
    gpsTrack = ownTrack_.get();
    gpsTrack->SetName(QStringLiteral("Series1"));
    gpsChart->AddSeries(gpsTrack);
    box->addWidget(levelChart, 1);
    box->addWidget(corDataButton, 0, Qt::AlignLeft);
    box->addWidget(gpsChart, 1);
    ShowLevelRange();
    return right;
}

// The level axis follows the view's range ("High[dBm]", "Low[dBm]").
void CoverageFrame::ShowLevelRange()
{
    const CoverageChart& plot = view_->Chart();
    TChartAxis& left = *levelChart->LeftAxis();
    left.SetAutomatic(false);
    if (plot.LeftMinimum <= plot.LeftMaximum && (left.Minimum() != plot.LeftMinimum || left.Maximum() != plot.LeftMaximum))
        left.SetRange(plot.LeftMinimum, plot.LeftMaximum);
    levelChart->Invalidate();
}

void CoverageFrame::BuildControls()
{
    CoverageView& v = *view_;
    auto* layout = new QHBoxLayout(this);

    // Left: settings, buttons, calculators. At the main window's smallest size the column has
    // room for all of them only when it is packed: the grid shows every row without scrolling,
    // the check boxes share a line and the calculators stand in pairs.
    auto* left = new QVBoxLayout;
    settingsGrid = new QTableView(this);
    settingsGrid->setObjectName(QStringLiteral("ValueListEditor2"));
    settingsGrid->setModel(&v.Grid());
    settingsGrid->setItemDelegate(new PickListDelegate(settingsGrid));
    settingsGrid->verticalHeader()->setVisible(false);
    settingsGrid->verticalHeader()->setDefaultSectionSize(settingsGrid->fontMetrics().height() + 6);
    settingsGrid->horizontalHeader()->setStretchLastSection(true);
    settingsGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    settingsGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    settingsGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The keys are fixed texts: their column shows them whole.
    settingsGrid->resizeColumnToContents(0);
    settingsGrid->setFixedHeight(settingsGrid->horizontalHeader()->sizeHint().height()
        + v.Grid().rowCount() * settingsGrid->verticalHeader()->defaultSectionSize() + 2 * settingsGrid->frameWidth());
    left->addWidget(settingsGrid);

    initSaButton = Button(this, "Button18", QStringLiteral("Init SA"));
    startButton = Button(this, "Button14", QStringLiteral("Start"));
    stopButton = Button(this, "Button15", QStringLiteral("Stop"));
    latchButton = Button(this, "Button1", QStringLiteral("Latch\nFile"));
    clearLogButton = Button(this, "Button17", QStringLiteral("clr master logfile"));
    auto* buttons = new QGridLayout;
    buttons->addWidget(initSaButton, 0, 0);
    buttons->addWidget(startButton, 0, 1);
    buttons->addWidget(stopButton, 0, 2);
    buttons->addWidget(latchButton, 1, 0);
    buttons->addWidget(clearLogButton, 1, 1, 1, 2);
    left->addLayout(buttons);

    skipNonMovingCheckBox = new QCheckBox(QStringLiteral("skip non moving"), this);
    skipNonMovingCheckBox->setObjectName(QStringLiteral("CheckBox21"));
    skipNonMovingCheckBox->setChecked(true);
    simulateMovingCheckBox = new QCheckBox(QStringLiteral("simulate moving"), this);
    simulateMovingCheckBox->setObjectName(QStringLiteral("CheckBox1"));
    beepCheckBox = new QCheckBox(QStringLiteral("Beep"), this);
    beepCheckBox->setObjectName(QStringLiteral("CheckBox2"));
    auto* checks = new QHBoxLayout;
    checks->addWidget(skipNonMovingCheckBox);
    checks->addWidget(simulateMovingCheckBox);
    checks->addWidget(beepCheckBox);
    checks->addStretch();
    left->addLayout(checks);

    intervalCombo = Combo(this, "ComboBox2", CoverageIntervalChoices(), kCoverageDefaultInterval);
    speedCombo = Combo(this, "ComboBox1", CoverageSpeedChoices(), kCoverageDefaultSpeed);
    lengthCombo = Combo(this, "ComboBox3", CoverageLengthChoices(), kCoverageDefaultLength);
    latchPointsCombo = Combo(this, "ComboBox4", CoverageLatchChoices(), kCoverageDefaultLatchPoints);
    resolutionEdit = DisplayEdit(this, QStringLiteral("Edit1"));
    pointsEdit = DisplayEdit(this, QStringLiteral("Edit2"));
    auto* calculators = new QGridLayout;
    const struct {
        const char* caption;
        QWidget* field;
    } pairs[] = {{"Interval [ms]", intervalCombo}, {"Latch Points", latchPointsCombo},
        {"Speed [km/h]", speedCombo}, {"Length [km]", lengthCombo}, {"Resulution [m]", resolutionEdit},
        {"Points", pointsEdit}};
    for (int i = 0; i < 6; ++i) {
        auto* caption = new QLabel(QString::fromLatin1(pairs[i].caption), this);
        caption->setBuddy(pairs[i].field);
        calculators->addWidget(caption, i / 2, 2 * (i % 2));
        calculators->addWidget(pairs[i].field, i / 2, 2 * (i % 2) + 1);
    }
    calculators->setColumnStretch(1, 1);
    calculators->setColumnStretch(3, 1);
    left->addLayout(calculators);
    logo = new QLabel(QStringLiteral("<b>Zendrik</b>"), this);
    logo->setObjectName(QStringLiteral("Image2"));
    left->addWidget(logo);
    left->addStretch();
    layout->addLayout(left);

    // Middle: the receiver's and the levels' fields, and the memo.
    auto* middle = new QVBoxLayout;
    gpsLevelGroup = new QGroupBox(QStringLiteral("GPS&&Level"), this);
    auto* fields = new QFormLayout(gpsLevelGroup);
    // Each field with the longest value it may show: positions with 10 decimals, a speed of 99
    // knots, frequencies to 26.5 GHz, the name of a KML file written twice in one second.
    auto add = [&](QLineEdit*& edit, const char* name, const QString& caption, const char* longest) {
        edit = DisplayEdit(gpsLevelGroup, QString::fromLatin1(name));
        FitWidth(edit, QString::fromLatin1(longest));
        fields->addRow(caption, edit);
    };
    add(indexEdit, "indexEdit", QStringLiteral("Index"), "10000");
    add(statusEdit, "statusEdit", QStringLiteral("Status"), "nofix");
    add(dateEdit, "dateEdit", QStringLiteral("Date"), "000000");
    add(utcEdit, "utcEdit", QStringLiteral("UTC"), "000000.000");
    add(latitudeEdit, "latitudeEdit", QStringLiteral("Lat dec"), "-00.0000000000");
    add(nsEdit, "nsEdit", QStringLiteral("NS"), "N");
    add(longitudeEdit, "longitudeEdit", QStringLiteral("Lon dec"), "-000.0000000000");
    add(ewEdit, "ewEdit", QStringLiteral("EW"), "W");
    add(speedEdit, "speedEdit", QStringLiteral("Speed [km/h]"), "000.000");
    const char* letters[3] = {"A", "B", "C"};
    // Level fields keep their colours: A green, B blue, C yellow.
    const QColor levelColors[3] = {QColor(Qt::green), QColor(Qt::blue), QColor(Qt::yellow)};
    for (int x = 0; x < 3; ++x) {
        add(freqEdits[x], QByteArray("freq").append(letters[x]).append("Edit").constData(),
            QStringLiteral("Freq %1 [Hz]").arg(QLatin1String(letters[x])), "00000000000");
        add(levelEdits[x], QByteArray("level").append(letters[x]).append("Edit").constData(),
            QStringLiteral("Level %1 [dBm]").arg(QLatin1String(letters[x])), "-000.00");
        SetColors(levelEdits[x], levelColors[x], x == 1 ? QColor(Qt::white) : QColor(Qt::black));
    }
    add(tickErrorsEdit, "tickErrorsEdit", QStringLiteral("T3-Err"), "00000");
    add(recentKmlEdit, "recentKmlEdit", QStringLiteral("recent kml file"), "out/out_00000000_000000_0.kml");
    middle->addWidget(gpsLevelGroup);
    memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("memo2"));
    memo->setReadOnly(true);
    middle->addWidget(memo);
    layout->addLayout(middle);

    layout->addWidget(BuildCharts());

    auto guarded = [this](void (CoverageFrame::*handler)()) {
        return [this, handler] { Guarded([&] { (this->*handler)(); }); };
    };
    connect(initSaButton, &QPushButton::clicked, this, guarded(&CoverageFrame::initAnalyser));
    connect(startButton, &QPushButton::clicked, this, guarded(&CoverageFrame::startLogging));
    connect(stopButton, &QPushButton::clicked, this, guarded(&CoverageFrame::stopLogging));
    connect(startButton, &QPushButton::clicked, this, &CoverageFrame::startOrStopPressed);
    connect(stopButton, &QPushButton::clicked, this, &CoverageFrame::startOrStopPressed);
    connect(latchButton, &QPushButton::clicked, this, guarded(&CoverageFrame::latchFile));
    connect(clearLogButton, &QPushButton::clicked, this, guarded(&CoverageFrame::clearMasterLogfile));
    connect(corDataButton, &QPushButton::clicked, this, guarded(&CoverageFrame::showCorrectionData));
    for (QComboBox* c : {intervalCombo, speedCombo, lengthCombo})
        connect(c, &QComboBox::currentTextChanged, this, guarded(&CoverageFrame::driveInputsChanged));
    connect(
        latchPointsCombo, &QComboBox::currentTextChanged, this, guarded(&CoverageFrame::latchPointsChanged));
    connect(&v.Grid(), &CoverageGrid::ValueEdited, this,
        [this](const QString& key) { Guarded([&] { view_->GridValueEdited(key); }); });
    GpsView& gps = instrument_.Gps.View;
    gps.SkipNonMoving = skipNonMovingCheckBox->isChecked();
    gps.SimulateMoving = simulateMovingCheckBox->isChecked();
    gps.Beep = beepCheckBox->isChecked();
    connect(skipNonMovingCheckBox, &QCheckBox::toggled, this,
        [this](bool on) { instrument_.Gps.View.SkipNonMoving = on; });
    connect(simulateMovingCheckBox, &QCheckBox::toggled, this,
        [this](bool on) { instrument_.Gps.View.SimulateMoving = on; });
    connect(beepCheckBox, &QCheckBox::toggled, this, [this](bool on) { instrument_.Gps.View.Beep = on; });
}

void CoverageFrame::FillCorrectionPickLists()
{
    // "none" first, then the tables in ".\src", as the main window's lists are made at start-up.
    const QDir src(QDir(app_.WorkingFolder).filePath(QStringLiteral("src")));
    const struct {
        const QString& key;
        const char* mask;
    } lists[] = {{coveragegrid::kCableCor, "*.cac"}, {coveragegrid::kAmpCor, "*.amp"},
        {coveragegrid::kAntCor, "*.ant"}};
    for (const auto& l : lists)
        view_->Grid().SetPickList(l.key,
            QStringList {QStringLiteral("none")}
                + src.entryList({QString::fromLatin1(l.mask)}, QDir::Files, QDir::Name));
}

// No exception leaves a handler: it ends as an error line and the view stays as it was.
template <class F> void CoverageFrame::Guarded(F&& handler)
{
    RunLoggingErrors(app_.Messages, handler);
    Refresh();
}

bool CoverageFrame::loggingActive() const
{
    return view_->Logging() || view_->Globals().CoverageTickBusy;
}

void CoverageFrame::windowClosing()
{
    Guarded([this] { view_->Close(); });
}

void CoverageFrame::showGpsReceiver()
{
    Refresh();
}

void CoverageFrame::initAnalyser()
{
    // Not the logging's own command: it would start the Index of a running session again.
    const AnalyserCommand init{QStringLiteral("\"Init SA\""), QStringLiteral("stopped")};
    // The view covers the message log: a refusal is said in a box, as the view's own are.
    if (RunAnalyserCommand(*context_, init, [this] { view_->InitAnalyser(); }) == AnalyserCommandEnd::Held)
        ShowError(HeldLine(HolderOf(*context_), init.Name + QStringLiteral(" not sent")));
}

void CoverageFrame::startLogging()
{
    view_->Start();
}

void CoverageFrame::stopLogging()
{
    view_->Stop();
}

void CoverageFrame::latchFile()
{
    view_->Latch();
}

void CoverageFrame::clearMasterLogfile()
{
    view_->ClearMasterLogfile();
}

void CoverageFrame::showCorrectionData()
{
    view_->ShowCorrectionData();
}

void CoverageFrame::coverageTick()
{
    // A command of a window ("Init SA", "SND SCPI", a grid row) is waiting for the analyser: its
    // answers are not this tick's, and the next tick measures.
    if (instrument_.Visa.CommandUnderWay)
        return;
    const bool wasLogging = loggingActive();
    {
        // The tick owns the analyser as a run does: the window keeps working while a call waits,
        // Stop ends the wait, and an analyser that leaves a call unanswered counts as gone.
        AnalyserOwnership owned(*context_, [this] { return stopRequested_; });
        Guarded([this] { view_->Tick(); });
    }
    if (wasLogging && !loggingActive())
        emit startOrStopPressed();
}

void CoverageFrame::startUp()
{
    driveInputsChanged();
    latchButton->setText(QStringLiteral("Latch\nFile"));
    logo->setPixmap(QPixmap(QStringLiteral(":/forms/Logo.png")));
    logo->show();
}

void CoverageFrame::setChartBackColor(TColor color)
{
    levelChart->SetBackColor(color);
    gpsChart->SetBackColor(color);
}

void CoverageFrame::driveInputsChanged()
{
    CoverageFields& f = view_->Fields();
    f.IntervalMs = intervalCombo->currentText();
    f.SpeedKmh = speedCombo->currentText();
    f.LengthKm = lengthCombo->currentText();
    view_->RecalculateDrive();
}

void CoverageFrame::latchPointsChanged()
{
    view_->LatchPointsChanged(latchPointsCombo->currentText());
}

void CoverageFrame::StartTimer(int intervalMs)
{
    stopRequested_ = false;
    coverageTimer->start(intervalMs);
}

// Whatever stops the timer (Stop, the latch, a failed poll, a lost analyser) also ends a wait
// of the tick under way.
void CoverageFrame::StopTimer()
{
    coverageTimer->stop();
    stopRequested_ = true;
}

void CoverageFrame::ShowError(const QString& text)
{
    if (services_.showMessage)
        services_.showMessage(text);
}

bool CoverageFrame::ConfirmOkCancel(const QString& text)
{
    if (askOkCancel)
        return askOkCancel(text);
    return QMessageBox::information(this, QString(), text, QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok;
}

void CoverageFrame::Beep(int, int)
{
    QApplication::beep();
}

void CoverageFrame::Refresh()
{
    const CoverageFields& f = view_->Fields();
    const GpsView& gps = instrument_.Gps.View;
    const GpsDisplay& d = gps.Display;
    SetText(indexEdit, f.Index);
    SetText(statusEdit, d.Status);
    SetColors(statusEdit, palette().color(QPalette::Base), d.Fix() ? QColor(Qt::darkGreen) : QColor(Qt::red));
    SetText(dateEdit, d.Date);
    SetText(utcEdit, d.Utc);
    SetText(latitudeEdit, d.LatDec);
    SetText(nsEdit, d.Ns);
    SetText(longitudeEdit, d.LonDec);
    SetText(ewEdit, d.Ew);
    SetText(speedEdit, d.Speed);
    for (int x = 0; x < 3; ++x) {
        SetText(freqEdits[x], f.Freq[x]);
        SetText(levelEdits[x], f.Level[x]);
    }
    SetText(tickErrorsEdit, f.TickErrors);
    SetText(recentKmlEdit, f.RecentKml);
    SetText(resolutionEdit, f.Resolution);
    SetText(pointsEdit, f.Points);
    ShowLevelRange();
    // The receiver's track as the polls add to it, point by point; "Init SA" empties it.
    if (static_cast<size_t>(gpsTrack->Count()) != gps.Track.size()) {
        if (static_cast<size_t>(gpsTrack->Count()) > gps.Track.size())
            gpsTrack->Clear();
        for (size_t i = static_cast<size_t>(gpsTrack->Count()); i < gps.Track.size(); ++i)
            gpsTrack->AddPointXY(gps.Track[i].Longitude, gps.Track[i].Latitude, QString(), clRed);
        gpsChart->Invalidate();
    }
    // The memo list only grows, except when it is emptied; show what is new.
    if (gps.Memo.size() < memoLinesShown_) {
        memo->clear();
        memoLinesShown_ = 0;
    }
    for (; memoLinesShown_ < gps.Memo.size(); ++memoLinesShown_)
        memo->appendPlainText(gps.Memo[memoLinesShown_]);
}
