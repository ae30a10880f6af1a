// The generator view: construction of its controls and the copying between them and the view
// model. The handlers are in ImmunityFrameHandlers.cpp.
#include "forms/ImmunityFrame.h"

#include "app/AppContext.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/TableBuffer.h"
#include "forms/FormServices.h"
#include "forms/RampDiagram.h"
#include "immunity/GeneratorLayout.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/InstrumentState.h"
#include "instrument/ScpiContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kFieldHeading = QStringLiteral("PA[dBm]  E[V/m]");
constexpr int kNarrowField = 56;
constexpr int kFieldTextWidth = 110;

// What each speed button does. The designer's names stay the buttons' objectNames.
struct SpeedButton {
    const char* name;
    GeneratorAction action;
};
constexpr SpeedButton kSpeedButtons[] = {
    {"SpeedButton1", GeneratorAction::FixedFrequency1},
    {"SpeedButton2", GeneratorAction::FixedFrequency2},
    {"SpeedButton3", GeneratorAction::FixedFrequency3},
    {"SpeedButton4", GeneratorAction::FixedFrequency4},
    {"SpeedButton5", GeneratorAction::FixedFrequency5},
    {"SpeedButton6", GeneratorAction::FixedFrequency6},
    {"SpeedButton7", GeneratorAction::FixedFrequency7},
    {"SpeedButton8", GeneratorAction::FixedFrequency8},
    {"SpeedButton9", GeneratorAction::FixedFrequency9},
    {"SpeedButton10", GeneratorAction::FixedFrequency10},
    {"SpeedButton11", GeneratorAction::FixedFrequency11},
    {"SpeedButton12", GeneratorAction::FixedFrequency12},
    {"SpeedButton13", GeneratorAction::SweepBand1},
    {"SpeedButton14", GeneratorAction::SweepBand2},
    {"SpeedButton15", GeneratorAction::SweepBand3},
    {"SpeedButton16", GeneratorAction::SweepBand4},
    {"SpeedButton17", GeneratorAction::SweepBand5},
    {"SpeedButton18", GeneratorAction::SweepBand6},
    {"SpeedButton19", GeneratorAction::PowerRamp},
    {"SpeedButton20", GeneratorAction::ManualStepping},
};
static_assert(std::size(kSpeedButtons) == kGeneratorActions);

QLineEdit* MakeEdit(QWidget* parent, const QString& name, int width = 0)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (width > 0)
        e->setFixedWidth(width);
    return e;
}

QLineEdit* MakeDisplay(QWidget* parent, const QString& name, int width)
{
    QLineEdit* e = MakeEdit(parent, name, width);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QLabel* Heading(QWidget* parent, const QString& text, const char* name = nullptr)
{
    auto* l = new QLabel(text, parent);
    if (name != nullptr)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

// The small up/down pair that stands in for a spin button.
QWidget* MakeSpin(QWidget* parent, const char* name, QToolButton*& up, QToolButton*& down)
{
    auto* spin = new QWidget(parent);
    spin->setObjectName(QString::fromLatin1(name));
    auto* box = new QVBoxLayout(spin);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    up = new QToolButton(spin);
    // The arrows are parts of their spin button and are named after it.
    up->setObjectName(QString::fromLatin1(name) + QStringLiteral("Up"));
    up->setArrowType(Qt::UpArrow);
    down = new QToolButton(spin);
    down->setObjectName(QString::fromLatin1(name) + QStringLiteral("Down"));
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setFixedSize(20, 12);
        b->setAutoRepeat(true);
        box->addWidget(b);
    }
    return spin;
}

} // namespace

