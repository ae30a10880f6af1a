#ifndef ZENDRIK_FORMS_MAINWINDOW_H
#define ZENDRIK_FORMS_MAINWINDOW_H

#include <QMainWindow>
#include <QList>
#include <QStringList>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QAction;
class QPushButton;
struct AppContext;
struct InstrumentState;
struct FormServices;
struct Forms;

// The main window. Its panels are filled in by the subsystems that own them.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext& app, InstrumentState& instrument, Forms& forms, FormServices& services,
               const QStringList& arguments, const QString& programFolder);

    void FormCreate();
    void Button1Click();  // "Show Log"
    void Button19Click(); // "Create ini File"
    void CheckBoxDebugClick();

    // "Device" menu: each shows the connection window prepared for its kind of connection.
    void Visa1Click();    // "SA USB"
    void CP1Click();      // "SA TCP"
    void GPS1Click();     // "GPS USB"
    void SASER1Click();   // "SA SER"
    void Connect1Click(); // WinUSB test; no menu item calls it

    // Controls keep their designer names.
    QGroupBox* GroupBox3 = nullptr;      // "Messages"
    QPlainTextEdit* Memo1 = nullptr;     // main message log
    QPushButton* Button1 = nullptr;      // "Show Log", debug only
    QPushButton* Button19 = nullptr;     // "Create ini File", debug only
    QLabel* Label2 = nullptr;            // debug only
    QCheckBox* CheckBoxDebug = nullptr;  // "Debug"
    QAction* Visa1 = nullptr;
    QAction* CP1 = nullptr;
    QAction* GPS1 = nullptr;
    QAction* SASER1 = nullptr;
    QWidget* StatusBar1 = nullptr;
    // The status bar's eight panels; the instrument layer writes panels 0 and 3.
    QList<QLabel*> StatusPanels;

signals:
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildMenuAndStatusBar();
    void ShowConnectionWindow(int32_t kind);

    AppContext& app_;
    InstrumentState& instrument_;
    Forms& forms_;
    FormServices& services_;
    QStringList arguments_;
    QString programFolder_;
};

#endif
