#include "chart/canvas/DateTimeSteps.h"

#include <QDate>
#include <cmath>

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 60.0 * kSecond;
constexpr double kHour = 60.0 * kMinute;
constexpr std::array<double, DateTimeStepCount> kSteps = {
    kSecond / 1e6, kSecond / 1e3, kSecond,      5 * kSecond,  10 * kSecond, 15 * kSecond, 30 * kSecond,
    kMinute,       5 * kMinute,   10 * kMinute, 15 * kMinute, 30 * kMinute, kHour,        2 * kHour,
    6 * kHour,     12 * kHour,    1,            2,            3,            7,            15,
    30,            60,            90,           120,          182,          365};

const QDate kEpoch(1899, 12, 30);

QDate ToDate(double value) { return kEpoch.addDays(static_cast<qint64>(std::floor(value))); }
double FromDate(const QDate& date) { return static_cast<double>(kEpoch.daysTo(date)); }

// A day that the target month lacks becomes the month's last day.
QDate MakeDate(int year, int month, int day)
{
    const int last = QDate(year, month, 1).daysInMonth();
    return QDate(year, month, std::min(day, last));
}

QDate AddMonths(const QDate& d, int months)
{
    int index = d.year() * 12 + (d.month() - 1) + months;
    const int year = index / 12;
    const int month = index % 12 + 1;
    return MakeDate(year, month, d.day());
}

} // namespace

const std::array<double, DateTimeStepCount>& DateTimeSteps() { return kSteps; }

double FindDateTimeStep(double value)
{
    for (int t = DateTimeStepCount - 2; t >= 0; --t) {
        if (kSteps[static_cast<size_t>(t)] <= value)
            return kSteps[static_cast<size_t>(t + 1)];
    }
    return kSteps[DateTimeStepCount - 1];
}

int FindDateTimeStepIndex(double value)
{
    constexpr double kTolerance = 1.0 / 86400000000.0;
    for (int t = DateTimeStepCount - 1; t >= 0; --t) {
        if (std::fabs(kSteps[static_cast<size_t>(t)] - value) < kTolerance)
            return t;
    }
    return DateTimeStepCount;
}

double TruncDateTimeToStep(int stepIndex, double value)
{
    if (value < 0 || std::isnan(value))
        return value;
    const double day = std::floor(value);
    switch (stepIndex) {
    case 16: return day;
    case 17: return std::floor(day / 2) * 2;
    case 18: return std::floor(day / 3) * 3;
    case 19: return 2 + std::floor((day - 2) / 7) * 7;
    case 20: {
        const QDate d = ToDate(value);
        return FromDate(QDate(d.year(), d.month(), d.day() >= 15 ? 15 : 1));
    }
    case 21: case 22: case 23: case 24: case 25: {
        const QDate d = ToDate(value);
        return FromDate(QDate(d.year(), d.month(), 1));
    }
    case 26: return FromDate(QDate(ToDate(value).year(), 1, 1));
    default: return value;
    }
}

double IncDateTimeStep(int stepIndex, double value, double stepLength, bool increase)
{
    if (stepIndex < 20 || stepIndex > 26 || std::isnan(value))
        return increase ? value + stepLength : value - stepLength;
    const double time = value - std::floor(value);
    const QDate d = ToDate(value);
    QDate r = d;
    if (stepIndex == 20) {
        if (increase) {
            // Forward through the 1st and the 15th of each month in turn.
            r = d.day() < 15 ? QDate(d.year(), d.month(), 15) : AddMonths(QDate(d.year(), d.month(), 1), 1);
        } else if (d.day() > 15) {
            r = QDate(d.year(), d.month(), 15);
        } else if (d.day() > 1) {
            r = QDate(d.year(), d.month(), 1);
        } else {
            r = AddMonths(d, -1);
            r = QDate(r.year(), r.month(), 15);
        }
        return FromDate(r) + time;
    }
    static constexpr int kMonths[] = {1, 2, 3, 4, 6, 12};
    const int months = kMonths[stepIndex - 21] * (increase ? 1 : -1);
    r = AddMonths(d, months);
    double result = FromDate(r) + time;
    if (stepIndex == 26) {
        for (int guard = 0; guard < 4 && (increase ? result <= value : result >= value); ++guard) {
            r = AddMonths(r, months);
            result = FromDate(r) + time;
        }
    }
    return result;
}
