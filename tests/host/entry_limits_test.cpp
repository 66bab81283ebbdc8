// The values a return file gives keep to the limit of amounts and their
// field's domain, entered, overridden or calculated alike; what gahost run
// saves from the largest of them, gahost check reads back, and a run whose
// totals pass the limit stops with one line, as check of the same file does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "tests/host/gahost_process.h"
#include "tests/support/ScratchDir.h"

namespace {

const std::string kLimit = std::to_string(PersistanceMgmt::kAmountLimitDollars);

// How the entries are signed: all at the limit, all at the limit below 0,
// or the two in turn.
enum class Signs { Positive, Negative, Alternating };

// Every amount entry of every form of the return, in two copies where the
// form has them, at the limit of entries (0 or more where the field takes
// only those); the taxpayer a full-year Georgia resident, single.
std::string largestReturn(const DataMgmt::TaxReturnDesc& desc, Signs signs, int& count) {
    std::ostringstream out;
    for (DataMgmt::TaxFormDescIter it = desc.getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormDescPtr form = it.getTaxFormDescriptor();
        for (int copy = 1; copy <= std::min(2, static_cast<int>(form->getMaxCopies())); ++copy) {
            out << "<FORM DEVNAME=\"" << form->getDevName() << "\" COPY=\"" << copy << "\">\n";
            for (DataMgmt::QVFieldIDIter f = form->getFieldIDs(); !f.atEOL(); f.next()) {
                const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(f.getFieldID());
                if (field->isText() || field->isBoolean() || field->isCalculated() ||
                    field->getContent() == DataMgmt::FieldContent::Count) {
                    continue;  // a count is no amount
                }
                const bool negative = field->getDomain() != DataMgmt::FieldDomain::NotNegative &&
                                      (signs == Signs::Negative || (signs == Signs::Alternating && ++count % 2 == 0));
                // An amount with a range (a percent) at the range's top.
                const std::uint16_t top = field->attributes().countHigh;
                out << "<FIELD><ID>" << field->getID().getNumber() << "</ID><VALUE>"
                    << (top != 0 ? std::to_string(top) : (negative ? "-" : "") + std::string(kLimit))
                    << "</VALUE></FIELD>\n";
            }
            if (form->getDevName() == "GA69") out << "<FIELD><ID>36</ID><VALUE>X</VALUE></FIELD>\n";
            // Another state's figures come with the residency of its return.
            if (form->getDevName() == "F133618") out << "<FIELD><ID>133652</ID><VALUE>Nonresident</VALUE></FIELD>\n";
            out << "</FORM>\n";
        }
    }
    return out.str();
}

class LargestInputs : public testsupport::ScratchDirTest, public ::testing::WithParamInterface<Signs> {};

TEST_P(LargestInputs, RunSavesWhatCheckReads) {
    const FormDefinitions::Library lib = FormDefinitions::compiledLibrary();
    int count = 0;
    const std::string federal = largestReturn(*lib.federal, GetParam(), count);
    const std::string georgia = largestReturn(*lib.georgia, GetParam(), count);
    const std::string input =
        writeFile("largest.xml",
                  "<RETURNFILE TAXYEAR=\"2018\">\n<RETURN TYPE=\"federal\"><RETURNNAME>largest</RETURNNAME>\n"
                  "<HOST><FILINGSTATUS>1</FILINGSTATUS></HOST>\n" +
                      federal +
                      "</RETURN>\n<RETURN TYPE=\"GA\"><RETURNNAME>largest</RETURNNAME>\n"
                      "<HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">" +
                      kLimit + "</PULLCOMMON></HOST>\n" + georgia + "</RETURN>\n</RETURNFILE>\n");
    const std::string out = dir + "/out";
    const testsupport::GahostResult run = testsupport::runGahost({"run", input, "--out", out}, {}, dir);
    if (run.status != 0) {
        // Totals of entries at the limit pass it: the run stops with one
        // line naming the field and the limit, saves nothing, and check of
        // the same file says the same.
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find("gahost: the Georgia module cannot calculate the return: form "), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("is beyond the limit of 10,000,000,000,000 dollars either way"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(out + "/largest.xml"));
        const testsupport::GahostResult check = testsupport::runGahost({"check", input}, {}, dir);
        EXPECT_EQ(check.status, 1);
        EXPECT_EQ(check.err, run.err);
        return;
    }
    const testsupport::GahostResult check = testsupport::runGahost({"check", out + "/largest.xml"}, {}, dir);
    EXPECT_EQ(check.status, 0) << check.err.substr(0, 2000);
}

INSTANTIATE_TEST_SUITE_P(Signs, LargestInputs, ::testing::Values(Signs::Positive, Signs::Negative, Signs::Alternating));

// Entries that would break the figures are refused when the file is read,
// in one line naming the form, the field and the file's line; a calculated
// field keeps to its domain only where the file marks it as overridden.
class EntryDomains : public testsupport::ScratchDirTest {};

struct EntryDomainRow {
    const char* returnType;
    const char* form;
    int field;
    std::string value;
    bool overridden;
    const char* says;            // null: the file is read
    const char* alsoGiven = "";  // another field of the form, after it
};

const EntryDomainRow kEntryDomainRows[] = {
    {"GA", "GA69", 76, "-10000000000000", false, "is below 0 (the field takes 0 or more)"},  // estimated tax paid
    {"GA", "GA75", 37, "-10000000000000", false, "is below 0"},                              // a deduction
    {"GA", "GA75", 207533, "-10000000000000", false, "is below 0"},       // the deduction used, entered
    {"GA", "GA189219", 189645, "-10000000000000", false, "is below 0"},   // refunds received
    {"GA", "GA190056", 190169, "-1000000", false, "is below 0"},          // an IND-CR credit
    {"GA", "GA73", 16, "-5000", false, "is below 0"},                     // tax paid elsewhere
    {"GA", "GA71", 16, "-3", false, "is not a whole count from 1 to 4"},  // the number of installments
    {"GA", "GA71", 16, "5", false, "is not a whole count from 1 to 4"},
    {"GA", "GA71", 16, "4", false, nullptr},
    {"GA", "GA75", 49, "2.5", false, "is not a whole count from 1 to 4"},  // installments remaining
    // A calculated field overridden is read by its kind and domain.
    {"GA", "GA70", 326, "2.5", true, "is not a whole count of 0 or more"},  // the number of filers
    {"GA", "GA70", 326, "-1000", true, "is not a whole count of 0 or more"},
    {"GA", "GA70", 84, "-1000", true, "is below 0"},  // the tax
    {"GA", "GA70", 107, "-1", true, "is below 0"},    // the refund
    {"GA", "GA69", 35, "ABCDE", true, "is not a ZIP code of five or nine digits"},
    {"GA", "GA70", 18, "N/A", true, "is not a calendar date"},  // the date of death
    {"GA", "GA69", 187987, "ABCDEFGHI", false, "is not a bank routing number"},
    {"GA", "GA69", 187988, "12/34 X.Y", false, "is not a bank account number"},
    {"GA", "GA71", 24, "-300", false, "is below 0"},           // a part of the withholding
    {"GA", "GA203811", 203861, "-5000", false, "is below 0"},  // business credit used
    {"GA", "GA70", 189482, "-500", true, "is below 0"},        // credit lines against the tax
    {"GA", "GA70", 189483, "-500", true, "is below 0"},
    {"GA", "GA70", 85, "-500", true, "is below 0"},
    // A calculated field's value, which the calculation may keep, is read by
    // its kind, domain and limit as well: the federal itemized deductions
    // of form 189217, the Georgia column of the wages worksheet entered on
    // a part-year return without OVERRIDDEN.
    {"GA", "GA70", 85, "-500", false, "is below 0"},
    {"GA", "GA189217", 189454, "-5000", false, "is below 0 (the field takes 0 or more)"},
    {"GA", "GA189217", 189454, "100000000000000000000", false, "is beyond the limit of 10,000,000,000,000 dollars"},
    {"GA", "ST4", 30, "-7777", false, "is below 0"},
    {"GA", "ST4", 30, "20000000000000", false, "is beyond the limit"},
    {"GA", "ST4", 30, "12.345", false, "is given to more than the cent"},
    {"GA", "ST4", 30, "12.34", false, nullptr},
    // To the cent, except where the calculation keeps fractions of a cent
    // (the taxable income of a part-year return, a share by the ratio) or
    // an earlier version kept them (form 71's installments); a cent's binary
    // noise is dropped.
    {"GA", "GA70", 84, "2922.731", false, "is given to more than the cent"},
    {"GA", "GA71", 56, "1502.755", false, nullptr},
    {"GA", "GA70", 84, "2922.7300000000001", true, nullptr},
    {"GA", "GA70", 84, "2922.7300001", true, "is given to more than the cent"},
    {"federal", "F52", 21, "90000.04000000001", false, nullptr},
    {"federal", "F52", 21, "14.129999999999999", false, nullptr},
    {"federal", "F52", 21, "14.12999", false, "is given to more than the cent"},
    {"GA", "GA70", 83, "44837.735849056604", false, nullptr},
    {"GA", "GA70", 83, "44837.735849056604", true, nullptr},
    {"GA", "GA70", 83, "-20000000000000.5", false, "is beyond the limit"},
    // The amount owed takes 0 or more, overridden or calculated.
    {"GA", "GA70", 106, "-1000", true, "is below 0 (the field takes 0 or more)"},
    {"GA", "GA70", 106, "-1000", false, "is below 0"},
    {"GA", "GA70", 85, "0", true, nullptr},
    {"federal", "F52", 32, "-1", false, "is below 0"},            // state tax withheld
    {"federal", "F166", 12, "-1", false, "is below 0"},           // interest on U.S. obligations
    {"federal", "F84", 4, "-1", false, "is below 0"},             // a gross distribution
    {"federal", "F133618", 133654, "-800", false, "is below 0"},  // tax paid to another state
    {"federal", "F1", 551, "-1", false, "is below 0"},            // an adjustment
    {"federal", "F1", 92, "-1", false, "is below 0"},             // income that is no loss
    {"federal", "F1", 99, "-3000", false, nullptr},               // other income: a loss
    {"federal", "F55", 127, "-1", false, "is below 0"},           // form 1040A's pensions
    {"federal", "F165", 12, "-1", false, "is below 0"},           // a 1099-G box
    {"federal", "F52", 37, "-0.01", false, "is below 0"},         // a W-2's local tax
    {"federal", "F52", 35, "ATLANTA", false, nullptr},            // its locality: a name
    {"federal", "F57", 100, "-1", false, nullptr},                // read for its sign
    {"federal", "F164", 40, "100", false, nullptr},               // a percent, at its top
    {"federal", "F164", 40, "100.01", false, "is not from 0 to 100"},
    {"GA", "GA203811", 203846, "-1", false, "is below 0"},  // a credit's amount
    {"GA", "GA189215", 189400, "-1", false, "is below 0"},  // an entered subtraction
    {"GA", "GA189215", 189308, "-1", false, nullptr},       // a share of capital gains
    {"GA", "GA189217", 189424, "-1", false, "is below 0"},  // Georgia interest
    // Another state's tax without the residency of its return.
    {"federal", "F133618", 133654, "800", false, "field 133652: the residency is empty, but field 133654"},
    {"GA", "GA69", 113, "07/01/2019", false, "is not in 2018"},
    {"GA", "GA69", 114, "12/31/2017", false, "is not in 2018"},
    // The part-year residency period ends on or after the day it begins.
    {"GA", "GA69", 114, "07/01/2018", false,
     "field 114: the part-year residency period 12/31/2018 to 07/01/2018 ends before it begins",
     "<FIELD><ID>113</ID><VALUE>12/31/2018</VALUE></FIELD>"},
    {"GA", "GA69", 114, "2018-12-30", false, "period 12/31/2018 to 12/30/2018 ends before it begins",
     "<FIELD><ID>113</ID><VALUE>2018-12-31</VALUE></FIELD>"},
    {"GA", "GA69", 114, "12/31/2018", false, nullptr, "<FIELD><ID>113</ID><VALUE>12/31/2018</VALUE></FIELD>"},
    {"federal", "F92", 9, "01/01/2099", false, "is after the tax year 2018"},
    {"federal", "F92", 10, "12/31/1899", false, "is before 1900"},
    {"federal", "F92", 557, "02/30/2018", false, "is not a calendar date"},  // deceased: a date
    {"federal", "F92", 558, "2018-06-30", false, nullptr},
    // A payment's date: from 2018 to the following April.
    {"federal", "F190", 10, "12/31/2017", false, "is outside the payments of the tax year 2018"},
    {"federal", "F190", 10, "01/01/2018", false, nullptr},
    {"federal", "F190", 37, "04/30/2019", false, nullptr},
    {"federal", "F190", 37, "2019-05-01", false, "(the field takes a date from 01/01/2018 to 04/30/2019)"},
    {"federal", "F190", 22, "04/17/2020", false, "is outside the payments"},
    // The amendment's explanation of changes: lines of text.
    {"GA", "GA189219", 190147, std::string(100, 'x'), false, nullptr},
    {"GA", "GA189219", 189660, std::string(101, 'x'), false, "text of 101 bytes is longer than"},
};

TEST_F(EntryDomains, AreKeptWhenTheFileIsRead) {
    for (const EntryDomainRow& r : kEntryDomainRows) {
        SCOPED_TRACE(std::string(r.form) + " " + std::to_string(r.field) + " " + r.value);
        const std::string path =
            writeFile("entry.xml", std::string("<RETURN TYPE=\"") + r.returnType + "\">\n<FORM DEVNAME=\"" + r.form +
                                       "\">\n<FIELD" + (r.overridden ? " OVERRIDDEN=\"1\"" : "") + "><ID>" +
                                       std::to_string(r.field) + "</ID><VALUE>" + r.value + "</VALUE></FIELD>" +
                                       r.alsoGiven + "\n</FORM>\n</RETURN>\n");
        const testsupport::GahostResult check = testsupport::runGahost({"check", path}, {}, dir);
        if (r.says == nullptr) {
            EXPECT_EQ(check.status, 0) << check.err;
            continue;
        }
        EXPECT_EQ(check.status, 1);
        EXPECT_NE(check.err.find(path + ":3: form " + r.form + " copy 1 field "), std::string::npos) << check.err;
        EXPECT_NE(check.err.find(r.says), std::string::npos) << check.err;
        EXPECT_EQ(std::count(check.err.begin(), check.err.end(), '\n'), 1) << check.err;
    }
}

}  // namespace
