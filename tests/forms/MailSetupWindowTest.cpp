// The mail setup window, headless: the file dialogs are answered by the test.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/MailSetupWindow.h"
#include "mail/MailCrypt.h"
#include "mail/MailSettings.h"
#include "platform/inifile/IniFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using testsupport::Control;

namespace {

struct MailSetupFixture : ::testing::Test {
    QTemporaryDir folder;
    const QString oldCurrent = QDir::currentPath();
    AppContext app;
    MailSettings settings;
    std::unique_ptr<MailSetupWindow> window;
    QList<MailSetupWindow::FileRequest> requests;
    QString answer = QStringLiteral("test");

    void SetUp() override
    {
        app.WorkingFolder = folder.path();
        app.HostId = QStringLiteral("HID42");
        window = std::make_unique<MailSetupWindow>(app, settings);
        window->askSaveFile = window->askOpenFile = [this](const MailSetupWindow::FileRequest& r) {
            requests << r;
            return answer;
        };
    }
    void TearDown() override { QDir::setCurrent(oldCurrent); }

    QList<QLineEdit*> Edits() const
    {
        return {&Control<QLineEdit>(*window, "LabeledEdit1"), &Control<QLineEdit>(*window, "LabeledEdit2"),
                &Control<QLineEdit>(*window, "LabeledEdit3"), &Control<QLineEdit>(*window, "LabeledEdit4"),
                &Control<QLineEdit>(*window, "LabeledEdit5"), &Control<QLineEdit>(*window, "LabeledEdit6")};
    }
    QStringList Texts() const
    {
        QStringList t;
        for (QLineEdit* e : Edits())
            t << e->text();
        return t;
    }
    void Fill(const QStringList& texts)
    {
        for (int i = 0; i < 6; ++i)
            Edits()[i]->setText(texts[i]);
    }
    // Writes a file holding the given settings text, as this host would encrypt it.
    void WriteFile(const QString& name, const QString& text)
    {
        IniFile ini(folder.filePath(name));
        ini.WriteString("Mail", "Set", EncryptMailSettings(text, app.HostId));
        ASSERT_TRUE(ini.UpdateFile());
    }
};

const QStringList kSample = {"to@x.de", "from@x.de", "user", "pw", "smtp.x.de", "465"};

} // namespace

TEST_F(MailSetupFixture, ControlsAndModel)
{
    EXPECT_EQ(window->windowTitle(), "Setup mail");
    EXPECT_EQ(Control<QLineEdit>(*window, "LabeledEdit4").echoMode(), QLineEdit::Password);
    EXPECT_EQ(window->findChild<QComboBox*>("ComboBox1")->count(), 4);
    EXPECT_EQ(Control<QComboBox>(*window, "ComboBox1").currentText(), "auto");
    EXPECT_EQ(Control<QPushButton>(*window, "Button1").text(), "Send test mail");
    // An ordinary address shows whole: with the cursor at its end, its first letter is in sight.
    window->show();
    for (QLineEdit* edit :
         {&Control<QLineEdit>(*window, "LabeledEdit1"), &Control<QLineEdit>(*window, "LabeledEdit2")}) {
        edit->setText("measurement.lab@emc-testhouse.example.com");
        edit->end(false);
        edit->grab(); // a line edit scrolls its text when it paints
        EXPECT_EQ(edit->cursorPositionAt(QPoint(edit->contentsRect().left() + 4, edit->height() / 2)), 0);
    }
    // The model follows every edit; the run control and the sender read it.
    Fill(kSample);
    Control<QComboBox>(*window, "ComboBox1").setCurrentIndex(3);
    Control<QCheckBox>(*window, "CheckBox1").setChecked(true);
    EXPECT_EQ(settings.Account.SmtpPassword, "pw");
    EXPECT_EQ(settings.Account.SmtpPort, "465");
    EXPECT_EQ(settings.Account.Security, 3);
    EXPECT_TRUE(settings.Alerts.EndAddChart);
    EXPECT_FALSE(settings.Alerts.SegmentAddChart);

    EXPECT_EQ(Control<QLineEdit>(*window, "LabeledEdit4").echoMode(), QLineEdit::Password);
    Control<QCheckBox>(*window, "CheckBox4").click();
    EXPECT_EQ(Control<QLineEdit>(*window, "LabeledEdit4").echoMode(), QLineEdit::Normal);
    Control<QCheckBox>(*window, "CheckBox4").click();
    EXPECT_EQ(Control<QLineEdit>(*window, "LabeledEdit4").echoMode(), QLineEdit::Password);
}

