// The individual credit worksheets IND-CR 201 to 209 (forms 190054 to
// 190062) by what their lines hold, as the review, the barcode and the
// e-file read them: each worksheet's credit (and the amount left for later
// years), and the people and practices that IND-CR 204, 205, 206 and 207
// ask for. The credit lines carry the calculation's names.
#pragma once

#include <array>

#include "module/catalogues/GAForm190054FieldIds.h"
#include "module/catalogues/GAForm190055FieldIds.h"
#include "module/catalogues/GAForm190056FieldIds.h"
#include "module/catalogues/GAForm190057FieldIds.h"
#include "module/catalogues/GAForm190058FieldIds.h"
#include "module/catalogues/GAForm190059FieldIds.h"
#include "module/catalogues/GAForm190060FieldIds.h"
#include "module/catalogues/GAForm190061FieldIds.h"
#include "module/catalogues/GAForm190062FieldIds.h"
#include "platform/Primitives.h"

struct IndCrLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    // A worksheet's credit, and what is left of it for later years (the
    // null field where the worksheet carries nothing over).
    struct Credit {
        Line credit, remaining;
    };
    // IND-CR 204: a qualifying family member, 62 or over or disabled.
    struct FamilyMember {
        Line firstName, middleInitial, lastName, number, relationship;
        Line age;  // an amount
        Line disabilityDate;
    };
    // IND-CR 205: a qualifying child and the driver training.
    struct Child {
        Line school, firstName, lastName, birthDate, number, completionDate;
    };
    // IND-CR 207: a rural physician's practice.
    struct Practice {
        Line residenceCounty, practiceCounty, practiceType, startDate;
        Line beds;  // an amount
    };

    Credit indCr201, indCr202, indCr203;
    Credit indCr204;
    Line indCr204Expenses;
    std::array<FamilyMember, 2> familyMembers;
    Credit indCr205;
    std::array<Child, 2> children;
    Credit indCr206;
    Line disasterAgency, disasterDate;
    Credit indCr207;
    std::array<Practice, 2> practices;  // the taxpayer's, the spouse's
    Credit indCr208, indCr209;
};

inline constexpr IndCrLines kIndCrLines = [] {
    const Primitives::QVImmutableIdentifier& none = Primitives::kNullFieldID;
    const auto& f201 = kGAForm190054FieldIds;
    const auto& f202 = kGAForm190055FieldIds;
    const auto& f203 = kGAForm190056FieldIds;
    const auto& f204 = kGAForm190057FieldIds;
    const auto& f205 = kGAForm190058FieldIds;
    const auto& f206 = kGAForm190059FieldIds;
    const auto& f207 = kGAForm190060FieldIds;
    const auto& f208 = kGAForm190061FieldIds;
    const auto& f209 = kGAForm190062FieldIds;
    return IndCrLines{
        .indCr201 = {.credit = f201.f190159, .remaining = f201.f190160},
        .indCr202 = {.credit = f202.f190165, .remaining = none},
        .indCr203 = {.credit = f203.f190169, .remaining = f203.f190170},
        .indCr204 = {.credit = f204.f190191, .remaining = none},
        .indCr204Expenses = f204.f190186,
        .familyMembers = {{
            {.firstName = f204.f190172,
             .middleInitial = f204.f190173,
             .lastName = f204.f190174,
             .number = f204.f190175,
             .relationship = f204.f190176,
             .age = f204.f190177,
             .disabilityDate = f204.f190178},
            {.firstName = f204.f190179,
             .middleInitial = f204.f190180,
             .lastName = f204.f190181,
             .number = f204.f190182,
             .relationship = f204.f190183,
             .age = f204.f190184,
             .disabilityDate = f204.f190185},
        }},
        .indCr205 = {.credit = f205.f190210, .remaining = none},
        .children = {{
            {.school = f205.f190193,
             .firstName = f205.f190194,
             .lastName = f205.f190195,
             .birthDate = f205.f190196,
             .number = f205.f190197,
             .completionDate = f205.f190198},
            {.school = f205.f190199,
             .firstName = f205.f190200,
             .lastName = f205.f190201,
             .birthDate = f205.f190202,
             .number = f205.f190203,
             .completionDate = f205.f190204},
        }},
        .indCr206 = {.credit = f206.f190218, .remaining = f206.f190219},
        .disasterAgency = f206.f190212,
        .disasterDate = f206.f190214,
        .indCr207 = {.credit = f207.f190232, .remaining = none},
        .practices = {{
            {.residenceCounty = f207.f190221,
             .practiceCounty = f207.f190222,
             .practiceType = f207.f190223,
             .startDate = f207.f190224,
             .beds = f207.f190225},
            {.residenceCounty = f207.f190226,
             .practiceCounty = f207.f190227,
             .practiceType = f207.f190228,
             .startDate = f207.f190229,
             .beds = f207.f190230},
        }},
        .indCr208 = {.credit = f208.f190236, .remaining = f208.f190237},
        .indCr209 = {.credit = f209.f190243, .remaining = f209.f190244},
    };
}();
