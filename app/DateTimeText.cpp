#include "app/DateTimeText.h"

#include <QDate>
#include <QDateTime>
#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t kJulianDayOf18991230 = 2415019;
constexpr int64_t kMsPerDay = 86400000;

struct Parts {
    int year = 1899, month = 12, day = 30, dayOfWeek = 6;
    int hour = 0, minute = 0, second = 0, ms = 0;
};

// The time of a negative value counts forward from its day too (-1.25 is 29 December, 06:00).
Parts Decode(double value)
{
    Parts p;
    if (!std::isfinite(value) || std::fabs(value) > 2958466.0)
        return p;
    double whole = std::trunc(value);
    int64_t ms = static_cast<int64_t>(std::nearbyint(std::fabs(value - whole) * kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += value < 0 ? -1 : 1;
    }
    const QDate date = QDate::fromJulianDay(kJulianDayOf18991230 + static_cast<int64_t>(whole));
    p.year = date.year();
    p.month = date.month();
    p.day = date.day();
    p.dayOfWeek = date.dayOfWeek();
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.ms = static_cast<int>(ms % 1000);
    return p;
}

const char* const kShortDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char* const kLongDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

QString Pad(int value, int width)
{
    return QString::number(value).rightJustified(width, QChar('0'));
}

int Run(const QString& s, int i, QChar c)
{
    int n = 0;
    while (i + n < s.size() && s[i + n].toLower() == c)
        ++n;
    return n;
}

void Append(QString& out, const QString& pattern, const Parts& p, const DateTimeTexts& texts, int depth);

void AppendTime(QString& out, const QString& format, const Parts& p, const DateTimeTexts& texts, int depth)
{
    Append(out, format, p, texts, depth + 1);
}

void Append(QString& out, const QString& pattern, const Parts& p, const DateTimeTexts& texts, int depth)
{
    if (depth > 3)
        return;
    bool afterHour = false;
    const bool twelveHour = pattern.contains(QStringLiteral("am/pm"), Qt::CaseInsensitive) ||
                            pattern.contains(QStringLiteral("a/p"), Qt::CaseInsensitive);
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        const QChar lc = c.toLower();
        if (c == QChar('"') || c == QChar('\'')) {
            const int end = pattern.indexOf(c, i + 1);
            const int stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (lc == QChar('d')) {
            const int n = Run(pattern, i, lc);
            if (n == 1) out += QString::number(p.day);
            else if (n == 2) out += Pad(p.day, 2);
            else if (n == 3) out += QLatin1String(kShortDays[p.dayOfWeek - 1]);
            else if (n == 4) out += QLatin1String(kLongDays[p.dayOfWeek - 1]);
            else Append(out, texts.ShortDateFormat, p, texts, depth + 1);
            i += n;
            continue;
        }
        if (lc == QChar('m')) {
            const int n = Run(pattern, i, lc);
            if (afterHour && n <= 2) {
                out += n == 1 ? QString::number(p.minute) : Pad(p.minute, 2);
            } else if (n == 1) out += QString::number(p.month);
            else if (n == 2) out += Pad(p.month, 2);
            else if (n == 3) out += QLatin1String(kShortMonths[p.month - 1]);
            else out += QLatin1String(kLongMonths[p.month - 1]);
            afterHour = false;
            i += n;
            continue;
        }
        if (lc == QChar('y')) {
            const int n = Run(pattern, i, lc);
            out += n <= 2 ? Pad(p.year % 100, 2) : Pad(p.year, 4);
            i += n;
            continue;
        }
        if (lc == QChar('h')) {
            const int n = Run(pattern, i, lc);
            int hour = p.hour;
            if (twelveHour) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += n == 1 ? QString::number(hour) : Pad(hour, 2);
            afterHour = true;
            i += n;
            continue;
        }
        if (lc == QChar('n') || lc == QChar('s')) {
            const int n = Run(pattern, i, lc);
            const int v = lc == QChar('n') ? p.minute : p.second;
            out += n == 1 ? QString::number(v) : Pad(v, 2);
            afterHour = false;
            i += n;
            continue;
        }
        if (lc == QChar('z')) {
            const int n = Run(pattern, i, lc);
            out += n >= 3 ? Pad(p.ms, 3) : QString::number(p.ms);
            i += n;
            continue;
        }
        if (lc == QChar('t')) {
            const int n = Run(pattern, i, lc);
            AppendTime(out, n == 1 ? texts.ShortTimeFormat : texts.LongTimeFormat, p, texts, depth);
            i += n;
            continue;
        }
        if (lc == QChar('c') ) {
            Append(out, texts.ShortDateFormat, p, texts, depth + 1);
            if (p.hour || p.minute || p.second || p.ms) {
                out += QChar(' ');
                AppendTime(out, texts.LongTimeFormat, p, texts, depth);
            }
            ++i;
            continue;
        }
        if (lc == QChar('a')) {
            if (pattern.mid(i, 5).compare(QStringLiteral("am/pm"), Qt::CaseInsensitive) == 0) {
                out += p.hour < 12 ? QStringLiteral("am") : QStringLiteral("pm");
                i += 5;
                continue;
            }
            if (pattern.mid(i, 3).compare(QStringLiteral("a/p"), Qt::CaseInsensitive) == 0) {
                out += p.hour < 12 ? QChar('a') : QChar('p');
                i += 3;
                continue;
            }
        }
        if (c == QChar('/')) {
            out += texts.DateSeparator;
            ++i;
            continue;
        }
        if (c == QChar(':')) {
            out += texts.TimeSeparator;
            ++i;
            continue;
        }
        out += c;
        ++i;
    }
}

} // namespace

QString FormatDateTimeText(const QString& pattern, double value, const DateTimeTexts& texts)
{
    const Parts parts = Decode(value);
    QString out;
    Append(out, pattern.isEmpty() ? QStringLiteral("c") : pattern, parts, texts, 0);
    return out;
}

QString DateTimeDefaultFormat(double step, const DateTimeTexts& texts)
{
    return step <= 1.0 ? texts.ShortTimeFormat : texts.ShortDateFormat;
}

// The inverse of Decode: before the start day the whole value is negative and the time of day
// still counts forward from its day.
QString HoursMinutesSecondsText(int64_t seconds)
{
    const auto two = [](int64_t v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(seconds / 3600) + QLatin1Char(':') + two(seconds / 60 % 60) + QLatin1Char(':') + two(seconds % 60);
}

double DateTimeValue(const QDateTime& when)
{
    const auto days = static_cast<double>(when.date().toJulianDay() - kJulianDayOf18991230);
    const double time = static_cast<double>(when.time().msecsSinceStartOfDay()) / static_cast<double>(kMsPerDay);
    return days < 0 ? days - time : days + time;
}
