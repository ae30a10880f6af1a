#ifndef ZENDRIK_CHART_ENGINE_CHARTSERIES_H
#define ZENDRIK_CHART_ENGINE_CHARTSERIES_H

#include "chart/engine/ChartElement.h"
#include "chart/engine/ChartValueList.h"
#include "chart/engine/LabelsList.h"
#include "chart/engine/PointColors.h"
#include "chart/engine/SeriesSource.h"
#include "platform/gdi/GdiTypes.h"

#include <QPoint>
#include <QString>
#include <span>
#include <functional>
#include <memory>
#include <random>
#include <vector>

class SeriesAxis;
class TPlotFunction;
class TSeriesMarks;
struct TSeriesMarkPosition;

enum TValueEvent { veClear, veAdd, veDelete, veRefresh, veModify };
enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
enum TLegendTextStyle {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue,
    ltsValue,
    ltsPercent,
    ltsXAndValue,
    ltsXAndPercent
};

// Separators inside chart texts: lines of a multi-line text, columns of a legend text.
inline constexpr QChar kChartLineSeparator(13);
inline constexpr QChar kChartColumnSeparator(6);

// Which changes a series passes on to the series it feeds.
inline constexpr int kLinkDelete = 1;
inline constexpr int kLinkModify = 2;
inline constexpr int kLinkAdd = 4;
inline constexpr int kLinkClear = 8;

// The visible index range first..last of the ordered values begin..end between low and high: the
// first value at or above low, the last at or below high (or, with drawBetween, the first beyond
// it). Ascending values are searched by bisection; other orders are scanned from the ends.
void CalcVisibleRange(std::span<const double> values, int begin, int end, double low, double high, bool ascending,
                      bool drawBetween, int& first, int& last);

// The data container of a chart: X and Y value lists (and further columns of series types),
// optional labels and colours, the binding to a pair of axes and the series fed by this one.
class TChartSeries : public TCustomChartSeries {
public:
    // Events.
    std::function<void(TChartSeries*, int)> OnAfterAdd;
    std::function<bool(TChartSeries*)> OnBeforeAdd;
    std::function<void(TChartSeries*)> OnClearValues;
    std::function<void(TChartSeries*, int, int, int, int, int)> OnClick;    // index, button, shift, x, y
    std::function<void(TChartSeries*, int, int, int, int, int)> OnDblClick;
    std::function<void(TChartSeries*)> OnMouseEnter;
    std::function<void(TChartSeries*)> OnMouseLeave;
    std::function<void(TChartSeries*, int, QString&)> OnGetMarkText;   // index, text
    std::function<void(TChartSeries*)> BeforeDrawValues;
    std::function<void(TChartSeries*)> AfterDrawValues;

    TChartSeries();
    ~TChartSeries() override;

    QString ClassName() const override { return QStringLiteral("TChartSeries"); }
    void SetParentChart(ChartParent* chart) override;

    // Values.
    int Count() const { return xValues_->Count(); }
    virtual int VisibleCount() const { return Count(); }
    TChartValueLists& ValuesList() { return valuesList_; }
    TChartValueList& XValues() { return *xValues_; }
    TChartValueList& YValues() { return *yValues_; }
    const TChartValueList& XValues() const { return *xValues_; }
    const TChartValueList& YValues() const { return *yValues_; }
    TChartValueList& MandatoryValueList() { return *mandatory_; }
    TChartValueList& NotMandatoryValueList() { return *notMandatory_; }
    bool YMandatory() const { return yMandatory_; }
    virtual TChartValueList& GetYValueList(const QString& name);
    TLabelsList& Labels() { return labels_; }
    const TLabelsList& Labels() const { return labels_; }
    QString XLabel(int index) const { return labels_.Labels(index); }
    void SetXLabel(int index, const QString& text);

