#include "chart/engine/AxisPanel.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotCursors.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartPage.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesGroup.h"
#include "chart/engine/SeriesRoutines.h"
#include "chart/engine/SeriesTexts.h"

#include <QEvent>
#include <QVariant>
#include <algorithm>
#include <cmath>

// ---- custom axes

TChartCustomAxes::~TChartCustomAxes() = default;

TChartAxis& TChartCustomAxes::Add()
{
    items_.push_back(std::make_unique<TChartAxis>(chart_, false, false));
    chart_.Repaint();
    return *items_.back();
}

void TChartCustomAxes::Delete(int index)
{
    items_.erase(items_.begin() + index);
    chart_.Repaint();
}

void TChartCustomAxes::Clear()
{
    // From the back, so that the axes list loses them in reverse order of joining.
    while (!items_.empty())
        items_.pop_back();
}

void TChartCustomAxes::Assign(const TChartCustomAxes& source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto& axis : source.items_) {
        items_.push_back(std::make_unique<TChartAxis>(chart_, axis->Horizontal(), axis->OtherSide()));
        items_.back()->Assign(*axis);
    }
    chart_.Repaint();
}

// ---- construction

TCustomAxisPanel::TCustomAxisPanel(QWidget* parent) : TCustomPlotPanelExtended(parent)
{
    SetRepaintOnChange(false);
    InitChartMessages();
    // The standard axes join the axes list in this order; custom axes come behind them.
    bottomAxis_ = std::make_unique<TChartAxis>(*this, true, false);
    topAxis_ = std::make_unique<TChartAxis>(*this, true, true);
    leftAxis_ = std::make_unique<TChartAxis>(*this, false, false);
    rightAxis_ = std::make_unique<TChartAxis>(*this, false, true);
    depthAxis_ = std::make_unique<TChartDepthAxis>(*this, false);
    depthTopAxis_ = std::make_unique<TChartDepthAxis>(*this, true);
    pages_ = std::make_unique<TChartPage>(this);
    SetRepaintOnChange(true);
}

// Series first (they refer to axes and pages), then what refers to the axes, then the axes.
// Series and tools that belong to others are detached so that they never point at a chart
// that is gone.
TCustomAxisPanel::~TCustomAxisPanel()
{
    destroyingChart_ = true;
    SetRepaintOnChange(false);
    SeriesBroadcastLock = true;
    FreeAllSeries();
    ownedSeries_.clear();
    pages_.reset();
    for (int i = 0; i < tools_.Count(); ++i)
        if (auto* tool = dynamic_cast<TPlotCustomToolAxis*>(tools_[i]))
            tool->ForgetAxis(tool->Axis());
    while (tools_.Count() > 0) {
        TPlotCustomTool* tool = tools_[tools_.Count() - 1];
        const auto owned = std::find_if(ownedTools_.begin(), ownedTools_.end(),
                                        [tool](const auto& p) { return p.get() == tool; });
        if (owned != ownedTools_.end())
            ownedTools_.erase(owned);
        else
            tool->SetParentChart(nullptr);
        tools_.Remove(tool);
    }
    ownedTools_.clear();
    customAxes_.Clear();
    depthTopAxis_.reset();
    depthAxis_.reset();
    rightAxis_.reset();
    leftAxis_.reset();
    topAxis_.reset();
    bottomAxis_.reset();
}

// ---- settings

void TCustomAxisPanel::SetChart3DPercent(int value)
{
    if (value < 1 || value > 100)
        throw ChartException(seriestexts::FormatText(PlotMessage(PlotMsg::Err3DPercent), {QStringLiteral("1"),
                                                                                        QStringLiteral("100")}));
    SetAndInvalidate(chart3DPercent_, value);
}

void TCustomAxisPanel::SetColorPalette(const std::vector<TColor>& value)
{
    if (colorPalette_ == value)
        return;
    colorPalette_ = value;
    Invalidate();
}

void TCustomAxisPanel::SetPages(const TChartPage& value)
{
    pages_->Assign(value);
    Invalidate();
}

int TCustomAxisPanel::NumPages() const
{
    return pages_->NumPages();
}

int TCustomAxisPanel::MaxPointsPerPage() const
{
    return pages_->MaxPointsPerPage();
}

int TCustomAxisPanel::CurrentPage() const
{
    return pages_->Current();
}

