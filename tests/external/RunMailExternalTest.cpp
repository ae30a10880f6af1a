// Runs against the analyser simulator with the mail notices on, sent to aiosmtpd on loopback: one
// mail per segment and one at the end of the run (also after Stop and a lost analyser), with their
// subjects, and the chart image attached to the segment mails; a mail server that never answers.
#include "SmtpPeer.h"
#include "common/Controls.h"
#include "forms/RunWindowFixture.h"

#include "datafiles/CheckListModel.h"
#include "forms/MailSetupWindow.h"
#include "forms/MainWindow.h"
#include "mail/MailSettings.h"
#include "reports/ReportPrinter.h"

#include <QAction>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

// The first `segments` segments of a shipped plan (the conducted one) on the DSA815, each and the
// end of the run mailed to the server on 127.0.0.1, the segments with the chart.
void StartMailing(RunWindowFixture& f, int segments, const QString& port,
                  const char* project = "conducted_cispr32_b.prj")
{
    ASSERT_NO_FATAL_FAILURE(f.Start("dsa815", project));
    ASSERT_NO_FATAL_FAILURE(f.Connect());
    CheckListModel& checks = f.w->segmentChecks(MeasureSet::Set1);
    for (int row = segments + 1; row < checks.Count(); ++row)
        checks.SetChecked(row, false);
    MailAccount& account = f.program->Mail().Account;
    account.MailTo = "operator@example.org";
    account.MailFrom = "lab@example.org";
    account.SmtpServer = "127.0.0.1";
    account.SmtpPort = port;
    account.Security = 1; // "none"
    MailSetupWindow& mail = *f.program->Windows().mailSetupWindow;
    for (QCheckBox* box : {&Control<QCheckBox>(mail, "CheckBox7"), &Control<QCheckBox>(mail, "CheckBox5"),
                           &Control<QCheckBox>(mail, "CheckBox6"), &Control<QCheckBox>(mail, "CheckBox2")})
        box->click();
}

} // namespace

TEST(RunMail, EachSegmentAndTheEndOfTheRunSendTheirMail)
{
    SmtpPeer peer({});
    ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartMailing(f, 2, peer.Port()));
    MainWindow& w = *f.w;

    f.Play().click();
    const QByteArray image = testsupport::ReadAll(f.folder.filePath("out/ChartImage.jpg"));
    // Stop in segment 2 sends no mail for it, then the analyser freezes in segment 2: the end mails say so.
    QObject::connect(&f.app.Messages, &MessageLog::LineAppended, [&f](const QString& line) {
        if (line.startsWith("Info: measurement start seg 2 "))
            f.Lines("Info: play ").size() == 2 ? f.Stop().click() : f.sim->Instrument().SetFaults({.freezeAfter = 0});
    });
    f.Play().click();
    f.SetTimeoutMs(400);
    f.Play().click();

    const int n = w.segmentTable(MeasureSet::Set1).Count;
    EXPECT_EQ(f.Lines("Info: Mail").mid(0, 9), kSent + kSent + kSent);
    const QList<QJsonObject> data = peer.Events("data");
    ASSERT_EQ(data.size(), 7);
    QStringList subjects;
    for (const QJsonObject& d : data)
        subjects << d.value("message").toObject().value("subject").toString();
    const QString first = QString("ZENDRIK segment 1 of %1 done").arg(n), after = QString(" after segment 1 of %1").arg(n);
    EXPECT_EQ(subjects, QStringList({first, QString("ZENDRIK segment 2 of %1 done").arg(n), "ZENDRIK all segments done",
                                     first, "ZENDRIK stopped by the operator" + after, first,
                                     "ZENDRIK the analyser was lost" + after}));

    // The segment mails carry the chart as it stood after their segment; the end mail, without
    // "add Chart ", only its text.
    EXPECT_EQ(QImage::fromData(image, "JPG").size(), QSize(800, 300));
    QStringList imageHashes;
    for (int k = 0; k < 2; ++k) {
        const QJsonArray parts = data[k].value("message").toObject().value("parts").toArray();
        ASSERT_EQ(parts.size(), 2) << k;
        EXPECT_EQ(parts[0].toObject().value("text").toString(), subjects[k] + "\n");
        const QJsonObject file = parts[1].toObject();
        EXPECT_EQ(file.value("filename").toString(), "ChartImage.jpg");
        EXPECT_EQ(file.value("type").toString(), "image/jpeg");
        imageHashes << file.value("sha256").toString();
    }
    EXPECT_NE(imageHashes[0], imageHashes[1]) << "the chart of segment 2 is not the chart of segment 1";
    EXPECT_EQ(imageHashes[1], QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex()));
    EXPECT_EQ(data[2].value("message").toObject().value("parts").toArray().size(), 1);
}


