#ifndef ZENDRIK_CHART_ENGINE_SERIESSOURCE_H
#define ZENDRIK_CHART_ENGINE_SERIESSOURCE_H

#include "chart/engine/ChartComponent.h"

#include <vector>

class ChartParent;
class TChartSeries;

// A component that loads points into a series from somewhere else. The base loads nothing;
// concrete sources fill Load.
class TPlotSeriesSource : public ChartComponent {
public:
    TPlotSeriesSource() = default;
    ~TPlotSeriesSource() override;

    QString ClassName() const override { return QStringLiteral("TPlotSeriesSource"); }

    bool Active() const { return active_; }
    virtual void SetActive(bool value);
    bool KeepPoints() const { return keepPoints_; }
    void SetKeepPoints(bool value) { keepPoints_ = value; }
    TChartSeries* Series() const { return series_; }
    void SetSeries(TChartSeries* series);

    static bool Available(const ChartParent* chart) { (void)chart; return true; }
    static QString Description() { return {}; }
    static bool HasNew() { return false; }
    virtual bool IsSourceOf(const TChartSeries& series) const;

    void Open() { SetActive(true); }
    virtual void Close();
    virtual void Load() {}
    void Refresh();
    virtual void Loaded();

protected:
    void Notification(ChartComponent* removed) override;

private:
    friend class TChartSeries;
    // The series dropped this source: forget it without calling back.
    void ForgetSeries();

    bool active_ = false;
    bool keepPoints_ = false;
    TChartSeries* series_ = nullptr;
};

// The sources feeding one series, first entry = its DataSource. The list refers to them; the
// series checks every source it is given and unlinks the ones that go.
class TDataSourcesList {
public:
    explicit TDataSourcesList(TChartSeries& series) : series_(series) {}
    TDataSourcesList(const TDataSourcesList&) = delete;
    TDataSourcesList& operator=(const TDataSourcesList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    ChartComponent* operator[](int index) const;
    int IndexOf(const ChartComponent* source) const;
    bool Contains(const ChartComponent* source) const { return IndexOf(source) >= 0; }

    // Validates through the series (ChartException when refused) and adds.
    void Add(ChartComponent* source);
    void Delete(int index);
    void Clear();

private:
    friend class TChartSeries;
    friend class TPlotSeriesSource;
    void Append(ChartComponent* source) { items_.push_back(source); }
    void EraseQuiet(const ChartComponent* source);

    TChartSeries& series_;
    std::vector<ChartComponent*> items_;
};

#endif
