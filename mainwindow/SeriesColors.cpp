#include "mainwindow/SeriesColors.h"

#include "chart/engine/ChartSeries.h"

QStringList SeriesOfColor(ColorSlot slot)
{
    switch (slot) {
    case ColorSlot::Ser1: return {QStringLiteral("Series1")};
    case ColorSlot::Ser2: return {QStringLiteral("Series2"), QStringLiteral("Series14")};
    case ColorSlot::Ser3: return {QStringLiteral("Series3")};
    case ColorSlot::Ser4: return {QStringLiteral("Series4")};
    case ColorSlot::Ser5: return {QStringLiteral("Series5"), QStringLiteral("Series15")};
    case ColorSlot::Ser6: return {QStringLiteral("Series6")};
    case ColorSlot::Ser7: return {QStringLiteral("Series7"), QStringLiteral("Series17")};
    case ColorSlot::Ser8: return {QStringLiteral("Series8")};
    case ColorSlot::Ser9: return {QStringLiteral("Series9"), QStringLiteral("Series18")};
    case ColorSlot::Ser10: return {QStringLiteral("Series10")};
    case ColorSlot::Ser11: return {QStringLiteral("Series11")};
    case ColorSlot::Trace1Seg1: return {QStringLiteral("Series12")};
    case ColorSlot::Trace1Seg2: return {QStringLiteral("Series13")};
    case ColorSlot::Trace2Seg1: return {QStringLiteral("Series19")};
    case ColorSlot::Trace2Seg2: return {QStringLiteral("Series20")};
    case ColorSlot::Trace3Seg1: return {QStringLiteral("Series21")};
    case ColorSlot::Trace3Seg2: return {QStringLiteral("Series22")};
    case ColorSlot::Marker11:
    case ColorSlot::Cross:
    case ColorSlot::ChartBG:
    case ColorSlot::Marker12:
    case ColorSlot::Marker21:
    case ColorSlot::Marker22: return {};
    }
    return {};
}

void RecolourSeries(const ColorSettings& colors, ColorSlotMask changed,
                    const std::function<TChartSeries*(const QString& name)>& seriesNamed)
{
    for (int i = 0; i < kColorSlotCount; ++i) {
        const auto slot = static_cast<ColorSlot>(i);
        if (!(changed & MaskOf(slot)))
            continue;
        for (const QString& name : SeriesOfColor(slot)) {
            TChartSeries* series = seriesNamed(name);
            if (!series)
                continue;
            for (int p = 0; p < series->Count(); ++p)
                if (!series->IsNull(p))
                    series->SetPointColor(p, colors[slot]);
        }
    }
}