void TCustomAxisPanel::NotifyPageChange()
{
    TChartChangePage event;
    BroadcastPlotEvent(event);
    if (OnPageChange)
        OnPageChange();
}

bool TCustomAxisPanel::IsAxisVisible(const TChartAxis& axis) const
{
    return axis.Visible() && axis.ComputedVisible();
}

void TCustomAxisPanel::RecalcChartBounds()
{
    ChartWidth = ChartRect.Width();
    ChartHeight = ChartRect.Height();
    ChartXCenter = ChartRect.Left + ChartWidth / 2;
    ChartYCenter = ChartRect.Top + ChartHeight / 2;
}

// Every cursor number of the library's table; the hand cursor is a picture.
void TCustomAxisPanel::SetChartCursor(int cursor)
{
    if (cursor == crPlotHand) {
        setCursor(MakeHandCursor());
        return;
    }
    for (const TCursorEntry& entry : CursorEntries()) {
        if (entry.cursor == cursor && entry.shape != Qt::BitmapCursor) {
            setCursor(QCursor(entry.shape));
            return;
        }
    }
    setCursor(QCursor(Qt::ArrowCursor));
}

// ---- series

TChartSeries* TCustomAxisPanel::ChartSeries(int index) const
{
    return dynamic_cast<TChartSeries*>(seriesList_[index]);
}

int TCustomAxisPanel::CountActiveSeries() const
{
    int n = 0;
    for (int i = 0; i < seriesList_.Count(); ++i)
        n += seriesList_[i]->Active() ? 1 : 0;
    return n;
}

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* series)
{
    if (series)
        series->SetParentChart(this);
    return series;
}

TChartSeries* TCustomAxisPanel::AddSeries(std::unique_ptr<TChartSeries> series)
{
    TChartSeries* raw = series.get();
    if (!raw)
        return nullptr;
    ownedSeries_.push_back(std::move(series));
    raw->SetParentChart(this);
    return raw;
}

bool TCustomAxisPanel::OwnsSeries(const TCustomChartSeries* series) const
{
    return series && std::any_of(ownedSeries_.begin(), ownedSeries_.end(),
                                 [series](const auto& p) { return p.get() == series; });
}

std::unique_ptr<TCustomChartSeries> TCustomAxisPanel::ReleaseSeries(const TCustomChartSeries* series)
{
    const auto owned = std::find_if(ownedSeries_.begin(), ownedSeries_.end(),
                                    [series](const auto& p) { return p.get() == series; });
    if (owned == ownedSeries_.end())
        return nullptr;
    std::unique_ptr<TCustomChartSeries> released = std::move(*owned);
    ownedSeries_.erase(owned);
    return released;
}

void TCustomAxisPanel::InternalAddSeries(TCustomChartSeries& series)
{
    if (seriesList_.Contains(&series))
        return;
    seriesList_.Add(&series);
    BroadcastSeriesEvent(&series, seAdd);
    if (OnAddSeries)
        OnAddSeries(this, &series);
    Invalidate();
}

// The series leaves the list before it drops its chart: dropping calls back here, and the
// second call must find nothing to do.
void TCustomAxisPanel::RemoveSeries(TCustomChartSeries& series)
{
    if (!seriesList_.Contains(&series)) {
        seriesList_.SeriesGroups().RemoveSeries(&series);
        return;
    }
    BroadcastSeriesEvent(&series, seRemove);
    seriesList_.RemoveSeries(&series);
    if (series.ParentChart() == this)
        series.SetParentChart(nullptr);
    if (OnRemoveSeries && !destroyingChart_)
        OnRemoveSeries(this, &series);
    Invalidate();
}

void TCustomAxisPanel::RemoveSeries(int index)
{
    RemoveSeries(*seriesList_[index]);
}

void TCustomAxisPanel::FreeAllSeries(const std::function<bool(const TCustomChartSeries&)>& which)
{
    std::vector<TCustomChartSeries*> victims;
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (!which || which(*seriesList_[i]))
            victims.push_back(seriesList_[i]);
    for (TCustomChartSeries* series : victims) {
        RemoveSeries(*series);
        const auto owned = std::find_if(ownedSeries_.begin(), ownedSeries_.end(),
                                        [series](const auto& p) { return p.get() == series; });
        if (owned != ownedSeries_.end())
            ownedSeries_.erase(owned);
    }
}

