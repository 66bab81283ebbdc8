// A data store holding a federal return (type 1) and a Georgia return (type
// 12) built on the generated form definitions, for the interview's topics,
// script queries and macro expander.
#pragma once

#include <gtest/gtest.h>

#include "platform/store/DataMgmt.h"
#include "platform/store/TaxDataMgr.h"
#include "tests/frame/FrameFixture.h"

namespace interviewtest {

class StoreFixture : public frametest::ReturnFixture {
protected:
    StoreFixture() {
        store_.setTaxReturn(DataMgmt::kFederalReturnType, federal_);
        store_.setTaxReturn(DataMgmt::kGeorgiaReturnType, gaHandle_);
        DataMgmt::TaxDataMgr::getInstance().reset();
        DataMgmt::resetKindMismatchCount();
    }
    ~StoreFixture() override { DataMgmt::TaxDataMgr::getInstance().reset(); }
    // Every answer the interview reads is one a return file can give.
    void TearDown() override { EXPECT_EQ(DataMgmt::kindMismatchCount(), 0) << DataMgmt::lastKindMismatch(); }

    DataMgmt::TaxDataStore store_;
};

}  // namespace interviewtest
