#ifndef ZENDRIK_CHART_EDITORS_GALLERYALTERNATE_H
#define ZENDRIK_CHART_EDITORS_GALLERYALTERNATE_H

#include "chart/editors/Gallery.h"

#include <map>

class QComboBox;
class TChart;
class TChartListBox;
class TCustomChartSeries;
struct TPlotSeriesType;

// The alternate "PlotChart Gallery": the series types in a sorted list (one series each on a
// hidden chart), narrowed by "&Gallery:" to one page or "(all)"; the panel shows the variants of
// the type chosen in the list.
class TPlotGalleryForm : public TCustomGalleryForm {
    Q_OBJECT
public:
    TPlotGalleryForm(ChartUnitState& unit, const EditorDialogs& dialogs, QWidget* parent = nullptr);
    ~TPlotGalleryForm() override;

    void Prepare(const GalleryRequest& request) override;
    GalleryChoice Choice() const override;
    // The type of the list's current item; null for none.
    const TPlotSeriesType* CurrentType() const;

    TChartListBox* seriesList;
    QComboBox* pageCombo;   // "&Gallery:"; "(all)" first

private:
    void FillTypes();
    void ShowVariants();

    TChart* types_;   // hidden: the list box lists its series
    std::map<const TCustomChartSeries*, const TPlotSeriesType*> typeOf_;
    bool hasVariants_ = false;
};

#endif
