#include "mainwindow/MainWindowColors.h"

#include "mainwindow/ColorSettings.h"

namespace {

// The colour dialog's slot behind each of the first 17 table entries.
constexpr std::array<ColorSlot, MainWindowColors::kFromColorDialog> kTableSlots{
    ColorSlot::Ser1,       ColorSlot::Ser2,       ColorSlot::Ser3,       ColorSlot::Ser4,
    ColorSlot::Ser5,       ColorSlot::Ser6,       ColorSlot::Ser7,       ColorSlot::Ser8,
    ColorSlot::Ser9,       ColorSlot::Ser10,      ColorSlot::Ser11,      ColorSlot::Trace1Seg1,
    ColorSlot::Trace1Seg2, ColorSlot::Trace2Seg1, ColorSlot::Trace2Seg2, ColorSlot::Trace3Seg1,
    ColorSlot::Trace3Seg2,
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
    target.Marker11 = colors[ColorSlot::Marker11];
    target.Marker12 = colors[ColorSlot::Marker12];
    target.Marker21 = colors[ColorSlot::Marker21];
    target.Marker22 = colors[ColorSlot::Marker22];
    target.Cross = colors[ColorSlot::Cross];
    target.ChartBG = colors[ColorSlot::ChartBG];
}
