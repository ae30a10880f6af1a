#include "instrument/TraceTransfer.h"

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiIo.h"
#include "instrument/protocol/LevelOffsets.h"
#include "instrument/visa/VisaSession.h"

#include <bit>
#include <charconv>
#include <optional>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

// The ASCII readers read at least this many bytes, whatever the point count; a longer trace gets
// a buffer of its own size.
constexpr qsizetype kAsciiBufferMinimum = 12800;
// Widest value text a receiver scan answer is expected to hold, with its comma.
constexpr qsizetype kScanBytesPerValue = 32;
// The point count comes from the identification or from the settings file ("Samples"); it sizes
// the read buffer, so a count no analyser has (a typing slip, a negative number) reads nothing.
constexpr int32_t kMaxTracePoints = 1'000'000;

bool PlausiblePointCount(ScpiContext& c)
{
    if (c.Device.TracePoints >= 1 && c.Device.TracePoints <= kMaxTracePoints)
        return true;
    c.Messages.Append(QStringLiteral("Error: trace points out of range: ") + QString::number(c.Device.TracePoints));
    return false;
}

// A machine number in bytes: optional sign, then digits, one point and an exponent, blanks
// around allowed, nothing else. The same rule as ParseMachine without building a text per
// value, which a 100,000-point trace would otherwise do 100,000 times. NaN and infinities are
// no levels.
bool ParseLevel(const char* begin, const char* end, double* value)
{
    while (begin < end && (*begin == ' ' || *begin == '\t' || *begin == '\r' || *begin == '\n'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r' || end[-1] == '\n'))
        --end;
    if (begin == end)
        return false;
    bool negative = false;
    if (*begin == '+' || *begin == '-') {
        negative = *begin == '-';
        ++begin;
    }
    if (begin == end || !((*begin >= '0' && *begin <= '9') || *begin == '.'))
        return false;
    double v = 0;
    const auto r = std::from_chars(begin, end, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v))
        return false;
    *value = negative ? -v : v;
    return true;
}

// A wrong answer size: the device no longer counts as connected.
void WrongSize(ScpiContext& c)
{
    c.Messages.Append(QStringLiteral("Error: Visa RD Error Maxsample"));
    c.Device.DeviceConnected = false;
    c.Status.SetText(InstrumentStatus::kConnectionPanel, QString());
}

void LogRead(ScpiContext& c, int64_t startHz, int64_t stopHz, qsizetype bytes)
{
    c.Debug.LogMessage(QStringLiteral("Read VISA: ") + QString::number(startHz) + QLatin1Char('-') +
                       QString::number(stopHz) + QStringLiteral(" Bytes:") + QString::number(bytes));
}

void LogGrid(ScpiContext& c, const tracecodec::Grid& g, int32_t points)
{
    if (!c.Debug.DebugMode)
        return;
    c.Debug.LogMessage(QStringLiteral("step: ") + FloatToStr(g.stepKhz) + QStringLiteral("kHz"));
    c.Debug.LogMessage(QStringLiteral("steps: ") + FloatToStr(g.stepKhz * points) + QStringLiteral("kHz"));
    c.Debug.LogMessage(QStringLiteral("Start Raw xValue: ") + FloatToStr(g.startX));
}

// One read of the trace answer. A read that failed (a time-out with part of the answer, a lost
// link) is no trace even when its byte count happens to match: the bytes may belong to a block
// whose header lied, and the rest of the stream is out of step.
QByteArray ReadAnswer(ScpiContext& c, qsizetype bufferSize, ViStatus* status)
{
    QByteArray answer;
    *status = VisaReadAnswer(c.Visa, c.Visa.VisaSession, static_cast<ViUInt32>(bufferSize), &answer);
    return answer;
}

// A link that is gone (scpiio::LinkLost) is no wrong size: the analyser never sent a trace; nor
// is a read that Stop ended. Nothing when the read's failure is of another kind.
std::optional<TraceReadResult> QuietEnd(ScpiContext& c, ViStatus status, qsizetype received)
{
    if (!scpiio::QuietFailure(c, status))
        return std::nullopt;
    TraceReadResult r;
    r.Status = scpiio::LinkLost(c) ? TraceStatus::LinkLost : TraceStatus::Stopped;
    r.Received = static_cast<int>(received);
    return r;
}

// What no analyser reports, however broken its input stage (plausible::kAnalyserDbm), here in
// dBuV: every reader's levels are dBuV once the family's offset is added. Values such as 1e308
// or -3.4e38 are the analyser's "no value" markers, not measurements.
bool PossibleLevel(double dbuv) { return plausible::kAnalyserDbuv.Holds(dbuv); }

// The one line of a trace that is no trace; its points (those before the bad value) are dropped.
// noNumberLine: the reader's own line for a value that is no number.
// badLevel: the level in dBuV that made the trace OutOfRange.
TraceReadResult Finish(ScpiContext& c, TraceStatus status, std::vector<tracecodec::Point> points, qsizetype received,
                       const QString& noNumberLine = {}, double badLevel = 0.0)
{
    TraceReadResult r;
    r.Status = status;
    r.Received = static_cast<int>(received);
    if (status == TraceStatus::WrongSize)
        WrongSize(c);
    else if (status == TraceStatus::OutOfRange)
        // The analyser answered, with the size it should: it stays connected, and the line names
        // the level instead of a sample count.
        c.Messages.Append(QStringLiteral("Error: the analyser sent a level of ") +
                          QString::number(badLevel - plausible::kBoundDbmToDbuv, 'g', 6) +
                          QStringLiteral(" dBm; the trace is refused"));
    else if (status == TraceStatus::NotANumber)
        c.Messages.Append(!noNumberLine.isEmpty() ? noNumberLine
                                                  : QStringLiteral("Error: trace value is no number after point ") +
                                                        QString::number(points.size()));
    else
        r.Points = std::move(points);
    return r;
}

} // namespace

