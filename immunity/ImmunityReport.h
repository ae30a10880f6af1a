#ifndef ZENDRIK_IMMUNITY_IMMUNITYREPORT_H
#define ZENDRIK_IMMUNITY_IMMUNITYREPORT_H

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The marks of an immunity test and the text report they are saved as.

// One line of the marks list: time, ":* " (or ":# "), frequency, "Hz  ", level, "dBm".
QString MarkLine(const QString& timeText, QChar sign, const QString& frequencyText, const QString& levelText);

// The program's date and time texts: the short date and the long time of the app's formats.
QString LongTimeText(const QDateTime& when);
QString ShortDateLongTimeText(const QDateTime& when);

// The report file: the header line with the date and time, an empty line, then the marks, each
// line ended by CR LF.
QByteArray ImmunityReportBytes(const QString& dateTimeText, const QStringList& marks);

// Writes the report through a temporary file in the same folder that then replaces the old one;
// on failure the old file stays and *error says why.
bool WriteImmunityReport(const QString& path, const QByteArray& bytes, QString* error);

// The save dialog's settings.
struct ImmunityReportDialog {
    QString Title = QStringLiteral("Save file");
    QString Folder = QStringLiteral("out");
    QString Filter = QStringLiteral("txt (*.txt)");
    QString FileName = QStringLiteral("markers");
    QString DefaultSuffix = QStringLiteral("txt");
};

#endif
