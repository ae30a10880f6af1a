#include "chart/editors/Gallery.h"

#include "chart/canvas/LibrarySettings.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/GalleryAlternate.h"
#include "chart/editors/GalleryPanel.h"
#include "chart/engine/PlotFunction.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesFunctions.h"
#include "chart/series/ChartUnit.h"
#include "chart/series/ColorPalettes.h"
#include "chart/series/SeriesReplace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kMinimumGallerySize = 100;

QString EditorKey(const char* name) { return QString::fromLatin1(name); }

// The registered types of the series, as the gallery shows them.
void TypeOfSeries(const ChartUnitState& unit, const TChartSeries& series, const TChartSeriesClass*& seriesClass,
                  const TPlotFunctionClass*& functionClass)
{
    seriesClass = nullptr;
    functionClass = series.Function() ? FindPlotFunctionClass(series.Function()->ClassName()) : nullptr;
    if (!unit.SeriesTypes)
        return;
    for (int i = 0; i < unit.SeriesTypes->Count(); ++i) {
        const TPlotSeriesType& type = unit.SeriesTypes->Get(i);
        if (type.SeriesClass && type.SeriesClass->Name.compare(series.ClassName(), Qt::CaseInsensitive) == 0) {
            seriesClass = type.SeriesClass;
            return;
        }
    }
}

} // namespace

// ---- shared form

TCustomGalleryForm::TCustomGalleryForm(ChartUnitState& unit, QWidget* parent) : QDialog(parent), unit_(unit)
{
    setWindowTitle(QStringLiteral("PlotChart Gallery"));
    panel = NamedControl(new TChartGalleryPanel(this), "GalleryPanel");
    panel->setMinimumSize(200, 150);
    view3DCheck = NamedControl(new QCheckBox(QStringLiteral("&3D"), this), "View3DCheck");
    view3DCheck->setChecked(true);
    smoothCheck = NamedControl(new QCheckBox(QStringLiteral("&Smooth"), this), "SmoothCheck");
    smoothCheck->setChecked(panel->Smooth());
    okButton = NamedControl(new QPushButton(QStringLiteral("OK"), this), "OKButton");
    okButton->setDefault(true);
    cancelButton = NamedControl(new QPushButton(QStringLiteral("Cancel"), this), "CancelButton");

    connect(view3DCheck, &QCheckBox::toggled, this, [this](bool on) { panel->SetView3D(on); });
    connect(smoothCheck, &QCheckBox::toggled, this, [this](bool on) {
        panel->SetSmooth(on);
        WriteEditorBoolean(EditorKey(kEditorSmoothGallery), on);
    });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    panel->OnSelectedChart = [this] { accept(); };
}

TCustomGalleryForm::~TCustomGalleryForm() = default;

GalleryChoice TCustomGalleryForm::Choice() const
{
    GalleryChoice choice;
    choice.View3D = view3DCheck->isChecked();
    const TGalleryChart* chart = panel->SelectedChart();
    if (!chart)
        return choice;
    choice.SeriesClass = chart->SeriesClass;
    choice.FunctionClass = chart->FunctionClass;
    if (panel->SubIndex() >= 0)
        choice.SubIndex = panel->SubIndex();
    else if (chart->SubIndex != 0)
        choice.SubIndex = chart->SubIndex;
    return choice;
}

