// The chart's mouse: hit testing, clicks on chart parts, zoom and panning drags, the wheel.
#include "chart/series/Chart.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesMarks.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

namespace {

bool KeysHeld(TShiftState wanted, TShiftState shift)
{
    const TShiftState keys = ssShift | ssAlt | ssCtrl;
    return (shift & wanted & keys) == (wanted & keys);
}

} // namespace

// ---- hit test

TChartClickedPart TCustomChart::CalcClickedPart(int x, int y)
{
    TChartClickedPart part;
    TChartLegend& legend = Legend();
    if (legend.Visible() && legend.CustomPosition()) {
        if (const int item = legend.Clicked(x, y); item >= 0) {
            part.Part = cpLegend;
            part.PointIndex = item;
            return part;
        }
    }
    for (int i = SeriesCount() - 1; i >= 0; --i) {
        TChartSeries* series = ChartSeries(i);
        if (!series || !series->Active() || !(series->HasClickEvents() || OnClickSeries))
            continue;
        if (const int index = series->Clicked(x, y); index != -1) {
            part.Part = cpSeries;
            part.ASeries = series;
            part.PointIndex = index;
            return part;
        }
        if (series->Marks().Visible()) {
            if (const int index = series->Marks().Clicked(x, y); index != -1) {
                part.Part = cpSeriesMarks;
                part.ASeries = series;
                part.PointIndex = index;
                return part;
            }
        }
    }
    for (int i = 0; i < Axes().Count(); ++i) {
        auto* axis = dynamic_cast<TChartAxis*>(Axes()[i]);
        if (!axis)
            continue;
        if (axis->Clicked(x, y)) {
            part.Part = cpAxis;
            part.AAxis = axis;
            return part;
        }
        if (axis->Title().Visible() && !axis->Title().Caption().isEmpty() && axis->Title().Clicked(x, y)) {
            part.Part = cpAxisTitle;
            part.AAxis = axis;
            return part;
        }
    }
    if (legend.Visible() && !legend.CustomPosition()) {
        if (const int item = legend.Clicked(x, y); item >= 0) {
            part.Part = cpLegend;
            part.PointIndex = item;
            return part;
        }
    }
    const std::pair<TChartTitle*, TChartClickedPartStyle> titles[] = {
        {title_.get(), cpTitle}, {subTitle_.get(), cpSubTitle}, {foot_.get(), cpFoot}, {subFoot_.get(), cpSubFoot}};
    for (const auto& [title, kind] : titles)
        if (title->Clicked(x, y)) {
            part.Part = kind;
            part.ATitle = title;
            return part;
        }
    if (PointInRect(ChartRect, x, y) && CountActiveSeries() > 0)
        part.Part = cpChartRect;
    return part;
}

// ---- mouse down

void TCustomChart::TellTools(TChartMouseEvent kind, TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TChartTools& tools = Tools();
    for (int i = 0; i < tools.Count(); ++i) {
        TPlotCustomTool* tool = tools[i];
        if (tool->Active())
            tool->ChartMouseEvent(kind, button, shift, x, y);
        if (CancelMouse)
            break;
    }
}

