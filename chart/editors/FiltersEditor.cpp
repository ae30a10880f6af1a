#include "chart/editors/FiltersEditor.h"

#include "chart/canvas/PlotFiltersResample.h"
#include "chart/editors/Draw3D.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/FilterFormCreator.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kRegionMaximum = 11100;

// The caption of a filter class in the "+" menu: its description, or its class name without
// the leading letter when it has none.
QString ClassCaption(const TPlotFilterClass& filterClass)
{
    const QString description = filterClass.create()->Description();
    return description.isEmpty() ? QString::fromLatin1(filterClass.name).mid(1) : description;
}

QListWidgetItem* NewFilterItem(const TPlotFilter& filter)
{
    auto* item = new QListWidgetItem(filter.Description());
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(filter.Enabled ? Qt::Checked : Qt::Unchecked);
    return item;
}

} // namespace

TFiltersEditor::TFiltersEditor(const EditorDialogs& dialogs, const QImage& graphic, TFilterItems& filters, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), graphic_(graphic), filters_(filters)
{
    setObjectName(QStringLiteral("FiltersEditor"));
    setWindowTitle(QStringLiteral("Filters"));
    work_.Assign(filters);

    filterList = NamedControl(new QListWidget(this), "FilterList");
    addButton = NamedControl(new QPushButton(QStringLiteral("+"), this), "AddButton");
    addMenu = NamedControl(new QMenu(addButton), "AddMenu");
    std::vector<std::pair<QString, const TPlotFilterClass*>> classes;
    for (const TPlotFilterClass* c : RegisteredFilterClasses())
        classes.emplace_back(ClassCaption(*c), c);
    std::stable_sort(classes.begin(), classes.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto& [caption, filterClass] : classes) {
        const TPlotFilterClass* c = filterClass;
        connect(addMenu->addAction(caption), &QAction::triggered, this, [this, c] { AddFilter(*c); });
    }
    addButton->setMenu(addMenu);
    deleteButton = NamedControl(new QPushButton(QStringLiteral("-"), this), "DeleteButton");
    moveUpButton = NamedControl(new QPushButton(this), "MoveUpButton");
    moveDownButton = NamedControl(new QPushButton(this), "MoveDownButton");
    LoadMoveArrowGlyphs(moveUpButton, moveDownButton);

    optionPages = NamedControl(new QTabWidget(this), "OptionPages");
    optionsPage = NamedControl(new QWidget, "OptionsPage");
    optionPages->addTab(optionsPage, QStringLiteral("Options"));
    regionPage = NamedControl(new QWidget, "RegionPage");
    optionPages->addTab(regionPage, QStringLiteral("Region"));
    regionLeftSpin = NamedControl(new QSpinBox(regionPage), "RegionLeftSpin");
    regionTopSpin = NamedControl(new QSpinBox(regionPage), "RegionTopSpin");
    regionWidthSpin = NamedControl(new QSpinBox(regionPage), "RegionWidthSpin");
    regionHeightSpin = NamedControl(new QSpinBox(regionPage), "RegionHeightSpin");
    auto* regionLayout = new QGridLayout(regionPage);
    int row = 0;
    for (auto [caption, spin] : {std::pair{"&Left:", regionLeftSpin}, std::pair{"&Top:", regionTopSpin},
                                 std::pair{"&Width:", regionWidthSpin}, std::pair{"&Height:", regionHeightSpin}}) {
        spin->setRange(0, kRegionMaximum);
        auto* label = new QLabel(QString::fromLatin1(caption), regionPage);
        label->setBuddy(spin);
        regionLayout->addWidget(label, row, 0);
        regionLayout->addWidget(spin, row, 1);
        ++row;
        connect(spin, &QSpinBox::valueChanged, this, &TFiltersEditor::RegionChanged);
    }
    regionLayout->setRowStretch(row, 1);
    creator_ = std::make_unique<TFilterFormCreator>(dialogs_, optionsPage);

    preview = NamedControl(new TDraw3D(this), "Preview");
    preview->setMinimumSize(220, 160);
    preview->SetAllowZoom(false);
    preview->SetAllowPanning(pmNone);
    preview->SetBackImageMode(pbmCustom);
    previewCheck = NamedControl(new QCheckBox(QStringLiteral("&Preview"), this), "PreviewCheck");
    previewCheck->setChecked(true);
    scaledCheck = NamedControl(new QCheckBox(QStringLiteral("&Scaled"), this), "ScaledCheck");
    scaledCheck->setChecked(true);
    scaledAction = new QAction(QStringLiteral("&Scaled"), preview);
    scaledAction->setObjectName(QStringLiteral("ScaledAction"));
    scaledAction->setCheckable(true);
    scaledAction->setChecked(true);
    preview->addAction(scaledAction);
    preview->setContextMenuPolicy(Qt::ActionsContextMenu);
    okButton = NamedControl(new QPushButton(QStringLiteral("OK"), this), "OKButton");
    okButton->setDefault(true);
    preview->installEventFilter(this);

    auto* listButtons = new QHBoxLayout;
    for (QPushButton* b : {addButton, deleteButton, moveUpButton, moveDownButton})
        listButtons->addWidget(b);
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(filterList, 1);
    listColumn->addLayout(listButtons);
    auto* previewChecks = new QHBoxLayout;
    previewChecks->addWidget(previewCheck);
    previewChecks->addWidget(scaledCheck);
    previewChecks->addStretch(1);
    auto* previewColumn = new QVBoxLayout;
    previewColumn->addWidget(preview, 1);
    previewColumn->addLayout(previewChecks);
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn);
    top->addWidget(optionPages, 1);
    top->addLayout(previewColumn, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(filterList, &QListWidget::currentRowChanged, this, [this](int current) {
        if (!filling_)
            SelectFilter(current);
    });
    connect(filterList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int index = filterList->row(item);
        if (filling_ || index < 0 || index >= work_.Count())
            return;
        work_.GetItem(index)->Enabled = item->checkState() == Qt::Checked;
        RedrawPreview();
    });
    connect(deleteButton, &QPushButton::clicked, this, &TFiltersEditor::DeleteFilter);
    connect(moveUpButton, &QPushButton::clicked, this, [this] { MoveFilter(-1); });
    connect(moveDownButton, &QPushButton::clicked, this, [this] { MoveFilter(1); });
    connect(previewCheck, &QCheckBox::toggled, this, &TFiltersEditor::RedrawPreview);
    connect(scaledCheck, &QCheckBox::toggled, this, [this](bool on) {
        scaledAction->setChecked(on);
        RedrawPreview();
    });
    connect(scaledAction, &QAction::toggled, scaledCheck, &QCheckBox::setChecked);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    FillList();
}

