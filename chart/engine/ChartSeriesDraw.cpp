// The drawing loop of a series, its marks and the texts of marks and legend rows.
#include "chart/engine/ChartSeries.h"

#include "app/DateTimeText.h"
#include "app/NumberText.h"
#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartTools.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesRoutines.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>
#include <cmath>

namespace {

// The value of the not-mandatory axis at an edge of the chart rectangle: E(A, B, C, D) is asked
// with (left, top, right, bottom) for the low end and (right, bottom, left, top) for the high end.
double EdgeValue(const SeriesAxis& axis, int a, int b, int c, int d)
{
    const auto* chartAxis = dynamic_cast<const TChartAxis*>(&axis);
    const bool inverted = chartAxis && chartAxis->Inverted();
    const int minimumOffset = chartAxis ? chartAxis->MinimumOffset() : 0;
    const int maximumOffset = chartAxis ? chartAxis->MaximumOffset() : 0;
    const bool offsets = minimumOffset != 0 || maximumOffset != 0;
    int pixel;
    if (axis.Horizontal()) {
        pixel = inverted ? c : a;
        if (offsets)
            pixel = c < a ? pixel - maximumOffset : pixel + minimumOffset;
    } else {
        pixel = inverted ? b : d;
        if (offsets)
            pixel = b <= d ? pixel - maximumOffset : pixel + minimumOffset;
    }
    return axis.PixelToValue(pixel);
}

// The visible range as a scan from the ends finds it, over values[begin..end]; the indexes are
// those of the whole list.
void ScanVisible(std::span<const double> v, int begin, int end, double low, double high, bool drawBetween,
                 int& first, int& last)
{
    first = last = -1;
    int f = begin;
    if (v[begin] <= low) {
        while (f <= end && v[f] < low)
            ++f;
        if (f > end)
            return;
    }
    int l = end;
    if (v[end] > high) {
        l = f;
        while (l < end && v[l] < high)
            ++l;
        if (!drawBetween)
            while (l > begin && v[l] > high)
                --l;
    }
    first = f;
    last = l;
}

// The same indexes on ascending values by binary search: the first value at or above low, and
// the first at or above high (or the one before it when that lies beyond high).
void SearchVisible(std::span<const double> v, int begin, int end, double low, double high, bool drawBetween,
                   int& first, int& last)
{
    first = last = -1;
    const double* data = v.data();
    int f = begin;
    if (data[begin] <= low) {
        f = static_cast<int>(std::lower_bound(data + begin, data + end + 1, low) - data);
        if (f > end)
            return;
    }
    int l = end;
    if (data[end] > high) {
        l = static_cast<int>(std::lower_bound(data + f, data + end + 1, high) - data);
        if (!drawBetween)
            while (l > begin && data[l] > high)
                --l;
    }
    first = f;
    last = l;
}

} // namespace

void CalcVisibleRange(std::span<const double> values, int begin, int end, double low, double high, bool ascending,
                      bool drawBetween, int& first, int& last)
{
    if (ascending)
        SearchVisible(values, begin, end, low, high, drawBetween, first, last);
    else
        ScanVisible(values, begin, end, low, high, drawBetween, first, last);
}

void TChartSeries::CalcFirstLastVisibleIndex()
{
    FirstValueIndex = LastValueIndex = -1;
    if (Count() == 0)
        return;
    int begin = 0, end = Count() - 1;
    CalcFirstLastPage(begin, end);
    if (begin < 0 || end < begin)
        return;
    const TChartValueList& order = *notMandatory_;
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    const SeriesAxis* axis = yMandatory_ ? horizAxisRef_ : vertAxisRef_;
    if (!CalcVisiblePoints || order.Order() == loNone || !panel || !axis) {
        FirstValueIndex = begin;
        LastValueIndex = end;
        return;
    }
    const TRect& r = panel->ChartRect;
    const double low = EdgeValue(*axis, r.Left, r.Top, r.Right, r.Bottom);
    const double high = EdgeValue(*axis, r.Right, r.Bottom, r.Left, r.Top);
    CalcVisibleRange(order.Values(), begin, end, low, high, order.Order() == loAscending, DrawBetweenPoints,
                     FirstValueIndex, LastValueIndex);
}

bool TChartSeries::DrawValuesForward() const
{
    const ChartParent* chart = ParentChart();
    const TCustomAxisPanel* panel = chart ? const_cast<ChartParent*>(chart)->AxisPanel() : nullptr;
    return !(panel && panel->View3D() && panel->ReversedOrder);
}

bool TChartSeries::IsNormalSideView() const
{
    return DrawValuesForward();
}

void TChartSeries::DrawAllValues()
{
    const int first = FirstValueIndex;
    const int last = LastValueIndex;
    if (first < 0 || last < first)
        return;
    if (DrawValuesForward()) {
        for (int i = first; i <= last; ++i)
            DrawValue(i);
    } else {
        for (int i = last; i >= first; --i)
            DrawValue(i);
    }
}

