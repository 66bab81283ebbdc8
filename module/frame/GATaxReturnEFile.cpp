// The Georgia return's e-file summary items and its 2-D barcode texts.

#include <array>
#include <cstdio>

#include "module/catalogues/Form92FieldIds.h"
#include "module/catalogues/GAForm189216FieldIds.h"
#include "module/catalogues/GAForm189217FieldIds.h"
#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm189219FieldIds.h"
#include "module/catalogues/GAForm190057FieldIds.h"
#include "module/catalogues/GAForm190058FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/TaxYearStrings.h"
#include "platform/util/Utils.h"

namespace GADataMgmt {

namespace {

using FieldID = Primitives::QVImmutableIdentifier;

constexpr char kCarriageReturn = '\r';
constexpr std::size_t kSch2Fields = 36;
constexpr std::size_t kNameTextLimit = 100;

bool anyOf(const FieldID& field, std::initializer_list<FieldID> fields) {
    for (const FieldID& f : fields) {
        if (f == field) {
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

// A percentage as the barcode writes it: the field's text on copy
// `textCopy` without its decimal point, or "10000" when the field's
// whole-number value on copy `valueCopy` is 10000 (100%, written in full).
std::string percentText(const DataMgmt::TaxReturn& taxReturn, const Primitives::QVImmutableFormIdentifier& form,
                        std::uint16_t textCopy, std::uint16_t valueCopy, const FieldID& field) {
    if (taxReturn.getIN(form, valueCopy, field) == 10000) {
        return "10000";
    }
    std::string text = taxReturn.formString(form, textCopy, field);
    removeAll(text, '.');
    return text;
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
    const FieldID& totalTaxField = kGAForm70FieldIds.f84;

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
                answer = -refund;
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
            answer = formYes(kGAForm69ID, 1, kGAForm69FieldIds.f197644) ? 0 : 1;
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
            if (formYes(kForm92ID, 1, kForm92FieldIds.f1108) || formYes(kForm92ID, 1, kForm92FieldIds.f1109)) {
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
    const auto& f189216 = kGAForm189216FieldIds;
    const auto add = [&](const FieldID& x, char removed) {
        std::string text = formString(kGAForm189216ID, 2, x);
        if (removed != '\0') {
            removeAll(text, removed);
        }
        value += text;
        value += kCarriageReturn;
    };

    add(f189216.f199426, '\0');
    // Six credit rows of five fields: credit code, amount, percentage, a
    // text, and an identification number.
    const std::array<std::array<FieldID, 5>, 6> rows{{
        {f189216.f189807, f189216.f189808, f189216.f189809, f189216.f189810, f189216.f189811},
        {f189216.f189812, f189216.f189813, f189216.f189814, f189216.f189815, f189216.f189816},
        {f189216.f189817, f189216.f189818, f189216.f189819, f189216.f189820, f189216.f189821},
        {f189216.f189822, f189216.f204115, f189216.f204116, f189216.f204117, f189216.f204118},
        {f189216.f204119, f189216.f204120, f189216.f204121, f189216.f204122, f189216.f204123},
        {f189216.f204124, f189216.f204125, f189216.f204126, f189216.f204127, f189216.f204128},
    }};
    for (const auto& row : rows) {
        add(row[0], ',');
        add(row[1], '\0');
        std::string third = formString(kGAForm189216ID, 2, row[2]);
        removeAll(third, '.');
        if (!hasSigValue(kGAForm189216ID, 2, row[2])) {
            removeAll(third, '0');
        }
        value += third;
        value += kCarriageReturn;
        add(row[3], '\0');
        add(row[4], '-');
    }
    for (const FieldID& x : {f189216.f204129, f189216.f189823, f189216.f189824, f189216.f189825, f189216.f189826}) {
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

    // Worksheets whose copies print only when calculated, and then as they are.
    if (form == kGAForm190054ID || form == kGAForm190055ID || form == kGAForm190056ID || form == kGAForm190059ID ||
        form == kGAForm190060ID || form == kGAForm190061ID || form == kGAForm190062ID || form == kGAForm189215ID) {
        if (!calculated) {
            value.clear();
        }
        return;
    }

    if (form == kGAForm190057ID) {
        const auto& f190057 = kGAForm190057FieldIds;
        if (!calculated) {
            value.clear();
        } else if (field == f190057.f190172) {
            if (!isNull(form, 1, f190057.f190173)) {
                appendField(value, form, f190057.f190173);
            }
            appendField(value, form, f190057.f190174);
        } else if (field == f190057.f190179) {
            if (!isNull(form, 1, f190057.f190180)) {
                appendField(value, form, f190057.f190180);
            }
            appendField(value, form, f190057.f190181);
        } else if (anyOf(field, {f190057.f190178, f190057.f190185})) {
            rewriteDate(value);
        }
        return;
    }

    if (form == kGAForm190058ID) {
        const auto& f190058 = kGAForm190058FieldIds;
        if (!calculated) {
            value.clear();
        } else if (field == f190058.f190194) {
            appendField(value, form, f190058.f190195);
        } else if (field == f190058.f190200) {
            appendField(value, form, f190058.f190201);
        } else if (anyOf(field, {f190058.f190196, f190058.f190198, f190058.f190202, f190058.f190204})) {
            rewriteDate(value);
        }
        return;
    }

    if (form == kGAForm70ID) {
        const auto& f70 = kGAForm70FieldIds;
        if (anyOf(field, {f70.f110, f70.f189512, f70.f189513, f70.f189514, f70.f189548, f70.f189549, f70.f189550})) {
            removeAll(value, '-');
        } else if (anyOf(field, {f70.f34, f70.f324, f70.f325})) {
            if (value != "X") {
                value.clear();
            }
        }
        return;
    }

    if (form == kGAForm189219ID) {
        const auto& f189219 = kGAForm189219FieldIds;
        if (field == f189219.f189660) {
            // The name continues over up to three further lines; the first
            // empty one ends it.
            for (const FieldID& x : {f189219.f189661, f189219.f190146, f189219.f190147}) {
                const std::string more = getFieldAsString(form, 1, x);
                if (more.empty()) {
                    break;
                }
                value += ' ';
                value += more;
            }
            cutText(value, kNameTextLimit);
        } else if (anyOf(field, {f189219.f189662, f189219.f190101, f189219.f190102, f189219.f190103, f189219.f190137,
                                 f189219.f190138, f189219.f190139})) {
            removeAll(value, '-');
        }
        return;
    }

    if (form == kGAForm189216ID) {
        const auto& f189216 = kGAForm189216FieldIds;
        if (!calculated) {
            value.clear();
        } else if (anyOf(field, {f189216.f189809, f189216.f189814, f189216.f189819, f189216.f204116, f189216.f204121,
                                 f189216.f204126})) {
            value = percentText(*this, form, copyNumber, copyNumber, field);
        }
        return;
    }

    if (form == kGAForm189217ID) {
        const auto& f189217 = kGAForm189217FieldIds;
        if (field == f189217.f189453) {
            value = percentText(*this, form, 1, copyNumber, field);
        }
        return;
    }

    if (form == kGAForm189218ID) {
        const auto& f189218 = kGAForm189218FieldIds;
        if (anyOf(field, {f189218.f189929, f189218.f189930, f189218.f189931, f189218.f189965, f189218.f189966,
                          f189218.f189967, f189218.f190001, f189218.f190002, f189218.f190003})) {
            removeAll(value, '-');
        }
    }
}

}  // namespace GADataMgmt
