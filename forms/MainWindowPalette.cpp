#include "forms/MainWindowPalette.h"

#include "mainwindow/MainWindowColors.h"
#include "platform/gdi/GdiTypes.h"

QColor QColorOf(TColor color)
{
    return QColor::fromRgb(gdi::ToQRgb(ColorToRGB(color)));
}

ProjectColors ProjectColorsOf(const MainWindowColors& colors)
{
    using enum TraceColor;
    ProjectColors p;
    p.Limit = {colors[limitLine1], colors[limitLine2]};
    p.Margin = p.Limit;
    p.Cable = colors[cableCorrection];
    p.Lisn = colors[lisnCorrection];
    p.Amplifier = colors[amplifierCorrection];
    p.Antenna = colors[antennaFactor];
    p.SegmentMarks = {colors[correctedTrace1], colors[correctedTrace2]};
    return p;
}

GridPalette GridPaletteOf(const MainWindowColors& colors)
{
    using enum TraceColor;
    GridPalette g;
    g.ChartBackground = colors.ChartBackground;
    g.Limit1 = colors[limitLine1];
    g.Limit2 = colors[limitLine2];
    g.Cable = colors[cableCorrection];
    g.Lisn = colors[lisnCorrection];
    g.Amplifier = colors[amplifierCorrection];
    g.Antenna = colors[antennaFactor];
    g.TraceSet1 = colors[rawTrace1];
    g.TraceSet2 = colors[rawTrace2];
    return g;
}