ImmunityFrame::ImmunityFrame(AppContext& app, InstrumentState& instrument, FormServices& services,
                             GeneratorSettings& settings, QWidget* parent)
    : QWidget(parent), app_(app), instrument_(instrument), services_(services), settings_(settings),
      scpi_(app, instrument)
{
    setObjectName(QStringLiteral("Frame131"));
    // The arrow keys move the focus here, away from any edit box (the designer's Edit77).
    setFocusPolicy(Qt::ClickFocus);
    ownAmplifier_ = std::make_unique<TChartSeries>();
    ownAmplifier_->SetName(QStringLiteral("Series23"));
    ownTemCell_ = std::make_unique<TChartSeries>();
    ownTemCell_->SetName(QStringLiteral("Series24"));
    ownGrid_ = std::make_unique<TableBuffer>();
    amplifier_ = ownAmplifier_.get();
    temCell_ = ownTemCell_.get();
    grid_ = ownGrid_.get();

    GeneratorHooks hooks;
    hooks.ShowError = [this](const QString& text) { ShowError(text); };
    hooks.ViewChanged = [this] { ShowView(); };
    hooks.ActionChanged = [this](bool active) { emit generatorActionChanged(active); };
    hooks.OutputChanged = [this](GeneratorOutput) { emit generatorOutputChanged(); };
    hooks.RefusedCorrection = [this] { return refusedCorrection(); };
    controller_ = std::make_unique<GeneratorController>(*scpi_, view_, state_, settings_, std::move(hooks));

    BuildControls();
    BuildFloatingBoxes();
    ConnectHandlers();
    refreshFileLists();
    setFieldValueShown(app.Settings.OptTgFieldValue);
    ShowView();
}

ImmunityFrame::~ImmunityFrame()
{
    if (watchedWindow_ && watchedWindow_ != this)
        watchedWindow_->removeEventFilter(this);
    // Normally the window's close has done this already; then it sends nothing. A view on its way
    // out tells nobody: its host may be half gone.
    blockSignals(true);
    controller_->Shutdown();
}

QToolButton* ImmunityFrame::MakeSpeedButton(QWidget* group, GeneratorAction action)
{
    auto* button = new QToolButton(group);
    for (const SpeedButton& b : kSpeedButtons)
        if (b.action == action)
            button->setObjectName(QString::fromLatin1(b.name));
    button->setCheckable(true);
    button->setIconSize(QSize(16, 16));
    speedButtons[action] = button;
    connect(button, &QToolButton::clicked, this, [this, action] { ClickAction(action); });
    return button;
}

QLineEdit* ImmunityFrame::Bind(QLineEdit* edit, GeneratorEdit& model)
{
    bindings_.emplace_back(edit, &model);
    connect(edit, &QLineEdit::textChanged, this, [this, &model](const QString& text) {
        if (!syncing_)
            model.Text = text;
    });
    return edit;
}

void ImmunityFrame::BuildControls()
{
    auto* layout = new QGridLayout(this);
    layout->addWidget(BuildFixedRows(), 0, 0, 2, 1);
    layout->addWidget(BuildSweepBands(), 0, 1);
    layout->addWidget(BuildRamp(), 1, 1);
    layout->addWidget(BuildManual(), 2, 0, 1, 2);
    logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("Image2"));
    logo->setPixmap(QPixmap(QStringLiteral(":/forms/Logo.png")));
    layout->addWidget(logo, 2, 2, Qt::AlignRight | Qt::AlignBottom);
    layout->setColumnStretch(1, 1);

    calculatorTimer = new QTimer(this);
    calculatorTimer->setObjectName(QStringLiteral("Timer1"));
    calculatorTimer->setInterval(1000);
}

