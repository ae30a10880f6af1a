#ifndef ZENDRIK_CHART_TOOLS_AXISTOOLS_H
#define ZENDRIK_CHART_TOOLS_AXISTOOLS_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/engine/ChartTools.h"

#include <functional>

class TAxisArrowTool;
class TChartAxis;
class TCustomChart;

enum TAxisArrowToolPosition { aaStart, aaEnd, aaBoth };

using TAxisArrowClickEvent = std::function<void(TAxisArrowTool* sender, bool atStart)>;

// Filled arrows at the start and end pixels of its axis, pointing outward along the axis line;
// a press on one scrolls the axis by ScrollPercent of its range (the end arrow the other way).
class TAxisArrowTool : public TPlotCustomToolAxis {
public:
    TAxisArrowTool();

    QString ClassName() const override { return QStringLiteral("TAxisArrowTool"); }
    QString EditorClassName() const override { return QStringLiteral("TAxisArrowToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    int Length() const { return length_; }
    void SetLength(int value) { SetAndRepaint(length_, value); }
    int HeadWidth() const { return headWidth_; }
    void SetHeadWidth(int value) { SetAndRepaint(headWidth_, value); }
    TAxisArrowToolPosition Position() const { return position_; }
    void SetPosition(TAxisArrowToolPosition value) { SetAndRepaint(position_, value); }
    int ScrollPercent() const { return scrollPercent_; }
    void SetScrollPercent(int value) { scrollPercent_ = value; }
    bool ScrollInverted() const { return scrollInverted_; }
    void SetScrollInverted(bool value) { scrollInverted_ = value; }
    // The head's length in percent of Length.
    int SizePercent() const { return sizePercent_; }
    void SetSizePercent(int value) { SetAndRepaint(sizePercent_, value); }

    // The box an arrow takes: along the axis from its end Length pixels inward, HeadWidth across
    // the axis line; edges included.
    TRect ArrowRect(bool atStart) const;
    // 1 on the start arrow, 2 on the end arrow, 0 on neither (only arrows that are shown).
    int ArrowAt(int x, int y) const;

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TAxisArrowClickEvent OnClick;

private:
    TChartAxis* ChartAxis() const;
    bool Shows(bool atStart) const;
    void ScrollAxis(bool atStart);

    int length_ = 16;
    int headWidth_ = 8;
    TAxisArrowToolPosition position_ = aaBoth;
    int scrollPercent_ = 10;
    bool scrollInverted_ = false;
    int sizePercent_ = 50;
};

// Dragging over an axis (its own, or any axis of the chart) scrolls that axis by the value
// difference the mouse moved over.
class TAxisScrollTool : public TPlotCustomToolAxis {
public:
    TAxisScrollTool() = default;

    QString ClassName() const override { return QStringLiteral("TAxisScrollTool"); }
    QString EditorClassName() const override { return QStringLiteral("TAxisScrollEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    bool ScrollInverted() const { return scrollInverted_; }
    void SetScrollInverted(bool value) { scrollInverted_ = value; }
    // The axis being dragged, null when none.
    TChartAxis* DraggedAxis() const { return dragged_; }

    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

private:
    TChartAxis* AxisAt(int x, int y) const;
    bool StillOnChart(const TChartAxis* axis) const;

    bool scrollInverted_ = false;
    TChartAxis* dragged_ = nullptr;
    int lastX_ = 0;
    int lastY_ = 0;
};

#endif
