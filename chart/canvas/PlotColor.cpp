#include "chart/canvas/PlotColor.h"

#include <array>

namespace {

// The classic light-grey scheme; fixed so that drawings do not depend on the desktop theme.
constexpr std::array<uint32_t, 25> kSystemColors = {
    0xC8C8C8, // scroll bar
    0x808000, // background
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application workspace
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3D dark shadow
    0xDFDFDF, // 3D light
    0x000000, // info text
    0xE1FFFF, // info background
};

} // namespace

uint32_t ColorToRGB(TColor color)
{
    const auto u = static_cast<uint32_t>(color);
    if ((u & 0xFF000000u) == 0xFF000000u) {
        const uint32_t index = u & 0xFF;
        return index < kSystemColors.size() ? kSystemColors[index] : 0;
    }
    return u & 0x00FFFFFFu;
}
