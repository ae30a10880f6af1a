#include "mail/MailSettings.h"

#include "app/Log.h"
#include "mail/MailCrypt.h"
#include "platform/codepage/Windows1252.h"
#include "platform/inifile/IniFile.h"

#include <array>
#include <utility>

namespace {

constexpr QChar kQuote = u'|';
constexpr QChar kDelimiter = u'/';

// The six fields in the order of the settings text, with the names their warnings use.
struct FieldRef {
    QString MailAccount::*field;
    const char* warningName;
    const char* label;
};
constexpr std::array<FieldRef, 6> kTextOrder = {{
    {&MailAccount::MailTo, "mail to", "mail to"},
    {&MailAccount::MailFrom, "mail from", "mail from"},
    {&MailAccount::SmtpServer, "smpt server", "SMTP Server"},
    {&MailAccount::SmtpUser, "smtp user", "SMTP User"},
    {&MailAccount::SmtpPort, "smtp port", "SMTP Port"},
    {&MailAccount::SmtpPassword, "smtp pwd", "SMTP PWD"},
}};

QString Quoted(const QString& item)
{
    QString doubled = item;
    doubled.replace(kQuote, QStringLiteral("||"));
    return kQuote + doubled + kQuote;
}

bool IsBlank(QChar c) { return c.unicode() >= 1 && c.unicode() <= 0x20; }

void EmptyFields(MailAccount& account)
{
    for (const FieldRef& f : kTextOrder)
        (account.*f.field).clear();
}

} // namespace

const QStringList& MailSecurityItems()
{
    static const QStringList items = {QStringLiteral("auto"), QStringLiteral("none"), QStringLiteral("SSL/TLS"),
                                      QStringLiteral("STARTTLS")};
    return items;
}

QString BuildMailSettingsText(const MailAccount& account)
{
    QStringList items;
    for (const FieldRef& f : kTextOrder)
        items << Quoted(account.*f.field);
    items << Quoted(QString::number(account.Security));
    return items.join(kDelimiter);
}

QStringList SplitDelimitedText(const QString& text, QChar delimiter, QChar quote)
{
    QStringList items;
    const qsizetype n = text.size();
    qsizetype p = 0;
    // A NUL ends the text, as it ends the string the list was first parsed from.
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const qsizetype end = nul < 0 ? n : nul;
    while (p < end && IsBlank(text[p]))
        ++p;
    while (p < end) {
        QString item;
        if (text[p] == quote) {
            ++p;
            while (p < end) {
                if (text[p] == quote) {
                    if (p + 1 < end && text[p + 1] == quote) {
                        item += quote;
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            const qsizetype start = p;
            while (p < end && !IsBlank(text[p]) && text[p] != delimiter)
                ++p;
            item = text.mid(start, p - start);
        }
        items << item;
        while (p < end && IsBlank(text[p]))
            ++p;
        if (p < end && text[p] == delimiter) {
            // A delimiter at the very end stands before one more, empty item.
            if (p + 1 == end)
                items << QString();
            do
                ++p;
            while (p < end && IsBlank(text[p]));
        }
    }
    return items;
}

QStringList SplitMailSettingsText(const QString& text) { return SplitDelimitedText(text, kDelimiter, kQuote); }

void ApplyMailSettingsText(const QString& text, MailAccount& account, MessageLog& log)
{
    const QStringList items = SplitMailSettingsText(text);
    if (items.size() < 6) {
        log.Append(QStringLiteral("Error: mail settings cnt error"));
        return;
    }
    for (size_t i = 0; i < kTextOrder.size(); ++i)
        account.*kTextOrder[i].field = items[static_cast<qsizetype>(i)];
    account.Security = 0;
    if (items.size() == 7) {
        const QString& s = items[6];
        if (s.size() == 1 && s[0] >= u'0' && s[0] <= u'3')
            account.Security = s[0].unicode() - u'0';
    }
}

void WarnMissingMailFields(const MailAccount& account, MessageLog& log)
{
    for (const FieldRef& f : kTextOrder) {
        if ((account.*f.field).isEmpty())
            log.Append(QStringLiteral("Warning: \"%1\" is missing ").arg(QLatin1String(f.warningName)));
    }
}

bool CheckMailFieldsStorable(const MailAccount& account, MessageLog& log)
{
    bool ok = true;
    for (const FieldRef& f : kTextOrder) {
        if (!codepage::FitsWindows1252(account.*f.field)) {
            log.Append(QStringLiteral("Error: mail settings not saved, \"%1\" holds a character outside Windows-1252")
                           .arg(QLatin1String(f.label)));
            ok = false;
        }
    }
    return ok;
}

bool SaveMailSettingsFile(const QString& path, const MailAccount& account, const QString& hostId, MessageLog& log)
{
    if (!CheckMailFieldsStorable(account, log))
        return false;
    const QString value = EncryptMailSettings(BuildMailSettingsText(account), hostId);
    if (value.isEmpty()) {
        log.Append(QStringLiteral("Error: mail settings crypt error "));
        return false;
    }
    // The file holds nothing but this value, as if it had been deleted first; the rewrite is
    // atomic, so a failed write leaves the old file whole.
    IniFile ini(path);
    ini.Clear();
    ini.WriteString(QString::fromLatin1(kMailSection), QString::fromLatin1(kMailKey), value);
    QString error;
    if (!ini.UpdateFile(&error)) {
        log.Append(QStringLiteral("Error: mail settings not saved: ") + error);
        return false;
    }
    return true;
}

void LoadMailSettingsFile(const QString& path, const QString& hostId, MailAccount& account, MessageLog& log)
{
    EmptyFields(account);
    const IniFile ini(path);
    if (!ini.LoadError().isEmpty()) {
        log.Append(QStringLiteral("Error: ") + ini.LoadError());
        return;
    }
    const QString value = ini.ReadString(QString::fromLatin1(kMailSection), QString::fromLatin1(kMailKey), QString());
    const std::optional<QString> plain = DecryptMailSettings(value, hostId);
    if (!plain || plain->isEmpty()) {
        log.Append(QStringLiteral("Error: mail settings crypt error "));
        return;
    }
    ApplyMailSettingsText(*plain, account, log);
    WarnMissingMailFields(account, log);
}
