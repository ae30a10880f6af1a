#include "datafiles/ProjectItems.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/GridInstrument.h"
#include "datafiles/GridSeries.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ParameterGridRows.h"
#include "datafiles/ProjectTargets.h"
#include "datafiles/SegmentLoader.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"

#include <QFileInfo>

#include <exception>
#include <optional>
#include <tuple>

namespace {

// A series a table is read into, with its number in the main chart (0 for another chart's), which
// names it in the debug log.
struct TableTarget {
    TChartSeries* Series;
    int Number;
};

TableTarget MainTarget(const ProjectTargets& t, SeriesRole role) { return {t.Series[role], NumberOf(role)}; }

// Each set's lines and marks on the main chart.
constexpr PerSet<SeriesRole> kLimitLine{SeriesRole::limitLine1, SeriesRole::limitLine2};
constexpr PerSet<SeriesRole> kMarginLine{SeriesRole::marginLine1, SeriesRole::marginLine2};
constexpr PerSet<SeriesRole> kSegmentMarks{SeriesRole::segmentMarks1, SeriesRole::segmentMarks2};

// A table that was read but draws nothing (one point, falling frequencies, a fault in its first
// pair) is as good as none: said at once, naming the file, rather than only when Play refuses.
// What a segment file that gave no segment is called, at load and at Play.
QString NoSegmentText(MeasureSet set, const QString& path)
{
    return QStringLiteral("SEG%1 File holds no segment: ").arg(SetNumber(set)) + datafiles::QuoteInMessage(path);
}

bool DrewSomething(const ProjectTargets& t, TableKind kind, const QString& path, const TChartSeries& series)
{
    if (series.Count() > 0)
        return true;
    const QString text = QStringLiteral("Error: ") + TableKindWord(kind) + QStringLiteral(" File not usable: ") +
                         datafiles::QuoteInMessage(path) + QStringLiteral(" (no two of its points draw a line)");
    t.Files.Error(text);
    if (t.Files.Messages != nullptr)
        t.Files.Messages->Append(text);
    return false;
}

// Reads a table without asking and interpolates it into the target (cleared first in any case).
bool ReadTableInto(ProjectTargets& t, TableKind kind, const QString& path, const TableTarget& target, TColor color)
{
    target.Series->Clear();
    if (t.Table == nullptr || !LoadTableFile(kind, *t.Table, path, QLatin1Char('n'), t.Files))
        return false;
    InterpolateGridToSeries(*t.Table, *target.Series, color, false, target.Number, t.Files);
    return DrewSomething(t, kind, path, *target.Series);
}

// The same segments with the same settings: a measurement of one is a measurement of the other.
bool SamePlan(const SegmentTable& a, const SegmentTable& b)
{
    if (a.Count != b.Count)
        return false;
    for (int n = 1; n <= a.Count; ++n) {
        const SegmentRecord& x = a.Segment(n);
        const SegmentRecord& y = b.Segment(n);
        if (std::tie(x.StartHz, x.StopHz, x.Rbw, x.SweepMs, x.Attenuation, x.PreAmp, x.Detector) !=
            std::tie(y.StartHz, y.StopHz, y.Rbw, y.SweepMs, y.Attenuation, y.PreAmp, y.Detector))
            return false;
    }
    return true;
}

} // namespace

int32_t ProjectTargets::SweepWaitMarginMs() const
{
    return Instrument != nullptr ? Instrument->SweepWaitMarginMs() : 3000;
}

