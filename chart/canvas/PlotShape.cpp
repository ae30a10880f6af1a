#include "chart/canvas/PlotShape.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

TFourPoints RectRotatedPoints(const TRect& rect, double angle)
{
    const int32_t cx = (rect.Left + rect.Right) / 2;
    const int32_t cy = (rect.Top + rect.Bottom) / 2;
    const double a = angle * std::numbers::pi / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const TPoint corners[4] = {{rect.Left, rect.Top}, {rect.Right, rect.Top}, {rect.Right, rect.Bottom},
                               {rect.Left, rect.Bottom}};
    TFourPoints out;
    for (size_t i = 0; i < 4; ++i) {
        const double x = corners[i].X - cx;
        const double y = corners[i].Y - cy;
        out[i] = TPoint{RoundToPixel(x * c + y * s) + cx, RoundToPixel(-x * s + y * c) + cy};
    }
    return out;
}

// --- Brush and pen ------------------------------------------------------------------------------

TPlotCustomShapeBrushPen::TPlotCustomShapeBrushPen(PlotShapeOwner* parentChart)
    : parent_(parentChart),
      brush_(std::make_unique<TChartBrush>([this] { Repaint(); })),
      pen_(std::make_unique<TChartPen>([this] { Repaint(); }))
{
}

TPlotCustomShapeBrushPen::~TPlotCustomShapeBrushPen() = default;

void TPlotCustomShapeBrushPen::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    brush_->Assign(*source.brush_);
    pen_->Assign(*source.pen_);
    SetVisible(source.visible_);
}

void TPlotCustomShapeBrushPen::SetVisible(bool value)
{
    SetAndRepaint(visible_, value);
}

void TPlotCustomShapeBrushPen::Repaint()
{
    if (parent_)
        parent_->Invalidate();
}

// --- Shape --------------------------------------------------------------------------------------

TPlotCustomShape::TPlotCustomShape(PlotShapeOwner* parentChart)
    : TPlotCustomShapeBrushPen(parentChart),
      font_(std::make_unique<TPlotFont>([this] { Repaint(); }))
{
    Shadow();
}

TPlotCustomShape::~TPlotCustomShape() = default;

std::unique_ptr<TPlotGradient> TPlotCustomShape::CreateGradient()
{
    return std::make_unique<TPlotGradient>();
}

TPlotShadow& TPlotCustomShape::Shadow()
{
    if (!shadow_) {
        shadow_ = std::make_unique<TPlotShadow>([this] { Repaint(); });
        shadow_->InitDefaults(clBlack, 3);
    }
    return *shadow_;
}

void TPlotCustomShape::SetShadow(const TPlotShadow* value)
{
    if (!value) {
        if (shadow_) {
            shadow_.reset();
            Repaint();
        }
        return;
    }
    if (value != shadow_.get())
        Shadow().Assign(*value);
}

TPlotGradient& TPlotCustomShape::Gradient()
{
    if (!gradient_) {
        gradient_ = CreateGradient();
        gradient_->OnChange = [this] { Repaint(); };
    }
    return *gradient_;
}

void TPlotCustomShape::SetGradient(const TCustomPlotGradient* value)
{
    if (!value) {
        if (gradient_) {
            gradient_.reset();
            Repaint();
        }
        return;
    }
    if (value != gradient_.get())
        Gradient().Assign(*value);
}

TPlotPicture& TPlotCustomShape::Picture()
{
    if (!picture_)
        picture_ = std::make_unique<TPlotPicture>([this] { Repaint(); });
    return *picture_;
}

void TPlotCustomShape::SetPicture(const TPlotPicture* value)
{
    if (!value)
        picture_.reset();
    else if (value != picture_.get())
        Picture().Assign(*value);
    Repaint();
}

void TPlotCustomShape::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (&source == this)
        return;
    if (const auto* s = dynamic_cast<const TPlotCustomShape*>(&source)) {
        bevel_ = s->bevel_;
        bevelWidth_ = s->bevelWidth_;
        color_ = s->color_;
        font_->Assign(*s->font_);
        SetGradient(s->gradient_.get());
        transparent_ = s->transparent_;
        SetPicture(s->picture_.get());
        roundSize_ = s->roundSize_;
        SetShadow(s->shadow_.get());
        shapeStyle_ = s->shapeStyle_;
        textFormat_ = s->textFormat_;
        defaultTransparent_ = s->defaultTransparent_;
        transparency_ = s->transparency_;
    }
    TPlotCustomShapeBrushPen::Assign(source);
    Repaint();
}

