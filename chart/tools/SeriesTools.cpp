#include "chart/tools/SeriesTools.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"

#include <algorithm>

namespace {

TCustomAxisPanel* PanelOf(const TPlotCustomTool& tool)
{
    ChartParent* chart = tool.ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

} // namespace

// ---- image

TChartImageTool::TChartImageTool() : picture_(std::make_unique<TPlotPicture>([this] { Repaint(); })) {}

TChartImageTool::~TChartImageTool()
{
    MarkDestroying();
}

std::unique_ptr<TChartPen> TChartImageTool::CreateChartPen()
{
    return std::make_unique<TChartHiddenPen>([this] { Repaint(); });
}

QString TChartImageTool::Description() const { return QStringLiteral("Image"); }

QString TChartImageTool::LongDescription() const
{
    return QStringLiteral("Displays a picture using the specified Series axes as boundaries. When the axis are "
                          "zoomed or scrolled, the picture will follow the new boundaries.");
}

std::optional<TRect> TChartImageTool::ImageRect() const
{
    const SeriesAxis* h = GetHorizAxis();
    const SeriesAxis* v = GetVertAxis();
    if (!h || !v)
        return std::nullopt;
    double left = h->CurrentMinimum(), right = h->CurrentMaximum();
    double bottom = v->CurrentMinimum(), top = v->CurrentMaximum();
    if (TChartSeries* series = Series()) {
        if (series->Count() == 0)
            return std::nullopt;
        left = series->GetMinX();
        right = series->GetMaxX();
        bottom = series->GetMinY();
        top = series->GetMaxY();
    }
    const int x0 = h->ValueToPixel(left), x1 = h->ValueToPixel(right);
    const int y0 = v->ValueToPixel(top), y1 = v->ValueToPixel(bottom);
    return TRect{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

// Only the part that lies in the chart rectangle is stretched: zoomed far in, the whole picture
// would be stretched to millions of pixels to show a few hundred of them.
void TChartImageTool::ChartEvent(TChartToolEvent kind)
{
    TCustomAxisPanel* panel = PanelOf(*this);
    if (kind != cteBeforeDrawSeries || !panel || !picture_->HasGraphic())
        return;
    const auto rect = ImageRect();
    if (!rect || rect->Right <= rect->Left || rect->Bottom <= rect->Top)
        return;
    const TRect& chartRect = panel->ChartRect;
    const TRect visible{std::max(rect->Left, chartRect.Left), std::max(rect->Top, chartRect.Top),
                        std::min(rect->Right, chartRect.Right), std::min(rect->Bottom, chartRect.Bottom)};
    if (visible.Right <= visible.Left || visible.Bottom <= visible.Top)
        return;
    const QImage image = picture_->FilteredGraphic();
    const double sx = static_cast<double>(image.width()) / (rect->Right - rect->Left);
    const double sy = static_cast<double>(image.height()) / (rect->Bottom - rect->Top);
    const QRectF part((visible.Left - rect->Left) * sx, (visible.Top - rect->Top) * sy,
                      (visible.Right - visible.Left) * sx, (visible.Bottom - visible.Top) * sy);
    const QRect source = part.toAlignedRect().intersected(image.rect());
    TPlotCanvas3D& canvas = panel->Canvas();
    if (source.isEmpty())
        return;
    canvas.StretchDraw(visible, source == image.rect() ? image : image.copy(source));
    if (Pen().Visible()) {
        canvas.AssignVisiblePen(Pen());
        canvas.Brush().SetStyle(bsClear);
        canvas.Rectangle(rect->Left, rect->Top, rect->Right, rect->Bottom);
    }
}

// ---- clip

QString TClipSeriesTool::Description() const { return QStringLiteral("Clip Series"); }

QString TClipSeriesTool::LongDescription() const
{
    return QStringLiteral("Restricts Series painting outside Series associated axes boundaries.");
}

void TClipSeriesTool::SeriesEvent(TChartSeriesToolEvent kind)
{
    TCustomAxisPanel* panel = PanelOf(*this);
    if (!panel)
        return;
    if (kind == steAfterDrawValues) {
        if (clipped_)
            panel->Canvas().UnClipRectangle();
        clipped_ = false;
        return;
    }
    const auto* h = dynamic_cast<const TChartAxis*>(GetHorizAxis());
    const auto* v = dynamic_cast<const TChartAxis*>(GetVertAxis());
    if (!h || !v || !panel->CanClip())
        return;
    const TRect r{std::min(h->StartPixel(), h->EndPixel()), std::min(v->StartPixel(), v->EndPixel()),
                  std::max(h->StartPixel(), h->EndPixel()) + 1, std::max(v->StartPixel(), v->EndPixel()) + 1};
    panel->Canvas().ClipRectangle(r);
    clipped_ = true;
}
