#ifndef ZENDRIK_FORMS_MAILSETUPWINDOW_H
#define ZENDRIK_FORMS_MAILSETUPWINDOW_H

#include "forms/WindowScpiContext.h"
#include "mail/SmtpSender.h"

#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
struct AppContext;
struct MailSettings;

// "Setup mail": the SMTP account and the alert switches. The window edits the program's
// MailSettings in place; the account can be saved to and loaded from an encrypted ".eml" file
// that only opens on the machine that wrote it.
class MailSetupWindow : public QDialog {
    Q_OBJECT
public:
    // What a file dialog is opened with.
    struct FileRequest {
        QString title;
        QString folder;
        QString filter;
        QString defaultSuffix;
        QString defaultName;
    };
    // Returns the chosen path, empty when cancelled.
    using FileChooser = std::function<QString(const FileRequest&)>;

    MailSetupWindow(AppContext& app, MailSettings& settings);
    ~MailSetupWindow() override;

    void sendTestMail();              // "Send test mail"
    void saveSettings();              // "Save"
    void loadSettings();              // "Load"
    void clearSettings();             // "Clear"
    void showPassword(bool visible);  // "show"
    // Shows what the model holds.
    void refreshFromModel();

    // The file dialogs; tests answer them without a modal loop.
    FileChooser askSaveFile;
    FileChooser askOpenFile;
    // Sends a mail with the window's account; tests put a recorder here.
    MailSendFunction sendMail;

private:
    // Controls; each objectName is the designer's name where the designer gave one.
    QLineEdit* mailToEdit = nullptr;       // "mail to"
    QLineEdit* mailFromEdit = nullptr;     // "mail from"
    QLineEdit* smtpUserEdit = nullptr;     // "SMTP User"
    QLineEdit* smtpPasswordEdit = nullptr; // "SMTP PWD"
    QLineEdit* smtpServerEdit = nullptr;   // "SMTP Server"
    QLineEdit* smtpPortEdit = nullptr;     // "SMTP Port"
    QComboBox* securityBox = nullptr;      // "connection security"
    QCheckBox* showPasswordBox = nullptr;  // "show"

    QCheckBox* mailOnBox = nullptr;          // "Mail on/off"
    QCheckBox* segmentInfoBox = nullptr;     // "Info every segment"
    QCheckBox* segmentChartBox = nullptr;    // "add Chart"
    QCheckBox* segmentMessagesBox = nullptr; // "add messages"
    QCheckBox* endInfoBox = nullptr;         // "Info at end of measurement"
    QCheckBox* endChartBox = nullptr;        // "add Chart "
    QCheckBox* endMessagesBox = nullptr;     // "add messages"

    QPushButton* testMailButton = nullptr; // "Send test mail"
    QPushButton* saveButton = nullptr;     // "Save"
    QPushButton* loadButton = nullptr;     // "Load"
    QPushButton* clearButton = nullptr;    // "Clear"

    void BuildControls();
    void ConnectModel();
    QString AskFile(const FileChooser& chooser, const QString& title);
    void EnterWorkingFolder();

    AppContext& app_;
    MailSettings& settings_;
    WindowEventPump pump_;
    bool sending_ = false;
};

#endif
