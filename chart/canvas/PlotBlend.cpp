#include "chart/canvas/PlotBlend.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotCanvas.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <cmath>

TPlotBlend::TPlotBlend(TPlotCanvas& canvas, const TRect& rect) : canvas_(canvas)
{
    SetRectangle(rect);
}

TPlotBlend::~TPlotBlend() = default;

void TPlotBlend::SetRectangle(const TRect& rect)
{
    TRect r = OrientRect(rect);
    r.Left = std::max(0, r.Left);
    r.Top = std::max(0, r.Top);
    r.Right = std::max(0, r.Right);
    r.Bottom = std::max(0, r.Bottom);
    if (r.Right < r.Left + 1)
        r.Right = r.Left + 1;
    if (r.Bottom < r.Top + 1)
        r.Bottom = r.Top + 1;
    r.Right = std::min(r.Right, canvas_.Bounds.Right);
    r.Bottom = std::min(r.Bottom, canvas_.Bounds.Bottom);
    rect_ = r;
    valid_ = r.Right - r.Left > 0 && r.Bottom - r.Top > 0;
    captured_ = QImage();
    if (!valid_)
        return;
    gdi::DeviceContext* dc = canvas_.GetHandle();
    const QImage* source = dc ? dc->SourceImage() : nullptr;
    if (!source) {
        valid_ = false;   // nothing to capture on a recording target
        return;
    }
    captured_ = source->copy(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top).convertToFormat(QImage::Format_RGB32);
}

void TPlotBlend::DoBlend(int transparency)
{
    if (canvas_.Metafiling || !valid_)
        return;
    const uint32_t align = canvas_.GetTextAlign();
    const double percent = 100 - transparency;
    auto* dcCanvas = dynamic_cast<TPlotCanvas3D*>(&canvas_);
    if (dcCanvas && dcCanvas->Bitmap() && canvas_.ReferenceCanvas() == &dcCanvas->Bitmap()->Canvas()) {
        BlendBitmaps(captured_, dcCanvas->Bitmap()->Device().ImageForWrite(), TPoint{rect_.Left, rect_.Top}, percent);
    } else if (gdi::DeviceContext* dc = canvas_.GetHandle(); dc && dc->SourceImage()) {
        QImage current = dc->SourceImage()->copy(rect_.Left, rect_.Top, rect_.Right - rect_.Left,
                                                 rect_.Bottom - rect_.Top);
        BlendBitmaps(captured_, current, TPoint{0, 0}, percent);
        canvas_.Draw(rect_.Left, rect_.Top, current);
    }
    if (canvas_.GetTextAlign() != align) {
        canvas_.AssignFont(canvas_.FontObject);
        canvas_.SetTextAlign(align);
    }
}

void BlendBitmaps(const QImage& source, QImage& destination, TPoint offset, double percent)
{
    if (source.isNull() || destination.isNull())
        return;
    if (destination.format() != QImage::Format_RGB32)
        destination = destination.convertToFormat(QImage::Format_RGB32);
    const QImage src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const int x0 = std::max(0, offset.X);
    const int y0 = std::max(0, offset.Y);
    const int w = std::min(src.width(), destination.width() - x0);
    const int h = std::min(src.height(), destination.height() - y0);
    if (w < 1 || h < 1)
        return;
    const int t = 100 - static_cast<int>(std::nearbyint(percent));
    for (int y = 0; y < h; ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(destination.scanLine(y0 + y)) + x0;
        for (int x = 0; x < w; ++x) {
            uint32_t dp = d[x] & 0x00FFFFFF;
            if (dp == 0x00FFFFFF)
                dp = 0x00FEFFFF;   // pure white: red byte 254 first
            const uint32_t sp = s[x];
            auto mix = [t](int dc, int sc) { return dc + ((sc - dc) * t) / 100; };
            const int r = mix(static_cast<int>((dp >> 16) & 0xFF), static_cast<int>((sp >> 16) & 0xFF));
            const int g = mix(static_cast<int>((dp >> 8) & 0xFF), static_cast<int>((sp >> 8) & 0xFF));
            const int b = mix(static_cast<int>(dp & 0xFF), static_cast<int>(sp & 0xFF));
            d[x] = 0xFF000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
                   static_cast<uint32_t>(b);
        }
    }
}
