#ifndef ZENDRIK_CHART_ENGINE_AXISTITLE_H
#define ZENDRIK_CHART_ENGINE_AXISTITLE_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotShape.h"

#include <QString>

enum TPenLineMode { lmLine, lmCylinder, lmRectangle };

// The pen of the axis line: width 2 by default, drawn as a line, a cylinder or a box.
class TChartAxisPen : public TChartPen {
public:
    explicit TChartAxisPen(TNotifyEvent onChange = {});

    void Assign(const TPen& source) override;

    TPenLineMode LineMode() const { return lineMode_; }
    void SetLineMode(TPenLineMode value);

private:
    TPenLineMode lineMode_ = lmLine;
};

// The title of an axis: a transparent framed shape with a caption and an angle.
class TChartAxisTitle : public TPlotCustomShape {
public:
    explicit TChartAxisTitle(PlotShapeOwner* parentChart = nullptr, int defaultAngle = 0);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& value) { SetAndRepaint(caption_, value); }
    int Angle() const { return angle_; }
    // Stored modulo 360 (negative angles count back from 360).
    void SetAngle(int value);
    int DefaultAngle() const { return defaultAngle_; }
    bool IsAngleStored() const { return angle_ != defaultAngle_; }

    // Hit test against the bounds of the drawn title (rotated with its angle).
    bool Clicked(int x, int y) const;

private:
    QString caption_;
    int angle_ = 0;
    int defaultAngle_ = 0;
};

// Angles are kept within 0..359.
int NormalizeAxisAngle(int value);

#endif
