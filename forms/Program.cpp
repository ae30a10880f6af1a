#include "forms/Program.h"

#include "app/AppContext.h"
#include "forms/InstrumentLoggerServices.h"
#include "forms/TForm1.h"
#include "forms/TForm10.h"
#include "forms/TForm11.h"
#include "forms/TForm12.h"
#include "forms/TForm15.h"
#include "forms/MailSetupWindow.h"
#include "forms/TForm2.h"
#include "forms/TForm3.h"
#include "forms/TForm4.h"
#include "forms/TForm6.h"
#include "forms/TForm8.h"
#include "forms/TForm9.h"
#include "instrument/InstrumentState.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

Program::Program(AppContext& app, const QStringList& arguments, const QString& programFolder)
    : app_(app), arguments_(arguments), programFolder_(programFolder), instrument_(std::make_unique<InstrumentState>())
{
    services_.RequestTerminate = [this] { RequestTerminate(); };
    app_.LoggerHooks = std::make_unique<InstrumentLoggerServices>(*instrument_, app_.Debug);
    services_.ShowMessage = [](const QString& text) { QMessageBox::information(nullptr, QString(), text); };
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
    forms_.Form1 = Create<TForm1>(app_, *instrument_, forms_, services_, arguments_, programFolder_);
    connect(forms_.Form1, &TForm1::Closed, this, [] { QCoreApplication::quit(); });
    forms_.Form2 = Create<TForm2>(app_);
    forms_.Form3 = Create<TForm3>(app_, services_);
    forms_.Form4 = Create<TForm4>(app_, *instrument_, services_);
    forms_.Form6 = Create<TForm6>(app_);
    forms_.Form8 = Create<TForm8>(app_);
    forms_.Form9 = Create<TForm9>(app_);
    forms_.Form10 = Create<TForm10>(app_);
    forms_.Form11 = Create<TForm11>(app_);
    forms_.Form12 = Create<TForm12>(app_);
    forms_.Form15 = Create<TForm15>(app_);
    forms_.Form17 = Create<MailSetupWindow>(app_, mail_);
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
    if (forms_.Form1)
        forms_.Form1->show();
    if (terminateRequested_)
        QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    loopRunning_ = true;
    const int code = QCoreApplication::exec();
    loopRunning_ = false;
    return code;
}
