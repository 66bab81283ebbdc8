// The Georgia return's e-file summary items and its 2-D barcode texts.

#include <algorithm>
#include <array>
#include <cstdio>

#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form189219Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/IndCrLines.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/GeorgiaForms.h"
#include "module/frame/TaxYearStrings.h"
#include "platform/util/Utils.h"

namespace GADataMgmt {

namespace {

using FieldID = Primitives::QVImmutableIdentifier;

constexpr char kCarriageReturn = '\r';
constexpr std::size_t kSch2Fields = 36;
constexpr std::size_t kExplanationLimit = 100;

// Whether the form or field is one of those listed.
template <class Id>
bool anyOf(const Id& id, std::initializer_list<Id> listed) {
    return std::find(listed.begin(), listed.end(), id) != listed.end();
}

// The worksheets whose copies print only when calculated.
bool printsOnlyWhenCalculated(const Primitives::QVImmutableFormIdentifier& form) {
    const GAForms::GeorgiaForm* row = GAForms::findGeorgiaForm(form);
    return row != nullptr && row->barcodeWhenCalculated;
}

// The Georgia ratio of schedule 3 (form 189217), in ten-thousandths.
const FieldID& kGeorgiaRatio = kForm189217Lines.ratio;

template <std::size_t N>
bool isEntryStateId(const std::array<WithholdingEntryLines, N>& entries, const FieldID& field) {
    for (const WithholdingEntryLines& entry : entries) {
        if (field == entry.stateId) {
            return true;
        }
    }
    return false;
}

bool isBusinessShare(const FieldID& field) {
    for (const Form189216Lines::BusinessRow& row : kForm189216Lines.rows) {
        if (field == row.share) {
            return true;
        }
    }
    return false;
}

void removeAll(std::string& value, char ch) { Utils::QVStringUtils::removeAllInstanceOf(value, ch); }

// A date becomes MMDDYYYY (the year printed four places wide). An empty value
// stays empty; a text that is not a date becomes empty, so that no digits are
// made up for it.
void rewriteDate(std::string& value) {
    if (value.empty()) {
        return;
    }
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!Utils::convertDateStr(std::string_view(value), year, month, day)) {
        value.clear();
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%4d", static_cast<int>(month), static_cast<int>(day),
                  static_cast<int>(year));
    value = text;
}

// A business share as the barcode writes it: the field's text on the copy
// without its decimal point, or "10000" when its whole-number value is 10000
// (100%, written in full).
std::string shareText(const DataMgmt::TaxReturn& taxReturn, std::uint16_t copy, const FieldID& field) {
    if (taxReturn.getIN(kGAForm189216ID, copy, field) == 10000) {
        return "10000";
    }
    std::string text = taxReturn.formString(kGAForm189216ID, copy, field);
    removeAll(text, '.');
    return text;
}

// The Georgia ratio as schedule 3 shows it: whole ten-thousandths ("7500",
// "10000" for the whole) from copy 1's ratio, which the calculation keeps
// unrounded (the digits of 9811.32 without its point would read 981132), or
// "10000" when the asked copy's is the whole; empty when copy 1 holds none.
std::string ratioText(const DataMgmt::TaxReturn& taxReturn, std::uint16_t valueCopy) {
    if (taxReturn.getIN(kGAForm189217ID, valueCopy, kGeorgiaRatio) == 10000) {
        return "10000";
    }
    if (taxReturn.formString(kGAForm189217ID, 1, kGeorgiaRatio).empty()) {
        return std::string();
    }
    return std::to_string(taxReturn.getIN(kGAForm189217ID, 1, kGeorgiaRatio));
}

// Cuts a text to at most `limit` bytes without splitting a UTF-8 character.
void cutText(std::string& value, std::size_t limit) {
    if (value.size() <= limit) {
        return;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80) {
        --end;
    }
    value.resize(end);
}

}  // namespace

