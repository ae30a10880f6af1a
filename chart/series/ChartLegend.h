#ifndef ZENDRIK_CHART_SERIES_CHARTLEGEND_H
#define ZENDRIK_CHART_SERIES_CHARTLEGEND_H

#include "chart/canvas/PlotPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/series/ShapePosition.h"

#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class TCanvas;
class TCanvas3D;
class TCustomChart;
class TPlotCanvas;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues, lsSeriesGroups };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };
enum TLegendSymbolPosition { spLeft, spRight };
enum TLegendSymbolSize { lcsPercent, lcsPixels };

// Raised for an invalid legend setting; the old value stays.
class LegendException : public ChartException {
public:
    using ChartException::ChartException;
};

// Sent to the chart's listeners after the legend's check boxes were switched or changed style.
class TChartLegendCheckBoxesEvent : public TPlotEvent {};

class TLegendSymbol;
using TSymbolDrawEvent =
    std::function<void(TLegendSymbol* sender, TChartSeries* series, int valueIndex, const TRect& rect)>;

// The symbol beside each legend item: its size, place, pen, fill and shadow.
class TLegendSymbol {
public:
    // itemHeight answers the legend's item height (a squared symbol is as wide).
    TLegendSymbol(TNotifyEvent onChange, std::function<int()> itemHeight);
    ~TLegendSymbol();
    TLegendSymbol(const TLegendSymbol&) = delete;
    TLegendSymbol& operator=(const TLegendSymbol&) = delete;

    void Assign(const TLegendSymbol& source);

    bool Continuous() const { return continuous_; }
    void SetContinuous(bool value) { Set(continuous_, value); }
    bool DefaultPen() const { return defaultPen_; }
    void SetDefaultPen(bool value) { Set(defaultPen_, value); }
    TPlotGradient& Gradient() { return *gradient_; }
    TChartPen& Pen() { return *pen_; }
    TLegendSymbolPosition Position() const { return position_; }
    void SetPosition(TLegendSymbolPosition value) { Set(position_, value); }
    TPlotShadow& Shadow() { return *shadow_; }
    bool Squared() const { return squared_; }
    void SetSquared(bool value) { Set(squared_, value); }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { Set(visible_, value); }
    int Width() const { return width_; }
    void SetWidth(int value) { Set(width_, value); }
    TLegendSymbolSize WidthUnits() const { return widthUnits_; }
    void SetWidthUnits(TLegendSymbolSize value) { Set(widthUnits_, value); }
    TSymbolDrawEvent OnDraw;

    // The width in pixels: 0 hidden, item height - 5 squared, Width pixels, or Width percent of
    // the given text width.
    int CalcWidth(int percentOf) const;
    // Fills rect with the colour (or the gradient from its start colour to the colour) and
    // outlines it with the canvas pen, or with Pen unless DefaultPen.
    void Paint(TCanvas3D& canvas, const TRect& rect, TColor color);

private:
    template <class T>
    void Set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (onChange_)
            onChange_();
    }

    TNotifyEvent onChange_;
    std::function<int()> itemHeight_;
    bool continuous_ = false;
    bool defaultPen_ = true;
    std::unique_ptr<TPlotGradient> gradient_;
    std::unique_ptr<TChartPen> pen_;
    TLegendSymbolPosition position_ = spLeft;
    std::unique_ptr<TPlotShadow> shadow_;
    bool squared_ = false;
    bool visible_ = true;
    int width_ = 20;
    TLegendSymbolSize widthUnits_ = lcsPercent;
};

class TLegendItems;

// One listed item: its two text columns and where the last drawing put its symbol and text.
class TLegendItem {
public:
    explicit TLegendItem(TLegendItems& owner) : owner_(owner) {}

    const QString& Text() const { return text_; }
    const QString& Text2() const { return text2_; }
    // Setting a text makes the legend show this item's texts instead of its own.
    void SetText(const QString& value);
    void SetText2(const QString& value);
    bool Custom() const { return custom_; }

    TRect SymbolRect;
    int TextLeft = 0;
    int TextTop = 0;
    int TextWidth = 0;

private:
    friend class TCustomChartLegend;
    TLegendItems& owner_;
    QString text_;
    QString text2_;
    bool custom_ = false;
};

// The items of a legend, made on demand; item i is the i-th listed one.
class TLegendItems {
public:
    explicit TLegendItems(TNotifyEvent onChange) : onChange_(std::move(onChange)) {}

    int Count() const { return static_cast<int>(items_.size()); }
    // The item at index, creating the items up to it.
    TLegendItem& Item(int index);
    TLegendItem& operator[](int index) { return Item(index); }
    // Frees every item; the legend computes every text again.
    void Clear();

private:
    friend class TLegendItem;
    void Changed();

    TNotifyEvent onChange_;
    std::vector<std::unique_ptr<TLegendItem>> items_;
};