// The creator goes before the pages it built on.
TFiltersEditor::~TFiltersEditor()
{
    creator_.reset();
}

void TFiltersEditor::FillList()
{
    {
        const FillGuard guard(filling_);
        filterList->clear();
        for (int i = 0; i < work_.Count(); ++i)
            filterList->addItem(NewFilterItem(*work_.GetItem(i)));
        filterList->setCurrentRow(work_.Count() > 0 ? 0 : -1);
    }
    SelectFilter(filterList->currentRow());
}

TPlotFilter* TFiltersEditor::SelectedFilter() const
{
    const int row = filterList->currentRow();
    return row >= 0 && row < work_.Count() ? work_.GetItem(row) : nullptr;
}

// The options of the last filter are taken down before the next one builds its own, so that no
// filter keeps calling controls that are gone.
void TFiltersEditor::SelectFilter(int row)
{
    TPlotFilter* filter = row >= 0 && row < work_.Count() ? work_.GetItem(row) : nullptr;
    creator_->Edit(filter, [this] { RedrawPreview(); });
    optionPages->setVisible(work_.Count() > 0);
    ShowRegion();
    EnableButtons();
    RedrawPreview();
}

void TFiltersEditor::ShowRegion()
{
    const FillGuard guard(filling_);
    TPlotFilter* filter = SelectedFilter();
    // A filter without region shows zeros; its region is made when one of them is changed.
    const TFilterRegion none;
    const TFilterRegion& region = filter && filter->HasRegion() ? filter->Region() : none;
    regionLeftSpin->setValue(region.Left);
    regionTopSpin->setValue(region.Top);
    regionWidthSpin->setValue(region.Width);
    regionHeightSpin->setValue(region.Height);
    regionPage->setEnabled(filter != nullptr);
}

