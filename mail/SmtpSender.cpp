#include "mail/SmtpSender.h"

#include "app/Log.h"
#include "datafiles/DataFilePaths.h"
#include "mail/CurlTransfer.h"
#include "mail/MailSettings.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include <array>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace {

const QString kTryLine = QStringLiteral("Info: Mail try to login");
const QString kLoginErrorLine = QStringLiteral("Info: Mail login error");
const QString kLoginOkLine = QStringLiteral("Info: Mail login ok");
const QString kSendingOkLine = QStringLiteral("Info: Mail sending ok");
const QString kSendingErrorLine = QStringLiteral("Info: Mail sending error");
constexpr char kMailer[] = "zendrik";

void InitCurlOnce()
{
    // curl's global set-up must run once before any handle; doing it here keeps it off the paths
    // of programs that never send mail.
    static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)init;
}

struct EasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct MimeDeleter {
    void operator()(curl_mime* m) const { curl_mime_free(m); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MimeHandle = std::unique_ptr<curl_mime, MimeDeleter>;
using ListHandle = std::unique_ptr<curl_slist, ListDeleter>;

bool Append(ListHandle& list, const QByteArray& line)
{
    curl_slist* longer = curl_slist_append(list.get(), line.constData());
    if (!longer)
        return false;
    (void)list.release();
    list.reset(longer);
    return true;
}

// A header value from a dialog field: line breaks and other control characters would start new
// header lines or break the conversation, so they go.
QString HeaderSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            out += c;
    }
    return out.trimmed();
}

bool IsAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Printable ASCII stays as it is; anything else becomes UTF-8 encoded words, each short enough
// for a header line and cut between characters.
QByteArray EncodedHeaderText(const QString& text)
{
    const QString safe = HeaderSafe(text);
    if (IsAscii(safe))
        return safe.toLatin1();
    QByteArray out;
    QByteArray chunk;
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += ' ';
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < safe.size(); ++i) {
        qsizetype n = safe[i].isHighSurrogate() && i + 1 < safe.size() ? 2 : 1;
        const QByteArray bytes = safe.mid(i, n).toUtf8();
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
        i += n - 1;
    }
    flush();
    return out;
}

// The text of a quoted string: without its quotes, each backslash taking the next character as
// it is.
QString UnquotedName(const QString& quoted)
{
    QString out;
    for (qsizetype i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == u'\\' && i + 2 < quoted.size())
            ++i;
        out += quoted[i];
    }
    return out;
}

// The bare address for the envelope: the part in angle brackets when the field has one.
QByteArray EnvelopeAddress(const QString& field)
{
    QString address = HeaderSafe(field);
    const qsizetype open = address.lastIndexOf(u'<');
    const qsizetype close = address.lastIndexOf(u'>');
    if (open >= 0 && close > open)
        address = address.mid(open + 1, close - open - 1).trimmed();
    return '<' + address.toUtf8() + '>';
}

// Host names and ports go into the URL as they are, so anything that would give the URL another
// meaning (a path, a user, a query) is refused.
bool UsableServer(const QString& server)
{
    if (server.isEmpty())
        return false;
    for (QChar c : server) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7f || QStringLiteral("/\\?#@[]").contains(c))
            return false;
    }
    return true;
}

bool UsablePort(const QString& port)
{
    if (port.size() > 5)
        return false;
    for (QChar c : port) {
        if (!c.isDigit() || c.unicode() > 0x7f)
            return false;
    }
    return true;
}

// The lines of the mail's text, each ending in CR LF as the wire wants them.
QByteArray MailText(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += u'\n';
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toUtf8();
}

// Quoted-printable text: lines of at most 76 characters with soft breaks, blanks encoded at the
// end of a line. Encoded here rather than by curl, whose encoder leaves the message size
// unknown, so that MAIL FROM can declare it.
QByteArray QuotedPrintable(const QByteArray& text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf("\r\n", start);
        const bool broken = end >= 0;
        if (!broken)
            end = text.size();
        int column = 0;
        for (qsizetype i = start; i < end; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            const bool blank = c == ' ' || c == '\t';
            char encoded[3] = {static_cast<char>(c), 0, 0};
            int width = 1;
            if (!((c >= 33 && c <= 126 && c != '=') || (blank && i + 1 < end))) {
                encoded[0] = '=';
                encoded[1] = hex[c >> 4];
                encoded[2] = hex[c & 15];
                width = 3;
            }
            if (column + width > 75) {
                out += "=\r\n";
                column = 0;
            }
            out.append(encoded, width);
            column += width;
        }
        if (broken)
            out += "\r\n";
        start = end + (broken ? 2 : 0);
    }
    return out;
}

