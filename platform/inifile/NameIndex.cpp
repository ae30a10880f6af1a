#include "platform/inifile/NameIndex.h"

#include <QChar>

#include <bit>

namespace inifile {

namespace {

// The folded code point at i, moving i past it. ASCII, which nearly every name is, takes the
// short way.
char32_t NextFolded(QStringView s, qsizetype& i)
{
    const char16_t c = s[i++].unicode();
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char32_t(c + 0x20) : char32_t(c);
    if (QChar::isHighSurrogate(c) && i < s.size() && QChar::isLowSurrogate(s[i].unicode()))
        return QChar::toCaseFolded(QChar::surrogateToUcs4(c, s[i++].unicode()));
    return QChar::toCaseFolded(char32_t(c));
}

} // namespace

uint32_t FoldedHash(QStringView name)
{
    // FNV-1a over the folded code points, its two halves mixed into 32 bits.
    uint64_t h = 14695981039346656037ULL;
    for (qsizetype i = 0; i < name.size();) {
        h ^= NextFolded(name, i);
        h *= 1099511628211ULL;
    }
    return static_cast<uint32_t>(h ^ (h >> 32));
}

bool SameFolded(QStringView a, QStringView b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (NextFolded(a, i) != NextFolded(b, j))
            return false;
    }
    return i == a.size() && j == b.size();
}

void NameIndex::Invalidate()
{
    slots_.clear();
    count_ = 0;
    shift_ = 32;
    valid_ = false;
    repeats_ = false;
}

size_t NameIndex::SlotOf(uint32_t hash) const
{
    // Fibonacci hashing: the top bits of the product spread names that differ only in their last
    // digits ("Freq1", "Freq2", ...) over the whole table.
    return static_cast<size_t>((hash * 2654435769u) >> shift_);
}

void NameIndex::Reserve(size_t names)
{
    size_t wanted = 8;
    while (wanted - wanted / 4 <= names)
        wanted *= 2;
    if (wanted <= slots_.size())
        return;
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(wanted, Slot {});
    shift_ = 32 - std::countr_zero(wanted);
    const size_t mask = wanted - 1;
    for (const Slot& s : old) {
        if (s.PositionPlusOne == 0)
            continue;
        size_t i = SlotOf(s.Hash);
        while (slots_[i].PositionPlusOne != 0)
            i = (i + 1) & mask;
        slots_[i] = s;
    }
}

void NameIndex::Add(size_t pos, QStringView name)
{
    const uint32_t hash = FoldedHash(name);
    Reserve(count_ + 1);
    const size_t mask = slots_.size() - 1;
    size_t i = SlotOf(hash);
    while (slots_[i].PositionPlusOne != 0)
        i = (i + 1) & mask;
    // Positions fit 32 bits: a file is refused long before it holds four billion lines.
    slots_[i] = Slot {hash, static_cast<uint32_t>(pos + 1)};
    ++count_;
}

void NameIndex::ShiftFrom(size_t pos)
{
    for (Slot& s : slots_) {
        if (s.PositionPlusOne != 0 && s.PositionPlusOne - 1 >= pos)
            ++s.PositionPlusOne;
    }
}

} // namespace inifile
