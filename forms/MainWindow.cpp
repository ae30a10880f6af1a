#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "app/HostId.h"
#include "app/TextRoutines.h"
#include "forms/ColorSettingsWindow.h"
#include "forms/ConnectionWindow.h"
#include "forms/FormServices.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "instrument/InstrumentState.h"
#include "mainwindow/MainWindowState.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

MainWindow::MainWindow(AppContext& app, InstrumentState& instrument, MainWindowState& state, Forms& forms,
                       FormServices& services, const QStringList& arguments, const QString& programFolder)
    : app_(app), instrument_(instrument), state_(state), forms_(forms), services_(services),
      arguments_(arguments), programFolder_(programFolder)
{
    setObjectName(QStringLiteral("Form1"));
    forms_.mainWindow = this;
    BuildControls();
    BuildMenuAndStatusBar();
    startUp();
}

void MainWindow::BuildControls()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* tools = new QHBoxLayout;
    debugCheckBox = new QCheckBox(QStringLiteral("Debug"), central);
    debugCheckBox->setObjectName(QStringLiteral("CheckBox1"));
    showLogButton = new QPushButton(QStringLiteral("Show Log"), central);
    showLogButton->setObjectName(QStringLiteral("Button1"));
    createIniFileButton = new QPushButton(QStringLiteral("Create ini File"), central);
    createIniFileButton->setObjectName(QStringLiteral("Button19"));
    createIniFileButton->setToolTip(QStringLiteral("Create advanced options inifile"));
    debugLabel = new QLabel(central);
    debugLabel->setObjectName(QStringLiteral("Label2"));
    tools->addWidget(debugCheckBox);
    tools->addWidget(showLogButton);
    tools->addWidget(createIniFileButton);
    tools->addWidget(debugLabel);
    tools->addStretch();
    layout->addLayout(tools);

    messagesGroup = new QGroupBox(QStringLiteral("Messages"), central);
    messagesGroup->setObjectName(QStringLiteral("GroupBox3"));
    auto* box = new QVBoxLayout(messagesGroup);
    messageLog = new QPlainTextEdit(messagesGroup);
    messageLog->setObjectName(QStringLiteral("Memo1"));
    messageLog->setReadOnly(true);
    box->addWidget(messageLog);
    layout->addWidget(messagesGroup);
    setCentralWidget(central);

    connect(&app_.Messages, &MessageLog::LineAppended, messageLog, &QPlainTextEdit::appendPlainText);
    connect(&app_.Messages, &MessageLog::Cleared, messageLog, &QPlainTextEdit::clear);
    connect(showLogButton, &QPushButton::clicked, this, &MainWindow::showLogger);
    connect(createIniFileButton, &QPushButton::clicked, this, &MainWindow::createSettingsFile);
    connect(debugCheckBox, &QCheckBox::clicked, this, &MainWindow::switchDebugMode);
}

void MainWindow::BuildMenuAndStatusBar()
{
    QMenu* device = menuBar()->addMenu(QStringLiteral("Device"));
    auto item = [this, device](QAction*& action, const char* name, const QString& caption,
                               void (MainWindow::*handler)()) {
        action = device->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
    };
    item(saUsbAction, "Visa1", QStringLiteral("SA USB"), &MainWindow::connectAnalyzerUsb);
    item(saTcpAction, "CP1", QStringLiteral("SA TCP"), &MainWindow::connectAnalyzerTcp);
    item(gpsUsbAction, "GPS1", QStringLiteral("GPS USB"), &MainWindow::connectGpsReceiver);
    item(saSerialAction, "SASER1", QStringLiteral("SA SER"), &MainWindow::connectAnalyzerSerial);
    gpsUsbAction->setVisible(false);
    gpsUsbAction->setEnabled(false);
    saSerialAction->setVisible(false);

    QMenu* setup = menuBar()->addMenu(QStringLiteral("Setup"));
    BuildTableEditorLaunchers(setup);
    editColorsAction = setup->addAction(QStringLiteral("Edit Colors"));
    editColorsAction->setObjectName(QStringLiteral("EditColors1"));
    connect(editColorsAction, &QAction::triggered, this, &MainWindow::showColorSettings);

    static constexpr int kPanelWidths[] = {70, 50, 350, 110, 400, 140, 90, 50};
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 8; ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(kPanelWidths[i]);
        statusBar()->addWidget(panel);
        statusPanels.append(panel);
    }
    connect(&instrument_.Status, &InstrumentStatus::TextChanged, this, [this](int panel, const QString& text) {
        if (panel >= 0 && panel < statusPanels.size())
            statusPanels[panel]->setText(text);
    });
}

void MainWindow::ShowConnectionWindow(int32_t kind)
{
    if (!forms_.connectionWindow)
        return;
    forms_.connectionWindow->PrepareForKind(kind);
    // Modal for the operator, but the call returns so that the message loop keeps running.
    forms_.connectionWindow->setModal(true);
    forms_.connectionWindow->show();
    forms_.connectionWindow->raise();
}

void MainWindow::connectAnalyzerUsb()
{
    ShowConnectionWindow(2);
}

void MainWindow::connectAnalyzerTcp()
{
    ShowConnectionWindow(3);
}

void MainWindow::connectGpsReceiver()
{
    ShowConnectionWindow(4);
}

void MainWindow::connectAnalyzerSerial()
{
    ShowConnectionWindow(5);
}

void MainWindow::testWinUsb()
{
    ShowConnectionWindow(1);
}

void MainWindow::showColorSettings()
{
    if (forms_.colorSettingsWindow)
        forms_.colorSettingsWindow->show();
}

void MainWindow::startUp()
{
    app_.HostId = ComputeHostId();

    // An unsupported system is refused, but start-up runs to its end and the remaining windows
    // are still created; the program ends when the message loop takes the request.
    const int32_t version = services_.VersionIndex ? services_.VersionIndex() : GetWindowsVersionIndex();
    if (version <= 6) {
        if (services_.ShowMessage)
            services_.ShowMessage(QStringLiteral("Operating System not supported "));
        if (services_.RequestTerminate)
            services_.RequestTerminate();
    }

    if (!arguments_.isEmpty() && arguments_.first() == QLatin1String("s")) {
        app_.SmallScreen = true;
        resize(800, 480);
    } else {
        setMinimumSize(1340, 706);
    }

    ApplyDebugMode(forms_, app_);
    setWindowTitle(QStringLiteral("Zendrik"));

    app_.WorkingFolder = ChooseWorkingFolder(programFolder_);
    QDir::setCurrent(app_.WorkingFolder);
    // The colour dialog, created later, replaces most of these with the operator's colours.
    state_.Colors = StartupColors();
    ReadAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                         app_.Settings, app_.Messages);
}

void MainWindow::showLogger()
{
    if (forms_.loggerWindow)
        forms_.loggerWindow->show();
    app_.Debug.LogMessage(QStringLiteral("IEEE-INVERT: ") + QString::number(app_.Settings.OptInvertIeee));
}

void MainWindow::createSettingsFile()
{
    WriteAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                          app_.Settings, app_.Messages);
}

void MainWindow::switchDebugMode()
{
    app_.Debug.DebugMode = debugCheckBox->isChecked() ? 1 : 0;
    ApplyDebugMode(forms_, app_);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}
