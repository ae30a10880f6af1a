// Power and TEM-cell field strength against a table computed independently (tests/data/immunity/
// field_strength.py), the calculator box, the row texts with the amplifier correction, and the
// settings grid's validation.
#include "app/Log.h"
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "common/TestSupport.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/TableBuffer.h"
#include "immunity/FieldStrength.h"
#include "immunity/GeneratorSettings.h"
#include "immunity/GeneratorView.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct DotMark : ::testing::Test {
    ScopedDecimalSeparator mark{QLatin1Char('.')};
};

using FieldStrength = DotMark;
using GeneratorSettingsGrid = DotMark;

} // namespace

TEST_F(FieldStrength, MatchesTheIndependentlyComputedTable)
{
    const QByteArray table = testsupport::ReadAll(testsupport::DataPath("immunity/field_strength.csv"));
    const QList<QByteArray> lines = table.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1 + 9 * 6);
    QString (*const cells[])(double) = {FieldStrengthCell1, FieldStrengthCell2, FieldStrengthCell3, FieldStrengthCell4};
    int cellRows = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split(',');
        ASSERT_EQ(f.size(), 5);
        const double dbm = f[0].toDouble();
        const double cm = f[1].toDouble();
        SCOPED_TRACE(lines[i].toStdString());
        EXPECT_NEAR(FieldStrengthVoltsPerMetre(dbm, cm), f[2].toDouble(), 1e-12 * f[2].toDouble());
        EXPECT_EQ(FieldStrengthSeptum(dbm, cm), QString::fromLatin1(f[4]));
        for (size_t c = 0; c < kCalculatorSeptumCm.size(); ++c)
            if (cm == kCalculatorSeptumCm[c]) {
                EXPECT_EQ(cells[c](dbm), QString::fromLatin1(f[3]));
                ++cellRows;
            }
    }
    EXPECT_EQ(cellRows, 4 * 6);
}

TEST_F(FieldStrength, PowerTextSwitchesToWattsAbove1000Milliwatts)
{
    EXPECT_EQ(FormatPowerFromDbm(0), "1.00000000 mW");
    EXPECT_EQ(FormatPowerFromDbm(30), "1000.00000000 mW");
    EXPECT_EQ(FormatPowerFromDbm(30.1), "1.02 W");
    EXPECT_EQ(FormatPowerFromDbm(-100), "0.00000000 mW");
    ScopedDecimalSeparator comma(QLatin1Char(','));
    EXPECT_EQ(FormatPowerFromDbm(-3), "0,50120000 mW");
}

TEST_F(FieldStrength, CalculatorBoxRangeWarningAndTyping)
{
    FieldCalculatorTexts t = CalculateFieldBox("0");
    EXPECT_TRUE(t.Refreshed);
    EXPECT_EQ(t.Power, "1.00000000 mW");
    EXPECT_EQ(t.Fields, (std::array<QString, 4>{"8 V/m", "4 V/m", "2 V/m", "1 V/m"}));
    EXPECT_TRUE(t.Warning.isEmpty());

    EXPECT_EQ(CalculateFieldBox("-100").Input, "-100");
    EXPECT_EQ(CalculateFieldBox("10,5").Fields[0], CalculateFieldBox("10.5").Fields[0]);
    EXPECT_FALSE(CalculateFieldBox("-").Refreshed || CalculateFieldBox("+").Refreshed);

    for (const char* bad : {"101", "-100.5", "abc"}) {
        t = CalculateFieldBox(bad);
        EXPECT_EQ(t.Warning, "Warning: dBm value out of range") << bad;
        EXPECT_TRUE(t.Input.isEmpty() && t.Power.isEmpty() && t.Fields[3].isEmpty()) << bad;
    }
    EXPECT_TRUE(CalculateFieldBox("").Warning.isEmpty());
}

TEST_F(FieldStrength, RowTextAddsTheAmplifierCorrectionAtWholeKilohertz)
{
    TChartSeries amp;
    amp.AddPointXY(100, 20);
    amp.AddPointXY(200, 30);
    amp.AddPointXY(1000, 30);
    // 50 kHz reads the correction at 100 kHz; 150.4 kHz at 150.
    EXPECT_EQ(FormatRowPowerAndField("50.000", "-20", amp, 2.8), "0.00-->7.99");
    EXPECT_EQ(FormatRowPowerAndField("150.400", "-20", amp, 2.8), "5.00-->14.20");
    EXPECT_EQ(FormatRowPowerAndField("5.000.000", "-20", amp, 10), "-20.00-->0.22");
    EXPECT_EQ(FormatRowPowerAndField("100.000", "x", amp, 2.8), "20.00-->--");
    EXPECT_EQ(FormatRowPowerAndField("abc", "-3", amp, 2.8), "-3.00-->" + FieldStrengthSeptum(-3, 2.8));

    GeneratorViewModel view = DefaultGeneratorView();
    view.Calculator.Input = "-";
    EXPECT_FALSE(RefreshFieldStrengths(view, amp, 2.8, {}));
    EXPECT_TRUE(view.Fixed[0].PowerAndField.isEmpty());
    view.Calculator.Input = "200";
    EXPECT_TRUE(RefreshFieldStrengths(view, amp, 2.8, {}));
    EXPECT_EQ(view.Messages, QStringList{"Warning: dBm value out of range"});
    EXPECT_EQ(view.Fixed[0].PowerAndField, "0.00-->7.99");
    EXPECT_EQ(view.Bands[0].PowerAndField, "0.00-->7.99");
    EXPECT_EQ(view.Ramp.HighPowerAndField, "22.00-->" + FieldStrengthSeptum(22, 2.8));
    EXPECT_EQ(view.Ramp.LowPowerAndField, "10.00-->" + FieldStrengthSeptum(10, 2.8));
    // A refused amplifier table: no row shows a value without it, and the box says why once.
    const QString refused = "Amplifier File not usable: x";
    RefreshFieldStrengths(view, amp, 2.8, refused), RefreshFieldStrengths(view, amp, 2.8, refused);
    EXPECT_EQ(view.Messages.mid(1), QStringList{"Warning: no field strength is shown: " + refused});
    EXPECT_EQ(view.Fixed[0].PowerAndField + view.Ramp.LowPowerAndField, "----");
}