    virtual double GetPointX(int index) const { return xValues_->Value(index); }
    virtual double GetPointY(int index) const { return yValues_->Value(index); }
    void SetPointX(int index, double value);
    void SetPointY(int index, double value);
    TColor GetPointColor(int index) const;
    void SetPointColor(int index, TColor color);
    bool HasColors() const { return !colors_.Empty(); }
    // The colours the points were given, as runs.
    const TPointColors& PointColors() const { return colors_; }
    bool IsNull(int index) const { return GetValueColor(index) == clNone; }
    // A point whose X or Y is NaN or infinite is no point: it is not drawn, marked or listed with
    // a value, and nothing joins it to its neighbours.
    bool IsMissingPoint(int index) const;
    bool HasMissingPoints() const { return xValues_->HasNonFinite() || yValues_->HasNonFinite(); }
    double NullValue() const { return nullValue_; }
    void SetNullValue(double value) { nullValue_ = value; }

    // Adding and removing points.
    virtual int AddPointXY(double x, double y, const QString& label = {}, TColor color = clDefault);
    // Makes room for count points in every value list (and the point colours when in use), so a
    // trace of known length is filled without regrowing its columns.
    void ReservePoints(int count);
    // Adds a whole trace (all points in one colour, no labels) as AddPointXY would point by point,
    // but without the per-point overhead while the series is inside BeginUpdate/EndUpdate.
    void AddPointsXY(std::span<const double> xs, std::span<const double> ys, TColor color = clDefault);
    int Add(double y, const QString& label = {}, TColor color = clDefault);
    virtual int AddMandatoryValue(double value, const QString& label = {}, TColor color = clDefault);
    virtual int AddNull(const QString& label = {});
    virtual int AddNullXY(double x, double y, const QString& label = {});
    virtual int AddValue(TChartSeries& source, int valueIndex);
    virtual void AssignValues(TChartSeries& source);
    virtual void Clear();
    virtual void Delete(int valueIndex);
    virtual void DeleteRange(int start, int quantity, bool removeGap = false);
    virtual void SwapValueIndex(int a, int b);
    void CheckOrder();

    // Bulk updates: notification and repaint wait for the last EndUpdate.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }
    void RefreshSeries();
    class UpdateScope {
    public:
        explicit UpdateScope(TChartSeries& series) : series_(series) { series_.BeginUpdate(); }
        ~UpdateScope() { series_.EndUpdate(); }
        UpdateScope(const UpdateScope&) = delete;
        UpdateScope& operator=(const UpdateScope&) = delete;

    private:
        TChartSeries& series_;
    };

    // Linked series and data sources.
    virtual void NotifyNewValue(int valueIndex);
    virtual void NotifyValue(TValueEvent event, int valueIndex);
    void AddLinkedSeries(TChartSeries* series);
    void RemoveLinkedSeries(TChartSeries* series);
    const std::vector<TChartSeries*>& LinkedSeries() const { return linkedSeries_; }
    int LinkFlags() const { return linkFlags_; }
    void SetLinkFlags(int flags) { linkFlags_ = flags & 15; }
    TDataSourcesList& DataSources() { return dataSources_; }
    ChartComponent* DataSource() const;
    void SetDataSource(ChartComponent* source);
    // Puts replacement where source stands among the sources, keeping their order, and reloads;
    // a replacement this series may not take only drops source.
    void ReplaceDataSource(ChartComponent* source, ChartComponent* replacement);
    // The series' own acceptance of a source: another series that is not fed by this one.
    virtual bool IsValidSourceOf(const ChartComponent* source) const;
    // Whether SetDataSource would take source: the chart (or, without one, the series) accepts
    // it and it is not fed by this series.
    bool AcceptsSource(ChartComponent* source);
    void CheckDataSource();
    virtual bool HasFunction() const { return function_ != nullptr; }
    // The function that computes this series' points from its sources (the series owns it).
    TPlotFunction* Function() const { return function_.get(); }
    // Releases the old function, attaches the new one (or none) and reloads the points.
    void SetFunction(std::unique_ptr<TPlotFunction> function);
    // Hands the function over to the caller; the series keeps its points.
    std::unique_ptr<TPlotFunction> TakeFunction();

