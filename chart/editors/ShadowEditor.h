#ifndef ZENDRIK_CHART_EDITORS_SHADOWEDITOR_H
#define ZENDRIK_CHART_EDITORS_SHADOWEDITOR_H

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class TButtonColor;
class TPlotShadow;
struct EditorDialogs;

// "Shadow editor": edits a shadow in place, modally (with "OK") or as an embedded page.
class TPlotShadowEditor : public QDialog {
    Q_OBJECT
public:
    explicit TPlotShadowEditor(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    // Stores the shadow and copies its values into the controls.
    void RefreshControls(TPlotShadow& shadow);
    TPlotShadow* Shadow() const { return shadow_; }

    QCheckBox* visibleCheck;       // "&Visible"
    TButtonColor* colorButton;     // "&Color..."
    QSlider* colorTrack;           // luminance 0..240
    QSpinBox* transparencySpin;    // "&Transparency:" 0..100
    QGroupBox* sizeGroup;          // "Size:"
    QSpinBox* horizSpin;           // "&Horiz:" -1000..1000
    QSpinBox* vertSpin;            // "V&ert:" -1000..1000
    QCheckBox* smoothCheck;        // "&Smooth"
    QSlider* blurTrack;            // "&Blur:" -75..75
    QCheckBox* clipCheck;          // "Cl&ip"
    QPushButton* okButton;         // "OK", shown in modal use only

    // As a page, Enter and Esc neither close nor hide it.
    void accept() override;
    void reject() override;

private:
    void SplitColour();
    void EnableControls();
    template <class Fn>
    void Write(Fn&& change);

    TPlotShadow* shadow_ = nullptr;
    QLabel* horizLabel_;
    QLabel* vertLabel_;
    QLabel* blurLabel_;
    int hue_ = 0;
    int saturation_ = 0;
    bool filling_ = false;
};

// Shows the shadow editor modally for a shadow; true on OK.
bool ShowShadowEditor(const EditorDialogs& dialogs, QWidget* owner, TPlotShadow& shadow);
// The shadow editor as a page's content, without its "OK".
TPlotShadowEditor* CreateShadowEditorPage(const EditorDialogs& dialogs, QWidget* page, TPlotShadow& shadow);

#endif
