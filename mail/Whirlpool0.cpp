#include "mail/Whirlpool0.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

// The S-box of the 2000 revision, row by row.
constexpr std::array<uint8_t, 256> kSbox = {
    0x68, 0xd0, 0xeb, 0x2b, 0x48, 0x9d, 0x6a, 0xe4, 0xe3, 0xa3, 0x56, 0x81, 0x7d, 0xf1, 0x85, 0x9e,
    0x2c, 0x8e, 0x78, 0xca, 0x17, 0xa9, 0x61, 0xd5, 0x5d, 0x0b, 0x8c, 0x3c, 0x77, 0x51, 0x22, 0x42,
    0x3f, 0x54, 0x41, 0x80, 0xcc, 0x86, 0xb3, 0x18, 0x2e, 0x57, 0x06, 0x62, 0xf4, 0x36, 0xd1, 0x6b,
    0x1b, 0x65, 0x75, 0x10, 0xda, 0x49, 0x26, 0xf9, 0xcb, 0x66, 0xe7, 0xba, 0xae, 0x50, 0x52, 0xab,
    0x05, 0xf0, 0x0d, 0x73, 0x3b, 0x04, 0x20, 0xfe, 0xdd, 0xf5, 0xb4, 0x5f, 0x0a, 0xb5, 0xc0, 0xa0,
    0x71, 0xa5, 0x2d, 0x60, 0x72, 0x93, 0x39, 0x08, 0x83, 0x21, 0x5c, 0x87, 0xb1, 0xe0, 0x00, 0xc3,
    0x12, 0x91, 0x8a, 0x02, 0x1c, 0xe6, 0x45, 0xc2, 0xc4, 0xfd, 0xbf, 0x44, 0xa1, 0x4c, 0x33, 0xc5,
    0x84, 0x23, 0x7c, 0xb0, 0x25, 0x15, 0x35, 0x69, 0xff, 0x94, 0x4d, 0x70, 0xa2, 0xaf, 0xcd, 0xd6,
    0x6c, 0xb7, 0xf8, 0x09, 0xf3, 0x67, 0xa4, 0xea, 0xec, 0xb6, 0xd4, 0xd2, 0x14, 0x1e, 0xe1, 0x24,
    0x38, 0xc6, 0xdb, 0x4b, 0x7a, 0x3a, 0xde, 0x5e, 0xdf, 0x95, 0xfc, 0xaa, 0xd7, 0xce, 0x07, 0x0f,
    0x3d, 0x58, 0x9a, 0x98, 0x9c, 0xf2, 0xa7, 0x11, 0x7e, 0x8b, 0x43, 0x03, 0xe2, 0xdc, 0xe5, 0xb2,
    0x4e, 0xc7, 0x6d, 0xe9, 0x27, 0x40, 0xd8, 0x37, 0x92, 0x8f, 0x01, 0x1d, 0x53, 0x3e, 0x59, 0xc1,
    0x4f, 0x32, 0x16, 0xfa, 0x74, 0xfb, 0x63, 0x9f, 0x34, 0x1a, 0x2a, 0x5a, 0x8d, 0xc9, 0xcf, 0xf6,
    0x90, 0x28, 0x88, 0x9b, 0x31, 0x0e, 0xbd, 0x4a, 0xe8, 0x96, 0xa6, 0x0c, 0xc8, 0x79, 0xbc, 0xbe,
    0xef, 0x6e, 0x46, 0x97, 0x5b, 0xed, 0x19, 0xd9, 0xac, 0x99, 0xa8, 0x29, 0x64, 0x1f, 0xad, 0x55,
    0x13, 0xbb, 0xf7, 0x6f, 0xb9, 0x47, 0x2f, 0xee, 0xb8, 0x7b, 0x89, 0x30, 0xd3, 0x7f, 0x76, 0x82};

// First row of the circulant diffusion matrix of the 2000 revision.
constexpr std::array<uint8_t, 8> kMatrixRow = {0x01, 0x01, 0x03, 0x01, 0x05, 0x08, 0x09, 0x05};

