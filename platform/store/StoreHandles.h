// Handles that the data manager gives out for the interview's services: a
// handle of one data store and a handle of one return of that store.
//
// The interview's update topic takes both from the data manager
// (TaxDataMgr::getStoreHandle, then TaxDataStoreHandle::getTaxReturn), writes
// check boxes through the return handle and passes the two handles back to
// the data manager's update service.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/Primitives.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/Descriptions.h"

namespace DataMgmt {

// A return of a store by type: the return's counted handle (empty when the
// store holds no return of that type) and the type asked for.
class TaxReturnHandle {
public:
    TaxReturnHandle() = default;
    TaxReturnHandle(TaxReturnPtr taxReturn, TaxReturnType type) : taxReturn_(std::move(taxReturn)), type_(type) {}

    bool isNull() const { return taxReturn_.isNull(); }
    const TaxReturnPtr& getTaxReturn() const { return taxReturn_; }
    TaxReturnType getReturnType() const { return type_; }

    // Marks the box of copy c yes (true) or no (false), as
    // TaxReturn::setXValue does: a missing copy is ignored. Through an empty
    // handle it throws Exceptions::QuarloException.
    void setFieldValueBool(const Primitives::QVImmutableFormIdentifier& f, std::uint16_t c,
                           const Primitives::QVImmutableIdentifier& x, bool value);

private:
    TaxReturnPtr taxReturn_;
    TaxReturnType type_ = kFederalReturnType;
};

// One data store as the data manager hands it out (not owned: the store
// must outlive the handle).
class TaxDataStoreHandle {
public:
    explicit TaxDataStoreHandle(TaxDataStore* store = nullptr) : store_(store) {}

    TaxDataStore* getTaxDataStore() const { return store_; }
    // The store's return of that type (an empty return handle when it has
    // none). Through an empty store handle it throws
    // Exceptions::QuarloException.
    TaxReturnHandle getTaxReturn(TaxReturnType type) const;

private:
    TaxDataStore* store_ = nullptr;
};

}  // namespace DataMgmt
