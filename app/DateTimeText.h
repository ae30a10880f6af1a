#ifndef ZENDRIK_APP_DATETIMETEXT_H
#define ZENDRIK_APP_DATETIMETEXT_H

#include <QString>
#include <cstdint>

class QDateTime;

// Date-time texts of axis labels. Values are days since 30 December 1899 with the time of day
// as the fraction. Patterns use the classic letters: d dd ddd dddd (day), ddddd (short date),
// m mm mmm mmmm (month, or minutes right after an hour), yy yyyy, h hh, n nn, s ss, z zzz,
// t (short time), tt (long time), c (short date and long time), am/pm and a/p, "/" and ":"
// for the separators, and quoted literal text.
struct DateTimeTexts {
    QString ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    QString ShortTimeFormat = QStringLiteral("hh:nn");
    QString LongTimeFormat = QStringLiteral("hh:nn:ss");
    QChar DateSeparator = QChar('.');
    QChar TimeSeparator = QChar(':');
};

QString FormatDateTimeText(const QString& pattern, double value, const DateTimeTexts& texts = {});

// The value of a date and time of day as these texts take it (its time zone is not looked at).
double DateTimeValue(const QDateTime& when);

// "hh:mm:ss" of a number of seconds; the hours go on past a day ("25:02:30"), as a run's time
// and an axis increment of a day or more need.
QString HoursMinutesSecondsText(int64_t seconds);

// The label format for a step in days: the short time format up to one day, else the short date.
QString DateTimeDefaultFormat(double step, const DateTimeTexts& texts = {});

#endif
