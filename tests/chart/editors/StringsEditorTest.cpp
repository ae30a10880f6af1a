#include "EditorsTestSupport.h"
#include "common/TestSupport.h"

#include "chart/editors/StringsEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

// The text editor with the file hook answering a chosen name and recording what it was asked.
struct TextEditorTest {
    TextEditorTest()
    {
        t.Hooks.TextFile = [this](QWidget*, bool save, const QString& title, const QString& filter,
                                  const QString& suffix) {
            asked << title + QLatin1Char('|') + filter + QLatin1Char('|') + suffix;
            return save ? saveName : loadName;
        };
    }
    TestDialogs t;
    QTemporaryDir dir;
    QString loadName;
    QString saveName;
    QStringList asked;
};

} // namespace

TEST(StringsEditor, LoadsAnyLineEndSavesWithLfAndCopies)
{
    TextEditorTest x;
    x.loadName = x.dir.filePath(QStringLiteral("in.txt"));
    x.saveName = x.dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(testsupport::WriteAll(x.loadName, "\xEF\xBB\xBF" "a\r\nb\r\n\xC3\xA4\rd"));
    QStringList strings{"old"};
    x.t.Drive = [&](QDialog& d) {
        auto& e = dynamic_cast<TStringsEditor&>(d);
        EXPECT_EQ(e.Lines(), QStringList({"old"}));
        EXPECT_TRUE(e.cancelButton->isDefault());
        e.loadButton->click();
        EXPECT_EQ(e.Lines(), QStringList({"a", "b", QStringLiteral("\u00E4"), "d"}));
        e.saveButton->click();
        EXPECT_EQ(testsupport::ReadAll(x.saveName), QByteArray("a\nb\n\xC3\xA4\nd\n"));
        e.memo->clear();
        x.loadName = x.saveName;
        e.loadButton->click();
        EXPECT_EQ(e.Lines(), QStringList({"a", "b", QStringLiteral("\u00E4"), "d"}));

        e.copyButton->click();
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a\nb\n\u00E4\nd"));
        QTextCursor cursor = e.memo->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        e.memo->setTextCursor(cursor);
        e.copyButton->click();
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("b"));
        ClickOk(d);
    };
    EXPECT_TRUE(ShowStringsEditor(x.t.Hooks, nullptr, strings, false));
    EXPECT_EQ(strings, QStringList({"a", "b", QStringLiteral("\u00E4"), "d"}));
    ASSERT_GE(x.asked.size(), 2);
    EXPECT_EQ(x.asked[0], QStringLiteral("Select text file|Text File (*.txt)|txt"));
    EXPECT_EQ(x.asked[1], QStringLiteral("Save as text file|Text File (*.txt)|txt"));
}

TEST(StringsEditor, ReadOnlyCancelAndFailedFilesChangeNothing)
{
    TextEditorTest x;
    QStringList strings{"keep", "these"};
    x.t.Drive = [&](QDialog& d) {
        auto& e = dynamic_cast<TStringsEditor&>(d);
        EXPECT_TRUE(e.memo->isReadOnly());
        e.memo->setPlainText(QStringLiteral("changed"));
        ClickOk(d);
    };
    EXPECT_TRUE(ShowStringsEditor(x.t.Hooks, nullptr, strings, true));
    EXPECT_EQ(strings, QStringList({"keep", "these"}));

    x.loadName = x.dir.filePath(QStringLiteral("missing.txt"));
    x.saveName = x.dir.filePath(QStringLiteral("no/such/folder/out.txt"));
    x.t.Drive = [&](QDialog& d) {
        auto& e = dynamic_cast<TStringsEditor&>(d);
        e.loadButton->click();
        e.saveButton->click();
        EXPECT_EQ(e.Lines(), QStringList({"keep", "these"}));
        e.memo->setPlainText(QStringLiteral("edited"));
        ClickCancel(d);
    };
    EXPECT_FALSE(ShowStringsEditor(x.t.Hooks, nullptr, strings, false));
    EXPECT_EQ(strings, QStringList({"keep", "these"}));
    ASSERT_EQ(x.t.Errors.size(), 2);
    EXPECT_TRUE(x.t.Errors[0].startsWith(x.loadName));
    EXPECT_TRUE(x.t.Errors[1].startsWith(x.saveName));
}
