#ifndef ZENDRIK_PLATFORM_GDI_DEVICECONTEXTBASE_H
#define ZENDRIK_PLATFORM_GDI_DEVICECONTEXTBASE_H

#include "platform/gdi/DcState.h"
#include "platform/gdi/DeviceContext.h"

#include <utility>
#include <vector>

namespace gdi {

// The state every device context keeps, in one place and under one set of rules: the selected
// objects, the modes, the current position, the clip region, the path bracket and the stack of
// SaveDC. A setter answers the old value; a mode it does not know is refused with 0 and the old
// mode stays, as the classic device context does.
//
// A back end does only its own part. It hears of every accepted change (StateChanged, also when
// the value is the same: a recording keeps every call) and of every path call the bracket lets
// through (PathStep, ClipToPath); it draws or records.
class DeviceContextBase : public DeviceContext {
public:
    void SelectPen(const Pen& pen) final;
    const Pen& GetPen() const final { return s_.pen; }
    void SelectBrush(const Brush& brush) final;
    const Brush& GetBrush() const final { return s_.brush; }
    void SelectFont(const Font& font) final;
    const Font& GetFont() const final { return s_.font; }

    int SetROP2(int mode) final;
    int GetROP2() const final { return s_.rop2; }
    int SetBkMode(int mode) final;
    int GetBkMode() const final { return s_.bkMode; }
    COLORREF SetBkColor(COLORREF color) final;
    COLORREF GetBkColor() const final { return s_.bkColor; }
    COLORREF SetTextColor(COLORREF color) final;
    COLORREF GetTextColor() const final { return s_.textColor; }
    uint32_t SetTextAlign(uint32_t flags) final;
    uint32_t GetTextAlign() const final { return s_.textAlign; }
    int32_t SetTextCharacterExtra(int32_t extra) final;
    int32_t GetTextCharacterExtra() const final { return s_.charExtra; }
    int SetPolyFillMode(int mode) final;
    int GetPolyFillMode() const final { return s_.fillMode; }
    int SetGraphicsMode(int mode) final;
    int GetGraphicsMode() const final { return s_.graphicsMode; }
    int SetArcDirection(int direction) final;
    int GetArcDirection() const final { return s_.arcDirection; }

    int SaveDC() final;
    // Brings back, and reports, only what differs from the saved state.
    bool RestoreDC(int level) final;

    void MoveToEx(int32_t x, int32_t y, Point* old = nullptr) final;
    Point GetCurrentPosition() const final { return s_.pos; }

    int GetClipRgn(Region& out) const final;
    int SelectClipRgn(const Region* region) final;
    int ExtSelectClipRgn(const Region* region, int mode) final;
    Rect GetClipBox() const final;
    // Inside the device's frame and the clip region.
    bool PtVisible(int32_t x, int32_t y) const final;

    // The three figures of an ellipse's arc are one figure to a back end (ArcFigure).
    void Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
             int32_t ye) final;
    void Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
             int32_t ye) final;
    void Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
               int32_t ye) final;

    void BeginPath() final;
    void EndPath() final;
    void AbortPath() final;
    void CloseFigure() final;
    void StrokePath() final;
    void FillPath() final;
    void StrokeAndFillPath() final;
    bool SelectClipPath(int mode) final;

protected:
    // The parts of the state a change touched. RestoreDC reports them in this order.
    enum class DcField {
        Pen, Brush, CharExtra, Font, Rop2, BkMode, BkColor, TextColor, TextAlign, FillMode, GraphicsMode,
        ArcDirection, Position, Clip
    };
    // Path calls as the bracket passes them on: End after a Begin, CloseFigure within the bracket,
    // Stroke, Fill and StrokeAndFill on a finished path, which they use up.
    enum class PathCall { Begin, End, Abort, CloseFigure, Stroke, Fill, StrokeAndFill };
    enum class ArcKind { Open, Pie, Chord };

    DeviceContextBase() = default;

    virtual void StateChanged(DcField field) = 0;
    virtual void PathStep(PathCall call) = 0;
    // Makes the finished path the clip region, combined by mode; false when that fails.
    virtual bool ClipToPath(int mode) = 0;
    // An arc of the ellipse in box from the ray through start to the ray through end, in the arc
    // direction; a pie closes it through the centre, a chord with the line between its ends.
    virtual void ArcFigure(ArcKind kind, const Rect& box, Point start, Point end) = 0;

    const DcState& State() const { return s_; }
    bool InPath() const { return inPath_; }
    bool HasClip() const { return hasClip_; }
    const Region& ClipRegion() const { return clip_; }
    // A drawing call moved the current position (LineTo, text that updates it): nothing to report.
    void MovedTo(Point to) { s_.pos = to; }

private:
    // Sets a field, reports the change and answers the old value.
    template <typename T> T Exchange(T& field, T value, DcField which)
    {
        const T old = std::exchange(field, value);
        StateChanged(which);
        return old;
    }
    int SetMode(int& field, int mode, bool known, DcField which);

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