struct Attachment {
    QString name;
    QByteArray bytes;
};

// The file the path names, mapped from the Windows spelling and matched without regard to case.
bool ReadAttachment(const QString& workingFolder, const QString& path, Attachment& out, DebugLog& debug)
{
    const QString trimmed = path.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QString mapped = datafiles::ResolveDataPath(workingFolder, trimmed);
    if (mapped.isEmpty() || !QFileInfo(mapped).isFile())
        return false;
    QFile file(mapped);
    if (!file.open(QIODevice::ReadOnly)) {
        debug.LogMessage(QStringLiteral("Mail: attachment not read: ") + file.errorString());
        return false;
    }
    out.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        debug.LogMessage(QStringLiteral("Mail: attachment not read: ") + file.errorString());
        return false;
    }
    out.name = QFileInfo(mapped).fileName();
    return true;
}

// Watches the commands curl sends: the first MAIL FROM means the login is through.
struct Conversation {
    MessageLog* messages = nullptr;
    bool mailFromSent = false;
    // Why the login line could not be written; told to the debug log once curl has returned.
    std::array<char, 160> lostLine {};
};

int OnCurlDebug(CURL*, curl_infotype type, char* data, size_t size, void* user)
{
    auto* c = static_cast<Conversation*>(user);
    if (type != CURLINFO_HEADER_OUT || c->mailFromSent || size < 10)
        return 0;
    std::array<char, 10> head {};
    for (size_t i = 0; i < head.size(); ++i)
        head[i] = static_cast<char>(data[i] >= 'a' && data[i] <= 'z' ? data[i] - 'a' + 'A' : data[i]);
    if (std::memcmp(head.data(), "MAIL FROM:", head.size()) != 0)
        return 0;
    c->mailFromSent = true;
    try {
        c->messages->Append(kLoginOkLine);
    } catch (const std::exception& e) {
        // Nothing may unwind through curl: the reason waits in a fixed buffer, which cannot throw.
        std::snprintf(c->lostLine.data(), c->lostLine.size(), "%s", *e.what() ? e.what() : "unknown");
    }
    return 0;
}

struct Composed {
    MimeHandle mime;
    ListHandle headers;
    ListHandle recipients;
};

bool Compose(CURL* easy, const MailAccount& account, const QString& subject, const QByteArray& text,
    const Attachment* attachment, Composed& out)
{
    out.mime.reset(curl_mime_init(easy));
    if (!out.mime)
        return false;
    curl_mimepart* textPart = curl_mime_addpart(out.mime.get());
    const QByteArray encoded = QuotedPrintable(text);
    ListHandle textHeaders;
    if (!textPart
        || curl_mime_data(textPart, encoded.constData(), static_cast<size_t>(encoded.size())) != CURLE_OK
        || curl_mime_type(textPart, "text/plain; charset=UTF-8") != CURLE_OK
        || !Append(textHeaders, "Content-Transfer-Encoding: quoted-printable")
        || curl_mime_headers(textPart, textHeaders.get(), 1) != CURLE_OK)
        return false;
    (void)textHeaders.release();
    if (attachment) {
        curl_mimepart* filePart = curl_mime_addpart(out.mime.get());
        const QByteArray name = attachment->name.toUtf8();
        if (!filePart
            || curl_mime_data(
                   filePart, attachment->bytes.constData(), static_cast<size_t>(attachment->bytes.size()))
                != CURLE_OK
            || curl_mime_filename(filePart, name.constData()) != CURLE_OK
            || curl_mime_encoder(filePart, "base64") != CURLE_OK)
            return false;
    }
    const bool headersOk = Append(out.headers, "From: " + MailboxHeaderText(account.MailFrom))
        && Append(out.headers, "To: " + MailboxHeaderText(account.MailTo))
        && Append(out.headers, "Subject: " + EncodedHeaderText(subject))
        && Append(out.headers, "Date: " + MailDateText(QDateTime::currentDateTime()))
        && Append(out.headers, QByteArray("X-Mailer: ") + kMailer);
    return headersOk && Append(out.recipients, EnvelopeAddress(account.MailTo));
}

