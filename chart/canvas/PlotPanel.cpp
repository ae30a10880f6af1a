#include "chart/canvas/PlotPanel.h"

#include "app/FlagScope.h"
#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gdi/RasterDC.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/gdi/WmfWriter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QVariant>
#include <exception>

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

bool ButtonOf(Qt::MouseButton b, TMouseButton& out)
{
    switch (b) {
    case Qt::LeftButton: out = mbLeft; return true;
    case Qt::RightButton: out = mbRight; return true;
    case Qt::MiddleButton: out = mbMiddle; return true;
    default: return false;
    }
}

TCustomPlotPanel::TCustomPlotPanel(QWidget* parent)
    : QWidget(parent), border_(std::make_unique<TChartHiddenPen>()), shadow_(std::make_unique<TPlotShadow>()),
      view3DOptions_(std::make_unique<TView3DOptions>()), window_(std::make_unique<TBitmap>(400, 250)),
      canvas_(std::make_unique<TPlotCanvas3D>())
{
    resize(400, 250);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    border_->SetEndStyle(esFlat);
    border_->OnChange = [this] { Invalidate(); };
    shadow_->OnChange = [this] { Invalidate(); };
    view3DOptions_->InvalidateOwner = [this] { Invalidate(); };
    canvas_->SetCanvas(&window_->Canvas());
    savedCursor_ = cursor();
}

TCustomPlotPanel::~TCustomPlotPanel()
{
    destroying_ = true;
}

// ---- properties

void TCustomPlotPanel::SetBorderRound(int32_t value)
{
    if (borderRound_ == value)
        return;
    borderRound_ = value;
    if (!loading_)
        ApplyWindowRegion();
    Invalidate();
}

bool TCustomPlotPanel::IsPrintMarginsStored() const
{
    return printMargins_ != TRect{15, 15, 15, 15};
}

void TCustomPlotPanel::SetView3D(bool value)
{
    if (view3D_ == value)
        return;
    view3D_ = value;
    Invalidate();
    TPlotView3DEvent event;
    BroadcastPlotEvent(event);
}

void TCustomPlotPanel::SetCanvas(std::unique_ptr<TPlotCanvas3D> canvas)
{
    if (!canvas)
        return;
    const bool keep = repaintOnChange_;
    repaintOnChange_ = false;
    canvas->SetCanvas(&window_->Canvas());
    canvas->AssignSettings(*canvas_);
    canvas->SetBufferedDisplay(canvas_->BufferedDisplay);
    canvas->SetMonochrome(canvas_->Monochrome);
    canvas_ = std::move(canvas);
    repaintOnChange_ = keep;
    if (repaintOnChange_)
        Invalidate();
}

TCanvas3D& TCustomPlotPanel::ShapeCanvas() { return *canvas_; }

const QImage& TCustomPlotPanel::WindowImage() const { return window_->Image(); }

TCanvas& TCustomPlotPanel::WindowCanvas() { return window_->Canvas(); }

// ---- repaints

void TCustomPlotPanel::Invalidate()
{
    if (!repaintOnChange_)
        return;
    canvas_->Invalidate();
    ScheduleRender();
    update();
}

void TCustomPlotPanel::ScheduleRender()
{
    // Many changes in a row give one render, after the caller has returned to the event loop.
    if (renderPending_)
        return;
    renderPending_ = true;
    QTimer::singleShot(0, this, [this] {
        renderPending_ = false;
        RenderIfStale();
    });
}

void TCustomPlotPanel::Repaint()
{
    Invalidate();
    RenderIfStale();
}

void TCustomPlotPanel::RenderIfStale()
{
    if (!canvas_->Dirty && window_->Width() == std::max(1, width()) && window_->Height() == std::max(1, height()))
        return;
    window_->SetSize(width(), height());
    // The buffer's picture is shown by sharing its pixels with the window; the window lets go of
    // them now, as the drawing replaces them, so that the buffer is drawn into without a copy.
    if (canvas_->BufferedDisplay)
        window_->Device().ReleaseSharedPicture();
    try {
        Draw(&window_->Canvas(), GetRectangle());
    } catch (...) {
        // A chart that cannot be drawn keeps its last picture; the next change tries again.
        ReportChartError("TCustomPlotPanel::RenderIfStale");
    }
    update();
}

