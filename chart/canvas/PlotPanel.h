#ifndef ZENDRIK_CHART_CANVAS_PLOTPANEL_H
#define ZENDRIK_CHART_CANVAS_PLOTPANEL_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotPanelEvents.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/canvas/PlotShape.h"
#include "chart/canvas/PlotZoom.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/gdi/Metafile.h"

#include <QCursor>
#include <QImage>
#include <QWidget>
#include <memory>

class TPlotCanvas3D;
class TBitmap;

enum TPlotUnits { muPercent, muPixels };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TPlotBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };

// Library-wide switches the panel reads. The application owns one set; each panel starts with
// the defaults.
struct TPlotPanelSettings {
    bool ClipWhenPrinting = true;
    bool ClipWhenMetafiling = true;
    bool EraseBackground = false;
    bool PrintPanelBackground = false;
};

// The control that hosts a chart. It keeps the chart's frame (margins, border, bevels, shadow),
// owns the drawing canvas and the listeners, and produces bitmaps and metafiles of the chart.
//
// Drawing: the chart is rendered into the canvas' off-screen bitmap and shown on the window
// surface (an image as large as the panel). paintEvent copies the window surface to the screen
// and renders first only when the picture is stale. What the program draws on the canvas outside
// a render (the zoom rectangle, crosshairs) lands on the window surface and is shown by update().
// Chart parts ask for a repaint with Invalidate (deferred and merged); Repaint renders at once.
class TCustomPlotPanel : public QWidget, public PlotShapeOwner {
    Q_OBJECT
public:
    explicit TCustomPlotPanel(QWidget* parent = nullptr);
    ~TCustomPlotPanel() override;

