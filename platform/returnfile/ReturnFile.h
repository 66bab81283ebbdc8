// The host's return file: one XML document that holds the federal return, the
// Georgia return, or both, with the values the host would otherwise compute
// itself (the federal common items, the W-2 splits, the e-file status, the
// session properties, the clock, ...).
//
// Layout. Each return uses the layout of the module's whole-return dump, so a
// dump written by the module reads back as the Georgia return:
//
//   <RETURNFILE TAXYEAR="2018">
//     <HOST> <CLOCK>2019-04-01T12:00:00Z</CLOCK> <RANDSEED>7</RANDSEED> </HOST>
//     <RETURN TYPE="federal">
//       <RETURNNAME>smith</RETURNNAME>
//       <HOST> <FILINGSTATUS>1</FILINGSTATUS> ... </HOST>
//       <FORM DEVNAME="F131" COPY="1">
//         <BUSNAME>Form 1040</BUSNAME>
//         <FIELD> <ID>12</ID> <NAME>kF131_F12</NAME> <LINENUM>7</LINENUM>
//                 <VALUE>45000</VALUE> </FIELD>
//       </FORM>
//     </RETURN>
//     <RETURN TYPE="GA"> ... </RETURN>
//   </RETURNFILE>
//
// A document whose root is a single RETURN (the module's dumps) is the Georgia
// return, unless its TYPE says federal. A form is named by DEVNAME (any letter
// case) or NUMBER; COPY defaults to 1. A field is named by ID (its number), by
// NAME (its symbolic name or its short name), or both, as child elements or as
// attributes of FIELD. LINENUM and BUSNAME are informational and ignored on
// reading. Values are text in display units: an amount as a plain decimal
// (the stored whole number divided by the scale of the field's edit code),
// "X" or "NO" for a box, text unchanged; an empty VALUE is a null field.
// Optional marks: FIELD OVERRIDDEN="1" (the user's override of a calculated
// field), FIELD KIND="amount|text|box" (a value of another kind than its
// field's, as a calculation may store one: an amount in a text or box field
// is written without decimal shift), FORM DATAENTERED="0|1" (default:
// marked when the copy holds a value) and, on a W-2 of a joint return,
// FORM OWNER="taxpayer|spouse" (whose wages the copy reports).
//
// The host's own elements (each optional, each at most once unless marked *):
//   file HOST:     CLOCK (UTC, "2019-04-01T12:00:00Z"), RANDSEED
//   federal HOST:  FILINGSTATUS (1-5), FORM2555 (X/NO), OFFICELOCATORURL,
//                  SESSIONPROPERTY NAME="..." (-128..127) *
//   Georgia HOST:  PULLCOMMON FORM="F1" TYPE="80" (whole number) *,
//                  W2SPLIT FORM="F52" FIELD="21" TAXPAYER="..." SPOUSE="..." *,
//                  STATEWAGES, ALLSTATEWAGES, STATEWITHHELD, STATEWITHHELDNOLOCAL,
//                  INELF (X/NO), ENABLEDTYPE, TAXBALANCE, REFUNDCODE
//
// Reading validates the whole file into a staging structure before anything
// is applied, so a bad file loads nothing (every value, entered or
// calculated, keeps to its field's kind, the amount limit below and its
// field's domain); every problem found is reported as
// "<file>:<line>: form <dev name> copy <n> field <name>: <what is wrong>".
// Writing goes to a temporary file in the target's directory that is renamed
// into place, so a failed write never destroys an existing file; values are
// escaped so that every written file reads back identically.
#pragma once

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Primitives.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/Descriptions.h"
#include "platform/store/StateDataMgmt.h"

