#ifndef ZENDRIK_PLATFORM_GDI_DCSTATE_H
#define ZENDRIK_PLATFORM_GDI_DCSTATE_H

#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <optional>

namespace gdi {

// What a device context keeps besides its clip region (each back end keeps that in its own form):
// the selected objects, the modes and the current position. SaveDC saves all of it with the clip.
struct DcState {
    Pen pen;
    Brush brush;
    Font font;
    int rop2 = R2_COPYPEN;
    int bkMode = OPAQUE;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF textColor = 0;
    uint32_t textAlign = TA_LEFT | TA_TOP;
    int32_t charExtra = 0;
    int fillMode = ALTERNATE;
    int graphicsMode = GM_COMPATIBLE;
    int arcDirection = AD_COUNTERCLOCKWISE;
    Point pos;
};

// The index into a stack of depth saved states that RestoreDC(level) restores: a positive level
// counts from the first save (1), a negative one back from the last (-1). None for 0 or a level
// that was never saved.
inline std::optional<size_t> SavedLevelIndex(size_t depth, int level)
{
    const auto n = static_cast<long long>(depth);
    const long long index = level > 0 ? level - 1LL : n + level;
    if (level == 0 || index < 0 || index >= n)
        return std::nullopt;
    return static_cast<size_t>(index);
}

} // namespace gdi

#endif
