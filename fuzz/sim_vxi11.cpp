// The simulator's VXI-11 server as a peer on the LAN reaches it: record-marked ONC RPC calls on
// the core channel (or the abort channel), served without a socket.
#include "fuzz/FuzzSupport.h"
#include "tools/sim/SimFamily.h"
#include "tools/sim/SimInstrument.h"
#include "tools/sim/SimVxi11Server.h"

namespace {

uint32_t At(const QByteArray& b, qsizetype i)
{
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + i);
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureGuiApplication();
    fuzz::FuzzInput in(data, size);
    const bool abortChannel = (in.Byte() & 0x80) != 0;
    SimInstrument inst(SimFamilies().front(), 1, 0.001);
    SimVxi11Server server(inst, 0x0607AF, 1);
    const QByteArray out = server.ServeStream(in.Rest(), abortChannel);

    // Every reply is one whole record: a last-fragment mark and the length that follows.
    qsizetype at = 0;
    while (at < out.size()) {
        fuzz::Check(out.size() - at >= 4, "a reply starts with its record mark");
        const uint32_t mark = At(out, at);
        fuzz::Check((mark & 0x80000000u) != 0, "a reply is one fragment");
        const qsizetype len = static_cast<qsizetype>(mark & 0x7FFFFFFFu);
        fuzz::Check(len >= 24 && out.size() - at - 4 >= len, "a reply holds its header and its length");
        at += 4 + len;
    }
    return 0;
}
