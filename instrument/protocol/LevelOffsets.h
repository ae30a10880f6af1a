#ifndef ZENDRIK_INSTRUMENT_PROTOCOL_LEVELOFFSETS_H
#define ZENDRIK_INSTRUMENT_PROTOCOL_LEVELOFFSETS_H

// What is added to a level an analyser answers in dBm to give dBuV. The program adds it where a
// kind answers in dBm, the simulator takes it off, so that a level comes back exactly as it went
// out. Both ends include this header and nothing else of each other, and it includes nothing.

// A level answered as decimal text: a marker level, a value of a comma-separated trace.
inline constexpr double kTextLevelDbmToDbuv = 106.98;
// A level answered as a 32-bit float of a binary trace block.
inline constexpr double kBinaryLevelDbmToDbuv = 106.99;

#endif
