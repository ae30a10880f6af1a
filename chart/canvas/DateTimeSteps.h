#ifndef ZENDRIK_CHART_CANVAS_DATETIMESTEPS_H
#define ZENDRIK_CHART_CANVAS_DATETIMESTEPS_H

#include <array>

// Date-time values are days since 30 December 1899 with the time as the fraction.

// The 27 label steps, in days: 1 microsecond, 1 millisecond, 1, 5, 10, 15, 30 seconds, 1, 5, 10,
// 15, 30 minutes, 1, 2, 6, 12 hours, 1, 2, 3, 7, 15 days, 30, 60, 90, 120, 182, 365 days.
inline constexpr int DateTimeStepCount = 27;
const std::array<double, DateTimeStepCount>& DateTimeSteps();

// The entry after the first one (scanning from the next-to-last down) that is <= value; the last
// entry when none is.
double FindDateTimeStep(double value);
// Index whose entry lies within one microsecond of value, scanning from the last; 27 when none.
int FindDateTimeStepIndex(double value);

// Start of the step that value lies in (indices 16 .. 26); other indices and negative values
// unchanged.
double TruncDateTimeToStep(int stepIndex, double value);
// One step forward (increase) or back: indices below 20 add or subtract stepLength days, 20 to
// 26 move by calendar half months, months and years.
double IncDateTimeStep(int stepIndex, double value, double stepLength, bool increase);

#endif
