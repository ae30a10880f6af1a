// The measurement engine's own time. Per segment: a DSA segment run against the simulator with
// zero-time sweeps and the waits on a virtual clock (all commands, the trace read over the raw
// socket, decoding, the correction pass and the peak listing), and the engine's part alone
// (decoding a 601-point answer, the correction pass and the peak listing) at the end of a trace
// of 250,000 points against correction tables and a limit of 750,000 points. And the whole-trace
// recalculation ("Displ. peaks") of 375,000 points. And the repaint of the main chart after a
// segment while it holds four traces of 250,000 points (raw and corrected of both sets), alone
// and with the engine's part of the segment before it: the program's own time per segment. And a
// zero-span point shown as it comes on that chart, with and without drawing it.
#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "app/MainChartSeries.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/SegmentTable.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "forms/MainChart.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/TraceTransfer.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "mail/ChartImage.h"
#include "measurement/CorrectedTrace.h"
#include "measurement/MeasurementState.h"
#include "measurement/ModeRunner.h"
#include "measurement/PeakLists.h"
#include "measurement/RunHost.h"
#include "measurement/RunParameters.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <bit>
#include <cmath>

namespace {

class QuietHost final : public RunHost {
public:
    void ControlsChanged(const RunControls&) override {}
    void ShowErrorBox(const QString&) override {}
    void Beep(int, int) override {}
    void SetBusyCursor(bool) override {}
    void RepaintChart() override {}
    void SetChartAutoRepaint(bool) override {}
    void NotifySegmentDone(int, int) override {}
    void NotifyRunEnd(const RunEnd&) override {}
    void CloseMainWindow() override {}
};

// A table on the 4 kHz grid from 9 kHz to 3 GHz (750,000 points), as the data files give them.
void FillTable(TChartSeries& s, double base, double slope)
{
    std::vector<double> xs, ys;
    for (double x = 9; x <= 3000000; x += 4) {
        xs.push_back(x);
        ys.push_back(base + slope * std::log10(x));
    }
    TChartSeries::UpdateScope hold(s);
    s.AddPointsXY(xs, ys);
}

struct Engine {
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    MeasurementState state;
    RunSwitches switches;
    QuietHost host;
    TChartSeries raw, corrected, limit, cable, lisn, antenna, amplifier, master;
    MainChartSeries series;
    PeakLists peaks{MeasureSet::Set1};

