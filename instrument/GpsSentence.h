#ifndef ZENDRIK_INSTRUMENT_GPSSENTENCE_H
#define ZENDRIK_INSTRUMENT_GPSSENTENCE_H

#include <QByteArray>
#include <QString>
#include <optional>

// The coverage view's texts of the receiver ("UTC", "Date", "Status", "NS", "EW",
// "Speed [km/h]", "Lat dec", "Lon dec"). "Status" is "fix" (shown green) or "nofix" (red).
struct GpsDisplay {
    QString Utc;
    QString Date;
    QString Status;
    QString Ns;
    QString Ew;
    QString Speed;
    QString LatDec;
    QString LonDec;

    bool Fix() const { return Status == QLatin1String("fix"); }
};

// One "$GPRMC" answer taken apart. Position: the display texts are filled (a sentence without a
// usable position gives "nofix" and empty "Lat dec" / "Lon dec"). MissingValues (fewer than ten
// fields) and WrongSentence (field 0 is not "$GPRMC") are the receiver speaking something else;
// BadChecksum is a sentence damaged on the line, from which nothing is taken.
struct GprmcDecode {
    enum class Outcome { Position, MissingValues, WrongSentence, BadChecksum };
    Outcome Result = Outcome::MissingValues;
    QString SentenceName; // field 0
    GpsDisplay Display;
    // Decimal degrees, south and west negative; both present or both missing.
    std::optional<double> Latitude;
    std::optional<double> Longitude;
    double SpeedKnots = 0; // 0 when the field is no number or no speed (beyond 0..1000)
    bool Valid = false;    // status "A"
};

GprmcDecode DecodeGprmc(const QByteArray& answer);

// "Lat dec" / "Lon dec": 10 decimals, ".".
QString GpsDegreesText(double degrees);
// "Speed [km/h]": knots x 1.852 in the shortest general form, ".".
QString GpsSpeedText(double knots);
// "fix" with status "A" and a position; "nofix" otherwise.
QString GpsStatusText(bool valid, bool hasPosition);

#endif
