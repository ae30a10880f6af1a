#ifndef ZENDRIK_PLATFORM_GDI_DCSTATE_H
#define ZENDRIK_PLATFORM_GDI_DCSTATE_H

#include "platform/gdi/GdiTypes.h"

namespace gdi {

// What a device context keeps besides its clip region: the selected objects, the modes and the
// current position. SaveDC saves all of it with the clip (DeviceContextBase).
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

} // namespace gdi

#endif
