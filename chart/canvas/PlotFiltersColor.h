#ifndef ZENDRIK_CHART_CANVAS_PLOTFILTERSCOLOR_H
#define ZENDRIK_CHART_CANVAS_PLOTFILTERSCOLOR_H

#include "chart/canvas/PlotFilters.h"

// Filters that change each pixel on its own (or a block of pixels, or swap rows and columns).

// Hue, luminance and saturation on the 0..240 scale (grey pixels get hue 160).
struct HlsColor {
    int hue = 0;
    int luminance = 0;
    int saturation = 0;
};
HlsColor RGBToHLS(int red, int green, int blue);
void HLSToRGB(const HlsColor& hls, int& red, int& green, int& blue);

class TInvertFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
};

enum TGrayMethod : uint8_t { gmSimple, gmEye, gmEye2 };

class TGrayScaleFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;
    QStringList EnumNames(const QString& property) const override;

    TGrayMethod Method = gmSimple;
};

class TFlipFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
};

class TReverseFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
};

// Base of the filters with one signed amount, in percent or absolute.
class TAmountFilter : public TPlotFilter {
public:
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    void EditorChanged(const QString& property) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t Amount = 5;
    bool Percent = true;

protected:
    bool onlyPositive_ = false;

private:
    void UpdateAmountRange();
};

class TMosaicFilter : public TAmountFilter {
public:
    TMosaicFilter();
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
};

class TBrightnessFilter : public TAmountFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
};

class TContrastFilter : public TAmountFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
};

class TGammaCorrectionFilter : public TAmountFilter {
public:
    TGammaCorrectionFilter();
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
};

class TColorFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t Red = 0;
    int32_t Green = 0;
    int32_t Blue = 0;
};

class THueLumSatFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t Hue = 0;
    int32_t Luminance = 0;
    int32_t Saturation = 0;
};

class TBevelFilter : public TPlotFilter {
public:
    static const TPlotFilterClass& Class();
    const TPlotFilterClass& FilterClass() const override { return Class(); }
    QString Description() const override;
    void Apply(QImage& bitmap, const QRect& rect) override;
    void CreateEditor(TFormCreator& creator, std::function<void()> onChange) override;
    std::vector<FilterProperty> Properties() const override;
    bool SetProperty(const QString& name, const QVariant& value) override;

    int32_t Bright = 64;
    int32_t Size = 15;
};

#endif
