#ifndef ZENDRIK_DATAFILES_FIRSTRUN_H
#define ZENDRIK_DATAFILES_FIRSTRUN_H

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class DataFileDialogs;
class MessageLog;

// The default data the program carries inside itself: a ZIP archive of the files for ".\src"
// (projects, limit lines, segment tables, corrections) and a demo report header.
struct DefaultDataSources {
    QByteArray Archive;   // written to "zips/src.zip" and unpacked into "src"
    QByteArray Report;    // written to "rep/demo.rep"
};

// The archive and report embedded in the program (Qt resources built from data/).
DefaultDataSources EmbeddedDefaultData();

struct FirstRunResult {
    // The caller must end the program (through the event loop) so that the operator starts it
    // again on the unpacked files.
    bool MustEnd = false;
    bool Unpacked = false;     // the archive was extracted into "src"
    QString BackupFolder;      // the folder the old "src" was moved to, empty when none
};

// The folder set-up that the table editor window runs while it is created, in the program's
// working folder:
//  - deletes a left-over "zips/unzip.exe", creates "out" and "rep" when missing;
//  - creates "zips". Only when that folder is new (first run): "New directory created: ./zips";
//    an existing "src" is renamed to "src_backup_ddMMyyyy_hhmmss" (from now); "src" is created,
//    the archive is written to "zips/src.zip" and extracted into "src" in-process (entries that are
//    absolute or contain ".." refuse the archive, and a failed extraction shows "ERROR in UNZIP"
//    with the reason logged as an "Error: " line); the report header goes to "rep/demo.rep"; then
//    "Info: Service restart required " is shown and logged and MustEnd is true.
//    If the old "src" cannot be renamed, nothing is extracted over it: an error box and an
//    "Error: " line say so, "zips" is removed again so that the next start retries, and the
//    program goes on with the files it has;
//  - creates "src" when missing ("New directory created: .\src\").
// TableEditorWindow calls it from its creation with the application's working folder, message log
// and dialogs; when MustEnd is true it closes the main window through a queued call, so the program
// ends once the event loop runs.
FirstRunResult RunFirstStartSetup(const QString& workingFolder, MessageLog& log, DataFileDialogs* dialogs,
                                  const DefaultDataSources& sources, const QDateTime& now);
// The same with the embedded data and the current time.
FirstRunResult RunFirstStartSetup(const QString& workingFolder, MessageLog& log, DataFileDialogs* dialogs);

namespace datafiles {
// "src_backup_" + ddMMyyyy_hhmmss of the given time.
QString BackupFolderName(const QDateTime& now);
} // namespace datafiles

#endif
