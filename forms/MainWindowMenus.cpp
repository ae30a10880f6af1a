// The menus' entries that only show another window, the table editor's launchers, "Exit" and the
// folder dialog; the other entries join with what they work on.
#include "forms/MainWindow.h"

#include "forms/AboutWindow.h"
#include "forms/ColorSettingsWindow.h"
#include "forms/CsvExportWindow.h"
#include "forms/Forms.h"
#include "forms/FunctionMatrixWindow.h"
#include "forms/MailSetupWindow.h"
#include "forms/MainMenus.h"
#include "forms/ReportHeaderWindow.h"
#include "forms/StatusBarPanels.h"
#include "forms/TableEditorWindow.h"
#include "forms/WhatsNewWindow.h"
#include "mainwindow/MainMode.h"

#include <QFileDialog>

namespace {

// Shows a window that lives for the whole run, when it exists.
void ShowWindow(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
}

} // namespace

void MainWindow::WireMenus()
{
    // "Exit": the status line stops, then the window closes.
    connect(menus_, &MainMenus::exitChosen, this, [this] {
        statusPanels_->stop();
        close();
    });
    connect(folderDialog, &QFileDialog::directoryEntered, this, &MainWindow::FolderChanged);
    connect(menus_, &MainMenus::tableEditorChosen, this, &MainWindow::LaunchTableEditor);
    connect(menus_, &MainMenus::colorsChosen, this, [this] { ShowWindow(forms_.colorSettingsWindow); });
    connect(menus_, &MainMenus::reportHeaderChosen, this, [this] {
        if (forms_.reportHeaderWindow)
            forms_.reportHeaderWindow->openForEditing();
    });
    connect(menus_, &MainMenus::mailAlertChosen, this, [this] { ShowWindow(forms_.mailSetupWindow); });
    connect(menus_, &MainMenus::csvExportChosen, this, [this] { ShowWindow(forms_.csvExportWindow); });
    connect(menus_, &MainMenus::aboutChosen, this, [this] { ShowWindow(forms_.aboutWindow); });
    connect(menus_, &MainMenus::whatsNewChosen, this, [this] { ShowWindow(forms_.whatsNewWindow); });
    connect(menus_, &MainMenus::functionMatrixChosen, this, [this] { ShowWindow(forms_.functionMatrixWindow); });
}

void MainWindow::enableCoverageFeature()
{
    menus_->enableCoverageFeature();
}

void MainWindow::LaunchTableEditor(TableKind kind)
{
    if (forms_.tableEditorWindow)
        forms_.tableEditorWindow->launch(kind);
}

// The folder dialog closes itself at the second change of folder. (Sending the desktop an Escape
// key would reach whatever window has the focus.)
void MainWindow::FolderChanged()
{
    if (FolderChangeClosesDialog(folderChanges_))
        folderDialog->reject();
}
