#ifndef ZENDRIK_CHART_CANVAS_PLOTPANELEXTENDED_H
#define ZENDRIK_CHART_CANVAS_PLOTPANELEXTENDED_H

#include "chart/canvas/PlotFilters.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotPanel.h"

class TCustomPlotPanelExtended;

// The panel's back image: a picture with filters, drawn over the whole panel or inside the chart
// rectangle, stretched, tiled, centred or at an offset.
class TBackImage : public TPlotPicture {
public:
    explicit TBackImage(std::function<void()> onChange = {});

    void Assign(const TBackImage& source);
    bool Inside() const { return inside_; }
    void SetInside(bool value) { Store(inside_, value); }
    int32_t Left() const { return left_; }
    void SetLeft(int32_t value) { Store(left_, value); }
    int32_t Top() const { return top_; }
    void SetTop(int32_t value) { Store(top_, value); }
    TPlotBackImageMode Mode() const { return mode_; }
    void SetMode(TPlotBackImageMode value) { Store(mode_, value); }

    // Draws into rect at depth z of the panel's canvas.
    void Draw(TCustomPlotPanelExtended& panel, const TRect& rect, int32_t z);

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (OnChange)
            OnChange();
    }

    bool inside_ = false;
    int32_t left_ = 0;
    int32_t top_ = 0;
    TPlotBackImageMode mode_ = pbmStretch;
};

// The panel with background gradient and image, zoom and panning settings and their events.
class TCustomPlotPanelExtended : public TCustomPlotPanel {
    Q_OBJECT
public:
    explicit TCustomPlotPanelExtended(QWidget* parent = nullptr);
    ~TCustomPlotPanelExtended() override;

    TPanningMode AllowPanning() const { return allowPanning_; }
    void SetAllowPanning(TPanningMode value) { allowPanning_ = value; }
    bool AllowZoom() const { return zoom_->Allow; }
    void SetAllowZoom(bool value) { zoom_->Allow = value; }
    TPlotZoom& Zoom() { return *zoom_; }
    void SetZoom(const TPlotZoom& value) { zoom_->Assign(value); }
    bool Zoomed = false;

    // Created on first use.
    TPlotGradient& Gradient();
    bool HasGradient() const { return gradient_ != nullptr; }
    TBackImage& BackImage();
    bool HasBackImage() const { return backImage_ != nullptr; }
    bool BackImageInside() const { return backImage_ && backImage_->Inside(); }
    void SetBackImageInside(bool value) { BackImage().SetInside(value); }
    TPlotBackImageMode BackImageMode() const { return backImage_ ? backImage_->Mode() : pbmStretch; }
    void SetBackImageMode(TPlotBackImageMode value) { BackImage().SetMode(value); }
    bool BackImageTransp() const { return backImageTransp_; }
    void SetBackImageTransp(bool value) { SetAndInvalidate(backImageTransp_, value); }
    bool Monochrome() const;
    void SetMonochrome(bool value);
    bool BufferedDisplay() const;
    void SetBufferedDisplay(bool value);

    TNotifyEvent OnAfterDraw;
    TNotifyEvent OnScroll;
    TNotifyEvent OnUndoZoom;
    TNotifyEvent OnZoom;

    // Background steps, which the chart calls from its drawing.
    virtual void DrawPanelBackground(const TRect& rect);
    virtual void DrawBackImageAndShadow(const TRect& rect);
    void DrawPanelBevels(TRect rect);

    // Zoom.
    void DrawZoomRectangle();
    virtual void UndoZoom();
    // Zooms to the dragged rectangle; here: Zoomed and OnZoom. The chart changes its axes first.
    virtual void ZoomToRectangle(const TRect& rect);

    void Assign(const TCustomPlotPanelExtended& source);
    bool ReadLegacyProperty(const QString& name, const QVariant& value) override;

    void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(TShiftState shift, int32_t x, int32_t y) override;

protected:
    // A bare panel draws its background and then the after-draw event.
    void InternalDraw(const TRect& userRect) override;
    void leaveEvent(QEvent* event) override;

private:
    void DrawBevel(TRect& rect, TBevelCut cut);

    TPanningMode allowPanning_ = pmBoth;
    std::unique_ptr<TPlotGradient> gradient_;
    std::unique_ptr<TPlotZoom> zoom_;
    std::unique_ptr<TBackImage> backImage_;
    bool backImageTransp_ = false;
};

// Library routines of the panel's unit.
QString IntegerToString(int32_t value);
// Entry index % n of the settings' colour palette of n colours.
TColor GetDefaultColor(const TPlotLibrarySettings& settings, int index);
// A 13 x 13 check box (or radio button when checkBox is false) at (x, y), drawn by the Fusion
// style so that it looks the same on every machine.
void DrawCheckBox(int32_t x, int32_t y, TCanvas& canvas, bool checkBox, bool checked);

#endif
