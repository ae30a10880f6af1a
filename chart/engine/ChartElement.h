#ifndef ZENDRIK_CHART_ENGINE_CHARTELEMENT_H
#define ZENDRIK_CHART_ENGINE_CHARTELEMENT_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotColor.h"
#include "chart/engine/ChartComponent.h"

#include <QString>
#include <memory>

class ChartParent;

// A part of a chart that is drawn and can be switched off: series and tools.
class TCustomChartElement : public ChartComponent {
public:
    TCustomChartElement();
    ~TCustomChartElement() override;

    QString ClassName() const override { return QStringLiteral("TCustomChartElement"); }
    virtual QString EditorClassName() const { return {}; }

    bool Active() const { return active_; }
    virtual void SetActive(bool value);
    ChartParent* ParentChart() const { return parentChart_; }
    virtual void SetParentChart(ChartParent* chart);
    bool ShowInEditor() const { return showInEditor_; }
    void SetShowInEditor(bool value) { showInEditor_ = value; }
    // Pen and brush belong to the element; their changes repaint it. Setting copies.
    TChartPen& Pen();
    virtual void SetPen(const TChartPen& value);
    TChartBrush& Brush() { return *brush_; }
    void SetBrush(const TChartBrush& value) { brush_->Assign(value); }
    int Tag() const { return tag_; }
    void SetTag(int value) { tag_ = value; }

    // Invalidates the parent chart when there is one.
    void Repaint() const;
    void Assign(const TCustomChartElement& source);

protected:
    virtual void RepaintHook() {}
    // Series types with their own kind of pen override this; it runs on first use of Pen().
    virtual std::unique_ptr<TChartPen> CreateChartPen();
    // Store-and-repaint: stores and repaints only on a real change.
    template <typename T>
    void SetAndRepaint(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Repaint();
    }
    void SetParentChartField(ChartParent* chart) { parentChart_ = chart; }

private:
    bool active_ = true;
    std::unique_ptr<TChartBrush> brush_;
    ChartParent* parentChart_ = nullptr;
    std::unique_ptr<TChartPen> pen_;
    bool showInEditor_ = true;
    int tag_ = 0;
};

// A series as the chart's lists, legend and events see it.
class TCustomChartSeries : public TCustomChartElement {
public:
    TCustomChartSeries() = default;
    ~TCustomChartSeries() override = default;

    QString ClassName() const override { return QStringLiteral("TCustomChartSeries"); }

    bool ShowInLegend() const { return showInLegend_; }
    void SetShowInLegend(bool value) { SetAndRepaint(showInLegend_, value); }
    const QString& Title() const { return title_; }
    void SetTitle(const QString& value);
    const QString& Identifier() const { return identifier_; }
    void SetIdentifier(const QString& value) { identifier_ = value; }
    int Style() const { return style_; }
    void SetStyle(int value) { style_ = value & 63; }

    void SetActive(bool value) override;
    // The component name, or "Series" and the 1-based place in the chart's series list.
    QString SeriesName() const;

    virtual void CalcHorizMargins(int& left, int& right) const { left = right = 0; }
    virtual void CalcVerticalMargins(int& top, int& bottom) const { top = bottom = 0; }
    virtual void DoBeforeDrawChart() {}
    void SetChartView3D(bool value);

private:
    bool showInLegend_ = true;
    QString title_;
    QString identifier_;
    int style_ = 0;
};

#endif