namespace datafiles {

QString SourcePath(const QString& name)
{
    return QStringLiteral(".\\src\\") + name;
}

QString ReportPath(const QString& name)
{
    return QStringLiteral(".\\rep\\") + name;
}

bool DataFileExists(const ProjectTargets& targets, const QString& path)
{
    const QString file = ResolveDataPath(targets.Files.WorkingFolder, path);
    return !file.isEmpty() && QFileInfo(file).isFile();
}

namespace {

struct CorrectionTarget {
    TableTarget target;
    TColor color;
};

CorrectionTarget CorrectionOf(ProjectTargets& t, CorrectionKind kind)
{
    switch (kind) {
    case CorrectionKind::Cable: return {MainTarget(t, SeriesRole::cableCorrection), t.Colors.Cable};
    case CorrectionKind::Lisn: return {MainTarget(t, SeriesRole::lisnCorrection), t.Colors.Lisn};
    case CorrectionKind::Amplifier: return {MainTarget(t, SeriesRole::amplifierCorrection), t.Colors.Amplifier};
    case CorrectionKind::Antenna: return {MainTarget(t, SeriesRole::antennaFactor), t.Colors.Antenna};
    }
    return {{nullptr, 0}, clDefault};
}

TableKind TableKindOf(CorrectionKind kind)
{
    switch (kind) {
    case CorrectionKind::Cable: return TableKind::Cable;
    case CorrectionKind::Lisn: return TableKind::Lisn;
    case CorrectionKind::Amplifier: return TableKind::Amplifier;
    case CorrectionKind::Antenna: return TableKind::Antenna;
    }
    return TableKind::Cable;
}

// What a table file the project names is, when its series is empty: not there, or there and
// refused, with the row and value that refused it as the file now reads.
QString AbsentTable(const ProjectTargets& t, TableKind kind, const QString& notFoundWord, const QString& path)
{
    if (!DataFileExists(t, path))
        return notFoundWord + QStringLiteral(" File not found: ") + QuoteInMessage(path);
    return UnusableTableFile(kind, path, t.Table != nullptr && t.Table->LevelLinear(), t.Files.WorkingFolder);
}

} // namespace

QString MissingLimitLine(const ProjectTargets& t, MeasureSet set)
{
    const TChartSeries* limit = t.Series[kLimitLine[set]];
    if (t.MainGrid == nullptr || limit == nullptr || limit->Count() > 0)
        return {};
    const QString name = t.MainGrid->Value(gridkeys::kLimits[set]);
    if (name == kNoFile)
        return {};
    return AbsentTable(t, TableKind::Limit, QStringLiteral("Limit"), SourcePath(name));
}

QString MissingCorrection(const ProjectTargets& t)
{
    struct Row {
        const QString& Key;
        SeriesRole Role;
        TableKind Kind;
        QString NotFoundWord;
    };
    const Row rows[] = {
        {gridkeys::kCableCor, SeriesRole::cableCorrection, TableKind::Cable, QStringLiteral("Cable")},
        {gridkeys::kAmpCor, SeriesRole::amplifierCorrection, TableKind::Amplifier,
         QStringLiteral("Amplifier")},
        {gridkeys::kAntCor, SeriesRole::antennaFactor, TableKind::Antenna, QStringLiteral("Antenna")},
        {gridkeys::kLisnCor, SeriesRole::lisnCorrection, TableKind::Lisn, QStringLiteral("LISN/ATT")}};
    if (t.MainGrid == nullptr)
        return {};
    for (const Row& row : rows) {
        const TChartSeries* series = t.Series[row.Role];
        const QString name = t.MainGrid->Value(row.Key);
        if (series == nullptr || series->Count() > 0 || name == kNoFile)
            continue;
        return AbsentTable(t, row.Kind, row.NotFoundWord, SourcePath(name));
    }
    return {};
}

QString MissingSegmentFile(const ProjectTargets& t, MeasureSet set)
{
    const SegmentTable* table = t.Segments[set];
    if (t.MainGrid == nullptr || table == nullptr || table->Count > 0)
        return {};
    const QString name = t.MainGrid->Value(gridkeys::kSegSets[set]);
    if (name == kNoFile)
        return {};
    const QString path = SourcePath(name);
    if (DataFileExists(t, path)) {
        const QString reason = SegmentFileFault(path, t.Files);
        return NoSegmentText(set, path) +
               (reason.isEmpty() ? QString() : QStringLiteral(" (") + reason + QLatin1Char(')'));
    }
    return QStringLiteral("SEG%1 File not found: ").arg(SetNumber(set)) + QuoteInMessage(path);
}

bool LoadLimitLine(ProjectTargets& t, MeasureSet set, const QString& path)
{
    TChartSeries* limit = t.Series[kLimitLine[set]];
    TChartSeries* margin = t.Series[kMarginLine[set]];
    if (limit != nullptr)
        limit->Clear();
    if (margin != nullptr)
        margin->Clear();
    if (limit == nullptr || margin == nullptr || t.Table == nullptr)
        return false;
    if (!LoadLimitFile(*t.Table, path, QLatin1Char('n'), t.Files))
        return false;
    const int32_t marginDb = t.State == nullptr ? 0 : t.State->MarginDb[set];
    ShowGridAsSeries(*t.Table, *limit, *margin, t.Colors.Limit[set],
                     t.Colors.Margin[set], marginDb,
                     NumberOf(kLimitLine[set]), t.Files);
    return DrewSomething(t, TableKind::Limit, path, *limit);
}

bool LoadCorrection(ProjectTargets& t, CorrectionKind kind, const QString& path)
{
    const CorrectionTarget correction = CorrectionOf(t, kind);
    if (correction.target.Series == nullptr)
        return false;
    return ReadTableInto(t, TableKindOf(kind), path, correction.target, correction.color);
}

bool LoadSegments(ProjectTargets& t, MeasureSet set, const QString& path)
{
    SegmentTable* table = t.Segments[set];
    if (table == nullptr)
        return false;
    if (t.ClearMeasureTimeEstimate)
        t.ClearMeasureTimeEstimate();
    const SegmentTable before = *table;
    TChartSeries* marks = t.Series[kSegmentMarks[set]];
    CheckListModel* list = t.SegmentLists[set];
    const double markLevel = (t.LevelAxis != nullptr ? t.LevelAxis->Minimum() : 0.0) + 10.0;
    const QString fault = marks == nullptr || list == nullptr
                              ? LoadSegmentTable(*table, path, t.SweepWaitMarginMs(), t.Files)
                              : LoadSegmentFile(*table, path, *marks, *list, t.Colors.SegmentMarks[set], markLevel,
                                                t.SweepWaitMarginMs(), t.Files);
    // A file that gives no segment is said at once in one line naming it, with no box, rather than
    // only when Play refuses the set.
    if (!fault.isEmpty() && t.Files.Messages != nullptr)
        t.Files.Messages->Append(QStringLiteral("Error: ") + NoSegmentText(set, path) + QStringLiteral(" (") + fault +
                                 QLatin1Char(')'));
    if (t.PlanReplaced && !SamePlan(before, *table))
        t.PlanReplaced(set);
    return table->Count > 0;
}

} // namespace datafiles

