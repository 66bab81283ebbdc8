#include "platform/util/UtilsMarks.h"

namespace Utils {

void setDefaultX(DataMgmt::TaxFormPtr copy, const Primitives::QVImmutableIdentifier& x,
                 const Primitives::QVImmutableIdentifier& a, const Primitives::QVImmutableIdentifier& b) {
    DataMgmt::TaxForm& form = DataMgmt::requireForm(copy, "Utils", "setDefaultX");
    const bool marked = (!a.isNullID() && form.xMarked(a)) || (!b.isNullID() && form.xMarked(b));
    if (!marked) {
        form.setX(x);
    }
}

void handleFilingChoice(DataMgmt::TaxFormPtr copy, const Primitives::QVImmutableIdentifier& a,
                        const Primitives::QVImmutableIdentifier& b) {
    DataMgmt::requireForm(copy, "Utils", "handleFilingChoice").oneX(a, b);
}

void maybeSetValue(DataMgmt::TaxFormPtr copy, const Primitives::QVImmutableIdentifier& x, double value) {
    DataMgmt::requireForm(copy, "Utils", "maybeSetValue").assignIR(x, value);
}

}  // namespace Utils
