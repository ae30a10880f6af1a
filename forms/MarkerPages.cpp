#include "forms/MarkerPages.h"

#include "forms/MainWindowPalette.h"
#include "forms/PanelControls.h"
#include "mainwindow/MainWindowColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    return c;
}

struct SetNames {
    const char* arm;
    const char* armCaption;
    const char* show;
    const char* clearLast;
    const char* clearAll;
};
constexpr PerSet<SetNames> kNames{{{
    {"CheckBox32", "M1", "CheckBox34", "Button5", "Button2"},
    {"CheckBox33", "M2", "CheckBox35", "Button7", "Button9"},
}}};

} // namespace

MarkerPages::MarkerPages(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("PageControl1"));

    auto* marker = new QWidget(this);
    auto* m = new QGridLayout(marker);
    m->setContentsMargins(4, 2, 4, 2);
    m->setVerticalSpacing(2);
    for (MeasureSet set : kMeasureSets) {
        SetControls& s = setMarkers[set];
        s.arm = NamedCheckBox(marker, kNames[set].arm, QString::fromLatin1(kNames[set].armCaption));
        s.show = NamedCheckBox(marker, kNames[set].show, QStringLiteral("show"), true);
        s.clearLast = NamedButton(marker, kNames[set].clearLast, QStringLiteral("Clear Last"));
        s.clearAll = NamedButton(marker, kNames[set].clearAll, QStringLiteral("Clear All"));
    }
    copyMarkersButton = NamedButton(marker, "Button10", QStringLiteral("Copy Markers"));
    showMarkerNumbersCheckBox = NamedCheckBox(marker, "CheckBox15", QStringLiteral("Show Markers"));
    harmonicsCheckBox = NamedCheckBox(marker, "CheckBox20", QStringLiteral("Harmonics"));
    magnifyCheckBox = NamedCheckBox(marker, "CheckBox23", QStringLiteral("Magnify"));
    for (MeasureSet set : kMeasureSets) {
        const int row = SetNumber(set) - 1;
        m->addWidget(new QLabel(QStringLiteral("Set%1").arg(SetNumber(set)), marker), row, 0);
        m->addWidget(setMarkers[set].arm, row, 1);
        m->addWidget(setMarkers[set].show, row, 2);
        m->addWidget(setMarkers[set].clearLast, row, 3);
        m->addWidget(setMarkers[set].clearAll, row, 4);
    }
    m->addWidget(showMarkerNumbersCheckBox, 2, 0, 1, 3);
    m->addWidget(copyMarkersButton, 2, 3, 1, 2);
    m->addWidget(harmonicsCheckBox, 3, 0, 1, 3);
    m->addWidget(magnifyCheckBox, 3, 3, 1, 2);
    m->setColumnStretch(5, 1);
    addTab(marker, QStringLiteral("Marker"));

    auto* fader = new QWidget(this);
    auto* f = new QHBoxLayout(fader);
    fadeCheckBox = NamedCheckBox(fader, "CheckBox36", QStringLiteral("fade"));
    clearFadeCheckBox = NamedCheckBox(fader, "CheckBox38", QStringLiteral("clr"));
    clearLastFadeButton = NamedButton(fader, "Button14", QStringLiteral("clear last"));
    f->addWidget(fadeCheckBox);
    f->addWidget(clearFadeCheckBox);
    f->addWidget(clearLastFadeButton);
    f->addStretch();
    addTab(fader, QStringLiteral("Fader"));

    auto* math = new QWidget(this);
    auto* a = new QHBoxLayout(math);
    const QStringList operands = {QStringLiteral("T1S1"), QStringLiteral("T1S2"), QStringLiteral("T2S1"),
                                  QStringLiteral("T2S2"), QStringLiteral("T3S1"), QStringLiteral("T3S2"),
                                  QStringLiteral("S1"),   QStringLiteral("S2")};
    mathOperand1Combo = Combo(math, "ComboBox2", operands);
    mathOperatorCombo = Combo(math, "ComboBox1",
                              {QStringLiteral("-"), QStringLiteral("+"), QStringLiteral("*"), QStringLiteral("/")});
    mathOperand2Combo = Combo(math, "ComboBox3", operands);
    calcButton = NamedButton(math, "Button11", QStringLiteral("Calc"));
    mathCheckBox = NamedCheckBox(math, "CheckBox40", QStringLiteral("Math"));
    for (QWidget* w : {static_cast<QWidget*>(mathOperand1Combo), static_cast<QWidget*>(mathOperatorCombo),
                       static_cast<QWidget*>(mathOperand2Combo), static_cast<QWidget*>(calcButton),
                       static_cast<QWidget*>(mathCheckBox)})
        a->addWidget(w);
    a->addStretch();
    addTab(math, QStringLiteral("Math"));

    for (MeasureSet set : kMeasureSets) {
        const SetControls& s = setMarkers[set];
        connect(s.arm, &QCheckBox::clicked, this, [this, set](bool on) { MarkerArmed(set, on); });
        connect(s.show, &QCheckBox::clicked, this, &MarkerPages::repaintRequested);
        connect(s.clearAll, &QPushButton::clicked, this, [this, set] { emit clearMarkersClicked(set, true); });
        connect(s.clearLast, &QPushButton::clicked, this, [this, set] { emit clearMarkersClicked(set, false); });
    }
    connect(showMarkerNumbersCheckBox, &QCheckBox::clicked, this, &MarkerPages::repaintRequested);
    connect(harmonicsCheckBox, &QCheckBox::clicked, this, [this](bool on) {
        if (!on)
            emit repaintRequested();
    });
    connect(copyMarkersButton, &QPushButton::clicked, this, &MarkerPages::copyMarkersClicked);
    connect(fadeCheckBox, &QCheckBox::clicked, this, [this](bool on) { ChooseFaderMode(FaderMode::Fade, on); });
    connect(clearFadeCheckBox, &QCheckBox::clicked, this, [this](bool on) { ChooseFaderMode(FaderMode::Clear, on); });
    connect(clearLastFadeButton, &QPushButton::clicked, this, &MarkerPages::clearLastFadeClicked);
    // A click under the magnifier is no frequency pick: no harmonic lines while it is shown.
    connect(magnifyCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        harmonicsCheckBox->setEnabled(!on);
        emit magnifierToggled(on);
    });
    connect(calcButton, &QPushButton::clicked, this, &MarkerPages::calcClicked);
    connect(mathCheckBox, &QCheckBox::toggled, this, &MarkerPages::mathToggled);
}

