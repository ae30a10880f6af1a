#ifndef ZENDRIK_TESTS_ENGINE_AXISTESTSUPPORT_H
#define ZENDRIK_TESTS_ENGINE_AXISTESTSUPPORT_H

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisParent.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"

#include <QString>
#include <memory>
#include <vector>

namespace axistest {

// A canvas that draws into its bitmap and records the texts and line segments it was given.
class RecordingCanvas : public TPlotCanvas3D {
public:
    struct Text {
        int x, y, z;
        QString text;
        double angle;
        uint32_t align;
        int fontSize;
    };
    struct Line {
        int x0, y0, x1, y1;
        TColor color;
    };

    void TextOutAtDepth(int32_t x, int32_t y, int32_t z, const QString& text) override
    {
        texts.push_back({x, y, z, text, 0.0, GetTextAlign(), Font().Size()});
        TPlotCanvas3D::TextOutAtDepth(x, y, z, text);
    }
    void RotateLabelAtDepth(int32_t x, int32_t y, int32_t z, const QString& text, double angle) override
    {
        texts.push_back({x, y, z, text, angle, GetTextAlign(), Font().Size()});
        TPlotCanvas3D::RotateLabelAtDepth(x, y, z, text, angle);
    }
    void MoveTo(int32_t x, int32_t y) override
    {
        cx = x, cy = y;
        TPlotCanvas3D::MoveTo(x, y);
    }
    void LineTo(int32_t x, int32_t y) override
    {
        lines.push_back({cx, cy, x, y, Pen().Color()});
        cx = x, cy = y;
        TPlotCanvas3D::LineTo(x, y);
    }
    int32_t TextWidth(const QString& text) override
    {
        ++widthCalls;
        return TPlotCanvas3D::TextWidth(text);
    }
    void Forget()
    {
        texts.clear();
        lines.clear();
    }

    std::vector<Text> texts;
    std::vector<Line> lines;
    int cx = 0, cy = 0;
    int widthCalls = 0;
};

// A flat chart with the six standard axes over a chart rectangle, owning its series.
class AxisChart : public AxisParent {
public:
    explicit AxisChart(TRect rect = TRect{100, 50, 1100, 450}) : chartRect(rect)
    {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 1300, 600});
        canvas.SetProjectionCentre(0, TRect{0, 0, 1300, 600});
        canvas.ResetState();
        left = std::make_unique<TChartAxis>(*this, false, false);
        top = std::make_unique<TChartAxis>(*this, true, true);
        right = std::make_unique<TChartAxis>(*this, false, true);
        bottom = std::make_unique<TChartAxis>(*this, true, false);
        depth = std::make_unique<TChartDepthAxis>(*this, false);
        depthTop = std::make_unique<TChartDepthAxis>(*this, true);
        repaints = 0;
    }
    ~AxisChart() override
    {
        destroying = true;
        owned.clear();
        custom.clear();
        depthTop.reset();
        depth.reset();
        bottom.reset();
        right.reset();
        top.reset();
        left.reset();
    }

    void Repaint() override { ++repaints; }
    TChartSeriesList& SeriesList() override { return list; }
    TChartTools& Tools() override { return tools; }
    TRect ChartRect() const override { return chartRect; }
    TCanvas3D& Canvas() override { return canvas; }
    TChartAxes& AxesList() override { return axes; }
    SeriesAxis* BottomAxis() const override { return bottom.get(); }
    SeriesAxis* TopAxis() const override { return top.get(); }
    SeriesAxis* LeftAxis() const override { return left.get(); }
    SeriesAxis* RightAxis() const override { return right.get(); }
    SeriesAxis* DepthAxis() const override { return depth.get(); }
    SeriesAxis* DepthTopAxis() const override { return depthTop.get(); }
    bool ChartLoading() const override { return loading; }
    bool ChartDestroying() const override { return destroying; }
    bool AxesFastCalc() const override { return fastCalc; }
    int32_t PixelLimit() const override { return pixelLimit; }
    int Width3D() const override { return depth3D; }

    TChartSeries& NewSeries()
    {
        owned.push_back(std::make_unique<TChartSeries>());
        owned.back()->SetParentChart(this);
        return *owned.back();
    }
    TChartAxis& NewCustomAxis(bool horizontal)
    {
        custom.push_back(std::make_unique<TChartAxis>(*this, horizontal, false));
        return *custom.back();
    }

    TRect chartRect;
    RecordingCanvas canvas;
    TChartSeriesList list;
    TChartTools tools;
    TChartAxes axes{*this};
    std::unique_ptr<TChartAxis> left, top, right, bottom;
    std::unique_ptr<TChartDepthAxis> depth, depthTop;
    std::vector<std::unique_ptr<TChartAxis>> custom;
    std::vector<std::unique_ptr<TChartSeries>> owned;
    int repaints = 0;
    bool loading = false;
    bool destroying = false;
    bool fastCalc = false;
    int32_t pixelLimit = 67108863;
    int depth3D = 0;
};

// Fixed range and pixels: the axis as the layout leaves it.
inline void Prepare(TChartAxis& axis, double minimum, double maximum)
{
    axis.SetRange(minimum, maximum);
    axis.RecalcPixels();
    axis.RecalcRange();
}

} // namespace axistest

#endif
