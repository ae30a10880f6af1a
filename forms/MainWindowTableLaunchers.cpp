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
    const MainChart& c = *chart_;
    const std::pair<TLineSeries*, bool> lines[] = {
        {c.rawTrace1, viewRaw1CheckBox->isChecked()},
        {c.correctedTrace1, viewSet1CheckBox->isChecked()},
        {c.rawTrace2, viewRaw2CheckBox->isChecked()},
        {c.correctedTrace2, viewSet2CheckBox->isChecked()},
        {c.limitLine1, true},
        {c.limitLine2, true},
        {c.cableCorrection, viewCorrectionsCheckBox->isChecked()},
        {c.lisnCorrection, viewCorrectionsCheckBox->isChecked()},
        {c.amplifierCorrection, viewCorrectionsCheckBox->isChecked()},
        {c.antennaFactor, viewCorrectionsCheckBox->isChecked()},
        {c.reference1Set1, viewTrace1Set1CheckBox->isChecked()},
        {c.reference1Set2, viewTrace1Set2CheckBox->isChecked()},
        {c.marginLine1, viewMargin1CheckBox->isChecked()},
        {c.marginLine2, viewMargin2CheckBox->isChecked()},
        {c.masterCorrection, viewMasterCheckBox->isChecked()},
        {c.tablePreview, false},
    };
    for (const auto& [series, visible] : lines)
        series->LinePen().SetVisible(visible);
}
