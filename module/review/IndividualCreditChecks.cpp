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
#include <utility>

#include "module/catalogues/IndCrLines.h"
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
    const IndCr201Lines& l = kIndCr201;
    remindIndCr(kGAForm190054ID, copyNumber, 201, claimsCredit(kGAForm190054ID, {l.credit, l.remaining}));
}

void GATaxFormAuditor::auditIndCr202(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    remindIndCr(kGAForm190055ID, copyNumber, 202, claimsCredit(kGAForm190055ID, {kIndCr202.credit}));
}

void GATaxFormAuditor::auditIndCr203(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    const IndCr203Lines& l = kIndCr203;
    remindIndCr(kGAForm190056ID, copyNumber, 203, claimsCredit(kGAForm190056ID, {l.credit, l.remaining}));
}

// IND-CR 204: up to two qualifying family members, and their expenses.
void GATaxFormAuditor::auditIndCr204(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const IndCr204Lines& l = kIndCr204;
    const auto missing = [&](bool fires, const FieldID& field, const std::string& text) {
        report(kClassBoth, fires, kTypeMissingEntry, kGAForm190057ID, copyNumber, field, text);
    };
    const auto checkMember = [&](const IndCr204Lines::FamilyMember& m) {
        missing(copy->isNull(m.lastName), m.lastName, "Qualifying family member last name");
        missing(copy->isNull(m.firstName), m.firstName, "Qualifying family member first name");
        missing(copy->isNull(m.relationship), m.relationship, "Qualifying family member relationship");
        missing(copy->isNull(m.number), m.number, "Qualifying family member social security number");
        missing(
            copy->isNull(m.disabilityDate) && copy->getIR(m.age) < GACalculationMgmt::TaxYear::kIndCr204QualifyingAge,
            m.age, "Qualifying family member's age (62 or over) or date of disability");
    };
    const IndCr204Lines::FamilyMember& first = l.familyMembers[0];
    const IndCr204Lines::FamilyMember& second = l.familyMembers[1];
    if (copy->gtZero(l.credit)) {
        checkMember(first);
        if (anyNonNull(*copy, {second.firstName, second.lastName, second.middleInitial, second.relationship,
                               second.number, second.disabilityDate, second.age})) {
            checkMember(second);
        }
    }
    missing(copy->eqZero(l.expenses) && anyNonNull(*copy, {first.lastName, first.number, first.relationship}),
            l.expenses, "Qualifying Family Member information is present without the expenses amount");
    remindIndCr(kGAForm190057ID, copyNumber, 204, claimsCredit(kGAForm190057ID, {l.credit}));
}

// IND-CR 205: up to two qualifying children and their driver training.
void GATaxFormAuditor::auditIndCr205(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const IndCr205Lines& l = kIndCr205;
    const auto checkChild = [&](const IndCr205Lines::Child& child) {
        const std::array<std::pair<const FieldID&, const char*>, 6> entries{{
            {child.firstName, "Qualifying child's first name"},
            {child.lastName, "Qualifying child's last name"},
            {child.number, "Qualifying child's social security number"},
            {child.school, "Name of private driver training school"},
            {child.birthDate, "Birth date"},
            {child.completionDate, "Date of successful completion"},
        }};
        for (const auto& [field, text] : entries) {
            report(kClassBoth, copy->isNull(field), kTypeMissingEntry, kGAForm190058ID, copyNumber, field, text);
        }
    };
    const IndCr205Lines::Child& second = l.children[1];
    if (copy->gtZero(l.credit)) {
        checkChild(l.children[0]);
        if (anyNonNull(*copy, {second.firstName, second.lastName, second.number, second.school, second.birthDate,
                               second.completionDate})) {
            checkChild(second);
        }
    }
    remindIndCr(kGAForm190058ID, copyNumber, 205, claimsCredit(kGAForm190058ID, {l.credit}));
}

// IND-CR 206: the disaster assistance approval letter, its date and agency.
void GATaxFormAuditor::auditIndCr206(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const IndCr206Lines& l = kIndCr206;
    report(kClassAttachment, claimsCredit(kGAForm190059ID, {l.credit}), kTypeWarning, kGAForm190059ID, copyNumber,
           FieldID(0), "attach a copy of the disaster assistance agency approval letter to your Georgia return");
    const bool assisted = copy->gtZero(l.credit);
    report(kClassBoth, copy->isNull(l.disasterDate) && assisted, kTypeMissingEntry, kGAForm190059ID, copyNumber,
           l.disasterDate, "date disaster assistance was received");
    report(kClassBoth, copy->isNull(l.disasterAgency) && assisted, kTypeMissingEntry, kGAForm190059ID, copyNumber,
           l.disasterAgency, "name of agency that provided disaster assistance");
    remindIndCr(kGAForm190059ID, copyNumber, 206, claimsCredit(kGAForm190059ID, {l.credit, l.remaining}));
}

// IND-CR 207: up to two practices, only when the credit is claimed.
void GATaxFormAuditor::auditIndCr207(DataMgmt::TaxFormPtr copy, std::uint16_t copyNumber) {
    const IndCr207Lines& l = kIndCr207;
    if (!copy->gtZero(l.credit)) {
        return;
    }
    const auto checkPractice = [&](const IndCr207Lines::Practice& p) {
        if (!anyNonNull(*copy, {p.residenceCounty, p.practiceCounty, p.practiceType, p.startDate, p.beds})) {
            return;
        }
        const std::array<std::pair<const FieldID&, const char*>, 4> entries{{
            {p.residenceCounty, "your county of residence"},
            {p.practiceCounty, "the county of your practice"},
            {p.practiceType, "the type of practice"},
            {p.startDate, "your start date"},
        }};
        for (const auto& [field, text] : entries) {
            report(kClassBoth, copy->isNull(field), kTypeMissingEntry, kGAForm190060ID, copyNumber, field, text);
        }
        report(kClassBoth, copy->eqZero(p.beds), kTypeMissingEntry, kGAForm190060ID, copyNumber, p.beds,
               "number of beds");
    };
    checkPractice(l.taxpayerPractice);
    checkPractice(l.spousePractice);
    remindIndCr(kGAForm190060ID, copyNumber, 207, true);
}

void GATaxFormAuditor::auditIndCr208(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    const IndCr208Lines& l = kIndCr208;
    remindIndCr(kGAForm190061ID, copyNumber, 208, claimsCredit(kGAForm190061ID, {l.credit, l.remaining}));
}

void GATaxFormAuditor::auditIndCr209(DataMgmt::TaxFormPtr /*copy*/, std::uint16_t copyNumber) {
    const IndCr209Lines& l = kIndCr209;
    remindIndCr(kGAForm190062ID, copyNumber, 209, claimsCredit(kGAForm190062ID, {l.credit, l.remaining}));
}

}  // namespace GAAuditMgmt