namespace {

using namespace gridkeys;
using datafiles::CorrectionKind;

void NotFound(const ProjectTargets& t, const QString& word, const QString& path)
{
    t.Files.Info(word + QStringLiteral(" File not found: ") + datafiles::QuoteInMessage(path));
}

std::optional<double> Number(const QString& text)
{
    double v = 0.0;
    if (!TryStrToFloatAnySep(text, v))
        return std::nullopt;
    return v;
}

std::optional<int32_t> Integer(const QString& text)
{
    int32_t v = 0;
    if (!TryStrToInt(text, v))
        return std::nullopt;
    return v;
}

// Both ends of an axis from optional new values, set as one pair so that neither setter meets the
// library's minimum <= maximum check half-way; an end without a new value keeps its old one.
void SetAxisEnds(AxisBounds* axis, std::optional<double> minimum, std::optional<double> maximum)
{
    if (axis == nullptr || (!minimum && !maximum))
        return;
    datafiles::SetAxisPair(*axis, minimum.value_or(axis->Minimum()), maximum.value_or(axis->Maximum()));
}

void ApplyRange(ProjectTargets& t)
{
    const auto start = Number(RemoveDots(t.MainGrid->Value(kChartStart)));
    const auto stop = Number(RemoveDots(t.MainGrid->Value(kChartStop)));
    if (!start || !stop || !(*start < *stop) || t.FrequencyAxis == nullptr)
        return;
    datafiles::SetAxisPair(*t.FrequencyAxis, static_cast<double>(RoundHalfEven(*start / 1000.0)),
                           static_cast<double>(RoundHalfEven(*stop / 1000.0)));
}

void ApplyLimit(ProjectTargets& t, MeasureSet set)
{
    const QString name = t.MainGrid->Value(kLimits[set]);
    // The margin line goes with its limit line, so a project without a limit shows neither.
    TChartSeries* limit = t.Series[kLimitLine[set]];
    TChartSeries* margin = t.Series[kMarginLine[set]];
    if (limit != nullptr)
        limit->Clear();
    if (margin != nullptr)
        margin->Clear();
    if (name == kNoFile)
        return;
    const QString path = datafiles::SourcePath(name);
    if (!datafiles::DataFileExists(t, path)) {
        NotFound(t, QStringLiteral("Limit"), path);
        return;
    }
    const auto toKhz = [](std::optional<double> hz) -> std::optional<double> {
        return hz ? std::optional<double>(*hz / 1000.0) : std::nullopt;
    };
    SetAxisEnds(t.FrequencyAxis, toKhz(Number(t.MainGrid->Value(kChartStart))),
                toKhz(Number(t.MainGrid->Value(kChartStop))));
    const auto low = Integer(t.MainGrid->Value(kLow));
    const auto high = Integer(t.MainGrid->Value(kHigh));
    SetAxisEnds(t.LevelAxis, low ? std::optional<double>(*low) : std::nullopt,
                high ? std::optional<double>(*high) : std::nullopt);
    datafiles::LoadLimitLine(t, set, path);
}

void ApplyCorrection(ProjectTargets& t, ParameterGridModel* grid, const QString& key, const TableTarget& target,
                     TableKind kind, TColor color, const QString& word)
{
    if (grid == nullptr || target.Series == nullptr || t.Table == nullptr)
        return;
    // "none" is no correction: the series the correction chain reads must say what the grid says,
    // whichever table a project loaded before.
    target.Series->Clear();
    const QString name = grid->Value(key);
    if (name == kNoFile)
        return;
    const QString path = datafiles::SourcePath(name);
    if (!datafiles::DataFileExists(t, path)) {
        NotFound(t, word, path);
        return;
    }
    ReadTableInto(t, kind, path, target, color);
}

void ApplySegments(ProjectTargets& t, MeasureSet set)
{
    SegmentTable* table = t.Segments[set];
    // LoadSegments empties the table first; it must see the plan it replaces.
    if (table == nullptr)
        return;
    const QString name = t.MainGrid->Value(kSegSets[set]);
    QString path;
    if (name != kNoFile) {
        path = datafiles::SourcePath(name);
        if (!datafiles::DataFileExists(t, path)) {
            NotFound(t, QStringLiteral("SEG%1").arg(SetNumber(set)), path);
            path.clear();
        }
    }
    // Without a file the set's marks and check list are reset too, so they never show the
    // segments of a plan that is no longer loaded.
    datafiles::LoadSegments(t, set, path);
}

void ApplyReport(ProjectTargets& t)
{
    const QString name = t.MainGrid->Value(kReport);
    if (name == kNoFile)
        return;
    const QString path = datafiles::ReportPath(name);
    if (!datafiles::DataFileExists(t, path)) {
        NotFound(t, QStringLiteral("Report"), path);
        return;
    }
    if (t.LoadReportHeader)
        t.LoadReportHeader(path);
}

void ApplyMargin(ProjectTargets& t, MeasureSet set)
{
    if (t.State == nullptr)
        return;
    if (const auto v = Integer(t.MainGrid->Value(kMargins[set])))
        t.State->MarginDb[set] = *v;
}

void ApplyCoverageLevel(ProjectTargets& t, bool high)
{
    AxisBounds* axis = t.Coverage.levelAxis;
    if (t.CoverageGrid == nullptr || axis == nullptr)
        return;
    const auto v = Integer(t.CoverageGrid->Value(high ? kHighDbm : kLowDbm));
    if (!v)
        return;
    if (high && *v > axis->Minimum())
        axis->SetMaximum(*v);
    else if (!high && *v < axis->Maximum())
        axis->SetMinimum(*v);
}

// The level of a series at a whole-kHz frequency, by linear interpolation between its points
// (sorted by X); nothing where the series does not reach.
std::optional<double> LevelAt(const TChartSeries& s, int64_t khz)
{
    const int n = s.Count();
    if (n == 0)
        return std::nullopt;
    const double x = static_cast<double>(khz);
    if (x < s.GetPointX(0) || x > s.GetPointX(n - 1))
        return std::nullopt;
    int lo = 0;
    int hi = n - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (x <= s.GetPointX(mid))
            hi = mid;
        else
            lo = mid;
    }
    if (hi == lo)
        return s.GetPointY(lo);
    return (s.GetPointY(hi) - s.GetPointY(lo)) / (s.GetPointX(hi) - s.GetPointX(lo)) * (x - s.GetPointX(lo)) +
           s.GetPointY(lo);
}

