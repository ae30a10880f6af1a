#include "forms/TableEditorWindow.h"

#include "app/AppContext.h"
#include "datafiles/FirstRun.h"
#include "forms/FormDialogs.h"
#include "forms/FormServices.h"

#include <QCheckBox>
#include <QVBoxLayout>

TableEditorWindow::TableEditorWindow(AppContext& app, FormServices& services)
    : QDialog(nullptr), app_(app), services_(services)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Edit Lim"));
    auto* layout = new QVBoxLayout(this);
    importS1210CheckBox = new QCheckBox(QStringLiteral("Import s1210"), this);
    importS1210CheckBox->setObjectName(QStringLiteral("CheckBox4"));
    importS1210CheckBox->setVisible(false);
    layout->addWidget(importS1210CheckBox);
    prepareDataFolders();
}

void TableEditorWindow::prepareDataFolders()
{
    // On the first run the default data are unpacked and the operator must start again on them;
    // the request to end is carried out once the message loop runs.
    FormDialogs dialogs(services_);
    const FirstRunResult result = RunFirstStartSetup(app_.WorkingFolder, app_.Messages, &dialogs);
    if (result.MustEnd && services_.RequestTerminate)
        services_.RequestTerminate();
}
