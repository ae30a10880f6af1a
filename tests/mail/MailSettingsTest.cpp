// The settings text, its split and the ".eml" file.
#include "mail/MailCrypt.h"
#include "mail/MailSettings.h"

#include "app/Log.h"
#include "common/TestSupport.h"
#include "platform/inifile/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

MailAccount Sample()
{
    MailAccount a;
    a.MailTo = "a@b.de";
    a.MailFrom = "c@d.de";
    a.SmtpServer = "smtp.example.com";
    a.SmtpUser = "user";
    a.SmtpPort = "587";
    a.SmtpPassword = "secret";
    a.Security = 3;
    return a;
}

QStringList Fields(const MailAccount& a)
{
    return {a.MailTo, a.MailFrom, a.SmtpServer, a.SmtpUser, a.SmtpPort, a.SmtpPassword, QString::number(a.Security)};
}

} // namespace

TEST(MailSettings, TextIsTheQuotedItemsJoinedBySlash)
{
    EXPECT_EQ(BuildMailSettingsText(Sample()), "|a@b.de|/|c@d.de|/|smtp.example.com|/|user|/|587|/|secret|/|3|");
    MailAccount odd = Sample();
    odd.SmtpPassword = "|p/w |x||";
    odd.SmtpUser = "  two  blanks ";
    odd.MailTo.clear();
    const QString text = BuildMailSettingsText(odd);
    EXPECT_EQ(text, "||/|c@d.de|/|smtp.example.com|/|  two  blanks |/|587|/|||p/w ||x|||||/|3|");
    MailAccount back;
    MessageLog log;
    ApplyMailSettingsText(text, back, log);
    EXPECT_EQ(Fields(back), Fields(odd));
    EXPECT_TRUE(log.Lines().isEmpty());
}

TEST(MailSettings, DelimitedListRules)
{
    const QChar d = u'/', q = u'|';
    EXPECT_EQ(SplitDelimitedText("", d, q), QStringList());
    EXPECT_EQ(SplitDelimitedText("  |a|  / |b c| ", d, q), QStringList({"a", "b c"}));
    // Unquoted items end at a blank; a trailing delimiter adds an empty item.
    EXPECT_EQ(SplitDelimitedText("a b/c/", d, q), QStringList({"a", "b", "c", ""}));
    // An unterminated quote runs to the end; text after a closing quote is an item of its own.
    EXPECT_EQ(SplitDelimitedText("|a|x/|b", d, q), QStringList({"a", "x", "b"}));
    EXPECT_EQ(SplitDelimitedText("|a||b|//|c|", d, q), QStringList({"a|b", "", "c"}));
}

TEST(MailSettings, ItemCountsAndSecurityIndex)
{
    MessageLog log;
    MailAccount a = Sample();
    ApplyMailSettingsText("|1|/|2|/|3|/|4|/|5|/|6|", a, log);
    EXPECT_EQ(Fields(a), QStringList({"1", "2", "3", "4", "5", "6", "0"}));
    for (const char* seventh : {"2", "4", "02", ""}) {
        a.Security = 1;
        ApplyMailSettingsText(QStringLiteral("|1|/|2|/|3|/|4|/|5|/|6|/|%1|").arg(seventh), a, log);
        EXPECT_EQ(a.Security, QString(seventh) == "2" ? 2 : 0) << seventh;
    }
    a.Security = 1;
    ApplyMailSettingsText("|1|/|2|/|3|/|4|/|5|/|6|/|3|/|x|", a, log);
    EXPECT_EQ(a.Security, 0);
    EXPECT_TRUE(log.Lines().isEmpty());

    a = Sample();
    ApplyMailSettingsText("|1|/|2|/|3|/|4|/|5|", a, log);
    EXPECT_EQ(log.Lines(), QStringList{"Error: mail settings cnt error"});
    EXPECT_EQ(Fields(a), Fields(Sample()));
}

TEST(MailSettings, FileHoldsOnlyTheMailSectionAndFailedWritesSayWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("test.eml");
    ASSERT_TRUE(testsupport::WriteAll(path, "[Other]\r\nx=1\r\n[Mail]\r\nSet=old\r\n"));
    MessageLog log;
    ASSERT_TRUE(SaveMailSettingsFile(path, Sample(), "HID42", log));
    const IniFile ini(path);
    EXPECT_EQ(ini.ReadSections(), QStringList{"Mail"});
    EXPECT_EQ(ini.ReadSection("Mail"), QStringList{"Set"});
    EXPECT_EQ(DecryptMailSettings(ini.ReadString("Mail", "Set", ""), "HID42"),
              std::optional<QString>(BuildMailSettingsText(Sample())));
    EXPECT_TRUE(log.Lines().isEmpty());

    EXPECT_FALSE(SaveMailSettingsFile(dir.filePath("missing/a.eml"), Sample(), "HID42", log));
    ASSERT_EQ(log.Lines().size(), 1);
    EXPECT_TRUE(log.Lines()[0].startsWith("Error: mail settings not saved: "));

    // A file too large to be read says so instead of a decryption error, and leaves the fields empty.
    QFile grown(path);
    ASSERT_TRUE(grown.resize(IniFile::kMaxFileBytes + 1));
    MailAccount loaded = Sample();
    LoadMailSettingsFile(path, "HID42", loaded, log);
    EXPECT_TRUE(loaded.SmtpServer.isEmpty());
    ASSERT_EQ(log.Lines().size(), 2);
    EXPECT_EQ(log.Lines()[1], "Error: Cannot read \"" + path +
                                  "\": it holds 67108865 bytes, more than the 67108864 a settings or data file may hold");
}