namespace {

void TellSeriesTools(TChartSeries& series, TChartSeriesToolEvent kind)
{
    ChartParent* chart = series.ParentChart();
    if (!chart)
        return;
    TChartTools& tools = chart->Tools();
    for (int i = 0; i < tools.Count(); ++i)
        if (auto* tool = dynamic_cast<TPlotCustomToolSeries*>(tools[i]); tool && tool->Active() && tool->Series() == &series)
            tool->SeriesEvent(kind);
}

} // namespace

void TChartSeries::DoBeforeDrawValues()
{
    TellSeriesTools(*this, steBeforeDrawValues);
    if (BeforeDrawValues)
        BeforeDrawValues(this);
}

void TChartSeries::DoAfterDrawValues()
{
    TellSeriesTools(*this, steAfterDrawValues);
    if (AfterDrawValues)
        AfterDrawValues(this);
}

bool TChartSeries::IsPointInChartRect(int valueIndex) const
{
    const ChartParent* chart = ParentChart();
    const TCustomAxisPanel* panel = chart ? const_cast<ChartParent*>(chart)->AxisPanel() : nullptr;
    if (!panel)
        return false;
    const QPoint p = CalcPointPos(valueIndex);
    return PointInRect(panel->ChartRect, p.x(), p.y());
}

// ---- marks

void TChartSeries::DrawMarks()
{
    const int first = FirstValueIndex;
    const int last = std::min(LastValueIndex, Count() - 1);
    if (first < 0 || last < first || !marks_->ParentChart())
        return;
    const int every = std::max(1, marks_->DrawEvery());
    for (int i = first; i <= last; ++i) {
        if (i % every != 0 || IsNull(i) || IsMissingPoint(i))
            continue;
        const QString text = GetMarkText(i);
        if (text.isEmpty())
            continue;
        TPlotCustomShape& item = marks_->ItemOf(i);
        if (!item.Visible())
            continue;
        TSeriesMarkPosition position = marks_->MarkPosition(item, text, XToPixel(i), YToPixel(i));
        marks_->ApplyArrowLength(position);
        DrawMark(i, text, position);
    }
}

void TChartSeries::DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position)
{
    marks_->DrawItem(valueIndex, GetValueColor(valueIndex), text, position);
}

gdi::Size TChartSeries::MaxMarkSize()
{
    gdi::Size largest{};
    for (int i = 0; i < Count(); ++i)
        if (marks_->ItemOf(i).Visible()) {
            const gdi::Size size = marks_->TextSize(i);
            largest = gdi::Size{std::max(largest.cx, size.cx), std::max(largest.cy, size.cy)};
        }
    return largest;
}

// ---- texts

QString TChartSeries::ValueMarkText(int valueIndex)
{
    return FormatFloat(valueFormat_, GetMarkValue(valueIndex));
}

QString TChartSeries::LabelMarkText(int valueIndex)
{
    const QString label = XLabel(valueIndex);
    return label.isEmpty() ? ValueMarkText(valueIndex) : label;
}

QString TChartSeries::XValueMarkText(int valueIndex)
{
    const double x = GetPointX(valueIndex);
    if (auto* axis = dynamic_cast<TChartAxis*>(horizAxisRef_))
        return axis->LabelTextOfValue(x);
    return FormatFloat(valueFormat_, x);
}

QString TChartSeries::PercentMarkText(int valueIndex, bool withTotal)
{
    const double total = mandatory_->TotalABS();
    const double percent = total == 0.0 ? 100.0 : std::fabs(GetMarkValue(valueIndex)) * 100.0 / total;
    const QString text = FormatFloat(percentFormat_, percent);
    if (!withTotal)
        return text;
    InitChartMessages();
    const QString& pattern = PlotMessage(marks_->MultiLine() ? PlotMsg::FmtOfTwoLines : PlotMsg::FmtOf);
    return seriestexts::FormatText(pattern, {text, FormatFloat(valueFormat_, total)});
}

