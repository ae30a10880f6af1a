#ifndef ZENDRIK_CHART_TOOLS_INVERTINGPEN_H
#define ZENDRIK_CHART_TOOLS_INVERTINGPEN_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"

class TCanvas;
class TChartPen;
class TCustomAxisPanel;

// The chart's back colour as the inverting pen counts it: the button face for the default.
TColor InvertingBackColor(const TCustomAxisPanel& panel);
// The pen colour that XORed onto the back colour shows the pen's own colour.
TColor InvertingColor(TColor penColor, TColor backColor);

// Drawing with a pen in XOR mode, so that the same drawing made twice gives every pixel back:
// how tools show and erase lines that follow the mouse without drawing the chart again.
//
// During the chart's drawing (an after-draw event) it draws on the chart's canvas, the picture
// being drawn. From a mouse handler it draws on the window surface, which the screen shows, and
// asks the widget to show it; never into the back buffer, whose picture the next drawing starts
// from. The pen's mode goes back to copy when the object goes.
class InvertingPen {
public:
    enum Surface { ChartCanvas, WindowSurface };

    InvertingPen(TCustomAxisPanel& panel, const TChartPen& pen, Surface surface);
    ~InvertingPen();
    InvertingPen(const InvertingPen&) = delete;
    InvertingPen& operator=(const InvertingPen&) = delete;

    // A hidden pen draws nothing.
    bool Visible() const { return visible_; }
    bool OnWindow() const { return surface_ == WindowSurface; }
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    void Rectangle(const TRect& rect);
    void Ellipse(const TRect& rect);
    // A closed outline through the points.
    void Outline(const TPoint* points, int count);

private:
    TCustomAxisPanel& panel_;
    TCanvas& canvas_;
    Surface surface_;
    bool visible_ = true;
};

#endif
