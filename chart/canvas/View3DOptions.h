#ifndef ZENDRIK_CHART_CANVAS_VIEW3DOPTIONS_H
#define ZENDRIK_CHART_CANVAS_VIEW3DOPTIONS_H

#include <cstdint>
#include <functional>

// The 3D viewing parameters of a chart panel. Setters store and invalidate the owner only on a
// real change. Angles and zoom are kept as floating point and published as integers.
class TView3DOptions {
public:
    // invalidateOwner stands for the owner panel's Invalidate; it may be empty.
    explicit TView3DOptions(std::function<void()> invalidateOwner = {});

    void Assign(const TView3DOptions& source);

    int32_t Elevation() const;
    void SetElevation(int32_t value) { SetElevationFloat(value); }
    double ElevationFloat() const { return elevation_; }
    void SetElevationFloat(double value);
    int32_t FontZoom() const { return fontZoom_; }
    void SetFontZoom(int32_t value);
    int32_t HorizOffset() const { return horizOffset_; }
    void SetHorizOffset(int32_t value);
    bool Orthogonal() const { return orthogonal_; }
    void SetOrthogonal(bool value);
    int32_t OrthoAngle() const { return orthoAngle_; }
    void SetOrthoAngle(int32_t value);
    int32_t Perspective() const { return perspective_; }
    void SetPerspective(int32_t value);
    int32_t Rotation() const;
    void SetRotation(int32_t value) { SetRotationFloat(value); }
    double RotationFloat() const { return rotation_; }
    void SetRotationFloat(double value);
    int32_t Tilt() const { return tilt_; }
    void SetTilt(int32_t value);
    int32_t VertOffset() const { return vertOffset_; }
    void SetVertOffset(int32_t value);
    int32_t Zoom() const;
    void SetZoom(int32_t value);
    double ZoomFloat() const { return zoom_; }
    bool ZoomText() const { return zoomText_; }
    void SetZoomText(bool value);

    // Tangent of OrthoAngle (angles above 90 mirrored) in orthogonal projection; 1.0 otherwise.
    double OrthoAngleRatio() const;

    std::function<void()> InvalidateOwner;
    std::function<void(bool horizontal)> OnOffsetChanged;
    std::function<void(int32_t newZoom)> OnZoomChanging;

private:
    void Repaint();

    double elevation_ = 345;
    int32_t fontZoom_ = 100;
    int32_t horizOffset_ = 0;
    bool orthogonal_ = true;
    int32_t orthoAngle_ = 45;
    int32_t perspective_ = 15;
    double rotation_ = 345;
    int32_t tilt_ = 0;
    int32_t vertOffset_ = 0;
    double zoom_ = 100;
    bool zoomText_ = true;
};

#endif