    // Takes the settings of source and its points, its sources or a copy of its function.
    virtual void Assign(TChartSeries& source);
    // Storing the points in the form description: never, always, or only when they were read
    // from it (and then not taken from a source or function since).
    bool NeverStorePoints = false;
    bool AlwaysStorePoints = false;
    bool PointsFromStream = false;

    // Colours.
    TColor SeriesColor() const;
    virtual void SetSeriesColor(TColor color);
    TColor DefaultColor() const { return defaultColor_; }
    // The colour as set, clDefault while none was chosen.
    TColor StoredSeriesColor() const { return seriesColor_; }
    void SetDefaultColor(TColor color) { defaultColor_ = color; }
    bool ColorEachPoint() const { return colorEachPoint_; }
    virtual void SetColorEachPoint(bool value) { SetAndRepaint(colorEachPoint_, value); }
    virtual TColor GetValueColor(int index) const;

    // Axes and pixels.
    THorizAxis HorizAxis() const { return horizAxis_; }
    void SetHorizAxis(THorizAxis value);
    TVertAxis VertAxis() const { return vertAxis_; }
    void SetVertAxis(TVertAxis value);
    SeriesAxis* CustomHorizAxis() const { return customHorizAxis_; }
    void SetCustomHorizAxis(SeriesAxis* axis);
    SeriesAxis* CustomVertAxis() const { return customVertAxis_; }
    void SetCustomVertAxis(SeriesAxis* axis);
    SeriesAxis* GetHorizAxis() const { return horizAxisRef_; }
    SeriesAxis* GetVertAxis() const { return vertAxisRef_; }
    SeriesAxis* MandatoryAxis() const { return yMandatory_ ? vertAxisRef_ : horizAxisRef_; }
    void BindAxes();
    // A custom axis is going away: fall back to the standard one.
    void ForgetAxis(const SeriesAxis* axis);
    virtual bool AssociatedToAxis(const SeriesAxis* axis) const;
    // Drawn against the axis, active or not.
    bool BoundToAxis(const SeriesAxis* axis) const;
    virtual bool UseAxis() const { return true; }

    int CalcXPosValue(double value) const;
    int CalcYPosValue(double value) const;
    int CalcPosValue(double value) const { return yMandatory_ ? CalcYPosValue(value) : CalcXPosValue(value); }
    virtual int XToPixel(int valueIndex) const { return CalcXPosValue(GetPointX(valueIndex)); }
    virtual int YToPixel(int valueIndex) const { return CalcYPosValue(GetPointY(valueIndex)); }
    virtual QPoint CalcPointPos(int valueIndex) const { return {XToPixel(valueIndex), YToPixel(valueIndex)}; }
    double PixelToX(int pixel) const;
    double PixelToY(int pixel) const;

    // Statistics through the cached value-list figures.
    virtual double GetMaxX() { return xValues_->MaxValue(); }
    virtual double GetMaxY() { return yValues_->MaxValue(); }
    virtual double GetMinX() { return xValues_->MinValue(); }
    virtual double GetMinY() { return yValues_->MinValue(); }
    virtual double MaxZValue() const { return calcZOrder_; }
    virtual double MinZValue() const { return calcZOrder_; }

    // Z order and depth.
    int ZOrder() const { return zOrder_; }
    void SetZOrder(int value) { SetAndRepaint(zOrder_, value); }
    int Depth() const { return depth_; }
    void SetDepth(int value) { SetAndRepaint(depth_, value); }
    int CalculatedZOrder() const { return calcZOrder_; }
    int StartZ() const { return startZ_; }
    int MiddleZ() const { return middleZ_; }
    int EndZ() const { return endZ_; }
    virtual void CalcZOrder();
    // The chart turns the computed Z order into the drawing depth index.
    void SetCalculatedZOrder(int value) { calcZOrder_ = value; }
    virtual void CalcZPositions();
    virtual bool MoreSameZOrder() const;
    bool SkipZOrderCheck = false;

