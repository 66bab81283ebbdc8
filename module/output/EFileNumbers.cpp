#include "module/output/EFileNumbers.h"

#include <array>

#include "module/frame/FormIdentifiers.h"

namespace GAOutput {

namespace {

// The number fields of a form, by field number, ended by 0.
struct NumberFields {
    Primitives::QVImmutableFormIdentifier form;
    std::array<std::int32_t, 26> fields;
};

// The filers' numbers (form 69 fields 25 and 30, from the federal main
// form) and the forms that repeat them; the dependents' numbers of form 70
// and form 76; the qualifying persons' numbers of the credit forms.
constexpr NumberFields kNumberFields[] = {
    {kForm92ID, {7, 8}},
    {kGAForm69ID, {25, 30}},
    {kGAForm70ID, {3, 26, 31, 47, 51, 55, 59, 80, 111, 173, 44953}},
    {kGAForm71ID, {4, 6}},
    {kGAForm72ID, {6, 10}},
    {kGAForm73ID, {4, 6}},
    {kGAForm74ID, {4}},
    {kGAForm75ID, {3, 5, 62, 67}},
    {kGAForm76ID,
     {6, 8, 11, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51, 55, 59, 63, 67, 71, 75, 79, 83, 87, 91, 95, 99, 103}},
    {kGAForm77ID, {1, 4}},
    {kStateForm4ID, {23, 25}},
    {kStateForm15ID, {5, 10}},
    {kGAForm187981ID, {188009}},
    {kGAForm187982ID, {187998, 187999}},
    {kGAForm189215ID, {189259, 197057}},
    {kGAForm189216ID, {189805}},
    {kGAForm189217ID, {189426}},
    {kGAForm189218ID, {189901}},
    {kGAForm189219ID, {189567, 189573, 189596, 189600, 189604, 189608}},
    {kGAForm190054ID, {190150}},
    {kGAForm190055ID, {190161}},
    {kGAForm190056ID, {190166}},
    {kGAForm190057ID, {190171, 190175, 190182}},
    {kGAForm190058ID, {190192, 190197, 190203}},
    {kGAForm190059ID, {190211}},
    {kGAForm190060ID, {190220}},
    {kGAForm190061ID, {190233}},
    {kGAForm190062ID, {190238}},
    {kGAForm203638ID, {203646, 203946}},
    {kGAForm203811ID, {203839}},
};

constexpr std::size_t kDigits = 9;

}  // namespace

bool isSocialSecurityNumber(const Primitives::QVImmutableFormIdentifier& form,
                            const Primitives::QVImmutableIdentifier& field) {
    for (const NumberFields& row : kNumberFields) {
        if (row.form != form) continue;
        for (const std::int32_t number : row.fields) {
            if (number == 0) break;
            if (number == field.getNumber()) return true;
        }
    }
    return false;
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
