// The store on the form definitions that the host loads from files.
#include "platform/definitions/FormDefinitions.h"
#include "tests/platform/store_fixture.h"

namespace storetest {
namespace {

class DefinitionsTest : public ::testing::Test {
protected:
    DefinitionsTest()
        : library(FormDefinitions::loadDirectory(std::string(GA_SOURCE_DIR) + "/tests/data/forms")),
          pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(library.federal, pool)),
          georgia(new TestStateReturn(federal, library.georgia, pool)) {
        DataMgmt::resetKindMismatchCount();
    }

    FormDefinitions::Library library;
    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr georgia;
};

TEST_F(DefinitionsTest, LimitsAndUnitsComeFromTheDefinitions) {
    const FormID ga69(69, true);
    DataMgmt::TaxFormPtr info = georgia->getFormUVPtr(ga69, 1, true);
    ASSERT_FALSE(info.isNull());
    EXPECT_TRUE(georgia->getFormUVPtr(ga69, 2, true).isNull());  // one copy only

    info->assignText(FieldID(15), std::string(30, 'x'));  // a city of at most 22 characters
    EXPECT_EQ(georgia->formString(ga69, 1, FieldID(15)), std::string(22, 'x'));
    // A text written into a field that holds a code or a number is read by
    // its kind and stored in its one form; one the kind does not take is
    // refused, and the field keeps what it held.
    info->assignText(FieldID(16), " ga ");
    EXPECT_EQ(georgia->formString(ga69, 1, FieldID(16)), "GA");
    EXPECT_QUARLO_THROW(info->assignText(FieldID(16), "Georgia"), "which is not a state or territory code");
    EXPECT_QUARLO_THROW(info->assignText(FieldID(17), "3030312"), "which is not a ZIP code of five or nine digits");
    EXPECT_EQ(georgia->formString(ga69, 1, FieldID(16)), "GA");
    info->assignText(FieldID(17), "30303-1234");
    EXPECT_EQ(georgia->formString(ga69, 1, FieldID(17)), "303031234");
    info->assignText(FieldID(6), "03/15/1950 and more");  // dates hold ten characters
    EXPECT_EQ(georgia->formString(ga69, 1, FieldID(6)), "03/15/1950");

    DataMgmt::TaxFormPtr w2 = federal->getFormUVPtr(FormID(52), 1, true);
    w2->assignIR(FieldID(33), 4000050);
    w2->assignText(FieldID(34), "GA");
    EXPECT_EQ(federal->formString(FormID(52), 1, FieldID(33)), "40000.5");
    EXPECT_DOUBLE_EQ(static_cast<TestStateReturn&>(*georgia).getStateWages('1'), 40000.5);

    EXPECT_EQ(georgia->getLineID(FormID(70, true), FieldID(45)), "8");
    EXPECT_TRUE(info->getField(FieldID(72403))->isCalculated());
    EXPECT_EQ(DataMgmt::kindMismatchCount(), 0);
}

}  // namespace
}  // namespace storetest