namespace PersistanceMgmt {

// ------------------------------------------------------------ amounts as text
// (their display text is DataMgmt::formatDisplayAmount)

// Reads a display amount ("1234", "-12.5", "45,000.00"; blanks around it are
// ignored) and shifts it into the stored unit by `places` decimal places (see
// DataMgmt::editCodeDecimalPlaces). The shift is done on the digits, so
// "12.34" with 2 places is exactly 1234. False for anything that is not a
// plain decimal number.
bool parseAmount(const std::string& text, int places, double& out);

// The forms an amount may take, for messages that refuse one.
constexpr const char* kAmountForms =
    "an amount is written as digits with an optional sign, thousands commas and decimal point, such as 1234, "
    "-12.50 or 45,000.00";

// The limit of every amount, and whether an amount keeps to it and to the
// cent, as the store holds every value of a field (DataMgmt::amountRefusal).
using DataMgmt::kAmountLimitDollars;
using DataMgmt::kAmountLimitText;
using DataMgmt::toTheCent;
using DataMgmt::withinTheAmountLimit;

// ------------------------------------------------------------ what a field holds

// What keeps a return file from giving the field an amount (in the field's
// stored unit): a message that shows the amount as `written` ("amount "-5"
// is below 0 (the field takes 0 or more)"), or empty when nothing does.
// Whatever path the amount comes by (an entry, an override, or a calculated
// field's value, which the calculation may keep), it is a finite number
// within the amount limit, to the cent unless the field keeps fractions of a
// cent, within the field's domain and the range of an amount that has one,
// and a count's a whole count within its range: what the calculation itself
// writes keeps to the same (the store rounds it to the cent and refuses the
// rest), so that whatever a run saves reads back.
std::string amountProblem(const DataMgmt::FormFieldDesc& field, double stored, const std::string& written);

// A text field's text read by its field's kind (the one parser of every
// text a return file gives, entered or written by the calculation): the one
// form it is stored in, or in `problem` why the field cannot take it, naming
// the value and what the field takes. Besides the checks of textProblem
// below, every letter with a mark is read as its plain letter and a
// character without one is refused; a field that holds a name, a number, a
// code or a choice (DataMgmt::FieldContent) stores its digits, its
// upper-case code or the choice as the field spells it; an entered date is
// stored MM/DD/YYYY (a calculated one as the calculation wrote it).
struct EntryText {
    std::string value;
    std::string problem;
};
EntryText readEntryText(const DataMgmt::FormFieldDesc& field, const std::string& text, bool entry);

// The same for a text: it is no longer than the field, made of characters
// that XML carries (valid UTF-8 without control characters other than tab,
// line feed and carriage return), what the field holds
// (DataMgmt::readByContent), and in a date field a calendar date from 1900
// on, within the field's domain (entered or calculated alike).
std::string textProblem(const DataMgmt::FormFieldDesc& field, const std::string& text);

// The same for a value of any kind: a value of another kind than its
// field's is none the field takes (a box or null value in its field always
// fits).
std::string valueProblem(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value);

// The text of the VALUE that a return file gives the value in the field: an
// amount in display units (shifted by the field's edit code), "X" or "NO" for
// a box, a text as it is; empty for a null value (and for an amount that is
// not finite, which the store never holds).
std::string valueText(const DataMgmt::FormFieldDesc& field, const DataMgmt::FieldValue& value);

// ------------------------------------------------------------ staging model

struct FieldEntry {
    DataMgmt::FormFieldDescPtr desc;  // the field's description (never null)
    DataMgmt::FieldValue value;       // numbers in the stored unit
    bool overridden = false;
    int line = 0;  // where the field stands in the file (0 when not read from a file)
};

// Whose a federal statement is.
enum class Filer : std::uint8_t { Taxpayer, Spouse };

struct CopyEntry {
    DataMgmt::TaxFormDescPtr desc;  // the form's description (never null)
    std::uint16_t copy = 1;
    std::optional<bool> dataEntered;  // absent: marked when the copy holds a value
    std::optional<Filer> owner;       // OWNER, stated on W-2 copies only
    std::vector<FieldEntry> fields;   // in the form's field order
    int line = 0;

    // The data-entered mark this copy gets: the explicit one, else whether a
    // field holds a value.
    bool effectiveDataEntered() const;
};

// A whole-number common item of the federal return, keyed by federal form and
// item type.
struct CommonItem {
    Primitives::QVImmutableFormIdentifier form;
    std::string formName;  // the dev name as written (empty: written as the number)
    std::int32_t type = 0;
    std::int64_t value = 0;
    int line = 0;  // where the item stands in the file (0 when not read from a file)
};

// How a W-2 amount splits between the taxpayer and the spouse.
struct W2Split {
    Primitives::QVImmutableFormIdentifier form;
    std::string formName;  // the dev name as written (empty: written as the number)
    Primitives::QVImmutableIdentifier field;
    double taxpayer = 0.0;
    double spouse = 0.0;
    int line = 0;  // where the split stands in the file (0 when not read from a file)
};

// What the host knows about a return besides its fields. Absent items keep
// the store's defaults.
struct ReturnSeeds {
    // federal return
    std::optional<int> filingStatus;
    std::optional<bool> form2555Present;
    std::optional<std::string> officeLocatorURL;
    std::map<std::string, std::int8_t> sessionProperties;
    // Georgia return
    std::vector<CommonItem> commonItems;
    std::vector<W2Split> w2Splits;
    std::optional<double> stateWages;
    std::optional<double> allStateWages;
    std::optional<double> stateTaxWithheld;
    std::optional<double> stateTaxWithheldNoLocal;
    std::optional<bool> inElf;
    std::optional<int> enabledType;
    std::optional<std::int64_t> taxBalance;
    std::optional<std::string> refundCode;

