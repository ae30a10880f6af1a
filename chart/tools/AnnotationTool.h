#ifndef ZENDRIK_CHART_TOOLS_ANNOTATIONTOOL_H
#define ZENDRIK_CHART_TOOLS_ANNOTATIONTOOL_H

#include "chart/canvas/PlotCursors.h"
#include "chart/canvas/PlotPanel.h"
#include "chart/engine/ChartTools.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"
#include "chart/series/ShapePosition.h"

#include <QString>
#include <functional>
#include <memory>

class TCustomAxisPanel;

// The framed text box of an annotation: the shape's frame, fill and font plus the text, its
// alignment, its margins and whether the box follows the text's size.
class TTextShape : public TPlotCustomShapePosition {
public:
    explicit TTextShape(PlotShapeOwner* chart = nullptr);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) { SetAndRepaint(autoSize_, value); }
    bool ClipText() const { return clipText_; }
    void SetClipText(bool value) { SetAndRepaint(clipText_, value); }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value) { SetAndRepaint(cursor_, value); }
    TMargins& Margins() { return margins_; }
    TAlignment TextAlignment() const { return textAlignment_; }
    void SetTextAlignment(TAlignment value) { SetAndRepaint(textAlignment_, value); }
    // Lines are separated by character 13.
    const QString& Text() const { return text_; }
    void SetText(const QString& value) { SetAndRepaint(text_, value); }

private:
    bool autoSize_ = true;
    bool clipText_ = true;
    TCursor cursor_ = crDefault;
    TMargins margins_;
    TAlignment textAlignment_ = taLeftJustify;
    QString text_;
};

// The line from an annotation's box to a point of the chart (pixels). Hidden at first, its
// arrow pen too.
class TAnnotationCallout : public TCallout {
public:
    explicit TAnnotationCallout(PlotShapeOwner* chart = nullptr);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    int XPosition() const { return xPosition_; }
    void SetXPosition(int value) { SetAndRepaint(xPosition_, value); }
    int YPosition() const { return yPosition_; }
    void SetYPosition(int value) { SetAndRepaint(yPosition_, value); }
    int ZPosition() const { return zPosition_; }
    void SetZPosition(int value) { SetAndRepaint(zPosition_, value); }

private:
    int xPosition_ = 0;
    int yPosition_ = 0;
    int zPosition_ = 0;
};

enum TAnnotationPosition { ppLeftTop, ppLeftBottom, ppRightTop, ppRightBottom, ppCenter };

using TToolClickEvent = std::function<void(TPlotCustomTool* sender, int button, int shift, int x, int y)>;

// A text in a framed box at a corner of the chart, in its centre or at a position of its own
// (pixels or percent of the chart's size), optionally with a callout to a point.
class TAnnotationTool : public TPlotCustomTool {
public:
    TAnnotationTool();
    ~TAnnotationTool() override;

    QString ClassName() const override { return QStringLiteral("TAnnotationTool"); }
    QString EditorClassName() const override { return QStringLiteral("TAnnotationToolEdit"); }
    QString Description() const override;
    QString LongDescription() const override;
    void SetParentChart(ChartParent* chart) override;
    void Assign(const TAnnotationTool& source);

    TTextShape& Shape() { return *shape_; }
    TAnnotationCallout& Callout() { return *callout_; }
    TAnnotationPosition Position() const { return position_; }
    void SetPosition(TAnnotationPosition value);
    TPlotUnits PositionUnits() const { return positionUnits_; }
    void SetPositionUnits(TPlotUnits value) { SetAndRepaint(positionUnits_, value); }

    // Kept in the shape.
    const QString& Text() const { return shape_->Text(); }
    void SetText(const QString& value) { shape_->SetText(value); }
    TAlignment TextAlignment() const { return shape_->TextAlignment(); }
    void SetTextAlignment(TAlignment value) { shape_->SetTextAlignment(value); }
    bool AutoSize() const { return shape_->AutoSize(); }
    void SetAutoSize(bool value) { shape_->SetAutoSize(value); }
    bool ClipText() const { return shape_->ClipText(); }
    void SetClipText(bool value) { shape_->SetClipText(value); }
    TCursor Cursor() const { return shape_->Cursor(); }
    void SetCursor(TCursor value) { shape_->SetCursor(value); }
    // The shape's own position; either setter moves the box there and keeps its size.
    int Left() const { return shape_->Left(); }
    void SetLeft(int value) { shape_->SetLeft(value); }
    int Top() const { return shape_->Top(); }
    void SetTop(int value) { shape_->SetTop(value); }
    // The box size, edges included; a new size switches AutoSize off.
    int Width() const { return shape_->GetWidth(); }
    void SetWidth(int value);
    int Height() const { return shape_->GetHeight(); }
    void SetHeight(int value);

    // Places the box on these pixels (edges included) and repaints.
    void SetShapeBounds(const TRect& bounds);
    // The box as it is drawn, in chart client pixels with right and bottom included. Computing it
    // also fixes the margins in pixels and, with AutoSize, the shape's size.
    TRect GetShapeBounds();
    // The point lies in the box, edges included.
    bool Clicked(int x, int y) { return PointInBox(GetShapeBounds(), x, y); }

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TNotifyEvent OnAfterDraw;
    TNotifyEvent OnBeforeDraw;
    TToolClickEvent OnClick;
    TToolClickEvent OnDblClick;

protected:
    static bool PointInBox(const TRect& box, int x, int y)
    {
        return x >= box.Left && x <= box.Right && y >= box.Top && y <= box.Bottom;
    }
    TCustomAxisPanel* Panel() const;
    // The drawing's size; the widget's before the first drawing.
    void ChartSize(int& width, int& height) const;
    void DrawTool();
    void DrawText(const TRect& box);
    void DrawCallout(const TRect& box);

private:
    std::unique_ptr<TTextShape> shape_;
    std::unique_ptr<TAnnotationCallout> callout_;
    TAnnotationPosition position_ = ppLeftTop;
    TPlotUnits positionUnits_ = muPixels;
};

// An annotation the user drags by its inside and resizes by its edges and corners.
class TRectangleTool : public TAnnotationTool {
public:
    TRectangleTool();

    QString ClassName() const override { return QStringLiteral("TRectangleTool"); }
    QString Description() const override;
    QString LongDescription() const override;
    void Assign(const TRectangleTool& source);

    bool AllowDrag() const { return allowDrag_; }
    void SetAllowDrag(bool value) { allowDrag_ = value; }
    bool AllowResize() const { return allowResize_; }
    void SetAllowResize(bool value) { allowResize_ = value; }
    bool Dragging() const { return dragging_; }
    // -1 none, 0 left, 1 top, 2 right, 3 bottom, 4 left-top, 5 left-bottom, 6 right-top,
    // 7 right-bottom.
    int ActiveEdge() const { return activeEdge_; }
    // The edge or corner of the box under a point (4 pixels either way), -1 for none.
    int EdgeAt(int x, int y);

    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TNotifyEvent OnDragged;
    TNotifyEvent OnDragging;
    TNotifyEvent OnResized;
    TNotifyEvent OnResizing;

private:
    void MoveBox(int left, int top);
    void ResizeBox(int x, int y);
    bool ShowCursor(int x, int y);

    bool allowDrag_ = true;
    bool allowResize_ = true;
    int grabX_ = 0;
    int grabY_ = 0;
    bool dragging_ = false;
    int activeEdge_ = -1;
};

#endif
