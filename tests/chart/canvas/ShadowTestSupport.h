#ifndef ZENDRIK_TESTS_CHART_CANVAS_SHADOWTESTSUPPORT_H
#define ZENDRIK_TESTS_CHART_CANVAS_SHADOWTESTSUPPORT_H

#include "chart/canvas/PlotCanvas3D.h"

#include <QImage>

#include <memory>

// A buffered device-context canvas of a given size, white, with a reset state.
struct BufferedCanvas {
    BufferedCanvas(int w, int h)
    {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, w, h});
        canvas.ResetState();
    }
    QImage Image() const { return canvas.Bitmap()->Image(); }
    uint32_t Px(int x, int y) const { return Image().pixel(x, y) | 0xFF000000u; }

    TPlotCanvas3D canvas;
};

// A device-context canvas drawing straight onto a bitmap (no buffering), as on a printer or a
// foreign canvas: it cannot blur.
struct DirectCanvas {
    DirectCanvas(int w, int h) : bitmap(w, h)
    {
        canvas.SetBufferedDisplay(false);
        canvas.InitWindow(&bitmap.Canvas(), nullptr, clWhite, false, TRect{0, 0, w, h});
        canvas.ResetState();
    }
    QImage Image() const { return bitmap.Image(); }
    uint32_t Px(int x, int y) const { return Image().pixel(x, y) | 0xFF000000u; }

    TBitmap bitmap;
    TPlotCanvas3D canvas;
};

inline int RedOf(uint32_t p) { return (p >> 16) & 0xFF; }
inline int GreenOf(uint32_t p) { return (p >> 8) & 0xFF; }
inline int BlueOf(uint32_t p) { return p & 0xFF; }

#endif