// A server that takes the connection and never answers gets the first segment notice of a run and
// its end notice, each given up after the transport's bound; Stop gives up a notice at once.
TEST(RunMail, AServerThatNeverAnswersDoesNotHoldTheRun)
{
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartMailing(f, 3, QString::number(silent.serverPort())));
    f.w->setMailSettings(f.program->Mail(), MailTransport{.CaFile = {}, .ConnectTimeoutMs = 500});
    int connections = 0;
    QObject::connect(&silent, &QTcpServer::newConnection, [&] {
        if (++connections == 3)
            f.Stop().click();
    });
    QElapsedTimer clock;
    clock.start();
    f.Play().click();
    EXPECT_EQ(connections, 2);
    EXPECT_LT(clock.elapsed(), 10000);
    f.Play().click();
    EXPECT_EQ(connections, 4);
    const QString silence = QString("Warning: the mail server 127.0.0.1 port %1 did not answer in time").arg(silent.serverPort());
    EXPECT_EQ(f.Lines("Warning: the mail "),
              QStringList({silence + ": this run sends it no more segment notices", silence}));
}

// The 1-6 GHz plan on a DSA815, swept or point by point, ends with one line naming what it left out,
// printed in the report and counted by the swept run's end notice; its first segment alone, without.
class PartOfThePlan : public ::testing::TestWithParam<bool> {};
TEST_P(PartOfThePlan, TheLogTheNoticeAndTheReportSaySo)
{
    SmtpPeer peer({});
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartMailing(f, 10, peer.Port(), "radiated_cispr32_b_3m_1g-6g.prj"));
    Control<QCheckBox>(*f.w, "CheckBox21").setChecked(GetParam()); // "EMI(ZeroSpan)"
    PdfFilePrinter pdf(f.folder.filePath("out/report.pdf"));
    f.w->reportPrinter = &pdf;
    QProcess text;
    const auto printed = [&] { // "Print Report", read back by poppler
        Control<QAction>(*f.w, "Chart2").trigger(), text.start("pdftotext", {pdf.Printer().outputFileName(), "-"});
        return text.waitForFinished(60000) ? QString(text.readAllStandardOutput()).simplified() : QString();
    };
    const QString line = "Warning: Set1: 1 of 10 segments measured whole; " +
                         QString(GetParam() ? "in part: seg 2 (beyond the analyser's range); not measured: seg 3-10"
                                            : "not measured: seg 2-10") + " (beyond the analyser's range)";
    f.Play().click();
    EXPECT_TRUE(f.Lines("Warning: Set1: ") == QStringList{line} && printed().contains(line)) << line.toStdString();
    for (int row = 2; row <= 10; ++row)
        f.w->segmentChecks(MeasureSet::Set1).SetChecked(row, false);
    f.Play().click();
    EXPECT_TRUE(f.Lines("Warning: Set1: ").size() == 1 && !printed().contains("Warning"));
    QStringList subjects;
    for (const QJsonObject& d : peer.Events("data"))
        subjects << d.value("message").toObject().value("subject").toString();
    const QString first = "ZENDRIK segment 1 of 10 done", part = "ZENDRIK run ended, 9 of 10 segments not measured";
    EXPECT_EQ(subjects, GetParam() ? QStringList() : QStringList({first, part, first, "ZENDRIK all segments done"}));
}

INSTANTIATE_TEST_SUITE_P(SweptAndPointByPoint, PartOfThePlan, ::testing::Bool());
