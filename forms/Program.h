#ifndef ZENDRIK_FORMS_PROGRAM_H
#define ZENDRIK_FORMS_PROGRAM_H

#include "forms/FormServices.h"
#include "forms/Forms.h"
#include "mail/MailSettings.h"
#include "reports/ReportHeader.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

class QWidget;
struct AppContext;
struct InstrumentState;
struct MainWindowState;

// Creates every window once, in the fixed order, and runs the message loop until the main
// window closes or termination is requested.
class Program : public QObject {
    Q_OBJECT
public:
    Program(AppContext& app, const QStringList& arguments, const QString& programFolder);
    ~Program() override;

    // Services the windows use; tests replace showMessage and versionIndex before CreateForms.
    FormServices& Services() { return services_; }
    Forms& Windows() { return forms_; }
    // The instrument's sessions, identity and status texts, shared by the windows.
    InstrumentState& Instrument() { return *instrument_; }
    // The mail account and alert switches, edited by the mail setup window.
    MailSettings& Mail() { return mail_; }
    // The report header items, edited by the report header window and printed by the report.
    ReportHeaderItems& ReportHeader() { return reportHeader_; }
    // The main window's state that later windows change (its colours).
    MainWindowState& MainState() { return *mainState_; }
    // The windows in the order they were created.
    const std::vector<QWidget*>& CreationOrder() const { return order_; }

    void CreateForms();
    // Shows the main window and runs the loop; returns the loop's exit code.
    int Run();
    // Ends the program. Qt drops a quit asked for before the loop runs, so a request made while
    // the windows are being created is kept and carried out once the loop has started.
    void RequestTerminate();
    bool TerminateRequested() const { return terminateRequested_; }

private:
    template <class T, class... Args> T* Create(Args&&... args);

    AppContext& app_;
    QStringList arguments_;
    QString programFolder_;
    FormServices services_;
    std::unique_ptr<InstrumentState> instrument_;
    MailSettings mail_;
    ReportHeaderItems reportHeader_;
    std::unique_ptr<MainWindowState> mainState_;
    Forms forms_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    std::vector<QWidget*> order_;
    bool terminateRequested_ = false;
    bool loopRunning_ = false;
};

#endif
