#ifndef ZENDRIK_MAINWINDOW_MARKSTAMPS_H
#define ZENDRIK_MAINWINDOW_MARKSTAMPS_H

#include "chart/canvas/PlotColor.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TCanvas3D;
class TPlotCanvas3D;

// The peak circles, crosses and marker flags come by the thousand but in few shapes: each one is
// drawn once through a canvas of its own and then copied wherever it occurs, as a glyph cache
// does for text. Only onto a raster canvas that is neither recording a metafile nor clipped; on
// any other canvas (a metafile for the report or the export) the marks are drawn as they are.
// A drawing sets every state of the canvas it depends on (pen, brush, font size and colour,
// background mode) except the font's face and the text alignment, which it takes from the
// canvas it is put on.

// What tells two marks apart beyond the canvas' state: the kind, two colours, a number and a text.
struct StampKey {
    int Kind = 0;
    TColor First = 0;
    TColor Second = 0;
    int Number = 0;
    QString Text;
    bool operator==(const StampKey&) const = default;
};
size_t qHash(const StampKey& key, size_t seed = 0);

class MarkStamps {
public:
    // Draws a mark around the point (x, y) of a canvas.
    using Drawing = std::function<void(TCanvas3D& canvas, int32_t x, int32_t y)>;

    MarkStamps();
    ~MarkStamps();
    MarkStamps(const MarkStamps&) = delete;
    MarkStamps& operator=(const MarkStamps&) = delete;

    // Puts the mark of key at (x, y): copied from its stamp (made with draw the first time) where
    // the canvas allows it, else drawn there with draw.
    void Put(TCanvas3D& canvas, const StampKey& key, int32_t x, int32_t y, const Drawing& draw);
    int Count() const { return static_cast<int>(stamps_.size()); }

private:
    // A mark as the runs of premultiplied ARGB pixels it covers, relative to its point. The runs
    // and pixels of all stamps lie one after the other in the order the marks were first drawn,
    // which is the order a paint reads them in.
    struct Run {
        int32_t Dx = 0;
        int32_t Dy = 0;
        int32_t Length = 0;
        size_t First = 0; // into pixels_
    };
    struct Stamp {
        size_t FirstRun = 0; // into runs_
        size_t Runs = 0;
    };
    // The canvas' state that the marks' texts take over, as part of a stamp's key.
    struct TextState {
        QString FontName;
        uint8_t FontStyle = 0;
        uint8_t Charset = 0;
        uint32_t Align = 0;
        bool operator==(const TextState&) const = default;
    };
    struct FullKey {
        StampKey Mark;
        TextState Text;
        bool operator==(const FullKey&) const = default;
    };
    friend size_t qHash(const FullKey& key, size_t seed);
    static TextState StateOf(TCanvas3D& canvas);
    Stamp Make(TCanvas3D& target, const StampKey& key, const Drawing& draw);

    QHash<FullKey, Stamp> stamps_;
    std::vector<Run> runs_;
    std::vector<uint32_t> pixels_;
    std::unique_ptr<TPlotCanvas3D> scratch_;
};

#endif
