#include "module/output/OutputAmounts.h"

#include "module/frame/GeorgiaForms.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DataMgmt.h"
#include "platform/util/Utils.h"

namespace GAOutput {

namespace {

constexpr int kCents = 2;

}  // namespace

int amountPlaces(const Primitives::QVImmutableFormIdentifier& form) {
    const GAForms::GeorgiaForm* row = GAForms::findGeorgiaForm(form);
    return row != nullptr && row->wholeDollars ? 0 : kCents;
}

std::string amountAsShown(const std::string& text, const Primitives::QVImmutableFormIdentifier& form) {
    const int places = amountPlaces(form);
    // The amount in units of the last place kept (cents, or dollars), its
    // point shifted on the digits so that 7.2675 is exactly 726.75 cents.
    double units = 0.0;
    if (!PersistanceMgmt::parseAmount(text, places, units)) {
        return text;
    }
    const double rounded = Utils::roundReal(units);
    return rounded == units ? text : DataMgmt::formatDisplayAmount(rounded, places);
}

}  // namespace GAOutput
