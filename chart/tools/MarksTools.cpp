#include "chart/tools/MarksTools.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCursors.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"

#include <QTimer>
#include <QToolTip>

namespace {

TCustomAxisPanel* PanelOf(const TPlotCustomTool& tool)
{
    ChartParent* chart = tool.ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

bool OnChart(const TCustomAxisPanel* panel, const TChartSeries* series)
{
    return panel && series && panel->SeriesList().IndexOf(series) >= 0;
}

} // namespace

// ---- drag marks

QString TDragMarksTool::Description() const { return QStringLiteral("Drag Marks"); }

QString TDragMarksTool::LongDescription() const
{
    return QStringLiteral("Moves Series marks when dragging them with mouse.");
}

TCustomAxisPanel* TDragMarksTool::Panel() const { return PanelOf(*this); }

bool TDragMarksTool::StillOnChart(const TChartSeries* series) const { return OnChart(Panel(), series); }

bool TDragMarksTool::MarkAt(int x, int y, TChartSeries*& series, int& index) const
{
    auto hit = [&](TChartSeries* s) {
        if (!s || !s->Active() || !s->Marks().Visible())
            return false;
        index = s->Marks().Clicked(x, y);
        series = s;
        return index >= 0;
    };
    if (Series())
        return hit(Series());
    const TCustomAxisPanel* panel = Panel();
    for (int i = panel ? panel->SeriesCount() - 1 : -1; i >= 0; --i)
        if (hit(panel->ChartSeries(i)))
            return true;
    return false;
}

void TDragMarksTool::ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    switch (kind) {
    case cmeDown: {
        TChartSeries* series = nullptr;
        int index = -1;
        if (MarkAt(x, y, series, index)) {
            dragged_ = series;
            index_ = index;
            lastX_ = x;
            lastY_ = y;
            panel->CancelMouse = true;
        }
        break;
    }
    case cmeMove:
        if (dragged_ && StillOnChart(dragged_)) {
            if (const TSeriesMarkPosition* old = dragged_->Marks().Positions().Position(index_)) {
                TSeriesMarkPosition moved = *old;
                const int dx = x - lastX_, dy = y - lastY_;
                moved.LeftTop.X += dx;
                moved.LeftTop.Y += dy;
                moved.ArrowTo.X += dx;
                moved.ArrowTo.Y += dy;
                dragged_->Marks().Positions().SetPosition(index_, moved);
                dragged_->Repaint();
            }
            lastX_ = x;
            lastY_ = y;
            panel->CancelMouse = true;
            if (OnDraggingMark)
                OnDraggingMark(this, index_, button, shift, x, y);
        } else {
            dragged_ = nullptr;
            TChartSeries* series = nullptr;
            int index = -1;
            if (MarkAt(x, y, series, index)) {
                panel->SetChartCursor(crHandPoint);
                panel->CancelMouse = true;
            }
        }
        break;
    case cmeUp:
        if (dragged_) {
            const int index = index_;
            dragged_ = nullptr;
            index_ = -1;
            if (OnDraggedMark)
                OnDraggedMark(this, index, button, shift, x, y);
        }
        break;
    }
}

// ---- mark tips

TMarksTipTool::TMarksTipTool() : timer_(std::make_unique<QTimer>())
{
    timer_->setSingleShot(true);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] {
        try {
            ShowTip();
        } catch (...) {
            ReportChartError("TMarksTipTool::ShowTip");
        }
    });
}

TMarksTipTool::~TMarksTipTool()
{
    MarkDestroying();
    timer_->stop();
}

QString TMarksTipTool::Description() const { return QStringLiteral("Mark Tips"); }

QString TMarksTipTool::LongDescription() const
{
    return QStringLiteral("Displays \"tips\" or \"hints\" when the end-user moves or clicks the mouse over a series point.");
}

TCustomAxisPanel* TMarksTipTool::Panel() const { return PanelOf(*this); }

int TMarksTipTool::MouseDelay() const { return settings_ ? settings_->HintPause : mouseDelay_; }

void TMarksTipTool::SetMouseDelay(int value) { (settings_ ? settings_->HintPause : mouseDelay_) = value; }