template <typename T> bool Set(CURL* easy, CURLoption option, T value)
{
    return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

} // namespace

QByteArray MailboxHeaderText(const QString& field)
{
    const QString safe = HeaderSafe(field);
    const qsizetype open = safe.lastIndexOf(u'<');
    const qsizetype close = safe.lastIndexOf(u'>');
    QString name = open >= 0 && close > open ? safe.left(open).trimmed() : QString();
    // Names in ASCII and bare addresses go as they were typed.
    if (IsAscii(name))
        return safe.toUtf8();
    // An encoded word inside a quoted string is not decoded, so a quoted name loses its quotes;
    // its specials (",", ".") are safe inside the encoded word.
    if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"')
        name = UnquotedName(name);
    return EncodedHeaderText(name) + ' ' + safe.mid(open).toUtf8();
}

SmtpSecurity ChooseSmtpSecurity(int securityIndex, const QString& port)
{
    switch (securityIndex) {
    case 1:
        return SmtpSecurity::Plain;
    case 2:
        return SmtpSecurity::ImplicitTls;
    case 3:
        return SmtpSecurity::StartTls;
    default:
        break;
    }
    const QString p = port.trimmed();
    if (p == QLatin1String("465"))
        return SmtpSecurity::ImplicitTls;
    if (p == QLatin1String("587"))
        return SmtpSecurity::StartTls;
    return SmtpSecurity::Plain;
}

QByteArray SmtpUrl(const QString& server, const QString& port, SmtpSecurity security)
{
    QByteArray url = security == SmtpSecurity::ImplicitTls ? "smtps://" : "smtp://";
    const QString host = server.trimmed();
    if (host.contains(u':'))
        url += '[' + host.toUtf8() + ']';
    else
        url += host.toUtf8();
    const QString p = port.trimmed();
    if (!p.isEmpty())
        url += ':' + p.toLatin1();
    return url;
}

