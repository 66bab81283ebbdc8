// The review of the individual credit worksheets IND-CR 201 to 209: each
// reminds the filer to attach it when it claims a credit, and four of them
// ask for the entries their credit needs (family members, children,
// disaster assistance, practices).
//
// The reminder's amounts are read on copy 1 of the worksheet; the entries on
// the audited copy.

#include <array>
#include <initializer_list>
#include <string>

#include "module/catalogues/GAForm190054FieldIds.h"
#include "module/catalogues/GAForm190055FieldIds.h"
#include "module/catalogues/GAForm190056FieldIds.h"
#include "module/catalogues/GAForm190057FieldIds.h"
#include "module/catalogues/GAForm190058FieldIds.h"
#include "module/catalogues/GAForm190059FieldIds.h"
#include "module/catalogues/GAForm190060FieldIds.h"
#include "module/catalogues/GAForm190061FieldIds.h"
#include "module/catalogues/GAForm190062FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "module/review/GATaxFormAuditor.h"

namespace GAAuditMgmt {

using namespace StateAuditMgmt;

namespace {

bool anyNonNull(const DataMgmt::TaxForm& copy, std::initializer_list<FieldID> fields) {
    for (const FieldID& f : fields) {
        if (copy.nonNull(f)) {
            return true;
        }
    }
    return false;
}

}  // namespace

// The reminder to attach worksheet IND-CR <number> to the return.
void GATaxFormAuditor::remindIndCr(const FormID& form, std::uint16_t copyNumber, int number, bool fires) {
    report(kClassAttachment, fires, kTypeWarning, form, copyNumber, FieldID(0),
           "attach the Georgia Form IND-CR " + std::to_string(number) + " to your Georgia return");
}

// Whether copy 1 of the worksheet claims a credit on any of the amounts.
bool GATaxFormAuditor::claimsCredit(const FormID& form, std::initializer_list<FieldID> amounts) {
    for (const FieldID& f : amounts) {
        if (gaReturn->getIN(form, 1, f) > 0) {
            return true;
        }
    }
    return false;
}

void GATaxFormAuditor::auditIndCr201(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    const auto& c = kGAForm190054FieldIds;
    remindIndCr(kGAForm190054ID, copyNumber, 201, claimsCredit(kGAForm190054ID, {c.f190159, c.f190160}));
}

void GATaxFormAuditor::auditIndCr202(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    remindIndCr(kGAForm190055ID, copyNumber, 202, claimsCredit(kGAForm190055ID, {kGAForm190055FieldIds.f190165}));
}

void GATaxFormAuditor::auditIndCr203(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    const auto& c = kGAForm190056FieldIds;
    remindIndCr(kGAForm190056ID, copyNumber, 203, claimsCredit(kGAForm190056ID, {c.f190169, c.f190170}));
}

// IND-CR 204: up to two qualifying family members, and their expenses.
void GATaxFormAuditor::auditIndCr204(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const auto& c = kGAForm190057FieldIds;
    const auto missing = [&](bool fires, const FieldID& field, const std::string& text) {
        report(kClassBoth, fires, kTypeMissingEntry, kGAForm190057ID, copyNumber, field, text);
    };
    struct Member {
        FieldID lastName, firstName, relationship, ssn, age, disabilityDate;
    };
    const auto checkMember = [&](const Member& m) {
        missing(copy->isNull(m.lastName), m.lastName, "Qualifying family member last name");
        missing(copy->isNull(m.firstName), m.firstName, "Qualifying family member first name");
        missing(copy->isNull(m.relationship), m.relationship, "Qualifying family member relationship");
        missing(copy->isNull(m.ssn), m.ssn, "Qualifying family member social security number");
        missing(
            copy->isNull(m.disabilityDate) && copy->getIR(m.age) < GACalculationMgmt::TaxYear::kIndCr204QualifyingAge,
            m.age, "Qualifying family member's age (62 or over) or date of disability");
    };
    if (copy->gtZero(c.f190191)) {
        checkMember({c.f190174, c.f190172, c.f190176, c.f190175, c.f190177, c.f190178});
        if (anyNonNull(*copy, {c.f190179, c.f190181, c.f190180, c.f190183, c.f190182, c.f190185, c.f190184})) {
            checkMember({c.f190181, c.f190179, c.f190183, c.f190182, c.f190184, c.f190185});
        }
    }
    missing(copy->eqZero(c.f190186) && anyNonNull(*copy, {c.f190174, c.f190175, c.f190176}), c.f190186,
            "Qualifying Family Member information is present without the expenses amount");
    remindIndCr(kGAForm190057ID, copyNumber, 204, claimsCredit(kGAForm190057ID, {c.f190191}));
}

// IND-CR 205: up to two qualifying children and their driver training.
void GATaxFormAuditor::auditIndCr205(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const auto& c = kGAForm190058FieldIds;
    const auto checkChild = [&](std::array<FieldID, 6> fields) {
        static const std::array<const char*, 6> texts{"Qualifying child's first name",
                                                      "Qualifying child's last name",
                                                      "Qualifying child's social security number",
                                                      "Name of private driver training school",
                                                      "Birth date",
                                                      "Date of successful completion"};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            report(kClassBoth, copy->isNull(fields[i]), kTypeMissingEntry, kGAForm190058ID, copyNumber, fields[i],
                   texts[i]);
        }
    };
    if (copy->gtZero(c.f190210)) {
        checkChild({c.f190194, c.f190195, c.f190197, c.f190193, c.f190196, c.f190198});
        if (anyNonNull(*copy, {c.f190200, c.f190201, c.f190203, c.f190199, c.f190202, c.f190204})) {
            checkChild({c.f190200, c.f190201, c.f190203, c.f190199, c.f190202, c.f190204});
        }
    }
    remindIndCr(kGAForm190058ID, copyNumber, 205, claimsCredit(kGAForm190058ID, {c.f190210}));
}

