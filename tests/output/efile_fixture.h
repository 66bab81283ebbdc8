// The Georgia e-file writer on a federal and a Georgia return built on the
// generated form definitions, with a printer whose list of forms to print
// the test chooses, writing into the scratch directory.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxFormPrinter.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "module/output/GATifFileWriter.h"
#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/store/TaxDataMgr.h"
#include "tests/support/FieldSetters.h"
#include "tests/support/GeneratedDefinitions.h"
#include "tests/support/ScratchDir.h"

namespace efiletest {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

using testsupport::definitions;

// The Georgia printer, except that the forms to print are the test's when it
// names them.
class ListPrinter : public GATaxFormPrintMgmt::GATaxFormPrinter {
public:
    using GATaxFormPrinter::GATaxFormPrinter;
    std::optional<StateTaxFormPrintMgmt::FormIdList> forms;
    void formsToPrint(StateTaxFormPrintMgmt::FormIdList& list, signed char& count, signed char& second,
                      char purpose) override {
        if (!forms) {
            GATaxFormPrinter::formsToPrint(list, count, second, purpose);
            return;
        }
        list = *forms;
        count = static_cast<signed char>(list.size() < 127 ? list.size() : 127);
        second = 0;
    }
};

// The Georgia engine, except that the whole-return calculation only counts
// its calls (the copies keep the print flags the test gives them), or fails
// as a calculation stopped by a bad entry does.
class CountingEngine : public GACalculationMgmt::GATaxReturnCalcEngine {
public:
    using GATaxReturnCalcEngine::GATaxReturnCalcEngine;
    int calculations = 0;
    bool fails = false;
    void calculateReturn(int /*value*/) override {
        ++calculations;
        if (fails) throw Exceptions::QuarloException("the calculation failed", "CountingEngine", "calculateReturn");
    }
};

// The writer with its protected steps open to the tests.
class TestWriter : public GATifWriteMgmt::GATifFileWriter {
public:
    using GATifFileWriter::clearWrongEntries;
    using GATifFileWriter::convertEfileInfoField;
    using GATifFileWriter::convertReturnInfoField;
    using GATifFileWriter::GATifFileWriter;
    using GATifFileWriter::inStateReturnRecord;
    using GATifFileWriter::stateSequence;
    using GATifFileWriter::tifFieldDescriptors;
    using GATifFileWriter::tifFile;
    using GATifFileWriter::write1099GRecords;
    using GATifFileWriter::write8453Record;
    using GATifFileWriter::writeAuthHeaderRecord;
    using GATifFileWriter::writeIndividualCreditsRecord;
    using GATifFileWriter::writeOtherAdjustmentLines;
    using GATifFileWriter::writeRetirementIncomeRecord;
    using GATifFileWriter::writeReturnHeaderRecord;
    using GATifFileWriter::writeSchedule2Record;
    using GATifFileWriter::writeWithholdingLines;
};

class EFileTest : public testsupport::ScratchDirTest, protected testsupport::FieldSetters {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        pool = Utils::StringPoolPtr(new Utils::StringPool());
        federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn(definitions().federal, pool));
        ga = DataMgmt::TaxReturnPtr(new GADataMgmt::GATaxReturn(federal, definitions().georgia, pool));
        auto* gaReturn = static_cast<GADataMgmt::GATaxReturn*>(ga.get());
        listPrinter = new ListPrinter(gaReturn);
        printer = TaxFormPrintMgmt::TaxFormPrinterPtr(listPrinter);
        countingEngine = new CountingEngine(static_cast<DataMgmt::USTaxReturn*>(federal.get()), gaReturn, printer);
        engine = CalculationMgmt::TaxReturnCalcEnginePtr(countingEngine);
        store.setTaxReturn(DataMgmt::kFederalReturnType, federal);
        store.setTaxReturn(DataMgmt::kGeorgiaReturnType, ga);
        DataMgmt::TaxDataMgr::getInstance().setCurrentStore(&store);
        cfg = DataMgmt::QuarloConfiguration::getInstance();
        cfg->eFileDir = dir + "/";
        cfg->federalEFilePath = path("federal.txt");
        cfg->versionText = "HOST";
        cfg->tifDistrictNumber = "D1";
        cfg->tifOfficeNumber = "O1";
        cfg->tifServiceCenter = "SC";
        writer = std::make_unique<TestWriter>(federal, ga, engine, printer, AuditMgmt::TaxFormAuditorPtr(), cfg);
    }
    void TearDown() override {
        writer.reset();
        DataMgmt::TaxDataMgr::getInstance().setCurrentStore(nullptr);
        cfg->resetToDefaults();
        ScratchDirTest::TearDown();
    }

    std::string efilePath() const { return path("GA-efile.txt"); }
    // The lines of a file without their line ends.
    static std::vector<std::string> fileLines(const std::string& p) {
        std::vector<std::string> out;
        std::istringstream in(readFile(p));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            out.push_back(line);
        }
        return out;
    }
    DataMgmt::TaxFormPtr gaCopy(const FormId& form, std::uint16_t copy = 1) {
        return ga->getFormUVPtr(form, copy, true);
    }
    DataMgmt::TaxFormPtr fedCopy(const FormId& form, std::uint16_t copy = 1) {
        return federal->getFormUVPtr(form, copy, true);
    }
    // The writer's line calls since the log was last cleared: a sub-head as
    // "D <name> <number>", a line as "<key>=<value>" (empty values included).
    std::vector<std::string> calls() const {
        std::vector<std::string> out;
        for (const auto& call : writer->callLog()) {
            using Kind = TifWriteMgmt::TifFileWriter::TifCall::Kind;
            if (call.kind == Kind::SubHead) out.push_back("D " + call.key + " " + call.value);
            if (call.kind == Kind::Line) out.push_back(call.key + "=" + call.value);
        }
        return out;
    }
    // The value written under the key, or nullopt when no line has it.
    std::optional<std::string> written(const std::string& key) const {
        for (const auto& call : writer->callLog()) {
            if (call.kind == TifWriteMgmt::TifFileWriter::TifCall::Kind::Line && call.key == key &&
                !call.value.empty()) {
                return call.value;
            }
        }
        return std::nullopt;
    }

    Utils::StringPoolPtr pool;
    DataMgmt::TaxReturnPtr federal;
    DataMgmt::TaxReturnPtr ga;
    ListPrinter* listPrinter = nullptr;
    TaxFormPrintMgmt::TaxFormPrinterPtr printer;
    CountingEngine* countingEngine = nullptr;
    CalculationMgmt::TaxReturnCalcEnginePtr engine;
    DataMgmt::TaxDataStore store;
    DataMgmt::QuarloConfiguration* cfg = nullptr;
    std::unique_ptr<TestWriter> writer;
};

}  // namespace efiletest
