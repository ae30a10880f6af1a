// The report header editor, headless: the save dialog and the load question are answered here.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "datafiles/DataFileDialogs.h"
#include "forms/FormServices.h"
#include "forms/ReportHeaderWindow.h"
#include "reports/ReportHeader.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

class Answers : public DataFileDialogs {
public:
    bool load = true;
    bool ConfirmLoad(const QString&) override { return load; }
    void ShowError(const QString&) override {}
    void ShowInfo(const QString&) override {}
};

struct ReportHeaderWindowFixture : ::testing::Test {
    QTemporaryDir dir;
    AppContext app;
    FormServices services;
    ReportHeaderItems items;
    Answers answers;
    std::unique_ptr<ReportHeaderWindow> window;
    int listRefreshes = 0;

    void SetUp() override
    {
        app.WorkingFolder = dir.path();
        QDir(dir.path()).mkdir("Rep");   // any case
        window = std::make_unique<ReportHeaderWindow>(app, items, services);
        window->dialogs = &answers;
        window->askSaveFile = [this](const SaveDialogSettings& s) {
            EXPECT_EQ(s.Folder, ".\\rep");
            EXPECT_EQ(s.FileName, "demo");
            return dir.filePath("Rep/mine.REP");
        };
        window->refreshFileLists = [this] { ++listRefreshes; };
    }
    QLineEdit* Edit(int n) const { return window->findChild<QLineEdit*>(QStringLiteral("LabeledEdit%1").arg(n)); }
};

} // namespace

TEST_F(ReportHeaderWindowFixture, LayoutAndStore)
{
    EXPECT_EQ(window->windowTitle(), "Report");
    EXPECT_EQ(window->findChild<QPushButton*>("BitBtn1")->text(), "Save");
    EXPECT_EQ(window->findChild<QPushButton*>("Button1")->text(), "Clear");
    ASSERT_NE(window->findChild<QListWidget*>("FileListBox1"), nullptr);
    window->resize(700, 500);
    window->show();
    // Rows from the top: 7, 6, 4, then 1, 3 and 2 side by side, 9 and 8, 10, 5, 11. Each item
    // stands below or right of the one before it.
    const std::vector<std::pair<int, bool>> order = {{7, false}, {6, false}, {4, false}, {1, false}, {3, true},
                                                      {2, true}, {9, false}, {8, true}, {10, false}, {5, false}, {11, false}};
    for (size_t k = 1; k < order.size(); ++k) {
        const QRect before = Edit(order[k - 1].first)->geometry(), here = Edit(order[k].first)->geometry();
        if (order[k].second)
            EXPECT_TRUE(here.y() == before.y() && here.x() > before.x()) << order[k].first;
        else
            EXPECT_GT(here.y(), before.y()) << order[k].first;
    }
    EXPECT_EQ(Control<QLabel>(*window, "LabeledEdit6Label").text(), "DUT");
    EXPECT_EQ(Edit(6)->text(), "Device under Test");

    // Typing reaches the store; a load elsewhere (the project loader) reaches the edits.
    QTest::keyClicks(Edit(10), "!");
    EXPECT_EQ(items.At(10).Text, "your name!");
    items.SetItem(2, "Temp", "30C");
    EXPECT_EQ(Control<QLabel>(*window, "LabeledEdit2Label").text(), "Temp");
    EXPECT_EQ(Edit(2)->text(), "30C");
    window->findChild<QPushButton*>("Button1")->click();
    EXPECT_TRUE(Edit(10)->text().isEmpty());
    EXPECT_EQ(Control<QLabel>(*window, "LabeledEdit2Label").text(), "Temperature");
}

TEST_F(ReportHeaderWindowFixture, SaveListAndLoad)
{
    Edit(7)->setText(" ACME ");
    items.SetText(7, " ACME ");
    Control<QPushButton>(*window, "BitBtn1").click();
    EXPECT_EQ(listRefreshes, 1);
    QListWidget& files = Control<QListWidget>(*window, "FileListBox1");
    ASSERT_EQ(files.count(), 1);
    EXPECT_EQ(files.item(0)->text(), "mine.REP");

    items.SetText(7, "unsaved");
    answers.load = false;
    emit files.itemClicked(files.item(0));
    EXPECT_EQ(items.At(7).Text, "unsaved");
    answers.load = true;
    emit files.itemClicked(files.item(0));
    EXPECT_EQ(items.At(7).Text, " ACME ");
    EXPECT_EQ(Edit(7)->text(), " ACME ");

    // Files that hold no report (empty, random, cut, UTF-16, NULs): one line each, the texts stay.
    const QByteArray saved = testsupport::ReadAll(dir.filePath("Rep/mine.REP"));
    const QString wide = QString::fromLatin1(saved);
    for (const QByteArray& junk : {QByteArray(), QByteArray(300, '\xa7'), saved.left(saved.indexOf("Cap1")),
                                   QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2), QByteArray(200, '\0')}) {
        ASSERT_TRUE(testsupport::WriteAll(dir.filePath("Rep/mine.REP"), junk));
        app.Messages.Clear();
        emit files.itemClicked(files.item(0));
        EXPECT_TRUE(Edit(7)->text() == " ACME " && app.Messages.Lines().filter("Error: Report File not usable: ").size() == 1);
    }

    window->openForEditing();
    EXPECT_EQ(window->windowTitle(), "Edit report file");
    EXPECT_TRUE(window->isVisible());
}
