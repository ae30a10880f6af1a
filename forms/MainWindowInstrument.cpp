// The instrument panel: the "Device" menu's connection kinds, the controls that follow the
// connected analyser's family (VBW, EMI zero span, max. peak), the preamplifier choice and the
// reference-level spin button.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "forms/ConnectionWindow.h"
#include "forms/Forms.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/PanelCommands.h"
#include "instrument/ReferenceLevel.h"
#include "instrument/ScpiContext.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <exception>

namespace {

QRadioButton* Radio(QWidget* parent, const char* name, const QString& caption)
{
    auto* r = new QRadioButton(caption, parent);
    r->setObjectName(QString::fromLatin1(name));
    return r;
}

QToolButton* Arrow(QWidget* parent, Qt::ArrowType arrow, const char* name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setFixedSize(18, 12);
    return b;
}

} // namespace

QWidget* MainWindow::BuildInstrumentPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);

    preAmpGroup = new QGroupBox(QStringLiteral("PreAmp"), panel);
    preAmpGroup->setObjectName(QStringLiteral("GroupBox8"));
    auto* preAmp = new QHBoxLayout(preAmpGroup);
    preAmp->setContentsMargins(4, 0, 4, 0);
    preAmpSegmentRadio = Radio(preAmpGroup, "RadioButton3", QStringLiteral("seg"));
    preAmpOnRadio = Radio(preAmpGroup, "RadioButton4", QStringLiteral("on"));
    preAmpOffRadio = Radio(preAmpGroup, "RadioButton5", QStringLiteral("off"));
    for (QRadioButton* r : {preAmpSegmentRadio, preAmpOnRadio, preAmpOffRadio})
        preAmp->addWidget(r);
    grid->addWidget(preAmpGroup, 0, 0, 1, 2);

    vbwGroup = new QGroupBox(QStringLiteral("VBW"), panel);
    vbwGroup->setObjectName(QStringLiteral("GroupBox9"));
    auto* vbw = new QHBoxLayout(vbwGroup);
    vbw->setContentsMargins(4, 0, 4, 0);
    vbwAutoRadio = Radio(vbwGroup, "RadioButton6", QStringLiteral("auto"));
    vbwThreeRbwRadio = Radio(vbwGroup, "RadioButton7", QStringLiteral("1:3"));
    vbwAutoRadio->setChecked(true);
    vbw->addWidget(vbwAutoRadio);
    vbw->addWidget(vbwThreeRbwRadio);
    vbwGroup->setEnabled(false);
    grid->addWidget(vbwGroup, 1, 0, 1, 2);

    emiZeroSpanCheckBox = new QCheckBox(QStringLiteral("EMI(ZeroSpan)"), panel);
    emiZeroSpanCheckBox->setObjectName(QStringLiteral("CheckBox21"));
    maxPeakZeroSpanCheckBox = new QCheckBox(QStringLiteral("mPk"), panel);
    maxPeakZeroSpanCheckBox->setObjectName(QStringLiteral("CheckBox22"));
    maxPeakZeroSpanCheckBox->setToolTip(QStringLiteral("take max. value in zero span"));
    grid->addWidget(emiZeroSpanCheckBox, 2, 0);
    grid->addWidget(maxPeakZeroSpanCheckBox, 2, 1);

    refLevelSpin = new QWidget(panel);
    refLevelSpin->setObjectName(QStringLiteral("SpinButton1"));
    refLevelSpin->setToolTip(QStringLiteral("Ref Lev RSA5000"));
    auto* spin = new QVBoxLayout(refLevelSpin);
    spin->setContentsMargins(0, 0, 0, 0);
    spin->setSpacing(0);
    refLevelUpButton = Arrow(refLevelSpin, Qt::UpArrow, "refLevelUpButton");
    refLevelDownButton = Arrow(refLevelSpin, Qt::DownArrow, "refLevelDownButton");
    spin->addWidget(refLevelUpButton);
    spin->addWidget(refLevelDownButton);
    readDsaButton = new QPushButton(QStringLiteral("RD_DSA"), panel);
    readDsaButton->setObjectName(QStringLiteral("Button16"));
    grid->addWidget(refLevelSpin, 3, 0, Qt::AlignLeft);
    grid->addWidget(readDsaButton, 3, 1);
    return panel;
}

