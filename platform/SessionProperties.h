// Per-return interview session flags: small signed values under a name, read
// by the interview's script queries and seeded by the host.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "module/frame/CountedPtr.h"

namespace DataMgmt {

class SessionProperties {
public:
    // Whether a value has been set under the name (names are case-sensitive).
    bool propertyExists(const std::string& name) const { return values_.count(name) != 0; }

    // The value set under the name; 0 when none has been set.
    std::int8_t getQVInt8Property(const std::string& name) const {
        const auto found = values_.find(name);
        return found == values_.end() ? std::int8_t{0} : found->second;
    }

    // Sets (or replaces) the value under the name.
    void setQVInt8Property(const std::string& name, std::int8_t value) { values_[name] = value; }

    // Removes the value under the name, if any.
    void removeProperty(const std::string& name) { values_.erase(name); }

    std::size_t size() const { return values_.size(); }
    // Every value set, by name (for saving a session with its return).
    const std::map<std::string, std::int8_t>& getAll() const { return values_; }

private:
    std::map<std::string, std::int8_t> values_;
};

using SessionPropertiesPtr = SmartPointers::CountedPtr<SessionProperties>;

}  // namespace DataMgmt
