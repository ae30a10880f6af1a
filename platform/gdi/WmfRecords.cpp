#include "platform/gdi/WmfRecords.h"

#include "platform/gdi/GdiTypes.h"

#include <QtEndian>
#include <algorithm>

namespace gdi::wmf {

void RecordList::Add(uint16_t function, const Params& p)
{
    const uint32_t words = 3 + static_cast<uint32_t>((p.Data().size() + 1) / 2);
    Params head;
    head.D(words).W(function);
    body_.append(head.Data());
    body_.append(p.Data());
    if (p.Data().size() % 2)
        body_.append('\0');
    maxRecord_ = std::max(maxRecord_, words);
}

void RecordList::Add(uint16_t function, std::initializer_list<int32_t> words)
{
    Params p;
    for (int32_t w : words)
        p.W(w);
    Add(function, p);
}

QByteArray RecordList::Finish(int16_t width, int16_t height, size_t objectSlots)
{
    Add(kEof, Params());

    Params placeable;
    placeable.D(0x9AC6CDD7u).W(0).W(0).W(0).W(width).W(height).W(96).D(0);
    uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<uint16_t>(placeable.Data().constData() + i);
    placeable.W(checksum);

    Params header;
    const uint32_t totalWords = 9 + static_cast<uint32_t>(body_.size() / 2);
    header.W(1).W(9).W(0x0300).D(totalWords).W(static_cast<int32_t>(objectSlots)).D(maxRecord_).W(0);
    return placeable.Data() + header.Data() + body_;
}

uint16_t WmfPenStyle(uint32_t style)
{
    uint32_t kind = style & PS_STYLE_MASK;
    if (kind == PS_USERSTYLE)
        kind = PS_DASH;
    else if (kind == PS_ALTERNATE)
        kind = PS_DOT;
    else if (kind > PS_INSIDEFRAME)
        kind = PS_SOLID;
    return static_cast<uint16_t>(kind | (style & (PS_ENDCAP_MASK | PS_JOIN_MASK)));
}

} // namespace gdi::wmf
