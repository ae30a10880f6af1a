#ifndef ZENDRIK_TOOLS_SIM_SIMTRACES_H
#define ZENDRIK_TOOLS_SIM_SIMTRACES_H

#include <QByteArray>
#include <vector>

class SimInstrument;

// The trace answers of each family, from the current settings and spectrum.
namespace simtrace {

// IEEE 488.2 definite-length block: "#", the digit count, the length, the data. digits 0 takes
// as few as the length needs; lengthDelta makes the header lie (fault injection).
QByteArray Block(const QByteArray& data, int digits, int lengthDelta = 0);
// 32-bit IEEE floats, in the byte order asked for.
QByteArray Floats(const std::vector<double>& values, bool bigEndian);
// Siglent fixed-width texts: SSA 16 characters and a comma each; SVA 13 characters separated by
// commas. No line end.
QByteArray SiglentAscii(const std::vector<double>& values, bool sva);
// Comma-separated values with two decimals. No line end.
QByteArray CommaList(const std::vector<double>& values);

// The answer to ":TRAC:DATA?" (with or without an argument) without the line end.
QByteArray TraceAnswer(SimInstrument& inst);

} // namespace simtrace

#endif