void TCustomPlotPanel::paintEvent(QPaintEvent*)
{
    if (Printing)
        return;
    RenderIfStale();
    QPainter p(this);
    p.drawImage(0, 0, window_->Image());
}

void TCustomPlotPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    window_->SetSize(width(), height());
    canvas_->Invalidate();
    if (borderRound_ > 0 && !loading_)
        ApplyWindowRegion();
    ScheduleRender();
}

void TCustomPlotPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        Invalidate();
}

// ---- drawing

TRect TCustomPlotPanel::GetRectangle() const
{
    return TRect{0, 0, width(), height()};
}

int32_t TCustomPlotPanel::FrameWidth() const
{
    int32_t frame = borderWidth_;
    if (bevelInner_ != bvNone)
        frame += bevelWidth_;
    if (bevelOuter_ != bvNone)
        frame += bevelWidth_;
    if (border_->Visible())
        frame += border_->Width();
    return frame;
}

void TCustomPlotPanel::ComputeChartRect()
{
    const int32_t frame = FrameWidth();
    const int32_t w = ChartBounds.Width();
    const int32_t h = ChartBounds.Height();
    auto margin = [&](int32_t value, int32_t size) { return marginUnits_ == muPercent ? value * size / 100 : value; };
    ChartRect = TRect{ChartBounds.Left + frame + margin(marginLeft_, w), ChartBounds.Top + frame + margin(marginTop_, h),
                      ChartBounds.Right - frame - margin(marginRight_, w),
                      ChartBounds.Bottom - frame - margin(marginBottom_, h)};
    if (shadow_->Visible()) {
        const int32_t hs = shadow_->HorizSize();
        const int32_t vs = shadow_->VertSize();
        if (hs > 0)
            ChartRect.Right -= 2 * hs;
        else
            ChartRect.Left -= 2 * hs;
        if (vs > 0)
            ChartRect.Bottom -= 2 * vs;
        else
            ChartRect.Top -= 2 * vs;
    }
}

void TCustomPlotPanel::Draw(TCanvas* userCanvas, const TRect& userRect)
{
    ChartBounds = canvas_->InitWindow(userCanvas, view3DOptions_.get(), GetBackColor(), view3D_, userRect);
    if (!CustomChartRect) {
        ComputeChartRect();
        ChartRect.Left = std::max(ChartRect.Left, ChartBounds.Left);
        ChartRect.Top = std::max(ChartRect.Top, ChartBounds.Top);
    }
    if (ChartRect.Right < ChartRect.Left)
        ChartRect.Right = ChartRect.Left + 1;
    else if (ChartRect.Right == ChartRect.Left)
        ChartRect.Right = ChartRect.Left + width();
    if (ChartRect.Bottom < ChartRect.Top)
        ChartRect.Bottom = ChartRect.Top + 1;
    else if (ChartRect.Bottom == ChartRect.Top)
        ChartRect.Bottom = ChartRect.Top + height();
    ChartWidth = ChartRect.Width();
    ChartHeight = ChartRect.Height();
    ChartXCenter = ChartRect.Left + ChartWidth / 2;
    ChartYCenter = ChartRect.Top + ChartHeight / 2;
    canvas_->SetProjectionCentre(0, ChartRect);
    try {
        InternalDraw(userRect);
    } catch (...) {
        canvas_->ShowBuffer(userCanvas, &window_->Canvas(), userRect);
        throw;
    }
    canvas_->ShowBuffer(userCanvas, &window_->Canvas(), userRect);
}

