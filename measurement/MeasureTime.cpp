#include "measurement/MeasureTime.h"

#include "app/DateTimeText.h"
#include "app/Log.h"
#include "app/NumberText.h"
#include "datafiles/SegmentTable.h"
#include "instrument/DeviceState.h"

#include <QLocale>

namespace {

// The "emi" estimate counts each zero-span point as this many times its 100 ms wait: what a
// point takes on the family's analysers.
double EmiPointFactor(DeviceFamilyCode family)
{
    switch (family) {
    case dfRigol: return 2.72;
    case dfSiglent: return 1.1;
    case dfNone:
    case dfHameg:
    case dfRsFpc:
    case dfRsFph: return 1.8;
    }
    return 1.8;
}

} // namespace

QString MeasureModeText(MeasureMode mode)
{
    switch (mode) {
    case MeasureMode::Sweep: return QStringLiteral("sweep");
    case MeasureMode::Emi: return QStringLiteral("emi");
    case MeasureMode::EmiScan: return QStringLiteral("emi_scan");
    case MeasureMode::EmiFix: return QStringLiteral("emi_fix");
    }
    return {};
}

std::optional<MeasureMode> ChooseMeasureMode(const AnalyserKind& kind, bool emiZeroSpan)
{
    if (kind.HasSweptRuns())
        return emiZeroSpan ? MeasureMode::Emi : MeasureMode::Sweep;
    if (kind.IsRsReceiver())
        return emiZeroSpan ? MeasureMode::EmiFix : MeasureMode::EmiScan;
    return std::nullopt;
}

std::optional<uint32_t> CalcMeasureTime(const SegmentTable& table, MeasureMode mode,
                                        const DeviceState& device, DebugLog& debug)
{
    const int n = table.Count;
    if (n < 1 || n > SegmentTable::kMaxSegments)
        return std::nullopt;
    debug.LogMessage(QStringLiteral("Calc Meassure Time ") + MeasureModeText(mode));
    const double tp = device.TracePoints;
    const double k = EmiPointFactor(device.DeviceFamily);
    const bool qpeak = table.Segment(1).Detector == QLatin1String("QPEAK");
    double seconds = 0;
    switch (mode) {
    case MeasureMode::Sweep: seconds = static_cast<double>(table.TotalTimeMs) / 1000.0; break;
    case MeasureMode::Emi: seconds = qpeak ? n * tp * 5000.0 / 1000.0 : n * tp * 100.0 * k / 1000.0; break;
    case MeasureMode::EmiScan:
    case MeasureMode::EmiFix: seconds = n * tp * ReceiverPointSeconds(mode, qpeak); break;
    }
    const int64_t s = RoundHalfEven(seconds);
    return static_cast<uint32_t>(std::clamp<int64_t>(s, 0, UINT32_MAX));
}

double ReceiverPointSeconds(MeasureMode mode, bool quasiPeak)
{
    if (mode == MeasureMode::EmiFix)
        return quasiPeak ? 3.6 : 2.6;
    if (mode == MeasureMode::EmiScan)
        return quasiPeak ? 2.0 : 0.1;
    return 0.0;
}

QString SecondsText(uint32_t seconds)
{
    // A run may be estimated at a day or more ("emi" with QPEAK over many segments): the hours go
    // on counting instead of wrapping into a day the text has no place for, so the estimate and
    // the countdown beside it read the same at the start of a run.
    return HoursMinutesSecondsText(seconds);
}

QString DateTimeText(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), QLocale::LongFormat);
}
