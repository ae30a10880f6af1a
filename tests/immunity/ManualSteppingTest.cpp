// Manual stepping, marks, the immunity report file and the view's geometry.
#include "GeneratorHarness.h"
#include "immunity/GeneratorLayout.h"
#include "immunity/ImmunityReport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ManualStepping, StepsKeepTheFloorAndTheSpinBoundsAndSendNothingWhileOff)
{
    GeneratorHarness h;
    ManualStepping& m = h.view.Manual;
    m.Frequency.Text = "10.000";
    m.FrequencyIncrement.Text = "5.000";
    h.controller.FrequencyDown();
    h.controller.FrequencyDown();
    EXPECT_EQ(m.Frequency.Text, "9.000");
    EXPECT_EQ(h.view.MarkerFrequency, ""); // nothing reached the analyser: no mark may name it

    m.Amplitude.Text = "-19";
    m.AmplitudeIncrement.Text = "5";
    h.controller.AmplitudeDown();
    EXPECT_EQ(m.Amplitude.Text, "-20");
    m.Amplitude.Text = "-2";
    h.controller.AmplitudeUp();
    EXPECT_EQ(m.Amplitude.Text, "0");
    EXPECT_EQ(h.view.MarkerLevel, "");

    for (const char* increment : {"0", "-5"}) {
        m.Frequency.Text = "150.000";
        m.FrequencyIncrement.Text = increment;
        m.Amplitude.Text = "-7";
        m.AmplitudeIncrement.Text = increment;
        h.controller.FrequencyUp();
        h.controller.AmplitudeDown();
        EXPECT_EQ(m.Frequency.Text, "150.000") << increment;
        EXPECT_EQ(m.Amplitude.Text, "-7") << increment;
    }
    // The bounds hold even without a step.
    m.Amplitude.Text = "-35";
    h.controller.AmplitudeUp();
    EXPECT_EQ(m.Amplitude.Text, "-20");

    m.Frequency.Text = "12a";
    h.controller.FrequencyUp();
    m.Amplitude.Text = "";
    h.controller.AmplitudeUp();
    EXPECT_EQ(h.view.Messages, (QStringList{"Warnng: Manual stepping freq value error",
                                            "Warnng: Manual stepping amp value error"}));
    EXPECT_EQ(m.Frequency.Text, "12a");

    m.FrequencyIncrement.Text = "2500000";
    h.controller.EnterFrequencyIncrement();
    EXPECT_EQ(m.FrequencyIncrement.Text, "2.500.000");
    EXPECT_TRUE(h.sent.empty());
}

TEST(ManualStepping, MarksNameTheLastFrequencyAndLevel)
{
    GeneratorHarness h;
    h.view.MarkerFrequency = "150.000";
    h.view.MarkerLevel = "-15";
    h.controller.AddMark("10:11:12", QLatin1Char('*'));
    h.controller.AddMark("10:11:13", QLatin1Char('#'));
    EXPECT_EQ(h.view.Marks, (QStringList{"10:11:12:* 150.000Hz  -15dBm", "10:11:13:# 150.000Hz  -15dBm"}));
}

TEST(ImmunityReport, HeaderEmptyLineAndMarksWithCrLf)
{
    const QDateTime when(QDate(2026, 2, 1), QTime(9, 8, 7));
    EXPECT_EQ(LongTimeText(when), "09:08:07");
    EXPECT_EQ(ImmunityReportBytes(ShortDateLongTimeText(when), {}),
              QByteArray("Zendrik Pre-Compliance Immunity Report 01.02.2026 09:08:07\r\n\r\n"));

    QTemporaryDir folder;
    QString error;
    EXPECT_FALSE(WriteImmunityReport(folder.filePath("missing/markers.txt"), "new", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(GeneratorLayout, PercentagesFieldsAndFloatingBoxScreens)
{
    const QRect diagram(10, 20, 400, 200);
    EXPECT_EQ(GeneratorXPercentToPixel(diagram, 80), 330);
    EXPECT_EQ(GeneratorYPercentToPixel(diagram, 15), 20 + 200 - 30);
    EXPECT_EQ(ScaleRampX(399, 90), 3 * 90); // whole hundredths first
    EXPECT_EQ(ScaleRampY(250, 85), 250 - 2 * 85);
    EXPECT_EQ(FloatingBoxScreen(-1500, 1340, 2), 1);
    EXPECT_EQ(FloatingBoxScreen(-1500, 1340, 1), 0);
    EXPECT_EQ(FloatingBoxScreen(1400, 1340, 2), 1);
    EXPECT_EQ(FloatingBoxScreen(1340, 1340, 2), 0);
    const QRect screen(1920, 0, 1280, 1024);
    EXPECT_EQ(FloatingBoxPosition({2000, 100}, {200, 150}, screen), QPoint(2000, 100));
    EXPECT_EQ(FloatingBoxPosition({-1500, 2000}, {200, 150}, screen), QPoint(1920, 1024 - 150));
}

TEST(GeneratorLayout, FloatingBoxesFirstOpenSideBySideOnTheScreen)
{
    const std::vector<QSize> boxes = {{300, 220}, {284, 237}, {206, 207}, {346, 313}};
    using Places = std::vector<QPoint>;
    // Beside the anchor, a second row where the screen's edge comes.
    EXPECT_EQ(FirstFloatingBoxPlaces({670, 59}, boxes, QRect(0, 0, 1340, 706), 8),
              Places({{670, 59}, {978, 59}, {670, 304}, {884, 304}}));
    // No room beside the anchor: from the screen's left edge.
    EXPECT_EQ(FirstFloatingBoxPlaces({670, 59}, boxes, QRect(0, 0, 800, 800), 8),
              Places({{0, 59}, {308, 59}, {0, 304}, {214, 304}}));
    // Low on the screen: the group moves up onto it.
    EXPECT_EQ(FirstFloatingBoxPlaces({1300, 600}, boxes, QRect(0, 0, 1340, 706), 8),
              Places({{0, 393}, {308, 393}, {600, 393}, {814, 393}}));
    // Two rows from the anchor would cover the buttons that show the boxes: one row from the left.
    EXPECT_EQ(FirstFloatingBoxPlaces({700, 120}, boxes, QRect(0, 0, 1400, 800), 8, QRect(800, 675, 460, 30)),
              Places({{0, 120}, {308, 120}, {600, 120}, {814, 120}}));
    // A screen too small for all of them still holds each.
    const QRect tiny(100, 50, 400, 320);
    const Places places = FirstFloatingBoxPlaces({300, 100}, boxes, tiny, 8);
    ASSERT_EQ(places.size(), boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i)
        EXPECT_TRUE(tiny.contains(QRect(places[i], boxes[i]))) << i;
}