// The title above the items: bold, transparent, with a light shadow.
class TLegendTitle : public TPlotShape {
public:
    explicit TLegendTitle(PlotShapeOwner* chart = nullptr);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    const QStringList& Text() const { return text_; }
    void SetText(const QStringList& value);
    void SetCaption(const QString& value) { SetText(value.split(QLatin1Char('\n'))); }
    TAlignment TextAlignment() const { return textAlignment_; }
    void SetTextAlignment(TAlignment value) { SetAndRepaint(textAlignment_, value); }

    // Visible with text.
    bool Shown() const { return Visible() && !text_.isEmpty(); }
    // The frame around the title: its pen's width when it is drawn (not transparent).
    int FrameWidth() const;
    // Measured with the title's font on the canvas.
    int TitleWidth(TPlotCanvas& canvas);
    int TitleHeight(TPlotCanvas& canvas);
    void DrawTitle(TCanvas3D& canvas, const TRect& box);

private:
    QStringList text_;
    TAlignment textAlignment_ = taLeftJustify;
};

// The legend's gradient: light grey from the right to white.
class TChartLegendGradient : public TPlotGradient {
public:
    explicit TChartLegendGradient(TNotifyEvent onChange = {});
};

// What the legend's own rectangle hook is asked about: the box a click is tested against (it may
// shrink), a bottom legend's box (it may move down towards the chart's bottom edge) and a
// vertical legend's box (it may widen).
enum TLegendRectUse { lruHitTest, lruBottomLegend, lruVerticalWidth };

// What the last drawing worked out, for drawing the items and for hit testing.
struct TLegendLayout {
    TLegendStyle Style = lsSeries;
    bool CheckBoxes = false;
    int FirstValue = 0;    // the first listed index (the current page's with paging)
    int TotalItems = 0;
    int LastValue = -1;    // the last listed index
    int ItemHeight = 1;
    int TextHeight = 0;    // the font's part of an item row
    int TallestText = 0;   // the tallest HTML text of the measured items (0 for plain text)
    int SymbolWidth = 0;
    std::array<int, 2> ColumnWidths{0, 0};
    int TextWidth = 0;
    int Columns = 0;
    int Rows = 0;
    bool TitleShown = false;
    int ItemsTop = 0;
    int FrameWidth = 0;
};

// The framed box beside, above or below the plot that lists the chart's series, the points of one
// series or the series groups, each with a symbol, one or two text columns and optionally a check
// box that switches the series (or group) on and off. While visible and in place it takes its room
// from the chart rectangle.
class TCustomChartLegend : public TPlotCustomShapePosition {
public:
    explicit TCustomChartLegend(TCustomChart* chart = nullptr);
    ~TCustomChartLegend() override;

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    // --- Settings
    TLegendAlignment Alignment() const { return alignment_; }
    void SetAlignment(TLegendAlignment value) { SetAndRepaint(alignment_, value); }
    bool CheckBoxes() const { return checkBoxes_; }
    void SetCheckBoxes(bool value);
    TCheckBoxesStyle CheckBoxesStyle() const { return checkBoxesStyle_; }
    // cbsRadio leaves only the first active series of the legend active.
    void SetCheckBoxesStyle(TCheckBoxesStyle value);
    bool CurrentPage() const { return currentPage_; }
    void SetCurrentPage(bool value) { SetAndRepaint(currentPage_, value); }
    TChartHiddenPen& DividingLines() { return *dividingLines_; }
    int FirstValue() const { return firstValue_; }
    // A negative value raises LegendException.
    void SetFirstValue(int value);
    bool FontSeriesColor() const { return fontSeriesColor_; }
    void SetFontSeriesColor(bool value) { SetAndRepaint(fontSeriesColor_, value); }
    int HorizMargin() const { return horizMargin_; }
    void SetHorizMargin(int value) { SetAndRepaint(horizMargin_, value); }
    int VertMargin() const { return vertMargin_; }
    void SetVertMargin(int value) { SetAndRepaint(vertMargin_, value); }
    bool Inverted() const { return inverted_; }
    void SetInverted(bool value) { SetAndRepaint(inverted_, value); }
    int LeftPercent() const { return leftPercent_; }
    void SetLeftPercent(int value) { SetAndRepaint(leftPercent_, value); }
    int TopPercent() const { return topPercent_; }
    void SetTopPercent(int value) { SetAndRepaint(topPercent_, value); }
    TPlotUnits PositionUnits() const { return positionUnits_; }
    void SetPositionUnits(TPlotUnits value) { SetAndRepaint(positionUnits_, value); }
    TLegendStyle LegendStyle() const { return legendStyle_; }
    void SetLegendStyle(TLegendStyle value);
    int MaxNumRows() const { return maxNumRows_; }
    void SetMaxNumRows(int value) { SetAndRepaint(maxNumRows_, value); }
    bool ResizeChart() const { return resizeChart_; }
    void SetResizeChart(bool value) { SetAndRepaint(resizeChart_, value); }
    TLegendSymbol& Symbol() { return *symbol_; }
    int ColorWidth() const { return symbol_->Width(); }
    void SetColorWidth(int value) { symbol_->SetWidth(value); }
    TLegendTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TLegendTextStyle value) { SetAndRepaint(textStyle_, value); }
    TLegendTitle& Title() { return *title_; }
    int TopPos() const { return topPos_; }
    void SetTopPos(int value) { SetAndRepaint(topPos_, value); }
    int VertSpacing() const { return vertSpacing_; }
    void SetVertSpacing(int value) { SetAndRepaint(vertSpacing_, value); }
    // The series whose points a value legend lists; none: the chart's first active one. Not
    // owned: the legend forgets a series that is freed.
    TChartSeries* Series() const { return series_; }
    void SetSeries(TChartSeries* value) { SetAndRepaint(series_, value); }
    TLegendItems& Items() { return *items_; }
    // The legend's own rectangle hook (empty by default); see TLegendRectUse.
    std::function<void(TLegendRectUse use, TRect& rect)> RectHook;

    // --- Queries
    bool IsVertical() const { return alignment_ == laLeft || alignment_ == laRight; }
    // lsAuto: the points of the one active series without check boxes, else the series.
    TLegendStyle CalcLegendStyle() const;
    // Check boxes are drawn: on, and not listing points.
    bool HasCheckBoxes() const { return checkBoxes_ && CalcLegendStyle() != lsValues; }
    // Visible, with check boxes or an active series, and something to list.
    bool ShouldDraw() const;
    // The font's height of "W" (17 at least with check boxes) plus VertSpacing and, vertical,
    // the dividing lines; never below 1. Rows of HTML text taller than the font are spaced by
    // the tallest text when drawn (TLegendLayout::ItemHeight).
    int ItemHeight();
    // The series a value legend lists, null when none.
    TChartSeries* LegendSeries() const;
    // The value text of a point: the series' legend text in TextStyle, lines joined by blanks.
    QString ValueText(TChartSeries& series, int valueIndex) const;
    const TLegendLayout& Layout() const { return layout_; }

    // --- Drawing and the mouse
    // Lays the legend out against the chart rectangle, paints it and, in place, takes its room
    // from the chart rectangle.
    void Draw();
    // The item under (x, y) (FirstValue included), -1 for none.
    int Clicked(int x, int y) const;
    // Switches the series (or group) of an item: toggles it, or with radio boxes leaves it the
    // only active one. True when something was switched.
    bool DoCheckBox(int index);
    // A series of the chart is being freed.
    void SeriesFreeing(const TCustomChartSeries* series);

