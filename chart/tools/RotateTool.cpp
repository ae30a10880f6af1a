#include "chart/tools/RotateTool.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/tools/InvertingPen.h"

#include <QTimer>
#include <cmath>
#include <numbers>

namespace {

double Wrap(double angle)
{
    angle = std::fmod(angle, 360.0);
    return angle < 0 ? angle + 360.0 : angle;
}

} // namespace

TRotateTool::TRotateTool() : inertiaTimer_(std::make_unique<QTimer>())
{
    Pen().SetColor(clWhite);
    Pen().SetMode(pmXor);
    inertiaTimer_->setInterval(20);
    QObject::connect(inertiaTimer_.get(), &QTimer::timeout, [this] {
        try {
            InertiaTick();
        } catch (...) {
            ReportChartError("TRotateTool::InertiaTick");
            inertiaTimer_->stop();
        }
    });
}

TRotateTool::~TRotateTool()
{
    MarkDestroying();
    inertiaTimer_->stop();
}

std::unique_ptr<TChartPen> TRotateTool::CreateChartPen()
{
    return std::make_unique<TChartHiddenPen>([this] { Repaint(); });
}

QString TRotateTool::Description() const { return QStringLiteral("Rotate"); }

QString TRotateTool::LongDescription() const
{
    return QStringLiteral("Allows rotating Chart dragging with mouse button.");
}

TCustomAxisPanel* TRotateTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

bool TRotateTool::Spinning() const { return inertiaTimer_->isActive(); }

void TRotateTool::Turn(double rotation, double elevation, bool repaint)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    TView3DOptions& options = panel->View3DOptions();
    const bool kept = panel->RepaintOnChange();
    if (!repaint)
        panel->SetRepaintOnChange(false);
    if (style_ != rsElevation)
        options.SetRotationFloat(Wrap(options.RotationFloat() + rotation));
    if (style_ != rsRotation)
        options.SetElevationFloat(Wrap(options.ElevationFloat() + elevation));
    panel->SetRepaintOnChange(kept);
}

// The chart's box (its rectangle through the depth) turned by the chart's angles about its
// centre, seen straight on: enough to show where the turn is going without drawing the chart.
void TRotateTool::DrawBox()
{
    TCustomAxisPanel& panel = *Panel();
    const TRect& r = panel.ChartRect;
    const double cx = (r.Left + r.Right) * 0.5, cy = (r.Top + r.Bottom) * 0.5;
    const double depth = std::max(panel.Width3D, r.Width() / 4);
    const double rot = panel.View3DOptions().RotationFloat() * std::numbers::pi / 180.0;
    const double elev = panel.View3DOptions().ElevationFloat() * std::numbers::pi / 180.0;
    for (int i = 0; i < 8; ++i) {
        const double x = ((i & 1) ? r.Right : r.Left) - cx;
        const double y = ((i & 2) ? r.Bottom : r.Top) - cy;
        const double z = ((i & 4) ? depth : 0.0) - depth * 0.5;
        const double x1 = x * std::cos(rot) + z * std::sin(rot);
        const double z1 = -x * std::sin(rot) + z * std::cos(rot);
        const double y1 = y * std::cos(elev) - z1 * std::sin(elev);
        box_[static_cast<size_t>(i)] = TPoint{static_cast<int>(std::lround(cx + x1)), static_cast<int>(std::lround(cy + y1))};
    }
    InvertingPen pen(panel, Pen(), InvertingPen::WindowSurface);
    static constexpr int kEdges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                          {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : kEdges)
        pen.Line(box_[e[0]].X, box_[e[0]].Y, box_[e[1]].X, box_[e[1]].Y);
}

void TRotateTool::InertiaTick()
{
    const double factor = inertia_ / 100.0;
    lastRotation_ *= factor;
    lastElevation_ *= factor;
    if (std::fabs(lastRotation_) < 0.1 && std::fabs(lastElevation_) < 0.1) {
        inertiaTimer_->stop();
        return;
    }
    Turn(lastRotation_, lastElevation_, true);
    if (OnRotate)
        OnRotate(this);
}

void TRotateTool::ChartMouseEvent(TChartMouseEvent kind, int button, int, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    switch (kind) {
    case cmeDown:
        inertiaTimer_->stop();
        if (button != button_)
            break;
        rotating_ = true;
        lastX_ = x;
        lastY_ = y;
        lastRotation_ = lastElevation_ = 0.0;
        panel->CancelMouse = true;
        break;
    case cmeMove: {
        const TRect& r = panel->ChartRect;
        if (!rotating_) {
            if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) {
                panel->SetChartCursor(cursor_);
                panel->CancelMouse = true;
            }
            break;
        }
        const double factor = 1.0 + 0.01 * (speed_ - 50);
        double rotation = panel->ChartWidth > 0 ? (x - lastX_) * 90.0 / panel->ChartWidth * factor : 0.0;
        double elevation = panel->ChartHeight > 0 ? (lastY_ - y) * 90.0 / panel->ChartHeight * factor : 0.0;
        if (inverted_) {
            rotation = -rotation;
            elevation = -elevation;
        }
        lastX_ = x;
        lastY_ = y;
        lastRotation_ = rotation;
        lastElevation_ = elevation;
        const bool outline = Pen().Visible();
        if (outline && boxShown_)
            DrawBox();
        Turn(rotation, elevation, !outline);
        if (outline) {
            DrawBox();
            boxShown_ = true;
        }
        panel->CancelMouse = true;
        if (OnRotate)
            OnRotate(this);
        break;
    }
    case cmeUp:
        if (!rotating_)
            break;
        rotating_ = false;
        if (boxShown_) {
            boxShown_ = false;
            panel->Invalidate();
        }
        if (inertia_ > 0 && (lastRotation_ != 0.0 || lastElevation_ != 0.0))
            inertiaTimer_->start();
        break;
    }
}