    // Paging and visible range.
    void CalcFirstLastPage(int& first, int& last) const;
    int FirstValueIndex = -1;
    int LastValueIndex = -1;
    bool CalcVisiblePoints = true;
    bool DrawBetweenPoints = false;
    // A function over all points gives one point in the middle of the X range, not a level line.
    bool SinglePoint = true;

    // --- Drawing (ChartSeriesDraw.cpp)
    // The points inside the visible range of the not-mandatory axis (and the current page).
    virtual void CalcFirstLastVisibleIndex();
    virtual void DrawAllValues();
    // One point; the series types draw it.
    virtual void DrawValue(int valueIndex) { (void)valueIndex; }
    virtual void DoBeforeDrawValues();
    virtual void DoAfterDrawValues();
    virtual void DrawMarks();
    virtual void DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position);
    // False when a 3D chart is seen from its other side: values are then drawn last to first.
    virtual bool DrawValuesForward() const;
    virtual bool IsNormalSideView() const;
    // The point's pixel position lies inside the chart rectangle.
    virtual bool IsPointInChartRect(int valueIndex) const;
    TSeriesMarks& Marks() { return *marks_; }
    const TSeriesMarks& Marks() const { return *marks_; }
    // Widest and tallest mark text of the points whose mark is shown.
    gdi::Size MaxMarkSize();
    int MaxMarkWidth() { return MaxMarkSize().cx; }

    // --- Mark and legend texts
    virtual QString GetMarkText(int valueIndex);
    virtual double MarkValue(int valueIndex) { return GetMarkValue(valueIndex); }
    virtual double GetMarkValue(int valueIndex) { return mandatory_->Value(valueIndex); }
    QString ValueMarkText(int valueIndex);
    QString LabelMarkText(int valueIndex);
    QString XValueMarkText(int valueIndex);
    QString PercentMarkText(int valueIndex, bool withTotal);
    // The point index a legend row stands for: a point that is no number has no row.
    virtual int LegendToValueIndex(int legendIndex) const;
    virtual QString LegendString(int legendIndex, TLegendTextStyle style);
    // Rows a value legend lists for this series, and the colour of a point's symbol there.
    virtual int CountLegendItems() const;
    virtual TColor LegendItemColor(int valueIndex) const { return GetValueColor(valueIndex); }

    // --- Legend symbol (ChartSeriesDraw.cpp)
    // The symbol of point valueIndex (-1: of the series) in rect on the chart's canvas: the item
    // colour, the series' brush and pen (the chart's LegendPen instead when it has one), then
    // DrawLegendShape. Nothing for a clNone colour, nor for -1 when every point has its own
    // colour.
    void DrawLegend(int valueIndex, const TRect& rect);
    // The series type's own pen and brush for its symbol: may select a pen and change the colour
    // and brush style the symbol is filled with.
    virtual void PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle);
    // The symbol itself, with the canvas prepared; the base fills rect (the chart's
    // DrawLegendRect).
    virtual void DrawLegendShape(int valueIndex, const TRect& rect);

    // Sample values.
    virtual int NumSampleValues() const { return 25; }
    virtual void AddSampleValues(int numValues);
    void FillSampleValues(int numValues = 0);

    // The series gallery. The captions of the variants ("sub-styles") the type offers, the plain
    // one first; a type without variants adds none.
    virtual void CreateSubGallery(const std::function<void(const QString&)>& add) const { (void)add; }
    // Gives the series the look of variant index of CreateSubGallery; 0 leaves it plain.
    virtual void SetSubGallery(int index) { (void)index; }
    // Readies the series as a small preview of its type; enabled is false for a type that cannot
    // be chosen.
    virtual void PrepareForGallery(bool enabled) { (void)enabled; }
    // The gallery has switched its preview chart between 2D and 3D.
    virtual void GalleryChanged3D(bool is3D) { (void)is3D; }
    // Before the points are stored: a series that adds points of its own while it draws takes
    // them out, so a stored chart holds only what was given to it.
    virtual void BeforeWriteData() {}
    void SetRandomSeed(unsigned seed) { random_.seed(seed); }

    // Formats and sources of columns.
    const QString& ValueFormat() const { return valueFormat_; }
    void SetValueFormat(const QString& value) { SetAndRepaint(valueFormat_, value); }
    const QString& PercentFormat() const { return percentFormat_; }
    void SetPercentFormat(const QString& value) { SetAndRepaint(percentFormat_, value); }
    const QString& ColorSource() const { return colorSource_; }
    void SetColorSource(const QString& value);
    const QString& XLabelsSource() const { return xLabelsSource_; }
    void SetXLabelsSource(const QString& value);
    int Cursor() const { return cursor_; }
    void SetCursor(int value) { cursor_ = value; }
    virtual bool HasClickEvents() const { return OnClick || OnDblClick; }
    static constexpr int crDefault = 0;
    // The point under a pixel position, -1 when none; series types that draw answer it.
    virtual int Clicked(int x, int y) const { (void)x, (void)y; return -1; }
    // Mouse moved to (x, y): sets the chart cursor and fires enter/leave; true when over a point.
    bool CheckMouse(int x, int y);
    bool MouseOver() const { return mouseOver_; }
    bool AllowCustomXValues = true;

