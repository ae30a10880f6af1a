#include "chart/canvas/ChartErrors.h"

#include <QtGlobal>
#include <exception>

namespace {

// The scope in use; see the header for why there is exactly one per process.
const ChartErrorHookScope* current = nullptr;

QString CaughtText()
{
    try {
        if (const std::exception_ptr caught = std::current_exception())
            std::rethrow_exception(caught);
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("unknown");
    }
    return QStringLiteral("unknown");
}

} // namespace

ChartErrorHookScope::ChartErrorHookScope(ChartErrorHook hook) : hook_(std::move(hook)), previous_(current)
{
    current = this;
}

ChartErrorHookScope::~ChartErrorHookScope() { current = previous_; }

void ReportChartError(const char* where) noexcept
{
    const QString what = CaughtText();
    if (current && current->hook_)
        current->hook_(QString::fromLatin1(where), what);
    else
        qWarning("Chart error in %s: %s", where, qPrintable(what));
}
