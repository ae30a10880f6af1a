#include "instrument/visa/MessageFramer.h"

#include <algorithm>

void MessageFramer::Reset()
{
    state_ = State::Start;
    digitsLeft_ = 0;
    blockLeft_ = 0;
}

size_t MessageFramer::Scan(const uint8_t* data, size_t size, bool* end)
{
    *end = false;
    size_t i = 0;
    while (i < size) {
        const uint8_t c = data[i];
        switch (state_) {
        case State::Start:
            state_ = c == '#' ? State::BlockDigitCount : State::Text;
            if (c == '#') {
                ++i;
                continue;
            }
            continue; // the byte is looked at again as text
        case State::Text:
            ++i;
            if (c == '\n') {
                Reset();
                *end = true;
                return i;
            }
            continue;
        case State::BlockDigitCount:
            if (c >= '1' && c <= '9') {
                digitsLeft_ = c - '0';
                blockLeft_ = 0;
                state_ = State::BlockLength;
                ++i;
            } else {
                // "#0" or a "#" that opens no block: the answer ends at the line feed.
                state_ = State::Text;
                if (c == '0')
                    ++i;
            }
            continue;
        case State::BlockLength:
            if (c < '0' || c > '9') {
                state_ = State::Text; // malformed header: fall back to the line end
                continue;
            }
            blockLeft_ = blockLeft_ * 10 + static_cast<uint64_t>(c - '0');
            ++i;
            if (--digitsLeft_ == 0)
                state_ = blockLeft_ > 0 ? State::BlockData : State::Text;
            continue;
        case State::BlockData: {
            const size_t take = static_cast<size_t>(std::min<uint64_t>(blockLeft_, size - i));
            i += take;
            blockLeft_ -= take;
            if (blockLeft_ == 0)
                state_ = State::Text;
            continue;
        }
        }
    }
    return i;
}
