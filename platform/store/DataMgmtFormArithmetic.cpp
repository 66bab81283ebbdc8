// The arithmetic of a form copy: each result is stored as a calculation's
// write (TaxForm::storeNumber), the operands read as getIR reads them.
#include <algorithm>
#include <span>

#include "platform/store/DataMgmt.h"

namespace DataMgmt {

void TaxForm::plus2(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, getIR(a) + getIR(b), "plus2");
}

void TaxForm::plus3(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c), "plus3");
}

void TaxForm::plus4(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d), "plus4");
}

void TaxForm::plus5(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
                    const FieldID& e) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e), "plus5");
}

void TaxForm::plus6(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
                    const FieldID& e, const FieldID& f) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e) + getIR(f), "plus6");
}

void TaxForm::plus7(const FieldID& t, const FieldID& a, const FieldID& b, const FieldID& c, const FieldID& d,
                    const FieldID& e, const FieldID& f, const FieldID& g) {
    storeNumber(t, getIR(a) + getIR(b) + getIR(c) + getIR(d) + getIR(e) + getIR(f) + getIR(g), "plus7");
}

void TaxForm::plusIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, getIR(a) + v, "plusIR"); }
void TaxForm::minusII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, getIR(a) - getIR(b), "minusII");
}
void TaxForm::minusIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, getIR(a) - v, "minusIR"); }

void TaxForm::minusIIge0(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, std::max(0.0, getIR(a) - getIR(b)), "minusIIge0");
}

void TaxForm::minII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, std::min(getIR(a), getIR(b)), "minII");
}

void TaxForm::maxII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, std::max(getIR(a), getIR(b)), "maxII");
}

void TaxForm::minIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, std::min(getIR(a), v), "minIR"); }
void TaxForm::maxIR(const FieldID& t, const FieldID& a, double v) { storeNumber(t, std::max(getIR(a), v), "maxIR"); }

void TaxForm::timesII(const FieldID& t, const FieldID& a, const FieldID& b) {
    storeNumber(t, getIR(a) * getIR(b), "timesII");
}

void TaxForm::timesIR(const FieldID& t, const FieldID& a, double rate) { storeNumber(t, getIR(a) * rate, "timesIR"); }

void TaxForm::divIR(const FieldID& t, const FieldID& a, double divisor) {
    const double value = getIR(a);
    storeNumber(t, divisor == 0.0 ? 0.0 : value / divisor, "divIR");
}

void TaxForm::sumInto(const FieldID& t, std::span<const FieldID> fields) {
    double sum = 0.0;
    for (const FieldID& id : fields) {
        if (id.isNullID()) {
            break;
        }
        sum += getIR(id);
    }
    storeNumber(t, sum, "setValueToSumOf");
}

}  // namespace DataMgmt
