// The one text pool that every return of a session shares.
//
// A field's value token (FormField::getLongValue) is a whole number for
// amounts and boxes, and for a text a key into this pool. Keys are tagged:
// they start at 2^52, far above any amount a return holds, so a key is never
// mistaken for an amount. The same text always gives the same key, and a key
// turns back into its text on any return, because all returns hold the same
// pool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "module/frame/CountedPtr.h"

namespace Utils {

class StringPool {
public:
    // The first key; key = kKeyBase + index of the text in the pool.
    static constexpr std::int64_t kKeyBase = std::int64_t{1} << 52;

    StringPool() = default;
    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;
    virtual ~StringPool() = default;

    // The key of text; the text is added on first use.
    std::int64_t intern(const std::string& text);

    // The text of a key. A number that is not a key of this pool throws
    // Exceptions::QuarloException.
    const std::string& lookup(std::int64_t key) const;

    // True when key was handed out by this pool.
    bool contains(std::int64_t key) const;

    // True when n lies in the key range (whether or not it was handed out).
    static bool isKey(std::int64_t n) { return n >= kKeyBase; }

    std::size_t size() const { return texts_.size(); }

private:
    std::vector<std::string> texts_;
    std::unordered_map<std::string, std::size_t> index_;
};

SMARTPOINTERS_NAMED_HANDLE(StringPoolPtr, StringPool);

}  // namespace Utils
