#ifndef ZENDRIK_DATAFILES_SEGMENTTABLE_H
#define ZENDRIK_DATAFILES_SEGMENTTABLE_H

#include "datafiles/SegmentColumns.h"

#include <QString>
#include <array>
#include <cstdint>
#include <span>

class IniFile;
struct DataFileContext;

// One segment of a measurement set.
struct SegmentRecord {
    int64_t StartHz = 0;
    int64_t StopHz = 0;
    QString Rbw;          // as written: Hz, or with its unit ("9kHz"); a number within its bound
    int32_t SweepMs = 0;
    int32_t Attenuation = 0; // dB; -1 = automatic
    QString PreAmp;       // "on" or "off"
    QString Detector;     // upper-case detector name as written ("POSPEAK" stays "POSPEAK")
};

// The measurement plan of a set: up to 500 segments. A plain value: a run works on a copy.
struct SegmentTable {
    static constexpr int kMaxSegments = 500;

    int32_t Count = 0;       // valid segments; 0 = the set has no segments
    int64_t TotalTimeMs = 0; // sum of SweepMs + SweepWaitMarginMs + 3000 over the segments
    // Segments are numbered from 1: segment n is Segments[n - 1]; use Segment(n).
    std::array<SegmentRecord, kMaxSegments> Segments;

    const SegmentRecord& Segment(int n) const { return Segments.at(static_cast<size_t>(n - 1)); }
    SegmentRecord& Segment(int n) { return Segments.at(static_cast<size_t>(n - 1)); }
};

// The outcome of parsing a segment file.
struct SegmentParseResult {
    bool FileFound = false;
    QString Error; // why the file was refused; empty on success
    SegmentTable Table;
};

// Why a value a column's reader took is refused: "Segment File Error Seg: 2 BW____2=0 lies
// outside 1..1000000 Hz" (the key and text as the file holds them, then the column's bound) when
// the segment's number lies outside the column's bound; empty when it lies inside.
QString SegmentBoundFault(const SegmentColumnInfo& column, int n, const QString& text, const SegmentRecord& segment);

// What a column's keys missing from number n on are refused with: "Segment File Error Seg: 3" and
// the column's count word (" Freqa__" for the start column).
QString SegmentGapText(const SegmentColumnInfo& column, int n);

// Parses a segment file and checks every field, column by column in the order of columns (the
// first one counts the segments), each value read and then held to its column's bound; after the
// stop frequencies, that the segments ascend. A column whose keys have a gap (a key numbered past
// one that is missing or empty) is refused with SegmentGapText, as is one with fewer or more keys
// than the first. Pure apart from reading the file.
SegmentParseResult ParseSegmentFile(const QString& absolutePath, int32_t sweepWaitMarginMs,
                                    std::span<const SegmentColumnInfo> columns = kSegmentColumns);
// The same over a file already read (FileFound stays false).
SegmentParseResult ParseSegmentIni(const IniFile& ini, int32_t sweepWaitMarginMs,
                                   std::span<const SegmentColumnInfo> columns = kSegmentColumns);

// The table part of LoadSegmentFile: the file is parsed into a temporary and the table is replaced
// only when every check passed; otherwise, or when the file is not there, the table has Count 0,
// so Play cannot run a half-read plan. Shows no box: returns why a file that is there gave no
// segment (the reader's error, "Segment File Error Seg: 1 NaN", or "no key FRQa__1"), empty when
// the table holds the file's segments or there is no file. Writes the debug line
// "Seg File found " + fileName when the file was read.
QString LoadSegmentTable(SegmentTable& table, const QString& fileName, int32_t sweepWaitMarginMs,
                         const DataFileContext& context);
// Why the file gives no segment, as LoadSegmentTable says it, without loading it (Play names the
// reason of a set the loader left empty); empty when it gives segments or is not there.
QString SegmentFileFault(const QString& fileName, const DataFileContext& context);

#endif