    // Panel properties (the window system's panel control).
    TColor Color() const { return color_; }
    void SetColor(TColor value) { SetAndInvalidate(color_, value); }
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value) { SetAndInvalidate(bevelInner_, value); }
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value) { SetAndInvalidate(bevelOuter_, value); }
    int32_t BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int32_t value) { SetAndInvalidate(bevelWidth_, std::max(1, value)); }
    int32_t BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int32_t value) { SetAndInvalidate(borderWidth_, std::max(0, value)); }

    // Chart panel properties.
    bool ZOrderSwitch() const { return zOrderSwitch_; }
    void SetZOrderSwitch(bool value) { zOrderSwitch_ = value; }
    bool RepaintOnChange() const { return repaintOnChange_; }
    void SetRepaintOnChange(bool value) { repaintOnChange_ = value; }
    TChartHiddenPen& Border() { return *border_; }
    int32_t BorderRound() const { return borderRound_; }
    void SetBorderRound(int32_t value);
    int32_t MarginLeft() const { return marginLeft_; }
    void SetMarginLeft(int32_t value) { SetAndInvalidate(marginLeft_, value); }
    int32_t MarginTop() const { return marginTop_; }
    void SetMarginTop(int32_t value) { SetAndInvalidate(marginTop_, value); }
    int32_t MarginRight() const { return marginRight_; }
    void SetMarginRight(int32_t value) { SetAndInvalidate(marginRight_, value); }
    int32_t MarginBottom() const { return marginBottom_; }
    void SetMarginBottom(int32_t value) { SetAndInvalidate(marginBottom_, value); }
    TPlotUnits MarginUnits() const { return marginUnits_; }
    void SetMarginUnits(TPlotUnits value) { SetAndInvalidate(marginUnits_, value); }
    TRect PrintMargins() const { return printMargins_; }
    void SetPrintMargins(const TRect& value) { printMargins_ = value; }
    bool IsPrintMarginsStored() const;
    bool PrintProportional() const { return printProportional_; }
    void SetPrintProportional(bool value) { printProportional_ = value; }
    TPlotShadow& Shadow() { return *shadow_; }
    bool View3D() const { return view3D_; }
    void SetView3D(bool value);
    TView3DOptions& View3DOptions() { return *view3DOptions_; }
    int32_t ReservedValue() const { return reservedValue_; }
    void SetReservedValue(int32_t value) { reservedValue_ = value; }

    // The canvas every chart part draws on; replaceable (SetCanvas).
    TPlotCanvas3D& Canvas() { return *canvas_; }
    void SetCanvas(std::unique_ptr<TPlotCanvas3D> canvas);
    TCanvas3D& ShapeCanvas() override;
    // The window surface: what the screen shows, including drawings made outside a render.
    const QImage& WindowImage() const;
    TCanvas& WindowCanvas();

    // Pixels the border and bevels take at each side of the bounds.
    int32_t FrameWidth() const;

    // Geometry of the last drawing.
    TRect ChartBounds;
    TRect ChartRect;
    int32_t ChartWidth = 0;
    int32_t ChartHeight = 0;
    int32_t ChartXCenter = 0;
    int32_t ChartYCenter = 0;
    bool CustomChartRect = false;
    bool CancelMouse = false;
    bool Printing = false;
    TZoomPanning Panning;
    TPlotPanelSettings Settings;
    TNotifyEvent OnBeforePrint;

    // Repaints.
    void Invalidate() override;
    // Renders now when the picture is stale (also while hidden), then shows it.
    void Repaint();
    // Stores a value and invalidates only on a real change (every chart part's setters).
    template <class T>
    void SetAndInvalidate(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }

    // Drawing.
    virtual TColor GetBackColor() const { return color_; }
    virtual void Draw(TCanvas* userCanvas, const TRect& userRect);
    virtual TRect GetRectangle() const;
    void DrawToCanvas(TCanvas* userCanvas, const TRect& userRect);
    bool CanClip() const;
    void SetBrushCanvas(TColor color, TChartBrush& brush, TColor backColor);
    void Assign(const TCustomPlotPanel& source);
    // Reads the older stream names; false for a name or value it does not know.
    virtual bool ReadLegacyProperty(const QString& name, const QVariant& value);
    // While a form description is read, the window region waits for Loaded.
    void BeginLoading() { loading_ = true; }
    bool IsLoading() const { return loading_; }
    virtual void Loaded();

    // Pictures of the chart.
    QImage CreateBitmap();
    QImage CreateBitmapRect(TColor backColor, const TRect& rect, QImage::Format format);
    gdi::Metafile CreateChartMetafile(bool enhanced, const TRect& rect);
    // A Windows metafile of the client area; false (and the reason) when the file cannot be
    // written, in which case an existing file is kept.
    bool SaveChartAsWmf(const QString& fileName, QString* error = nullptr);

    // Listeners.
    TPlotEventListeners& Listeners() { return listeners_; }
    void AddListener(TPlotEventListener* listener) { listeners_.Add(listener); }
    void RemoveListener(TPlotEventListener* listener) { listeners_.Remove(listener); }
    TPlotEvent& BroadcastPlotEvent(TPlotEvent& event);
    bool Destroying() const { return destroying_; }

    TPoint GetCursorPos() const;
    double CanvasPhysicalAspect() const;

    // Mouse handling in the panel's terms; Qt's mouse events arrive here.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
    // Answers false when a handler set CancelMouse: the click is abandoned and callers that
    // extend it do nothing further.
    virtual bool DblClick();

    std::function<void(TMouseButton, TShiftState, int32_t, int32_t)> OnMouseDown;
    std::function<void(TMouseButton, TShiftState, int32_t, int32_t)> OnMouseUp;
    std::function<void(TShiftState, int32_t, int32_t)> OnMouseMove;
    TNotifyEvent OnDblClick;

protected:
    // The chart's drawing; nothing here.
    virtual void InternalDraw(const TRect& userRect) { (void)userRect; }
    void ApplyWindowRegion();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    QCursor savedCursor_;

private:
    void RenderIfStale();
    void ScheduleRender();
    void ComputeChartRect();
    void SendMouseEvent(TPlotMouseEventKind kind, TMouseButton button, TShiftState shift, int32_t x, int32_t y);

    TColor color_ = clBtnFace;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int32_t bevelWidth_ = 1;
    int32_t borderWidth_ = 0;
    bool zOrderSwitch_ = true;
    bool repaintOnChange_ = true;
    std::unique_ptr<TChartHiddenPen> border_;
    int32_t borderRound_ = 0;
    int32_t marginLeft_ = 3;
    int32_t marginTop_ = 4;
    int32_t marginRight_ = 3;
    int32_t marginBottom_ = 4;
    TPlotUnits marginUnits_ = muPercent;
    TRect printMargins_{15, 15, 15, 15};
    bool printProportional_ = true;
    int32_t reservedValue_ = 0;
    std::unique_ptr<TPlotShadow> shadow_;
    bool view3D_ = true;
    std::unique_ptr<TView3DOptions> view3DOptions_;
    TPlotEventListeners listeners_;
    bool applyingRegion_ = false;
    bool loading_ = false;
    bool destroying_ = false;
    bool renderPending_ = false;
    std::unique_ptr<TBitmap> window_;
    std::unique_ptr<TPlotCanvas3D> canvas_;
};

#endif
