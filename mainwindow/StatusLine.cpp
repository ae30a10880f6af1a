#include "mainwindow/StatusLine.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "instrument/DeviceState.h"
#include "measurement/MeasureTime.h"
#include "measurement/MeasurementState.h"

namespace {

QString Megabytes(uint64_t bytes)
{
    return InsertThousandDots(QString::number(RoundHalfEven(static_cast<double>(bytes) / 1024.0 / 1024.0)));
}

} // namespace

QString SettingsEchoText(const InstrumentSettingsEcho& echo)
{
    QString text;
    auto add = [&text](const QString& value, const char* before, const char* after) {
        if (!value.isEmpty())
            text += QLatin1String(before) + value + QLatin1String(after);
    };
    add(echo.StartText, "L:", "Hz ");
    add(echo.StopText, "R:", "Hz ");
    add(echo.CenterText, "C:", "Hz ");
    add(echo.SpanText, "Sp:", "Hz ");
    add(echo.RbwText, "Bw:", "Hz ");
    add(echo.DetectorText, "", " ");
    add(echo.SweepText, "Sw:", "sec ");
    add(echo.PreAmpText, "PA:", "");
    return text;
}

QString MemoryText(uint64_t totalBytes, uint64_t availableBytes)
{
    // /proc/meminfo may be unreadable (a container, a hardened system): the reading is then 0,
    // and a percentage of nothing is shown as none in use instead of a division by zero.
    int64_t percent = 0;
    if (totalBytes > 0) {
        const double used = static_cast<double>(totalBytes) - static_cast<double>(availableBytes);
        percent = RoundHalfEven(used / static_cast<double>(totalBytes) * 100.0);
    }
    return Megabytes(totalBytes) + QStringLiteral("MB :") + Megabytes(availableBytes) + QStringLiteral("MB :") +
           QString::number(percent);
}

QString ScreenSizesText(QSize screen, QSize window)
{
    return QStringLiteral("%1x%2--%3x%4").arg(screen.width()).arg(screen.height()).arg(window.width()).arg(window.height());
}

QString TimeOfDayText(QTime now)
{
    return now.toString(QStringLiteral("hh:mm:ss")) + QStringLiteral("       ");
}

QString RemainingTimeText(uint32_t seconds, bool masterCurveMark)
{
    // The same text as the estimate's, so that both labels agree however long the run.
    const QString text = SecondsText(seconds);
    return masterCurveMark ? text + QLatin1Char('*') : text;
}

StatusLineSources SystemStatusSources()
{
    StatusLineSources s;
    s.Now = [] { return QTime::currentTime(); };
    s.TotalMemory = [] { return GetTotalPhysMemory(); };
    s.AvailableMemory = [] { return GetAvailPhysMemory(); };
    return s;
}

StatusLineTexts StatusLineTick(const InstrumentSettingsEcho& echo, MeasurementState& run, uint8_t debugMode,
                               const StatusLineSources& sources)
{
    StatusLineTexts out;
    out.SettingsPanel = SettingsEchoText(echo);
    out.ClockPanel = TimeOfDayText(sources.Now ? sources.Now() : QTime::currentTime());
    if (debugMode == 1) {
        out.MemoryPanel = ScreenSizesText(sources.ScreenSize ? sources.ScreenSize() : QSize(),
                                          sources.WindowSize ? sources.WindowSize() : QSize());
    } else {
        out.MemoryPanel = MemoryText(sources.TotalMemory ? sources.TotalMemory() : 0,
                                     sources.AvailableMemory ? sources.AvailableMemory() : 0);
    }
    if (run.RemainingMeasureSeconds >= 1 && run.PauseRequested == 0)
        --run.RemainingMeasureSeconds;
    out.TimeLeft = RemainingTimeText(run.RemainingMeasureSeconds, run.CorFastPath == 1 && debugMode == 1);
    return out;
}
