#ifndef ZENDRIK_MAIL_MAILSETTINGS_H
#define ZENDRIK_MAIL_MAILSETTINGS_H

#include <QChar>
#include <QString>
#include <QStringList>

class MessageLog;

// The SMTP account of the mail setup window. The sender reads it when it sends.
struct MailAccount {
    QString MailTo;       // "mail to"
    QString MailFrom;     // "mail from"
    QString SmtpUser;     // "SMTP User"
    QString SmtpPassword; // "SMTP PWD"
    QString SmtpServer;   // "SMTP Server"
    QString SmtpPort;     // "SMTP Port", as typed
    // Index into MailSecurityItems(): 0 "auto", 1 "none", 2 "SSL/TLS", 3 "STARTTLS".
    int Security = 0;
};

// When mails go out; read by the run control, never stored in the file.
struct MailAlertSwitches {
    bool MailOn = false;             // "Mail on/off"
    bool InfoEverySegment = false;   // "Info every segment"
    bool SegmentAddChart = false;    // "add Chart"
    bool SegmentAddMessages = false; // "add messages"
    bool InfoAtEnd = false;          // "Info at end of measurement"
    bool EndAddChart = false;        // "add Chart "
    bool EndAddMessages = false;     // "add messages"
};

// The mail subsystem's state: edited by the mail setup window, read by the run control and the
// sender. Owned by the program, passed by reference.
struct MailSettings {
    MailAccount Account;
    MailAlertSwitches Alerts;
};

const QStringList& MailSecurityItems();

inline constexpr char kMailSection[] = "Mail";
inline constexpr char kMailKey[] = "Set";

// The plain text that is encrypted: the seven items (to, from, server, user, port, password,
// security index) each enclosed in "|" and joined by "/". A "|" inside an item is written
// doubled, so that it reads back as one.
QString BuildMailSettingsText(const MailAccount& account);

// A delimited list: items separated by the delimiter, an item starting with the quote character
// runs to the next single quote character (a doubled one stands for itself), blanks and control
// characters between items are skipped, and an unquoted item also ends at a blank.
QStringList SplitDelimitedText(const QString& text, QChar delimiter, QChar quote);

// The items of a settings text.
QStringList SplitMailSettingsText(const QString& text);

// Sets the six fields and the security choice from a settings text: fewer than six items log
// "Error: mail settings cnt error" and change nothing; with exactly seven, a seventh item of
// "0".."3" chooses the security, otherwise it becomes "auto".
void ApplyMailSettingsText(const QString& text, MailAccount& account, MessageLog& log);

// One warning per empty field, in the fields' order.
void WarnMissingMailFields(const MailAccount& account, MessageLog& log);

// "Error: " lines for every field holding a character the file cannot store; false if any.
bool CheckMailFieldsStorable(const MailAccount& account, MessageLog& log);

// Writes the account to a mail settings file, encrypted with the host identifier. The file is
// replaced atomically; a failed write keeps the old file and logs an "Error: " line.
bool SaveMailSettingsFile(const QString& path, const MailAccount& account, const QString& hostId,
                          MessageLog& log);

// Empties the six fields, then reads the file into them and logs what is wrong or missing. The
// security choice is kept when the file cannot be decrypted or holds too few items.
void LoadMailSettingsFile(const QString& path, const QString& hostId, MailAccount& account, MessageLog& log);

#endif
