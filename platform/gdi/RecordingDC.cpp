#include "platform/gdi/RecordingDC.h"

#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <cmath>

namespace gdi {

int Metafile::Count(MetaOp op) const
{
    return static_cast<int>(std::count_if(Records.begin(), Records.end(),
                                          [op](const MetaRecord& r) { return r.op == op; }));
}

RecordingDC::RecordingDC(int32_t width, int32_t height, bool enhanced) : measure_(std::make_unique<RasterDC>(1, 1))
{
    meta_.Width = std::max(1, width);
    meta_.Height = std::max(1, height);
    meta_.Enhanced = enhanced;
    measure_->SelectFont(s_.font);
}

RecordingDC::~RecordingDC() = default;

Metafile RecordingDC::TakePicture()
{
    Metafile out = std::move(meta_);
    meta_ = Metafile{};
    meta_.Width = out.Width;
    meta_.Height = out.Height;
    meta_.Enhanced = out.Enhanced;
    return out;
}

MetaRecord& RecordingDC::Add(MetaOp op, std::initializer_list<int32_t> args)
{
    MetaRecord r;
    r.op = op;
    int i = 0;
    for (int32_t v : args)
        r.a[i++] = v;
    meta_.Records.push_back(std::move(r));
    return meta_.Records.back();
}

// ---- objects and attributes

void RecordingDC::SelectPen(const Pen& pen)
{
    s_.pen = pen;
    meta_.Pens.push_back(pen);
    Add(MetaOp::SelectPen).index = static_cast<int32_t>(meta_.Pens.size() - 1);
}

void RecordingDC::SelectBrush(const Brush& brush)
{
    s_.brush = brush;
    meta_.Brushes.push_back(brush);
    Add(MetaOp::SelectBrush).index = static_cast<int32_t>(meta_.Brushes.size() - 1);
}

void RecordingDC::SelectFont(const Font& font)
{
    s_.font = font;
    measure_->SelectFont(font);
    meta_.Fonts.push_back(font);
    Add(MetaOp::SelectFont).index = static_cast<int32_t>(meta_.Fonts.size() - 1);
}

int RecordingDC::SetROP2(int mode)
{
    const int old = s_.rop2;
    if (mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    s_.rop2 = mode;
    Add(MetaOp::SetROP2, {mode});
    return old;
}

int RecordingDC::SetBkMode(int mode)
{
    const int old = s_.bkMode;
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    s_.bkMode = mode;
    Add(MetaOp::SetBkMode, {mode});
    return old;
}

COLORREF RecordingDC::SetBkColor(COLORREF color)
{
    const COLORREF old = s_.bkColor;
    s_.bkColor = color & 0xFFFFFF;
    Add(MetaOp::SetBkColor, {static_cast<int32_t>(s_.bkColor)});
    return old;
}

COLORREF RecordingDC::SetTextColor(COLORREF color)
{
    const COLORREF old = s_.textColor;
    s_.textColor = color & 0xFFFFFF;
    Add(MetaOp::SetTextColor, {static_cast<int32_t>(s_.textColor)});
    return old;
}

uint32_t RecordingDC::SetTextAlign(uint32_t flags)
{
    const uint32_t old = s_.textAlign;
    s_.textAlign = flags;
    Add(MetaOp::SetTextAlign, {static_cast<int32_t>(flags)});
    return old;
}

int32_t RecordingDC::SetTextCharacterExtra(int32_t extra)
{
    const int32_t old = s_.charExtra;
    s_.charExtra = extra;
    measure_->SetTextCharacterExtra(extra);
    measure_->SelectFont(s_.font);
    Add(MetaOp::SetTextCharExtra, {extra});
    return old;
}

int RecordingDC::SetPolyFillMode(int mode)
{
    const int old = s_.fillMode;
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    s_.fillMode = mode;
    Add(MetaOp::SetPolyFillMode, {mode});
    return old;
}

int RecordingDC::SetGraphicsMode(int mode)
{
    const int old = s_.graphicsMode;
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED)
        return 0;
    s_.graphicsMode = mode;
    Add(MetaOp::SetGraphicsMode, {mode});
    return old;
}

int RecordingDC::SetArcDirection(int direction)
{
    if (direction != AD_COUNTERCLOCKWISE && direction != AD_CLOCKWISE)
        return 0;
    const int old = s_.arcDirection;
    s_.arcDirection = direction;
    Add(MetaOp::SetArcDirection, {direction});
    return old;
}

// ---- saved levels

int RecordingDC::SaveDC()
{
    saved_.push_back(Saved{s_, hasClip_, clip_});
    return static_cast<int>(saved_.size());
}

bool RecordingDC::RestoreDC(int level)
{
    const auto index = SavedLevelIndex(saved_.size(), level);
    if (!index)
        return false;
    const Saved saved = std::move(saved_[*index]);
    saved_.resize(*index);
    const DcState& t = saved.state;
    if (!(t.pen == s_.pen))
        SelectPen(t.pen);
    if (!(t.brush == s_.brush))
        SelectBrush(t.brush);
    if (t.charExtra != s_.charExtra)
        SetTextCharacterExtra(t.charExtra);
    if (!(t.font == s_.font))
        SelectFont(t.font);
    if (t.rop2 != s_.rop2)
        SetROP2(t.rop2);
    if (t.bkMode != s_.bkMode)
        SetBkMode(t.bkMode);
    if (t.bkColor != s_.bkColor)
        SetBkColor(t.bkColor);
    if (t.textColor != s_.textColor)
        SetTextColor(t.textColor);
    if (t.textAlign != s_.textAlign)
        SetTextAlign(t.textAlign);
    if (t.fillMode != s_.fillMode)
        SetPolyFillMode(t.fillMode);
    if (t.graphicsMode != s_.graphicsMode)
        SetGraphicsMode(t.graphicsMode);
    if (t.arcDirection != s_.arcDirection)
        SetArcDirection(t.arcDirection);
    if (!(t.pos == s_.pos))
        MoveToEx(t.pos.x, t.pos.y);
    if (saved.hasClip != hasClip_ || !(saved.clip == clip_))
        SelectClipRgn(saved.hasClip ? &saved.clip : nullptr);
    return true;
}

// ---- drawing

void RecordingDC::MoveToEx(int32_t x, int32_t y, Point* old)
{
    if (old)
        *old = s_.pos;
    s_.pos = Point{x, y};
    Add(MetaOp::MoveTo, {x, y});
}

void RecordingDC::LineTo(int32_t x, int32_t y)
{
    s_.pos = Point{x, y};
    Add(MetaOp::LineTo, {x, y});
}

void RecordingDC::Polyline(const Point* points, int count)
{
    if (!points || count <= 0)
        return;
    Add(MetaOp::Polyline).points.assign(points, points + count);
}

void RecordingDC::Polygon(const Point* points, int count)
{
    if (!points || count <= 0)
        return;
    Add(MetaOp::Polygon).points.assign(points, points + count);
}

void RecordingDC::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Add(MetaOp::Rectangle, {left, top, right, bottom});
}

