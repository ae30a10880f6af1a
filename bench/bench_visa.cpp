// Trace queries through our VISA layer against the simulator on loopback: 1,000 queries of a
// 751-point trace over VXI-11 and over the raw socket, as ASCII (Siglent, 12,768 bytes) and as
// a binary block (3,013 bytes). The time per query includes the simulator computing the trace.
#include "app/Log.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "instrument/visa/Vxi11Transport.h"
#include "tools/sim/Simulator.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
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

// A short query for comparison: what the link itself costs per round trip.
void BM_IdnQuery(benchmark::State& st)
{
    Bench b;
    if (!b.Open(static_cast<LinkKind>(st.range(0)), kAscii)) {
        st.SkipWithError(b.error.toStdString().c_str());
        return;
    }
    for (auto _ : st) {
        VisaWriteString(b.state, b.debug, "*IDN?");
        if (VisaReadReply(b.state, "").isEmpty()) {
            st.SkipWithError("no answer");
            return;
        }
    }
    st.SetLabel(st.range(0) == kSocket ? "raw socket" : "VXI-11");
}

BENCHMARK(BM_IdnQuery)->Arg(kSocket)->Arg(kVxi11)->ArgName("link")->Iterations(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the simulator's thread runs a Qt event loop
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
