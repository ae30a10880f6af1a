#include "coverage/CoverageTable.h"

#include "coverage/CoverageModel.h"
#include "instrument/GpsSentence.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QStringList CoverageLineFields(const CoverageFields& f, const GpsDisplay& g)
{
    return {f.Index, g.Status, g.Date, g.Utc, g.LatDec, g.Ns, g.LonDec, g.Ew, g.Speed, f.Freq[0], f.Level[0],
        f.Freq[1], f.Level[1], f.Freq[2], f.Level[2]};
}

QString CoverageTablePath(const QString& workingFolder)
{
    return QDir(workingFolder).filePath(QString::fromLatin1(kCoverageTableName));
}

namespace {

// All of bytes into a file opened unbuffered: a write the disk refuses part-way is seen at once,
// and the retry of the rest gets the system's reason ("No space left on device"), where a buffered
// short write leaves only "Unknown error".
QString WriteWhole(QFileDevice& file, const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return file.errorString();
        done += n;
    }
    return {};
}

} // namespace

QString AppendCoverageLine(const QString& workingFolder, const QString& line)
{
    const QDir folder(workingFolder);
    if (!folder.mkpath(QStringLiteral("out")))
        return QStringLiteral("cannot create folder ") + folder.filePath(QStringLiteral("out"));
    const QString path = CoverageTablePath(workingFolder);
    const auto failed = [&path](const QString& reason) {
        return QStringLiteral("cannot write ") + path + QStringLiteral(": ") + reason;
    };
    const QByteArray row = line.toUtf8() + "\r\n";
    const QFileInfo info(path);

    // A new table is small: it is written beside and renamed into place, so a first line the disk
    // cannot take leaves no empty file behind.
    if (!info.exists() || info.size() == 0) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return failed(file.errorString());
        QString reason = WriteWhole(file, QByteArray(kCoverageTableHeader) + "\r\n" + row);
        if (reason.isEmpty() && !file.commit())
            reason = file.errorString();
        return reason.isEmpty() ? QString() : failed(reason);
    }
    // A grown table is not copied for every line: the line is appended, and should the disk refuse
    // any part of it the file is cut back to its old end, so that every row it holds stays whole.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return failed(file.errorString());
    const qint64 before = file.size();
    const QString reason = WriteWhole(file, row);
    if (reason.isEmpty())
        return {};
    file.resize(before);
    return failed(reason);
}
