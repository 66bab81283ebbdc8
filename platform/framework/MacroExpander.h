// The host's text-macro expander base, MacroExpansionMgmt::MacroExpander.
//
// The host fills the texts of its interview screens, messages and reports
// from named macros; each macro is one virtual operation that returns the
// text. A state module derives its expander from this class and replaces the
// expansions that name the filers and the state. The host's own expansions
// give the empty text: this host has no texts of its own to put there.
#pragma once

#include <string>
#include <vector>

#include "platform/store/DataMgmt.h"

namespace MacroExpansionMgmt {

class MacroExpander {
public:
    // Keeps copies of both handles: the first return (the federal return)
    // and the second (the state return).
    MacroExpander(DataMgmt::TaxReturnPtr& first, DataMgmt::TaxReturnPtr& second);
    virtual ~MacroExpander();
    MacroExpander(const MacroExpander&) = delete;
    MacroExpander& operator=(const MacroExpander&) = delete;

    // Expansions, in the host's order.
    virtual std::string expandTPNameOrYouIC();
    virtual std::string expandTPNameOrYou();
    virtual std::string expandSPNameOrSpouseIC();
    virtual std::string expandSPNameOrYourSpouse();
    virtual std::string expandSPNameOrMySpouseIC();
    virtual std::string expandSPNameOrYourSpouseIC();
    virtual std::string expandSPNameOrYourSpouseTitle();
    virtual std::string expandStateName();
    virtual std::string expandStateAbbreviation();
    virtual std::string expandMailingAddress();
    virtual std::string expandPrintExtraPageCount();
    virtual std::string expandEFileCost1a();
    virtual std::string expandEFileInfoText();
    virtual std::string expandReturnTitle();
    virtual std::string expandStateWord();
    virtual std::string expandTransmitStatusInfo();
    virtual std::string expandOfficeLocatorURL();

    const DataMgmt::TaxReturnPtr& getFirstReturn() const { return first_; }
    const DataMgmt::TaxReturnPtr& getSecondReturn() const { return second_; }

private:
    DataMgmt::TaxReturnPtr first_;
    DataMgmt::TaxReturnPtr second_;
};

// One expansion by the name the host's texts use.
struct Expansion {
    const char* name;
    std::string (MacroExpander::*expand)();
};

// Every expansion above, in the host's order.
const std::vector<Expansion>& expansions();

}  // namespace MacroExpansionMgmt
