#ifndef ZENDRIK_FORMS_MAINMENUS_H
#define ZENDRIK_FORMS_MAINMENUS_H

#include "instrument/DeviceState.h"
#include "mainwindow/MainMode.h"

#include <QObject>
#include <array>
#include <cstdint>

class QAction;
enum class TableKind;
class QMenu;
class QMenuBar;
struct RunControls;

// The main window's menus: "File", "Device", "Setup", "Mode", "Measure", "Utilities" and
// "About". Each entry says what was chosen; the main window acts on it.
class MainMenus : public QObject {
    Q_OBJECT
public:
    MainMenus(QMenuBar& bar, QObject* parent);

    // "SA SER" is not offered.
    void startUp();
    // While a run owns the analyser and the traces nothing may reach either: the connection kinds,
    // loading projects and reference traces; "Measure" also waits while another view owns the
    // analyser. While anyone holds the analyser (analyserHeld) the connection kinds and loading
    // projects, whose grid rows reach it, wait too.
    void showRunControls(const RunControls& controls, bool otherOwner, bool analyserHeld);
    // A chart loads only without a run, a compensation also while the grid is handed back.
    void followChartFiles(bool runBusy, bool gridLocked);
    // The table editor's creation offers the coverage feature: "GPS USB" and the "Mode" menu.
    void enableCoverageFeature();

signals:
    void loadProjectChosen();
    void saveProjectChosen();
    void exitChosen();
    // "SA USB", "SA TCP", "GPS USB", "SA SER".
    void connectionChosen(LinkKind kind);
    // "Edit Limit" .. "Edit Segments": the table editor for that kind of table.
    void tableEditorChosen(TableKind kind);
    void reportHeaderChosen();
    void colorsChosen();
    void mailAlertChosen();
    // "EMC", "RF Coverage", "Generator".
    void modeChosen(MainMode mode);
    void measurePeaksChosen(bool considerDrift);
    void saveChartChosen();
    void loadChartChosen();
    void saveCompensationChosen();
    void loadCompensationChosen();
    // "Trace1", "Trace2", "Trace 3" of "Load Reference Trace".
    void referenceTraceChosen(int slot);
    void csvExportChosen();
    void wmfExportChosen();
    void printReportChosen();
    void aboutChosen();
    void whatsNewChosen();
    void functionMatrixChosen();

private:
    QAction* loadProjectAction = nullptr;       // load1 "Load Proj"
    QAction* saveProjectAction = nullptr;       // updateexisting1 "Save Proj"
    QAction* exitAction = nullptr;              // "Exit"
    QAction* saUsbAction = nullptr;             // Visa1 "SA USB"
    QAction* saTcpAction = nullptr;             // CP1 "SA TCP"
    QAction* gpsUsbAction = nullptr;            // GPS1 "GPS USB"
    QAction* saSerialAction = nullptr;          // SASER1 "SA SER"
    QAction* editLimitAction = nullptr;         // N1 "Edit Limit"
    QAction* editCableAction = nullptr;         // EditCable1 "Edit Cable"
    QAction* editLisnAction = nullptr;          // EditLISN1 "Edit LISN"
    QAction* editGainAction = nullptr;          // EditAmplifier1 "Edit Gain"
    QAction* editAntennaAction = nullptr;       // EditAntenna1 "Edit Antenna"
    QAction* editSegmentsAction = nullptr;      // EditSegments1 "Edit Segments"
    QAction* editReportAction = nullptr;        // EditReport1 "Edit Report"
    QAction* editColorsAction = nullptr;        // EditColors1 "Edit Colors"
    QAction* mailAlertAction = nullptr;         // "Mail Alert"
    QMenu* modeMenu = nullptr;                  // "Mode"
    QAction* emcModeAction = nullptr;           // EMC1 "EMC"
    QAction* coverageModeAction = nullptr;      // Power1 "RF Coverage"
    QAction* generatorModeAction = nullptr;     // G1 "Generator"
    QAction* measureDriftAction = nullptr;      // Meassure1 "Measure (consider drift)"
    QAction* measureExactAction = nullptr;      // Measure21 "Measure (ignore drift)"
    QAction* saveChartAction = nullptr;         // SaveChart1 "Save Chart"
    QAction* loadChartAction = nullptr;         // LoadChart1 "Load Chart"
    QAction* saveCompensationAction = nullptr;  // SaveasZero1 "Save Zero Compensation"
    QAction* loadCompensationAction = nullptr;  // LoadCompensation1 "Load Zero Compensation"
    std::array<QAction*, 3> loadReferenceActions{}; // race11 "Trace1", race21 "Trace2", race31 "Trace 3"
    QAction* saveCsvAction = nullptr;           // "Save as CSV File "
    QAction* saveWmfAction = nullptr;           // Preview1 "Save as WMF File"
    QAction* printReportAction = nullptr;       // Chart2 "Print Report"
    QAction* aboutAction = nullptr;             // About2 "About"
    QAction* whatsNewAction = nullptr;          // WhatsNew1 "What's New"
    QAction* functionMatrixAction = nullptr;    // "Function Matrix"
};

#endif
