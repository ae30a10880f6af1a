#include "datafiles/SegmentTable.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/SegmentFiles.h"
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

} // namespace

SegmentParseResult ParseSegmentFile(const QString& absolutePath, int32_t sweepWaitMarginMs)
{
    SegmentParseResult r;
    if (absolutePath.isEmpty() || !QFileInfo(absolutePath).isFile())
        return r;
    const IniFile ini(absolutePath);
    if (!ini.Loaded()) {
        // A file that is there but was not read is reported as the file errors are.
        if (!ini.LoadError().isEmpty()) {
            r.FileFound = true;
            r.Error = QStringLiteral("Error: ") + ini.LoadError();
        }
        return r;
    }
    r.FileFound = true;
    SegmentTable& t = r.Table;

    const QStringList starts = ReadKeys(ini, SegmentColumnKey(SegmentColumn::Start));
    if (starts.size() > SegmentTable::kMaxSegments) {
        r.Error = kErrorPrefix + QString::number(SegmentTable::kMaxSegments + 1) +
                  QStringLiteral(" more than 500 segments");
        return r;
    }
    for (int n = 1; n <= starts.size(); ++n) {
        int64_t v = 0;
        if (!TryStrToInt64(RemoveDots(starts[n - 1]), v)) {
            r.Error = ValueError(n, starts[n - 1]);
            return r;
        }
        t.Segment(n).StartHz = v;
    }
    const int count = static_cast<int>(starts.size());

    // The other keys must come in the same number; k is the first number without a key.
    auto countError = [&](const QStringList& values, const QString& word) {
        if (values.size() == count)
            return false;
        r.Error = kErrorPrefix + QString::number(values.size() + 1) + word;
        return true;
    };

    const QStringList stops = ReadKeys(ini, SegmentColumnKey(SegmentColumn::Stop));
    for (int n = 1; n <= std::min<int>(stops.size(), count); ++n) {
        int64_t v = 0;
        if (!TryStrToInt64(RemoveDots(stops[n - 1]), v)) {
            r.Error = ValueError(n, stops[n - 1]);
            return r;
        }
        t.Segment(n).StopHz = v;
    }
    if (countError(stops, QStringLiteral(" Freqb__")))
        return r;

    int64_t previousStop = 0;
    for (int n = 1; n <= count; ++n) {
        const SegmentRecord& s = t.Segment(n);
        if (s.StartHz < previousStop) {
            r.Error = kErrorPrefix + QString::number(n) + QStringLiteral(": ") +
                      InsertThousandDots(QString::number(s.StartHz)) + QStringLiteral("Hz < ") +
                      InsertThousandDots(QString::number(previousStop)) + QStringLiteral("Hz");
            return r;
        }
        if (s.StartHz > s.StopHz) {
            r.Error = kErrorPrefix + QString::number(n) + QStringLiteral(": ") +
                      InsertThousandDots(QString::number(s.StartHz)) + QStringLiteral("Hz > ") +
                      InsertThousandDots(QString::number(s.StopHz)) + QStringLiteral("Hz");
            return r;
        }
        previousStop = s.StopHz;
    }

    const QStringList rbws = ReadKeys(ini, SegmentColumnKey(SegmentColumn::Rbw));
    for (int n = 1; n <= std::min<int>(rbws.size(), count); ++n)
        t.Segment(n).Rbw = rbws[n - 1];
    if (countError(rbws, QStringLiteral(" BW____")))
        return r;

    const QStringList sweeps = ReadKeys(ini, SegmentColumnKey(SegmentColumn::Sweep));
    for (int n = 1; n <= std::min<int>(sweeps.size(), count); ++n) {
        int32_t v = 0;
        // Dots are not removed here: "1.000" is an error, not one second.
        if (!TryStrToInt(sweeps[n - 1], v)) {
            r.Error = ValueError(n, sweeps[n - 1]);
            return r;
        }
        t.Segment(n).SweepMs = v;
        t.TotalTimeMs += static_cast<int64_t>(sweepWaitMarginMs) + 3000 + static_cast<int64_t>(v);
    }
    if (countError(sweeps, QStringLiteral(" Sweep_")))
        return r;

    const QStringList atts = ReadKeys(ini, SegmentColumnKey(SegmentColumn::Att));
    for (int n = 1; n <= std::min<int>(atts.size(), count); ++n) {
        int32_t v = 0;
        if (atts[n - 1].toUpper() == QLatin1String("AUTO")) {
            v = -1;
        } else if (!TryStrToInt(atts[n - 1], v)) {
            r.Error = ValueError(n, atts[n - 1]);
            return r;
        }
        t.Segment(n).Attenuation = v;
    }
    if (countError(atts, QStringLiteral(" Att____")))
        return r;

    const QStringList preamps = ReadKeys(ini, SegmentColumnKey(SegmentColumn::PreAmp));
    for (int n = 1; n <= std::min<int>(preamps.size(), count); ++n) {
        const QString& v = preamps[n - 1];
        if (v != QLatin1String("on") && v != QLatin1String("off")) {
            r.Error = ValueError(n, v);
            return r;
        }
        t.Segment(n).PreAmp = v;
    }
    if (countError(preamps, QStringLiteral(" PreAmp__")))
        return r;

    const QStringList detectors = ReadKeys(ini, SegmentColumnKey(SegmentColumn::Detector));
    for (int n = 1; n <= std::min<int>(detectors.size(), count); ++n) {
        const QString v = detectors[n - 1].toUpper();
        if (!LoaderDetectors().contains(v)) {
            r.Error = ValueError(n, v);
            return r;
        }
        t.Segment(n).Detector = v;
    }
    if (countError(detectors, QStringLiteral(" Detector")))
        return r;

    t.Count = count;
    return r;
}

bool LoadSegmentTable(SegmentTable& table, const QString& fileName, int32_t sweepWaitMarginMs,
                      const DataFileContext& context)
{
    table.Count = 0;
    table.TotalTimeMs = 0;
    const QString path = datafiles::ResolveDataPath(context.WorkingFolder, fileName);
    SegmentParseResult r = ParseSegmentFile(path, sweepWaitMarginMs);
    if (!r.FileFound)
        return false;
    if (!r.Error.isEmpty()) {
        context.Error(r.Error);
        return false;
    }
    table = std::move(r.Table);
    context.LogDebug(QStringLiteral("Seg File found ") + fileName);
    return true;
}
