#include "module/frame/GATaxReturn.h"

#include <array>
#include <optional>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/StateForm14Lines.h"
#include "module/catalogues/StateForm4Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/interview/FieldOptions.h"
#include "platform/util/Utils.h"

namespace GADataMgmt {

namespace {

const Form69Lines::Heading& kInfoHeading = kForm69Lines.heading;

}  // namespace

const char* const GATaxReturn::kRefundAddress =
    "Processing Center\n"
    "Georgia Department of Revenue\n"
    "P.O. Box 740380\n"
    "Atlanta, GA  30374-0380";
const char* const GATaxReturn::kPaymentAddress =
    "Processing Center\n"
    "Georgia Department of Revenue\n"
    "P.O. Box 740399\n"
    "Atlanta, GA  30374-0399";
const char* const GATaxReturn::kKind2Address =
    "Processing Center\n"
    "Georgia Department of Revenue\n"
    "P.O. Box 740323\n"
    "Atlanta, GA  30374-0323";

GATaxReturn::GATaxReturn(DataMgmt::TaxReturnPtr federal, DataMgmt::TaxReturnDescPtr desc, Utils::StringPoolPtr pool)
    : StateDataMgmt::StateTaxReturn(federal, desc, pool) {
    // The base keeps what it needs; this constructor's own copies go now.
    federal.release();
    desc.release();
    pool.release();
}

GATaxReturn::~GATaxReturn() = default;

void GATaxReturn::MapFormField(FormID& f, std::uint16_t copy, FieldID x, std::uint16_t& outCopy, FieldID& outField) {
    StateDataMgmt::StateTaxReturn::MapFormField(f, copy, x, outCopy, outField);
}

std::int8_t GATaxReturn::getFilingStatusNumber() { return getFilingStatus(getMainFormID()); }

Primitives::QVImmutableFormIdentifier GATaxReturn::getMainForm() { return getMainFormID(); }

void GATaxReturn::getFieldDisplayValuePairs(DataMgmt::TaxFormPtr& copy, DataMgmt::FormFieldPtr& field,
                                            Properties::DisplayValuePairs& pairs) {
    FieldOptionsMgmt::GAFieldOptionsListFactory factory(this);
    if (!factory.buildFieldOptions(copy, field, pairs)) {
        StateDataMgmt::StateTaxReturn::getFieldDisplayValuePairs(copy, field, pairs);
    }
}

void GATaxReturn::setStateForm14Boxes(bool b) {
    if (b) {
        setXValue(kStateForm14ID, 1, kStateForm14Lines.updatesYes, false);
        setXValue(kStateForm14ID, 1, kStateForm14Lines.updatesThird, true);
    } else {
        setXValue(kStateForm14ID, 1, kStateForm14Lines.updatesNo, true);
        setXValue(kStateForm14ID, 1, kStateForm14Lines.updatesYes, false);
        setXValue(kStateForm14ID, 1, kStateForm14Lines.updatesThird, false);
    }
}

void GATaxReturn::getStateCode(std::string& out) { out = "GA"; }

void GATaxReturn::getStateName(std::string& out) { out = "Georgia"; }

std::int32_t GATaxReturn::getStateNumber() { return 11; }

std::int32_t GATaxReturn::getModuleCode() {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>('Q') << 24) | (static_cast<std::uint32_t>('V') << 16) |
                                     (static_cast<std::uint32_t>('0') << 8) | static_cast<std::uint32_t>('I'));
}

std::int32_t GATaxReturn::getModuleCodeAlt() { return getModuleCode(); }

