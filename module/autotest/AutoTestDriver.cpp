// The test driver and the two hooks that follow it at the end of every
// Georgia whole-return calculation while automated testing is allowed.
//
// A tester writes the options file; the first calculation after that runs
// the chosen features, and every feature but the import sets the done mark,
// which stops the readers until a clear file with CLEAR "Yes" resets it.
// The driver's and the scrubber's clear files reset once (they are written
// again with "No"); the daemon's resets at every calculation while it says
// "Yes", so the daemon dump follows every calculation.
#include <cstdlib>
#include <vector>

#include "module/autotest/AutoTestOptions.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

namespace {

using StateCalculationMgmt::isYes;
using StateCalculationMgmt::OptionValues;

// The driver's options, in the order they are read.
const std::vector<std::string> kDriverKeys = {
    "ORVANETABLE",
    "ORVANEFLOOR",
    "ORVANECEILING",
    "ORVANERANDOM",
    "ORVANEINCREMENT",
    "GAGENERATECYCLE",
    "GAOUTPUTDIR",
    "GAOUTPUTFIELDVALUES",
    "GAOUTPUTFIELDVALUESDIR",
    "GAOUTPUTALLFIELDS",
    "GAOUTPUTALLFIELDSFILE",
    "GAOUTPUTALLFIELDSDIR",
    "GAOUTPUTALLFIELDSFORSINGLEFORM",
    "GAOUTPUTALLFIELDSFORSINGLEFORMTARGET",
    "GAOUTPUTALLFIELDSFORSINGLEFORMFILE",
    "GAOUTPUTALLFIELDSFORSINGLEFORMDIR",
    "GAIMPORTFIELDS",
    "GAFIELDLIST",
    "GAFIELDRELATION",
    "GAFIELDRELATIONFORMSAFFECTED",
    "GAFIELDRELATIONINPUTFIELDS",
    "GAFIELDRELATIONOUTPUTFIELDS",
};

}  // namespace

void GATaxReturnCalcEngine::runAutoTest() {
    const FieldId& doneMark = kForm69Lines.autoTest.done;
    const FieldId& busyMark = kForm69Lines.autoTest.busy;
    OptionValues options;
    if (!StateCalculationMgmt::beginTestPass(
            StateCalculationMgmt::optionFilePath(StateCalculationMgmt::kDriverClearFileName),
            [this] { clearAutoTest(); }, *gaReturn_, kGAForm69ID, doneMark, kDriverKeys, options)) {
        return;
    }
    DataMgmt::TaxFormPtr info = gaReturn_->getFormOrCreate(kGAForm69ID, 1);
    // Each feature runs when asked for and no feature is recalculating;
    // a done mark set by an earlier feature of the pass stops no later one.
    const auto chosen = [&](const char* key) { return isYes(options[key]) && !info->xMarked(busyMark); };
    if (chosen("ORVANETABLE")) {
        runTaxTableTest(std::atoi(options["ORVANEFLOOR"].c_str()), std::atoi(options["ORVANECEILING"].c_str()),
                        std::atoi(options["ORVANEINCREMENT"].c_str()), isYes(options["ORVANERANDOM"]));
    }
    if (chosen("GAGENERATECYCLE")) {
        writeReturnXml(options["GAOUTPUTDIR"]);
    }
    if (chosen("GAOUTPUTFIELDVALUES")) {
        writeFieldValuesXml(options["GAOUTPUTFIELDVALUESDIR"]);
    }
    if (chosen("GAOUTPUTALLFIELDS")) {
        writeAllFieldNames(options["GAOUTPUTALLFIELDSFILE"], options["GAOUTPUTALLFIELDSDIR"]);
    }
    if (chosen("GAOUTPUTALLFIELDSFORSINGLEFORM")) {
        writeFormFieldNames(options["GAOUTPUTALLFIELDSFORSINGLEFORMTARGET"],
                            options["GAOUTPUTALLFIELDSFORSINGLEFORMFILE"],
                            options["GAOUTPUTALLFIELDSFORSINGLEFORMDIR"]);
    }
    if (chosen("GAIMPORTFIELDS")) {
        importFieldValues(options["GAFIELDLIST"], gaReturn_);
    }
    if (chosen("GAFIELDRELATION")) {
        runFieldRelations(options["GAFIELDRELATIONFORMSAFFECTED"], options["GAFIELDRELATIONINPUTFIELDS"],
                          options["GAFIELDRELATIONOUTPUTFIELDS"], gaReturn_, kGAForm69ID, busyMark);
        info->setX(doneMark);
    }
}

void GATaxReturnCalcEngine::clearAutoTest() {
    clearAutoTestBox(gaReturn_, kGAForm69ID, kForm69Lines.autoTest.done);
    StateCalculationMgmt::writeClearFile(
        StateCalculationMgmt::optionFilePath(StateCalculationMgmt::kDriverClearFileName));
}

}  // namespace GACalculationMgmt

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::runScrubberHook(const std::string& stateCode, DataMgmt::TaxReturn* taxReturn,
                                               const FormId& infoForm, const FieldId& doneMark,
                                               const FieldId& busyMark) {
    OptionValues options;
    if (!beginTestPass(
            optionFilePath(scrubberClearFileName(stateCode)),
            [&] { resetScrubberOptions(stateCode, taxReturn, infoForm, doneMark); }, *taxReturn, infoForm, doneMark,
            {"SCRUBBER", "INPUTFIELDLIST"}, options)) {
        return;
    }
    if (isYes(options["SCRUBBER"]) && !taxReturn->getFormOrCreate(infoForm, 1)->xMarked(busyMark)) {
        scrubFieldGroups(stateCode, options["INPUTFIELDLIST"], taxReturn, infoForm, doneMark);
    }
}

void StateTaxReturnCalcEngine::runCfvDaemonHook(const std::string& stateCode, DataMgmt::TaxReturn* taxReturn,
                                                const FormId& infoForm, const FieldId& doneMark,
                                                const FieldId& busyMark) {
    const std::string generate = stateCode + "GENERATECYCLEDAEMON";
    const std::string directory = stateCode + "OUTPUTDIRDAEMON";
    OptionValues options;
    if (!beginTestPass(
            optionFilePath(daemonClearFileName(stateCode)), [&] { clearAutoTestBox(taxReturn, infoForm, doneMark); },
            *taxReturn, infoForm, doneMark, {generate, directory}, options)) {
        return;
    }
    if (isYes(options[generate]) && !taxReturn->getFormOrCreate(infoForm, 1)->xMarked(busyMark)) {
        writeReturnXmlDump(options[directory], taxReturn, infoForm, doneMark, busyMark);
    }
}

void StateTaxReturnCalcEngine::resetScrubberOptions(const std::string& stateCode, DataMgmt::TaxReturn* taxReturn,
                                                    const FormId& infoForm, const FieldId& doneMark) {
    clearAutoTestBox(taxReturn, infoForm, doneMark);
    writeClearFile(optionFilePath(scrubberClearFileName(stateCode)));
}

void StateTaxReturnCalcEngine::clearAutoTestBox(DataMgmt::TaxReturn* taxReturn, const FormId& infoForm,
                                                const FieldId& doneMark) {
    taxReturn->getFormOrCreate(infoForm, 1)->setXNo(doneMark);
}

}  // namespace StateCalculationMgmt
