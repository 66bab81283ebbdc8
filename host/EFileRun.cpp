#include "host/EFileRun.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/framework/TifFileWriter.h"
#include "platform/store/TaxDataMgr.h"
#include "platform/store/TaxReturnDictionary.h"
#include "platform/util/IOMgmt.h"

namespace GAHost {

CurrentSession::CurrentSession(HostSession& session)
    : previous_(DataMgmt::TaxDataMgr::getInstance().getCurrentStore()) {
    DataMgmt::TaxDataMgr::getInstance().setCurrentStore(&session.store());
    DataMgmt::TaxReturnDictionary::getInstance().addTaxReturnDescriptor(session.library().federal);
    DataMgmt::TaxReturnDictionary::getInstance().addTaxReturnDescriptor(session.library().georgia);
}

CurrentSession::~CurrentSession() { DataMgmt::TaxDataMgr::getInstance().setCurrentStore(previous_); }

namespace {

// Builds the module's e-file writer and writes the Georgia return as the
// first state of the e-file: the file's path when written, none (reported
// on `err` with the cause) when the writer answers that it was not.
std::optional<std::string> writeEFile(const ModuleLoader& module, HostSession& session,
                                      const CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                      const TaxFormPrintMgmt::TaxFormPrinterPtr& printer,
                                      const AuditMgmt::TaxFormAuditorPtr& auditor,
                                      const std::optional<TifWriteMgmt::FederalEFile>& federalEFile,
                                      std::ostream& err) {
    DataMgmt::QuarloConfiguration* cfg = DataMgmt::QuarloConfiguration::getInstance();
    const std::unique_ptr<TifWriteMgmt::TifFileWriter> writer(
        module.createTifFileWriterInstance()(session.federal(), session.georgia(), engine, printer, auditor, cfg));
    if (federalEFile) writer->setFederalEFile(*federalEFile);
    const std::string path = writer->getTifFileSpec(DataMgmt::kGeorgiaReturnType)->getDisplayName(-1);
    if (!writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType)) {
        const std::string& cause = writer->tifFileProblem();
        err << "gahost: the Georgia e-file " << path << " was not written" << (cause.empty() ? "" : ": ") << cause
            << '\n';
        return std::nullopt;
    }
    return path;
}

}  // namespace

std::optional<Settling> settleWithEFilePrepared(ModuleCalculation& calculation,
                                                const std::optional<TifWriteMgmt::FederalEFile>& federalEFile,
                                                std::ostream& err) {
    const auto settle = [&calculation] {
        try {
            return calculation.settle();
        } catch (const Exceptions::QuarloException& e) {
            throw Exceptions::QuarloException("the Georgia module cannot calculate the return: " + e.getMessage(),
                                              "gahost", kCalculationStopped);
        }
    };
    settle();
    if (!writeEFile(calculation.module(), calculation.session(), calculation.engine(), calculation.printer(),
                    AuditMgmt::TaxFormAuditorPtr(), federalEFile, err)) {
        return std::nullopt;
    }
    return settle();
}

Settling settlePreparedInMemory(ModuleCalculation& calculation) {
    const IOMgmt::WritesNowhere nowhere;
    const std::optional<Settling> settling = settleWithEFilePrepared(calculation, std::nullopt, std::cerr);
    if (!settling) throw Exceptions::QuarloException("the e-file was not prepared", "gahost", "check");
    return *settling;
}

bool writeGeorgiaEFile(const ModuleLoader& module, HostSession& session,
                       const CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                       const TaxFormPrintMgmt::TaxFormPrinterPtr& printer, const AuditMgmt::TaxFormAuditorPtr& auditor,
                       const std::optional<TifWriteMgmt::FederalEFile>& federalEFile, std::ostream& out,
                       std::ostream& err) {
    const std::optional<std::string> path = writeEFile(module, session, engine, printer, auditor, federalEFile, err);
    if (!path) return false;
    out << "wrote the Georgia e-file " << *path << '\n';
    return true;
}

}  // namespace GAHost
