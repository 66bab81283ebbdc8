// The rules of the calculated fields: where the calculation takes a field's
// value from when the field's label does not say, so that the note of an
// entry there tells where to enter it instead; and the calculated fields
// that take an entry on some returns only, whose note tells where the entry
// counts.
#include <string>

#include "host/EntryRules.h"
#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form203811Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form76Lines.h"
#include "module/catalogues/Form77Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/OwnerInfoLines.h"
#include "module/catalogues/StatementFormLines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;

std::string number(const FieldId& x) { return std::to_string(x.getNumber()); }

// "form 69 field 25": a field of another Georgia form.
std::string formField(const Primitives::QVImmutableFormIdentifier& form, const FieldId& x) {
    return "form " + std::to_string(form.getNumber()) + " field " + number(x);
}

// One rule for each pair of a field and its source.
void addEach(std::vector<EntryRule>& rules, const char* form,
             const std::vector<std::pair<FieldId, std::string>>& pairs) {
    for (const auto& [field, source] : pairs) {
        rules.push_back({.form = form, .fields = {field.getNumber()}, .source = source});
    }
}

// The fields from `first` to `last` by number.
std::vector<std::int32_t> numbersFromTo(const FieldId& first, const FieldId& last) {
    std::vector<std::int32_t> fields;
    for (std::int32_t n = first.getNumber(); n <= last.getNumber(); ++n) fields.push_back(n);
    return fields;
}

// Form 69's heading, from the federal main form filed; the issuing state of
// each filer's licence, beside its number. State form 15 takes the filers'
// names and numbers from the heading.
void informationFormSources(std::vector<EntryRule>& rules) {
    const Form69Lines::Heading& heading = kForm69Lines.heading;
    for (std::size_t r = 0; r < heading.rows.size(); ++r) {
        const std::string source = "federal form 1 field " + number(kForm1Lines.heading[r]) + " (form 55 field " +
                                   number(kForm55Lines.heading[r]) + ", form 87 field " +
                                   number(kForm87Lines.heading[r]) + " where the federal return is filed on that form)";
        addEach(rules, "GA69", {{heading.rows[r], source}});
        if (r < kOwnerInfoLines.size()) {
            addEach(rules, "ST15", {{kOwnerInfoLines[r], formField(kGAForm69ID, heading.rows[r])}});
        }
    }
    const auto& licence = kForm69Lines.licence;
    for (const LicenceLines& filer : {licence.taxpayer, licence.spouse}) {
        addEach(
            rules, "GA69",
            {{filer.issuingState, "Georgia's abbreviation, written where a licence or ID number is entered (field " +
                                      number(filer.number) + ")"}});
    }
}

