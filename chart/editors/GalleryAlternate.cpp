#include "chart/editors/GalleryAlternate.h"

#include "chart/editors/ChartListBox.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/GalleryPanel.h"
#include "chart/engine/PlotMessages.h"
#include "chart/series/ChartUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

QString AllPages() { return QStringLiteral("(all)"); }

// The types the list offers: plain series types that the gallery shows.
bool Listed(const TPlotSeriesType& type)
{
    return type.SeriesClass && !type.FunctionClass && type.SubIndex == 0 && type.NumGallerySeries > 0;
}

} // namespace

TPlotGalleryForm::TPlotGalleryForm(ChartUnitState& unit, const EditorDialogs& dialogs, QWidget* parent)
    : TCustomGalleryForm(unit, parent)
{
    setObjectName(QStringLiteral("PlotGalleryForm"));
    types_ = NamedControl(new TChart(this), "TypeChart");
    types_->hide();
    seriesList = NamedControl(new TChartListBox(dialogs, this), "TypeList");
    seriesList->SetSorted(true);
    seriesList->AllowAddSeries = false;
    seriesList->AllowDeleteSeries = false;
    seriesList->AskDelete = false;
    seriesList->EnableChangeColor = false;
    seriesList->EnableChangeType = false;
    seriesList->EnableDragSeries = false;
    seriesList->SetShowActiveCheck(false);
    seriesList->SetShowSeriesColor(false);
    seriesList->setMinimumWidth(180);
    pageCombo = NamedControl(new QComboBox(this), "PageCombo");
    panel->DisplaySub = false;

    QStringList pages;
    const TPlotSeriesTypes& types = PlotSeriesTypes(unit_);
    for (int i = 0; i < types.Count(); ++i)
        if (Listed(types.Get(i)) && !pages.contains(types.Get(i).GalleryPageText()))
            pages << types.Get(i).GalleryPageText();
    pages.sort(Qt::CaseInsensitive);
    pageCombo->addItem(AllPages());
    pageCombo->addItems(pages);
    const int standard = pageCombo->findText(PlotMessage(PlotMsg::PageStandard));
    pageCombo->setCurrentIndex(standard >= 0 ? standard : 0);

    auto* left = new QVBoxLayout;
    left->addWidget(BuddyLabel("&Gallery:", pageCombo, this));
    left->addWidget(pageCombo);
    left->addWidget(seriesList, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(panel, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(view3DCheck);
    bottom->addWidget(smoothCheck);
    bottom->addStretch(1);
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(600, 380);

    connect(pageCombo, &QComboBox::currentIndexChanged, this, [this] { FillTypes(); });
    connect(seriesList, &QListWidget::currentRowChanged, this, [this] { ShowVariants(); });
    FillTypes();
}

TPlotGalleryForm::~TPlotGalleryForm()
{
    // The list forgets the hidden chart before it goes.
    seriesList->SetChart(nullptr);
}

void TPlotGalleryForm::FillTypes()
{
    const QString page = pageCombo->currentText();
    seriesList->SetChart(nullptr);
    typeOf_.clear();
    types_->FreeAllSeries();
    const TPlotSeriesTypes& types = PlotSeriesTypes(unit_);
    for (int i = 0; i < types.Count(); ++i) {
        const TPlotSeriesType& type = types.Get(i);
        if (!Listed(type) || (page != AllPages() && type.GalleryPageText() != page))
            continue;
        std::unique_ptr<TChartSeries> series = type.SeriesClass->Create();
        if (!series)
            continue;
        series->SetTitle(type.DescriptionText().replace(QRegularExpression(QStringLiteral("\r\n|\r|\n")), QStringLiteral(" ")));
        typeOf_[series.get()] = &type;
        types_->AddSeries(std::move(series));
    }
    seriesList->SetChart(types_);
    ShowVariants();
}

const TPlotSeriesType* TPlotGalleryForm::CurrentType() const
{
    const auto it = typeOf_.find(seriesList->SeriesAt(seriesList->currentRow()));
    return it == typeOf_.end() ? nullptr : it->second;
}

// One chart per variant of the type, in 3 rows unless the variants need more.
void TPlotGalleryForm::ShowVariants()
{
    panel->FreeCharts();
    const TPlotSeriesType* type = CurrentType();
    if (!type)
        return;
    QStringList variants;
    if (const std::unique_ptr<TChartSeries> probe = type->SeriesClass->Create())
        probe->CreateSubGallery([&variants](const QString& variant) { variants << variant; });
    hasVariants_ = !variants.isEmpty();
    if (!hasVariants_)
        variants << type->DescriptionText();
    const int rows = GalleryRowsFor(static_cast<int>(variants.size()), panel->NumCols());
    panel->SetNumRows(std::max(3, rows));
    for (int i = 0; i < variants.size(); ++i) {
        TGalleryChart& chart = panel->AddChart();
        chart.SetRepaintOnChange(false);
        chart.SeriesClass = type->SeriesClass;
        chart.SubIndex = hasVariants_ ? i : 0;
        chart.Title().SetText(variants[i].split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))));
        panel->CreateChartSeries(chart, *type->SeriesClass, nullptr, type->NumGallerySeries, chart.SubIndex);
    }
    panel->LayoutCharts();
    panel->SetSelectedChart(panel->Chart(0));
}

void TPlotGalleryForm::Prepare(const GalleryRequest& request)
{
    view3DCheck->setChecked(request.View3D);
    panel->SetView3D(request.View3D);
    const TChartSeriesClass* wanted = request.CurrentClass;
    if (request.CurrentSeries) {
        if (const TPlotSeriesType* type = PlotSeriesTypes(unit_).FindSeriesClass(request.CurrentSeries->ClassName()))
            wanted = type->SeriesClass;
    }
    if (!wanted)
        return;
    const TPlotSeriesType* type = PlotSeriesTypes(unit_).FindSeriesClass(*wanted);
    if (type && pageCombo->currentText() != AllPages() && pageCombo->currentText() != type->GalleryPageText())
        pageCombo->setCurrentIndex(std::max(0, pageCombo->findText(type->GalleryPageText())));
    for (int i = 0; i < seriesList->count(); ++i) {
        const auto it = typeOf_.find(seriesList->SeriesAt(i));
        if (it != typeOf_.end() && it->second->SeriesClass == wanted) {
            seriesList->setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
            break;
        }
    }
}

GalleryChoice TPlotGalleryForm::Choice() const
{
    GalleryChoice choice;
    choice.View3D = view3DCheck->isChecked();
    const TPlotSeriesType* type = CurrentType();
    if (!type)
        return choice;
    choice.SeriesClass = type->SeriesClass;
    const int variant = panel->IndexOf(panel->SelectedChart());
    choice.SubIndex = hasVariants_ && variant > 0 ? variant : -1;
    return choice;
}
