#include "instrument/GpsSentence.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "instrument/visa/VisaSession.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace {

// Faster than anything a drive test rides in (1852 km/h).
constexpr double kMaxSpeedKnots = 1000;

// Degrees, then two digits of minutes, a point and at least one decimal: what a receiver gives
// whatever its precision. Anything else (an empty field while there is no fix) is no position.
bool IsCoordinate(const QString& text)
{
    static const QRegularExpression rx(QStringLiteral("^[0-9]+[0-9]{2}\\.[0-9]+$"));
    return rx.match(text).hasMatch();
}

std::optional<double> Degrees(const QString& coordinate, const QString& hemisphere, const char* positive,
                              const char* negative, double maxDegrees)
{
    // A number without its hemisphere could lie on either side of the equator or meridian.
    if (!IsCoordinate(coordinate) || (hemisphere != QLatin1String(positive) && hemisphere != QLatin1String(negative)))
        return std::nullopt;
    // Minutes of 60 and more, or a place off the globe, is a receiver speaking nonsense; it would
    // end up in the coverage table and the track file.
    const qsizetype point = coordinate.indexOf(QLatin1Char('.'));
    if (coordinate[point - 2] > QLatin1Char('5'))
        return std::nullopt;
    double value = 0;
    if (!TryStrToFloatAnySep(NmeaCoordToDegrees(coordinate, hemisphere), value) || !(std::fabs(value) <= maxDegrees))
        return std::nullopt;
    return value;
}

// The checksum after "*" must be the exclusive-or of every byte between "$" and "*".
bool ChecksumMatches(const QByteArray& sentence)
{
    const qsizetype star = sentence.lastIndexOf('*');
    if (!sentence.startsWith('$') || star < 0 || sentence.size() - star - 1 != 2)
        return false;
    return sentence.mid(star + 1).toUpper() == visa::NmeaChecksum(sentence.mid(1, star - 1)).toLatin1();
}

} // namespace

QString GpsDegreesText(double degrees) { return FormatMachineFixed(degrees, 10); }

QString GpsSpeedText(double knots)
{
    const ScopedDecimalSeparator dot(QLatin1Char('.'));
    return FloatToStr(knots * 1.852);
}

QString GpsStatusText(bool valid, bool hasPosition)
{
    return valid && hasPosition ? QStringLiteral("fix") : QStringLiteral("nofix");
}

GprmcDecode DecodeGprmc(const QByteArray& answer)
{
    GprmcDecode d;
    QByteArray sentence = answer;
    while (sentence.endsWith('\n') || sentence.endsWith('\r'))
        sentence.chop(1);
    const qsizetype star = sentence.lastIndexOf('*');
    const QStringList f = QString::fromLatin1(star < 0 ? sentence : sentence.left(star)).split(QLatin1Char(','));
    d.SentenceName = f.value(0);
    if (f.size() < 10) {
        d.Result = GprmcDecode::Outcome::MissingValues;
        return d;
    }
    if (d.SentenceName != QLatin1String("$GPRMC")) {
        d.Result = GprmcDecode::Outcome::WrongSentence;
        return d;
    }
    if (!ChecksumMatches(sentence)) {
        d.Result = GprmcDecode::Outcome::BadChecksum;
        return d;
    }
    d.Result = GprmcDecode::Outcome::Position;
    d.Valid = f[2] == QLatin1String("A");
    d.Latitude = Degrees(f[3], f[4], "N", "S", 90.0);
    d.Longitude = Degrees(f[5], f[6], "E", "W", 180.0);
    if (!d.Latitude || !d.Longitude) {
        d.Latitude.reset();
        d.Longitude.reset();
    }
    // A speed no vehicle drives (1e308, a negative one) is no reading, as a field that is no
    // number is none; it would stand in the coverage table.
    if (!TryStrToFloatAnySep(f[7], d.SpeedKnots) || !(d.SpeedKnots >= 0 && d.SpeedKnots <= kMaxSpeedKnots))
        d.SpeedKnots = 0;
    d.Display.Utc = f[1];
    d.Display.Status = GpsStatusText(d.Valid, d.Latitude.has_value());
    d.Display.Ns = f[4];
    d.Display.Ew = f[6];
    d.Display.Speed = GpsSpeedText(d.SpeedKnots);
    d.Display.Date = f[9];
    if (d.Latitude) {
        d.Display.LatDec = GpsDegreesText(*d.Latitude);
        d.Display.LonDec = GpsDegreesText(*d.Longitude);
    }
    return d;
}
