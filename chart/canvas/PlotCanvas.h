#ifndef ZENDRIK_CHART_CANVAS_PLOTCANVAS_H
#define ZENDRIK_CHART_CANVAS_PLOTCANVAS_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotColor.h"
#include "chart/canvas/PlotGraphics.h"

#include <QString>
#include <memory>

class TPlotFont;
class TCustomPlotGradient;
class TPlotBlend;
class TView3DOptions;

// Background modes of the canvas.
inline constexpr int cbmTransparent = 1;
inline constexpr int cbmOpaque = 2;

// The flat drawing surface every chart part draws through. The state it keeps itself is public
// data, as the chart parts read and set it directly.
class TPlotCanvas {
public:
    TPlotCanvas();
    virtual ~TPlotCanvas();
    TPlotCanvas(const TPlotCanvas&) = delete;
    TPlotCanvas& operator=(const TPlotCanvas&) = delete;

    // Attached window-system canvas; caches its pen, brush and font.
    void SetCanvas(TCanvas* canvas);
    TCanvas* ReferenceCanvas() const { return referenceCanvas_; }
    TFont& Font() { return referenceCanvas_->Font(); }
    TPen& Pen() { return referenceCanvas_->Pen(); }
    TBrush& Brush() { return referenceCanvas_->Brush(); }

    // Slots.
    virtual TColor GetBackColor() = 0;
    virtual int GetBackMode() = 0;
    virtual gdi::DeviceContext* GetHandle() = 0;
    virtual bool GetMonochrome() = 0;
    virtual TColor GetPixel(int32_t x, int32_t y) = 0;
    virtual bool GetAvoidExtendedPens() = 0;
    virtual bool GetSupportsFeature() = 0;
    virtual uint32_t GetTextAlign() = 0;
    virtual bool GetBufferedDisplay() = 0;
    virtual void SetBackColor(TColor color) = 0;
    virtual void SetBackMode(int mode) = 0;
    virtual void SetMonochrome(bool value) = 0;
    virtual void SetPixel(int32_t x, int32_t y, TColor color) = 0;
    virtual void SetTextAlign(uint32_t flags) = 0;
    virtual void SetBufferedDisplay(bool value) = 0;
    virtual void AssignVisiblePenColor(TPen& pen, TColor color);
    virtual std::unique_ptr<TPlotBlend> BeginBlending(const TRect& rect, int transparency);
    virtual void EndBlending(std::unique_ptr<TPlotBlend> blend);
    virtual void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) = 0;
    virtual void ArcAngles(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double startAngle, double endAngle);
    // Angles in radians, counter-clockwise from three o'clock.
    virtual void Donut(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, double startAngle,
                       double endAngle, double innerFactor) = 0;
    virtual void Draw(int32_t x, int32_t y, const QImage& graphic) = 0;
    virtual void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    virtual void FillRect(const TRect& rect) = 0;
    virtual void Frame3D(TRect& rect, TColor topColor, TColor bottomColor, int32_t width);
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void MoveTo(int32_t x, int32_t y) = 0;
    virtual void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) = 0;
    virtual void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1) = 0;
    virtual void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) = 0;
    virtual void StretchDraw(const TRect& rect, const QImage& graphic) = 0;
    virtual void TextOut(int32_t x, int32_t y, const QString& text) = 0;
    virtual int32_t TextWidth(const QString& text);
    virtual int32_t TextHeight(const QString& text);
    virtual int32_t TextWidthWide(const QString& text);
    virtual int32_t TextHeightWide(const QString& text);
    // TextWidth and TextHeight of one text in one measurement.
    gdi::Size TextExtent(const QString& text);
    virtual void ClipRectangle(const TRect& rect) = 0;
    virtual void ClipRoundRectangle(const TRect& rect, int32_t size);
    virtual void ClipEllipse(const TRect& rect, bool inverted);
    virtual void ClipPolygon(const TPoint* points, int count, bool inverted);
    virtual void HorizLine(int32_t x0, int32_t x1, int32_t y);
    virtual void VertLine(int32_t x, int32_t y0, int32_t y1);
    virtual void EraseBackground(const TRect& rect) = 0;
    virtual void GradientFill(const TRect& rect, TColor c0, TColor c1, TGradientDirection direction,
                              int32_t balance, int32_t radialX, int32_t radialY) = 0;
    virtual void Invalidate() = 0;
    virtual void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    virtual void Polyline(const TPointArray& points, int lastIndex) = 0;
    virtual void Polygon(const TPointArray& points, int lastIndex) = 0;
    virtual void GradientPolygon(const TPointArray& points, int lastIndex, TCustomPlotGradient& gradient);
    virtual void RotateLabel(int32_t x, int32_t y, const QString& text, double angle) = 0;
    virtual void UnClipRectangle() = 0;
    virtual void ReservedHookA() {}
    virtual void ReservedHookB() {}

    // Non-virtual operations.
    void AssignVisiblePen(TPen& pen) { AssignVisiblePenColor(pen, pen.Color()); }
    void AssignChartBrush(TChartBrush& brush) { AssignBrushColor(brush, brush.Color(), brush.BackColor()); }
    void AssignBrush(TChartBrush& brush, TColor backColor) { AssignBrushColor(brush, brush.Color(), backColor); }
    void AssignBrushColor(TBrush& brush, TColor color, TColor backColor);
    void AssignFont(TPlotFont* font);
    void ResetState();
    int32_t FontHeight() { return TextHeight(QStringLiteral("W")); }
    void RectangleRect(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void EllipseRect(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void LineToPoint(const TPoint& p) { LineTo(p.X, p.Y); }
    void MoveToPoint(const TPoint& p) { MoveTo(p.X, p.Y); }
    void LinePoints(const TPoint& p0, const TPoint& p1) { Line(p0.X, p0.Y, p1.X, p1.Y); }
    void RoundRectRect(const TRect& r, int32_t w, int32_t h) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, w, h); }
    // Draws as HTML-subset text when html is set and a renderer is installed, else plain text. A
    // malformed HTML text is drawn as plain text.
    void TextOutFormat(int32_t x, int32_t y, const QString& text, bool html);
    // The size of a text as TextOutFormat draws it, for laying chart parts out.
    gdi::Size TextExtentFormat(const QString& text, bool html);
    void SetBrushDarker(TColor color, int amount);

    // State of the surface.
    int BlendTransparency = 0;
    TRect Bounds;
    TPlotFont* FontObject = nullptr;
    double FontZoom = 100.0;
    bool Metafiling = false;

    // Renderer and measurer of HTML-subset texts: the library's own from creation on; empty
    // means plain text.
    std::function<void(TPlotCanvas&, int32_t, int32_t, const QString&)> HtmlTextOut;
    std::function<gdi::Size(TPlotCanvas&, const QString&)> HtmlTextExtent;

