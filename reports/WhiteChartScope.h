#ifndef ZENDRIK_REPORTS_WHITECHARTSCOPE_H
#define ZENDRIK_REPORTS_WHITECHARTSCOPE_H

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotPanel.h"

// The chart's look for a metafile or a printout, white without its outer bevel, and its own look
// back on every path out of the scope.
class WhiteChartScope {
public:
    explicit WhiteChartScope(TCustomPlotPanel& chart)
        : chart_(chart)
        , color_(chart.Color())
        , bevel_(chart.BevelOuter())
    {
        chart_.SetColor(clWhite);
        chart_.SetBevelOuter(bvNone);
        try {
            chart_.Repaint();
        } catch (...) {
            Restore();
            throw;
        }
    }
    ~WhiteChartScope() { Restore(); }
    WhiteChartScope(const WhiteChartScope&) = delete;
    WhiteChartScope& operator=(const WhiteChartScope&) = delete;

private:
    void Restore() noexcept
    {
        chart_.SetColor(color_);
        chart_.SetBevelOuter(bevel_);
        try {
            chart_.Repaint();
        } catch (...) {
            // The look is back; the next paint draws it.
            ReportChartError("WhiteChartScope::Restore");
        }
    }

    TCustomPlotPanel& chart_;
    TColor color_;
    TBevelCut bevel_;
};

#endif
