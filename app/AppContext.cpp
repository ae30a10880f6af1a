#include "app/AppContext.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString ChooseWorkingFolder(const QString& programFolder)
{
    // QFileInfo::isWritable answers for root without trying; a probe file tells the truth.
    QTemporaryFile probe(QDir(programFolder).filePath(QStringLiteral(".zendrik-probe-XXXXXX")));
    if (!programFolder.isEmpty() && probe.open())
        return QDir(programFolder).absolutePath();
    const QString fallback = QDir::homePath() + QStringLiteral("/.local/share/zendrik");
    QDir().mkpath(fallback);
    return fallback;
}
