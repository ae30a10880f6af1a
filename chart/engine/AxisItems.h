#ifndef ZENDRIK_CHART_ENGINE_AXISITEMS_H
#define ZENDRIK_CHART_ENGINE_AXISITEMS_H

#include "chart/canvas/PlotShape.h"

#include <QString>
#include <memory>
#include <vector>

class TAxisItems;
class TChartAxis;

// One custom label of an axis: a value, a text and its own shape.
class TAxisItem : public TPlotCustomShape {
public:
    TAxisItem(PlotShapeOwner* chart, TAxisItems* owner);

    double Value() const { return value_; }
    void SetValue(double value) { SetAndRepaint(value_, value); }
    const QString& Text() const { return text_; }
    void SetText(const QString& value) { SetAndRepaint(text_, value); }
    TAxisItems* Owner() const { return owner_; }

private:
    friend class TAxisItems;
    TAxisItems* owner_ = nullptr;
    double value_ = 0.0;
    QString text_;
};

// The labels of an axis. While Automatic holds, the axis refills the list with one item per
// drawn label; once the application adds an item, the items are the labels.
class TAxisItems {
public:
    TAxisItems(TChartAxis* axis, PlotShapeOwner* chart);
    ~TAxisItems();
    TAxisItems(const TAxisItems&) = delete;
    TAxisItems& operator=(const TAxisItems&) = delete;

    TPlotShape& Format() { return *format_; }
    const TPlotShape& Format() const { return *format_; }
    TChartAxis* Axis() const { return axis_; }
    bool Automatic() const { return automatic_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TAxisItem* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
    TAxisItem* GetItemAt(int index) const { return Items(index); }
    TAxisItem* operator[](int index) const { return Items(index); }

    TAxisItem& Add(double value);
    TAxisItem& Add(double value, const QString& text);
    void Clear();
    void Assign(const TAxisItems& source);

    // The axis' own refill while Automatic holds: no repaint, the flag stays.
    void ClearAutomatic() { items_.clear(); }
    void AddAutomatic(double value, const QString& text);

private:
    TAxisItem& Append(double value);

    TChartAxis* axis_ = nullptr;
    PlotShapeOwner* chart_ = nullptr;
    std::unique_ptr<TPlotShape> format_;
    std::vector<std::unique_ptr<TAxisItem>> items_;
    bool automatic_ = true;
};

#endif
