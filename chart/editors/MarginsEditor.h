#ifndef ZENDRIK_CHART_EDITORS_MARGINSEDITOR_H
#define ZENDRIK_CHART_EDITORS_MARGINSEDITOR_H

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QRadioButton;
class QSpinBox;
class TMargins;

// "MarginsEditor": the units and the four margins of a text box, written as they change.
class TMarginsEditor : public QWidget {
    Q_OBJECT
public:
    explicit TMarginsEditor(QWidget* parent = nullptr);

    void RefreshControls(TMargins& margins);
    TMargins* Margins() const { return margins_; }

    QGroupBox* unitsGroup;              // "&Units:"
    QRadioButton* percentFontRadio;     // "Percent &Font"
    QRadioButton* percentSizeRadio;     // "P&ercent Size"
    QRadioButton* pixelsRadio;          // "P&ixels"
    QSpinBox* leftSpin;                 // "&Left:" -32000..32000
    QSpinBox* topSpin;                  // "&Top:"
    QSpinBox* rightSpin;                // "&Right:"
    QSpinBox* bottomSpin;               // "&Bottom:"

private:
    TMargins* margins_ = nullptr;
    QButtonGroup* units_;
    bool filling_ = false;
};

// The margins editor as a page's content.
TMarginsEditor* CreateMarginsEditorPage(QWidget* page, TMargins& margins);

#endif
