#ifndef ZENDRIK_FORMS_VIEWPANEL_H
#define ZENDRIK_FORMS_VIEWPANEL_H

#include "app/MainChartSeries.h"

#include <QList>
#include <QWidget>
#include <array>
#include <vector>

class QCheckBox;
class QGroupBox;
class QPushButton;
enum class LevelUnit;
struct MainWindowColors;

// The main window's view panel under the chart: which traces the chart shows with the colour key
// of each, the level unit, the frequency axis' options, "Undo zoom", "Clear chart" and "Clear all".
class ViewPanel : public QWidget {
    Q_OBJECT
public:
    // Also each project's axis mode: project files carry none.
    static constexpr bool kLogAxisAtStartUp = true;

    // The colour keys show these colours.
    ViewPanel(const MainWindowColors& colors, QWidget* parent);

    // Every view box checked but "Cor", the unit dBuV.
    void startUp();
    // Whether the view boxes show the lines of a role; a role no box governs is shown.
    bool shows(SeriesRole role) const;
    // The unit boxes as unit says, without a signal.
    void showLevelUnit(LevelUnit unit);
    bool logAxis() const;
    void setLogAxis(bool logarithmic);
    // "log" unticked without a signal: the axis has turned linear by itself.
    void showLinearAxis();
    bool scaledKhz() const;
    bool zoomY() const;
    // "Clear chart" and "Clear all" only while nothing owns the traces.
    void enableClearCommands(bool idle);
    void refreshColorKeys();
    void showDebugControls(bool shown);

signals:
    // A view box shows or hides the lines of its series.
    void viewToggled(const std::vector<SeriesRole>& roles, bool shown);
    // A unit box's state changed (also by the unit boxes' own rule).
    void levelUnitToggled(LevelUnit unit, bool checked);
    void logAxisToggled(bool logarithmic);
    void scaledKhzToggled(bool scaled);
    void undoZoomClicked();
    void clearChartClicked();
    void clearAllClicked();

private:
    struct ViewBox {
        QCheckBox* box;
        std::vector<SeriesRole> roles;
    };
    // The box that governs a role; null for none.
    QCheckBox* BoxOf(SeriesRole role) const;

    QGroupBox* viewGroup = nullptr;
    // GroupBox1 "View (on/off)": the traces of both sets, "Cor" (corrections, overlays and
    // compensation) and "Master" (debug only), in the order of the table in ViewPanel.cpp
    // (CheckBox4 "Set1" .. CheckBox16 "Master").
    std::vector<ViewBox> viewBoxes;
    QCheckBox* viewCorrectionsCheckBox = nullptr;  // CheckBox8 "Cor"
    QCheckBox* viewMasterCheckBox = nullptr;       // CheckBox16 "Master", debug only
    // The colour keys beside the view boxes, one square each.
    QList<QWidget*> viewColorKeys;
    std::array<QCheckBox*, 3> unitBoxes{};         // CheckBox29 "dBuV", CheckBox30 "dBpW", CheckBox31 "dBm"
    QCheckBox* logAxisCheckBox = nullptr;          // CheckBox2 "log"
    QCheckBox* khzMhzCheckBox = nullptr;           // CheckBox11 "kHz/MHz"
    QCheckBox* zoomYAxisCheckBox = nullptr;        // CheckBox12 "Zoom Y Axis"
    QPushButton* undoZoomButton = nullptr;         // Button3 "Undo zoom"
    QPushButton* clearChartButton = nullptr;       // Button12 "Clear chart"
    QPushButton* clearAllButton = nullptr;         // Button4 "Clear all"
};

#endif
