#include "immunity/GeneratorSettings.h"

#include "app/Log.h"
#include "app/MainChartSeries.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/GridSeries.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectItems.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"

#include <cmath>

namespace {

constexpr double kHighestSeptumCm = 100.0;
// The main-chart numbers of the two correction series, for the loader's log line.
constexpr int kAmplifierSeriesNumber = NumberOf(SeriesRole::generatorAmpCorrection);
constexpr int kTemCellSeriesNumber = NumberOf(SeriesRole::temCellCorrection);

void LoadCorrection(TableKind kind, const QString& value, TChartSeries& series, int seriesNumber,
                    const GeneratorSettingsTargets& t)
{
    const QString path = QStringLiteral(".\\src\\") + value;
    t.Debug.LogMessage(QStringLiteral("file selected: ") + path);
    series.Clear();
    // A file that is missing ("none" included) leaves the series empty: no correction at all,
    // rather than whatever table the grid held before.
    if (LoadTableFile(kind, t.Grid, path, QLatin1Char('n'), t.Files))
        InterpolateGridToSeries(t.Grid, series, clDefault, false, seriesNumber, t.Files);
}

} // namespace

QString RefusedAmplifierTable(const QString& ampCor, const TChartSeries& series, const TableBuffer& grid,
                              const QString& workingFolder)
{
    if (ampCor == kNoFile || series.Count() > 0)
        return {};
    return datafiles::UnusableTableFile(TableKind::Amplifier, datafiles::SourcePath(ampCor), grid.LevelLinear(),
                                        workingFolder);
}

QStringList SeptumChoices()
{
    return {QStringLiteral("2.8"), QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("15")};
}

std::optional<SeptumValue> ValidateSeptum(const QString& value)
{
    if (value.isEmpty())
        return std::nullopt;
    const QString text = FreqTextToHzText(value);
    SeptumValue out;
    double cm = 0.0;
    if (!TryStrToFloatAnySep(text, cm) || !std::isfinite(cm) || cm <= 0.0) {
        out.CellText = FloatToStr(kDefaultSeptumCm);
        out.SeptumCm = kDefaultSeptumCm;
        return out;
    }
    out.SeptumCm = cm >= kHighestSeptumCm ? kHighestSeptumCm : cm;
    out.CellText = FloatToStr(out.SeptumCm);
    return out;
}

std::optional<QString> ValidateGeneratorSetting(const QString& row, const QString& value,
                                                const GeneratorSettingsTargets& t)
{
    t.Debug.LogMessage(QStringLiteral("Property: ") + row + QStringLiteral("-->") + value);
    if (row == kAmpCorRow) {
        LoadCorrection(TableKind::Amplifier, value, t.AmplifierCorrection, kAmplifierSeriesNumber, t);
        return std::nullopt;
    }
    if (row == kTemCorRow) {
        LoadCorrection(TableKind::Tc, value, t.TemCellCorrection, kTemCellSeriesNumber, t);
        return std::nullopt;
    }
    if (row == kSeptumRow) {
        const std::optional<SeptumValue> septum = ValidateSeptum(value);
        if (!septum)
            return std::nullopt;
        t.Settings.SeptumCm = septum->SeptumCm;
        t.Debug.LogMessage(QStringLiteral("TForm1.Frame131ValueListEditor1Validate, Septum=") +
                           FloatToStr(t.Settings.SeptumCm));
        return septum->CellText;
    }
    if (row == kTgOffRow) {
        if (value == QLatin1String("on"))
            t.Settings.TgOffAfterRamp = true;
        else if (value == QLatin1String("off"))
            t.Settings.TgOffAfterRamp = false;
    }
    return std::nullopt;
}
