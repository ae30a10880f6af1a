#include "forms/MailSetupWindow.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "mail/MailNotice.h"
#include "mail/MailSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("Setup mail");
const QString kTestMailText = QStringLiteral("zendrik testmail");

QString RunFileDialog(QWidget* parent, const MailSetupWindow::FileRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The file is replaced without a question, as the program always did.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.selectFile(request.defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QLineEdit* AddLabeledEdit(QWidget* parent, QGridLayout* grid, int row, const QString& label, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    grid->addWidget(caption, 2 * row, 0);
    grid->addWidget(edit, 2 * row + 1, 0);
    return edit;
}

// What a check box adds to sits indented below it.
QCheckBox* AddCheckBox(QWidget* parent, QVBoxLayout* column, const QString& caption, const char* name,
                       bool indented = false)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout;
    if (indented)
        row->addSpacing(20);
    row->addWidget(box);
    column->addLayout(row);
    return box;
}

QPushButton* AddButton(QWidget* parent, QGridLayout* grid, int column, const QString& caption, const char* name)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    grid->addWidget(button, 20, column);
    return button;
}

void BindText(QLineEdit* edit, QString& field)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [&field](const QString& text) { field = text; });
}

void BindCheck(QCheckBox* box, bool& field)
{
    QObject::connect(box, &QCheckBox::toggled, box, [&field](bool on) { field = on; });
}

} // namespace

MailSetupWindow::MailSetupWindow(AppContext& app, MailSettings& settings)
    : QDialog(nullptr), app_(app), settings_(settings), pump_(app.Pump)
{
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(kCaption);
    BuildControls();
    refreshFromModel();
    ConnectModel();
    askSaveFile = [this](const FileRequest& r) { return RunFileDialog(this, r, QFileDialog::AcceptSave); };
    askOpenFile = [this](const FileRequest& r) { return RunFileDialog(this, r, QFileDialog::AcceptOpen); };
    sendMail = [this](const QString& subject, const QString& body, const QString& attachment,
                      const QString& bodySource) {
        const MailContext context{settings_.Account, app_.Messages, app_.Debug, *pump_, app_.WorkingFolder, {}};
        return SendMail(context, subject, body, attachment, bodySource);
    };
    connect(testMailButton, &QPushButton::clicked, this, &MailSetupWindow::sendTestMail);
    connect(saveButton, &QPushButton::clicked, this, &MailSetupWindow::saveSettings);
    connect(loadButton, &QPushButton::clicked, this, &MailSetupWindow::loadSettings);
    connect(clearButton, &QPushButton::clicked, this, &MailSetupWindow::clearSettings);
    connect(showPasswordBox, &QCheckBox::toggled, this, &MailSetupWindow::showPassword);
}

MailSetupWindow::~MailSetupWindow() = default;

void MailSetupWindow::BuildControls()
{
    auto* grid = new QGridLayout(this);
    mailToEdit = AddLabeledEdit(this, grid, 0, QStringLiteral("mail to"), "LabeledEdit1");
    mailFromEdit = AddLabeledEdit(this, grid, 1, QStringLiteral("mail from"), "LabeledEdit2");
    smtpUserEdit = AddLabeledEdit(this, grid, 2, QStringLiteral("SMTP User"), "LabeledEdit3");
    smtpPasswordEdit = AddLabeledEdit(this, grid, 3, QStringLiteral("SMTP PWD"), "LabeledEdit4");
    smtpServerEdit = AddLabeledEdit(this, grid, 4, QStringLiteral("SMTP Server"), "LabeledEdit5");
    smtpPortEdit = AddLabeledEdit(this, grid, 5, QStringLiteral("SMTP Port"), "LabeledEdit6");
    // The column has room for an ordinary address; a line edit's own hint is 17 "x" wide, and the
    // rest of that hint is its frame and margins.
    const QFontMetrics metrics = mailToEdit->fontMetrics();
    const int margins = mailToEdit->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    grid->setColumnMinimumWidth(
        0, metrics.horizontalAdvance(QStringLiteral("firstname.lastname@measurement-lab.example.com")) + margins);
    smtpPasswordEdit->setEchoMode(QLineEdit::Password);
    // One "*" per character whatever the style would draw.
    smtpPasswordEdit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    showPasswordBox = new QCheckBox(QStringLiteral("show"), this);
    showPasswordBox->setObjectName(QStringLiteral("CheckBox4"));
    grid->addWidget(showPasswordBox, 7, 1);

    securityBox = new QComboBox(this);
    securityBox->setObjectName(QStringLiteral("ComboBox1"));
    securityBox->addItems(MailSecurityItems());
    auto* securityLabel = new QLabel(QStringLiteral("connection security"), this);
    securityLabel->setBuddy(securityBox);
    grid->addWidget(securityLabel, 12, 0);
    grid->addWidget(securityBox, 13, 0);

    auto* alerts = new QGroupBox(this);
    auto* column = new QVBoxLayout(alerts);
    mailOnBox = AddCheckBox(alerts, column, QStringLiteral("Mail on/off"), "CheckBox7");
    segmentInfoBox = AddCheckBox(alerts, column, QStringLiteral("Info every segment"), "CheckBox5");
    segmentChartBox = AddCheckBox(alerts, column, QStringLiteral("add Chart"), "CheckBox6", true);
    segmentMessagesBox = AddCheckBox(alerts, column, QStringLiteral("add messages"), "CheckBox8", true);
    endInfoBox = AddCheckBox(alerts, column, QStringLiteral("Info at end of measurement"), "CheckBox2");
    endChartBox = AddCheckBox(alerts, column, QStringLiteral("add Chart "), "CheckBox1", true);
    endMessagesBox = AddCheckBox(alerts, column, QStringLiteral("add messages"), "CheckBox3", true);
    column->addStretch();
    grid->addWidget(alerts, 0, 2, 14, 2);

    testMailButton = AddButton(this, grid, 0, QStringLiteral("Send test mail"), "Button1");
    saveButton = AddButton(this, grid, 1, QStringLiteral("Save"), "Button2");
    loadButton = AddButton(this, grid, 2, QStringLiteral("Load"), "Button3");
    clearButton = AddButton(this, grid, 3, QStringLiteral("Clear"), "Button4");
}