void TCustomChart::StartDrag(TMouseButton button, TShiftState shift, int32_t x, int32_t y, bool& handled)
{
    if (!AnySeriesUsesAxes())
        return;
    bool started = false;
    TPlotZoom& zoom = Zoom();
    if (zoom.Allow && button == zoom.MouseButton && ZoomKeysHeld(zoom, shift)) {
        zoom.Activate(x, y);
        if (zoom.Direction == tzdVertical) {
            zoom.X0 = ChartRect.Left;
            zoom.X1 = ChartRect.Right;
        } else if (zoom.Direction == tzdHorizontal) {
            zoom.Y0 = ChartRect.Top;
            zoom.Y1 = ChartRect.Bottom;
        }
        DrawZoomRectangle();
        started = true;
    }
    if (AllowPanning() != pmNone && button == scrollMouseButton_ && KeysHeld(PanningKeys, shift)) {
        Panning.Activate(x, y);
        started = true;
    }
    if (started) {
        handled = true;
        setCursor(savedCursor_);
    }
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TCustomPlotPanel::MouseDown(button, shift, x, y);
    if (CancelMouse || Zoom().Active || Panning.Active)
        return;
    CancelMouse = false;
    TellTools(cmeDown, button, shift, x, y);
    if (CancelMouse) {
        CancelMouse = false;
        return;
    }
    const TChartClickedPart part = CalcClickedPart(x, y);
    bool handled = false;
    // A click handler runs with CancelMouse set: it lets the click go on by clearing it.
    auto ask = [&](auto&& call) {
        CancelMouse = true;
        call();
        handled = CancelMouse;
    };
    switch (part.Part) {
    case cpLegend:
        handled = Legend().DoCheckBox(part.PointIndex);
        if (OnClickLegend)
            ask([&] { OnClickLegend(this, button, shift, x, y); });
        break;
    case cpAxis:
        if (OnClickAxis)
            ask([&] { OnClickAxis(this, part.AAxis, button, shift, x, y); });
        if (!handled)
            StartDrag(button, shift, x, y, handled);
        break;
    case cpSeries: {
        CancelMouse = false;
        TChartSeries* series = part.ASeries;
        if ((shift & ssDouble) != 0) {
            if (series->OnDblClick)
                series->OnDblClick(series, part.PointIndex, button, shift, x, y);
        } else if (series->OnClick) {
            series->OnClick(series, part.PointIndex, button, shift, x, y);
        }
        if (OnClickSeries)
            ask([&] { OnClickSeries(this, series, part.PointIndex, button, shift, x, y); });
        if (!handled)
            StartDrag(button, shift, x, y, handled);
        break;
    }
    case cpTitle:
    case cpSubTitle:
    case cpFoot:
    case cpSubFoot:
        if (OnClickTitle)
            ask([&] { OnClickTitle(this, part.ATitle, button, shift, x, y); });
        if (!handled)
            StartDrag(button, shift, x, y, handled);
        break;
    case cpChartRect:
        if (OnClickBackground)
            ask([&] { OnClickBackground(this, button, shift, x, y); });
        if (!handled)
            StartDrag(button, shift, x, y, handled);
        break;
    default: break;
    }
    if (!handled && OnClickBackground)
        OnClickBackground(this, button, shift, x, y);
    CancelMouse = false;
}

// ---- mouse move

void TCustomChart::ScrollAxis(TChartAxis& axis, int from, int to)
{
    const double delta = axis.PixelToValue(from) - axis.PixelToValue(to);
    double minimum = axis.Minimum();
    double maximum = axis.Maximum();
    MoveRangeWithinDoubles(minimum, maximum, delta);
    bool allow = true;
    if (OnAllowScroll)
        OnAllowScroll(&axis, minimum, maximum, allow);
    // A logarithmic scale has no place for zero or below: a pan past its start leaves the axis.
    if (!allow || (axis.Logarithmic() && std::min(minimum, maximum) <= 0))
        return;
    try {
        axis.SetRange(minimum, maximum);
    } catch (const AxisException&) {
        // Any other range the axis refuses (one a scroll handler made up): the axis stays.
        ReportChartError("TCustomChart::ScrollAxis");
    }
}

void TCustomChart::PanAxes(int32_t x, int32_t y)
{
    if (unzoomed_) {
        SaveAxisState();
        unzoomed_ = false;
    }
    const TPanningMode mode = AllowPanning();
    const bool horizontal = mode == pmHorizontal || mode == pmBoth;
    const bool vertical = mode == pmVertical || mode == pmBoth;
    for (int i = 0; i < Axes().Count(); ++i) {
        auto* axis = dynamic_cast<TChartAxis*>(Axes()[i]);
        if (!axis || axis->IsDepth())
            continue;
        if (axis->Horizontal() && horizontal)
            ScrollAxis(*axis, Panning.X1, x);
        else if (!axis->Horizontal() && vertical)
            ScrollAxis(*axis, Panning.Y1, y);
    }
    const bool moved = (horizontal && x != Panning.X1) || (vertical && y != Panning.Y1);
    Panning.X1 = x;
    Panning.Y1 = y;
    if (moved) {
        if (OnScroll)
            OnScroll();
        Invalidate();
    }
}

void TCustomChart::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    TCustomPlotPanel::MouseMove(shift, x, y);
    TellTools(cmeMove, mbLeft, shift, x, y);
    if (CancelMouse)
        return;
    TPlotZoom& zoom = Zoom();
    if (zoom.Active) {
        const int32_t x1 = zoom.Direction == tzdVertical ? ChartRect.Right : x;
        const int32_t y1 = zoom.Direction == tzdHorizontal ? ChartRect.Bottom : y;
        if (x1 != zoom.X1 || y1 != zoom.Y1) {
            DrawZoomRectangle();
            zoom.X1 = x1;
            zoom.Y1 = y1;
            DrawZoomRectangle();
        }
    } else if (Panning.Active) {
        if (!PointInRect(ChartRect, x, y))
            Panning.Active = false;
        else if (x != Panning.X1 || y != Panning.Y1)
            PanAxes(x, y);
    } else if (!CheckMouseSeries(x, y)) {
        setCursor(savedCursor_);
    }
}

