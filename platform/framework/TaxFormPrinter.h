// The host's printer bases: TaxFormPrintMgmt::TaxFormPrinter, built on one
// return, and the state layer StateTaxFormPrintMgmt::StateTaxFormPrinter,
// which answers the print flag of a copy, the lists of forms to print and to
// audit, and walks the print lists that a state printer hands it. A state
// module's printer derives from the state layer and fills its slots.
//
// A printer may be built on no return (a null pointer, when the return it was
// given is not of the expected class): it then prints and audits nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "module/frame/CountedPtr.h"
#include "platform/Primitives.h"
#include "platform/store/Descriptions.h"

namespace DataMgmt {
class TaxReturn;
}  // namespace DataMgmt

namespace StateDataMgmt {
class StateTaxReturn;
}  // namespace StateDataMgmt

namespace Utils {

// One entry of a print list. A list ends at the first entry whose form number
// is 0 or less (the end entry).
struct printFormInfo {
    Primitives::QVImmutableFormIdentifier form{0};
    std::uint8_t kind = 0;
    std::uint16_t count = 0;
};

}  // namespace Utils

namespace TaxFormPrintMgmt {

class TaxFormPrinter {
public:
    explicit TaxFormPrinter(DataMgmt::TaxReturn& taxReturn) : taxReturn_(&taxReturn) {}
    // The same on a return that may be missing.
    explicit TaxFormPrinter(DataMgmt::TaxReturn* taxReturn) : taxReturn_(taxReturn) {}
    virtual ~TaxFormPrinter() = default;

    TaxFormPrinter(const TaxFormPrinter&) = delete;
    TaxFormPrinter& operator=(const TaxFormPrinter&) = delete;

    // A full date ("MM/DD/YYYY", "MM-DD-YYYY" or "YYYY-MM-DD") becomes the
    // short printed form "MM/DD/YY"; any other text is left unchanged. The
    // text is rewritten in place within `cap` bytes. The edit code is the
    // field's; every date layout above is shortened whatever it says.
    virtual void adjustFTPrintedDate(char* text, std::size_t cap, std::uint8_t editCode);

    DataMgmt::TaxReturn* getTaxReturn() const { return taxReturn_; }

private:
    DataMgmt::TaxReturn* taxReturn_;  // not owned; may be null
};

SMARTPOINTERS_NAMED_HANDLE(TaxFormPrinterPtr, TaxFormPrinter);

}  // namespace TaxFormPrintMgmt

namespace StateTaxFormPrintMgmt {

using FormIdList = std::vector<Primitives::QVImmutableFormIdentifier>;

class StateTaxFormPrinter : public TaxFormPrintMgmt::TaxFormPrinter {
public:
    explicit StateTaxFormPrinter(StateDataMgmt::StateTaxReturn* stateReturn);
    ~StateTaxFormPrinter() override = default;

    // Slots a state printer fills, in the host's order. The defaults print
    // every copy whose print flag is set, leave print texts unchanged,
    // register no attachments and have no print lists.
    virtual bool formShouldPrint(const Primitives::QVImmutableFormIdentifier& form);
    virtual bool shouldPrintCopy(const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy, int purpose);
    // The form types that have at least one copy with its print flag set, in
    // the return's display order. `count` receives the number of entries (at
    // most 127; the list itself is never cut) and `second` always 0. The
    // purpose (0, 1 or 2) is kept for lastPrintPurpose().
    virtual void formsToPrint(FormIdList& forms, signed char& count, signed char& second, char purpose);
    virtual bool anyCopyShouldPrint(const Primitives::QVImmutableFormIdentifier& form);
    virtual void formatPrintField(std::string& text, const Primitives::QVImmutableFormIdentifier& form,
                                  std::uint16_t copy, const Primitives::QVImmutableIdentifier& field);
    virtual void attachCreditPdfs(DataMgmt::TaxReturnType type);
    virtual void attachFormPdfs(DataMgmt::TaxReturnType type);
    virtual bool getNextPrintForm0(Primitives::QVImmutableFormIdentifier& form);
    virtual bool getNextPrintForm1(Primitives::QVImmutableFormIdentifier& form);
    virtual bool getNextPrintForm4(Primitives::QVImmutableFormIdentifier& form);
    virtual bool getNextPrintForm5(Primitives::QVImmutableFormIdentifier& form);

    // The print flag of a copy, which is its calculated flag; false for a
    // copy that does not exist.
    bool isPrintFlagSet(const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy) const;

    // Every form type of the return with at least one copy, in ascending form
    // number; `count` as for formsToPrint, `second` always 0.
    void formsToAudit(FormIdList& forms, signed char& count, signed char& second) const;

    // Walks a print list: `next` receives the entry after `current`, or the
    // first entry when `current` is form 0 or not in the list. The answer is
    // false, with `next` set to form 0, when that entry is the end entry or
    // lies past the end of the list. Kind, count and selector do not steer
    // the walk.
    bool getNextForm(std::span<const Utils::printFormInfo> list, Primitives::QVImmutableFormIdentifier current,
                     Primitives::QVImmutableFormIdentifier& next, char selector) const;

    StateDataMgmt::StateTaxReturn* getStateReturn() const { return stateReturn; }
    char lastPrintPurpose() const { return lastPurpose_; }
    // The selector of the last print-list walk (a host test surface).
    char lastListSelector() const { return lastSelector_; }

protected:
    StateDataMgmt::StateTaxReturn* stateReturn;  // not owned; may be null

private:
    // Refills `forms` with the return's form types that `keep` accepts, in
    // display order or in ascending form number; `count` as for formsToPrint,
    // `second` 0.
    void collectForms(bool displayOrder, const std::function<bool(const Primitives::QVImmutableFormIdentifier&)>& keep,
                      FormIdList& forms, signed char& count, signed char& second) const;

    char lastPurpose_ = 0;
    mutable char lastSelector_ = 0;
};

}  // namespace StateTaxFormPrintMgmt
