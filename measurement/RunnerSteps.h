#ifndef ZENDRIK_MEASUREMENT_RUNNERSTEPS_H
#define ZENDRIK_MEASUREMENT_RUNNERSTEPS_H

#include "instrument/TraceTransfer.h"

#include <QString>
#include <cstdint>
#include <optional>

struct PassContext;
struct SegmentRecord;

// Steps that several mode runners share.
namespace runnersteps {

// Whole Hz as a decimal text.
QString HzText(int64_t hz);
// A sweep time or bandwidth as a general decimal text (15 significant digits, "." as mark).
QString GeneralText(double value);
// Start, stop and RBW of the segment.
void SetStartStopRbw(PassContext& pass, const SegmentRecord& s);
// Attenuation, preamplifier (upper-cased) and detector of the segment.
void SetAttenuation(PassContext& pass, const SegmentRecord& s);
void SetPreamp(PassContext& pass, const SegmentRecord& s);
void SetDetector(PassContext& pass, const SegmentRecord& s);

// After a sweep: asks the analyser the start and stop it measured over (a swept analyser's, or a
// receiver's scan range), requests the trace and reads it with the reader, laid over what the
// analyser measured; only its points within the segment's plan are kept. A segment of which the
// analyser measured nothing (it keeps its last range for one beyond its own) is said in one line
// and its trace not requested; one it measured in part, in one line naming what was drawn. When
// Stop came first the answer is read only to be thrown away, so that the next query of the link
// does not get the old trace. The points go to the pass's raw trace. Returns the points added.
enum class TraceAxis { Swept, ReceiverScan };
using TraceReader = TraceReadResult (*)(ScpiContext&, int64_t, int64_t);
int ReadMeasuredTrace(PassContext& pass, int segment, TraceAxis axis, TraceReader reader);
void DiscardAnswer(PassContext& pass);

// The point loops' planned frequencies, each asked back from the analyser after it was set: a
// point the analyser did not tune to (within half a point's step) is not measured; the segment's
// end says how many in one line.
class TunedPoints {
public:
    TunedPoints(const SegmentRecord& s, int points);
    // The frequency the analyser reports for plannedHz, or nothing when it did not tune to it.
    std::optional<double> Ask(PassContext& pass, double plannedHz);
    // "Warning: seg 2 of 6: the analyser did not tune to ..." when any point was not measured.
    void SayUntuned(PassContext& pass, int segment) const;

private:
    double toleranceHz_;
    int points_;
    int untuned_ = 0;
    double firstHz_ = 0;
    double lastHz_ = 0;
};

// A sweep-time answer in seconds as a wait in whole ms (0 for an answer out of range).
uint32_t SecondsToWaitMs(double seconds);

// True when the analyser is gone: its link was lost (closed, or silent past the time-out), or it
// sent a trace of the wrong size and no longer counts as connected. The first time (Stop not yet
// pressed) it ends the run, with kLinkLostLine for a lost link (the trace reader has written the
// line of a wrong size), so that every wait after it returns at once.
bool EndIfGone(PassContext& pass);
// The runners' waits: WaitMsOrStop, and a fixed wait that does not look at Stop. Neither waits
// for an analyser that is gone.
void WaitOrStop(PassContext& pass, uint32_t ms);
void Settle(PassContext& pass, uint32_t ms);

} // namespace runnersteps

#endif
