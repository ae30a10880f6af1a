#include "forms/Program.h"

#include "app/AppContext.h"
#include "forms/AboutWindow.h"
#include "forms/ColorSettingsWindow.h"
#include "forms/ConnectionWindow.h"
#include "forms/CsvExportWindow.h"
#include "forms/FunctionMatrixWindow.h"
#include "forms/InstrumentLoggerServices.h"
#include "forms/LoggerWindow.h"
#include "forms/MainWindow.h"
#include "forms/ReportHeaderWindow.h"
#include "forms/MailSetupWindow.h"
#include "forms/TableEditorWindow.h"
#include "forms/TcpConnectionWindow.h"
#include "forms/WhatsNewWindow.h"
#include "instrument/InstrumentState.h"
#include "mainwindow/MainWindowState.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

Program::Program(AppContext& app, const QStringList& arguments, const QString& programFolder)
    : app_(app), arguments_(arguments), programFolder_(programFolder),
      instrument_(std::make_unique<InstrumentState>()), mainState_(std::make_unique<MainWindowState>())
{
    services_.requestTerminate = [this] { RequestTerminate(); };
    app_.LoggerHooks = std::make_unique<InstrumentLoggerServices>(app_, *instrument_);
    services_.showMessage = [](const QString& text) { QMessageBox::information(nullptr, QString(), text); };
    services_.showError = [](const QString& text) { QMessageBox::critical(nullptr, QString(), text); };
}

Program::~Program()
{
    // Later windows may refer to earlier ones: destroy in reverse order of creation.
    forms_ = Forms{};
    // The hooks refer to the instrument state this object owns.
    app_.LoggerHooks = std::make_unique<LoggerServices>();
    while (!windows_.empty())
        windows_.pop_back();
}

template <class T, class... Args> T* Program::Create(Args&&... args)
{
    auto window = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = window.get();
    order_.push_back(raw);
    windows_.push_back(std::move(window));
    return raw;
}

void Program::CreateForms()
{
    // The main window's start-up runs inside its construction, before any other window exists.
    forms_.mainWindow = Create<MainWindow>(app_, *instrument_, *mainState_, forms_, services_, arguments_,
                                             programFolder_);
    connect(forms_.mainWindow, &MainWindow::closed, this, [] { QCoreApplication::quit(); });
    forms_.loggerWindow = Create<LoggerWindow>(app_);
    forms_.tableEditorWindow = Create<TableEditorWindow>(app_, services_, mainState_->Table);
    forms_.mainWindow->enableCoverageFeature();
    forms_.connectionWindow = Create<ConnectionWindow>(app_, *instrument_, services_);
    forms_.aboutWindow = Create<AboutWindow>(app_, forms_);
    forms_.reportHeaderWindow = Create<ReportHeaderWindow>(app_, reportHeader_, services_);
    forms_.colorSettingsWindow = Create<ColorSettingsWindow>(app_, mainState_->ColorEditor);
    forms_.csvExportWindow = Create<CsvExportWindow>(app_);
    forms_.tcpConnectionWindow = Create<TcpConnectionWindow>(app_);
    forms_.whatsNewWindow = Create<WhatsNewWindow>(app_);
    forms_.functionMatrixWindow = Create<FunctionMatrixWindow>(app_);
    forms_.mailSetupWindow = Create<MailSetupWindow>(app_, mail_);
    forms_.mainWindow->wireLaterWindows(reportHeader_);
    forms_.mainWindow->setMailSettings(mail_, MailTransport{});
}

void Program::RequestTerminate()
{
    terminateRequested_ = true;
    if (loopRunning_)
        QCoreApplication::quit();
}

int Program::Run()
{
    // Other windows may stay open; the program still ends with its main window.
    qApp->setQuitOnLastWindowClosed(false);
    if (forms_.mainWindow)
        forms_.mainWindow->show();
    if (terminateRequested_)
        QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    loopRunning_ = true;
    const int code = QCoreApplication::exec();
    loopRunning_ = false;
    return code;
}