protected:
    TCanvas* referenceCanvas_ = nullptr;

private:
    std::unique_ptr<TCanvas> ownCanvas_;   // a detached canvas until SetCanvas gives one
};

// A surface with depth: every 3D operation maps (X, Y, Z) through the concrete projection.
class TCanvas3D : public TPlotCanvas {
public:
    TCanvas3D();
    ~TCanvas3D() override;

    virtual TColor GetPixel3D(int32_t x, int32_t y, int32_t z) = 0;
    virtual bool GetSupportsFeature3D() = 0;
    virtual void SetPixel3D(int32_t x, int32_t y, int32_t z, TColor color) = 0;
    virtual void UnprojectPoint(int32_t& x, int32_t& y, int32_t z) = 0;
    virtual TPoint ProjectToScreen(int32_t x, int32_t y, int32_t z) = 0;
    virtual TRect InitWindow(TCanvas* destination, TView3DOptions* options, TColor backColor, bool is3D,
                             const TRect& chartRect) = 0;
    virtual void AssignSettings(TCanvas3D& source);
    virtual void SetProjectionCentre(int32_t depth, const TRect& chartRect) = 0;
    virtual void ShowBuffer(TCanvas* destination, TCanvas* reference, const TRect& rect) = 0;
    virtual bool RepaintFromBuffer() = 0;
    virtual void Arrow(bool filled, const TPoint& from, const TPoint& to, int32_t z, int32_t headLength,
                       int32_t headWidth, int32_t headSize) = 0;
    virtual void ClipBox(const TRect& rect, int32_t z0, int32_t z1) = 0;
    virtual void Cone(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0,
                      int32_t z1, bool darkSides, int32_t conePercent) = 0;
    virtual void Cube(int32_t left, int32_t right, int32_t top, int32_t bottom, int32_t z0, int32_t z1,
                      bool darkSides) = 0;
    virtual void Cylinder(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0,
                          int32_t z1, bool darkSides) = 0;
    virtual void Suspend3D() {}
    virtual void EllipseAtDepth(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t z) = 0;
    virtual void Resume3D() {}
    virtual void HorizLineAtDepth(int32_t x0, int32_t x1, int32_t y, int32_t z);
    virtual void VertLineAtDepth(int32_t x, int32_t y0, int32_t y1, int32_t z);
    virtual void DepthLine(int32_t x, int32_t y, int32_t z0, int32_t z1);
    virtual void BeginFlatSection();
    virtual void EndFlatSection();
    virtual void LineAtDepth(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t z);
    virtual void MoveToAtDepth(int32_t x, int32_t y, int32_t z);
    virtual void LineToAtDepth(int32_t x, int32_t y, int32_t z);
    // Angles in radians; the pie stands on depth z0 and its top face lies at z1; donutPercent
    // above 0 leaves a hole of that percentage of the radii; a visible gradient fills the top
    // face, clipped to the sector.
    virtual void Pie3D(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, int32_t z0, int32_t z1,
                       double startAngle, double endAngle, bool darkSides, bool drawSides, int32_t donutPercent,
                       TCustomPlotGradient* gradient = nullptr) = 0;
    virtual void DepthPlane(const TPoint& p1, const TPoint& p2, int32_t z0, int32_t z1) = 0;
    virtual void QuadAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4, int32_t z) = 0;
    virtual void QuadBetweenDepths(const TFourPoints& points, int32_t z0, int32_t z1) = 0;
    virtual void Polygon3D(const TPoint3DArray& points, int lastIndex) = 0;
    virtual void PolygonAtDepth(const TPointArray& points, int lastIndex, int32_t z);
    virtual void PolylineAtDepth(const TPointArray& points, int lastIndex, int32_t z);
    virtual void Pyramid(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0,
                         int32_t z1, bool darkSides) = 0;
    virtual void TruncatedPyramid(const TRect& rect, int32_t z0, int32_t z1, int32_t amountA, int32_t amountB) = 0;
    virtual void RectangleAtDepth(const TRect& rect, int32_t z) = 0;
    virtual void HorizontalPlane(int32_t left, int32_t y, int32_t z0, int32_t z1, int32_t right) = 0;
    virtual void SidePlane(int32_t x, int32_t top, int32_t z0, int32_t z1, int32_t bottom) = 0;
    virtual void RotateLabelAtDepth(int32_t x, int32_t y, int32_t z, const QString& text, double angle) = 0;
    virtual void Sphere(int32_t x, int32_t y, int32_t z, double radius) = 0;
    virtual void SphereShaded(int32_t x, int32_t y, int32_t z, double radius, TColor color) = 0;
    virtual void TextOutAtDepth(int32_t x, int32_t y, int32_t z, const QString& text) = 0;
    virtual void Triangle3D(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c0, TColor c1,
                            TColor c2) = 0;
    virtual void TriangleAtDepth(const TPoint& p0, const TPoint& p1, const TPoint& p2, int32_t z) = 0;

    // Non-virtual forms.
    TPoint ProjectPoint(int32_t x, int32_t y, int32_t z) { return ProjectToScreen(x, y, z); }
    TRect CalcRect3D(const TRect& rect, int32_t z);
    TRect CalcRect3DBounds(const TRect& rect, int32_t z);
    TRect CalcRect3DPolygon(const TRect& rect, int32_t z) { return CalcRect3DBounds(rect, z); }
    void ArrowHalfHead(bool filled, const TPoint& from, const TPoint& to, int32_t z, int32_t headLength,
                       int32_t headWidth)
    {
        Arrow(filled, from, to, z, headLength, headWidth, 50);
    }
    void CubeRect(const TRect& r, int32_t z0, int32_t z1, bool darkSides)
    {
        Cube(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides);
    }
    void RectangleZ(const TRect& r, int32_t z) { RectangleAtDepth(r, z); }
    void RectangleZCoords(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z)
    {
        RectangleAtDepth(TRect{left, top, right, bottom}, z);
    }
    void LinePointsZ(const TPoint& p0, const TPoint& p1, int32_t z) { LineAtDepth(p0.X, p0.Y, p1.X, p1.Y, z); }
    void PlaneFourPoints(const TFourPoints& p, int32_t z) { QuadAtDepth(p[0], p[1], p[2], p[3], z); }
    void EllipseRectAtDepth(const TRect& r, int32_t z) { EllipseAtDepth(r.Left, r.Top, r.Right, r.Bottom, z); }
    TPointArray ProjectPoints(const TPointArray& points, int lastIndex, int32_t z);

    TView3DOptions* View3DOptions = nullptr;
    int FlatDepth = 0;
};

#endif