void TCustomPlotPanel::DrawToCanvas(TCanvas* userCanvas, const TRect& userRect)
{
    const bool buffered = canvas_->BufferedDisplay;
    canvas_->KeepBitmap = true;
    canvas_->SetBufferedDisplay(false);
    try {
        Draw(userCanvas, userRect);
    } catch (...) {
        canvas_->SetBufferedDisplay(buffered);
        canvas_->KeepBitmap = false;
        canvas_->SetCanvas(&window_->Canvas());
        Invalidate();
        throw;
    }
    canvas_->SetBufferedDisplay(buffered);
    canvas_->KeepBitmap = false;
    // Turning buffering back on attaches the canvas to its bitmap; drawings outside a render
    // belong on the window surface.
    canvas_->SetCanvas(&window_->Canvas());
    Invalidate();
}

bool TCustomPlotPanel::CanClip() const
{
    if (view3D_ && !view3DOptions_->Orthogonal())
        return false;
    if (Printing)
        return Settings.ClipWhenPrinting;
    if (canvas_->Metafiling)
        return Settings.ClipWhenMetafiling;
    return true;
}

void TCustomPlotPanel::SetBrushCanvas(TColor color, TChartBrush& brush, TColor backColor)
{
    TColor back = backColor;
    if (brush.Style() != bsSolid && brush.Style() != bsClear && back == color)
        back = color == clBlack ? clWhite : clBlack;
    canvas_->AssignBrushColor(brush, color, back);
}

// ---- pictures

QImage TCustomPlotPanel::CreateBitmap()
{
    return CreateBitmapRect(color_, GetRectangle(), QImage::Format_RGB32);
}

QImage TCustomPlotPanel::CreateBitmapRect(TColor backColor, const TRect& rect, QImage::Format format)
{
    const int32_t w = std::max(1, rect.Width());
    const int32_t h = std::max(1, rect.Height());
    TBitmap bitmap(w, h);
    const uint32_t rgb = ColorToRGB(backColor);
    if (backColor != clNone && rgb != 0xFFFFFF)
        bitmap.Device().ImageForWrite().fill(gdi::ToQRgb(rgb));
    DrawToCanvas(&bitmap.Canvas(), TRect{0, 0, w, h});
    // The chart's pictures are 24-bit colour; other formats are converted from that.
    return format == QImage::Format_Invalid ? bitmap.Image() : bitmap.Image().convertToFormat(format);
}

gdi::Metafile TCustomPlotPanel::CreateChartMetafile(bool enhanced, const TRect& rect)
{
    const int32_t w = std::max(1, rect.Width());
    const int32_t h = std::max(1, rect.Height());
    gdi::RecordingDC dc(w, h, enhanced);
    // Traces of a million points would otherwise keep every segment, far more than the
    // picture's columns show.
    dc.SetReduceToColumns(true);
    TCanvas metaCanvas(&dc);
    {
        FlagScope metafiling(canvas_->Metafiling);
        DrawToCanvas(&metaCanvas, TRect{0, 0, w, h});
    }
    return dc.TakePicture();
}

