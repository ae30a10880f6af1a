#ifndef ZENDRIK_FORMS_MARKERPAGES_H
#define ZENDRIK_FORMS_MARKERPAGES_H

#include "app/MeasureSet.h"
#include "mainwindow/MarkerTab.h"
#include "mainwindow/ZoomRules.h"

#include <QTabWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
struct MainWindowColors;

// The main window's page control (PageControl1) beside the view panel: the "Marker" page (the
// markers of both sets, harmonics, the magnifier), the "Fader" page (what a zoom rectangle does)
// and the "Math" page (trace arithmetic).
class MarkerPages : public QTabWidget {
    Q_OBJECT
public:
    // The operands and the operator of "Calc", as indexes of their combo boxes.
    struct MathChoice {
        int first;
        int operation;
        int second;
    };

    explicit MarkerPages(QWidget* parent);

    // The "Marker" page in front.
    void startUp();
    // The boxes a click on the chart works with; after the click, the sets' "M" boxes as it left them.
    MarkerBoxes markerBoxes() const;
    void showArmed(const MarkerBoxes& boxes);
    bool showMarkerNumbers() const;
    // What a zoom rectangle does, as "fade" and "clr" say; "Undo zoom" leaves fading.
    FaderMode faderMode() const;
    void stopFading();
    MathChoice mathChoice() const;
    // "Math" ticked: the result is shown.
    void showMathResult();
    // Each set's "M" box in its corrected trace's colour.
    void tintMarkerBoxes(const MainWindowColors& colors);

signals:
    // A "show" box, "Show Markers" or "Harmonics" unticked: the chart draws its marks anew.
    void repaintRequested();
    // "Clear All" or "Clear Last" of a set.
    void clearMarkersClicked(MeasureSet set, bool all);
    void copyMarkersClicked();
    void clearLastFadeClicked();
    void magnifierToggled(bool on);
    void calcClicked();
    void mathToggled(bool shown);

private:
    // The controls of one set on the "Marker" page; the designer names are those of set 1 / set 2.
    struct SetControls {
        QCheckBox* arm = nullptr;            // CheckBox32 "M1" / CheckBox33 "M2"
        QCheckBox* show = nullptr;           // CheckBox34 / CheckBox35 "show"
        QPushButton* clearLast = nullptr;    // Button5 / Button7 "Clear Last"
        QPushButton* clearAll = nullptr;     // Button2 / Button9 "Clear All"
    };

    void MarkerArmed(MeasureSet set, bool checked);
    void ChooseFaderMode(FaderMode clicked, bool checked);

    PerSet<SetControls> setMarkers{};
    QPushButton* copyMarkersButton = nullptr;       // Button10 "Copy Markers"
    QCheckBox* showMarkerNumbersCheckBox = nullptr; // CheckBox15 "Show Markers"
    QCheckBox* harmonicsCheckBox = nullptr;         // CheckBox20 "Harmonics"
    QCheckBox* magnifyCheckBox = nullptr;           // CheckBox23 "Magnify"
    QCheckBox* fadeCheckBox = nullptr;              // CheckBox36 "fade"
    QCheckBox* clearFadeCheckBox = nullptr;         // CheckBox38 "clr"
    QPushButton* clearLastFadeButton = nullptr;     // Button14 "clear last"
    QComboBox* mathOperand1Combo = nullptr;         // ComboBox2, first operand
    QComboBox* mathOperatorCombo = nullptr;         // ComboBox1 "-", "+", "*", "/"
    QComboBox* mathOperand2Combo = nullptr;         // ComboBox3, second operand
    QPushButton* calcButton = nullptr;              // Button11 "Calc"
    QCheckBox* mathCheckBox = nullptr;              // CheckBox40 "Math"
};

#endif
