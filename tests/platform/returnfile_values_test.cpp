// The one check of a value against its field, which the reader makes of
// every value it reads and the test facility of every value it sets: every
// value, entered or calculated, is of its field's kind and read by it, and
// keeps to the limit, the cent (unless the field keeps fractions of a cent)
// and the domain.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/returnfile/ReturnFile.h"

namespace {

using DataMgmt::FieldDomain;
using DataMgmt::FieldValue;

DataMgmt::FormFieldDesc field(DataMgmt::FieldKind kind, std::uint8_t editCode, FieldDomain domain,
                              std::uint16_t maxLength = 0, bool fractions = false) {
    DataMgmt::FormFieldDesc::Attributes a;
    a.fractions = fractions;
    a.id = Primitives::QVImmutableIdentifier(7);
    a.kind = kind;
    a.editCode = editCode;
    a.domain = domain;
    a.maxLength = maxLength;
    return DataMgmt::FormFieldDesc("F1", a);
}

DataMgmt::FormFieldDesc holding(DataMgmt::FieldContent content, const char* choices = "") {
    DataMgmt::FormFieldDesc::Attributes a;
    a.id = Primitives::QVImmutableIdentifier(8);
    a.kind = DataMgmt::FieldKind::Text;
    a.content = content;
    a.choices = choices;
    return DataMgmt::FormFieldDesc("F1", a);
}

TEST(ReturnFileValues, EveryValueKeepsToItsFieldsKindLimitAndDomain) {
    using K = DataMgmt::FieldKind;
    const DataMgmt::FormFieldDesc cents = field(K::Number, 'H', FieldDomain::NotNegative);
    const DataMgmt::FormFieldDesc amount = field(K::Number, 0, FieldDomain::Any);
    const DataMgmt::FormFieldDesc share = field(K::Number, 0, FieldDomain::Any, 0, true);
    const DataMgmt::FormFieldDesc text = field(K::Text, 0, FieldDomain::Any, 3);
    const DataMgmt::FormFieldDesc wide = field(K::Text, 0, FieldDomain::Any, 80);
    const DataMgmt::FormFieldDesc date = field(K::Text, 'D', FieldDomain::InTaxYear);
    const DataMgmt::FormFieldDesc zip = holding(DataMgmt::FieldContent::Zip);
    const struct {
        const DataMgmt::FormFieldDesc& field;
        FieldValue value;
        const char* says;  // empty: the value fits
    } rows[] = {
        {cents, FieldValue::number(0), ""},
        {cents, FieldValue::number(-1), "amount \"-0.01\" is below 0 (the field takes 0 or more)"},
        {cents, FieldValue::number(1e15), ""},  // 10^13 dollars in cents
        {cents, FieldValue::number(1e15 + 1), "is beyond the limit of 10,000,000,000,000 dollars"},
        {amount, FieldValue::number(-1e13), ""},
        {amount, FieldValue::number(-1e13 - 0.01), "is beyond the limit"},
        // To the cent, whatever gives the amount, unless the calculation
        // keeps fractions of a cent in the field.
        {amount, FieldValue::number(2345.55), ""},
        {amount, FieldValue::number(2345.555), "amount \"2345.555\" is given to more than the cent"},
        {cents, FieldValue::number(12.5), "amount \"0.125\" is given to more than the cent"},
        {share, FieldValue::number(2345.555), ""},
        // A cent but for a sum's binary noise (within a millionth of a cent,
        // or 64 units in the last place of a large amount) is that cent.
        {amount, FieldValue::number(60000.01 + 30000.03), ""},
        {amount, FieldValue::number(14.13 - 1e-15), ""},
        {amount, FieldValue::number(14.13 + 0.9e-8), ""},
        {amount, FieldValue::number(14.13 + 1.1e-8), "is given to more than the cent"},
        {cents, FieldValue::number(1413.0 + 0.9e-6), ""},
        {cents, FieldValue::number(1413.0 + 1.1e-6), "is given to more than the cent"},
        {amount, FieldValue::number(1e9 + 0.01 + 5e-6), ""},
        {amount, FieldValue::number(1e9 + 0.01 + 1e-5), "is given to more than the cent"},
        {share, FieldValue::number(-1e13 - 0.01), "is beyond the limit"},
        // A value of another kind than its field's is none it takes.
        {amount, FieldValue::text("12"), "holds a text, which is not an amount"},
        {amount, FieldValue::box(true), "holds a box mark, which is not an amount"},
        {zip, FieldValue::number(30303), "holds an amount, which is not a ZIP code of five or nine digits"},
        {wide, FieldValue::text(std::string(80, 'x')), ""},
        {wide, FieldValue::text(std::string(81, 'x')), "text of 81 bytes is longer than"},
        // A calculated value is read by its field's kind as an entry is.
        {zip, FieldValue::text("ABCDE"), "value \"ABCDE\" is not a ZIP code of five or nine digits"},
        {zip, FieldValue::text("30303"), ""},
        {text, FieldValue::text("abcd"), "text of 4 bytes is longer than the field's maximum of 3 bytes"},
        {text, FieldValue::text("a\x01"), "text \"a\\x01\" holds a character that XML cannot carry"},
        {text, FieldValue::text("\xC3("), "is not valid UTF-8 (byte 0xC3 at offset 0)"},
        {text, FieldValue::text("a\tb"), "holds a control character (U+0009 at offset 1)"},
        {text, FieldValue::text("\x7F"), "holds a control character (U+007F at offset 0)"},
        {text, FieldValue::text("\xC2\x85"), "holds a line break (U+0085 at offset 0)"},
        {text, FieldValue::text("\xC2\x9F"), "holds a control character (U+009F"},
        {text, FieldValue::text("\xC2\xA0"), "holds U+00A0, which has no plain letter"},
        {text, FieldValue::text("\xC3\xA9"), ""},
        {date, FieldValue::text("01/01/2019"), "date \"01/01/2019\" is not in 2018"},
        {date, FieldValue::text("02/30/2018"), "is not a calendar date"},
        {wide, FieldValue::text("a\xE2\x80\xA8"), "holds a line break (U+2028 at offset 1)"},
        {wide, FieldValue::text("\xE2\x80\xA9"), "holds a line break (U+2029 at offset 0)"},
        {wide, FieldValue::text("\xE2\x80\xA7"), "holds U+2027, which has no plain letter"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.says);
        const std::string problem = PersistanceMgmt::valueProblem(r.field, r.value);
        if (std::string(r.says).empty()) {
            EXPECT_EQ(problem, "");
        } else {
            EXPECT_NE(problem.find(r.says), std::string::npos) << problem;
        }
    }
    // The store holds finite amounts only; the test facility's arithmetic
    // may give another.
    EXPECT_EQ(PersistanceMgmt::amountProblem(amount, std::numeric_limits<double>::infinity(), "1e999"),
              "amount \"1e999\" is not a finite number");
}

// An entry is read by what its field holds and stored in one form; what the
// field does not take is refused, saying what it takes.
TEST(ReturnFileValues, AnEntryIsReadByItsKindAndStoredInOneForm) {
    using C = DataMgmt::FieldContent;
    const char* residency = "Full-year resident|Part-year resident|Nonresident";
    const DataMgmt::FormFieldDesc date = field(DataMgmt::FieldKind::Text, 'D', FieldDomain::Any);
    const struct {
        DataMgmt::FormFieldDesc field;
        const char* entered;
        const char* stored;  // empty: refused
        const char* says;
    } rows[] = {
        {holding(C::PersonNumber), "400 00 1234", "400001234", ""},
        {holding(C::PersonNumber), "400-00-123", "", "is not a social security or taxpayer number of nine digits"},
        {holding(C::PersonNumber), "N/A", "", "nine digits"},
        {holding(C::EitherNumber), "58-4100021", "584100021", ""},
        {holding(C::WrittenNumber), "58-4100021", "58-4100021", ""},  // its dashes tell its kind
        {holding(C::WrittenNumber), "ABC", "", "nine digits"},
        {holding(C::WrittenNumber), "58-111111", "", "nine digits"},
        {holding(C::Zip), "30303-1234", "303031234", ""},
        {holding(C::Zip), "3030", "", "is not a ZIP code of five or nine digits"},
        {holding(C::Zip), "3030312", "", "is not a ZIP code of five or nine digits"},
        {holding(C::Zip), "ABCDE", "", "ZIP code"},
        {holding(C::Zip), "\xEF\xBC\x93\xEF\xBC\x90\xEF\xBC\x93\xEF\xBC\x90\xEF\xBC\x93", "",
         "holds U+FF13, which has no plain letter"},
        {holding(C::StateCode), " ga ", "GA", ""},
        {holding(C::StateCode), "GE", "", "is not a state or territory code"},
        {holding(C::Phone), "(404) 555-0100", "4045550100", ""},
        {holding(C::Phone), "555-0100", "", "ten digits"},
        {holding(C::Routing), "061000104", "061000104", ""},
        {holding(C::Routing), "111000025", "111000025", ""},  // the first digit counts in the check
        {holding(C::Routing), "061000105", "", "whose check digit is right"},
        {holding(C::Routing), "111000028", "", "whose check digit is right"},
        {holding(C::Routing), "ABCDEFGHI", "", "routing number"},
        {holding(C::Account), "12-34 5678a", "12345678A", ""},
        {holding(C::Account), "1234567890123456A", "1234567890123456A", ""},
        {holding(C::Account), "123456789012345678", "", "1 to 17 letters and digits"},
        {holding(C::Choice, residency), "non-RESIDENT", "Nonresident", ""},
        {holding(C::Choice, residency), "Resident", "",
         "is not one of Full-year resident, Part-year resident or Nonresident"},
        {holding(C::Name),
         "Ren\xC3\xA9"
         "e",
         "Renee", ""},
        {holding(C::Name), "'", "", "is not a name, which holds a letter"},
        {holding(C::Address), "\xE4\xB8\x9C\xE4\xBA\xAC", "", "holds U+4E1C"},
        {holding(C::Name), "  ", "", ""},  // blank: no value
        {date, "4/5/2019", "04/05/2019", ""},
        {date, "2019-04-05", "04/05/2019", ""},
        {date, "15.03.2019", "", "is not a calendar date"},
        {date, "13/45/2016", "", "is not a calendar date"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.entered);
        const PersistanceMgmt::EntryText read = PersistanceMgmt::readEntryText(r.field, r.entered, true);
        EXPECT_EQ(read.value, r.stored);
        EXPECT_NE(read.problem.find(r.says), std::string::npos) << read.problem;
        EXPECT_EQ(read.problem.empty(), std::string(r.says).empty()) << read.problem;
    }
    // A count: a whole number within its range.
    DataMgmt::FormFieldDesc::Attributes a;
    a.id = Primitives::QVImmutableIdentifier(16);
    a.content = C::Count;
    a.countLow = 1;
    a.countHigh = 4;
    const DataMgmt::FormFieldDesc installments("GA71", a);
    for (const auto& [amount, fits] :
         std::vector<std::pair<double, bool>>{{1, true}, {4, true}, {0, false}, {5, false}, {2.5, false}}) {
        EXPECT_EQ(PersistanceMgmt::amountProblem(installments, amount, "n").empty(), fits) << amount;
    }
}

}  // namespace
