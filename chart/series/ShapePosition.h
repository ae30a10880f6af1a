#ifndef ZENDRIK_CHART_SERIES_SHAPEPOSITION_H
#define ZENDRIK_CHART_SERIES_SHAPEPOSITION_H

#include "chart/canvas/PlotShape.h"

// A framed shape that is either placed by its chart (titles above and below the plot, the legend
// beside it) or drawn at its own pixel position.
class TPlotCustomShapePosition : public TPlotCustomShape {
public:
    explicit TPlotCustomShapePosition(PlotShapeOwner* parentChart = nullptr) : TPlotCustomShape(parentChart) {}

    // CustomPosition, and Left and Top only while it is on, then the shape's own settings.
    void Assign(const TPlotCustomShapeBrushPen& source) override;

    bool CustomPosition() const { return customPosition_; }
    void SetCustomPosition(bool value) { SetAndRepaint(customPosition_, value); }
    bool DefaultCustomPosition() const { return defaultCustomPosition_; }
    bool IsCustomPositionStored() const { return customPosition_ != defaultCustomPosition_; }
    int32_t Left() const { return ShapeBounds.Left; }
    int32_t Top() const { return ShapeBounds.Top; }
    // Either moves the shape to a position of its own: CustomPosition goes on, the size stays.
    void SetLeft(int32_t value);
    void SetTop(int32_t value);

protected:
    void InitCustomPosition(bool value) { customPosition_ = defaultCustomPosition_ = value; }

private:
    bool customPosition_ = false;
    bool defaultCustomPosition_ = false;
};

#endif
