#include "platform/store/StringPool.h"

#include "platform/Exceptions.h"

namespace Utils {

std::int64_t StringPool::intern(const std::string& text) {
    auto found = index_.find(text);
    if (found != index_.end()) {
        return kKeyBase + static_cast<std::int64_t>(found->second);
    }
    texts_.push_back(text);
    std::size_t index = texts_.size() - 1;
    index_.emplace(text, index);
    return kKeyBase + static_cast<std::int64_t>(index);
}

bool StringPool::contains(std::int64_t key) const {
    return isKey(key) && static_cast<std::uint64_t>(key - kKeyBase) < texts_.size();
}

const std::string& StringPool::lookup(std::int64_t key) const {
    if (!contains(key)) {
        throw Exceptions::QuarloException("no text with key " + std::to_string(key), "StringPool", "lookup");
    }
    return texts_[static_cast<std::size_t>(key - kKeyBase)];
}

}  // namespace Utils
