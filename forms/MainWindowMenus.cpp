// The menus: "File", "Device", "Setup", "Mode", "Measure", "Utilities" and "About", the pop-up
// menus of the message log and the peak list, and the launchers that only show another window.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "forms/AboutWindow.h"
#include "forms/ColorSettingsWindow.h"
#include "forms/CsvExportWindow.h"
#include "forms/Forms.h"
#include "forms/FunctionMatrixWindow.h"
#include "forms/MailSetupWindow.h"
#include "forms/ReportHeaderWindow.h"
#include "forms/WhatsNewWindow.h"
#include "mainwindow/MainMode.h"

#include <QAction>
#include <QFileDialog>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

QAction* Item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Shows a window that lives for the whole run, when it exists.
void ShowWindow(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
}

} // namespace

void MainWindow::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    loadProjectAction = Item(file, "load1", QStringLiteral("Load Proj"));
    saveProjectAction = Item(file, "updateexisting1", QStringLiteral("Save Proj"));
    file->addSeparator();
    exitAction = Item(file, "exitAction", QStringLiteral("Exit"));

    QMenu* device = menuBar()->addMenu(QStringLiteral("Device"));
    saUsbAction = Item(device, "Visa1", QStringLiteral("SA USB"));
    saTcpAction = Item(device, "CP1", QStringLiteral("SA TCP"));
    gpsUsbAction = Item(device, "GPS1", QStringLiteral("GPS USB"));
    saSerialAction = Item(device, "SASER1", QStringLiteral("SA SER"));
    // The table editor's creation offers the receiver (enableCoverageFeature).
    gpsUsbAction->setVisible(false);
    gpsUsbAction->setEnabled(false);

    QMenu* setup = menuBar()->addMenu(QStringLiteral("Setup"));
    BuildTableEditorLaunchers(setup);
    editReportAction = Item(setup, "EditReport1", QStringLiteral("Edit Report"));
    editColorsAction = Item(setup, "EditColors1", QStringLiteral("Edit Colors"));
    mailAlertAction = Item(setup, "mailAlertAction", QStringLiteral("Mail Alert"));

    modeMenu = menuBar()->addMenu(QStringLiteral("Mode"));
    modeMenu->setObjectName(QStringLiteral("modeMenu"));
    emcModeAction = Item(modeMenu, "EMC1", QStringLiteral("EMC"));
    coverageModeAction = Item(modeMenu, "Power1", QStringLiteral("RF Coverage"));
    generatorModeAction = Item(modeMenu, "G1", QStringLiteral("Generator"));
    modeMenu->menuAction()->setVisible(false);

    QMenu* measure = menuBar()->addMenu(QStringLiteral("Measure"));
    measureDriftAction = Item(measure, "Meassure1", QStringLiteral("Measure (consider drift)"));
    measureExactAction = Item(measure, "Measure21", QStringLiteral("Measure (ignore drift)"));

    QMenu* utilities = menuBar()->addMenu(QStringLiteral("Utilities"));
    saveChartAction = Item(utilities, "SaveChart1", QStringLiteral("Save Chart"));
    loadChartAction = Item(utilities, "LoadChart1", QStringLiteral("Load Chart"));
    utilities->addSeparator();
    saveCompensationAction = Item(utilities, "SaveasZero1", QStringLiteral("Save Zero Compensation"));
    loadCompensationAction = Item(utilities, "LoadCompensation1", QStringLiteral("Load Zero Compensation"));
    utilities->addSeparator();
    QMenu* reference = utilities->addMenu(QStringLiteral("Load Reference Trace"));
    loadReference1Action = Item(reference, "race11", QStringLiteral("Trace1"));
    loadReference2Action = Item(reference, "race21", QStringLiteral("Trace2"));
    loadReference3Action = Item(reference, "race31", QStringLiteral("Trace 3"));
    utilities->addSeparator();
    saveCsvAction = Item(utilities, "saveCsvAction", QStringLiteral("Save as CSV File "));
    saveWmfAction = Item(utilities, "Preview1", QStringLiteral("Save as WMF File"));
    printReportAction = Item(utilities, "Chart2", QStringLiteral("Print Report"));

    QMenu* about = menuBar()->addMenu(QStringLiteral("About"));
    aboutAction = Item(about, "About2", QStringLiteral("About"));
    whatsNewAction = Item(about, "WhatsNew1", QStringLiteral("What's New"));
    functionMatrixAction = Item(about, "functionMatrixAction", QStringLiteral("Function Matrix"));

    // The pop-up menus of the message log and of the peak lists.
    saveMessagesAction = new QAction(QStringLiteral("Save to File"), messageLog);
    saveMessagesAction->setObjectName(QStringLiteral("SavetoFile1"));
    clearMessagesAction = new QAction(QStringLiteral("Clear Messages"), messageLog);
    clearMessagesAction->setObjectName(QStringLiteral("ClearMessages1"));
    messageLog->setContextMenuPolicy(Qt::ActionsContextMenu);
    messageLog->addAction(saveMessagesAction);
    messageLog->addAction(clearMessagesAction);
    savePeaksAction = new QAction(QStringLiteral("Save to File"), peakList1);
    savePeaksAction->setObjectName(QStringLiteral("SavePeakstoFile1"));
    for (QListView* list : {peakList1, peakList2}) {
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
        list->addAction(savePeaksAction);
    }

    // Our own dialog rather than the desktop's: only ours tells of each change of folder.
    folderDialog = new QFileDialog(this);
    folderDialog->setObjectName(QStringLiteral("OpenDialog3"));
    folderDialog->setOption(QFileDialog::DontUseNativeDialog);
    folderDialog->setFileMode(QFileDialog::Directory);
}

