#include "host/FederalCreditNotes.h"

#include "host/NoteText.h"
#include "module/catalogues/Form113Lines.h"
#include "module/catalogues/IndCrLines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/ga_calc/TaxYearAmounts.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"

namespace GAHost {

namespace {

namespace TaxYear = GACalculationMgmt::TaxYear;

// The persons the federal care credit may count whom the return lists: each
// dependent listed (box 1136 of a copy of federal form 113), and the spouse
// of a joint return.
int listedPersons(const PersistanceMgmt::ReturnFileContents& loaded) {
    int persons = PersistanceMgmt::statedFilingStatus(loaded) == FederalFilingStatus::kJoint ? 1 : 0;
    for (const PersistanceMgmt::CopyEntry& c : loaded.federal->copies) {
        if (c.desc->getTypeID() != kForm113ID) continue;
        for (const PersistanceMgmt::FieldEntry& f : c.fields) {
            if (f.desc->getID() == kForm113Lines.listed && f.value.boxYes()) ++persons;
        }
    }
    return persons;
}

}  // namespace

std::optional<std::string> careCreditNote(HostSession& session) {
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    if (!loaded.federal) return std::nullopt;
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const auto credit =
        static_cast<double>(georgia.pullCommon(georgia.getFederalFormID(), 1, Utils::PCTypes::kFederalChildCareCredit));
    const int persons = listedPersons(loaded);
    const double most = persons > 1 ? TaxYear::kFederalCareCreditMostForMore : TaxYear::kFederalCareCreditMostForOne;
    if (credit <= most) return std::nullopt;
    const std::string bound =
        credit > TaxYear::kFederalCareCreditMostForMore
            ? "above the most it can be in " + std::to_string(TaxYear::kYear) + ", " +
                  amountText(TaxYear::kFederalCareCreditMostForMore) + " for two or more qualifying persons"
            : "above the most it can be in " + std::to_string(TaxYear::kYear) +
                  " where the return lists one qualifying person at most (a dependent listed, box " +
                  fieldNumber(kForm113Lines.listed) + " of form F113, or the spouse of a joint return), " +
                  amountText(TaxYear::kFederalCareCreditMostForOne) + " (" +
                  amountText(TaxYear::kFederalCareCreditMostForMore) + " for two or more)";
    return std::string("the item ") + PersistanceMgmt::findCommonItem(Utils::PCTypes::kFederalChildCareCredit)->name +
           " gives " + amountText(credit) + " as the federal credit for child and dependent care expenses, " + bound +
           ", and IND-CR 202 (form GA190055 field " + fieldNumber(kIndCr202.credit) + ") takes " +
           amountText(TaxYear::kIndCr202RateShown) + " % of it, " + amountText(credit * TaxYear::kIndCr202Rate) +
           ": give the federal credit as the federal return allows it";
}

}  // namespace GAHost
