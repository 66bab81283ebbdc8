// The codes that the Georgia calculation compares: filing statuses (the
// Georgia one and the federal one) and residency codes.
//
// The enumerations are unscoped so that a code reads and compares as the
// plain number the store and the host operations pass
// (status == FilingStatus::kJoint).
#pragma once

namespace FilingStatus {

// The Georgia filing-status number, from the filing-status letter of form 70
// line 44 ("A" 1, "B" 2, "C" 3, "D" 4; a missing form or any other letter
// reads as 1). The rate schedule and most rules test for the joint return.
enum Number : int {
    kSingle = 1,
    kJoint = 2,
    kSeparate = 3,
    kHeadOfHousehold = 4,
};

// Whether a return has a spouse depends on the rule asked. Beside kJoint the
// host passes the state layer numbers 0, 8 and 9 for returns with a spouse,
// and each rule takes a different set of them; Georgia numbers its statuses
// 1 to 4, so for a Georgia return every rule holds for kJoint alone.

// The interest and dividend statements and the owner names take both
// filers: 0 or kJoint.
constexpr bool namesBothFilers(int status) { return status == kJoint || status == 0; }

// The state wage worksheet adds the spouse's wages and amounts: 0, kJoint
// or 8.
constexpr bool addsSpouseAmounts(int status) { return namesBothFilers(status) || status == 8; }

// The spouse's driver's licence or state ID is transferred to the
// information form and checked for e-file: 0, kJoint, 8 or 9.
constexpr bool carriesSpouseId(int status) { return addsSpouseAmounts(status) || status == 9; }

}  // namespace FilingStatus

namespace FederalFilingStatus {

// The federal filing status (common item kFederalFilingStatus). Form 70
// gives numbers 0 and 1 the letter "A", 2 "B", 3 "C" and 4 to 9 "D".
enum Number : int {
    kSingle = 1,
    kJoint = 2,
    kSeparate = 3,
    kHeadOfHousehold = 4,
    kQualifyingWidow = 5,
    kHighest = 9,  // the highest number that has a Georgia letter
};

// The federal return lists a spouse: a joint or a separate return.
constexpr bool listsSpouse(int status) { return status == kJoint || status == kSeparate; }

}  // namespace FederalFilingStatus

namespace Residency {

// Residency codes: of a filer (the state layer's getResidencyStatus), of the
// return (form 70 line 41 holds the code as text: "1", "2" or "3"), and of
// the state wage allocation, which adds kBothColumns for a return whose
// Georgia and other-state columns are both open.
enum Code : int {
    kFullYear = 1,
    kPartYear = 2,
    kNonresident = 3,
    kBothColumns = 4,
};

}  // namespace Residency
