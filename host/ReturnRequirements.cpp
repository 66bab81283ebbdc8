#include "host/ReturnRequirements.h"

#include <algorithm>

#include "platform/store/CommonItemTable.h"

namespace GAHost {

namespace {

bool seeded(const PersistanceMgmt::ReturnPart& georgia, std::int32_t type) {
    const auto& items = georgia.seeds.commonItems;
    return std::any_of(items.begin(), items.end(), [&](const auto& c) { return c.type == type; });
}

}  // namespace

std::vector<std::string> missingParts(const PersistanceMgmt::ReturnFileContents& c, const std::string& path) {
    std::vector<std::string> missing;
    auto add = [&](const std::string& what) { missing.push_back(path + ": " + what); };
    if (c.rootElement != "RETURNFILE") {
        add("not a whole return file: its root element is <" + c.rootElement +
            ">, where gahost needs <RETURNFILE TAXYEAR=\"2018\"> holding a federal and a Georgia return");
        return missing;
    }
    if (!c.taxYear) add("the tax year is missing: write the root element as <RETURNFILE TAXYEAR=\"2018\">");
    if (!c.federal) add("the federal return is missing: add <RETURN TYPE=\"federal\"> ... </RETURN>");
    if (!c.georgia) add("the Georgia return is missing: add <RETURN TYPE=\"GA\"> ... </RETURN>");
    if (!c.federal || !c.georgia) return missing;

    if (!c.federal->seeds.filingStatus && !seeded(*c.georgia, Utils::kFederalFilingStatus)) {
        add("the federal filing status is missing: add <FILINGSTATUS>1</FILINGSTATUS> to the federal return's "
            "<HOST> (1 single, 2 married filing jointly, 3 married filing separately, 4 head of household, "
            "5 qualifying widow(er))");
    }
    for (const PersistanceMgmt::CommonItemInfo& item : PersistanceMgmt::commonItemTable()) {
        if (!item.needed || seeded(*c.georgia, item.type)) continue;
        add("the Georgia calculation needs common " + PersistanceMgmt::describeCommonItem(item.type) + ", the " +
            item.meaning + ", which the federal return here does not give: add <PULLCOMMON FORM=\"F1\" ITEM=\"" +
            item.name + "\">...</PULLCOMMON> to the Georgia return's <HOST>");
    }
    return missing;
}

}  // namespace GAHost
