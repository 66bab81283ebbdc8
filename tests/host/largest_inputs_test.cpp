// What gahost run saves from the largest entries a return file accepts,
// gahost check reads back: the calculation's totals of entries may pass the
// limit of entries, and its results are calculated fields without one.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "tests/host/gahost_process.h"
#include "tests/platform/scratch_dir.h"

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
                if (field->isText() || field->isBoolean() || field->isCalculated()) continue;
                const bool negative = field->getDomain() != DataMgmt::FieldDomain::NotNegative &&
                                      (signs == Signs::Negative || (signs == Signs::Alternating && ++count % 2 == 0));
                out << "<FIELD><ID>" << field->getID().getNumber() << "</ID><VALUE>" << (negative ? "-" : "") << kLimit
                    << "</VALUE></FIELD>\n";
            }
            if (form->getDevName() == "GA69") out << "<FIELD><ID>36</ID><VALUE>X</VALUE></FIELD>\n";
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
    ASSERT_EQ(run.status, 0) << run.err;
    const testsupport::GahostResult check = testsupport::runGahost({"check", out + "/largest.xml"}, {}, dir);
    EXPECT_EQ(check.status, 0) << check.err.substr(0, 2000);
}

INSTANTIATE_TEST_SUITE_P(Signs, LargestInputs, ::testing::Values(Signs::Positive, Signs::Negative, Signs::Alternating));

}  // namespace