void MainWindow::WireMenus()
{
    // "Exit": the status line stops, then the window closes.
    connect(exitAction, &QAction::triggered, this, [this] {
        statusTimer->stop();
        close();
    });
    connect(folderDialog, &QFileDialog::directoryEntered, this, &MainWindow::FolderChanged);
    connect(saUsbAction, &QAction::triggered, this, &MainWindow::connectAnalyzerUsb);
    connect(saTcpAction, &QAction::triggered, this, &MainWindow::connectAnalyzerTcp);
    connect(gpsUsbAction, &QAction::triggered, this, &MainWindow::connectGpsReceiver);
    connect(saSerialAction, &QAction::triggered, this, &MainWindow::connectAnalyzerSerial);
    connect(editLimitAction, &QAction::triggered, this, &MainWindow::editLimits);
    connect(editCableAction, &QAction::triggered, this, &MainWindow::editCable);
    connect(editLisnAction, &QAction::triggered, this, &MainWindow::editLisn);
    connect(editGainAction, &QAction::triggered, this, &MainWindow::editGain);
    connect(editAntennaAction, &QAction::triggered, this, &MainWindow::editAntenna);
    connect(editSegmentsAction, &QAction::triggered, this, &MainWindow::editSegments);
    connect(editColorsAction, &QAction::triggered, this, &MainWindow::showColorSettings);
    connect(editReportAction, &QAction::triggered, this, [this] {
        if (forms_.reportHeaderWindow)
            forms_.reportHeaderWindow->openForEditing();
    });
    connect(mailAlertAction, &QAction::triggered, this, [this] { ShowWindow(forms_.mailSetupWindow); });
    connect(emcModeAction, &QAction::triggered, this, &MainWindow::showEmcView);
    connect(coverageModeAction, &QAction::triggered, this, &MainWindow::showCoverageView);
    connect(generatorModeAction, &QAction::triggered, this, &MainWindow::showGeneratorView);
    connect(saveCsvAction, &QAction::triggered, this, [this] { ShowWindow(forms_.csvExportWindow); });
    connect(aboutAction, &QAction::triggered, this, [this] { ShowWindow(forms_.aboutWindow); });
    connect(whatsNewAction, &QAction::triggered, this, [this] { ShowWindow(forms_.whatsNewWindow); });
    connect(functionMatrixAction, &QAction::triggered, this, [this] { ShowWindow(forms_.functionMatrixWindow); });
    connect(clearMessagesAction, &QAction::triggered, &app_.Messages, &MessageLog::Clear);
}

void MainWindow::enableCoverageFeature()
{
    gpsUsbAction->setEnabled(true);
    gpsUsbAction->setVisible(true);
    modeMenu->menuAction()->setVisible(true);
}

// The folder dialog closes itself at the second change of folder. (Sending the desktop an Escape
// key would reach whatever window has the focus.)
void MainWindow::FolderChanged()
{
    if (FolderChangeClosesDialog(folderChanges_))
        folderDialog->reject();
}

void MainWindow::showColorSettings()
{
    ShowWindow(forms_.colorSettingsWindow);
}
