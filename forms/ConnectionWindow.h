#ifndef ZENDRIK_FORMS_CONNECTIONWINDOW_H
#define ZENDRIK_FORMS_CONNECTIONWINDOW_H

#include "forms/WindowScpiContext.h"
#include "instrument/InstrumentConnection.h"

#include <QDialog>
#include <cstdint>
#include <functional>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
struct AppContext;
struct FormServices;
struct InstrumentState;
enum class LinkKind : int32_t;

// "Connect VISA USB": instrument search, connection and the service buttons. The work is done
// by the connection logic of the instrument layer; the handlers read the controls and show what
// comes back.
class ConnectionWindow : public QDialog {
    Q_OBJECT
public:
    ConnectionWindow(AppContext& app, InstrumentState& instrument, FormServices& services);
    ~ConnectionWindow() override;

    // What a "Device" menu item does before it shows the window: the connection kind, the
    // caption, the controls of that kind.
    void prepareForKind(LinkKind kind);
    // A "Device" menu item: the window prepared for its kind and shown, modal for the operator
    // while the message loop keeps running. "SA SER" prepares it only when the kind changes, so
    // that a serial resource typed before stays.
    void openForKind(LinkKind kind);
    // "Rd DSA Status" is offered in debug mode only.
    void showDebugControls(bool shown);

    void searchInstruments();    // "Search"
    void selectInstrument();     // a click on the instrument list
    void connectVisa();          // "Connect Visa"
    void disconnectVisa();       // "Disconnect Visa"
    void saveIpAddress();        // leaving the IP address field
    void sendScpiCommand();      // "SND SCPI"
    void showVisaVersion();      // "Get Visa Version"
    void showInstrumentInfo();   // "Get Info"
    void showInstrumentStatus(); // "Rd DSA Status"
    void testUsbClaim();           // "Connect WinUSB"
    void connectSerial();        // "Connect Visa" of the serial kinds
    void readGpsRmc();           // "RD RMC"

    // The command context of the window (tests reach the instrument through it).
    ScpiContext& context() { return *context_; }
    // The line that says the generator is on or may be on, empty while its output is off: after a
    // disconnect nothing here can switch it off any more, and the operator is told.
    std::function<QString()> generatorOnLine;

signals:
    // After a connection attempt: the main window recomputes its measurement mode and time
    // estimate, and sets its controls for the family.
    void connected(const FamilyControls& controls);
    // After "RD RMC": the coverage view shows the receiver's fields.
    void gpsRead();

private:
    // Controls; each objectName is the designer's name.
    QListWidget* instrumentList = nullptr;      // ListBox1, what a search found
    QListWidget* resourceList = nullptr;        // ListBox2, hidden: the bare resource texts
    QLineEdit* ipAddressEdit = nullptr;         // Edit1, hint "DSA IP"
    QLineEdit* resourceEdit = nullptr;          // Edit2, the resource to open
    QLineEdit* scpiCommandEdit = nullptr;       // Edit3 "*IDN?", a free SCPI command
    QPlainTextEdit* replyMemo = nullptr;        // Memo1, answers and information lines
    QStatusBar* statusLine = nullptr;           // StatusBar1
    QComboBox* serialPortCombo = nullptr;       // ComboBox1, serial port of the GPS and serial analyser kinds
    QPushButton* searchButton = nullptr;        // BitBtn3 "Search"
    QPushButton* connectButton = nullptr;       // BitBtn4 "Connect Visa"
    QPushButton* disconnectButton = nullptr;    // BitBtn5 "Disconnect Visa"
    QPushButton* getInfoButton = nullptr;       // BitBtn2 "Get Info"
    QPushButton* sendScpiButton = nullptr;      // Button3 "SND SCPI"
    QPushButton* visaVersionButton = nullptr;   // Button5 "Get Visa Version"
    QPushButton* readStatusButton = nullptr;    // Button6 "Rd DSA Status", debug only
    QPushButton* serialConnectButton = nullptr; // BitBtn6 "Connect Visa" of the serial kinds
    QPushButton* readRmcButton = nullptr;       // Button4 "RD RMC"
    QPushButton* winUsbButton = nullptr;        // BitBtn1 "Connect WinUSB"

    void BuildControls();
    void ShowUnsupported(const QString& message);
    void AddLines(const QStringList& lines);
    template <class F> void Guarded(F&& handler);
    bool AnalyserHeldElsewhere(const QString& what);

    AppContext& app_;
    InstrumentState& instrument_;
    FormServices& services_;
    WindowScpiContext context_;
    bool ownsErrorDialog_ = false;
    bool busy_ = false; // a handler is running (it may wait through the event pump)
};

#endif
