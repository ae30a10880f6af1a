#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "app/HostId.h"
#include "app/TextRoutines.h"
#include "forms/ConnectionWindow.h"
#include "forms/FormServices.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "instrument/InstrumentState.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

MainWindow::MainWindow(AppContext& app, InstrumentState& instrument, Forms& forms, FormServices& services,
                       const QStringList& arguments, const QString& programFolder)
    : app_(app), instrument_(instrument), forms_(forms), services_(services), arguments_(arguments),
      programFolder_(programFolder)
{
    setObjectName(QStringLiteral("Form1"));
    forms_.mainWindow = this;
    BuildControls();
    BuildMenuAndStatusBar();
    FormCreate();
}

void MainWindow::BuildControls()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* tools = new QHBoxLayout;
    CheckBoxDebug = new QCheckBox(QStringLiteral("Debug"), central);
    CheckBoxDebug->setObjectName(QStringLiteral("CheckBoxDebug"));
    Button1 = new QPushButton(QStringLiteral("Show Log"), central);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button19 = new QPushButton(QStringLiteral("Create ini File"), central);
    Button19->setObjectName(QStringLiteral("Button19"));
    Button19->setToolTip(QStringLiteral("Create advanced options inifile"));
    Label2 = new QLabel(central);
    Label2->setObjectName(QStringLiteral("Label2"));
    tools->addWidget(CheckBoxDebug);
    tools->addWidget(Button1);
    tools->addWidget(Button19);
    tools->addWidget(Label2);
    tools->addStretch();
    layout->addLayout(tools);

    GroupBox3 = new QGroupBox(QStringLiteral("Messages"), central);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    auto* box = new QVBoxLayout(GroupBox3);
    Memo1 = new QPlainTextEdit(GroupBox3);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    box->addWidget(Memo1);
    layout->addWidget(GroupBox3);
    setCentralWidget(central);

    connect(&app_.Messages, &MessageLog::LineAppended, Memo1, &QPlainTextEdit::appendPlainText);
    connect(&app_.Messages, &MessageLog::Cleared, Memo1, &QPlainTextEdit::clear);
    connect(Button1, &QPushButton::clicked, this, &MainWindow::Button1Click);
    connect(Button19, &QPushButton::clicked, this, &MainWindow::Button19Click);
    connect(CheckBoxDebug, &QCheckBox::clicked, this, &MainWindow::CheckBoxDebugClick);
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
    item(Visa1, "Visa1", QStringLiteral("SA USB"), &MainWindow::Visa1Click);
    item(CP1, "CP1", QStringLiteral("SA TCP"), &MainWindow::CP1Click);
    item(GPS1, "GPS1", QStringLiteral("GPS USB"), &MainWindow::GPS1Click);
    item(SASER1, "SASER1", QStringLiteral("SA SER"), &MainWindow::SASER1Click);
    GPS1->setVisible(false);
    GPS1->setEnabled(false);
    SASER1->setVisible(false);

    static constexpr int kPanelWidths[] = {70, 50, 350, 110, 400, 140, 90, 50};
    for (int i = 0; i < 8; ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(kPanelWidths[i]);
        statusBar()->addWidget(panel);
        StatusPanels.append(panel);
    }
    StatusBar1 = statusBar();
    connect(&instrument_.Status, &InstrumentStatus::TextChanged, this, [this](int panel, const QString& text) {
        if (panel >= 0 && panel < StatusPanels.size())
            StatusPanels[panel]->setText(text);
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

void MainWindow::Visa1Click()
{
    ShowConnectionWindow(2);
}

void MainWindow::CP1Click()
{
    ShowConnectionWindow(3);
}

void MainWindow::GPS1Click()
{
    ShowConnectionWindow(4);
}

void MainWindow::SASER1Click()
{
    ShowConnectionWindow(5);
}

void MainWindow::Connect1Click()
{
    ShowConnectionWindow(1);
}

void MainWindow::FormCreate()
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
    ReadAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                         app_.Settings, app_.Messages);
}

void MainWindow::Button1Click()
{
    if (forms_.loggerWindow)
        forms_.loggerWindow->show();
    app_.Debug.LogMessage(QStringLiteral("IEEE-INVERT: ") + QString::number(app_.Settings.OptInvertIeee));
}

void MainWindow::Button19Click()
{
    WriteAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                          app_.Settings, app_.Messages);
}

void MainWindow::CheckBoxDebugClick()
{
    app_.Debug.DebugMode = CheckBoxDebug->isChecked() ? 1 : 0;
    ApplyDebugMode(forms_, app_);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}
