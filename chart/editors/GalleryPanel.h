#ifndef ZENDRIK_CHART_EDITORS_GALLERYPANEL_H
#define ZENDRIK_CHART_EDITORS_GALLERYPANEL_H

#include "chart/series/Chart.h"
#include "chart/series/ChartClasses.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

class TChartGalleryPanel;
class TSubGalleryPopup;
class TPlotSeriesTypes;
struct TPlotFunctionClass;

// One cell of the gallery: a small live chart of a series type (or, on the gradient editor's
// "Directions" page, of a gradient direction).
class TGalleryChart : public TCustomChart {
    Q_OBJECT
public:
    TGalleryChart(TChartGalleryPanel* panel, QWidget* parent);

    // The type the chart shows; null for charts that show no series type.
    const TChartSeriesClass* SeriesClass = nullptr;
    const TPlotFunctionClass* FunctionClass = nullptr;
    int SubIndex = 0;

    // A chart whose type cannot be chosen: no-drop cursor, no clicks, grey title and walls.
    bool GalleryEnabled() const { return enabled_; }
    void SetGalleryEnabled(bool enabled);
    bool IsFocusedChart() const { return focused_; }
    // The focused look: panel gradient, raised bevel, big shadowed title, turned a bit further.
    void SetFocusedLook(bool focused, bool rotate);
    // Margins 4 in 3D, 5 in 2D.
    void ResetMargins();
    // Where the sub-style marker sits, and where a click opens the pop-up.
    QRect SubMarkerRect() const;
    // The chart drawn at twice its size and resampled into its own size, title drawn after.
    QImage SmoothPicture();

    void Invalidate() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PaintOverlay(QPainter& painter);
    void DrawTitleOn(QImage& picture);

    TChartGalleryPanel* panel_;
    bool enabled_ = true;
    bool focused_ = false;
    QImage smooth_;
    bool smoothStale_ = true;
    bool drawingSmooth_ = false;
};

// The rows a page of count charts needs with numCols columns; fewer than one column counts as one.
int GalleryRowsFor(int count, int numCols);
// Where a window of the size goes so that its top-left corner is at wanted, moved left and up as
// far as it must to stay inside the available area.
QPoint PlaceInside(const QPoint& wanted, const QSize& size, const QRect& available);

// A grid of gallery charts, NumRows x NumCols cells in row-major order, with a focused chart that
// the arrow keys move and Enter or a double click chooses; Alt+Down opens the focused type's
// sub-styles in a pop-up.
class TChartGalleryPanel : public QWidget {
    Q_OBJECT
public:
    explicit TChartGalleryPanel(QWidget* parent = nullptr);
    ~TChartGalleryPanel() override;

    // --- Properties
    bool DisplaySub = true;
    bool FocusRotation() const { return focusRotation_; }
    void SetFocusRotation(bool value);
    int NumRows() const { return numRows_; }
    void SetNumRows(int value);
    int NumCols() const { return numCols_; }
    void SetNumCols(int value);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool value);
    bool View3D() const { return view3D_; }
    void SetView3D(bool value);
    // The panel's bevel and border, taken from the size before the cells are cut.
    int FrameWidth() const { return frameWidth_; }

    // --- What the page offers
    // With a current series and CheckSeries on, types whose series would not take the current
    // series as their source are shown disabled.
    TChartSeries* CurrentSeries = nullptr;
    bool CheckSeries = false;
    // Only types with a function class (else only those without).
    bool FunctionsOnly = false;

    // --- Charts
    int Count() const { return static_cast<int>(charts_.size()); }
    TGalleryChart* Chart(int index) const { return charts_.at(static_cast<size_t>(index)); }
    int IndexOf(const TGalleryChart* chart) const;
    TGalleryChart* SelectedChart() const { return selected_; }
    // Focuses the chart; OnChangeChart when it changed.
    void SetSelectedChart(TGalleryChart* chart);
    // Focuses the chart of the type; false when the page has none.
    bool SelectType(const TChartSeriesClass* seriesClass, const TPlotFunctionClass* functionClass);
    // The sub-style chosen for the focused chart in the pop-up; -1 for none.
    int SubIndex() const { return subIndex_; }
    TSubGalleryPopup* SubPopup() const { return popup_; }

    TGalleryChart& AddChart();
    void FreeCharts();
    // The charts of the registered types of a gallery page.
    void FillGalleryPage(const TPlotSeriesTypes& types, const QString& page);
    // Gives the chart count series of the class (at least one), filled with sample values and
    // readied as previews.
    void CreateChartSeries(TGalleryChart& chart, const TChartSeriesClass& seriesClass,
                           const TPlotFunctionClass* functionClass, int count, int subIndex);

    // --- Layout
    int CellWidth() const;
    int CellHeight() const;
    QRect CellRect(int index) const;
    void LayoutCharts();

    // --- Keys and the pop-up; true when the key was used.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    void ShowSubGallery();
    // What a click on a chart or on its marker does.
    void ChartClicked(TGalleryChart& chart, const QPoint& position);
    void ChartDoubleClicked(TGalleryChart& chart);
    // Applies a variant of the focused chart's type to its series: 0 makes them plain again.
    void ApplySubStyle(int variant);

    std::function<void()> OnSelectedChart;
    std::function<void()> OnChangeChart;
    std::function<void()> OnSubSelected;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TSubGalleryPopup;
    void UpdateFocusLook();
    void MoveFocus(int dCol, int dRow);
    void SubPopupClosed(bool accepted, int variant);

    std::vector<TGalleryChart*> charts_;
    TGalleryChart* selected_ = nullptr;
    QPointer<TSubGalleryPopup> popup_;
    bool focusRotation_ = true;
    int numRows_ = 3;
    int numCols_ = 4;
    bool smooth_ = false;
    bool smoothRead_ = false;
    bool view3D_ = true;
    int frameWidth_ = 1;
    int subIndex_ = -1;
    int nameCounter_ = 0;
};

// The sub-style pop-up: a 12-pixel strip that closes it with OK, over a nested panel with one
// chart per variant of the focused type. Esc closes it with Cancel; other keys go to the panel.
class TSubGalleryPopup : public QWidget {
    Q_OBJECT
public:
    explicit TSubGalleryPopup(TChartGalleryPanel& owner);
    ~TSubGalleryPopup() override;

    TChartGalleryPanel& Panel() { return *nested_; }
    QWidget& Strip() { return *strip_; }
    QStringList Variants() const { return variants_; }
    // Chooses the nested panel's focused variant and closes with OK; Cancel closes without.
    void Accept();
    void Cancel();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    TChartGalleryPanel& owner_;
    QWidget* strip_;
    TChartGalleryPanel* nested_;
    QStringList variants_;
    bool done_ = false;
};

inline constexpr int kSubStripHeight = 12;

#endif