void GATaxReturn::getEFileInfo(std::string& text, long* amount, std::uint32_t item) {
    text.clear();
    long answer = 0;
    const FormID main = getMainFormID();
    const FieldID& totalTaxField = kForm70Lines.credits.tax;

    switch (item) {
        case 0: {
            // An amount owed is positive, a refund negative; the text shows
            // the field's own value.
            const long owed = getLineValue(main, 1, SummaryLine::kAmountOwed);
            if (owed != 0) {
                text = formatFieldString(owed, kGAForm70ID, 1, totalTaxField);
                answer = owed;
            } else {
                const long refund = getLineValue(main, 1, SummaryLine::kRefund);
                text = formatFieldString(refund, kGAForm70ID, 1, totalTaxField);
                answer = Utils::negateSaturated(refund);
            }
            break;
        }
        case 1: {
            const long totalTax = getLineValue(main, 1, SummaryLine::kTotalTax);
            text = formatFieldString(totalTax, kGAForm70ID, 1, totalTaxField);
            answer = totalTax;
            break;
        }
        case 2:
            text = "Georgia Department of Revenue";
            break;
        case 3:
            answer = formYes(kGAForm69ID, 1, kForm69Lines.options.paperNoDeposit) ? 0 : 1;
            break;
        case 5:
            text =
                "Keep Form GA8453, together with the rest of your Georgia return, W-2s, 1099s, and other "
                "supporting documents, for four years.";
            break;
        case 6:
            answer = 2;
            break;
        case 9:
        case 13:
            answer = 1;
            break;
        case 10:
            // Deceased taxpayer or spouse, as the federal return says.
            if (formYes(kForm92ID, 1, kForm92Lines.taxpayerDeceasedBox) ||
                formYes(kForm92ID, 1, kForm92Lines.spouseDeceasedBox)) {
                std::string stateName;
                getStateName(stateName);
                text = stateName + " does not support e-filing on behalf of a deceased taxpayer";
                answer = 0;
            } else {
                answer = 1;
            }
            break;
        default:  // 4, 7, 8, 11, 12, and 14 onwards
            break;
    }
    if (amount != nullptr) {
        *amount = answer;
    }
}

void GATaxReturn::formatBarcodeValue(DataMgmt::TaxFormPtr& copy, const FormID& form, std::uint16_t copyNumber,
                                     const FieldID& field, std::string& value) {
    if (form.getNumber() <= 0 && field.getNumber() <= 0) {
        formatKeyword(value);
    } else {
        formatFieldValue(copy, form, copyNumber, field, value);
    }
}

void GATaxReturn::formatKeyword(std::string& value) {
    if (value == "TaxYear") {
        value = kTaxYear;
        return;
    }
    if (value != "Sch2pg2") {
        return;
    }

    // The second page of schedule 2 is the text of its copy 2: 36 fields,
    // each followed by a carriage return.
    value.clear();
    if (getFormCount(kGAForm189216ID) < 2) {
        value.append(kSch2Fields, kCarriageReturn);
        return;
    }
    const Form189216Lines& summary = kForm189216Lines;
    const auto add = [&](const FieldID& x, char removed) {
        std::string text = formString(kGAForm189216ID, 2, x);
        if (removed != '\0') {
            removeAll(text, removed);
        }
        value += text;
        value += kCarriageReturn;
    };

    add(summary.code, '\0');
    add(summary.added, ',');
    // Six business credit rows: the name, the share (without its point, and
    // without its zeros when it is 0), the amount, the identification number
    // without dashes and the row's amount in the total.
    for (const Form189216Lines::BusinessRow& row : summary.rows) {
        add(row.name, '\0');
        std::string share = formString(kGAForm189216ID, 2, row.share);
        removeAll(share, '.');
        if (!hasSigValue(kGAForm189216ID, 2, row.share)) {
            removeAll(share, '0');
        }
        value += share;
        value += kCarriageReturn;
        add(row.amount, '\0');
        add(row.payerId, '-');
        add(row.rowTotal, ',');
    }
    for (const FieldID& x : {summary.total, summary.firstUsed, summary.creditUsed, summary.remaining}) {
        add(x, ',');
    }
}

void GATaxReturn::appendField(std::string& value, const FormID& f, const FieldID& x) const {
    value += ' ';
    value += getFieldAsString(f, 1, x);
}

