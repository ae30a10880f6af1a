#include "coverage/CoverageView.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "coverage/CorrectionLookup.h"
#include "coverage/CoverageCalculators.h"
#include "coverage/CoverageTable.h"
#include "coverage/KmlWriter.h"
#include "instrument/AnalyserHold.h"
#include "instrument/DeviceState.h"
#include "instrument/GpsReceiver.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "instrument/protocol/LevelOffsets.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <utility>

namespace {

constexpr const char* kLetters[3] = {"A", "B", "C"};
constexpr uint32_t kLatchPauseMs = 1000;
constexpr const char* kAnalyserLostLine = "Error: the link to the analyser was lost, coverage logging stopped";
constexpr const char* kNoAnalyserLine = "Error: no analyser is connected, coverage logging ";

std::optional<double> AnySepNumber(const QString& text)
{
    double v = 0;
    if (!TryStrToFloatAnySep(text.trimmed(), v) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int32_t> WholeNumber(const QString& text)
{
    return ParseStrictInt(text.trimmed());
}

// A level as the view shows it: fixed, 2 decimals, 4 significant digits.
QString LevelText(double level)
{
    return FloatToStrF(level, FloatFormat::ffFixed, 4, 2);
}

} // namespace

CoverageFields::CoverageFields()
    : IntervalMs(QString::fromLatin1(kCoverageDefaultInterval))
    , LatchPoints(QString::fromLatin1(kCoverageDefaultLatchPoints))
    , SpeedKmh(QString::fromLatin1(kCoverageDefaultSpeed))
    , LengthKm(QString::fromLatin1(kCoverageDefaultLength))
{
}

CoverageChart::CoverageChart()
{
    for (int x = 0; x < 3; ++x)
        Level[x].SetTitle(QStringLiteral("FRQ ") + QLatin1String(kLetters[x]));
    Cable.SetTitle(QStringLiteral("Cable"));
    Amplifier.SetTitle(QStringLiteral("Amp"));
    Antenna.SetTitle(QStringLiteral("Ant"));
}

CoverageView::CoverageView(ScpiContext& scpi, GpsReceiverState& gps, TableBuffer& tableGrid,
    CoverageHost& host, const QString& workingFolder)
    : scpi_(scpi)
    , gps_(gps)
    , tableGrid_(tableGrid)
    , host_(host)
    , workingFolder_(workingFolder)
{
    // A failed poll stops the logging timer; the tick that polled must then log nothing. The
    // logging has ended, so its tracks are written, as after Stop, once the tick has returned. The
    // receiver's box says why; the view, which covers the message log, says it too.
    scpi_.Visa.StopCoverageTimer = [this](const QString& why) {
        pollFailed_ = true;
        const bool wasLogging = std::exchange(logging_, false);
        host_.StopTimer();
        if (wasLogging)
            Say(QStringLiteral("Error: coverage logging stopped: ") + why);
        if (globals_.CoverageTickBusy)
            kmlAfterTick_ = true;
        else if (wasLogging)
            WriteKml();
    };
    RecalculateDrive();
}

CoverageView::~CoverageView()
{
    scpi_.Visa.StopCoverageTimer = nullptr;
}

QStringList& CoverageView::Memo()
{
    return gps_.View.Memo;
}

QString CoverageView::Now() const
{
    if (TimeText)
        return TimeText();
    return FormatDateTimeText(QStringLiteral("tt"), DateTimeValue(QDateTime::currentDateTime()), Texts);
}

bool CoverageView::Wait(uint32_t ms, uint64_t generation)
{
    EventPump& pump = scpi_.Pump;
    const uint32_t start = pump.TickCount();
    for (;;) {
        if (stopGeneration_ != generation)
            return false;
        const uint32_t elapsed = pump.TickCount() - start;
        if (elapsed >= ms)
            return true;
        pump.WaitEvents(ms - elapsed);
    }
}

bool CoverageView::Start()
{
    if (!gps_.GpsConnected) {
        host_.ShowError(QStringLiteral("No GPS device found"));
        return false;
    }
    // The view covers the message log: the held line is shown in a box as well.
    if (const QString held = RefuseWhileHeld(scpi_, QStringLiteral("coverage logging not started"),
                                             AnalyserHolder::CoverageLogging);
        !held.isEmpty()) {
        host_.ShowError(held);
        return false;
    }
    // Qt runs a 0 ms timer without pause, so the interval must be above 0.
    const std::optional<int32_t> interval = WholeNumber(fields_.IntervalMs);
    if (!interval || *interval <= 0) {
        host_.ShowError(
            QStringLiteral("\"Interval [ms]\" must be a whole number above 0: ") + fields_.IntervalMs);
        return false;
    }
    const std::optional<int32_t> latch = WholeNumber(fields_.LatchPoints);
    if (!latch || *latch < 0) {
        host_.ShowError(QStringLiteral("\"Latch Points\" must be a whole number: ") + fields_.LatchPoints);
        return false;
    }
    if (!AnalyserReady()) {
        Say(QLatin1String(kNoAnalyserLine) + QStringLiteral("not started"));
        return false;
    }
    // Levels without a correction the grid names would be plainly wrong: refused as Play is.
    if (const QString refused = RefusedCorrection(); !refused.isEmpty()) {
        host_.ShowError(refused);
        Say(QStringLiteral("Warning: coverage logging refused: ") + refused);
        return false;
    }
    std::fill(std::begin(untunedSaid_), std::end(untunedSaid_), false);
    host_.StartTimer(*interval);
    logging_ = true;
    globals_.CoverageIndex = 0;
    return true;
}

void CoverageView::Stop()
{
    host_.StopTimer();
    logging_ = false;
    host_.Beep(2000, 100);
    host_.Beep(1000, 100);
    // A tick running beneath this handler ends at its next wait; its tracks are written once it
    // has returned, so that no point of it starts tracks of the next file.
    ++stopGeneration_;
    scpi_.Pump.Wake();
    if (globals_.CoverageTickBusy)
        kmlAfterTick_ = true;
    else
        WriteKml();
}

void CoverageView::Latch()
{
    Stop();
    const uint64_t generation = stopGeneration_;
    WaitMs(scpi_.Pump, kLatchPauseMs);
    // A Stop or close during the pause has the last word.
    if (generation == stopGeneration_)
        Start();
}

void CoverageView::Close()
{
    if (logging_ || globals_.CoverageTickBusy)
        Stop();
    else
        WriteKml();
}

void CoverageView::LatchPointsChanged(const QString& text)
{
    fields_.LatchPoints = text;
    globals_.CoverageIndex = 0;
}

void CoverageView::WriteKml()
{
    const KmlTracks::WriteResult r
        = kml_.WriteFile(workingFolder_, KmlStamp ? KmlStamp() : KmlTimeStampNow(Texts));
    if (r.Written)
        fields_.RecentKml = r.FileName;
    else if (!r.Error.isEmpty())
        Say(QStringLiteral("Error: ") + r.Error);
}

// The coverage view hides the main window's messages: what went wrong with the logging is said in
// the view's own memo as well.
void CoverageView::Say(const QString& line)
{
    scpi_.Messages.Append(line);
    Memo() << line;
}

struct CoverageView::TickScope {
    CoverageGlobals& g;
    explicit TickScope(CoverageGlobals& globals)
        : g(globals)
    {
        g.CoverageTickBusy = true;
    }
    ~TickScope() { g.CoverageTickBusy = false; }
};

void CoverageView::Tick()
{
    scpi_.Pump.ProcessEvents();
    if (globals_.CoverageLatchPending) {
        globals_.CoverageLatchPending = false;
        Latch();
        return;
    }
    // A tick inside a running one would retune the analyser between that tick's sweep and its
    // marker read: it is counted and skipped.
    if (globals_.CoverageTickBusy) {
        ++globals_.CoverageTickErrors;
        fields_.TickErrors = QString::number(globals_.CoverageTickErrors);
        host_.Refresh();
        return;
    }
    {
        TickScope busy(globals_);
        try {
            RunTick(stopGeneration_);
        } catch (const std::exception& e) {
            Say(QStringLiteral("Error: coverage tick: ") + QString::fromLocal8Bit(e.what()));
        }
    }
    if (kmlAfterTick_) {
        kmlAfterTick_ = false;
        WriteKml();
    }
    host_.Refresh();
}

// An analyser the coverage view can measure with: rows without one would carry no level, each
// with the Index of the row before.
bool CoverageView::AnalyserReady() const
{
    return scpi_.Device.DeviceConnected && scpi_.Device.IsKnown();
}

void CoverageView::RunTick(uint64_t generation)
{
    // The analyser went while no tick ran (another window's command lost it, or it was
    // disconnected): the logging ends as when a tick loses it.
    if (!AnalyserReady()) {
        Say(QLatin1String(kNoAnalyserLine) + QStringLiteral("stopped"));
        Stop();
        return;
    }
    // A correction row changed to a table that was refused while logging.
    if (const QString refused = RefusedCorrection(); !refused.isEmpty()) {
        Say(QStringLiteral("Warning: coverage logging stopped: ") + refused);
        Stop();
        return;
    }
    // A tick whose row is not written (a Stop or a lost analyser, a failed poll, a table that
    // cannot be written) takes its levels back, off the chart, the level fields and the memo: no
    // level is shown that has no row.
    int pointsBefore[3];
    for (int x = 0; x < 3; ++x)
        pointsBefore[x] = chart_.Level[x].Count();
    const QString indexBefore = fields_.Index;
    const auto takeBack = [&] {
        for (int x = 0; x < 3; ++x) {
            if (chart_.Level[x].Count() > pointsBefore[x])
                chart_.Level[x].DeleteRange(pointsBefore[x], chart_.Level[x].Count() - pointsBefore[x]);
            fields_.Level[x].clear();
        }
        fields_.Index = indexBefore;
    };
    if (!Measure(generation))
        return takeBack();
    if (gps_.GpsConnected) {
        pollFailed_ = false;
        PollGpsReceiver(scpi_, gps_);
        host_.Refresh();
        // The fields still hold the previous fix: nothing of this tick is logged.
        if (pollFailed_)
            return takeBack();
    }
    if (stopGeneration_ != generation)
        return takeBack();
    const GpsDisplay& fix = gps_.View.Display;
    // Standing: the levels were measured (on the previous poll's speed), only the row is skipped.
    if (gps_.View.SkipNonMoving && fix.Speed == QLatin1String("0"))
        return ShowLevelsLine();

    // The Index is the row's point on "FRQ A". A tick that put none there (its frequency not
    // measured, its level refused, the chart full) has no Index: it must not repeat another row's.
    const int32_t point = chart_.Level[0].Count() - 1;
    const bool ownPoint = point > lastRowIndex_;
    fields_.Index = ownPoint ? QString::number(point) : QString();
    const QString error
        = AppendCoverageLine(workingFolder_, CoverageLineFields(fields_, fix).join(QLatin1Char(';')));
    if (!error.isEmpty()) {
        Say(QStringLiteral("Error: ") + error);
        return takeBack();
    }
    if (ownPoint)
        lastRowIndex_ = point;
    ShowLevelsLine();
    if (!kml_.Started())
        kml_.BeginTracks(fields_.Freq[0] + QStringLiteral("Hz"), fields_.Freq[1] + QStringLiteral("Hz"),
            fields_.Freq[2] + QStringLiteral("Hz"));
    // A point needs a position and a level measured in this tick; anything else would put a
    // coordinate without a place or height into the file.
    if (!fix.LonDec.isEmpty() && !fix.LatDec.isEmpty())
        for (int x = 0; x < 3; ++x)
            if (measured_[x])
                kml_.AddPoint(static_cast<KmlTracks::Track>(x), fix.LonDec, fix.LatDec, fields_.Level[x]);

    ++globals_.CoverageIndex;
    const std::optional<int32_t> latch = WholeNumber(fields_.LatchPoints);
    if (latch && globals_.CoverageIndex == *latch)
        globals_.CoverageLatchPending = true;
}

// While a tick owns the analyser, one that leaves a call unanswered counts as gone, as one whose
// link closed does: the logging stops as at a Stop (its tracks are written), with one line, and
// the tick logs nothing. A Stop that came first has said all there is to say.
bool CoverageView::AnalyserLost(uint64_t generation)
{
    if (!scpiio::LinkLost(scpi_))
        return false;
    if (stopGeneration_ == generation) {
        Say(QString::fromLatin1(kAnalyserLostLine));
        Stop();
    }
    return true;
}

void CoverageView::MeasureLevels()
{
    if (Measure(stopGeneration_))
        ShowLevelsLine();
}

void CoverageView::ShowLevelsLine()
{
    if (!levelsLine_.isEmpty())
        Memo() << levelsLine_;
}

bool CoverageView::Measure(uint64_t generation)
{
    // Levels of an earlier tick are not this tick's: a level not measured now is logged empty.
    levelsLine_.clear();
    for (int x = 0; x < 3; ++x) {
        measured_[x] = false;
        fields_.Level[x].clear();
    }
    const DeviceState& device = scpi_.Device;
    if (!device.DeviceConnected)
        return true;
    if (chart_.Level[0].Count() > CoverageChart::kMaxLevelPoints) {
        Memo() << Now() + QStringLiteral("Warning!!!, out of points ");
        return true;
    }
    const bool rsa = device.IsRigolRsa();
    const bool slowMarker = device.MarkerSettlesSlowly();
    const bool marker = device.PlacesMarkerAtFrequency();
    // The skip test and the fix colour of the level points come from the previous poll.
    const GpsDisplay& previous = gps_.View.Display;
    const bool standing = gps_.View.SkipNonMoving && previous.Speed == QLatin1String("0");

    QString memoLevels[3] = {QStringLiteral("--"), QStringLiteral("--"), QStringLiteral("--")};
    for (int x = 0; x < 3; ++x) {
        if (rsa && !Wait(1000, generation))
            return false;
        const std::optional<double> f = coveragegrid::MeasuredFrequency(grid_.Value(coveragegrid::FreqKey(x)));
        if (!f)
            continue;
        // The analyser gets whole hertz; a frequency such as 145.5e6 is still one.
        const QString hz = FormatMachineFixed(std::nearbyint(*f), 0);
        ScpiSetCenterFreq(scpi_, hz);
        // One beyond the analyser's range leaves it where it was: a level read there is not this
        // frequency's. It gets no level, as a refused level does, and one line.
        const CentreCheck centre = ScpiCheckCentre(scpi_, std::nearbyint(*f), 1.0);
        if (AnalyserLost(generation))
            return false;
        if (!centre.Tuned) {
            if (!std::exchange(untunedSaid_[x], true))
                Say(QStringLiteral("Warning: Freq ") + QLatin1String(kLetters[x]) + QLatin1Char(' ') +
                    centre.Untuned(std::nearbyint(*f)) + QStringLiteral("; no level is logged for it"));
            continue;
        }
        untunedSaid_[x] = false;
        if (marker)
            ScpiMarkerToFreq(scpi_, hz);
        if (rsa)
            ScpiContinuousOn(scpi_);
        ScpiSingleSweep(scpi_);
        const ScpiAnswer t = ScpiReadSweepTime(scpi_);
        if (AnalyserLost(generation))
            return false;
        const std::optional<double> seconds = t ? scpiio::AnswerNumber(*t) : std::nullopt;
        if (seconds && *seconds > 0 && *seconds <= 1000) {
            scpi_.Debug.LogMessage(QStringLiteral("FREQ ") + QLatin1String(kLetters[x])
                + QStringLiteral(": waiting: ") + t->trimmed() + QStringLiteral(" sec"));
            // Whole milliseconds up, so that the marker is never read before the sweep ends.
            if (!Wait(static_cast<uint32_t>(std::ceil(*seconds * 1000.0 - 1e-9)), generation))
                return false;
        } else {
            scpi_.Debug.LogMessage(QStringLiteral("Err: read Sweeptime"));
        }
        if (!Wait(50, generation) || (slowMarker && !Wait(500, generation)))
            return false;
        if (rsa) {
            if (!Wait(2000, generation))
                return false;
            ScpiMarkerToFreq(scpi_, hz);
        }
        const ScpiAnswer answer = ScpiReadMarkerLevel(scpi_);
        if (AnalyserLost(generation))
            return false;
        const std::optional<double> read = answer ? AnySepNumber(*answer) : std::nullopt;
        if (!read)
            continue;
        // Back to the dBm the analyser answered: the level reader added the offset.
        double level = *read - (device.MarkerAnswersInDbm() ? kTextLevelDbmToDbuv : 0.0);
        const int64_t khz = RoundHalfEven(*f / 1000.0);
        level = level - CorrectionAtKhz(chart_.Cable, khz) + CorrectionAtKhz(chart_.Antenna, khz)
            - CorrectionAtKhz(chart_.Amplifier, khz);
        TChartSeries& series = chart_.Level[x];
        if (!standing)
            series.AddPointXY(series.Count(), level, QString(), previous.Fix() ? clGreen : clRed);
        memoLevels[x] = LevelText(level);
        fields_.Level[x] = QString(memoLevels[x]).replace(QLatin1Char(','), QLatin1Char('.'));
        measured_[x] = true;
        host_.Refresh();
    }
    fields_.Index = QString::number(chart_.Level[0].Count() - 1);
    // The memo gets the line once the tick's row is written (or skipped for standing).
    levelsLine_ = Now() + QStringLiteral(": A ") + memoLevels[0] + QStringLiteral(" B ") + memoLevels[1]
        + QStringLiteral(" C ") + memoLevels[2] + QStringLiteral(" dBm");
    return true;
}
