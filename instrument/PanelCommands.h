#ifndef ZENDRIK_INSTRUMENT_PANELCOMMANDS_H
#define ZENDRIK_INSTRUMENT_PANELCOMMANDS_H

struct DeviceState;
struct ScpiContext;
struct VisaState;
class DebugLog;

// What the operator switches by hand outside a run: the main window's preamplifier choice and
// the log window's mode buttons. (The reference-level arrows are in ReferenceLevel.h.)

// "seg": each segment's row says; "on" and "off": the analyser's preamplifier at once and for
// every segment.
enum class PreAmpChoice { PerSegment, On, Off };

// Records the choice in the device state; "on" and "off" also switch the analyser's preamplifier,
// as a command that owns the analyser (RunAnalyserCommand). A choice made while another such
// command waits is recorded only: the next set-up sends it. While a run, the generator or the
// coverage logging holds the analyser the choice ("seg" too) is refused with one line and not
// recorded.
void ApplyPreAmpChoice(ScpiContext& c, PreAmpChoice choice);
// The choice the device state records: what the next set-up sends.
PreAmpChoice PreAmpChoiceOf(const DeviceState& device);

// The instrument modes of the log window's "R&S SPEC Mode" and "R&S REC Mode".
enum class InstrumentMode { Spectrum, Receiver };

// Sends ":INST:SEL SAN" or ":INST:SEL REC" while an instrument is connected; otherwise nothing.
void SelectInstrumentMode(VisaState& visa, DebugLog& debug, const DeviceState& device, InstrumentMode mode);

#endif
