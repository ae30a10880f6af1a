#ifndef ZENDRIK_TESTS_PLATFORM_GDITESTSUPPORT_H
#define ZENDRIK_TESTS_PLATFORM_GDITESTSUPPORT_H

#include "platform/gdi/RasterDC.h"
#include "platform/gdi/RecordingDC.h"

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

// A 100 x 100 picture whose geometry reaches far outside its frame: a rectangle and a line tens of
// thousands of pixels long, a trace (pen 3) that leaves and comes back, a move and a line wholly
// outside, an ellipse and a fill sticking out, and a spike to the axes' coordinate limit and back.
inline gdi::Metafile FarGeometry()
{
    gdi::RecordingDC dc(100, 100);
    dc.Rectangle(-70000, 5, 90000, 40000);
    dc.MoveToEx(0, 0);
    dc.LineTo(50000, 50000);
    dc.SelectPen(WidePen(kBlack, 3, gdi::PS_SOLID));
    const gdi::Point trace[] = {{10, 50}, {40, 60}, {100000, -100000}, {70, 20}, {90, 30}};
    dc.Polyline(trace, 5);
    dc.MoveToEx(-100000, 40); // a move alone leaves nothing
    dc.LineTo(-90000, 40);
    dc.Ellipse(5000, 5000, 5100, 5100);
    dc.FillRect(gdi::Rect{-500, 90, 500, 95}, gdi::Brush{});
    dc.MoveToEx(60, 50);
    dc.LineTo(61, -67108863);
    dc.LineTo(62, 67108863);
    return dc.TakePicture();
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
