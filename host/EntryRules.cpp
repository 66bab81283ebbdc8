#include "host/EntryRules.h"

#include <algorithm>

#include "module/catalogues/StateForm4Lines.h"
#include "module/catalogues/WageLineRows.h"
#include "module/frame/FilingCodes.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

// The texts of the rules that several forms share.
constexpr const char* kPayerNumberReplaced =
    "a withholding entry shows the payer's number of the document it lists (a W-2, a 1099 or a withholding row of "
    "form 70); a payer's number is entered only where that document has none";
constexpr const char* kPayerNumberEmptied =
    "the withholding entries list the documents with Georgia withholding in order, and this entry lists none";
constexpr const char* kNonresidentColumn =
    "the second state column is a nonresident's; a part-year resident enters the Georgia part in the line's first "
    "state column (the field before this one), and a full-year resident's Georgia part is the federal amount";
constexpr const char* kFilledFromFederal =
    "the row is filled from the federal return's other-state return (form F133618) of its state, box 138856 being "
    "marked: unmark box 138856 to enter the row's state, income and tax yourself";
constexpr const char* kNotBelowZero = "a credit used is not below 0";
constexpr const char* kDonorType =
    "the donor type takes one answer: of the 75 % part's two boxes and the 6 % part's box the first marked stands";

// Form 71 is emptied after the calculation while box 91 is marked, which
// it is by default unless box 90 (keep the form) is: box 91 empties it
// whatever else is marked.
std::vector<Reason> underpaymentFormEmptied() {
    return {{.when = {.marked = {90, 91}},
             .text = "box 91 (empty the form after the calculation) is marked as well as box 90 (keep the form), and "
                     "empties the form: unmark box 91 to keep it"},
            {.when = {.marked = {91}},
             .text = "box 91 (empty the form after the calculation) is marked, as it is by default unless box 90 (keep "
                     "the form) is: mark box 90 instead to keep the form"}};
}

// The entries of form 71 that count only where it computes a penalty: not
// on a form emptied, nor on an exempt farmer or fisherman's.
std::vector<Reason> penaltyNotComputed() {
    std::vector<Reason> reasons = underpaymentFormEmptied();
    reasons.push_back({.when = {.marked = {8}},
                       .text = "an exempt farmer or fisherman (box 8) owes no penalty, and the form computes none"});
    return reasons;
}

// The installment columns of form 71, which a form that computes no
// penalty and one of a single installment (box 9) lack, and of which a
// column before the first of the installments carries nothing.
Reasons installmentColumns() {
    std::vector<Reason> reasons = penaltyNotComputed();
    reasons.push_back(
        {.when = {.marked = {9}}, .text = "one installment (box 9) of 66.66 % of the tax has no installment columns"});
    reasons.push_back({.text = "a column before the first of the installments (field 16) carries nothing"});
    return Reasons(std::move(reasons));
}

// Form 75 is projected from this year's return while box 7 is marked, which
// it is by default unless box 8 (do not project) is: the projection takes
// the deduction entered in field 207533 and empties boxes 31 to 37.
std::vector<Reason> projectedDeduction() {
    return {{.when = {.marked = {7, 8}},
             .text = "box 7 (project from this year's return) is marked as well as box 8, and the worksheet is "
                     "projected from this year's return, taking the deduction entered in field 207533: unmark box 7 "
                     "for boxes 31 to 37 to count"},
            {.when = {.marked = {7}},
             .text = "the worksheet is projected from this year's return (box 7, marked by default unless box 8 is) "
                     "and takes the deduction entered in field 207533: mark box 8 instead for boxes 31 to 37 to "
                     "count"}};
}

// Why an entry of form 75's deduction counts nowhere: the worksheet is
// projected, or the deduction it figures from its boxes (the standard
// deduction while box 31 is marked, else the itemized deductions) leaves the
// entry out, for the reason `figured` gives.
Reasons deductionLeftOut(Reason figured) {
    std::vector<Reason> reasons = projectedDeduction();
    reasons.push_back(std::move(figured));
    return Reasons(std::move(reasons));
}

// The account that takes the place of an entry in the amended return's
// deposit account, after the reasons given.
Reasons amendedDepositReplaced(std::vector<Reason> reasons = {}) {
    reasons.push_back({.when = {.marked = {191048}},
                       .text = "box 191048 is marked: the refund goes into form 69's deposit account, which takes "
                               "the entry's place"});
    reasons.push_back({.when = {.marked = {191046}},
                       .text = "box 191046 is marked: the refund goes into the account entered in fields 191329 to "
                               "191332, which takes the entry's place"});
    return Reasons(std::move(reasons));
}

