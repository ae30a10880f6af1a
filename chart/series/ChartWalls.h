#ifndef ZENDRIK_CHART_SERIES_CHARTWALLS_H
#define ZENDRIK_CHART_SERIES_CHARTWALLS_H

#include "chart/canvas/PlotShape.h"

#include <memory>

class TCustomAxisPanel;

// A wall of the chart box: in a flat chart only the back wall is painted, as the background of
// the plot; in 3D the left, bottom and right walls close the box.
class TCustomChartWall : public TPlotCustomShape {
public:
    TCustomChartWall(PlotShapeOwner* chart, TColor defaultColor);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    bool AutoHide() const { return autoHide_; }
    void SetAutoHide(bool value) { SetAndRepaint(autoHide_, value); }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool value) { SetAndRepaint(dark3D_, value); }
    int EndPosition() const { return endPosition_; }
    void SetEndPosition(int value) { SetAndRepaint(endPosition_, value); }
    int Size() const { return size_; }
    void SetSize(int value) { SetAndRepaint(size_, value); }
    int StartPosition() const { return startPosition_; }
    void SetStartPosition(int value) { SetAndRepaint(startPosition_, value); }
    TColor DefaultColor() const { return defaultColor_; }
    bool IsColorStored() const { return Color() != defaultColor_; }
    // The fill colour: the kind's colour while none was chosen.
    TColor FillColor() const { return Color() == clDefault ? defaultColor_ : Color(); }

private:
    bool autoHide_ = false;
    bool dark3D_ = true;
    int endPosition_ = 100;
    int size_ = 0;
    int startPosition_ = 0;
    TColor defaultColor_;
};

class TChartWall : public TCustomChartWall {
public:
    using TCustomChartWall::TCustomChartWall;
};

// The back wall also shows a picture and a shadow; it starts transparent.
class TChartBackWall : public TChartWall {
public:
    explicit TChartBackWall(PlotShapeOwner* chart);
};

class TChartLeftWall : public TChartWall {
public:
    explicit TChartLeftWall(PlotShapeOwner* chart) : TChartWall(chart, 0x80FFFF) {}
};

class TChartBottomWall : public TChartWall {
public:
    explicit TChartBottomWall(PlotShapeOwner* chart) : TChartWall(chart, 0xFFFFFF) {}
};

class TChartRightWall : public TChartWall {
public:
    explicit TChartRightWall(PlotShapeOwner* chart);
};

// The four walls of a chart.
class TChartWalls {
public:
    explicit TChartWalls(PlotShapeOwner* chart);
    ~TChartWalls();
    TChartWalls(const TChartWalls&) = delete;
    TChartWalls& operator=(const TChartWalls&) = delete;

    void Assign(const TChartWalls& source);

    TChartBackWall& Back() { return *back_; }
    const TChartBackWall& Back() const { return *back_; }
    TChartLeftWall& Left() { return *left_; }
    const TChartLeftWall& Left() const { return *left_; }
    TChartBottomWall& Bottom() { return *bottom_; }
    const TChartBottomWall& Bottom() const { return *bottom_; }
    TChartRightWall& Right() { return *right_; }
    const TChartRightWall& Right() const { return *right_; }

private:
    std::unique_ptr<TChartBackWall> back_;
    std::unique_ptr<TChartLeftWall> left_;
    std::unique_ptr<TChartBottomWall> bottom_;
    std::unique_ptr<TChartRightWall> right_;
};

// The rectangle of the flat back wall: the chart rectangle one pixel wider, cut to the wall's
// start and end percentages; one pixel taller when it runs to 100 %.
TRect BackWallRect2D(const TRect& chartRect, int startPosition, int endPosition, int bottomWallSize);

// Paints the back wall of a flat chart on the chart's canvas.
void DrawBackWall2D(TCustomAxisPanel& chart, TChartBackWall& wall, int bottomWallSize);
// Paints a wall of a 3D chart as a plane (Size below 1) or a box through the chart's depth.
void DrawWall3D(TCustomAxisPanel& chart, TCustomChartWall& wall, int kind, int leftWallSize);

// Which wall DrawWall3D paints.
inline constexpr int kBackWall = 0;
inline constexpr int kLeftWall = 1;
inline constexpr int kBottomWall = 2;
inline constexpr int kRightWall = 3;

#endif
