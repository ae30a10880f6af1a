#include "mainwindow/SeriesColors.h"

#include "chart/engine/ChartSeries.h"

std::vector<SeriesRole> SeriesOfColor(ColorSlot slot)
{
    using enum SeriesRole;
    switch (slot) {
    case ColorSlot::Ser1: return {rawTrace1};
    case ColorSlot::Ser2: return {limitLine1, marginLine1};
    case ColorSlot::Ser3: return {cableCorrection};
    case ColorSlot::Ser4: return {lisnCorrection};
    case ColorSlot::Ser5: return {limitLine2, marginLine2};
    case ColorSlot::Ser6: return {tablePreview};
    case ColorSlot::Ser7: return {correctedTrace1, segmentMarks1};
    case ColorSlot::Ser8: return {rawTrace2};
    case ColorSlot::Ser9: return {correctedTrace2, segmentMarks2};
    case ColorSlot::Ser10: return {amplifierCorrection};
    case ColorSlot::Ser11: return {antennaFactor};
    case ColorSlot::Trace1Seg1: return {reference1Set1};
    case ColorSlot::Trace1Seg2: return {reference1Set2};
    case ColorSlot::Trace2Seg1: return {reference2Set1};
    case ColorSlot::Trace2Seg2: return {reference2Set2};
    case ColorSlot::Trace3Seg1: return {reference3Set1};
    case ColorSlot::Trace3Seg2: return {reference3Set2};
    case ColorSlot::Marker11:
    case ColorSlot::Cross:
    case ColorSlot::ChartBG:
    case ColorSlot::Marker12:
    case ColorSlot::Marker21:
    case ColorSlot::Marker22: return {};
    }
    return {};
}

void RecolourSeries(const ColorSettings& colors, ColorSlotMask changed, const MainChartSeries& chart)
{
    for (int i = 0; i < kColorSlotCount; ++i) {
        const auto slot = static_cast<ColorSlot>(i);
        if (!(changed & MaskOf(slot)))
            continue;
        for (SeriesRole role : SeriesOfColor(slot)) {
            TChartSeries* series = chart[role];
            if (!series)
                continue;
            for (int p = 0; p < series->Count(); ++p)
                if (!series->IsNull(p))
                    series->SetPointColor(p, colors[slot]);
        }
    }
}
