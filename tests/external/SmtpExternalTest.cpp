// The SMTP sender against aiosmtpd on loopback: plain, STARTTLS and implicit TLS with a
// certificate made by the openssl command, AUTH checked by the server, and every received message
// parsed by Python's email module (tests/data/mail/smtp_server.py reports what it saw).
#include "app/Log.h"
#include "common/TestSupport.h"
#include "mail/MailNotice.h"
#include "mail/MailSettings.h"
#include "mail/SmtpSender.h"
#include "SmtpPeer.h"
#include "platform/system/EventPump.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

class SmtpExternal : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        certDir_ = std::make_unique<QTemporaryDir>();
        QProcess openssl;
        openssl.start("openssl",
            {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days",
                "2", "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1",
                "-keyout", certDir_->filePath("key.pem"), "-out", certDir_->filePath("cert.pem")});
        certMade_ = openssl.waitForFinished(60000) && openssl.exitCode() == 0;
    }
    static void TearDownTestSuite() { certDir_.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(certMade_) << "the openssl command could not make the test certificate";
        account.MailTo = "operator@example.org";
        account.MailFrom = "Zendrik Lab <lab@example.org>";
        account.SmtpUser = "lab";
        account.SmtpPassword = "s3cret pass";
        account.SmtpServer = "127.0.0.1";
        transport.CaFile = Cert();
        debug.DebugMode = 1;
    }

    // The curl result the last failed send logged, so a failure is known to be the expected one.
    int CurlError() const
    {
        static const QRegularExpression code("Mail: curl error (\\d+):");
        const QRegularExpressionMatch m = code.match(debug.Lines().value(debug.Lines().size() - 1));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }

    static QString Cert() { return certDir_->filePath("cert.pem"); }
    static QStringList Tls(const QString& mode)
    {
        return {
            "--tls", mode, "--cert", certDir_->filePath("cert.pem"), "--key", certDir_->filePath("key.pem")};
    }
    QStringList Auth() const { return {"--user", "lab", "--password", "s3cret pass"}; }

    MailContext Context() { return {account, messages, debug, pump, work.path(), transport}; }

    // The log lines a send added; its result goes to accepted.
    QStringList Send(const QString& subject, const QString& body, const QString& attachment = {},
        const QString& source = {})
    {
        const qsizetype before = messages.Lines().size();
        accepted = SendMail(Context(), subject, body, attachment, source);
        return messages.Lines().mid(before);
    }

    static std::unique_ptr<QTemporaryDir> certDir_;
    static bool certMade_;
    QTemporaryDir work;
    MessageLog messages;
    DebugLog debug;
    QtEventPump pump;
    MailAccount account;
    MailTransport transport;
    bool accepted = false;
};

std::unique_ptr<QTemporaryDir> SmtpExternal::certDir_;
bool SmtpExternal::certMade_ = false;

QJsonObject Message(SmtpPeer& peer)
{
    const QList<QJsonObject> data = peer.Events("data");
    return data.size() == 1 ? data[0].value("message").toObject() : QJsonObject();
}

} // namespace

TEST_F(SmtpExternal, TestMailOverAPlainConnectionIsOneTextPartHoldingTheLog)
{
    SmtpPeer peer(Auth());
    ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
    account.SmtpPort = peer.Port();
    account.Security = 1;
    messages.Append("Info: play 03.02.2026 14:05:09");
    messages.Append(QString::fromUtf8("Warning: 41.5 dBµV über der Grenze"));
    messages.Append(".a line that starts with a dot");
    messages.Append("Info: " + QString(150, u'=') + " end");
    const QStringList log = messages.Lines();
    // The window keeps working: a timer goes on firing while the mail is on its way.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(0);
    EXPECT_EQ(Send("zendrik testmail", "zendrik testmail", ".\\out\\chartimage.jpg", "memo"), kSent);
    timer.stop();
    EXPECT_TRUE(accepted);
    EXPECT_GT(ticks, 0);

    ASSERT_EQ(peer.Events("auth").size(), 1);
    EXPECT_TRUE(peer.Events("auth")[0].value("ok").toBool());
    const QList<QJsonObject> mail = peer.Events("mail");
    const QList<QJsonObject> data = peer.Events("data");
    ASSERT_EQ(mail.size(), 1);
    ASSERT_EQ(data.size(), 1);
    EXPECT_EQ(mail[0].value("address").toString(), "lab@example.org");
    EXPECT_TRUE(mail[0].value("authenticated").toBool());
    EXPECT_FALSE(mail[0].value("tls").toBool());
    // The server offers SIZE, so MAIL FROM declares the message's size.
    EXPECT_EQ(mail[0].value("options").toArray(),
        QJsonArray({QString("SIZE=%1").arg(data[0].value("size").toInt())}));

    QJsonObject m = data[0].value("message").toObject();
    EXPECT_LT(m.take("date_age").toDouble(1e9), 300.0);
    const QJsonArray parts = m.take("parts").toArray();
    EXPECT_EQ(m,
        QJsonObject({{"from", "Zendrik Lab <lab@example.org>"}, {"to", "operator@example.org"},
            {"from_mailboxes", QJsonArray({QJsonArray({"Zendrik Lab", "lab@example.org"})})},
            {"to_mailboxes", QJsonArray({QJsonArray({"", "operator@example.org"})})},
            {"subject", "zendrik testmail"}, {"x_mailer", "zendrik"}, {"type", "multipart/mixed"},
            {"defects", 0}, {"header_defects", 0}}));
    ASSERT_EQ(parts.size(), 1);
    const QJsonObject text = parts[0].toObject();
    EXPECT_EQ(text.value("type").toString(), "text/plain");
    EXPECT_EQ(text.value("charset").toString(), "utf-8");
    EXPECT_EQ(text.value("encoding").toString(), "quoted-printable");
    // The log as it stood before the send's own lines.
    EXPECT_EQ(text.value("text").toString(), log.join('\n') + '\n');
}

