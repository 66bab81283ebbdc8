// The rows of the notes of the worksheets a return still needs: a keyed
// 1099-R without the items it gives, the Georgia wages of a part-year or
// nonresident return, the entries of the income-tax adjustment of the
// itemized deductions, the Georgia shares of the part-year schedule, and
// form 1040 naming another taxpayer than form 92.
#include <string>
#include <vector>

#include "tests/host/preparer_edits.h"

namespace preparer {

namespace {

// Entries of itemized-deductions.xml: the income-tax adjustment's box, the
// income tax deducted and the amount the share applies to on form 2.
const std::string kAdjustmentBox = "<FIELD><ID>14405</ID><VALUE>X</VALUE></FIELD>";
const std::string kIncomeTaxDeducted = "<FIELD><ID>10</ID><VALUE>7500</VALUE></FIELD>";
const std::string kAdjustmentBase = "<FIELD><ID>203981</ID><VALUE>10000</VALUE></FIELD>";
// Entries of part-year-resident.xml: the Georgia interest and dividends of
// the part-year schedule.
const std::string kScheduleInterest = "<FIELD><ID>189422</ID><VALUE>120</VALUE></FIELD>";
const std::string kScheduleDividends = "<FIELD><ID>189423</ID><VALUE>90</VALUE></FIELD>";

}  // namespace

std::vector<NoteCase> worksheetNoteCases() {
    // The items of the filers of a return that is not joint: the taxpayer's.
    const Noted items = {"1099-R copies (form F84)",
                         "the common items pensions-taxpayer and ira-distributions-taxpayer, none of which"};
    const auto withoutWages = [](std::string t) { return withoutForm(t, "<FORM DEVNAME=\"ST4\""); };
    const auto georgiaWages = [](const std::string& wages) {  // of a nonresident, on the state wages worksheet
        return replacing(
            {{"<FORM DEVNAME=\"GA189217\"", "<FORM DEVNAME=\"ST4\" COPY=\"1\"><FIELD><ID>28</ID><VALUE>" + wages +
                                                "</VALUE></FIELD></FORM><FORM DEVNAME=\"GA189217\""}});
    };
    return {
        {"1099-R copies without the items", "single-retiree", [](std::string t) { return withoutItemsKeyed(t, "12"); },
         items, "18000"},
        {"1099-R copies keyed otherwise", "single-retiree", [](std::string t) { return withoutItemsKeyed(t, "11"); },
         items, ""},
        {"1099-R copies on a joint return without the items", "joint-two-dependents",
         [](std::string t) { return withFederalForm(t, kRetirementStatement); },
         Noted{"1099-R copies (form F84)",
               "pensions-taxpayer, ira-distributions-taxpayer, pensions-spouse and "
               "ira-distributions-spouse, none of which"}},
        {"1099-R copies beside an item", "single-retiree",
         [](std::string t) { return withFederalForm(t, kRetirementStatement); }, Noted{}},
        {"part-year, Georgia wages not entered", "part-year-resident", withoutWages,
         Noted{"W-2 copy 2 (form F52) has a Georgia state line", "part-year return are 0",
               "field 27 of <FORM DEVNAME=\"ST4\" COPY=\"1\">"}},
        {"part-year, Georgia wages entered", "part-year-resident", {}, {}},
        {"part-year, no Georgia line", "part-year-resident",
         [withoutWages](std::string t) {
             return replaced(withoutWages(t), "<ID>34</ID><VALUE>GA</VALUE>", "<ID>34</ID><VALUE>SC</VALUE>");
         },
         Noted{}},
        {"nonresident, no state wages on the Georgia line", "nonresident-wages",
         replacing({{"<FIELD><ID>33</ID><VALUE>52000.00</VALUE></FIELD>", ""}}),
         Noted{"nonresident return are 0 (field 28", "field 33 of W-2 copy 1"}},
        {"nonresident with state wages", "nonresident-wages", {}, {}},
        {"nonresident, Georgia wages above the federal wages", "nonresident-wages", georgiaWages("52000.01"),
         Noted{"gahost: note: the Georgia part of wages of the state wages worksheet (form ST4 field 28), 52000.01, "
               "lies beyond its federal amount (field 26), 52000: the calculation counts a Georgia part as it is "
               "entered; enter the part earned in Georgia alone, between 0 and the federal amount (between the "
               "federal amount and 0 for a loss)"}},
        {"nonresident, Georgia wages at the federal wages", "nonresident-wages", georgiaWages("52000"), Noted{}},
        {"full-year resident", "single-wages", {}, {}},
        {"itemized, every adjustment entry", "itemized-deductions", {}, {}},
        {"itemized, field 10 without 203981", "itemized-deductions", replacing({{kAdjustmentBase, ""}}),
         Noted{"form F2 copy 1 field 10 (", "field 10 counts in the income-tax adjustment",
               "only with field 203981, which is empty", "form 70 line 74", "form 189217 line 189455"}},
        {"itemized, field 203981 without 10", "itemized-deductions", replacing({{kIncomeTaxDeducted, ""}}),
         Noted{"form F2 copy 1 field 203981 (", "field 203981 counts in", "only with field 10, which is empty"}},
        {"itemized, the box alone", "itemized-deductions", replacing({{kIncomeTaxDeducted, ""}, {kAdjustmentBase, ""}}),
         Noted{"form F2 copy 1 field 14405 (", "box 14405 asks for", "field 10 and field 203981 are empty"}},
        {"itemized, the box not answered", "itemized-deductions", replacing({{kAdjustmentBox, ""}}),
         Noted{"form F2 copy 1 field 10 (", "only with box 14405, which asks for it, answered yes, which it is not"}},
        {"form 2 on a return that does not itemize", "itemized-deductions",
         replacing({{"ITEM=\"itemizes\">1<", "ITEM=\"itemizes\">0<"}}),
         Noted{"form F2 copy 1 field 10 (", "only on a return that itemizes, which this one does not"}},
        {"part-year, shares on the statements only", "part-year-resident",
         replacing({{kScheduleInterest, ""}, {kScheduleDividends, ""}}),
         Noted{"the interest statement (form ST2) 120 and the dividend statement (form ST3) 90",
               "holds 0 in its Georgia interest and dividends", "so 210 counts nowhere", "field 189422",
               "field 189423"}},
        {"part-year, the dividends' share on the statement only", "part-year-resident",
         replacing({{kScheduleDividends, ""}}), Noted{"holds 120", "so 90 counts nowhere"}},
        {"part-year, the shares together in one field of the schedule", "part-year-resident",
         replacing({{kScheduleDividends, ""}, {kScheduleInterest, "<FIELD><ID>189422</ID><VALUE>210</VALUE></FIELD>"}}),
         Noted{}},
        {"nonresident, a share on the statement only", "nonresident-wages",
         replacing({{"<FORM DEVNAME=\"GA189217\"",
                     "<FORM DEVNAME=\"ST2\" COPY=\"1\"><FIELD><ID>153</ID><VALUE>400</VALUE></FIELD></FORM>"
                     "<FORM DEVNAME=\"GA189217\""}}),
         Noted{"the interest statement (form ST2) 400", "so 400 counts nowhere"}},
        {"form 1040 names another taxpayer than form 92", "single-wages", replacing({{"400-00-1234", "400-00-9999"}}),
         Noted{"form F92 copy 1, field 7 \"400001234\" but form F1 copy 1, field 11 \"400009999\"",
               "(run --efile) is blocked until they agree"}},
    };
}

}  // namespace preparer
