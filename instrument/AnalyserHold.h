#ifndef ZENDRIK_INSTRUMENT_ANALYSERHOLD_H
#define ZENDRIK_INSTRUMENT_ANALYSERHOLD_H

#include <QString>
#include <cstdint>
#include <functional>

struct ScpiContext;

// Who holds the analyser for longer than one command: a run (paused too), a peak re-measurement,
// a generator action (a fixed row or manual stepping for as long as it radiates) or the coverage
// logging (from Start to Stop).
enum class AnalyserHolder : uint8_t { Nobody, EmissionRun, PeakRemeasurement, Generator, CoverageLogging };

// The one question every window asks before it reaches the analyser. The main window, which knows
// every holder, answers it; without an answer nobody holds the analyser.
struct AnalyserHold {
    std::function<AnalyserHolder()> Holder;
};

AnalyserHolder HolderOf(const ScpiContext& c);
// Who holds the analyser when it is another than own; Nobody while nobody, or own, holds it.
AnalyserHolder OtherHolderOf(const ScpiContext& c, AnalyserHolder own);
// "the generator", "a run", ...
QString HolderName(AnalyserHolder holder);
// The one line of what a holder refuses: "Warning: " + what + ", the analyser is in use by the
// generator: stop it first".
QString HeldLine(AnalyserHolder holder, const QString& what);
// A step of a window that reaches the analyser (what: how its line names it, "\"Disconnect Visa\"
// refused"), unless another than own holds the analyser: then the message log gets the held line,
// which is returned; empty when the step may go on.
QString RefuseWhileHeld(ScpiContext& c, const QString& what, AnalyserHolder own = AnalyserHolder::Nobody);

#endif
