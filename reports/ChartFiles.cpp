#include "reports/ChartFiles.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "app/ProgramVersion.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"
#include "platform/inifile/SaveFileCommit.h"
#include "reports/ChartRecord.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <numeric>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

using chartfile::kRecordSize;
using chartfile::Record;

namespace {

constexpr std::string_view kVersionText = kProgramVersion;
constexpr std::string_view kBuildText = kBuildNumber;
constexpr double kBlank = 32.0;
// Records per read or write: large enough that a 12-trace file takes few system calls.
constexpr qint64 kChunkRecords = 1 << 16;

void Message(MessageLog* log, const QString& line)
{
    if (log != nullptr)
        log->Append(line);
}

void Debug(DebugLog* log, const QString& line)
{
    if (log != nullptr)
        log->LogMessage(line);
}

QString ErrorLine(const QString& fileName, const QString& reason)
{
    return QStringLiteral("Error: ") + fileName + QStringLiteral(": ") + reason;
}

// Version, then " BN=", then the build number; each character of the version and the build
// number is followed by a blank in its record.
std::vector<Record> HeaderRecords()
{
    std::vector<Record> records;
    int32_t index = 1;
    for (char c : kVersionText)
        records.push_back({chartfile::kTagHeader, index++, static_cast<double>(c), kBlank});
    records.push_back({chartfile::kTagHeader, index++, kBlank, 'B'});
    records.push_back({chartfile::kTagHeader, index++, 'N', '='});
    for (char c : kBuildText)
        records.push_back({chartfile::kTagHeader, index++, static_cast<double>(c), kBlank});
    return records;
}

// The character of a header code; codes that name no character of the file's 8-bit text read
// as "?".
QChar HeaderChar(double code)
{
    if (!std::isfinite(code))
        return QLatin1Char('?');
    const double c = std::nearbyint(code);
    if (c < 0.0 || c > 255.0)
        return QLatin1Char('?');
    return QChar(static_cast<char16_t>(c));
}

void AppendHeaderChar(QString& header, double code)
{
    if (header.size() < chartfile::kMaxHeaderChars)
        header.append(HeaderChar(code));
}

// Records through a buffer into a file that replaces the old one only on a successful commit.
class RecordWriter {
public:
    explicit RecordWriter(const QString& fileName) : file_(fileName), buffer_(kChunkRecords * kRecordSize) {}

    bool Open()
    {
        ok_ = file_.open(QIODevice::WriteOnly);
        return ok_;
    }
    void Put(const Record& r)
    {
        chartfile::EncodeRecord(r, buffer_.data() + used_);
        used_ += kRecordSize;
        if (used_ == buffer_.size())
            Flush();
    }
    void PutSeries(int32_t tag, const TChartSeries* series)
    {
        if (series == nullptr)
            return;
        const std::span<const double> xs = series->XValues().Values();
        const std::span<const double> ys = series->YValues().Values();
        const size_t n = std::min(xs.size(), ys.size());
        for (size_t i = 0; i < n && ok_; ++i)
            Put({tag, static_cast<int32_t>(i), xs[i], ys[i]});
    }
    // False with the reason when anything failed; the old file then stays as it was.
    bool Commit(QString& error)
    {
        Flush();
        return FinishSaveFile(file_, ok_, &error);
    }
    QString OpenError() const { return file_.errorString(); }

private:
    void Flush()
    {
        if (ok_ && used_ > 0)
            ok_ = file_.write(reinterpret_cast<const char*>(buffer_.data()), static_cast<qint64>(used_)) ==
                  static_cast<qint64>(used_);
        used_ = 0;
    }

