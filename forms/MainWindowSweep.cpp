// The sweep panel: the run buttons and their read-outs, the measurement set, the parameter grid
// with its file pick lists, and the segment lists of both sets.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/ParameterGridView.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QPushButton* RunButton(QWidget* parent, const char* name, const QString& caption, QStyle::StandardPixmap icon)
{
    auto* b = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* Label(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QListView* CheckList(QWidget* parent, const char* name, CheckListModel& model)
{
    auto* list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setModel(&model);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

} // namespace

QWidget* MainWindow::BuildSweepPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto* run = new QGridLayout;
    run->setSpacing(2);
    playButton = RunButton(panel, "BitBtn1", QStringLiteral("Play"), QStyle::SP_MediaPlay);
    stopButton = RunButton(panel, "BitBtn2", QStringLiteral("Stop"), QStyle::SP_MediaStop);
    pauseButton = RunButton(panel, "BitBtn3", QStringLiteral("Pause"), QStyle::SP_MediaPause);
    run->addWidget(playButton, 0, 0);
    run->addWidget(stopButton, 0, 1);
    run->addWidget(pauseButton, 0, 2);

    measureSetGroup = new QGroupBox(QStringLiteral("MeasureSet"), panel);
    auto* sets = new QHBoxLayout(measureSetGroup);
    sets->setContentsMargins(4, 0, 4, 0);
    set1Radio = new QRadioButton(QStringLiteral("Set1"), measureSetGroup);
    set1Radio->setObjectName(QStringLiteral("RadioButton1"));
    set1Radio->setChecked(true);
    set2Radio = new QRadioButton(QStringLiteral("Set2"), measureSetGroup);
    set2Radio->setObjectName(QStringLiteral("RadioButton2"));
    sets->addWidget(set1Radio);
    sets->addWidget(set2Radio);
    run->addWidget(measureSetGroup, 1, 0, 1, 2);
    beepCheckBox = new QCheckBox(QStringLiteral("Beep"), panel);
    beepCheckBox->setObjectName(QStringLiteral("CheckBox17"));
    run->addWidget(beepCheckBox, 1, 2);

    passLabel = Label(panel, "Label3");
    estimateLabel = Label(panel, "Label4");
    estimateLabel->setToolTip(QStringLiteral("estimated time"));
    remainingLabel = Label(panel, "Label5");
    remainingLabel->setToolTip(QStringLiteral("time left"));
    runNoteLabel = Label(panel, "Label6");
    run->addWidget(passLabel, 2, 0);
    run->addWidget(estimateLabel, 2, 1);
    run->addWidget(remainingLabel, 2, 2);
    progressBar = new QProgressBar(panel);
    progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar->setTextVisible(false);
    progressBar->setMaximumHeight(12);
    run->addWidget(progressBar, 3, 0, 1, 3);
    run->addWidget(runNoteLabel, 4, 0, 1, 3);
    column->addLayout(run);

    parameterGrid = new ParameterGridView(panel);
    parameterGrid->setObjectName(QStringLiteral("ValueListEditor1"));
    parameterGrid->setModel(parameterModel_.get());
    parameterGrid->horizontalHeader()->resizeSection(0, 112);
    column->addWidget(parameterGrid, 1);
    return panel;
}

// The segments of each set, checked for the run; only the chosen set's list is shown.
QWidget* MainWindow::BuildSegmentsPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* segments = new QHBoxLayout;
    segmentsCheckBox = new QCheckBox(QStringLiteral("Segm."), panel);
    segmentsCheckBox->setObjectName(QStringLiteral("CheckBox24"));
    segmentsCheckBox->setChecked(true);
    maxFilterCheckBox = new QCheckBox(QStringLiteral("MaxFilter"), panel);
    maxFilterCheckBox->setObjectName(QStringLiteral("CheckBox3"));
    segments->addWidget(segmentsCheckBox);
    segments->addWidget(maxFilterCheckBox);
    column->addLayout(segments);
    segmentList1 = CheckList(panel, "CheckListBox1", *segmentChecks1_);
    segmentList2 = CheckList(panel, "CheckListBox2", *segmentChecks2_);
    segmentList1->setFixedHeight(76);
    segmentList2->setFixedHeight(76);
    column->addWidget(segmentList1);
    column->addWidget(segmentList2);
    return panel;
}

// The parameter grid validates each edited row through its logic (ProjectTargets); its hint goes
// to status panel 2. The run buttons, the set choice and the segment lists join here.
void MainWindow::WireSweep()
{
    connect(parameterGrid, &ParameterGridView::hintChanged, statusPanels[2], &QLabel::setText);
}

// Run buttons idle, set 1 chosen, both segment lists holding only "all", the first one shown.
void MainWindow::SetUpSweepControls()
{
    playButton->setEnabled(true);
    stopButton->setEnabled(false);
    pauseButton->setEnabled(false);
    for (CheckListModel* checks : {segmentChecks1_.get(), segmentChecks2_.get()}) {
        checks->Clear();
        checks->AddRow(QStringLiteral("all"), false);
    }
    segmentList1->show();
    segmentList2->hide();
    emiZeroSpanCheckBox->hide();
    maxPeakZeroSpanCheckBox->hide();
    parameterGrid->setEnabled(true);
}

void MainWindow::refreshFileLists()
{
    QDir::setCurrent(app_.WorkingFolder);
    fileLists_ = ListDataFiles(app_.WorkingFolder);
    ApplyFileLists(*parameterModel_, fileLists_);
}
