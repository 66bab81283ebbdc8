// One filer's driver's licence or state ID answers, as the federal personal
// information (form 92) and the Georgia information form (form 69) hold
// them: the calculation carries the federal answers into the Georgia form,
// the review compares the two and the e-file writes the Georgia ones.
#pragma once

#include "platform/Primitives.h"

struct LicenceLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // The answer to the ID question, one box marked: one of the two kinds of
    // ID held (a driver's licence or a state ID), or one of the two other
    // answers. A form without a second other answer names the null field.
    Line firstIdBox, secondIdBox;
    Line firstOtherAnswer, secondOtherAnswer;
    Line number;
    Line issuingState;
    Line issueDate;
    Line expirationDate;
    Line noExpirationBox;  // the ID has no expiration date
};

// The taxpayer's answers and the spouse's.
struct FilerLicenceLines {
    LicenceLines taxpayer, spouse;
};
