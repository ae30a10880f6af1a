#ifndef ZENDRIK_CHART_CANVAS_PLOTFILTERSRESAMPLE_H
#define ZENDRIK_CHART_CANVAS_PLOTFILTERSRESAMPLE_H

#include "chart/canvas/PlotColor.h"
#include "chart/canvas/PlotFilters.h"

// Resampling of a whole bitmap into the size of the destination (Lanczos-3, or the triangle
// kernel when fast). Nothing happens unless the source is wider and higher than one pixel and
// the destination at least 2 x 2; the answer says whether it resampled.
bool SmoothStretch(const QImage& source, QImage& destination);
bool SmoothStretchQuality(const QImage& source, QImage& destination, bool fast);

// Nearest-pixel stretch of a source area onto a destination area, as a plain stretched draw.
void StretchNearest(const QImage& source, const QRect& sourceArea, QImage& destination,
                    const QRect& destArea);

// A new bitmap of the given size, white, in the filter format; null when it cannot be allocated.
QImage NewFilterBitmap(int width, int height);

// Rotates a bitmap by an angle in degrees (the hook that angled gradients use).
void RotateBitmap(QImage& bitmap, double angle);

class TResizeFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t Width = 0;
    int32_t Height = 0;
};

class TCropFilter : public TResizeFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t Left = 0;
    int32_t Top = 0;
    bool Smooth = false;
};

class TZoomFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    double Percent = 10.0;
    bool Smooth = false;
};

class TRotateFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    double Angle = 0.0;
    bool AutoSize = true;
    TColor BackColor = clWhite;
};

enum TMirrorDirection : uint8_t { mdDown, mdUp, mdRight, mdLeft };

class TMirrorFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;
    QStringList EnumNames(const QString& property) const override;

    TMirrorDirection Direction = mdDown;
};

class TTileFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t NumCols = 3;
    int32_t NumRows = 3;
};

#endif
