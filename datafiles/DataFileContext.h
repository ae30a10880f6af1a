#ifndef ZENDRIK_DATAFILES_DATAFILECONTEXT_H
#define ZENDRIK_DATAFILES_DATAFILECONTEXT_H

#include <QString>

class DataFileDialogs;
class DebugLog;
class MessageLog;

// What every reader and writer of data files works with. Relative paths are taken below
// WorkingFolder (the program folder). Any pointer may be null: a missing Dialogs answers every
// question with "Load" and drops the boxes; missing logs drop their lines.
struct DataFileContext {
    QString WorkingFolder;
    DataFileDialogs* Dialogs = nullptr;
    DebugLog* Debug = nullptr;
    MessageLog* Messages = nullptr;

    bool Confirm(const QString& question) const;
    void Error(const QString& text) const;
    void Info(const QString& text) const;
    void LogDebug(const QString& text) const;
};

#endif
