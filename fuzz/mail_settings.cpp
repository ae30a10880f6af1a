// The mail settings file: its Base64 decoder, the decryption of its value, and the split of the
// decrypted text into the account's fields.
#include "app/Log.h"
#include "fuzz/FuzzSupport.h"
#include "mail/MailCrypt.h"
#include "mail/MailSettings.h"
#include "platform/codepage/Windows1252.h"

namespace {

const QString kHost = QStringLiteral("fuzz-host");

bool SameAccount(const MailAccount& a, const MailAccount& b)
{
    return a.MailTo == b.MailTo && a.MailFrom == b.MailFrom && a.SmtpUser == b.SmtpUser &&
           a.SmtpPassword == b.SmtpPassword && a.SmtpServer == b.SmtpServer && a.SmtpPort == b.SmtpPort &&
           a.Security == b.Security;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t mode = in.Byte() % 5;
    const QByteArray rest = in.Rest();
    MessageLog log;
    switch (mode) {
    case 0: {
        const QByteArray decoded = DecodeMime64(rest);
        fuzz::Check(DecodeMime64(EncodeMime64(decoded)) == decoded, "Base64 decodes what it encodes");
        break;
    }
    case 1: {
        // A value altered anywhere must not decrypt; random bytes are such a value.
        const std::optional<QString> plain = DecryptMailSettings(QString::fromLatin1(rest), kHost);
        if (plain)
            fuzz::Check(codepage::FitsWindows1252(*plain), "a decrypted text is Windows-1252");
        break;
    }
    case 2: {
        const QString text = codepage::FromWindows1252(rest);
        const QByteArray salt(kMailSaltSize, '\x5A');
        const QString value = EncryptMailSettings(text, kHost, salt);
        fuzz::Check(!value.isEmpty(), "every Windows-1252 text encrypts");
        fuzz::Check(DecryptMailSettings(value, kHost) == text, "a value decrypts to its text");
        fuzz::Check(!DecryptMailSettings(value, kHost + QLatin1Char('x')), "another host cannot decrypt it");
        break;
    }
    case 3: {
        MailAccount account;
        account.Security = 2;
        ApplyMailSettingsText(codepage::FromWindows1252(rest), account, log);
        if (log.Lines().isEmpty()) {
            MailAccount again;
            ApplyMailSettingsText(BuildMailSettingsText(account), again, log);
            fuzz::Check(SameAccount(account, again), "an account stored reads back as it was");
        }
        break;
    }
    default: {
        MailAccount account;
        LoadMailSettingsFile(fuzz::WriteScratchFile(QStringLiteral("mail/mail.eml"), rest), kHost, account, log);
        break;
    }
    }
    return 0;
}
