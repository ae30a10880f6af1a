#include "chart/series/ShapePosition.h"

void TPlotCustomShapePosition::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* positioned = dynamic_cast<const TPlotCustomShapePosition*>(&source)) {
        customPosition_ = positioned->customPosition_;
        if (customPosition_) {
            ShapeBounds.Left = positioned->ShapeBounds.Left;
            ShapeBounds.Top = positioned->ShapeBounds.Top;
        }
    }
    TPlotCustomShape::Assign(source);
}

void TPlotCustomShapePosition::SetLeft(int32_t value)
{
    if (customPosition_ && ShapeBounds.Left == value)
        return;
    customPosition_ = true;
    const int32_t width = ShapeBounds.Right - ShapeBounds.Left;
    ShapeBounds.Left = value;
    ShapeBounds.Right = value + width;
    Repaint();
}

void TPlotCustomShapePosition::SetTop(int32_t value)
{
    if (customPosition_ && ShapeBounds.Top == value)
        return;
    customPosition_ = true;
    const int32_t height = ShapeBounds.Bottom - ShapeBounds.Top;
    ShapeBounds.Top = value;
    ShapeBounds.Bottom = value + height;
    Repaint();
}
