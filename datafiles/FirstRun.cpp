#include "datafiles/FirstRun.h"

#include "app/Log.h"
#include "datafiles/DataFileDialogs.h"
#include "datafiles/ZipExtract.h"
#include "platform/inifile/SaveFileCommit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QString kRestartText = QStringLiteral("Info: Service restart required ");
const QString kUnzipErrorText = QStringLiteral("ERROR in UNZIP");

void Info(DataFileDialogs* dialogs, const QString& text)
{
    if (dialogs != nullptr)
        dialogs->ShowInfo(text);
}

void Error(DataFileDialogs* dialogs, const QString& text)
{
    if (dialogs != nullptr)
        dialogs->ShowError(text);
}

bool WriteWhole(const QString& path, const QByteArray& bytes, QString& reason)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        reason = f.errorString();
        return false;
    }
    return FinishSaveFile(f, f.write(bytes) == bytes.size(), &reason);
}

} // namespace

namespace datafiles {

QString BackupFolderName(const QDateTime& now)
{
    return QStringLiteral("src_backup_") + now.toString(QStringLiteral("ddMMyyyy_HHmmss"));
}

} // namespace datafiles

DefaultDataSources EmbeddedDefaultData()
{
    DefaultDataSources s;
    QFile zip(QStringLiteral(":/defaultdata/src.zip"));
    if (zip.open(QIODevice::ReadOnly))
        s.Archive = zip.readAll();
    QFile rep(QStringLiteral(":/defaultdata/demo.rep"));
    if (rep.open(QIODevice::ReadOnly))
        s.Report = rep.readAll();
    return s;
}

FirstRunResult RunFirstStartSetup(const QString& workingFolder, MessageLog& log, DataFileDialogs* dialogs)
{
    return RunFirstStartSetup(workingFolder, log, dialogs, EmbeddedDefaultData(), QDateTime::currentDateTime());
}

FirstRunResult RunFirstStartSetup(const QString& workingFolder, MessageLog& log, DataFileDialogs* dialogs,
                                  const DefaultDataSources& sources, const QDateTime& now)
{
    FirstRunResult result;
    QDir base(workingFolder);

    QFile::remove(base.filePath(QStringLiteral("zips/unzip.exe")));
    base.mkdir(QStringLiteral("out"));
    base.mkdir(QStringLiteral("rep"));

    // The new "zips" folder is the first-run marker.
    if (!base.exists(QStringLiteral("zips")) && base.mkdir(QStringLiteral("zips"))) {
        Info(dialogs, QStringLiteral("New directory created: ./zips"));

        const QString src = base.filePath(QStringLiteral("src"));
        if (QFileInfo::exists(src) || QFileInfo(src).isSymLink()) {
            const QString backupName = datafiles::BackupFolderName(now);
            const QString backup = base.filePath(backupName);
            // rename() never replaces an existing folder, so a second start within the same
            // second fails here instead of merging into the earlier backup.
            if (QFileInfo::exists(backup) || !base.rename(QStringLiteral("src"), backupName)) {
                const QString text = QStringLiteral("Error: default data not unpacked: the folder ") + src +
                                     QStringLiteral(" could not be renamed to ") + backup;
                log.Append(text);
                Error(dialogs, text);
                base.rmdir(QStringLiteral("zips"));
                return result;
            }
            result.BackupFolder = backup;
        }
        base.mkdir(QStringLiteral("src"));

        QString reason;
        if (!WriteWhole(base.filePath(QStringLiteral("zips/src.zip")), sources.Archive, reason))
            log.Append(QStringLiteral("Error: cannot write zips/src.zip: ") + reason);
        if (!WriteWhole(base.filePath(QStringLiteral("rep/demo.rep")), sources.Report, reason))
            log.Append(QStringLiteral("Error: cannot write rep/demo.rep: ") + reason);

        const datafiles::ZipExtractResult unzip =
            sources.Archive.isEmpty() ? datafiles::ZipExtractResult{false, 0, {QStringLiteral("the archive is empty")}}
                                      : datafiles::ExtractZip(sources.Archive, src);
        if (!unzip.Ok) {
            for (const QString& e : unzip.Errors)
                log.Append(QStringLiteral("Error: unzip: ") + e);
            Error(dialogs, kUnzipErrorText);
        } else {
            result.Unpacked = true;
        }

        log.Append(kRestartText);
        Info(dialogs, kRestartText);
        result.MustEnd = true;
    }

    if (!base.exists(QStringLiteral("src")) && base.mkdir(QStringLiteral("src")))
        Info(dialogs, QStringLiteral("New directory created: .\\src\\"));
    return result;
}
