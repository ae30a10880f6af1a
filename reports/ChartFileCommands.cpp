#include "reports/ChartFileCommands.h"

#include "app/CaughtErrors.h"
#include "app/Log.h"
#include "chart/engine/ChartSeries.h"
#include "reports/HourglassCursor.h"

#include <QFileInfo>

#include <exception>

namespace {

// "Nothing happens unless the dialog is confirmed and the file exists."
bool Chosen(const QString& fileName)
{
    return !fileName.isEmpty() && QFileInfo::exists(fileName);
}

void Message(const ChartFileContext& chart, const QString& line)
{
    if (chart.Messages != nullptr)
        chart.Messages->Append(line);
}

void Call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// The file commands run from menu handlers: nothing may escape them.
template <class F> bool Guarded(const ChartFileContext& chart, F&& body)
{
    try {
        return body();
    } catch (const std::exception& e) {
        Message(chart, ErrorLine(e));
        return false;
    }
}

struct ReferenceSlot {
    SeriesRole Set1;
    SeriesRole Set2;
};
constexpr std::array<ReferenceSlot, 3> kReferenceSlots = {{
    {SeriesRole::reference1Set1, SeriesRole::reference1Set2},
    {SeriesRole::reference2Set1, SeriesRole::reference2Set2},
    {SeriesRole::reference3Set1, SeriesRole::reference3Set2},
}};

} // namespace

QString ChartFileView::Caption() const
{
    return QStringLiteral("Zendrik ") + CaptionProjectText + QLatin1Char(' ') + CaptionFileText;
}

bool SaveChartCommand(const QString& fileName, const ChartFileContext& chart)
{
    if (fileName.isEmpty())
        return false;
    HourglassCursor busy;
    return Guarded(chart, [&] { return SaveChartFile(fileName, chart); });
}

bool SaveCompensationCommand(const QString& fileName, const ChartFileContext& chart)
{
    if (fileName.isEmpty())
        return false;
    HourglassCursor busy;
    return Guarded(chart, [&] { return SaveZeroCompensation(fileName, chart); });
}

bool LoadChartCommand(const QString& fileName, bool runActive, ChartFileContext& chart, ChartFileView& view,
                      const ChartFileHooks& hooks)
{
    if (!Chosen(fileName))
        return false;
    if (runActive) {
        Message(chart, QStringLiteral("Warning: a chart file cannot be loaded while a measurement runs"));
        return false;
    }
    HourglassCursor busy;
    return Guarded(chart, [&] {
        if (!LoadChartFile(fileName, chart))
            return false;
        view.ChartLabel = QStringLiteral("Chart: ") + QFileInfo(fileName).fileName();
        Call(hooks.ClearPeaks);
        Call(hooks.ResetFadeOverlays);
        view.CaptionFileText.clear();
        view.UseCompensation = false;
        return true;
    });
}

bool LoadCompensationCommand(const QString& fileName, bool gridLocked, ChartFileContext& chart,
                             ChartFileView& view)
{
    if (!Chosen(fileName))
        return false;
    if (gridLocked) {
        Message(chart, QStringLiteral("Warning: a compensation file cannot be loaded while a measurement runs"));
        return false;
    }
    HourglassCursor busy;
    return Guarded(chart, [&] {
        if (!LoadZeroCompensation(fileName, chart))
            return false;
        view.CompensationLoaded = true;
        view.UseCompensation = true;
        UseCompensationClicked(chart, view);
        view.CaptionFileText = QLatin1Char('[') + QFileInfo(fileName).fileName() + QLatin1Char(']');
        return true;
    });
}

void UseCompensationClicked(const ChartFileContext& chart, const ChartFileView& view)
{
    if (!view.UseCompensation)
        return;
    const auto empty = [](const TChartSeries* s) { return s == nullptr || s->Count() == 0; };
    if (empty(chart.Series[SeriesRole::compensation1]))
        Message(chart, QStringLiteral("Info: Set1 no compensation data available"));
    if (empty(chart.Series[SeriesRole::compensation2]))
        Message(chart, QStringLiteral("Info: Set2 no compensation data available"));
}

bool LoadReferenceCommand(int slot, const QString& fileName, ChartFileContext& chart, ChartFileView& view)
{
    if (slot < 1 || slot > 3 || !Chosen(fileName))
        return false;
    const size_t k = static_cast<size_t>(slot - 1);
    HourglassCursor busy;
    return Guarded(chart, [&] {
        if (!LoadReferenceTrace(fileName, chart.Series[kReferenceSlots[k].Set1], chart.Series[kReferenceSlots[k].Set2],
                                chart.TraceColors[2 * k + 1], chart.TraceColors[2 * k], chart))
            return false;
        view.TraceLabels[k] = QStringLiteral("Trace%1: ").arg(slot) + QFileInfo(fileName).fileName();
        return true;
    });
}

void ClearReferenceTraces(ChartFileContext& chart, ChartFileView& view, const ChartFileHooks& hooks)
{
    HourglassCursor busy;
    for (size_t k = 0; k < kReferenceSlots.size(); ++k) {
        view.TraceLabels[k] = QStringLiteral("Trace%1:").arg(k + 1);
        for (TChartSeries* s : {chart.Series[kReferenceSlots[k].Set1], chart.Series[kReferenceSlots[k].Set2]})
            if (s != nullptr)
                s->Clear();
    }
    Call(hooks.RepaintChart);
}
