#ifndef ZENDRIK_MEASUREMENT_RUNNERSTEPS_H
#define ZENDRIK_MEASUREMENT_RUNNERSTEPS_H

#include "instrument/TraceTransfer.h"

#include <QString>
#include <cstdint>

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

// After a trace request: reads the trace with the reader, or, when Stop came first, reads the
// answer only to throw it away, so that the next query of the link does not get the old trace.
// The points go to the pass's raw trace. Returns the points added.
using TraceReader = TraceReadResult (*)(ScpiContext&, int64_t, int64_t);
int ReadRequestedTrace(PassContext& pass, const SegmentRecord& s, TraceReader reader);
void DiscardAnswer(PassContext& pass);

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
