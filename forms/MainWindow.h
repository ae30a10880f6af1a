#ifndef ZENDRIK_FORMS_MAINWINDOW_H
#define ZENDRIK_FORMS_MAINWINDOW_H

#include <QList>
#include <QMainWindow>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QAction;
class QMenu;
class QPushButton;
struct AppContext;
struct InstrumentState;
struct MainWindowState;
struct FormServices;
struct Forms;

// The main window. Its panels are filled in by the subsystems that own them.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext& app, InstrumentState& instrument, MainWindowState& state, Forms& forms,
               FormServices& services, const QStringList& arguments, const QString& programFolder);

    // The creation handler: puts every control and the program's globals into their start-up state.
    void startUp();
    void showLogger();         // "Show Log"
    void createSettingsFile(); // "Create ini File"
    void switchDebugMode();    // "Debug"

    // "Device" menu: each shows the connection window prepared for its kind of connection.
    void connectAnalyzerUsb();    // "SA USB"
    void connectAnalyzerTcp();    // "SA TCP"
    void connectGpsReceiver();    // "GPS USB"
    void connectAnalyzerSerial(); // "SA SER"
    void testWinUsb();            // no menu item calls it

    void showColorSettings(); // "Edit Colors"

    // "Setup" menu: the table editor for one kind of table.
    void editLimits();   // "Edit Limit"
    void editCable();    // "Edit Cable"
    void editLisn();     // "Edit LISN"
    void editGain();     // "Edit Gain"
    void editAntenna();  // "Edit Antenna"
    void editSegments(); // "Edit Segments"

    // Controls; each objectName is the designer's name.
    QGroupBox* messagesGroup = nullptr;         // GroupBox3 "Messages"
    QPlainTextEdit* messageLog = nullptr;       // Memo1, the operator's message log
    QPushButton* showLogButton = nullptr;       // Button1 "Show Log", debug only
    QPushButton* createIniFileButton = nullptr; // Button19 "Create ini File", debug only
    QLabel* debugLabel = nullptr;               // Label2, debug only
    QCheckBox* debugCheckBox = nullptr;         // CheckBox1 "Debug"
    QAction* saUsbAction = nullptr;             // Visa1 "SA USB"
    QAction* saTcpAction = nullptr;             // CP1 "SA TCP"
    QAction* gpsUsbAction = nullptr;            // GPS1 "GPS USB"
    QAction* saSerialAction = nullptr;          // SASER1 "SA SER"
    QAction* editColorsAction = nullptr;        // EditColors1 "Edit Colors"
    QAction* editLimitAction = nullptr;         // N1 "Edit Limit"
    QAction* editCableAction = nullptr;         // EditCable1 "Edit Cable"
    QAction* editLisnAction = nullptr;          // EditLISN1 "Edit LISN"
    QAction* editGainAction = nullptr;          // EditAmplifier1 "Edit Gain"
    QAction* editAntennaAction = nullptr;       // EditAntenna1 "Edit Antenna"
    QAction* editSegmentsAction = nullptr;      // EditSegments1 "Edit Segments"
    // The status bar's eight panels; the instrument layer writes panels 0 and 3.
    QList<QLabel*> statusPanels;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildMenuAndStatusBar();
    void BuildTableEditorLaunchers(QMenu* setup);
    void LaunchTableEditor(int32_t kind);
    void ShowConnectionWindow(int32_t kind);

    AppContext& app_;
    InstrumentState& instrument_;
    MainWindowState& state_;
    Forms& forms_;
    FormServices& services_;
    QStringList arguments_;
    QString programFolder_;
};

#endif
