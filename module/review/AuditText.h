// Small text and number rules shared by the state auditor's checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/util/Utils.h"

namespace StateAuditMgmt {

// The state layer's filing-status number of a married filer filing
// separately.
inline constexpr std::int8_t kMarriedFilingSeparately = 3;

// An identification number without its blanks and hyphens, as numbers are
// compared.
inline std::string bareNumber(std::string_view number) {
    return Utils::removeChars(Utils::removeChars(number, ' '), '-');
}

}  // namespace StateAuditMgmt
