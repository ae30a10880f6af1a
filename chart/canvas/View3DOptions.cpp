#include "chart/canvas/View3DOptions.h"

#include <cmath>
#include <numbers>

TView3DOptions::TView3DOptions(std::function<void()> invalidateOwner) : InvalidateOwner(std::move(invalidateOwner)) {}

void TView3DOptions::Repaint()
{
    if (InvalidateOwner)
        InvalidateOwner();
}

void TView3DOptions::Assign(const TView3DOptions& source)
{
    if (&source == this)
        return;
    elevation_ = source.elevation_;
    fontZoom_ = source.fontZoom_;
    horizOffset_ = source.horizOffset_;
    orthogonal_ = source.orthogonal_;
    orthoAngle_ = source.orthoAngle_;
    perspective_ = source.perspective_;
    rotation_ = source.rotation_;
    tilt_ = source.tilt_;
    vertOffset_ = source.vertOffset_;
    zoom_ = source.zoom_;
    zoomText_ = source.zoomText_;
}

int32_t TView3DOptions::Elevation() const { return static_cast<int32_t>(std::nearbyint(elevation_)); }
int32_t TView3DOptions::Rotation() const { return static_cast<int32_t>(std::nearbyint(rotation_)); }
int32_t TView3DOptions::Zoom() const { return static_cast<int32_t>(std::nearbyint(zoom_)); }

void TView3DOptions::SetElevationFloat(double value)
{
    if (value != elevation_) {
        elevation_ = value;
        Repaint();
    }
}

void TView3DOptions::SetRotationFloat(double value)
{
    if (value != rotation_) {
        rotation_ = value;
        Repaint();
    }
}

void TView3DOptions::SetFontZoom(int32_t value)
{
    if (value != fontZoom_) {
        fontZoom_ = value;
        Repaint();
    }
}

void TView3DOptions::SetOrthogonal(bool value)
{
    if (value != orthogonal_) {
        orthogonal_ = value;
        Repaint();
    }
}

void TView3DOptions::SetOrthoAngle(int32_t value)
{
    if (value != orthoAngle_) {
        orthoAngle_ = value;
        Repaint();
    }
}

void TView3DOptions::SetPerspective(int32_t value)
{
    if (value > 100)
        value = 100;
    if (value != perspective_) {
        perspective_ = value;
        Repaint();
    }
}

void TView3DOptions::SetTilt(int32_t value)
{
    if (value != tilt_) {
        tilt_ = value;
        Repaint();
    }
}

void TView3DOptions::SetZoomText(bool value)
{
    if (value != zoomText_) {
        zoomText_ = value;
        Repaint();
    }
}

void TView3DOptions::SetZoom(int32_t value)
{
    if (static_cast<double>(value) != zoom_) {
        if (OnZoomChanging)
            OnZoomChanging(value);
        zoom_ = value;
        Repaint();
    }
}

void TView3DOptions::SetHorizOffset(int32_t value)
{
    if (value != horizOffset_) {
        horizOffset_ = value;
        Repaint();
        if (OnOffsetChanged)
            OnOffsetChanged(true);
    }
}

void TView3DOptions::SetVertOffset(int32_t value)
{
    if (value != vertOffset_) {
        vertOffset_ = value;
        Repaint();
        if (OnOffsetChanged)
            OnOffsetChanged(false);
    }
}

double TView3DOptions::OrthoAngleRatio() const
{
    if (!orthogonal_)
        return 1.0;
    int32_t angle = orthoAngle_;
    if (angle > 90)
        angle = 180 - angle;
    return std::tan(angle * std::numbers::pi / 180.0);
}
