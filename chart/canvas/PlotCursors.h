#ifndef ZENDRIK_CHART_CANVAS_PLOTCURSORS_H
#define ZENDRIK_CHART_CANVAS_PLOTCURSORS_H

#include <QCursor>
#include <QString>
#include <vector>

struct TPlotLibrarySettings;

// Screen cursor numbers of the chart library: the standard cursors (0 and below) and the
// library's hand cursor crPlotHand (2020, LibrarySettings.h).
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

struct TCursorEntry {
    const char* name;   // with its "cr" prefix
    TCursor cursor;
    Qt::CursorShape shape;   // Qt::BitmapCursor: a picture from the library settings
};

// Every named cursor: the standard ones in number order, then "crPlotHand".
const std::vector<TCursorEntry>& CursorEntries();
// The name of a cursor number ("crHandPoint"); false when it has none.
bool CursorToIdent(TCursor cursor, QString& name);
// The number of a cursor name, compared without regard to case; false when unknown.
bool IdentToCursor(const QString& name, TCursor& cursor);
// The Qt cursor that shows a cursor number; pictures come from the settings' cursor list.
// Unknown numbers show the arrow.
QCursor CursorForNumber(TCursor cursor, const TPlotLibrarySettings& settings);

#endif
