#include "chart/canvas/PlotPanelExtended.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gdi/DeviceContext.h"

#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QVariant>

// ---- back image

namespace {

// A picture with transparent pixels, drawn over what is there already: the mask (white where the
// back shows) clears the picture's opaque part by AND, then the picture, black where it is
// transparent, is OR-ed in. Both transfers record into metafiles as they are.
struct MaskedPicture {
    QImage colours;
    QImage mask;
};

// Every pixel of the bottom-left pixel's colour becomes transparent.
MaskedPicture MaskBottomLeftColour(const QImage& picture)
{
    MaskedPicture out{picture.convertToFormat(QImage::Format_RGB32), QImage(picture.size(), QImage::Format_RGB32)};
    const QRgb key = out.colours.pixel(0, out.colours.height() - 1) & 0xFFFFFFu;
    for (int y = 0; y < out.colours.height(); ++y) {
        auto* c = reinterpret_cast<QRgb*>(out.colours.scanLine(y));
        auto* m = reinterpret_cast<QRgb*>(out.mask.scanLine(y));
        for (int x = 0; x < out.colours.width(); ++x) {
            const bool see = (c[x] & 0xFFFFFFu) == key;
            m[x] = see ? 0xFFFFFFFFu : 0xFF000000u;
            if (see)
                c[x] = 0xFF000000u;
        }
    }
    return out;
}

void DrawMasked(TPlotCanvas3D& canvas, const TRect& dest, const MaskedPicture& picture)
{
    gdi::DeviceContext* dc = canvas.GetHandle();
    if (!dc)
        return;
    const gdi::Rect d{dest.Left, dest.Top, dest.Right, dest.Bottom};
    const gdi::Rect s{0, 0, picture.colours.width(), picture.colours.height()};
    dc->StretchBlt(d, picture.mask, s, gdi::SRCAND);
    dc->StretchBlt(d, picture.colours, s, gdi::SRCPAINT);
}

} // namespace

TBackImage::TBackImage(std::function<void()> onChange) : TPlotPicture(std::move(onChange)) {}

void TBackImage::Assign(const TBackImage& source)
{
    TPlotPicture::Assign(source);
    inside_ = source.inside_;
    left_ = source.left_;
    top_ = source.top_;
    mode_ = source.mode_;
}

void TBackImage::Draw(TCustomPlotPanelExtended& panel, const TRect& rect, int32_t z)
{
    if (!HasGraphic())
        return;
    TPlotCanvas3D& canvas = panel.Canvas();
    const QImage picture = FilteredGraphic();
    const int32_t w = picture.width();
    const int32_t h = picture.height();
    const MaskedPicture masked = Transparent() ? MaskBottomLeftColour(picture) : MaskedPicture{};
    if (mode_ == pbmStretch) {
        const TRect dest = canvas.Is3D ? canvas.CalcRect3D(rect, z) : rect;
        if (Transparent())
            DrawMasked(canvas, dest, masked);
        else
            canvas.StretchDraw(dest, picture);
        return;
    }
    const bool clip = panel.CanClip();
    if (clip)
        canvas.ClipRectangle(rect);
    auto putAt = [&](int32_t x, int32_t y) {
        if (Transparent())
            DrawMasked(canvas, TRect{x, y, x + w, y + h}, masked);
        else
            canvas.Draw(x, y, picture);
    };
    switch (mode_) {
    case pbmTile:
        for (int32_t y = rect.Top; y < rect.Bottom; y += h)
            for (int32_t x = rect.Left; x < rect.Right; x += w)
                putAt(x, y);
        break;
    case pbmCenter:
        panel.DrawPanelBackground(rect);
        putAt(rect.Left + (rect.Width() - w) / 2, rect.Top + (rect.Height() - h) / 2);
        break;
    case pbmCustom:
        panel.DrawPanelBackground(rect);
        putAt(rect.Left + left_, rect.Top + top_);
        break;
    default: break;
    }
    if (clip)
        canvas.UnClipRectangle();
}

// ---- panel

