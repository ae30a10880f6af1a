#ifndef ZENDRIK_CHART_TOOLS_ANTIALIASTOOL_H
#define ZENDRIK_CHART_TOOLS_ANTIALIASTOOL_H

#include "chart/canvas/PlotFilters.h"
#include "chart/engine/ChartTools.h"

#include <QByteArray>
#include <QString>
#include <memory>

class TAntiAliasCanvas;
class TCustomAxisPanel;
struct ChartUnitState;

// Smooths its chart's lines and curves by putting a smoothing canvas in place of the chart's own,
// and runs a list of image filters over every finished picture. Inactive, it leaves the canvas in
// the chart with smoothing switched off.
//
// The tool makes the canvas and owns it until a chart takes it over; then the chart owns it and
// the tool keeps a plain pointer, which the canvas clears when it goes. A chart keeps one canvas
// of its own at any time: when the tool moves on, the chart it leaves gets a plain canvas with the
// same settings and the new chart a new smoothing canvas. A tool that is destroyed leaves its
// canvas with the chart, disabled.
class TAntiAliasTool : public TPlotCustomTool {
public:
    TAntiAliasTool();
    ~TAntiAliasTool() override;

    QString ClassName() const override { return QStringLiteral("TAntiAliasTool"); }
    QString EditorClassName() const override { return QStringLiteral("TAntiAliasEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    void SetActive(bool value) override;
    void SetParentChart(ChartParent* chart) override;
    void ChartEvent(TChartToolEvent kind) override;

    // True exactly when the canvas exists and is not disabled. Setting it makes the canvas when
    // there is none and puts it into the chart while the tool is active.
    bool AntiAlias() const;
    void SetAntiAlias(bool value);
    TAntiAliasCanvas* Canvas() const { return canvas_; }
    TFilterItems& Filters() { return filters_; }

    // The filters in the chart stream, under "FilterItems", written only when there is one.
    void WriteStreamProperties(QByteArray& out) const;
    // Reads the value of "FilterItems"; false, with the filters as they were, when it is malformed.
    bool ReadFilterItemsProperty(const QByteArray& value, QString* error = nullptr);

private:
    friend class TAntiAliasCanvas;
    void CanvasGone(const TAntiAliasCanvas* canvas);
    void Install();
    TCustomAxisPanel* Panel() const;

    TAntiAliasCanvas* canvas_ = nullptr;
    std::unique_ptr<TAntiAliasCanvas> ownedCanvas_;
    TFilterItems filters_;
};

// Registers the tool class with the chart unit at start-up; unregisters it at shut-down.
void StartAntiAliasUnit(ChartUnitState& unit);
void StopAntiAliasUnit(ChartUnitState& unit);

#endif
