#include "platform/gdi/WmfEncoder.h"
#include "platform/gdi/WmfGeometry.h"
#include "platform/gdi/PackedDib.h"

#include "platform/codepage/Windows1252.h"

namespace gdi::wmf {

namespace {

// Objects kept alive at once before the least recently used one is deleted: enough for a
// chart's pens, brushes and fonts, small enough for every player's object table.
constexpr int kObjectBudget = 40;

} // namespace

int ObjectTable::Use(Kind kind, uint16_t function, const Params& params, const DeviceState& current,
                     const std::optional<DeviceState>& saved, RecordList& out)
{
    const QByteArray& key = params.Data();
    const auto found = cache_.find({static_cast<int>(kind), key});
    if (found != cache_.end()) {
        slots_[static_cast<size_t>(found->second)].lastUse = ++clock_;
        return found->second;
    }
    int live = 0;
    for (const Slot& s : slots_)
        live += s.used ? 1 : 0;
    if (live >= kObjectBudget) {
        auto pinned = [&](int i) {
            return i == current.pen || i == current.brush || i == current.font ||
                   (saved && (i == saved->pen || i == saved->brush || i == saved->font));
        };
        int victim = -1;
        for (int i = 0; i < static_cast<int>(slots_.size()); ++i) {
            const Slot& s = slots_[static_cast<size_t>(i)];
            if (s.used && !pinned(i) && (victim < 0 || s.lastUse < slots_[static_cast<size_t>(victim)].lastUse))
                victim = i;
        }
        if (victim >= 0) {
            out.Add(kDeleteObject, {victim});
            Slot& s = slots_[static_cast<size_t>(victim)];
            cache_.erase({static_cast<int>(s.kind), s.key});
            s = Slot{};
        }
    }
    size_t index = 0;
    while (index < slots_.size() && slots_[index].used)
        ++index;
    if (index == slots_.size())
        slots_.push_back(Slot{});
    slots_[index] = Slot{true, kind, key, ++clock_};
    maxSlots_ = std::max(maxSlots_, slots_.size());
    out.Add(function, params);
    cache_[{static_cast<int>(kind), key}] = static_cast<int>(index);
    return static_cast<int>(index);
}

void ObjectTable::DeleteAll(RecordList& out) const
{
    for (int i = 0; i < static_cast<int>(slots_.size()); ++i) {
        if (slots_[static_cast<size_t>(i)].used)
            out.Add(kDeleteObject, {i});
    }
}

void Encoder::SetAttr(std::optional<int32_t>& emitted, int32_t value, uint16_t function, bool dword)
{
    if (emitted && *emitted == value)
        return;
    Params p;
    if (dword)
        p.D(static_cast<uint32_t>(value));
    else
        p.W(value);
    out_.Add(function, p);
    emitted = value;
}

void Encoder::SelectObject(ObjectTable::Kind kind, uint16_t function, const Params& params, int& selected)
{
    const int slot = objects_.Use(kind, function, params, dev_, saved_, out_);
    if (selected == slot)
        return;
    out_.Add(kSelectObject, {slot});
    selected = slot;
}

void Encoder::SyncPen(const Pen& pen)
{
    Params p;
    p.W(WmfPenStyle(pen.style)).W(std::clamp(pen.width, 0, kWmfCoordinateLimit)).W(0).D(pen.color & 0xFFFFFF);
    SelectObject(ObjectTable::Kind::Pen, kCreatePenIndirect, p, dev_.pen);
}

void Encoder::SyncBrush(const Brush& brush)
{
    if (brush.style == BS_PATTERN && !brush.pattern.isNull()) {
        Params p;
        p.W(kBsDibPatternPt).W(0).Bytes(PackedDib(brush.pattern));
        SelectObject(ObjectTable::Kind::Brush, kDibCreatePatternBrush, p, dev_.brush);
        return;
    }
    const uint16_t style = brush.style == BS_PATTERN ? BS_SOLID : static_cast<uint16_t>(brush.style);
    Params p;
    p.W(style).D(brush.color & 0xFFFFFF).W(brush.hatch);
    SelectObject(ObjectTable::Kind::Brush, kCreateBrushIndirect, p, dev_.brush);
}

void Encoder::SyncFont()
{
    const Font& f = font_;
    QByteArray face = codepage::ToWindows1252Shown(f.faceName).left(31);
    face.append(QByteArray(32 - face.size(), '\0'));
    Params p;
    p.W(C16(f.height)).W(C16(f.width)).W(f.escapement).W(f.orientation).W(f.weight);
    p.B(f.italic ? 1 : 0).B(f.underline ? 1 : 0).B(f.strikeOut ? 1 : 0).B(kAnsiCharset);
    p.B(f.outPrecision).B(0).B(f.quality).B(0).Bytes(face);
    SelectObject(ObjectTable::Kind::Font, kCreateFontIndirect, p, dev_.font);
}

void Encoder::SyncAttributes()
{
    SetAttr(dev_.rop2, rop2_, kSetRop2, false);
    SetAttr(dev_.bkMode, bkMode_, kSetBkMode, false);
    SetAttr(dev_.bkColor, bkColor_, kSetBkColor, true);
    SetAttr(dev_.fillMode, fillMode_, kSetPolyFillMode, false);
}

void Encoder::SyncText(COLORREF color)
{
    SyncFont();
    SetAttr(dev_.textColor, static_cast<int32_t>(color), kSetTextColor, true);
    SetAttr(dev_.textAlign, textAlign_, kSetTextAlign, false);
    SetAttr(dev_.charExtra, charExtra_, kSetTextCharExtra, false);
}

// One clip level: the previous one is restored, then a new level with the region's bounding
// rectangle (or nothing at all) is opened. Readers keep no more of a clip region than its box
// (some ignore region records altogether), so fills under a shaped clip are cut here instead.
void Encoder::SetClip(const Region* region, bool nothing)
{
    if (saved_) {
        out_.Add(kRestoreDC, {-1});
        dev_ = *saved_;
        saved_.reset();
    }
    clipBox_.reset();
    shapedClip_ = region && region->Pixels().rectCount() > 1 ? region : nullptr;
    if (!region && !nothing)
        return;
    saved_ = dev_;
    out_.Add(kSaveDC, Params());
    Rect box{0, 0, 0, 0};
    if (region && !region->IsEmpty()) {
        const ClipBox frame = FrameBox();
        box = region->Box();
        box = Rect{std::clamp(box.left, frame.left, frame.right), std::clamp(box.top, frame.top, frame.bottom),
                   std::clamp(box.right, frame.left, frame.right), std::clamp(box.bottom, frame.top, frame.bottom)};
    }
    out_.Add(kIntersectClipRect, {box.bottom, box.right, box.top, box.left});
    clipBox_ = box;
}

// Readers take the picture's extent from the coordinates of its records, pen widths included, and
// scale that extent into the frame; geometry that the clip hides is therefore cut as well, or a
// clipped trace of a zoomed chart would still shrink the picture.
ClipBox Encoder::VisibleBox(int32_t margin) const
{
    return C16(gdi::VisibleBox(m_.Width, m_.Height, clipBox_, margin));
}

} // namespace gdi::wmf
