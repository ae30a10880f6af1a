#ifndef ZENDRIK_CHART_CANVAS_PLOTFILTERSCONVOLVE_H
#define ZENDRIK_CHART_CANVAS_PLOTFILTERSCONVOLVE_H

#include "chart/canvas/PlotFilters.h"

#include <array>

// 3 x 3 convolution. Weights are row-major: upper-left, upper, upper-right, left, centre, right,
// lower-left, lower, lower-right. The outermost rows and columns of the rectangle keep their
// pixels.
class TConvolveFilter : public TPlotFilter {
public:
    TConvolveFilter();
    void Apply(QImage& bitmap, const QRect& rect) override;

    std::array<float, 9> Weights{};
    float Scale = 1.0f / 9.0f; // recomputed by Apply from the weights

protected:
    // One pass over the rows prepared by the base; used by the blur for its repeated steps.
    void Convolve(QImage& bitmap, const QRect& rect);
};

class TBlurFilter : public TConvolveFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t Amount = 1;
    int32_t Steps = 1;
};

class TSharpenFilter : public TConvolveFilter {
public:
    TSharpenFilter();
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
};

class TEmbossFilter : public TConvolveFilter {
public:
    TEmbossFilter();
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
};

class TSoftenFilter : public TConvolveFilter {
public:
    TSoftenFilter();
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
};

#endif