TEST_F(SmtpExternal, SegmentNoticeOverStartTlsCarriesTheChartAsSecondPart)
{
    SmtpPeer peer(Tls("starttls") + QStringList {"--require-starttls"} + Auth());
    ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
    account.SmtpPort = peer.Port();
    account.Security = 3;
    QByteArray picture;
    for (int i = 0; i < 5000; ++i)
        picture += static_cast<char>((i * 7919) % 256);
    MailAlertSwitches alerts;
    alerts.MailOn = alerts.InfoEverySegment = alerts.SegmentAddChart = true;
    NotifySegmentDone(
        alerts, 1, 2, [&] { return testsupport::WriteAll(work.filePath("out/ChartImage.jpg"), picture); },
        SmtpMailSender(Context()));
    EXPECT_EQ(messages.Lines(), kSent);

    EXPECT_EQ(peer.Events("starttls").size(), 1);
    ASSERT_EQ(peer.Events("mail").size(), 1);
    EXPECT_TRUE(peer.Events("mail")[0].value("tls").toBool());
    const QJsonObject m = Message(peer);
    EXPECT_EQ(m.value("subject").toString(), "ZENDRIK segment 1 of 2 done");
    const QJsonArray parts = m.value("parts").toArray();
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].toObject().value("text").toString(), "ZENDRIK segment 1 of 2 done\n");
    const QJsonObject file = parts[1].toObject();
    EXPECT_EQ(file.value("filename").toString(), "ChartImage.jpg");
    EXPECT_EQ(file.value("type").toString(), "image/jpeg");
    EXPECT_EQ(file.value("encoding").toString(), "base64");
    EXPECT_EQ(file.value("size").toInt(), picture.size());
    EXPECT_EQ(file.value("sha256").toString(),
        QString::fromLatin1(QCryptographicHash::hash(picture, QCryptographicHash::Sha256).toHex()));
}

// Subject and display names outside ASCII go as encoded words, which the parser takes back
// without a defect; the envelope keeps the bare addresses.
TEST_F(SmtpExternal, ImplicitTlsWithEncodedSubjectAndDisplayNames)
{
    SmtpPeer peer(Tls("implicit") + Auth());
    ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
    account.SmtpPort = peer.Port();
    account.Security = 2;
    account.MailTo = QString::fromUtf8("Jürgen Müller <op@example.test>");
    account.MailFrom = QString::fromUtf8("\"Prüflabor Süd, Halle 2\" <lab@example.org>");
    const QString subject = QString::fromUtf8("Prüfung 41.5 dBµV – Grenze überschritten, Segment 3 von 12 ✓");
    EXPECT_EQ(Send(subject, "body"), kSent);
    ASSERT_EQ(peer.Events("mail").size(), 1);
    EXPECT_TRUE(peer.Events("mail")[0].value("tls").toBool());
    EXPECT_EQ(peer.Events("mail")[0].value("address").toString(), "lab@example.org");
    ASSERT_EQ(peer.Events("rcpt").size(), 1);
    EXPECT_EQ(peer.Events("rcpt")[0].value("address").toString(), "op@example.test");
    const QJsonObject m = Message(peer);
    EXPECT_EQ(m.value("subject").toString(), subject);
    EXPECT_EQ(m.value("from_mailboxes").toArray(),
        QJsonArray({QJsonArray({QString::fromUtf8("Prüflabor Süd, Halle 2"), "lab@example.org"})}));
    EXPECT_EQ(m.value("to_mailboxes").toArray(),
        QJsonArray({QJsonArray({QString::fromUtf8("Jürgen Müller"), "op@example.test"})}));
    EXPECT_EQ(m.value("defects").toInt(-1), 0);
    EXPECT_EQ(m.value("header_defects").toInt(-1), 0);
}

