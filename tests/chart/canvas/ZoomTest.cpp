#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TZoomOutcome Drag(TPlotZoom& zoom, int x0, int y0, int x1, int y1)
{
    zoom.Activate(x0, y0);
    return FinishZoomDrag(zoom, x1, y1);
}

class Recorder : public TPlotEventListener {
public:
    std::function<void(TPlotEvent&)> action;
    std::vector<int> kinds;   // -1 for a 3D event
    void PlotEvent(TPlotEvent& event) override
    {
        if (auto* m = dynamic_cast<TPlotMouseEvent*>(&event))
            kinds.push_back(m->Event);
        else
            kinds.push_back(-1);
        if (action)
            action(event);
    }
};

} // namespace

TEST(Zoom, MinimumPixelsMustBeExceeded)
{
    TPlotZoom zoom;
    EXPECT_EQ(zoom.MinimumPixels, 16);
    EXPECT_EQ(Drag(zoom, 10, 10, 26, 40), TZoomOutcome::None);   // 16 across
    EXPECT_FALSE(zoom.Active);
    EXPECT_EQ(Drag(zoom, 10, 10, 27, 40), TZoomOutcome::Zoom);
    EXPECT_EQ(Drag(zoom, 10, 10, 40, 26), TZoomOutcome::None);   // 16 down
    EXPECT_EQ(Drag(zoom, 10, 10, 40, 27), TZoomOutcome::Zoom);
    EXPECT_EQ(zoom.X1, 40);
    EXPECT_EQ(zoom.Y1, 27);
}

TEST(Zoom, DirectionAndUpLeftDrags)
{
    TPlotZoom zoom;
    zoom.Direction = tzdHorizontal;
    // The vertical extent does not count, and the moving corner keeps its start row.
    EXPECT_EQ(Drag(zoom, 10, 10, 50, 11), TZoomOutcome::Zoom);
    EXPECT_EQ(zoom.Y1, 10);
    zoom.Direction = tzdVertical;
    EXPECT_EQ(Drag(zoom, 10, 10, 11, 50), TZoomOutcome::Zoom);
    EXPECT_EQ(zoom.X1, 10);
    EXPECT_EQ(Drag(zoom, 10, 50, 90, 10), TZoomOutcome::Undo);   // upwards undoes for vertical
    zoom.Direction = tzdBoth;
    EXPECT_EQ(Drag(zoom, 100, 100, 50, 150), TZoomOutcome::Undo);   // right to left
    zoom.UpLeftZooms = true;
    EXPECT_EQ(Drag(zoom, 100, 100, 50, 150), TZoomOutcome::Zoom);
    EXPECT_EQ(Drag(zoom, 100, 100, 90, 150), TZoomOutcome::None);

    zoom.KeyShift = ssCtrl;
    EXPECT_FALSE(ZoomKeysHeld(zoom, ssShift | ssLeft));
    EXPECT_TRUE(ZoomKeysHeld(zoom, ssCtrl | ssShift));

    TPlotZoom copy;
    EXPECT_FALSE(copy.HasPen());
    zoom.Brush().SetColor(clRed);
    copy.Assign(zoom);
    EXPECT_TRUE(copy.UpLeftZooms);
    EXPECT_EQ(copy.KeyShift, ssCtrl);
    EXPECT_EQ(copy.Brush().Color(), clRed);
    EXPECT_EQ(copy.Brush().Style(), bsClear);
    EXPECT_FALSE(copy.HasPen());
    EXPECT_FALSE(copy.Pen().IsColorStored());
}