void LogCoverageCable(ProjectTargets& t)
{
    const TChartSeries* cable = t.Coverage.cableCorrection;
    const std::pair<QString, QString> freqs[] = {{QStringLiteral("FREQ_A"), kFreqA},
                                                 {QStringLiteral("FREQ_B"), kFreqB},
                                                 {QStringLiteral("FREQ_C"), kFreqC}};
    for (const auto& [name, key] : freqs) {
        const QString text = t.CoverageGrid->Value(key);
        int64_t hz = 0;
        if (!TryStrToInt64(text, hz))
            continue;
        const auto level = LevelAt(*cable, RoundHalfEven(static_cast<double>(hz) / 1000.0));
        t.Files.LogDebug(QStringLiteral("Cable ") + name + QLatin1Char(':') + text + QStringLiteral("Hz :") +
                         FloatToStr(level.value_or(0.0)) + QStringLiteral("dB"));
    }
}

void Apply(ProjectTargets& t, const QString& kind)
{
    ParameterGridModel* main = t.MainGrid;
    const bool hasMain = main != nullptr;
    if ((kind == QLatin1String("START_HZ") || kind == QLatin1String("STOP_HZ")) && hasMain) {
        ApplyRange(t);
    } else if (kind == QLatin1String("LIM1") && hasMain) {
        ApplyLimit(t, MeasureSet::Set1);
    } else if (kind == QLatin1String("LIM2") && hasMain) {
        ApplyLimit(t, MeasureSet::Set2);
    } else if (kind == QLatin1String("CABLE")) {
        ApplyCorrection(t, main, kCableCor, MainTarget(t, SeriesRole::cableCorrection), TableKind::Cable,
                        t.Colors.Cable, QStringLiteral("Cable"));
    } else if (kind == QLatin1String("AMPL")) {
        ApplyCorrection(t, main, kAmpCor, MainTarget(t, SeriesRole::amplifierCorrection), TableKind::Amplifier,
                        t.Colors.Amplifier, QStringLiteral("Amplifier"));
    } else if (kind == QLatin1String("ANT")) {
        ApplyCorrection(t, main, kAntCor, MainTarget(t, SeriesRole::antennaFactor), TableKind::Antenna,
                        t.Colors.Antenna, QStringLiteral("Antenna"));
    } else if (kind == QLatin1String("LISN")) {
        ApplyCorrection(t, main, kLisnCor, MainTarget(t, SeriesRole::lisnCorrection), TableKind::Lisn,
                        t.Colors.Lisn, QStringLiteral("LISN/ATT"));
    } else if (kind == QLatin1String("AMPL_TRACK")) {
        ApplyCorrection(t, t.GeneratorGrid, kAmpCor, MainTarget(t, SeriesRole::generatorAmpCorrection),
                        TableKind::Amplifier, t.Colors.GeneratorAmp, QStringLiteral("Amplifier"));
    } else if (kind == QLatin1String("TC")) {
        ApplyCorrection(t, t.GeneratorGrid, kTemCor, MainTarget(t, SeriesRole::temCellCorrection), TableKind::Tc,
                        t.Colors.TemCell, QStringLiteral("TC"));
    } else if (kind == QLatin1String("REP") && hasMain) {
        ApplyReport(t);
    } else if (kind == QLatin1String("SEG1") && hasMain) {
        ApplySegments(t, MeasureSet::Set1);
    } else if (kind == QLatin1String("SEG2") && hasMain) {
        ApplySegments(t, MeasureSet::Set2);
    } else if (kind == QLatin1String("GAP1") && hasMain) {
        ApplyMargin(t, MeasureSet::Set1);
    } else if (kind == QLatin1String("GAP2") && hasMain) {
        ApplyMargin(t, MeasureSet::Set2);
    } else if (kind == QLatin1String("High_dBm")) {
        ApplyCoverageLevel(t, true);
    } else if (kind == QLatin1String("Low_dBm")) {
        ApplyCoverageLevel(t, false);
    } else if (kind == QLatin1String("CABLE_FF")) {
        ApplyCorrection(t, t.CoverageGrid, kCableCor, {t.Coverage.cableCorrection, 0}, TableKind::Cable,
                        t.Colors.Coverage, QStringLiteral("Cable"));
        if (t.CoverageGrid != nullptr && t.Coverage.cableCorrection != nullptr &&
            t.CoverageGrid->Value(kCableCor) != kNoFile)
            LogCoverageCable(t);
    } else if (kind == QLatin1String("AMP_FF")) {
        ApplyCorrection(t, t.CoverageGrid, kAmpCor, {t.Coverage.amplifierCorrection, 0}, TableKind::Amplifier,
                        t.Colors.Coverage, QStringLiteral("Amplifier"));
    } else if (kind == QLatin1String("ANT_FF")) {
        ApplyCorrection(t, t.CoverageGrid, kAntCor, {t.Coverage.antennaFactor, 0}, TableKind::Antenna,
                        t.Colors.Coverage, QStringLiteral("Antenna"));
    }
}

} // namespace