void MarkerPages::startUp()
{
    setCurrentIndex(0);
}

MarkerBoxes MarkerPages::markerBoxes() const
{
    MarkerBoxes boxes;
    for (MeasureSet set : kMeasureSets)
        boxes.Sets[set] = {setMarkers[set].arm->isChecked(), setMarkers[set].show->isChecked()};
    boxes.Harmonics = harmonicsCheckBox->isChecked();
    boxes.Magnify = magnifyCheckBox->isChecked();
    return boxes;
}

void MarkerPages::showArmed(const MarkerBoxes& boxes)
{
    for (MeasureSet set : kMeasureSets)
        setMarkers[set].arm->setChecked(boxes.Sets[set].Armed);
}

bool MarkerPages::showMarkerNumbers() const
{
    return showMarkerNumbersCheckBox->isChecked();
}

FaderMode MarkerPages::faderMode() const
{
    if (fadeCheckBox->isChecked())
        return FaderMode::Fade;
    if (clearFadeCheckBox->isChecked())
        return FaderMode::Clear;
    return FaderMode::Zoom;
}

void MarkerPages::stopFading()
{
    fadeCheckBox->setChecked(false);
}

MarkerPages::MathChoice MarkerPages::mathChoice() const
{
    return {mathOperand1Combo->currentIndex(), mathOperatorCombo->currentIndex(), mathOperand2Combo->currentIndex()};
}

void MarkerPages::showMathResult()
{
    mathCheckBox->setChecked(true);
}

void MarkerPages::tintMarkerBoxes(const MainWindowColors& colors)
{
    for (MeasureSet set : kMeasureSets) {
        QCheckBox* arm = setMarkers[set].arm;
        QPalette p = arm->palette();
        p.setColor(QPalette::Window, QColorOf(colors[kCorrectedTraceColors[set]]));
        arm->setPalette(p);
        arm->setAutoFillBackground(true);
    }
}

// Ticking a set's "M" unticks the other set's and "Harmonics" and shows the set's markers.
void MarkerPages::MarkerArmed(MeasureSet set, bool checked)
{
    MarkerBoxes boxes = markerBoxes();
    ::ArmMarker(boxes, set, checked);
    for (MeasureSet each : kMeasureSets) {
        setMarkers[each].arm->setChecked(boxes.Sets[each].Armed);
        setMarkers[each].show->setChecked(boxes.Sets[each].Show);
    }
    harmonicsCheckBox->setChecked(boxes.Harmonics);
}

// "fade" and "clr" exclude each other.
void MarkerPages::ChooseFaderMode(FaderMode clicked, bool checked)
{
    const FaderMode mode = FaderModeAfterClick(faderMode(), clicked, checked);
    fadeCheckBox->setChecked(mode == FaderMode::Fade);
    clearFadeCheckBox->setChecked(mode == FaderMode::Clear);
}
