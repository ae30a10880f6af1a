#ifndef ZENDRIK_CHART_EDITORS_SHAPEEDITOR_H
#define ZENDRIK_CHART_EDITORS_SHAPEEDITOR_H

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TBackImageEditor;
class TButtonColor;
class TButtonPen;
class TPlotCustomShape;
class TPlotFontEditor;
class TPlotGradientEditor;
class TPlotShadowEditor;
struct EditorDialogs;

// The pages of a framed shape: fill, border, and text, gradient, shadow and picture pages that
// are made when first shown. Its pages usually move onto the page control of the editor that
// holds it (CreateShapeEditorPage).
class TFormPlotShape : public QWidget {
    Q_OBJECT
public:
    explicit TFormPlotShape(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    void RefreshControls(TPlotCustomShape& shape);
    TPlotCustomShape* Shape() const { return shape_; }
    // Moves the pages onto another page control and follows its page changes from then on.
    void MovePagesTo(QTabWidget* pageControl);
    // A "Visible" box for containers whose shape can be hidden; hidden until asked for.
    void ShowVisibleBox() const;

    QTabWidget* pages;
    QWidget* formatPage;               // "Format"
    TButtonColor* colorButton;         // "&Color..."
    QPushButton* patternButton;        // "&Pattern..."
    QCheckBox* transparentCheck;       // "&Transparent"
    QSpinBox* transparencySpin;        // "&Transparency:" 0..100
    QCheckBox* visibleCheck;           // "Visible"
    QWidget* borderPage;               // "Border"
    TButtonPen* frameButton;           // "&Frame..."
    QComboBox* bevelCombo;             // "&Bevel:" "None", "Lowered", "Raised"
    QSpinBox* bevelSizeSpin;           // "Siz&e:" 1..100
    QCheckBox* roundCheck;             // "&Round Frame"
    QSpinBox* roundSizeSpin;           // "Siz&e:" 0..500
    QWidget* textPage;                 // "Text"
    QWidget* gradientPage;             // "Gradient"
    QWidget* shadowPage;               // "Shadow"
    QWidget* picturePage;              // "Picture"

    TPlotFontEditor* FontEditor() const { return fontEditor_; }
    TPlotGradientEditor* GradientEditor() const { return gradientEditor_; }
    TPlotShadowEditor* ShadowEditor() const { return shadowEditor_; }
    TBackImageEditor* PictureEditor() const { return pictureEditor_; }

private:
    void Fill();
    void EnableControls();
    void PageShown(QWidget* page);
    void EditPattern();

    const EditorDialogs& dialogs_;
    TPlotCustomShape* shape_ = nullptr;
    QPointer<QTabWidget> pageControl_;
    TPlotFontEditor* fontEditor_ = nullptr;
    TPlotGradientEditor* gradientEditor_ = nullptr;
    TPlotShadowEditor* shadowEditor_ = nullptr;
    TBackImageEditor* pictureEditor_ = nullptr;
    bool filling_ = false;
};

// A shape editor whose pages are added to pageControl; the editor itself stays hidden, owned by
// the page control.
TFormPlotShape* CreateShapeEditorPage(const EditorDialogs& dialogs, QTabWidget* pageControl, TPlotCustomShape& shape);

#endif
