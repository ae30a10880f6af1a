// The coverage view's hot paths. One logging tick with an analyser that answers at once and
// reports a sweep time of 0, an NMEA receiver that answers at once, the three level series
// holding 10,000 points and three correction curves of up to 1.5 million points: the tick's own time (the
// fixed 50 ms settling waits pass on a virtual clock), including the appended table line.
// And the KML file of three tracks of 10,000 points each, written to disk.
#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "chart/engine/ChartSeries.h"
#include "coverage/CoverageView.h"
#include "coverage/KmlTracks.h"
#include "datafiles/TableBuffer.h"
#include "instrument/DeviceState.h"
#include "instrument/GpsReceiver.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"
#include "tools/sim/NmeaReceiver.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct QuietHost final : CoverageHost {
    void StartTimer(int) override { }
    void StopTimer() override { }
    void ShowError(const QString&) override { }
    bool ConfirmOkCancel(const QString&) override { return false; }
    void Beep(int, int) override { }
};

constexpr int kLevelPoints = 10000;

void BM_CoverageTick(benchmark::State& state)
{
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c {visa, device, options, debug, messages, pump, status};
    GpsReceiverState gps;
    TableBuffer tables;
    QuietHost host;
    QTemporaryDir dir;

    auto backEnd = std::make_unique<BuiltinVisaBackEnd>();
    BuiltinVisaBackEnd* b = backEnd.get();
    LoadVisaLibrary(visa, debug, std::move(backEnd));
    auto analyser = std::make_shared<ScriptedPeer>();
    analyser->chunk = 1 << 20;
    analyser->respond = [](const QByteArray& m) -> QByteArray {
        if (m.startsWith(":SENS:SWE:TIME?"))
            return "0\n";
        return m.startsWith(":CALC:MARK1:Y?") ? QByteArray("-63.25\n") : QByteArray();
    };
    auto receiver = std::make_shared<ScriptedPeer>();
    receiver->chunk = 1 << 20;
    receiver->respond = [](const QByteArray& m) -> QByteArray {
        return m.startsWith("$GPGPQ")
            ? NmeaReceiver::Sentence("GPRMC,093005.00,A,4808.1234,N,01134.5678,E,10.0,90.0,140326,,,A")
            : QByteArray();
    };
    visa.VisaLibrary->viOpenDefaultRM(&visa.VisaResourceManager);
    b->OpenWithTransport(visa.VisaResourceManager, "TCPIP0::fake::INSTR",
        std::make_unique<ScriptedTransport>(analyser), &visa.VisaSession);
    visa.VisaLibrary->viOpenDefaultRM(&visa.GpsResourceManager);
    b->OpenWithTransport(visa.GpsResourceManager, "ASRL1::INSTR",
        std::make_unique<ScriptedTransport>(receiver), &visa.GpsSession);
    device.DeviceFamily = dfRigol;
    device.DeviceModel = 815;
    device.DeviceConnected = true;
    gps.GpsConnected = true;

    CoverageView view(c, gps, tables, host, dir.path());
    // Correction curves on the 4 kHz grid as loaded tables give them: cable and amplifier from
    // 9 kHz to 6 GHz (1.5 million points each), antenna from 30 MHz to 1 GHz.
    const auto fill = [](TChartSeries& s, double fromKhz, double toKhz, double base) {
        std::vector<double> xs, ys;
        for (double k = fromKhz; k < toKhz; k += 4) {
            xs.push_back(k);
            ys.push_back(base + k * 1e-6);
        }
        s.AddPointsXY(xs, ys);
    };
    fill(view.Chart().Cable, 9, 6e6, -0.1);
    fill(view.Chart().Amplifier, 9, 6e6, 20);
    fill(view.Chart().Antenna, 30e3, 1e6, 10);
    for (TChartSeries& s : view.Chart().Level)
        for (int i = 0; i < kLevelPoints; ++i)
            s.AddPointXY(i, -70.0 + (i % 50) * 0.1);
    view.LatchPointsChanged("0");

    for (auto _ : state) {
        view.Tick();
        // Back to 10,000 points, so that every tick measures.
        for (TChartSeries& s : view.Chart().Level)
            s.Delete(s.Count() - 1);
    }
    if (view.Globals().CoverageIndex != static_cast<int32_t>(state.iterations())
        || view.Fields().Level[2].isEmpty())
        state.SkipWithError("the ticks did not log");
    state.counters["virtual_ms_per_tick"]
        = static_cast<double>(pump.TickCount()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CoverageTick)->Unit(benchmark::kMillisecond);

void BM_KmlWriteThreeTracks(benchmark::State& state)
{
    QTemporaryDir dir;
    KmlTracks prepared;
    prepared.BeginTracks("140000000Hz", "146000000Hz", "148000000Hz");
    for (int i = 0; i < kLevelPoints; ++i) {
        const QString lon = QString::number(11.5 + i * 1e-5, 'f', 10);
        const QString lat = QString::number(48.1 + i * 1e-5, 'f', 10);
        for (int t = KmlTracks::A; t <= KmlTracks::C; ++t)
            prepared.AddPoint(static_cast<KmlTracks::Track>(t), lon, lat,
                QString::number(-60.0 - t - (i % 40) * 0.25, 'f', 2));
    }
    for (auto _ : state) {
        state.PauseTiming();
        KmlTracks k = prepared;
        QFile::remove(dir.filePath("out/out_stamp.kml"));
        state.ResumeTiming();
        const KmlTracks::WriteResult r = k.WriteFile(dir.path(), "stamp");
        if (!r.Written) {
            state.SkipWithError("the file was not written");
            break;
        }
    }
}
BENCHMARK(BM_KmlWriteThreeTracks)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