// IND-CR 206: the disaster assistance approval letter, its date and agency.
void GATaxFormAuditor::auditIndCr206(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const auto& c = kGAForm190059FieldIds;
    report(kClassAttachment, claimsCredit(kGAForm190059ID, {c.f190218}), kTypeWarning, kGAForm190059ID, copyNumber,
           FieldID(0), "attach a copy of the disaster assistance agency approval letter to your Georgia return");
    const bool assisted = copy->gtZero(c.f190218);
    report(kClassBoth, copy->isNull(c.f190214) && assisted, kTypeMissingEntry, kGAForm190059ID, copyNumber, c.f190214,
           "date disaster assistance was received");
    report(kClassBoth, copy->isNull(c.f190212) && assisted, kTypeMissingEntry, kGAForm190059ID, copyNumber, c.f190212,
           "name of agency that provided disaster assistance");
    remindIndCr(kGAForm190059ID, copyNumber, 206, claimsCredit(kGAForm190059ID, {c.f190218, c.f190219}));
}

// IND-CR 207: up to two practices, only when the credit is claimed.
void GATaxFormAuditor::auditIndCr207(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const auto& c = kGAForm190060FieldIds;
    if (!copy->gtZero(c.f190232)) {
        return;
    }
    const auto checkPractice = [&](std::array<FieldID, 5> fields) {
        if (!anyNonNull(*copy, {fields[0], fields[1], fields[2], fields[3], fields[4]})) {
            return;
        }
        static const std::array<const char*, 4> texts{"your county of residence", "the county of your practice",
                                                      "the type of practice", "your start date"};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            report(kClassBoth, copy->isNull(fields[i]), kTypeMissingEntry, kGAForm190060ID, copyNumber, fields[i],
                   texts[i]);
        }
        report(kClassBoth, copy->eqZero(fields[4]), kTypeMissingEntry, kGAForm190060ID, copyNumber, fields[4],
               "number of beds");
    };
    checkPractice({c.f190221, c.f190222, c.f190223, c.f190224, c.f190225});
    checkPractice({c.f190226, c.f190227, c.f190228, c.f190229, c.f190230});
    remindIndCr(kGAForm190060ID, copyNumber, 207, true);
}

void GATaxFormAuditor::auditIndCr208(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    const auto& c = kGAForm190061FieldIds;
    remindIndCr(kGAForm190061ID, copyNumber, 208, claimsCredit(kGAForm190061ID, {c.f190236, c.f190237}));
}

void GATaxFormAuditor::auditIndCr209(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    const auto& c = kGAForm190062FieldIds;
    remindIndCr(kGAForm190062ID, copyNumber, 209, claimsCredit(kGAForm190062ID, {c.f190243, c.f190244}));
}

}  // namespace GAAuditMgmt
