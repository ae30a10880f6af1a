// Trace queries through our VISA layer against the simulator on loopback: 1,000 queries of a
// 751-point trace over VXI-11 and over the raw socket, as ASCII (Siglent, 12,768 bytes) and as
// a binary block (3,013 bytes). The time per query includes the simulator computing the trace.
#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "chart/engine/ChartSeries.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/TraceTransfer.h"
#include "instrument/protocol/LevelOffsets.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VisaSession.h"
#include "instrument/visa/Vxi11Transport.h"
#include "measurement/TracePoints.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <bit>
#include <charconv>
#include <cmath>
#include <unistd.h>

namespace {

enum LinkKind { kSocket = 0, kVxi11 = 1 };
enum Format { kAscii = 0, kBinary = 1 };

struct Bench {
    std::unique_ptr<Simulator> sim;
    VisaState state;
    DebugLog debug;
    QString error;

    bool Open(LinkKind link, Format format)
    {
        SimulatorOptions o;
        o.family = format == kAscii ? "ssa3032x" : "rsa5065";
        o.timeScale = 0.001;
        BuiltinVisaOptions vo;
        if (link == kSocket) {
            o.tcpPort = 0;
        } else {
            o.vxi11 = true;
            o.vxi11Program = 0x40000000u | ((static_cast<uint32_t>(::getpid()) << 4) & 0x1FFFFFFFu);
            uint16_t pm = 0;
            // With rpcbind the lookup is part of the open; without it, go straight to the port.
            o.vxi11Register = LookupRpcPort("127.0.0.1", 100000, 2, 1000, &pm, nullptr);
            vo.vxi11.program = o.vxi11Program;
        }
        sim = std::make_unique<Simulator>(o);
        if (!sim->Start(&error))
            return false;
        if (link == kVxi11 && !o.vxi11Register)
            vo.vxi11.port = sim->Vxi11Port();
        LoadVisaLibrary(state, debug, std::make_unique<BuiltinVisaBackEnd>(vo));
        state.VisaLibrary->viOpenDefaultRM(&state.VisaResourceManager);
        const QByteArray rsrc = link == kSocket
                                    ? "TCPIP0::127.0.0.1::" + QByteArray::number(sim->TcpPort()) + "::SOCKET"
                                    : QByteArray("TCPIP0::127.0.0.1::INSTR");
        if (state.VisaLibrary->viOpen(state.VisaResourceManager, rsrc.constData(), 0, 0, &state.VisaSession) !=
            visa::VI_SUCCESS) {
            error = "viOpen failed for " + QString::fromLatin1(rsrc);
            return false;
        }
        if (format == kBinary) {
            ScpiWrite(state, debug, ":SENS:SWE:POIN 751");
            ScpiWrite(state, debug, ":FORM:TRACE:DATA REAL,32");
        }
        return true;
    }
    ~Bench() { CloseVisaSessions(state); }
};

void BM_TraceQuery(benchmark::State& st)
{
    const auto link = static_cast<LinkKind>(st.range(0));
    const auto format = static_cast<Format>(st.range(1));
    Bench b;
    if (!b.Open(link, format)) {
        st.SkipWithError(b.error.toStdString().c_str());
        return;
    }
    const QString query = format == kAscii ? ":TRACe:DATA? 1" : ":TRAC:DATA? TRACE1";
    const qsizetype expected = format == kAscii ? 751 * 17 + 1 : 751 * 4 + 9;
    QByteArray answer;
    int64_t bytes = 0;
    for (auto _ : st) {
        ScpiWrite(b.state, b.debug, query);
        const ViStatus s = VisaReadAnswer(b.state, b.state.VisaSession, 12800, &answer);
        if (s != visa::VI_SUCCESS || answer.size() != expected) {
            st.SkipWithError("wrong trace answer");
            return;
        }
        bytes += answer.size();
    }
    st.SetBytesProcessed(bytes);
    st.counters["bytes_per_query"] = static_cast<double>(expected);
    st.SetLabel(std::string(link == kSocket ? "raw socket" : "VXI-11") + (format == kAscii ? ", ASCII" : ", binary"));
}

BENCHMARK(BM_TraceQuery)
    ->ArgsProduct({{kSocket, kVxi11}, {kAscii, kBinary}})
    ->ArgNames({"link", "binary"})
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// A short query for comparison: what the link itself costs per round trip, and what waiting for
// it through the event pump (as a run does, the call on the helper thread) adds.
void BM_IdnQuery(benchmark::State& st)
{
    VirtualEventPump pump; // outlives the session, which waits through it
    Bench b;
    if (!b.Open(static_cast<LinkKind>(st.range(0)), kAscii)) {
        st.SkipWithError(b.error.toStdString().c_str());
        return;
    }
    if (st.range(1) == 1)
        b.state.Waits.Pump = &pump;
    for (auto _ : st) {
        VisaWriteString(b.state, b.debug, "*IDN?");
        if (VisaReadReply(b.state, "").isEmpty()) {
            st.SkipWithError("no answer");
            return;
        }
    }
    st.SetLabel(std::string(st.range(0) == kSocket ? "raw socket" : "VXI-11") + (st.range(1) == 1 ? ", pumped" : ""));
}

BENCHMARK(BM_IdnQuery)
    ->ArgsProduct({{kSocket, kVxi11}, {0, 1}})
    ->ArgNames({"link", "pumped"})
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

} // namespace

