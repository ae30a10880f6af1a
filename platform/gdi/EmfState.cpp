// The objects and attributes of the enhanced metafile: pens, brushes and fonts in the lowest free
// handles, the modes and colours the drawing needs, and the clip region.

#include "platform/gdi/EmfEncoder.h"
#include "platform/gdi/PackedDib.h"

namespace gdi::emf {

namespace {

constexpr uint32_t kRgnRectangles = 1;
// The character height a font of height 0 gets from the raster back end, which measured the text.
constexpr int32_t kDefaultFontHeight = -16;

// A pen the plain pen record can say as the raster back end draws it: solid, empty or
// inside-frame pens, and the styled dashes of one-pixel pens. Wide styled pens, end caps, joins,
// alternate and user styles need the extended record.
bool PlainPen(const Pen& pen)
{
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    if (kind == PS_NULL)
        return true;
    const bool wide = pen.width > 1;
    if (wide && (pen.style & (PS_ENDCAP_MASK | PS_JOIN_MASK)) != 0)
        return false;
    if (kind == PS_SOLID || kind == PS_INSIDEFRAME)
        return true;
    return !wide && kind >= PS_DASH && kind <= PS_DASHDOTDOT;
}

} // namespace

void Encoder::SetAttr(std::optional<uint32_t>& emitted, uint32_t value, uint32_t type)
{
    if (emitted && *emitted == value)
        return;
    Simple(type, {value});
    emitted = value;
}

uint32_t Encoder::FreeHandle()
{
    size_t i = 0;
    while (i < used_.size() && used_[i])
        ++i;
    if (i == used_.size())
        used_.push_back(true);
    used_[i] = true;
    handles_ = std::max(handles_, static_cast<uint32_t>(i + 2));
    return static_cast<uint32_t>(i + 1);
}

// Selects the object, creating it in the lowest free handle unless it is the one selected; the
// object it replaces is no longer selected and is deleted.
void Encoder::Use(Kind kind, uint32_t type, const QByteArray& payload)
{
    Selected& s = sel_[kind];
    if (s.handle != 0 && s.type == type && s.payload == payload)
        return;
    const uint32_t handle = FreeHandle();
    const qsizetype at = Begin(type);
    out_.U32(handle);
    out_.Bytes(payload);
    End(at);
    Simple(kSelectObject, {handle});
    if (s.handle != 0) {
        Simple(kDeleteObject, {s.handle});
        used_[s.handle - 1] = false;
    }
    s = Selected {handle, type, payload};
}

void Encoder::SyncPen()
{
    if (penFrom_ == pen_)
        return;
    penFrom_ = pen_;
    const Pen& pen = CurrentPen();
    Out p;
    if (PlainPen(pen)) {
        p.U32(pen.style & PS_STYLE_MASK);
        p.I32(std::max(0, pen.width));
        p.I32(0);
        p.U32(pen.color & 0xFFFFFF);
        Use(kPenObject, kCreatePen, p.Take());
        return;
    }
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    const bool wide = pen.width > 1;
    uint32_t style = (kind > PS_ALTERNATE) ? PS_SOLID : kind;
    if (wide) {
        // The alternate style belongs to one-pixel pens; wide ones draw it as dots.
        if (style == PS_ALTERNATE)
            style = PS_DOT;
        style |= PS_GEOMETRIC | (pen.style & (PS_ENDCAP_MASK | PS_JOIN_MASK));
    }
    const bool user = kind == PS_USERSTYLE && !pen.userStyle.empty();
    if (kind == PS_USERSTYLE && !user)
        style = (style & ~PS_STYLE_MASK) | PS_SOLID;
    p.U32(0); // no brush bitmap: offset and size of its header and bits
    p.U32(0);
    p.U32(0);
    p.U32(0);
    p.U32(style);
    p.U32(static_cast<uint32_t>(std::max(1, pen.width)));
    p.U32(BS_SOLID);
    p.U32(pen.color & 0xFFFFFF);
    p.U32(0);
    p.U32(user ? static_cast<uint32_t>(pen.userStyle.size()) : 0);
    if (user) {
        for (uint32_t v : pen.userStyle)
            p.U32(v);
    }
    Use(kPenObject, kExtCreatePen, p.Take());
}

void Encoder::SyncBrush(int32_t index)
{
    static const Brush defaultBrush;
    const Brush& brush = index >= 0 ? m_.Brushes[static_cast<size_t>(index)] : defaultBrush;
    const bool mono = brush.style == BS_PATTERN && !brush.pattern.isNull()
        && (brush.pattern.format() == QImage::Format_Mono
            || brush.pattern.format() == QImage::Format_MonoLSB);
    if (brushFrom_ == index && (!mono || (brushTextColor_ == textColor_ && brushBkColor_ == bkColor_)))
        return;
    brushFrom_ = index;
    brushTextColor_ = textColor_;
    brushBkColor_ = bkColor_;
    Out p;
    if (brush.style == BS_PATTERN && !brush.pattern.isNull()) {
        QImage pattern = brush.pattern;
        if (mono) {
            // Clear bits take the text colour, set bits the background colour, as they are when
            // the brush paints.
            pattern = pattern.convertToFormat(QImage::Format_Mono);
            pattern.setColorCount(2);
            pattern.setColor(0, ToQRgb(textColor_));
            pattern.setColor(1, ToQRgb(bkColor_));
        }
        const QByteArray dib = PackedDib(pattern);
        p.U32(kDibRgbColors);
        p.U32(32); // header after the record's 32 fixed bytes
        p.U32(kDibHeaderSize);
        p.U32(32 + kDibHeaderSize);
        p.U32(static_cast<uint32_t>(dib.size()) - kDibHeaderSize);
        p.Bytes(dib);
        Use(kBrushObject, kCreateDibPatternBrushPt, p.Take());
        return;
    }
    // A pattern brush without a pattern paints nothing on the raster back end.
    const uint32_t style = brush.style == BS_PATTERN ? BS_NULL : brush.style;
    p.U32(style);
    p.U32(brush.color & 0xFFFFFF);
    p.U32(style == BS_HATCHED ? static_cast<uint32_t>(std::clamp(brush.hatch, HS_HORIZONTAL, HS_DIAGCROSS))
                              : 0);
    Use(kBrushObject, kCreateBrushIndirect, p.Take());
}

void Encoder::SyncFont()
{
    if (fontFrom_ == font_)
        return;
    fontFrom_ = font_;
    const Font& f = CurrentFont();
    Out p;
    p.I32(f.height == 0 ? kDefaultFontHeight : f.height);
    p.I32(f.width);
    p.I32(f.escapement);
    p.I32(f.orientation);
    p.I32(f.weight);
    p.U8(f.italic ? 1 : 0);
    p.U8(f.underline ? 1 : 0);
    p.U8(f.strikeOut ? 1 : 0);
    p.U8(f.charSet);
    p.U8(f.outPrecision);
    p.U8(0); // clip precision
    p.U8(f.quality);
    p.U8(0); // pitch and family
    const QString face = f.faceName.left(31);
    for (qsizetype i = 0; i < 32; ++i)
        p.U16(i < face.size() ? face.at(i).unicode() : 0);
    Use(kFontObject, kExtCreateFontIndirectW, p.Take());
}

void Encoder::SyncAttributes()
{
    SetAttr(eRop2_, rop2_, kSetRop2);
    SetAttr(eBkMode_, bkMode_, kSetBkMode);
    SetAttr(eBkColor_, bkColor_, kSetBkColor);
    SetAttr(eFillMode_, fillMode_, kSetPolyFillMode);
}

// A region is selected as the default clip intersected with the region: readers may ignore the
// data of a copy, which the format allows them to leave out.
void Encoder::Clip(const Region* region)
{
    const qsizetype reset = Begin(kExtSelectClipRgn);
    out_.U32(0);
    out_.U32(RGN_COPY);
    End(reset);
    clipBox_.reset();
    if (!region)
        return;
    clipBox_ = region->IsEmpty() ? Rect{0, 0, 0, 0} : region->Box();
    const QRegion& pixels = region->Pixels();
    const uint32_t count = static_cast<uint32_t>(pixels.rectCount());
    const qsizetype at = Begin(kExtSelectClipRgn);
    out_.U32(32 + 16 * count);
    out_.U32(RGN_AND);
    out_.U32(32);
    out_.U32(kRgnRectangles);
    out_.U32(count);
    out_.U32(16 * count);
    const Rect b = region->Box();
    out_.Rect(b.left, b.top, b.right, b.bottom);
    for (const QRect& r : pixels)
        out_.Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    End(at);
}

ClipBox Encoder::StrokeBox() const
{
    return VisibleBox(m_.Width, m_.Height, clipBox_, std::max(1, CurrentPen().width));
}

ClipBox Encoder::FrameBox() const
{
    return VisibleBox(m_.Width, m_.Height, clipBox_, 1);
}

} // namespace gdi::emf
