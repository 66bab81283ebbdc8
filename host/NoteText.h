// The pieces of text that the host's notes name fields and amounts with.
#pragma once

#include <cmath>
#include <string>

#include "platform/Primitives.h"
#include "platform/util/Utils.h"

namespace GAHost {

// A field's number as the notes name it: "89".
inline std::string fieldNumber(const Primitives::QVImmutableIdentifier& x) { return std::to_string(x.getNumber()); }

// An amount as a note gives it: "1200", or "1200.50" with cents.
inline std::string amountText(double amount) { return Utils::nStr(std::round(amount * 100.0) / 100.0); }

}  // namespace GAHost
