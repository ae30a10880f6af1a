#ifndef ZENDRIK_MAIL_SMTPSENDER_H
#define ZENDRIK_MAIL_SMTPSENDER_H

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class DebugLog;
class EventPump;
class MessageLog;
class QDateTime;
struct MailAccount;

enum class SmtpSecurity { Plain, StartTls, ImplicitTls };

// The connection for a "connection security" index: "auto" (0) goes by the port with blanks
// trimmed ("465" implicit TLS, "587" STARTTLS, anything else plain), 1 "none", 2 "SSL/TLS",
// 3 "STARTTLS".
SmtpSecurity ChooseSmtpSecurity(int securityIndex, const QString& port);

// "smtp://host:port" or "smtps://host:port"; an IPv6 address goes in brackets, the port is
// trimmed and left out when empty.
QByteArray SmtpUrl(const QString& server, const QString& port, SmtpSecurity security);

// The "From" or "To" header text of a mail-to / mail-from field: a display name outside ASCII
// ("Jürgen Müller <op@example.test>") becomes UTF-8 encoded words, as the subject does;
// the address, ASCII names and bare addresses stay as typed.
QByteArray MailboxHeaderText(const QString& field);

// A mail header date: "Tue, 03 Feb 2026 14:05:09 +0100".
QByteArray MailDateText(const QDateTime& time);

// How the server is reached, beyond the account.
struct MailTransport {
    QString CaFile; // empty: the system's certificate authorities
    // To be connected, greeted and logged in. A run waits for its notices, and a server that
    // answers at all does this within a second or two.
    uint32_t ConnectTimeoutMs = 5000;
    uint32_t TotalTimeoutMs = 60000; // for the whole conversation
};

// What sending needs besides the texts of the mail.
struct MailContext {
    const MailAccount& Account;
    MessageLog& Messages;
    DebugLog& Debug;
    EventPump& Pump;
    QString WorkingFolder; // relative attachment paths are taken below it
    MailTransport Transport;
    // Looked at whenever the conversation waits: true gives the mail up at once.
    std::function<bool()> Abandon = {};
};

// How a mail ended: noAnswer when the server let a bound of the transport pass unanswered.
enum class MailOutcome { sent, loginError, sendingError, noAnswer };

// Composes one mail and sends it; true when the server accepted it. The text is the message
// log line by line when bodySource is not empty, else body. attachmentPath may be written the
// Windows way (".\out\chartimage.jpg"); an existing file is attached under its own name, a
// missing one is left out. Reports "Info: Mail try to login", then "Info: Mail login error" or
// "Info: Mail login ok" followed by "Info: Mail sending ok" or "Info: Mail sending error".
// Windows keep working meanwhile: the conversation is driven through the pump.
bool SendMail(const MailContext& context, const QString& subject, const QString& body,
    const QString& attachmentPath, const QString& bodySource);
// The same, telling why a mail did not go.
MailOutcome SendMailOutcome(const MailContext& context, const QString& subject, const QString& body,
    const QString& attachmentPath, const QString& bodySource);

// Sends with subject, body, attachment path and body source, as SendMail takes them.
using MailSendFunction = std::function<bool(const QString&, const QString&, const QString&, const QString&)>;

// A MailSendFunction over SendMail. The context's references must outlive it.
MailSendFunction SmtpMailSender(const MailContext& context);

#endif
