// The colour file, the colour dialog's logic and what it does to the main window's colours and
// to the points already on the chart.
#include "chart/engine/ChartSeries.h"
#include "common/TestSupport.h"
#include "mainwindow/ColorSettingsEditor.h"
#include "mainwindow/MainWindowColors.h"
#include "mainwindow/SeriesColors.h"
#include "platform/inifile/IniFile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ColorFileFixture : ::testing::Test {
    QTemporaryDir folder;
    QString file = folder.filePath(QString::fromLatin1(kColorSettingsFile));
};

} // namespace

TEST_F(ColorFileFixture, MissingKeysTakeTheirDefaultsAndSetToDefaultSwapsTheCrosses)
{
    const ColorSettings missing = ReadColorSettings(file);
    EXPECT_EQ(missing, ColorsWhenMissing());
    EXPECT_EQ(missing[ColorSlot::remeasureCrosses1], clFuchsia);
    EXPECT_EQ(missing[ColorSlot::remeasureCrosses2], clLime);
    EXPECT_EQ(missing[ColorSlot::chartBackground], 0xA4A0A0);

    const ColorSettings reset = DefaultColors();
    EXPECT_EQ(reset[ColorSlot::remeasureCrosses1], clLime);
    EXPECT_EQ(reset[ColorSlot::remeasureCrosses2], clFuchsia);
    ColorSettings swapped = reset;
    std::swap(swapped[ColorSlot::remeasureCrosses1], swapped[ColorSlot::remeasureCrosses2]);
    EXPECT_EQ(swapped, missing);

    // Keys are found without regard to case; a value that is no number gives the default.
    ASSERT_TRUE(testsupport::WriteAll(file, "[colors]\r\nser7=255\r\nTrace3Seg2=$FFFFFF\r\nCross=blue\r\n"));
    const ColorSettings read = ReadColorSettings(file);
    EXPECT_EQ(read[ColorSlot::correctedTrace1], clRed);
    EXPECT_EQ(read[ColorSlot::reference3Set2], clWhite);
    EXPECT_EQ(read[ColorSlot::crosshair], clBlue);
    EXPECT_EQ(read[ColorSlot::rawTrace1], clGray);
}

TEST_F(ColorFileFixture, WritesAllKeysInTableOrderAsTheOnlySection)
{
    ASSERT_TRUE(testsupport::WriteAll(file, "[Other]\r\nA=1\r\n[Colors]\r\nSer1=1\r\nStale=2\r\n"));
    ColorSettings colors = DefaultColors();
    colors[ColorSlot::antennaFactor] = 0x123456;
    QString error;
    ASSERT_TRUE(WriteColorSettings(file, colors, &error)) << error.toStdString();

    const QByteArray bytes = testsupport::ReadAll(file);
    EXPECT_TRUE(bytes.startsWith("[Colors]\r\nSer1=8421504\r\nSer2=255\r\n")) << bytes.toStdString();
    const IniFile ini(file);
    EXPECT_EQ(ini.ReadSections(), QStringList{"Colors"});
    EXPECT_EQ(ini.ReadSection("Colors"),
              (QStringList{"Ser1", "Ser2", "Ser3", "Ser4", "Ser5", "Ser6", "Ser7", "Ser8", "Ser9", "Ser10",
                           "Ser11", "Marker11", "Cross", "ChartBG", "Marker12", "Marker21", "Marker22",
                           "Trace1Seg1", "Trace1Seg2", "Trace2Seg1", "Trace2Seg2", "Trace3Seg1",
                           "Trace3Seg2"}));
    EXPECT_EQ(ReadColorSettings(file), colors);
}

TEST_F(ColorFileFixture, EditorKeepsTheMainWindowColoursInStep)
{
    MainWindowColors main = StartupColors();
    ColorSettingsEditor editor(main);
    QSignalSpy changed(&editor, &ColorSettingsEditor::ColorsChanged);

    ColorSettings stored = ColorsWhenMissing();
    stored[ColorSlot::tablePreview] = 0x010203;
    stored[ColorSlot::reference3Set2] = 0x040506;
    stored[ColorSlot::chartBackground] = 0x070809;
    ASSERT_TRUE(WriteColorSettings(file, stored));
    editor.Load(file);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(1).value<ColorSlotMask>(), kAllColorSlots);
    // The first 17 table entries come from the dialog, the last two keep their start-up values.
    EXPECT_EQ(main[TraceColor::tablePreview], 0x010203);
    EXPECT_EQ(main[TraceColor::antennaFactor], stored[ColorSlot::antennaFactor]);
    EXPECT_EQ(main[TraceColor::reference3Set2], 0x040506);
    EXPECT_EQ(main[TraceColor::withoutPanel1], clBlack);
    EXPECT_EQ(main[TraceColor::withoutPanel2], clGray);
    EXPECT_EQ(main.ChartBackground, 0x070809);

    editor.SetColor(ColorSlot::correctedTrace1, clYellow);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(1).value<ColorSlotMask>(), MaskOf(ColorSlot::correctedTrace1));
    EXPECT_EQ(main[TraceColor::correctedTrace1], clYellow);
    editor.SetColor(ColorSlot::correctedTrace1, clYellow);
    EXPECT_EQ(changed.count(), 2);

    editor.SetToDefault();
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(main.RemeasureCrosses[MeasureSet::Set1], clLime);
    EXPECT_EQ(main[TraceColor::correctedTrace1], clLime);

    // Closing writes what the dialog holds, also when nothing changed since.
    ASSERT_TRUE(editor.Save(file));
    EXPECT_EQ(ReadColorSettings(file), DefaultColors());
}

TEST(SeriesColors, ChangedColourRecoloursItsSeriesAndLeavesGapsAndOtherSeries)
{
    // Series7, Series17 and Series9; the chart holds no other.
    TChartSeries corrected1, marks1, corrected2;
    MainChartSeries chart;
    chart[SeriesRole::correctedTrace1] = &corrected1;
    chart[SeriesRole::segmentMarks1] = &marks1;
    chart[SeriesRole::correctedTrace2] = &corrected2;
    for (TChartSeries* s : {&corrected1, &marks1, &corrected2}) {
        s->AddPointXY(1, 10, {}, clRed);
        s->AddNullXY(2, 0);
        s->AddPointXY(3, 30);
    }
    ColorSettings colors = DefaultColors();
    colors[ColorSlot::correctedTrace1] = clAqua;
    RecolourSeries(colors, MaskOf(ColorSlot::correctedTrace1), chart);

    for (const TChartSeries* s : {&corrected1, &marks1}) {
        EXPECT_EQ(s->GetValueColor(0), clAqua);
        EXPECT_TRUE(s->IsNull(1));
        EXPECT_EQ(s->GetValueColor(2), clAqua);
    }
    EXPECT_EQ(corrected2.GetValueColor(0), clRed);
    EXPECT_NE(corrected2.GetValueColor(2), clAqua);

    // "Set to Default" reaches every series of the table; series the chart lacks are skipped.
    RecolourSeries(colors, kAllColorSlots, chart);
    EXPECT_EQ(corrected2.GetValueColor(0), colors[ColorSlot::correctedTrace2]);
}