TEST_F(MailSetupFixture, SaveThenLoadRestoresFieldsAndSecurity)
{
    QStringList odd = kSample;
    odd[3] = " p|w /x ";
    odd[2] = "first last";
    Fill(odd);
    Control<QComboBox>(*window, "ComboBox1").setCurrentIndex(2);
    Control<QPushButton>(*window, "Button2").click();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].title, "Save file");
    EXPECT_EQ(requests[0].folder, folder.path());
    EXPECT_EQ(requests[0].filter, "eml (*.eml)");
    EXPECT_EQ(requests[0].defaultName, "test");
    EXPECT_EQ(QDir::current().canonicalPath(), QDir(folder.path()).canonicalPath());
    const QByteArray first = testsupport::ReadAll(folder.filePath("test.eml"));
    ASSERT_FALSE(first.isEmpty());
    Control<QPushButton>(*window, "Button2").click();
    EXPECT_NE(testsupport::ReadAll(folder.filePath("test.eml")), first);

    Control<QPushButton>(*window, "Button4").click();
    EXPECT_EQ(Texts(), QStringList(6));
    EXPECT_EQ(Control<QComboBox>(*window, "ComboBox1").currentIndex(), 0);
    Control<QPushButton>(*window, "Button3").click();
    EXPECT_EQ(requests.last().title, "Load email settings");
    EXPECT_EQ(window->windowTitle(), "Setup mail: test.eml");
    EXPECT_EQ(Texts(), odd);
    EXPECT_EQ(Control<QComboBox>(*window, "ComboBox1").currentText(), "SSL/TLS");
    EXPECT_TRUE(app.Messages.Lines().isEmpty());

    Control<QPushButton>(*window, "Button4").click();
    EXPECT_EQ(window->windowTitle(), "Setup mail");
    EXPECT_EQ(settings.Account.MailTo, "");
}

TEST_F(MailSetupFixture, CancelAndMissingFilesChangeNothing)
{
    Fill(kSample);
    answer.clear();
    Control<QPushButton>(*window, "Button2").click();
    Control<QPushButton>(*window, "Button3").click();
    answer = "absent.eml";
    Control<QPushButton>(*window, "Button3").click();
    EXPECT_EQ(requests.size(), 3);
    EXPECT_EQ(Texts(), kSample);
    EXPECT_EQ(window->windowTitle(), "Setup mail");
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());

    // A field the file cannot hold is refused before any dialog.
    Control<QLineEdit>(*window, "LabeledEdit3").setText(QStringLiteral("\u263a"));
    Control<QPushButton>(*window, "Button2").click();
    EXPECT_EQ(requests.size(), 3);
    EXPECT_EQ(app.Messages.Lines(),
              QStringList{"Error: mail settings not saved, \"SMTP User\" holds a character outside Windows-1252"});
}

TEST_F(MailSetupFixture, SixItemsLoadAsAutoAndMissingFieldsWarn)
{
    WriteFile("six.eml", "|a|/|b|/|server|/||/|25|/|pw|");
    Control<QComboBox>(*window, "ComboBox1").setCurrentIndex(3);
    answer = "six";
    Control<QPushButton>(*window, "Button3").click();
    EXPECT_EQ(Texts(), QStringList({"a", "b", "", "pw", "server", "25"}));
    EXPECT_EQ(Control<QComboBox>(*window, "ComboBox1").currentText(), "auto");
    EXPECT_EQ(app.Messages.Lines(), QStringList{"Warning: \"smtp user\" is missing "});
}

TEST_F(MailSetupFixture, TooFewItemsAndForeignFiles)
{
    WriteFile("few.eml", "|a|/|b|/|c|");
    Fill(kSample);
    answer = "few.eml";
    Control<QPushButton>(*window, "Button3").click();
    EXPECT_EQ(Texts(), QStringList(6));
    EXPECT_EQ(app.Messages.Lines(),
              QStringList({"Error: mail settings cnt error", "Warning: \"mail to\" is missing ",
                           "Warning: \"mail from\" is missing ", "Warning: \"smpt server\" is missing ",
                           "Warning: \"smtp user\" is missing ", "Warning: \"smtp port\" is missing ",
                           "Warning: \"smtp pwd\" is missing "}));

    app.Messages.Clear();
    Fill(kSample);
    app.HostId = "HID43";
    Control<QPushButton>(*window, "Button3").click();
    EXPECT_EQ(Texts(), QStringList(6));
    EXPECT_EQ(app.Messages.Lines(), QStringList{"Error: mail settings crypt error "});
}

// "Send test mail" sends the message log with the chart picture's name; while the mail is on its
// way the button is off and a second request is ignored.
TEST_F(MailSetupFixture, TestMailSendsTheLogAndBlocksASecondOne)
{
    QList<QStringList> sent;
    QList<bool> enabledWhileSending;
    window->sendMail = [&](const QString& subject, const QString& body, const QString& attachment,
                           const QString& source) {
        sent << QStringList{subject, body, attachment, source};
        enabledWhileSending << Control<QPushButton>(*window, "Button1").isEnabled();
        window->sendTestMail();
        return false;
    };
    ASSERT_TRUE(Control<QPushButton>(*window, "Button1").isEnabled());
    Control<QPushButton>(*window, "Button1").click();
    EXPECT_EQ(sent, (QList<QStringList>{{"zendrik testmail", "zendrik testmail", ".\\out\\chartimage.jpg", "memo"}}));
    EXPECT_EQ(enabledWhileSending, QList<bool>{false});
    EXPECT_TRUE(Control<QPushButton>(*window, "Button1").isEnabled());
}