// Form 70's heading from form 69, the taxpayer's number repeated on the
// later pages, the dependents of the federal return, the federal amounts
// and the refund's account.
void mainFormSources(std::vector<EntryRule>& rules) {
    const Form70Lines::Heading& h = kForm70Lines.heading;
    const Form69Lines::Heading& info = kForm69Lines.heading;
    const auto fromInfo = [](const FieldId& x) { return formField(kGAForm69ID, x); };
    const auto upper = [&](const FieldId& x) { return fromInfo(x) + ", in upper case"; };
    addEach(rules, "GA70",
            {{h.taxpayerFirstName, fromInfo(info.taxpayerFirstName)},
             {h.taxpayerMiddleName, fromInfo(info.taxpayerMiddleName)},
             {h.taxpayerLastName, fromInfo(info.taxpayerLastName)},
             {h.taxpayerSuffix, fromInfo(info.taxpayerSuffix)},
             {h.taxpayerNumber, fromInfo(info.taxpayerNumber)},
             {h.spouseFirstName, fromInfo(info.spouseFirstName)},
             {h.spouseMiddleName, fromInfo(info.spouseMiddleName)},
             {h.spouseLastName, fromInfo(info.spouseLastName)},
             {h.spouseSuffix, fromInfo(info.spouseSuffix)},
             {h.spouseNumber, fromInfo(info.spouseNumber)},
             {h.spouseNumberRepeated, "field " + number(h.spouseNumber) + " of this form"},
             {h.street, fromInfo(info.street)},
             {h.apartment, fromInfo(info.apartment)},
             {h.city, upper(info.city)},
             {h.state, upper(info.state)},
             {h.zipCode, fromInfo(info.zipCode) + ", or for a filer abroad the foreign postal code of form F92 field " +
                             number(kForm92Lines.address.foreignPostalCode)},
             {h.licenceNumber, fromInfo(kForm69Lines.licence.taxpayer.number)},
             {h.licenceState, fromInfo(kForm69Lines.licence.taxpayer.issuingState)},
             {kForm70Lines.residency.periodFrom, fromInfo(kForm69Lines.residency.periodFrom)},
             {kForm70Lines.residency.periodTo, fromInfo(kForm69Lines.residency.periodTo)},
             {kForm70Lines.residency.from, fromInfo(kForm69Lines.residency.periodFrom) + ", as MM-DD-2018"},
             {kForm70Lines.residency.to, fromInfo(kForm69Lines.residency.periodTo) + ", as MM-DD-2018"},
             {kForm70Lines.income.federalAgi, "the common item federal-agi"},
             {kForm70Lines.deductions.itemized, "the common item itemized-deductions"},
             {kForm70Lines.deductions.itemizedRepeated,
              "field " + number(kForm70Lines.deductions.itemized) + " of this form"}});
    for (const FieldId& x : h.numberOnLaterPages) {
        addEach(rules, "GA70", {{x, "field " + number(h.taxpayerNumber) + " of this form"}});
    }
    const Form70Lines::Result& r = kForm70Lines.result;
    const auto& deposit = kForm69Lines.options;
    const auto whenRefunded = [&](const FieldId& x) {
        return fromInfo(x) + ", on a refund with direct deposit (form 69 box " + number(deposit.directDeposit) + ")";
    };
    addEach(rules, "GA70",
            {{r.depositRouting, whenRefunded(deposit.depositRouting)},
             {r.depositAccount, whenRefunded(deposit.depositAccount)},
             {r.depositChecking, whenRefunded(deposit.depositChecking)},
             {r.depositSavings, whenRefunded(deposit.depositSavings)}});
    rules.push_back({.form = "GA70",
                     .fields = numbersFromTo(kForm70Lines.dependents.firstRowStart, kForm70Lines.dependents.lastRowEnd),
                     .source = "the dependents of the federal return (form F113: first and last name, number and "
                               "relationship, in upper case), up to four; from five on they are listed on form 76"});
}

// The document list: the filers' names and numbers, and the dependents.
void documentListSources(std::vector<EntryRule>& rules) {
    const Form76Lines& l = kForm76Lines;
    const Form69Lines::Heading& info = kForm69Lines.heading;
    addEach(rules, "GA76",
            {{l.taxpayerName, "the taxpayer's name on form 69 (fields " + number(info.taxpayerFirstName) + " to " +
                                  number(info.taxpayerSuffix) + ")"},
             {l.taxpayerNumber, "the taxpayer's number, " + formField(kGAForm69ID, info.taxpayerNumber)},
             {l.spouseName, "the spouse's name on form 69 (fields " + number(info.spouseFirstName) + " to " +
                                number(info.spouseSuffix) + "), on a joint return"},
             {l.spouseNumber,
              "the spouse's number, " + formField(kGAForm69ID, info.spouseNumber) + ", on a joint return"}});
    std::vector<std::int32_t> rows = numbersFromTo(l.firstRow, l.rowsEnd);
    rows.pop_back();  // the field that closes the rows is an entry
    rules.push_back({.form = "GA76",
                     .fields = rows,
                     .source = "the dependents of the federal return (form F113: first and last name, number and "
                               "relationship), one row each"});
}

// The credit summary's name and code, of the credit form it stands for.
void creditSummarySources(std::vector<EntryRule>& rules) {
    const Form189216Lines& l = kForm189216Lines;
    const std::string linked = "the credit form that this copy stands for (field " + number(l.linkedForm) + "): ";
    addEach(rules, "GA189216",
            {{l.name, linked + "the credit's name for forms 187981, 203638 and 203639, field " +
                          number(kForm203811Lines.name) + " of form 203811"},
             {l.code, linked + "the credit's code for forms 187981, 203638 and 203639, field " +
                          number(kForm203811Lines.code) + " of form 203811"}});
}

