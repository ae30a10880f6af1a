// The receiver's "$GPRMC" sentences as they come off the serial line.
#include "fuzz/FuzzSupport.h"
#include "instrument/GpsSentence.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const GprmcDecode d = DecodeGprmc(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    fuzz::Check(d.Latitude.has_value() == d.Longitude.has_value(), "both coordinates or neither");
    if (d.Latitude) {
        fuzz::Check(d.Result == GprmcDecode::Outcome::Position, "a position only from a good sentence");
        // A position goes into the coverage table and the track file: it must lie on the globe.
        fuzz::Check(std::fabs(*d.Latitude) <= 90 && std::fabs(*d.Longitude) <= 180, "a position on the globe");
        fuzz::Check(!d.Display.LatDec.isEmpty() && !d.Display.LonDec.isEmpty(), "a position is shown");
    }
    fuzz::Check(std::isfinite(d.SpeedKnots), "the speed is a number");
    if (d.Result != GprmcDecode::Outcome::Position)
        fuzz::Check(d.Display.Status.isEmpty() && !d.Latitude, "nothing is taken from a bad sentence");
    else
        fuzz::Check(d.Display.Fix() == (d.Valid && d.Latitude.has_value()), "fix only with status A and a position");
    return 0;
}
