#ifndef ZENDRIK_INSTRUMENT_SCPICOMMANDS_H
#define ZENDRIK_INSTRUMENT_SCPICOMMANDS_H

#include "instrument/ScpiContext.h"

#include <QString>

// One operation per instrument setting. Each picks the command texts of the connected analyser
// kind (its family, and where they differ the Rigol RSA from the DSA or the Siglent SVA from the
// SSA) and sends them in order through ScpiWrite; a family without a text gets nothing. The
// setters leave what they were given in the settings echo first, for every family.

// Measurement set-up.
void ScpiPreset(ScpiContext& c);
void ScpiSetupDbuv(ScpiContext& c);
void ScpiSetupDbm(ScpiContext& c);
void ScpiAutoCalOn(ScpiContext& c);
void ScpiReceiverScanMode(ScpiContext& c);
void ScpiReceiverFixMode(ScpiContext& c);
void ScpiSetAsciiFormat(ScpiContext& c);
void ScpiContinuousOff(ScpiContext& c);
void ScpiContinuousOn(ScpiContext& c);
void ScpiSingleSweep(ScpiContext& c);
void ScpiPauseSweep(ScpiContext& c);

// Frequencies in whole Hz.
void ScpiSetStartFreq(ScpiContext& c, const QString& f);
void ScpiSetStopFreq(ScpiContext& c, const QString& f);
void ScpiSetCenterFreq(ScpiContext& c, const QString& f);
void ScpiSetSpan(ScpiContext& c, const QString& f);
void ScpiSetScanStart(ScpiContext& c, const QString& f);
void ScpiSetScanStop(ScpiContext& c, const QString& f);
void ScpiSetScanStep(ScpiContext& c, const QString& f);

// True when a Rigol or Siglent command sequence was completed.
bool ScpiSetRbw(ScpiContext& c, const QString& r);
void ScpiSetAttenuation(ScpiContext& c, const QString& a);
void ScpiSetPreamp(ScpiContext& c, const QString& p);
void ScpiSetPreampState(ScpiContext& c, const QString& p);
void ScpiSetVbwAuto(ScpiContext& c, const QString& v);
void ScpiSetVbw(ScpiContext& c, const QString& v);
void ScpiSetSegmentSweepTime(ScpiContext& c, const QString& t);
void ScpiSetSweepTime(ScpiContext& c, const QString& t);
void ScpiSetSweepTimeText(ScpiContext& c, const QString& t);
void ScpiSetDetector(ScpiContext& c, const QString& d);

// Trace requests, marker 1 and the tracking generator.
void ScpiRequestTrace(ScpiContext& c);
void ScpiQueryScanData(ScpiContext& c);
void ScpiMarkerOff(ScpiContext& c);
void ScpiMarkerPeak(ScpiContext& c);
void ScpiMarkerReset(ScpiContext& c);
void ScpiMarkerToFreq(ScpiContext& c, const QString& f);
// The marker level in dBuV as a decimal text. Nothing when the analyser gave no answer or no
// number (logged as a warning), so that a failed read never becomes a level. Nothing too for a
// level no analyser can report, NaN and infinities included (ScpiLevelPossible says it); *impossible, when given, tells
// that case apart, for the callers that end their work on it as on Stop.
ScpiAnswer ScpiReadMarkerLevelSweep(ScpiContext& c, bool* impossible = nullptr);
ScpiAnswer ScpiReadMarkerLevel(ScpiContext& c, bool* impossible = nullptr);
// The marker frequency as the analyser answers it; nothing on a failed read or a non-number, nor
// for a frequency no analyser tunes to (NaN, or beyond 0 Hz .. 1 THz: one error line, *impossible
// set).
ScpiAnswer ScpiReadMarkerFreq(ScpiContext& c, bool* impossible = nullptr);
// Whether the level of an answer read as a level, in the unit the analyser answers in (the
// unit last set), is one an analyser can report (-200..200 dBm). One it cannot logs "Error: the
// analyser sent a level of 1e+308 dBm; the <what> is refused", for "nan" and "inf" too. An
// answer that is no number at all is not this check's to refuse: true.
bool ScpiLevelPossible(ScpiContext& c, const QString& answer, const QString& what);
// The sweep time as the analyser answers it; nothing on a failed read or a non-number (logged as
// a warning, as the other readers do).
ScpiAnswer ScpiReadSweepTime(ScpiContext& c);
// A frequency setting as the analyser reports it, in Hz, asked after it was set: what it really
// measures over, which a setting beyond its range does not change. Nothing on a failed read, an
// answer that is no number, or a frequency no analyser tunes to (beyond 0 Hz .. 1 THz); no line,
// the caller says what it does without it. Nothing either for a setting the family has no query
// of (the scan range on a swept analyser).
enum class FrequencySetting { Start, Stop, Center, ScanStart, ScanStop };
std::optional<double> ScpiReadFrequency(ScpiContext& c, FrequencySetting which);
// The centre asked back after it was set to plannedHz: tuned when the analyser reports it within
// toleranceHz. An analyser keeps its old centre for one beyond its range (or sets the nearest it
// has); ReportedHz is what it reports, nothing for no usable answer.
struct CentreCheck {
    bool Tuned = false;
    std::optional<double> ReportedHz;
    // "2.000.000.000 Hz lies beyond the analyser's range (it tuned to 1.500.000.000 Hz)".
    QString Untuned(double plannedHz) const;
};
CentreCheck ScpiCheckCentre(ScpiContext& c, double plannedHz, double toleranceHz);
void ScpiSourceOff(ScpiContext& c);
void ScpiSourceOn(ScpiContext& c, const QString& level);

namespace scpi {
// Whether r is one of the CISPR bandwidth texts ("200", "9000", "9kHz", "120000", "120kHz").
bool IsCisprBandwidth(const QString& r);
// The quasi-peak dwell per point in whole ms for a sweep time text in seconds spread over the
// analyser's points per trace.
int64_t QuasiPeakDwellMs(const QString& t, int32_t points);
} // namespace scpi

#endif
