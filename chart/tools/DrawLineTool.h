#ifndef ZENDRIK_CHART_TOOLS_DRAWLINETOOL_H
#define ZENDRIK_CHART_TOOLS_DRAWLINETOOL_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/ChartPen.h"
#include "chart/engine/ChartTools.h"

#include <functional>
#include <memory>
#include <vector>

class SeriesAxis;
class TCustomAxisPanel;
class TDrawLineTool;

enum TDrawLineStyle { dlLine, dlHorizParallel, dlVertParallel, dlRectangle, dlEllipse };

// One drawn figure: two points in axis values (so that it follows zooming and scrolling), the
// figure between them and its pen.
class TDrawLine {
public:
    explicit TDrawLine(TDrawLineStyle style = dlLine);

    TChartPen& Pen() { return pen_; }
    TDrawLineStyle Style() const { return style_; }
    void SetStyle(TDrawLineStyle value) { style_ = value; }
    double X0 = 0.0;
    double Y0 = 0.0;
    double X1 = 0.0;
    double Y1 = 0.0;

private:
    TChartPen pen_;
    TDrawLineStyle style_;
};

using TDrawLineEvent = std::function<void(TDrawLineTool* sender)>;
using TDrawLineSelectingEvent = std::function<void(TDrawLineTool* sender, TDrawLine* line, bool& allowSelect)>;

// Lines, parallels, rectangles and ellipses the user draws by dragging with a mouse button. A
// press on a figure selects it; dragging the selected figure's end handle moves that end,
// dragging it elsewhere moves the whole figure.
class TDrawLineTool : public TPlotCustomToolSeries {
public:
    TDrawLineTool() = default;
    ~TDrawLineTool() override;

    QString ClassName() const override { return QStringLiteral("TDrawLineTool"); }
    QString EditorClassName() const override { return QStringLiteral("TDrawLineEdit"); }
    QString Description() const override;
    QString LongDescription() const override;

    int Button() const { return button_; }
    void SetButton(int value) { button_ = value; }
    int ClickTolerance() const { return clickTolerance_; }
    void SetClickTolerance(int value) { clickTolerance_ = value; }
    bool EnableDraw() const { return enableDraw_; }
    void SetEnableDraw(bool value) { enableDraw_ = value; }
    bool EnableSelect() const { return enableSelect_; }
    void SetEnableSelect(bool value) { enableSelect_ = value; }
    bool SelectNewLines() const { return selectNewLines_; }
    void SetSelectNewLines(bool value) { selectNewLines_ = value; }
    // The style new figures get.
    TDrawLineStyle Style() const { return style_; }
    void SetStyle(TDrawLineStyle value) { style_ = value; }

    int LineCount() const { return static_cast<int>(lines_.size()); }
    TDrawLine& Line(int index) { return *lines_.at(static_cast<size_t>(index)); }
    TDrawLine& AddLine(double x0, double y0, double x1, double y1, TDrawLineStyle style);
    void DeleteLine(int index);
    TDrawLine* Selected() const { return selected_; }
    void SetSelected(TDrawLine* line);

    // The figure's two points in pixels.
    void LinePixels(const TDrawLine& line, TPoint& p0, TPoint& p1) const;
    // The figure lies within ClickTolerance pixels of the point.
    bool Clicked(const TDrawLine& line, int x, int y) const;
    // 0 on the first end's handle, 1 on the second's, -1 on neither.
    int HandleAt(const TDrawLine& line, int x, int y) const;

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TDrawLineEvent OnNewLine;
    TDrawLineEvent OnDragLine;
    TDrawLineEvent OnDraggedLine;
    TDrawLineEvent OnSelect;
    TDrawLineSelectingEvent OnSelecting;

private:
    enum class Drag { None, NewLine, Whole, FirstEnd, SecondEnd };

    TCustomAxisPanel* Panel() const;
    void DrawFigure(TDrawLine& line, const TPoint& p0, const TPoint& p1);
    void PointValues(int x, int y, double& vx, double& vy) const;

    int button_ = 0;   // mbLeft
    int clickTolerance_ = 0;
    bool enableDraw_ = true;
    bool enableSelect_ = true;
    bool selectNewLines_ = true;
    TDrawLineStyle style_ = dlLine;
    std::vector<std::unique_ptr<TDrawLine>> lines_;
    TDrawLine* selected_ = nullptr;
    Drag drag_ = Drag::None;
    std::unique_ptr<TDrawLine> drawing_;
    TPoint pressAt_;
    bool moved_ = false;
    TPoint pressP0_;
    TPoint pressP1_;
};

#endif
