#ifndef ZENDRIK_PLATFORM_INIFILE_NAMEINDEX_H
#define ZENDRIK_PLATFORM_INIFILE_NAMEINDEX_H

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace inifile {

// Hash and equality of names without regard to case: each code point is compared in its simple
// case folding, as QString::compare(..., Qt::CaseInsensitive) does, without building a folded copy.
uint32_t FoldedHash(QStringView name);
bool SameFolded(QStringView a, QStringView b);

// Positions of names in a list (the sections of a file, the keys of a section), found without
// regard to case. The caller owns the names; the index keeps positions and hashes only and asks
// the caller for a name through nameAt(position), which returns a pointer to it. Reading a table
// of a million points looks up two million keys, so a lookup folds nothing into a new string and
// probes a flat table instead of hashed nodes.
class NameIndex {
public:
    bool Valid() const { return valid_; }
    void Invalidate();

    // Rebuilds from positions 0..count-1; nameAt(i) is null for a position without a name (a
    // comment line). The first position of a name wins.
    template <typename NameAt> void Build(size_t count, NameAt nameAt)
    {
        Invalidate();
        std::vector<uint32_t> hashes(count);
        for (size_t i = 0; i < count; ++i) {
            const QString* name = nameAt(i);
            hashes[i] = name == nullptr ? 0 : FoldedHash(*name);
        }
        Reserve(count);
        const size_t mask = slots_.size() - 1;
        constexpr size_t kAhead = 16;
        for (size_t i = 0; i < count; ++i) {
            // The slots are visited in no order; asking for one a few names ahead hides most of
            // the wait for memory.
            if (i + kAhead < count)
                __builtin_prefetch(&slots_[SlotOf(hashes[i + kAhead])]);
            const QString* name = nameAt(i);
            if (name == nullptr)
                continue;
            const uint32_t hash = hashes[i];
            size_t at = SlotOf(hash);
            bool repeat = false;
            for (; slots_[at].PositionPlusOne != 0; at = (at + 1) & mask) {
                const Slot& s = slots_[at];
                if (s.Hash == hash && SameFolded(*nameAt(s.PositionPlusOne - 1), *name)) {
                    repeat = true;
                    break;
                }
            }
            if (repeat) {
                repeats_ = true;
                continue;
            }
            slots_[at] = Slot {hash, static_cast<uint32_t>(i + 1)};
            ++count_;
        }
        valid_ = true;
    }

    // Whether some name occurs more than once in the list, so that a match found other than
    // through the index may not be the first one.
    bool HasRepeats() const { return repeats_; }

    template <typename NameAt> std::optional<size_t> Find(QStringView name, NameAt nameAt) const
    {
        if (slots_.empty())
            return std::nullopt;
        const uint32_t hash = FoldedHash(name);
        const size_t mask = slots_.size() - 1;
        for (size_t i = SlotOf(hash);; i = (i + 1) & mask) {
            const Slot& s = slots_[i];
            if (s.PositionPlusOne == 0)
                return std::nullopt;
            if (s.Hash == hash) {
                const size_t pos = s.PositionPlusOne - 1;
                if (SameFolded(*nameAt(pos), name))
                    return pos;
            }
        }
    }

    // Records a name that is not in the index yet at position pos.
    void Add(size_t pos, QStringView name);
    // Moves every position at or after pos one up, for a name inserted in the middle of the list.
    void ShiftFrom(size_t pos);

private:
    struct Slot {
        uint32_t Hash = 0;
        uint32_t PositionPlusOne = 0; // 0: empty
    };

    size_t SlotOf(uint32_t hash) const;
    void Reserve(size_t names);

    std::vector<Slot> slots_; // a power of two long, at most three quarters full
    size_t count_ = 0;
    int shift_ = 32; // 32 - log2(slots)
    bool valid_ = false;
    bool repeats_ = false;
};

} // namespace inifile

#endif
