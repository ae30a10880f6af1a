#ifndef ZENDRIK_MEASUREMENT_COMPLETIONHANDSHAKE_H
#define ZENDRIK_MEASUREMENT_COMPLETIONHANDSHAKE_H

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

struct DeviceState;
struct MeasurementState;
struct ScpiContext;
struct PassContext;

// How a completion handshake ended.
enum class HandshakeEnd {
    Complete,   // the event status register reported operation complete
    Stopped,    // Stop was pressed
    NoAnswer,   // the analyser stopped answering; the run was ended
    NoSweepEnd, // the analyser was still busy long after its sweep should have ended; the run was ended
    LinkLost,   // the link to the analyser is gone; the run was ended at once
};

// Whether the handshake ended the run with its line (or found the link gone): nothing more goes
// to the analyser for the segment.
inline bool EndedTheRun(HandshakeEnd end)
{
    return end == HandshakeEnd::NoAnswer || end == HandshakeEnd::NoSweepEnd || end == HandshakeEnd::LinkLost;
}

// The one line a run (or a peak re-measurement) ends with when the link to the analyser is gone.
inline constexpr const char* kLinkLostLine = "Error: the link to the analyser was lost, measurement stopped";

// The whole leading whole number of an answer ("1\n" 1, "129" 129, " 33;" 33); nothing when
// the answer does not begin with one.
std::optional<int> LeadingInteger(const QString& answer);

// The polls ask once a second until bit 0 (operation complete) is set or Stop is pressed.
// Answers that say "still busy" keep the poll going for as long as the sweep should take (boundMs,
// from the first poll on); reads that fail (or bring no number) for kPollGiveUpMs end the run
// with an "Error: " line, and so does a sweep still busy after boundMs. A link that is gone ends
// it at the first poll that finds it so, with kLinkLostLine.
inline constexpr uint32_t kPollGiveUpMs = 30000;

// The longest a poll waits for a sweep the program expects to take expectedMs: that time and the
// margins a plan allows each segment beyond its sweep (the analyser's sweep wait margin and 3 s,
// as the plan's total time counts them).
uint32_t SweepEndBoundMs(const DeviceState& device, double expectedMs);

// The Rigol RSA handshake: "*CLS;*OPC", then "*ESR?" every second.
HandshakeEnd RsaCompletionHandshake(PassContext& pass, uint32_t boundMs);
// The R&S receiver handshake: "*ESE 1", one sweep, "*ESR?" (answer discarded after
// firstWaitMs), then "*OPC;*ESR?" every second; error bits are written to the debug log.
HandshakeEnd ReceiverCompletionHandshake(PassContext& pass, uint32_t firstWaitMs, uint32_t boundMs);

// What a handshake needs outside a run's segment (the peak re-measurement): the link, the stop
// flag, what ends the work when the analyser stops answering, and how long it may stay busy.
struct HandshakeLink {
    ScpiContext& Scpi;
    MeasurementState& State;
    std::function<void(const QString& line)> Abort;
    uint32_t BoundMs = 0;
};
HandshakeEnd ReceiverCompletionHandshake(const HandshakeLink& link, uint32_t firstWaitMs);

#endif
