#ifndef ZENDRIK_TESTS_PLATFORM_GDITESTSUPPORT_H
#define ZENDRIK_TESTS_PLATFORM_GDITESTSUPPORT_H

#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <functional>
#include <string>

// Small helpers of the raster device context's tests.
namespace gditest {

constexpr gdi::COLORREF kWhite = 0xFFFFFF;
constexpr gdi::COLORREF kBlack = 0x000000;
constexpr gdi::COLORREF kRed = gdi::RGB(255, 0, 0);
constexpr gdi::COLORREF kGreen = gdi::RGB(0, 255, 0);
constexpr gdi::COLORREF kBlue = gdi::RGB(0, 0, 255);

inline gdi::Pen CosmeticPen(gdi::COLORREF color, uint32_t style = gdi::PS_SOLID)
{
    gdi::Pen p;
    p.style = style;
    p.width = 1;
    p.color = color;
    return p;
}

inline gdi::Pen WidePen(gdi::COLORREF color, int width, uint32_t style)
{
    gdi::Pen p;
    p.style = gdi::PS_GEOMETRIC | style;
    p.width = width;
    p.color = color;
    return p;
}

inline gdi::Brush SolidBrush(gdi::COLORREF color)
{
    gdi::Brush b;
    b.style = gdi::BS_SOLID;
    b.color = color;
    return b;
}

inline gdi::Brush NullBrush()
{
    gdi::Brush b;
    b.style = gdi::BS_NULL;
    return b;
}

// Which pixels of a row differ from white, as a string of '#' and '.'.
inline std::string Row(const gdi::RasterDC& dc, int y, int x0, int x1)
{
    std::string s;
    for (int x = x0; x < x1; ++x)
        s += dc.GetPixel(x, y) == kWhite ? '.' : '#';
    return s;
}

inline std::string Column(const gdi::RasterDC& dc, int x, int y0, int y1)
{
    std::string s;
    for (int y = y0; y < y1; ++y)
        s += dc.GetPixel(x, y) == kWhite ? '.' : '#';
    return s;
}

inline int CountIf(const gdi::RasterDC& dc, const std::function<bool(int, int, gdi::COLORREF)>& pred)
{
    int n = 0;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if (pred(x, y, dc.GetPixel(x, y)))
                ++n;
    return n;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;   // inclusive ink bounds
    bool empty() const { return right < 0; }
};

inline Box InkBox(const gdi::RasterDC& dc, gdi::COLORREF background = kWhite)
{
    Box b;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if (dc.GetPixel(x, y) != background) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    return b;
}

inline void FillAll(gdi::RasterDC& dc, gdi::COLORREF color)
{
    dc.FillRect(gdi::Rect{0, 0, dc.Width(), dc.Height()}, SolidBrush(color));
}

} // namespace gditest

#endif
