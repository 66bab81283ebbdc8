#include "platform/Managers.h"

#include <gtest/gtest.h>

namespace {

using BusinessMgmt::BusinessMgr;

TEST(BusinessMgr, DefaultAndConfiguredVersions) {
    auto& mgr = BusinessMgr::getInstance();
    mgr.reset();
    DataMgmt::TaxReturnDescPtr ga(new DataMgmt::TaxReturnDesc("Georgia", "GA", DataMgmt::kGeorgiaReturnType));
    DataMgmt::TaxReturnDescPtr fed(new DataMgmt::TaxReturnDesc("Federal", "US", DataMgmt::kFederalReturnType));
    EXPECT_EQ(mgr.getVersion(), "2018.2.0.5901");
    EXPECT_EQ(mgr.getVersion(ga), "2018.2.0.5901");
    EXPECT_EQ(mgr.getVersion(DataMgmt::TaxReturnDescPtr()), "2018.2.0.5901");

    mgr.setVersion("2018.9");
    mgr.setModuleVersion(DataMgmt::kGeorgiaReturnType, "2018.2.1.1");
    EXPECT_EQ(mgr.getVersion(), "2018.9");
    EXPECT_EQ(mgr.getVersion(ga), "2018.2.1.1");
    EXPECT_EQ(mgr.getVersion(fed), "2018.2.0.5901");
    mgr.setModuleVersion("7.7");
    EXPECT_EQ(mgr.getVersion(fed), "7.7");
    EXPECT_EQ(mgr.getVersion(ga), "2018.2.1.1");

    mgr.reset();
    EXPECT_EQ(mgr.getVersion(), "2018.2.0.5901");
    EXPECT_EQ(mgr.getVersion(ga), "2018.2.0.5901");
}

}  // namespace