// A refund's account only: the first reason that holds empties it, or the account taken leaves it empty.
Reasons amendedDepositEmptied() {
    return amendedDepositReplaced(
        {{.when = {.zero = 189655},
          .text = "the amended return refunds nothing (field 189655 is 0), and its deposit account holds a refund's "
                  "account only"},
         {.when = {.marked = {191328}},
          .text = "box 191328 (no direct deposit) is marked, so the refund is not deposited into an account"},
         {.when = {.marked = {191049}},
          .text = "the account entered twice (box 191046) differs between its two entries (box 191049 is marked), so "
                  "no account is shown"}});
}

constexpr const char* kExpiresAlso =
    "the box \"does not expire\" counts only without an expiration date (field 193212), and one is entered";
constexpr const char* kSpouseIdOnJointReturn =
    "the spouse's ID is asked on a joint return only: a return of another filing status, a married-separate one "
    "included, has no spouse's ID even where it names the spouse";

Reasons idDetailsWithoutId(std::int32_t none, std::int32_t noneOther, std::vector<Reason> more = {}) {
    const auto says = [](auto box) {
        return "an ID's details count only with an ID, and box " + std::to_string(box) + " says there is none";
    };
    more.insert(more.begin(), {{.when = {.marked = {none}}, .text = says(none)},
                               {.when = {.marked = {noneOther}}, .text = says(noneOther)}});
    return Reasons(std::move(more));
}

std::vector<EntryRule> informationFormRules() {
    return {
        {.form = "GA69",
         .fields = {36, 37, 38, 96, 97, 98},
         .replaced = "each filer has one residency: of boxes 36, 38 and 37 (the spouse's 96, 97 and 98) the first "
                     "marked stands"},
        {.form = "GA69",
         .fields = {99, 100, 101},
         .replaced = "the third residency trio takes one answer: of boxes 99, 100 and 101 the first marked stands"},
        {.form = "GA69",
         .fields = {12},
         .replaced = "the refund goes by direct deposit (box 77) or not (box 12): with both marked, box 77 stands"},
        {.form = "GA69", .fields = {14}, .replaced = "of boxes 13 and 14 one counts: with both marked, box 13 stands"},
        {.form = "GA69",
         .fields = {33436},
         .replaced = "of boxes 33437 and 33436 one counts: with both marked, box 33437 stands"},
        {.form = "GA69",
         .fields = {187984},
         .replaced = "the amount owed is withdrawn from a bank account (box 187983) or not (box 187984): with both "
                     "marked, box 187983 stands"},
        {.form = "GA69",
         .fields = {113, 114},
         .emptied = "a residency period belongs to a part-year return only (form 69 box 111)"},
        {.form = "GA69",
         .fields = {193214, 193215, 193208, 199053},
         .replaced = "the taxpayer's ID question takes one answer: of boxes 193214, 193215, 193208 and 199053 the "
                     "first marked stands"},
        {.form = "GA69", .fields = {193209, 193211, 193212}, .emptied = idDetailsWithoutId(193208, 199053)},
        {.form = "GA69", .fields = {193213}, .emptied = idDetailsWithoutId(193208, 199053, {{.text = kExpiresAlso}})},
        {.form = "GA69",
         .fields = {193222, 193223, 193216, 199054},
         .emptied = kSpouseIdOnJointReturn,
         .replaced = "the spouse's ID question takes one answer: of boxes 193222, 193223, 193216 and 199054 the "
                     "first marked stands"},
        {.form = "GA69",
         .fields = {193217, 193219, 193220, 193221},
         .emptied = idDetailsWithoutId(193216, 199054, {{.text = kSpouseIdOnJointReturn}})},
        {.form = "GA69",
         .fields = {77, 78, 79, 80, 81, 82, 83, 84},
         .emptied = "a return filed on paper without direct deposit (box 197644) has no deposit account"},
    };
}

