// The choice list of an input field: the values a user may pick, each with
// the text shown for it, in the order they were added.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Exceptions.h"

namespace Properties {

class DisplayValuePairs {
public:
    struct Pair {
        std::string value;    // what is stored in the field
        std::string display;  // what the user sees
    };

    // A choice shown as its own value.
    void addPair(const std::string& value) { pairs_.push_back(Pair{value, value}); }
    // A choice shown under another text.
    void addPair(const std::string& value, const std::string& display) { pairs_.push_back(Pair{value, display}); }

    void clear() { pairs_.clear(); }
    std::size_t size() const { return pairs_.size(); }
    bool empty() const { return pairs_.empty(); }

    // The i-th choice (from 0); past the end throws QuarloException.
    const Pair& at(std::size_t i) const {
        if (i >= pairs_.size()) {
            throw Exceptions::QuarloException(
                "choice " + std::to_string(i) + " of " + std::to_string(pairs_.size()) + " does not exist",
                "DisplayValuePairs", "at");
        }
        return pairs_[i];
    }

private:
    std::vector<Pair> pairs_;
};

}  // namespace Properties
