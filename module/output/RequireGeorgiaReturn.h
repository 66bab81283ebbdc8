// The Georgia return behind a return handle, for the output objects that
// read through it for their whole life and so refuse to be built without it.
#pragma once

#include "module/frame/GATaxReturn.h"
#include "platform/Exceptions.h"

namespace GAOutput {

// The handle's object as the Georgia return; Exceptions::QuarloException
// naming the class that is being built when the handle is empty or holds
// another class of return.
inline GADataMgmt::GATaxReturn* requireGeorgiaReturn(const DataMgmt::TaxReturnPtr& taxReturn, const char* className) {
    auto* georgia = dynamic_cast<GADataMgmt::GATaxReturn*>(taxReturn.get());
    if (georgia == nullptr) {
        throw Exceptions::QuarloException("the return is missing or not the Georgia return", className, className);
    }
    return georgia;
}

}  // namespace GAOutput
