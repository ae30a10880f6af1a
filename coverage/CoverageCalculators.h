#ifndef ZENDRIK_COVERAGE_COVERAGECALCULATORS_H
#define ZENDRIK_COVERAGE_COVERAGECALCULATORS_H

#include <QString>
#include <QStringList>

// The two drive-test calculators of the coverage view. Inputs may use "." or "," as the decimal
// mark; an input that is no number gives the empty text.

// Metres between two logged points: interval [ms] / 1000 x speed [km/h] x 1000 / 3600, 2 decimals.
QString CalcDriveResolution(const QString& intervalMs, const QString& speedKmh);
// Points over a route: length [km] x 1000 / resolution, 0 decimals. Empty when the resolution is
// not above 0 (standing still or no interval), since no number of points covers the route then.
QString CalcDrivePoints(const QString& lengthKm, const QString& intervalMs, const QString& speedKmh);

// The choices and defaults of the view's combo boxes.
QStringList CoverageIntervalChoices(); // "Interval [ms]", default "2000"
QStringList CoverageLatchChoices(); // "Latch Points", default "300"
QStringList CoverageSpeedChoices(); // "Speed [km/h]", default "30"
QStringList CoverageLengthChoices(); // "Length [km]", default "40"

inline constexpr const char* kCoverageDefaultInterval = "2000";
inline constexpr const char* kCoverageDefaultLatchPoints = "300";
inline constexpr const char* kCoverageDefaultSpeed = "30";
inline constexpr const char* kCoverageDefaultLength = "40";

#endif