QString TChartSeries::GetMarkText(int valueIndex)
{
    QString text;
    if (TMarksItem* item = marks_->Items().Item(valueIndex); item && item->HasText()) {
        text = item->TextLines().join(kChartLineSeparator);
        if (text.endsWith(kChartLineSeparator))
            text.chop(1);
    } else {
        const QChar sep = marks_->MultiLine() ? kChartLineSeparator : QChar(' ');
        switch (marks_->Style()) {
        case smsValue: text = ValueMarkText(valueIndex); break;
        case smsPercent: text = PercentMarkText(valueIndex, false); break;
        case smsLabel: text = LabelMarkText(valueIndex); break;
        case smsLabelPercent: text = LabelMarkText(valueIndex) + sep + PercentMarkText(valueIndex, false); break;
        case smsLabelValue: text = LabelMarkText(valueIndex) + sep + ValueMarkText(valueIndex); break;
        case smsLegend:
            if (ChartParent* chart = ParentChart(); chart && chart->AxisPanel())
                text = chart->AxisPanel()->FormattedLegendText(*this, valueIndex);
            if (!marks_->MultiLine())
                text.replace(kChartColumnSeparator, QChar(' '));
            break;
        case smsPercentTotal: text = PercentMarkText(valueIndex, true); break;
        case smsLabelPercentTotal: text = LabelMarkText(valueIndex) + sep + PercentMarkText(valueIndex, true); break;
        case smsXValue: text = XValueMarkText(valueIndex); break;
        case smsXY: text = XValueMarkText(valueIndex) + sep + ValueMarkText(valueIndex); break;
        case smsSeriesTitle: text = SeriesTitleOrName(*this); break;
        case smsPointIndex: text = QString::number(valueIndex); break;
        case smsPercentRelative: {
            const double base = GetMarkValue(0);
            const double percent = valueIndex == 0 ? 100.0 : GetMarkValue(valueIndex) * 100.0 / base;
            text = FormatFloat(percentFormat_, percent);
            break;
        }
        }
    }
    if (OnGetMarkText)
        OnGetMarkText(this, valueIndex, text);
    return text;
}

int TChartSeries::LegendToValueIndex(int legendIndex) const
{
    if (!HasMissingPoints())
        return legendIndex;
    for (int i = 0, seen = 0; i < Count(); ++i)
        if (!IsMissingPoint(i) && seen++ == legendIndex)
            return i;
    return legendIndex;
}

int TChartSeries::CountLegendItems() const
{
    if (!HasMissingPoints())
        return Count();
    int listed = 0;
    for (int i = 0; i < Count(); ++i)
        listed += IsMissingPoint(i) ? 0 : 1;
    return listed;
}

QString TChartSeries::LegendString(int legendIndex, TLegendTextStyle style)
{
    const int valueIndex = LegendToValueIndex(legendIndex);
    const QString label = XLabel(valueIndex);
    if (style == ltsPlain)
        return label;
    const double v = mandatory_->Value(valueIndex);
    const QString valueColumn = mandatory_->DateTime() ? FormatDateTimeText(QStringLiteral("c"), v)
                                                       : FormatFloat(valueFormat_, v);
    const double total = mandatory_->TotalABS();
    const QString percentColumn = FormatFloat(percentFormat_, total == 0.0 ? 100.0 : v * 100.0 / total);
    const QString xColumn = XValueMarkText(valueIndex);
    const QChar sep = kChartColumnSeparator;
    auto before = [&](const QString& column) { return label.isEmpty() ? column : column + sep + label; };
    auto after = [&](const QString& column) { return label.isEmpty() ? column : label + sep + column; };
    switch (style) {
    case ltsPlain: return label;
    case ltsLeftValue: return before(valueColumn);
    case ltsRightValue: return after(valueColumn);
    case ltsLeftPercent: return before(percentColumn);
    case ltsRightPercent: return after(percentColumn);
    case ltsXValue: return xColumn;
    case ltsValue: return valueColumn;
    case ltsPercent: return percentColumn;
    case ltsXAndValue: return xColumn + sep + valueColumn;
    case ltsXAndPercent: return xColumn + sep + percentColumn;
    }
    return label;
}

// ---- legend symbol

void TChartSeries::DrawLegend(int valueIndex, const TRect& rect)
{
    if (valueIndex == -1 && ColorEachPoint())
        return;
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    if (!panel)
        return;
    TColor color = valueIndex == -1 ? SeriesColor() : LegendItemColor(valueIndex);
    if (color == clNone)
        return;
    // Setting the canvas up touches series settings; none of it may ask for another drawing.
    const bool repaint = panel->RepaintOnChange();
    panel->SetRepaintOnChange(false);
    struct Restore {
        TCustomAxisPanel& panel;
        bool repaint;
        ~Restore() { panel.SetRepaintOnChange(repaint); }
    } restore{*panel, repaint};

    TPlotCanvas3D& canvas = panel->Canvas();
    canvas.AssignVisiblePen(Pen());
    TBrushStyle style = Brush().Style();
    PrepareLegendCanvas(valueIndex, color, style);
    if (panel->LegendPen)
        canvas.AssignVisiblePen(*panel->LegendPen);
    const TColor back = panel->LegendBackColor == clDefault ? panel->Color() : panel->LegendBackColor;
    canvas.AssignBrushColor(Brush(), color, back);
    if (canvas.Brush().Bitmap().isNull() && canvas.Brush().Style() != style)
        canvas.Brush().SetStyle(style);
    DrawLegendShape(valueIndex, rect);
}

void TChartSeries::PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle)
{
    (void)valueIndex;
    (void)color;
    (void)brushStyle;
}

void TChartSeries::DrawLegendShape(int valueIndex, const TRect& rect)
{
    (void)valueIndex;
    if (ChartParent* chart = ParentChart(); chart && chart->AxisPanel())
        chart->AxisPanel()->DrawLegendRect(rect);
}
