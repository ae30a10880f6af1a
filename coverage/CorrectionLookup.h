#ifndef ZENDRIK_COVERAGE_CORRECTIONLOOKUP_H
#define ZENDRIK_COVERAGE_CORRECTIONLOOKUP_H

#include <cstdint>

class TChartSeries;

// The level of a correction curve (X in kHz, ascending) at a whole-kHz frequency, by linear
// interpolation between the neighbouring points; 0 where the curve does not reach the frequency
// (an empty curve corrects nothing).
double CorrectionAtKhz(const TChartSeries& series, int64_t khz);

#endif
