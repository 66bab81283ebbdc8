// Tax-year texts: the return's year 2018 and its neighbours 2014 to 2020, as
// strings, as C texts pointing into those strings, and for five of them as
// two-digit texts that share the string's storage and terminating zero.
//
// The constants have internal linkage: every source file that includes this
// header builds its own copy when the module loads, in the order written here
// (strings first, then the pointers into them). All copies hold the same
// values, and the strings never change, so the pointers stay valid until the
// module unloads.
#pragma once

#include <sstream>
#include <stdexcept>
#include <string>

// The decimal text of a year: no padding, no range check ("99", "-5").
// Throws std::domain_error when the text cannot be formatted.
inline std::string LongYearString(int year) {
    std::ostringstream text;
    text << year;
    if (text.fail() || text.bad()) {
        throw std::domain_error("LongYearString(int)");
    }
    return text.str();
}

namespace {

const std::string kTaxYearMinus1 = LongYearString(2017);
const std::string kTaxYear = LongYearString(2018);
const std::string kTaxYearPlus1 = LongYearString(2019);
const std::string kTaxYearPlus2 = LongYearString(2020);
const std::string kTaxYearMinus2 = LongYearString(2016);
const std::string kTaxYearMinus3 = LongYearString(2015);
const std::string kTaxYearMinus4 = LongYearString(2014);

const char* const kTaxYearMinus1CStr = kTaxYearMinus1.c_str();
const char* const kTaxYearCStr = kTaxYear.c_str();
const char* const kTaxYearPlus1CStr = kTaxYearPlus1.c_str();
const char* const kTaxYearPlus2CStr = kTaxYearPlus2.c_str();
const char* const kTaxYearMinus2CStr = kTaxYearMinus2.c_str();
const char* const kTaxYearMinus3CStr = kTaxYearMinus3.c_str();
const char* const kTaxYearMinus4CStr = kTaxYearMinus4.c_str();

// Two-digit years: the third character of the four-digit text onwards. There
// are none for 2017 and 2014.
const char* const kTaxYearShortCStr = kTaxYearCStr + 2;
const char* const kTaxYearPlus1ShortCStr = kTaxYearPlus1CStr + 2;
const char* const kTaxYearPlus2ShortCStr = kTaxYearPlus2CStr + 2;
const char* const kTaxYearMinus2ShortCStr = kTaxYearMinus2CStr + 2;
const char* const kTaxYearMinus3ShortCStr = kTaxYearMinus3CStr + 2;

}  // namespace
