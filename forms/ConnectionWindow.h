#ifndef ZENDRIK_FORMS_CONNECTIONWINDOW_H
#define ZENDRIK_FORMS_CONNECTIONWINDOW_H

#include "instrument/InstrumentConnection.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QtEventPump;
struct AppContext;
struct FormServices;
struct InstrumentState;

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
    void PrepareForKind(int32_t kind);

    void BitBtn3Click(); // "Search"
    void ListBox1Click();
    void BitBtn4Click(); // "Connect Visa"
    void BitBtn5Click(); // "Disconnect Visa"
    void Edit1Exit();
    void Button3Click(); // "SND SCPI"
    void Button5Click(); // "Get Visa Version"
    void BitBtn2Click(); // "Get Info"
    void Button6Click(); // "Rd DSA Status"
    void BitBtn1Click(); // "Connect WinUSB"

    // The command context of the window (tests reach the instrument through it).
    ScpiContext& Context() { return *context_; }

    QListWidget* ListBox1 = nullptr;
    QListWidget* ListBox2 = nullptr; // hidden: the bare resource texts
    QLineEdit* Edit1 = nullptr;      // IP address
    QLineEdit* Edit2 = nullptr;      // resource text
    QLineEdit* Edit3 = nullptr;      // free SCPI command
    QPlainTextEdit* Memo1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // serial port of the GPS and serial analyser kinds
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr; // "Rd DSA Status", debug only
    QPushButton* BitBtn6 = nullptr; // "Connect Visa" of the serial kinds
    QPushButton* Button4 = nullptr; // "RD RMC"
    QPushButton* BitBtn1 = nullptr; // "Connect WinUSB"

signals:
    // After a connection attempt: the main window recomputes its measurement mode and time
    // estimate, and sets its controls for the family.
    void Connected(const FamilyControls& controls);

private:
    void BuildControls();
    void ShowUnsupported(const QString& message);
    void AddLines(const QStringList& lines);
    template <class F> void Guarded(F&& handler);

    AppContext& app_;
    InstrumentState& instrument_;
    FormServices& services_;
    std::unique_ptr<QtEventPump> ownPump_;
    std::unique_ptr<ScpiContext> context_;
    bool ownsErrorDialog_ = false;
};

#endif