void TCustomGalleryForm::keyPressEvent(QKeyEvent* event)
{
    // The panel moves and chooses with the keys wherever the focus is on the form.
    if (event->key() != Qt::Key_Escape && panel->HandleKey(event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- tabbed gallery

TPlotGallery::TPlotGallery(ChartUnitState& unit, bool withFunctions, QWidget* parent)
    : TCustomGalleryForm(unit, parent)
{
    setObjectName(QStringLiteral("PlotGallery"));
    typeTabs = NamedControl(new QTabBar(this), "TypeTabs");
    pageTabs = NamedControl(new QTabBar(this), "PageTabs");
    paletteCombo = NamedControl(new QComboBox(this), "PaletteCombo");

    // A type tab without pages is left out; "Functions" only when they are offered.
    if (!PageNames(false).isEmpty())
        typeTabs->addTab(QStringLiteral("Series"));
    if (withFunctions && !PageNames(true).isEmpty())
        typeTabs->addTab(QStringLiteral("Functions"));

    std::vector<ColorPaletteItem> palettes;
    FillColorPaletteNames(unit_, palettes, false);
    std::sort(palettes.begin(), palettes.end(), [](const ColorPaletteItem& a, const ColorPaletteItem& b) {
        return a.Text.compare(b.Text, Qt::CaseInsensitive) < 0;
    });
    for (const ColorPaletteItem& item : palettes)
        paletteCombo->addItem(item.Text, item.Index);
    paletteCombo->setCurrentIndex(-1);

    auto* options = new QHBoxLayout;
    options->addWidget(view3DCheck);
    options->addWidget(smoothCheck);
    options->addWidget(paletteCombo);
    options->addStretch(1);
    options->addWidget(okButton);
    options->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(typeTabs);
    layout->addWidget(pageTabs);
    layout->addWidget(panel, 1);
    layout->addLayout(options);

    connect(typeTabs, &QTabBar::currentChanged, this, [this] { FillPageTabs(); });
    connect(pageTabs, &QTabBar::currentChanged, this, [this] { FillPanel(); });
    connect(paletteCombo, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row < 0)
            return;
        const int index = paletteCombo->itemData(row).toInt();
        for (int i = 0; i < panel->Count(); ++i)
            SetColorPalette(*panel->Chart(i), index);
    });

    resize(500, 380);
    if (ReadEditorBoolean(EditorKey(kEditorRememberGallerySize), true)) {
        const int w = ReadEditorInteger(EditorKey(kEditorGalleryWidth), 0);
        const int h = ReadEditorInteger(EditorKey(kEditorGalleryHeight), 0);
        // A size no screen has (a hand-edited 2000000000) opens the gallery as large as the
        // screen, not as a window no one can see the edges of.
        const QSize room = screen() != nullptr ? screen()->availableGeometry().size() : QSize(w, h);
        if (w > 0 && h > 0)
            resize(std::clamp(w, kMinimumGallerySize, std::max(kMinimumGallerySize, room.width())),
                   std::clamp(h, kMinimumGallerySize, std::max(kMinimumGallerySize, room.height())));
    }
    FillPageTabs();
}

TPlotGallery::~TPlotGallery()
{
    if (ReadEditorBoolean(EditorKey(kEditorRememberGallerySize), true)) {
        WriteEditorInteger(EditorKey(kEditorGalleryWidth), std::max(kMinimumGallerySize, width()));
        WriteEditorInteger(EditorKey(kEditorGalleryHeight), std::max(kMinimumGallerySize, height()));
    }
}

QStringList TPlotGallery::PageNames(bool functions) const
{
    QStringList pages;
    const TPlotSeriesTypes& types = PlotSeriesTypes(unit_);
    for (int i = 0; i < types.Count(); ++i) {
        const TPlotSeriesType& type = types.Get(i);
        if (type.NumGallerySeries <= 0 || (type.FunctionClass != nullptr) != functions)
            continue;
        const QString page = type.GalleryPageText();
        if (!pages.contains(page))
            pages << page;
    }
    const qsizetype standard = pages.indexOf(PlotMessage(PlotMsg::PageStandard));
    if (standard > 0)
        pages.swapItemsAt(0, standard);
    return pages;
}

bool TPlotGallery::FunctionsTab() const
{
    return typeTabs->currentIndex() >= 0 && typeTabs->tabText(typeTabs->currentIndex()) == QStringLiteral("Functions");
}

void TPlotGallery::FillPageTabs()
{
    {
        const FillGuard guard(filling_);
        while (pageTabs->count() > 0)
            pageTabs->removeTab(0);
        for (const QString& page : PageNames(FunctionsTab()))
            pageTabs->addTab(page);
        pageTabs->setCurrentIndex(pageTabs->count() > 0 ? 0 : -1);
    }
    FillPanel();
}

void TPlotGallery::FillPanel()
{
    if (filling_)
        return;
    panel->FunctionsOnly = FunctionsTab();
    const int page = pageTabs->currentIndex();
    if (page < 0) {
        panel->FreeCharts();
        return;
    }
    panel->FillGalleryPage(PlotSeriesTypes(unit_), pageTabs->tabText(page));
    if (const int row = paletteCombo->currentIndex(); row >= 0)
        for (int i = 0; i < panel->Count(); ++i)
            SetColorPalette(*panel->Chart(i), paletteCombo->itemData(row).toInt());
}

void TPlotGallery::Prepare(const GalleryRequest& request)
{
    view3DCheck->setChecked(request.View3D);
    panel->SetView3D(request.View3D);
    panel->CurrentSeries = request.CurrentSeries;
    panel->CheckSeries = request.CurrentSeries != nullptr;
    if (auto* chart = dynamic_cast<TCustomChart*>(request.Chart)) {
        initialPalette_ = chart->ColorPaletteIndex();
        const FillGuard guard(filling_);
        paletteCombo->setCurrentIndex(paletteCombo->findData(initialPalette_));
    }

    const TChartSeriesClass* seriesClass = request.CurrentClass;
    const TPlotFunctionClass* functionClass = nullptr;
    if (request.CurrentSeries)
        TypeOfSeries(unit_, *request.CurrentSeries, seriesClass, functionClass);
    // Find the type's tab and page, so that it can be focused.
    const TPlotSeriesTypes& types = PlotSeriesTypes(unit_);
    for (int i = 0; seriesClass && i < types.Count(); ++i) {
        const TPlotSeriesType& type = types.Get(i);
        if (type.SeriesClass != seriesClass || type.FunctionClass != functionClass || type.NumGallerySeries <= 0)
            continue;
        const QString typeTab = functionClass ? QStringLiteral("Functions") : QStringLiteral("Series");
        for (int t = 0; t < typeTabs->count(); ++t)
            if (typeTabs->tabText(t) == typeTab)
                typeTabs->setCurrentIndex(t);
        for (int p = 0; p < pageTabs->count(); ++p)
            if (pageTabs->tabText(p) == type.GalleryPageText())
                pageTabs->setCurrentIndex(p);
        break;
    }
    FillPanel();
    if (seriesClass)
        panel->SelectType(seriesClass, functionClass);
}

GalleryChoice TPlotGallery::Choice() const
{
    GalleryChoice choice = TCustomGalleryForm::Choice();
    const int row = paletteCombo->currentIndex();
    if (row >= 0 && paletteCombo->itemData(row).toInt() != initialPalette_)
        choice.PaletteIndex = paletteCombo->itemData(row).toInt();
    return choice;
}

// ---- entry points

bool ShowSeriesGallery(const EditorDialogs& dialogs, ChartUnitState& unit, QWidget* owner,
                       const GalleryRequest& request, GalleryChoice& choice)
{
    std::unique_ptr<TCustomGalleryForm> form;
    if (ReadEditorInteger(EditorKey(kEditorGalleryMode), 0) != 0)
        form = CreateEditorForm<TPlotGalleryForm>(owner, unit, dialogs);
    else
        form = CreateEditorForm<TPlotGallery>(owner, unit, request.WithFunctions);
    form->Prepare(request);
    if (RunEditorDialog(dialogs, *form) != QDialog::Accepted)
        return false;
    choice = form->Choice();
    if (!choice.SeriesClass)
        return false;
    if (request.Chart) {
        request.Chart->SetView3D(choice.View3D);
        if (choice.PaletteIndex >= 0)
            SetColorPalette(*request.Chart, choice.PaletteIndex);
    }
    return true;
}

TChartSeries* CreateSeriesFromGallery(const EditorDialogs& dialogs, ChartUnitState& unit, QWidget* owner,
                                      TCustomAxisPanel& chart)
{
    GalleryRequest request;
    request.Chart = &chart;
    request.View3D = chart.View3D();
    request.WithFunctions = true;
    GalleryChoice choice;
    if (!ShowSeriesGallery(dialogs, unit, owner, request, choice))
        return nullptr;
    TChartSeries* series = NewSeriesOfClass(nullptr, chart, *choice.SeriesClass, choice.FunctionClass);
    if (series && choice.SubIndex > 0)
        series->SetSubGallery(choice.SubIndex);
    return series;
}

const TChartSeriesClass* ChangeSeriesTypeFromGallery(const EditorDialogs& dialogs, ChartUnitState& unit,
                                                     QWidget* owner, TChartSeries*& series)
{
    if (!series)
        return nullptr;
    GalleryRequest request;
    request.CurrentSeries = series;
    request.Chart = series->ParentChart() ? series->ParentChart()->AxisPanel() : nullptr;
    request.View3D = request.Chart ? request.Chart->View3D() : true;
    GalleryChoice choice;
    if (!ShowSeriesGallery(dialogs, unit, owner, request, choice))
        return nullptr;
    const bool sameClass = choice.SeriesClass->Name.compare(series->ClassName(), Qt::CaseInsensitive) == 0;
    if (sameClass && choice.SubIndex <= 0)
        return choice.SeriesClass;
    if (!sameClass) {
        ReplaceSeriesClass(series, *choice.SeriesClass);
        // A series that neither a chart nor an owner holds cannot be replaced: nothing changed.
        if (series->ClassName().compare(choice.SeriesClass->Name, Qt::CaseInsensitive) != 0)
            return nullptr;
    }
    if (choice.SubIndex > 0)
        series->SetSubGallery(choice.SubIndex);
    return choice.SeriesClass;
}

// ---- unit

void StartGalleryUnit(GalleryUnitState& gallery, ChartUnitState& unit, const EditorDialogs& dialogs)
{
    if (gallery.StartCount++ > 0)
        return;
    gallery.Chart = &unit;
    RegisterStandardSeries(unit);
    unit.AddSeriesHook = [&unit, &dialogs](QWidget* owner, TCustomAxisPanel& chart) {
        return CreateSeriesFromGallery(dialogs, unit, owner, chart);
    };
    unit.ChangeSeriesTypeHook = [&unit, &dialogs](TChartSeries*& series) {
        return ChangeSeriesTypeFromGallery(dialogs, unit, nullptr, series);
    };
}

void StopGalleryUnit(GalleryUnitState& gallery)
{
    if (gallery.StartCount == 0 || --gallery.StartCount > 0)
        return;
    if (gallery.Chart) {
        gallery.Chart->AddSeriesHook = {};
        gallery.Chart->ChangeSeriesTypeHook = {};
    }
    gallery.Chart = nullptr;
}
