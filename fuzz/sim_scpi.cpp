// The simulator's SCPI parser and command table, which face whoever connects to its ports: each
// line of the input is one program message to an analyser of the chosen family.
#include "fuzz/FuzzSupport.h"
#include "tools/sim/SimFamily.h"
#include "tools/sim/SimInstrument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const QList<SimFamily>& families = SimFamilies();
    SimInstrument inst(families.at(in.Byte() % families.size()), 1, 0.001);
    int messages = 0;
    while (!in.Empty() && messages++ < 64) {
        const bool answerUnread = in.Flag();
        const SimReply reply = inst.Execute(in.Until('\n'), QStringLiteral("tcp"), answerUnread);
        fuzz::Check(reply.bytes.isEmpty() || reply.bytes.endsWith('\n'), "an answer ends with its line end");
    }
    return 0;
}
