// The one check of a value against its field, which the reader makes of
// every value it reads and the test facility of every value it sets: an
// entry keeps to the limit and the domain, a calculated value only to what
// the file can carry.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/returnfile/ReturnFile.h"

namespace {

using DataMgmt::FieldDomain;
using DataMgmt::FieldValue;

DataMgmt::FormFieldDesc field(DataMgmt::FieldKind kind, std::uint8_t editCode, FieldDomain domain,
                              std::uint16_t maxLength = 0) {
    DataMgmt::FormFieldDesc::Attributes a;
    a.id = Primitives::QVImmutableIdentifier(7);
    a.kind = kind;
    a.editCode = editCode;
    a.domain = domain;
    a.maxLength = maxLength;
    return DataMgmt::FormFieldDesc("F1", a);
}

TEST(ReturnFileValues, EntriesKeepToTheLimitAndDomainCalculatedValuesToTheFile) {
    using K = DataMgmt::FieldKind;
    const DataMgmt::FormFieldDesc cents = field(K::Number, 'H', FieldDomain::NotNegative);
    const DataMgmt::FormFieldDesc amount = field(K::Number, 0, FieldDomain::Any);
    const DataMgmt::FormFieldDesc text = field(K::Text, 0, FieldDomain::Any, 3);
    const DataMgmt::FormFieldDesc date = field(K::Text, 'D', FieldDomain::InTaxYear);
    const struct {
        const DataMgmt::FormFieldDesc& field;
        FieldValue value;
        bool entry;
        const char* says;  // empty: the value fits
    } rows[] = {
        {cents, FieldValue::number(0), true, ""},
        {cents, FieldValue::number(-1), true, "amount \"-0.01\" is below 0 (the field takes 0 or more)"},
        {cents, FieldValue::number(-1), false, ""},
        {cents, FieldValue::number(1e15), true, ""},  // 10^13 dollars in cents
        {cents, FieldValue::number(1e15 + 1), true, "is beyond the limit of 10,000,000,000,000 dollars"},
        {amount, FieldValue::number(-1e15), true, "is beyond the limit"},
        {amount, FieldValue::number(-1e15), false, ""},
        {amount, FieldValue::text(std::string(80, 'x')), true, ""},
        {amount, FieldValue::text(std::string(81, 'x')), true, "text of 81 bytes is longer than"},
        {text, FieldValue::text("abcd"), false, "text of 4 bytes is longer than the field's maximum of 3 bytes"},
        {text, FieldValue::text("a\x01"), false, "text \"a\\x01\" holds a character that XML cannot carry"},
        {text, FieldValue::text("\xC3("), false, "is not valid UTF-8 (byte 0xC3 at offset 0)"},
        {text, FieldValue::text("a\tb"), false, "holds a control character (U+0009 at offset 1)"},
        {text, FieldValue::text("\x7F"), false, "holds a control character (U+007F at offset 0)"},
        {text, FieldValue::text("\xC2\x85"), true, "holds a line break (U+0085 at offset 0)"},
        {text, FieldValue::text("\xC2\x9F"), true, "holds a control character (U+009F"},
        {text, FieldValue::text("\xC2\xA0"), true, "holds U+00A0, which has no plain letter"},
        {text, FieldValue::text("\xC3\xA9"), true, ""},
        {date, FieldValue::text("01/01/2019"), true, "date \"01/01/2019\" is not in 2018"},
        {date, FieldValue::text("01/01/2019"), false, ""},
        {date, FieldValue::text("02/30/2018"), false, "is not a calendar date"},
        {amount, FieldValue::box(true), true, ""},
        {amount, FieldValue::text("a\xE2\x80\xA8"), true, "holds a line break (U+2028 at offset 1)"},
        {amount, FieldValue::text("\xE2\x80\xA9"), true, "holds a line break (U+2029 at offset 0)"},
        {amount, FieldValue::text("\xE2\x80\xA7"), true, "holds U+2027, which has no plain letter"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.says);
        const std::string problem = PersistanceMgmt::valueProblem(r.field, r.value, r.entry);
        if (std::string(r.says).empty()) {
            EXPECT_EQ(problem, "");
        } else {
            EXPECT_NE(problem.find(r.says), std::string::npos) << problem;
        }
    }
    // The store holds finite amounts only; the test facility's arithmetic
    // may give another.
    EXPECT_EQ(PersistanceMgmt::amountProblem(amount, std::numeric_limits<double>::infinity(), false, "1e999"),
              "amount \"1e999\" is not a finite number");
}

}  // namespace