// "auto" decides by the port: STARTTLS on 587, plain on any other port, though both servers offer
// STARTTLS.
TEST_F(SmtpExternal, AutoSecurityFollowsThePort)
{
    account.Security = 0;
    for (const char* port : {" 587 ", "2525"}) {
        // Fixed ports: another test run on this machine may hold one for a moment.
        std::unique_ptr<SmtpPeer> held;
        for (int attempt = 0; attempt < 20; ++attempt) {
            held = std::make_unique<SmtpPeer>(
                Tls("starttls") + QStringList {"--port", QString::fromLatin1(port).trimmed()} + Auth());
            if (held->Ready() || !held->Failure().contains("already in use", Qt::CaseInsensitive))
                break;
            held.reset();
            QThread::msleep(500);
        }
        ASSERT_TRUE(held && held->Ready())
            << port << ": " << (held ? held->Failure().toStdString() : "in use");
        SmtpPeer& peer = *held;
        account.SmtpPort = QString::fromLatin1(port);
        EXPECT_EQ(Send("s", "b"), kSent) << port;
        const bool tls = QString::fromLatin1(port).trimmed() == "587";
        EXPECT_EQ(peer.Events("starttls").size(), tls ? 1 : 0) << port;
        ASSERT_EQ(peer.Events("mail").size(), 1) << port;
        EXPECT_EQ(peer.Events("mail")[0].value("tls").toBool(), tls) << port;
        messages.Clear();
    }
}

TEST_F(SmtpExternal, WrongPasswordAndRefusedRecipient)
{
    {
        SmtpPeer peer(Auth());
        ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
        account.SmtpPort = peer.Port();
        account.SmtpPassword = "wrong";
        EXPECT_EQ(Send("s", "b"), kLoginError);
        EXPECT_FALSE(accepted);
        EXPECT_EQ(CurlError(), CURLE_LOGIN_DENIED);
        ASSERT_EQ(peer.Events("auth").size(), 1);
        EXPECT_FALSE(peer.Events("auth")[0].value("ok").toBool());
        EXPECT_TRUE(peer.Events("mail").isEmpty());
    }
    account.SmtpPassword = "s3cret pass";
    SmtpPeer peer(Auth() + QStringList {"--refuse-rcpt", "operator@example.org"});
    ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
    account.SmtpPort = peer.Port();
    EXPECT_EQ(Send("s", "b"), kRefused);
    EXPECT_FALSE(accepted);
    ASSERT_EQ(peer.Events("rcpt").size(), 1);
    EXPECT_FALSE(peer.Events("rcpt")[0].value("accepted").toBool());
    EXPECT_TRUE(peer.Events("data").isEmpty());
}

// A closed port, a certificate the system does not trust, a host name that fails without asking
// any name server (a label longer than 63 characters) and a server that never greets all end as
// a failed login, the last within the conversation's time-out.
TEST_F(SmtpExternal, FailuresBeforeTheLoginEndAsLoginError)
{
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        account.SmtpPort = QString::number(probe.serverPort());
    }
    EXPECT_EQ(Send("s", "b"), kLoginError) << "closed port";
    EXPECT_EQ(CurlError(), CURLE_COULDNT_CONNECT);

    {
        SmtpPeer peer(Tls("implicit") + Auth());
        ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
        account.SmtpPort = peer.Port();
        account.Security = 2;
        transport.CaFile.clear();
        EXPECT_EQ(Send("s", "b"), kLoginError) << "untrusted certificate";
        EXPECT_EQ(CurlError(), CURLE_PEER_FAILED_VERIFICATION);
        EXPECT_TRUE(peer.Events("mail").isEmpty());
    }

    account.Security = 1;
    account.SmtpServer = QString(64, u'h') + ".invalid";
    account.SmtpPort = "25";
    EXPECT_EQ(Send("s", "b"), kLoginError) << "unknown host";
    EXPECT_EQ(CurlError(), CURLE_COULDNT_RESOLVE_HOST);

    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    account.SmtpServer = "127.0.0.1";
    account.SmtpPort = QString::number(silent.serverPort());
    transport.ConnectTimeoutMs = 1000;
    transport.TotalTimeoutMs = 1500;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Send("s", "b"), kLoginError) << "silent server";
    EXPECT_EQ(CurlError(), CURLE_OPERATION_TIMEDOUT);
    // Far below curl's own defaults: the time-out given is the one that ended it.
    EXPECT_LT(clock.elapsed(), 30000);
}