    bool empty() const;
};

struct ReturnPart {
    DataMgmt::TaxReturnType type = DataMgmt::kGeorgiaReturnType;
    std::string name;   // RETURNNAME (may be empty)
    std::string label;  // RETURN LABEL (may be empty)
    ReturnSeeds seeds;
    std::vector<CopyEntry> copies;  // in file order on reading

    std::size_t fieldCount() const;
    std::size_t formCount() const;  // distinct forms
};

// Process-wide host values.
struct HostSeeds {
    std::optional<std::time_t> clock;  // fixed UTC time of the host clock
    std::optional<std::uint32_t> randSeed;
};

struct ReturnFileContents {
    HostSeeds host;
    std::optional<ReturnPart> federal;
    std::optional<ReturnPart> georgia;
    // What the document says it is (empty and unset for contents not read
    // from a file): its root element, RETURNFILE or RETURN (a single return),
    // and the TAXYEAR it states.
    std::string rootElement;
    std::optional<int> taxYear;
};

// ------------------------------------------------------------ reading and writing

// The descriptions that forms and fields are resolved against; a return of a
// kind whose description is null is refused.
struct ReturnDescriptions {
    const DataMgmt::TaxReturnDesc* federal = nullptr;
    const DataMgmt::TaxReturnDesc* georgia = nullptr;
};

class ReturnFile {
public:
    // Reads and validates a return file. Throws Exceptions::QuarloException
    // (class "ReturnFile", operation "read") listing every problem found, one
    // per line, when the file cannot be read or holds anything wrong.
    static ReturnFileContents read(const std::string& path, const ReturnDescriptions& descriptions);

    // The same, from a document in memory; `displayName` names it in errors.
    static ReturnFileContents parse(const std::string& document, const std::string& displayName,
                                    const ReturnDescriptions& descriptions);

    // The document text of the contents.
    static std::string serialize(const ReturnFileContents& contents);

    // Writes the contents to path through a temporary file in the same
    // directory, renamed into place. Throws Exceptions::QuarloException when
    // anything fails (class "ReturnFile" for contents that cannot be written,
    // "IOMgmt" for a file that cannot); an existing file is then left as it
    // was.
    static void write(const std::string& path, const ReturnFileContents& contents);

    // Writes bytes to path the same way (IOMgmt::writeFileAtomically: a
    // temporary file, synced, renamed; into the output batch of the job in
    // progress when the batch holds the path).
    static void writeAtomically(const std::string& path, const std::string& bytes);

    // ---- the store

    // Reads and validates a return file against the returns' own
    // descriptions, then fills the returns and the host: field values, copy
    // marks, overrides, the seeded answers and the clock. A file that holds a
    // return for which no return object is given is refused. Nothing is
    // changed when the file is refused. Returns what was read.
    static ReturnFileContents load(const std::string& path, DataMgmt::TaxReturn* federal,
                                   StateDataMgmt::StateTaxReturn* georgia);

    // Puts validated contents into the returns (see load).
    static void apply(const ReturnFileContents& contents, DataMgmt::TaxReturn* federal,
                      StateDataMgmt::StateTaxReturn* georgia);

    // What the returns hold, in the layout of the file: every copy of every
    // form in display order, every field that is not null. The store cannot
    // list its seed tables (common items, W-2 splits, session property names,
    // seeded totals), so they are carried over from `loaded`, the contents the
    // returns were loaded from (may be null); the answers the store can give
    // back (filing status, form 2555, e-file status, enabled type, refund
    // code, session property values) are taken from the returns.
    static ReturnFileContents snapshot(DataMgmt::TaxReturn* federal, StateDataMgmt::StateTaxReturn* georgia,
                                       const ReturnFileContents* loaded = nullptr);

    // snapshot + write.
    static void save(const std::string& path, DataMgmt::TaxReturn* federal, StateDataMgmt::StateTaxReturn* georgia,
                     const ReturnFileContents* loaded = nullptr);

    // ISO 8601 UTC times of the CLOCK element ("2019-04-01T12:00:00Z"; the
    // time and the "Z" may be left out, a date alone is midnight).
    static bool parseUtcTime(const std::string& text, std::time_t& out);
    static std::string formatUtcTime(std::time_t t);
};

}  // namespace PersistanceMgmt
