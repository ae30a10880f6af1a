#ifndef ZENDRIK_CHART_TOOLS_MARKSTOOLS_H
#define ZENDRIK_CHART_TOOLS_MARKSTOOLS_H

#include "chart/engine/ChartTools.h"
#include "chart/engine/SeriesMarks.h"

#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class QTimer;
class TChartSeries;
class TCustomAxisPanel;
class TDragMarksTool;
class TMarksTipTool;
struct TPlotLibrarySettings;

using TDragMarkEvent = std::function<void(TDragMarksTool* sender, int index, int button, int shift, int x, int y)>;

// Marks moved with the mouse: a press on a mark (of its series, else of any series from the
// top-most down) and the drag moves that mark by the mouse's movement; the mark's position
// becomes custom and stays where it was put.
class TDragMarksTool : public TPlotCustomToolSeries {
public:
    TDragMarksTool() = default;

    QString ClassName() const override { return QStringLiteral("TDragMarksTool"); }
    QString EditorClassName() const override { return QStringLiteral("TDragMarksToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    // The series whose mark is being dragged, null when none.
    TChartSeries* DraggedSeries() const { return dragged_; }
    int DraggedIndex() const { return index_; }

    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TDragMarkEvent OnDraggingMark;
    TDragMarkEvent OnDraggedMark;

private:
    TCustomAxisPanel* Panel() const;
    // The mark under a point: its series and index; false when none.
    bool MarkAt(int x, int y, TChartSeries*& series, int& index) const;
    bool StillOnChart(const TChartSeries* series) const;

    TChartSeries* dragged_ = nullptr;
    int index_ = -1;
    int lastX_ = 0;
    int lastY_ = 0;
};

enum TMarkToolMouseAction { mtmMove, mtmClick };

using TMarksTipGetTextEvent = std::function<void(TMarksTipTool* sender, QString& text)>;
using TMarksTipCancelEvent = std::function<void(TMarksTipTool* sender)>;

// A tooltip with a point's mark text when the mouse rests on (or clicks) a point: shown after
// MouseDelay, for HideDelay. The two delays belong to the library settings when the tool has
// them, so that every marks-tip tool shares one pair.
class TMarksTipTool : public TPlotCustomToolSeries {
public:
    TMarksTipTool();
    ~TMarksTipTool() override;

    QString ClassName() const override { return QStringLiteral("TMarksTipTool"); }
    QString EditorClassName() const override { return QStringLiteral("TMarksTipToolEdit"); }
    QString Description() const override;
    QString LongDescription() const override;
    void SetActive(bool value) override;

    TMarkToolMouseAction MouseAction() const { return mouseAction_; }
    void SetMouseAction(TMarkToolMouseAction value);
    TSeriesMarksStyle Style() const { return style_; }
    void SetStyle(TSeriesMarksStyle value) { style_ = value; }
    int MouseDelay() const;
    void SetMouseDelay(int value);
    int HideDelay() const;
    void SetHideDelay(int value);
    void SetLibrarySettings(TPlotLibrarySettings* settings) { settings_ = settings; }

    // The point whose tip is shown or pending, -1 for none.
    int TipIndex() const { return tipIndex_; }
    // Closes a shown or pending tip and tells OnCancelHint.
    void CancelHint();

    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TMarksTipGetTextEvent OnGetText;
    TMarksTipCancelEvent OnCancelHint;

private:
    TCustomAxisPanel* Panel() const;
    bool PointAt(int x, int y, TChartSeries*& series, int& index) const;
    QString MarkText(TChartSeries& series, int index);
    bool OtherTipToolOnChart() const;
    void ShowTip();

    TMarkToolMouseAction mouseAction_ = mtmMove;
    TSeriesMarksStyle style_ = smsLabel;
    int mouseDelay_ = 500;
    int hideDelay_ = 2500;
    TPlotLibrarySettings* settings_ = nullptr;
    std::unique_ptr<QTimer> timer_;
    TChartSeries* tipSeries_ = nullptr;
    int tipIndex_ = -1;
    QPoint tipAt_;
};

#endif
