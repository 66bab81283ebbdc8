// Small text and number rules shared by the state auditor's checks.
#pragma once

#include <string>
#include <string_view>

#include "platform/util/Utils.h"

namespace StateAuditMgmt {

// An identification number without its blanks and hyphens, as numbers are
// compared.
inline std::string bareNumber(std::string_view number) {
    return Utils::removeChars(Utils::removeChars(number, ' '), '-');
}

}  // namespace StateAuditMgmt
