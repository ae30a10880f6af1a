#ifndef ZENDRIK_MEASUREMENT_COMPLETIONHANDSHAKE_H
#define ZENDRIK_MEASUREMENT_COMPLETIONHANDSHAKE_H

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

struct MeasurementState;
struct ScpiContext;
struct SegmentJob;

// How a completion handshake ended.
enum class HandshakeEnd {
    Complete, // the event status register reported operation complete
    Stopped,  // Stop was pressed
    NoAnswer, // the analyser stopped answering; the run was ended
    LinkLost, // the link to the analyser is gone; the run was ended at once
};

// The one line a run (or a peak re-measurement) ends with when the link to the analyser is gone.
inline constexpr const char* kLinkLostLine = "Error: the link to the analyser was lost, measurement stopped";

// The whole leading whole number of an answer ("1\n" 1, "129" 129, " 33;" 33); nothing when
// the answer does not begin with one.
std::optional<int> LeadingInteger(const QString& answer);

// The polls ask once a second until bit 0 (operation complete) is set or Stop is pressed.
// Answers that say "still busy" keep the poll going for as long as the sweep takes; reads that
// fail (or bring no number) for this long end the run with an "Error: " line. A link that is gone
// ends it at the first poll that finds it so, with kLinkLostLine.
inline constexpr uint32_t kPollGiveUpMs = 30000;

// The Rigol RSA handshake: "*CLS;*OPC", then "*ESR?" every second.
HandshakeEnd RsaCompletionHandshake(SegmentJob& job);
// The R&S receiver handshake: "*ESE 1", one sweep, "*ESR?" (answer discarded after
// firstWaitMs), then "*OPC;*ESR?" every second; error bits are written to the debug log.
HandshakeEnd ReceiverCompletionHandshake(SegmentJob& job, uint32_t firstWaitMs);

// What a handshake needs outside a run's segment (the peak re-measurement): the link, the stop
// flag, and what ends the work when the analyser stops answering.
struct HandshakeLink {
    ScpiContext& Scpi;
    MeasurementState& State;
    std::function<void(const QString& line)> Abort;
};
HandshakeEnd ReceiverCompletionHandshake(const HandshakeLink& link, uint32_t firstWaitMs);

#endif
