#ifndef ZENDRIK_FORMS_INSTRUMENTPANEL_H
#define ZENDRIK_FORMS_INSTRUMENTPANEL_H

#include "instrument/PanelCommands.h"
#include "instrument/ReferenceLevel.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QToolButton;
struct FamilyControls;

// The main window's instrument panel: what the operator switches on the analyser by hand (the
// preamplifier, the reference level) and the run's options that follow the connected family (VBW,
// EMI zero span, max. peak).
class InstrumentPanel : public QWidget {
    Q_OBJECT
public:
    explicit InstrumentPanel(QWidget* parent);

    // "seg" chosen; the zero-span boxes and the reference-level arrows hidden.
    void startUp();
    // The advanced settings "PreAmpBox" and "VbwBox" offer the two choices.
    void applyAdvancedSettings(bool preAmpBox, bool vbwBox);
    // After a connection: VBW back to "auto", offered where the family has it; the zero-span boxes
    // follow the family or keep their state.
    void applyFamilyControls(const FamilyControls& controls);
    // While a run, the generator or the coverage logging holds the analyser the preamplifier choice
    // and the arrows are greyed: nothing they send would reach it.
    void showAnalyserHeld(bool held);
    // The radio of what the analyser and the next set-up get (a refused click leaves it as it was).
    void showPreAmpChoice(PreAmpChoice choice);
    void showDebugControls(bool shown);
    bool emiZeroSpanOn() const;
    bool maxPeakZeroSpanOn() const;
    bool vbwThreeRbw() const;

signals:
    void preAmpChosen(PreAmpChoice choice);
    void referenceLevelStepped(RefLevelArrow arrow);
    void emiZeroSpanToggled();

private:
    QGroupBox* preAmpGroup = nullptr;              // GroupBox8 "PreAmp"
    std::array<QRadioButton*, 3> preAmpRadios{};   // RadioButton3 "seg", RadioButton4 "on", RadioButton5 "off"
    QGroupBox* vbwGroup = nullptr;                 // GroupBox9 "VBW"
    QRadioButton* vbwAutoRadio = nullptr;          // RadioButton6 "auto"
    QRadioButton* vbwThreeRbwRadio = nullptr;      // RadioButton7 "1:3"
    QCheckBox* emiZeroSpanCheckBox = nullptr;      // CheckBox21 "EMI(ZeroSpan)", debug only
    QCheckBox* maxPeakZeroSpanCheckBox = nullptr;  // CheckBox22 "mPk", debug only
    QWidget* refLevelSpin = nullptr;               // SpinButton1, hint "Ref Lev RSA5000", debug only
    QToolButton* refLevelUpButton = nullptr;
    QToolButton* refLevelDownButton = nullptr;
    QPushButton* readDsaButton = nullptr;          // Button16 "RD_DSA", debug only
};

#endif
