#include "module/interview/StateMacroExpander.h"

#include <cstdint>
#include <typeinfo>

#include "platform/Exceptions.h"
#include "platform/util/Utils.h"

namespace StateMacroExpansionMgmt {

namespace {

constexpr std::uint16_t kFirstCopy = 1;
// The mailing address that suits the return, and the e-file summary item of
// the total tax.
constexpr std::int32_t kSuitedAddress = 0;
constexpr std::uint32_t kTotalTaxItem = 1;

// The second return as a state return: a return of another class fails
// with std::bad_cast (a cast by reference); a missing one is refused, since
// every text of the expander reads it.
StateDataMgmt::StateTaxReturn* requireStateReturn(DataMgmt::TaxReturnPtr& second) {
    if (second.isNull()) {
        throw Exceptions::QuarloException("no state return given", "StateMacroExpander", "StateMacroExpander");
    }
    return &dynamic_cast<StateDataMgmt::StateTaxReturn&>(*second.get());
}

}  // namespace

StateMacroExpander::StateMacroExpander(DataMgmt::TaxReturnPtr& first, DataMgmt::TaxReturnPtr& second)
    : MacroExpansionMgmt::MacroExpander(first, second), stateReturn_(requireStateReturn(second)) {}

StateMacroExpander::~StateMacroExpander() = default;

std::string StateMacroExpander::firstNameOr(Filer filer, const char* otherwise) const {
    const Primitives::QVImmutableIdentifier field =
        filer == Filer::Taxpayer ? stateReturn_->getTaxpayerFirstNameField() : stateReturn_->getSpouseFirstNameField();
    std::string name = stateReturn_->getFieldAsString(stateReturn_->getInfoForm(), kFirstCopy, field);
    return name.empty() ? otherwise : name;
}

std::string StateMacroExpander::expandTPNameOrYouIC() { return firstNameOr(Filer::Taxpayer, "You"); }
std::string StateMacroExpander::expandTPNameOrYou() { return firstNameOr(Filer::Taxpayer, "you"); }
std::string StateMacroExpander::expandSPNameOrSpouseIC() { return firstNameOr(Filer::Spouse, "Spouse"); }
std::string StateMacroExpander::expandSPNameOrYourSpouse() { return firstNameOr(Filer::Spouse, "your spouse"); }
std::string StateMacroExpander::expandSPNameOrMySpouseIC() { return firstNameOr(Filer::Spouse, "My spouse"); }
std::string StateMacroExpander::expandSPNameOrYourSpouseIC() { return firstNameOr(Filer::Spouse, "Your spouse"); }
std::string StateMacroExpander::expandSPNameOrYourSpouseTitle() { return firstNameOr(Filer::Spouse, "Your Spouse"); }

std::string StateMacroExpander::expandStateName() { return stateReturn_->getTaxReturnDesc()->getName(); }

std::string StateMacroExpander::expandStateAbbreviation() {
    return stateReturn_->getTaxReturnDesc()->getAbbreviation();
}

std::string StateMacroExpander::expandMailingAddress() {
    std::string address;
    stateReturn_->getMailingAddress(address, kSuitedAddress);
    return address;
}

std::string StateMacroExpander::expandPrintExtraPageCount() { return "NYI - expandPrintExtraPageCount"; }

std::string StateMacroExpander::expandEFileCost1a() { return "NYI - expandEFileCost1a"; }

std::string StateMacroExpander::expandEFileInfoText() {
    std::string text;
    long amount = 0;  // filled by the return, not shown
    stateReturn_->getEFileInfo(text, &amount, kTotalTaxItem);
    return *Utils::QVStringUtils::trimString(text, true, true);
}

std::string StateMacroExpander::expandReturnTitle() { return stateReturn_->getTaxReturnDesc()->getName() + " Return"; }

std::string StateMacroExpander::expandStateWord() { return "state"; }

std::string StateMacroExpander::expandTransmitStatusInfo() { return "NYI - expandTransmitStatusInfo"; }

std::string StateMacroExpander::expandOfficeLocatorURL() {
    // The address is the first return's, for the state return's type; without
    // a first return there is none.
    const DataMgmt::TaxReturnPtr& first = getFirstReturn();
    if (first.isNull()) {
        return {};
    }
    return dropLocatorScheme(first->getOfficeLocatorURL(stateReturn_->getTaxReturnDesc()->getReturnType()));
}

std::string dropLocatorScheme(const std::string& address) {
    const std::size_t slash = address.find('/');
    if (slash == std::string::npos) {
        return address;
    }
    const std::size_t rest = slash + 2;
    return rest < address.size() ? address.substr(rest) : std::string();
}

}  // namespace StateMacroExpansionMgmt
