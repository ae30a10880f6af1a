#include "immunity/ImmunityReport.h"

#include "app/DateTimeText.h"
#include "platform/inifile/SaveFileCommit.h"

#include <QSaveFile>

QString MarkLine(const QString& timeText, QChar sign, const QString& frequencyText, const QString& levelText)
{
    return timeText + QLatin1Char(':') + sign + QLatin1Char(' ') + frequencyText + QStringLiteral("Hz  ") + levelText +
           QStringLiteral("dBm");
}

QString LongTimeText(const QDateTime& when)
{
    return FormatDateTimeText(QStringLiteral("tt"), DateTimeValue(when));
}

QString ShortDateLongTimeText(const QDateTime& when)
{
    return FormatDateTimeText(QStringLiteral("c"), DateTimeValue(when));
}

QByteArray ImmunityReportBytes(const QString& dateTimeText, const QStringList& marks)
{
    QByteArray out = QByteArrayLiteral("Zendrik Pre-Compliance Immunity Report ") + dateTimeText.toLatin1() + "\r\n\r\n";
    for (const QString& line : marks)
        out += line.toLatin1() + "\r\n";
    return out;
}

bool WriteImmunityReport(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    return FinishSaveFile(file, file.write(bytes) == bytes.size(), error);
}
