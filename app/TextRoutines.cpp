#include "app/TextRoutines.h"

#include "app/NumberText.h"

#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>

#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

namespace {

const QString kNotValid = QStringLiteral("not valid");

QString FixedText(double value, int precision, int decimals)
{
    return FloatToStrF(value, FloatFormat::ffFixed, precision, decimals);
}

// "12" of "12K": the part before the first occurrence of the unit letter, times the unit.
std::optional<QString> ScaledByLetter(const QString& upper, QChar letter, double factor, int precision)
{
    const qsizetype at = upper.indexOf(letter);
    if (at < 0)
        return std::nullopt;
    const auto v = ParseStrictFloat(upper.left(at));
    if (!v)
        return kNotValid;
    return FixedText(*v * factor, precision, 0);
}

} // namespace

QString NmeaCoordToDegrees(const QString& coordinate, const QString& hemisphere)
{
    // The minutes take the two digits before the decimal point, the degrees what comes before
    // them: receivers give 2 to 6 decimals of a minute, so the text's length says nothing about
    // the degrees. Without a point, ddmm.mmmm (9 characters) would be a latitude, dddmm.mmmm a
    // longitude.
    const qsizetype point = coordinate.indexOf(QLatin1Char('.'));
    const qsizetype degreeDigits = point >= 3 ? point - 2 : (coordinate.size() == 9 ? 2 : 3);
    int32_t degrees = 0;
    if (!TryStrToInt(coordinate.left(degreeDigits), degrees))
        return QString(); // not a coordinate: nothing sensible to show, and nothing to throw
    const QString minutesText = coordinate.mid(degreeDigits);
    QString commaMinutes = minutesText;
    commaMinutes.replace(QLatin1Char('.'), QLatin1Char(','));
    double minutes = 0;
    // Callers set the mark to "," first, so the comma text parses. A caller that forgot would
    // see an error where the minutes are perfectly clear, so the NMEA text itself (always ".")
    // is the fall-back.
    if (!TryStrToFloat(commaMinutes, minutes)) {
        const auto dotMinutes = ParseStrictFloat(minutesText);
        if (!dotMinutes)
            return QString();
        minutes = *dotMinutes;
    }
    double value = degrees + minutes / 60.0;
    if (hemisphere == QLatin1String("S") || hemisphere == QLatin1String("W"))
        value = -value;
    QString text = FloatToStr(value);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}

double SecondsToDateTime(uint32_t seconds)
{
    const uint32_t days = seconds / 86400u;
    const uint32_t hours = (seconds % 86400u) / 3600u;
    const uint32_t minutes = (seconds % 3600u) / 60u;
    const uint32_t secs = seconds % 60u;
    const double timeOfDay = (hours * 3600000.0 + minutes * 60000.0 + secs * 1000.0) / 86400000.0;
    return days + timeOfDay;
}

QString KhzToScaledText(const QString& khz)
{
    const auto v = ParseStrictFloat(khz);
    if (!v)
        return khz;
    if (*v > 0 && *v < 1000)
        return FixedText(*v, 10, 0) + QStringLiteral(" kHz");
    if (*v >= 1000 && *v < 1000000)
        return FixedText(*v / 1000, 10, 3) + QStringLiteral(" MHz");
    if (*v >= 1000000 && *v < 1000000000)
        return FixedText(*v / 1000000, 10, 3) + QStringLiteral(" GHz");
    return QString();
}

QString KhzToKhzText(const QString& khz)
{
    const auto v = ParseStrictFloat(khz);
    if (!v)
        return khz;
    if (*v > 0 && *v < 3000000)
        return FixedText(*v, 10, 0) + QStringLiteral(" kHz");
    return QString();
}

QString IntKhzToScaledText(const QString& khz)
{
    const auto n = ParseStrictInt(khz);
    if (!n)
        return QStringLiteral("0 kHz");
    if (*n >= 1 && *n <= 999)
        return QString::fromLatin1(std::to_string(*n)) + QStringLiteral(" kHz");
    if (*n >= 1000 && *n <= 999999)
        return FixedText(*n / 1000.0, 10, 3) + QStringLiteral(" MHz");
    if (*n >= 1000000 && *n <= 99999999)
        return FixedText(*n / 1000000.0, 10, 6) + QStringLiteral(" GHz");
    return QString();
}

