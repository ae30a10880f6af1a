#ifndef ZENDRIK_PLATFORM_SYSTEM_TERMINATIONSIGNALS_H
#define ZENDRIK_PLATFORM_SYSTEM_TERMINATIONSIGNALS_H

#include <functional>
#include <memory>

// Turns the signals that end a program from outside (Ctrl+C in its terminal, kill, the terminal
// closing) into a call on the GUI thread, so that the program leaves through its own close: a run
// is stopped, the generator switched off, and what may still be on is said. The first signal is
// taken; a second one of the same kind ends the program at once, as it would have without this.
// One at a time per process: the signal handler has nowhere but a process-wide pipe to write to.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void(int signal)> requested);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or the handlers could not be set up: the signals then end the program
    // as they always would.
    bool Active() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

#endif
