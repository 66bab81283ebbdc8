// What a field holds beyond its storage kind (DataMgmt::FieldKind), as the
// form definitions say it (forms/README.md).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace DataMgmt {

class FormFieldDesc;

// It decides how every value of the field is read and the one form it is
// stored in, whether a return file gives it or the calculation writes it
// (readByContent): free text; a person's name (which holds
// a letter) or an address; a social security or taxpayer number, an employer number, or
// either (nine digits); a ZIP code (five or nine digits); a state or
// territory code (the postal list, upper case); a telephone number (ten
// digits); a bank routing number (nine digits, its check digit right); a
// bank account number; a whole count (an amount field, within its range);
// one of the field's named choices.
enum class FieldContent : std::uint8_t {
    Any,
    Name,
    Address,
    PersonNumber,
    EmployerNumber,
    EitherNumber,
    Zip,
    StateCode,
    Phone,
    Routing,
    Account,
    Count,
    Choice,
    // Either number, nine digits, kept as written: where its dashes say
    // which of the two it is.
    WrittenNumber,
};

}  // namespace DataMgmt

namespace DataMgmt {

// The text (trimmed, its letters plain) read by what the field holds: the
// one form it is stored in, or none when the field does not take it. Free
// text is taken as it is.
std::optional<std::string> readByContent(const FormFieldDesc& field, const std::string& text);

// Whether a count field takes the amount: a whole number within its range
// (0 or more without one). Any amount for a field that holds no count.
bool countTakes(const FormFieldDesc& field, double amount);

// What a field that holds more than free text takes ("a ZIP code of five or
// nine digits", "a whole count from 1 to 4"); empty for another field.
std::string fieldTakes(const FormFieldDesc& field);

// ------------------------------------------------------------ amounts

// The largest amount, in dollars either way, that a field holds, however the
// value comes (an entry, an override, a calculated field's value in a return
// file, or the calculation's write): every amount within it, to the cent, is
// stored and written back exactly (a double holds whole numbers exactly up
// to 2^53, about 9 * 10^15).
constexpr std::int64_t kAmountLimitDollars = 10'000'000'000'000;  // 10^13
constexpr const char* kAmountLimitText = "10,000,000,000,000";

namespace detail {
// 10^places for the decimal places of an edit code (0 to 6), and the
// largest whole number a double holds exactly (2^53).
inline constexpr double kPowersOfTen[] = {1.0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6};
inline constexpr double kLargestExactWholeNumber = 9007199254740992.0;
}  // namespace detail

// Whether an amount keeps to that limit: in the stored unit (the dollars
// shifted by `places` decimal places, as its field's edit code shifts them)
// it is at most kAmountLimitDollars either way, and no more than the 2^53
// stored units that a double holds exactly. (Inline: every amount the
// calculation writes is held to it.)
inline bool withinTheAmountLimit(double stored, int places) {
    const double magnitude = std::fabs(stored);
    return !(magnitude > static_cast<double>(kAmountLimitDollars) * detail::kPowersOfTen[places] ||
             magnitude > detail::kLargestExactWholeNumber);
}

// The amount rounded to the cent, half away from zero, in the stored unit
// (with edit code H, places 2, to a whole number of hundredths). A cent is
// 10^(places - 2) stored units. From 2^53 cents on (far beyond the limit of
// amounts) a double holds whole numbers of cents only, and is kept.
inline double roundedToTheCent(double stored, int places) {
    if (places >= 2) {
        const double cent = detail::kPowersOfTen[places - 2];
        return std::round(stored / cent) * cent;
    }
    const double centsPerUnit = detail::kPowersOfTen[2 - places];
    if (!(std::fabs(stored) < detail::kLargestExactWholeNumber / centsPerUnit)) return stored;
    return std::round(stored * centsPerUnit) / centsPerUnit;
}

// The amount as the whole number of cents it is but for the noise that
// binary arithmetic leaves in a sum of amounts in cents (60,000.01 +
// 30,000.03 gives 90000.04000000001, a difference 14.129999999999999): within
// a millionth of a cent of it, or within 64 units in the last place of a
// large amount, never a tenth of a cent. Else the amount as it stands.
double withoutBinaryNoise(double stored, int places);

// Whether an amount stored with `places` decimal places is a whole number of
// cents, but for binary noise: money, so 2345.555 is no amount of a field
// that keeps cents, while 90000.04000000001 is 90,000.04.
bool toTheCent(double stored, int places);

// "amount "1e20" is beyond the limit of 10,000,000,000,000 dollars either
// way", "amount "2345.555" is given to more than the cent ...".
std::string beyondTheAmountLimit(const std::string& written);
std::string beyondTheCent(const std::string& written);

// What keeps the field from holding a finite amount (in its stored unit),
// shown as `written`: the limit, the cent (unless the field keeps fractions
// of a cent), the field's domain, the range of an amount that has one (a
// percent), a count's whole count within its range. Empty when nothing
// does. The one check of every amount, whatever gives it.
std::string amountRefusal(const FormFieldDesc& field, double stored, const std::string& written);

}  // namespace DataMgmt
