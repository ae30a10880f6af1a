#include "forms/MainWindowPalette.h"

#include "mainwindow/MainWindowColors.h"
#include "platform/gdi/GdiTypes.h"

namespace {

// The colour table's entries, in its order.
enum TableEntry : size_t {
    kRaw1,
    kLimit1,
    kCable,
    kLisn,
    kLimit2,
    kShowData,
    kCorrected1,
    kRaw2,
    kCorrected2,
    kAmplifier,
    kAntenna,
};

} // namespace

QColor QColorOf(TColor color)
{
    return QColor::fromRgb(gdi::ToQRgb(ColorToRGB(color)));
}

ProjectColors ProjectColorsOf(const MainWindowColors& colors)
{
    const auto& t = colors.ColorTable;
    ProjectColors p;
    p.Limit1 = t[kLimit1];
    p.Margin1 = t[kLimit1];
    p.Limit2 = t[kLimit2];
    p.Margin2 = t[kLimit2];
    p.Cable = t[kCable];
    p.Lisn = t[kLisn];
    p.Amplifier = t[kAmplifier];
    p.Antenna = t[kAntenna];
    p.SegmentMarks1 = t[kCorrected1];
    p.SegmentMarks2 = t[kCorrected2];
    return p;
}

GridPalette GridPaletteOf(const MainWindowColors& colors)
{
    const auto& t = colors.ColorTable;
    GridPalette g;
    g.ChartBackground = colors.ChartBG;
    g.Limit1 = t[kLimit1];
    g.Limit2 = t[kLimit2];
    g.Cable = t[kCable];
    g.Lisn = t[kLisn];
    g.Amplifier = t[kAmplifier];
    g.Antenna = t[kAntenna];
    g.TraceSet1 = t[kRaw1];
    g.TraceSet2 = t[kRaw2];
    return g;
}