QString FreqTextToHzText(const QString& text)
{
    QString t = text;
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0)
        t[comma] = QLatin1Char('.');
    if (ParseStrictFloat(t))
        return t; // a plain number is taken as Hz already
    const QString upper = t.toUpper();
    if (auto r = ScaledByLetter(upper, QLatin1Char('K'), 1e3, 10))
        return *r;
    if (auto r = ScaledByLetter(upper, QLatin1Char('M'), 1e6, 12))
        return *r;
    if (auto r = ScaledByLetter(upper, QLatin1Char('G'), 1e9, 12))
        return *r;
    return kNotValid;
}

bool TryStrToFloatAnySep(const QString& text, double& value)
{
    ScopedDecimalSeparator restore(DecimalSeparator());
    SetDecimalSeparator(QLatin1Char('.'));
    if (TryStrToFloat(text, value))
        return true;
    SetDecimalSeparator(QLatin1Char(','));
    return TryStrToFloat(text, value);
}

double StrToFloatAnySepDef(const QString& text, double def)
{
    QString t = text;
    const QChar mark = DecimalSeparator();
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0)
        t[comma] = mark;
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        t[dot] = mark;
    return StrToFloatDef(t, def);
}

QString RemoveDots(const QString& text)
{
    QString out = text;
    out.remove(QLatin1Char('.'));
    return out;
}

QString InsertThousandDots(const QString& text)
{
    if (text.size() <= 3)
        return text;
    QString out = text;
    int counted = 0;
    // Every character counts, signs and marks included; the first one never gets a dot before it.
    for (qsizetype i = text.size() - 1; i >= 1; --i) {
        if (++counted == 3) {
            out.insert(i, QLatin1Char('.'));
            counted = 0;
        }
    }
    return out;
}

int32_t WindowsVersionIndex(const OsVersionInfo& info)
{
    if (info.platform == OsVersionInfo::Win9x) {
        if (info.major == 4 && info.minor == 0)
            return 0;
        if (info.major == 4 && info.minor == 10)
            return info.servicePack.size() >= 2 && info.servicePack[1] == QLatin1Char('A') ? 2 : 1;
        if (info.major == 4 && info.minor == 90)
            return 3;
        return -1;
    }
    if (info.platform == OsVersionInfo::WinNT) {
        if (info.major <= 4)
            return 4;
        if (info.major == 5 && info.minor == 0)
            return 5;
        if (info.major == 5 && info.minor == 1)
            return 6;
        if (info.major == 6 && info.minor == 0)
            return 7;
        if (info.major == 6 && info.minor == 1)
            return 8;
        if (info.major == 6 && info.minor == 2)
            return 9;
        return -1;
    }
    return -1;
}

int32_t GetWindowsVersionIndex()
{
    // The start-up check refuses old and unknown systems. This platform has none of the
    // limits that check guards against, so it answers as the newest system the table knows.
    return WindowsVersionIndex(OsVersionInfo{OsVersionInfo::WinNT, 6, 2, QString()});
}

uint64_t MemInfoField(const QByteArray& meminfo, const char* field)
{
    const QByteArray name = QByteArray(field) + ':';
    for (const QByteArray& line : meminfo.split('\n')) {
        if (!line.startsWith(name))
            continue;
        const QByteArray rest = line.mid(name.size()).simplified();
        const QList<QByteArray> parts = rest.split(' ');
        const QByteArray& number = parts.first();
        uint64_t value = 0;
        auto res = std::from_chars(number.constData(), number.constData() + number.size(), value);
        if (res.ec != std::errc() || res.ptr != number.constData() + number.size())
            return 0;
        const QByteArray unit = parts.size() > 1 ? parts.last().toLower() : QByteArray();
        if (unit.isEmpty())
            return value;
        if (unit != "kb" || value > std::numeric_limits<uint64_t>::max() / 1024)
            return 0;
        return value * 1024;
    }
    return 0;
}

namespace {

QByteArray ReadMemInfo()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

// 64-bit byte counts: 32 bits stop at 4 GiB, which every measurement PC now exceeds.
uint64_t GetAvailPhysMemory()
{
    return MemInfoField(ReadMemInfo(), "MemAvailable");
}

uint64_t GetTotalPhysMemory()
{
    return MemInfoField(ReadMemInfo(), "MemTotal");
}

bool GetLocalIpAddresses(QStringList& list)
{
    list.clear();
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            list.append(address.toString());
    }
    return true;
}
