#pragma once

// A table of short byte texts (a record's fields, keys made from them), each with a value, for scans that
// look a text up once or more for every record: one flat array of slots, at most half full, each holding
// the text's hash, where its copy lies and the value, so that a look-up reads one slot and compares the
// bytes once. A text is copied once, when it is first met, into blocks that never move, so that adding
// thousands of texts makes a few allocations rather than one each.

#include <QByteArrayView>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

namespace ombrisa {

namespace texttable_detail {

inline std::uint64_t load64(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A seed of the process's own, so that texts chosen to fall on one slot in one run do not in another.
inline std::uint64_t processSeed() {
    static const std::uint64_t seed = [] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device();
    }();
    return seed;
}

} // namespace texttable_detail

// True when the n bytes at x and y are equal, eight at a time.
inline bool sameBytes(const char* x, const char* y, qsizetype n) {
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8)
        if (texttable_detail::load64(x + i) != texttable_detail::load64(y + i))
            return false;
    for (; i < n; ++i)
        if (x[i] != y[i])
            return false;
    return true;
}

// A hash of short texts, eight bytes at a time, each word mixed in by a multiplication, small enough to be
// inlined in a scan (Qt's byte hash is a library call made for long keys).
inline std::uint64_t bytesHash(QByteArrayView bytes) {
    using texttable_detail::load64;
    const char* p = bytes.data();
    const qsizetype n = bytes.size();
    std::uint64_t h = (static_cast<std::uint64_t>(n) ^ texttable_detail::processSeed()) * 0x9E3779B97F4A7C15ull;
    qsizetype i = 0;
    for (; i + 8 <= n; i += 8) {
        h = (h ^ load64(p + i)) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    if (i < n) {
        std::uint64_t tail = 0;
        if (n >= 8) {
            tail = load64(p + n - 8); // the last eight bytes, some of them mixed in already
        } else {
            for (; i < n; ++i)
                tail = (tail << 8) | static_cast<unsigned char>(p[i]);
        }
        h = (h ^ tail) * 0x94D049BB133111EBull;
    }
    return h ^ (h >> 32);
}

template <typename Value> class TextTable {
public:
    TextTable() : slots_(16) {}

    Value* find(QByteArrayView bytes) {
        Slot* s = lookUp(bytes, bytesHash(bytes));
        return s->size < 0 ? nullptr : &s->value;
    }
    const Value* find(QByteArrayView bytes) const { return const_cast<TextTable*>(this)->find(bytes); }

    // Adds a text that find() did not find; the reference holds until the next insertion.
    Value& insert(QByteArrayView bytes, const Value& value) {
        if (2 * (count_ + 1) > slots_.size())
            grow(slots_.size() * 2);
        return place({bytesHash(bytes), keep(bytes), bytes.size(), value}).value;
    }

    // The value of `bytes`, added with `value` when the text is new; `added` says which. One look-up.
    Value& findOrInsert(QByteArrayView bytes, const Value& value, bool& added) {
        if (2 * (count_ + 1) > slots_.size())
            grow(slots_.size() * 2);
        const std::uint64_t hash = bytesHash(bytes);
        Slot* s = lookUp(bytes, hash);
        added = s->size < 0;
        if (added) {
            *s = Slot{hash, keep(bytes), bytes.size(), value};
            ++count_;
        }
        return s->value;
    }

    // Room for `texts` texts, so that adding them does not grow the table again and again.
    void reserve(std::size_t texts) {
        std::size_t room = slots_.size();
        while (room < 2 * texts)
            room *= 2;
        if (room > slots_.size())
            grow(room);
    }

    std::size_t size() const { return count_; }
    bool isEmpty() const { return count_ == 0; }

    template <typename F> void forEachValue(F f) const {
        for (const Slot& s : slots_)
            if (s.size >= 0)
                f(s.value);
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        const char* text = nullptr;
        qsizetype size = -1; // -1: an empty slot
        Value value{};
    };

    // The slot holding `bytes`, or the empty slot where it would go.
    Slot* lookUp(QByteArrayView bytes, std::uint64_t hash) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (s.size < 0 || (s.hash == hash && s.size == bytes.size() && sameBytes(s.text, bytes.data(), bytes.size())))
                return &s;
        }
    }
    Slot& place(const Slot& slot) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = slot.hash & mask;
        while (slots_[i].size >= 0)
            i = (i + 1) & mask;
        ++count_;
        return slots_[i] = slot;
    }
    void grow(std::size_t room) {
        std::vector<Slot> old(room);
        old.swap(slots_);
        count_ = 0;
        for (const Slot& s : old)
            if (s.size >= 0)
                place(s);
    }
    // A copy of `bytes` that stays where it is while the table lives.
    const char* keep(QByteArrayView bytes) {
        const std::size_t n = static_cast<std::size_t>(bytes.size());
        if (n == 0)
            return "";
        if (blocks_.empty() || blockUsed_ + n > blockSize_) {
            blockSize_ = std::max<std::size_t>(n, kBlock);
            blocks_.push_back(std::make_unique<char[]>(blockSize_));
            blockUsed_ = 0;
        }
        char* at = blocks_.back().get() + blockUsed_;
        std::memcpy(at, bytes.data(), n);
        blockUsed_ += n;
        return at;
    }

    static constexpr std::size_t kBlock = 64 * 1024;
    std::vector<Slot> slots_; // a power of two of them
    std::size_t count_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockSize_ = 0;
    std::size_t blockUsed_ = 0;
};

} // namespace ombrisa
