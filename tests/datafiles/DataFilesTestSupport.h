#ifndef ZENDRIK_TESTS_DATAFILES_DATAFILESTESTSUPPORT_H
#define ZENDRIK_TESTS_DATAFILES_DATAFILESTESTSUPPORT_H

#include "datafiles/DataFileDialogs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// Records every box and question; questions are answered with `answer`.
class RecordingDialogs : public DataFileDialogs {
public:
    bool answer = true;
    QStringList questions;
    QStringList errors;
    QStringList infos;

    bool ConfirmLoad(const QString& question) override
    {
        questions << question;
        return answer;
    }
    void ShowError(const QString& text) override { errors << text; }
    void ShowInfo(const QString& text) override { infos << text; }
};

// Writes an INI text (lines joined with CRLF) below folder.
inline void WriteIni(const QString& folder, const QString& name, const QStringList& lines)
{
    const QString path = folder + QLatin1Char('/') + name;
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}

inline QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

#endif
