// The key-value lines of the Georgia e-file records as data: each line's
// key, what its value is and where it comes from, and, for the lines about
// the spouse, the filing statuses that write them. The records list their
// lines in the order they are written, which is not always the order of the
// keys.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Primitives.h"

namespace GATifWriteMgmt {

enum class LineKind {
    Text,            // the row's text, written in upper case
    MixedText,       // the row's text, in its own letter case
    Field,           // the field's value as the host formats it
    MixedFieldText,  // the field's text, in its own letter case
    CheckBox,        // the row's text when the box is marked, else nothing
    StateCode,       // the state return's code, "GA"
    TaxYear,         // "2018"
    TaxYearStart,    // "2018-01-01"
    TaxYearEnd,      // "2018-12-31"
    BuildNumber,     // the module's build number, as a number
};

// Which filing statuses write a line: the spouse's name and identifying
// number go with a joint or a separate return, some lines with one of them.
enum class SpouseLines { Always, Joint, Separate, JointOrSeparate };

struct RecordLine {
    const char* key;
    LineKind kind;
    Primitives::QVImmutableFormIdentifier form = {};
    Primitives::QVImmutableIdentifier field = {};
    const char* text = "";
    SpouseLines when = SpouseLines::Always;
};

// The key of a line of a repeating group: a pattern such as "04500.000.%03d"
// with the group's occurrence number (001 for the first).
inline std::string occurrenceKey(const char* pattern, int occurrence) {
    char key[32];
    std::snprintf(key, sizeof key, pattern, occurrence);
    return key;
}

// A whole number of hundredths as a number with two decimals, at least six
// characters: 5000 gives "050.00", 12345 "123.45".
inline std::string hundredthsText(std::int64_t hundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%06.2f", static_cast<double>(hundredths) / 100.0);
    return text;
}

}  // namespace GATifWriteMgmt
