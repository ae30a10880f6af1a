#ifndef ZENDRIK_CHART_EDITORS_SERIESPOINTEREDITOR_H
#define ZENDRIK_CHART_EDITORS_SERIESPOINTEREDITOR_H

#include "chart/canvas/PlotColor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class TButtonPen;
class TCallout;
class TCustomSeries;
class TSeriesPointer;
struct EditorDialogs;

// The point symbol of a series, or a pointer on its own (a callout's), edited in place: every
// change is written at once. Embedded as a page, or modal with its "Close" button.
class TSeriesPointerEditor : public QDialog {
    Q_OBJECT
public:
    explicit TSeriesPointerEditor(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    // The series' pointer, with the series' own "&Color Each " and "&Ignore nulls".
    void RefreshControls(TCustomSeries& series);
    // A pointer alone: the two series boxes are hidden.
    void RefreshControls(TSeriesPointer& pointer);
    TSeriesPointer* Pointer() const { return pointer_; }
    TCustomSeries* Series() const { return series_; }
    // The colour the style list draws its symbols in: the pointer's, or its series' colour while
    // the pointer's is automatic.
    TColor SymbolColor() const;

    QGroupBox* pointerGroup;
    QCheckBox* visibleCheck;          // "&Visible"
    QComboBox* styleCombo;            // "&Style:", one item per TSeriesPointerStyle
    QSpinBox* widthSpin;              // "&Width:" 1..1000
    QSpinBox* heightSpin;             // "&Height:" 1..1000
    QCheckBox* draw3DCheck;           // "&3D"
    QCheckBox* dark3DCheck;           // "Dar&k 3D"
    QCheckBox* inflateMarginsCheck;   // "Inflate &Margins"
    QSlider* transparencyTrack;       // "&Transparency:" 0..100
    QPushButton* patternButton;       // "&Pattern..."
    QCheckBox* defaultCheck;          // "&Default"
    TButtonPen* borderButton;         // "B&order..."
    QPushButton* shadowButton;        // "Sh&adow..."
    QPushButton* gradientButton;      // "&Gradient...", hidden
    QCheckBox* colorEachCheck;        // "&Color Each "
    QCheckBox* ignoreNullsCheck;      // "&Ignore nulls"
    QWidget* closePanel;              // shown in modal use only
    QPushButton* closeButton;         // "Close"

    // As a page, Enter and Esc neither close nor hide it.
    void accept() override;
    void reject() override;

private:
    void Fill();
    void FillDefault();
    void EnableControls();
    bool Can3D() const;
    void SetSize(bool horizontal, int value);
    void DefaultClicked(bool checked);
    template <class Fn>
    void Write(Fn&& change);

    const EditorDialogs& dialogs_;
    TSeriesPointer* pointer_ = nullptr;
    TCustomSeries* series_ = nullptr;
    QLabel* styleLabel_;
    QLabel* widthLabel_;
    QLabel* heightLabel_;
    QLabel* transparencyLabel_;
    bool filling_ = false;
};

// The pointer editor as the modal "Pointer" dialog of a callout: "Inflate &Margins" and
// "&Color Each " hidden, "Close" shown. True when closed with "Close".
bool ShowCalloutPointerEditor(const EditorDialogs& dialogs, QWidget* owner, TCallout& callout);

#endif