namespace tracecodec {

Grid TraceGrid(int64_t startHz, int64_t stopHz, int32_t tracePoints)
{
    Grid g;
    g.startX = static_cast<double>(RoundHalfEven(static_cast<double>(startHz) / 1000.0));
    // In double: the difference of two 64-bit frequencies may not fit in 64 bits.
    const double spanHz = static_cast<double>(stopHz) - static_cast<double>(startHz);
    g.stepKhz = tracePoints > 1 ? spanHz / 1000.0 / (tracePoints - 1) : 0.0;
    return g;
}

Grid ScanGrid(int64_t startHz, int64_t stopHz, int32_t tracePoints)
{
    Grid g;
    g.startX = static_cast<double>(RoundHalfEven(static_cast<double>(startHz) / 1000.0));
    const double spanHz = static_cast<double>(stopHz) - static_cast<double>(startHz);
    const double perPoint = tracePoints > 0 ? std::trunc(spanHz / tracePoints) : 0.0;
    g.stepKhz = (perPoint + 1.0) / 1000.0;
    return g;
}

TraceStatus DecodeBinary(const QByteArray& answer, qsizetype expectedSize, int32_t tracePoints, bool bigEndian,
                         double levelOffset, const Grid& grid, std::vector<Point>* points, double* badLevel)
{
    points->clear();
    if (answer.size() != expectedSize || answer.size() < 2 || answer[0] != '#' || answer[1] < '1' || answer[1] > '9')
        return TraceStatus::WrongSize;
    const qsizetype dataStart = answer[1] - '0' + 2;
    if (tracePoints < 0 || dataStart + 4 * static_cast<qsizetype>(tracePoints) > answer.size())
        return TraceStatus::WrongSize;
    // The length digits must count the data that came (all but the line end): a block that
    // claims more or less than it carries is cut or padded somewhere, and its values cannot be
    // trusted to sit where the grid puts them.
    qsizetype claimed = 0;
    for (qsizetype i = 2; i < dataStart; ++i) {
        if (answer[i] < '0' || answer[i] > '9')
            return TraceStatus::WrongSize;
        claimed = claimed * 10 + (answer[i] - '0');
    }
    if (claimed != answer.size() - dataStart - 1)
        return TraceStatus::WrongSize;
    points->reserve(static_cast<size_t>(tracePoints));
    const auto* bytes = reinterpret_cast<const uint8_t*>(answer.constData()) + dataStart;
    double x = grid.startX;
    for (int32_t i = 0; i < tracePoints; ++i, bytes += 4) {
        const uint32_t bits = bigEndian ? (uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 |
                                           uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]))
                                        : (uint32_t(bytes[3]) << 24 | uint32_t(bytes[2]) << 16 |
                                           uint32_t(bytes[1]) << 8 | uint32_t(bytes[0]));
        const float v = std::bit_cast<float>(bits);
        const double level = static_cast<double>(v) + levelOffset;
        if (!std::isfinite(v))
            return TraceStatus::NotANumber;
        if (!PossibleLevel(level)) {
            if (badLevel != nullptr)
                *badLevel = level;
            return TraceStatus::OutOfRange;
        }
        points->push_back({static_cast<double>(RoundHalfEven(x)), level});
        x += grid.stepKhz;
    }
    return TraceStatus::Complete;
}

