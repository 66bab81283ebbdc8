#include "platform/framework/CalcEngine.h"

#include "platform/Exceptions.h"

namespace CalculationMgmt {

TaxReturnCalcEngine::TaxReturnCalcEngine(TaxFormPrintMgmt::TaxFormPrinterPtr& printer) : printer_(printer) {}

TaxReturnCalcEngine::~TaxReturnCalcEngine() = default;

void TaxReturnCalcEngine::calculateReturn(int /*value*/) {}

void TaxReturnCalcEngine::calculateForm(const Primitives::QVImmutableFormIdentifier& /*form*/, int /*copy*/,
                                        int /*markEntered*/, int /*second*/, int /*third*/,
                                        DataMgmt::TaxFormPtr /*handle*/) {}

void TaxReturnCalcEngine::calculateAllCopies(const Primitives::QVImmutableFormIdentifier& /*form*/) {}

void TaxReturnCalcEngine::calculateIfNeeded(int /*value*/) {}

long TaxReturnCalcEngine::taxCalc1(char /*filingStatus*/, long /*a*/, long /*b*/, long /*c*/, long /*d*/, long /*e*/,
                                   long /*f*/, long /*g*/, unsigned short /*flags*/) {
    throw Exceptions::QuarloException("not available", "TaxReturnCalcEngine", "taxCalc1");
}

void TaxReturnCalcEngine::earnedIncome(double& /*taxpayer*/, double& /*spouse*/) {
    throw Exceptions::QuarloException("not available", "TaxReturnCalcEngine", "earnedIncome");
}

long TaxReturnCalcEngine::getRefundOrBalanceDue() { return 0; }

}  // namespace CalculationMgmt
