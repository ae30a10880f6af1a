// The report panel: the message log's lines, the reference traces, the reload of the project's
// files and the compensation switch; the "Utilities" menu's file, report and export commands
// join here.
#include "forms/MainWindow.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

QWidget* MainWindow::BuildReportPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    useCompensationCheckBox = new QCheckBox(QStringLiteral("use compensation"), panel);
    useCompensationCheckBox->setObjectName(QStringLiteral("CheckBox37"));
    clearTracesButton = new QPushButton(QStringLiteral("Clear traces"), panel);
    clearTracesButton->setObjectName(QStringLiteral("Button13"));
    reloadProjectFilesButton = new QPushButton(QStringLiteral("Reload Project Files"), panel);
    reloadProjectFilesButton->setObjectName(QStringLiteral("Button18"));
    column->addWidget(useCompensationCheckBox);
    column->addWidget(clearTracesButton);
    column->addWidget(reloadProjectFilesButton);
    return panel;
}

// The "Utilities" menu's commands, the pop-up menus' "Save to File", "Clear traces",
// "Reload Project Files" and "use compensation" join here.
void MainWindow::WireReport()
{
}