    Engine()
    {
        series[SeriesRole::rawTrace1] = &raw;
        series[SeriesRole::correctedTrace1] = &corrected;
        series[SeriesRole::limitLine1] = &limit;
        series[SeriesRole::cableCorrection] = &cable;
        series[SeriesRole::lisnCorrection] = &lisn;
        series[SeriesRole::antennaFactor] = &antenna;
        series[SeriesRole::amplifierCorrection] = &amplifier;
        series[SeriesRole::masterCorrection] = &master;
        FillTable(cable, -0.5, -0.3);
        FillTable(lisn, 10, 0);
        FillTable(antenna, 2, 3);
        FillTable(amplifier, 20, -0.5);
        FillTable(limit, 60, -2);
        switches.MaxFilter = false;
    }
};

// The engine's part of a segment after its trace is read (the correction pass and the peak
// listing), for the points in xs and ys.
void CorrectPoints(CorrectionPass& pass, SetTraces& set, SegmentResults& results, int segment,
                   std::span<const double> xs, std::span<const double> ys)
{
    TChartSeries measured;
    {
        TChartSeries::UpdateScope hold(measured);
        measured.AddPointsXY(xs, ys);
    }
    CorrectSegment(pass, set, results, segment, measured, false);
}

// A 601-point DSA answer: noise about 30 dBuV with every 20th point near the limit.
QByteArray DsaAnswer()
{
    QByteArray data;
    for (int i = 0; i < 601; ++i) {
        const float v = i % 20 == 0 ? 58.0f : 30.0f + static_cast<float>(i % 7);
        const uint32_t bits = std::bit_cast<uint32_t>(v);
        for (int k = 3; k >= 0; --k)
            data.append(static_cast<char>((bits >> (8 * k)) & 0xFF));
    }
    return "#9000002404" + data + "\n";
}

// A DSA segment's binary answer decoded as the engine decodes it, into the arrays the traces take.
void DecodeSegment(const QByteArray& answer, const tracecodec::Grid& grid, std::vector<tracecodec::Point>& points,
                   std::vector<double>& xs, std::vector<double>& ys)
{
    tracecodec::DecodeBinary(answer, answer.size(), 601, true, 0.0, grid, &points);
    for (size_t i = 0; i < points.size(); ++i) {
        xs[i] = points[i].x;
        ys[i] = points[i].y;
    }
}

void BM_EngineSegmentAtTheEndOfALongTrace(benchmark::State& st)
{
    Engine e;
    VirtualEventPump pump;
    CorrectionPass pass{e.state, e.series, e.switches, e.messages, e.debug, e.host, pump};
    SetTraces set{e.raw, e.corrected, clLime, e.limit, 6.0, e.peaks};
    SegmentResults results;
    // 250,000 points measured before this segment, corrected.
    {
        std::vector<double> xs, ys;
        for (int i = 0; i < 250000; ++i) {
            xs.push_back(150 + i * 4);
            ys.push_back(20);
        }
        CorrectPoints(pass, set, results, 1, xs, ys);
    }
    const QByteArray answer = DsaAnswer();
    const int64_t startHz = 1000150000;
    const tracecodec::Grid grid = tracecodec::TraceGrid(startHz, startHz + 30000000, 601);
    std::vector<tracecodec::Point> points;
    std::vector<double> xs(601), ys(601);
    for (auto _ : st) {
        DecodeSegment(answer, grid, points, xs, ys);
        CorrectPoints(pass, set, results, 2, xs, ys);
        st.PauseTiming();
        e.peaks.Clear();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_EngineSegmentAtTheEndOfALongTrace)->Unit(benchmark::kMicrosecond);

void BM_DsaSegmentAgainstTheSimulator(benchmark::State& st)
{
    SimulatorOptions o;
    o.family = "dsa815";
    o.timeScale = 1e-9;
    o.tcpPort = 0;
    Simulator sim(o);
    QString error;
    if (!sim.Start(&error)) {
        st.SkipWithError(error.toStdString().c_str());
        return;
    }
    Engine e;
    VisaState visa;
    DeviceState device;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext scpi{visa, device, e.options, e.debug, e.messages, pump, status};
    LoadVisaLibrary(visa, e.debug, std::make_unique<BuiltinVisaBackEnd>());
    if (!ConnectInstrument(scpi, "TCPIP0::127.0.0.1::" + QString::number(sim.TcpPort()) + "::SOCKET", true).Identified) {
        st.SkipWithError("no connection");
        return;
    }
    SegmentTable table;
    table.Count = 1;
    table.Segment(1) = {150000, 30000000, "9000", 100, 10, "off", "POS"};
    std::unique_ptr<ModeRunner> runner = MakeModeRunner(MeasureMode::Sweep);
    TChartSeries measured;
    PassContext passContext{scpi, e.state, e.host, e.switches, table, measured, [](int, const QString&) {},
                            [](const QString&) {}, [] { return QDateTime(); }};
    CorrectionPass pass{e.state, e.series, e.switches, e.messages, e.debug, e.host, pump};
    SetTraces set{e.raw, e.corrected, clLime, e.limit, 6.0, e.peaks};
    SegmentResults results;
    for (auto _ : st) {
        measured.Clear();
        e.peaks.Clear();
        const int added = runner->RunSegment(passContext, 1);
        CorrectSegment(pass, set, results, 1, measured, false);
        if (added != 601) {
            st.SkipWithError("trace not read");
            break;
        }
    }
    CloseVisaSessions(visa);
    sim.Stop();
}
BENCHMARK(BM_DsaSegmentAgainstTheSimulator)->Unit(benchmark::kMillisecond);

void BM_RecalcCorrectedTrace(benchmark::State& st)
{
    Engine e;
    QtEventPump pump; // the real pump: the walk lets the window work every 200 points
    CorrectionPass pass{e.state, e.series, e.switches, e.messages, e.debug, e.host, pump};
    SetTraces set{e.raw, e.corrected, clLime, e.limit, 6.0, e.peaks};
    std::vector<double> xs, ys;
    for (int i = 0; i < 375000; ++i) {
        xs.push_back(150 + i * 8);
        ys.push_back(i % 500 == 0 ? 60.0 : 25.0 + (i % 13));
    }
    {
        TChartSeries::UpdateScope hold(e.raw);
        e.raw.AddPointsXY(xs, ys);
    }
    for (auto _ : st) {
        if (RecalcCorrectedTrace(pass, set, {}) != 375000)
            st.SkipWithError("walk ended early");
    }
    st.counters["peaks"] = e.peaks.Count();
}
BENCHMARK(BM_RecalcCorrectedTrace)->Unit(benchmark::kMillisecond);

// The main chart (Chart1 with its 29 series) at a working size, the frequency axis logarithmic
// over the traces, the four traces of both sets holding 250,000 points each from 150 kHz on.
struct FullChart {
    QWidget window;
    MainChart chart{&window};

    FullChart()
    {
        chart.chart->resize(1000, 520);
        TChartAxis& bottom = *chart.chart->BottomAxis();
        bottom.SetAutomatic(false);
        bottom.SetLogarithmic(true);
        bottom.SetRange(150, 1000150);
        TChartAxis& left = *chart.chart->LeftAxis();
        left.SetAutomatic(false);
        left.SetRange(0, 100);
        std::vector<double> xs, ys;
        for (int i = 0; i < kTracePoints; ++i) {
            xs.push_back(150 + i * 4);
            ys.push_back(i % 400 == 0 ? 62.0 : 20.0 + (i * 7919 % 97) / 10.0);
        }
        for (TCustomSeries* s : {chart.Series(SeriesRole::rawTrace1), chart.Series(SeriesRole::rawTrace2)}) {
            TChartSeries::UpdateScope hold(*s);
            s->AddPointsXY(xs, ys);
        }
        for (TCustomSeries* s :
             {chart.Series(SeriesRole::correctedTrace1), chart.Series(SeriesRole::correctedTrace2)}) {
            TChartSeries::UpdateScope hold(*s);
            s->AddPointsXY(xs, ys, clLime);
        }
        chart.chart->RepaintNow();
    }
    static constexpr int kTracePoints = 250000;
};

// What the window does after each segment: the chart drawn anew (RepaintChart), with the
// segment's 601 points just added to the raw and corrected trace of set 1.
void BM_MainChartRepaintAfterASegment(benchmark::State& st)
{
    FullChart f;
    std::vector<double> xs(601), ys(601, 40.0);
    for (auto _ : st) {
        st.PauseTiming();
        for (size_t i = 0; i < xs.size(); ++i)
            xs[i] = 1000154 + 4.0 * static_cast<double>(i);
        f.chart.Series(SeriesRole::rawTrace1)->AddPointsXY(xs, ys);
        f.chart.Series(SeriesRole::correctedTrace1)->AddPointsXY(xs, ys, clLime);
        st.ResumeTiming();
        f.chart.chart->RepaintNow();
        st.PauseTiming();
        f.chart.Series(SeriesRole::rawTrace1)->DeleteRange(FullChart::kTracePoints, 601);
        f.chart.Series(SeriesRole::correctedTrace1)->DeleteRange(FullChart::kTracePoints, 601);
        st.ResumeTiming();
    }
    st.counters["points"] = 4.0 * FullChart::kTracePoints;
}
BENCHMARK(BM_MainChartRepaintAfterASegment)->Unit(benchmark::kMillisecond);

// The program's own time per segment at the end of a long trace: decoding the answer, the
// correction pass with the peak listing, and the repaint of the chart holding 4 x 250,000 points.
void BM_SegmentWithTheRepaintOfAFullChart(benchmark::State& st)
{
    FullChart f;
    Engine e;
    e.series[SeriesRole::rawTrace1] = f.chart.Series(SeriesRole::rawTrace1);
    e.series[SeriesRole::correctedTrace1] = f.chart.Series(SeriesRole::correctedTrace1);
    VirtualEventPump pump;
    CorrectionPass pass{e.state, e.series, e.switches, e.messages, e.debug, e.host, pump};
    SetTraces set{*f.chart.Series(SeriesRole::rawTrace1), *f.chart.Series(SeriesRole::correctedTrace1), clLime,
                  e.limit, 6.0, e.peaks};
    const QByteArray answer = DsaAnswer();
    const int64_t startHz = 1000154000;
    const tracecodec::Grid grid = tracecodec::TraceGrid(startHz, startHz + 2404000, 601);
    std::vector<tracecodec::Point> points;
    std::vector<double> xs(601), ys(601);
    // The run's results hold what the chart's set-1 traces show, as its first segment.
    SegmentResults results;
    const TChartSeries& shown = *f.chart.Series(SeriesRole::rawTrace1);
    CorrectPoints(pass, set, results, 1, shown.XValues().Values(), shown.YValues().Values());
    for (auto _ : st) {
        DecodeSegment(answer, grid, points, xs, ys);
        CorrectPoints(pass, set, results, 2, xs, ys);
        f.chart.chart->RepaintNow();
        st.PauseTiming();
        e.peaks.Clear();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_SegmentWithTheRepaintOfAFullChart)->Unit(benchmark::kMillisecond);

// A point of a zero-span segment as it comes, after a raw trace of 250,000 points on the chart
// holding 4 x 250,000: shown on the raw trace (0), and with the chart drawn anew (1), which the
// run does for the first point and then at most every 250 ms, not for every point.
void BM_PointAsItComesOnAFullChart(benchmark::State& st)
{
    FullChart f;
    Engine e;
    VirtualEventPump pump;
    CorrectionPass pass{e.state, e.series, e.switches, e.messages, e.debug, e.host, pump};
    SetTraces set{*f.chart.Series(SeriesRole::rawTrace1), *f.chart.Series(SeriesRole::correctedTrace1), clLime,
                  e.limit, 6.0, e.peaks};
    SegmentResults results;
    const TChartSeries& shown = *f.chart.Series(SeriesRole::rawTrace1);
    CorrectPoints(pass, set, results, 1, shown.XValues().Values(), shown.YValues().Values());
    std::vector<double> xs, ys;
    for (auto _ : st) {
        if (xs.size() == 601) {
            st.PauseTiming();
            results.DropComing(set);
            xs.clear();
            ys.clear();
            st.ResumeTiming();
        }
        xs.push_back(1000154 + 4.0 * static_cast<double>(xs.size()));
        ys.push_back(40);
        results.ShowComing(set, 2, xs, ys);
        if (st.range(0) == 1)
            f.chart.chart->RepaintNow();
    }
}
BENCHMARK(BM_PointAsItComesOnAFullChart)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The picture a segment's mail carries: the main chart holding 4 x 250,000 points and both limit
// lines drawn at 800 x 300, compressed and written as ChartImage.jpg.
void BM_SaveChartJpegOfAFullChart(benchmark::State& st)
{
    FullChart f;
    std::vector<double> xs, ys;
    for (double x = 150; x <= 1000150; x *= 1.01) {
        xs.push_back(x);
        ys.push_back(66.0 - 10.0 * std::log10(x / 150.0));
    }
    for (TCustomSeries* s : {f.chart.Series(SeriesRole::limitLine1), f.chart.Series(SeriesRole::limitLine2)}) {
        TChartSeries::UpdateScope hold(*s);
        s->AddPointsXY(xs, ys);
    }
    QTemporaryDir folder;
    for (auto _ : st) {
        QString error;
        if (!SaveChartJpeg(*f.chart.chart, folder.path(), &error))
            st.SkipWithError(error.toStdString().c_str());
    }
}
BENCHMARK(BM_SaveChartJpegOfAFullChart)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
