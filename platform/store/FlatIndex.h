// A table from a positive whole-number key to a place in a list, made for
// lookups on every field access: one flat array, open addressing with linear
// probing, the key spread by Fibonacci hashing. The array is at most half full,
// so a lookup reads one or two entries. Keys of 0 or less are never stored
// (they name no field and no form) and are never found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DataMgmt::detail {

template <class Key>
class FlatIndex {
public:
    // The place of the key, or -1.
    int find(Key key) const noexcept {
        if (key <= 0 || entries_.empty()) {
            return -1;
        }
        for (std::size_t i = home(key);; i = (i + 1) & mask()) {
            const Entry& entry = entries_[i];
            if (entry.key == key) {
                return entry.place;
            }
            if (entry.key == 0) {
                return -1;
            }
        }
    }

    // Adds the key at the place; a key already present keeps its first place
    // (the return is then false), and a key of 0 or less is not stored.
    bool insert(Key key, int place) {
        if (key <= 0) {
            return false;
        }
        if ((count_ + 1) * 2 > entries_.size()) {
            rehash(entries_.empty() ? 8 : entries_.size() * 2);
        }
        return place_(key, place);
    }

    // Room for n keys without growing.
    void reserve(std::size_t n) {
        std::size_t size = 8;
        while (size < n * 2) {
            size *= 2;
        }
        if (size > entries_.size()) {
            rehash(size);
        }
    }

    std::size_t size() const noexcept { return count_; }

private:
    struct Entry {
        Key key = 0;
        std::int32_t place = -1;
    };

    std::size_t mask() const noexcept { return entries_.size() - 1; }

    std::size_t home(Key key) const noexcept {
        return static_cast<std::size_t>((static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ULL) >> shift_);
    }

    bool place_(Key key, int place) {
        for (std::size_t i = home(key);; i = (i + 1) & mask()) {
            Entry& entry = entries_[i];
            if (entry.key == key) {
                return false;
            }
            if (entry.key == 0) {
                entry.key = key;
                entry.place = place;
                ++count_;
                return true;
            }
        }
    }

    void rehash(std::size_t size) {
        std::vector<Entry> old;
        old.swap(entries_);
        entries_.assign(size, Entry{});
        shift_ = 64;
        for (std::size_t s = size; s > 1; s /= 2) {
            --shift_;
        }
        count_ = 0;
        for (const Entry& entry : old) {
            if (entry.key != 0) {
                place_(entry.key, entry.place);
            }
        }
    }

    std::vector<Entry> entries_;
    std::size_t count_ = 0;
    unsigned shift_ = 64;
};

}  // namespace DataMgmt::detail