void ApplyProjectFiles(ProjectTargets& targets, const QString& kind)
{
    try {
        Apply(targets, kind);
    } catch (const std::exception& e) {
        if (targets.Files.Messages != nullptr)
            targets.Files.Messages->Append(QStringLiteral("Error: ") + kind + QStringLiteral(": ") +
                                           QString::fromUtf8(e.what()));
    }
}

QStringList ProjectApplyOrder(bool withGenerator)
{
    QStringList order = {QStringLiteral("START_HZ"), QStringLiteral("STOP_HZ"), QStringLiteral("CABLE"),
                         QStringLiteral("AMPL"),     QStringLiteral("ANT"),     QStringLiteral("LISN"),
                         QStringLiteral("SEG1"),     QStringLiteral("SEG2"),    QStringLiteral("GAP1"),
                         QStringLiteral("GAP2"),     QStringLiteral("REP"),     QStringLiteral("LIM1"),
                         QStringLiteral("LIM2"),     QStringLiteral("High_dBm"), QStringLiteral("Low_dBm"),
                         QStringLiteral("CABLE_FF"), QStringLiteral("AMP_FF"),  QStringLiteral("ANT_FF")};
    if (withGenerator)
        order << QStringLiteral("AMPL_TRACK") << QStringLiteral("TC");
    return order;
}
