// The rows of the notes that gahost run gives where a return still needs an
// entry: each an example, edited, and the pieces of the note it gives.
#include <string>
#include <utility>
#include <vector>

#include "tests/host/preparer_edits.h"

namespace preparer {

// The rows of form 1040's amounts of the items split between the filers
// of a joint return.
std::vector<NoteCase> splitItemNoteCases() {
    return {
        {"form 1040's IRA distribution on a joint return without the items", "retired-couple",
         withForm1040Field("87", "6000", "ira-distributions-taxpayer\">6000"),
         Noted{"but the return gives neither item ira-distributions-taxpayer nor ira-distributions-spouse: on a"}},
        {"form 1040's pensions on a joint return, the items another sum", "retired-couple",
         withForm1040Field("89", "70000"),
         Noted{"gahost: note: form 1040 (form F1) field 89 holds the couple's 70000, but the items pensions-taxpayer "
               "and pensions-spouse give 62000 and 9000, together 71000: on a joint return (or one whose federal "
               "filing status is not given) the retirement exclusion takes each filer's share of field 89 from "
               "these items alone; give the two shares, adding up to 70000, in the Georgia return's <HOST> as "
               "<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-taxpayer\">amount</PULLCOMMON> and <PULLCOMMON "
               "FORM=\"F1\" ITEM=\"pensions-spouse\">amount</PULLCOMMON>"}},
        {"form 1040's pensions, the items their sum", "retired-couple", withForm1040Field("89", "71000"), Noted{}},
        {"form 1040's business income, no exclusion",
         "joint-two-dependents",
         [](std::string t) { return withForm1040Field("82", "3000")(replaced(t, ">85000<", ">88000<")); },
         {}},
        {"form 1040's business income on a joint return beside no wages", "retired-couple",
         [](std::string t) { return withForm1040Field("82", "3000")(withoutForm(t, "<FORM DEVNAME=\"F52\"")); },
         Noted{"field 82 holds the couple's 3000, but the return gives neither item business-income-taxpayer"}},
        {"form 1040's business loss beside the spouse's wages", "retired-couple", withForm1040Field("82", "-3000"), {}},
        {"1099-R copies beside form 1040's IRA distribution", "single-retiree",
         [](std::string t) { return withForm1040Field("87", "18000")(withoutItemsKeyed(t, "12")); }, Noted{}},
        {"form 1040's IRA distribution on a joint return where only the spouse qualifies", "retired-couple",
         [](std::string t) {
             return withForm1040Field("87", "6000", "ira-distributions-taxpayer\">6000")(
                 replacing({{"02/14/1952", "02/14/1970"}, {"<FIELD><ID>121</ID><VALUE>X</VALUE></FIELD>", ""}})(t));
         },
         Noted{"field 87 holds the couple's 6000, but the return gives neither item"}},
    };
}

namespace {

// A birth date left out, where the return says the filer's age matters.
std::vector<NoteCase> birthDateNoteCases() {
    const Edit noBirthDate = replacing({{"<FIELD><ID>9</ID><VALUE>03/05/1955</VALUE></FIELD>", ""}});
    return {
        {"birth date left out beside the box 65 or over", "aged-65",
         replacing({{"<FIELD><ID>9</ID><VALUE>06/15/1953</VALUE></FIELD>", ""}}),
         Noted{"gahost: note: the retirement exclusion (form 189215) takes a filer's age from the filer's birth date "
               "on form F92 alone, which the return leaves empty: the taxpayer's (field 9), whom the return marks 65 "
               "or over (form 1040 (form F1) box 121). A filer born in 1956 or before excludes "
               "pensions, IRA distributions, interest, dividends and other unearned income, and up to 4000 of earned "
               "income, within a limit of 35000 (65000 when born in 1953 or before); without the birth date the "
               "filer does not qualify by age. Enter it in <FORM DEVNAME=\"F92\" COPY=\"1\"> as MM/DD/YYYY"}},
        {"birth date given beside the box 65 or over", "aged-65", {}, {}},
        {"birth date left out beside form 1040A's box 65 or over", "aged-65",
         [](std::string t) {
             return withFederalForm(replacing({{"<FIELD><ID>9</ID><VALUE>06/15/1953</VALUE></FIELD>", ""}})(t),
                                    "<FORM DEVNAME=\"F104\" COPY=\"1\"><FIELD><ID>181</ID><VALUE>X</VALUE></FIELD>"
                                    "</FORM><FORM DEVNAME=\"F55\" COPY=\"1\"><FIELD><ID>82</ID><VALUE>X</VALUE>"
                                    "</FIELD><FIELD><ID>11</ID><VALUE>400-00-5001</VALUE></FIELD></FORM>");
         },
         Noted{"the taxpayer's (field 9), whom the return marks 65 or over (form 1040A (form F55) box 82)."}},
        {"birth date left out by a retiree with a 1099-R", "single-retiree",
         [noBirthDate](std::string t) { return withFederalForm(noBirthDate(t), kRetirementStatement); },
         Noted{"the taxpayer's (field 9), to whom the return gives retirement income (1099-R copy 1 (form F84), "
               "ira-distributions-taxpayer 18000)."}},
        {"birth date left out by a spouse with a pension", "retired-couple",
         replacing({{"<FIELD><ID>10</ID><VALUE>09/30/1955</VALUE></FIELD>", ""}}),
         Noted{"empty: the spouse's (field 10), to whom the return gives retirement income (pensions-spouse 9000)."}},
        {"no birth date on a return with interest and dividends",
         "part-year-resident",
         {},
         Noted{"the taxpayer's (field 9), on a return that gives unearned income the exclusion counts (interest 690 "
               "(form 189215 field 189303), dividends 180 (form 189215 field 189305)) and no filer's birth date."}},
        {"no birth date, no retirement income", "single-wages", {}, {}},
        {"no birth date beside capital gains and other unearned income", "single-wages",
         [](std::string t) {
             return withForm1040Field("83", "5000")(
                 replacing({{"<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">52000",
                             "<PULLCOMMON FORM=\"F1\" ITEM=\"other-unearned\">8000</PULLCOMMON><PULLCOMMON FORM=\"F1\" "
                             "ITEM=\"federal-agi\">57000"}})(t));
         },
         Noted{"(capital gains 5000 (form 189215 field 189307), other unearned income 8000 (form 189215 field "
               "189317)) and no filer's birth date."}},
        {"the spouse's birth date left out beside the spouse's share of the interest", "retired-couple",
         replacing({{"<FIELD><ID>10</ID><VALUE>09/30/1955</VALUE></FIELD>", ""},
                    {"<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-spouse\">9000</PULLCOMMON>", ""}}),
         Noted{"the spouse's (field 10), whose share of the couple's unearned income the return gives (interest 1000 "
               "(form 189215 field 189304))."}},
        {"no birth dates beside form 1040's pensions of a couple", "retired-couple",
         [](std::string t) {
             return withForm1040Field("89", "71000", "pensions-taxpayer\">62000")(
                 replacing({{"<FIELD><ID>9</ID><VALUE>02/14/1952</VALUE></FIELD>", ""},
                            {"<FIELD><ID>10</ID><VALUE>09/30/1955</VALUE></FIELD>", ""},
                            {"<FIELD><ID>121</ID><VALUE>X</VALUE></FIELD>", ""},
                            {"<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-spouse\">9000</PULLCOMMON>", ""}})(t));
         },
         Noted{"the spouse's (field 10), to whom the return gives retirement income (form 1040 field 89, the "
               "couple's 71000)."}},
    };
}

// The W-2s' owners and farm income: told where they would change a filer's
// exclusion.
std::vector<NoteCase> earnedIncomeNoteCases() {
    const Edit farm = withForm1040Field("91", "4000");
    const Edit farmLoss = withForm1040Field("91", "-4000");
    const Edit withoutW2 = [](std::string t) { return withoutForm(t, "<FORM DEVNAME=\"F52\""); };
    return {
        {"a joint W-2 without its owner", "retired-couple", replacing({{" OWNER=\"spouse\"", ""}}),
         Noted{"W-2 copy 1 (form F52) does not say whose it is",
               "wages-taxpayer and wages-spouse give 0 and 0 of "
               "the W-2s' 48000 (box 1)"}},
        {"a joint W-2 without its owner beside the wages items",
         "retired-couple",
         replacing(
             {{" OWNER=\"spouse\"", ""},
              {"ITEM=\"itemizes\">0</PULLCOMMON>",
               "ITEM=\"itemizes\">0</PULLCOMMON><PULLCOMMON FORM=\"F1\" ITEM=\"wages-spouse\">48000</PULLCOMMON>"}}),
         {}},
        {"a joint W-2 without its owner, each filer's earned income counted whole",
         "retired-couple",
         replacing({{" OWNER=\"spouse\"", ""},
                    {"ITEM=\"itemizes\">0</PULLCOMMON>",
                     "ITEM=\"itemizes\">0</PULLCOMMON><PULLCOMMON FORM=\"F1\" "
                     "ITEM=\"other-earned-spouse\">4000</PULLCOMMON>"}}),
         {}},
        {"joint W-2s without owners, no exclusion",
         "joint-two-dependents",
         replacing({{" OWNER=\"taxpayer\"", ""}, {" OWNER=\"spouse\"", ""}}),
         {}},
        {"farm income", "single-retiree", [farm, withoutW2](std::string t) { return farm(withoutW2(t)); },
         Noted{"field 91 holds farm income of 4000", "ITEM=\"other-earned-taxpayer\">amount</PULLCOMMON>"}},
        {"farm income beside wages of 4000 or more", "single-retiree", farm, {}},
        {"a farm loss beside no earned income",
         "single-retiree",
         [farmLoss, withoutW2](std::string t) { return farmLoss(withoutW2(t)); },
         {}},
        {"a farm loss beside wages below 4000", "single-retiree",
         [farmLoss](std::string t) { return farmLoss(replaced(t, "<VALUE>22000</VALUE>", "<VALUE>2000</VALUE>")); },
         Noted{"field 91 holds a farm loss of -4000, which lowers earned income", "give the farm loss as a negative"}},
        {"farm income beside other earned income",
         "single-retiree",
         [farm](std::string t) {
             const std::string itemizes = "ITEM=\"itemizes\">0</PULLCOMMON>";
             return farm(replacing(
                 {{itemizes, itemizes + "<PULLCOMMON FORM=\"F1\" ITEM=\"other-earned-taxpayer\">4000</PULLCOMMON>"}})(
                 t));
         },
         {}},
        {"farm income, no exclusion",
         "joint-two-dependents",
         [farm](std::string t) { return farm(replaced(t, ">85000<", ">89000<")); },
         {}},
    };
}

}  // namespace

// The rows of the retirement exclusion's inputs: a birth date, the W-2s'
// owners, farm income. A row whose description names the birth date counts
// its note; the others leave it aside, as the examples without birth dates
// that give interest get it as they stand.
std::vector<NoteCase> retirementInputNoteCases() {
    std::vector<NoteCase> rows = birthDateNoteCases();
    for (NoteCase& row : earnedIncomeNoteCases()) rows.push_back(std::move(row));
    return rows;
}

namespace {

// Form 73's other copies, and a row of form 73 not filled from form 133618.
std::vector<NoteCase> form73NoteCases() {
    const auto form73 = [](int copy, const std::string& entries) { return withGeorgiaForm("GA73", copy, entries); };
    const std::string al = entry(138855, "AL");
    const auto alTwice = [=](const std::string& first) {  // copy 2: 20000 taxed by AL, 800 paid
        return [=](std::string t) {
            return form73(2, al + entry(7, "20000") + entry(16, "800"))(form73(1, al + first)(t));
        };
    };
    const char* example = "tax-paid-to-another-state";
    return {
        {"form 73's credit on copy 2", example, form73(2, al + entry(7, "20000") + entry(16, "800")),
         Noted{"form GA73 copy 2 computes a credit of 800 for tax paid to AL (field 17), but form 70 takes the",
               "counts nowhere: copy 1 holds none; enter this state's income and tax on <FORM DEVNAME=\"GA73\" "
               "COPY=\"1\"> instead"}},
        {"form 73 copy 1 holding only the state", example, form73(1, al),
         Noted{"form GA73 copy 1 names AL but holds neither its income (field 7) nor its tax (field 16)",
               "(form F133618 copy 1) while its box 138856 is not marked, so it gives no credit: mark box 138856"}},
        {"form 73 copy 1 holding the state and its tax", example, form73(1, al + entry(16, "800")), Noted{}},
        {"form 73's copy 2 computing no credit", example,
         [=](std::string t) {
             return form73(2, entry(138855, "NC") + entry(7, "20000"))(form73(1, al + entry(138856, "X"))(t));
         },
         Noted{}},
        {"form 73 copy 1 of no state holding a credit", example, form73(1, entry(7, "20000") + entry(16, "800")),
         Noted{"form 70 takes the credit of copy 1 only, which holds 800 and names no state (field 138855)"}},
        {"form 73 copy 1 filled from form 133618", example, form73(1, al + entry(138856, "X")), Noted{}},
        {"form 73 copy 1 of another state", example, form73(1, entry(138855, "NC")),
         Noted{"nonresident return for AL (form F133618 copy 1) fills no row of form 73",
               "name AL on <FORM DEVNAME=\"GA73\" COPY=\"1\"> (field 138855) and mark its box 138856"}},
        {"form 73's copy 2 for copy 1's state", example, alTwice(entry(7, "10000") + entry(16, "400")),
         Noted{"on copy 1: add copy 2's income taxed by AL (field 7) and tax paid to it (field 16) to copy 1's"}},
        {"form 73's copy 2 for copy 1's state, copy 1 filled from form 133618", example, alTwice(entry(138856, "X")),
         Noted{"where copy 1 takes AL's income and tax from the federal return's nonresident return"}},
    };
}

// Form 71's parts short of the withholding, and a further copy of a form
// taken from copy 1 alone.
std::vector<NoteCase> partAndCopyNoteCases() {
    // Form 71's two installments with the parts given of the withholding of 1000.
    const auto parts = [](const std::string& given) { return replacing({{entry(26, "1000"), given}}); };
    // The same, with form 70's withholding given as 1000.40.
    const auto partsOfCents = [parts](const std::string& given) {
        return [=](const std::string& text) {
            const std::string withheld = "<FIELD OVERRIDDEN=\"1\"" + entry(87, "1000.40").substr(6);
            return withGeorgiaForm("GA70", 1, withheld)(parts(given)(text));
        };
    };
    const char* underpaid = "underpaid-two-installments";
    return {
        {"form 71's entered parts short of the withholding", underpaid, parts(entry(26, "500")),
         Noted{"form GA71 splits the Georgia tax withheld (field 21, 1000) into the parts entered for its 2 "
               "installments (box 23; fields 26 and 27), which add up to 500: 500 of it is in none of"}},
        {"form 71's parts adding up, the cents in the first", underpaid,
         partsOfCents(entry(26, "500.40") + entry(27, "500")), Noted{}},
        {"form 71's one installment, its part kept short by an override", underpaid,
         replacing({{entry(16, "2"), entry(16, "1")},
                    {entry(26, "1000"), "<FIELD OVERRIDDEN=\"1\"" + entry(27, "500").substr(6)}}),
         Noted{}},
        {"form 71's equal parts short of the withholding by their whole dollars", underpaid,
         replacing({{entry(16, "2"), entry(16, "4") + entry(22, "X")},
                    {entry(26, "1000"), ""},
                    {entry(32, "1000.40"), entry(32, "1002.80")}}),
         Noted{}},
        {"form 70's withholding row on copy 3", "single-wages", withGeorgiaForm("GA70", 3, entry(243, "500")),
         Noted{"gahost: note: form GA70 copy 3 field 243 (\"Withholding row 1: Georgia tax withheld\") holds 500, "
               "which counts nowhere on this return: calculated again without it, the return is the same; the "
               "calculation takes form GA70 from copy 1 alone: enter on <FORM DEVNAME=\"GA70\" COPY=\"1\"> what of "
               "it belongs to the return, and remove copy 3"}},
        {"an IND-CR worksheet's copy 2", "single-wages", withGeorgiaForm("GA190054", 2, entry(190148, "X")),
         Noted{"form GA190054 copy 2 field 190148", "from copy 1 alone"}},
        {"an IND-CR worksheet's copy 2 holding a box marked no", "single-wages",
         withGeorgiaForm("GA190054", 2, entry(190148, "NO")), Noted{}},
        {"the amended return's copy 2 on a return that is not amended", "single-wages",
         withGeorgiaForm("GA189219", 2, entry(189645, "400")),
         Noted{"copy 2; form GA189219 counts only with form 69 box 108"}},
        {"the amended return's copy 2 on an amended return", "amended-return",
         withGeorgiaForm("GA189219", 2, entry(189645, "100")), Noted{"GA189219 copy 2 field 189645", "remove copy 2"}},
    };
}

}  // namespace

// The rows of entries that count nowhere, or beyond the return, without the
// calculation changing them: form 73's, form 71's and further copies' above,
// and a spouse's part beyond the couple's.
std::vector<NoteCase> uncountedEntryNoteCases() {
    const std::string spouse = "<ID>189304</ID><VALUE>1000</VALUE></FIELD>";
    const auto capitalLoss = [spouse](const std::string& spousePart) {
        return replacing(
            {{"<PULLCOMMON", "<PULLCOMMON FORM=\"F1\" ITEM=\"capital-gains\">-3000</PULLCOMMON><PULLCOMMON"},
             {spouse, spouse + entry(189308, spousePart)}});
    };
    std::vector<NoteCase> rows = {
        {"the spouse's part above the couple's interest", "retired-couple",
         replacing({{spouse, "<ID>189304</ID><VALUE>99999</VALUE></FIELD>"}}),
         Noted{"gahost: note: form GA189215 field 189304 gives the spouse's part of the couple's interest as 99999, "
               "beyond the couple's 3000: the taxpayer's part (field 189303) is the rest, -96999, and the "
               "retirement exclusion counts both; a spouse's part lies between 0 and the couple's amount"}},
        {"the spouse's part of a capital loss", "retired-couple", capitalLoss("-1000"), Noted{}},
        {"the spouse's part of a capital loss above 0", "retired-couple", capitalLoss("500"),
         Noted{"the couple's capital gains as 500, beyond the couple's -3000"}},
    };
    for (std::vector<NoteCase> more : {form73NoteCases(), partAndCopyNoteCases(), countsNowhereNoteCases()}) {
        for (NoteCase& row : more) rows.push_back(std::move(row));
    }
    return rows;
}

namespace {

// A 1099-R of the taxpayer and one of the spouse (box 2), each of the
// gross distribution given.
Edit couplesStatements(const std::string& taxpayers, const std::string& spouses) {
    return [=](std::string t) {
        return withFederalForm(
            withFederalForm(t, replaced(kRetirementStatement, "18000.00", taxpayers)),
            replacing({{"COPY=\"1\"", "COPY=\"2\""},
                       {"18000.00", spouses},
                       {"</FORM>", "<FIELD><ID>2</ID><VALUE>X</VALUE></FIELD></FORM>"}})(kRetirementStatement));
    };
}

// The same W-2 entered twice, or nearly.
std::vector<NoteCase> repeatedW2NoteCases() {
    const auto secondW2 = [](const Edit& edit) {  // the example's W-2 again, edited
        return [edit](std::string t) {
            const std::size_t at = t.find("<FORM DEVNAME=\"F52\"");
            const std::string copy = t.substr(at, t.find("</FORM>", at) + 7 - at);
            return withFederalForm(t, edit(replaced(copy, "COPY=\"1\"", "COPY=\"2\"")));
        };
    };
    // The W-2's Georgia line (fields 34, 8, 33, 32) as its second (99, 107,
    // 98, 97).
    const Edit w2LineMoved =
        replacing({{"<ID>34<", "<ID>99<"}, {"<ID>8<", "<ID>107<"}, {"<ID>33<", "<ID>98<"}, {"<ID>32<", "<ID>97<"}});
    return {
        {"the same W-2 twice, the employer's number without its dash", "single-wages",
         secondW2(replacing({{"58-4100021", "584100021"}})),
         Noted{"gahost: note: W-2 copy 2 (form F52) repeats copy 1 in every amount and number: both count, so what "
               "they report counts twice wherever the return takes it from them (the wages and the tax withheld among "
               "it); if it is one W-2 entered twice, remove copy 2"}},
        {"a second W-2 a cent apart", "single-wages", secondW2(replacing({{"2450.00", "2450.01"}})), Noted{}},
        {"the same W-2 twice, its Georgia line the second", "single-wages", secondW2(w2LineMoved),
         Noted{"W-2 copy 2 (form F52) repeats copy 1 in every amount and number, its state lines in another order: "
               "both count"}},
        {"the same W-2 twice on a single return, the second naming its owner", "single-wages",
         secondW2(replacing({{"COPY=\"2\"", "COPY=\"2\" OWNER=\"taxpayer\""}})),
         Noted{"W-2 copy 2 (form F52) repeats copy 1 in every amount and number: both count"}},
    };
}

// The retiree's example with its IRA distribution's 1099-R and a rollover
// of 50,000 beside it, the rollover's entries added.
Edit withRollover(const std::string& entries) {
    return [entries](std::string t) {
        return withFederalForm(
            t, kRetirementStatement + "<FORM DEVNAME=\"F84\" COPY=\"2\">" + entry(4, "50000.00") + entries + "</FORM>");
    };
}

// Each filer's pension and IRA items against the filer's own 1099-Rs,
// beyond or short, and 1099-Rs alike but for whose they are.
std::vector<NoteCase> retirementStatementNoteCases() {
    return {
        {"a couple's 1099-Rs alike but for whose they are", "retired-couple",
         [](std::string t) {
             return couplesStatements("68000",
                                      "68000")(replaced(t, "pensions-spouse\">9000<", "pensions-spouse\">68000<"));
         },
         Noted{}},
        // Each filer's pension and IRA items against the filer's own
        // 1099-Rs, beyond or short: the taxpayer's 68000, the spouse's 9000.
        {"a couple's 1099-Rs as their items", "retired-couple", couplesStatements("68000", "9000"), Noted{}},
        {"the taxpayer's items beyond the taxpayer's 1099-R", "retired-couple", couplesStatements("9000", "9000"),
         Noted{"gahost: note: the sum of the taxpayer's pension and IRA items (pensions-taxpayer and "
               "ira-distributions-taxpayer), 68000, differs from the gross distributions of the taxpayer's 1099-Rs "
               "(form F84 field 4, none giving its taxable amount in field 6; box 2 marking the spouse's), 9000 "
               "(higher by 59000): the retirement exclusion takes each filer's pensions and IRA distributions from "
               "the filer's items; give each filer's items from the filer's own 1099-Rs, and where a distribution is "
               "not all taxable (rolled over, or a return of the filer's own contributions) enter its taxable "
               "amount, box 2a, on the 1099-R"}},
        {"a spouse's 1099-R carried by no item", "retired-couple",
         [](std::string t) {
             return couplesStatements("68000", "9000")(
                 replaced(t, "<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-spouse\">9000</PULLCOMMON>", ""));
         },
         Noted{"the sum of the spouse's pension and IRA items (pensions-spouse and ira-distributions-spouse), 0, "
               "differs from the "
               "gross distributions of the spouse's 1099-Rs",
               "9000 (lower by 9000)"}},
        {"a single filer's IRA distribution given again as a pension", "single-retiree",
         [](std::string t) {
             return withFederalForm(replaced(t, "<PULLCOMMON FORM=\"F1\" ITEM=\"ira-distributions-taxpayer\">",
                                             "<PULLCOMMON FORM=\"F1\" ITEM=\"pensions-taxpayer\">18000</PULLCOMMON>"
                                             "<PULLCOMMON FORM=\"F1\" ITEM=\"ira-distributions-taxpayer\">"),
                                    kRetirementStatement);
         },
         Noted{"the sum of the taxpayer's pension and IRA items (pensions-taxpayer and ira-distributions-taxpayer), "
               "36000, "
               "differs from the gross distributions of the taxpayer's 1099-Rs",
               "18000 (higher by 18000)"}},
        {"a 1099-R in cents beside its item in whole dollars", "single-retiree",
         [](std::string t) { return withFederalForm(t, replaced(kRetirementStatement, "18000.00", "18000.40")); },
         Noted{}},
        {"a 1099-R a dollar beyond its item", "single-retiree",
         [](std::string t) { return withFederalForm(t, replaced(kRetirementStatement, "18000.00", "18001.00")); },
         Noted{"differs from the gross distributions of the taxpayer's 1099-Rs", "18001 (lower by 1)"}},
        // A rollover beside the IRA distribution of the item: held to the
        // taxable amounts where a copy gives one, else to the gross.
        {"a rollover's 1099-R without its taxable amount", "single-retiree", withRollover(""),
         Noted{"differs from the gross distributions of the taxpayer's 1099-Rs", "68000 (lower by 50000)"}},
        {"a rollover's 1099-R with its taxable amount of 0", "single-retiree", withRollover(entry(6, "0")), Noted{}},
        {"a rollover's 1099-R with a taxable amount", "single-retiree", withRollover(entry(6, "1.00")),
         Noted{"differs from the taxable amounts of the taxpayer's 1099-Rs (form F84 field 6, and field 4, the gross "
               "distribution, of a copy that gives none; box 2 marking the spouse's), 18001 (lower by 1)"}},
        {"a 1099-R's taxable amount beyond its gross distribution", "single-retiree",
         [](std::string t) {
             return withFederalForm(t, replaced(kRetirementStatement, "</FORM>", entry(6, "18000.01") + "</FORM>"));
         },
         Noted{"gahost: note: the taxable amount of 1099-R copy 1 (form F84 field 6), 18000.01, lies beyond its gross "
               "distribution (field 4), 18000: each filer's pension and IRA items are held to the taxable amounts; "
               "enter box 2a of the 1099-R, which is at most its gross distribution, box 1"}},
        {"a 1099-R's taxable amount at its gross distribution", "single-retiree",
         [](std::string t) {
             return withFederalForm(t, replaced(kRetirementStatement, "</FORM>", entry(6, "18000.00") + "</FORM>"));
         },
         Noted{}},
    };
}

// The same dependent entered twice, or nearly.
std::vector<NoteCase> repeatedDependentNoteCases() {
    // Copy 1 of the dependents again as copy 3, its whole name in the first
    // name, with its number and its box 1136 given anew; copy 1 keeps its
    // number or not.
    const auto dependentAgain = [](const std::string& number, const std::string& listed, bool firstNumbered) {
        return [=](std::string t) {
            const std::string numbered = "<FIELD><ID>1106</ID><VALUE>400002003</VALUE></FIELD>";
            const std::size_t at = t.find("<FORM DEVNAME=\"F113\" COPY=\"1\">");
            const std::string copy = t.substr(at, t.find("</FORM>", at) + 7 - at);
            return withFederalForm(
                firstNumbered ? t : replaced(t, numbered, ""),
                replacing({{"COPY=\"1\"", "COPY=\"3\""},
                           {"Maya</VALUE>", " maya rivera</VALUE>"},
                           {"<VALUE>Rivera<", "<VALUE><"},
                           {numbered, number},
                           {"<ID>1136</ID><VALUE>X<", "<ID>1136</ID><VALUE>" + listed + "<"}})(copy));
        };
    };
    return {
        {"the same dependent twice without a number", "joint-two-dependents", dependentAgain("", "X", false),
         Noted{"gahost: note: federal form 113 copy 3 (form F113) names the dependent of copy 1, maya rivera "
               "(fields 1103 and 1105), and neither gives the dependent's number (field 1106): both are listed (box "
               "1136), so form 70 counts the dependent twice (field 327, the dependents' exemptions); if it is one "
               "dependent entered twice, remove copy 3, else enter each dependent's number"}},
        {"the same dependent twice, one numbered", "joint-two-dependents", dependentAgain("", "X", true),
         Noted{"names the dependent of copy 1, maya rivera (fields 1103 and 1105), and only one of them gives"}},
        {"the same name twice, two numbers", "joint-two-dependents",
         dependentAgain("<FIELD><ID>1106</ID><VALUE>400002005</VALUE></FIELD>", "X", true), Noted{}},
        {"the same dependent twice, the second not listed", "joint-two-dependents", dependentAgain("", "", false),
         Noted{}},
    };
}

// Statements given twice, alike but for the payer, with their state
// line's figures swapped or without its state.
std::vector<NoteCase> statementNoteCases() {
    // The 1099-INT of copy 2 again as copy 3, edited.
    const auto interestAgain = [](const Edit& edit) {
        return [edit](std::string t) {
            const std::size_t at = t.find("<FORM DEVNAME=\"F166\" COPY=\"2\">");
            const std::string copy = t.substr(at, t.find("</FORM>", at) + 7 - at);
            return withFederalForm(t, edit(replaced(copy, "COPY=\"2\"", "COPY=\"3\"")));
        };
    };
    const Edit same = [](std::string t) { return t; };
    std::vector<NoteCase> statements = {
        {"the same 1099-INT twice", "interest-dividends", interestAgain(same),
         Noted{"gahost: note: 1099-INT copy 3 (form F166) repeats copy 2 in every amount and number: both count, so "
               "what they report counts twice wherever the return takes it from them (the interest and the tax "
               "withheld among it); if it is one 1099-INT entered twice, remove copy 3"}},
        {"a W-2's Georgia wages and tax withheld swapped", "single-wages",
         replacing({{"<ID>33</ID><VALUE>52000.00<", "<ID>33</ID><VALUE>2450.00<"},
                    {"<ID>32</ID><VALUE>2450.00<", "<ID>32</ID><VALUE>52000.00<"}}),
         Noted{"gahost: note: W-2 copy 1 (form F52): its first state line gives Georgia tax withheld of 52000 (field "
               "32), at or above the state amount it was withheld from, 2450 (field 33), and the Georgia tax withheld "
               "counts 52000: if the two are swapped or one is mistyped, enter each as the statement shows it"}},
        {"two 1099-INTs alike but for the payer", "interest-dividends",
         interestAgain(replacing({{"Atlantic Credit Union", "Coastal Bank"}})), Noted{}},
        {"a 1099-INT's tax withheld without its state", "interest-dividends",
         interestAgain(replacing({{"</FORM>", entry(133635, "50") + "</FORM>"}, {"85.20", "85.21"}})),
         Noted{"1099-INT copy 3 (form F166): its first state line holds tax withheld, 50 (field 133635), but no "
               "state (field 133633)"}},
    };
    return statements;
}

// The federal care credit above the most it can be: 2,100 for two or
// more persons (a couple with two dependents), 1,050 for one at most.
std::vector<NoteCase> careCreditNoteCases() {
    const auto careCredit = [](const std::string& amount) {
        return replacing({{"<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">",
                           "<PULLCOMMON FORM=\"F1\" ITEM=\"federal-child-care-credit\">" + amount +
                               "</PULLCOMMON><PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">"}});
    };
    return {
        {"the federal care credit above what it can be", "joint-two-dependents", careCredit("6000"),
         Noted{"gahost: note: the item federal-child-care-credit gives 6000 as the federal credit for child and "
               "dependent care expenses, above the most it can be in 2018, 2100 for two or more qualifying "
               "persons, and IND-CR 202 (form GA190055 field 190165) takes 30 % of it, 1800: give the federal "
               "credit as the federal return allows it"}},
        {"the federal care credit at its most", "joint-two-dependents", careCredit("2100"), Noted{}},
        {"the care credit of one person at its most", "single-wages", careCredit("1050"), Noted{}},
        {"the care credit of one dependent above it", "head-of-household", careCredit("1051"),
         Noted{"lists one qualifying person at most"}},
        {"the care credit of one person above it", "single-wages", careCredit("1051"),
         Noted{"lists one qualifying person at most (a dependent listed, box 1136 of form F113, or the spouse of "
               "a joint return), 1050 (2100 for two or more)"}},
    };
}

}  // namespace

// The rows of an entry given twice, and of a state line's tax withheld that
// counts twice or nowhere.
std::vector<NoteCase> repeatedEntryNoteCases() {
    const auto retirementStatement = [](const std::string& from, const std::string& to) {
        return [from, to](std::string t) { return withFederalForm(t, replaced(kRetirementStatement, from, to)); };
    };
    std::vector<NoteCase> rows = {
        // The item as both copies give it: the note of a repeated copy alone.
        {"the same 1099-R twice", "single-retiree",
         [](std::string t) {
             t = replaced(t, "ira-distributions-taxpayer\">18000<", "ira-distributions-taxpayer\">36000<");
             return withFederalForm(withFederalForm(t, kRetirementStatement),
                                    replaced(kRetirementStatement, "COPY=\"1\"", "COPY=\"2\""));
         },
         Noted{"1099-R copy 2 (form F84) repeats copy 1", "the distributions and the tax withheld"}},
        {"a 1099-R's Georgia tax withheld on both state lines", "single-retiree",
         retirementStatement("</FORM>",
                             "<FIELD><ID>169</ID><VALUE>ga</VALUE></FIELD><FIELD><ID>168</ID><VALUE>1200"
                             "</VALUE></FIELD></FORM>"),
         Noted{"1099-R copy 1 (form F84) names Georgia on two of its state lines, each with tax withheld, 1200 "
               "(field 30) and 1200 (field 168): both count in the Georgia tax withheld, together 2400"}},
        {"the same, the return giving the Georgia tax withheld itself", "single-retiree",
         [](std::string t) {
             return replaced(withFederalForm(t, replaced(kRetirementStatement, "</FORM>",
                                                         "<FIELD><ID>169</ID><VALUE>GA</VALUE></FIELD><FIELD><ID>168"
                                                         "</ID><VALUE>1200</VALUE></FIELD></FORM>")),
                             "<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">",
                             "<STATEWITHHELDNOLOCAL>1200</STATEWITHHELDNOLOCAL><PULLCOMMON FORM=\"F1\" "
                             "ITEM=\"federal-agi\">");
         },
         Noted{}},
        {"a 1099-R's tax withheld without its state", "single-retiree",
         retirementStatement("<FIELD><ID>33</ID><VALUE>GA</VALUE></FIELD>", ""),
         Noted{"1099-R copy 1 (form F84): its first state line holds tax withheld, 1200 (field 30), but no state "
               "(field 33), so it counts in no state's tax withheld, the Georgia return's included; if it was "
               "withheld for Georgia, enter GA in field 33"}},
        {"a payment row twice, its date written another way and its state left out", "underpaid-estimated",
         replacing({{"<VALUE>06/15/2018<", "<VALUE>2018-04-15<"}, {"<ID>15</ID><VALUE>GA<", "<ID>15</ID><VALUE><"}}),
         Noted{"dated row 2 repeats row 1, a Georgia payment of the same date and amount (04/15/2018, 400): both "
               "count in the Georgia estimated tax paid (form 70 field 88)",
               "empty row 2 (fields 13 to 15)"}},
        {"the same, row 2 marked as left off form 69", "underpaid-estimated",
         replacing({{"<VALUE>06/15/2018<", "<VALUE>04/15/2018<"},
                    {"<ID>15</ID><VALUE>GA</VALUE></FIELD>",
                     "<ID>15</ID><VALUE>GA</VALUE></FIELD><FIELD><ID>128</ID><VALUE>X</VALUE></FIELD>"}}),
         Noted{}},
        {"another state's payment on a Georgia payment's date", "underpaid-estimated",
         replacing({{"<VALUE>06/15/2018<", "<VALUE>04/15/2018<"}, {"<ID>15</ID><VALUE>GA<", "<ID>15</ID><VALUE>SC<"}}),
         Noted{}},
        {"a Georgia payment row without its date", "underpaid-estimated",
         replacing({{"<ID>13</ID><VALUE>06/15/2018<", "<ID>13</ID><VALUE><"}}),
         Noted{"dated row 2 holds a Georgia payment of 400 (field 14) without its date (field 13): it counts in the "
               "Georgia estimated tax paid (form 70 field 88), but the underpayment penalty (form 71) counts it in "
               "none of its installments"}},
    };
    for (std::vector<NoteCase> more :
         {repeatedW2NoteCases(), retirementStatementNoteCases(), repeatedDependentNoteCases(), statementNoteCases(),
          careCreditNoteCases(), sourceFigureNoteCases()}) {
        for (NoteCase& row : more) rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace preparer
