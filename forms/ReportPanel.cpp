#include "forms/ReportPanel.h"

#include "forms/PanelControls.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

ReportPanel::ReportPanel(QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    useCompensationCheckBox = NamedCheckBox(this, "CheckBox37", QStringLiteral("use compensation"));
    clearTracesButton = NamedButton(this, "Button13", QStringLiteral("Clear traces"));
    reloadProjectFilesButton = NamedButton(this, "Button18", QStringLiteral("Reload Project Files"));
    column->addWidget(useCompensationCheckBox);
    column->addWidget(clearTracesButton);
    column->addWidget(reloadProjectFilesButton);

    connect(useCompensationCheckBox, &QCheckBox::clicked, this, &ReportPanel::useCompensationClicked);
    connect(clearTracesButton, &QPushButton::clicked, this, &ReportPanel::clearTracesClicked);
    connect(reloadProjectFilesButton, &QPushButton::clicked, this, &ReportPanel::reloadProjectFilesClicked);
}

void ReportPanel::startUp()
{
    useCompensationCheckBox->setEnabled(false);
    reloadProjectFilesButton->setToolTip(QStringLiteral("Update Cable Ampl Ant Lisn Seg Lim"));
}

void ReportPanel::showCompensation(bool loaded, bool used)
{
    useCompensationCheckBox->setEnabled(loaded);
    useCompensationCheckBox->setChecked(used);
}

bool ReportPanel::useCompensation() const
{
    return useCompensationCheckBox->isChecked();
}

void ReportPanel::enableClearTraces(bool idle)
{
    clearTracesButton->setEnabled(idle);
}

void ReportPanel::enableReload(bool enabled)
{
    reloadProjectFilesButton->setEnabled(enabled);
}
