// The test-value setter: one value, written as text, into one field of one
// form copy, by the field's kind.
//
// A check box is ticked by any value but "untrue" (any case), which clears
// it; a text keeps the part before "[CopyNum]" followed by the copy number;
// an amount is read as a return file writes one and scaled to the field's
// stored unit by its edit code, and "RAND[max]" stands for a random amount
// from 0 to max. The empty value clears any field. A value that a return
// file could not give the field as an entry (a text that is no amount on an
// amount field, an amount beyond the amount limit, given to more than the
// cent or below 0 where the field takes 0 or more, a text longer than its
// field or that XML cannot carry, a date field's text that is no calendar
// date or lies outside the field's years, a date that would make form 69's
// part-year residency period end before it begins) is not set, with a note.
#include <cmath>
#include <limits>
#include <optional>

#include "module/autotest/TestFieldNames.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"
#include "platform/Exceptions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DerivedItems.h"
#include "platform/util/Crt.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/Utils.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kRandomWord = "RAND";
constexpr const char* kRandomPrefix = "RAND[";
constexpr const char* kCopyNumberMarker = "[CopyNum]";
constexpr const char* kClearBoxWord = "UNTRUE";
// A check box with this edit code is a yes/no question answered yes.
constexpr std::uint8_t kYesNoEditCode = 1;

// Edit codes of whole-dollar amounts kept in hundredths: the value is
// rounded to the dollar before it is scaled.
bool isWholeDollarCode(std::uint8_t editCode) { return editCode == 'F' || editCode == 170 || editCode == 172; }

// An amount as a return file writes it ("1234", "-12.50", "45,000.00"), read
// by the return file's own reader into the field's stored unit (times 10 to
// the edit code's decimal places); a whole-dollar amount is rounded to the
// dollar first. None, with the reason in `problem`, for a text that is no
// such amount ("12abc", "1e3", "0x10").
std::optional<double> writtenAmount(const std::string& text, std::uint8_t editCode, std::string& problem) {
    const int places = DataMgmt::editCodeDecimalPlaces(editCode);
    double amount = 0.0;
    const bool read = isWholeDollarCode(editCode) ? PersistanceMgmt::parseAmount(text, 0, amount)
                                                  : PersistanceMgmt::parseAmount(text, places, amount);
    if (!read) {
        problem = "the value \"" + Utils::QVStringUtils::escapeForMessage(text, 40) + "\" is not an amount (" +
                  PersistanceMgmt::kAmountForms + ")";
        return std::nullopt;
    }
    if (isWholeDollarCode(editCode)) return static_cast<double>(Utils::roundR(amount)) * std::pow(10.0, places);
    return amount;
}

// The number a test value stands for on an amount field. "RAND[max]" gives
// the maximum, cut to a whole number of dollars and scaled, times a random
// fraction from 0 to 1, to the cent. None, with the reason in `problem`, for
// a value or a maximum that is no amount, or a random amount without its
// bracketed maximum.
std::optional<double> testAmount(const std::string& value, std::uint8_t editCode, std::string& problem) {
    if (value.find(kRandomWord) == std::string::npos) {
        return writtenAmount(value, editCode, problem);
    }
    const std::string prefix = kRandomPrefix;
    if (value.size() <= prefix.size() || value.compare(0, prefix.size(), prefix) != 0 || value.back() != ']') {
        problem = "the value \"" + Utils::QVStringUtils::escapeForMessage(value, 40) +
                  "\" is a random amount without its bracketed maximum";
        return std::nullopt;
    }
    double maximum = 0.0;
    if (!PersistanceMgmt::parseAmount(value.substr(prefix.size(), value.size() - prefix.size() - 1), 0, maximum)) {
        problem = "the value \"" + Utils::QVStringUtils::escapeForMessage(value, 40) +
                  "\" is a random amount whose maximum is not an amount";
        return std::nullopt;
    }
    const double fraction = crt::rand() / static_cast<double>(crt::kRandMax);
    // Rounded to the cent: a random amount is an entry, which a saved return
    // must carry and read back.
    const int places = DataMgmt::editCodeDecimalPlaces(editCode);
    return DataMgmt::roundedToTheCent(std::trunc(maximum) * std::pow(10.0, places) * fraction, places);
}

// The text before the first "[CopyNum]" followed by the copy number; the
// text after the marker is dropped.
std::string withCopyNumber(const std::string& value, std::uint16_t copy) {
    const std::size_t marker = value.find(kCopyNumberMarker);
    if (marker == std::string::npos) {
        return value;
    }
    return value.substr(0, marker) + std::to_string(copy);
}

