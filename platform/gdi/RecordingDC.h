#ifndef ZENDRIK_PLATFORM_GDI_RECORDINGDC_H
#define ZENDRIK_PLATFORM_GDI_RECORDINGDC_H

#include "platform/gdi/DcState.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Metafile.h"

#include <memory>

namespace gdi {

class RasterDC;

// A device context that draws nothing: it records every drawing call, in order, into a Metafile.
// It keeps the same state a raster context keeps (objects, modes, position, clip region), so
// callers that read state back get the answers they would get on screen; text is measured with the
// fonts the raster back end uses. Pixels cannot be read back (CLR_INVALID).
class RecordingDC final : public DeviceContext {
public:
    RecordingDC(int32_t width, int32_t height, bool enhanced = false);
    ~RecordingDC() override;
    RecordingDC(const RecordingDC&) = delete;
    RecordingDC& operator=(const RecordingDC&) = delete;

    const Metafile& Picture() const { return meta_; }
    // Hands the recording over; the context starts an empty one of the same frame.
    Metafile TakePicture();

    int32_t Width() const override { return meta_.Width; }
    int32_t Height() const override { return meta_.Height; }

    void SelectPen(const Pen& pen) override;
    const Pen& GetPen() const override { return s_.pen; }
    void SelectBrush(const Brush& brush) override;
    const Brush& GetBrush() const override { return s_.brush; }
    void SelectFont(const Font& font) override;
    const Font& GetFont() const override { return s_.font; }

    int SetROP2(int mode) override;
    int GetROP2() const override { return s_.rop2; }
    int SetBkMode(int mode) override;
    int GetBkMode() const override { return s_.bkMode; }
    COLORREF SetBkColor(COLORREF color) override;
    COLORREF GetBkColor() const override { return s_.bkColor; }
    COLORREF SetTextColor(COLORREF color) override;
    COLORREF GetTextColor() const override { return s_.textColor; }
    uint32_t SetTextAlign(uint32_t flags) override;
    uint32_t GetTextAlign() const override { return s_.textAlign; }
    int32_t SetTextCharacterExtra(int32_t extra) override;
    int32_t GetTextCharacterExtra() const override { return s_.charExtra; }
    int SetPolyFillMode(int mode) override;
    int GetPolyFillMode() const override { return s_.fillMode; }
    int SetGraphicsMode(int mode) override;
    int GetGraphicsMode() const override { return s_.graphicsMode; }
    int SetArcDirection(int direction) override;
    int GetArcDirection() const override { return s_.arcDirection; }

    // A restore is recorded as the selections and settings that bring the saved state back.
    int SaveDC() override;
    bool RestoreDC(int level) override;

    void MoveToEx(int32_t x, int32_t y, Point* old = nullptr) override;
    Point GetCurrentPosition() const override { return s_.pos; }
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(const Point* points, int count) override;
    void Polygon(const Point* points, int count) override;
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h) override;
    void Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
             int32_t ye) override;
    void Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
             int32_t ye) override;
    void Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
               int32_t ye) override;
    void FillRect(const Rect& rect, const Brush& brush) override;
    void PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) override;
    COLORREF SetPixel(int32_t x, int32_t y, COLORREF color) override;
    COLORREF GetPixel(int32_t x, int32_t y) const override;

    void TextOut(int32_t x, int32_t y, const QString& text) override;
    Size GetTextExtentPoint(const QString& text) const override;
    TextMetric GetTextMetrics() const override;

    int GetClipRgn(Region& out) const override;
    int SelectClipRgn(const Region* region) override;
    int ExtSelectClipRgn(const Region* region, int mode) override;
    Rect GetClipBox() const override;
    bool PtVisible(int32_t x, int32_t y) const override;

    void BeginPath() override;
    void EndPath() override;
    void AbortPath() override;
    void CloseFigure() override;
    void StrokePath() override;
    void FillPath() override;
    void StrokeAndFillPath() override;
    bool SelectClipPath(int mode) override;

    void BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                uint32_t rop) override;
    void StretchBlt(const Rect& dest, const QImage& source, const Rect& src, uint32_t rop) override;

private:
    MetaRecord& Add(MetaOp op, std::initializer_list<int32_t> args = {});
    void RecordClip();

    Metafile meta_;
    std::unique_ptr<RasterDC> measure_;   // one pixel, for text metrics only
    DcState s_;
    bool hasClip_ = false;
    Region clip_;
    bool inPath_ = false;
    bool pathReady_ = false;
    struct Saved {
        DcState state;
        bool hasClip = false;
        Region clip;
    };
    std::vector<Saved> saved_;
};

} // namespace gdi

#endif
