#ifndef ZENDRIK_CHART_CANVAS_CHARTERRORS_H
#define ZENDRIK_CHART_CANVAS_CHARTERRORS_H

#include <QString>
#include <functional>

// Where the chart library's event handlers tell what they stopped. A paint, mouse, wheel, timer
// or slot handler may not let an exception out, so it keeps the old state and reports where it
// happened (the handler) and what was caught (the exception's text, or "unknown"). The hook runs
// inside a catch block: it must not throw.
using ChartErrorHook = std::function<void(const QString& where, const QString& what)>;

// Puts a hook in use for the life of the object and brings back the one before it afterwards.
//
// One hook serves the whole process: the handlers that report are Qt's event handlers of every
// chart control, button and tool window, which get nothing but the event, and the text layer
// below them, none of which can reach an owner that the program set up. So the program entry
// makes one scope at start-up, with the library's units (LibraryStartup), before any chart
// exists, and nothing changes it while the program runs; tests make their own. GUI thread only.
class ChartErrorHookScope {
public:
    explicit ChartErrorHookScope(ChartErrorHook hook);
    ~ChartErrorHookScope();
    ChartErrorHookScope(const ChartErrorHookScope&) = delete;
    ChartErrorHookScope& operator=(const ChartErrorHookScope&) = delete;

private:
    ChartErrorHook hook_;
    const ChartErrorHookScope* previous_;

    friend void ReportChartError(const char* where) noexcept;
};

// Tells the hook in use about the exception being handled; call it only inside a catch block.
// With no hook in use the report goes to Qt's warning output, so it is never lost.
void ReportChartError(const char* where) noexcept;

#endif
