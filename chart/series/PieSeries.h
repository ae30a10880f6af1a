#ifndef ZENDRIK_CHART_SERIES_PIESERIES_H
#define ZENDRIK_CHART_SERIES_PIESERIES_H

#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/engine/ChartSeries.h"

#include <functional>
#include <memory>
#include <vector>

class TCanvas3D;
class TChartLegend;
class TCustomAxisPanel;
class TCustomChart;
class TView3DOptions;
struct TLibraryTexts;

// Whole-number settings per slice (explosion, height), kept beside the points. Reading past the
// end gives 0; writing past the end first appends zero entries.
class TSliceValueList {
public:
    explicit TSliceValueList(std::function<void()> onChange = {}) : onChange_(std::move(onChange)) {}

    int Count() const { return static_cast<int>(values_.size()); }
    bool Empty() const { return values_.empty(); }
    int Value(int index) const;
    int operator[](int index) const { return Value(index); }
    void SetValue(int index, int value);
    void Delete(int index);
    // Exchanges two entries, growing the list to hold both first.
    void Swap(int a, int b);
    void Clear();
    void Assign(const TSliceValueList& source);

private:
    std::vector<int> values_;
    std::function<void()> onChange_;
};

// The circle of a pie series in shadow: a plot shadow of colour 0xA0A0A0 and size 3.
class TCircledShadow : public TPlotShadow {
public:
    explicit TCircledShadow(TNotifyEvent onChange = {});
};

// A series drawn inside an ellipse fitted into the chart rectangle. While it is on a chart the
// chart's 3D view is turned to a rotated, non-orthogonal one; the view is given back when the
// series leaves the chart, is switched off or freed.
class TCircledSeries : public TChartSeries {
public:
    TCircledSeries();
    ~TCircledSeries() override;

    QString ClassName() const override { return QStringLiteral("TCircledSeries"); }
    void SetParentChart(ChartParent* chart) override;
    void SetActive(bool value) override;
    void Assign(TChartSeries& source) override;
    bool UseAxis() const override { return false; }

    // The colour behind hatched slices and legend symbols; clDefault: the chart's.
    TColor CircleBackColor() const { return circleBackColor_; }
    void SetCircleBackColor(TColor value) { SetAndRepaint(circleBackColor_, value); }
    // Circular on the device: equal physical radii whatever the device's pixel aspect. Every series
    // of the same class in the chart takes the setting; outside loading their custom radii go.
    bool Circled() const { return circled_; }
    void SetCircled(bool value);
    int CustomXRadius() const { return customXRadius_; }
    void SetCustomXRadius(int value);
    int CustomYRadius() const { return customYRadius_; }
    void SetCustomYRadius(int value);
    // Degrees counter-clockwise, kept within 0..359.
    int RotationAngle() const { return rotationAngle_; }
    void SetRotationAngle(int value);
    double Rotation() const { return rotation_; }
    TCircledShadow& Shadow() { return *shadow_; }
    TPlotGradient& Gradient() { return *gradient_; }

    // The geometry of the last drawing.
    int XRadius() const { return xRadius_; }
    int YRadius() const { return yRadius_; }
    int CircleWidth() const { return circleWidth_; }
    int CircleHeight() const { return circleHeight_; }
    int CircleXCenter() const { return circleXCenter_; }
    int CircleYCenter() const { return circleYCenter_; }
    const TRect& CircleRect() const { return circleRect_; }
    // Sets the rectangle the circle is fitted into: the chart rectangle normally.
    void SetCircleRect(const TRect& rect);
    // The pixel of an angle (radians, before rotation) on the ellipse of the given radii.
    TPoint AngleToPos(double angle, double xRadius, double yRadius) const;

    // The circle rectangle for this drawing.
    void DoBeforeDrawValues() override;
    // The background inside the circle: shadow, then a visible gradient clipped to the ellipse;
    // nothing of it in an elevated 3D view.
    virtual void DrawCircleBack();
    // CircleBackColor, else white while the panel prints or records a metafile, else the back
    // wall's colour when the wall is opaque, else the chart's colour.
    TColor ResolvedBackColor() const;
    // Pixels per millimetre across over pixels per millimetre down of the canvas' device; 1 for a
    // device without a physical size.
    static double DevicePixelAspect(TCanvas3D& canvas);

    // The 3D view options kept while the series changed the chart's; null when it holds none.
    const TView3DOptions* SavedView3D() const { return saved3D_.get(); }

protected:
    TCustomAxisPanel* Panel() const;
    TCustomChart* Chart() const;
    // Odd sizes lose a pixel, at least 4 x 4; centre and size from the rectangle.
    void AdjustCircleRect();
    void CalcRadius();
    void ApplyCircled();
    void ShrinkForMarks();
    // Takes dx and dy from each side (an exploded slice needs the room) and fits the radii again.
    void ShrinkCircle(int dx, int dy);
    virtual bool IsSameClass(const TChartSeries& other) const;
    bool AdjustForMarks = true;
    // Set while the series has a cell of the chart to itself: it takes no neighbour's circle.
    bool OwnCell = false;

private:
    template <class F> void ForEachSameClass(F f);
    void Save3DView();
    void Restore3DView();
    // Steps of the circle's layout for one drawing, without the series' events.
    void CalcCircleRect();