// Trace decoding: 1,000 answers of 751 and of 100,001 points, as binary blocks (32-bit floats)
// and as Siglent fixed-width texts; decoding alone, and the whole reader (one read over a
// scripted transport, decoding, points added to a chart series).
namespace {

std::vector<float> Levels(int n)
{
    std::vector<float> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<size_t>(i)] = static_cast<float>(30.0 + 20.0 * std::sin(i * 0.01));
    return v;
}

QByteArray BinaryBlock(int n)
{
    QByteArray data;
    data.reserve(n * 4);
    for (float f : Levels(n)) {
        const uint32_t bits = std::bit_cast<uint32_t>(f);
        for (int i = 0; i < 4; ++i)
            data.append(static_cast<char>(bits >> (24 - 8 * i)));
    }
    return "#9" + QByteArray::number(data.size()).rightJustified(9, '0') + data + "\n";
}

QByteArray SsaText(int n)
{
    QByteArray text;
    text.reserve(n * 17 + 1);
    char buf[32];
    for (float f : Levels(n)) {
        // Levels in dBm are negative here, so the text has the 16 characters of the format.
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(f) - kTextLevelDbmToDbuv,
                                     std::chars_format::scientific, 9);
        text.append(buf, r.ptr - buf);
        text += ',';
    }
    return text + "\n";
}

void BM_DecodeBinary(benchmark::State& st)
{
    const int n = static_cast<int>(st.range(0));
    const QByteArray block = BinaryBlock(n);
    const tracecodec::Grid grid = tracecodec::TraceGrid(150000, 1000000000, n);
    std::vector<tracecodec::Point> points;
    for (auto _ : st) {
        tracecodec::DecodeBinary(block, block.size(), n, true, 0.0, grid, &points);
        benchmark::DoNotOptimize(points.data());
    }
    st.counters["points/s"] = benchmark::Counter(static_cast<double>(n) * st.iterations(), benchmark::Counter::kIsRate);
}

void BM_DecodeSiglentText(benchmark::State& st)
{
    const int n = static_cast<int>(st.range(0));
    const QByteArray text = SsaText(n);
    const tracecodec::Grid grid = tracecodec::TraceGrid(150000, 1000000000, n);
    std::vector<tracecodec::Point> points;
    points.reserve(static_cast<size_t>(n));
    for (auto _ : st) {
        tracecodec::DecodeCommaList(text, text.size() - 1, kTextLevelDbmToDbuv, grid, &points);
        benchmark::DoNotOptimize(points.data());
    }
    st.counters["points/s"] = benchmark::Counter(static_cast<double>(n) * st.iterations(), benchmark::Counter::kIsRate);
}

// The whole reader: the answer comes through the VISA session, the engine puts the points into a
// series.
void BM_ReadTraceIntoSeries(benchmark::State& st)
{
    const int n = static_cast<int>(st.range(0));
    const bool binary = st.range(1) == 0;
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    device.DeviceFamily = binary ? dfRigol : dfSiglent;
    device.DeviceModel = binary ? 5000 : 0;
    device.SiglentSeries = ssSsa;
    device.TracePoints = n;
    auto peer = std::make_shared<ScriptedPeer>();
    peer->chunk = 1 << 22;
    auto backEnd = std::make_unique<BuiltinVisaBackEnd>();
    BuiltinVisaBackEnd* b = backEnd.get();
    LoadVisaLibrary(visa, debug, std::move(backEnd));
    visa.VisaLibrary->viOpenDefaultRM(&visa.VisaResourceManager);
    b->OpenWithTransport(visa.VisaResourceManager, "TCPIP0::bench::INSTR", std::make_unique<ScriptedTransport>(peer),
                         &visa.VisaSession);
    // The RSA's "#6" header: six length digits.
    QByteArray answer = binary ? BinaryBlock(n) : SsaText(n);
    if (binary)
        answer = "#6" + answer.mid(5);
    TChartSeries series;
    for (auto _ : st) {
        st.PauseTiming();
        series.Clear();
        peer->answers.push_back(answer);
        st.ResumeTiming();
        const TraceReadResult r = binary ? ReadTraceVisaBinary(c, 150000, 1000000000)
                                         : ReadTraceVisaAscii(c, 150000, 1000000000);
        if (AddTracePoints(series, clDefault, r) != n) {
            st.SkipWithError("trace not read whole");
            break;
        }
    }
    st.counters["points/s"] = benchmark::Counter(static_cast<double>(n) * st.iterations(), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_DecodeBinary)->Arg(751)->Arg(100001)->Iterations(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeSiglentText)->Arg(751)->Arg(100001)->Iterations(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTraceIntoSeries)
    ->Args({751, 0})
    ->Args({100001, 0})
    ->Args({751, 1})
    ->Args({100001, 1})
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the simulator's thread runs a Qt event loop
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
