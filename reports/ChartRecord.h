#ifndef ZENDRIK_REPORTS_CHARTRECORD_H
#define ZENDRIK_REPORTS_CHARTRECORD_H

#include <array>
#include <bit>
#include <cstdint>

// The one record of chart and compensation files: 24 bytes, little-endian, no padding, no file
// header. Coded byte by byte, so the layout on disk does not depend on the compiler's struct
// layout or the machine's byte order.
namespace chartfile {

inline constexpr int kRecordSize = 24;

inline constexpr int32_t kTagBottomAxis = -1;
inline constexpr int32_t kTagLeftAxis = -2;
inline constexpr int32_t kTagHeader = -3;
inline constexpr int32_t kTagCorrected1 = 7;
inline constexpr int32_t kTagCorrected2 = 9;
inline constexpr int32_t kTagCompensation1 = 26;
inline constexpr int32_t kTagCompensation2 = 29;
// The series a chart file carries (tag = series number), in the order they are written.
inline constexpr std::array<int32_t, 12> kChartFileSeries = {1, 7, 2, 3, 4, 5, 8, 9, 10, 11, 14, 15};

// A file of more records is refused before anything is read: the points of 50 million records
// already take 1.2 GB of memory, far beyond any trace an analyser delivers.
inline constexpr int64_t kMaxRecords = 50'000'000;
// An axis end beyond this, either way, is no range a chart was saved with: 10^12 kHz is beyond
// any frequency a table may name, and no level comes near it. A bigger one (1e308) leaves
// nothing of the traces to see. Points have the bounds of app/PlausibleRanges.h.
inline constexpr double kMaxAxisMagnitude = 1e12;
// The software identification of a chart file is 13 records; a longer text is cut here.
inline constexpr int kMaxHeaderChars = 256;

struct Record {
    int32_t Tag = 0;
    int32_t Index = 0;
    double X = 0.0; // frequency in kHz, axis minimum or a character code
    double Y = 0.0; // level, axis maximum or a character code
};

inline void EncodeRecord(const Record& r, unsigned char* out)
{
    const auto put = [&out](uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            *out++ = static_cast<unsigned char>(v >> (8 * i));
    };
    put(static_cast<uint32_t>(r.Tag), 4);
    put(static_cast<uint32_t>(r.Index), 4);
    put(std::bit_cast<uint64_t>(r.X), 8);
    put(std::bit_cast<uint64_t>(r.Y), 8);
}

inline Record DecodeRecord(const unsigned char* in)
{
    const auto get = [&in](int bytes) {
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint64_t{*in++} << (8 * i);
        return v;
    };
    Record r;
    r.Tag = static_cast<int32_t>(static_cast<uint32_t>(get(4)));
    r.Index = static_cast<int32_t>(static_cast<uint32_t>(get(4)));
    r.X = std::bit_cast<double>(get(8));
    r.Y = std::bit_cast<double>(get(8));
    return r;
}

} // namespace chartfile

#endif