    TColor circleBackColor_ = clDefault;
    bool circled_ = false;
    int customXRadius_ = 0;
    int customYRadius_ = 0;
    int rotationAngle_ = 0;
    double rotation_ = 0.0;
    std::unique_ptr<TCircledShadow> shadow_;
    std::unique_ptr<TPlotGradient> gradient_;
    std::unique_ptr<TView3DOptions> saved3D_;
    int xRadius_ = 0;
    int yRadius_ = 0;
    int circleWidth_ = 0;
    int circleHeight_ = 0;
    int circleXCenter_ = 0;
    int circleYCenter_ = 0;
    TRect circleRect_{};
    bool layingOut_ = false;
};

enum TPieOtherStyle { poNone, poBelowPercent, poBelowValue };
enum TMultiPie { mpAutomatic, mpDisabled };

class TPieSeries;

// Slices too small to show on their own, gathered into one slice at the end.
class TPieOtherSlice {
public:
    explicit TPieOtherSlice(TPieSeries& series);
    ~TPieOtherSlice();

    void Assign(const TPieOtherSlice& source);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TPieOtherStyle Style() const { return style_; }
    void SetStyle(TPieOtherStyle value);
    // Empty: the library's text "Other".
    const QString& Text() const { return text_; }
    void SetText(const QString& value);
    bool IsTextStored() const { return !text_.isEmpty(); }
    double Value() const { return value_; }
    void SetValue(double value);
    // The legend listing the gathered slices, made on first use.
    TChartLegend& Legend();
    bool HasLegend() const { return legend_ != nullptr; }
    // Moves the legend to the series' new chart.
    void ChartChanged();
    // The text table the series reads "Other" from; none: the built-in text.
    void SetTexts(const TLibraryTexts* texts) { texts_ = texts; }
    QString ShownText() const;

private:
    TPieSeries& series_;
    TColor color_ = clDefault;
    TPieOtherStyle style_ = poNone;
    QString text_;
    double value_ = 0.0;
    std::unique_ptr<TChartLegend> legend_;
    const TLibraryTexts* texts_ = nullptr;
};

// Where a pie's marks stand: a horizontal leg towards the mark, marks centred on their arrow.
class TPieMarks {
public:
    explicit TPieMarks(std::function<void()> onChange) : onChange_(std::move(onChange)) {}
    void Assign(const TPieMarks& source);
    int LegSize() const { return legSize_; }
    void SetLegSize(int value);
    bool VertCenter() const { return vertCenter_; }
    void SetVertCenter(bool value);

private:
    std::function<void()> onChange_;
    int legSize_ = 0;
    bool vertCenter_ = false;
};

// One slice's angles in radians, before the rotation.
struct TPieAngle {
    double Start = 0.0;
    double Middle = 0.0;
    double End = 0.0;
};

// Each point a slice whose angle follows its absolute value: partial circles, exploded slices,
// small slices gathered into one, several pies side by side, 3D pies drawn back to front.
class TPieSeries : public TCircledSeries {
public:
    // The X value that marks the gathered slice, and the X value of a slice gathered into it.
    static constexpr double kOtherSliceX = 2147483647.0;
    static constexpr double kGroupedX = -1.0;

    TPieSeries();
    ~TPieSeries() override;

    QString ClassName() const override { return QStringLiteral("TPieSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TPieSeriesEditor"); }
    void SetParentChart(ChartParent* chart) override;
    void Assign(TChartSeries& source) override;

    int AddPie(double value, const QString& label = {}, TColor color = clDefault);
    TChartValueList& PieValues() { return YValues(); }
    TChartPen& PiePen() { return Pen(); }