    QSaveFile file_;
    std::vector<unsigned char> buffer_;
    size_t used_ = 0;
    bool ok_ = false;
};

// ---- reading

struct AxisRecord {
    int32_t Tag;
    double Minimum;
    double Maximum;
};

// One series a load fills from the records of one tag.
struct Target {
    int32_t Tag;
    TChartSeries* Series;
    TColor Color;
    std::vector<double> X;
    std::vector<double> Y;
};

struct ReadPlan {
    std::vector<Target> Targets;
    bool Axes = false;   // tags -1 and -2 set the main chart's axes
    bool Header = false; // tag -3 builds the identification text
};

struct Staged {
    std::vector<AxisRecord> Axes;
    QString Header;
    int64_t ChartRecords = 0; // axis and header records, which every chart file starts with
    int64_t TargetRecords = 0; // records of a tag the load takes
    qint64 TrailingBytes = 0;  // a last record cut short
    std::optional<Record> Impossible; // the first point no chart can hold (a NaN, a level of 1e308)
};

// Reads every whole record of the file into the plan's targets and the staged axes and header,
// touching nothing of the chart. False, with the reason, when the file cannot be used.
bool ReadRecords(const QString& fileName, ReadPlan& plan, Staged& staged, QString& error)
{
    if (QFileInfo(fileName).isDir()) {
        error = QStringLiteral("this is a folder, not a file");
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    const qint64 records = size / kRecordSize;
    if (records > chartfile::kMaxRecords) {
        error = QStringLiteral("%1 records, more than the %2 a file may hold").arg(records).arg(chartfile::kMaxRecords);
        return false;
    }
    staged.TrailingBytes = size % kRecordSize;

    // Tag -> position in the plan; only tags 0..29 can name a series. The points of every series
    // a chart or compensation file carries meet the bound, whether this load takes them or not:
    // a damaged point damages the file, whichever of its traces is wanted.
    std::array<int, 30> byTag;
    byTag.fill(-1);
    std::array<bool, 30> carried{};
    for (int32_t tag : chartfile::kChartFileSeries)
        carried[static_cast<size_t>(tag)] = true;
    carried[chartfile::kTagCompensation1] = carried[chartfile::kTagCompensation2] = true;
    for (size_t i = 0; i < plan.Targets.size(); ++i) {
        const int32_t tag = plan.Targets[i].Tag;
        if (plan.Targets[i].Series != nullptr && tag >= 0 && tag < static_cast<int32_t>(byTag.size()))
            byTag[static_cast<size_t>(tag)] = static_cast<int>(i);
    }

    std::vector<unsigned char> buffer(static_cast<size_t>(std::min(records, kChunkRecords) * kRecordSize));
    for (qint64 left = records; left > 0;) {
        const qint64 n = std::min(left, kChunkRecords);
        const qint64 want = n * kRecordSize;
        for (qint64 got = 0; got < want;) {
            const qint64 r = file.read(reinterpret_cast<char*>(buffer.data()) + got, want - got);
            if (r <= 0) {
                error = r < 0 ? file.errorString() : QStringLiteral("the file ended early");
                return false;
            }
            got += r;
        }
        for (qint64 k = 0; k < n; ++k) {
            const Record rec = chartfile::DecodeRecord(buffer.data() + k * kRecordSize);
            if (rec.Tag >= 0 && rec.Tag < static_cast<int32_t>(byTag.size())) {
                const int t = byTag[static_cast<size_t>(rec.Tag)];
                if (!carried[static_cast<size_t>(rec.Tag)])
                    continue;
                // NaN fails the bound as 1e308 does: a value no saved trace holds is damage, and
                // the points around it are no more to be trusted than it is.
                if (!plausible::kFrequencyKhz.Holds(rec.X) || !plausible::kChartLevel.Holds(rec.Y)) {
                    if (!staged.Impossible)
                        staged.Impossible = rec;
                    continue;
                }
                if (t < 0)
                    continue;
                ++staged.TargetRecords;
                Target& target = plan.Targets[static_cast<size_t>(t)];
                target.X.push_back(rec.X);
                target.Y.push_back(rec.Y);
            } else if (rec.Tag == chartfile::kTagHeader) {
                ++staged.ChartRecords;
                if (plan.Header) {
                    AppendHeaderChar(staged.Header, rec.X);
                    AppendHeaderChar(staged.Header, rec.Y);
                }
            } else if (rec.Tag == chartfile::kTagBottomAxis || rec.Tag == chartfile::kTagLeftAxis) {
                ++staged.ChartRecords;
                if (plan.Axes)
                    staged.Axes.push_back({rec.Tag, rec.X, rec.Y});
            }
        }
        left -= n;
    }
    return true;
}

void ApplyAxis(const AxisRecord& a, const ChartFileContext& chart)
{
    const bool bottom = a.Tag == chartfile::kTagBottomAxis;
    Debug(chart.Debug, (bottom ? QStringLiteral("Cart Bottom Min :") : QStringLiteral("Cart Left Min :")) +
                           FloatToStr(a.Minimum));
    Debug(chart.Debug, (bottom ? QStringLiteral("Cart Bottom Max :") : QStringLiteral("Cart Left Max :")) +
                           FloatToStr(a.Maximum));
    TChartAxis* axis = bottom ? chart.BottomAxis : chart.LeftAxis;
    const bool valid = std::isfinite(a.Minimum) && std::isfinite(a.Maximum) && a.Maximum >= a.Minimum &&
                       !(axis != nullptr && axis->Logarithmic() && a.Minimum <= 0.0);
    if (!valid) {
        Debug(chart.Debug, bottom ? QStringLiteral("Bottom Axis Min Max ERR") : QStringLiteral("Left Axis Min Max ERR"));
        return;
    }
    // One call for both ends: setting them one at a time is refused whenever the new maximum is
    // below the current minimum or the new minimum above the current maximum.
    if (axis != nullptr)
        axis->SetRange(a.Minimum, a.Maximum);
}

// Why the file's axis records cannot be taken (empty when they can): an end that is not a number
// or lies beyond any saved range would leave nothing of the traces in sight.
QString AxisFault(const std::vector<AxisRecord>& axes)
{
    const auto sane = [](double v) {
        return std::isfinite(v) && std::fabs(v) <= chartfile::kMaxAxisMagnitude;
    };
    for (const AxisRecord& a : axes) {
        if (!sane(a.Minimum) || !sane(a.Maximum))
            return QStringLiteral("the %1 axis record holds %2 .. %3, no range a chart can show")
                .arg(a.Tag == chartfile::kTagBottomAxis ? QStringLiteral("bottom") : QStringLiteral("left"),
                     FloatToStr(a.Minimum), FloatToStr(a.Maximum));
    }
    return {};
}

// Puts the staged points into the order in which adding them one by one would leave them: the
// X list keeps its order and an equal X goes after the earlier ones, which is a stable sort.
void OrderLikeTheSeries(const TChartSeries& series, std::vector<double>& xs, std::vector<double>& ys)
{
    const TChartListOrder order = series.XValues().Order();
    if (order == loNone || xs.size() < 2)
        return;
    const bool ascending = order == loAscending;
    const auto before = [ascending](double a, double b) { return ascending ? a < b : a > b; };
    if (std::is_sorted(xs.begin(), xs.end(), before))
        return;
    std::vector<uint32_t> perm(xs.size());
    std::iota(perm.begin(), perm.end(), 0u);
    std::stable_sort(perm.begin(), perm.end(), [&](uint32_t a, uint32_t b) { return before(xs[a], xs[b]); });
    std::vector<double> sx(xs.size()), sy(ys.size());
    for (size_t i = 0; i < perm.size(); ++i) {
        sx[i] = xs[perm[i]];
        sy[i] = ys[perm[i]];
    }
    xs.swap(sx);
    ys.swap(sy);
}

void Commit(ReadPlan& plan, Staged& staged, const ChartFileContext& chart)
{
    for (const AxisRecord& a : staged.Axes)
        ApplyAxis(a, chart);
    for (Target& t : plan.Targets)
        if (t.Series != nullptr)
            t.Series->Clear();
    for (Target& t : plan.Targets) {
        if (t.Series == nullptr || t.X.empty())
            continue;
        OrderLikeTheSeries(*t.Series, t.X, t.Y);
        TChartSeries::UpdateScope scope(*t.Series);
        t.Series->AddPointsXY(t.X, t.Y, t.Color);
        std::vector<double>().swap(t.X);
        std::vector<double>().swap(t.Y);
    }
    if (plan.Header)
        Debug(chart.Debug, QStringLiteral("Chart was generated with:  ") + staged.Header);
}

bool Load(const QString& fileName, ReadPlan& plan, const ChartFileContext& chart)
{
    QString error;
    try {
        Staged staged;
        if (!ReadRecords(fileName, plan, staged, error)) {
            Message(chart.Messages, ErrorLine(fileName, error));
            return false;
        }
        // A file of anything else would empty every trace for nothing: the traces on the chart
        // may be measurements not yet saved, the compensation one that took a while to take.
        QString refusal;
        if (staged.TrailingBytes > 0)
            // A file cut short (a copy broken off, a full disk) holds the first part of a
            // measurement: loaded, it would pass for the whole one.
            refusal = QStringLiteral("the last %1 bytes are no whole record: the file is cut short")
                          .arg(staged.TrailingBytes);
        else if (staged.Impossible)
            // One flipped exponent bit makes 20 dB 1e308 or NaN: such a point hides every limit,
            // so the whole file is suspect, not the point alone.
            refusal = QStringLiteral("point %1 of series %2 is at %3 kHz, %4: beyond %5 kHz and %6 dB")
                          .arg(staged.Impossible->Index)
                          .arg(staged.Impossible->Tag)
                          .arg(FloatToStr(staged.Impossible->X), FloatToStr(staged.Impossible->Y),
                               plausible::kFrequencyKhz.Text(), plausible::kChartLevel.Text());
        else if ((plan.Axes || plan.Header) && staged.ChartRecords == 0)
            refusal = QStringLiteral("no chart file: it holds none of the axis and header records a chart "
                                     "file starts with");
        else if (plan.Axes)
            refusal = AxisFault(staged.Axes);
        else if (!plan.Header && staged.TargetRecords == 0)
            refusal = QStringLiteral("no compensation file: it holds no compensation record");
        if (!refusal.isEmpty()) {
            Message(chart.Messages, ErrorLine(fileName, refusal + QStringLiteral("; nothing was loaded")));
            return false;
        }
        Commit(plan, staged, chart);
        return true;
    } catch (const std::exception& e) {
        Message(chart.Messages, ErrorLine(fileName, QString::fromLocal8Bit(e.what())));
        return false;
    }
}

bool Save(const QString& fileName, const ChartFileContext& chart, const std::function<void(RecordWriter&)>& body)
{
    RecordWriter writer(fileName);
    QString error;
    if (!writer.Open())
        error = writer.OpenError();
    else {
        body(writer);
        if (writer.Commit(error))
            return true;
    }
    Message(chart.Messages, ErrorLine(fileName, error));
    return false;
}

} // namespace

bool SaveChartFile(const QString& fileName, const ChartFileContext& chart)
{
    return Save(fileName, chart, [&chart](RecordWriter& w) {
        if (chart.BottomAxis != nullptr)
            w.Put({chartfile::kTagBottomAxis, 0, chart.BottomAxis->Minimum(), chart.BottomAxis->Maximum()});
        if (chart.LeftAxis != nullptr)
            w.Put({chartfile::kTagLeftAxis, 0, chart.LeftAxis->Minimum(), chart.LeftAxis->Maximum()});
        for (const Record& r : HeaderRecords())
            w.Put(r);
        for (int32_t n : chartfile::kChartFileSeries)
            w.PutSeries(n, chart.Series.Number(n));
    });
}

bool SaveZeroCompensation(const QString& fileName, const ChartFileContext& chart)
{
    const TChartSeries* set1 = chart.Series[SeriesRole::compensation1];
    const TChartSeries* set2 = chart.Series[SeriesRole::compensation2];
    return Save(fileName, chart, [&](RecordWriter& w) {
        if (set1 == nullptr || set1->Count() == 0)
            Message(chart.Messages, QStringLiteral("Info: no compensation found for set1"));
        w.PutSeries(chartfile::kTagCompensation1, set1);
        if (set2 == nullptr || set2->Count() == 0)
            Message(chart.Messages, QStringLiteral("Info: no compensation found for set2"));
        w.PutSeries(chartfile::kTagCompensation2, set2);
    });
}

bool LoadChartFile(const QString& fileName, ChartFileContext& chart)
{
    ReadPlan plan;
    plan.Axes = plan.Header = true;
    for (int32_t n : chartfile::kChartFileSeries) {
        // The margin lines are drawn in the colours of their limit lines.
        const int colour = n == 14 ? 2 : n == 15 ? 5 : n;
        plan.Targets.push_back({n, chart.Series.Number(n), chart.SeriesColors[static_cast<size_t>(colour - 1)], {}, {}});
    }
    return Load(fileName, plan, chart);
}

bool LoadZeroCompensation(const QString& fileName, ChartFileContext& chart)
{
    ReadPlan plan;
    plan.Targets.push_back(
        {chartfile::kTagCompensation1, chart.Series[SeriesRole::compensation1], kCompensationColor1, {}, {}});
    plan.Targets.push_back(
        {chartfile::kTagCompensation2, chart.Series[SeriesRole::compensation2], kCompensationColor2, {}, {}});
    return Load(fileName, plan, chart);
}

bool LoadReferenceTrace(const QString& fileName, TChartSeries* set1Target, TChartSeries* set2Target,
                        TColor set2Color, TColor set1Color, ChartFileContext& chart)
{
    ReadPlan plan;
    plan.Axes = plan.Header = true;
    plan.Targets.push_back({chartfile::kTagCorrected1, set1Target, set1Color, {}, {}});
    plan.Targets.push_back({chartfile::kTagCorrected2, set2Target, set2Color, {}, {}});
    return Load(fileName, plan, chart);
}