std::vector<EntryRule> mainFormRules() {
    return {
        {.form = "GA70",
         .fields = {75},
         .emptied = "itemized deductions count only on a full-year resident's return that itemizes federally; a "
                    "part-year or nonresident return that itemizes takes its deductions on form 189217, where "
                    "field 189456 takes the amount off its itemized deductions (field 189454)"},
        {.form = "GA70",
         .fields = {101},
         .emptied = "without an overpayment there is nothing to credit to the 2019 estimated tax",
         .limit = "the overpayment (field 100)"},
        {.form = "GA70",
         .fields = {350},
         .emptied = "the low-income credit does not apply to this return (or there is no tax for it to reduce)",
         .limit = "the dependents of the low-income credit (field 349)"},
        {.form = "GA70",
         .fields = {189509, 189510, 189511, 189545, 189546, 189547},
         .emptied = kPayerNumberEmptied,
         .replaced = kPayerNumberReplaced},
        {.form = "GA189218",
         .fields = {189926, 189927, 189928, 189962, 189963, 189964, 189998, 189999, 190000},
         .emptied = kPayerNumberEmptied,
         .replaced = kPayerNumberReplaced},
    };
}

std::vector<EntryRule> scheduleRules() {
    return {
        {.form = "GA189215",
         .fields = {189258},
         .replaced = "of boxes 189285 and 189258 one counts: with both marked, box 189285 stands"},
        {.form = "GA189215",
         .fields = {189262},
         .emptied = "what is taken off the other states' municipal interest counts only on a part-year or "
                    "nonresident return"},
        {.form = "GA189215",
         .fields = {189282},
         .emptied = "the deduction for domestic production activities no longer exists, so nothing is added back"},
        {.form = "GA189215",
         .fields = {189304, 189306, 189308, 189310, 189312, 189318},
         .emptied = "the spouse's part of the couple's income counts on a joint return only"},
        {.form = "GA189215",
         .fields = {189327, 189329, 189332, 189333},
         .emptied = "the disability lines count only for a taxpayer whom the federal return (form 92) marks as "
                    "disabled"},
        {.form = "GA189215",
         .fields = {189328, 189330, 189336, 189337},
         .emptied = "the disability lines count only for a spouse on a joint return whom the federal return (form "
                    "92) marks as disabled"},
        {.form = "GA189215",
         .fields = {189384},
         .emptied = "a nonresident's return takes no subtraction of S corporation income"},
        {.form = "GA189217",
         .fields = {189422, 189423, 189424, 189425, 189430, 189452, 189456, 189475, 189476, 189477, 189478},
         .emptied = {{.when = {.residency = {Residency::kFullYear}},
                      .text = "the part-year and nonresident schedule counts only on a return that is not "
                              "full-year"}}},
        {.form = "GA189219",
         .fields = {189649},
         .emptied = "an amount entered on an overpayment counts only on an amended return that shows one"},
        {.form = "GA189219",
         .fields = {189650},
         .emptied = "without an overpayment there is nothing to credit to the 2019 estimated tax",
         .limit = "the overpayment"},
        {.form = "GA189219",
         .fields = {189652, 189653},
         .emptied = "the amounts added to the balance due count only on an amended return that owes (the first only "
                    "while box 190064 is not marked)"},
        {.form = "GA189219",
         .fields = {191328, 191329, 191330, 191331, 191332, 191050, 191051},
         .emptied = "an account entered here counts only for a refund deposited into an account other than form "
                    "69's (box 191048 not marked)",
         .replaced = "the account is a checking account (box 191329) or a savings account (box 191330): with both "
                     "marked, box 191329 stands"},
        {.form = "GA189219",
         .fields = {189656, 189658, 189659},
         .emptied = amendedDepositEmptied(),
         .replaced = amendedDepositReplaced()},
        {.form = "GA189219",
         .fields = {189657},
         .emptied = amendedDepositEmptied(),
         .replaced = amendedDepositReplaced({{.when = {.marked = {189656}},
                                              .text = "of boxes 189656 (checking account) and 189657 (savings "
                                                      "account) one counts: box 189656 is marked, and stands"}})},
    };
}

