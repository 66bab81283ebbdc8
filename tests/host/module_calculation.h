// Return files calculated in this process through the Georgia module of the
// build, as gahost check and gahost run calculate them.
#pragma once

#include <gtest/gtest.h>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "host/EFileRun.h"
#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "host/SettleReturn.h"
#include "platform/Configuration.h"

namespace testsupport {

// The module of this build, loaded once for the test program.
inline const GAHost::ModuleLoader& buildModule() {
    bool named = false;
    static const GAHost::ModuleLoader module(GAHost::ModuleLoader::resolvePath("", named));
    return module;
}

// How a return is calculated: as gahost check does (settled), or as gahost
// run does (settled, the e-file prepared, settled again), on paper or as
// being e-filed.
enum class Calculation { Check, Run, RunEFiled };

// Loads the return file into a session of the module's returns, calculates
// it as `how` says (a run's e-file is prepared in eFileDir), recording the
// Georgia return's changes in `writes` when given, and hands the session to
// inspect.
template <class Inspect>
void calculateAsGahost(const std::string& path, Calculation how, const std::string& eFileDir,
                       std::vector<DataMgmt::CalculationWrite>* writes, Inspect inspect) {
    GAHost::HostSession session("");
    const GAHost::CurrentSession current(session);
    session.openReturns(&buildModule());
    session.load(path);
    if (how == Calculation::RunEFiled) session.georgiaState()->setInElf(true);
    session.georgia()->recordCalculationWrites(writes);
    {
        GAHost::ModuleCalculation calculation(buildModule(), session, "calculated");
        if (how == Calculation::Check) {
            calculation.settle();
        } else {
            DataMgmt::QuarloConfiguration* cfg = DataMgmt::QuarloConfiguration::getInstance();
            const std::string previous = cfg->eFileDir;
            cfg->eFileDir = eFileDir + "/";
            EXPECT_TRUE(GAHost::settleWithEFilePrepared(calculation, std::nullopt, std::cerr)) << path;
            cfg->eFileDir = previous;
        }
    }
    session.georgia()->recordCalculationWrites(nullptr);
    inspect(session);
}

}  // namespace testsupport
