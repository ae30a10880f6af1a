#ifndef ZENDRIK_PLATFORM_GDI_RECORDINGDC_H
#define ZENDRIK_PLATFORM_GDI_RECORDINGDC_H

#include "platform/gdi/ColumnPath.h"
#include "platform/gdi/DeviceContextBase.h"
#include "platform/gdi/Metafile.h"

#include <memory>
#include <optional>

namespace gdi {

class RasterDC;

// A device context that draws nothing: it records every drawing call, in order, into a Metafile.
// Its state is the one a raster context keeps (DeviceContextBase), so callers that read state back
// get the answers they would get on screen; text is measured with the fonts the raster back end
// uses. Pixels cannot be read back (CLR_INVALID). The clip a path makes is recorded, not kept.
class RecordingDC final : public DeviceContextBase {
public:
    RecordingDC(int32_t width, int32_t height, bool enhanced = false);
    ~RecordingDC() override;
    RecordingDC(const RecordingDC&) = delete;
    RecordingDC& operator=(const RecordingDC&) = delete;

    const Metafile& Picture() const { return meta_; }
    // Hands the recording over; the context starts an empty one of the same frame.
    Metafile TakePicture();

    // A picture for its own size: lines drawn outside paths with a pen that paints the union of
    // its segments (a run of LineTo, with the moves to where the pen stands between them, and every
    // polyline) keep per device column only the points that show there (ColumnPath). Played at
    // the frame's size the picture shows the same, with a few points per column however many were
    // drawn. Off: every call is kept.
    void SetReduceToColumns(bool reduce) { reduceToColumns_ = reduce; }

    int32_t Width() const override { return meta_.Width; }
    int32_t Height() const override { return meta_.Height; }

    // Recorded with their arguments as given.
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(const Point* points, int count) override;
    void Polygon(const Point* points, int count) override;
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h) override;
    void TextOut(int32_t x, int32_t y, const QString& text) override;
    // Answers the colour; nothing can be read back.
    COLORREF SetPixel(int32_t x, int32_t y, COLORREF color) override;
    COLORREF GetPixel(int32_t x, int32_t y) const override;

    // Recorded the right way round, empty ones not at all; FillRect keeps its brush.
    void FillRect(const Rect& rect, const Brush& brush) override;
    void PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) override;
    // Only the part of the source that is used is kept.
    void BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                uint32_t rop) override;
    void StretchBlt(const Rect& dest, const QImage& source, const Rect& src, uint32_t rop) override;

    // Measured with the raster back end's fonts.
    Size GetTextExtentPoint(const QString& text) const override;
    TextMetric GetTextMetrics() const override;

private:
    // Every accepted setter is recorded; a restore as the selections and settings that bring the
    // saved state back, and a clip change as the resulting region.
    void StateChanged(DcField field) override;
    // Paths are recorded as brackets; each output decides what it can express.
    void PathStep(PathCall call) override;
    bool ClipToPath(int mode) override;
    void ArcFigure(ArcKind kind, const Rect& box, Point start, Point end) override;
    MetaRecord& Add(MetaOp op, std::initializer_list<int32_t> args = {});
    bool LinesReduce() const;

    Metafile meta_;
    std::unique_ptr<RasterDC> measure_;   // one pixel, for text metrics only
    bool reduceToColumns_ = false;
    // The LineTo calls since the last other record: their reduced path from the pen position
    // they started at, whose points after the first are the records from FirstRecord on.
    struct LineRun {
        LineRun(Point start, size_t firstRecord) : Path{start}, Columns(Path), FirstRecord(firstRecord) {}
        std::vector<Point> Path;
        ColumnPath Columns;
        size_t FirstRecord;
    };
    std::optional<LineRun> lineRun_;
};

} // namespace gdi

#endif
