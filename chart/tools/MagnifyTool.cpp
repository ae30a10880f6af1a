#include "chart/tools/MagnifyTool.h"

#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersResample.h"
#include "chart/engine/AxisPanel.h"
#include "chart/series/LibraryTexts.h"
#include "platform/gdi/DeviceContext.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

TMagnifyTool::TMagnifyTool()
{
    Shape().SetTransparency(0);
    Shape().Brush().SetStyle(bsClear);
}

namespace {

QString TextOrDefault(const TLibraryTexts* texts, LibText id, const QString& fallback)
{
    if (!texts || (*texts)[id].isEmpty())
        return fallback;
    return (*texts)[id];
}

} // namespace

QString TMagnifyTool::Description() const
{
    return TextOrDefault(texts_, LibText::ToolMagnify, QStringLiteral("Magnify"));
}

QString TMagnifyTool::LongDescription() const
{
    return TextOrDefault(texts_, LibText::ToolMagnifyDesc, QStringLiteral("Magnifies a portion of chart"));
}

void TMagnifyTool::SetParentChart(ChartParent* chart)
{
    TRectangleTool::SetParentChart(chart);
    if (chart)
        Repaint();
}

void TMagnifyTool::Assign(const TMagnifyTool& source)
{
    if (&source == this)
        return;
    circled_ = source.circled_;
    followMouse_ = source.followMouse_;
    percent_ = source.percent_;
    smooth_ = source.smooth_;
    wheelZoom_ = source.wheelZoom_;
    TRectangleTool::Assign(source);
}

QImage TMagnifyTool::MagnifiedPicture(const QImage& source, const TRect& box, double percent, bool smooth)
{
    const int w = std::max(1, box.Right - box.Left + 1);
    const int h = std::max(1, box.Bottom - box.Top + 1);
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), source, QRect(box.Left, box.Top, w, h));
    }
    TZoomFilter zoom;
    zoom.Smooth = smooth;
    zoom.Percent = percent;
    zoom.ApplyToBitmap(picture);
    return picture;
}

void TMagnifyTool::ChartEvent(TChartToolEvent kind)
{
    if (kind != cteAfterDraw || !Active())
        return;
    TCustomAxisPanel* panel = Panel();
    if (!panel || panel->Canvas().Metafiling)
        return;
    DrawMagnified();
}

// What lies under the lens is what the drawing has put on its picture so far: the off-screen
// bitmap of a buffered chart, or the picture an unbuffered chart draws on directly. The chart is
// never drawn a second time from inside its own drawing: that would switch the tool off and on
// (two repaint requests per drawing, so the chart would never stop repainting) and would change
// the axes and rectangles the rest of the drawing still uses. A device that records instead of
// painting (always a metafile here) has no pixels to read and gets no lens.
void TMagnifyTool::DrawMagnified()
{
    TCustomAxisPanel& panel = *Panel();
    TPlotCanvas3D& canvas = panel.Canvas();
    gdi::DeviceContext* dc = canvas.GetHandle();
    const QImage* source = dc ? dc->SourceImage() : nullptr;
    if (!source || source->isNull())
        return;
    TRect r = GetShapeBounds();
    r.Left += panel.ChartBounds.Left;
    r.Right += panel.ChartBounds.Left;
    r.Top += panel.ChartBounds.Top;
    r.Bottom += panel.ChartBounds.Top;
    const QImage picture = MagnifiedPicture(*source, r, percent_, smooth_);

    if (circled_)
        canvas.ClipEllipse(r, false);
    std::unique_ptr<TPlotBlend> blend;
    if (Shape().Transparency() != 0)
        blend = canvas.BeginBlending(r, Shape().Transparency());
    canvas.Draw(r.Left, r.Top, picture);
    if (blend)
        canvas.EndBlending(std::move(blend));
    if (circled_)
        canvas.UnClipRectangle();

    if (Pen().Visible()) {
        canvas.AssignVisiblePen(Pen());
        canvas.Brush().SetStyle(bsClear);
        if (circled_)
            canvas.Ellipse(r.Left, r.Top, r.Right, r.Bottom);
        else
            canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
}

void TMagnifyTool::ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y)
{
    if (Active() && followMouse_ && kind == cmeMove) {
        const int w = Width();
        const int h = Height();
        TTextShape& shape = Shape();
        shape.SetCustomPosition(true);
        shape.ShapeBounds = TRect{x - w / 2, y - h / 2, x - w / 2 + w - 1, y - h / 2 + h - 1};
        Repaint();
        return;
    }
    TRectangleTool::ChartMouseEvent(kind, button, shift, x, y);
}

void TMagnifyTool::MouseWheel(int delta, int x, int y)
{
    if (wheelZoom_ == 0 || !Clicked(x, y))
        return;
    if (TCustomAxisPanel* panel = Panel(); panel && !panel->hasFocus() && panel->focusPolicy() != Qt::NoFocus)
        panel->setFocus();
    const double step = std::abs(wheelZoom_);
    if (delta > 0)
        SetPercent(std::min(percent_ + step, 100.0));
    else
        SetPercent(std::max(percent_ - step, 0.001));
}
