#include "datafiles/SegmentTable.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>
#include <QStringList>

#include <cmath>

namespace {

const QString kData = QStringLiteral("Data");
const QString kErrorPrefix = QStringLiteral("Segment File Error Seg: ");
// The start column counts the segments and so has no count word; its gap is named in the form of
// the stop column's word.
const char* const kStartGapWord = " Freqa__";

const QStringList& LoaderDetectors()
{
    static const QStringList names = {QStringLiteral("NEG"),     QStringLiteral("NEGPEAK"), QStringLiteral("NORM"),
                                      QStringLiteral("NORMAL"),  QStringLiteral("POS"),     QStringLiteral("POSPEAK"),
                                      QStringLiteral("RMS"),     QStringLiteral("SAMP"),    QStringLiteral("VAV"),
                                      QStringLiteral("QPEAK")};
    return names;
}

QString ValueError(int n, const QString& value)
{
    return kErrorPrefix + QString::number(n) + QLatin1Char(' ') + datafiles::QuoteInMessage(value);
}

// Reads "<prefix>n" for n = 1, 2, ... while present, at most one past the table's capacity so a
// too long file is noticed without reading it all.
QStringList ReadKeys(const IniFile& ini, const QString& prefix)
{
    QStringList values;
    for (int n = 1; n <= SegmentTable::kMaxSegments + 1; ++n) {
        const QString v = ini.ReadString(kData, prefix + QString::number(n), QString());
        if (v.isEmpty())
            break;
        values << v;
    }
    return values;
}

// Segments ascend: each starts at or after the previous stop, and none stops before it starts.
QString OrderError(const SegmentTable& t, int count)
{
    int64_t previousStop = 0;
    for (int n = 1; n <= count; ++n) {
        const SegmentRecord& s = t.Segment(n);
        if (s.StartHz < previousStop)
            return kErrorPrefix + QString::number(n) + QStringLiteral(": ") +
                   InsertThousandDots(QString::number(s.StartHz)) + QStringLiteral("Hz < ") +
                   InsertThousandDots(QString::number(previousStop)) + QStringLiteral("Hz");
        if (s.StartHz > s.StopHz)
            return kErrorPrefix + QString::number(n) + QStringLiteral(": ") +
                   InsertThousandDots(QString::number(s.StartHz)) + QStringLiteral("Hz > ") +
                   InsertThousandDots(QString::number(s.StopHz)) + QStringLiteral("Hz");
        previousStop = s.StopHz;
    }
    return {};
}

// An RBW in Hz from its text: a number, with "Hz", "kHz" or "MHz" after it if at all ("9kHz", as
// the command layer also knows the CISPR bandwidths).
std::optional<double> RbwHz(const QString& text)
{
    static const std::pair<const char*, double> kUnits[] = {{"MHz", 1e6}, {"kHz", 1e3}, {"Hz", 1.0}};
    const QString t = text.trimmed();
    for (const auto& [unit, scale] : kUnits)
        if (t.endsWith(QLatin1String(unit), Qt::CaseInsensitive)) {
            const std::optional<double> v = ParseMachine(t.chopped(static_cast<qsizetype>(qstrlen(unit))));
            return v ? std::optional<double>(*v * scale) : std::nullopt;
        }
    return ParseMachine(t);
}

} // namespace

QString SegmentBound::Refusal(const SegmentRecord& segment) const
{
    const std::optional<double> v = value_ == nullptr ? std::nullopt : value_(segment);
    if (!v || range_.Holds(*v))
        return {};
    return QStringLiteral(" lies outside ") + QString::number(range_.Low, 'g', 15) + QStringLiteral("..") +
           QString::number(range_.High, 'g', 15) + QLatin1String(unit_);
}

namespace segmentrun {

std::optional<double> StartOf(const SegmentRecord& segment) { return static_cast<double>(segment.StartHz); }
std::optional<double> StopOf(const SegmentRecord& segment) { return static_cast<double>(segment.StopHz); }
std::optional<double> RbwOf(const SegmentRecord& segment) { return RbwHz(segment.Rbw).value_or(NAN); }
std::optional<double> SweepOf(const SegmentRecord& segment) { return segment.SweepMs; }
std::optional<double> AttOf(const SegmentRecord& segment)
{
    return segment.Attenuation == -1 ? std::nullopt : std::optional<double>(segment.Attenuation);
}

bool TakeStart(QString& text, SegmentRecord& segment) { return TryStrToInt64(RemoveDots(text), segment.StartHz); }
bool TakeStop(QString& text, SegmentRecord& segment) { return TryStrToInt64(RemoveDots(text), segment.StopHz); }

// Kept as written: the command layer sends it as it stands.
bool TakeRbw(QString& text, SegmentRecord& segment)
{
    segment.Rbw = text;
    return RbwHz(text).has_value();
}

// Dots are not removed here: "1.000" is an error, not one second.
bool TakeSweep(QString& text, SegmentRecord& segment) { return TryStrToInt(text, segment.SweepMs); }

bool TakeAtt(QString& text, SegmentRecord& segment)
{
    if (text.toUpper() == QLatin1String("AUTO")) {
        segment.Attenuation = -1;
        return true;
    }
    return TryStrToInt(text, segment.Attenuation);
}

bool TakePreAmp(QString& text, SegmentRecord& segment)
{
    segment.PreAmp = text;
    return text == QLatin1String("on") || text == QLatin1String("off");
}

bool TakeDetector(QString& text, SegmentRecord& segment)
{
    text = text.toUpper();
    segment.Detector = text;
    return LoaderDetectors().contains(text);
}

} // namespace segmentrun

