#ifndef ZENDRIK_FORMS_SWEEPPANEL_H
#define ZENDRIK_FORMS_SWEEPPANEL_H

#include "app/MeasureSet.h"

#include <QWidget>
#include <array>

class ParameterGridModel;
class ParameterGridView;
class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
struct RunControls;

// The main window's sweep panel, its left column: the run buttons and their read-outs, the
// measurement set to run, "Beep" and the parameter grid.
class SweepPanel : public QWidget {
    Q_OBJECT
public:
    SweepPanel(ParameterGridModel& grid, QWidget* parent);

    // Idle: "Play" offered, "Stop" and "Pause" not, the grid open.
    void startUp();
    // The pass, the estimate, the time left and the note emptied, the progress at its start.
    void clearReadouts();
    // The set "MeasureSet" chooses.
    MeasureSet selectedSet() const;
    bool beepOn() const;
    // The run's published controls; "Play" waits while another view owns the analyser, and the
    // grid is handed back only while a run waits paused between segments.
    void showRunControls(const RunControls& controls, bool otherOwner, bool paused);
    // The status line's count-down of the time left.
    void showTimeLeft(const QString& text);
    void clearEstimate();

signals:
    void playClicked();
    void stopClicked();
    void pauseClicked();
    void setChosen();
    // The grid's value under the mouse.
    void hintChanged(const QString& text);

private:
    QPushButton* playButton = nullptr;        // BitBtn1 "Play"
    QPushButton* stopButton = nullptr;        // BitBtn2 "Stop"
    QPushButton* pauseButton = nullptr;       // BitBtn3 "Pause"
    QGroupBox* measureSetGroup = nullptr;     // "MeasureSet"
    PerSet<QRadioButton*> setRadios{}; // RadioButton1 "Set1", RadioButton2 "Set2"
    QCheckBox* beepCheckBox = nullptr;        // CheckBox17 "Beep"
    QLabel* passLabel = nullptr;              // Label3, pass counter
    QLabel* estimateLabel = nullptr;          // Label4, estimated time
    QLabel* remainingLabel = nullptr;         // Label5, time left
    QProgressBar* progressBar = nullptr;      // ProgressBar1
    ParameterGridView* parameterGrid = nullptr; // ValueListEditor1 "Parameter" / "Value"

    // The "time left" text the run gave last; the status line counts the label down between.
    QString remainingShown_;
};

#endif
