#ifndef ZENDRIK_CHART_EDITORS_AXISINCREMENT_H
#define ZENDRIK_CHART_EDITORS_AXISINCREMENT_H

#include "chart/canvas/DateTimeSteps.h"

#include <QDialog>
#include <QString>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct EditorDialogs;

// A date-time increment as the dialog shows it: whole days, then a blank and the time of the
// fraction ("1 12:00:00"); below one day the time alone; 0 or less shows one second.
QString DateTimeIncrementText(double increment);
// The days of such a text: "<days> <hh:nn:ss>", a number of days, or a time ("hh:nn" or
// "hh:nn:ss", 24 hours). None, with the reason, when the text is none of them.
std::optional<double> ReadDateTimeIncrement(const QString& text, QString& reason);

// "Axis Increment": the step of an axis (or the period of a function) as a number, a span of
// days and time, or one of the standard date-time steps.
class TAxisIncrement : public QDialog {
    Q_OBJECT
public:
    explicit TAxisIncrement(const EditorDialogs& dialogs, QWidget* parent = nullptr);

    bool IsDateTime = false;
    bool IsExact = false;
    double Increment = 0.0;                 // in days on a date-time axis
    int StepIndex = DateTimeStepCount;      // DateTimeStepCount: no standard step

    // Copies the fields into the controls.
    void RefreshControls();
    // RefreshControls, then the dialog through the modal hook; true on OK, the fields updated.
    bool Execute();

    QGroupBox* incrementGroup;      // "Increment:"
    QRadioButton* standardRadio;    // "&Standard:"
    QRadioButton* customRadio;      // "&Custom:"
    QComboBox* stepCombo;           // the standard steps, "One Microsecond" ... "One Year"
    QLabel* incrementLabel;         // "&Increment:"
    QLineEdit* incrementEdit;
    QCheckBox* exactCheck;          // "&Exact Date Time"
    QPushButton* okButton;          // "OK"
    QPushButton* cancelButton;      // "Cancel"

private:
    void ChooseStandard();
    void ChooseCustom();
    void ShowIncrementText();
    void OkClicked();
    bool ReadIncrement(double& value, QString& reason) const;

    const EditorDialogs& dialogs_;
    QString shownText_;     // what the edit showed of Increment
    bool filling_ = false;
};

#endif
