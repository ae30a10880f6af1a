#ifndef ZENDRIK_CHART_EDITORS_FONTEDITOR_H
#define ZENDRIK_CHART_EDITORS_FONTEDITOR_H

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TBackImageEditor;
class TButtonColor;
class TButtonPen;
class TFont;
class TPlotFont;
class TPlotGradientEditor;
class TPlotShadowEditor;
struct EditorDialogs;

// "PlotFont Editor": a chart font's face, size, style, colour, spacing and outline, and pages for
// its shadow, gradient and picture that are made when first shown. Embedded only.
class TPlotFontEditor : public QWidget {
    Q_OBJECT
public:
    explicit TPlotFontEditor(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    void RefreshControls(TPlotFont& font);
    TPlotFont* Font() const { return font_; }

    QTabWidget* pages;
    QWidget* fontPage;                 // "Font"
    QComboBox* nameCombo;              // "&Name:"
    QSpinBox* sizeSpin;                // "&Size:" 1..1500
    QGroupBox* styleGroup;             // "Style:"
    QCheckBox* italicCheck;            // "&Italic"
    QCheckBox* boldCheck;              // "&Bold"
    QCheckBox* strikeoutCheck;         // "Strikeout"
    QCheckBox* underlineCheck;         // "&Underline"
    TButtonColor* colorButton;         // "&Color..."
    QPushButton* editButton;           // "&Edit..."
    QWidget* optionsPage;              // "Options"
    QSpinBox* interCharSpin;           // "&Inter-char spacing:" -100..100
    TButtonPen* outlineButton;         // "&Outline..."
    QCheckBox* outlineGradientCheck;   // "O&utline gradient"
    QWidget* shadowPage;               // "Shadow"
    QWidget* gradientPage;             // "Gradient"
    QWidget* picturePage;              // "Picture"

    // The editors of the later pages; null until their page was shown.
    TPlotShadowEditor* ShadowEditor() const { return shadowEditor_; }
    TPlotGradientEditor* GradientEditor() const { return gradientEditor_; }
    TBackImageEditor* PictureEditor() const { return pictureEditor_; }

private:
    void Fill();
    void PageShown(int index);
    void StyleBit(int bit, bool on);
    void EditFont();

    const EditorDialogs& dialogs_;
    TPlotFont* font_ = nullptr;
    TPlotShadowEditor* shadowEditor_ = nullptr;
    TPlotGradientEditor* gradientEditor_ = nullptr;
    TBackImageEditor* pictureEditor_ = nullptr;
    bool filling_ = false;
};

// The font dialog on a copy of the font; on OK the font takes the chosen face, size and style.
bool ShowFontDialog(const EditorDialogs& dialogs, QWidget* owner, TFont& font);
// The font editor as a page's content, filling it.
TPlotFontEditor* CreateFontEditorPage(const EditorDialogs& dialogs, QWidget* page, TPlotFont& font);

#endif