bool TCustomPlotPanel::SaveChartAsWmf(const QString& fileName, QString* error)
{
    try {
        const gdi::Metafile picture = CreateChartMetafile(false, GetRectangle());
        return gdi::SaveWmf(picture, fileName, error);
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
}

// ---- copying and streaming

void TCustomPlotPanel::Assign(const TCustomPlotPanel& source)
{
    if (&source == this)
        return;
    border_->Assign(*source.border_);
    borderRound_ = source.borderRound_;
    canvas_->SetBufferedDisplay(source.canvas_->BufferedDisplay);
    canvas_->SetCanvas(&window_->Canvas());
    printMargins_ = source.printMargins_;
    printProportional_ = source.printProportional_;
    marginLeft_ = source.marginLeft_;
    marginTop_ = source.marginTop_;
    marginRight_ = source.marginRight_;
    marginBottom_ = source.marginBottom_;
    marginUnits_ = source.marginUnits_;
    canvas_->SetMonochrome(source.canvas_->Monochrome);
    shadow_->Assign(*source.shadow_);
    view3D_ = source.view3D_;
    view3DOptions_->Assign(*source.view3DOptions_);
    reservedValue_ = source.reservedValue_;
    color_ = source.color_;
    bevelInner_ = source.bevelInner_;
    bevelOuter_ = source.bevelOuter_;
    bevelWidth_ = source.bevelWidth_;
    borderWidth_ = source.borderWidth_;
    ApplyWindowRegion();
    Invalidate();
}

bool TCustomPlotPanel::ReadLegacyProperty(const QString& name, const QVariant& value)
{
    if (name.compare(QLatin1String("BorderStyle"), Qt::CaseInsensitive) == 0) {
        border_->SetVisible(value.toString().compare(QLatin1String("bsSingle"), Qt::CaseInsensitive) == 0);
        return true;
    }
    return false;
}

void TCustomPlotPanel::Loaded()
{
    loading_ = false;
    savedCursor_ = cursor();
    ApplyWindowRegion();
}

void TCustomPlotPanel::ApplyWindowRegion()
{
    if (applyingRegion_)
        return;
    FlagScope guard(applyingRegion_);
    if (borderRound_ >= 1)
        setMask(gdi::CreateRoundRectRgn(0, 0, width(), height(), borderRound_, borderRound_).Pixels());
    else
        clearMask();
}

// ---- events

TPlotEvent& TCustomPlotPanel::BroadcastPlotEvent(TPlotEvent& event)
{
    if (destroying_)
        return event;
    event.Sender = this;
    const bool mouse = dynamic_cast<TPlotMouseEvent*>(&event) != nullptr;
    // Listeners may add or remove listeners meanwhile: the count is read at every step.
    for (int i = 0; i < listeners_.Count(); ++i) {
        listeners_.Item(i)->PlotEvent(event);
        if (mouse && CancelMouse)
            break;
    }
    return event;
}

void TCustomPlotPanel::SendMouseEvent(TPlotMouseEventKind kind, TMouseButton button, TShiftState shift, int32_t x,
                                      int32_t y)
{
    if (listeners_.Count() == 0)
        return;
    TPlotMouseEvent event;
    event.Event = kind;
    event.Button = button;
    event.Shift = shift;
    event.X = x;
    event.Y = y;
    BroadcastPlotEvent(event);
}

void TCustomPlotPanel::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    CancelMouse = false;
    if (OnMouseDown)
        OnMouseDown(button, shift, x, y);
    SendMouseEvent(pmeDown, button, shift, x, y);
}

void TCustomPlotPanel::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    if (OnMouseUp)
        OnMouseUp(button, shift, x, y);
    SendMouseEvent(pmeUp, button, shift, x, y);
}

void TCustomPlotPanel::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    CancelMouse = false;
    if (OnMouseMove)
        OnMouseMove(shift, x, y);
    if (listeners_.Count() > 0)
        SendMouseEvent(pmeMove, mbLeft, shift, x, y);
}

bool TCustomPlotPanel::DblClick()
{
    CancelMouse = false;
    if (OnDblClick)
        OnDblClick();
    return !CancelMouse;
}

TPoint TCustomPlotPanel::GetCursorPos() const
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    return TPoint{p.x(), p.y()};
}

double TCustomPlotPanel::CanvasPhysicalAspect() const
{
    const int v = heightMM();
    return v == 0 ? 0.0 : static_cast<double>(widthMM()) / v;
}

// Qt's events go through the panel's handlers; no exception leaves an event handler.
void TCustomPlotPanel::mousePressEvent(QMouseEvent* event)
{
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    try {
        MouseDown(button, ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
    } catch (...) {
        ReportChartError("TCustomPlotPanel::mousePressEvent");
    }
}

void TCustomPlotPanel::mouseReleaseEvent(QMouseEvent* event)
{
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    try {
        MouseUp(button, ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
    } catch (...) {
        ReportChartError("TCustomPlotPanel::mouseReleaseEvent");
    }
}

void TCustomPlotPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    try {
        MouseMove(ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
    } catch (...) {
        ReportChartError("TCustomPlotPanel::mouseMoveEvent");
    }
}

void TCustomPlotPanel::mouseDoubleClickEvent(QMouseEvent*)
{
    try {
        DblClick();
    } catch (...) {
        ReportChartError("TCustomPlotPanel::mouseDoubleClickEvent");
    }
}

void TCustomPlotPanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    setCursor(savedCursor_);
    Panning.Active = false;
}
