#ifndef ZENDRIK_FORMS_MAINWINDOWPALETTE_H
#define ZENDRIK_FORMS_MAINWINDOWPALETTE_H

#include "chart/canvas/PlotColor.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectTargets.h"

#include <QColor>

struct MainWindowColors;

// A chart colour as Qt paints it.
QColor QColorOf(TColor color);

// The colours loaded tables are drawn in, from the main window's colour table: each limit line
// and its margin line in the limit's colour, the corrections in theirs, the segment marks in the
// colour of their set's corrected trace.
ProjectColors ProjectColorsOf(const MainWindowColors& colors);

// The parameter grid's colour legend: the chart background behind the range rows, each file row's
// key in the colour of the series it feeds.
GridPalette GridPaletteOf(const MainWindowColors& colors);

#endif
