#ifndef ZENDRIK_INSTRUMENT_ANALYSEROWNERSHIP_H
#define ZENDRIK_INSTRUMENT_ANALYSEROWNERSHIP_H

#include "instrument/AnalyserHold.h"
#include "instrument/visa/PumpedVisaBackEnd.h"

#include <QString>
#include <functional>

struct ScpiContext;
struct VisaState;

// For the time of a run, a peak re-measurement or a generator action: every wait on the analyser
// goes through the context's pump and ends when `stopped` says so, and an analyser that leaves a
// call unanswered within the session's time-out counts as gone, as one whose link closed does.
// What was set before comes back after, so that an owner may nest inside another.
class AnalyserOwnership {
public:
    AnalyserOwnership(ScpiContext& c, std::function<bool()> stopped);
    ~AnalyserOwnership();
    AnalyserOwnership(const AnalyserOwnership&) = delete;
    AnalyserOwnership& operator=(const AnalyserOwnership&) = delete;

private:
    VisaState& visa_;
    VisaWaitHooks before_;
    bool silenceWasLoss_;
};

// A connect or a disconnect waits through the window's pump, as a run does: an analyser that
// stopped answering leaves a call under way, a link that takes its time-out to close and an open
// that times out, and the window froze for all of them. Each call still ends by its own time-out,
// and silence is no lost link: nothing is connected yet, or the link is being closed.
class PumpedWaits {
public:
    explicit PumpedWaits(ScpiContext& c);
    ~PumpedWaits();
    PumpedWaits(const PumpedWaits&) = delete;
    PumpedWaits& operator=(const PumpedWaits&) = delete;

private:
    VisaWaitHooks& hooks_;
    VisaWaitHooks before_;
};

enum class AnalyserCommandEnd { Done, Refused, Held, Lost };

// How a command of a window is named in its lines, and whose it is: a holder of the analyser does
// not refuse its own commands (the parameter grid's rows are the run's, sent while it is paused).
struct AnalyserCommand {
    QString Name;                              // "\"SND SCPI\""
    QString Ended = QStringLiteral("stopped"); // after a lost link: Name + " " + Ended
    AnalyserHolder Own = AnalyserHolder::Nobody;
};

// A command of a window that talks to the analyser outside a run ("SND SCPI", "Init SA", a
// parameter grid row): work owns the analyser as a run does, and the window keeps working while
// it waits. Refused, with nothing done, while another such command is under way, and with the one
// held line (Name + " not sent") while another holds the analyser (AnalyserHold). When the
// analyser falls silent or its link closes, it no longer counts as connected, nothing more reaches
// it, and the message log gets the one line "Error: the link to the analyser was lost, " + Name +
// " " + Ended.
AnalyserCommandEnd RunAnalyserCommand(ScpiContext& c, const AnalyserCommand& command,
                                      const std::function<void()>& work);

#endif
