// The About and What's New windows as the program creates them.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/AboutWindow.h"
#include "forms/MainWindow.h"
#include "forms/Program.h"
#include "forms/WhatsNewWindow.h"
#include "mainwindow/WhatsNew.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

struct InformationWindows : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    QString oldCurrent = QDir::currentPath();
    std::unique_ptr<Program> program;

    InformationWindows()
    {
        QDir(folder.path()).mkpath(QStringLiteral("zips"));
        QDir(folder.path()).mkpath(QStringLiteral("src"));
        program = std::make_unique<Program>(app, QStringList{}, folder.path());
        program->Services().showMessage = [](const QString&) {};
        program->Services().versionIndex = [] { return 9; };
        program->CreateForms();
    }
    ~InformationWindows() override
    {
        program.reset();
        QDir::setCurrent(oldCurrent);
    }
};

} // namespace

TEST_F(InformationWindows, AboutShowsTheReleaseAndHostAndFillsTheVersionPanel)
{
    AboutWindow* about = program->Windows().aboutWindow;
    const QLabel& version = testsupport::StatusPanelControl<QLabel>(*program->Windows().mainWindow,
                                                                     StatusBarPanel::Version);
    EXPECT_EQ(version.text(), "V04.12 #12600");
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(Control<QLabel>(*about, "titleLabel").text(), "Zendrik");
    QStringList texts;
    for (QLabel* label : about->findChildren<QLabel*>())
        texts << label->text();
    for (const char* caption : {"Version:", "Build date:", "Build #:", "Host #:"})
        EXPECT_TRUE(texts.contains(QLatin1String(caption))) << caption;
    EXPECT_EQ(Control<QLabel>(*about, "versionLabel").text(), "V04.12");
    EXPECT_EQ(Control<QLabel>(*about, "buildDateLabel").text(), "15/02/2019 18:26:40");
    EXPECT_EQ(Control<QLabel>(*about, "buildLabel").text(), "12600");
    EXPECT_TRUE(app.HostId.startsWith("HID"));
    EXPECT_EQ(Control<QLabel>(*about, "hostIdLabel").text(), app.HostId);

    // An ampersand or markup in a text is shown as it stands.
    app.HostId = QStringLiteral("HID&<b>1</b>");
    about->show();
    EXPECT_EQ(Control<QLabel>(*about, "hostIdLabel").text(), app.HostId);
    EXPECT_EQ(Control<QLabel>(*about, "hostIdLabel").textFormat(), Qt::PlainText);
    Control<QPushButton>(*about, "Button1").click();
    EXPECT_FALSE(about->isVisible());
}

TEST_F(InformationWindows, WhatsNewShowsTheHistoryReadOnlyWithAVerticalScrollBar)
{
    WhatsNewWindow* whatsNew = program->Windows().whatsNewWindow;
    whatsNew->show();
    EXPECT_EQ(whatsNew->windowTitle(), "WhatsNew");
    EXPECT_EQ(Control<QLabel>(*whatsNew, "titlePanel").text(), "Zendrik");
    EXPECT_TRUE(Control<QPlainTextEdit>(*whatsNew, "historyMemo").isReadOnly());
    const QString shown = Control<QPlainTextEdit>(*whatsNew, "historyMemo").toPlainText();
    EXPECT_EQ(shown, WhatsNewHistory());
    EXPECT_TRUE(shown.startsWith("Whats New V04.12 150219"));
    EXPECT_TRUE(Control<QPlainTextEdit>(*whatsNew, "historyMemo").verticalScrollBar()->isVisible());
    EXPECT_FALSE(Control<QPlainTextEdit>(*whatsNew, "historyMemo").horizontalScrollBar()->isVisible());
    whatsNew->hide();
}
