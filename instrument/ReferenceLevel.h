#ifndef ZENDRIK_INSTRUMENT_REFERENCELEVEL_H
#define ZENDRIK_INSTRUMENT_REFERENCELEVEL_H

#include <QString>
#include <cstdint>
#include <optional>

struct ScpiContext;

// The arrows of the reference-level spin button ("Ref Lev RSA5000"). The down arrow raises the
// reference level by 10 dB, the up arrow lowers it: the trace moves the way the arrow points.
enum class RefLevelArrow { Up, Down };

// The command that sets the reference level, with "." whatever the process-wide mark.
QString ReferenceLevelCommand(double levelDbm);

// One arrow click: reads the reference level in dBm, sets it 10 dB up or down, remembers it
// rounded in refLevelDbm (the "RefLeveldBm" option) and switches the unit back to dBuV. An answer
// that is no number, or a level beyond plausible::kAnalyserDbm (with one "Error: " line), changes
// nothing but the unit. Returns the level sent, if any.
std::optional<double> StepReferenceLevel(ScpiContext& c, int32_t& refLevelDbm, RefLevelArrow arrow);

#endif