std::vector<EntryRule> underpaymentRules() {
    return {
        {.form = "GA71",
         .fields = {7, 8, 9, 10},
         .emptied = Reasons(underpaymentFormEmptied()),
         .replaced = {{.when = {.marked = {8}},
                       .text = "box 8 (exempt farmer or fisherman) and box 9 (one installment) are a pair of which "
                               "one counts: with both marked, box 8 stands"}}},
        {.form = "GA71", .fields = {55}, .emptied = Reasons(penaltyNotComputed())},
        {.form = "GA71",
         .fields = {16},
         .emptied = installmentColumns(),
         .limit = "the most installments there are",
         .replaced = "the number of installments is 1 to 4"},
        {.form = "GA71",
         .fields = {24, 25, 26, 27},
         .emptied = installmentColumns(),
         .limit = {{.when = {.one = 16},
                    .text = "the withholding (field 21), all of which the one installment (field 16 is 1) takes in "
                            "its one column, whatever boxes 22 and 23 say"},
                   {.when = {.marked = {23}, .unmarked = {22}},
                    .text = "what the earlier installments leave of the withholding (field 21), box 23 being marked: "
                            "the entered parts count"}},
         .replaced = {{.when = {.one = 16},
                       .text = "one installment (field 16 is 1) takes the whole of the withholding (field 21) in its "
                               "one column, whatever boxes 22 and 23 say"},
                      {.when = {.marked = {22, 23}},
                       .text = "box 22 (equal parts) is marked as well as box 23 (entered parts), and the withholding "
                               "(field 21) is spread over the installments in equal parts: unmark box 22 for the "
                               "entered parts to count"},
                      {.when = {.marked = {22}},
                       .text = "the withholding (field 21) is spread over the installments in equal parts (box 22, "
                               "marked by default unless box 23 is): mark box 23 instead for the entered parts to "
                               "count"}}},
        {.form = "GA71",
         .fields = {22, 23, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 75, 76, 77, 78},
         .emptied = installmentColumns()},
    };
}

std::vector<EntryRule> otherStateAndEstimateRules() {
    return {
        {.form = "GA73",
         .fields = {7, 16},
         .emptied = "the full-year computation counts only on a full-year resident's return; a part-year resident "
                    "enters the income and tax in fields 18 and 25, and a nonresident's return takes no credit for "
                    "tax paid to another state",
         .replaced = {{.when = {.marked = {138856}}, .text = kFilledFromFederal}}},
        {.form = "GA73",
         .fields = {18, 25},
         .emptied = "the part-year computation counts only on a part-year resident's return; a full-year resident "
                    "enters the income and tax in fields 7 and 16"},
        {.form = "GA73",
         .fields = {138856},
         .replaced = {{.when = {.residency = {Residency::kPartYear, Residency::kNonresident}},
                       .text = "only the rows of a full-year resident taxpayer (form 69 box 36) are filled from the "
                               "federal return's nonresident returns (form F133618), and this return is not "
                               "full-year"}}},
        {.form = "GA73",
         .fields = {138855},
         .emptied = "a nonresident's return takes no credit for tax paid to another state",
         .replaced = {{.when = {.marked = {138856}}, .text = kFilledFromFederal}}},
        {.form = "GA75",
         .fields = {9, 10},
         .replaced = {{.when = {.marked = {7}},
                       .text = "the worksheet is projected from this year's return (box 7) and takes this year's "
                               "residency"},
                      {.when = {.unmarked = {7}},
                       .text = "of boxes 9 and 10 one counts: with both marked, box 9 stands"}}},
        {.form = "GA75",
         .fields = {31, 36},
         .emptied = Reasons(projectedDeduction()),
         .replaced = {{.when = {.unmarked = {7}},
                       .text = "of boxes 31 (standard deduction) and 36 (itemized deductions) one counts: with both "
                               "marked, box 31 stands"}}},
        {.form = "GA75",
         .fields = {32, 33, 34, 35},
         .emptied = deductionLeftOut({.when = {.unmarked = {31}},
                                      .text = "the standard deduction (box 31) is not marked, and the itemized "
                                              "deductions that the worksheet takes instead (box 36) take no additional "
                                              "deductions: these count with box 31 marked"})},
        {.form = "GA75",
         .fields = {37},
         .emptied = deductionLeftOut({.when = {.marked = {31}},
                                      .text = "the standard deduction (box 31) is marked, and takes no itemized "
                                              "amount: the amount counts with itemized deductions (box 36) marked "
                                              "instead"})},
        {.form = "GA75",
         .fields = {207533},
         .replaced = {{.when = {.unmarked = {7}},
                       .text = "with box 7 (project from this year's return) not marked, the worksheet is not "
                               "projected from this year's return and figures the deduction itself from boxes 31 "
                               "to 37"}}},
        {.form = "GA75",
         .fields = {54, 55, 56, 57, 63},
         .emptied = "the vouchers count only while estimated tax is due for 2019 (field 48 above 0)"},
        {.form = "GA75",
         .fields = {49},
         .limit = "the most installments there are",
         .replaced = "the number of installments is 1 to 4"},
    };
}

