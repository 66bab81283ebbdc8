// What the return-file tests share: two returns over the test form
// definitions, a fixture with a scratch directory and a frozen clock, and a
// document of two returns around given lines.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"
#include "platform/util/Crt.h"
#include "tests/support/ScratchDir.h"

namespace returnfiletest {

namespace fs = std::filesystem;
using DataMgmt::FieldValue;
using PersistanceMgmt::ReturnFile;
using FieldID = Primitives::QVImmutableIdentifier;
using FormID = Primitives::QVImmutableFormIdentifier;

inline const FormID kF1(1);
inline const FormID kF52(52);
inline const FormID kGA69(69, true);
inline const FormID kGA70(70, true);
inline const FormID kST2(2, true);

// A Georgia return with neutral answers to the state's questions.
class PlainStateReturn : public StateDataMgmt::PlainStateTaxReturn {
public:
    using PlainStateTaxReturn::PlainStateTaxReturn;
    std::int8_t getFilingStatusNumber() override { return 1; }
    FormID getMainForm() override { return kGA70; }
    void getStateCode(std::string& out) override { out = "GA"; }
    void getStateName(std::string& out) override { out = "Georgia"; }
    FormID getInfoForm() override { return kGA69; }
};

inline const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_SOURCE_DIR "/tests/data/forms");
    return lib;
}

// A federal and a Georgia return over the test definitions, and a scratch
// directory.
struct Returns {
    Returns()
        : pool(new Utils::StringPool()),
          federal(new DataMgmt::USTaxReturn(library().federal, pool)),
          georgia(new PlainStateReturn(federal, library().georgia, pool)) {}

    PlainStateReturn* ga() { return static_cast<PlainStateReturn*>(georgia.get()); }

    PersistanceMgmt::ReturnFileContents load(const std::string& path) {
        return ReturnFile::load(path, federal.get(), ga());
    }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr georgia;
};

class ReturnFileTest : public testsupport::ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        crt::resetClock();
    }
    void TearDown() override {
        crt::resetClock();
        ScratchDirTest::TearDown();
    }

    // The message of the QuarloException the load throws ("" when none).
    std::string loadError(Returns& r, const std::string& xml) {
        const std::string path = writeFile("bad.xml", xml);
        try {
            r.load(path);
        } catch (const Exceptions::QuarloException& e) {
            EXPECT_EQ(e.getClassName(), "ReturnFile");
            return e.getMessage();
        }
        return "";
    }
};

inline std::string wrap(const std::string& federal, const std::string& georgia) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<RETURNFILE TAXYEAR=\"2018\">\n"
           "<RETURN TYPE=\"federal\">\n" +
           federal + "</RETURN>\n<RETURN TYPE=\"GA\">\n" + georgia + "</RETURN>\n</RETURNFILE>\n";
}

}  // namespace returnfiletest