void TPlotCustomShape::SetBevel(TBevelCut value)
{
    if (bevel_ != value) {
        bevel_ = value;
        Repaint();
    }
}

void TPlotCustomShape::SetBevelWidth(int32_t value)
{
    if (bevelWidth_ != value) {
        bevelWidth_ = value;
        Repaint();
    }
}

void TPlotCustomShape::SetRoundSize(int32_t value)
{
    if (roundSize_ != value) {
        roundSize_ = value;
        Repaint();
    }
}

void TPlotCustomShape::SetShapeStyle(TChartObjectShapeStyle value)
{
    if (shapeStyle_ != value) {
        shapeStyle_ = value;
        Repaint();
    }
}

void TPlotCustomShape::SetTextFormat(TTextFormat value)
{
    if (textFormat_ != value) {
        textFormat_ = value;
        Repaint();
    }
}

void TPlotCustomShape::SetTransparency(int value)
{
    value = std::clamp(value, 0, 100);
    if (transparency_ != value) {
        transparency_ = value;
        Repaint();
    }
}

void TPlotCustomShape::DrawRectRotated(const TRect& rect, double angle, int32_t z)
{
    if (PlotShapeOwner* owner = ParentChart())
        DrawOnCanvas(owner->ShapeCanvas(), rect, z, angle);
}

void TPlotCustomShape::DrawOutline(TCanvas3D& canvas, const TRect& r, int32_t z, double angle,
                                   const TFourPoints& corners)
{
    if (angle != 0.0) {
        canvas.PolygonAtDepth(TPointArray(corners.begin(), corners.end()), 3, z);
    } else if (canvas.GetSupportsFeature()) {
        if (shapeStyle_ == fosEllipse)
            canvas.EllipseAtDepth(r.Left, r.Top, r.Right, r.Bottom, z);
        else
            canvas.RectangleAtDepth(r, z);
    } else {
        switch (shapeStyle_) {
        case fosRectangle: canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom); break;
        case fosRoundRectangle: canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, roundSize_, roundSize_); break;
        case fosEllipse: canvas.Ellipse(r.Left, r.Top, r.Right, r.Bottom); break;
        }
    }
}

