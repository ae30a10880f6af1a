#ifndef ZENDRIK_CHART_EDITORS_PENDIALOG_H
#define ZENDRIK_CHART_EDITORS_PENDIALOG_H

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TButtonColor;
class TChartPen;
class TPen;
struct EditorDialogs;

// "Border Editor": edits a pen in place; Cancel puts back what the pen was when shown.
class TPenDialog : public QDialog {
    Q_OBJECT
public:
    TPenDialog(TPen& pen, bool hideColor, const EditorDialogs& dialogs, QWidget* parent = nullptr);
    ~TPenDialog() override;

    TPen& Pen() const { return pen_; }
    bool Modified() const { return modified_; }

    QCheckBox* visibleCheck;     // "&Visible"
    QComboBox* styleCombo;       // "&Style:"
    QSpinBox* widthSpin;         // "&Width:" 1..100
    TButtonColor* colorButton;   // "&Color..."
    QComboBox* endStyleCombo;    // "Round", "Square", "Flat"
    QSpinBox* spaceSpin;         // "Sp&ace:" 1..100
    QPushButton* okButton;       // "OK"
    QPushButton* cancelButton;   // "Cancel"

    // Cancel: the pen takes back its values from the show, with one change event when changed.
    void reject() override;

private:
    void Fill();
    void SetSmallDotsControls(bool smallDots);
    void StyleChanged(int index);
    void WidthChanged(int value);
    void VisibleChanged(bool checked);
    void EndStyleChanged(int index);
    void SpaceChanged(int value);

    TPen& pen_;
    TChartPen* chartPen_;   // the pen when it is a chart pen
    std::unique_ptr<TChartPen> backup_;
    QLabel* widthLabel_;
    QLabel* spaceLabel_;
    bool modified_ = false;
    bool filling_ = false;
};

// Shows the pen dialog modally for a pen; "&Color..." hidden when hideColor. True on OK.
bool ShowPenEditor(const EditorDialogs& dialogs, QWidget* owner, TPen& pen, bool hideColor = false);

#endif
