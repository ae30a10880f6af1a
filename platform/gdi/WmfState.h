#ifndef ZENDRIK_PLATFORM_GDI_WMFSTATE_H
#define ZENDRIK_PLATFORM_GDI_WMFSTATE_H

// What a metafile player holds while it plays our records; not for use outside
// platform/gdi/Wmf*.cpp.

#include <QByteArray>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace gdi::wmf {

class Params;
class RecordList;

// The emitted device state that selecting objects and setting attributes changes. SaveDC and
// RestoreDC bring it back on playback, so the writer keeps a copy with the saved level.
struct DeviceState {
    int pen = -1;
    int brush = -1;
    int font = -1;
    std::optional<int32_t> rop2, bkMode, bkColor, textColor, textAlign, charExtra, fillMode;
};

// The player's object table: each pen, brush and font is created once and found again by the
// bytes of its record.
class ObjectTable {
public:
    enum class Kind { Pen, Brush, Font };

    // The slot of the object the record (function, params) creates, written when the table lacks
    // it; the record's bytes are the key.
    // New objects take the lowest free slot, as players fill their table. When the budget is used
    // up, the least recently used object that is neither selected in current nor held by saved
    // is deleted first.
    int Use(Kind kind, uint16_t function, const Params& params, const DeviceState& current,
            const std::optional<DeviceState>& saved, RecordList& out);
    // Deletes every object still alive, as a player expects at the end.
    void DeleteAll(RecordList& out) const;
    // The size the table has grown to: what the header announces.
    size_t MaxSlots() const { return maxSlots_; }

private:
    struct Slot {
        bool used = false;
        Kind kind = Kind::Pen;
        QByteArray key;
        uint64_t lastUse = 0;
    };

    std::vector<Slot> slots_;
    size_t maxSlots_ = 0;
    uint64_t clock_ = 0;
    std::map<std::pair<int, QByteArray>, int> cache_;
};

} // namespace gdi::wmf

#endif