// A date that would make form 69's part-year residency period end before it
// begins, with the other end of the period as the copy holds it.
std::string residencyPeriodProblem(const DataMgmt::TaxReturn& taxReturn, const FormId& form, std::uint16_t copy,
                                   const FieldId& field, const std::string& date) {
    using PersistanceMgmt::kResidencyFrom;
    using PersistanceMgmt::kResidencyTo;
    const bool from = field.getNumber() == kResidencyFrom;
    if (!(form == FormId(PersistanceMgmt::kResidencyPeriodForm, true)) ||
        (!from && field.getNumber() != kResidencyTo)) {
        return {};
    }
    const DataMgmt::FieldValue other = taxReturn.getValue(form, copy, FieldId(from ? kResidencyTo : kResidencyFrom));
    if (!other.isText()) return {};
    return from ? PersistanceMgmt::residencyPeriodProblem(date, other.getText())
                : PersistanceMgmt::residencyPeriodProblem(other.getText(), date);
}

}  // namespace

void noteValueNotSet(const DataMgmt::TaxReturn& taxReturn, const FormId& form, const std::string& copy,
                     const DataMgmt::FormFieldDesc& field, const std::string& problem) {
    const DataMgmt::TaxFormDescPtr formDesc = taxReturn.getTaxFormDescriptor(form);
    IOMgmt::IOMgr::getInstance().notice("test facility: form " + (formDesc.isNull() ? "?" : formDesc->getDevName()) +
                                        " copy " + Utils::QVStringUtils::escapeForMessage(copy, 40) + " field " +
                                        field.describe() + ": " + problem + "; not set");
}

void StateTaxReturnCalcEngine::setFieldTestValue(const FormId& form, int copy, const FieldId& field,
                                                 const std::string& value, DataMgmt::TaxReturn* taxReturn,
                                                 bool onlyIfValued) {
    if (taxReturn == nullptr) {
        throw Exceptions::QuarloException("the return is missing", "StateTaxReturnCalcEngine", "setFieldTestValue");
    }
    // A field the form does not have, or a copy number no copy can carry,
    // names nothing to set.
    const DataMgmt::FormFieldDescPtr desc = describedField(*taxReturn, form, field);
    if (desc.isNull() || copy < 1 || copy > std::numeric_limits<std::uint16_t>::max()) {
        return;
    }
    const auto number = static_cast<std::uint16_t>(copy);
    if (onlyIfValued && taxReturn->noSigValue(form, number, field)) {
        return;
    }
    // A value that a return file could not give the field as an entry is
    // not set.
    const bool isAmount = !desc->isBoolean() && !desc->isText();
    std::optional<double> amount;
    std::string problem;
    PersistanceMgmt::EntryText text;
    if (!value.empty() && isAmount) {
        amount = testAmount(value, desc->getValidator()->getEditCode(), problem);
        if (amount) problem = PersistanceMgmt::amountProblem(*desc, *amount, value);
    } else if (!value.empty() && desc->isText()) {
        text = PersistanceMgmt::readEntryText(*desc, withCopyNumber(value, number), true);
        problem =
            text.problem.empty() ? residencyPeriodProblem(*taxReturn, form, number, field, text.value) : text.problem;
    }
    if (!problem.empty()) {
        noteValueNotSet(*taxReturn, form, std::to_string(number), *desc, problem);
        return;
    }
    DataMgmt::TaxFormPtr target = taxReturn->getFormOrCreate(form, number);
    if (target.isNull()) {
        return;  // past the form's copy limit
    }
    if (value.empty()) {
        target->setNull(field);
    } else if (desc->isBoolean()) {
        if (Utils::QVStringUtils::upperCased(value) == kClearBoxWord) {
            target->setNull(field);
            return;  // a cleared box does not make the copy entered
        }
        if (desc->getValidator()->getEditCode() == kYesNoEditCode) {
            target->setYes(field);
        } else {
            target->setX(field);
        }
    } else if (desc->isText() && text.value.empty()) {
        target->setNull(field);
    } else if (desc->isText()) {
        target->assignText(field, text.value);  // in its one form, as a return file gives it
    } else {
        target->assignIR(field, *amount);
    }
    taxReturn->setDataEntered(form, number, true, true);
}

}  // namespace StateCalculationMgmt
