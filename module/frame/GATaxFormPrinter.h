// The Georgia form printer: the host's state printer layer on the Georgia
// return. Its own print values, print lists and attachments fill the state
// layer's slots; until they do, the state layer's defaults answer.
#pragma once

#include "module/frame/GATaxReturn.h"
#include "platform/TaxFormPrinter.h"

namespace GATaxFormPrintMgmt {

class GATaxFormPrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
public:
    // Built on the Georgia return, which the state layer and this layer both
    // keep (not owned). A null return makes a printer that prints nothing.
    explicit GATaxFormPrinter(GADataMgmt::GATaxReturn* gaReturn)
        : StateTaxFormPrintMgmt::StateTaxFormPrinter(gaReturn), gaReturn_(gaReturn) {}
    ~GATaxFormPrinter() override = default;

    GADataMgmt::GATaxReturn* getGATaxReturn() const { return gaReturn_; }

protected:
    GADataMgmt::GATaxReturn* gaReturn_;  // not owned; may be null
};

}  // namespace GATaxFormPrintMgmt
