// How one field of a Georgia form prints: the print flag of a copy, the date
// layout, an amount as its form shows it, and by form and field kind upper
// case or a normalised number.
#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "module/catalogues/Form189217Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxFormPrinter.h"
#include "module/frame/GeorgiaForms.h"
#include "module/output/OutputAmounts.h"
#include "module/output/SingleCopyForms.h"
#include "platform/util/Utils.h"

namespace GATaxFormPrintMgmt {

namespace {

// The print width that marks a date printed with a two-digit year.
constexpr std::uint16_t kShortDateWidth = 8;

enum class Treatment { Keep, UpperCase, Normalise, NormaliseWithCents };

// Whether the form or field is one of those listed.
template <class Id>
bool isOneOf(const Id& id, std::initializer_list<Id> listed) {
    return std::find(listed.begin(), listed.end(), id) != listed.end();
}

// The numeric fields of the main form and of the part-year schedule whose
// print text is kept as it is: the main form's boxes "65 or over" and
// "blind" and its counts of filers and dependents, held as amounts, and the
// schedule's ratio.
bool isExemptNumericField(const FieldId& field) {
    const auto& deductions = kForm70Lines.deductions;
    const auto& exemptions = kForm70Lines.exemptions;
    return isOneOf(field, {deductions.taxpayerAged65, deductions.taxpayerBlind, deductions.spouseAged65,
                           deductions.spouseBlind, exemptions.filers, exemptions.dependents, kForm189217Lines.ratio});
}

// Two decimals on an amount text: a whole amount gets ".00", an amount with
// fewer than two digits after its decimal point gets its zeros ("14.5"
// prints "14.50"); more digits are left as they are.
void withCents(std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos) {
        text += ".00";
        return;
    }
    std::size_t end = point + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    const std::size_t digits = end - point - 1;
    if (digits < 2) text.insert(end, 2 - digits, '0');
}

// What the print text of a field of a form becomes, by how its form's row
// prints: the main form and its schedules, and the estimated-tax form 75,
// upper-case their boxes with their texts; the payment vouchers print a
// box's mark as it is, never as an amount with cents ("X.00"); the
// worksheets treat a box as a number. A form of no row prints as it stands.
Treatment treatmentOf(const FormId& form, const FieldId& field, const DataMgmt::FormFieldDesc& desc) {
    const GAForms::GeorgiaForm* row = GAForms::findGeorgiaForm(form);
    if (row == nullptr) return Treatment::Keep;
    const bool text = desc.isText();
    const bool box = desc.isBoolean();
    switch (row->printText) {
        case GAForms::PrintText::AsEntered:
            return Treatment::Keep;
        case GAForms::PrintText::Schedule:
            if (text || box) return Treatment::UpperCase;
            return isExemptNumericField(field) ? Treatment::Keep : Treatment::Normalise;
        case GAForms::PrintText::EstimatedTax:
            return text || box ? Treatment::UpperCase : Treatment::NormaliseWithCents;
        case GAForms::PrintText::Voucher:
            if (text) return Treatment::UpperCase;
            return box ? Treatment::Keep : Treatment::NormaliseWithCents;
        case GAForms::PrintText::Worksheet:
            if (text) return Treatment::UpperCase;
            return !row->printedAsEntered.isNullID() && field == row->printedAsEntered ? Treatment::Keep
                                                                                       : Treatment::Normalise;
        case GAForms::PrintText::TextsUpperCased:
            return text ? Treatment::UpperCase : Treatment::Keep;
    }
    return Treatment::Keep;
}

bool readDate(const std::string& text, std::uint16_t& year, std::uint8_t& month, std::uint8_t& day) {
    return Utils::convertDateStr(text, year, month, day);
}

}  // namespace

bool GATaxFormPrinter::shouldPrintCopy(const FormId& form, std::uint16_t copy, int /*purpose*/) {
    // A further copy of a form taken from copy 1 alone counts in nothing.
    return !GAOutput::isFurtherCopyOfSingleCopyForm(form, copy) && isPrintFlagSet(form, copy);
}

void GATaxFormPrinter::adjustFTPrintedDate(char* /*text*/, std::size_t /*cap*/, std::uint8_t /*editCode*/) {}

void GATaxFormPrinter::formatPrintField(std::string& text, const FormId& form, std::uint16_t copy,
                                        const FieldId& field) {
    if (gaReturn_ == nullptr) return;
    const DataMgmt::TaxFormDescPtr formDesc = gaReturn_->getTaxFormDescriptor(form);
    const DataMgmt::FormFieldDescPtr fieldDesc =
        formDesc.isNull() ? DataMgmt::FormFieldDescPtr() : formDesc->getFieldDesc(field);
    // A field the form lacks, or a copy that does not exist, prints as it is.
    if (fieldDesc.isNull() || gaReturn_->getFormUVPtr(form, copy, false).isNull()) return;
    const bool shortDate = fieldDesc->getWidth() == kShortDateWidth;
    const std::uint8_t editCode = fieldDesc->getValidator()->getEditCode();

    // Dates: MM-DD-YYYY, or MM-DD-YY on an eight-character date field. The
    // host's short printed date ("03/05/18") is not a date it reads back, so
    // the date's parts come from the text as it came when the short one
    // cannot be read; a text that is no date at all stays as it is.
    const std::string asGiven = text;
    if (shortDate) {
        std::vector<char> buffer(text.begin(), text.end());
        buffer.resize(text.size() + 16, '\0');
        TaxFormPrintMgmt::TaxFormPrinter::adjustFTPrintedDate(buffer.data(), buffer.size(), editCode);
        text = buffer.data();
    }
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!text.empty() && Utils::isDateCode(editCode) &&
        (readDate(text, year, month, day) || readDate(asGiven, year, month, day))) {
        char date[32];
        if (shortDate) {
            std::snprintf(date, sizeof date, "%02d-%02d-%02d", month, day, year % 100);
        } else {
            std::snprintf(date, sizeof date, "%02d-%02d-%04d", month, day, year);
        }
        text = date;
    }
    // An amount prints as its form shows it: at most two decimals, whole
    // dollars on the main form, its schedules and form 73, a ratio in whole
    // ten-thousandths.
    if (fieldDesc->getKind() == DataMgmt::FieldKind::Number) {
        text = GAOutput::amountAsShown(text, form);
    }

    switch (treatmentOf(form, field, *fieldDesc)) {
        case Treatment::Keep:
            break;
        case Treatment::UpperCase:
            upperCaseInPlace(text);
            break;
        case Treatment::Normalise:
            normalizeNumericText(text, true, false, false);
            break;
        case Treatment::NormaliseWithCents:
            normalizeNumericText(text, true, true, false);
            break;
    }
}

void GATaxFormPrinter::normalizeNumericText(std::string& text, bool removeCommas, bool appendCents,
                                            bool removeDashes) const {
    // The number keeps at least the width its text had, padded on the left.
    const std::size_t width = text.size();
    text = Utils::removeBlanks(text, false, true);
    if (removeCommas) text = Utils::removeChars(text, ',');
    if (removeDashes) text = Utils::removeChars(text, '-');
    if (appendCents && !text.empty()) withCents(text);
    text = Utils::strip(text);
    if (text.size() < width) text = Utils::padStrLeft(text, static_cast<int>(width));
}

std::string& GATaxFormPrinter::upperCaseInPlace(std::string& text) const {
    Utils::QVStringUtils::toUpperCase(text);
    return text;
}

}  // namespace GATaxFormPrintMgmt
