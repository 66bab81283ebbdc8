// Common federal items: the host answers those the federal return states
// itself, and named items read and write by their names.
#include <gtest/gtest.h>

#include <string>

#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/StateDataMgmt.h"

namespace {

using FormID = Primitives::QVImmutableFormIdentifier;

class PlainStateReturn : public StateDataMgmt::PlainStateTaxReturn {
public:
    using PlainStateTaxReturn::PlainStateTaxReturn;
    std::int8_t getFilingStatusNumber() override { return 1; }
    FormID getMainForm() override { return FormID(70, true); }
    void getStateCode(std::string& out) override { out = "GA"; }
    void getStateName(std::string& out) override { out = "Georgia"; }
    FormID getInfoForm() override { return FormID(69, true); }
};

const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_BINARY_DIR "/forms");
    return lib;
}

std::string dependent(int copy, const char* listed) {
    return "<FORM DEVNAME=\"F113\" COPY=\"" + std::to_string(copy) + "\"><FIELD><ID>1136</ID><VALUE>" + listed +
           "</VALUE></FIELD></FORM>\n";
}

TEST(CommonItems, TheFederalReturnAnswersWhatItStates) {
    const std::string doc =
        "<RETURNFILE TAXYEAR=\"2018\"><RETURN TYPE=\"federal\"><HOST><FILINGSTATUS>2</FILINGSTATUS></HOST>\n"
        "<FORM DEVNAME=\"F1\"><FIELD><ID>121</ID><VALUE>X</VALUE></FIELD></FORM>\n" +
        dependent(1, "X") + dependent(2, "NO") + dependent(3, "X") +
        "</RETURN><RETURN TYPE=\"GA\"><HOST><PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">85000</PULLCOMMON>"
        "<PULLCOMMON FORM=\"F1\" ITEM=\"dependents\">2</PULLCOMMON></HOST></RETURN></RETURNFILE>";
    const auto contents =
        PersistanceMgmt::ReturnFile::parse(doc, "derived.xml", {library().federal.get(), library().georgia.get()});
    Utils::StringPoolPtr pool(new Utils::StringPool());
    DataMgmt::TaxReturnPtr federal(new DataMgmt::USTaxReturn(library().federal, pool));
    PlainStateReturn georgia(federal, library().georgia, pool);
    PersistanceMgmt::ReturnFile::apply(contents, federal.get(), &georgia);

    // Answered alike on each federal form the return may be filed on.
    for (const int form : {1, 55, 87}) {
        auto item = [&](Utils::PCTypes t) { return georgia.pullCommon(FormID(form), 1, t); };
        EXPECT_EQ(item(Utils::kFederalFilingStatus), 2) << form;
        EXPECT_EQ(item(Utils::kDependents), 2) << "only the copies marked in box 1136 count; form " << form;
        EXPECT_EQ(item(Utils::kLowIncomeCreditDependents), 2) << form;
        EXPECT_EQ(item(Utils::kTaxpayerAged65), 1) << form;
        EXPECT_EQ(item(Utils::kSpouseAged65), 0) << form;
    }
    EXPECT_EQ(georgia.pullCommon(FormID(1), 1, Utils::kFederalAgi), 85000);

    // Written back by name, only the seeds the file gave.
    const std::string written = PersistanceMgmt::ReturnFile::serialize(contents);
    EXPECT_NE(written.find("<PULLCOMMON FORM=\"F1\" ITEM=\"federal-agi\">85000</PULLCOMMON>"), std::string::npos)
        << written;
    EXPECT_EQ(written.find("federal-filing-status"), std::string::npos) << written;
}

TEST(CommonItems, NamesAreUniqueAndFoundInAnyCase) {
    for (const auto& item : PersistanceMgmt::commonItemTable()) {
        EXPECT_EQ(PersistanceMgmt::findCommonItem(item.name), &item) << item.name;
        EXPECT_EQ(PersistanceMgmt::findCommonItem(item.type), &item) << item.name;
        EXPECT_LE(item.min, item.max) << item.name;
    }
    EXPECT_EQ(PersistanceMgmt::findCommonItem("FEDERAL-AGI")->type, Utils::kFederalAgi);
}

}  // namespace
