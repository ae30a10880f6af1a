#ifndef ZENDRIK_CHART_CANVAS_CHARTPEN_H
#define ZENDRIK_CHART_CANVAS_CHARTPEN_H

#include "chart/canvas/PlotGraphics.h"

#include <memory>

enum TPenEndStyle { esRound, esSquare, esFlat };

// A pen with chart extras. Setters store and fire OnChange only on a real change.
class TChartPen : public TPen {
public:
    explicit TChartPen(TNotifyEvent onChange = {});

    void Assign(const TPen& source) override;

    TPenEndStyle EndStyle() const { return endStyle_; }
    void SetEndStyle(TPenEndStyle value);
    bool SmallDots() const { return smallDots_; }
    void SetSmallDots(bool value);
    int32_t SmallSpace() const { return smallSpace_; }
    void SetSmallSpace(int32_t value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Hide() { SetVisible(false); }
    void Show() { SetVisible(true); }

    // Streaming defaults: Visible and EndStyle are written only when they differ from these.
    bool DefaultVisible() const { return defaultVisible_; }
    TPenEndStyle DefaultEndStyle() const { return defaultEndStyle_; }
    bool IsVisibleStored() const { return visible_ != defaultVisible_; }
    bool IsEndStyleStored() const { return endStyle_ != defaultEndStyle_; }

protected:
    // Preset constructors set their own defaults without firing the change event.
    void InitVisible(bool value, bool streamingDefault);
    void InitDefaultEndStyle(TPenEndStyle value) { endStyle_ = value; defaultEndStyle_ = value; }

private:
    TPenEndStyle endStyle_ = esRound;
    bool smallDots_ = false;
    int32_t smallSpace_ = 0;
    bool visible_ = true;
    bool defaultVisible_ = true;
    TPenEndStyle defaultEndStyle_ = esRound;
};

class TChartHiddenPen : public TChartPen {
public:
    explicit TChartHiddenPen(TNotifyEvent onChange = {});
};

class TDottedGrayPen : public TChartPen {
public:
    explicit TDottedGrayPen(TNotifyEvent onChange = {});
};

class TDarkGrayPen : public TChartPen {
public:
    explicit TDarkGrayPen(TNotifyEvent onChange = {});
};

// White pen; its Visible is always streamed.
class TWhitePen : public TChartPen {
public:
    explicit TWhitePen(TNotifyEvent onChange = {});
    bool IsVisibleAlwaysStored() const { return true; }
};

// A brush with a back colour behind hatch lines and an optional image used as a pattern.
class TChartBrush : public TBrush {
public:
    explicit TChartBrush(TNotifyEvent onChange = {});
    ~TChartBrush() override;

    void Assign(const TBrush& source) override;

    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value);
    // Created on first use; its change event is the brush's own.
    TPicture& Image();
    bool HasImage() const { return image_ && image_->HasGraphic(); }
    // A picture with a graphic is copied in; an empty one (or none) frees the image. Fires.
    void SetImage(const TPicture* value);

private:
    TColor backColor_ = clNone;
    std::unique_ptr<TPicture> image_;
};

#endif
