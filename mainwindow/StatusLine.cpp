#include "mainwindow/StatusLine.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "instrument/DeviceState.h"
#include "measurement/MeasureTime.h"
#include "measurement/MeasurementState.h"

#include <algorithm>
#include <numeric>

namespace {

QString Megabytes(uint64_t bytes)
{
    return InsertThousandDots(QString::number(RoundHalfEven(static_cast<double>(bytes) / 1024.0 / 1024.0)));
}

bool PartOfNumber(const QString& text, qsizetype i)
{
    if (i < 0 || i >= text.size())
        return false;
    const QChar c = text[i];
    if (c.isDigit())
        return true;
    return (c == QLatin1Char('.') || c == QLatin1Char(',')) && i > 0 && i + 1 < text.size() && text[i - 1].isDigit() &&
           text[i + 1].isDigit();
}

} // namespace

QString ElideStatusText(const QString& text, int width, const std::function<int(const QString&)>& widthOf)
{
    if (widthOf(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    // Cuts between words first; a text of one long word is cut after a separator instead.
    for (const bool words : {true, false}) {
        for (qsizetype cut = text.size() - 1; cut > 0; --cut) {
            const QChar before = text[cut - 1];
            const bool allowed = words ? text[cut].isSpace() && !before.isSpace()
                                       : !before.isLetterOrNumber() && !before.isSpace() &&
                                             !(PartOfNumber(text, cut - 1) && PartOfNumber(text, cut));
            if (!allowed)
                continue;
            const QString shown = text.left(cut).trimmed() + (words ? QStringLiteral(" ") : QString()) + dots;
            if (widthOf(shown) <= width)
                return shown;
        }
    }
    return dots;
}

std::vector<int> AllotStatusPanelWidths(const std::vector<StatusPanelRoom>& panels, int available)
{
    std::vector<size_t> shrinkOrder(panels.size());
    std::iota(shrinkOrder.begin(), shrinkOrder.end(), size_t{0});
    std::stable_sort(shrinkOrder.begin(), shrinkOrder.end(),
                     [&panels](size_t a, size_t b) { return panels[a].GivesWay < panels[b].GivesWay; });
    std::vector<int> widths;
    int wanted = 0;
    for (const StatusPanelRoom& p : panels) {
        widths.push_back(std::max(p.Design, p.Text));
        wanted += widths.back();
    }
    if (wanted <= available)
        return widths;
    int whole = 0;
    for (size_t i = 0; i < panels.size(); ++i) {
        widths[i] = std::max(panels[i].Text, panels[i].Least);
        whole += widths[i];
    }
    // The room left goes back to the panels that give up last.
    int room = available - whole;
    for (auto it = shrinkOrder.rbegin(); room > 0 && it != shrinkOrder.rend(); ++it) {
        const size_t i = *it;
        const int more = std::min(room, std::max(panels[i].Design, panels[i].Text) - widths[i]);
        widths[i] += more;
        room -= more;
    }
    for (auto it = shrinkOrder.begin(); room < 0 && it != shrinkOrder.end(); ++it) {
        const size_t i = *it;
        const int less = std::min(-room, widths[i] - panels[i].Least);
        widths[i] -= less;
        room += less;
    }
    return widths;
}

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

StatusLineTexts StatusLineTick(const InstrumentSettingsEcho& echo, MeasurementState& run, bool debugMode,
                               const StatusLineSources& sources)
{
    StatusLineTexts out;
    out.SettingsPanel = SettingsEchoText(echo);
    out.ClockPanel = TimeOfDayText(sources.Now ? sources.Now() : QTime::currentTime());
    if (debugMode) {
        out.MemoryPanel = ScreenSizesText(sources.ScreenSize ? sources.ScreenSize() : QSize(),
                                          sources.WindowSize ? sources.WindowSize() : QSize());
    } else {
        out.MemoryPanel = MemoryText(sources.TotalMemory ? sources.TotalMemory() : 0,
                                     sources.AvailableMemory ? sources.AvailableMemory() : 0);
    }
    if (run.RemainingMeasureSeconds >= 1 && !run.PauseRequested)
        --run.RemainingMeasureSeconds;
    out.TimeLeft = RemainingTimeText(run.RemainingMeasureSeconds, run.CorFastPath && debugMode);
    return out;
}
