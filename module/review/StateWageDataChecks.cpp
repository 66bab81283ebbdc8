// The e-file check of the state data the filer entered on federal source
// documents (W-2, W-2G, 1099-G, 1099-R, 1099-MISC) and of the filers' name
// suffixes. A bit mask chooses the checks; some rules belong to other states
// and compare the return's abbreviation with their lists.
//
// The state amounts of these forms are kept in hundredths: both the amount
// and the withholding are divided by 100 before they are compared and
// printed.

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "module/catalogues/Form165Lines.h"
#include "module/catalogues/Form52Lines.h"
#include "module/catalogues/Form84Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/SourceStateRowLines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/review/StateTaxFormAuditor.h"
#include "platform/util/Utils.h"

namespace StateAuditMgmt {

namespace {

enum WageCheck : std::uint16_t {
    kCheckWithholdingAgainstAmount = 0x1,
    kCheckStateNameMissing = 0x10,
    kCheckSameStateTwice = 0x20,
    kCheckLocalityNames = 0x40,
    kCheckSuffixes = 0x80,
    kCheck1099GWithholding = 0x100,
    kCheck1099GCompensation = 0x200,
    kCheckEmployerStateId = 0x400,
    kCheck1099MiscWithholding = 0x800,
    kCheckW2Box1 = 0x1000,
};

enum class Source { W2, W2G, Form1099G, Form1099R };

struct SourceForm {
    Source kind;
    FormID form;
    const char* name;
    const char* amountName;
    std::vector<SourceStateRow> lines;
};

// The 1099-G's first state row, with its unemployment compensation as the
// amount: the only row of the 1099-G that the check reads.
SourceStateRow form1099GRow() {
    SourceStateRow line = kForm165Lines.stateRows[0];
    line.amount = kForm165Lines.unemployment;
    return line;
}

const std::vector<SourceForm>& sourceForms() {
    static const std::vector<SourceForm> forms{
        {Source::W2, kForm52ID, "W-2", "state wage", {kForm52StateRows.begin(), kForm52StateRows.end()}},
        {Source::W2G, kForm54ID, "W-2G", "winnings", {kForm54StateRows.begin(), kForm54StateRows.end()}},
        {Source::Form1099G, kForm165ID, "1099-G", "unemployment", {form1099GRow()}},
        {Source::Form1099R,
         kForm84ID,
         "1099-R",
         "gross distribution",
         {kForm84StateRows.begin(), kForm84StateRows.end()}},
    };
    return forms;
}

const std::array<const char*, 4> kLineOrdinals{"first", "second", "third", "fourth"};

// The states whose 1099-G rules this layer knows; Georgia is not one.
const std::array<const char*, 22> k1099GStates{"CT", "ME", "MD", "MA", "OR", "SC", "IL", "CA", "IA", "NE", "MI",
                                               "MT", "CO", "KS", "AR", "ID", "IN", "KY", "NC", "PA", "UT", "WV"};
// The states that refuse a 1099-G whose withholding reaches its
// unemployment compensation.
const std::array<const char*, 16> k1099GWithholdingStates{"CA", "IA", "NE", "MI", "MT", "CO", "KS", "AR",
                                                          "ID", "IN", "KY", "NC", "OR", "PA", "UT", "WV"};

template <std::size_t N>
bool listed(const std::array<const char*, N>& states, const std::string& abbreviation) {
    for (const char* s : states) {
        if (Utils::QVStringUtils::stricmp(abbreviation, s) == 0) {
            return true;
        }
    }
    return false;
}

std::string twoDecimals(double amount) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return text;
}

std::string goBackToForm(const std::string& stateName, const std::string& formName) {
    return ". If this is correct, you must file your return on paper. To e-file your " + stateName +
           " return, you will need to go back to the federal interview to form " + formName +
           " and correct your state information";
}

// What one call of the check knows and how it reports a finding.
struct WageReview {
    StateTaxFormAuditor& auditor;
    DataMgmt::TaxReturn& federal;
    std::string helpId;
    TopicID topic;
    bool spare;
    bool reportAsAudit;
    std::string abbreviation;
    std::string stateName;

    bool isThisState(const std::string& state) const { return Utils::QVStringUtils::stricmp(state, abbreviation) == 0; }
    bool isState(const char* code) const { return Utils::QVStringUtils::stricmp(abbreviation, code) == 0; }

