#include "host/PrintRun.h"

#include <memory>
#include <sstream>

#include "platform/Exceptions.h"
#include "platform/framework/TaxSummaryReport.h"
#include "platform/store/TaxDataMgr.h"
#include "platform/util/IOMgmtStaging.h"

namespace GAHost {

namespace {

// One copy as it prints: a heading, then "name<TAB>line<TAB>text" per field
// whose print text is not empty.
void printCopy(StateTaxFormPrintMgmt::StateTaxFormPrinter& printer, const DataMgmt::TaxFormPtr& copy,
               const DataMgmt::TaxFormDesc& desc, std::ostream& file) {
    const std::uint16_t number = copy->getCopyNumber();
    file << desc.getDevName() << " copy " << number << ": " << desc.getBusinessName() << '\n';
    for (DataMgmt::QVFieldIDIter it = desc.getFieldIDs(); !it.atEOL(); it.next()) {
        const Primitives::QVImmutableIdentifier field = it.getFieldID();
        std::string text = copy->valueString(field);
        printer.formatPrintField(text, desc.getTypeID(), number, field);
        if (!text.empty()) {
            const DataMgmt::FormFieldDescPtr f = desc.getFieldDesc(field);
            file << "  " << f->getSymbolicName() << '\t' << f->getLineID() << '\t' << text << '\n';
        }
    }
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

}  // namespace

bool printGeorgiaForms(const TaxFormPrintMgmt::TaxFormPrinterPtr& printerHandle, HostSession& session,
                       const std::string& path, std::ostream& out, std::ostream& err) {
    auto* printer = dynamic_cast<StateTaxFormPrintMgmt::StateTaxFormPrinter*>(printerHandle.get());
    StateDataMgmt::StateTaxReturn* ga = session.georgiaState();
    if (printer == nullptr || ga == nullptr) {
        err << "gahost: the Georgia module's printer is not a state printer\n";
        return false;
    }
    std::ostringstream file;
    Primitives::QVImmutableFormIdentifier form(0);
    while (printer->getNextPrintForm0(form)) {
        const DataMgmt::TaxFormDescPtr desc = ga->getTaxFormDescriptor(form);
        if (desc.isNull()) continue;
        for (DataMgmt::TaxFormIter it = ga->getForms(form); !it.atEOL(); it.next()) {
            const DataMgmt::TaxFormPtr copy = it.getTaxForm();
            if (printer->shouldPrintCopy(form, copy->getCopyNumber(), 0)) printCopy(*printer, copy, *desc, file);
        }
    }
    try {
        IOMgmt::writeFileAtomically(path, file.str());
    } catch (const Exceptions::QuarloException& e) {
        err << "gahost: cannot write the print file " << e.getMessage() << '\n';
        return false;
    }
    out << "wrote the Georgia forms to print " << path << '\n';

    printer->attachFormPdfs(DataMgmt::kGeorgiaReturnType);
    printer->attachCreditPdfs(DataMgmt::kGeorgiaReturnType);
    const std::vector<DataMgmt::PdfAttachMgr::Call>& calls =
        DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr().calls();
    out << "PDF attachments registered: " << calls.size() << '\n';
    for (const DataMgmt::PdfAttachMgr::Call& call : calls) {
        out << "  " << call.operation << '(' << joined(call.arguments) << ")\n";
    }
    return true;
}

void printSummaryReport(const ModuleLoader& module, HostSession& session, std::ostream& out) {
    const std::unique_ptr<ReportMgmt::TaxSummaryReport> report(module.createTaxSummaryReport()(session.georgia()));
    out << "Summary report\n";
    for (const auto& [label, amount] : report->lines()) {
        out << "  " << label << '\t' << amount << '\n';
    }
}

}  // namespace GAHost
