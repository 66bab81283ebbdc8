#include "platform/framework/MacroExpander.h"

namespace MacroExpansionMgmt {

MacroExpander::MacroExpander(DataMgmt::TaxReturnPtr& first, DataMgmt::TaxReturnPtr& second)
    : first_(first), second_(second) {}

MacroExpander::~MacroExpander() = default;

std::string MacroExpander::expandTPNameOrYouIC() { return {}; }
std::string MacroExpander::expandTPNameOrYou() { return {}; }
std::string MacroExpander::expandSPNameOrSpouseIC() { return {}; }
std::string MacroExpander::expandSPNameOrYourSpouse() { return {}; }
std::string MacroExpander::expandSPNameOrMySpouseIC() { return {}; }
std::string MacroExpander::expandSPNameOrYourSpouseIC() { return {}; }
std::string MacroExpander::expandSPNameOrYourSpouseTitle() { return {}; }
std::string MacroExpander::expandStateName() { return {}; }
std::string MacroExpander::expandStateAbbreviation() { return {}; }
std::string MacroExpander::expandMailingAddress() { return {}; }
std::string MacroExpander::expandPrintExtraPageCount() { return {}; }
std::string MacroExpander::expandEFileCost1a() { return {}; }
std::string MacroExpander::expandEFileInfoText() { return {}; }
std::string MacroExpander::expandReturnTitle() { return {}; }
std::string MacroExpander::expandStateWord() { return {}; }
std::string MacroExpander::expandTransmitStatusInfo() { return {}; }
std::string MacroExpander::expandOfficeLocatorURL() { return {}; }

const std::vector<Expansion>& expansions() {
    static const std::vector<Expansion> kExpansions = {
        {"expandTPNameOrYouIC", &MacroExpander::expandTPNameOrYouIC},
        {"expandTPNameOrYou", &MacroExpander::expandTPNameOrYou},
        {"expandSPNameOrSpouseIC", &MacroExpander::expandSPNameOrSpouseIC},
        {"expandSPNameOrYourSpouse", &MacroExpander::expandSPNameOrYourSpouse},
        {"expandSPNameOrMySpouseIC", &MacroExpander::expandSPNameOrMySpouseIC},
        {"expandSPNameOrYourSpouseIC", &MacroExpander::expandSPNameOrYourSpouseIC},
        {"expandSPNameOrYourSpouseTitle", &MacroExpander::expandSPNameOrYourSpouseTitle},
        {"expandStateName", &MacroExpander::expandStateName},
        {"expandStateAbbreviation", &MacroExpander::expandStateAbbreviation},
        {"expandMailingAddress", &MacroExpander::expandMailingAddress},
        {"expandPrintExtraPageCount", &MacroExpander::expandPrintExtraPageCount},
        {"expandEFileCost1a", &MacroExpander::expandEFileCost1a},
        {"expandEFileInfoText", &MacroExpander::expandEFileInfoText},
        {"expandReturnTitle", &MacroExpander::expandReturnTitle},
        {"expandStateWord", &MacroExpander::expandStateWord},
        {"expandTransmitStatusInfo", &MacroExpander::expandTransmitStatusInfo},
        {"expandOfficeLocatorURL", &MacroExpander::expandOfficeLocatorURL},
    };
    return kExpansions;
}

}  // namespace MacroExpansionMgmt