protected:
    std::unique_ptr<TPlotGradient> CreateGradient() override;

private:
    int CountItems(TLegendStyle style, int& first) const;
    // The text of item index in the style being drawn (the chart's OnGetLegendText applied).
    QString ItemText(int index);
    void CalcTexts(int index, QString& text, QString& text2);
    // Measures the texts of items from..to and keeps them for the drawing.
    void MeasureTexts(int from, int to);
    // Makes the rows as tall as the tallest measured HTML text; true when they grew.
    bool GrowRowsForText();
    const std::array<QString, 2>& Texts(int index);
    void LayoutVertical(TRect& box, int titleHeight, int titleWidth);
    void LayoutHorizontal(TRect& box, int titleHeight, int titleWidth);
    int BoxHeight(int titleHeight) const;
    void DrawItem(int position, int index);
    void DrawItemTexts(const std::array<QString, 2>& texts, int textX, int y, TLegendItem& item);
    void DrawSymbol(int index, const TRect& rect);
    void ResizeChartRect();
    void NotifyCheckBoxes();
    TCustomChartSeries* ItemSeries(int index) const;

    TCustomChart* chart_ = nullptr;
    TLegendAlignment alignment_ = laRight;
    bool checkBoxes_ = false;
    TCheckBoxesStyle checkBoxesStyle_ = cbsCheck;
    bool currentPage_ = true;
    std::unique_ptr<TChartHiddenPen> dividingLines_;
    int firstValue_ = 0;
    bool fontSeriesColor_ = false;
    int horizMargin_ = 0;
    int vertMargin_ = 0;
    bool inverted_ = false;
    int leftPercent_ = 0;
    int topPercent_ = 0;
    TPlotUnits positionUnits_ = muPixels;
    TLegendStyle legendStyle_ = lsAuto;
    int maxNumRows_ = 10;
    bool resizeChart_ = true;
    std::unique_ptr<TLegendSymbol> symbol_;
    TLegendTextStyle textStyle_ = ltsLeftValue;
    std::unique_ptr<TLegendTitle> title_;
    int topPos_ = 10;
    int vertSpacing_ = 0;
    TChartSeries* series_ = nullptr;
    std::unique_ptr<TLegendItems> items_;
    TLegendLayout layout_;
    std::vector<std::array<QString, 2>> texts_;
    int textsFirst_ = 0;
};

// The legend the chart publishes.
class TChartLegend : public TCustomChartLegend {
public:
    using TCustomChartLegend::TCustomChartLegend;
};

// Draws a series' legend symbol into rect of any canvas (list boxes, the gallery): on the series'
// chart, else on the given chart, else on a chart made for the purpose; a chart the series is not
// on holds it for the duration. The background is the legend's colour.
void DrawSeriesLegendSymbol(TChartSeries& series, TCanvas& canvas, const TRect& rect, TCustomChart* chart = nullptr);

#endif
