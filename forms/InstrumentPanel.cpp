#include "forms/InstrumentPanel.h"

#include "forms/PanelControls.h"
#include "instrument/InstrumentConnection.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* Arrow(QWidget* parent, Qt::ArrowType arrow, const char* name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setFixedSize(18, 12);
    return b;
}

// The radio buttons in their order, with what each chooses.
constexpr std::array<PreAmpChoice, 3> kPreAmpChoices{PreAmpChoice::PerSegment, PreAmpChoice::On, PreAmpChoice::Off};

} // namespace

InstrumentPanel::InstrumentPanel(QWidget* parent) : QWidget(parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);

    preAmpGroup = new QGroupBox(QStringLiteral("PreAmp"), this);
    preAmpGroup->setObjectName(QStringLiteral("GroupBox8"));
    auto* preAmp = new QHBoxLayout(preAmpGroup);
    preAmp->setContentsMargins(4, 0, 4, 0);
    preAmpRadios = {NamedRadio(preAmpGroup, "RadioButton3", QStringLiteral("seg")),
                    NamedRadio(preAmpGroup, "RadioButton4", QStringLiteral("on")),
                    NamedRadio(preAmpGroup, "RadioButton5", QStringLiteral("off"))};
    for (QRadioButton* r : preAmpRadios)
        preAmp->addWidget(r);
    grid->addWidget(preAmpGroup, 0, 0, 1, 2);

    vbwGroup = new QGroupBox(QStringLiteral("VBW"), this);
    vbwGroup->setObjectName(QStringLiteral("GroupBox9"));
    auto* vbw = new QHBoxLayout(vbwGroup);
    vbw->setContentsMargins(4, 0, 4, 0);
    vbwAutoRadio = NamedRadio(vbwGroup, "RadioButton6", QStringLiteral("auto"));
    vbwThreeRbwRadio = NamedRadio(vbwGroup, "RadioButton7", QStringLiteral("1:3"));
    vbwAutoRadio->setChecked(true);
    vbw->addWidget(vbwAutoRadio);
    vbw->addWidget(vbwThreeRbwRadio);
    vbwGroup->setEnabled(false);
    grid->addWidget(vbwGroup, 1, 0, 1, 2);

    emiZeroSpanCheckBox = NamedCheckBox(this, "CheckBox21", QStringLiteral("EMI(ZeroSpan)"));
    maxPeakZeroSpanCheckBox = NamedCheckBox(this, "CheckBox22", QStringLiteral("mPk"));
    maxPeakZeroSpanCheckBox->setToolTip(QStringLiteral("take max. value in zero span"));
    grid->addWidget(emiZeroSpanCheckBox, 2, 0);
    grid->addWidget(maxPeakZeroSpanCheckBox, 2, 1);

    refLevelSpin = new QWidget(this);
    refLevelSpin->setObjectName(QStringLiteral("SpinButton1"));
    refLevelSpin->setToolTip(QStringLiteral("Ref Lev RSA5000"));
    auto* spin = new QVBoxLayout(refLevelSpin);
    spin->setContentsMargins(0, 0, 0, 0);
    spin->setSpacing(0);
    refLevelUpButton = Arrow(refLevelSpin, Qt::UpArrow, "refLevelUpButton");
    refLevelDownButton = Arrow(refLevelSpin, Qt::DownArrow, "refLevelDownButton");
    spin->addWidget(refLevelUpButton);
    spin->addWidget(refLevelDownButton);
    readDsaButton = NamedButton(this, "Button16", QStringLiteral("RD_DSA"));
    grid->addWidget(refLevelSpin, 3, 0, Qt::AlignLeft);
    grid->addWidget(readDsaButton, 3, 1);

    for (QRadioButton* radio : preAmpRadios) {
        connect(radio, &QRadioButton::clicked, this, [this] {
            for (size_t checked = 0; checked < preAmpRadios.size(); ++checked)
                if (preAmpRadios[checked]->isChecked()) {
                    emit preAmpChosen(kPreAmpChoices[checked]);
                    return;
                }
            emit preAmpChosen(PreAmpChoice::Off);
        });
    }
    const std::pair<QToolButton*, RefLevelArrow> arrows[] = {{refLevelUpButton, RefLevelArrow::Up},
                                                             {refLevelDownButton, RefLevelArrow::Down}};
    for (const auto& [button, arrow] : arrows) {
        connect(button, &QToolButton::clicked, this,
                [this, direction = arrow] { emit referenceLevelStepped(direction); });
    }
    // "EMI(ZeroSpan)" changes the run's mode and so its estimate.
    connect(emiZeroSpanCheckBox, &QCheckBox::toggled, this, &InstrumentPanel::emiZeroSpanToggled);
}

void InstrumentPanel::startUp()
{
    emiZeroSpanCheckBox->hide();
    maxPeakZeroSpanCheckBox->hide();
    refLevelSpin->hide();
    preAmpRadios[0]->setChecked(true);
}

void InstrumentPanel::applyAdvancedSettings(bool preAmpBox, bool vbwBox)
{
    preAmpGroup->setVisible(preAmpBox);
    vbwGroup->setVisible(vbwBox);
}

void InstrumentPanel::applyFamilyControls(const FamilyControls& controls)
{
    vbwAutoRadio->setChecked(true);
    vbwGroup->setEnabled(controls.VbwGroupEnabled);
    if (controls.EmiZeroSpanEnabled)
        emiZeroSpanCheckBox->setEnabled(*controls.EmiZeroSpanEnabled);
    if (controls.MaxPeakEnabled)
        maxPeakZeroSpanCheckBox->setEnabled(*controls.MaxPeakEnabled);
}

void InstrumentPanel::showAnalyserHeld(bool held)
{
    refLevelSpin->setEnabled(!held);
    for (QRadioButton* r : preAmpRadios)
        r->setEnabled(!held);
}

void InstrumentPanel::showPreAmpChoice(PreAmpChoice choice)
{
    for (size_t i = 0; i < preAmpRadios.size(); ++i)
        if (kPreAmpChoices[i] == choice)
            preAmpRadios[i]->setChecked(true);
}

void InstrumentPanel::showDebugControls(bool shown)
{
    for (QWidget* w : {static_cast<QWidget*>(readDsaButton), refLevelSpin,
                       static_cast<QWidget*>(emiZeroSpanCheckBox), static_cast<QWidget*>(maxPeakZeroSpanCheckBox)})
        w->setVisible(shown);
}

bool InstrumentPanel::emiZeroSpanOn() const
{
    return emiZeroSpanCheckBox->isChecked();
}

bool InstrumentPanel::maxPeakZeroSpanOn() const
{
    return maxPeakZeroSpanCheckBox->isChecked();
}

bool InstrumentPanel::vbwThreeRbw() const
{
    return vbwThreeRbwRadio->isChecked();
}
