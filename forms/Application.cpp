#include "forms/Application.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "forms/LibraryStartup.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "platform/system/EventPump.h"
#include "platform/system/TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <exception>

namespace {

// No exception may end the program from an event handler: it is caught here, at the one place
// every event passes, and written to the message log.
class ZendrikApplication final : public QApplication {
public:
    ZendrikApplication(int& argc, char** argv, MessageLog& log) : QApplication(argc, argv), log_(log) {}

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            log_.Append(ErrorLine(e));
        } catch (...) {
            log_.Append(QStringLiteral("Error: unexpected failure"));
        }
        return false;
    }

private:
    MessageLog& log_;
};

} // namespace

QString TakeProjectArgument(QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--project"));
    if (at < 0 || at + 1 >= arguments.size())
        return {};
    const QString name = arguments.at(at + 1);
    arguments.remove(at, 2);
    return name;
}

void SetApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Zendrik"));
}

int RunZendrik(int argc, char** argv)
{
    AppContext app;
    ZendrikApplication qapp(argc, argv, app.Messages);
    SetApplicationNames();
    QtEventPump pump;
    app.Pump = &pump;

    // The chart library's units start before the windows and stop after them; what its handlers
    // catch goes to the debug log.
    ChartLibraryUnits units;
    LibraryStartup library(units, ChartErrorsToDebugLog(app.Debug));

    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    const QString project = TakeProjectArgument(arguments);
    Program program(app, arguments, QCoreApplication::applicationDirPath());
    program.CreateForms();
    if (!project.isEmpty() && !program.TerminateRequested() && program.Windows().mainWindow)
        program.Windows().mainWindow->openProject(QDir(app.WorkingFolder).filePath(QStringLiteral("src/") + project));
    // Ctrl+C in the terminal, kill or a closed terminal leave through the window's own close, which
    // stops a run and the generator and says what may still radiate; without a window (a first
    // start that ends at once) there is nothing to stop.
    const TerminationSignals termination([&program](int) {
        if (MainWindow* window = program.Windows().mainWindow)
            window->close();
        else
            QCoreApplication::quit();
    });
    return program.Run();
}
