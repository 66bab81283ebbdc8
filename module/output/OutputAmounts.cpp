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
    // The decimals written decide, not the value read: the digits past the
    // last place of 45037.020000000004 are lost in the double that holds
    // 4503702 cents, yet they must not leave.
    const std::size_t point = text.find('.');
    const std::size_t lastDigit = text.find_last_of("0123456789");
    const bool moreDecimals =
        point != std::string::npos && lastDigit > point && lastDigit - point > static_cast<std::size_t>(places);
    return moreDecimals ? DataMgmt::formatDisplayAmount(Utils::roundReal(units), places) : text;
}

}  // namespace GAOutput
