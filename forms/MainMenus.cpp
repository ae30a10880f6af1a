#include "forms/MainMenus.h"

#include "datafiles/TableFiles.h"
#include "mainwindow/MainMode.h"
#include "measurement/RunHost.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

// An entry of menu that emits signal of menus when chosen.
template <class Signal>
QAction* Item(QMenu* menu, const char* name, const QString& caption, MainMenus* menus, Signal signal)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, menus, signal);
    return action;
}

} // namespace

MainMenus::MainMenus(QMenuBar& bar, QObject* parent) : QObject(parent)
{
    QMenu* file = bar.addMenu(QStringLiteral("File"));
    loadProjectAction = Item(file, "load1", QStringLiteral("Load Proj"), this, &MainMenus::loadProjectChosen);
    saveProjectAction = Item(file, "updateexisting1", QStringLiteral("Save Proj"), this, &MainMenus::saveProjectChosen);
    file->addSeparator();
    exitAction = Item(file, "exitAction", QStringLiteral("Exit"), this, &MainMenus::exitChosen);

    QMenu* device = bar.addMenu(QStringLiteral("Device"));
    auto connection = [this](LinkKind kind) { return [this, kind] { emit connectionChosen(kind); }; };
    saUsbAction = Item(device, "Visa1", QStringLiteral("SA USB"), this, connection(LinkKind::VisaUsb));
    saTcpAction = Item(device, "CP1", QStringLiteral("SA TCP"), this, connection(LinkKind::VisaTcp));
    gpsUsbAction = Item(device, "GPS1", QStringLiteral("GPS USB"), this, connection(LinkKind::GpsReceiver));
    saSerialAction = Item(device, "SASER1", QStringLiteral("SA SER"), this, connection(LinkKind::SerialAnalyser));
    // The table editor's creation offers the receiver (enableCoverageFeature).
    gpsUsbAction->setVisible(false);
    gpsUsbAction->setEnabled(false);

    QMenu* setup = bar.addMenu(QStringLiteral("Setup"));
    auto table = [this](TableKind kind) { return [this, kind] { emit tableEditorChosen(kind); }; };
    editLimitAction = Item(setup, "N1", QStringLiteral("Edit Limit"), this, table(TableKind::Limit));
    editCableAction = Item(setup, "EditCable1", QStringLiteral("Edit Cable"), this, table(TableKind::Cable));
    editLisnAction = Item(setup, "EditLISN1", QStringLiteral("Edit LISN"), this, table(TableKind::Lisn));
    editGainAction =
        Item(setup, "EditAmplifier1", QStringLiteral("Edit Gain"), this, table(TableKind::Amplifier));
    editAntennaAction =
        Item(setup, "EditAntenna1", QStringLiteral("Edit Antenna"), this, table(TableKind::Antenna));
    editSegmentsAction =
        Item(setup, "EditSegments1", QStringLiteral("Edit Segments"), this, table(TableKind::Segment));
    setup->addSeparator();
    editReportAction = Item(setup, "EditReport1", QStringLiteral("Edit Report"), this, &MainMenus::reportHeaderChosen);
    editColorsAction = Item(setup, "EditColors1", QStringLiteral("Edit Colors"), this, &MainMenus::colorsChosen);
    mailAlertAction = Item(setup, "mailAlertAction", QStringLiteral("Mail Alert"), this, &MainMenus::mailAlertChosen);

    modeMenu = bar.addMenu(QStringLiteral("Mode"));
    modeMenu->setObjectName(QStringLiteral("modeMenu"));
    auto mode = [this](MainMode m) { return [this, m] { emit modeChosen(m); }; };
    emcModeAction = Item(modeMenu, "EMC1", QStringLiteral("EMC"), this, mode(MainMode::Emc));
    coverageModeAction =
        Item(modeMenu, "Power1", QStringLiteral("RF Coverage"), this, mode(MainMode::Coverage));
    generatorModeAction = Item(modeMenu, "G1", QStringLiteral("Generator"), this, mode(MainMode::Generator));
    modeMenu->menuAction()->setVisible(false);

    QMenu* measure = bar.addMenu(QStringLiteral("Measure"));
    measureDriftAction = Item(measure, "Meassure1", QStringLiteral("Measure (consider drift)"), this,
                              [this] { emit measurePeaksChosen(true); });
    measureExactAction = Item(measure, "Measure21", QStringLiteral("Measure (ignore drift)"), this,
                              [this] { emit measurePeaksChosen(false); });

    QMenu* utilities = bar.addMenu(QStringLiteral("Utilities"));
    saveChartAction = Item(utilities, "SaveChart1", QStringLiteral("Save Chart"), this, &MainMenus::saveChartChosen);
    loadChartAction = Item(utilities, "LoadChart1", QStringLiteral("Load Chart"), this, &MainMenus::loadChartChosen);
    utilities->addSeparator();
    saveCompensationAction = Item(utilities, "SaveasZero1", QStringLiteral("Save Zero Compensation"), this,
                                  &MainMenus::saveCompensationChosen);
    loadCompensationAction = Item(utilities, "LoadCompensation1", QStringLiteral("Load Zero Compensation"), this,
                                  &MainMenus::loadCompensationChosen);
    utilities->addSeparator();
    QMenu* reference = utilities->addMenu(QStringLiteral("Load Reference Trace"));
    auto trace = [this](int slot) { return [this, slot] { emit referenceTraceChosen(slot); }; };
    loadReferenceActions = {Item(reference, "race11", QStringLiteral("Trace1"), this, trace(1)),
                            Item(reference, "race21", QStringLiteral("Trace2"), this, trace(2)),
                            Item(reference, "race31", QStringLiteral("Trace 3"), this, trace(3))};
    utilities->addSeparator();
    saveCsvAction = Item(utilities, "saveCsvAction", QStringLiteral("Save as CSV File "), this, &MainMenus::csvExportChosen);
    saveWmfAction = Item(utilities, "Preview1", QStringLiteral("Save as WMF File"), this, &MainMenus::wmfExportChosen);
    printReportAction = Item(utilities, "Chart2", QStringLiteral("Print Report"), this, &MainMenus::printReportChosen);

    QMenu* about = bar.addMenu(QStringLiteral("About"));
    aboutAction = Item(about, "About2", QStringLiteral("About"), this, &MainMenus::aboutChosen);
    whatsNewAction = Item(about, "WhatsNew1", QStringLiteral("What's New"), this, &MainMenus::whatsNewChosen);
    functionMatrixAction = Item(about, "functionMatrixAction", QStringLiteral("Function Matrix"), this,
                                &MainMenus::functionMatrixChosen);
}

void MainMenus::startUp()
{
    saSerialAction->setVisible(false);
}

void MainMenus::showRunControls(const RunControls& c, bool otherOwner, bool analyserHeld)
{
    const bool measure = c.MeasureMenusEnabled && !c.Busy && !otherOwner;
    measureDriftAction->setEnabled(measure);
    measureExactAction->setEnabled(measure);
    const bool idle = !c.Busy;
    for (QAction* a : {saUsbAction, saTcpAction, gpsUsbAction, saSerialAction, loadProjectAction})
        a->setEnabled(idle && !analyserHeld);
    for (QAction* a : loadReferenceActions)
        a->setEnabled(idle);
}

void MainMenus::followChartFiles(bool runBusy, bool gridLocked)
{
    loadChartAction->setEnabled(!runBusy);
    loadCompensationAction->setEnabled(!gridLocked);
}

void MainMenus::enableCoverageFeature()
{
    gpsUsbAction->setEnabled(true);
    gpsUsbAction->setVisible(true);
    modeMenu->menuAction()->setVisible(true);
}
