#ifndef ZENDRIK_IMMUNITY_GENERATORSETTINGS_H
#define ZENDRIK_IMMUNITY_GENERATORSETTINGS_H

#include "immunity/FieldStrength.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class DebugLog;
class TableBuffer;
class TChartSeries;
struct DataFileContext;

// The generator view's settings grid as the program keeps it. Owned by the application and
// passed by reference; tests build their own.
struct GeneratorSettings {
    double SeptumCm = kDefaultSeptumCm;
    // The grid shows "Tg off" = "on" from the start, so the flag starts set to match it.
    bool TgOffAfterRamp = true;
};

// The grid's row keys, in the order the grid shows them.
inline const QString kAmpCorRow = QStringLiteral("Amp Cor");
inline const QString kTemCorRow = QStringLiteral("TEM Cor");
inline const QString kSeptumRow = QStringLiteral("SEPTUM[cm]");
inline const QString kTgOffRow = QStringLiteral("Tg off");

// The septum heights offered in the grid's pick list.
QStringList SeptumChoices();

// What a typed "SEPTUM[cm]" value becomes: nothing for an empty text; 2.8 for a text that is no
// number or a height of 0 or below (a height of 0 would divide every field strength by zero);
// 100 for 100 or more; otherwise the value. CellText is what the grid shows afterwards.
struct SeptumValue {
    QString CellText;
    double SeptumCm = kDefaultSeptumCm;
};
std::optional<SeptumValue> ValidateSeptum(const QString& value);

// What the grid validation works on: the table grid every table read goes through, the two
// correction series (amplifier into Series23, TEM cell into Series24), the file context and the
// debug log.
struct GeneratorSettingsTargets {
    GeneratorSettings& Settings;
    TableBuffer& Grid;
    TChartSeries& AmplifierCorrection;
    TChartSeries& TemCellCorrection;
    const DataFileContext& Files;
    DebugLog& Debug;
};

// Validates one grid row after the operator changed it. Returns the text the cell must show
// instead of value, or nothing when the cell keeps what it has. Correction files are read from
// ".\src" without asking; "none" or a missing file leaves the series empty.
std::optional<QString> ValidateGeneratorSetting(const QString& row, const QString& value,
                                                const GeneratorSettingsTargets& targets);

// Why the amplifier table that "Amp Cor" names gave its series no curve, as Play says it of its
// tables ("Amplifier File not usable: .\src\x.amp (row 3: ...)"); empty for "none", for a file
// that is not there (it corrects nothing, as the grid leaves it) and while the series holds the
// curve. The field strengths need it, and the actions the operator sets by them.
QString RefusedAmplifierTable(const QString& ampCor, const TChartSeries& series, const TableBuffer& grid,
                              const QString& workingFolder);

#endif