TraceStatus DecodeCommaList(const QByteArray& text, qsizetype scanLength, double levelOffset, const Grid& grid,
                            std::vector<Point>* points, double* badLevel)
{
    points->clear();
    const char* p = text.constData();
    const char* end = p + std::min(scanLength, text.size());
    double x = grid.startX;
    const char* field = p;
    for (; p < end; ++p) {
        if (*p != ',')
            continue;
        double v = 0;
        if (!ParseLevel(field, p, &v))
            return TraceStatus::NotANumber;
        if (!PossibleLevel(v + levelOffset)) {
            if (badLevel != nullptr)
                *badLevel = v + levelOffset;
            return TraceStatus::OutOfRange;
        }
        points->push_back({static_cast<double>(RoundHalfEven(x)), v + levelOffset});
        x += grid.stepKhz;
        field = p + 1;
    }
    return TraceStatus::Complete;
}

} // namespace tracecodec

bool RigolTraceBigEndian(const AnalyserKind& kind, int32_t optInvertIeee, bool rigolFloatBigEndian)
{
    if (kind.IsRigolRsa())
        return true;
    if (optInvertIeee == 0)
        return false;
    if (optInvertIeee > 0)
        return true;
    return rigolFloatBigEndian;
}

TraceReadResult ReadTraceVisaBinary(ScpiContext& c, int64_t startHz, int64_t stopHz)
{
    const DeviceState& d = c.Device;
    if (!PlausiblePointCount(c))
        return Finish(c, TraceStatus::WrongSize, {}, 0);
    const bool rsa = d.IsRigolRsa();
    const qsizetype expected = static_cast<qsizetype>(d.TracePoints) * 4 + (rsa ? 9 : 12);
    // One byte more than expected, so that a longer answer shows as a wrong size; the buffer
    // follows the point count, so that no trace is cut at a fixed size.
    ViStatus status = visa::VI_SUCCESS;
    const QByteArray answer = ReadAnswer(c, expected + 1, &status);
    const bool ok = status == visa::VI_SUCCESS;
    LogRead(c, startHz, stopHz, answer.size());
    std::vector<tracecodec::Point> points;
    if (const std::optional<TraceReadResult> quiet = ok ? std::nullopt : QuietEnd(c, status, answer.size()))
        return *quiet;
    if (!ok)
        return Finish(c, TraceStatus::WrongSize, {}, answer.size());
    const tracecodec::Grid grid = tracecodec::TraceGrid(startHz, stopHz, d.TracePoints);
    if (answer.size() == expected)
        LogGrid(c, grid, d.TracePoints);
    const bool bigEndian = RigolTraceBigEndian(d, c.Options.OptInvertIeee, d.RigolFloatBigEndian);
    double badLevel = 0.0;
    const TraceStatus st = tracecodec::DecodeBinary(answer, expected, d.TracePoints, bigEndian,
                                                    rsa ? kBinaryLevelDbmToDbuv : 0.0, grid, &points, &badLevel);
    // A float that is no number mostly means the wrong byte order, which the firmware decides:
    // the line says so. It is a line, not a box, since a run that owns the analyser may be
    // unattended.
    return Finish(c, st, std::move(points), answer.size(),
                  QStringLiteral("Error: IEEE-Conversion-ERROR:1, check DSA firmware version"), badLevel);
}

