#include "module/output/EFileNumbers.h"

#include <array>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/frame/FormIdentifiers.h"

namespace GAOutput {

namespace {

using Field = std::int32_t;

// The number fields of a form, by field number, each list ended by 0: the
// taxpayer's, the spouse's, and the others'.
struct NumberFields {
    Primitives::QVImmutableFormIdentifier form;
    std::array<Field, 5> taxpayer;
    std::array<Field, 2> spouse;
    std::array<Field, 24> others;
};

// The filers' numbers (form 69 fields 25 and 30, from the federal main
// form) and the forms that repeat them; the dependents' numbers of form 70,
// form 76 and form 189219; the qualifying persons' numbers of the credit
// forms.
constexpr NumberFields kNumberFields[] = {
    {kForm92ID, {7}, {8}, {}},
    {kGAForm69ID, {25}, {30}, {}},
    {kGAForm70ID, {26, 80, 111, 173, 44953}, {3, 31}, {47, 51, 55, 59}},
    {kGAForm71ID, {4}, {6}, {}},
    {kGAForm72ID, {6}, {10}, {}},
    {kGAForm73ID, {4}, {6}, {}},
    {kGAForm74ID, {4}, {}, {}},
    {kGAForm75ID, {3, 62}, {5, 67}, {}},
    {kGAForm76ID, {6}, {8}, {11, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51, 55,
                             59, 63, 67, 71, 75, 79, 83, 87, 91, 95, 99, 103}},
    {kGAForm77ID, {1}, {4}, {}},
    {kStateForm4ID, {23}, {25}, {}},
    {kStateForm15ID, {5}, {10}, {}},
    {kGAForm187981ID, {188009}, {}, {}},
    {kGAForm187982ID, {187998}, {187999}, {}},
    {kGAForm189215ID, {189259, 197057}, {}, {}},
    {kGAForm189216ID, {189805}, {}, {}},
    {kGAForm189217ID, {189426}, {}, {}},
    {kGAForm189218ID, {189901}, {}, {}},
    {kGAForm189219ID, {189567}, {189573}, {189596, 189600, 189604, 189608}},
    {kGAForm190054ID, {190150}, {}, {}},
    {kGAForm190055ID, {190161}, {}, {}},
    {kGAForm190056ID, {190166}, {}, {}},
    {kGAForm190057ID, {190171}, {}, {190175, 190182}},
    {kGAForm190058ID, {190192}, {}, {190197, 190203}},
    {kGAForm190059ID, {190211}, {}, {}},
    {kGAForm190060ID, {190220}, {}, {}},
    {kGAForm190061ID, {190233}, {}, {}},
    {kGAForm190062ID, {190238}, {}, {}},
    {kGAForm203638ID, {203646, 203946}, {}, {}},
    {kGAForm203811ID, {203839}, {}, {}},
};

template <std::size_t N>
bool holds(const std::array<Field, N>& fields, Field field) {
    for (const Field number : fields) {
        if (number == 0) return false;
        if (number == field) return true;
    }
    return false;
}

constexpr std::size_t kDigits = 9;

}  // namespace

std::optional<NumberOf> socialSecurityNumberOf(const Primitives::QVImmutableFormIdentifier& form,
                                               const Primitives::QVImmutableIdentifier& field) {
    for (const NumberFields& row : kNumberFields) {
        if (row.form != form) continue;
        if (holds(row.taxpayer, field.getNumber())) return NumberOf::Taxpayer;
        if (holds(row.spouse, field.getNumber())) return NumberOf::Spouse;
        if (holds(row.others, field.getNumber())) return NumberOf::Other;
    }
    return std::nullopt;
}

Primitives::QVImmutableIdentifier mainFormNumberField(const Primitives::QVImmutableFormIdentifier& mainForm,
                                                      NumberOf whose) {
    const FederalMainFormLines& lines = federalMainFormLines(mainForm);
    switch (whose) {
        case NumberOf::Taxpayer:
            return lines.heading[FederalMainFormLines::kTaxpayerNumber];
        case NumberOf::Spouse:
            return lines.heading[FederalMainFormLines::kSpouseNumber];
        case NumberOf::Other:
            break;
    }
    return Primitives::kNullFieldID;
}

std::optional<std::string> nineDigits(std::string_view number) {
    std::string digits;
    for (const char c : number) {
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c != ' ' && c != '-') {
            return std::nullopt;
        }
    }
    if (digits.size() != kDigits) return std::nullopt;
    return digits;
}

}  // namespace GAOutput