std::vector<EntryRule> creditRules() {
    return {
        {.form = "GA187981",
         .fields = {188375, 188376},
         .emptied = "a donor's credit (box 188366, 188370 or 188371) is the 6 % or 75 % part; the individual part "
                    "counts only for a filer who gives as no donor"},
        {.form = "GA187981",
         .fields = {188378, 188379, 188380},
         .emptied = "the 6 % part counts only with its donor box (188371) marked"},
        {.form = "GA187981",
         .fields = {188383, 188384, 188385},
         .emptied = "the 75 % part counts only with one of its donor boxes (188366, 188370) marked"},
        {.form = "GA187981", .fields = {188366, 188370, 188371}, .replaced = kDonorType},
        {.form = "GA187981", .fields = {203938}, .limit = kNotBelowZero},
        {.form = "GA187981", .fields = {203939}, .limit = "the total available (field 203937)"},
        {.form = "GA203638",
         .fields = {203657, 203659},
         .emptied = "a donor's credit (box 203649, 203653 or 205382) is the 6 % or 75 % part; the individual part "
                    "counts only for a filer who gives as no donor"},
        {.form = "GA203638",
         .fields = {205383, 205384, 205385},
         .emptied = "the 6 % part counts only with its donor box (205382) marked"},
        {.form = "GA203638",
         .fields = {203661, 203663, 203664},
         .emptied = "the 75 % part counts only with one of its donor boxes (203649, 203653) marked"},
        {.form = "GA203638", .fields = {203649, 203653, 205382}, .replaced = kDonorType},
        {.form = "GA203638", .fields = {203951}, .limit = kNotBelowZero},
        {.form = "GA203638", .fields = {203952}, .limit = "the total available (field 203950)"},
        {.form = "GA203639",
         .fields = {203791},
         .replaced = "a credit has one owner: with the taxpayer's box (203790) marked, the spouse's is not"},
        {.form = "GA203639",
         .fields = {203793, 203678, 203679, 203794, 203681},
         .emptied = "the entity lines count only with box 203792 (the credit comes through an entity) marked"},
        {.form = "GA203639",
         .fields = {203668, 203669},
         .emptied = "the entity lines count only with box 203792 (the credit comes through an entity) marked",
         .replaced = "an entity of another type takes the return's street and the taxpayer's number"},
        {.form = "GA203639", .fields = {203925}, .limit = kNotBelowZero},
        {.form = "GA203639",
         .fields = {203926},
         .limit = "the most the credit allows: the total available, the entity type's limit and the tax of the "
                  "return"},
        {.form = "GA203811",
         .fields = {203849, 203850, 203851, 203852, 203853, 203854, 203855, 203856, 203857,
                    203858, 204130, 204131, 204132, 204133, 204134, 204135, 204136, 204137,
                    204138, 204139, 204140, 204141, 204142, 204143, 204144},
         .emptied = "rows 2 to 6 count only with box 203843 marked",
         .limit = "the whole of the credit"},
        {.form = "GA203811", .fields = {203845}, .limit = "the whole of the credit"},
        {.form = "GA203811",
         .fields = {203841},
         .emptied = "a credit without a name (field 203840) has no code",
         .replaced = "the code is that of the credit named in field 203840"},
        {.form = "GA203811", .fields = {203860}, .limit = "the total (field 203859)"},
        {.form = "GA203811", .fields = {203861}, .limit = "what the first part used leaves of the total"},
    };
}

std::vector<EntryRule> worksheetRules() {
    return {
        {.form = "GA190054", .fields = {190153, 190154, 190155, 190156}, .limit = "the most a line counts"},
        {.form = "GA190054",
         .fields = {190159},
         .emptied = "nothing is available to claim",
         .limit = "what is available (field 190158 and the amount carried in)"},
        {.form = "GA190056", .fields = {190169}, .limit = "the two amounts together (fields 190167 and 190168)"},
        {.form = "GA190057", .fields = {190191}, .limit = "the credit the expenses allow (field 190190)"},
        {.form = "GA190059",
         .fields = {190218},
         .limit = "the assistance and the amount carried in together, at most 500"},
        {.form = "GA190060",
         .fields = {190226, 190227, 190228, 190229, 190230},
         .emptied = "the spouse's practice counts on a joint return only"},
        {.form = "GA190061",
         .fields = {190235},
         .replaced = "an amount that is not a whole multiple of 2,000 counts as 0"},
        {.form = "GA190061", .fields = {190236}, .limit = "what is available (the amount and the amount carried in)"},
        {.form = "GA190062",
         .fields = {190243},
         .emptied = "nothing is allowed to claim",
         .limit = "the credit allowed (field 190242)"},
    };
}