QByteArray MailDateText(const QDateTime& time)
{
    static constexpr std::array<const char*, 7> days = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static constexpr std::array<const char*, 12> months
        = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = time.date();
    const QTime t = time.time();
    const int offset = time.offsetFromUtc() / 60;
    const int absOffset = offset < 0 ? -offset : offset;
    // Fixed English names: the header is read by machines, whatever the user's language.
    return QStringLiteral("%1, %2 %3 %4 %5:%6:%7 %8%9%10")
        .arg(QLatin1String(days[static_cast<size_t>(d.dayOfWeek() - 1)]))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(months[static_cast<size_t>(d.month() - 1)]))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'))
        .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(absOffset / 60, 2, 10, QLatin1Char('0'))
        .arg(absOffset % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

bool SendMail(const MailContext& context, const QString& subject, const QString& body,
    const QString& attachmentPath, const QString& bodySource)
{
    return SendMailOutcome(context, subject, body, attachmentPath, bodySource) == MailOutcome::sent;
}

MailOutcome SendMailOutcome(const MailContext& context, const QString& subject, const QString& body,
    const QString& attachmentPath, const QString& bodySource)
{
    // Read now: the dialog stays usable while the mail is on its way and may be edited.
    const MailAccount account = context.Account;
    const QByteArray text = MailText(bodySource.isEmpty() ? QStringList {body} : context.Messages.Lines());
    Attachment attachment;
    const bool attach = ReadAttachment(context.WorkingFolder, attachmentPath, attachment, context.Debug);

    context.Messages.Append(kTryLine);
    auto fail = [&](const QString& why) {
        context.Debug.LogMessage(QStringLiteral("Mail: ") + why);
        context.Messages.Append(kLoginErrorLine);
        return MailOutcome::loginError;
    };
    const QString server = account.SmtpServer.trimmed();
    const QString port = account.SmtpPort.trimmed();
    if (!UsableServer(server))
        return fail(QStringLiteral("no usable SMTP server name"));
    if (!UsablePort(port))
        return fail(QStringLiteral("no usable SMTP port"));

    InitCurlOnce();
    EasyHandle easy(curl_easy_init());
    if (!easy)
        return fail(QStringLiteral("curl could not start"));
    CURL* h = easy.get();
    Composed mail;
    if (!Compose(h, account, subject, text, attach ? &attachment : nullptr, mail))
        return fail(QStringLiteral("the message could not be composed"));

    const SmtpSecurity security = ChooseSmtpSecurity(account.Security, port);
    const QByteArray url = SmtpUrl(server, port, security);
    const QByteArray from = EnvelopeAddress(account.MailFrom);
    const QByteArray user = account.SmtpUser.toUtf8();
    const QByteArray password = account.SmtpPassword.toUtf8();
    const QByteArray caFile = QFile::encodeName(context.Transport.CaFile);
    std::array<char, CURL_ERROR_SIZE> error {};
    Conversation conversation {&context.Messages};

    const long connectMs = static_cast<long>(context.Transport.ConnectTimeoutMs);
    const long totalMs = static_cast<long>(context.Transport.TotalTimeoutMs);
    bool set = Set(h, CURLOPT_URL, url.constData()) && Set(h, CURLOPT_PROTOCOLS_STR, "smtp,smtps")
        && Set(h, CURLOPT_NOPROXY, "*") && Set(h, CURLOPT_NOSIGNAL, 1L)
        && Set(h, CURLOPT_ERRORBUFFER, error.data()) && Set(h, CURLOPT_CONNECTTIMEOUT_MS, connectMs)
        && Set(h, CURLOPT_TIMEOUT_MS, totalMs) &&
        // Without it an unanswered QUIT would hold the window for curl's default of minutes.
        Set(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, std::max(1L, totalMs / 1000)) &&
        // The connection ends with the mail; keeping it would only delay its QUIT.
        Set(h, CURLOPT_FORBID_REUSE, 1L) && Set(h, CURLOPT_SSL_VERIFYPEER, 1L)
        && Set(h, CURLOPT_SSL_VERIFYHOST, 2L)
        && Set(h, CURLOPT_USE_SSL,
            security == SmtpSecurity::StartTls ? long(CURLUSESSL_ALL) : long(CURLUSESSL_NONE))
        && Set(h, CURLOPT_MAIL_FROM, from.constData()) && Set(h, CURLOPT_MAIL_RCPT, mail.recipients.get())
        && Set(h, CURLOPT_HTTPHEADER, mail.headers.get()) && Set(h, CURLOPT_MIMEPOST, mail.mime.get())
        && Set(h, CURLOPT_DEBUGFUNCTION, &OnCurlDebug) && Set(h, CURLOPT_DEBUGDATA, &conversation)
        && Set(h, CURLOPT_VERBOSE, 1L);
    if (set && !user.isEmpty())
        set = Set(h, CURLOPT_USERNAME, user.constData()) && Set(h, CURLOPT_PASSWORD, password.constData());
    if (set && !caFile.isEmpty())
        set = Set(h, CURLOPT_CAINFO, caFile.constData());
    if (!set)
        return fail(QStringLiteral("curl refused an option"));

    const CURLcode result = RunCurlTransfer(h, context.Pump, context.Abandon);
    if (conversation.lostLine[0] != '\0')
        context.Debug.LogMessage(QStringLiteral("Mail: login line not written: ")
            + QString::fromLocal8Bit(conversation.lostLine.data()));
    if (result != CURLE_OK) {
        const QString reason
            = error[0] ? QString::fromUtf8(error.data()) : QString::fromUtf8(curl_easy_strerror(result));
        context.Debug.LogMessage(QStringLiteral("Mail: curl error %1: %2").arg(int(result)).arg(reason));
    }
    const bool silent = result == CURLE_OPERATION_TIMEDOUT;
    if (!conversation.mailFromSent) {
        context.Messages.Append(kLoginErrorLine);
        return silent ? MailOutcome::noAnswer : MailOutcome::loginError;
    }
    context.Messages.Append(result == CURLE_OK ? kSendingOkLine : kSendingErrorLine);
    if (result == CURLE_OK)
        return MailOutcome::sent;
    return silent ? MailOutcome::noAnswer : MailOutcome::sendingError;
}

MailSendFunction SmtpMailSender(const MailContext& context)
{
    return [context](const QString& subject, const QString& body, const QString& attachmentPath,
               const QString& bodySource) {
        return SendMail(context, subject, body, attachmentPath, bodySource);
    };
}
