#include "mainwindow/MainWindowColors.h"

#include "mainwindow/ColorSettings.h"

namespace {

// The colour dialog's slot behind each of the first 17 table entries.
constexpr std::array<ColorSlot, MainWindowColors::kFromColorDialog> kTableSlots{
    ColorSlot::rawTrace1,       ColorSlot::limitLine1,     ColorSlot::cableCorrection,
    ColorSlot::lisnCorrection,  ColorSlot::limitLine2,     ColorSlot::tablePreview,
    ColorSlot::correctedTrace1, ColorSlot::rawTrace2,      ColorSlot::correctedTrace2,
    ColorSlot::amplifierCorrection, ColorSlot::antennaFactor, ColorSlot::reference1Set1,
    ColorSlot::reference1Set2,  ColorSlot::reference2Set1, ColorSlot::reference2Set2,
    ColorSlot::reference3Set1,  ColorSlot::reference3Set2,
};

} // namespace

MainWindowColors StartupColors()
{
    MainWindowColors colors;
    colors.ColorTable = {0x808080, 0x0000FF, 0x000080, 0xF0CAA6, 0xFF0000, clBlack,  0x00FF00,
                         0xC0C0C0, 0xFF00FF, 0x800080, 0xC0DCC0, 0x008000, 0x800080, 0xF0CAA6,
                         0x808000, 0x800000, 0xC0DCC0, 0x000000, 0x808080};
    return colors;
}

void CopyColorSettings(const ColorSettings& colors, MainWindowColors& target)
{
    for (size_t i = 0; i < kTableSlots.size(); ++i)
        target.ColorTable[i] = colors[kTableSlots[i]];
    target.PeakCircles = {colors[ColorSlot::peakCircles1], colors[ColorSlot::peakCircles2]};
    target.RemeasureCrosses = {colors[ColorSlot::remeasureCrosses1], colors[ColorSlot::remeasureCrosses2]};
    target.Crosshair = colors[ColorSlot::crosshair];
    target.ChartBackground = colors[ColorSlot::chartBackground];
}
