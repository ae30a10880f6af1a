#ifndef ZENDRIK_INSTRUMENT_VISA_MESSAGEFRAMER_H
#define ZENDRIK_INSTRUMENT_VISA_MESSAGEFRAMER_H

#include <cstddef>
#include <cstdint>

// Finds where an instrument answer ends on a byte stream that has no END marker of its own (raw
// socket, serial line): at a line feed, except inside an IEEE 488.2 definite-length block
// ("#", one digit n, n length digits, then that many bytes), whose binary data may hold 0x0A
// bytes and is therefore skipped by its length. "#0" (indefinite length) runs to the line feed.
class MessageFramer {
public:
    // Looks at the next bytes of the stream. Returns how many of them belong to the current
    // answer (all of them, or up to and including its last byte) and sets *end when the answer
    // ends there. The framer then starts on the next answer.
    size_t Scan(const uint8_t* data, size_t size, bool* end);
    // Forgets a partly seen answer (after input was discarded).
    void Reset();

private:
    enum class State { Start, Text, BlockDigitCount, BlockLength, BlockData };
    State state_ = State::Start;
    int digitsLeft_ = 0;
    uint64_t blockLeft_ = 0;
};

#endif