QString SegmentBoundFault(const SegmentColumnInfo& column, int n, const QString& text, const SegmentRecord& segment)
{
    const QString refusal = column.Bound.Refusal(segment);
    if (refusal.isEmpty())
        return {};
    return kErrorPrefix + QString::number(n) + QLatin1Char(' ') + QLatin1String(column.Key) + QString::number(n) +
           QLatin1Char('=') + datafiles::QuoteInMessage(text) + refusal;
}

QString SegmentGapText(const SegmentColumnInfo& column, int n)
{
    return kErrorPrefix + QString::number(n) +
           QLatin1String(column.CountWord == nullptr ? kStartGapWord : column.CountWord);
}

SegmentParseResult ParseSegmentFile(const QString& absolutePath, int32_t sweepWaitMarginMs,
                                    std::span<const SegmentColumnInfo> columns)
{
    SegmentParseResult r;
    if (absolutePath.isEmpty() || !QFileInfo(absolutePath).isFile())
        return r;
    const IniFile ini(absolutePath);
    if (!ini.Loaded()) {
        // A file that is there but was not read is reported as the file errors are.
        if (!ini.LoadError().isEmpty()) {
            r.FileFound = true;
            r.Error = ini.LoadError();
        }
        return r;
    }
    r = ParseSegmentIni(ini, sweepWaitMarginMs, columns);
    r.FileFound = true;
    return r;
}

SegmentParseResult ParseSegmentIni(const IniFile& ini, int32_t sweepWaitMarginMs,
                                   std::span<const SegmentColumnInfo> columns)
{
    SegmentParseResult r;
    SegmentTable& t = r.Table;

    // Column by column, in the table's order; the first failure ends the reading.
    int count = 0;
    for (const SegmentColumnInfo& column : columns) {
        const QString prefix = QString::fromLatin1(column.Key);
        QStringList values = ReadKeys(ini, prefix);
        // A key numbered past the column's first missing one: the segments end where their keys
        // end, so the gap refuses the file rather than ending the plan short of the keys after it.
        const bool gap = datafiles::LastNumberedKey(ini, kData, {prefix}) > values.size() + 1;
        const bool counts = column.CountWord == nullptr;
        if (counts) {
            if (values.size() > SegmentTable::kMaxSegments) {
                r.Error = kErrorPrefix + QString::number(SegmentTable::kMaxSegments + 1) +
                          QStringLiteral(" more than 500 segments");
                return r;
            }
            count = static_cast<int>(values.size());
            if (gap) {
                r.Error = SegmentGapText(column, count + 1);
                return r;
            }
        }
        for (int n = 1; n <= std::min<int>(values.size(), count); ++n) {
            if (!column.Take(values[n - 1], t.Segment(n))) {
                r.Error = ValueError(n, values[n - 1]);
                return r;
            }
            // A number no analyser can be set to is refused here, not sent at Play.
            r.Error = SegmentBoundFault(column, n, values[n - 1], t.Segment(n));
            if (!r.Error.isEmpty())
                return r;
        }
        // The other keys must come in the same number, without a gap; the error names the first
        // number without one.
        if (!counts && (values.size() != count || gap)) {
            r.Error = SegmentGapText(column, static_cast<int>(values.size()) + 1);
            return r;
        }
        if (column.Column == SegmentColumn::Stop) {
            r.Error = OrderError(t, count);
            if (!r.Error.isEmpty())
                return r;
        }
    }
    for (int n = 1; n <= count; ++n)
        t.TotalTimeMs += static_cast<int64_t>(sweepWaitMarginMs) + 3000 + static_cast<int64_t>(t.Segment(n).SweepMs);
    t.Count = count;
    return r;
}

namespace {

// Why a parsed file that is there gave no segment; empty when it gave some or is not there.
QString NoSegmentReason(const SegmentParseResult& r)
{
    if (!r.FileFound || !r.Error.isEmpty())
        return r.Error;
    // Empty, of another kind or not a settings file at all: nothing a run could measure.
    if (r.Table.Count == 0)
        return QStringLiteral("no key ") + QLatin1String(kSegmentColumns.front().Key) + QLatin1Char('1');
    return {};
}

} // namespace

QString LoadSegmentTable(SegmentTable& table, const QString& fileName, int32_t sweepWaitMarginMs,
                         const DataFileContext& context)
{
    table.Count = 0;
    table.TotalTimeMs = 0;
    SegmentParseResult r =
        ParseSegmentFile(datafiles::ResolveDataPath(context.WorkingFolder, fileName), sweepWaitMarginMs);
    if (r.FileFound && r.Error.isEmpty())
        context.LogDebug(QStringLiteral("Seg File found ") + fileName);
    QString reason = NoSegmentReason(r);
    if (reason.isEmpty() && r.FileFound)
        table = std::move(r.Table);
    return reason;
}

QString SegmentFileFault(const QString& fileName, const DataFileContext& context)
{
    return NoSegmentReason(ParseSegmentFile(datafiles::ResolveDataPath(context.WorkingFolder, fileName), 0));
}
