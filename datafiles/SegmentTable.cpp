#include "datafiles/SegmentTable.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>
#include <QStringList>

namespace {

const QString kData = QStringLiteral("Data");
const QString kErrorPrefix = QStringLiteral("Segment File Error Seg: ");

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

} // namespace

namespace segmentrun {

bool TakeStart(QString& text, SegmentRecord& segment) { return TryStrToInt64(RemoveDots(text), segment.StartHz); }
bool TakeStop(QString& text, SegmentRecord& segment) { return TryStrToInt64(RemoveDots(text), segment.StopHz); }

bool TakeRbw(QString& text, SegmentRecord& segment)
{
    segment.Rbw = text;
    return true;
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
    r.FileFound = true;
    SegmentTable& t = r.Table;

    // Column by column, in the table's order; the first failure ends the reading.
    int count = 0;
    for (const SegmentColumnInfo& column : columns) {
        QStringList values = ReadKeys(ini, QString::fromLatin1(column.Key));
        const bool counts = column.CountWord == nullptr;
        if (counts) {
            if (values.size() > SegmentTable::kMaxSegments) {
                r.Error = kErrorPrefix + QString::number(SegmentTable::kMaxSegments + 1) +
                          QStringLiteral(" more than 500 segments");
                return r;
            }
            count = static_cast<int>(values.size());
        }
        for (int n = 1; n <= std::min<int>(values.size(), count); ++n) {
            if (!column.Take(values[n - 1], t.Segment(n))) {
                r.Error = ValueError(n, values[n - 1]);
                return r;
            }
        }
        // The other keys must come in the same number; the error names the first number without one.
        if (!counts && values.size() != count) {
            r.Error = kErrorPrefix + QString::number(values.size() + 1) + QLatin1String(column.CountWord);
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

QString LoadSegmentTable(SegmentTable& table, const QString& fileName, int32_t sweepWaitMarginMs,
                         const DataFileContext& context)
{
    table.Count = 0;
    table.TotalTimeMs = 0;
    const QString path = datafiles::ResolveDataPath(context.WorkingFolder, fileName);
    SegmentParseResult r = ParseSegmentFile(path, sweepWaitMarginMs);
    if (!r.FileFound)
        return {};
    if (!r.Error.isEmpty())
        return r.Error;
    context.LogDebug(QStringLiteral("Seg File found ") + fileName);
    // Empty, of another kind or not a settings file at all: nothing a run could measure.
    if (r.Table.Count == 0)
        return QStringLiteral("no key ") + QLatin1String(kSegmentColumns.front().Key) + QLatin1Char('1');
    table = std::move(r.Table);
    return {};
}