TCustomPlotPanelExtended::TCustomPlotPanelExtended(QWidget* parent)
    : TCustomPlotPanel(parent), zoom_(std::make_unique<TPlotZoom>())
{
}

TCustomPlotPanelExtended::~TCustomPlotPanelExtended() = default;

TPlotGradient& TCustomPlotPanelExtended::Gradient()
{
    if (!gradient_)
        gradient_ = std::make_unique<TPlotGradient>([this] { Invalidate(); });
    return *gradient_;
}

TBackImage& TCustomPlotPanelExtended::BackImage()
{
    if (!backImage_)
        backImage_ = std::make_unique<TBackImage>([this] { Invalidate(); });
    return *backImage_;
}

bool TCustomPlotPanelExtended::Monochrome() const
{
    return const_cast<TCustomPlotPanelExtended*>(this)->Canvas().Monochrome;
}

void TCustomPlotPanelExtended::SetMonochrome(bool value)
{
    if (Canvas().Monochrome == value)
        return;
    Canvas().SetMonochrome(value);
    Invalidate();
}

bool TCustomPlotPanelExtended::BufferedDisplay() const
{
    return const_cast<TCustomPlotPanelExtended*>(this)->Canvas().BufferedDisplay;
}

void TCustomPlotPanelExtended::SetBufferedDisplay(bool value)
{
    if (Canvas().BufferedDisplay == value)
        return;
    Canvas().SetBufferedDisplay(value);
    Canvas().SetCanvas(&WindowCanvas());
    Invalidate();
}

void TCustomPlotPanelExtended::InternalDraw(const TRect&)
{
    DrawBackImageAndShadow(ChartBounds);
    if (OnAfterDraw)
        OnAfterDraw();
}

void TCustomPlotPanelExtended::DrawPanelBackground(const TRect& rect)
{
    if (Printing && !Settings.PrintPanelBackground)
        return;
    TPlotCanvas3D& canvas = Canvas();
    if (gradient_ && gradient_->Visible()) {
        gradient_->Draw(canvas, rect, BorderRound());
        return;
    }
    if (Color() == clNone)
        return;
    canvas.Brush().SetBitmap(QImage());
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.Pen().SetStyle(psClear);
    if (BorderRound() > 0)
        // Without a pen the shape ends one pixel short on the right and at the bottom.
        canvas.RoundRect(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1, BorderRound(), BorderRound());
    else
        canvas.FillRect(rect);
}

void TCustomPlotPanelExtended::DrawBackImageAndShadow(const TRect& rect)
{
    TRect r = rect;
    TPlotShadow& shadow = Shadow();
    if (shadow.Visible() && (shadow.HorizSize() != 0 || shadow.VertSize() != 0)) {
        TColor parentColor = Color();
        if (auto* parent = qobject_cast<TCustomPlotPanel*>(parentWidget()))
            parentColor = parent->Color();
        else if (parentWidget())
            parentColor = static_cast<TColor>(gdi::FromQRgb(parentWidget()->palette().color(QPalette::Window).rgb()));
        TPlotCanvas3D& canvas = Canvas();
        canvas.Brush().SetBitmap(QImage());
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(parentColor);
        canvas.FillRect(r);
        // Room for the shadow on its side; the panel's own face then stays inside that room.
        const int32_t hs = shadow.HorizSize();
        const int32_t vs = shadow.VertSize();
        if (hs > 0)
            r.Right -= hs + 1;
        else
            r.Left -= hs - 1;
        if (vs > 0)
            r.Bottom -= vs + 1;
        else
            r.Top -= vs - 1;
        shadow.DrawShape(canvas, r, BorderRound(), 0);
    }
    DrawPanelBackground(r);
    if (backImage_ && !backImage_->Inside())
        backImage_->Draw(*this, r, 0);
    DrawPanelBevels(r);
}

