#ifndef ZENDRIK_MEASUREMENT_MEASURETIME_H
#define ZENDRIK_MEASUREMENT_MEASURETIME_H

#include "measurement/MeasureMode.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

class DebugLog;
struct AnalyserKind;
struct DeviceState;
struct SegmentTable;

// The measurement mode for a family and the "EMI(ZeroSpan)" box: "sweep" or "emi" for Rigol and
// Siglent, "emi_scan" or "emi_fix" for the R&S receivers, nothing (no loop) for none and Hameg.
std::optional<MeasureMode> ChooseMeasureMode(const AnalyserKind& kind, bool emiZeroSpan);

// The run-time estimate of a table in a mode, in whole seconds; nothing for a table of fewer
// than 1 or more than 500 segments.
std::optional<uint32_t> CalcMeasureTime(const SegmentTable& table, MeasureMode mode,
                                        const DeviceState& device, DebugLog& debug);

// What the estimate counts for one point of a receiver loop ("emi_scan" or "emi_fix"), in
// seconds, with the quasi-peak detector or another; 0 for another mode.
double ReceiverPointSeconds(MeasureMode mode, bool quasiPeak);

// Whole seconds as "hh:mm:ss": the hours as many as there are (at least two digits), so
// 90000 s is "25:00:00". The estimate and the time-left labels both show this text.
QString SecondsText(uint32_t seconds);
// A date and time as the program's lines show them: the system's short date and long time.
QString DateTimeText(const QDateTime& when);

#endif
