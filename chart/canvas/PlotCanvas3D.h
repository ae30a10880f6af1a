#ifndef ZENDRIK_CHART_CANVAS_PLOTCANVAS3D_H
#define ZENDRIK_CHART_CANVAS_PLOTCANVAS3D_H

#include "chart/canvas/PlotCanvas.h"

#include <memory>

// Points of a pie or donut arc between two angles in radians: one per 2 degrees, at most 96.
int PieArcPointCount(double startAngle, double endAngle);

// The concrete canvas of every chart panel: draws through a device context, by default into an
// off-screen bitmap that ShowBuffer copies to the destination in one block transfer, and owns the
// 3D projection (oblique "orthogonal" or rotated with elevation, rotation, tilt, perspective).
class TPlotCanvas3D : public TCanvas3D {
public:
    TPlotCanvas3D();
    ~TPlotCanvas3D() override;

    // Device-context operations.
    TColor GetBackColor() override;
    int GetBackMode() override;
    gdi::DeviceContext* GetHandle() override;
    bool GetMonochrome() override { return Monochrome; }
    TColor GetPixel(int32_t x, int32_t y) override;
    bool GetAvoidExtendedPens() override { return false; }
    bool GetSupportsFeature() override { return false; }
    uint32_t GetTextAlign() override;
    bool GetBufferedDisplay() override { return BufferedDisplay; }
    void SetBackColor(TColor color) override;
    void SetBackMode(int mode) override;
    void SetMonochrome(bool value) override;
    void SetPixel(int32_t x, int32_t y, TColor color) override;
    void SetTextAlign(uint32_t flags) override;
    void SetBufferedDisplay(bool value) override;
    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) override;
    void Donut(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, double startAngle,
               double endAngle, double innerFactor) override;
    void Draw(int32_t x, int32_t y, const QImage& graphic) override;
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void FillRect(const TRect& rect) override;
    void LineTo(int32_t x, int32_t y) override;
    void MoveTo(int32_t x, int32_t y) override;
    void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4) override;
    void Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1) override;
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3) override;
    void StretchDraw(const TRect& rect, const QImage& graphic) override;
    void TextOut(int32_t x, int32_t y, const QString& text) override;
    void ClipRectangle(const TRect& rect) override;
    void ClipRoundRectangle(const TRect& rect, int32_t size) override;
    void ClipEllipse(const TRect& rect, bool inverted) override;
    void ClipPolygon(const TPoint* points, int count, bool inverted) override;
    void EraseBackground(const TRect& rect) override { FillRect(rect); }
    void GradientFill(const TRect& rect, TColor c0, TColor c1, TGradientDirection direction, int32_t balance,
                      int32_t radialX, int32_t radialY) override;
    void Invalidate() override { Dirty = true; }
    void Polyline(const TPointArray& points, int lastIndex) override;
    void Polygon(const TPointArray& points, int lastIndex) override;
    void RotateLabel(int32_t x, int32_t y, const QString& text, double angle) override;
    void UnClipRectangle() override;

    // 3D.
    TColor GetPixel3D(int32_t x, int32_t y, int32_t z) override;
    bool GetSupportsFeature3D() override { return false; }
    void SetPixel3D(int32_t x, int32_t y, int32_t z, TColor color) override;
    void UnprojectPoint(int32_t& x, int32_t& y, int32_t z) override;
    TPoint ProjectToScreen(int32_t x, int32_t y, int32_t z) override;
    // Floating-point variant for finer shapes.
    TPoint ProjectToScreenFloat(double x, double y, double z);
    TRect InitWindow(TCanvas* destination, TView3DOptions* options, TColor backColor, bool is3D,
                     const TRect& chartRect) override;
    void SetProjectionCentre(int32_t depth, const TRect& chartRect) override;
    void ShowBuffer(TCanvas* destination, TCanvas* reference, const TRect& rect) override;
    bool RepaintFromBuffer() override;
    void Arrow(bool filled, const TPoint& from, const TPoint& to, int32_t z, int32_t headLength, int32_t headWidth,
               int32_t headSize) override;
    void ClipBox(const TRect& rect, int32_t z0, int32_t z1) override;
    void Cone(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0, int32_t z1,
              bool darkSides, int32_t conePercent) override;
    void Cube(int32_t left, int32_t right, int32_t top, int32_t bottom, int32_t z0, int32_t z1,
              bool darkSides) override;
    void Cylinder(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0, int32_t z1,
                  bool darkSides) override;
    void Suspend3D() override;
    void EllipseAtDepth(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t z) override;
    void Resume3D() override;
    void Pie3D(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, int32_t z0, int32_t z1,
               double startAngle, double endAngle, bool darkSides, bool drawSides, int32_t donutPercent,
               TCustomPlotGradient* gradient = nullptr) override;
    void DepthPlane(const TPoint& p1, const TPoint& p2, int32_t z0, int32_t z1) override;
    void QuadAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4, int32_t z) override;
    void QuadBetweenDepths(const TFourPoints& points, int32_t z0, int32_t z1) override;
    void Polygon3D(const TPoint3DArray& points, int lastIndex) override;
    void Pyramid(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0, int32_t z1,
                 bool darkSides) override;
    void TruncatedPyramid(const TRect& rect, int32_t z0, int32_t z1, int32_t amountA, int32_t amountB) override;
    void RectangleAtDepth(const TRect& rect, int32_t z) override;
    void HorizontalPlane(int32_t left, int32_t y, int32_t z0, int32_t z1, int32_t right) override;
    void SidePlane(int32_t x, int32_t top, int32_t z0, int32_t z1, int32_t bottom) override;
    void RotateLabelAtDepth(int32_t x, int32_t y, int32_t z, const QString& text, double angle) override;
    void Sphere(int32_t x, int32_t y, int32_t z, double radius) override;
    void SphereShaded(int32_t, int32_t, int32_t, double, TColor) override {}
    void TextOutAtDepth(int32_t x, int32_t y, int32_t z, const QString& text) override;
    void Triangle3D(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c0, TColor c1,
                    TColor c2) override;
    void TriangleAtDepth(const TPoint& p0, const TPoint& p1, const TPoint& p2, int32_t z) override;

    // Own operations.
    void DrawQuadBuffer();
    // A picture painted onto the plane of the rectangle at depth z, pixel by pixel.
    void DrawPictureZ(const QImage& graphic, const TRect& rect, int32_t z);
    void SetBitmap(std::unique_ptr<TBitmap> bitmap);
    void FreeBitmap();
    void CopyBufferTo(int32_t x, int32_t y, TCanvas* destination);
    TBitmap* Bitmap() const { return bitmap_.get(); }

    // Projection state.
    bool IsOrthogonal = false;
    int32_t XCenter = 0;
    int32_t YCenter = 0;
    int32_t ZCenter = 0;
    struct { double X = 0, Y = 0, Z = 0; } CentreShift;
    long double SinElevation = 0, CosElevation = 1, SinRotation = 0, CosRotation = 1, SinTilt = 0, CosTilt = 1;
    double K[6] = {0, 1, 1, 0, 0, 0};
    bool IsPerspective = false;
    bool IsTilted = false;
    double OrthoDX = 1.0;
    double OrthoDY = 1.0;
    double PerspectiveFactor = 0;
    double ZoomFactor = 1.0;
    bool ZoomText = true;
    int32_t XCenterOffset = 0;
    int32_t YCenterOffset = 0;
    bool Is3D = false;
    bool Saved3D = false;

    bool Dirty = true;
    bool Monochrome = false;
    bool BufferedDisplay = true;
    bool KeepBitmap = false;
    // Sides of cylinders and cones (a slanted cube is a cylinder of 4 sides).
    int CylinderSides = 16;
    double TextAngleBase = 0;
    TFourPoints QuadBuffer{};

    // Clipping saved before the first clip (one level).
    gdi::Region SavedClipRegion;
    bool HasSavedClip = false;

private:
    void SaveClipOnce();
    void DrawShadowedText(gdi::DeviceContext& dc, int32_t x, int32_t y, const QString& text);

    std::unique_ptr<TBitmap> bitmap_;
};

#endif