// ---- mouse up

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TCustomPlotPanel::MouseUp(button, shift, x, y);
    TPlotZoom& zoom = Zoom();
    if (zoom.Active && button == zoom.MouseButton) {
        DrawZoomRectangle();
        Canvas().Pen().SetMode(pmCopy);
        switch (FinishZoomDrag(zoom, x, y)) {
        case TZoomOutcome::Undo:
            UndoZoom();
            Invalidate();
            break;
        case TZoomOutcome::Zoom:
            ZoomToRect(TRect{zoom.X0, zoom.Y0, zoom.X1, zoom.Y1});
            Invalidate();
            break;
        case TZoomOutcome::None: break;
        }
    }
    Panning.Active = false;
    TellTools(cmeUp, button, shift, x, y);
}

void TCustomChart::CancelMouseDrag()
{
    TPlotZoom& zoom = Zoom();
    if (zoom.Active) {
        DrawZoomRectangle();
        Canvas().Pen().SetMode(pmCopy);
        zoom.Active = false;
    }
    Panning.Active = false;
}

// ---- zoom

void TCustomChart::SaveAxisState()
{
    savedAxes_.clear();
    for (int i = 0; i < Axes().Count(); ++i) {
        AxisState state;
        state.Axis = dynamic_cast<TChartAxis*>(Axes()[i]);
        if (state.Axis && !state.Axis->IsDepth()) {
            state.HasValues = true;
            state.Automatic = state.Axis->Automatic();
            state.AutomaticMinimum = state.Axis->AutomaticMinimum();
            state.AutomaticMaximum = state.Axis->AutomaticMaximum();
            state.Minimum = state.Axis->Minimum();
            state.Maximum = state.Axis->Maximum();
        }
        savedAxes_.push_back(state);
    }
}

void TCustomChart::ZoomValues(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                              double leftMax, double rightMin, double rightMax)
{
    if (unzoomed_) {
        SaveAxisState();
        unzoomed_ = false;
    }
    TPlotZoom& zoom = Zoom();
    const bool vertical = zoom.Direction != tzdHorizontal;
    const bool horizontal = zoom.Direction != tzdVertical;
    if (zoom.Animated) {
        for (int step = 1; step < zoom.AnimatedSteps; ++step) {
            // A third of the way, taken of each end on its own: ends of opposite signs near the
            // largest double have no difference.
            auto approach = [](TChartAxis& axis, double min, double max) {
                axis.SetRange(axis.Minimum() + ShareOfRange(axis.Minimum(), min, 1.0 / 3),
                              axis.Maximum() - ShareOfRange(max, axis.Maximum(), 1.0 / 3));
            };
            if (vertical) {
                approach(*LeftAxis(), leftMin, leftMax);
                approach(*RightAxis(), rightMin, rightMax);
            }
            if (horizontal) {
                approach(*TopAxis(), topMin, topMax);
                approach(*BottomAxis(), bottomMin, bottomMax);
            }
            RepaintNow();
        }
    }
    // A rectangle dragged past the ends of an axis near the largest double spans more than it.
    auto setRange = [](TChartAxis& axis, double min, double max) {
        NarrowToFiniteSpan(min, max);
        axis.SetRange(min, max);
    };
    if (vertical) {
        setRange(*LeftAxis(), leftMin, leftMax);
        setRange(*RightAxis(), rightMin, rightMax);
    }
    if (horizontal) {
        setRange(*TopAxis(), topMin, topMax);
        setRange(*BottomAxis(), bottomMin, bottomMax);
    }
    Zoomed = true;
    if (OnZoom)
        OnZoom();
}

void TCustomChart::ZoomToRect(const TRect& rect)
{
    const TRect r = OrientRect(rect);
    ZoomValues(TopAxis()->PixelToValue(r.Left), TopAxis()->PixelToValue(r.Right), BottomAxis()->PixelToValue(r.Left),
               BottomAxis()->PixelToValue(r.Right), LeftAxis()->PixelToValue(r.Bottom),
               LeftAxis()->PixelToValue(r.Top), RightAxis()->PixelToValue(r.Bottom),
               RightAxis()->PixelToValue(r.Top));
}

