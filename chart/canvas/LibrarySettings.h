#ifndef ZENDRIK_CHART_CANVAS_LIBRARYSETTINGS_H
#define ZENDRIK_CHART_CANVAS_LIBRARYSETTINGS_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"

#include <QCursor>
#include <QImage>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

class QObject;
class QWidget;

// Default chart font: "Arial" (Liberation Sans through fontconfig) at 8 points.
QString DefaultFontName();
int32_t DefaultFontSize();

// Screen cursor number of the hand cursor.
inline constexpr int crPlotHand = 2020;

// Library-wide settings of the chart library. The application owns one and passes it on.
struct TPlotLibrarySettings {
    TPlotLibrarySettings();   // installs the built-in palette and the hand cursor

    std::vector<TColor> ColorPalette;
    QString FieldSeparator = QStringLiteral(";");
    std::function<void(QObject*)> ControlHook;
    std::map<int, QCursor> Cursors;
    // The pause before a mark tip shows and how long it stays, in milliseconds: one pair for every
    // marks-tip tool (Qt has no settable program-wide tooltip delay).
    int HintPause = 500;
    int HintHidePause = 2500;
};

// The 20 built-in palette colours.
const std::vector<TColor>& BuiltInColorPalette();
// Replaces the palette by a copy of colors[0..highIndex]; a highIndex of 0 (or no colours)
// installs the built-in table.
void SetDefaultColorPalette(TPlotLibrarySettings& settings, const TColor* colors, int highIndex);
void SetDefaultPalette(TPlotLibrarySettings& settings);
void CallControlHook(const TPlotLibrarySettings& settings, QObject* control);
void CallControlHookEx(const TPlotLibrarySettings& settings);
// The hand cursor picture (built in; hot spot at the finger tip).
QCursor MakeHandCursor();

// Chart editor options: QSettings, organisation "Zendrik", application "PlotChart", group
// "Editor". Missing values answer the default.
inline constexpr const char* kEditorSmoothGallery = "SmoothGallery";
inline constexpr const char* kEditorRememberGallerySize = "RememberGallerySize";
inline constexpr const char* kEditorGalleryMode = "GalleryMode";
inline constexpr const char* kEditorGalleryWidth = "GalleryWidth";
inline constexpr const char* kEditorGalleryHeight = "GalleryHeight";
bool ReadEditorBoolean(const QString& name, bool defaultValue);
int32_t ReadEditorInteger(const QString& name, int32_t defaultValue);
void WriteEditorBoolean(const QString& name, bool value);
void WriteEditorInteger(const QString& name, int32_t value);

// Bitmaps of chart classes: Qt resources ":/bitmaps/<name>.png"; first name, then second.
bool LoadClassBitmap(QImage& bitmap, const QString& firstName, const QString& secondName);
bool LoadObjectBitmap(const QObject& object, QImage& bitmap);

// Fields.
int CountFields(const QString& text, QChar separator);
QString ExtractField(const QString& text, int index, QChar separator);
// The forms without a separator use the settings' field separator (its first character).
int CountFields(const TPlotLibrarySettings& settings, const QString& text);
QString ExtractField(const TPlotLibrarySettings& settings, const QString& text, int index);
// Every old character replaced by the new one; a new character of 0 deletes them.
QString ReplaceChar(const QString& text, QChar oldChar, QChar newChar);
QString GetUniqueComponentName(const QObject* owner, const QString& prefix);

// Hit tests.
bool PointInLineTolerance(const TPoint& p, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t tolerance);
inline bool PointInLine(const TPoint& p, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    return PointInLineTolerance(p, x0, y0, x1, y1, 0);
}
inline bool PointInLinePts(const TPoint& p, const TPoint& a, const TPoint& b, int32_t tolerance = 0)
{
    return PointInLineTolerance(p, a.X, a.Y, b.X, b.Y, tolerance);
}
bool PointInPolygon(const TPoint& p, const TPoint* points, int highIndex);
bool PointInTriangle(const TPoint& p, int32_t x0, int32_t x1, int32_t y0, int32_t y1);
bool PointInHorizTriangle(const TPoint& p, int32_t y0, int32_t y1, int32_t x0, int32_t x1);
bool PointInEllipse(const TPoint& p, int32_t left, int32_t top, int32_t right, int32_t bottom);
void EnableControls(bool enabled, std::initializer_list<QWidget*> controls);

// Quicksort over indices left..right with caller-supplied compare (sign result) and swap.
// Recurses into the smaller part and loops on the larger, so the stack stays shallow.
void QuickSortRange(int left, int right, const std::function<int(int, int)>& compare,
                    const std::function<void(int, int)>& swap);

// Other routines of the unit.
void SwapDouble(double& a, double& b);
void SwapInteger(int32_t& a, int32_t& b);
TPoint PointAtDistanceFromEnd(const TPoint& start, const TPoint& end, int32_t distance);
double Hypotenuse(double x, double y);

#endif