void TCustomPlotPanelExtended::DrawBevel(TRect& rect, TBevelCut cut)
{
    if (cut == bvNone)
        return;
    TPlotCanvas3D& canvas = Canvas();
    if (BorderRound() >= 1) {
        canvas.Brush().SetStyle(bsClear);
        canvas.Pen().SetColor(cut == bvLowered ? clBtnShadow : clBtnHighlight);
        canvas.RoundRect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1, BorderRound(), BorderRound());
        rect = TRect{rect.Left + BevelWidth(), rect.Top + BevelWidth(), rect.Right - BevelWidth(),
                     rect.Bottom - BevelWidth()};
        return;
    }
    const TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottom = cut == bvRaised ? clBtnShadow : clBtnHighlight;
    canvas.Frame3D(rect, top, bottom, BevelWidth());
}

void TCustomPlotPanelExtended::DrawPanelBevels(TRect rect)
{
    TPlotCanvas3D& canvas = Canvas();
    if (Border().Visible()) {
        const int32_t w = Border().Width();
        rect = TRect{rect.Left + w / 2, rect.Top + w / 2, rect.Right - w / 2, rect.Bottom - w / 2};
        canvas.AssignVisiblePen(Border());
        canvas.Brush().SetStyle(bsClear);
        if (BorderRound() > 0)
            canvas.RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, BorderRound(), BorderRound());
        else
            canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
        rect = TRect{rect.Left + w, rect.Top + w, rect.Right - w, rect.Bottom - w};
    }
    if (Printing && !Settings.PrintPanelBackground)
        return;
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetMode(pmCopy);
    DrawBevel(rect, BevelOuter());
    if (BorderWidth() > 0)
        canvas.Frame3D(rect, Color(), Color(), BorderWidth());
    DrawBevel(rect, BevelInner());
}

// ---- zoom

void TCustomPlotPanelExtended::DrawZoomRectangle()
{
    TPlotCanvas3D& canvas = Canvas();
    const uint32_t back = ColorToRGB(GetBackColor());
    const uint32_t inverse = 0xFFFFFF - back;
    TPlotZoom& zoom = *zoom_;
    if (!zoom.HasBrush()) {
        canvas.Brush().SetStyle(bsClear);
    } else {
        canvas.Brush().Assign(zoom.Brush());
        canvas.Brush().SetColor(static_cast<TColor>(ColorToRGB(zoom.Brush().Color()) ^ inverse));
    }
    canvas.AssignVisiblePenColor(zoom.Pen(), static_cast<TColor>(ColorToRGB(zoom.Pen().Color()) ^ inverse));
    // Drawn in not-XOR mode: on the back colour the pen shows its own colour, and a second
    // drawing gives every pixel back.
    canvas.Pen().SetMode(pmNotXor);
    if (!zoom.HasBrush() || zoom.Brush().Style() == bsClear)
        canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(zoom.X0, zoom.Y0, zoom.X1, zoom.Y1);
    update();
}

void TCustomPlotPanelExtended::UndoZoom()
{
    if (OnUndoZoom)
        OnUndoZoom();
    Invalidate();
    Zoomed = false;
}

void TCustomPlotPanelExtended::ZoomToRectangle(const TRect&)
{
    Zoomed = true;
    if (OnZoom)
        OnZoom();
}

void TCustomPlotPanelExtended::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TCustomPlotPanel::MouseDown(button, shift, x, y);
    if (CancelMouse)
        return;
    if (zoom_->Allow && button == zoom_->MouseButton && ZoomKeysHeld(*zoom_, shift)) {
        zoom_->Activate(x, y);
        DrawZoomRectangle();
    } else if (allowPanning_ != pmNone && button != zoom_->MouseButton) {
        Panning.Activate(x, y);
    }
}

void TCustomPlotPanelExtended::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    TCustomPlotPanel::MouseMove(shift, x, y);
    if (CancelMouse)
        return;
    if (zoom_->Active) {
        DrawZoomRectangle();
        if (zoom_->Direction != tzdVertical)
            zoom_->X1 = x;
        if (zoom_->Direction != tzdHorizontal)
            zoom_->Y1 = y;
        DrawZoomRectangle();
    } else if (Panning.Active) {
        Panning.X1 = x;
        Panning.Y1 = y;
    }
}