void TCustomAxisPanel::ExchangeSeries(int index1, int index2)
{
    TCustomChartSeries* a = seriesList_[index1];
    TCustomChartSeries* b = seriesList_[index2];
    seriesList_.Exchange(index1, index2);
    seriesList_.SeriesGroups().ExchangeSeries(a, b);
    BroadcastSeriesEvent(a, seSwap);
    Invalidate();
}

void TCustomAxisPanel::ExchangeSeries(TCustomChartSeries* series1, TCustomChartSeries* series2)
{
    const int a = seriesList_.IndexOf(series1);
    const int b = seriesList_.IndexOf(series2);
    if (a >= 0 && b >= 0)
        ExchangeSeries(a, b);
}

TPlotCustomTool* TCustomAxisPanel::AddTool(std::unique_ptr<TPlotCustomTool> tool)
{
    TPlotCustomTool* raw = tool.get();
    if (!raw)
        return nullptr;
    ownedTools_.push_back(std::move(tool));
    raw->SetParentChart(this);
    return raw;
}

void TCustomAxisPanel::BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEventKind kind)
{
    if (SeriesBroadcastLock || destroyingChart_)
        return;
    TPlotSeriesEvent event;
    event.Event = kind;
    event.Series = series;
    BroadcastPlotEvent(event);
}

// Tools may add or remove tools while they are told; the count is read at every step.
void TCustomAxisPanel::BroadcastToolEvent(TChartToolEvent kind)
{
    for (int i = 0; i < tools_.Count(); ++i) {
        TPlotCustomTool* tool = tools_[i];
        if (tool->Active())
            tool->ChartEvent(kind);
    }
}

void TCustomAxisPanel::leaveEvent(QEvent* event)
{
    TCustomPlotPanelExtended::leaveEvent(event);
    try {
        BroadcastToolEvent(cteMouseLeave);
    } catch (...) {
        // The window stays usable; the tools that ran before the failing one keep their state.
        ReportChartError("TCustomAxisPanel::leaveEvent");
    }
}

// ---- axes and series

TChartSeries* TCustomAxisPanel::GetAxisSeries(const SeriesAxis* axis) const
{
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->AssociatedToAxis(axis))
            return series;
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->BoundToAxis(axis))
            return series;
    return nullptr;
}

TChartSeries* TCustomAxisPanel::GetAxisSeriesMaxPoints(const SeriesAxis* axis) const
{
    TChartSeries* best = nullptr;
    for (const bool activeOnly : {true, false}) {
        for (int i = 0; i < seriesList_.Count(); ++i) {
            auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]);
            if (!series || !(activeOnly ? series->AssociatedToAxis(axis) : series->BoundToAxis(axis)))
                continue;
            if (!best || series->Count() > best->Count())
                best = series;
        }
        if (best)
            return best;
    }
    return nullptr;
}

int TCustomAxisPanel::GetMaxValuesCount() const
{
    int most = 0;
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->Active())
            most = std::max(most, series->Count());
    return most;
}

namespace {

// Smallest or largest finite value of the points first..last of a column.
bool RangeExtreme(const TChartValueList& list, int first, int last, bool isMax, double& result)
{
    const std::span<const double> values = list.Values();
    bool found = false;
    for (int i = std::max(0, first); i <= last && i < static_cast<int>(values.size()); ++i) {
        const double v = values[static_cast<size_t>(i)];
        if (std::isnan(v))
            continue;
        if (!found || (isMax ? v > result : v < result))
            result = v;
        found = true;
    }
    return found;
}

} // namespace

