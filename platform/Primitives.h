// Identifier value types of the host: fields, forms and interview topics.
//
// All three are literal types so that the identifier constants and the field
// catalogues are constant-initialised and need no code at load time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "module/frame/CountedPtr.h"

namespace Primitives {

// A field named by its number. Number 0 (the default) is the null field; a
// number of 0 or less means "no field".
class QVImmutableIdentifier {
public:
    constexpr QVImmutableIdentifier(std::int32_t number = 0) : number_(number) {}  // NOLINT

    constexpr std::int32_t getNumber() const { return number_; }
    constexpr bool isNullID() const { return number_ <= 0; }

    constexpr bool operator==(const QVImmutableIdentifier& o) const { return number_ == o.number_; }
    constexpr bool operator!=(const QVImmutableIdentifier& o) const { return number_ != o.number_; }
    constexpr bool operator<(const QVImmutableIdentifier& o) const { return number_ < o.number_; }

protected:
    std::int32_t number_;
};

// A form named by its number and whether it belongs to the state return
// (true) or the federal return (false). State form 2 and federal form 2 are
// different forms: equality compares both the number and the flag.
class QVImmutableFormIdentifier : public QVImmutableIdentifier {
public:
    constexpr QVImmutableFormIdentifier(std::int32_t number = 0)  // NOLINT: federal by default
        : QVImmutableIdentifier(number), state_(false) {}
    constexpr QVImmutableFormIdentifier(std::int32_t number, bool isState)
        : QVImmutableIdentifier(number), state_(isState) {}

    constexpr bool isState() const { return state_; }
    constexpr void setState(bool isState) { state_ = isState; }

    constexpr bool operator==(const QVImmutableFormIdentifier& o) const {
        return number_ == o.number_ && state_ == o.state_;
    }
    constexpr bool operator!=(const QVImmutableFormIdentifier& o) const { return !(*this == o); }
    constexpr bool operator<(const QVImmutableFormIdentifier& o) const {
        return state_ != o.state_ ? state_ < o.state_ : number_ < o.number_;
    }

private:
    bool state_;
};

// Locality of an interview topic: 13 for the Georgia topics, 2 for the topics
// shared across states.
enum QVTaxLocality : std::int32_t {
    kLocalityCrossState = 2,
    kLocalityGeorgia = 13,
};

// An interview topic named by its number and locality; topic 0 is "no topic".
class QVImmutableTopicIdentifier {
public:
    constexpr QVImmutableTopicIdentifier(std::int32_t number = 0, QVTaxLocality locality = kLocalityGeorgia)
        : number_(number), locality_(locality) {}

    constexpr std::int32_t getNumber() const { return number_; }
    constexpr QVTaxLocality getLocality() const { return locality_; }

    constexpr bool operator==(const QVImmutableTopicIdentifier& o) const {
        return number_ == o.number_ && locality_ == o.locality_;
    }
    constexpr bool operator!=(const QVImmutableTopicIdentifier& o) const { return !(*this == o); }

private:
    std::int32_t number_;
    QVTaxLocality locality_;
};

// The null field: ends variadic field lists, and stands for "first" or "last
// field" where a range is cleared.
inline constexpr QVImmutableIdentifier kNullFieldID{0};

inline std::ostream& operator<<(std::ostream& os, const QVImmutableIdentifier& id) { return os << id.getNumber(); }

// A counted text, as the host hands strings across.
using StringPtr = SmartPointers::CountedPtr<std::string>;

}  // namespace Primitives

template <>
struct std::hash<Primitives::QVImmutableIdentifier> {
    std::size_t operator()(const Primitives::QVImmutableIdentifier& id) const noexcept {
        return std::hash<std::int32_t>{}(id.getNumber());
    }
};

template <>
struct std::hash<Primitives::QVImmutableFormIdentifier> {
    std::size_t operator()(const Primitives::QVImmutableFormIdentifier& id) const noexcept {
        return std::hash<std::int64_t>{}((static_cast<std::int64_t>(id.getNumber()) << 1) | (id.isState() ? 1 : 0));
    }
};
