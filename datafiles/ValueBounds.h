#ifndef ZENDRIK_DATAFILES_VALUEBOUNDS_H
#define ZENDRIK_DATAFILES_VALUEBOUNDS_H

#include "app/PlausibleRanges.h"

#include <QString>
#include <QStringList>

// What a value of a project key, or the box or grid row it fills, may hold. A value beyond it
// ("nan", "1e308", an RBW of 0, a detector "junk") is refused where it is read or typed, with a
// line naming it, and never shown, sent or written back.
struct ValueBound {
    QStringList Words;                        // texts taken as they stand ("auto", the detectors)
    const plausible::Range* Range = nullptr;  // the numbers taken; none when only words are
    const char* Unit = "";                    // " Hz": thousands dots are removed before reading
    bool Whole = false;                       // the view reads a whole number
    bool FileName = false;                    // a file in ".\src": the path rules apply it
};

namespace valuebounds {
extern const ValueBound kHz;            // 0..1 THz
extern const ValueBound kWholeHz;       // whole Hz, 0..1 THz
extern const ValueBound kStepHz;        // whole Hz, 1..1 THz (a step of 0 never ends)
extern const ValueBound kSpanHz;        // whole Hz, 1..1 THz
extern const ValueBound kRbwHz;         // the main grid's own
extern const ValueBound kSweepMs;       // "auto" or the main grid's own
extern const ValueBound kAttenuationDb; // "auto" or the main grid's own
extern const ValueBound kMarginDb;
extern const ValueBound kDbuv;          // a limit level
extern const ValueBound kDbm;           // an analyser level
extern const ValueBound kGeneratorDbm;  // a whole analyser level
extern const ValueBound kStepDb;        // a whole correction
extern const ValueBound kRampMs;        // a ramp phase, 0 ms .. a day
extern const ValueBound kRampSteps;     // 0..30
extern const ValueBound kDwellMs;       // 1 ms .. a day
extern const ValueBound kSeptumCm;
extern const ValueBound kDetectorName;
extern const ValueBound kOnOff;
extern const ValueBound kFile;

// Whether the text is a value of the bound (a file name always is: its reader checks it).
bool Allows(const ValueBound& bound, const QString& value);
// "auto, whole numbers 1..2999999 ms": what the line of a refused value says the bound takes.
QString AllowedText(const ValueBound& bound);
} // namespace valuebounds

#endif
