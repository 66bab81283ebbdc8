#include "module/output/EFileNumbers.h"

#include <array>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form187982Lines.h"
#include "module/catalogues/Form75Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "module/frame/FormIdentifiers.h"

namespace GAOutput {

namespace {

using Field = std::int32_t;

// The filers' number fields of a form, by field number, each list ended by
// 0: the taxpayer's and the spouse's.
struct FilerNumberFields {
    Primitives::QVImmutableFormIdentifier form;
    std::array<Field, 5> taxpayer;
    std::array<Field, 2> spouse;
};

// The filers' numbers (form 69 fields 25 and 30, from the federal main
// form) and the forms that repeat them.
constexpr FilerNumberFields kFilerNumberFields[] = {
    {kForm92ID, {7}, {8}},
    {kGAForm69ID, {25}, {30}},
    {kGAForm70ID, {26, 80, 111, 173, 44953}, {3, 31}},
    {kGAForm71ID, {4}, {6}},
    {kGAForm72ID, {6}, {10}},
    {kGAForm73ID, {4}, {6}},
    {kGAForm74ID, {4}, {}},
    {kGAForm75ID, {3, 62}, {5, 67}},
    {kGAForm76ID, {6}, {8}},
    {kGAForm77ID, {1}, {4}},
    {kStateForm4ID, {23}, {25}},
    {kStateForm15ID, {5}, {10}},
    {kGAForm187981ID, {188009}, {}},
    {kGAForm187982ID, {187998}, {187999}},
    {kGAForm189215ID, {189259, 197057}, {}},
    {kGAForm189216ID, {189805}, {}},
    {kGAForm189217ID, {189426}, {}},
    {kGAForm189218ID, {189901}, {}},
    {kGAForm189219ID, {189567}, {189573}},
    {kGAForm190054ID, {190150}, {}},
    {kGAForm190055ID, {190161}, {}},
    {kGAForm190056ID, {190166}, {}},
    {kGAForm190057ID, {190171}, {}},
    {kGAForm190058ID, {190192}, {}},
    {kGAForm190059ID, {190211}, {}},
    {kGAForm190060ID, {190220}, {}},
    {kGAForm190061ID, {190233}, {}},
    {kGAForm190062ID, {190238}, {}},
    {kGAForm203638ID, {203646, 203946}, {}},
    {kGAForm203811ID, {203839}, {}},
};

// The vouchers' scan lines carry the taxpayer's nine digits after the
// document code (three digits) and two zeros.
struct ScanLineField {
    Primitives::QVImmutableFormIdentifier form;
    Field field;
};
constexpr ScanLineField kScanLines[] = {
    {kGAForm75ID, kForm75Lines.voucher.scanLine.getNumber()},
    {kGAForm77ID, kForm77Lines.voucher.scanLine.getNumber()},
    {kGAForm187982ID, kForm187982Lines.voucher.scanLine.getNumber()},
};
constexpr std::size_t kScanLineNumberAt = 5;
constexpr std::size_t kNumberDigits = 9;

template <std::size_t N>
bool holds(const std::array<Field, N>& fields, Field field) {
    for (const Field number : fields) {
        if (number == 0) return false;
        if (number == field) return true;
    }
    return false;
}

}  // namespace

std::optional<FilerNumberField> filerNumberOf(const Primitives::QVImmutableFormIdentifier& form,
                                              const Primitives::QVImmutableIdentifier& field) {
    for (const FilerNumberFields& row : kFilerNumberFields) {
        if (row.form != form) continue;
        if (holds(row.taxpayer, field.getNumber())) return FilerNumberField{.whose = NumberOf::Taxpayer};
        if (holds(row.spouse, field.getNumber())) return FilerNumberField{.whose = NumberOf::Spouse};
    }
    for (const ScanLineField& scanLine : kScanLines) {
        if (scanLine.form == form && scanLine.field == field.getNumber()) {
            return FilerNumberField{.whose = NumberOf::Taxpayer, .at = kScanLineNumberAt, .length = kNumberDigits};
        }
    }
    return std::nullopt;
}

Primitives::QVImmutableIdentifier mainFormNumberField(const Primitives::QVImmutableFormIdentifier& mainForm,
                                                      NumberOf whose) {
    const FederalMainFormLines& lines = federalMainFormLines(mainForm);
    return lines.heading[whose == NumberOf::Taxpayer ? FederalMainFormLines::kTaxpayerNumber
                                                     : FederalMainFormLines::kSpouseNumber];
}

}  // namespace GAOutput
