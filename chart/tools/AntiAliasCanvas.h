#ifndef ZENDRIK_CHART_TOOLS_ANTIALIASCANVAS_H
#define ZENDRIK_CHART_TOOLS_ANTIALIASCANVAS_H

#include "chart/canvas/PlotCanvas3D.h"

#include <cstdint>

class TAntiAliasTool;

// The chart canvas that smooths lines, arcs, ellipses and the outlines of filled shapes: it blends
// the pen colour pixel by pixel straight into the off-screen bitmap while it draws a buffered
// picture into that bitmap. Everything else, and everything while it is disabled, while the chart
// draws into a metafile, onto a printer or another foreign canvas, or with a pen that does not
// copy (the XOR drawings that a second drawing must erase), is the plain device drawing.
// Horizontal and vertical lines, fills and text are always the device's own.
class TAntiAliasCanvas : public TPlotCanvas3D {
public:
    TAntiAliasCanvas() = default;
    ~TAntiAliasCanvas() override;

    // The tool that made the canvas; told when the canvas goes. Null once the tool is gone.
    TAntiAliasTool* Tool() const { return tool_; }
    void SetTool(TAntiAliasTool* tool) { tool_ = tool; }

    // Smoothing is off: every operation is the plain one.
    bool Disabled = false;
    // Whether drawing now goes smoothed: enabled, into the canvas' own bitmap, buffered, not
    // into a metafile.
    bool Smoothing();

    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) override;
    void ArcAngles(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double startAngle, double endAngle) override;
    void Donut(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, double startAngle,
               double endAngle, double innerFactor) override;
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void LineTo(int32_t x, int32_t y) override;
    void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) override;
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) override;
    void GradientFill(const TRect& rect, TColor c0, TColor c1, TGradientDirection direction, int32_t balance,
                      int32_t radialX, int32_t radialY) override;
    void Polyline(const TPointArray& points, int lastIndex) override;
    void Polygon(const TPointArray& points, int lastIndex) override;

    // What a smoothed stroke draws with: colour, dash pattern, width, and whether it is the brush
    // colour (the canvas pen is clear then).
    struct Stroke {
        uint32_t Rgb = 0;   // 0x00RRGGBB
        uint8_t Pattern = 0xFF;
        int32_t Width = 1;
        bool FromBrush = false;
    };

private:
    class PlainScope;
    class BlendSession;

    // The canvas pen as a stroke; false when it draws nothing or does not copy.
    bool PenStroke(Stroke& stroke);
    // The outline of a filled shape: the pen, or the brush colour when the pen is clear; false
    // when both are clear or the pen does not copy.
    bool OutlineStroke(Stroke& stroke);
    // A line of any width from (x0, y0) to (x1, y1) that is neither horizontal nor vertical.
    void StrokeLine(BlendSession& session, const Stroke& stroke, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    // The segments between consecutive points (and back to the first when closed): horizontal and
    // vertical runs go to the device as polylines, the others are smoothed. The device position
    // is left where it was.
    void StrokeSegments(BlendSession& session, const Stroke& stroke, const TPoint* points, int count, bool closed);
    // An arc of the box between two angles in degrees, counter-clockwise unless the device runs
    // arcs the other way.
    void StrokeArc(BlendSession& session, const Stroke& stroke, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                   double startDegrees, double endDegrees);
    bool ArcSmoothable(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Stroke& stroke);
    // Fills a shape with the device, the pen clear meanwhile.
    template <class Fill>
    void FillWithoutPen(Fill&& fill);

    TAntiAliasTool* tool_ = nullptr;
    int plainDepth_ = 0;
};

#endif
