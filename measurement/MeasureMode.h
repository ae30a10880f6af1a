#ifndef ZENDRIK_MEASUREMENT_MEASUREMODE_H
#define ZENDRIK_MEASUREMENT_MEASUREMODE_H

#include <QString>
#include <cstdint>

// The four measurement loops: a swept measurement per segment ("sweep"), zero-span marker
// readings per point ("emi"), the receiver's own scan ("emi_scan") and its fixed-frequency
// measurements per point ("emi_fix").
enum class MeasureMode : uint8_t { Sweep, Emi, EmiScan, EmiFix };

// The mode's text in the debug log: "sweep", "emi", "emi_scan" or "emi_fix".
QString MeasureModeText(MeasureMode mode);

#endif