TEST_F(GeneratorSettingsGrid, SeptumHeightIsKeptWithinItsRange)
{
    const auto cell = [](const char* value) {
        const std::optional<SeptumValue> v = ValidateSeptum(value);
        return v ? std::make_pair(v->CellText, v->SeptumCm) : std::make_pair(QStringLiteral("-"), -1.0);
    };
    EXPECT_EQ(cell("250"), std::make_pair(QStringLiteral("100"), 100.0));
    EXPECT_EQ(cell("-3"), std::make_pair(QStringLiteral("2.8"), 2.8));
    EXPECT_EQ(cell("0"), std::make_pair(QStringLiteral("2.8"), 2.8));
    EXPECT_EQ(cell("abc"), std::make_pair(QStringLiteral("2.8"), 2.8));
    EXPECT_EQ(cell("5,5"), std::make_pair(QStringLiteral("5.5"), 5.5));
    EXPECT_FALSE(ValidateSeptum("").has_value());
}

TEST_F(GeneratorSettingsGrid, CorrectionFilesLoadIntoTheirSeriesWithoutAsking)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath("src"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src/preamp_20db.amp"),
                            folder.filePath("src/Preamp_20dB.amp")));
    GeneratorSettings settings;
    TableBuffer grid;
    TChartSeries amp;
    TChartSeries tem;
    DebugLog debug;
    debug.DebugMode = 1;
    debug.TimeText = [] { return QStringLiteral("T"); };
    DataFileContext files{folder.path(), nullptr, &debug, nullptr};
    const GeneratorSettingsTargets t{settings, grid, amp, tem, files, debug};

    // The name is matched without regard to case, as files written on Windows need.
    EXPECT_FALSE(ValidateGeneratorSetting(kAmpCorRow, "preamp_20db.amp", t).has_value());
    ASSERT_GT(amp.Count(), 1000);
    EXPECT_EQ(CorrectionAt(amp, 500000), 20.0);
    EXPECT_TRUE(debug.Lines().contains("T: Property: Amp Cor-->preamp_20db.amp"));
    EXPECT_TRUE(debug.Lines().contains("T: file selected: .\\src\\preamp_20db.amp"));

    // A table refused at load is named, as Play names its own; one that is not there corrects nothing.
    ASSERT_TRUE(testsupport::WriteAll(folder.filePath("src/bad.amp"), "[Data]\r\nFreq1=1000\r\nLev1=nan\r\n"));
    ValidateGeneratorSetting(kAmpCorRow, "bad.amp", t);
    EXPECT_EQ(RefusedAmplifierTable("bad.amp", amp, grid, folder.path()),
              "Amplifier File not usable: .\\src\\bad.amp (row 1: the level nan lies outside -200..200 dB)");
    EXPECT_EQ(RefusedAmplifierTable("gone.amp", amp, grid, folder.path()), "");
    ValidateGeneratorSetting(kAmpCorRow, "none", t);
    EXPECT_EQ(amp.Count(), 0);
    ValidateGeneratorSetting(kTemCorRow, "..\\preamp_20db.amp", t);
    EXPECT_EQ(tem.Count(), 0);

    EXPECT_EQ(ValidateGeneratorSetting(kSeptumRow, "0", t), QStringLiteral("2.8"));
    EXPECT_EQ(settings.SeptumCm, 2.8);
    EXPECT_EQ(debug.Lines().last(), "T: TForm1.Frame131ValueListEditor1Validate, Septum=2.8");
    ValidateGeneratorSetting(kTgOffRow, "off", t);
    EXPECT_EQ(settings.TgOffAfterRamp, 0);
    ValidateGeneratorSetting(kTgOffRow, "maybe", t);
    EXPECT_EQ(settings.TgOffAfterRamp, 0);
    ValidateGeneratorSetting(kTgOffRow, "on", t);
    EXPECT_EQ(settings.TgOffAfterRamp, 1);
}
