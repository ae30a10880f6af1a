#ifndef ZENDRIK_INSTRUMENT_TRACETRANSFER_H
#define ZENDRIK_INSTRUMENT_TRACETRANSFER_H

#include "instrument/ScpiContext.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

struct AnalyserKind;

// The outcome of one trace transfer.
enum class TraceStatus {
    Complete,     // every value became a point
    WrongSize,    // the answer had the wrong number of bytes (or no block header)
    NotANumber,   // a binary value is no number, or an ASCII value text is none
    OutOfRange,   // a level no analyser can report (below -200 or above +200 dBm)
    ReadFailed,   // the receiver scan's read failed: no points, the device stays connected
    LinkLost,     // the link to the analyser is gone: no points, no line (the caller says it),
                  // and the device no longer counts as connected
    Stopped,      // Stop ended the wait for the answer: no points, no line
};

// Decoding of trace answers, apart from the reading so that it can be tested and measured on its
// own. X values are kHz: the start rounded to whole kHz, advanced by the step per value, each
// point at the running X rounded (halves to even). The decoders stop at a bad value with the
// points before it; the readers keep none of them, since half a trace would list its peaks as if
// the segment had been measured.
namespace tracecodec {

struct Point {
    double x;
    double y;
};

struct Grid {
    double startX = 0; // kHz, whole
    double stepKhz = 0;
};

// The grid of the binary and Siglent readers: an analyser lays its points from the start to the
// stop frequency, so the step is span / 1000 / (points - 1) kHz.
Grid TraceGrid(int64_t startHz, int64_t stopHz, int32_t tracePoints);
// The grid of the receiver scan: (whole Hz of span / points) + 1 Hz.
Grid ScanGrid(int64_t startHz, int64_t stopHz, int32_t tracePoints);

// IEEE 488.2 block of 32-bit floats: "#", n, n length digits, then tracePoints values from byte
// n + 2. expectedSize is the whole answer with its line end; another size, no "#" and digit, or
// length digits that do not count the data bytes received is WrongSize. Levels are dBuV once
// levelOffset is added; one no analyser reports is OutOfRange, and goes to badLevel when given.
TraceStatus DecodeBinary(const QByteArray& answer, qsizetype expectedSize, int32_t tracePoints, bool bigEndian,
                         double levelOffset, const Grid& grid, std::vector<Point>* points,
                         double* badLevel = nullptr);
// Comma-separated decimal texts; a value is taken at each comma of the first scanLength bytes.
// Text after the last comma is not a value.
TraceStatus DecodeCommaList(const QByteArray& text, qsizetype scanLength, double levelOffset, const Grid& grid,
                            std::vector<Point>* points, double* badLevel = nullptr);

} // namespace tracecodec

// What a reader got: the decoded points in order, none unless the trace is Complete.
struct TraceReadResult {
    TraceStatus Status = TraceStatus::Complete;
    std::vector<tracecodec::Point> Points;
    int Received = 0; // bytes of the answer

    int Count() const { return static_cast<int>(Points.size()); }
};

// The three readers: one read of the trace answer, size check, decoding into points in order.
// A wrong size logs "Error: Visa RD Error Maxsample" and counts the device as disconnected. A
// level no analyser can report logs "Error: the analyser sent a level of 1e+308 dBm; the trace is
// refused", a value that is no number a line of its own; both leave the device connected. The
// receiver scan has no size check: a failed read gives no point and logs the error, and the
// device stays connected. A lost link is LinkLost for all three, a read that Stop ended Stopped.
TraceReadResult ReadTraceVisaBinary(ScpiContext& c, int64_t startHz, int64_t stopHz);
TraceReadResult ReadTraceVisaAscii(ScpiContext& c, int64_t startHz, int64_t stopHz);
TraceReadResult ReadReceiverScan(ScpiContext& c, int64_t startHz, int64_t stopHz);

// The byte order of Rigol binary traces from the model (an RSA always sends big-endian), the
// settings file's "Invert_IEEE" and the firmware.
bool RigolTraceBigEndian(const AnalyserKind& kind, int32_t optInvertIeee, bool rigolFloatBigEndian);

#endif
