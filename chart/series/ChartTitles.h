#ifndef ZENDRIK_CHART_SERIES_CHARTTITLES_H
#define ZENDRIK_CHART_SERIES_CHARTTITLES_H

#include "chart/engine/SeriesMarks.h"
#include "chart/series/ShapePosition.h"

#include <QStringList>

class TCustomAxisPanel;

// A text block above the plot (a title) or below it (a foot). Drawn in place, it takes its
// height out of the chart rectangle before the axes are laid out.
class TChartTitle : public TPlotCustomShapePosition {
public:
    explicit TChartTitle(PlotShapeOwner* chart = nullptr, bool top = true);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    bool AdjustFrame() const { return adjustFrame_; }
    void SetAdjustFrame(bool value) { SetAndRepaint(adjustFrame_, value); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { SetAndRepaint(alignment_, value); }
    const QStringList& Text() const { return text_; }
    void SetText(const QStringList& value);
    // The lines as one text, separated by line breaks.
    QString Caption() const { return text_.join(QLatin1Char('\n')); }
    void SetCaption(const QString& value) { SetText(value.split(QLatin1Char('\n'))); }
    int VertMargin() const { return vertMargin_; }
    void SetVertMargin(int value) { SetAndRepaint(vertMargin_, value); }
    bool IsTopBlock() const { return top_; }

    // Draws the block on the chart's canvas; a block in place moves the chart rectangle's edge.
    void DrawTitle(TCustomAxisPanel& chart);
    // The block is visible and (x, y) lies in its last drawn rectangle, edges included.
    bool Clicked(int x, int y) const;

private:
    bool adjustFrame_ = true;
    TAlignment alignment_ = taCenter;
    QStringList text_;
    int vertMargin_ = 5;
    bool top_ = true;
};

// A block below the plot: red italic text.
class TChartFootTitle : public TChartTitle {
public:
    explicit TChartFootTitle(PlotShapeOwner* chart = nullptr);
};

#endif