    int AngleSize() const { return angleSize_; }
    void SetAngleSize(int value) { SetAndRepaint(angleSize_, value); }
    bool AutoMarkPosition() const { return autoMarkPosition_; }
    void SetAutoMarkPosition(bool value) { SetAndRepaint(autoMarkPosition_, value); }
    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool value) { SetAndRepaint(dark3D_, value); }
    int DarkPen() const { return darkPen_; }
    void SetDarkPen(int value) { SetAndRepaint(darkPen_, value); }
    // The hole in percent of the radii (a ring series sets it; 0 is a full pie).
    int DonutPercent() const { return donutPercent_; }
    void SetDonutPercent(int value) { SetAndRepaint(donutPercent_, value); }
    // Per-slice explosion in percent of the radius.
    TSliceValueList& ExplodedSlice() { return exploded_; }
    int ExplodeBiggest() const { return explodeBiggest_; }
    void SetExplodeBiggest(int value);
    int GradientBright() const { return gradientBright_; }
    void SetGradientBright(int value);
    TMultiPie MultiPie() const { return multiPie_; }
    void SetMultiPie(TMultiPie value) { SetAndRepaint(multiPie_, value); }
    TPieOtherSlice& OtherSlice() { return *otherSlice_; }
    TPieMarks& PieMarks() { return *pieMarks_; }
    // Per-slice depth in percent of the series' depth (3D).
    TSliceValueList& SliceHeight() { return sliceHeight_; }
    bool UsePatterns() const { return usePatterns_; }
    void SetUsePatterns(bool value) { SetAndRepaint(usePatterns_, value); }

    // Slice angles of the current drawing (computed on demand).
    const TPieAngle& Angle(int valueIndex);
    void CalcAngles();
    void ClearAngles() { angles_.clear(); }
    // A point gathered into the other slice: not drawn, no angle, no mark.
    bool IsGrouped(int valueIndex) const { return GetPointX(valueIndex) == kGroupedX; }
    bool IsOtherSlice(int valueIndex) const { return GetPointX(valueIndex) == kOtherSliceX; }
    // A point that is gathered or no number has no slice of its own.
    bool HasNoSlice(int valueIndex) const { return IsGrouped(valueIndex) || IsMissingPoint(valueIndex); }
    // The pixel offset of an exploded slice (y up).
    void CalcExplodedOffset(int valueIndex, int& dx, int& dy);
    // Stores ExplodeBiggest as the explosion of the biggest slice.
    void CalcExplodeBiggest();
    bool DrawEdges() const { return drawEdges_; }
    // The slices in the order DrawAllValues draws them.
    std::vector<int> DrawingOrder();

    // Points.
    void Clear() override;
    void Delete(int valueIndex) override;
    void SwapValueIndex(int a, int b) override;
    // The points to store in a form description: the gathered slice is left out (the next
    // drawing gathers again).
    void RemoveOtherSlice();
    void BeforeWriteData() override { RemoveOtherSlice(); }

    // Drawing.
    void DoBeforeDrawChart() override;
    void DoBeforeDrawValues() override;
    void DoAfterDrawValues() override;
    void CalcFirstLastVisibleIndex() override;
    void DrawAllValues() override;
    void DrawValue(int valueIndex) override;
    void DrawSlice(int valueIndex);
    void DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position) override;
    void DrawLegendShape(int valueIndex, const TRect& rect) override;
    void PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle) override;
    QPoint CalcPointPos(int valueIndex) const override;
    int XToPixel(int valueIndex) const override;
    int Clicked(int x, int y) const override;
    double GetMaxX() override;
    double GetMinX() override;
    double GetMaxY() override;
    double GetMinY() override;
    void CalcZOrder() override;
    bool MoreSameZOrder() const override { return false; }
    int CountLegendItems() const override;
    int LegendToValueIndex(int legendIndex) const override;
    // While the gathered slices' own legend is drawn, legend rows list only them.
    bool ListingOtherSlices() const { return listingOther_; }

    // Gallery.
    void CreateSubGallery(const std::function<void(const QString&)>& add) const override;
    void SetSubGallery(int index) override;
    void PrepareForGallery(bool enabled) override;
    // 3D on: rotated view, elevation 305; Circled is the opposite of the chart's 3D flag.
    void GalleryChanged3D(bool is3D) override;
    int NumSampleValues() const override { return 8; }
    void AddSampleValues(int numValues) override;

protected:
    void ClearLists() override;
    bool IsSameClass(const TChartSeries& other) const override;

private:
    void SliceColors(int valueIndex, TColor& color, TBrushStyle& style);
    void PrepareSlicePen(TColor color);
    void DrawOtherSliceLegend();
    int SliceEndZ(int valueIndex) const;

    int angleSize_ = 360;
    bool autoMarkPosition_ = true;
    bool dark3D_ = true;
    int darkPen_ = 0;
    int donutPercent_ = 0;
    TSliceValueList exploded_;
    int explodeBiggest_ = 0;
    int gradientBright_ = 0;
    TMultiPie multiPie_ = mpAutomatic;
    std::unique_ptr<TPieOtherSlice> otherSlice_;
    std::unique_ptr<TPieMarks> pieMarks_;
    TSliceValueList sliceHeight_;
    bool usePatterns_ = false;
    TRect savedChartRect_{};
    bool chartRectSaved_ = false;
    std::vector<TPieAngle> angles_;
    bool drawEdges_ = false;
    bool listingOther_ = false;
    bool grouping_ = false;
    std::mt19937 samples_{5489u};
};

#endif
