#include "reports/CsvExport.h"

#include "chart/engine/ChartSeries.h"
#include "platform/inifile/SaveFileCommit.h"

#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <span>
#include <vector>

const std::array<CsvCurve, kCsvCurveCount>& CsvCurves()
{
    // The combined correction curve had no header pair, so its two columns stood unnamed beside
    // the others; it is named like the rest so that the header has as many fields as the rows.
    static constexpr std::array<CsvCurve, kCsvCurveCount> curves = {{
        {"CheckBox3", "Data Seg 1", SeriesRole::correctedTrace1, "Seg1_Freq[Hz]", "Level[dBuV]", false},
        {"CheckBox4", "Data Seg 2", SeriesRole::correctedTrace2, "Seg2_Freq[Hz]", "Level[dBuV]", false},
        {"CheckBox1", "Raw Data Seg 1", SeriesRole::rawTrace1, "Raw1_Freq[Hz]", "Level[dBuV]", false},
        {"CheckBox2", "Raw Data Seg 2", SeriesRole::rawTrace2, "Raw2_Freq[Hz]", "Level[dBuV]", false},
        {"CheckBox5", "Lim 1", SeriesRole::limitLine1, "Lim1_Freq[Hz]", "Level[dBuV]", true},
        {"CheckBox6", "Lim 2", SeriesRole::limitLine2, "Lim2_Freq[Hz]", "Level[dBuV]", true},
        {"CheckBox7", "Cable", SeriesRole::cableCorrection, "Cable_Freq[Hz]", "Level[dB]", true},
        {"CheckBox8", "Lisn", SeriesRole::lisnCorrection, "Lisn_Freq[Hz]", "Level[dB]", true},
        {"CheckBox9", "Amp", SeriesRole::amplifierCorrection, "Amp_Freq[Hz]", "Level[dB]", true},
        {"CheckBox10", "Ant", SeriesRole::antennaFactor, "Ant_Freq[Hz]", "Level[dB]", true},
        {"CheckBox11", "Master", SeriesRole::masterCorrection, "Master_Freq[Hz]", "Level[dB]", true},
    }};
    return curves;
}

const std::array<CsvChoice, 5>& CsvSeparators()
{
    static constexpr std::array<CsvChoice, 5> choices = {
        {{"n;n", ";"}, {"n,n", ","}, {"n n", " "}, {"n/n", "/"}, {"n|n", "|"}}};
    return choices;
}

const std::array<CsvChoice, 2>& CsvEnclosures()
{
    static constexpr std::array<CsvChoice, 2> choices = {{{"\"n\"", "\""}, {"none", ""}}};
    return choices;
}

const std::array<CsvChoice, 2>& CsvDecimalMarks()
{
    static constexpr std::array<CsvChoice, 2> choices = {{{"m,n", ","}, {"m.n", "."}}};
    return choices;
}

namespace {

struct Column {
    const CsvCurve* Curve;
    std::span<const double> X;
    std::span<const double> Y;
};

class CsvBuilder {
public:
    CsvBuilder(const CsvFormat& format, std::string& out) : format_(format), out_(out) {}

    void Field(std::string_view text)
    {
        if (!format_.Enclosure.empty()) {
            out_ += format_.Enclosure;
            out_ += text;
            out_ += format_.Enclosure;
        } else if (text.find(format_.Separator) != std::string_view::npos) {
            out_ += '"';
            for (char c : text) {
                if (c == '"')
                    out_ += '"';
                out_ += c;
            }
            out_ += '"';
        } else {
            out_ += text;
        }
    }
    // A number in fixed notation with the chosen decimal mark; empty for a missing point.
    void Number(const double* value, int decimals)
    {
        if (value == nullptr)
            return Field({});
        // Fixed notation of the largest doubles takes 309 digits.
        char buffer[400];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, *value, std::chars_format::fixed, decimals);
        const char from = format_.DecimalMark == ',' ? '.' : ',';
        std::replace(buffer, r.ptr, from, format_.DecimalMark);
        Field(std::string_view(buffer, static_cast<size_t>(r.ptr - buffer)));
    }
    void Separator() { out_ += format_.Separator; }
    void EndLine() { out_ += "\r\n"; }

private:
    const CsvFormat& format_;
    std::string& out_;
};

} // namespace

std::string CsvText(const MainChartSeries& series, const CsvTicks& ticked, const CsvFormat& format)
{
    std::vector<Column> columns;
    size_t rows = 1;
    for (size_t i = 0; i < CsvCurves().size(); ++i) {
        if (!ticked[i])
            continue;
        const CsvCurve& curve = CsvCurves()[i];
        Column c{&curve, {}, {}};
        if (const TChartSeries* s = series[curve.Series]) {
            c.X = s->XValues().Values();
            c.Y = s->YValues().Values();
        }
        rows = std::max(rows, std::min(c.X.size(), c.Y.size()));
        columns.push_back(c);
    }

    std::string out;
    out.reserve(rows * columns.size() * (20 + 4 * format.Enclosure.size()) + 64);
    CsvBuilder b(format, out);
    for (size_t k = 0; k < columns.size(); ++k) {
        if (k > 0)
            b.Separator();
        b.Field(columns[k].Curve->FrequencyHeader);
        b.Separator();
        b.Field(columns[k].Curve->LevelHeader);
    }
    b.EndLine();
    for (size_t i = 0; i < rows; ++i) {
        for (size_t k = 0; k < columns.size(); ++k) {
            const Column& c = columns[k];
            const bool has = i < c.X.size() && i < c.Y.size();
            const double hz = has ? c.X[i] * 1000.0 : 0.0;
            if (k > 0)
                b.Separator();
            b.Number(has ? &hz : nullptr, 0);
            b.Separator();
            b.Number(has ? &c.Y[i] : nullptr, 2);
        }
        b.EndLine();
    }
    return out;
}

bool WriteCsvFile(const QString& fileName, const MainChartSeries& series, const CsvTicks& ticked,
                  const CsvFormat& format, QString* error)
{
    const std::string text = CsvText(series, ticked, format);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    const auto size = static_cast<qint64>(text.size());
    return FinishSaveFile(file, file.write(text.data(), size) == size, error);
}
