#include "coverage/CoverageTable.h"

#include "coverage/CoverageModel.h"
#include "instrument/GpsSentence.h"

#include <QDir>
#include <QFile>

QStringList CoverageLineFields(const CoverageFields& f, const GpsDisplay& g)
{
    return {f.Index, g.Status, g.Date, g.Utc, g.LatDec, g.Ns, g.LonDec, g.Ew, g.Speed, f.Freq[0], f.Level[0],
        f.Freq[1], f.Level[1], f.Freq[2], f.Level[2]};
}

QString CoverageTablePath(const QString& workingFolder)
{
    return QDir(workingFolder).filePath(QString::fromLatin1(kCoverageTableName));
}

QString AppendCoverageLine(const QString& workingFolder, const QString& line)
{
    const QDir folder(workingFolder);
    if (!folder.mkpath(QStringLiteral("out")))
        return QStringLiteral("cannot create folder ") + folder.filePath(QStringLiteral("out"));
    const QString path = CoverageTablePath(workingFolder);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString();
    const qint64 before = file.size();
    QByteArray bytes;
    if (before == 0)
        bytes = QByteArray(kCoverageTableHeader) + "\r\n";
    bytes += line.toUtf8() + "\r\n";
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    if (written)
        return {};
    const QString reason = file.errorString();
    file.resize(before);
    return QStringLiteral("cannot write ") + path + QStringLiteral(": ") + reason;
}