void RecordingDC::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    Add(MetaOp::Ellipse, {left, top, right, bottom});
}

void RecordingDC::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h)
{
    Add(MetaOp::RoundRect, {left, top, right, bottom, w, h});
}

void RecordingDC::Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
                      int32_t ye)
{
    Add(MetaOp::Arc, {left, top, right, bottom, xs, ys, xe, ye});
}

void RecordingDC::Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
                      int32_t ye)
{
    Add(MetaOp::Pie, {left, top, right, bottom, xs, ys, xe, ye});
}

void RecordingDC::Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
                        int32_t ye)
{
    Add(MetaOp::Chord, {left, top, right, bottom, xs, ys, xe, ye});
}

void RecordingDC::FillRect(const Rect& rect, const Brush& brush)
{
    // A rectangle given the wrong way round is filled the right way round.
    const Rect r{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
                 std::max(rect.top, rect.bottom)};
    if (r.right == r.left || r.bottom == r.top || brush.style == BS_NULL)
        return;
    meta_.Brushes.push_back(brush);
    Add(MetaOp::FillRect, {r.left, r.top, r.right, r.bottom}).index = static_cast<int32_t>(meta_.Brushes.size() - 1);
}

void RecordingDC::PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop)
{
    if (w == 0 || h == 0)
        return;
    // A negative extent runs back from the start: the start pixel is filled, the far edge is not.
    if (w < 0) {
        x += w + 1;
        w = -w;
    }
    if (h < 0) {
        y += h + 1;
        h = -h;
    }
    Add(MetaOp::PatBlt, {x, y, w, h}).rop = rop;
}

COLORREF RecordingDC::SetPixel(int32_t x, int32_t y, COLORREF color)
{
    Add(MetaOp::SetPixel, {x, y, static_cast<int32_t>(color & 0xFFFFFF)});
    return color & 0xFFFFFF;
}

COLORREF RecordingDC::GetPixel(int32_t, int32_t) const { return CLR_INVALID; }

// ---- text

void RecordingDC::TextOut(int32_t x, int32_t y, const QString& text)
{
    if (s_.textAlign & TA_UPDATECP) {
        const Size ext = GetTextExtentPoint(text);
        if ((s_.textAlign & TA_HORIZONTAL_MASK) == TA_LEFT)
            s_.pos.x += ext.cx;
    }
    Add(MetaOp::TextOut, {x, y}).text = text;
}

Size RecordingDC::GetTextExtentPoint(const QString& text) const { return measure_->GetTextExtentPoint(text); }

TextMetric RecordingDC::GetTextMetrics() const { return measure_->GetTextMetrics(); }

