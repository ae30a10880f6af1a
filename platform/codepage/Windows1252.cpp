#include "platform/codepage/Windows1252.h"

#include <array>
#include <cstdint>

namespace codepage {

namespace {

// The characters of the bytes 0x80..0x9F; every other byte is the Latin-1 character of its number.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of a character, or -1 when the code page has none.
int ByteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

bool IsUnusedByte(int b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

} // namespace

QString FromWindows1252(const QByteArray& bytes)
{
    // Latin-1 gives every byte but 0x80..0x9F its character in one fast pass.
    QString out = QString::fromLatin1(bytes);
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u >= 0x80 && u <= 0x9F)
            c = QChar(kHigh[u - 0x80]);
    }
    return out;
}

std::optional<QByteArray> ToWindows1252(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const int b = ByteOf(c.unicode());
        if (b < 0)
            return std::nullopt;
        out.append(static_cast<char>(b));
    }
    return out;
}

bool FitsWindows1252(QStringView text)
{
    for (QChar c : text) {
        if (ByteOf(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray ToWindows1252Shown(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = ByteOf(text[i].unicode());
        if (b >= 0 && !IsUnusedByte(b)) {
            out.append(static_cast<char>(b));
            continue;
        }
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        out.append('?');
    }
    return out;
}

} // namespace codepage
