#ifndef ZENDRIK_TESTS_CHART_ENGINE_ENGINEFAKES_H
#define ZENDRIK_TESTS_CHART_ENGINE_ENGINEFAKES_H

#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"
#include "chart/engine/SeriesAxis.h"

#include <QString>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace enginetest {

// A linear axis over [minimum, maximum] mapped to [startPixel, endPixel]; vertical axes grow
// upwards as on screen.
class FakeAxis : public SeriesAxis {
public:
    FakeAxis(bool horizontal, double minimum, double maximum, int startPixel, int endPixel)
        : horizontal_(horizontal), min_(minimum), max_(maximum), start_(startPixel), end_(endPixel) {}

    int ValueToPixel(double value) const override
    {
        const double d = (value - min_) * (end_ - start_) / (max_ - min_);
        return static_cast<int>(std::nearbyint(horizontal_ ? start_ + d : end_ - d));
    }
    double PixelToValue(int pixel) const override
    {
        const double t = (horizontal_ ? pixel - start_ : end_ - pixel) * (max_ - min_) / (end_ - start_);
        return min_ + t;
    }
    double CurrentMinimum() const override { return min_; }
    double CurrentMaximum() const override { return max_; }
    bool Horizontal() const override { return horizontal_; }
    ChartParent* ParentChart() const override { return chart; }
    SeriesAxis* MasterAxis() const override { return master; }
    void SetRange(double minimum, double maximum) override { min_ = minimum, max_ = maximum; }

    ChartParent* chart = nullptr;
    SeriesAxis* master = nullptr;

private:
    bool horizontal_;
    double min_, max_;
    int start_, end_;
};

// A chart that owns its series and counts repaints and series events.
class FakeChart : public ChartParent {
public:
    FakeChart()
    {
        bottom.chart = top.chart = left.chart = right.chart = this;
    }
    ~FakeChart() override
    {
        destroying = true;
        owned.clear();
    }

    void Repaint() override { ++repaints; }
    TChartSeriesList& SeriesList() override { return list; }
    TChartTools& Tools() override { return tools; }
    SeriesAxis* BottomAxis() const override { return const_cast<FakeAxis*>(&bottom); }
    SeriesAxis* TopAxis() const override { return const_cast<FakeAxis*>(&top); }
    SeriesAxis* LeftAxis() const override { return const_cast<FakeAxis*>(&left); }
    SeriesAxis* RightAxis() const override { return const_cast<FakeAxis*>(&right); }
    void BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEventKind kind) override
    {
        events.emplace_back(series, kind);
    }
    int MaxPointsPerPage() const override { return pointsPerPage; }
    int CurrentPage() const override { return page; }
    bool View3D() const override { return view3D; }
    int SeriesDepth3D() const override { return seriesDepth; }
    bool ZOrderCheck() const override { return zOrderCheck; }
    bool ChartDestroying() const override { return destroying; }

    // Creates a series owned by this chart and adds it.
    TChartSeries& NewSeries()
    {
        owned.push_back(std::make_unique<TChartSeries>());
        owned.back()->SetParentChart(this);
        return *owned.back();
    }
    int CountEvents(TChartSeriesEventKind kind) const
    {
        int n = 0;
        for (const auto& e : events)
            n += e.second == kind;
        return n;
    }

    FakeAxis bottom{true, 0.0, 1000.0, 100, 1100};
    FakeAxis top{true, 0.0, 10.0, 100, 1100};
    FakeAxis left{false, -100.0, 100.0, 50, 450};
    FakeAxis right{false, 0.0, 1.0, 50, 450};
    TChartSeriesList list;
    TChartTools tools;
    std::vector<std::unique_ptr<TChartSeries>> owned;
    std::vector<std::pair<TCustomChartSeries*, TChartSeriesEventKind>> events;
    int repaints = 0;
    int pointsPerPage = 0;
    int page = 1;
    bool view3D = false;
    int seriesDepth = 0;
    bool zOrderCheck = false;
    bool destroying = false;
};

} // namespace enginetest

#endif
