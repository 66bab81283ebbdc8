// The direct deposit of a refund as the information form (form 69) holds it,
// which form 72 and the amended return repeat.
#pragma once

#include "module/catalogues/GAForm69FieldIds.h"
#include "platform/Primitives.h"

struct InfoDepositLines {
    using Line = const Primitives::QVImmutableIdentifier&;
    Line answer;  // the refund is deposited: answered yes (or no)
    Line routingNumber;
    Line accountNumber;
    Line checking;  // boxes of the kind of account
    Line savings;
};

inline constexpr InfoDepositLines kInfoDeposit = {
    .answer = kGAForm69FieldIds.f77,
    .routingNumber = kGAForm69FieldIds.f79,
    .accountNumber = kGAForm69FieldIds.f80,
    .checking = kGAForm69FieldIds.f81,
    .savings = kGAForm69FieldIds.f82,
};
