#ifndef ZENDRIK_CHART_SERIES_CHART_H
#define ZENDRIK_CHART_SERIES_CHART_H

#include "chart/engine/AxisPanel.h"
#include "chart/series/ChartLegend.h"
#include "chart/series/ChartTitles.h"
#include "chart/series/ChartWalls.h"

#include <QEvent>
#include <functional>
#include <memory>
#include <vector>

class TCustomChart;

// What lies under a point of the chart, in the order the hit test tries the parts.
enum TChartClickedPartStyle {
    cpNone = 0,
    cpLegend = 1,
    cpAxis = 2,
    cpSeries = 3,
    cpTitle = 4,
    cpFoot = 5,
    cpChartRect = 6,
    cpSeriesMarks = 7,
    cpSubTitle = 8,
    cpSubFoot = 9,
    cpAxisTitle = 10
};

struct TChartClickedPart {
    TChartClickedPartStyle Part = cpNone;
    int PointIndex = -1;
    TChartSeries* ASeries = nullptr;
    TChartAxis* AAxis = nullptr;
    TChartTitle* ATitle = nullptr;
};

using TAllowScrollEvent = std::function<void(TChartAxis* sender, double& min, double& max, bool& allowScroll)>;
using TChartClickEvent = std::function<void(TCustomChart* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickAxisEvent =
    std::function<void(TCustomChart* sender, TChartAxis* axis, TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickSeriesEvent = std::function<void(TCustomChart* sender, TChartSeries* series, int valueIndex,
                                                  TMouseButton button, TShiftState shift, int x, int y)>;
using TChartClickTitleEvent =
    std::function<void(TCustomChart* sender, TChartTitle* title, TMouseButton button, TShiftState shift, int x, int y)>;
using TLegendGetPosEvent = std::function<void(TCustomChart* sender, int index, int& x, int& y, int& xColor)>;
using TLegendGetRectEvent = std::function<void(TCustomChart* sender, TRect& rect)>;
using TLegendGetTextEvent =
    std::function<void(TCustomAxisPanel* sender, TLegendStyle style, int index, QString& text)>;

// The complete chart control: the axis panel with walls, four text blocks, a legend, a back
// colour, a palette choice and the mouse: clicks on chart parts, rubber-band zoom and its undo,
// panning with a mouse button, scrolling with the wheel.
//
// The mouse works in three states: idle, zoom drag and panning drag. A drag that loses the mouse
// (a dialog opens, the window is blocked or hidden) is cancelled and its rectangle erased.
class TCustomChart : public TCustomAxisPanel {
    Q_OBJECT
public:
    explicit TCustomChart(QWidget* parent = nullptr);
    ~TCustomChart() override;

    // --- Parts
    TChartWalls& Walls() { return *walls_; }
    void SetWalls(const TChartWalls& value) { walls_->Assign(value); }
    TChartBackWall& BackWall() { return walls_->Back(); }
    TChartLeftWall& LeftWall() { return walls_->Left(); }
    TChartBottomWall& BottomWall() { return walls_->Bottom(); }
    TChartRightWall& RightWall() { return walls_->Right(); }
    void SetBackWall(const TChartWall& value) { walls_->Back().Assign(value); }
    void SetLeftWall(const TChartWall& value) { walls_->Left().Assign(value); }
    void SetBottomWall(const TChartWall& value) { walls_->Bottom().Assign(value); }
    void SetRightWall(const TChartWall& value) { walls_->Right().Assign(value); }
    TChartTitle& Title() { return *title_; }
    TChartTitle& SubTitle() { return *subTitle_; }
    TChartFootTitle& Foot() { return *foot_; }
    TChartFootTitle& SubFoot() { return *subFoot_; }
    void SetTitle(const TChartTitle& value) { title_->Assign(value); }
    void SetSubTitle(const TChartTitle& value) { subTitle_->Assign(value); }
    void SetFoot(const TChartTitle& value) { foot_->Assign(value); }
    void SetSubFoot(const TChartTitle& value) { subFoot_->Assign(value); }
    TChartLegend& Legend() { return *legend_; }
    void SetLegend(const TChartLegend& value) { legend_->Assign(value); }
    // The back wall's pen.
    TChartPen* Frame() { return &walls_->Back().Pen(); }
    void SetFrame(const TChartPen& value) { walls_->Back().Pen().Assign(value); }

    // The chart's own colour when the back wall is transparent, else the back wall's colour.
    TColor BackColor() const;
    // Paints the back wall; a chart placed in a window also makes the wall's brush solid.
    void SetBackColor(TColor value);
    TColor GetBackColor() const override { return BackColor(); }
    int ColorPaletteIndex() const { return colorPaletteIndex_; }
    void SetColorPaletteIndex(int value);
    TMouseButton ScrollMouseButton() const { return scrollMouseButton_; }
    void SetScrollMouseButton(TMouseButton value) { scrollMouseButton_ = value; }
    // Wheel scrolling of the vertical axes, on by default; keys that must be held to pan.
    bool WheelScrolling = true;
    TShiftState PanningKeys = 0;

    // --- Queries
    // The first active series, null for none.
    TChartSeries* GetASeries() const;
    // The chart part under a point.
    TChartClickedPart CalcClickedPart(int x, int y);
    // True while no zoom or pan changed the axes since the last undo.
    bool Unzoomed() const { return unzoomed_; }
    bool ZoomDragActive() { return Zoom().Active; }
    bool PanningDragActive() const { return Panning.Active; }

    // --- Zoom and scroll
    void ZoomValues(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin, double leftMax,
                    double rightMin, double rightMax);
    virtual void ZoomToRect(const TRect& rect);
    void ZoomToRectangle(const TRect& rect) override { ZoomToRect(rect); }
    void UndoZoom() override;
    // Ends a zoom or panning drag without zooming: the rectangle is erased.
    void CancelMouseDrag();

    void Assign(const TCustomChart& source);
    // Also the older "BackColor" (a colour identifier or an integer) and "ColorPaletteIndex".
    bool ReadLegacyProperty(const QString& name, const QVariant& value) override;

    // --- Mouse, in the panel's terms
    void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
    // One wheel notch: down (towards the user) moves the vertical axes up.
    void MouseWheelNotch(bool down, int32_t x, int32_t y);

    // Events.
    TAllowScrollEvent OnAllowScroll;
    TChartClickAxisEvent OnClickAxis;
    TChartClickEvent OnClickBackground;
    TChartClickEvent OnClickLegend;
    TChartClickSeriesEvent OnClickSeries;
    TChartClickTitleEvent OnClickTitle;
    TLegendGetPosEvent OnGetLegendPos;
    TLegendGetRectEvent OnGetLegendRect;
    TLegendGetTextEvent OnGetLegendText;

    int GetWallSize(const TChartAxis& axis) const override;
    // The legend's value text of the point (OnGetLegendText applied); empty without a series.
    QString FormattedLegendText(TCustomChartSeries& series, int valueIndex) override;
    // With a visible gradient of the legend symbols the symbol painter fills the rectangle.
    void DrawLegendRect(const TRect& rect) override;
    // The legend forgets the series, and SeriesAboutToBeFreed tells every other holder.
    void SeriesFreeing(TCustomChartSeries& series) override;

signals:
    // A series of this chart is about to be freed (also one replaced by a series of another
    // class): whoever holds it (a list of series, a selected series) must forget it now. The
    // series may already be partly destroyed: compare the pointer, do not call it.
    void SeriesAboutToBeFreed(TCustomChartSeries* series);

protected:
    void CalcWallsRect() override;
    void DrawTitlesAndLegend(bool beforeSeries) override;
    void DrawWalls() override;
    bool IsFreeSeriesColor(TColor color, bool checkBackground, const TChartSeries* skip) override;

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct AxisState {
        TChartAxis* Axis = nullptr;
        bool HasValues = false;
        bool Automatic = true;
        bool AutomaticMinimum = true;
        bool AutomaticMaximum = true;
        double Minimum = 0.0;
        double Maximum = 0.0;
    };

    bool AnySeriesUsesAxes() const;
    bool SideFacesViewer(bool left);
    void SaveAxisState();
    void StartDrag(TMouseButton button, TShiftState shift, int32_t x, int32_t y, bool& handled);
    void PanAxes(int32_t x, int32_t y);
    void ScrollAxis(TChartAxis& axis, int from, int to);
    void TellTools(TChartMouseEvent kind, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void DrawTitles(bool customPositioned);
    void CancelDragOnLostMouse(QEvent::Type type);

    std::unique_ptr<TChartTitle> title_;
    std::unique_ptr<TChartTitle> subTitle_;
    std::unique_ptr<TChartFootTitle> foot_;
    std::unique_ptr<TChartFootTitle> subFoot_;
    std::unique_ptr<TChartWalls> walls_;
    std::unique_ptr<TChartLegend> legend_;
    std::vector<AxisState> savedAxes_;
    bool unzoomed_ = true;
    int colorPaletteIndex_ = 0;
    TMouseButton scrollMouseButton_ = mbRight;
    int wheelRemainder_ = 0;
    QObject* watchedWindow_ = nullptr;
};

// The chart the program places on its windows.
class TChart : public TCustomChart {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr) : TCustomChart(parent) {}
};

#endif
