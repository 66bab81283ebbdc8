#include "host/CommonItemsListing.h"

#include <string>

#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"

namespace GAHost {

namespace {

// Where gahost takes the item from: a seed, or the part of the federal
// return that answers it. An item of a field of form 1040 (or of form 1040A
// on a return filed on it) is a seed where the field is empty; a split item's two items split the field on a joint
// return.
std::string takenFrom(const PersistanceMgmt::CommonItemInfo& item) {
    std::string from = item.needed ? "seed, needed" : "seed";
    if (item.answeredBy != nullptr) from = std::string("from ") + item.answeredBy;
    const PersistanceMgmt::MainFormItem* row = PersistanceMgmt::mainFormItemOf(PersistanceMgmt::kForm1040, item.type);
    if (row == nullptr) return from;
    if (const PersistanceMgmt::MainFormItem* own =
            PersistanceMgmt::mainFormItemOf(PersistanceMgmt::kForm1040A, item.type);
        own != nullptr && row->item == item.type) {
        from += "; on a return filed on form 1040A, field " + std::to_string(own->field) + " of federal form 55";
    }
    if (row->item == item.type) from += ", else seed";
    if (row->spouseItem) {
        from += "; on a joint return the items " + std::string(PersistanceMgmt::findCommonItem(row->item)->name) +
                " and " + PersistanceMgmt::findCommonItem(*row->spouseItem)->name + " split field " +
                std::to_string(row->field) + " of federal form 1";
    }
    return from;
}

}  // namespace

void printCommonItems(std::ostream& out) {
    for (const PersistanceMgmt::CommonItemInfo& item : PersistanceMgmt::commonItemTable()) {
        out << item.type << '\t' << item.name << '\t' << PersistanceMgmt::commonItemDomain(item) << '\t' << item.meaning
            << '\t' << takenFrom(item) << '\n';
    }
}

}  // namespace GAHost
