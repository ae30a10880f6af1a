#include "forms/PeaksPanel.h"

#include "forms/MainWindowPalette.h"
#include "forms/PanelControls.h"
#include "mainwindow/MarkerTab.h"
#include "measurement/PeakLists.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The designer names of a set's controls, and what the set's lists offer: debug mode shows set
// 1's number lists (set 2's never show), and only set 1's re-measurement list puts the crosshair
// on a double-clicked line.
struct SetTraits {
    const char* peaks;
    const char* selectMaxPeaks;
    const char* measured;
    std::array<const char*, 4> numbers; // peak freqs and levels, measured freqs and levels
    const char* grid;
    bool numbersInDebug;
    bool measuredCrosshair;
};
constexpr PerSet<SetTraits> kSets{{{
    {"ListBox1", "CheckBox18", "ListBox2", {"ListBox3", "ListBox4", "ListBox5", "ListBox6"}, "StringGrid1", true,
     true},
    {"ListBox7", "CheckBox19", "ListBox8", {"ListBox9", "ListBox10", "ListBox11", "ListBox12"}, "StringGrid2", false,
     false},
}}};

// The grid as the report lays it out: two heading rows 17 pixels high, peak rows 24, column 0
// 40 pixels wide and the others 50.
QTableView* PeakGrid(QWidget* parent, const char* name)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->horizontalHeader()->setDefaultSectionSize(50);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->hide();
    return grid;
}

void ShowGrid(QTableView* view, PeakGridModel& model)
{
    view->setModel(&model);
    view->setColumnWidth(0, 40);
    for (int c = 1; c < PeakGridModel::kColumns; ++c)
        view->setColumnWidth(c, 50);
    for (int r = 0; r < PeakGridModel::kHeadingRows; ++r)
        view->setRowHeight(r, 17);
}

} // namespace

PeaksPanel::PeaksPanel(QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    peaksGroup = new QGroupBox(QStringLiteral("Peaks Set1"), this);
    peaksGroup->setObjectName(QStringLiteral("GroupBox4"));
    auto* peaks = new QVBoxLayout(peaksGroup);
    peaks->setContentsMargins(2, 2, 2, 2);
    for (MeasureSet set : kMeasureSets) {
        setLists[set].peaks = NamedList(peaksGroup, kSets[set].peaks);
        setLists[set].peaks->setSelectionMode(QAbstractItemView::MultiSelection);
        peaks->addWidget(setLists[set].peaks);
    }
    for (MeasureSet set : kMeasureSets) {
        setLists[set].selectMaxPeaks =
            NamedCheckBox(peaksGroup, kSets[set].selectMaxPeaks, QStringLiteral("Select 6 maxpeaks"));
        peaks->addWidget(setLists[set].selectMaxPeaks);
    }
    column->addWidget(peaksGroup, 3);

    peakMeasurementsGroup = new QGroupBox(QStringLiteral("Peaks Measurements Set1"), this);
    peakMeasurementsGroup->setObjectName(QStringLiteral("GroupBox5"));
    auto* measured = new QVBoxLayout(peakMeasurementsGroup);
    measured->setContentsMargins(2, 2, 2, 2);
    for (MeasureSet set : kMeasureSets) {
        QListView* list = NamedList(peakMeasurementsGroup, kSets[set].measured);
        // A line names the listed and the found frequency before the level: where the panel is
        // narrower than the line, it goes on below instead of hiding the level.
        list->setWordWrap(true);
        list->setResizeMode(QListView::Adjust);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        measured->addWidget(list);
        setLists[set].measured = list;
    }
    column->addWidget(peakMeasurementsGroup, 2);

    // The parallel lists that hold the numbers behind each line.
    auto* numbers = new QHBoxLayout;
    numbers->setSpacing(1);
    for (MeasureSet set : kMeasureSets) {
        SetControls& s = setLists[set];
        const std::array<QListView**, 4> lists{&s.peakFreqs, &s.peakLevels, &s.measuredFreqs, &s.measuredLevels};
        for (size_t i = 0; i < lists.size(); ++i) {
            *lists[i] = NamedList(this, kSets[set].numbers[i]);
            if (kSets[set].numbersInDebug) {
                (*lists[i])->setMaximumHeight(60);
                numbers->addWidget(*lists[i]);
            } else {
                (*lists[i])->hide();
            }
        }
    }
    column->addLayout(numbers);
    for (MeasureSet set : kMeasureSets)
        setLists[set].grid = PeakGrid(this, kSets[set].grid);

    auto* buttons = new QHBoxLayout;
    displayPeaksButton = NamedButton(this, "Button8", QStringLiteral("Displ. peaks"));
    clearPeaksButton = NamedButton(this, "Button6", QStringLiteral("Clear peaks"));
    buttons->addWidget(displayPeaksButton);
    buttons->addWidget(clearPeaksButton);
    column->addLayout(buttons);

    savePeaksAction = new QAction(QStringLiteral("Save to File"), setLists[MeasureSet::Set1].peaks);
    savePeaksAction->setObjectName(QStringLiteral("SavePeakstoFile1"));
    for (const SetControls& s : setLists) {
        s.peaks->setContextMenuPolicy(Qt::ActionsContextMenu);
        s.peaks->addAction(savePeaksAction);
    }

    connect(displayPeaksButton, &QPushButton::clicked, this, &PeaksPanel::displayPeaksClicked);
    connect(clearPeaksButton, &QPushButton::clicked, this, &PeaksPanel::clearPeaksClicked);
    connect(savePeaksAction, &QAction::triggered, this, &PeaksPanel::savePeaksRequested);
    // "Select 6 maxpeaks"; the operator's own click in a peak list unticks its box and keeps what
    // the operator selected.
    for (MeasureSet set : kMeasureSets) {
        QCheckBox* box = setLists[set].selectMaxPeaks;
        connect(box, &QCheckBox::clicked, this, [this, set] { SelectMaxPeaksClicked(set); });
        connect(setLists[set].peaks, &QListView::clicked, box, [box] { box->setChecked(false); });
    }
    // The crosshair on a double-clicked peak.
    for (MeasureSet set : kMeasureSets) {
        connect(setLists[set].peaks, &QListView::doubleClicked, this, [this, set](const QModelIndex& index) {
            emit crosshairRequested(shown_[set]->Freqs.stringList(), shown_[set]->Levels.stringList(), index.row());
        });
        if (!kSets[set].measuredCrosshair)
            continue;
        connect(setLists[set].measured, &QListView::doubleClicked, this, [this, set](const QModelIndex& index) {
            emit crosshairRequested(shown_[set]->MeasureFreqs.stringList(), shown_[set]->MeasureLevels.stringList(),
                                    index.row());
        });
    }
}

