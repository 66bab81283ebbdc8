#include "host/EFileRun.h"

#include <memory>

#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/framework/TifFileWriter.h"
#include "platform/util/IOMgmt.h"
#include "platform/util/IOMgmtStaging.h"

namespace GAHost {

std::optional<TifWriteMgmt::FederalEFile> readFederalEFile(const std::string& path, const RunOutputs& outputs) {
    if (path.empty()) return std::nullopt;
    const auto refuse = [&](const std::string& problem) {
        throw Exceptions::QuarloException("--federal-efile " + IOMgmt::shownPath(path) + ": " + problem, "gahost",
                                          "run");
    };
    // Every output, whether or not the run writes it: a federal e-file by
    // any of their names is a mistake.
    for (const RunOutput& output : outputs.all()) {
        if (IOMgmt::namesSameFile(path, output.path))
            refuse("is " + std::string(output.role) + " that this run writes");
    }
    std::string problem;
    std::optional<TifWriteMgmt::FederalEFile> federal = TifWriteMgmt::FederalEFile::read(path, problem);
    if (!federal) refuse(problem);
    return federal;
}

bool writeGeorgiaEFile(const ModuleLoader& module, HostSession& session,
                       const CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                       const TaxFormPrintMgmt::TaxFormPrinterPtr& printer, const AuditMgmt::TaxFormAuditorPtr& auditor,
                       const std::optional<TifWriteMgmt::FederalEFile>& federalEFile, std::ostream& out,
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
        return false;
    }
    out << "wrote the Georgia e-file " << path << '\n';
    return true;
}

}  // namespace GAHost
