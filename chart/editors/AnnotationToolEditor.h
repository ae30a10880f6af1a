#ifndef ZENDRIK_CHART_EDITORS_ANNOTATIONTOOLEDITOR_H
#define ZENDRIK_CHART_EDITORS_ANNOTATIONTOOLEDITOR_H

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TAnnotationTool;
class TButtonPen;
class TFormPlotShape;
class TMarginsEditor;
struct EditorDialogs;

// The text of an annotation separates its lines with a carriage return; a memo separates them
// with a line feed. Showing takes CR LF and CR as line breaks and drops stray line feeds (the
// chart drops them too); storing turns every line break into one CR.
QString AnnotationTextToMemo(const QString& text);
QString MemoToAnnotationText(const QString& memo);

// The pages of an annotation tool, embedded in the editor of the chart that holds it: text and
// its options, position, size, callout and margins, and the box's shape pages on the same page
// control. Every change is written at once.
class TAnnotationToolEdit : public QWidget {
    Q_OBJECT
public:
    explicit TAnnotationToolEdit(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    // Stores the tool and copies it into every control, the shape and margins pages included.
    void RefreshControls(TAnnotationTool& tool);
    TAnnotationTool* Tool() const { return tool_; }
    TFormPlotShape* ShapeEditor() const { return shapeEditor_; }
    TMarginsEditor* MarginsEditor() const { return marginsEditor_; }

    QTabWidget* pages;
    QWidget* optionsPage;              // "Options"
    QPlainTextEdit* textMemo;
    QComboBox* alignmentCombo;         // "Text &alignment:" "Left", "Center", "Right"
    QLabel* cursorLabel;               // "&Cursor:"
    QComboBox* cursorCombo;            // cursor names, sorted
    QCheckBox* visibleCheck;           // "&Visible": the box's frame and fill
    QCheckBox* clipTextCheck;          // "C&lip Text"
    QPushButton* editButton;           // "&Edit..."
    QWidget* positionPage;             // "Position"
    QComboBox* positionCombo;          // "&Auto:" one item per TAnnotationPosition
    QCheckBox* customCheck;            // "&Custom"
    QSpinBox* leftSpin;                // "L&eft:" -32000..32000, steps of 5
    QSpinBox* topSpin;                 // "T&op:"
    QComboBox* unitsCombo;             // "&Units:" "Percent", "Pixels"
    QWidget* sizePage;                 // "Size"
    QCheckBox* autoSizeCheck;          // "&Automatic"
    QSpinBox* widthSpin;               // "&Width:" 0..32000
    QSpinBox* heightSpin;              // "&Height:"
    QWidget* calloutPage;              // "Callout"
    TButtonPen* calloutBorderButton;   // "&Border...": the callout's arrow line
    QPushButton* pointerButton;        // "&Pointer..."
    QLineEdit* xEdit;                  // "&X:"
    QLineEdit* yEdit;                  // "&Y:"
    QLineEdit* zEdit;                  // "&Z:"
    QSpinBox* distanceSpin;            // "&Distance:" -32000..32000
    QComboBox* arrowHeadCombo;         // "&Arrow head:" "None", "Line", "Solid"
    QSpinBox* arrowHeadSizeSpin;       // "&Size:" -10000..10000
    QWidget* marginsPage;              // "Margins"

protected:
    const EditorDialogs& Dialogs() const { return dialogs_; }

private:
    void BuildOptionsPage();
    void BuildPositionPage();
    void BuildSizePage();
    void BuildCalloutPage();
    void ConnectControls();
    void FillPosition();
    void EnableControls();
    void UnitsChosen(int index);
    void EditText();
    void WriteCalloutPosition(QLineEdit* edit);
    template <class Fn>
    void Write(Fn&& change);

    const EditorDialogs& dialogs_;
    TAnnotationTool* tool_ = nullptr;
    TFormPlotShape* shapeEditor_;
    TMarginsEditor* marginsEditor_;
    QLabel* leftLabel_;
    QLabel* topLabel_;
    QLabel* unitsLabel_;
    QLabel* widthLabel_;
    QLabel* heightLabel_;
    bool filling_ = false;
};

#endif
