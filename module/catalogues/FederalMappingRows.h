// Which Georgia field receives a field of a federal form: the rows of the
// Georgia return's field mapping, federal field by federal field. The null
// field as the receiving field stands for a federal field the mapping knows
// without a Georgia counterpart.
#pragma once

#include <array>

#include "module/catalogues/FederalMapFieldIds.h"
#include "module/catalogues/Form133618Lines.h"
#include "module/catalogues/Form183Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form72Lines.h"
#include "module/catalogues/Form92Lines.h"
#include "module/catalogues/StateForm32783Lines.h"
#include "platform/Primitives.h"

struct FederalMappingRow {
    Primitives::QVImmutableIdentifier federal;
    Primitives::QVImmutableIdentifier receiving;
};

// Federal form 92, the personal information, onto the information form:
// three lines it carries as they stand, the first filing choice, and the
// refund's bank account; the return header's taxpayer line is known.
inline constexpr std::array<FederalMappingRow, 10> kForm92MappingRows = [] {
    const Form92Lines& f92 = kForm92Lines;
    const Form69Lines& info = kForm69Lines;
    return std::array<FederalMappingRow, 10>{{
        {f92.carried[0], info.carriedFromForm92[0]},
        {f92.carried[1], info.carriedFromForm92[1]},
        {f92.carried[2], info.carriedFromForm92[2]},
        {f92.deposit.wanted, info.options.directDeposit},
        {f92.filingChoice, info.filing.choiceA},
        {f92.returnInformation.taxpayerLine, Primitives::kNullFieldID},
        {f92.deposit.routingNumber, info.options.depositRouting},
        {f92.deposit.accountNumber, info.options.depositAccount},
        {f92.deposit.checking, info.options.depositChecking},
        {f92.deposit.savings, info.options.depositSavings},
    }};
}();

// Federal forms 43 and 155 share one row, carried onto form 72.
inline constexpr std::array<FederalMappingRow, 1> kForm43MappingRows{{
    {kFederalMapFieldIds.f41, kForm72Lines.fromFederalForm43},
}};

// Federal form 183 onto the information form: the bank data carried from
// the federal return, the withdrawal of the amount owed, and seven lines
// carried as they stand.
inline constexpr std::array<FederalMappingRow, 19> kForm183MappingRows = [] {
    const Form183Lines& f183 = kForm183Lines;
    const Form183Lines::Withdrawal& w = f183.withdrawal;
    const Form69Lines& info = kForm69Lines;
    return std::array<FederalMappingRow, 19>{{
        {f183.depositFromFederal, info.options.depositFromFederal},
        {w.fromFederal, info.withdrawal.fromFederal},
        {f183.known[0], Primitives::kNullFieldID},
        {w.yes, info.withdrawal.yes},
        {w.no, info.withdrawal.no},
        {w.routingNumber, info.withdrawal.routingNumber},
        {w.accountNumber, info.withdrawal.accountNumber},
        {w.checking, info.withdrawal.checking},
        {w.savings, info.withdrawal.savings},
        {w.amountOwed, info.withdrawal.amountOwed},
        {w.date, info.withdrawal.date},
        {f183.carried[0], info.carriedFromForm183[0]},
        {f183.carried[1], info.carriedFromForm183[1]},
        {f183.carried[2], info.carriedFromForm183[2]},
        {f183.carried[3], info.carriedFromForm183[3]},
        {f183.carried[4], info.carriedFromForm183[4]},
        {f183.carried[5], info.carriedFromForm183[5]},
        {f183.carried[6], info.carriedFromForm183[6]},
        {f183.known[1], Primitives::kNullFieldID},
    }};
}();

// Federal form 133618, another state of residence, onto state form 32783:
// the residency there, the income the other state taxed and the tax paid to
// it.
inline constexpr std::array<FederalMappingRow, 3> kForm133618MappingRows{{
    {kForm133618Lines.residency, kStateForm32783Lines.residency},
    {kForm133618Lines.income, kStateForm32783Lines.income},
    {kForm133618Lines.tax, kStateForm32783Lines.tax},
}};