// The saved limits are put back as they were, without the checks of the setters; an axis that
// was removed since is passed over.
void TCustomChart::UndoZoom()
{
    if (!unzoomed_) {
        for (const AxisState& state : savedAxes_) {
            if (!state.HasValues)
                continue;
            bool exists = false;
            for (int i = 0; i < Axes().Count() && !exists; ++i)
                exists = Axes()[i] == state.Axis;
            if (!exists)
                continue;
            TChartAxis& axis = *state.Axis;
            axis.SetAutomatic(state.Automatic);
            axis.SetAutomaticMinimum(state.AutomaticMinimum);
            axis.SetAutomaticMaximum(state.AutomaticMaximum);
            axis.InternalSetMinimum(state.Minimum);
            axis.InternalSetMaximum(state.Maximum);
        }
        savedAxes_.clear();
        unzoomed_ = true;
    }
    TCustomAxisPanel::UndoZoom();
}

// ---- wheel

void TCustomChart::MouseWheelNotch(bool down, int32_t x, int32_t y)
{
    const TPanningMode mode = AllowPanning();
    if (WheelScrolling && (mode == pmVertical || mode == pmBoth)) {
        for (int i = 0; i < Axes().Count(); ++i) {
            auto* axis = dynamic_cast<TChartAxis*>(Axes()[i]);
            if (!axis || axis->Horizontal() || axis->IsDepth())
                continue;
            // Notches that come faster than the paints move the stored limits, which no paint
            // has narrowed yet: the share is taken of each limit, and the move stops at the
            // largest double.
            double delta = ShareOfRange(axis->Minimum(), axis->Maximum(), 3 * 0.01);
            if (!down)
                delta = -delta;
            double minimum = axis->Minimum();
            double maximum = axis->Maximum();
            MoveRangeWithinDoubles(minimum, maximum, delta);
            bool allow = true;
            if (OnAllowScroll)
                OnAllowScroll(axis, minimum, maximum, allow);
            if (allow)
                axis->Scroll(delta, false);
        }
    }
    TChartTools& tools = Tools();
    for (int i = 0; i < tools.Count(); ++i)
        if (tools[i]->Active())
            tools[i]->MouseWheel(down ? -120 : 120, x, y);
}

// Wheels with finer steps report fractions of a notch: they add up to whole notches.
void TCustomChart::wheelEvent(QWheelEvent* event)
{
    wheelRemainder_ += event->angleDelta().y();
    const QPoint p = event->position().toPoint();
    try {
        while (wheelRemainder_ >= 120) {
            wheelRemainder_ -= 120;
            MouseWheelNotch(false, p.x(), p.y());
        }
        while (wheelRemainder_ <= -120) {
            wheelRemainder_ += 120;
            MouseWheelNotch(true, p.x(), p.y());
        }
    } catch (...) {
        ReportChartError("TCustomChart::wheelEvent");
    }
    event->accept();
}

// ---- Qt events

// A double click arrives after the first press and release: the double-click event first, then
// the press again with the double-click state, unless a handler abandoned the click.
void TCustomChart::mouseDoubleClickEvent(QMouseEvent* event)
{
    TMouseButton button;
    if (!ButtonOf(event->button(), button))
        return;
    const QPoint p = event->position().toPoint();
    try {
        if (DblClick())
            MouseDown(button, ShiftOf(event->modifiers(), event->buttons()) | ssDouble, p.x(), p.y());
    } catch (...) {
        ReportChartError("TCustomChart::mouseDoubleClickEvent");
    }
}

void TCustomChart::showEvent(QShowEvent* event)
{
    TCustomAxisPanel::showEvent(event);
    QObject* top = window();
    if (top == this)
        top = nullptr;
    if (top == watchedWindow_)
        return;
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = top;
    if (!watchedWindow_)
        return;
    watchedWindow_->installEventFilter(this);
    connect(watchedWindow_, &QObject::destroyed, this, [this](QObject* gone) {
        if (gone == watchedWindow_)
            watchedWindow_ = nullptr;
    });
}

void TCustomChart::hideEvent(QHideEvent* event)
{
    CancelMouseDrag();
    TCustomAxisPanel::hideEvent(event);
}

// A dialog that opens during a drag takes the mouse: the release never reaches the chart. The
// window that holds the chart (or the chart, when it is a window itself) tells of it.
void TCustomChart::CancelDragOnLostMouse(QEvent::Type type)
{
    if (type != QEvent::WindowBlocked && type != QEvent::WindowDeactivate && type != QEvent::Hide)
        return;
    try {
        CancelMouseDrag();
    } catch (...) {
        ReportChartError("TCustomChart::CancelDragOnLostMouse");
    }
}

bool TCustomChart::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watchedWindow_)
        CancelDragOnLostMouse(event->type());
    return TCustomAxisPanel::eventFilter(watched, event);
}

bool TCustomChart::event(QEvent* event)
{
    if (isWindow())
        CancelDragOnLostMouse(event->type());
    return TCustomAxisPanel::event(event);
}
