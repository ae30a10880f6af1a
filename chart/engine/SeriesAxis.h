#ifndef ZENDRIK_CHART_ENGINE_SERIESAXIS_H
#define ZENDRIK_CHART_ENGINE_SERIESAXIS_H

class ChartParent;

// What series, tools and the axes collection need of an axis: conversion between values and
// pixels in the current scale, the range in force, and the orientation. The chart axis class
// implements it; tests use small fakes.
class SeriesAxis {
public:
    virtual ~SeriesAxis() = default;

    virtual int ValueToPixel(double value) const = 0;
    virtual double PixelToValue(int pixel) const = 0;
    virtual double CurrentMinimum() const = 0;
    virtual double CurrentMaximum() const = 0;
    virtual bool Horizontal() const = 0;
    virtual ChartParent* ParentChart() const = 0;

    // Custom axes may follow a master axis's range.
    virtual SeriesAxis* MasterAxis() const = 0;
    virtual void SetRange(double minimum, double maximum) = 0;
};

#endif
