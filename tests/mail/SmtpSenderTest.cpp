// The sender's decisions that need no server (security by port, URL, date header, refused
// account texts) and the run's mail notice with a recording sender.
#include "mail/SmtpSender.h"
#include "app/Log.h"
#include "common/TestSupport.h"
#include "mail/MailNotice.h"
#include "mail/MailSettings.h"
#include "platform/system/EventPump.h"

#include <QDateTime>
#include <QTimeZone>
#include <gtest/gtest.h>

TEST(SmtpSender, SecurityFollowsTheChoiceOrThePort)
{
    EXPECT_EQ(ChooseSmtpSecurity(0, " 587 "), SmtpSecurity::StartTls);
    EXPECT_EQ(ChooseSmtpSecurity(0, "465"), SmtpSecurity::ImplicitTls);
    EXPECT_EQ(ChooseSmtpSecurity(0, "25"), SmtpSecurity::Plain);
    EXPECT_EQ(ChooseSmtpSecurity(0, "2525"), SmtpSecurity::Plain);
    EXPECT_EQ(ChooseSmtpSecurity(1, "465"), SmtpSecurity::Plain);
    EXPECT_EQ(ChooseSmtpSecurity(2, "25"), SmtpSecurity::ImplicitTls);
    EXPECT_EQ(ChooseSmtpSecurity(3, "465"), SmtpSecurity::StartTls);

    EXPECT_EQ(SmtpUrl(" mail.example.org ", " 587 ", SmtpSecurity::StartTls), "smtp://mail.example.org:587");
    EXPECT_EQ(SmtpUrl("::1", "465", SmtpSecurity::ImplicitTls), "smtps://[::1]:465");
    EXPECT_EQ(SmtpUrl("127.0.0.1", "", SmtpSecurity::Plain), "smtp://127.0.0.1");
}

TEST(SmtpSender, DisplayNamesOutsideAsciiBecomeEncodedWords)
{
    const struct {
        const char* field;
        QByteArray header;
    } cases[] = {
        {"J\u00fcrgen M\u00fcller <op@example.test>", "=?UTF-8?B?SsO8cmdlbiBNw7xsbGVy?= <op@example.test>"},
        // A quoted name loses its quotes and escapes: an encoded word in quotes is not decoded.
        {"\"Pr\u00fcflabor \\\"S\u00fcd\\\"\" <lab@example.org>",
            "=?UTF-8?B?" + QByteArray("Pr\xc3\xbc" "flabor \"S\xc3\xbc" "d\"").toBase64() + "?= <lab@example.org>"},
        {"Zendrik Lab <lab@example.org>", "Zendrik Lab <lab@example.org>"},
        {"\"Lab, Hall 2\" <lab@example.org>", "\"Lab, Hall 2\" <lab@example.org>"},
        {" op@example.test ", "op@example.test"},
        {"<op@example.test>", "<op@example.test>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MailboxHeaderText(QString::fromUtf8(c.field)), c.header) << c.field;
}

TEST(SmtpSender, DateHeaderIsEnglishWithTheZoneOffset)
{
    const QDateTime east(QDate(2026, 2, 3), QTime(14, 5, 9), QTimeZone(3600));
    EXPECT_EQ(MailDateText(east), "Tue, 03 Feb 2026 14:05:09 +0100");
    const QDateTime west(QDate(2025, 12, 28), QTime(0, 0, 0), QTimeZone(-(3 * 3600 + 1800)));
    EXPECT_EQ(MailDateText(west), "Sun, 28 Dec 2025 00:00:00 -0330");
}

// A server text that would give the URL another meaning or a port that is no number never
// reaches the network; both end as a failed login.
TEST(SmtpSender, UnusableServerOrPortIsALoginError)
{
    MessageLog messages;
    DebugLog debug;
    VirtualEventPump pump;
    MailAccount account;
    account.SmtpServer = "mail.example.org/evil";
    account.SmtpPort = "25";
    const MailContext context {account, messages, debug, pump, QString(), {}};
    EXPECT_FALSE(SendMail(context, "s", "b", "", ""));
    account.SmtpServer = "127.0.0.1";
    account.SmtpPort = "25x";
    EXPECT_FALSE(SendMail(context, "s", "b", "", ""));
    EXPECT_EQ(messages.Lines(),
        QStringList({"Info: Mail try to login", "Info: Mail login error", "Info: Mail try to login",
            "Info: Mail login error"}));
    EXPECT_EQ(pump.Waits(), 0u);
}

namespace {

struct SentMail {
    QString subject, body, attachment, bodySource;
    bool operator==(const SentMail&) const = default;
};

struct MailNotice : ::testing::Test {
    MailAlertSwitches alerts;
    QList<SentMail> sent;
    QStringList steps;
    bool chartWrites = true;

    void Notify(int segment, int count)
    {
        NotifySegmentDone(
            alerts, segment, count,
            [this] {
                steps << "chart";
                return chartWrites;
            },
            [this](const QString& s, const QString& b, const QString& a, const QString& src) {
                steps << "mail";
                sent.append({s, b, a, src});
                return true;
            });
    }
};

} // namespace

TEST_F(MailNotice, NothingWhileMailIsOff)
{
    alerts = {false, true, true, true, true, true, true};
    Notify(1, 3);
    Notify(0, 0);
    EXPECT_TRUE(steps.isEmpty());
}

TEST_F(MailNotice, SegmentAndEndUseTheirOwnSwitches)
{
    alerts.MailOn = true;
    alerts.InfoEverySegment = true;
    alerts.SegmentAddChart = true;
    alerts.InfoAtEnd = true;
    alerts.EndAddMessages = true;
    Notify(2, 5);
    Notify(0, 0);
    const QString segment = "ZENDRIK segment 2 of 5 done";
    const QString end = "ZENDRIK all segments done";
    EXPECT_EQ(
        sent, (QList<SentMail> {{segment, segment, ".\\out\\chartimage.jpg", ""}, {end, end, "", "memo"}}));
    EXPECT_EQ(steps, QStringList({"chart", "mail", "mail"}));
    EXPECT_EQ(EndNoticeSubject({RunEnding::PartOfPlan, 1, 10, 10, 8, 1}),
              "ZENDRIK run ended, 8 of 10 segments not measured, 1 in part");
}

TEST_F(MailNotice, ChartIsWrittenEvenWithoutAMailAndNeverAttachedWhenNotWritten)
{
    alerts.MailOn = true;
    alerts.EndAddChart = true;
    Notify(0, 0);
    EXPECT_EQ(steps, QStringList({"chart"}));

    alerts.InfoAtEnd = true;
    chartWrites = false;
    Notify(0, 0);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(sent[0].attachment.isEmpty());
}