constexpr const char* kWagesNotBelowZero = "the least the Georgia wages can be: they are not below 0";
constexpr const char* kColumnStartsAgain =
    "the worksheet's residency code (its field 7) is another than the return's, and a Georgia column open for entry "
    "starts from 0 while they differ, so the entry counts as 0 on every run: remove field 7 from the worksheet";

// The Georgia wages: a part-year resident's entry (field 27), held between
// 0 and the state wages of all the W-2s (a W-2's wages where its state lines
// give none); a full-year resident's those
// wages; a nonresident's in field 28, not below 0.
std::vector<EntryRule> stateWorksheetRules() {
    const std::vector<int> open = {Residency::kPartYear, Residency::kBothColumns};
    return {
        {.form = "ST4",
         .fields = {27},
         .emptied = {{.when = {.residency = {Residency::kNonresident}},
                      .text = "the first state column is a part-year or full-year resident's; a nonresident's "
                              "Georgia wages go in field 28"}},
         .limit = {{.when = {.residency = open, .entrySign = -1}, .text = kWagesNotBelowZero},
                   {.when = {.residency = open, .entrySign = 1, .notZero = 27},
                    .text = "the state wages of all the W-2s (box 16 of each W-2's state lines, or its wages, box 1, "
                            "where they give none), of which the Georgia wages are a part"}},
         .replaced = {{.when = {.residency = {Residency::kFullYear}},
                       .text = "a full-year resident's Georgia wages are the state wages of all the W-2s (box 16 of "
                               "their state lines)"},
                      {.when = {.residency = open, .zero = 26},
                       .text = "the Georgia wages are a part of the W-2s' wages, and the return gives none (field 26 "
                               "is 0)"},
                      {.when = {.residency = open}, .text = kColumnStartsAgain}}},
        {.form = "ST4",
         .fields = {28},
         .emptied = kNonresidentColumn,
         .limit = {{.when = {.residency = {Residency::kBothColumns}, .entrySign = -1}, .text = kWagesNotBelowZero},
                   {.text = "the state wages of the W-2s less the first state column's, which applies only while "
                            "both state columns are open (residency code 4 in field 7); a nonresident's Georgia "
                            "wages are kept as they are"}},
         .replaced = {{.when = {.residency = {Residency::kNonresident}},
                       .text = "a nonresident's Georgia wages are box 16 of the W-2s' Georgia lines unless an amount "
                               "above 0 is entered"}}},
        {.form = "ST4", .fields = {31, 45, 48, 51, 60, 63, 72}, .emptied = kNonresidentColumn},
    };
}

// A Georgia part of a line lies between 0 and the line's federal amount
// (field `federal`): held to 0 from the other side of 0, the part is told
// the least it can be, or on a line of a loss (a federal amount below 0) the
// most; `held` gives the reasons of a part held to the other bound first.
Reasons partOfLine(std::vector<Reason> held, const std::vector<int>& open,
                   const Primitives::QVImmutableIdentifier& federal) {
    const std::string a = std::to_string(federal.getNumber());
    held.push_back(
        {.when = {.residency = open, .entrySign = -1, .otherSign = federal.getNumber()},
         .text = "the least a Georgia part can be: it lies between 0 and the line's federal amount (field " + a + ")"});
    held.push_back({.when = {.residency = open, .entrySign = 1, .otherSign = federal.getNumber()},
                    .text = "the most a Georgia part of a loss can be: it lies between the line's federal amount "
                            "(field " +
                            a + ", below 0) and 0"});
    return Reasons(std::move(held));
}