void TFiltersEditor::RegionChanged()
{
    TPlotFilter* filter = SelectedFilter();
    if (filling_ || !filter)
        return;
    TFilterRegion& region = filter->Region();
    region.Left = regionLeftSpin->value();
    region.Top = regionTopSpin->value();
    region.Width = regionWidthSpin->value();
    region.Height = regionHeightSpin->value();
    RedrawPreview();
}

void TFiltersEditor::AddFilter(const TPlotFilterClass& filterClass)
{
    const TPlotFilter& filter = work_.Add(filterClass);
    {
        const FillGuard guard(filling_);
        filterList->addItem(NewFilterItem(filter));
        filterList->setCurrentRow(work_.Count() - 1);
    }
    SelectFilter(work_.Count() - 1);
}

void TFiltersEditor::DeleteFilter()
{
    const int row = filterList->currentRow();
    if (row < 0 || row >= work_.Count())
        return;
    creator_->Clear();
    {
        const FillGuard guard(filling_);
        delete filterList->takeItem(row);
        work_.Delete(row);
        filterList->setCurrentRow(std::min(row, work_.Count() - 1));
    }
    SelectFilter(filterList->currentRow());
}

void TFiltersEditor::MoveFilter(int delta)
{
    const int row = filterList->currentRow();
    const int target = row + delta;
    if (row < 0 || target < 0 || target >= work_.Count())
        return;
    {
        const FillGuard guard(filling_);
        work_.Exchange(row, target);
        QListWidgetItem* item = filterList->takeItem(row);
        filterList->insertItem(target, item);
        filterList->setCurrentRow(target);
    }
    EnableButtons();
    RedrawPreview();
}

void TFiltersEditor::EnableButtons()
{
    const int row = filterList->currentRow();
    const bool selected = row >= 0 && row < work_.Count();
    deleteButton->setEnabled(selected);
    moveUpButton->setEnabled(selected && row > 0);
    moveDownButton->setEnabled(selected && row < work_.Count() - 1);
}

void TFiltersEditor::RedrawPreview()
{
    const bool show = previewCheck->isChecked();
    scaledCheck->setEnabled(show);
    scaledAction->setEnabled(show);
    QImage result;
    if (show && !graphic_.isNull()) {
        result = graphic_.convertToFormat(QImage::Format_RGB32);
        if (scaledCheck->isChecked()) {
            QImage scaled(preview->width(), preview->height(), QImage::Format_RGB32);
            if (SmoothStretch(result, scaled))
                result = scaled;
        }
        work_.ApplyToBitmap(result);
    }
    preview->BackImage().SetGraphic(result);
}

bool TFiltersEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == preview && event->type() == QEvent::Resize && scaledCheck->isChecked())
        RedrawPreview();
    return QDialog::eventFilter(watched, event);
}

void TFiltersEditor::accept()
{
    filters_.Assign(work_);
    QDialog::accept();
}

bool ShowFiltersEditor(const EditorDialogs& dialogs, QWidget* owner, const QImage& graphic, TFilterItems& filters)
{
    auto form = CreateEditorForm<TFiltersEditor>(owner, dialogs, graphic, filters);
    return RunEditorDialog(dialogs, *form) == QDialog::Accepted;
}

bool ShowFiltersEditor(const EditorDialogs& dialogs, QWidget* owner, TPlotPicture& picture)
{
    if (!ShowFiltersEditor(dialogs, owner, picture.Graphic(), picture.Filters()))
        return false;
    NotifyGraphicChanged(picture);
    return true;
}