void GATaxReturn::formatFieldValue(DataMgmt::TaxFormPtr& copy, const FormID& form, std::uint16_t copyNumber,
                                   const FieldID& field, std::string& value) {
    // A copy without a form object counts as not calculated.
    const bool calculated = !copy.isNull() && copy->calculatedFlag();

    // Worksheets whose copies print only when calculated; the people of
    // IND-CR 204 and 205 and the business rows of schedule 2 are then
    // written as the barcode wants them.
    if (printsOnlyWhenCalculated(form)) {
        if (!calculated) {
            value.clear();
        } else if (form == kGAForm190057ID) {
            formatFamilyMemberValue(field, value);
        } else if (form == kGAForm190058ID) {
            formatChildValue(field, value);
        } else if (form == kGAForm189216ID && isBusinessShare(field)) {
            value = shareText(*this, copyNumber, field);
        }
        return;
    }
    if (form == kGAForm70ID) {
        formatMainFormValue(field, value);
    } else if (form == kGAForm189219ID) {
        formatAmendedValue(field, value);
    } else if (form == kGAForm189217ID && field == kGeorgiaRatio) {
        value = ratioText(*this, copyNumber);
    } else if (form == kGAForm189218ID && isEntryStateId(kForm189218WithholdingEntries, field)) {
        removeAll(value, '-');
    }
}

// IND-CR 204: a family member's first name is followed by the middle initial
// (when there is one) and the last name; the dates of disability are
// MMDDYYYY.
void GATaxReturn::formatFamilyMemberValue(const FieldID& field, std::string& value) const {
    for (const IndCr204Lines::FamilyMember& member : kIndCr204.familyMembers) {
        if (field == member.firstName) {
            if (!isNull(kGAForm190057ID, 1, member.middleInitial)) {
                appendField(value, kGAForm190057ID, member.middleInitial);
            }
            appendField(value, kGAForm190057ID, member.lastName);
            return;
        }
        if (field == member.disabilityDate) {
            rewriteDate(value);
            return;
        }
    }
}

// IND-CR 205: a child's first name is followed by the last name; the birth
// and completion dates are MMDDYYYY.
void GATaxReturn::formatChildValue(const FieldID& field, std::string& value) const {
    for (const IndCr205Lines::Child& child : kIndCr205.children) {
        if (field == child.firstName) {
            appendField(value, kGAForm190058ID, child.lastName);
            return;
        }
        if (field == child.birthDate || field == child.completionDate) {
            rewriteDate(value);
            return;
        }
    }
}

// Form 70: identification numbers without dashes; the boxes print only as
// "X".
void GATaxReturn::formatMainFormValue(const FieldID& field, std::string& value) const {
    const Form70Lines& f70 = kForm70Lines;
    if (field == f70.result.federalReference || isEntryStateId(kForm70WithholdingEntries, field)) {
        removeAll(value, '-');
    } else if (anyOf(field, {f70.heading.otherChoice, f70.exemptions.taxpayerBox, f70.exemptions.spouseBox})) {
        if (value != "X") {
            value.clear();
        }
    }
}

// Form 189219: the explanation continues over up to three further lines, the
// first empty one ending it, and is cut to its limit; the identification
// numbers copied from form 70 are written without dashes.
void GATaxReturn::formatAmendedValue(const FieldID& field, std::string& value) const {
    const Form189219Lines& amended = kForm189219Lines;
    if (field == amended.explanation[0]) {
        for (std::size_t line = 1; line < amended.explanation.size(); ++line) {
            const std::string more = getFieldAsString(kGAForm189219ID, 1, amended.explanation[line]);
            if (more.empty()) {
                break;
            }
            value += ' ';
            value += more;
        }
        cutText(value, kExplanationLimit);
    } else if (field == amended.federalReference ||
               std::find(amended.entryStateIds.begin(), amended.entryStateIds.end(), field) !=
                   amended.entryStateIds.end()) {
        removeAll(value, '-');
    }
}

}  // namespace GADataMgmt