// The Georgia share of a statement's total line in the column of one
// residency: the calculation keeps it between 0 and the line's total where
// the return's residency opens the column, and empties it where the total is
// 0 or the column is closed.
EntryRule statementShareRule(const char* form, const StatementTotalLine& line, bool partYear) {
    const FieldId& own = partYear ? line.partYear : line.nonresident;
    const FieldId& other = partYear ? line.nonresident : line.partYear;
    const std::string residency = partYear ? "part-year" : "nonresident";
    const std::string otherResidency = partYear ? "nonresident" : "part-year";
    const std::string total = "the line's total (field " + number(line.total) + ")";
    const Residency::Code code = partYear ? Residency::kPartYear : Residency::kNonresident;
    const Residency::Code otherCode = partYear ? Residency::kNonresident : Residency::kPartYear;
    return {
        .form = form,
        .fields = {own.getNumber()},
        .emptied = {{.when = {.residency = {code, Residency::kBothColumns}, .zero = line.total.getNumber()},
                     .text = total + " is 0, and a Georgia share lies between 0 and the total"},
                    {.when = {.residency = {Residency::kFullYear, otherCode}},
                     .text = "the Georgia share of a " + residency + " return counts on a " + residency +
                             " return only: a " + otherResidency + " return takes its Georgia share in field " +
                             number(other) + ", and a full-year return the whole (field " + number(line.total) + ")"}},
        .limit = {{.when = {.sameAs = line.total.getNumber()},
                   .text = total + ": a Georgia share lies between 0 and the total"},
                  {.text = "the least a Georgia share can be: it lies between 0 and " + total}}};
}

// The statements' headings and rows; the Georgia share of each total line
// that the preparer may share out, entered in the column of the return's
// residency.
void statementRules(std::vector<EntryRule>& rules) {
    const struct {
        const char* form;
        const StatementFormLines& lines;
        const char* documents;
        std::vector<const StatementTotalLine*> shared;
    } statements[] = {
        {"ST2",
         kStateForm2Lines.statement,
         "the 1099-INT copies (form F166) and forms F51 and F89",
         {&kStateForm2Lines.statement.regular, &kStateForm2Lines.statement.usObligations,
          &kStateForm2Lines.fromFederalForm3, &kStateForm2Lines.statement.outOfStateMunicipal,
          &kStateForm2Lines.statement.inStateMunicipal}},
        {"ST3",
         kStateForm3Lines.statement,
         "the 1099-DIV copies (form F164) and forms F51 and F89",
         {&kStateForm3Lines.statement.regular, &kStateForm3Lines.statement.usObligations,
          &kStateForm3Lines.statement.outOfStateMunicipal, &kStateForm3Lines.statement.inStateMunicipal}},
    };
    for (const auto& s : statements) {
        rules.push_back({.form = s.form,
                         .fields = numbersFromTo(s.lines.taxpayerHeading1, s.lines.spouseHeading2),
                         .source = "the filers' names and numbers on form 69"});
        // The display rows run up to the first total line.
        std::vector<std::int32_t> rows = numbersFromTo(s.lines.firstRowInfo, s.lines.lastRowInfo);
        const std::vector<std::int32_t> shown =
            numbersFromTo(s.lines.firstRow, FieldId(s.lines.regular.total.getNumber() - 1));
        rows.insert(rows.end(), shown.begin(), shown.end());
        rules.push_back({.form = s.form, .fields = rows, .source = std::string("the rows drawn from ") + s.documents});
        for (const StatementTotalLine* line : s.shared) {
            rules.push_back(statementShareRule(s.form, *line, true));
            rules.push_back(statementShareRule(s.form, *line, false));
        }
    }
}

// The payment voucher's boxes of the way the return is filed.
void voucherRules(std::vector<EntryRule>& rules) {
    const Form77Lines& l = kForm77Lines;
    rules.push_back({.form = "GA77",
                     .fields = {l.onPaper.getNumber(), l.electronic.getNumber()},
                     .emptied = "the voucher marks box " + number(l.onPaper) + " on a return filed on paper and box " +
                                number(l.electronic) +
                                " on a return e-filed (gahost run --efile), and this return "
                                "is filed the other way"});
}

}  // namespace

std::vector<EntryRule> calculatedFieldRules() {
    std::vector<EntryRule> rules;
    for (void (*part)(std::vector<EntryRule>&) : {informationFormSources, mainFormSources, documentListSources,
                                                  creditSummarySources, statementRules, voucherRules}) {
        part(rules);
    }
    return rules;
}

}  // namespace GAHost
