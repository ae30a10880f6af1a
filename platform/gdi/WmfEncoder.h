#ifndef ZENDRIK_PLATFORM_GDI_WMFENCODER_H
#define ZENDRIK_PLATFORM_GDI_WMFENCODER_H

// The writer of one picture; not for use outside platform/gdi/Wmf*.cpp.

#include "platform/gdi/Metafile.h"
#include "platform/gdi/WmfRecords.h"
#include "platform/gdi/WmfState.h"
#include "platform/gdi/WmfWriter.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace gdi::wmf {

// Plays the recording and writes what the player needs to draw it: objects and attributes only
// when they change, geometry cut to what can show.
class Encoder {
public:
    explicit Encoder(const Metafile& m) : m_(m) {}
    QByteArray Run();

private:
    // State (WmfState.cpp).
    void SetAttr(std::optional<int32_t>& emitted, int32_t value, uint16_t function, bool dword);
    // Creates the object unless the player has it and selects it unless it is selected.
    void SelectObject(ObjectTable::Kind kind, uint16_t function, const Params& params, int& selected);
    void SyncPen(const Pen& pen);
    void SyncBrush(const Brush& brush);
    void SyncFont();
    void SyncAttributes();
    void SyncText(COLORREF color);
    void SetClip(const Region* region, bool nothing);
    // What can show: the frame, or the part of it the clip leaves, widened by margin.
    ClipBox VisibleBox(int32_t margin) const;
    // Strokes are cut one pen width outside what can show, fills one pixel outside.
    ClipBox StrokeBox() const { return VisibleBox(std::max(1, pen_.width)); }
    ClipBox FrameBox() const { return VisibleBox(1); }

    // Drawing (WmfWriter.cpp).
    void Draw(const MetaRecord& r, bool strokeOnly, bool fillOnly);
    // A fill under a clip that is not a rectangle, written as the polygons of what shows; false
    // when the shape needs no such care (or is of a kind drawn as it is).
    bool FillInShapedClip(const MetaRecord& r);
    void EmitPath(MetaOp how);
    // A record of a point count and the points; nothing for fewer than two.
    void PointList(uint16_t function, const std::vector<Point>& pts);
    void Polyline(const std::vector<Point>& pts);
    void Polygon(const std::vector<Point>& pts);
    void Box(uint16_t function, const int32_t* a, int extra);
    void LineTo(const Point& to);
    void StretchDib(const MetaRecord& r);

    const Metafile& m_;
    RecordList out_;
    ObjectTable objects_;

    // What the recording has selected.
    Pen pen_;
    Brush brush_;
    Font font_;
    int32_t rop2_ = R2_COPYPEN, bkMode_ = OPAQUE, bkColor_ = 0xFFFFFF, textColor_ = 0, textAlign_ = 0,
            charExtra_ = 0, fillMode_ = ALTERNATE;
    Point pos_;
    int32_t arcDirection_ = AD_COUNTERCLOCKWISE;
    // The player's current position, as far as the records have set it.
    std::optional<Point> devPos_;

    DeviceState dev_;
    std::optional<DeviceState> saved_;
    std::optional<Rect> clipBox_;   // the written clip rectangle, while there is one
    const Region* shapedClip_ = nullptr;   // the clip, while it is more than its rectangle
    bool inPath_ = false;
    std::vector<const MetaRecord*> path_;
};

} // namespace gdi::wmf

#endif
