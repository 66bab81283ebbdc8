#include "platform/store/IntDivCopyAmounts.h"

#include <algorithm>

#include "module/catalogues/Form164Lines.h"
#include "module/catalogues/Form166Lines.h"
#include "platform/util/Utils.h"

namespace PersistanceMgmt {

namespace {

double raiseToZero(double amount) { return amount < 0.0 ? 0.0 : amount; }

// The share of an adjustment is rounded to the dollar, half away from 0.
double rounded(double amount) { return static_cast<double>(Utils::roundR(amount)); }

// The municipal part of an adjustment, spread over the in-state and the
// out-of-state municipal amounts in proportion; with no municipal amount it
// is not spread.
void spreadOverMunicipal(IntDivCategories& out, double municipalShare) {
    const double municipalBase = out.inStateMunicipal + out.outOfStateMunicipal;
    if (municipalBase == 0.0) {
        return;
    }
    const double inStateShare = rounded(municipalShare * out.inStateMunicipal / municipalBase);
    out.inStateMunicipal -= inStateShare;
    out.outOfStateMunicipal -= municipalShare - inStateShare;
}

}  // namespace

IntDivCategories dividendCategories(const CopyAmount& amount, bool restrictedStock) {
    const Form164Lines& f164 = kForm164Lines;
    const double ordinary = amount(f164.ordinaryDividends);
    const double municipal = amount(f164.exemptInterestDividends);
    const double inStateMunicipal = amount(f164.georgiaExemptInterestDividends);
    const double adjustment = amount(f164.adjustment);
    // The U.S.-obligation share of the ordinary dividends is given in
    // percent.
    const double usObligations = ordinary * amount(f164.usObligationsPercent) / 100.0;

    IntDivCategories out;
    out.sourceTotal = raiseToZero(ordinary + municipal - adjustment);
    out.hasIncome = ordinary + municipal > 0.0;

    double further = 0.0;  // amounts that are neither regular nor municipal
    if (!restrictedStock) {
        out.usObligationAmount = rounded(usObligations);
        out.regularAmount = ordinary - out.usObligationAmount;
        out.municipalTotal = rounded(municipal);
        out.inStateMunicipal = std::min(rounded(inStateMunicipal), out.municipalTotal);
        out.outOfStateMunicipal = out.municipalTotal - out.inStateMunicipal;
        further = amount(f164.capitalGainDividends) + amount(f164.furtherAmount);
    }
    out.regularAmount = raiseToZero(out.regularAmount);
    out.municipalTotal = raiseToZero(out.municipalTotal);
    out.inStateMunicipal = raiseToZero(out.inStateMunicipal);
    out.outOfStateMunicipal = raiseToZero(out.outOfStateMunicipal);

    // The adjustment is spread in proportion over the regular, U.S.
    // obligation, further and municipal amounts. Where there is nothing to
    // spread it over, the amounts stay as they are.
    double offTaxable = 0.0;
    const double spreadBase = out.municipalTotal + ordinary + further;
    if (adjustment != 0.0 && spreadBase != 0.0) {
        offTaxable = (out.regularAmount + out.usObligationAmount) / spreadBase * adjustment;
        const double regularShare = rounded(out.regularAmount / spreadBase * adjustment);
        out.regularAmount -= regularShare;
        const double usShare = rounded(out.usObligationAmount / spreadBase * adjustment);
        out.usObligationAmount -= usShare;
        const double furtherShare = rounded(further / spreadBase * adjustment);
        spreadOverMunicipal(out, adjustment - regularShare - usShare - furtherShare);
        out.sourceTotal = ordinary - regularShare - usShare;
    }
    out.outOfStateMunicipal = raiseToZero(out.outOfStateMunicipal);
    out.federalItem = raiseToZero(ordinary - offTaxable);
    return out;
}

IntDivCategories interestCategories(const CopyAmount& amount, bool adjustmentAgainstUsOnly) {
    const Form166Lines& f166 = kForm166Lines;
    const double interest = amount(f166.interest);
    const double usTreasury = amount(f166.usTreasury);
    const double otherRegular = amount(f166.otherRegular);
    const double otherUsObligations = amount(f166.otherUsObligations);
    // Tax-exempt interest is municipal when the municipal interest holds an
    // amount too; otherwise it is regular, with the U.S. obligations' part
    // of the regular interest.
    double exemptAsRegular = 0.0;
    double municipal = 0.0;
    double usPartOfRegular = 0.0;
    if (amount(f166.taxExempt) > 0 && amount(f166.municipal) > 0) {
        municipal = amount(f166.taxExempt) + amount(f166.municipal) + amount(f166.furtherMunicipal);
    } else {
        exemptAsRegular = amount(f166.taxExempt);
        municipal = amount(f166.municipal) + amount(f166.furtherMunicipal);
        usPartOfRegular = amount(f166.usPartOfRegular);
    }
    const double inStateMunicipal = amount(f166.inStateMunicipal1) + amount(f166.inStateMunicipal2);
    const double furtherRegular = amount(f166.furtherRegular);
    const double adjustment = amount(f166.adjustment);

    IntDivCategories out;
    const double income =
        usTreasury + interest + municipal + otherRegular + otherUsObligations + exemptAsRegular + furtherRegular;
    out.sourceTotal = raiseToZero(income - adjustment);
    out.hasIncome = income > 0.0;

    out.usObligationAmount = otherUsObligations + usTreasury + usPartOfRegular;
    out.municipalTotal = rounded(municipal);
    out.regularAmount = otherRegular + interest + exemptAsRegular + furtherRegular - usPartOfRegular;
    out.inStateMunicipal = rounded(inStateMunicipal);
    out.outOfStateMunicipal = out.municipalTotal - out.inStateMunicipal;

    out.regularAmount = raiseToZero(out.regularAmount);
    out.municipalTotal = raiseToZero(out.municipalTotal);
    out.inStateMunicipal = raiseToZero(out.inStateMunicipal);
    out.outOfStateMunicipal = raiseToZero(out.outOfStateMunicipal);

    double offTaxable = 0.0;
    if (adjustment != 0.0) {
        if (adjustmentAgainstUsOnly) {
            // The whole adjustment goes against the U.S. obligations.
            out.usObligationAmount -= adjustment;
            offTaxable = adjustment;
        } else {
            // Spread in proportion; with nothing to spread it over, the
            // amounts stay as they are.
            const double spreadBase = out.usObligationAmount + out.regularAmount + out.municipalTotal;
            if (spreadBase != 0.0) {
                offTaxable = (out.regularAmount + out.usObligationAmount) / spreadBase * adjustment;
                const double regularShare = rounded(out.regularAmount / spreadBase * adjustment);
                out.regularAmount -= regularShare;
                const double usShare = rounded(out.usObligationAmount / spreadBase * adjustment);
                out.usObligationAmount -= usShare;
                spreadOverMunicipal(out, adjustment - regularShare - usShare);
            }
        }
    }
    out.federalItem = raiseToZero(interest + usTreasury - offTaxable);
    return out;
}

}  // namespace PersistanceMgmt