void MailSetupWindow::ConnectModel()
{
    MailAccount& a = settings_.Account;
    BindText(mailToEdit, a.MailTo);
    BindText(mailFromEdit, a.MailFrom);
    BindText(smtpUserEdit, a.SmtpUser);
    BindText(smtpPasswordEdit, a.SmtpPassword);
    BindText(smtpServerEdit, a.SmtpServer);
    BindText(smtpPortEdit, a.SmtpPort);
    connect(securityBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings_.Account.Security = index < 0 ? 0 : index; });
    MailAlertSwitches& s = settings_.Alerts;
    BindCheck(mailOnBox, s.MailOn);
    BindCheck(segmentInfoBox, s.InfoEverySegment);
    BindCheck(segmentChartBox, s.SegmentAddChart);
    BindCheck(segmentMessagesBox, s.SegmentAddMessages);
    BindCheck(endInfoBox, s.InfoAtEnd);
    BindCheck(endChartBox, s.EndAddChart);
    BindCheck(endMessagesBox, s.EndAddMessages);
}

void MailSetupWindow::refreshFromModel()
{
    const MailAccount& a = settings_.Account;
    mailToEdit->setText(a.MailTo);
    mailFromEdit->setText(a.MailFrom);
    smtpUserEdit->setText(a.SmtpUser);
    smtpPasswordEdit->setText(a.SmtpPassword);
    smtpServerEdit->setText(a.SmtpServer);
    smtpPortEdit->setText(a.SmtpPort);
    securityBox->setCurrentIndex(a.Security >= 0 && a.Security < securityBox->count() ? a.Security : 0);
    const MailAlertSwitches& s = settings_.Alerts;
    mailOnBox->setChecked(s.MailOn);
    segmentInfoBox->setChecked(s.InfoEverySegment);
    segmentChartBox->setChecked(s.SegmentAddChart);
    segmentMessagesBox->setChecked(s.SegmentAddMessages);
    endInfoBox->setChecked(s.InfoAtEnd);
    endChartBox->setChecked(s.EndAddChart);
    endMessagesBox->setChecked(s.EndAddMessages);
}

void MailSetupWindow::EnterWorkingFolder()
{
    if (!app_.WorkingFolder.isEmpty())
        QDir::setCurrent(app_.WorkingFolder);
}

QString MailSetupWindow::AskFile(const FileChooser& chooser, const QString& title)
{
    EnterWorkingFolder();
    const QString folder = app_.WorkingFolder.isEmpty() ? QDir::currentPath() : app_.WorkingFolder;
    QString path = chooser ? chooser({title, folder, QStringLiteral("eml (*.eml)"), QStringLiteral("eml"),
                                      QStringLiteral("test")})
                           : QString();
    EnterWorkingFolder();
    if (path.isEmpty())
        return path;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".eml");
    return QDir(folder).absoluteFilePath(path);
}

void MailSetupWindow::sendTestMail()
{
    // The window keeps working while the mail is on its way; one test mail at a time.
    if (sending_ || !sendMail)
        return;
    sending_ = true;
    testMailButton->setEnabled(false);
    RunLoggingErrors(app_.Messages, [&] {
        sendMail(kTestMailText, kTestMailText, QString::fromLatin1(kChartImageAttachment),
                 QString::fromLatin1(kMessageLogBody));
    });
    testMailButton->setEnabled(true);
    sending_ = false;
}

void MailSetupWindow::saveSettings()
{
    RunLoggingErrors(app_.Messages, [&] {
        // Refuse before asking for a name: the file could not hold these fields anyway.
        if (!CheckMailFieldsStorable(settings_.Account, app_.Messages))
            return;
        const QString path = AskFile(askSaveFile, QStringLiteral("Save file"));
        if (path.isEmpty())
            return;
        SaveMailSettingsFile(path, settings_.Account, app_.HostId, app_.Messages);
    });
}

void MailSetupWindow::loadSettings()
{
    RunLoggingErrors(app_.Messages, [&] {
        const QString path = AskFile(askOpenFile, QStringLiteral("Load email settings"));
        if (path.isEmpty() || !QFileInfo(path).isFile())
            return;
        setWindowTitle(kCaption + QStringLiteral(": ") + QFileInfo(path).fileName());
        LoadMailSettingsFile(path, app_.HostId, settings_.Account, app_.Messages);
        refreshFromModel();
    });
}

void MailSetupWindow::clearSettings()
{
    setWindowTitle(kCaption);
    settings_.Account = MailAccount{};
    refreshFromModel();
}

void MailSetupWindow::showPassword(bool visible)
{
    smtpPasswordEdit->setEchoMode(visible ? QLineEdit::Normal : QLineEdit::Password);
}
