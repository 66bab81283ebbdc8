#include "host/CommonItemsListing.h"

#include <string>

#include "platform/store/CommonItemTable.h"

namespace GAHost {

void printCommonItems(std::ostream& out) {
    for (const PersistanceMgmt::CommonItemInfo& item : PersistanceMgmt::commonItemTable()) {
        std::string from = item.needed ? "seed, needed" : "seed";
        if (item.answeredBy != nullptr) from = std::string("from ") + item.answeredBy;
        out << item.type << '\t' << item.name << '\t' << PersistanceMgmt::commonItemDomain(item) << '\t' << item.meaning
            << '\t' << from << '\n';
    }
}

}  // namespace GAHost
