#include "platform/store/StoreHandles.h"

#include "platform/Exceptions.h"

namespace DataMgmt {

void TaxReturnHandle::setFieldValueBool(const Primitives::QVImmutableFormIdentifier& f, std::uint16_t c,
                                        const Primitives::QVImmutableIdentifier& x, bool value) {
    if (taxReturn_.isNull()) {
        throw Exceptions::QuarloException("the store holds no return of type " + std::to_string(type_) +
                                              " to set form " + std::to_string(f.getNumber()) + " field " +
                                              std::to_string(x.getNumber()),
                                          "TaxReturnHandle", "setFieldValueBool");
    }
    taxReturn_->setXValue(f, c, x, value);
}

TaxReturnHandle TaxDataStoreHandle::getTaxReturn(TaxReturnType type) const {
    if (store_ == nullptr) {
        throw Exceptions::QuarloException("empty data store handle", "TaxDataStoreHandle", "getTaxReturn");
    }
    return TaxReturnHandle(store_->getTaxReturn(type), type);
}

}  // namespace DataMgmt
