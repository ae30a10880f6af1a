#include "chart/tools/AntiAliasTool.h"

#include "chart/canvas/PlotFiltersStream.h"
#include "chart/engine/AxisPanel.h"
#include "chart/series/ChartUnit.h"
#include "chart/tools/AntiAliasCanvas.h"
#include "platform/gdi/RasterDC.h"

#include <QVariant>

TAntiAliasTool::TAntiAliasTool()
{
    SetAntiAlias(true);
}

// The chart that still draws with the canvas keeps it, switched off and without a tool to tell.
TAntiAliasTool::~TAntiAliasTool()
{
    if (canvas_ && !ownedCanvas_) {
        canvas_->SetTool(nullptr);
        canvas_->Disabled = true;
        if (TCustomAxisPanel* panel = Panel(); panel && !panel->ChartDestroying())
            panel->Invalidate();
    }
    canvas_ = nullptr;
    if (ownedCanvas_)
        ownedCanvas_->SetTool(nullptr);
}

QString TAntiAliasTool::Description() const { return QStringLiteral("Anti-Alias"); }

QString TAntiAliasTool::LongDescription() const
{
    return QStringLiteral("Improves display of diagonal and curved lines, removing zig-zag.");
}

TCustomAxisPanel* TAntiAliasTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

bool TAntiAliasTool::AntiAlias() const { return canvas_ && !canvas_->Disabled; }

void TAntiAliasTool::SetAntiAlias(bool value)
{
    if (!canvas_) {
        ownedCanvas_ = std::make_unique<TAntiAliasCanvas>();
        canvas_ = ownedCanvas_.get();
        canvas_->SetTool(this);
        canvas_->Disabled = !value;
    } else if (canvas_->Disabled == value) {
        canvas_->Disabled = !value;
        Repaint();
    }
    Install();
}

void TAntiAliasTool::Install()
{
    TCustomAxisPanel* panel = Panel();
    if (!Active() || !AntiAlias() || !panel || panel->ChartDestroying() || &panel->Canvas() == canvas_)
        return;
    // The canvas is the tool's own here: while a chart holds it, that chart is the tool's chart.
    if (ownedCanvas_)
        panel->SetCanvas(std::move(ownedCanvas_));
}

void TAntiAliasTool::SetActive(bool value)
{
    TPlotCustomTool::SetActive(value);
    SetAntiAlias(Active());
}

void TAntiAliasTool::SetParentChart(ChartParent* chart)
{
    ChartParent* old = ParentChart();
    if (old == chart)
        return;
    const bool on = AntiAlias();
    TCustomAxisPanel* oldPanel = old ? old->AxisPanel() : nullptr;
    TPlotCustomTool::SetParentChart(chart);
    // One canvas in two charts would be freed twice: the chart left behind draws plain again on
    // a canvas of its own. A chart that is going frees the canvas itself.
    if (oldPanel && canvas_ && !ownedCanvas_) {
        if (oldPanel->ChartDestroying()) {
            canvas_->SetTool(nullptr);
            canvas_ = nullptr;
        } else {
            oldPanel->SetCanvas(std::make_unique<TPlotCanvas3D>());
        }
    }
    if (!canvas_ && on)
        SetAntiAlias(true);
    else
        Install();
}

void TAntiAliasTool::CanvasGone(const TAntiAliasCanvas* canvas)
{
    if (canvas_ == canvas)
        canvas_ = nullptr;
}

// The filters work on the finished picture in the canvas' own bitmap; a metafile, a printer or
// another canvas the chart draws on is left as it is.
void TAntiAliasTool::ChartEvent(TChartToolEvent kind)
{
    if (kind != cteAfterDraw || filters_.Count() == 0)
        return;
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    TBitmap* bitmap = canvas.Bitmap();
    if (!bitmap || canvas.Metafiling || canvas.ReferenceCanvas() != &bitmap->Canvas())
        return;
    filters_.ApplyToBitmap(bitmap->Device().ImageForWrite());
}

void TAntiAliasTool::WriteStreamProperties(QByteArray& out) const
{
    if (filters_.Count() > 0)
        WriteStreamProperty(out, QString::fromLatin1(kFilterItemsProperty), QVariant(WriteFilterItems(filters_)));
}

bool TAntiAliasTool::ReadFilterItemsProperty(const QByteArray& value, QString* error)
{
    int pos = 0;
    return ReadFilterItems(value, pos, filters_, error);
}

void StartAntiAliasUnit(ChartUnitState& unit)
{
    RegisterToolClasses(unit, {&ToolClassOf<TAntiAliasTool>()});
}

void StopAntiAliasUnit(ChartUnitState& unit)
{
    UnregisterToolClasses(unit, {&ToolClassOf<TAntiAliasTool>()});
}
