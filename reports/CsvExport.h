#ifndef ZENDRIK_REPORTS_CSVEXPORT_H
#define ZENDRIK_REPORTS_CSVEXPORT_H

#include "app/MainChartSeries.h"

#include <QString>
#include <array>
#include <string>

// The curves of the CSV export in the file's column order, each with its check box (designer
// name and caption), its series of the main chart and its two column headers.
struct CsvCurve {
    const char* CheckBoxName;
    const char* Caption;
    SeriesRole Series;
    const char* FrequencyHeader;
    const char* LevelHeader;
    bool DebugOnly; // shown only in debug mode
};
inline constexpr int kCsvCurveCount = 11;
const std::array<CsvCurve, kCsvCurveCount>& CsvCurves();
using CsvTicks = std::array<bool, kCsvCurveCount>;

// One entry of the dialog's option groups: the caption shown and the character it stands for.
struct CsvChoice {
    const char* Caption;
    const char* Value;
};
const std::array<CsvChoice, 5>& CsvSeparators();   // "Seperator": ; , blank / |
const std::array<CsvChoice, 2>& CsvEnclosures();   // "Enclosure": double quote, none
const std::array<CsvChoice, 2>& CsvDecimalMarks(); // "Decimal mark": comma, point

struct CsvFormat {
    char Separator = ';';
    std::string Enclosure = "\"";
    char DecimalMark = ',';
};

// The file's text: a header line naming a frequency and a level column per ticked curve, then one
// line per point of the longest ticked curve (frequency in Hz without decimals, level with two,
// the decimal mark as chosen); shorter curves give empty fields. Lines end in CR LF. Without an
// enclosure a field that holds the separator (comma separator with comma decimal mark) is put in
// double quotes, so that the file can still be split.
std::string CsvText(const MainChartSeries& series, const CsvTicks& ticked, const CsvFormat& format);

// Writes CsvText to a file that replaces the old one only when complete; false and the reason
// otherwise (the old file stays).
bool WriteCsvFile(const QString& fileName, const MainChartSeries& series, const CsvTicks& ticked,
                  const CsvFormat& format, QString* error = nullptr);

#endif
