// A run against the analyser simulator with the mail notices on, sent to aiosmtpd on loopback:
// one mail per segment and one at the end of the run, with their subjects, and the chart image
// attached to the segment mails.
#include "SmtpPeer.h"
#include "common/Controls.h"
#include "forms/RunWindowFixture.h"

#include "datafiles/CheckListModel.h"
#include "forms/MailSetupWindow.h"
#include "forms/MainWindow.h"
#include "mail/MailSettings.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QImage>
#include <QJsonArray>
#include <QPushButton>
#include <gtest/gtest.h>

using testsupport::Control;

TEST(RunMail, EachSegmentAndTheEndOfTheRunSendTheirMail)
{
    SmtpPeer peer({});
    ASSERT_TRUE(peer.Ready()) << peer.Failure().toStdString();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(f.Start("dsa815", "conducted_cispr32_b.prj"));
    ASSERT_NO_FATAL_FAILURE(f.Connect());
    MainWindow& w = *f.w;
    // Two segments of the plan.
    CheckListModel& checks = w.segmentChecks(1);
    for (int row = 3; row < checks.Count(); ++row)
        checks.SetChecked(row, false);

    MailAccount& account = f.program->Mail().Account;
    account.MailTo = "operator@example.org";
    account.MailFrom = "lab@example.org";
    account.SmtpServer = "127.0.0.1";
    account.SmtpPort = peer.Port();
    account.Security = 1; // "none"
    MailSetupWindow& mail = *f.program->Windows().mailSetupWindow;
    for (QCheckBox* box : {&Control<QCheckBox>(mail, "CheckBox7"), &Control<QCheckBox>(mail, "CheckBox5"),
                           &Control<QCheckBox>(mail, "CheckBox6"), &Control<QCheckBox>(mail, "CheckBox2")})
        box->click();

    f.Play().click();

    const int n = w.segmentTable(1).Count;
    QStringList sent;
    for (const QString& line : f.Lines("Info: Mail"))
        sent << line;
    EXPECT_EQ(sent, kSent + kSent + kSent);
    const QList<QJsonObject> data = peer.Events("data");
    ASSERT_EQ(data.size(), 3);
    QStringList subjects;
    for (const QJsonObject& d : data)
        subjects << d.value("message").toObject().value("subject").toString();
    EXPECT_EQ(subjects, QStringList({QString("ZENDRIK segment 1 of %1 done").arg(n),
                                     QString("ZENDRIK segment 2 of %1 done").arg(n), "ZENDRIK all segments done"}));

    // The segment mails carry the chart as it stood after their segment; the end mail, without
    // "add Chart ", only its text.
    const QByteArray image = testsupport::ReadAll(f.folder.filePath("out/ChartImage.jpg"));
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
