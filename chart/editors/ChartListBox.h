#ifndef ZENDRIK_CHART_EDITORS_CHARTLISTBOX_H
#define ZENDRIK_CHART_EDITORS_CHARTLISTBOX_H

#include "chart/series/Chart.h"

#include <QListWidget>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

class QLineEdit;
class TChartSeries;
class TCustomChartSeries;
struct ChartUnitState;
struct EditorDialogs;

// The parts of a list item, left to right.
enum TListBoxSection { lbsIcon, lbsCheck, lbsColor, lbsTitle };

// The series of a chart, one item per series shown in editors, each with the series type's icon,
// an active check box, the series' legend symbol and its title. The user reorders series by
// dragging, renames them in place (F2), recolours them and changes their type by double clicks,
// and adds (Insert) and deletes (Delete) series. The box listens to its chart: it follows added,
// removed and renamed series and forgets a chart that goes before it.
//
// Adding a series and changing a series' type go through the gallery hooks of the chart unit
// (SetChartUnit); without a unit, or while the gallery is not started, both do nothing.
class TChartListBox : public QListWidget, public TPlotEventListener {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 24;
    static constexpr std::array<int, 4> kSectionWidths{26, 16, 26, 216};

    using TSeriesEvent = std::function<void(TCustomChartSeries* series)>;

    // The dialogs (colour, delete question) stay alive while the box exists.
    explicit TChartListBox(const EditorDialogs& dialogs, QWidget* parent = nullptr);
    ~TChartListBox() override;

    // --- The chart
    TCustomChart* Chart() const { return chart_; }
    // Lists the series of the chart (none: an empty list) and listens to it.
    void SetChart(TCustomChart* chart);
    ChartUnitState* ChartUnit() const { return unit_; }
    void SetChartUnit(ChartUnitState* unit) { unit_ = unit; }

    // --- Settings
    bool AllowAddSeries = true;
    bool AllowDeleteSeries = true;
    bool AskDelete = true;
    bool EnableChangeColor = true;
    bool EnableChangeType = true;
    bool EnableDragSeries = true;
    TCheckBoxesStyle CheckStyle() const { return checkStyle_; }
    // Radio style leaves only the first active listed series active.
    void SetCheckStyle(TCheckBoxesStyle value);
    bool FontSeriesColor() const { return fontSeriesColor_; }
    void SetFontSeriesColor(bool value);
    bool ShowActiveCheck() const { return showSection_[lbsCheck]; }
    void SetShowActiveCheck(bool value) { SetSectionShown(lbsCheck, value); }
    bool ShowSeriesIcon() const { return showSection_[lbsIcon]; }
    void SetShowSeriesIcon(bool value) { SetSectionShown(lbsIcon, value); }
    bool ShowSeriesColor() const { return showSection_[lbsColor]; }
    void SetShowSeriesColor(bool value) { SetSectionShown(lbsColor, value); }
    bool ShowSeriesTitle() const { return showSection_[lbsTitle]; }
    void SetShowSeriesTitle(bool value) { SetSectionShown(lbsTitle, value); }
    // Items in the order of their texts instead of the chart's order.
    bool Sorted() const { return isSortingEnabled(); }
    void SetSorted(bool value);

    // --- Queries
    // The series of an item; null for an index out of range.
    TCustomChartSeries* SeriesAt(int index) const;
    // The item of a series, -1 when it is not listed.
    int IndexOfSeries(const TCustomChartSeries* series) const;
    // The selected series in list order.
    std::vector<TCustomChartSeries*> SelectedSeries() const;
    // Left edge of a section: the widths of the visible sections before it.
    int SectionLeft(TListBoxSection section) const;
    // Whether x (item coordinates) lies in a visible section; the title runs to the item's end.
    bool InSection(TListBoxSection section, int x) const;

    // --- Changes
    // Lists the chart's series again, keeping the selected series selected (else the first item).
    void FillSeries();
    // Exchanges item from with item to and their series in the chart (what a drop does).
    void MoveSeries(int from, int to);
    // The actions of the keys and the double clicks, for the selected item.
    void AddSeries();
    void DeleteSelectedSeries();
    void ChangeSeriesType();
    void ChangeSeriesColor();
    // Opens the title editor over the current item (F2).
    void EditTitle();
    QLineEdit* TitleEditor() const { return titleEditor_; }

    // --- TPlotEventListener
    void PlotEvent(TPlotEvent& event) override;

    // --- Notifications
    TSeriesEvent OnChangeActive;
    TSeriesEvent OnChangeColor;
    TNotifyEvent OnChangeOrder;
    TSeriesEvent OnDblClickSeries;
    TNotifyEvent OnOtherItemsChange;
    TNotifyEvent OnRefresh;
    // The series is leaving the chart; the box holds it no longer.
    TSeriesEvent OnRemovedSeries;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ChartListBoxDelegate;
    void SetSectionShown(TListBoxSection section, bool value);
    void ForgetChart();
    void RemoveItemOf(TCustomChartSeries* series);
    void ToggleActive(int index);
    void ApplyRadioStyle();
    void CloseTitleEditor(bool store);
    void DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const;
    void Refreshed();
    bool CanChangeColor(int index) const;

    const EditorDialogs& dialogs_;
    QPointer<TCustomChart> chart_;
    ChartUnitState* unit_ = nullptr;
    TCheckBoxesStyle checkStyle_ = cbsCheck;
    bool fontSeriesColor_ = false;
    std::array<bool, 4> showSection_{true, true, true, true};
    bool dragFromTitle_ = false;
    QLineEdit* titleEditor_ = nullptr;
    TCustomChartSeries* editedSeries_ = nullptr;
};

#endif
