#include "host/EFileRun.h"

#include <memory>
#include <string>

#include "platform/Configuration.h"
#include "platform/framework/TifFileWriter.h"

namespace GAHost {

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
