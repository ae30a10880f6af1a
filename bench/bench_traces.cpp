// Trace decoding: 1,000 answers of 751 and of 100,001 points, as binary blocks (32-bit floats)
// and as Siglent fixed-width texts; decoding alone, and the whole reader (one read over a
// scripted transport, decoding, points added to a chart series).
#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "chart/engine/ChartSeries.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/TraceTransfer.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <benchmark/benchmark.h>
#include <bit>
#include <cmath>
#include <charconv>

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
        const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<double>(f) - 106.98,
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
        tracecodec::DecodeCommaList(text, text.size() - 1, 106.98, grid, &points);
        benchmark::DoNotOptimize(points.data());
    }
    st.counters["points/s"] = benchmark::Counter(static_cast<double>(n) * st.iterations(), benchmark::Counter::kIsRate);
}

// The whole reader: the answer comes through the VISA session, the points go into a series.
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
    device.SiglentSeries = 1;
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
        const TraceReadResult r = binary ? ReadTraceVisaBinary(c, series, clDefault, 150000, 1000000000)
                                         : ReadTraceVisaAscii(c, series, clDefault, 150000, 1000000000);
        if (r.Added != n) {
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

BENCHMARK_MAIN();
