// The print step of gahost run: the Georgia forms as the module's printer
// prints them, the PDF attachments it registers, and the module's summary
// report.
#pragma once

#include <ostream>
#include <string>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "platform/framework/TaxFormPrinter.h"

namespace GAHost {

// Writes the print file: the Georgia forms in the printer's order (walked
// with getNextPrintForm0 from form 0), each copy the printer prints, with
// the print text of every field that has one, in form order. Then asks the
// printer to register the PDF attachments of the Georgia return and lists
// the registrations on `out`. False (reported on `err`) when the file cannot
// be written.
bool printGeorgiaForms(const TaxFormPrintMgmt::TaxFormPrinterPtr& printer, HostSession& session,
                       const std::string& path, std::ostream& out, std::ostream& err);

// The summary report that the module builds on the Georgia return, one line
// per amount.
void printSummaryReport(const ModuleLoader& module, HostSession& session, std::ostream& out);

}  // namespace GAHost
