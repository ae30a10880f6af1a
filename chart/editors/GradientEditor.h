#ifndef ZENDRIK_CHART_EDITORS_GRADIENTEDITOR_H
#define ZENDRIK_CHART_EDITORS_GRADIENTEDITOR_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"
#include "chart/canvas/PlotGradient.h"

#include <QDialog>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QTabWidget;
class TButtonColor;
class TButtonGradient;
class TChartGalleryPanel;
struct EditorDialogs;

// One of the gradient editor's ready-made gradients.
struct TGradientPreset {
    const char* name;
    TColor startColor;
    TColor midColor;   // clNone: no middle colour
    TColor endColor;
    int balance;
    TGradientDirection direction;
};
// The 17 presets in their own order (the list shows them sorted by name).
const std::vector<TGradientPreset>& GradientPresets();

// A panel that paints only its gradient.
class TPreviewGradient : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewGradient(QWidget* parent = nullptr);
    TPlotGradient& Gradient() { return gradient_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPlotGradient gradient_;
};

// "Gradient Editor": edits a gradient in place, modally or as an embedded page; Cancel puts back
// what the gradient was when shown, in its own class (sub-gradient and font outline included).
class TPlotGradientEditor : public QDialog {
    Q_OBJECT
public:
    // flag: "&End..." and "S&wap" hidden, colours and direction editable while the gradient is
    // hidden. hideVisible: no "&Visible" box.
    TPlotGradientEditor(const EditorDialogs& dialogs, bool flag, bool hideVisible, QWidget* parent = nullptr);
    ~TPlotGradientEditor() override;

    // Stores the gradient, keeps a copy for Cancel and fills the controls.
    void RefreshControls(TCustomPlotGradient& gradient);
    TCustomPlotGradient* Gradient() const { return gradient_; }
    bool Modified() const { return modified_; }
    // Hides the "OK"/"Cancel" panel and shortens the form by its height (embedded use).
    void HideButtonPanel();

    QCheckBox* visibleCheck;          // "&Visible"
    QComboBox* directionCombo;        // "&Direction:"
    QTabWidget* pages;
    QWidget* defaultPage;             // "Default"
    QListWidget* presetList;          // item data: the preset's index
    TPreviewGradient* preview;
    QWidget* colorsPage;              // "Colors"
    TButtonColor* startButton;        // "&Start..."
    TButtonColor* middleButton;       // "&Middle..."
    TButtonColor* endButton;          // "&End..."
    QCheckBox* noMiddleCheck;         // "&No Middle"
    QPushButton* swapButton;          // "S&wap"
    QWidget* optionsPage;             // "Options"
    QScrollBar* balanceBar;           // "&Balance:" 0..100
    QLabel* balanceLabel;             // "##0.## %"
    QSlider* radialXTrack;            // "&Horiz:" -300..300
    QLabel* radialXLabel;
    QSlider* radialYTrack;            // "&Vert:" -300..300
    QLabel* radialYLabel;
    QSpinBox* angleSpin;              // "&Angle:" 0..360
    QWidget* directionsPage;          // "Directions"
    QWidget* subGradientPage;         // "SubGradient"
    QCheckBox* subVisibleCheck;       // "&Visible"
    QScrollBar* subTransparencyBar;   // "&Transparency:" 0..100
    TButtonGradient* subEditButton;   // "&Edit..."
    QWidget* buttonPanel;
    QPushButton* okButton;            // "OK"
    QPushButton* cancelButton;        // "Cancel"

    // The "Directions" page's ten charts (2 rows of 5, one per direction), made when the page
    // is first shown or asked for.
    TChartGalleryPanel* DirectionCharts();

    // As a page, Enter and Esc neither close nor hide it, and put nothing back.
    void accept() override;
    void reject() override;

private:
    void FillControls();
    void EnableControls();
    void RefreshPreview();
    template <class Fn>
    void Write(Fn&& change);
    void PresetChosen(int row);
    void NoMiddleClicked(bool checked);
    void Swap();
    void RefreshDirectionCharts();

    const EditorDialogs& dialogs_;
    bool flag_;
    TCustomPlotGradient* gradient_ = nullptr;
    std::unique_ptr<TCustomPlotGradient> backup_;
    QWidget* radialGroup_;
    TChartGalleryPanel* directionCharts_ = nullptr;
    bool modified_ = false;
    bool filling_ = false;
};

// Shows the gradient editor modally for a gradient; true on OK.
bool ShowGradientEditor(const EditorDialogs& dialogs, QWidget* owner, TCustomPlotGradient& gradient,
                        bool flag = false, bool hideVisible = false);
// The gradient editor as a page's content, without its "OK"/"Cancel" panel.
TPlotGradientEditor* CreateGradientEditorPage(const EditorDialogs& dialogs, QWidget* page,
                                              TCustomPlotGradient& gradient);

#endif
