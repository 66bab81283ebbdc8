#include "host/EFileRun.h"

#include <memory>

#include "platform/Configuration.h"
#include "platform/framework/TifFileWriter.h"

namespace GAHost {

bool writeGeorgiaEFile(const ModuleLoader& module, HostSession& session,
                       const CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                       const TaxFormPrintMgmt::TaxFormPrinterPtr& printer, const AuditMgmt::TaxFormAuditorPtr& auditor,
                       std::ostream& out, std::ostream& err) {
    DataMgmt::QuarloConfiguration* cfg = DataMgmt::QuarloConfiguration::getInstance();
    const std::unique_ptr<TifWriteMgmt::TifFileWriter> writer(
        module.createTifFileWriterInstance()(session.federal(), session.georgia(), engine, printer, auditor, cfg));
    const std::string path = writer->getTifFileSpec(DataMgmt::kGeorgiaReturnType)->getDisplayName(-1);
    if (!writer->writeTifFile(1, DataMgmt::kGeorgiaReturnType)) {
        err << "gahost: the Georgia e-file " << path << " was not written\n";
        return false;
    }
    out << "wrote the Georgia e-file " << path << '\n';
    return true;
}

}  // namespace GAHost
