// The rows of entries that count nowhere on the return, found by
// calculating it again without each, or that count otherwise than meant;
// and the same entries where they count.
#include <string>
#include <utility>
#include <vector>

#include "tests/host/preparer_edits.h"

namespace preparer {

namespace {

const std::string kCounted =
    ", which counts nowhere on this return: calculated again without it, the return is "
    "the same; ";

const char* const kRetirementNote = "the federal return holds 1099-R copies (form F84)";

// The return with the item given before its federal AGI.
Edit item(const std::string& name, const std::string& value) {
    const std::string agi = "<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">";
    return replacing({{agi, "<PULLCOMMON FORM=\"F1\" ITEM=\"" + name + "\">" + value + "</PULLCOMMON>" + agi}});
}

// Entries that change nothing: a spouse's item, a later copy's payments,
// form 70's dependents without the credit they count in.
std::vector<NoteCase> changingNothingCases() {
    const auto payments = [](int copy) {
        return [copy](std::string t) {
            return withFederalForm(t, "<FORM DEVNAME=\"F190\" COPY=\"" + std::to_string(copy) + "\">" +
                                          entry(10, "04/15/2018") + entry(11, "500") + entry(12, "GA") + "</FORM>");
        };
    };
    const std::string counted = kCounted;
    return {
        {"a spouse's item on a single return", "single-wages", item("ira-distributions-spouse", "15000"),
         Noted{"gahost: note: the item ira-distributions-spouse 15000" + counted +
               "a spouse's item counts only on a joint return, and this return's filing status is 1: give the "
               "taxpayer's amount as the taxpayer's item, or file jointly"},
         nullptr, true},
        // Beside a 1099-R of the taxpayer's, the spouse's item gives the
        // taxpayer's none, and asks for none.
        {"a spouse's item on a single return beside a rollover's 1099-R", "single-wages",
         [](std::string t) {
             return withFederalForm(
                 item("ira-distributions-spouse", "15000")(t),
                 "<FORM DEVNAME=\"F84\" COPY=\"1\">" + entry(4, "18000.00") + entry(6, "0") + "</FORM>");
         },
         Noted{"gahost: note: the item ira-distributions-spouse 15000" + counted +
               "a spouse's item counts only on a joint return, and this return's filing status is 1: give the "
               "taxpayer's amount as the taxpayer's item, or file jointly"},
         nullptr, true},
        {"a spouse's item on a single return beside a 1099-R", "single-wages",
         [](std::string t) {
             return withFederalForm(item("ira-distributions-spouse", "15000")(t), kRetirementStatement);
         },
         Noted{kRetirementNote, "the common items pensions-taxpayer and ira-distributions-taxpayer, none of which"}},
        {"a spouse's item on a joint return", "retired-couple", item("ira-distributions-spouse", "15000"), Noted{},
         nullptr, true},
        {"estimated payments on form F190 copy 2", "single-wages", payments(2),
         Noted{"form F190 copy 2 field 11", "holds 500" + counted +
                                                "the calculation reads the dated rows of form "
                                                "F190 from copy 1 alone"},
         nullptr, true},
        {"estimated payments on form F190 copy 1", "single-wages", payments(1), Noted{}, nullptr, true},
        {"form 70's dependents not counted, without the low-income credit", "single-wages",
         withGeorgiaForm("GA70", 1, entry(350, "1")),
         Noted{"form GA70 copy 1 field 350", "holds 1" + counted +
                                                 "it counts only in the low-income credit (form 70 "
                                                 "field 97), which this return does not get"},
         nullptr, true},
    };
}

// Entries that count otherwise than they mean, and the same entries where
// they count.
std::vector<NoteCase> countedOtherwiseCases() {
    const std::string counted = kCounted;
    const std::string unlisted = "<FIELD><ID>1136</ID><VALUE>X</VALUE></FIELD>";
    const std::string spouseBox = "<FORM DEVNAME=\"F166\" COPY=\"1\">";
    return {
        {"form 69's box 108 without form 189219", "single-wages",
         replacing({{"<FORM DEVNAME=\"GA69\" COPY=\"1\">", "<FORM DEVNAME=\"GA69\" COPY=\"1\">" + entry(108, "X")}}),
         Noted{"form GA69 copy 1 field 108 (\"Amended return\") holds X: the box marks the return as amended, but "
               "the return holds no form GA189219"},
         nullptr, true},
        {"form 77's box for the amended return on one that is not", "single-wages",
         withGeorgiaForm("GA77", 1, entry(148019, "X")),
         Noted{"form GA77 copy 1 field 148019",
               "holds X: the box says that the voucher pays an amended return's "
               "amount owed, but the return is not amended"},
         nullptr, true},
        {"form 77's box for the amended return on an amended return", "amended-return",
         withGeorgiaForm("GA77", 1, entry(148019, "X")), Noted{}, nullptr, true},
        {"itemizes without itemized deductions", "single-wages", item("itemizes", "1"),
         Noted{"gahost: note: the item itemizes 1: the return itemizes, but gives no itemized-deductions, so its "
               "deduction is 0 in place of the standard deduction: give itemized-deductions, or remove the item"},
         nullptr, true},
        {"a dependent not listed", "head-of-household", replacing({{unlisted, ""}}),
         Noted{"form F113 copy 1 field 1106",
               "holds 400003002: the copy names a dependent (name, number and "
               "relationship), but its box 1136"},
         nullptr, true},
        {"a dependent listed", "head-of-household", {}, Noted{}, nullptr, true},
        {"a dependent listed on a 1040EZ return", "head-of-household",
         [](std::string t) {
             return withFederalForm(t, "<FORM DEVNAME=\"F104\" COPY=\"1\">" + entry(183, "X") +
                                           "</FORM><FORM DEVNAME=\"F87\" COPY=\"1\">" + entry(9, "400-00-3001") +
                                           "</FORM>");
         },
         Noted{"form F113 copy 1 field 1136", "holds X: the return is filed on form 1040EZ"}, nullptr, true},
        {"a 1099-INT marked the spouse's on a single return", "interest-dividends",
         replacing({{spouseBox, spouseBox + entry(3, "X")}}),
         Noted{"form F166 copy 1 field 3",
               "holds X: the box marks the statement as the spouse's, but a spouse's "
               "statement belongs only on a joint return"},
         nullptr, true},
    };
}

// The items of interest and dividends, held to the statements of their own
// kind where a retirement exclusion is worked out, on every residency.
std::vector<NoteCase> unearnedItemCases() {
    return {
        {"interest as the item alone, where an exclusion is worked out", "aged-65", item("taxable-interest", "800"),
         Noted{
             "gahost: note: the item taxable-interest, 800, lies beyond the interest statement (form ST2 fields 151 "
             "and 154, the regular amounts and those of U.S. obligations, over its copies, from the 1099-INTs, form "
             "F166, and forms F51 and F89), 0: the retirement exclusion takes the interest and the dividends from the "
             "statements, so what the item gives beyond them counts in no filer's exclusion; enter the statements "
             "that give it"},
         nullptr, true},
        // The item is judged against the statements of its own kind: a
        // 1099-DIV gives no interest, and form F89 gives dividends.
        {"interest as the item beside a 1099-DIV, where an exclusion is worked out", "aged-65",
         [](std::string t) {
             return withFederalForm(item("taxable-interest", "800")(t),
                                    "<FORM DEVNAME=\"F164\" COPY=\"1\">" + entry(6, "500.00") + "</FORM>");
         },
         Noted{"the item taxable-interest, 800, lies beyond the interest statement"}, nullptr, true},
        // A part-year return's exclusion takes them from the statements too.
        {"interest as the item beside a 1099-DIV on a part-year return", "part-year-retiree",
         [](std::string t) {
             return withFederalForm(item("taxable-interest", "1000")(replaced(t, ">110000<", ">111500<")),
                                    "<FORM DEVNAME=\"F164\" COPY=\"1\">" + entry(6, "500.00") + "</FORM>");
         },
         Noted{"the item taxable-interest, 1000, lies beyond the interest statement"}, nullptr, true},
        {"dividends as the item beside form F89's", "aged-65",
         [](std::string t) {
             return withFederalForm(
                 item("ordinary-dividends", "500")(t),
                 "<FORM DEVNAME=\"F89\" COPY=\"1\">" + entry(9, "Fund") + entry(16, "500") + "</FORM>");
         },
         Noted{}, nullptr, true},
        // A 1099-INT's U.S. Treasury interest (box 3), which the item holds.
        {"Treasury interest of a 1099-INT, the item as it gives it", "aged-65",
         [](std::string t) {
             return withFederalForm(
                 replaced(t, ">30000</PULLCOMMON>", ">31000</PULLCOMMON>"),
                 "<FORM DEVNAME=\"F166\" COPY=\"1\">" + entry(9, "Treasury") + entry(12, "1000.00") + "</FORM>");
         },
         Noted{}, nullptr, true},
        // A 1099-INT's adjustment comes off the item as off the statement.
        {"a 1099-INT with an adjustment, where an exclusion is worked out", "aged-65",
         [](std::string t) {
             return withFederalForm(replaced(t, ">30000</PULLCOMMON>", ">31000</PULLCOMMON>"),
                                    "<FORM DEVNAME=\"F166\" COPY=\"1\">" + entry(9, "Bank") + entry(10, "1400.00") +
                                        entry(27, "400.00") + "</FORM>");
         },
         Noted{}, nullptr, true},
        {"interest as the item alone, where no exclusion is worked out", "single-wages",
         item("taxable-interest", "800"), Noted{}, nullptr, true},
    };
}

// A joint return's statements of the spouse, whose lists form 70 fills on
// the calculation's second pass: a 1099-R's state distribution counts there
// and in the e-file, while the box that marks a 1099-INT as the spouse's
// counts nowhere once the return has settled (both filers' tax withheld
// counts alike); a 1099-R's box counts as the source of the spouse's items,
// and beside no such figure (an item of 0, which spares the note that asks
// for the items) in the note of a missing birth date, which without the box
// names the taxpayer.
std::vector<NoteCase> spouseStatementCases() {
    const std::string counted = kCounted;
    const std::string spouses1099R = "<FORM DEVNAME=\"F84\" COPY=\"1\">" + entry(4, "9000.00") + entry(425, "12") +
                                     entry(2, "X") + entry(33, "GA") + entry(134, "9000.00") + entry(30, "300.00") +
                                     "</FORM>";
    const std::string spouses1099Int = "<FORM DEVNAME=\"F166\" COPY=\"2\">" + entry(9, "Spouse Bank") + entry(3, "X") +
                                       entry(10, "100.00") + entry(133633, "GA") + entry(133635, "20") + "</FORM>";
    const auto with = [](const std::string& form) {
        return [form](std::string t) { return withFederalForm(t, form); };
    };
    const Edit withoutGross = [](std::string t) {
        return withFederalForm(item("pensions-spouse", "0")(t), "<FORM DEVNAME=\"F84\" COPY=\"1\">" + entry(2, "X") +
                                                                    entry(33, "GA") + entry(30, "300.00") + "</FORM>");
    };
    // The items of 0 give no pension: the 1099-R's gross distribution is
    // still their source, and counts.
    const Edit itemsOfNone = [](std::string t) {
        return withFederalForm(item("pensions-spouse", "0")(t), "<FORM DEVNAME=\"F84\" COPY=\"1\">" +
                                                                    entry(4, "9000.00") + entry(2, "X") +
                                                                    entry(33, "GA") + entry(30, "300.00") + "</FORM>");
    };
    const char* birthDateNote = "the spouse's (field 10), to whom the return gives retirement income (1099-R copy 1";
    // A rollover alone: its taxable amount of 0 gives no item, which the
    // return then need not give, and its gross distribution bounds it.
    const Edit rolloverAlone = [](std::string t) {
        return withFederalForm(
            replacing({{"<PULLCOMMON FORM=\"F1\" ITEM=\"ira-distributions-taxpayer\">18000</PULLCOMMON>", ""},
                       {">48000<", ">30000<"}})(t),
            "<FORM DEVNAME=\"F84\" COPY=\"1\">" + entry(4, "50000.00") + entry(6, "0") + "</FORM>");
    };
    return {
        {"a rollover's 1099-R alone, its taxable amount 0", "single-retiree", rolloverAlone, Noted{}, nullptr, true},
        {"a spouse's 1099-R without its gross distribution, told in the birth date note", "joint-two-dependents",
         withoutGross, Noted{birthDateNote}, nullptr, true},
        {"a spouse's 1099-R beside pension items of 0, its gross distribution their source; the birth date told",
         "joint-two-dependents", itemsOfNone, Noted{birthDateNote}, nullptr, true},
        {"a spouse's 1099-R with a Georgia line on a joint return", "retired-couple",
         with(spouses1099R + "<FORM DEVNAME=\"F84\" COPY=\"2\">" + entry(4, "68000.00") + entry(425, "12") + "</FORM>"),
         Noted{}, nullptr, true},
        {"a spouse's 1099-INT with Georgia tax withheld on a joint return", "retired-couple", with(spouses1099Int),
         Noted{"form F166 copy 2 field 3 (", "holds X" + counted.substr(0, counted.size() - 2)}, nullptr, true},
    };
}

// The return with a 1099-R copy that gives a state distribution alone.
Edit noStateOnLine(int copy, int distribution) {
    return [=](std::string t) {
        return withFederalForm(
            t, "<FORM DEVNAME=\"F84\" COPY=\"" + std::to_string(copy) + "\">" + entry(distribution, "777") + "</FORM>");
    };
}
// The check's limits, and the exempt bond interest and dividends, which
// count as parts of other lines.
std::vector<NoteCase> limitAndBondCases() {
    const std::string counted = kCounted;
    return {
        {"a W-2's local tax, which no rule explains", "single-wages",
         replacing({{entry(32, "2450.00"), entry(32, "2450.00") + entry(37, "100")}}),
         Noted{"gahost: note: form F52 copy 1 field 37 (\"Box 19: local income tax (first state line)\") holds 100, "
               "which counts nowhere on this return: calculated again without it, the return is the same"},
         nullptr, true},
        // Left out of the check: another state's line of a W-2 (its amounts
        // count on that state's return), an item of 0 and a Georgia box
        // that restates the default residency.
        {"a W-2's line of another state", "part-year-moved-away", {}, Noted{}, nullptr, true},
        {"a W-2's local tax on another state's line", "part-year-moved-away",
         replacing({{entry(33, "38000.00"), entry(33, "38000.00") + entry(37, "100")}}), Noted{}, nullptr, true},
        {"an item of 0 and form 69's full-year box", "aged-65", {}, Noted{}, nullptr, true},
        // The Georgia-bond part of a 1099-DIV lowers the addition of a
        // part-year return as of a full-year one; it counts nowhere only
        // beyond the exempt-interest dividends or on a statement shown by
        // its total, and the note sends it to no Georgia income.
        {"a 1099-DIV's Georgia part on a part-year return", "part-year-resident", {}, Noted{}, nullptr, true},
        {"a 1099-DIV's Georgia part without exempt-interest dividends", "part-year-resident",
         replacing({{entry(41, "600.00"), ""}}),
         Noted{"gahost: note: form F164 copy 1 field 52 (\"Exempt-interest dividends from Georgia bonds (in "
               "dollars)\") holds 150" +
               counted +
               "field 52 is the part of the exempt-interest dividends (field 41) paid from Georgia's own bonds, "
               "which Georgia does not tax, and counts only within them, while field 41 holds none: where the fund "
               "paid exempt-interest dividends, give all of them in field 41; form 189215 adds back only what they "
               "hold beyond the Georgia-bond part"},
         nullptr, true},
        {"a 1099-INT's in-state part without municipal interest on a part-year return", "part-year-resident",
         replacing({{entry(10, "240.00"), entry(10, "240.00") + entry(83, "50")}}),
         Noted{"gahost: note: form F166 copy 1 field 83 (\"In-state part of the municipal interest (in dollars)\") "
               "holds 50, which counts nowhere on this return: calculated again without it, the return is the same"},
         nullptr, false},
        {"a restricted-stock 1099-DIV's Georgia part", "interest-dividends",
         replacing({{entry(52, "200.00"), entry(52, "200.00") + entry(19, "X")}}),
         Noted{"form F164 copy 1 field 52", "holds 200" + counted + "box 19 (restricted stock) is marked",
               "adds back none of its exempt-interest dividends"},
         nullptr, false},
        // A 1099-R's state distribution on a line that names no state blocks
        // the e-file, though no figure or note takes it: it counts.
        {"a 1099-R's state distribution on its first line without the state", "single-wages", noStateOnLine(1, 134),
         Noted{kRetirementNote}, nullptr, true},
        {"a 1099-R's state distribution on its first line without the state, e-filed", "single-wages",
         noStateOnLine(1, 134), Noted{kRetirementNote}, nullptr, true, true},
        {"a 1099-R's state distribution on copy 2's second line without the state", "aged-65", noStateOnLine(2, 171),
         Noted{kRetirementNote}, nullptr, true},
        // The item stands for form 1040's box, which the reader holds it to:
        // without the box the file is refused, so the box counts.
        {"the item taxpayer-aged-65 beside form 1040's box 121", "aged-65", item("taxpayer-aged-65", "1"),
         Noted{"gahost: note: the item taxpayer-aged-65 1" + counted.substr(0, counted.size() - 2)}, nullptr, true},
    };
}

}  // namespace

std::vector<NoteCase> countsNowhereNoteCases() {
    std::vector<NoteCase> rows = changingNothingCases();
    for (NoteCase& row : countedOtherwiseCases()) rows.push_back(std::move(row));
    for (NoteCase& row : unearnedItemCases()) rows.push_back(std::move(row));
    for (NoteCase& row : limitAndBondCases()) rows.push_back(std::move(row));
    for (NoteCase& row : spouseStatementCases()) rows.push_back(std::move(row));
    return rows;
}

}  // namespace preparer