constexpr int kRounds = 10;

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x^2 + 1.
constexpr uint8_t GfMul(uint8_t a, uint8_t b)
{
    unsigned product = 0;
    unsigned x = a;
    for (; b; b >>= 1) {
        if (b & 1)
            product ^= x;
        x <<= 1;
        if (x & 0x100)
            x ^= 0x11D;
    }
    return static_cast<uint8_t>(product);
}

constexpr uint64_t RotateRight(uint64_t v, unsigned bits) { return bits ? (v >> bits) | (v << (64 - bits)) : v; }

// A row of the 8 x 8 state is held as a 64-bit word with column 0 in the top byte. Substitution,
// the column shift and the matrix product of one input byte fold into one table look-up:
// column[k][x] is the contribution of byte x standing in column k.
struct Tables {
    std::array<std::array<uint64_t, 256>, 8> column{};
    std::array<uint64_t, kRounds> roundConstant{};
};

constexpr Tables MakeTables()
{
    Tables t;
    for (unsigned x = 0; x < 256; ++x) {
        uint64_t row = 0;
        for (unsigned j = 0; j < 8; ++j)
            row = (row << 8) | GfMul(kSbox[x], kMatrixRow[j]);
        for (unsigned k = 0; k < 8; ++k)
            t.column[k][x] = RotateRight(row, 8 * k);
    }
    for (int r = 0; r < kRounds; ++r) {
        uint64_t c = 0;
        for (int j = 0; j < 8; ++j)
            c = (c << 8) | kSbox[static_cast<size_t>(8 * r + j)];
        t.roundConstant[static_cast<size_t>(r)] = c;
    }
    return t;
}

constexpr Tables kTables = MakeTables();

using State = std::array<uint64_t, 8>;

// One round: substitution, column shift (column j moves down by j rows), diffusion, key addition.
State Round(const State& a, const State& key)
{
    State out;
    for (unsigned i = 0; i < 8; ++i) {
        uint64_t v = key[i];
        for (unsigned k = 0; k < 8; ++k) {
            const uint64_t row = a[(i - k) & 7];
            v ^= kTables.column[k][(row >> (56 - 8 * k)) & 0xFF];
        }
        out[i] = v;
    }
    return out;
}

void Compress(State& hash, const uint8_t* block)
{
    State m;
    for (size_t i = 0; i < 8; ++i) {
        uint64_t v = 0;
        for (size_t j = 0; j < 8; ++j)
            v = (v << 8) | block[8 * i + j];
        m[i] = v;
    }
    State key = hash;
    State state;
    for (size_t i = 0; i < 8; ++i)
        state[i] = m[i] ^ key[i];
    for (int r = 0; r < kRounds; ++r) {
        const State constant = {kTables.roundConstant[static_cast<size_t>(r)], 0, 0, 0, 0, 0, 0, 0};
        key = Round(key, constant);
        state = Round(state, key);
    }
    for (size_t i = 0; i < 8; ++i)
        hash[i] ^= state[i] ^ m[i];
}

} // namespace

QByteArray Whirlpool0(const QByteArray& message)
{
    State hash{};
    const auto* data = reinterpret_cast<const uint8_t*>(message.constData());
    const size_t size = static_cast<size_t>(message.size());
    size_t done = 0;
    for (; size - done >= 64; done += 64)
        Compress(hash, data + done);

    // 0x80, zeros up to 32 bytes before a block end, then the bit length as 256-bit big-endian.
    std::array<uint8_t, 128> tail{};
    const size_t rest = size - done;
    for (size_t i = 0; i < rest; ++i)
        tail[i] = data[done + i];
    tail[rest] = 0x80;
    const size_t tailSize = rest < 32 ? 64 : 128;
    // A QByteArray holds under 2^31 bytes, so the bit count fits in the low 64 bits.
    const uint64_t bits = static_cast<uint64_t>(size) * 8;
    for (size_t i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = static_cast<uint8_t>(bits >> (8 * i));
    for (size_t off = 0; off < tailSize; off += 64)
        Compress(hash, tail.data() + off);

    QByteArray digest(64, Qt::Uninitialized);
    for (size_t i = 0; i < 8; ++i) {
        for (size_t j = 0; j < 8; ++j)
            digest[static_cast<qsizetype>(8 * i + j)] = static_cast<char>(hash[i] >> (56 - 8 * j));
    }
    return digest;
}
