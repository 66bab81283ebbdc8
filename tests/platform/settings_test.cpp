#include <gtest/gtest.h>

#include "platform/Configuration.h"
#include "platform/SessionProperties.h"

TEST(QuarloConfiguration, OneInstanceWithAutomatedTestingOffByDefault) {
    DataMgmt::QuarloConfiguration* config = DataMgmt::QuarloConfiguration::getInstance();
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config, DataMgmt::QuarloConfiguration::getInstance());

    config->resetToDefaults();
    EXPECT_FALSE(config->AllowAutoTest());
    EXPECT_EQ(config->taxYear, 2018);

    config->setAllowAutoTest(true);
    config->autoTestRoot = "/tmp/at";
    config->versionText = "2018.4.1";
    EXPECT_TRUE(DataMgmt::QuarloConfiguration::getInstance()->AllowAutoTest());
    EXPECT_EQ(DataMgmt::QuarloConfiguration::getInstance()->autoTestOptionsDir(), "/tmp/at/AutoTest_QV/");
    EXPECT_EQ(config->taxTableCheckPath(), "/tmp/at/temp/OrvaneTables.doc");

    config->resetToDefaults();
    EXPECT_FALSE(config->AllowAutoTest());
    EXPECT_EQ(config->autoTestRoot, "autotest");
    EXPECT_TRUE(config->versionText.empty());
    EXPECT_EQ(config, DataMgmt::QuarloConfiguration::getInstance());
}

TEST(SessionProperties, UnsetPropertyIsAbsentAndReadsZero) {
    DataMgmt::SessionPropertiesPtr props(new DataMgmt::SessionProperties);
    EXPECT_FALSE(props->propertyExists("HasMovedIn"));
    EXPECT_EQ(props->getQVInt8Property("HasMovedIn"), 0);

    props->setQVInt8Property("HasMovedIn", -3);
    EXPECT_TRUE(props->propertyExists("HasMovedIn"));
    EXPECT_FALSE(props->propertyExists("hasmovedin"));  // names keep their case
    EXPECT_EQ(props->getQVInt8Property("HasMovedIn"), -3);

    props->setQVInt8Property("HasMovedIn", 0);  // set to 0 still exists
    EXPECT_TRUE(props->propertyExists("HasMovedIn"));
    props->setQVInt8Property("Amended", 1);
    EXPECT_EQ(props->getAll(), (std::map<std::string, std::int8_t>{{"Amended", 1}, {"HasMovedIn", 0}}));
    props->removeProperty("HasMovedIn");
    EXPECT_FALSE(props->propertyExists("HasMovedIn"));
    EXPECT_EQ(props->size(), 1u);
}
