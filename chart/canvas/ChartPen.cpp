#include "chart/canvas/ChartPen.h"

// ---- TChartPen

TChartPen::TChartPen(TNotifyEvent onChange) : TPen(std::move(onChange)) {}

void TChartPen::Assign(const TPen& source)
{
    if (auto* chart = dynamic_cast<const TChartPen*>(&source); chart && chart != this) {
        const bool same = visible_ == chart->visible_ && smallDots_ == chart->smallDots_ &&
                          smallSpace_ == chart->smallSpace_ && endStyle_ == chart->endStyle_;
        visible_ = chart->visible_;
        smallDots_ = chart->smallDots_;
        smallSpace_ = chart->smallSpace_;
        endStyle_ = chart->endStyle_;
        if (!same)
            Changed();
    }
    TPen::Assign(source);
}

void TChartPen::SetEndStyle(TPenEndStyle value)
{
    if (value != endStyle_) {
        endStyle_ = value;
        Changed();
    }
}

void TChartPen::SetSmallDots(bool value)
{
    if (value != smallDots_) {
        smallDots_ = value;
        Changed();
    }
}

void TChartPen::SetSmallSpace(int32_t value)
{
    if (value != smallSpace_) {
        smallSpace_ = value;
        Changed();
    }
}

void TChartPen::SetVisible(bool value)
{
    if (value != visible_) {
        visible_ = value;
        Changed();
    }
}

void TChartPen::InitVisible(bool value, bool streamingDefault)
{
    visible_ = value;
    defaultVisible_ = streamingDefault;
}

// ---- presets

TChartHiddenPen::TChartHiddenPen(TNotifyEvent onChange) : TChartPen(std::move(onChange))
{
    InitVisible(false, false);
}

TDottedGrayPen::TDottedGrayPen(TNotifyEvent onChange) : TChartPen()
{
    SetColor(clGray);
    SetStyle(psDot);
    OnChange = std::move(onChange);
}

TDarkGrayPen::TDarkGrayPen(TNotifyEvent onChange) : TChartPen()
{
    SetColor(clGray);
    OnChange = std::move(onChange);
}

TWhitePen::TWhitePen(TNotifyEvent onChange) : TChartPen()
{
    SetColor(clWhite);
    OnChange = std::move(onChange);
}

// ---- TChartBrush

TChartBrush::TChartBrush(TNotifyEvent onChange) : TBrush(std::move(onChange))
{
    InitColor(clDefault);
}

TChartBrush::~TChartBrush() = default;

void TChartBrush::Assign(const TBrush& source)
{
    if (auto* chart = dynamic_cast<const TChartBrush*>(&source); chart && chart != this) {
        SetImage(chart->image_.get());
        SetBackColor(chart->backColor_);
    }
    TBrush::Assign(source);
}

void TChartBrush::SetBackColor(TColor value)
{
    if (value != backColor_) {
        backColor_ = value;
        Changed();
    }
}

TPicture& TChartBrush::Image()
{
    if (!image_)
        image_ = std::make_unique<TPicture>([this] { Changed(); });
    return *image_;
}

void TChartBrush::SetImage(const TPicture* value)
{
    if (value && value->HasGraphic()) {
        // Copy without the picture's own notification, then tell the owner once.
        TPicture& own = Image();
        auto saved = std::move(own.OnChange);
        own.OnChange = nullptr;
        own.Assign(value);
        own.OnChange = std::move(saved);
    } else {
        image_.reset();
    }
    Changed();
}
