#ifndef ZENDRIK_FORMS_MAINCHART_H
#define ZENDRIK_FORMS_MAINCHART_H

#include "app/MainChartSeries.h"

#include <array>

class QWidget;
class TChart;
class TCustomSeries;

// The main chart (Chart1) with its 29 series in their start-up state, as the table of the main
// chart's series describes them: X in kHz, Y in dBuV, each series' Name its designer name
// ("Series1" .. "Series29", which chart files store).
class MainChart {
public:
    static constexpr int kSeriesCount = kMainSeriesCount;

    // The chart is a child of parent and owns its series.
    explicit MainChart(QWidget* parent);
    MainChart(const MainChart&) = delete;
    MainChart& operator=(const MainChart&) = delete;

    // The series of a role, never null; the segment marks are point series, the others lines.
    TCustomSeries* Series(SeriesRole role) const { return series_[IndexOf(role)]; }
    // SeriesN for n in 1..29, null for any other number.
    TCustomSeries* Series(int number) const;
    // The same series for the logic (measurement, reports, projects, colours).
    const MainChartSeries& ByRole() const { return byRole_; }

    TChart* chart = nullptr; // Chart1

private:
    std::array<TCustomSeries*, kSeriesCount> series_{};
    MainChartSeries byRole_;
};

#endif