// The second state column of a line capped by its federal amount (C, the
// field after the first state column `resident`): a nonresident's Georgia
// part, within the federal amount; where both columns are open, within what
// the first leaves of it.
EntryRule secondStateColumnRule(const Primitives::QVImmutableIdentifier& federal,
                                const Primitives::QVImmutableIdentifier& resident) {
    const std::int32_t a = federal.getNumber();
    const std::int32_t b = resident.getNumber();
    const int nonresident = Residency::kNonresident;
    const int both = Residency::kBothColumns;
    return {.form = "ST4",
            .fields = {b + 1},
            .emptied = kNonresidentColumn,
            .limit = partOfLine({{.when = {.residency = {nonresident}, .sameAs = a},
                                  .text = "the line's federal amount (field " + std::to_string(a) + ")"},
                                 {.when = {.residency = {both}, .sameAs = a, .less = b},
                                  .text = "what the first state column (field " + std::to_string(b) +
                                          ") leaves of the line's federal amount (field " + std::to_string(a) + ")"}},
                                {nonresident, both}, federal)};
}

// The first state column of a worksheet line (B), whose federal amount is
// `federal`: a part-year resident's entry, held to the federal amount where
// the line is capped; a full-year resident's federal amount; closed on a
// nonresident's return. An open column starts from 0 when the residency of
// the return changed since the worksheet was last calculated (field 7).
EntryRule firstStateColumnRule(const Primitives::QVImmutableIdentifier& federal,
                               const Primitives::QVImmutableIdentifier& resident, bool capped) {
    const std::string a = std::to_string(federal.getNumber());
    const std::string c = std::to_string(resident.getNumber() + 1);
    const std::vector<int> open = {Residency::kPartYear, Residency::kBothColumns};
    EntryRule rule{
        .form = "ST4",
        .fields = {resident.getNumber()},
        .emptied = {{.when = {.residency = {Residency::kNonresident}},
                     .text = "the first state column is a part-year or full-year resident's; a nonresident enters "
                             "the Georgia part in the line's second state column (field " +
                             c + ")"},
                    {.when = {.zero = federal.getNumber()},
                     .text = "the Georgia part is a part of the line's federal amount, and the line has none (field " +
                             a + " is 0; a federal main form without the line leaves it empty)"}},
        .replaced = {
            {.when = {.residency = {Residency::kFullYear}},
             .text = "a full-year resident's Georgia part is the whole of the line's federal amount (field " + a + ")"},
            {.when = {.residency = open}, .text = kColumnStartsAgain}}};
    if (capped) {
        rule.limit = partOfLine({{.when = {.residency = open, .sameAs = federal.getNumber()},
                                  .text = "the line's federal amount (field " + a + ")"}},
                                open, federal);
    }
    return rule;
}

// The state columns of every line that the federal main form or the
// common amounts fill: the first of each, the second of each capped line
// (that of a line not capped is kNonresidentColumn's).
std::vector<EntryRule> stateColumnRules() {
    std::vector<EntryRule> rules;
    for (const WageLineRowLines& line : kWageLineRows) {
        rules.push_back(firstStateColumnRule(line.federal, line.resident, line.capped));
        if (line.capped) rules.push_back(secondStateColumnRule(line.federal, line.resident));
    }
    const StateForm4Lines& s4 = kStateForm4Lines;
    rules.push_back(firstStateColumnRule(s4.otherWages.federal, s4.otherWages.resident, false));
    for (const StateForm4Lines::Row* row :
         {&s4.taxpayerAdjustment, &s4.spouseAdjustment, &s4.taxpayerOtherAdjustment, &s4.spouseOtherAdjustment}) {
        rules.push_back(firstStateColumnRule(row->federal, row->resident, true));
        rules.push_back(secondStateColumnRule(row->federal, row->resident));
    }
    return rules;
}

}  // namespace

const std::vector<EntryRule>& entryRules() {
    static const std::vector<EntryRule> rules = [] {
        std::vector<EntryRule> all;
        for (std::vector<EntryRule> (*part)() :
             {informationFormRules, mainFormRules, scheduleRules, underpaymentRules, otherStateAndEstimateRules,
              creditRules, worksheetRules, stateWorksheetRules, stateColumnRules, calculatedFieldRules}) {
            for (EntryRule& rule : part()) all.push_back(std::move(rule));
        }
        return all;
    }();
    return rules;
}

const EntryRule* entryRuleOf(const std::string& form, std::int32_t field) {
    for (const EntryRule& rule : entryRules()) {
        if (Utils::QVStringUtils::stricmp(rule.form, form.c_str()) == 0 &&
            std::find(rule.fields.begin(), rule.fields.end(), field) != rule.fields.end()) {
            return &rule;
        }
    }
    return nullptr;
}

}  // namespace GAHost
