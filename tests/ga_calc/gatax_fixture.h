// The Georgia engine's fixture (federal and Georgia returns on the generated
// form definitions) with the seeded federal answers that the tests of the
// Georgia form routines set: common items and the filing status.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "engine_fixture.h"
#include "module/catalogues/AllFieldIds.h"
#include "platform/store/StateDataMgmt.h"

namespace gataxtest {

using DataMgmt::FieldValue;
using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

class GaTaxTest : public gaenginetest::EngineTest {
protected:
    void setCommon(Utils::PCTypes item, std::int64_t value, const FormId& fedForm = kForm1ID) {
        gaReturn()->setPullCommon(fedForm, item, value);
    }
    // The filing-status letter of form 70 and the matching federal status.
    void setFilingStatus(int status) {
        static const char* const letters[] = {"A", "A", "B", "C", "D"};
        setText(gaCopy(kGAForm70ID), kGAForm70FieldIds.f44, letters[status]);
        setCommon(Utils::PCTypes::kFederalFilingStatus, status);
    }
};

}  // namespace gataxtest
