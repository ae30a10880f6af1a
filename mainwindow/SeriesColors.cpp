#include "mainwindow/SeriesColors.h"

#include "chart/engine/ChartSeries.h"

std::vector<SeriesRole> SeriesOfColor(ColorSlot slot)
{
    using enum SeriesRole;
    switch (slot) {
    case ColorSlot::rawTrace1: return {rawTrace1};
    case ColorSlot::limitLine1: return {limitLine1, marginLine1};
    case ColorSlot::cableCorrection: return {cableCorrection};
    case ColorSlot::lisnCorrection: return {lisnCorrection};
    case ColorSlot::limitLine2: return {limitLine2, marginLine2};
    case ColorSlot::tablePreview: return {tablePreview};
    case ColorSlot::correctedTrace1: return {correctedTrace1, segmentMarks1};
    case ColorSlot::rawTrace2: return {rawTrace2};
    case ColorSlot::correctedTrace2: return {correctedTrace2, segmentMarks2};
    case ColorSlot::amplifierCorrection: return {amplifierCorrection};
    case ColorSlot::antennaFactor: return {antennaFactor};
    case ColorSlot::reference1Set1: return {reference1Set1};
    case ColorSlot::reference1Set2: return {reference1Set2};
    case ColorSlot::reference2Set1: return {reference2Set1};
    case ColorSlot::reference2Set2: return {reference2Set2};
    case ColorSlot::reference3Set1: return {reference3Set1};
    case ColorSlot::reference3Set2: return {reference3Set2};
    case ColorSlot::peakCircles1:
    case ColorSlot::crosshair:
    case ColorSlot::chartBackground:
    case ColorSlot::peakCircles2:
    case ColorSlot::remeasureCrosses1:
    case ColorSlot::remeasureCrosses2: return {};
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
