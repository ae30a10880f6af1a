// The chart library's error hook: what a panel's event handlers stop reaches the hook in use,
// with the handler and the exception's text.
#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotPanel.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class FailingPanel : public TCustomPlotPanel {
public:
    TNotifyEvent OnDraw;

protected:
    void InternalDraw(const TRect&) override
    {
        if (OnDraw)
            OnDraw();
    }
};

void Send(QWidget& widget, QEvent::Type type)
{
    const QPointF at(20, 20);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

TEST(ChartErrors, PanelHandlersReportWhatTheirCallbacksThrow)
{
    QStringList caught;
    const auto keep = [&](const QString& where, const QString& what) { caught << where + ": " + what; };
    ChartErrorHookScope hook(keep);
    FailingPanel panel;
    panel.OnMouseDown = [](TMouseButton, TShiftState, int32_t, int32_t) {
        throw std::runtime_error("zoom failed");
    };
    panel.OnMouseUp = [](TMouseButton, TShiftState, int32_t, int32_t) { throw std::logic_error("marker failed"); };
    panel.OnMouseMove = [](TShiftState, int32_t, int32_t) { throw std::runtime_error("crosshair failed"); };
    panel.OnDblClick = [] { throw 42; };
    panel.OnDraw = [] { throw std::runtime_error("overlay failed"); };
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseMove,
                                    QEvent::MouseButtonDblClick})
        Send(panel, type);
    panel.Repaint();
    EXPECT_EQ(caught, (QStringList{"TCustomPlotPanel::mousePressEvent: zoom failed",
                                   "TCustomPlotPanel::mouseReleaseEvent: marker failed",
                                   "TCustomPlotPanel::mouseMoveEvent: crosshair failed",
                                   "TCustomPlotPanel::mouseDoubleClickEvent: unknown",
                                   "TCustomPlotPanel::RenderIfStale: overlay failed"}));

    // A scope made later takes the reports while it lives; then the earlier hook has them again.
    int inner = 0;
    {
        ChartErrorHookScope later([&](const QString&, const QString&) { ++inner; });
        Send(panel, QEvent::MouseMove);
    }
    Send(panel, QEvent::MouseMove);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(caught.size(), 6);
}
