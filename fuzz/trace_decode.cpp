// The trace decoders: IEEE 488.2 blocks of floats and comma lists, on random point counts and
// grids, alone and behind the three trace readers of the instrument layer.
#include "fuzz/FuzzSupport.h"
#include "fuzz/ScriptedInstrument.h"
#include "instrument/TraceTransfer.h"
#include "instrument/protocol/LevelOffsets.h"

#include <cmath>
#include <cstring>

namespace {

int64_t Signed64(fuzz::FuzzInput& in)
{
    const uint64_t v = uint64_t(in.U32()) << 32 | in.U32();
    int64_t s = 0;
    std::memcpy(&s, &v, sizeof s);
    return s;
}

// Mostly plausible point counts, sometimes anything at all.
int32_t PointCount(fuzz::FuzzInput& in)
{
    const uint8_t how = in.Byte();
    const uint32_t raw = in.U32();
    if (how < 200)
        return static_cast<int32_t>(raw % 4096);
    int32_t v = 0;
    std::memcpy(&v, &raw, sizeof v);
    return v;
}

void CheckPoints(const std::vector<tracecodec::Point>& points)
{
    for (const tracecodec::Point& p : points)
        fuzz::Check(std::isfinite(p.y) && !std::isnan(p.x), "trace levels are numbers");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    const uint8_t mode = in.Byte() % 5;
    const int32_t points = PointCount(in);
    const int64_t startHz = Signed64(in);
    const int64_t stopHz = Signed64(in);
    const bool bigEndian = in.Flag();
    const QByteArray answer = in.Rest();

    std::vector<tracecodec::Point> decoded;
    switch (mode) {
    case 0: {
        const tracecodec::Grid grid = tracecodec::TraceGrid(startHz, stopHz, points);
        const TraceStatus st = tracecodec::DecodeBinary(answer, answer.size(), points, bigEndian,
                                                        kBinaryLevelDbmToDbuv, grid, &decoded);
        fuzz::Check(st != TraceStatus::Complete || static_cast<int64_t>(decoded.size()) == points,
                    "a complete block gives every point");
        fuzz::Check(st != TraceStatus::WrongSize || decoded.empty(), "a wrong size decodes nothing");
        CheckPoints(decoded);
        break;
    }
    case 1: {
        const tracecodec::Grid grid = tracecodec::ScanGrid(startHz, stopHz, points);
        const qsizetype scan = static_cast<qsizetype>(static_cast<uint32_t>(points) % (answer.size() + 2));
        const TraceStatus st = tracecodec::DecodeCommaList(answer, scan, 0.0, grid, &decoded);
        fuzz::Check(st != TraceStatus::Complete ||
                        static_cast<qsizetype>(decoded.size()) == answer.left(scan).count(','),
                    "a complete list gives a point per comma");
        CheckPoints(decoded);
        break;
    }
    default: {
        // The readers with the point count of the identified device (from the settings file for
        // some families) and the answer the analyser gave.
        ScriptedInstrument s;
        s.device.DeviceConnected = true;
        s.device.TracePoints = points;
        // Each reader with the family that asks for its format.
        s.device.DeviceFamily = mode == 2 ? dfRigol : mode == 3 ? dfSiglent : dfRsFpc;
        s.device.DeviceModel = bigEndian ? AnalyserKind::kRigolRsaModel : 815;
        s.device.SiglentSeries = bigEndian ? ssSva : ssSsa;
        s.Answer(answer);
        TraceReadResult r;
        if (mode == 2)
            r = ReadTraceVisaBinary(s.c, startHz, stopHz);
        else if (mode == 3)
            r = ReadTraceVisaAscii(s.c, startHz, stopHz);
        else
            r = ReadReceiverScan(s.c, startHz, stopHz);
        CheckPoints(r.Points);
        fuzz::Check(r.Status != TraceStatus::WrongSize || (!s.device.DeviceConnected && r.Points.empty()),
                    "a wrong size disconnects the device and gives no point");
        break;
    }
    }
    return 0;
}
