// Return files calculated in this process through the Georgia module of the
// build, as gahost check and gahost run calculate them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "host/EFileRun.h"
#include "host/ReplacedEntries.h"
#include "platform/Configuration.h"

namespace testsupport {

// The module of this build, loaded once for the test program.
inline const GAHost::ModuleLoader& buildModule() {
    bool named = false;
    static const GAHost::ModuleLoader module(GAHost::ModuleLoader::resolvePath("", named));
    return module;
}

// As gahost check calculates (settled), or as gahost run does, on paper or
// as being e-filed.
enum class Calculation { Check, Run, RunEFiled };

// Calculates the return file as `how` says (a run's e-file is prepared in
// eFileDir), recording the Georgia return's changes in `writes` when given,
// handing the calculation, settled, to `whileCalculated` and then the
// calculated session to `inspect` when given; the notes of the entries that
// the calculation replaced.
inline std::vector<std::string> calculateAsGahost(
    const std::string& path, Calculation how, const std::string& eFileDir,
    std::vector<DataMgmt::CalculationWrite>* writes = nullptr,
    const std::function<void(GAHost::HostSession&)>& inspect = {},
    const std::function<void(GAHost::ModuleCalculation&)>& whileCalculated = {}) {
    GAHost::HostSession session("");
    const GAHost::CurrentSession current(session);
    session.openReturns(&buildModule());
    session.load(path);
    if (how == Calculation::RunEFiled) session.georgiaState()->setInElf(true);
    session.georgia()->recordCalculationWrites(writes);
    {
        GAHost::ModuleCalculation calculation(buildModule(), session, std::filesystem::path(path).stem().string());
        DataMgmt::QuarloConfiguration& cfg = *DataMgmt::QuarloConfiguration::getInstance();
        const std::string previous = cfg.eFileDir;
        cfg.eFileDir = eFileDir + "/";
        if (how == Calculation::Check) {
            calculation.settle();
        } else {
            EXPECT_TRUE(GAHost::settleWithEFilePrepared(calculation, std::nullopt, std::cerr)) << path;
        }
        cfg.eFileDir = previous;
        if (whileCalculated) whileCalculated(calculation);
    }
    session.georgia()->recordCalculationWrites(nullptr);
    if (inspect) inspect(session);
    std::vector<std::string> notes;
    for (const GAHost::ReplacedEntry& r : GAHost::replacedEntries(session, buildModule()))
        notes.push_back(GAHost::replacedEntryNote(r));
    return notes;
}

}  // namespace testsupport