TEST(Zoom, XorRectangleTwiceRestoresEveryPixel)
{
    TCustomPlotPanelExtended panel;
    panel.SetColor(clNavy);
    panel.Gradient().SetStartColor(clRed);
    panel.Gradient().SetEndColor(clLime);
    panel.Gradient().SetVisible(true);
    panel.Repaint();
    const QImage before = panel.WindowImage().copy();
    panel.Zoom().Activate(30, 40);
    panel.Zoom().X1 = 300;
    panel.Zoom().Y1 = 200;
    panel.DrawZoomRectangle();
    const QImage once = panel.WindowImage().copy();
    EXPECT_NE(once, before);
    EXPECT_NE(once.pixel(30, 100), before.pixel(30, 100));
    EXPECT_EQ(once.pixel(150, 100), before.pixel(150, 100));   // clear brush inside
    panel.DrawZoomRectangle();
    EXPECT_EQ(panel.WindowImage(), before);

    // On the back colour itself the white pen shows white.
    TCustomPlotPanelExtended plain;
    plain.SetColor(clNavy);
    plain.SetBevelOuter(bvNone);
    plain.Repaint();
    plain.Zoom().Activate(30, 40);
    plain.Zoom().X1 = 100;
    plain.Zoom().Y1 = 90;
    plain.DrawZoomRectangle();
    EXPECT_EQ(plain.WindowImage().pixel(30, 60) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(plain.WindowImage().pixel(60, 60) & 0xFFFFFF, 0x000080u);
}

TEST(Zoom, RubberBandDragOnTheWidget)
{
    TCustomPlotPanelExtended panel;
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    int zooms = 0, undos = 0;
    panel.OnZoom = [&] { ++zooms; };
    panel.OnUndoZoom = [&] { ++undos; };
    QApplication::processEvents();
    const QImage clean = panel.WindowImage().copy();

    auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(&panel, Qt::LeftButton, {}, from);
        QTest::mouseMove(&panel, (from + to) / 2);
        QTest::mouseMove(&panel, to);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, to);
    };
    drag(QPoint(50, 50), QPoint(66, 120));   // 16 pixels across: nothing
    EXPECT_EQ(zooms, 0);
    EXPECT_EQ(undos, 0);
    EXPECT_FALSE(panel.Zoomed);
    EXPECT_EQ(panel.WindowImage(), clean);   // the rubber band left no trace
    drag(QPoint(50, 50), QPoint(67, 120));
    EXPECT_EQ(zooms, 1);
    EXPECT_TRUE(panel.Zoomed);
    drag(QPoint(200, 50), QPoint(100, 120));
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(panel.Zoomed);

    panel.SetAllowZoom(false);
    EXPECT_FALSE(panel.Zoom().Allow);
    drag(QPoint(50, 50), QPoint(150, 150));
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(panel.Canvas().Pen().Mode(), pmCopy);
}

TEST(Zoom, ListenersCancelAndView3D)
{
    TCustomPlotPanelExtended panel;
    Recorder first, second, third;
    panel.AddListener(&first);
    panel.AddListener(&first);   // no duplicates
    panel.AddListener(&second);
    EXPECT_EQ(panel.Listeners().Count(), 2);

    // A listener added during a broadcast is reached by the same broadcast.
    first.action = [&](TPlotEvent&) { panel.AddListener(&third); };
    panel.MouseMove(0, 5, 5);
    EXPECT_EQ(first.kinds, (std::vector<int>{pmeMove}));
    EXPECT_EQ(second.kinds, (std::vector<int>{pmeMove}));
    EXPECT_EQ(third.kinds, (std::vector<int>{pmeMove}));

    // CancelMouse stops the rest of the listeners and the panel's own handling.
    first.action = [&](TPlotEvent& e) {
        EXPECT_EQ(e.Sender, &panel);
        panel.CancelMouse = true;
    };
    panel.MouseDown(mbLeft, ssLeft, 10, 10);
    EXPECT_EQ(first.kinds.size(), 2u);
    EXPECT_EQ(second.kinds.size(), 1u);
    EXPECT_FALSE(panel.Zoom().Active);
    first.action = nullptr;

    panel.SetView3D(true);   // unchanged: no event
    EXPECT_EQ(second.kinds.size(), 1u);
    panel.SetView3D(false);
    EXPECT_EQ(second.kinds.back(), -1);
    EXPECT_EQ(third.kinds.back(), -1);

    panel.RemoveListener(&first);
    panel.RemoveListener(&second);
    panel.RemoveListener(&third);
    EXPECT_EQ(panel.Listeners().Count(), 0);
    panel.MouseMove(0, 7, 7);
    EXPECT_EQ(first.kinds.size(), 3u);

    panel.OnDblClick = [&] { panel.CancelMouse = true; };
    EXPECT_FALSE(panel.DblClick());
    panel.OnDblClick = [] {};
    EXPECT_TRUE(panel.DblClick());

    panel.Zoomed = true;
    int undone = 0;
    panel.OnUndoZoom = [&] { ++undone; };
    panel.UndoZoom();
    EXPECT_EQ(undone, 1);
    EXPECT_FALSE(panel.Zoomed);
}
