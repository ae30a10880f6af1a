// The colour dialog driven through its panels: creation from the file, a panel's colour and
// caption, "Set to Default", and the file written on closing.
#include "app/AppContext.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "forms/ColorSettingsWindow.h"
#include "mainwindow/MainWindowState.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

struct ColorWindowFixture : ::testing::Test {
    QTemporaryDir folder;
    AppContext app;
    MainWindowState main;
    QString file = folder.filePath(QString::fromLatin1(kColorSettingsFile));

    ColorWindowFixture() { app.WorkingFolder = folder.path(); }

    static QColor Background(const QPushButton* panel) { return panel->palette().color(QPalette::Button); }
    static QColor Caption(const QPushButton* panel) { return panel->palette().color(QPalette::ButtonText); }
    static QPushButton* Panel(const QWidget& window, ColorSlot slot)
    {
        return &Control<QPushButton>(window, QString::fromLatin1(KeyOf(slot).PanelName));
    }
};

} // namespace

TEST_F(ColorWindowFixture, CreationShowsTheFileAndAClickRecoloursAtOnce)
{
    ASSERT_TRUE(testsupport::WriteAll(file, "[Colors]\r\nSer11=16777215\r\nSer7=255\r\n"));
    ColorSettingsWindow window(app, main.ColorEditor);
    EXPECT_EQ(window.windowTitle(), "Set Colors");

    // The antenna colour's panel is the fifteenth: the panels follow the order the file is read in.
    QPushButton* antenna = &Control<QPushButton>(window, "Panel15");
    ASSERT_STREQ(KeyOf(ColorSlot::antennaFactor).PanelName, "Panel15");
    EXPECT_EQ(antenna->text(), "Ant Cor");
    EXPECT_EQ(Background(antenna), QColor(Qt::white));
    EXPECT_EQ(Caption(antenna), QColor(Qt::black));
    EXPECT_EQ(Background(Panel(window, ColorSlot::correctedTrace1)), QColor(Qt::red));
    EXPECT_EQ(Caption(Panel(window, ColorSlot::correctedTrace1)), QColor(Qt::white));
    EXPECT_EQ(main.Colors[TraceColor::correctedTrace1], clRed);

    // BGR order: $FF0000 is blue.
    window.colorDialog = [](QWidget*, TColor) { return clBlue; };
    Panel(window, ColorSlot::antennaFactor)->click();
    EXPECT_EQ(Background(antenna), QColor(Qt::blue));
    EXPECT_EQ(Caption(antenna), QColor(Qt::white));
    EXPECT_EQ(main.Colors[TraceColor::antennaFactor], clBlue);

    Control<QPushButton>(window, "Button1").click();
    EXPECT_EQ(Background(Panel(window, ColorSlot::remeasureCrosses1)), QColor(Qt::green));
    EXPECT_EQ(Background(antenna), QColor(0xC0, 0xDC, 0xC0));
    // "Set to Default" does not write; closing does, whatever changed.
    EXPECT_EQ(ReadColorSettings(file)[ColorSlot::correctedTrace1], clRed);
    window.reject();
    EXPECT_EQ(ReadColorSettings(file), DefaultColors());
}

TEST_F(ColorWindowFixture, AFailedWriteIsReported)
{
    ColorSettingsWindow window(app, main.ColorEditor);
    // A folder where the file should be: the write fails and the log says so.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QString::fromLatin1(kColorSettingsFile)));
    window.saveColors();
    ASSERT_FALSE(app.Messages.Lines().isEmpty());
    EXPECT_TRUE(app.Messages.Lines().last().startsWith("Error: cannot write "))
        << app.Messages.Lines().last().toStdString();
}

TEST_F(ColorWindowFixture, AnUnreadableFileSaysSoAndAFullDiskKeepsIt)
{
    const QByteArray unreadable = "[Colors]\r\nSer7=" + QByteArray(70000, '1') + "\r\n";
    ASSERT_TRUE(testsupport::WriteAll(file, unreadable));
    ColorSettingsWindow window(app, main.ColorEditor);
    const testsupport::DiskFull full;
    window.saveColors();
    EXPECT_TRUE(app.Messages.Lines().join('|').startsWith("Error: Cannot read \"" + file + "\": line 2 holds"));
    EXPECT_TRUE(app.Messages.Lines().join('|').endsWith(": " + testsupport::DiskFull::Reason()));
    EXPECT_EQ(testsupport::ReadAll(file), unreadable);
}