void TCustomPlotPanelExtended::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TCustomPlotPanel::MouseUp(button, shift, x, y);
    if (zoom_->Active && button == zoom_->MouseButton) {
        DrawZoomRectangle();
        Canvas().Pen().SetMode(pmCopy);
        switch (FinishZoomDrag(*zoom_, x, y)) {
        case TZoomOutcome::Undo:
            UndoZoom();
            Invalidate();
            break;
        case TZoomOutcome::Zoom:
            ZoomToRectangle(TRect{std::min(zoom_->X0, zoom_->X1), std::min(zoom_->Y0, zoom_->Y1),
                                  std::max(zoom_->X0, zoom_->X1), std::max(zoom_->Y0, zoom_->Y1)});
            Invalidate();
            break;
        case TZoomOutcome::None: break;
        }
    }
    Panning.Active = false;
}

void TCustomPlotPanelExtended::leaveEvent(QEvent* event)
{
    TCustomPlotPanel::leaveEvent(event);
}

void TCustomPlotPanelExtended::Assign(const TCustomPlotPanelExtended& source)
{
    if (&source == this)
        return;
    if (source.backImage_)
        BackImage().Assign(*source.backImage_);
    else
        backImage_.reset();
    if (source.gradient_)
        Gradient().Assign(*source.gradient_);
    else
        gradient_.reset();
    allowPanning_ = source.allowPanning_;
    zoom_->Assign(*source.zoom_);
    TCustomPlotPanel::Assign(source);
}

bool TCustomPlotPanelExtended::ReadLegacyProperty(const QString& name, const QVariant& value)
{
    if (name.compare(QLatin1String("AllowZoom"), Qt::CaseInsensitive) == 0) {
        zoom_->Allow = value.toBool();
        return true;
    }
    if (name.compare(QLatin1String("AnimatedZoom"), Qt::CaseInsensitive) == 0) {
        zoom_->Animated = value.toBool();
        return true;
    }
    if (name.compare(QLatin1String("AnimatedZoomSteps"), Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int steps = value.toInt(&ok);
        if (!ok)
            return false;
        zoom_->AnimatedSteps = steps;
        return true;
    }
    if (name.compare(QLatin1String("PrintMargins"), Qt::CaseInsensitive) == 0) {
        const QVariantList list = value.toList();
        if (list.size() != 4)
            return false;
        int32_t v[4];
        for (int i = 0; i < 4; ++i) {
            bool ok = false;
            v[i] = list[i].toInt(&ok);
            if (!ok)
                return false;
        }
        SetPrintMargins(TRect{v[0], v[1], v[2], v[3]});
        return true;
    }
    return TCustomPlotPanel::ReadLegacyProperty(name, value);
}

// ---- library routines

QString IntegerToString(int32_t value) { return QString::number(value); }

TColor GetDefaultColor(const TPlotLibrarySettings& settings, int index)
{
    const std::vector<TColor>& palette = settings.ColorPalette.empty() ? BuiltInColorPalette() : settings.ColorPalette;
    const int n = static_cast<int>(palette.size());
    const int i = index % n;
    return palette[static_cast<size_t>(i < 0 ? i + n : i)];
}

void DrawCheckBox(int32_t x, int32_t y, TCanvas& canvas, bool checkBox, bool checked)
{
    static const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    constexpr int kSize = 13;
    QImage cell(kSize, kSize, QImage::Format_RGB32);
    // The frame control leaves the cell's corners as they were: start from what is there.
    const QImage* under = canvas.Handle() ? canvas.Handle()->SourceImage() : nullptr;
    if (under && QRect(x, y, kSize, kSize).intersects(under->rect()))
        cell = under->copy(x, y, kSize, kSize).convertToFormat(QImage::Format_RGB32);
    else
        cell.fill(Qt::white);
    if (fusion) {
        QPainter p(&cell);
        QStyleOptionButton option;
        option.rect = QRect(0, 0, kSize, kSize);
        option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
        option.palette = fusion->standardPalette();
        fusion->drawPrimitive(checkBox ? QStyle::PE_IndicatorCheckBox : QStyle::PE_IndicatorRadioButton, &option,
                              &p, nullptr);
    }
    canvas.Draw(x, y, cell);
}