Primitives::QVImmutableFormIdentifier GATaxReturn::getInfoForm() { return kGAForm69ID; }

Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerFirstNameField() { return kInfoHeading.taxpayerFirstName; }
Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerLastNameField() { return kInfoHeading.taxpayerLastName; }
Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerSuffixField() { return kInfoHeading.taxpayerSuffix; }
Primitives::QVImmutableIdentifier GATaxReturn::getTaxpayerSsnField() { return kInfoHeading.taxpayerNumber; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseFirstNameField() { return kInfoHeading.spouseFirstName; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseLastNameField() { return kInfoHeading.spouseLastName; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseSuffixField() { return kInfoHeading.spouseSuffix; }
Primitives::QVImmutableIdentifier GATaxReturn::getSpouseSsnField() { return kInfoHeading.spouseNumber; }
Primitives::QVImmutableIdentifier GATaxReturn::getInfoKeyField() { return kForm69Lines.filing.filingStatus; }

void GATaxReturn::getMailingAddress(std::string& out, std::int32_t kind) {
    out.clear();
    if (kind == 0) {
        // A refund, or nothing owed, goes to the refund box; a balance due to
        // the payment box. The amount owed is read only when there is no
        // refund.
        const FormID main = getMainFormID();
        if (getLineValue(main, 1, SummaryLine::kRefund) > 0 || getLineValue(main, 1, SummaryLine::kAmountOwed) == 0) {
            out = kRefundAddress;
        } else {
            out = kPaymentAddress;
        }
    } else if (kind == 2) {
        out = kKind2Address;
    }
}

TopicMgmt::TopicStatus GATaxReturn::isForm2Needed() {
    const DataMgmt::TaxFormPtr copy = getFormUVPtr(kStateForm2ID, 1, false);
    return copy.isNull() ? TopicMgmt::kTopicStatusNotNeeded : TopicMgmt::kTopicStatusNeeded;
}

TopicMgmt::TopicStatus GATaxReturn::isForm3Needed() {
    const DataMgmt::TaxFormPtr copy = getFormUVPtr(kStateForm3ID, 1, false);
    return copy.isNull() ? TopicMgmt::kTopicStatusNotNeeded : TopicMgmt::kTopicStatusNeeded;
}

TopicMgmt::TopicStatus GATaxReturn::isInfoBoxNeeded() {
    const Form69Lines::Residency& residency = kForm69Lines.residency;
    if (formYes(kGAForm69ID, 1, residency.nonresident) || formYes(kGAForm69ID, 1, residency.partYear)) {
        return TopicMgmt::kTopicStatusNeeded;
    }
    return TopicMgmt::kTopicStatusNotNeeded;
}

Primitives::QVImmutableFormIdentifier GATaxReturn::getMainFormID() const { return kGAForm70ID; }

std::int8_t GATaxReturn::getFilingStatus(const FormID& /*form*/) const {
    const DataMgmt::TaxFormPtr copy = getForm(kGAForm70ID, 1);
    if (copy.isNull()) {
        return FilingStatus::kSingle;
    }
    const std::string status = formString(kGAForm70ID, 1, kForm70Lines.heading.filingStatus);
    if (status == "B") {
        return FilingStatus::kJoint;
    }
    if (status == "C") {
        return FilingStatus::kSeparate;
    }
    if (status == "D") {
        return FilingStatus::kHeadOfHousehold;
    }
    return FilingStatus::kSingle;  // "A", and any other letter
}

Primitives::QVImmutableFormIdentifier GATaxReturn::getFederalFormID() const {
    const DataMgmt::TaxFormPtr copy = getForm(kGAForm69ID, 1);
    if (!copy.isNull()) {
        if (copy->xMarked(kForm69Lines.heading.filedForm55)) {
            return kForm55ID;
        }
        if (copy->xMarked(kForm69Lines.heading.filedForm87)) {
            return kForm87ID;
        }
    }
    return kForm1ID;
}

double GATaxReturn::listedStatementWithholding(double withheld) const { return Utils::roundReal(withheld); }

namespace {

using FormID = Primitives::QVImmutableFormIdentifier;
using FieldID = Primitives::QVImmutableIdentifier;

// How a summary line is read from copy 1 of one form: the sum of the fields
// `added` less the fields `subtracted` (null fields stand for none). A
// reading without a form is the amount `fixed`.
struct LineReading {
    FormID form{};
    std::array<FieldID, 2> added{};
    std::array<FieldID, 3> subtracted{};
    long fixed = 0;
};

// Full-year residents (form 69 field 110) read `fullYear`; part-year
// residents and nonresidents read `otherResidency` where the line has one.
struct SummaryLineReading {
    LineReading fullYear;
    std::optional<LineReading> otherResidency{};
};

constexpr LineReading form70(FieldID x) { return {.form = kGAForm70ID, .added = {x}}; }
constexpr LineReading schedule1(FieldID x) { return {.form = kGAForm189215ID, .added = {x}}; }
constexpr LineReading schedule3(FieldID x) { return {.form = kGAForm189217ID, .added = {x}}; }

constexpr const Form70Lines& f70 = kForm70Lines;
constexpr const Form189215Lines& schedule1Lines = kForm189215Lines;
constexpr const Form189217Lines& schedule3Lines = kForm189217Lines;

// The summary lines by number; line 17, like any number outside 1 to 27,
// names no field and reads 0.
constexpr std::array<SummaryLineReading, 28> kSummaryLines{{
    {},
    // 1: federal adjusted gross income; the state wage worksheet's for a
    // filer who lived in Georgia part of the year or not at all.
    {form70(f70.income.federalAgi), LineReading{.form = kStateForm4ID, .added = {kStateForm4Lines.federalAgi}}},
    // 2: Georgia adjusted gross income; for a filer who lived in Georgia part
    // of the year or not at all, whose form 70 leaves that line empty, the
    // Georgia income after adjustments of schedule 3.
    {form70(f70.income.georgiaAgi), schedule3(schedule3Lines.incomeAfterAdjustments.georgia)},
    {form70(f70.income.taxable)},  // 3: taxable income
    // 4: the Georgia ratio of schedule 3; a full-year resident's is whole.
    {LineReading{.fixed = 1}, schedule3(schedule3Lines.ratio)},
    // 5: the deductions, itemized plus the total standard deduction.
    {LineReading{.form = kGAForm70ID, .added = {f70.deductions.totalItemized, f70.deductions.totalStandard}},
     schedule3(schedule3Lines.deduction)},
    {form70(f70.exemptions.filerAmount), schedule3(schedule3Lines.exemptions)},  // 6: exemptions
    {form70(f70.exemptions.dependents)},                                         // 7: number of dependents
    // 8: both filers' retirement exclusions, the spouse's and the taxpayer's.
    {LineReading{.form = kGAForm189215ID,
                 .added = {schedule1Lines.spouseRetirement.exclusion, schedule1Lines.taxpayerRetirement.exclusion}}},
    {form70(f70.payments.withheld)},                           // 9: Georgia tax withheld
    {form70(f70.result.credited)},                             // 10: overpayment credited to 2019 estimated tax
    {schedule1(schedule1Lines.municipalInterestLine)},         // 11: addition, other states' municipal bond interest
    {schedule1(schedule1Lines.lumpSumDistributions)},          // 12: addition, lump-sum distributions
    {schedule1(schedule1Lines.otherAdditions)},                // 13: other additions
    {schedule1(schedule1Lines.taxpayerRetirement.exclusion)},  // 14: the taxpayer's retirement exclusion
    {schedule1(schedule1Lines.spouseRetirement.exclusion)},    // 15: the spouse's retirement exclusion
    {schedule1(schedule1Lines.socialSecurity)},                // 16: subtraction, social security
    {},                                                        // 17: no field
    {schedule1(schedule1Lines.usObligations)},                 // 18: subtraction, interest on U.S. obligations
    {schedule1(schedule1Lines.otherSubtractions)},             // 19: other subtractions
    // 20: the subtractions other than social security and the retirement
    // exclusions.
    {LineReading{.form = kGAForm189215ID,
                 .added = {schedule1Lines.subtractions},
                 .subtracted = {schedule1Lines.socialSecurity, schedule1Lines.taxpayerRetirement.exclusion,
                                schedule1Lines.spouseRetirement.exclusion}}},
    // 21 and 22: the totals of the additions to federal income and of the
    // subtractions, which form 70's Georgia adjustments add and take off.
    {schedule1(schedule1Lines.additions)},
    {schedule1(schedule1Lines.subtractions)},
    {form70(f70.credits.tax)},        // 23: tax
    {form70(f70.credits.netTax)},     // 24: net tax
    {form70(f70.payments.total)},     // 25: total payments and withholding
    {form70(f70.result.refund)},      // 26: refund
    {form70(f70.result.balanceDue)},  // 27: amount owed
}};

}  // namespace

long GATaxReturn::getLineValue(const FormID& /*form*/, std::uint16_t /*copy*/, std::int32_t line) const {
    const bool fullYear = formYes(kGAForm69ID, 1, kForm69Lines.residency.fullYear);
    if (line < 0 || static_cast<std::size_t>(line) >= kSummaryLines.size()) {
        return 0;
    }
    const SummaryLineReading& summary = kSummaryLines[static_cast<std::size_t>(line)];
    const LineReading& reading = fullYear || !summary.otherResidency ? summary.fullYear : *summary.otherResidency;
    if (reading.form.isNullID()) {
        return reading.fixed;
    }
    long value = 0;
    for (const FieldID& x : reading.added) {
        if (!x.isNullID()) value += getIN(reading.form, 1, x);
    }
    for (const FieldID& x : reading.subtracted) {
        if (!x.isNullID()) value -= getIN(reading.form, 1, x);
    }
    return value;
}

}  // namespace GADataMgmt
