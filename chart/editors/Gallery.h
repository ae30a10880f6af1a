#ifndef ZENDRIK_CHART_EDITORS_GALLERY_H
#define ZENDRIK_CHART_EDITORS_GALLERY_H

#include "chart/series/ChartClasses.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabBar;
class TChartGalleryPanel;
class TChartSeries;
class TCustomAxisPanel;
struct ChartUnitState;
struct EditorDialogs;
struct TPlotFunctionClass;

// What the gallery is opened for.
struct GalleryRequest {
    TCustomAxisPanel* Chart = nullptr;
    // The series whose type is changed: its type is pre-selected, types that would not take it
    // as their source are disabled.
    TChartSeries* CurrentSeries = nullptr;
    // Pre-selected when no series is given.
    const TChartSeriesClass* CurrentClass = nullptr;
    bool View3D = true;
    bool WithFunctions = false;
};

// What the user chose.
struct GalleryChoice {
    const TChartSeriesClass* SeriesClass = nullptr;
    const TPlotFunctionClass* FunctionClass = nullptr;
    int SubIndex = -1;   // -1: no sub-style
    bool View3D = true;
    int PaletteIndex = -1;   // -1: the palette was left as it was
};

// What both gallery forms share: the panel, "&3D", "&Smooth", OK and Cancel.
class TCustomGalleryForm : public QDialog {
    Q_OBJECT
public:
    TCustomGalleryForm(ChartUnitState& unit, QWidget* parent);
    ~TCustomGalleryForm() override;

    virtual void Prepare(const GalleryRequest& request) = 0;
    virtual GalleryChoice Choice() const;

    TChartGalleryPanel* panel;
    QCheckBox* view3DCheck;    // "&3D"
    QCheckBox* smoothCheck;    // "&Smooth"
    QPushButton* okButton;     // "OK"
    QPushButton* cancelButton; // "Cancel"

protected:
    void keyPressEvent(QKeyEvent* event) override;

    ChartUnitState& unit_;
};

// "PlotChart Gallery": type tabs "Series" and "Functions", a tab per gallery page, the panel and
// the palette combo. With "RememberGallerySize" its size comes from and goes to the editor options.
class TPlotGallery : public TCustomGalleryForm {
    Q_OBJECT
public:
    TPlotGallery(ChartUnitState& unit, bool withFunctions, QWidget* parent = nullptr);
    ~TPlotGallery() override;

    void Prepare(const GalleryRequest& request) override;
    GalleryChoice Choice() const override;
    // The page names of the series types (functions: of the calculated ones), "Standard" first.
    QStringList PageNames(bool functions) const;

    QTabBar* typeTabs;       // "Series", "Functions"
    QTabBar* pageTabs;
    QComboBox* paletteCombo; // item data: the palette index

private:
    bool FunctionsTab() const;
    void FillPageTabs();
    void FillPanel();

    bool filling_ = false;
    int initialPalette_ = -1;
};

// The chosen type, through the form "GalleryMode" names (0, the default: the tabbed gallery; any
// other value: the alternate one). On OK the chart takes the 3D and palette choice.
bool ShowSeriesGallery(const EditorDialogs& dialogs, ChartUnitState& unit, QWidget* owner,
                       const GalleryRequest& request, GalleryChoice& choice);
// A new series of the chosen type and sub-style on the chart; null when cancelled.
TChartSeries* CreateSeriesFromGallery(const EditorDialogs& dialogs, ChartUnitState& unit, QWidget* owner,
                                      TCustomAxisPanel& chart);
// The series turned into the chosen type (left as it is for its own type without sub-style);
// the class it has afterwards, null when cancelled.
const TChartSeriesClass* ChangeSeriesTypeFromGallery(const EditorDialogs& dialogs, ChartUnitState& unit,
                                                     QWidget* owner, TChartSeries*& series);

// The gallery unit: its first start registers the standard series types and fills the chart
// unit's add-series and change-type hooks; its last stop empties them. The dialogs and the chart
// unit must outlive the start.
struct GalleryUnitState {
    int StartCount = 0;
    ChartUnitState* Chart = nullptr;
};
void StartGalleryUnit(GalleryUnitState& gallery, ChartUnitState& unit, const EditorDialogs& dialogs);
void StopGalleryUnit(GalleryUnitState& gallery);

#endif
