#include "forms/TForm1.h"

#include "app/AppContext.h"
#include "app/HostId.h"
#include "app/TextRoutines.h"
#include "forms/FormServices.h"
#include "forms/Forms.h"
#include "forms/TForm2.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm1::TForm1(AppContext& app, Forms& forms, FormServices& services, const QStringList& arguments,
               const QString& programFolder)
    : app_(app), forms_(forms), services_(services), arguments_(arguments), programFolder_(programFolder)
{
    setObjectName(QStringLiteral("Form1"));
    forms_.Form1 = this;
    BuildControls();
    FormCreate();
}

void TForm1::BuildControls()
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
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button19, &QPushButton::clicked, this, &TForm1::Button19Click);
    connect(CheckBoxDebug, &QCheckBox::clicked, this, &TForm1::CheckBoxDebugClick);
}

void TForm1::FormCreate()
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

void TForm1::Button1Click()
{
    if (forms_.Form2)
        forms_.Form2->show();
    app_.Debug.LogMessage(QStringLiteral("IEEE-INVERT: ") + QString::number(app_.Settings.OptInvertIeee));
}

void TForm1::Button19Click()
{
    WriteAdvancedSettings(QDir(app_.WorkingFolder).filePath(QString::fromLatin1(kAdvancedSettingsFile)),
                          app_.Settings, app_.Messages);
}

void TForm1::CheckBoxDebugClick()
{
    app_.Debug.DebugMode = CheckBoxDebug->isChecked() ? 1 : 0;
    ApplyDebugMode(forms_, app_);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}
