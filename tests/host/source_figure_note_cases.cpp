// The rows of a figure against its source on the same return: a Georgia
// part of a line of a part-year or nonresident return against its federal
// amount, and the federal adjusted gross income against the federal
// return's own figures.
#include <string>
#include <utility>
#include <vector>

#include "tests/host/preparer_edits.h"

namespace preparer {

namespace {

// The nonresident's example with a field of its form 1040, the item of the
// federal adjusted gross income, and a field of its state wages worksheet.
Edit nonresident(const std::string& form1040, const std::string& agi, const std::string& georgia) {
    return replacing(
        {{"<FIELD><ID>87</ID><VALUE>5000</VALUE></FIELD>", "<FIELD><ID>87</ID><VALUE>5000</VALUE></FIELD>" + form1040},
         {"\"federal-agi\">58000<", "\"federal-agi\">" + agi + "<"},
         {"<FIELD><ID>54</ID><VALUE>2000</VALUE></FIELD>", "<FIELD><ID>54</ID><VALUE>2000</VALUE></FIELD>" + georgia}});
}

// A full-year return filed on form 1040EZ, whose address (fields 33, 6
// to 8) gives the residency.
Edit on1040EZ(const std::string& agi) {
    return [agi](std::string t) {
        return withFederalForm(replaced(t, "\"federal-agi\">52000<", "\"federal-agi\">" + agi + "<"),
                               "<FORM DEVNAME=\"F104\" COPY=\"1\">" + entry(183, "X") +
                                   "</FORM><FORM DEVNAME=\"F87\" COPY=\"1\">" + entry(9, "400-00-1234") +
                                   entry(33, "100 Peachtree St NE") + entry(6, "Atlanta") + entry(7, "GA") +
                                   entry(8, "30303") + "</FORM>");
    };
}

// Each line's Georgia part lies between 0 and its federal amount.
std::vector<NoteCase> georgiaPartNoteCases() {
    return {
        {"a nonresident's Georgia rents beyond the federal", "nonresident-other-income",
         nonresident(entry(90, "12000"), "70000", entry(60, "120000")),
         Noted{"gahost: note: the Georgia part of income line 58 of the state wages worksheet (form ST4 field 60), "
               "120000, lies beyond its federal amount (field 58), 12000: the calculation counts a Georgia part as "
               "it is entered; enter the part earned in Georgia alone, between 0 and the federal amount (between "
               "the federal amount and 0 for a loss)"}},
        {"a nonresident's Georgia business loss against a federal profit", "nonresident-other-income",
         nonresident(entry(82, "5000"), "63000", entry(45, "-30000")),
         Noted{"(form ST4 field 45), -30000, lies on the other side of 0 from its federal amount (field 43), 5000"}},
        {"a nonresident's Georgia business loss within the federal loss", "nonresident-other-income",
         nonresident(entry(82, "-5000"), "53000", entry(45, "-5000")), Noted{}},
        {"a nonresident's Georgia business loss beyond the federal loss", "nonresident-other-income",
         nonresident(entry(82, "-5000"), "53000", entry(45, "-5001")),
         Noted{"(form ST4 field 45), -5001, lies beyond its federal amount (field 43), -5000"}},
        // An adjustment's Georgia part, held to its federal amount, stays
        // beyond it only as an override.
        {"a nonresident's Georgia adjustment kept beyond the federal", "nonresident-other-income",
         nonresident(entry(110, "2000"), "56000", "<FIELD OVERRIDDEN=\"1\"><ID>78</ID><VALUE>2500</VALUE></FIELD>"),
         Noted{"(form ST4 field 78), 2500, lies beyond its federal amount (field 76), 2000"}},
        {"a nonresident's Georgia other wages beyond the federal", "nonresident-other-income",
         [](std::string t) {
             return nonresident("", "59000", entry(31, "1500"))(
                 replaced(t, "<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">",
                          "<PULLCOMMON FORM=\"F1\" ITEM=\"other-wages-taxpayer\">1000</PULLCOMMON><PULLCOMMON "
                          "FORM=\"F1\" ITEM=\"federal-agi\">"));
         },
         Noted{"(form ST4 field 31), 1500, lies beyond its federal amount (field 29), 1000"}},
        {"a part-year return's Georgia gains beyond the federal", "part-year-resident",
         replacing({{"<FORM DEVNAME=\"F1\" COPY=\"1\">", "<FORM DEVNAME=\"F1\" COPY=\"1\">" + entry(83, "1000")},
                    {"\"federal-agi\">55420<", "\"federal-agi\">56420<"},
                    {entry(27, "30000"), entry(27, "30000") + entry(47, "10000")}}),
         Noted{"(form ST4 field 47), 10000, lies beyond its federal amount (field 46), 1000"}},
        {"a part-year schedule's Georgia interest beyond the federal", "part-year-other-income",
         replacing({{"<ID>189422</ID><VALUE>120<", "<ID>189422</ID><VALUE>331<"}}),
         Noted{
             "the sum of the Georgia interest and dividends of the part-year schedule (form GA189217 fields 189422 to "
             "189425), 421, lies beyond the federal interest and dividends (fields 189419 and 189420), 420"}},
        {"a part-year schedule's Georgia interest at the federal", "part-year-other-income",
         replacing({{"<ID>189422</ID><VALUE>120<", "<ID>189422</ID><VALUE>330<"}}), Noted{}},
    };
}

// The part-year retiree's example with a statement of the federal return,
// its federal adjusted gross income and the Georgia part of its interest.
Edit partYearRetiree(const std::string& statement, const std::string& agi) {
    return [=](std::string t) {
        return withFederalForm(replacing({{"\"federal-agi\">110000<", "\"federal-agi\">" + agi + "<"},
                                          {"<FORM DEVNAME=\"GA189217\" COPY=\"1\">",
                                           "<FORM DEVNAME=\"GA189217\" COPY=\"1\">" + entry(189422, "500")}})(t),
                               statement);
    };
}

// The federal adjusted gross income against the federal return's own figures.
std::vector<NoteCase> federalAgiNoteCases() {
    // A 1099-INT's adjustment (field 27) and a 1099-DIV's (field 32) come off
    // the item as off the statement: 1,400 less 400; 2,000 less 200 of the
    // 250 spread over 2,000 and the 500 of exempt-interest dividends.
    const std::string interest =
        "<FORM DEVNAME=\"F166\" COPY=\"1\">" + entry(10, "1400.00") + entry(27, "400.00") + "</FORM>";
    const std::string dividends = "<FORM DEVNAME=\"F164\" COPY=\"1\">" + entry(6, "2000.00") + entry(41, "500.00") +
                                  entry(32, "250.00") + "</FORM>";
    return {
        {"a part-year return's 1099-INT with an adjustment, the federal AGI less it", "part-year-retiree",
         partYearRetiree(interest, "111000"), Noted{}},
        {"a part-year return's 1099-INT with an adjustment, the federal AGI with it", "part-year-retiree",
         partYearRetiree(interest, "111400"),
         Noted{"the item federal-agi, 111400, differs from the federal return's own figures",
               "111000 (higher by 400)"}},
        {"a part-year return's 1099-DIV with an adjustment, the federal AGI less its share", "part-year-retiree",
         partYearRetiree(dividends, "111800"), Noted{}},
        {"a part-year return's Georgia W-2 without box 16, held to its box 1", "part-year-resident",
         replacing({{"<FIELD><ID>33</ID><VALUE>30000.00</VALUE></FIELD>", ""}}), Noted{}},
        {"a part-year return's W-2 left out", "part-year-resident",
         [](std::string t) { return withoutForm(t, "<FORM DEVNAME=\"F52\" COPY=\"1\""); },
         Noted{"the federal adjusted gross income, the item federal-agi, 55420, differs from the federal return's "
               "own figures",
               "(higher by "}},
        {"a nonresident's federal AGI before an adjustment", "nonresident-other-income",
         nonresident(entry(110, "2000"), "58000", ""),
         Noted{"the item federal-agi, 58000, differs from the federal return's own figures", "56000 (higher by 2000)"}},
        {"a nonresident's W-2 given again a cent more", "nonresident-wages",
         [](std::string t) {
             return withFederalForm(t,
                                    "<FORM DEVNAME=\"F52\" COPY=\"2\"><FIELD><ID>21</ID><VALUE>52000.01</VALUE>"
                                    "</FIELD></FORM>");
         },
         Noted{"gahost: note: the federal adjusted gross income, the item federal-agi, 53000, differs from the "
               "federal return's own figures, the federal column of the state wages worksheet (form ST4: the total "
               "income, field 73, less the adjustments, field 112), 105000 (lower by 52000): form 70 starts from the "
               "item, and the Georgia ratio of a part-year or nonresident return (form GA189217) divides the "
               "Georgia income by the column; enter each W-2 and each income and adjustment of the federal return "
               "once, as the federal return holds it, or correct the item"}},
        // On a full-year return: form 1040EZ's adjusted gross income is its
        // W-2s, interest and unemployment compensation; form 1040's is its
        // lines where they are entered; items alone give none.
        {"a 1040EZ return's federal AGI a tenth of its W-2", "single-wages", on1040EZ("5200"),
         Noted{"the federal adjusted gross income, the item federal-agi, 5200, differs from the federal return's "
               "own figures",
               "52000 (lower by 46800)"}},
        {"a 1040EZ return's federal AGI its W-2", "single-wages", on1040EZ("52000"), Noted{}},
        {"form 1040's business income left out of the federal AGI", "joint-two-dependents",
         withForm1040Field("82", "3000"), Noted{"the item federal-agi, 85000, differs", "88000 (lower by 3000)"}},
        {"a federal AGI beside items alone", "single-wages", replacing({{">52000</PULLCOMMON>", ">5200</PULLCOMMON>"}}),
         Noted{}},
    };
}

}  // namespace

std::vector<NoteCase> sourceFigureNoteCases() {
    std::vector<NoteCase> rows = georgiaPartNoteCases();
    for (NoteCase& row : federalAgiNoteCases()) rows.push_back(std::move(row));
    return rows;
}

}  // namespace preparer
