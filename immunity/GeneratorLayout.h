#ifndef ZENDRIK_IMMUNITY_GENERATORLAYOUT_H
#define ZENDRIK_IMMUNITY_GENERATORLAYOUT_H

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <vector>

// Geometry of the generator view in whole pixels: the ramp diagram, the fields placed over it,
// and where a floating box reappears. Percentages count in whole hundredths of the size (integer
// division first), as the diagram has always been drawn.

// Within the diagram box: x from the left, y upwards from the bottom edge.
int ScaleRampX(int width, int percent);
int ScaleRampY(int height, int percent);
// The ramp's trapezoid: low, rise, high, fall, low, in percent of the box.
inline constexpr std::array<QPoint, 6> kRampShapePercent = {
    QPoint(5, 20), QPoint(20, 20), QPoint(30, 85), QPoint(60, 85), QPoint(70, 20), QPoint(90, 20)};

// The same for a diagram placed at left/top in its parent.
int GeneratorXPercentToPixel(const QRect& diagram, int percent);
int GeneratorYPercentToPixel(const QRect& diagram, int percent);

// The ramp fields over the diagram.
enum class RampField { T0, StepsUp, T1, T2, StepsDown, T3, T4, Low, High, LowField, HighField };
struct RampFieldPlace {
    RampField Field;
    int XPercent;
    int YPercent;
    bool EndsAtX; // the field's right edge is at x (else its left edge)
};
const std::array<RampFieldPlace, 11>& RampFieldPlaces();
// The top-left corner of a field of the given width.
QPoint RampFieldPosition(const QRect& diagram, const RampFieldPlace& place, int fieldWidth);

// A floating box reappears on the second screen when it was last left of the first one or
// beyond the main window's width and a second screen exists; otherwise on the first. Returns the
// screen's index.
int FloatingBoxScreen(int rememberedLeft, int mainWindowWidth, int screenCount);
// Where the box goes on that screen: its remembered place, moved just enough to lie on the
// screen whole (or at its top-left corner when the box is larger than the screen).
QPoint FloatingBoxPosition(QPoint remembered, QSize box, const QRect& screen);
// Where the boxes open the first time: side by side from the anchor in their order, a new row
// where the next box would pass the screen's right edge, the group moved just enough to lie on
// the screen. A group too large for that starts again at the screen's left edge; one that does
// not fit even so is laid out from the screen's top-left corner, each box kept on the screen.
// Sizes are the boxes' outer sizes; gap is the free space left between two boxes. Where it can, the
// group leaves keepFree uncovered (the buttons that show and hide the boxes).
std::vector<QPoint> FirstFloatingBoxPlaces(QPoint anchor, const std::vector<QSize>& boxes, const QRect& screen,
                                           int gap, const QRect& keepFree = QRect());

#endif
