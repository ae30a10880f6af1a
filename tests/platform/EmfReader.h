#ifndef ZENDRIK_TESTS_PLATFORM_EMFREADER_H
#define ZENDRIK_TESTS_PLATFORM_EMFREADER_H

#include "platform/gdi/Metafile.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

// An enhanced-metafile reader for the tests, written from the published record layouts and not
// from our writer: it checks the header against the file, every record's type and size, the
// object table (handles below the header's count, created before they are selected, the lowest
// free one taken, deleted only when not selected) and decodes the drawing calls with the objects
// and colours they draw with.
namespace emfread {

struct Record {
    uint32_t type = 0;
    QByteArray bytes; // the whole record
    uint32_t U(int at) const;
    int32_t I(int at) const;
};

struct Picture {
    QString error; // the first defect found; empty when the file is sound
    std::array<int32_t, 4> bounds {};
    std::array<int32_t, 4> frame {};
    uint32_t bytes = 0;
    uint32_t records = 0;
    uint16_t handles = 0;
    QString description;
    std::array<int32_t, 2> device {}, millimetres {}, micrometres {};
    std::vector<Record> list;
    QStringList calls;
    std::vector<QImage> images; // the bitmaps of the block transfers, in order
    int highestHandle = 0;
    int maxLive = 0;

    int Count(uint32_t type) const;
    const Record* First(uint32_t type) const;
};

Picture Read(const QByteArray& file);

// The calls a picture recorded, in the words Read uses for the decoded ones.
QStringList ExpectedCalls(const gdi::Metafile& picture);

// Encodes the picture, reads it back and checks the file and its calls against the recording;
// gtest failures name the first difference. Returns what was read.
Picture ExpectReadsBack(const gdi::Metafile& picture);

// The recording context's own width of a text in a font (for the advances).
int32_t RecordedWidth(const gdi::Font& font, int32_t charExtra, const QString& text);

} // namespace emfread

#endif
