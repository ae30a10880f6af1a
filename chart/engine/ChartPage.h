#ifndef ZENDRIK_CHART_ENGINE_CHARTPAGE_H
#define ZENDRIK_CHART_ENGINE_CHARTPAGE_H

class TChartAxis;
class TCustomAxisPanel;

// Paging of a chart: with MaxPointsPerPage above 0 only the points of the current page are drawn
// and the axes scale to that page.
class TChartPage {
public:
    explicit TChartPage(TCustomAxisPanel* chart = nullptr) : chart_(chart) {}

    // The four settings, stored directly.
    void Assign(const TChartPage& source);

    bool AutoScale() const { return autoScale_; }
    void SetAutoScale(bool value);
    // 1-based; clamped to 1..NumPages.
    int Current() const { return current_; }
    void SetCurrent(int value);
    int MaxPointsPerPage() const { return maxPointsPerPage_; }
    // A negative value raises ChartException; the old value stays.
    void SetMaxPointsPerPage(int value);
    bool ScaleLastPage() const { return scaleLastPage_; }
    void SetScaleLastPage(bool value);

    int NumPages() const;
    // Index of the current page's first point.
    int FirstValueIndex() const { return (current_ - 1) * maxPointsPerPage_; }

private:
    int AxisPageCount(const TChartAxis* axis) const;
    void Changed();

    TCustomAxisPanel* chart_ = nullptr;
    bool autoScale_ = false;
    int current_ = 1;
    int maxPointsPerPage_ = 0;
    bool scaleLastPage_ = true;
};

#endif