void PeaksPanel::showPeakLists(const PerSet<PeakLists*>& lists)
{
    for (MeasureSet set : kMeasureSets)
        if (shown_[set] != nullptr)
            disconnect(&shown_[set]->Lines, nullptr, this, nullptr);
    shown_ = lists;
    for (MeasureSet set : kMeasureSets) {
        const SetControls& s = setLists[set];
        PeakLists& p = *lists[set];
        // A list emptied or replaced as a whole (a run, "Clear peaks", a loaded chart, another
        // plan) has lost its selection: "Select 6 maxpeaks" no longer holds.
        connect(&p.Lines, &QAbstractItemModel::modelReset, this,
                [box = s.selectMaxPeaks] { box->setChecked(false); });
        s.peaks->setModel(&p.Lines);
        s.peakFreqs->setModel(&p.Freqs);
        s.peakLevels->setModel(&p.Levels);
        s.measured->setModel(&p.MeasureLines);
        s.measuredFreqs->setModel(&p.MeasureFreqs);
        s.measuredLevels->setModel(&p.MeasureLevels);
    }
    for (MeasureSet set : kMeasureSets)
        ShowGrid(setLists[set].grid, lists[set]->Grid);
}

void PeaksPanel::startUp()
{
    showSet(MeasureSet::Set1);
    for (const SetControls& s : setLists) {
        for (QListView* list : {s.peaks, s.measured}) {
            QPalette p = list->palette();
            p.setColor(QPalette::Base, QColorOf(clSkyBlue));
            list->setPalette(p);
        }
    }
    for (const SetControls& s : setLists)
        s.grid->hide();
}

void PeaksPanel::showSet(MeasureSet set)
{
    const QString name = QStringLiteral("Set") + QString::number(SetNumber(set));
    peaksGroup->setTitle(QStringLiteral("Peaks ") + name);
    peakMeasurementsGroup->setTitle(QStringLiteral("Peaks Measurements ") + name);
    for (MeasureSet each : kMeasureSets) {
        const bool chosen = each == set;
        setLists[each].peaks->setVisible(chosen);
        setLists[each].measured->setVisible(chosen);
        setLists[each].selectMaxPeaks->setVisible(chosen);
    }
}

std::vector<int> PeaksPanel::selectedRows(MeasureSet set) const
{
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = setLists[set].peaks->selectionModel()) {
        for (const QModelIndex& index : selection->selectedIndexes())
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PeaksPanel::enableCommands(bool idle)
{
    displayPeaksButton->setEnabled(idle);
    clearPeaksButton->setEnabled(idle);
}

void PeaksPanel::showDebugControls(bool shown)
{
    for (MeasureSet set : kMeasureSets) {
        const SetControls& s = setLists[set];
        if (kSets[set].numbersInDebug)
            for (QListView* list : {s.peakFreqs, s.peakLevels, s.measuredFreqs, s.measuredLevels})
                list->setVisible(shown);
    }
}

// Ticked: the six highest peaks of the set are selected in its list (an empty list unticks the
// box); unticked: none is.
void PeaksPanel::SelectMaxPeaksClicked(MeasureSet set)
{
    QCheckBox* box = setLists[set].selectMaxPeaks;
    PeakLists& peaks = *shown_[set];
    if (peaks.Count() == 0)
        box->setChecked(false);
    QItemSelectionModel* selection = setLists[set].peaks->selectionModel();
    if (!selection)
        return;
    if (!box->isChecked()) {
        selection->clearSelection();
        return;
    }
    for (int row : SelectMaxPeaks(peaks.Levels.stringList()))
        selection->select(peaks.Lines.index(row), QItemSelectionModel::Select);
}