double TCustomAxisPanel::AxisDataMinMax(const TChartAxis& axis, bool isX, bool isMax)
{
    if (axis.IsDepth()) {
        // Series planes are labelled at their middles; series with Z values of their own span them.
        if (axis.CalcLabelStyle() == talText)
            return isMax ? MaxZOrder() + 0.5 : -0.5;
        bool found = false;
        double result = 0.0;
        for (int i = 0; i < seriesList_.Count(); ++i) {
            auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]);
            if (!series || !series->Active())
                continue;
            const double v = isMax ? series->MaxZValue() : series->MinZValue();
            if (!found || (isMax ? v > result : v < result))
                result = v;
            found = true;
        }
        return result;
    }

    const int perPage = pages_->MaxPointsPerPage();
    const TChartSeries* axisSeries = GetAxisSeries(&axis);
    const bool pagedIsX = !axisSeries || axisSeries->YMandatory();
    if (perPage > 0 && isX == pagedIsX) {
        // The longest series gives the page; an empty one (or none) gives no range at all.
        TChartSeries* longest = GetAxisSeriesMaxPoints(&axis);
        int first = -1, last = -1;
        if (longest)
            longest->CalcFirstLastPage(first, last);
        if (first < 0 || last < first)
            return 0.0;
        const TChartValueList& list = isX ? longest->XValues() : longest->YValues();
        const double low = list.Value(first);
        if (!isMax)
            return low;
        const double high = list.Value(last);
        const int n = last - first + 1;
        if (!pages_->ScaleLastPage() && n < perPage)
            return high == low ? low + static_cast<double>(perPage) / n : low + perPage * (high - low) / n;
        return high;
    }

    bool anyActive = false;
    for (int i = 0; i < seriesList_.Count() && !anyActive; ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]))
            anyActive = series->AssociatedToAxis(&axis);
    const bool pageOnly = perPage > 0 && pages_->AutoScale();
    bool found = false;
    double result = 0.0;
    for (int i = 0; i < seriesList_.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]);
        if (!series || series->Count() == 0 || !(anyActive ? series->AssociatedToAxis(&axis) : series->BoundToAxis(&axis)))
            continue;
        double v = 0.0;
        if (pageOnly) {
            int first = -1, last = -1;
            series->CalcFirstLastPage(first, last);
            if (!RangeExtreme(isX ? series->XValues() : series->YValues(), first, last, isMax, v))
                continue;
        } else if (isX) {
            v = isMax ? series->GetMaxX() : series->GetMinX();
        } else {
            v = isMax ? series->GetMaxY() : series->GetMinY();
        }
        if (!found || (isMax ? v > result : v < result))
            result = v;
        found = true;
    }
    return result;
}

TCustomChartSeries* TCustomAxisPanel::SeriesLegend(int itemIndex, bool onlyActive) const
{
    int n = 0;
    for (int i = 0; i < seriesList_.Count(); ++i) {
        TCustomChartSeries* series = seriesList_[i];
        if (!series->ShowInLegend() || (onlyActive && !series->Active()))
            continue;
        if (n++ == itemIndex)
            return series;
    }
    return nullptr;
}

QString TCustomAxisPanel::SeriesTitleLegend(int itemIndex, bool onlyActive) const
{
    const TCustomChartSeries* series = SeriesLegend(itemIndex, onlyActive);
    return series ? SeriesTitleOrName(*series) : QString();
}

int TCustomAxisPanel::MultiLineTextWidth(const QString& text, int& numLines)
{
    numLines = 0;
    if (text.isEmpty())
        return 0;
    int widest = 0;
    for (const QString& line : text.split(QChar(13))) {
        widest = std::max(widest, Canvas().TextWidth(line));
        ++numLines;
    }
    return widest;
}

int TCustomAxisPanel::MaxTextWidth()
{
    int widest = 0;
    for (int i = 0; i < seriesList_.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]);
        if (!series)
            continue;
        const TLabelsList& labels = series->Labels();
        for (int k = 0; k < labels.Count(); ++k) {
            int lines = 0;
            widest = std::max(widest, MultiLineTextWidth(labels.Labels(k), lines));
        }
    }
    return widest;
}

int TCustomAxisPanel::MaxMarkWidth()
{
    int widest = 0;
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->Active())
            widest = std::max(widest, series->MaxMarkWidth());
    return widest;
}

// ---- colours

TColor TCustomAxisPanel::GetDefaultColor(int index) const
{
    if (colorPalette_.empty())
        return LibraryPaletteColor(index);
    const int n = static_cast<int>(colorPalette_.size());
    return colorPalette_[static_cast<size_t>(((index % n) + n) % n)];
}

TColor TCustomAxisPanel::GetFreeSeriesColor(bool checkBackground, const TChartSeries* series)
{
    const int n = colorPalette_.empty() ? static_cast<int>(BuiltInColorPalette().size())
                                        : static_cast<int>(colorPalette_.size());
    for (int i = 0; i < n - 1; ++i) {
        const TColor color = GetDefaultColor(i);
        if (IsFreeSeriesColor(color, checkBackground, series))
            return color;
    }
    return GetDefaultColor(n - 1);
}