protected:
    void Notification(ChartComponent* removed) override;
    // The generator of sample values, which SetRandomSeed seeds: a gallery cell gives each of its
    // series a seed of its own, so that they differ.
    std::mt19937& SampleRandom() { return random_; }
    // Adds a value list (a further column of a series type) and returns it.
    TChartValueList* AddValueList(const QString& name);
    // Copies point valueIndex of source to this series (X and Y exchanged when the two differ
    // in which list is mandatory); further columns the source lacks get 0.
    virtual int AddPointFrom(TChartSeries& source, int valueIndex, const QString& label, TColor color);
    virtual void ClearLists();
    void SetHorizontal();

private:
    friend class TDataSourcesList;
    friend class TPlotSeriesSource;
    // Why this series may not take source (the text SetDataSource throws); empty when it may.
    QString SourceRefusal(ChartComponent& source);
    void ValidateSource(ChartComponent* source);
    void AttachSource(ChartComponent* source);
    void DetachSource(ChartComponent* source);
    int StorePoint(double x, double y, const QString& label, TColor color);
    bool FeedsSeries(const TChartSeries* other) const;
    void CheckPointIndex(int index) const;

    std::unique_ptr<TSeriesMarks> marks_;
    std::unique_ptr<TPlotFunction> function_;
    TChartValueLists valuesList_;
    TChartValueList* xValues_ = nullptr;
    TChartValueList* yValues_ = nullptr;
    TChartValueList* mandatory_ = nullptr;
    TChartValueList* notMandatory_ = nullptr;
    bool yMandatory_ = true;
    TLabelsList labels_;
    TPointColors colors_;
    TColor seriesColor_ = clDefault;
    TColor defaultColor_ = clDefault;
    bool colorEachPoint_ = false;
    QString colorSource_;
    QString xLabelsSource_;
    QString valueFormat_;
    QString percentFormat_;
    int cursor_ = 0;
    TDataSourcesList dataSources_{*this};
    std::vector<TChartSeries*> linkedSeries_;
    int linkFlags_ = 15;
    double nullValue_ = 0.0;
    THorizAxis horizAxis_ = aBottomAxis;
    TVertAxis vertAxis_ = aLeftAxis;
    SeriesAxis* customHorizAxis_ = nullptr;
    SeriesAxis* customVertAxis_ = nullptr;
    SeriesAxis* horizAxisRef_ = nullptr;
    SeriesAxis* vertAxisRef_ = nullptr;
    int depth_ = -1;
    int zOrder_ = -1;
    int calcZOrder_ = 0;
    int startZ_ = 0;
    int middleZ_ = 0;
    int endZ_ = 0;
    int updateCount_ = 0;
    bool mouseOver_ = false;
    std::mt19937 random_{5489u};
};

#endif
