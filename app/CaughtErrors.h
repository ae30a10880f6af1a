#ifndef ZENDRIK_APP_CAUGHTERRORS_H
#define ZENDRIK_APP_CAUGHTERRORS_H

#include <QString>
#include <exception>

class MessageLog;

// The message line of a command that ended in an exception: "Error: " and what it says.
QString ErrorLine(const std::exception& e);
void AppendErrorLine(MessageLog& log, const std::exception& e);

// Runs one of the operator's commands (a button, a menu item, a timer tick) so that no exception
// leaves it, since none may cross a Qt slot: one that ends the command becomes its error line in
// the message log, and the program goes on as the command left it.
template <class Command> void RunLoggingErrors(MessageLog& log, Command&& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        AppendErrorLine(log, e);
    }
}

#endif
