// The peaks panel: the peak and re-measurement lists of both sets, their hidden frequency and
// level lists, the hidden peak grids the report prints, "Select 6 maxpeaks", "Displ. peaks" and
// "Clear peaks". The lists are views of the measurement engine's peak models.
#include "forms/MainWindowRun.h"

#include "app/AppContext.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/MainWindowPalette.h"
#include "measurement/PeakLists.h"
#include "measurement/PeakRemeasure.h"

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
#include <exception>

namespace {

QListView* List(QWidget* parent, const char* name)
{
    auto* list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

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

QWidget* MainWindow::BuildPeaksPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    peaksGroup = new QGroupBox(QStringLiteral("Peaks Set1"), panel);
    peaksGroup->setObjectName(QStringLiteral("GroupBox4"));
    auto* peaks = new QVBoxLayout(peaksGroup);
    peaks->setContentsMargins(2, 2, 2, 2);
    peakList1 = List(peaksGroup, "ListBox1");
    peakList2 = List(peaksGroup, "ListBox7");
    for (QListView* list : {peakList1, peakList2})
        list->setSelectionMode(QAbstractItemView::MultiSelection);
    peaks->addWidget(peakList1);
    peaks->addWidget(peakList2);
    selectMaxPeaks1CheckBox = new QCheckBox(QStringLiteral("Select 6 maxpeaks"), peaksGroup);
    selectMaxPeaks1CheckBox->setObjectName(QStringLiteral("CheckBox18"));
    selectMaxPeaks2CheckBox = new QCheckBox(QStringLiteral("Select 6 maxpeaks"), peaksGroup);
    selectMaxPeaks2CheckBox->setObjectName(QStringLiteral("CheckBox19"));
    peaks->addWidget(selectMaxPeaks1CheckBox);
    peaks->addWidget(selectMaxPeaks2CheckBox);
    column->addWidget(peaksGroup, 3);

    peakMeasurementsGroup = new QGroupBox(QStringLiteral("Peaks Measurements Set1"), panel);
    peakMeasurementsGroup->setObjectName(QStringLiteral("GroupBox5"));
    auto* measured = new QVBoxLayout(peakMeasurementsGroup);
    measured->setContentsMargins(2, 2, 2, 2);
    measureList1 = List(peakMeasurementsGroup, "ListBox2");
    measureList2 = List(peakMeasurementsGroup, "ListBox8");
    // A line names the listed and the found frequency before the level: where the panel is
    // narrower than the line, it goes on below instead of hiding the level.
    for (QListView* list : {measureList1, measureList2}) {
        list->setWordWrap(true);
        list->setResizeMode(QListView::Adjust);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    measured->addWidget(measureList1);
    measured->addWidget(measureList2);
    column->addWidget(peakMeasurementsGroup, 2);

    // The parallel lists that hold the numbers behind each line; debug mode shows set 1's.
    auto* numbers = new QHBoxLayout;
    numbers->setSpacing(1);
    peakFreqList1 = List(panel, "ListBox3");
    peakLevelList1 = List(panel, "ListBox4");
    measureFreqList1 = List(panel, "ListBox5");
    measureLevelList1 = List(panel, "ListBox6");
    peakFreqList2 = List(panel, "ListBox9");
    peakLevelList2 = List(panel, "ListBox10");
    measureFreqList2 = List(panel, "ListBox11");
    measureLevelList2 = List(panel, "ListBox12");
    for (QListView* list : {peakFreqList1, peakLevelList1, measureFreqList1, measureLevelList1}) {
        list->setMaximumHeight(60);
        numbers->addWidget(list);
    }
    for (QListView* list : {peakFreqList2, peakLevelList2, measureFreqList2, measureLevelList2})
        list->hide();
    column->addLayout(numbers);
    peakGrid1 = PeakGrid(panel, "StringGrid1");
    peakGrid2 = PeakGrid(panel, "StringGrid2");

    auto* buttons = new QHBoxLayout;
    displayPeaksButton = new QPushButton(QStringLiteral("Displ. peaks"), panel);
    displayPeaksButton->setObjectName(QStringLiteral("Button8"));
    clearPeaksButton = new QPushButton(QStringLiteral("Clear peaks"), panel);
    clearPeaksButton->setObjectName(QStringLiteral("Button6"));
    buttons->addWidget(displayPeaksButton);
    buttons->addWidget(clearPeaksButton);
    column->addLayout(buttons);
    return panel;
}

// "Select 6 maxpeaks", the clicks on the peak lists and the two buttons join here.
void MainWindow::WirePeaks()
{
}

void MainWindow::setPeakLists(PeakLists& set1, PeakLists& set2)
{
    shownPeaks1_ = &set1;
    shownPeaks2_ = &set2;
    const std::pair<QListView*, QStringListModel*> lists[] = {
        {peakList1, &set1.Lines},         {peakFreqList1, &set1.Freqs},       {peakLevelList1, &set1.Levels},
        {measureList1, &set1.MeasureLines}, {measureFreqList1, &set1.MeasureFreqs},
        {measureLevelList1, &set1.MeasureLevels},
        {peakList2, &set2.Lines},         {peakFreqList2, &set2.Freqs},       {peakLevelList2, &set2.Levels},
        {measureList2, &set2.MeasureLines}, {measureFreqList2, &set2.MeasureFreqs},
        {measureLevelList2, &set2.MeasureLevels},
    };
    for (const auto& [view, model] : lists)
        view->setModel(model);
    ShowGrid(peakGrid1, set1.Grid);
    ShowGrid(peakGrid2, set2.Grid);
}

// Set 1's lists shown and set 2's hidden, all four in sky blue.
void MainWindow::SetUpPeakControls()
{
    peaksGroup->setTitle(QStringLiteral("Peaks Set1"));
    peakMeasurementsGroup->setTitle(QStringLiteral("Peaks Measurements Set1"));
    peakList1->show();
    measureList1->show();
    peakList2->hide();
    measureList2->hide();
    for (QListView* list : {peakList1, measureList1, peakList2, measureList2}) {
        QPalette p = list->palette();
        p.setColor(QPalette::Base, QColorOf(clSkyBlue));
        list->setPalette(p);
    }
    selectMaxPeaks1CheckBox->show();
    selectMaxPeaks2CheckBox->hide();
    peakGrid1->hide();
    peakGrid2->hide();
}

// "Displ. peaks": the selected set's corrected trace and peaks anew from its raw trace, with the
// grid's margin and the window's switches as they stand.
void MainWindow::displayPeaks()
{
    SyncRunSettings();
    try {
        run_->control->DisplayPeaks();
    } catch (const std::exception& e) {
        app_.Messages.Append(QStringLiteral("Error: ") + QString::fromUtf8(e.what()));
    }
}

void MainWindow::clearPeaks()
{
    if (!runActive())
        run_->control->ClearPeaks();
}

// "Measure (consider drift)" and "Measure (ignore drift)": the rows selected in the chosen set's
// peak list, measured again with the grid's values.
void MainWindow::measurePeaks(bool considerDrift)
{
    SyncRunSettings();
    if (OtherInstrumentOwner())
        return;
    QListView* list = run_->switches.SelectedSet == 2 ? peakList2 : peakList1;
    std::vector<int> rows;
    if (const QItemSelectionModel* selection = list->selectionModel()) {
        for (const QModelIndex& index : selection->selectedIndexes())
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    try {
        run_->control->MeasurePeaks(considerDrift ? DriftHandling::Consider : DriftHandling::Ignore, rows,
                                    ReadRemeasureGrid(*parameterModel_));
    } catch (const std::exception& e) {
        app_.Messages.Append(QStringLiteral("Error: ") + QString::fromUtf8(e.what()));
    }
}