void TCustomAxisPanel::AssignSeriesColors()
{
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->StoredSeriesColor() == clDefault)
            series->SetSeriesColor(GetFreeSeriesColor(true, series));
}

bool TCustomAxisPanel::CheckMouseSeries(int x, int y)
{
    bool over = false;
    for (int i = seriesList_.Count() - 1; i >= 0; --i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->Active())
            over = series->CheckMouse(x, y) || over;
    return over;
}

// ---- drawing hooks

void TCustomAxisPanel::DoAfterDraw()
{
    if (OnAfterDraw)
        OnAfterDraw();
}

void TCustomAxisPanel::DoBeforeDrawAxes()
{
    if (OnBeforeDrawAxes)
        OnBeforeDrawAxes();
}

void TCustomAxisPanel::DoBeforeDrawChart()
{
    if (OnBeforeDrawChart)
        OnBeforeDrawChart();
}

void TCustomAxisPanel::DoBeforeDrawSeries()
{
    if (OnBeforeDrawSeries)
        OnBeforeDrawSeries();
}

bool TCustomAxisPanel::IsViewMirrored(int z)
{
    TPlotCanvas3D& canvas = Canvas();
    if (canvas.GetSupportsFeature() || !View3D())
        return false;
    const TRect& r = ChartRect;
    const TFourPoints corners = {canvas.ProjectToScreen(r.Left, r.Top, z), canvas.ProjectToScreen(r.Right, r.Top, z),
                                 canvas.ProjectToScreen(r.Right, r.Bottom, z),
                                 canvas.ProjectToScreen(r.Left, r.Bottom, z)};
    return !IsBackFaceQuad(corners);
}

void TCustomAxisPanel::DrawLegendRect(const TRect& rect)
{
    TPlotCanvas3D& canvas = Canvas();
    canvas.RectangleRect(rect);
    if (canvas.Brush().Color() != LegendBackColor)
        return;
    // A symbol of the legend's own colour would vanish: outline it once more.
    const TColor pen = canvas.Pen().Color();
    canvas.Brush().SetStyle(bsClear);
    if (canvas.Brush().Color() == clBlack)
        canvas.Pen().SetColor(clWhite);
    canvas.RectangleRect(rect);
    canvas.Pen().SetColor(pen);
}

QString TCustomAxisPanel::FormattedLegendText(TCustomChartSeries& series, int valueIndex)
{
    (void)series;
    (void)valueIndex;
    return {};
}

bool TCustomAxisPanel::ReadLegacyProperty(const QString& name, const QVariant& value)
{
    const auto is = [&name](const char* key) { return name.compare(QLatin1String(key), Qt::CaseInsensitive) == 0; };
    if (is("MaxPointsPerPage") || is("Page")) {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok)
            return false;
        if (is("Page"))
            pages_->SetCurrent(number);
        else
            pages_->SetMaxPointsPerPage(number);
        return true;
    }
    if (is("ScaleLastPage")) {
        pages_->SetScaleLastPage(value.toBool());
        return true;
    }
    return TCustomPlotPanelExtended::ReadLegacyProperty(name, value);
}

void TCustomAxisPanel::Assign(const TCustomAxisPanel& source)
{
    if (&source == this)
        return;
    chart3DPercent_ = source.chart3DPercent_;
    axisBehind_ = source.axisBehind_;
    axisVisible_ = source.axisVisible_;
    bottomAxis_->Assign(*source.bottomAxis_);
    clipPoints_ = source.clipPoints_;
    colorPalette_ = source.colorPalette_;
    customAxes_.Assign(source.customAxes_);
    leftAxis_->Assign(*source.leftAxis_);
    depthAxis_->Assign(*source.depthAxis_);
    depthTopAxis_->Assign(*source.depthTopAxis_);
    pages_->Assign(*source.pages_);
    rightAxis_->Assign(*source.rightAxis_);
    topAxis_->Assign(*source.topAxis_);
    view3DWalls_ = source.view3DWalls_;
    TCustomPlotPanelExtended::Assign(source);
}
