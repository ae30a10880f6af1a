#ifndef ZENDRIK_CHART_ENGINE_SERIESMARKS_H
#define ZENDRIK_CHART_ENGINE_SERIESMARKS_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotShape.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class TCanvas3D;
class TChartSeries;
class TMarksCallout;
class TSeriesMarksSymbol;

enum TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue,
    smsXY,
    smsSeriesTitle,
    smsPointIndex,
    smsPercentRelative
};

enum TMarginUnits { maPercentFont, maPercentSize, maPixels };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Where lines aligned between left and right are anchored: the x and the canvas text alignment
// (top) that start each line at left, end it at right or centre it between the two.
struct TextAnchor {
    int X;
    uint32_t Align;
};
TextAnchor AnchorBetween(TAlignment alignment, int left, int right);

// Four margins in percent of the font size, percent of the box, or pixels, and the pixels they
// come to for a box.
class TMargins {
public:
    explicit TMargins(TNotifyEvent onChange = {}, int leftRight = 10, int topBottom = 5);

    void Assign(const TMargins& source);
    int Left() const { return left_; }
    void SetLeft(int value) { Store(left_, value); }
    int Top() const { return top_; }
    void SetTop(int value) { Store(top_, value); }
    int Right() const { return right_; }
    void SetRight(int value) { Store(right_, value); }
    int Bottom() const { return bottom_; }
    void SetBottom(int value) { Store(bottom_, value); }
    TMarginUnits Units() const { return units_; }
    void SetUnits(TMarginUnits value) { Store(units_, value); }
    // Left and Right are streamed only when they differ from this.
    int DefaultLeftRight() const { return defaultLeftRight_; }
    bool IsLeftStored() const { return left_ != defaultLeftRight_; }
    bool IsRightStored() const { return right_ != defaultLeftRight_; }

    // The pixel margins of a box of that size whose font is fontSize high.
    void Calculate(int width, int height, int fontSize);
    int SizeLeft = 0;
    int SizeTop = 0;
    int SizeRight = 0;
    int SizeBottom = 0;
    int HorizSize() const { return SizeLeft + SizeRight; }
    int VertSize() const { return SizeTop + SizeBottom; }

    TNotifyEvent OnChange;

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (OnChange)
            OnChange();
    }

    int left_;
    int top_;
    int right_;
    int bottom_;
    TMarginUnits units_ = maPercentFont;
    int defaultLeftRight_;
};

// Where the mark of one point stands: its box and the arrow from the point to it. Custom
// positions were placed by the user or a tool and survive redraws.
struct TSeriesMarkPosition {
    TPoint ArrowFrom;
    bool ArrowFix = false;
    TPoint ArrowTo;
    bool Custom = false;
    int Height = 0;
    TPoint LeftTop;
    int Width = 0;
    TPoint MidPoint;
    bool HasMidPoint = false;

    TRect Bounds() const { return TRect{LeftTop.X, LeftTop.Y, LeftTop.X + Width, LeftTop.Y + Height}; }
};

// Stored positions by point index; entries may be empty.
class TSeriesMarksPositions {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // The entry, or null beyond the list or for an empty entry.
    TSeriesMarkPosition* Position(int index) const;
    // Places a position by hand: it becomes Custom.
    void SetPosition(int index, const TSeriesMarkPosition& position);
    // Keeps the position of a drawing; a Custom entry only takes the new arrow start.
    void Store(int index, const TSeriesMarkPosition& position);
    void Delete(int index);
    void DeleteRange(int start, int quantity);
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
};

// The settings of one point's mark, and its own text when that is not empty.
class TMarksItem : public TPlotCustomShape {
public:
    explicit TMarksItem(PlotShapeOwner* chart = nullptr);
    QStringList& Text();
    QStringList TextLines() const { return text_ ? *text_ : QStringList(); }
    bool HasText() const { return text_ && !text_->isEmpty(); }

private:
    std::unique_ptr<QStringList> text_;
};

class TMarksItems {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    // Created on first access.
    TMarksItem& Items(int index);
    // The item, or null when the point has none.
    TMarksItem* Item(int index) const;
    void Delete(int index);
    void DeleteRange(int start, int quantity);
    void Clear() { items_.clear(); }
    bool Loaded = false;
    PlotShapeOwner* Chart = nullptr;

private:
    std::vector<std::unique_ptr<TMarksItem>> items_;
};

