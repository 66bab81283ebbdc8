// The ten fields of state form 15 (copy 1) that receive the filers' heading
// items from the information form: the taxpayer's first, middle and last
// name, suffix and number, then the spouse's, in the order of the items of
// the field-triple table.
#pragma once

#include <array>

#include "module/catalogues/OwnerInfoFieldIds.h"
#include "platform/Primitives.h"

inline constexpr std::array<Primitives::QVImmutableIdentifier, 10> kOwnerInfoLines = [] {
    const auto& o = kOwnerInfoFieldIds;
    return std::array<Primitives::QVImmutableIdentifier, 10>{o.f1, o.f2, o.f3, o.f4, o.f5,
                                                             o.f6, o.f7, o.f8, o.f9, o.f10};
}();
