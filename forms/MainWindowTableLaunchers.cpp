// The Setup menu's launchers of the table editor, one per kind of table.
#include "forms/MainWindow.h"

#include "chart/series/LineSeries.h"
#include "datafiles/TableEditor.h"
#include "forms/Forms.h"
#include "forms/MainChart.h"
#include "forms/TableEditorWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>

void MainWindow::BuildTableEditorLaunchers(QMenu* setup)
{
    auto item = [setup](QAction*& action, const char* name, const QString& caption) {
        action = setup->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
    };
    item(editLimitAction, "N1", QStringLiteral("Edit Limit"));
    item(editCableAction, "EditCable1", QStringLiteral("Edit Cable"));
    item(editLisnAction, "EditLISN1", QStringLiteral("Edit LISN"));
    item(editGainAction, "EditAmplifier1", QStringLiteral("Edit Gain"));
    item(editAntennaAction, "EditAntenna1", QStringLiteral("Edit Antenna"));
    item(editSegmentsAction, "EditSegments1", QStringLiteral("Edit Segments"));
    setup->addSeparator();
}

void MainWindow::LaunchTableEditor(int32_t kind)
{
    if (forms_.tableEditorWindow)
        forms_.tableEditorWindow->launch(kind);
}

void MainWindow::editLimits()
{
    LaunchTableEditor(ekLimit);
}

void MainWindow::editCable()
{
    LaunchTableEditor(ekCable);
}

void MainWindow::editLisn()
{
    LaunchTableEditor(ekLisn);
}

void MainWindow::editGain()
{
    LaunchTableEditor(ekAmplifier);
}

void MainWindow::editAntenna()
{
    LaunchTableEditor(ekAntenna);
}

void MainWindow::editSegments()
{
    LaunchTableEditor(ekSegment);
}

// The table editor closed: every line the launcher hid follows its view box again, the limits
// are always drawn and the preview is hidden (the editor has emptied it).
void MainWindow::RestoreMainSeriesVisibility()
{
    using enum SeriesRole;
    const std::pair<SeriesRole, bool> lines[] = {
        {rawTrace1, viewRaw1CheckBox->isChecked()},
        {correctedTrace1, viewSet1CheckBox->isChecked()},
        {rawTrace2, viewRaw2CheckBox->isChecked()},
        {correctedTrace2, viewSet2CheckBox->isChecked()},
        {limitLine1, true},
        {limitLine2, true},
        {cableCorrection, viewCorrectionsCheckBox->isChecked()},
        {lisnCorrection, viewCorrectionsCheckBox->isChecked()},
        {amplifierCorrection, viewCorrectionsCheckBox->isChecked()},
        {antennaFactor, viewCorrectionsCheckBox->isChecked()},
        {reference1Set1, viewTrace1Set1CheckBox->isChecked()},
        {reference1Set2, viewTrace1Set2CheckBox->isChecked()},
        {marginLine1, viewMargin1CheckBox->isChecked()},
        {marginLine2, viewMargin2CheckBox->isChecked()},
        {masterCorrection, viewMasterCheckBox->isChecked()},
        {tablePreview, false},
    };
    for (const auto& [role, visible] : lines)
        chart_->Series(role)->LinePen().SetVisible(visible);
}
