// The Setup menu's launchers of the table editor, one per kind of table.
#include "forms/MainWindow.h"

#include "datafiles/TableEditor.h"
#include "forms/Forms.h"
#include "forms/TableEditorWindow.h"

#include <QAction>
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
