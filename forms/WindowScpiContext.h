#ifndef ZENDRIK_FORMS_WINDOWSCPICONTEXT_H
#define ZENDRIK_FORMS_WINDOWSCPICONTEXT_H

#include "instrument/ScpiContext.h"

#include <memory>

class EventPump;
class QtEventPump;
struct AppContext;
struct InstrumentState;

// The event pump a window waits on: the program's, or, when the program has given none (a window
// built on its own, as the tests build them), one of the window's own over Qt's event loop.
// `*pump_` is the pump.
class WindowEventPump {
public:
    explicit WindowEventPump(EventPump* programPump);
    ~WindowEventPump();
    WindowEventPump(const WindowEventPump&) = delete;
    WindowEventPump& operator=(const WindowEventPump&) = delete;

    EventPump& operator*() const { return *pump_; }

private:
    std::unique_ptr<QtEventPump> own_;
    EventPump* pump_;
};

// What a window that drives the analyser sends its commands through: a ScpiContext over the
// program's instrument state, settings and logs that waits on the window's event pump, and asks the
// program's hold who else has the analyser. `*scpi_` is the context.
class WindowScpiContext {
public:
    WindowScpiContext(AppContext& app, InstrumentState& instrument);
    ~WindowScpiContext();
    WindowScpiContext(const WindowScpiContext&) = delete;
    WindowScpiContext& operator=(const WindowScpiContext&) = delete;

    ScpiContext& operator*() { return context_; }
    const ScpiContext& operator*() const { return context_; }
    ScpiContext* operator->() { return &context_; }

private:
    WindowEventPump pump_;
    ScpiContext context_;
};

#endif