// The preamplifier choice and the reference-level arrows join here; the connection window's
// signals are wired once it exists (wireLaterWindows).
void MainWindow::WireInstrument()
{
    for (QRadioButton* r : {preAmpSegmentRadio, preAmpOnRadio, preAmpOffRadio})
        connect(r, &QRadioButton::clicked, this, &MainWindow::ChoosePreAmp);
    connect(refLevelUpButton, &QToolButton::clicked, this, [this] { StepReferenceLevel(false); });
    connect(refLevelDownButton, &QToolButton::clicked, this, [this] { StepReferenceLevel(true); });
}

void MainWindow::showRunOwnsInstrument(bool owned)
{
    runOwnsInstrument_ = owned;
    refLevelSpin->setEnabled(!owned);
    for (QRadioButton* r : {preAmpSegmentRadio, preAmpOnRadio, preAmpOffRadio})
        r->setEnabled(!owned);
}

// Nothing reaches the analyser while a run owns it.
void MainWindow::ChoosePreAmp()
{
    if (runOwnsInstrument_ || (emissionRunActive && emissionRunActive()))
        return;
    const PreAmpChoice choice = preAmpSegmentRadio->isChecked() ? PreAmpChoice::PerSegment
                                : preAmpOnRadio->isChecked()    ? PreAmpChoice::On
                                                                : PreAmpChoice::Off;
    try {
        ApplyPreAmpChoice(*scpi_, choice);
    } catch (const std::exception& e) {
        app_.Messages.Append(QStringLiteral("Error: ") + QString::fromUtf8(e.what()));
    }
}

// The arrows of "Ref Lev RSA5000": the down arrow raises the reference level by 10 dB, the up
// arrow lowers it; "RefLeveldBm" remembers the new level.
void MainWindow::StepReferenceLevel(bool down)
{
    if (runOwnsInstrument_ || (emissionRunActive && emissionRunActive()))
        return;
    try {
        ::StepReferenceLevel(*scpi_, app_.Settings.OptRsaRefLevelDbm, down ? RefLevelArrow::Down : RefLevelArrow::Up);
    } catch (const std::exception& e) {
        app_.Messages.Append(QStringLiteral("Error: ") + QString::fromUtf8(e.what()));
    }
}

// The VBW choice goes back to "auto" and is offered only where the family has it; the zero-span
// boxes follow the family or keep their state (a Hameg says nothing about them).
void MainWindow::applyFamilyControls(const FamilyControls& controls)
{
    vbwAutoRadio->setChecked(true);
    vbwGroup->setEnabled(controls.VbwGroupEnabled);
    if (controls.EmiZeroSpanEnabled)
        emiZeroSpanCheckBox->setEnabled(*controls.EmiZeroSpanEnabled);
    if (controls.MaxPeakEnabled)
        maxPeakZeroSpanCheckBox->setEnabled(*controls.MaxPeakEnabled);
    if (targets_.UpdateMeasureTimeEstimate)
        targets_.UpdateMeasureTimeEstimate();
}

void MainWindow::ShowConnectionWindow(int32_t kind)
{
    if (forms_.connectionWindow)
        forms_.connectionWindow->openForKind(kind);
}

void MainWindow::connectAnalyzerUsb()
{
    ShowConnectionWindow(2);
}

void MainWindow::connectAnalyzerTcp()
{
    ShowConnectionWindow(3);
}

void MainWindow::connectGpsReceiver()
{
    ShowConnectionWindow(4);
}

void MainWindow::connectAnalyzerSerial()
{
    ShowConnectionWindow(5);
}
