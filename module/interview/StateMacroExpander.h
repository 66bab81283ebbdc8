// The module's text-macro expander: the seventeen expansions that name the
// filers and the state. Every other expansion is the host's.
//
// Texts are read from the returns at the time of each call; the expander
// keeps only a pointer to the state return, which the host keeps alive.
#pragma once

#include <string>

#include "platform/framework/MacroExpander.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"

namespace StateMacroExpansionMgmt {

class StateMacroExpander : public MacroExpansionMgmt::MacroExpander {
public:
    // first: the federal return; second: the state return. A second return
    // that is not a state return (an empty handle included) is refused with
    // Exceptions::QuarloException.
    StateMacroExpander(DataMgmt::TaxReturnPtr& first, DataMgmt::TaxReturnPtr& second);
    ~StateMacroExpander() override;

    // A filer's first name from the state return's information form, or the
    // default word when it is empty.
    std::string expandTPNameOrYouIC() override;            // "You"
    std::string expandTPNameOrYou() override;              // "you"
    std::string expandSPNameOrSpouseIC() override;         // "Spouse"
    std::string expandSPNameOrYourSpouse() override;       // "your spouse"
    std::string expandSPNameOrMySpouseIC() override;       // "My spouse"
    std::string expandSPNameOrYourSpouseIC() override;     // "Your spouse"
    std::string expandSPNameOrYourSpouseTitle() override;  // "Your Spouse"
    // The state's name and abbreviation from the return's description.
    std::string expandStateName() override;
    std::string expandStateAbbreviation() override;
    // The address to mail the return to (kind 0: the one that suits it).
    std::string expandMailingAddress() override;
    std::string expandPrintExtraPageCount() override;
    std::string expandEFileCost1a() override;
    // The return's total tax as the e-file summary shows it, without blanks
    // around it.
    std::string expandEFileInfoText() override;
    // The state's name and " Return".
    std::string expandReturnTitle() override;
    std::string expandStateWord() override;  // "state"
    std::string expandTransmitStatusInfo() override;
    // The tax office locator address without its scheme.
    std::string expandOfficeLocatorURL() override;

    StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn_; }

private:
    enum class Filer { Taxpayer, Spouse };
    // The filer's first name, or the default when it is empty.
    std::string firstNameOr(Filer filer, const char* otherwise) const;

    StateDataMgmt::StateTaxReturn* stateReturn_;
};

// The office-locator address without what comes up to the first "/" and the
// character after it ("https://host/path" gives "host/path"); an address
// without "/" unchanged, and the empty text when nothing follows the "/".
std::string dropLocatorScheme(const std::string& address);

}  // namespace StateMacroExpansionMgmt
