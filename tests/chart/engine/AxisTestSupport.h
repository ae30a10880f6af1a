#ifndef ZENDRIK_TESTS_CHART_ENGINE_AXISTESTSUPPORT_H
#define ZENDRIK_TESTS_CHART_ENGINE_AXISTESTSUPPORT_H

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"

#include <QString>
#include <QStringList>
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
        inDepthText = true;
        TPlotCanvas3D::TextOutAtDepth(x, y, z, text);
        inDepthText = false;
    }
    void TextOut(int32_t x, int32_t y, const QString& text) override
    {
        if (!inDepthText)
            texts.push_back({x, y, 0, text, 0.0, GetTextAlign(), Font().Size()});
        TPlotCanvas3D::TextOut(x, y, text);
    }
    void RotateLabel(int32_t x, int32_t y, const QString& text, double angle) override
    {
        const bool record = !inDepthText;
        if (record)
            texts.push_back({x, y, 0, text, angle, GetTextAlign(), Font().Size()});
        inDepthText = true;
        TPlotCanvas3D::RotateLabel(x, y, text, angle);
        inDepthText = !record;
    }
    void RotateLabelAtDepth(int32_t x, int32_t y, int32_t z, const QString& text, double angle) override
    {
        texts.push_back({x, y, z, text, angle, GetTextAlign(), Font().Size()});
        inDepthText = true;
        TPlotCanvas3D::RotateLabelAtDepth(x, y, z, text, angle);
        inDepthText = false;
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
    void ClipBox(const TRect& rect, int32_t z0, int32_t z1) override
    {
        if (steps)
            *steps << QStringLiteral("clip");
        TPlotCanvas3D::ClipBox(rect, z0, z1);
    }
    void UnClipRectangle() override
    {
        if (steps)
            *steps << QStringLiteral("unclip");
        TPlotCanvas3D::UnClipRectangle();
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
    bool inDepthText = false;
    // When set, clipping is noted here beside the steps of a drawing.
    QStringList* steps = nullptr;
};

// A flat axis panel over a fixed chart rectangle, drawing on a recording canvas and owning its
// series. The chart parts it leaves to the chart (walls, titles, legend) draw nothing.
class AxisChart : public TCustomAxisPanel {
public:
    explicit AxisChart(TRect rect = TRect{100, 50, 1100, 450})
    {
        RecordingCanvas* raw = &canvas;
        SetView3D(false);
        ChartRect = rect;
        RecalcChartBounds();
        raw->InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 1300, 600});
        raw->SetProjectionCentre(0, TRect{0, 0, 1300, 600});
        raw->ResetState();
        bottom = BottomAxis();
        top = TopAxis();
        left = LeftAxis();
        right = RightAxis();
        depth = DepthAxis();
        depthTop = DepthTopAxis();
        repaints = 0;
    }
    ~AxisChart() override { owned.clear(); }

    RecordingCanvas& InstallCanvas()
    {
        auto recording = std::make_unique<RecordingCanvas>();
        RecordingCanvas& raw = *recording;
        SetCanvas(std::move(recording));
        return raw;
    }

    // Counted as the panel would take them (not while RepaintOnChange is off), never drawn: the
    // tests draw the parts they look at themselves.
    void Repaint() override { repaints += RepaintOnChange() ? 1 : 0; }
    void Invalidate() override { repaints += RepaintOnChange() ? 1 : 0; }
    bool ChartLoading() const override { return loading; }

    TChartSeries& NewSeries()
    {
        owned.push_back(std::make_unique<TChartSeries>());
        AddSeries(owned.back().get());
        return *owned.back();
    }
    TChartAxis& NewCustomAxis(bool horizontal)
    {
        TChartAxis& axis = CustomAxes().Add();
        axis.SetHorizontal(horizontal);
        return axis;
    }

    RecordingCanvas& canvas = InstallCanvas();
    TChartAxis* left = nullptr;
    TChartAxis* top = nullptr;
    TChartAxis* right = nullptr;
    TChartAxis* bottom = nullptr;
    TChartDepthAxis* depth = nullptr;
    TChartDepthAxis* depthTop = nullptr;
    std::vector<std::unique_ptr<TChartSeries>> owned;
    int repaints = 0;
    bool loading = false;
    int wallSize = 0;

protected:
    void CalcWallsRect() override {}
    int GetWallSize(const TChartAxis&) const override { return wallSize; }
    void DrawTitlesAndLegend(bool) override {}
    void DrawWalls() override {}
    bool IsFreeSeriesColor(TColor color, bool, const TChartSeries* skip) override
    {
        for (int i = 0; i < SeriesCount(); ++i)
            if (auto* s = ChartSeries(i); s && s != skip && s->SeriesColor() == color)
                return false;
        return true;
    }
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
