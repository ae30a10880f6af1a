#include "platform/gdi/DeviceContextBase.h"

#include <optional>
#include <utility>

namespace gdi {

namespace {

constexpr COLORREF kRgbMask = 0x00FFFFFF;

// The index into a stack of depth saved states that RestoreDC(level) restores: a positive level
// counts from the first save (1), a negative one back from the last (-1). None for 0 or a level
// that was never saved.
std::optional<size_t> SavedLevelIndex(size_t depth, int level)
{
    const auto n = static_cast<long long>(depth);
    const long long index = level > 0 ? level - 1LL : n + level;
    if (level == 0 || index < 0 || index >= n)
        return std::nullopt;
    return static_cast<size_t>(index);
}

} // namespace

// ---- objects and attributes

void DeviceContextBase::SelectPen(const Pen& pen)
{
    s_.pen = pen;
    StateChanged(DcField::Pen);
}

void DeviceContextBase::SelectBrush(const Brush& brush)
{
    s_.brush = brush;
    StateChanged(DcField::Brush);
}

void DeviceContextBase::SelectFont(const Font& font)
{
    s_.font = font;
    StateChanged(DcField::Font);
}

int DeviceContextBase::SetMode(int& field, int mode, bool known, DcField which)
{
    return known ? Exchange(field, mode, which) : 0;
}

int DeviceContextBase::SetROP2(int mode)
{
    return SetMode(s_.rop2, mode, mode >= R2_BLACK && mode <= R2_WHITE, DcField::Rop2);
}

int DeviceContextBase::SetBkMode(int mode)
{
    return SetMode(s_.bkMode, mode, mode == TRANSPARENT || mode == OPAQUE, DcField::BkMode);
}

int DeviceContextBase::SetPolyFillMode(int mode)
{
    return SetMode(s_.fillMode, mode, mode == ALTERNATE || mode == WINDING, DcField::FillMode);
}

int DeviceContextBase::SetGraphicsMode(int mode)
{
    return SetMode(s_.graphicsMode, mode, mode == GM_COMPATIBLE || mode == GM_ADVANCED, DcField::GraphicsMode);
}

int DeviceContextBase::SetArcDirection(int direction)
{
    return SetMode(s_.arcDirection, direction, direction == AD_COUNTERCLOCKWISE || direction == AD_CLOCKWISE,
                   DcField::ArcDirection);
}

// Colours keep their red, green and blue bytes only.
COLORREF DeviceContextBase::SetBkColor(COLORREF color)
{
    return Exchange(s_.bkColor, color & kRgbMask, DcField::BkColor);
}

COLORREF DeviceContextBase::SetTextColor(COLORREF color)
{
    return Exchange(s_.textColor, color & kRgbMask, DcField::TextColor);
}

uint32_t DeviceContextBase::SetTextAlign(uint32_t flags)
{
    return Exchange(s_.textAlign, flags, DcField::TextAlign);
}

int32_t DeviceContextBase::SetTextCharacterExtra(int32_t extra)
{
    return Exchange(s_.charExtra, extra, DcField::CharExtra);
}

void DeviceContextBase::MoveToEx(int32_t x, int32_t y, Point* old)
{
    if (old)
        *old = s_.pos;
    s_.pos = Point{x, y};
    StateChanged(DcField::Position);
}

// ---- saved levels

int DeviceContextBase::SaveDC()
{
    saved_.push_back(Saved{s_, hasClip_, clip_});
    return static_cast<int>(saved_.size());
}

bool DeviceContextBase::RestoreDC(int level)
{
    const auto index = SavedLevelIndex(saved_.size(), level);
    if (!index)
        return false;
    const Saved saved = std::move(saved_[*index]);
    saved_.resize(*index);
    auto bringBack = [this](auto& field, const auto& value, DcField which) {
        if (field == value)
            return;
        field = value;
        StateChanged(which);
    };
    const DcState& t = saved.state;
    bringBack(s_.pen, t.pen, DcField::Pen);
    bringBack(s_.brush, t.brush, DcField::Brush);
    // The character extra before the font: the font is made with it.
    bringBack(s_.charExtra, t.charExtra, DcField::CharExtra);
    bringBack(s_.font, t.font, DcField::Font);
    bringBack(s_.rop2, t.rop2, DcField::Rop2);
    bringBack(s_.bkMode, t.bkMode, DcField::BkMode);
    bringBack(s_.bkColor, t.bkColor, DcField::BkColor);
    bringBack(s_.textColor, t.textColor, DcField::TextColor);
    bringBack(s_.textAlign, t.textAlign, DcField::TextAlign);
    bringBack(s_.fillMode, t.fillMode, DcField::FillMode);
    bringBack(s_.graphicsMode, t.graphicsMode, DcField::GraphicsMode);
    bringBack(s_.arcDirection, t.arcDirection, DcField::ArcDirection);
    bringBack(s_.pos, t.pos, DcField::Position);
    if (saved.hasClip != hasClip_ || !(saved.clip == clip_)) {
        hasClip_ = saved.hasClip;
        clip_ = saved.clip;
        StateChanged(DcField::Clip);
    }
    return true;
}

// ---- clipping

int DeviceContextBase::GetClipRgn(Region& out) const
{
    if (!hasClip_)
        return 0;
    out = clip_;
    return 1;
}

int DeviceContextBase::SelectClipRgn(const Region* region)
{
    hasClip_ = region != nullptr;
    clip_ = region ? *region : Region();
    StateChanged(DcField::Clip);
    if (!region)
        return SIMPLEREGION;
    return clip_.IsEmpty() ? NULLREGION : (clip_.Pixels().rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

// Without a clip region the whole frame is the region the new one combines with.
int DeviceContextBase::ExtSelectClipRgn(const Region* region, int mode)
{
    if (mode == RGN_COPY)
        return SelectClipRgn(region);
    if (!region)
        return RGN_ERROR;
    const Region base = hasClip_ ? clip_ : CreateRectRgn(0, 0, Width(), Height());
    Region result;
    const int kind = result.Combine(base, *region, mode);
    if (kind == RGN_ERROR)
        return RGN_ERROR;
    hasClip_ = true;
    clip_ = result;
    StateChanged(DcField::Clip);
    return kind;
}

Rect DeviceContextBase::GetClipBox() const
{
    if (!hasClip_)
        return Rect{0, 0, Width(), Height()};
    return clip_.Box();
}

bool DeviceContextBase::PtVisible(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return false;
    return !hasClip_ || clip_.Contains(x, y);
}

// ---- figures of an arc

void DeviceContextBase::Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys,
                            int32_t xe, int32_t ye)
{
    ArcFigure(ArcKind::Open, Rect{left, top, right, bottom}, Point{xs, ys}, Point{xe, ye});
}

void DeviceContextBase::Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys,
                            int32_t xe, int32_t ye)
{
    ArcFigure(ArcKind::Pie, Rect{left, top, right, bottom}, Point{xs, ys}, Point{xe, ye});
}

void DeviceContextBase::Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys,
                              int32_t xe, int32_t ye)
{
    ArcFigure(ArcKind::Chord, Rect{left, top, right, bottom}, Point{xs, ys}, Point{xe, ye});
}

// ---- the path bracket

void DeviceContextBase::BeginPath()
{
    inPath_ = true;
    pathReady_ = false;
    PathStep(PathCall::Begin);
}

void DeviceContextBase::EndPath()
{
    if (!inPath_)
        return;
    inPath_ = false;
    pathReady_ = true;
    PathStep(PathCall::End);
}

void DeviceContextBase::AbortPath()
{
    inPath_ = false;
    pathReady_ = false;
    PathStep(PathCall::Abort);
}

void DeviceContextBase::CloseFigure()
{
    if (inPath_)
        PathStep(PathCall::CloseFigure);
}

void DeviceContextBase::StrokePath()
{
    if (!std::exchange(pathReady_, false))
        return;
    PathStep(PathCall::Stroke);
}

void DeviceContextBase::FillPath()
{
    if (!std::exchange(pathReady_, false))
        return;
    PathStep(PathCall::Fill);
}

void DeviceContextBase::StrokeAndFillPath()
{
    if (!std::exchange(pathReady_, false))
        return;
    PathStep(PathCall::StrokeAndFill);
}

bool DeviceContextBase::SelectClipPath(int mode)
{
    if (!std::exchange(pathReady_, false))
        return false;
    return ClipToPath(mode);
}

} // namespace gdi