TraceReadResult ReadTraceVisaAscii(ScpiContext& c, int64_t startHz, int64_t stopHz)
{
    const DeviceState& d = c.Device;
    if (!PlausiblePointCount(c))
        return Finish(c, TraceStatus::WrongSize, {}, 0);
    const bool openFields = d.AsciiLayout() == AsciiTraceLayout::OpenFields14;
    const qsizetype expected =
        static_cast<qsizetype>(d.TracePoints) * (openFields ? 14 : 17) + (openFields ? 0 : 1);
    ViStatus status = visa::VI_SUCCESS;
    QByteArray answer = ReadAnswer(c, std::max(kAsciiBufferMinimum, expected + 1), &status);
    const bool ok = status == visa::VI_SUCCESS;
    LogRead(c, startHz, stopHz, answer.size());
    std::vector<tracecodec::Point> points;
    if (const std::optional<TraceReadResult> quiet = ok ? std::nullopt : QuietEnd(c, status, answer.size()))
        return *quiet;
    if (!ok || answer.size() != expected || answer.isEmpty())
        return Finish(c, TraceStatus::WrongSize, {}, answer.size());
    const tracecodec::Grid grid = tracecodec::TraceGrid(startHz, stopHz, d.TracePoints);
    LogGrid(c, grid, d.TracePoints);
    SetDecimalSeparator(QLatin1Char('.'));
    qsizetype scan = answer.size() - 1;
    if (openFields) {
        // The last value ends with the line end, not with a comma.
        answer[answer.size() - 1] = ',';
        scan = answer.size();
    }
    points.reserve(static_cast<size_t>(d.TracePoints));
    double badLevel = 0.0;
    const TraceStatus st = tracecodec::DecodeCommaList(answer, scan, kTextLevelDbmToDbuv, grid, &points, &badLevel);
    c.Debug.LogMessage(QStringLiteral("Samples  Count: ") + QString::number(answer.left(scan).count(',')));
    return Finish(c, st, std::move(points), answer.size(), {}, badLevel);
}

TraceReadResult ReadReceiverScan(ScpiContext& c, int64_t startHz, int64_t stopHz)
{
    const DeviceState& d = c.Device;
    if (!PlausiblePointCount(c)) {
        TraceReadResult r;
        r.Status = TraceStatus::ReadFailed;
        return r;
    }
    const qsizetype buffer = std::max(kAsciiBufferMinimum, (static_cast<qsizetype>(d.TracePoints) + 2) * kScanBytesPerValue);
    ViStatus status = visa::VI_SUCCESS;
    const QByteArray answer = ReadAnswer(c, buffer, &status);
    const bool ok = status == visa::VI_SUCCESS;
    LogRead(c, startHz, stopHz, answer.size());
    std::vector<tracecodec::Point> points;
    if (const std::optional<TraceReadResult> quiet = ok ? std::nullopt : QuietEnd(c, status, answer.size()))
        return *quiet;
    if (!ok) {
        // This reader has no size check, so a failed read is no wrong size either: the scan
        // loop goes on with the next step, the connection stands.
        c.Messages.Append(QStringLiteral("Error: no scan data from the analyser"));
        TraceReadResult r;
        r.Status = TraceStatus::ReadFailed;
        r.Received = static_cast<int>(answer.size());
        return r;
    }
    const tracecodec::Grid grid = tracecodec::ScanGrid(startHz, stopHz, d.TracePoints);
    if (c.Debug.DebugMode) {
        c.Debug.LogMessage(QStringLiteral("@Read_VISA_BUF_FPC"));
        c.Debug.LogMessage(QStringLiteral("step:      ") + FloatToStr(grid.stepKhz));
        c.Debug.LogMessage(QStringLiteral("maxsample: ") + QString::number(d.TracePoints));
        c.Debug.LogMessage(QStringLiteral("step*max:  ") + FloatToStr(grid.stepKhz * d.TracePoints));
        c.Debug.LogMessage(QStringLiteral("Start Raw xValue: ") + FloatToStr(grid.startX));
    }
    SetDecimalSeparator(QLatin1Char('.'));
    points.reserve(static_cast<size_t>(d.TracePoints) + 1);
    double badLevel = 0.0;
    const TraceStatus st = tracecodec::DecodeCommaList(answer, answer.size() - 1, 0.0, grid, &points, &badLevel);
    return Finish(c, st, std::move(points), answer.size(), {}, badLevel);
}