void TPlotCustomShape::DrawOnCanvas(TCanvas3D& canvas, const TRect& rect, int32_t z, double angle)
{
    if (transparent_)
        return;
    const bool rotated = angle != 0.0;
    const TFourPoints corners = rotated ? RectRotatedPoints(rect, angle) : TFourPoints{};
    const TRect outer = rotated ? PolygonBounds(TPointArray(corners.begin(), corners.end()), 3) : rect;

    std::unique_ptr<TPlotBlend> blend;
    if (transparency_ > 0)
        blend = canvas.BeginBlending(outer, transparency_);
    const int shapeTransparency = canvas.BlendTransparency;

    if (shadow_ && shadow_->Visible() && shadow_->GetSize() != 0 && Brush().Style() != bsClear) {
        if (shapeStyle_ == fosEllipse) {
            shadow_->DrawEllipse(canvas, outer, z);
        } else {
            const int32_t corner = shapeStyle_ == fosRoundRectangle ? roundSize_ : 0;
            const bool flat = !canvas.GetSupportsFeature();
            if (flat)
                canvas.BeginFlatSection();
            shadow_->DrawShape(canvas, outer, corner, z);
            if (flat)
                canvas.EndFlatSection();
        }
        canvas.BlendTransparency = shapeTransparency;
        if (transparency_ != 0) {
            // Under a translucent shape the hard shadow would show through; the shape's own
            // outline is laid behind it once more, offset, in the shadow colour.
            int32_t h = shadow_->HorizSize();
            int32_t v = shadow_->VertSize();
            if (std::max(h, v) > 0 && Pen().Visible()) {
                h += Pen().Width();
                v += Pen().Width();
            }
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(shadow_->Color());
            canvas.Pen().SetStyle(psClear);
            const TRect moved{rect.Left + h, rect.Top + v, rect.Right + h, rect.Bottom + v};
            TFourPoints movedCorners = corners;
            for (TPoint& p : movedCorners) {
                p.X += h;
                p.Y += v;
            }
            std::unique_ptr<TPlotBlend> shadowBlend;
            if (shadow_->Transparency() != 0)
                shadowBlend = canvas.BeginBlending(rotated ? TRect{outer.Left + h, outer.Top + v, outer.Right + h,
                                                                   outer.Bottom + v}
                                                           : moved,
                                                   shadow_->Transparency());
            DrawOutline(canvas, moved, z, angle, movedCorners);
            if (shadowBlend)
                canvas.EndBlending(std::move(shadowBlend));
            canvas.BlendTransparency = shapeTransparency;
        }
    }

    // Fill.
    const int32_t corner = shapeStyle_ == fosRoundRectangle ? roundSize_ : 0;
    if (picture_ && picture_->HasGraphic()) {
        bool clipped = true;
        if (shapeStyle_ == fosEllipse)
            canvas.ClipEllipse(rect, false);
        else if (shapeStyle_ == fosRoundRectangle)
            canvas.ClipRoundRectangle(rect, roundSize_);
        else
            clipped = false;
        canvas.StretchDraw(canvas.CalcRect3D(rect, z), picture_->FilteredGraphic());
        if (clipped)
            canvas.UnClipRectangle();
        canvas.Brush().SetStyle(bsClear);
    } else if (gradient_ && gradient_->Visible()) {
        if (rotated) {
            if (canvas.GetSupportsFeature())
                gradient_->DrawFourPointsZ(canvas, corners, z);
            else
                gradient_->DrawFourPoints(canvas, corners);
        } else if (canvas.GetSupportsFeature()) {
            gradient_->Draw(canvas, canvas.CalcRect3D(rect, z), 0);
        } else {
            gradient_->Draw(canvas, rect, corner);
        }
        canvas.BlendTransparency = shapeTransparency;
        canvas.Brush().SetStyle(bsClear);
    } else {
        // Color is the shape's fill colour; the brush gives style, pattern and hatch back colour.
        canvas.AssignBrushColor(Brush(), color_, Brush().BackColor());
    }

    canvas.AssignVisiblePen(Pen());
    DrawOutline(canvas, rect, z, angle, corners);

    if (!rotated && bevel_ != bvNone && bevel_ != bvSpace && bevelWidth_ > 0) {
        TRect r = rect;
        const bool raised = bevel_ == bvRaised;
        canvas.Frame3D(r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, bevelWidth_);
    }

    if (blend)
        canvas.EndBlending(std::move(blend));
}

bool TPlotCustomShape::ReadLegacyProperty(const QString& name, const QVariant& value)
{
    if (name.compare(QLatin1String("ShadowColor"), Qt::CaseInsensitive) == 0) {
        TColor color = 0;
        if (value.typeId() == QMetaType::QString) {
            if (!IdentToPlotColor(value.toString(), color))
                return false;
        } else {
            bool ok = false;
            color = value.toInt(&ok);
            if (!ok)
                return false;
        }
        Shadow().SetColor(color);
        return true;
    }
    if (name.compare(QLatin1String("ShadowSize"), Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int size = value.toInt(&ok);
        if (!ok)
            return false;
        Shadow().SetSize(size);
        return true;
    }
    return false;
}

bool IdentToPlotColor(const QString& ident, TColor& color)
{
    static const std::pair<const char*, TColor> names[] = {
        {"clBlack", clBlack},         {"clMaroon", clMaroon},
        {"clGreen", clGreen},         {"clOlive", clOlive},
        {"clNavy", clNavy},           {"clPurple", clPurple},
        {"clTeal", clTeal},           {"clGray", clGray},
        {"clSilver", clSilver},       {"clRed", clRed},
        {"clLime", clLime},           {"clYellow", clYellow},
        {"clBlue", clBlue},           {"clFuchsia", clFuchsia},
        {"clAqua", clAqua},           {"clWhite", clWhite},
        {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue},
        {"clCream", clCream},         {"clMedGray", clMedGray},
        {"clNone", clNone},           {"clDefault", clDefault},
        {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
        {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
        {"clMenu", clMenu},           {"clWindow", clWindow},
        {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText},
        {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText},
        {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
        {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace},
        {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText},
        {"clBtnText", clBtnText},     {"clInactiveCaptionText", clInactiveCaptionText},
        {"clBtnHighlight", clBtnHighlight}, {"cl3DDkShadow", cl3DDkShadow},
        {"cl3DLight", cl3DLight},     {"clInfoText", clInfoText},
        {"clInfoBk", clInfoBk},
    };
    for (const auto& [n, c] : names)
        if (ident.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) {
            color = c;
            return true;
        }
    return false;
}