// ---- clipping

void RecordingDC::RecordClip()
{
    MetaRecord& r = Add(MetaOp::SelectClip);
    if (hasClip_) {
        meta_.Regions.push_back(clip_);
        r.index = static_cast<int32_t>(meta_.Regions.size() - 1);
    }
}

int RecordingDC::GetClipRgn(Region& out) const
{
    if (!hasClip_)
        return 0;
    out = clip_;
    return 1;
}

int RecordingDC::SelectClipRgn(const Region* region)
{
    hasClip_ = region != nullptr;
    clip_ = region ? *region : Region();
    RecordClip();
    if (!region)
        return SIMPLEREGION;
    return clip_.IsEmpty() ? NULLREGION : (clip_.Pixels().rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

int RecordingDC::ExtSelectClipRgn(const Region* region, int mode)
{
    if (mode == RGN_COPY)
        return SelectClipRgn(region);
    if (!region)
        return RGN_ERROR;
    const Region base = hasClip_ ? clip_ : CreateRectRgn(0, 0, meta_.Width, meta_.Height);
    Region result;
    const int kind = result.Combine(base, *region, mode);
    if (kind == RGN_ERROR)
        return RGN_ERROR;
    hasClip_ = true;
    clip_ = result;
    RecordClip();
    return kind;
}

Rect RecordingDC::GetClipBox() const
{
    if (!hasClip_)
        return Rect{0, 0, meta_.Width, meta_.Height};
    return clip_.Box();
}

bool RecordingDC::PtVisible(int32_t x, int32_t y) const
{
    if (hasClip_)
        return clip_.Contains(x, y);
    return x >= 0 && y >= 0 && x < meta_.Width && y < meta_.Height;
}

// ---- paths: recorded as brackets; each output decides what it can express

void RecordingDC::BeginPath()
{
    inPath_ = true;
    pathReady_ = false;
    Add(MetaOp::BeginPath);
}

void RecordingDC::EndPath()
{
    if (!inPath_)
        return;
    inPath_ = false;
    pathReady_ = true;
    Add(MetaOp::EndPath);
}

void RecordingDC::AbortPath()
{
    inPath_ = false;
    pathReady_ = false;
    Add(MetaOp::AbortPath);
}

void RecordingDC::CloseFigure()
{
    if (inPath_)
        Add(MetaOp::CloseFigure);
}

void RecordingDC::StrokePath()
{
    if (!pathReady_)
        return;
    pathReady_ = false;
    Add(MetaOp::StrokePath);
}

void RecordingDC::FillPath()
{
    if (!pathReady_)
        return;
    pathReady_ = false;
    Add(MetaOp::FillPath);
}

void RecordingDC::StrokeAndFillPath()
{
    if (!pathReady_)
        return;
    pathReady_ = false;
    Add(MetaOp::StrokeAndFillPath);
}

bool RecordingDC::SelectClipPath(int mode)
{
    if (!pathReady_)
        return false;
    pathReady_ = false;
    Add(MetaOp::SelectClipPath, {mode});
    return true;
}

// ---- block transfers: only the part of the source that is used is kept

void RecordingDC::BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                         uint32_t rop)
{
    if (source.isNull() || w <= 0 || h <= 0)
        return;
    StretchBlt(Rect{x, y, x + w, y + h}, source, Rect{sx, sy, sx + w, sy + h}, rop);
}

void RecordingDC::StretchBlt(const Rect& dest, const QImage& source, const Rect& src, uint32_t rop)
{
    if (source.isNull() || dest.right == dest.left || dest.bottom == dest.top)
        return;
    const QRect wanted(src.left, src.top, src.right - src.left, src.bottom - src.top);
    const QRect used = wanted.intersected(source.rect());
    if (used.isEmpty())
        return;
    // Shrink the destination by the part of the source rectangle that lay outside the image.
    const double kx = static_cast<double>(dest.right - dest.left) / wanted.width();
    const double ky = static_cast<double>(dest.bottom - dest.top) / wanted.height();
    const Rect d{dest.left + static_cast<int32_t>(std::lround((used.left() - wanted.left()) * kx)),
                 dest.top + static_cast<int32_t>(std::lround((used.top() - wanted.top()) * ky)),
                 dest.left + static_cast<int32_t>(std::lround((used.right() + 1 - wanted.left()) * kx)),
                 dest.top + static_cast<int32_t>(std::lround((used.bottom() + 1 - wanted.top()) * ky))};
    meta_.Images.push_back(source.copy(used).convertToFormat(QImage::Format_RGB32));
    MetaRecord& r = Add(MetaOp::StretchBlt, {d.left, d.top, d.right, d.bottom, 0, 0, used.width(), used.height()});
    r.index = static_cast<int32_t>(meta_.Images.size() - 1);
    r.rop = rop;
}

} // namespace gdi
