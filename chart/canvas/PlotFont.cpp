#include "chart/canvas/PlotFont.h"

#include "chart/canvas/LibrarySettings.h"

TPlotFont::TPlotFont(TNotifyEvent onChange) : TFont(std::move(onChange))
{
    // Defaults are set before anybody listens; none of them is a change.
    const TNotifyEvent listener = std::move(OnChange);
    OnChange = {};
    SetColor(clBlack);
    SetCharset(1);
    SetName(DefaultFontName());
    SetSize(DefaultFontSize());
    OnChange = listener;
}

TPlotFont::~TPlotFont() = default;

void TPlotFont::FontChanged()
{
    Changed();
}

void TPlotFont::Assign(const TFont& source)
{
    if (&source == this)
        return;
    if (const auto* font = dynamic_cast<const TPlotFont*>(&source)) {
        SetGradient(font->gradient_.get());
        SetInterCharSize(font->interCharSize_);
        SetOutLine(font->outLine_.get());
        SetShadow(font->shadow_.get());
        SetPicture(font->picture_.get());
    }
    TFont::Assign(source);
}

TPlotFontGradient& TPlotFont::Gradient()
{
    if (!gradient_)
        gradient_ = std::make_unique<TPlotFontGradient>([this] { FontChanged(); });
    return *gradient_;
}

void TPlotFont::SetGradient(const TPlotFontGradient* value)
{
    if (!value) {
        if (gradient_) {
            gradient_.reset();
            FontChanged();
        }
        return;
    }
    if (value != gradient_.get())
        Gradient().Assign(*value);
}

void TPlotFont::SetInterCharSize(int32_t value)
{
    if (interCharSize_ != value) {
        interCharSize_ = value;
        FontChanged();
    }
}

TChartHiddenPen& TPlotFont::OutLine()
{
    if (!outLine_)
        outLine_ = std::make_unique<TChartHiddenPen>([this] { FontChanged(); });
    return *outLine_;
}

void TPlotFont::SetOutLine(const TChartPen* value)
{
    if (!value) {
        if (outLine_) {
            outLine_.reset();
            FontChanged();
        }
        return;
    }
    if (value != outLine_.get())
        OutLine().Assign(*value);
}

TPlotPicture& TPlotFont::Picture()
{
    if (!picture_)
        picture_ = std::make_unique<TPlotPicture>([this] { FontChanged(); });
    return *picture_;
}

void TPlotFont::SetPicture(const TPlotPicture* value)
{
    if (!value) {
        if (picture_) {
            picture_.reset();
            FontChanged();
        }
        return;
    }
    if (value != picture_.get())
        Picture().Assign(*value);
}

TPlotShadow& TPlotFont::Shadow()
{
    if (!shadow_)
        shadow_ = std::make_unique<TPlotShadow>([this] { FontChanged(); });
    return *shadow_;
}

void TPlotFont::SetShadow(const TPlotShadow* value)
{
    if (!value) {
        if (shadow_) {
            shadow_.reset();
            FontChanged();
        }
        return;
    }
    if (value != shadow_.get())
        Shadow().Assign(*value);
}

bool TPlotFont::IsHeightStored() const
{
    return Size() != DefaultFontSize();
}

bool TPlotFont::IsNameStored() const
{
    return Name() != DefaultFontName();
}
