// Small federal and Georgia descriptions built in code, and a state return
// class that fills the state contract with fixed answers, for the store tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"

namespace storetest {

using DataMgmt::FieldKind;
using DataMgmt::FieldValue;
using FieldID = Primitives::QVImmutableIdentifier;
using FormID = Primitives::QVImmutableFormIdentifier;

// Federal forms
inline const FormID kF1(1);      // main form, one copy
inline const FormID kF52(52);    // W-2, amounts in hundredths
inline const FormID kF165(165);  // 1099-G, amounts in hundredths
inline const FormID kF92(92);
// Georgia forms
inline const FormID kGA70(70, true);
inline const FormID kST2(2, true);  // statement, up to 3 copies
inline const FormID kST14(14, true);

inline DataMgmt::FormFieldDesc::Attributes field(std::int32_t number, FieldKind kind = FieldKind::Number,
                                                 std::uint16_t maxLength = 0, std::uint8_t editCode = 0) {
    DataMgmt::FormFieldDesc::Attributes a;
    a.id = FieldID(number);
    a.kind = kind;
    a.maxLength = maxLength;
    a.editCode = editCode;
    return a;
}

inline DataMgmt::TaxReturnDescPtr federalDesc() {
    DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc("Federal", "US", DataMgmt::kFederalReturnType));

    DataMgmt::TaxFormDescPtr f1(new DataMgmt::TaxFormDesc(kF1, "F1", "Form 1040", 1));
    f1->addField(field(1, FieldKind::Boolean));
    f1->addField(field(6, FieldKind::Text, 10));
    f1->addField(field(9, FieldKind::Text, 10, 'D'));
    f1->addField(field(30));
    f1->addField(field(41));
    desc->addForm(f1);

    DataMgmt::TaxFormDescPtr w2(new DataMgmt::TaxFormDesc(kF52, "F52", "Form W-2"));
    for (int n : {21, 32, 33, 37, 97, 98, 102}) {
        w2->addField(field(n, FieldKind::Number, 0, 'H'));
    }
    w2->addField(field(34, FieldKind::Text, 2));
    w2->addField(field(99, FieldKind::Text, 2));
    w2->addField(field(3, FieldKind::Text, 11));
    desc->addForm(w2);

    DataMgmt::TaxFormDescPtr g1099(new DataMgmt::TaxFormDesc(kF165, "F165", "Form 1099-G"));
    g1099->addField(field(11, FieldKind::Number, 0, 'H'));  // state income
    g1099->addField(field(16, FieldKind::Number, 0, 'H'));  // state tax withheld
    g1099->addField(field(17, FieldKind::Text, 2));
    desc->addForm(g1099);

    DataMgmt::TaxFormDescPtr f92(new DataMgmt::TaxFormDesc(kF92, "F92", "", 1));
    f92->addField(field(9, FieldKind::Text, 10, 'D'));
    f92->addField(field(1108, FieldKind::Boolean));
    desc->addForm(f92);
    return desc;
}

inline DataMgmt::TaxReturnDescPtr georgiaDesc() {
    DataMgmt::TaxReturnDescPtr desc(new DataMgmt::TaxReturnDesc("Georgia", "GA", DataMgmt::kGeorgiaReturnType));

    DataMgmt::TaxFormDescPtr ga70(new DataMgmt::TaxFormDesc(kGA70, "GA70", "Form 500", 1));
    for (int n = 1; n <= 18; ++n) {
        ga70->addField(field(n));
    }
    DataMgmt::FormFieldDesc::Attributes notNegative = field(19);
    notNegative.domain = DataMgmt::FieldDomain::NotNegative;
    ga70->addField(notNegative);
    DataMgmt::FormFieldDesc::Attributes share = field(20);  // keeps fractions of a cent
    share.fractions = true;
    ga70->addField(share);
    for (int n = 30; n <= 33; ++n) {
        ga70->addField(field(n, FieldKind::Boolean));
    }
    ga70->addField(field(44, FieldKind::Text, 1));
    ga70->addField(field(50, FieldKind::Text, 5));
    ga70->addField(field(51, FieldKind::Text));  // default length
    ga70->addField(field(52, FieldKind::Text, 10, 'D'));
    ga70->addField(field(60, FieldKind::Number, 0, 'H'));
    ga70->addField(field(106));
    desc->addForm(ga70);

    DataMgmt::TaxFormDescPtr st2(new DataMgmt::TaxFormDesc(kST2, "ST2", "Interest statement", 3));
    st2->addField(field(1));
    st2->addField(field(2));
    st2->addField(field(3, FieldKind::Text, 20));
    st2->addField(field(4, FieldKind::Boolean));
    desc->addForm(st2);

    DataMgmt::TaxFormDescPtr st14(new DataMgmt::TaxFormDesc(kST14, "ST14", "State return information", 1));
    st14->addField(field(9015, FieldKind::Boolean));
    st14->addField(field(9016, FieldKind::Boolean));
    desc->addForm(st14);
    return desc;
}

// A state return that answers the state contract with fixed values.
class TestStateReturn : public StateDataMgmt::PlainStateTaxReturn {
public:
    using PlainStateTaxReturn::PlainStateTaxReturn;

    std::int8_t getFilingStatusNumber() override { return 2; }
    FormID getMainForm() override { return kGA70; }
    void getStateCode(std::string& out) override { out = "GA"; }
    void getStateName(std::string& out) override { out = "Georgia"; }
    std::int32_t getStateNumber() override { return 11; }
    std::int32_t getModuleCode() override { return 1; }
    std::int32_t getModuleCodeAlt() override { return 1; }
    FormID getInfoForm() override { return kGA70; }
    FieldID getTaxpayerFirstNameField() override { return FieldID(50); }
    FieldID getTaxpayerLastNameField() override { return FieldID(51); }
};

// A federal return and a Georgia return attached to it, sharing one pool.
class StoreTest : public ::testing::Test {
protected:
    StoreTest()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(federalDesc(), pool)),
          georgia(new TestStateReturn(federal, georgiaDesc(), pool)) {
        DataMgmt::resetKindMismatchCount();
    }

    TestStateReturn& ga() { return static_cast<TestStateReturn&>(*georgia); }
    DataMgmt::TaxFormPtr ga70() { return georgia->getFormUVPtr(kGA70, 1, true); }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr georgia;
};

// Expects the call to throw QuarloException whose message contains `part`.
#define EXPECT_QUARLO_THROW(statement, part)                                                                       \
    do {                                                                                                           \
        try {                                                                                                      \
            statement;                                                                                             \
            ADD_FAILURE() << "no exception from " #statement;                                                      \
        } catch (const Exceptions::QuarloException& e) {                                                           \
            EXPECT_NE(std::string(e.getMessage()).find(part), std::string::npos) << "message: " << e.getMessage(); \
        }                                                                                                          \
    } while (0)

}  // namespace storetest