int TMarksTipTool::HideDelay() const { return settings_ ? settings_->HintHidePause : hideDelay_; }

void TMarksTipTool::SetHideDelay(int value) { (settings_ ? settings_->HintHidePause : hideDelay_) = value; }

void TMarksTipTool::SetActive(bool value)
{
    if (!value && Active())
        CancelHint();
    TPlotCustomToolSeries::SetActive(value);
}

void TMarksTipTool::SetMouseAction(TMarkToolMouseAction value)
{
    if (mouseAction_ == value)
        return;
    mouseAction_ = value;
    CancelHint();
}

bool TMarksTipTool::PointAt(int x, int y, TChartSeries*& series, int& index) const
{
    auto hit = [&](TChartSeries* s) {
        if (!s || !s->Active())
            return false;
        index = s->Clicked(x, y);
        series = s;
        return index >= 0;
    };
    if (hit(Series()))
        return true;
    const TCustomAxisPanel* panel = Panel();
    for (int i = panel ? panel->SeriesCount() - 1 : -1; i >= 0; --i)
        if (panel->ChartSeries(i) != Series() && hit(panel->ChartSeries(i)))
            return true;
    return false;
}

// The text in the tool's mark style: the series' marks take that style for the moment, with the
// chart's repaints held so that nothing is drawn again for it.
QString TMarksTipTool::MarkText(TChartSeries& series, int index)
{
    TCustomAxisPanel* panel = Panel();
    const bool repaint = panel->RepaintOnChange();
    panel->SetRepaintOnChange(false);
    TSeriesMarks& marks = series.Marks();
    const TSeriesMarksStyle kept = marks.Style();
    marks.SetStyle(style_);
    QString text;
    try {
        text = series.GetMarkText(index);
    } catch (...) {
        marks.SetStyle(kept);
        panel->SetRepaintOnChange(repaint);
        throw;
    }
    marks.SetStyle(kept);
    panel->SetRepaintOnChange(repaint);
    return text;
}

bool TMarksTipTool::OtherTipToolOnChart() const
{
    ChartParent* chart = ParentChart();
    if (!chart)
        return false;
    TChartTools& tools = chart->Tools();
    for (int i = 0; i < tools.Count(); ++i)
        if (tools[i] != this && tools[i]->Active() && dynamic_cast<const TMarksTipTool*>(tools[i]))
            return true;
    return false;
}

void TMarksTipTool::CancelHint()
{
    timer_->stop();
    const bool had = tipIndex_ >= 0;
    tipSeries_ = nullptr;
    tipIndex_ = -1;
    if (TCustomAxisPanel* panel = Panel()) {
        panel->setToolTip(QString());
        if (had)
            QToolTip::hideText();
    }
    if (OnCancelHint)
        OnCancelHint(this);
}

void TMarksTipTool::ShowTip()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || !Active() || tipIndex_ < 0 || !OnChart(panel, tipSeries_) || tipIndex_ >= tipSeries_->Count())
        return;
    QString text = MarkText(*tipSeries_, tipIndex_);
    if (OnGetText)
        OnGetText(this, text);
    text.replace(kChartLineSeparator, QChar('\n'));
    panel->setToolTip(text);
    QToolTip::showText(panel->mapToGlobal(tipAt_), text, panel, QRect(), HideDelay());
}

void TMarksTipTool::ChartMouseEvent(TChartMouseEvent kind, int, int, int x, int y)
{
    if (!Panel() || kind != (mouseAction_ == mtmMove ? cmeMove : cmeDown))
        return;
    TChartSeries* series = nullptr;
    int index = -1;
    if (!PointAt(x, y, series, index)) {
        if (!OtherTipToolOnChart() && (tipIndex_ >= 0 || timer_->isActive()))
            CancelHint();
        return;
    }
    if (series == tipSeries_ && index == tipIndex_)
        return;
    tipSeries_ = series;
    tipIndex_ = index;
    tipAt_ = QPoint(x, y);
    timer_->start(std::max(0, MouseDelay()));
}