    // A finding about a source document: an e-file failure that sends the
    // filer back to the federal interview, or an ordinary message on the
    // document's field.
    void finding(const std::string& help, bool fires, const FormID& source, std::uint16_t copy, const FieldID& field,
                 const std::string& text) const {
        if (reportAsAudit) {
            auditor.reportAuditMessage(help, topic, false, kClassEFile, fires, kTypeWarning, source, copy, field, text,
                                       kNoSentence);
        } else {
            auditor.reportEFileFailure(help, topic, false, kClassEFile | kClassFirstFailure, fires, kTypeEFileBlocker,
                                       FormID(0), 0, FieldID(0), text, kNoSentence);
        }
    }
    void finding(bool fires, const FormID& source, std::uint16_t copy, const FieldID& field,
                 const std::string& text) const {
        finding(AuditMgmt::kStateAudit_HowToGoBackToFedInterview, fires, source, copy, field, text);
    }
};

void checkSuffixes(const WageReview& r) {
    const Form92Lines& f92 = kForm92Lines;
    const auto checkOne = [&](const FieldID& field, const std::string& label) {
        const std::string suffix = r.federal.formString(kForm92ID, 1, field);
        if (suffix.empty()) {
            return;
        }
        std::string text;
        if (r.isState("MD") || r.isState("SC")) {
            text = r.stateName + " does not allow returns with a suffix or title in " + label +
                   " name to be filed electronically. To e-file your " + r.stateName +
                   " return, you will need to go back to the federal interview and remove your suffix or title";
        } else {
            for (const char* allowed : {"JR", "SR", "II", "III", "IV", "V", "VI"}) {
                if (Utils::QVStringUtils::stricmp(suffix, allowed) == 0) {
                    return;
                }
            }
            text = label + " suffix must only be one of the following: JR, SR, II, III, IV, V, VI. To e-file your " +
                   r.stateName + " return, you will need to go back to the federal interview and remove your suffix";
        }
        if (r.reportAsAudit) {
            r.auditor.reportAuditMessage(r.helpId, r.topic, r.spare, kClassEFile, true, kTypeWarning, kForm92ID, 1,
                                         field, text, kNoSentence);
        } else {
            r.auditor.reportEFileFailure(r.helpId, r.topic, r.spare, kClassEFile, true, kTypeEFileBlocker, FormID(0), 0,
                                         FieldID(0), text, kFaqSentence);
        }
    };
    checkOne(f92.taxpayer.suffix, "Taxpayer");
    const std::int8_t federalStatus = r.federal.getFilingStatusNumber();
    if (FederalFilingStatus::listsSpouse(federalStatus)) {
        checkOne(f92.spouse.suffix, "Spouse");
    }
}

// Any state withholding or unemployment compensation on a 1099-G, for the
// states that refuse them.
void check1099GTotals(const WageReview& r, std::uint16_t checkMask) {
    const Form165Lines& g = kForm165Lines;
    const FieldID& withheld = g.stateRows[0].withheld;
    if ((checkMask & kCheck1099GWithholding) != 0) {
        r.finding(r.helpId, r.federal.getAllCopies(kForm165ID, withheld) > 0, kForm165ID, 1, withheld,
                  "You're not eligible to e-file your " + r.stateName +
                      " return if you have state withholdings on a 1099-G.");
    }
    if ((checkMask & kCheck1099GCompensation) != 0) {
        r.finding(r.helpId, r.federal.getAllCopies(kForm165ID, g.unemployment) > 0, kForm165ID, 1, g.unemployment,
                  "You're not eligible to e-file your " + r.stateName +
                      " return if you are reporting Unemployment Compensation on a 1099-G.");
    }
}

// Every W-2 line of this state with tax withheld needs the employer's state
// ID; the check is made for every line.
void checkEmployerStateIds(const WageReview& r) {
    const SourceForm& w2 = sourceForms().front();
    for (DataMgmt::TaxFormIter it = r.federal.getForms(kForm52ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        const std::uint16_t copyNumber = copy->getCopyNumber();
        for (const SourceStateRow& line : w2.lines) {
            const bool fires = r.isThisState(copy->valueString(line.state)) && copy->getIR(line.withheld) > 0 &&
                               copy->isNull(line.stateId);
            r.finding(fires, kForm52ID, copyNumber, line.amount,
                      "The \"Employer State Tax ID #\" is missing from Box 15 on copy " + std::to_string(copyNumber) +
                          " of your Form W-2. If this is correct, you must file on paper. Otherwise, to e-file your "
                          "state return, you will need to go back to the federal interview to the Form W-2  and "
                          "correct your state W-2 information.");
        }
    }
}

void check1099MiscWithholding(const WageReview& r) {
    const std::array<SourceStateRow, 2>& lines = kForm110StateRows;
    for (DataMgmt::TaxFormIter it = r.federal.getForms(kForm110ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        const std::uint16_t copyNumber = copy->getCopyNumber();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const SourceStateRow& line = lines[i];
            if (copy->getIR(line.withheld) > 0 && r.isThisState(copy->valueString(line.state))) {
                r.finding(r.helpId, true, kForm110ID, copyNumber, line.withheld,
                          "You are not eligible to electronically file your " + r.stateName +
                              " return because you have reported state tax withheld on copy " +
                              std::to_string(copyNumber) + " on your form 1099-MISC on the " +
                              (i == 0 ? "1st" : "2nd") + " line.");
            }
        }
    }
}

// Box 1 wages below one dollar, for the states that refuse them. Unlike the
// state amounts, box 1 is kept in whole dollars.
void checkW2Box1(const WageReview& r) {
    const FieldID& wages = kForm52Lines.wages;
    for (DataMgmt::TaxFormIter it = r.federal.getForms(kForm52ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        const std::uint16_t copyNumber = copy->getCopyNumber();
        if (copy->getIR(wages) < 1.0) {
            r.finding(true, kForm52ID, copyNumber, wages,
                      r.stateName +
                          " does not allow electronic filing if the amount of federal wages in box 1 of your Form W-2 "
                          "is less than $1. See federal Form W-2, copy " +
                          std::to_string(copyNumber) + ".To e-file your " + r.stateName +
                          " return, you will need to go back to the federal interview to the Form W-2 and correct "
                          "your state W-2 information.");
        }
    }
}

// A W-2G or 1099-R line with an amount but no state name. The 1099-G
// completeness rules belong to other states and have no finding here.
void checkStateNamesMissing(const WageReview& r, const SourceForm& source, const DataMgmt::TaxForm& copy,
                            std::uint16_t copyNumber) {
    for (std::size_t i = 0; i < source.lines.size(); ++i) {
        const SourceStateRow& line = source.lines[i];
        const bool noState = line.state.isNullID() || copy.valueString(line.state).empty();
        const std::string form = source.name;
        if (source.kind == Source::W2G && !line.withheld.isNullID() && copy.getIR(line.withheld) > 0 && noState) {
            r.finding(true, source.form, copyNumber, line.amount,
                      "You have entered state taxes withheld, but did not enter a state name on copy " +
                          std::to_string(copyNumber) + " of your form (" + form + ")" +
                          goBackToForm(r.stateName, form));
        } else if (source.kind == Source::Form1099R && !line.amount.isNullID() && copy.getIR(line.amount) > 0 &&
                   noState) {
            r.finding(true, source.form, copyNumber, line.amount,
                      std::string("You have entered state distribution, but did not enter the state name on the ") +
                          kLineOrdinals[i] + " line on copy " + std::to_string(copyNumber) + " of your form (" + form +
                          ")" + goBackToForm(r.stateName, form));
        }
    }
}

// Two state lines of one copy for the same state, for the states that
// refuse them on W-2 and 1099-R copies.
void checkSameStateTwice(const WageReview& r, const SourceForm& source, const DataMgmt::TaxForm& copy,
                         std::uint16_t copyNumber) {
    const bool applies = (source.kind == Source::W2 && (r.isState("IL") || r.isState("MD"))) ||
                         (source.kind == Source::Form1099R && (r.isState("IL") || r.isState("MA")));
    if (!applies) {
        return;
    }
    bool twice = false;
    for (std::size_t i = 0; i < source.lines.size() && !twice; ++i) {
        const std::string a = copy.valueString(source.lines[i].state);
        for (std::size_t j = i + 1; j < source.lines.size() && !a.empty() && !twice; ++j) {
            twice = Utils::QVStringUtils::stricmp(a, copy.valueString(source.lines[j].state)) == 0;
        }
    }
    if (!twice) {
        return;
    }
    const std::string form = source.name;
    const std::string where = " (" + form + " Copy " + std::to_string(copyNumber) + ")";
    r.finding(true, source.form, copyNumber, source.lines.front().state,
              (source.kind == Source::W2
                   ? "There are two or more state tax withholdings in Box 16 for the same state postal abbreviation "
                     "on a single Form" +
                         where
                   : "You may not enter two state withholdings for the same state postal abbreviation on a single "
                     "form" +
                         where) +
                  goBackToForm(r.stateName, form));
}

// State withholding that equals or exceeds the amount it was withheld from.
// The rule of a state that compares against a quarter of the amount has no
// finding here.
void checkWithholdingAgainstAmount(const WageReview& r, const SourceForm& source, const DataMgmt::TaxForm& copy,
                                   std::uint16_t copyNumber) {
    for (std::size_t i = 0; i < source.lines.size(); ++i) {
        const SourceStateRow& line = source.lines[i];
        if (line.amount.isNullID() || line.withheld.isNullID()) {
            continue;
        }
        bool flag = !(line.state.isNullID() && !r.reportAsAudit);
        if (source.kind == Source::Form1099G) {
            flag = listed(k1099GStates, r.abbreviation);
        }
        const double amount =
            (source.kind == Source::Form1099R ? copy.getIR(kForm84Lines.grossDistribution) : copy.getIR(line.amount)) /
            100;
        const double withheld = copy.getIR(line.withheld) / 100;
        if ((amount == 0 && withheld == 0) || r.isState("VA")) {
            continue;
        }
        bool fires = flag && !(amount > withheld);
        if (source.kind == Source::Form1099R) {
            fires = fires && (r.isState("IL") || r.isState("CT"));
        } else if (source.kind == Source::Form1099G) {
            fires =
                fires && listed(k1099GWithholdingStates, r.abbreviation) && copy.xMarked(kForm165Lines.unemploymentBox);
        }
        if (!fires) {
            continue;
        }
        const std::string form = source.name;
        const std::string copyText = std::to_string(copyNumber);
        const std::string text =
            source.kind == Source::W2
                ? "Your state tax withholding amount (" + twoDecimals(withheld) +
                      ") in box 17 equals or exceeds your state wage amount (" + twoDecimals(amount) + ") on copy " +
                      copyText + " in box 16 of your form (" + form + ")"
                : std::string("Your ") + kLineOrdinals[i] + " state withholding amount (" + twoDecimals(withheld) +
                      ") equals or exceeds your " + source.amountName + " amount (" + twoDecimals(amount) +
                      ") on copy " + copyText + " of your form (" + form + ")";
        r.finding(true, source.form, copyNumber, line.amount, text + goBackToForm(r.stateName, form));
    }
}

}  // namespace

void StateTaxFormAuditor::auditStateWageData(const std::string& helpId, TopicID topic, bool spare,
                                             const FormID& /*form*/, std::uint16_t checkMask, bool reportAsAudit) {
    const WageReview review{
        *this, *federalReturn, helpId, topic, spare, reportAsAudit, stateReturn->getAbbreviation(), stateName()};
    if ((checkMask & kCheckSuffixes) != 0) {
        checkSuffixes(review);
    }
    check1099GTotals(review, checkMask);
    if ((checkMask & kCheckEmployerStateId) != 0) {
        checkEmployerStateIds(review);
    }
    if ((checkMask & kCheck1099MiscWithholding) != 0) {
        check1099MiscWithholding(review);
    }
    if ((checkMask & kCheckW2Box1) != 0) {
        checkW2Box1(review);
    }
    // The locality names belong to another state's rules and have no finding
    // here (kCheckLocalityNames).
    using Block = void (*)(const WageReview&, const SourceForm&, const DataMgmt::TaxForm&, std::uint16_t);
    const std::array<std::pair<std::uint16_t, Block>, 3> blocks{{
        {kCheckStateNameMissing, &checkStateNamesMissing},
        {kCheckSameStateTwice, &checkSameStateTwice},
        {kCheckWithholdingAgainstAmount, &checkWithholdingAgainstAmount},
    }};
    // Every copy that exists, by its own number: a copy above a gap left by
    // a deletion is checked too.
    for (const SourceForm& source : sourceForms()) {
        for (const auto& [bit, block] : blocks) {
            if ((checkMask & bit) == 0) {
                continue;
            }
            for (DataMgmt::TaxFormIter it = federalReturn->getForms(source.form); !it.atEOL(); it.next()) {
                const DataMgmt::TaxFormPtr copy = it.getTaxForm();
                block(review, source, *copy, copy->getCopyNumber());
            }
        }
    }
}

}  // namespace StateAuditMgmt
