// Projects: what the data-file logic works on (ProjectTargets, filled from the window's chart,
// grids and stores), "Load Proj", "Save Proj" and the window's caption.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "coverage/CoverageView.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridValidation.h"
#include "datafiles/ProjectFile.h"
#include "forms/MainChartControl.h"
#include "forms/CoverageFrame.h"
#include "forms/FormDialogs.h"
#include "forms/MainChart.h"
#include "forms/MainMenus.h"
#include "forms/MainWindowPalette.h"
#include "forms/ReportFileDialog.h"
#include "forms/SweepPanel.h"
#include "forms/ViewPanel.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/ScpiGridInstrument.h"

#include <QDir>

void MainWindow::BuildProjectTargets()
{
    gridInstrument_ = std::make_unique<ScpiGridInstrument>(*scpi_);
    targets_.MainGrid = parameterModel_.get();
    targets_.CoverageGrid = coverageValues_.get();
    targets_.GeneratorGrid = generatorGridValues_.get();
    targets_.Generator = &generatorValues_;
    targets_.Table = &state_.Table;
    targets_.Series = chart().ByRole();
    targets_.FrequencyAxis = &chartControl_->frequencyAxis();
    targets_.LevelAxis = &chartControl_->levelAxis();
    CoverageChart& coverage = coverageFrame_->view().Chart();
    targets_.Coverage.cableCorrection = &coverage.Cable;
    targets_.Coverage.amplifierCorrection = &coverage.Amplifier;
    targets_.Coverage.antennaFactor = &coverage.Antenna;
    targets_.Coverage.levelAxis = coverageLevelAxis_.get();
    targets_.Colors = ProjectColorsOf(state_.Colors);
    for (MeasureSet set : kMeasureSets) {
        targets_.Segments[set] = &sets_[set].segments;
        targets_.SegmentLists[set] = &sets_[set].segmentChecks;
    }
    targets_.State = &gridState_;
    targets_.Instrument = gridInstrument_.get();
    targets_.Files = DataFileContext{app_.WorkingFolder, dialogs_.get(), &app_.Debug, &app_.Messages};
    targets_.ClearMeasureTimeEstimate = [this] { sweepPanel_->clearEstimate(); };
    targets_.PlanReplaced = [this](MeasureSet set) { DropSetResults(set); };
}

// Every edited row of the parameter grid is validated by the grid's logic.
// A settings file that could not be read leaves the program on its defaults, and says why.
void MainWindow::LogRefusedFile(const QString& reason)
{
    if (!reason.isEmpty())
        app_.Messages.Append(QStringLiteral("Error: ") + reason);
}

void MainWindow::WireProject()
{
    AttachGridValidation(targets_);
    connect(menus_, &MainMenus::loadProjectChosen, this, &MainWindow::LoadProject);
    connect(menus_, &MainMenus::saveProjectChosen, this, &MainWindow::SaveProject);
}

void MainWindow::LoadProject()
{
    QDir::setCurrent(app_.WorkingFolder);
    QString refused;
    const SaveDialogSettings dialog = LoadProjectDialog(app_.WorkingFolder, &refused);
    LogRefusedFile(refused);
    const QString chosen = chooseProjectFile ? chooseProjectFile(dialog, false)
                                             : RunReportFileDialog(this, dialog, app_.WorkingFolder, false);
    QDir::setCurrent(app_.WorkingFolder);
    if (chosen.isEmpty())
        return;
    openProject(chosen);
}

void MainWindow::openProject(const QString& path)
{
    // A project replaces the plan, the limits and the corrections a run works on.
    if (RunActive())
        return;
    QDir::setCurrent(app_.WorkingFolder);
    // A project value that is refused leaves its view as it is: the values the reader keeps are
    // what the views show now, not what the last load or save left.
    CoverageToProject();
    GeneratorToProject();
    const std::optional<QString> caption = ::LoadProject(targets_, path, app_.Settings.OptTgFieldValue);
    // Another file than a project was chosen: everything stays as it was.
    if (!caption)
        return;
    chartFileView_.CaptionProjectText = *caption;
    // The files of a project do not carry the frequency-axis mode: each project starts in the
    // program's start-up mode, so a linear axis left by a short range (one that holds less than a
    // decade) does not squeeze the next project's low segments; such a range turns linear again.
    viewPanel_->setLogAxis(ViewPanel::kLogAxisAtStartUp);
    ProjectToCoverage();
    ProjectToGenerator();
    coverageFrame_->showGpsReceiver();
    ShowCaption();
}

void MainWindow::SaveProject()
{
    QDir::setCurrent(app_.WorkingFolder);
    QString refused;
    const SaveDialogSettings dialog = SaveProjectDialog(app_.WorkingFolder, &refused);
    LogRefusedFile(refused);
    const QString chosen = chooseProjectFile ? chooseProjectFile(dialog, true)
                                             : RunReportFileDialog(this, dialog, app_.WorkingFolder, true);
    QDir::setCurrent(app_.WorkingFolder);
    if (chosen.isEmpty())
        return;
    CoverageToProject();
    GeneratorToProject();
    SaveProjectFile(targets_, chosen, app_.Settings.OptTgFieldValue);
}

void MainWindow::ShowCaption()
{
    setWindowTitle(MainWindowCaption(chartFileView_.CaptionProjectText, chartFileView_.CaptionFileText));
}
