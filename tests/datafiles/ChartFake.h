#ifndef ZENDRIK_TESTS_DATAFILES_CHARTFAKE_H
#define ZENDRIK_TESTS_DATAFILES_CHARTFAKE_H

#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"

#include <memory>
#include <vector>

// A bare chart that owns its series and counts repaints.
class CountingChart : public ChartParent {
public:
    ~CountingChart() override
    {
        destroying = true;
        owned.clear();
    }
    void Repaint() override { ++repaints; }
    TChartSeriesList& SeriesList() override { return list; }
    TChartTools& Tools() override { return tools; }
    bool ChartDestroying() const override { return destroying; }

    TChartSeries& NewSeries()
    {
        owned.push_back(std::make_unique<TChartSeries>());
        owned.back()->SetParentChart(this);
        return *owned.back();
    }

    TChartSeriesList list;
    TChartTools tools;
    std::vector<std::unique_ptr<TChartSeries>> owned;
    int repaints = 0;
    bool destroying = false;
};

#endif