QWidget* ImmunityFrame::BuildFixedRows()
{
    auto* group = new QGroupBox(QStringLiteral("Fixed Frequencies"), this);
    group->setObjectName(QStringLiteral("fixedFrequenciesBox"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(Heading(group, QStringLiteral("Frequency[Hz]")), 0, 1);
    grid->addWidget(Heading(group, QStringLiteral("Amplitude[dBm]")), 0, 2);
    fixedFieldHeading = Heading(group, kFieldHeading, "Label10");
    grid->addWidget(fixedFieldHeading, 0, 3);
    for (int i = 0; i < kFixedRows; ++i) {
        FixedFrequencyRow& row = view_.Fixed[static_cast<size_t>(i)];
        QToolButton* button = MakeSpeedButton(group, FixedFrequencyAction(static_cast<size_t>(i)));
        fixedFrequencyEdits[static_cast<size_t>(i)] =
            Bind(MakeEdit(group, QStringLiteral("fixedFrequencyEdit%1").arg(i + 1), 100), row.Frequency);
        fixedAmplitudeEdits[static_cast<size_t>(i)] =
            Bind(MakeEdit(group, QStringLiteral("fixedAmplitudeEdit%1").arg(i + 1), kNarrowField), row.Amplitude);
        fixedFieldEdits[static_cast<size_t>(i)] = MakeDisplay(group, QStringLiteral("Edit%1").arg(57 + i), kFieldTextWidth);
        displays_.emplace_back(fixedFieldEdits[static_cast<size_t>(i)], &row.PowerAndField);
        grid->addWidget(button, i + 1, 0);
        grid->addWidget(fixedFrequencyEdits[static_cast<size_t>(i)], i + 1, 1);
        grid->addWidget(fixedAmplitudeEdits[static_cast<size_t>(i)], i + 1, 2);
        grid->addWidget(fixedFieldEdits[static_cast<size_t>(i)], i + 1, 3);
    }
    grid->setRowStretch(kFixedRows + 1, 1);
    return group;
}

QWidget* ImmunityFrame::BuildSweepBands()
{
    auto* group = new QGroupBox(QStringLiteral("Frequency Sweep"), this);
    group->setObjectName(QStringLiteral("frequencySweepBox"));
    auto* grid = new QGridLayout(group);
    const QStringList headings = {QStringLiteral("Start[Hz]"), QStringLiteral("Stop[Hz]"), QStringLiteral("StepSize[Hz]"),
                                  QStringLiteral("DwellTime[msec]"), QStringLiteral("Amplitude[dBm]")};
    for (int c = 0; c < headings.size(); ++c)
        grid->addWidget(Heading(group, headings[c]), 0, c + 1);
    sweepFieldHeading = Heading(group, kFieldHeading, "Label11");
    grid->addWidget(sweepFieldHeading, 0, 6);
    for (int b = 0; b < kSweepBands; ++b) {
        SweepBand& band = view_.Bands[static_cast<size_t>(b)];
        const size_t i = static_cast<size_t>(b);
        QToolButton* button = MakeSpeedButton(group, SweepBandAction(i));
        const QString n = QString::number(b + 1);
        sweepStartEdits[i] = Bind(MakeEdit(group, QStringLiteral("sweepStartEdit") + n, 110), band.Start);
        sweepStopEdits[i] = Bind(MakeEdit(group, QStringLiteral("sweepStopEdit") + n, 110), band.Stop);
        sweepStepEdits[i] = Bind(MakeEdit(group, QStringLiteral("sweepStepEdit") + n, 90), band.Step);
        sweepDwellEdits[i] = Bind(MakeEdit(group, QStringLiteral("sweepDwellEdit") + n, kNarrowField), band.Dwell);
        sweepAmplitudeEdits[i] = Bind(MakeEdit(group, QStringLiteral("sweepAmplitudeEdit") + n, kNarrowField), band.Amplitude);
        sweepFieldEdits[i] = MakeDisplay(group, QStringLiteral("Edit%1").arg(57 + kFixedRows + b), kFieldTextWidth);
        displays_.emplace_back(sweepFieldEdits[i], &band.PowerAndField);
        grid->addWidget(button, b + 1, 0);
        int c = 1;
        for (QLineEdit* e : {sweepStartEdits[i], sweepStopEdits[i], sweepStepEdits[i], sweepDwellEdits[i],
                             sweepAmplitudeEdits[i], sweepFieldEdits[i]})
            grid->addWidget(e, b + 1, c++);
    }
    return group;
}

QWidget* ImmunityFrame::BuildRamp()
{
    auto* group = new QGroupBox(QStringLiteral("Power Pulse Timing"), this);
    group->setObjectName(QStringLiteral("powerPulseTimingBox"));
    auto* box = new QVBoxLayout(group);
    auto* top = new QHBoxLayout;
    QToolButton* button = MakeSpeedButton(group, GeneratorAction::PowerRamp);
    singleShotRadio = new QRadioButton(QStringLiteral("single shot"), group);
    singleShotRadio->setObjectName(QStringLiteral("singleShotRadio"));
    singleShotRadio->setChecked(true);
    periodicRadio = new QRadioButton(QStringLiteral("periodic"), group);
    periodicRadio->setObjectName(QStringLiteral("periodicRadio"));
    rampFrequencyEdit = Bind(MakeEdit(group, QStringLiteral("rampFrequencyEdit"), 100), view_.Ramp.Frequency);
    top->addWidget(button);
    top->addWidget(singleShotRadio);
    top->addWidget(periodicRadio);
    top->addStretch();
    top->addWidget(Heading(group, QStringLiteral("Freq[Hz]")));
    top->addWidget(rampFrequencyEdit);
    box->addLayout(top);
    // Room above the diagram for the labels of the fields on its top edge.
    box->addSpacing(fontMetrics().height() + 4);
    rampDiagram = new RampDiagram(group);
    // Tall enough for a field and a caption between two rows of fields (a fifth of it apart, in
    // whole hundredths), however small the window.
    const int rowNeed = QLineEdit().minimumSizeHint().height() + fontMetrics().height();
    rampDiagram->setMinimumHeight(100 * ((rowNeed + 19) / 20));
    box->addWidget(rampDiagram, 1);

    PowerRamp& ramp = view_.Ramp;
    const auto field = [&](const char* name, const QString& label, GeneratorEdit* model, int width) {
        QLineEdit* e = model != nullptr ? Bind(MakeEdit(group, QString::fromLatin1(name), width), *model)
                                        : MakeDisplay(group, QString::fromLatin1(name), width);
        rampLabels_.emplace_back(Heading(group, label), e);
        return e;
    };
    rampTimeEdits[0] = field("LabeledEdit1", QStringLiteral("T0[msec]"), &ramp.Times[0], kNarrowField);
    rampStepsUpEdit = field("LabeledEdit3", QStringLiteral("Step"), &ramp.StepsUp, kNarrowField);
    rampTimeEdits[1] = field("LabeledEdit4", QStringLiteral("T1[msec]"), &ramp.Times[1], kNarrowField);
    rampLowEdit = field("LabeledEdit5", QStringLiteral("AmplitudeLow[dBm]"), &ramp.Low, kNarrowField);
    rampTimeEdits[3] = field("LabeledEdit6", QStringLiteral("T3[msec]"), &ramp.Times[3], kNarrowField);
    rampStepsDownEdit = field("LabeledEdit7", QStringLiteral("Step"), &ramp.StepsDown, kNarrowField);
    rampTimeEdits[2] = field("LabeledEdit8", QStringLiteral("T2[msec]"), &ramp.Times[2], kNarrowField);
    rampTimeEdits[4] = field("LabeledEdit9", QStringLiteral("T4[msec]"), &ramp.Times[4], kNarrowField);
    rampHighEdit = field("LabeledEdit10", QStringLiteral("AmplitudeHigh[dBm]"), &ramp.High, kNarrowField);
    rampLowFieldEdit = field("LabeledEdit11", kFieldHeading, nullptr, kFieldTextWidth);
    rampHighFieldEdit = field("LabeledEdit12", kFieldHeading, nullptr, kFieldTextWidth);
    displays_.emplace_back(rampLowFieldEdit, &ramp.LowPowerAndField);
    displays_.emplace_back(rampHighFieldEdit, &ramp.HighPowerAndField);
    return group;
}

QWidget* ImmunityFrame::BuildManual()
{
    auto* group = new QGroupBox(QStringLiteral("Manual stepping"), this);
    group->setObjectName(QStringLiteral("manualSteppingBox"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(MakeSpeedButton(group, GeneratorAction::ManualStepping));
    ManualStepping& manual = view_.Manual;
    const auto labeled = [&](const QString& name, const QString& label, GeneratorEdit& model, QWidget* spin) {
        auto* column = new QVBoxLayout;
        column->addWidget(Heading(group, label));
        auto* line = new QHBoxLayout;
        QLineEdit* e = Bind(MakeEdit(group, name, 100), model);
        line->addWidget(e);
        if (spin != nullptr)
            line->addWidget(spin);
        column->addLayout(line);
        row->addLayout(column);
        return e;
    };
    frequencySpin = MakeSpin(group, "SpinButton1", frequencyUpButton, frequencyDownButton);
    amplitudeSpin = MakeSpin(group, "SpinButton2", amplitudeUpButton, amplitudeDownButton);
    manualFrequencyEdit = labeled(QStringLiteral("LabeledEdit17"), QStringLiteral("Frequency[Hz]"), manual.Frequency, frequencySpin);
    manualAmplitudeEdit = labeled(QStringLiteral("LabeledEdit18"), QStringLiteral("Amplitude[dBm]"), manual.Amplitude, amplitudeSpin);
    manualFrequencyIncrementEdit = labeled(QStringLiteral("LabeledEdit19"), QStringLiteral("Frequency increment"),
                                           manual.FrequencyIncrement, nullptr);
    manualAmplitudeIncrementEdit = labeled(QStringLiteral("manualAmplitudeIncrementEdit"),
                                           QStringLiteral("Amplitude increment"), manual.AmplitudeIncrement, nullptr);
    row->addStretch();
    const auto boxButton = [&](QPushButton*& b, const char* name, const QString& caption) {
        b = new QPushButton(caption, group);
        b->setObjectName(QString::fromLatin1(name));
        row->addWidget(b);
    };
    boxButton(showCalculatorButton, "Button3", QStringLiteral("Show [V/m] Calculator"));
    boxButton(showMarkerButton, "Button4", QStringLiteral("Show Marker"));
    boxButton(showSettingsButton, "Button5", QStringLiteral("Show Settings"));
    boxButton(showMessagesButton, "Button6", QStringLiteral("Show Messages"));
    return group;
}

void ImmunityFrame::BuildFloatingBoxes()
{
    const auto makeBox = [this](const char* name, const QString& title) {
        auto* box = new QGroupBox(title, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setWindowFlags(Qt::Tool);
        box->setWindowTitle(title);
        box->hide();
        return box;
    };
    settingsBox = makeBox("GroupBox5", QStringLiteral("Settings"));
    messagesBox = makeBox("GroupBox6", QStringLiteral("Messages"));
    calculatorBox = makeBox("GroupBox8", QStringLiteral("dBm-->V/m"));
    markerBox = makeBox("GroupBox9", QStringLiteral("Marker"));
    boxes_[0].box = settingsBox;
    boxes_[1].box = messagesBox;
    boxes_[2].box = calculatorBox;
    boxes_[3].box = markerBox;

    BuildSettingsGrid();

    auto* messages = new QVBoxLayout(messagesBox);
    messagesMemo = new QPlainTextEdit(messagesBox);
    messagesMemo->setObjectName(QStringLiteral("Memo2"));
    messagesMemo->setReadOnly(true);
    messages->addWidget(messagesMemo);

    auto* calc = new QGridLayout(calculatorBox);
    calculatorInputEdit = MakeEdit(calculatorBox, QStringLiteral("calculatorInputEdit"), 80);
    calculatorPowerEdit = MakeDisplay(calculatorBox, QStringLiteral("calculatorPowerEdit"), 130);
    calc->addWidget(Heading(calculatorBox, QStringLiteral("dBm")), 0, 0);
    calc->addWidget(calculatorInputEdit, 0, 1);
    calc->addWidget(Heading(calculatorBox, QStringLiteral("Power")), 1, 0);
    calc->addWidget(calculatorPowerEdit, 1, 1);
    displays_.emplace_back(calculatorPowerEdit, &view_.Calculator.Power);
    for (size_t i = 0; i < calculatorFieldEdits.size(); ++i) {
        calculatorFieldEdits[i] = MakeDisplay(calculatorBox, QStringLiteral("calculatorFieldEdit%1").arg(i + 1), 130);
        displays_.emplace_back(calculatorFieldEdits[i], &view_.Calculator.Fields[i]);
        const QString cm = QString::number(kCalculatorSeptumCm[i]) + QStringLiteral(" cm");
        calc->addWidget(Heading(calculatorBox, cm), static_cast<int>(i) + 2, 0);
        calc->addWidget(calculatorFieldEdits[i], static_cast<int>(i) + 2, 1);
    }

    auto* markers = new QGridLayout(markerBox);
    markerFrequencyEdit = MakeDisplay(markerBox, QStringLiteral("markerFrequencyEdit"), 120);
    markerLevelEdit = MakeDisplay(markerBox, QStringLiteral("markerLevelEdit"), 60);
    displays_.emplace_back(markerFrequencyEdit, &view_.MarkerFrequency);
    displays_.emplace_back(markerLevelEdit, &view_.MarkerLevel);
    markStarButton = new QPushButton(QStringLiteral("Mark Freq by *"), markerBox);
    markStarButton->setObjectName(QStringLiteral("Button1"));
    markHashButton = new QPushButton(QStringLiteral("Mark Freq by #"), markerBox);
    markHashButton->setObjectName(QStringLiteral("Button2"));
    marksMemo = new QPlainTextEdit(markerBox);
    marksMemo->setObjectName(QStringLiteral("Memo1"));
    marksMemo->setReadOnly(true);
    markers->addWidget(Heading(markerBox, QStringLiteral("Freq[Hz]")), 0, 0);
    markers->addWidget(markerFrequencyEdit, 0, 1);
    markers->addWidget(Heading(markerBox, QStringLiteral("Level[dBm]")), 0, 2);
    markers->addWidget(markerLevelEdit, 0, 3);
    markers->addWidget(markStarButton, 1, 0, 1, 2);
    markers->addWidget(markHashButton, 1, 2, 1, 2);
    markers->addWidget(Heading(markerBox, QStringLiteral("Marks")), 2, 0);
    markers->addWidget(marksMemo, 3, 0, 1, 4);
}

void ImmunityFrame::BuildSettingsGrid()
{
    auto* layout = new QVBoxLayout(settingsBox);
    settingsGrid = new QTableWidget(4, 2, settingsBox);
    settingsGrid->setObjectName(QStringLiteral("ValueListEditor1"));
    settingsGrid->setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Value")});
    settingsGrid->verticalHeader()->hide();
    settingsGrid->horizontalHeader()->setStretchLastSection(true);
    struct Row {
        const QString* key;
        QString value;
        bool editable;
    };
    const Row rows[] = {{&kAmpCorRow, QStringLiteral("none"), false},
                        {&kTemCorRow, QStringLiteral("none"), false},
                        {&kSeptumRow, QStringLiteral("2.8"), true},
                        {&kTgOffRow, QStringLiteral("on"), false}};
    for (int r = 0; r < 4; ++r) {
        auto* key = new QTableWidgetItem(*rows[r].key);
        key->setFlags(Qt::ItemIsEnabled);
        settingsGrid->setItem(r, 0, key);
        auto* combo = new QComboBox(settingsGrid);
        combo->setEditable(rows[r].editable);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItem(rows[r].value);
        combo->setCurrentText(rows[r].value);
        settingsGrid->setCellWidget(r, 1, combo);
    }
    auto* septum = static_cast<QComboBox*>(settingsGrid->cellWidget(2, 1));
    septum->clear();
    septum->addItems(SeptumChoices());
    septum->setCurrentText(QStringLiteral("2.8"));
    auto* tgOff = static_cast<QComboBox*>(settingsGrid->cellWidget(3, 1));
    tgOff->clear();
    tgOff->addItems({QStringLiteral("off"), QStringLiteral("on")});
    tgOff->setCurrentText(QStringLiteral("on"));
    layout->addWidget(settingsGrid);
    settingsBox->resize(300, 220);
}

void ImmunityFrame::ShowView()
{
    syncing_ = true;
    const QColor normal = palette().color(QPalette::Text);
    for (auto& [edit, model] : bindings_) {
        if (edit->text() != model->Text)
            edit->setText(model->Text);
        edit->setReadOnly(model->ReadOnly);
        QPalette p = edit->palette();
        const QColor wanted = model->Red ? QColor(Qt::red) : normal;
        if (p.color(QPalette::Text) != wanted) {
            p.setColor(QPalette::Text, wanted);
            edit->setPalette(p);
        }
    }
    for (auto& [edit, text] : displays_)
        if (edit->text() != *text)
            edit->setText(*text);
    if (calculatorInputEdit->text() != view_.Calculator.Input)
        calculatorInputEdit->setText(view_.Calculator.Input);
    const QIcon running = style()->standardIcon(QStyle::SP_MediaStop);
    const QIcon stopped = style()->standardIcon(QStyle::SP_MediaPlay);
    for (const SpeedButton& b : kSpeedButtons) {
        QToolButton* button = speedButtons[b.action];
        button->setEnabled(view_.ButtonEnabled[b.action]);
        button->setChecked(view_.ButtonRunning[b.action]);
        button->setIcon(view_.ButtonRunning[b.action] ? running : stopped);
    }
    frequencySpin->setEnabled(view_.Manual.SpinButtonsEnabled);
    amplitudeSpin->setEnabled(view_.Manual.SpinButtonsEnabled);
    settingsGrid->setEnabled(view_.SettingsGridEnabled);
    periodicRadio->setChecked(view_.Ramp.Periodic);
    singleShotRadio->setChecked(!view_.Ramp.Periodic);
    ShowMemo(messagesMemo, view_.Messages, shownMessages_);
    ShowMemo(marksMemo, view_.Marks, shownMarks_);
    syncing_ = false;
}

void ImmunityFrame::ShowMemo(QPlainTextEdit* memo, const QStringList& lines, int& shown)
{
    if (lines.size() < shown) {
        memo->clear();
        shown = 0;
    }
    for (; shown < lines.size(); ++shown)
        memo->appendPlainText(lines[shown]);
}

void ImmunityFrame::layoutRampFields()
{
    const QRect diagram = rampDiagram->geometry();
    for (const RampFieldPlace& place : RampFieldPlaces()) {
        QLineEdit* e = nullptr;
        switch (place.Field) {
        case RampField::T0: e = rampTimeEdits[0]; break;
        case RampField::T1: e = rampTimeEdits[1]; break;
        case RampField::T2: e = rampTimeEdits[2]; break;
        case RampField::T3: e = rampTimeEdits[3]; break;
        case RampField::T4: e = rampTimeEdits[4]; break;
        case RampField::StepsUp: e = rampStepsUpEdit; break;
        case RampField::StepsDown: e = rampStepsDownEdit; break;
        case RampField::Low: e = rampLowEdit; break;
        case RampField::High: e = rampHighEdit; break;
        case RampField::LowField: e = rampLowFieldEdit; break;
        case RampField::HighField: e = rampHighFieldEdit; break;
        }
        e->move(RampFieldPosition(diagram, place, e->width()));
        e->raise();
    }
    for (auto& [label, edit] : rampLabels_) {
        label->adjustSize();
        // Rows of fields stand a fifth of the diagram apart: a field and the caption of the one
        // below it share that room.
        const int rowGap = diagram.height() / 100 * 20;
        edit->setFixedHeight(
            std::clamp(rowGap - label->height(), edit->minimumSizeHint().height(), edit->sizeHint().height()));
        label->move(edit->x(), edit->y() - label->height());
        label->setVisible(!edit->isHidden());
        label->raise();
    }
}

void ImmunityFrame::setFieldValueShown(bool on)
{
    fieldValueShown_ = on;
    for (QWidget* w : {static_cast<QWidget*>(fixedFieldHeading), static_cast<QWidget*>(sweepFieldHeading),
                       static_cast<QWidget*>(rampLowFieldEdit), static_cast<QWidget*>(rampHighFieldEdit)})
        w->setVisible(on);
    for (QLineEdit* e : fixedFieldEdits)
        e->setVisible(on);
    for (QLineEdit* e : sweepFieldEdits)
        e->setVisible(on);
    for (auto& [label, edit] : rampLabels_)
        label->setVisible(!edit->isHidden());
    // Without the field-strength option only "Tg off" is left in the grid.
    for (int r = 0; r < 3; ++r)
        settingsGrid->setRowHidden(r, !on);
    boxes_[0].floating = on;
}
