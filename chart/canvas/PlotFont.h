#ifndef ZENDRIK_CHART_CANVAS_PLOTFONT_H
#define ZENDRIK_CHART_CANVAS_PLOTFONT_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotFilters.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotGraphics.h"
#include "chart/canvas/PlotShadow.h"

#include <memory>

// The chart font: the platform font plus outline, gradient, shadow, picture and extra spacing
// between characters. The extras are created on first read and owned by the font.
class TPlotFont : public TFont {
public:
    explicit TPlotFont(TNotifyEvent onChange = {});
    ~TPlotFont() override;

    // From another chart font: the extras (a missing one is cleared), InterCharSize, then the platform font.
    void Assign(const TFont& source) override;

    TPlotFontGradient& Gradient();
    bool HasGradient() const { return gradient_ != nullptr; }
    void SetGradient(const TPlotFontGradient* value);

    int32_t InterCharSize() const { return interCharSize_; }
    void SetInterCharSize(int32_t value);

    TChartHiddenPen& OutLine();
    bool HasOutLine() const { return outLine_ != nullptr; }
    void SetOutLine(const TChartPen* value);

    TPlotPicture& Picture();
    bool HasPicture() const { return picture_ != nullptr; }
    void SetPicture(const TPlotPicture* value);

    TPlotShadow& Shadow();
    bool HasShadow() const { return shadow_ != nullptr; }
    void SetShadow(const TPlotShadow* value);

    // Streaming: these are written only when they differ from the defaults.
    bool IsColorStored() const { return Color() != defaultColor_; }
    bool IsHeightStored() const;
    bool IsNameStored() const;
    bool IsStyleStored() const { return Style() != defaultStyle_; }

private:
    void FontChanged();

    std::unique_ptr<TPlotFontGradient> gradient_;
    int32_t interCharSize_ = 0;
    std::unique_ptr<TChartHiddenPen> outLine_;
    std::unique_ptr<TPlotPicture> picture_;
    std::unique_ptr<TPlotShadow> shadow_;
    TColor defaultColor_ = clBlack;
    TFontStyles defaultStyle_ = 0;
};

#endif
