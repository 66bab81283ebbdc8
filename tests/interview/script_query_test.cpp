// The module's script queries: the two session-property questions, read from
// the federal return whatever return the handler serves, and the host's two
// state questions that Georgia answers with 0.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "module/frame/SessionPropertyNames.h"
#include "module/interview/StateScriptQueryHandler.h"
#include "tests/interview/interview_fixture.h"

namespace {

using StateTopicMgmt::StateScriptQueryHandler;

class ScriptQueryTest : public interviewtest::StoreFixture {
protected:
    // Sets (or, with no value, removes) the property on a return.
    static void setProperty(DataMgmt::TaxReturn& r, const std::string& name, std::optional<std::int8_t> value) {
        if (value) {
            r.getSessionProperties()->setQVInt8Property(name, *value);
        } else {
            r.getSessionProperties()->removeProperty(name);
        }
    }
};

TEST_F(ScriptQueryTest, QueriesOneAndTwoReadTheFederalSessionProperties) {
    struct Case {
        std::optional<std::int8_t> value;
        long lly;     // query 1
        long import;  // query 2
    };
    const Case cases[] = {{std::nullopt, 0, 1}, {0, 0, 1}, {1, 1, 0}, {-1, 1, 0}, {127, 1, 0}, {-128, 1, 0}};
    StateScriptQueryHandler handler(store_, DataMgmt::kGeorgiaReturnType);
    const TopicMgmt::TopicPath path;
    for (const Case& c : cases) {
        setProperty(*federal_, kUiPropLlyStatus, c.value);
        setProperty(*federal_, kUiPropImportStatus, c.value);
        // The Georgia return's own properties say the opposite and are not read.
        setProperty(*ga_, kUiPropLlyStatus, c.lly ? 0 : 1);
        setProperty(*ga_, kUiPropImportStatus, c.import ? 1 : 0);
        const int shown = c.value ? *c.value : 999;
        EXPECT_EQ(handler.query(StateScriptQueryHandler::kLlyStatusQuery, {}, path), c.lly) << shown;
        EXPECT_EQ(handler.query(StateScriptQueryHandler::kImportStatusQuery, {}, path), c.import) << shown;
        EXPECT_EQ(handler.query(3, {}, path), 0) << shown;  // a code without a handler
        // The host's state questions get 0 whatever the session holds.
        TopicMgmt::ScriptQueryHandler& host = handler;
        EXPECT_EQ(host.stateQuery1({}, path), 0);
        EXPECT_EQ(host.stateQuery2({}, path), 0);
    }
}

TEST_F(ScriptQueryTest, WithoutAFederalReturnThePropertiesCountAsNotSet) {
    store_.removeTaxReturn(DataMgmt::kFederalReturnType);
    StateScriptQueryHandler handler(store_, DataMgmt::kGeorgiaReturnType);
    EXPECT_EQ(handler.query(StateScriptQueryHandler::kLlyStatusQuery, {}, {}), 0);
    EXPECT_EQ(handler.query(StateScriptQueryHandler::kImportStatusQuery, {}, {}), 1);
    // Only the two codes are registered.
    EXPECT_EQ(handler.handlerCount(), 2u);
}

}  // namespace
