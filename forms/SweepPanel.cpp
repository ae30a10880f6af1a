#include "forms/SweepPanel.h"

#include "datafiles/ParameterGridModel.h"
#include "forms/PanelControls.h"
#include "forms/ParameterGridView.h"
#include "measurement/RunHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QPushButton* RunButton(QWidget* parent, const char* name, const QString& caption, QStyle::StandardPixmap icon)
{
    auto* b = new QPushButton(parent->style()->standardIcon(icon), caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

SweepPanel::SweepPanel(ParameterGridModel& grid, QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto* run = new QGridLayout;
    run->setSpacing(2);
    playButton = RunButton(this, "BitBtn1", QStringLiteral("Play"), QStyle::SP_MediaPlay);
    stopButton = RunButton(this, "BitBtn2", QStringLiteral("Stop"), QStyle::SP_MediaStop);
    pauseButton = RunButton(this, "BitBtn3", QStringLiteral("Pause"), QStyle::SP_MediaPause);
    run->addWidget(playButton, 0, 0);
    run->addWidget(stopButton, 0, 1);
    run->addWidget(pauseButton, 0, 2);

    measureSetGroup = new QGroupBox(QStringLiteral("MeasureSet"), this);
    auto* sets = new QHBoxLayout(measureSetGroup);
    sets->setContentsMargins(4, 0, 4, 0);
    setRadios[MeasureSet::Set1] = NamedRadio(measureSetGroup, "RadioButton1", QStringLiteral("Set1"));
    setRadios[MeasureSet::Set2] = NamedRadio(measureSetGroup, "RadioButton2", QStringLiteral("Set2"));
    setRadios[MeasureSet::Set1]->setChecked(true);
    for (QRadioButton* radio : setRadios)
        sets->addWidget(radio);
    run->addWidget(measureSetGroup, 1, 0, 1, 2);
    beepCheckBox = NamedCheckBox(this, "CheckBox17", QStringLiteral("Beep"));
    run->addWidget(beepCheckBox, 1, 2);

    passLabel = NamedLabel(this, "Label3");
    estimateLabel = NamedLabel(this, "Label4");
    estimateLabel->setToolTip(QStringLiteral("estimated time"));
    remainingLabel = NamedLabel(this, "Label5");
    remainingLabel->setToolTip(QStringLiteral("time left"));
    // Label6 keeps its row under the progress bar; nothing ever writes to it.
    QLabel* emptyRowLabel = NamedLabel(this, "Label6");
    run->addWidget(passLabel, 2, 0);
    run->addWidget(estimateLabel, 2, 1);
    run->addWidget(remainingLabel, 2, 2);
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar->setTextVisible(false);
    progressBar->setMaximumHeight(12);
    run->addWidget(progressBar, 3, 0, 1, 3);
    run->addWidget(emptyRowLabel, 4, 0, 1, 3);
    column->addLayout(run);

    parameterGrid = new ParameterGridView(this);
    parameterGrid->setObjectName(QStringLiteral("ValueListEditor1"));
    parameterGrid->setModel(&grid);
    parameterGrid->horizontalHeader()->resizeSection(0, 112);
    column->addWidget(parameterGrid, 1);

    connect(playButton, &QPushButton::clicked, this, &SweepPanel::playClicked);
    connect(stopButton, &QPushButton::clicked, this, &SweepPanel::stopClicked);
    connect(pauseButton, &QPushButton::clicked, this, &SweepPanel::pauseClicked);
    connect(setRadios[MeasureSet::Set1], &QRadioButton::toggled, this, &SweepPanel::setChosen);
    // "Beep" sounds at every click.
    connect(beepCheckBox, &QCheckBox::clicked, this, [] { QApplication::beep(); });
    connect(parameterGrid, &ParameterGridView::hintChanged, this, &SweepPanel::hintChanged);
}

void SweepPanel::startUp()
{
    playButton->setEnabled(true);
    stopButton->setEnabled(false);
    pauseButton->setEnabled(false);
    parameterGrid->setEnabled(true);
}

void SweepPanel::clearReadouts()
{
    estimateLabel->clear();
    remainingLabel->clear();
    progressBar->setValue(0);
}

MeasureSet SweepPanel::selectedSet() const
{
    return setRadios[MeasureSet::Set2]->isChecked() ? MeasureSet::Set2 : MeasureSet::Set1;
}

bool SweepPanel::beepOn() const
{
    return beepCheckBox->isChecked();
}

void SweepPanel::showRunControls(const RunControls& c, bool otherOwner, bool paused)
{
    playButton->setEnabled(c.PlayEnabled && !otherOwner);
    stopButton->setEnabled(c.StopEnabled);
    pauseButton->setEnabled(c.PauseEnabled);
    // The grid's rows send their values to the analyser: it is locked while the engine holds the
    // analyser.
    parameterGrid->setEnabled(!c.GridLocked && !(c.Busy && !paused));
    passLabel->setText(c.PassText);
    estimateLabel->setText(c.EstimateText);
    // The status line counts the label down; only a new estimate replaces it.
    if (c.RemainingText != remainingShown_) {
        remainingShown_ = c.RemainingText;
        remainingLabel->setText(c.RemainingText);
    }
    progressBar->setRange(0, std::max(1, c.ProgressMax));
    progressBar->setValue(std::clamp(c.ProgressPosition, 0, std::max(1, c.ProgressMax)));
}

void SweepPanel::showTimeLeft(const QString& text)
{
    remainingLabel->setText(text);
}

void SweepPanel::clearEstimate()
{
    estimateLabel->clear();
}