// The framed texts a series shows beside its points: the common settings, the settings of single
// points and the positions of the last drawing.
class TSeriesMarks : public TPlotCustomShape {
public:
    explicit TSeriesMarks(TChartSeries& series);
    ~TSeriesMarks() override;

    void Assign(const TPlotCustomShapeBrushPen& source) override;
    void SetParentChart(PlotShapeOwner* value) override;

    int Angle() const { return angle_; }
    void SetAngle(int value) { Store(angle_, value); }
    // Created on first use.
    TMarksCallout& Callout();
    bool HasCallout() const { return callout_ != nullptr; }
    bool Clip() const { return clip_; }
    void SetClip(bool value) { Store(clip_, value); }
    int DrawEvery() const { return drawEvery_; }
    void SetDrawEvery(int value) { Store(drawEvery_, value); }
    TMarksItems& Items() { return items_; }
    TMargins& Margins() { return margins_; }
    TSeriesMarksStyle Style() const { return style_; }
    void SetStyle(TSeriesMarksStyle value) { Store(style_, value); }
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value) { Store(multiLine_, value); }
    TSeriesMarksPositions& Positions() { return positions_; }
    // Created on first use.
    TSeriesMarksSymbol& Symbol();
    bool HasSymbol() const { return symbol_ != nullptr; }
    TAlignment TextAlign() const { return textAlign_; }
    void SetTextAlign(TAlignment value) { Store(textAlign_, value); }
    int ZPosition = 0;
    // The text takes the point's colour.
    bool FontSeriesColor = false;
    TChartSeries& Series() const { return series_; }
    TColor BackColor() const { return Color(); }

    // The point's own item, else these common settings.
    TPlotCustomShape& ItemOf(int index);
    // Frees the positions; the items too unless they came from a stream.
    void Clear();
    // Index of the mark under (x, y), the later one where marks overlap; -1 for none.
    int Clicked(int x, int y);
    // Moves the new mark of valueIndex off the stored marks first .. valueIndex - 1 it overlaps.
    void AntiOverlap(int first, int valueIndex, TSeriesMarkPosition& position);
    // Moves a mark that would leave the chart panel back into it.
    void KeepInsidePanel(TSeriesMarkPosition& position);
    // Width of the widest line and height of all lines of the point's mark text, in the marks'
    // font as they are drawn.
    gdi::Size TextSize(int valueIndex);
    int TextWidth(int valueIndex) { return TextSize(valueIndex).cx; }
    // With a callout, the mark stands away from its point by the callout's length.
    void ApplyArrowLength(TSeriesMarkPosition& position);
    // Size of the mark of a text in the shape's font, and its position over the point (x, y).
    TSeriesMarkPosition MarkPosition(TPlotCustomShape& shape, const QString& text, int x, int y);
    // Draws the mark of a point (stores its position first).
    void DrawItem(int index, TColor color, const QString& text, TSeriesMarkPosition& position);

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed();
    void SelectFont(TPlotCustomShape& shape, TCanvas3D& canvas);
    // The text in the rectangle of the screen the box was drawn in.
    void DrawText(TCanvas3D& canvas, TPlotCustomShape& shape, const TRect& rect, const QString& text, TColor color,
                  int angle);
    // The box as drawn on the screen, its frame and shadow included.
    TRect DrawnRect(const TSeriesMarkPosition& position);
    // Width and height of a mark text in the selected font: its lines, or the HTML block.
    gdi::Size TextBlock(TPlotCustomShape& shape, TCanvas3D& canvas, const QString& text);

    TChartSeries& series_;
    int angle_ = 0;
    std::unique_ptr<TMarksCallout> callout_;
    bool clip_ = false;
    int drawEvery_ = 1;
    TMarksItems items_;
    TMargins margins_;
    TSeriesMarksStyle style_ = smsLabel;
    bool multiLine_ = false;
    TSeriesMarksPositions positions_;
    std::unique_ptr<TSeriesMarksSymbol> symbol_;
    TAlignment textAlign_ = taCenter;
};

#endif
